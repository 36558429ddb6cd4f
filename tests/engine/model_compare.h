// Field-by-field comparison of model elements, for archive round trips.
#pragma once

#include "engine/model/Element.h"
#include "engine/model/LoadModel.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace enginetest {

inline void ExpectSameElement(const CElement& a, const CElement& b)
{
    EXPECT_EQ(a.m_ID, b.m_ID);
    EXPECT_EQ(a.m_Description, b.m_Description) << a.m_Description.ToUtf8() << " / " << b.m_Description.ToUtf8();
    EXPECT_EQ(a.m_ElementType, b.m_ElementType);
    EXPECT_EQ(a.m_bIsEditable, b.m_bIsEditable);
}

inline void ExpectSameFactor(const Factor& a, const Factor& b)
{
    EXPECT_EQ(a.desc, b.desc);
    EXPECT_EQ(a.value, b.value);
    EXPECT_EQ(a.type, b.type);
}

// Every stored field, and the derived ones that loading rebuilds; b is up to date.
inline void ExpectSameLoadModel(const CLoadModel& a, const CLoadModel& b)
{
    SCOPED_TRACE(a.m_Description.ToUtf8());
    ExpectSameElement(a, b);
    EXPECT_EQ(a.m_Gamma, b.m_Gamma);
    ASSERT_EQ(a.m_vUDL.size(), b.m_vUDL.size());
    for (std::size_t i = 0; i < a.m_vUDL.size(); ++i)
    {
        EXPECT_EQ(a.m_vUDL[i].magnitude, b.m_vUDL[i].magnitude);
        EXPECT_EQ(a.m_vUDL[i].gamma, b.m_vUDL[i].gamma);
    }
    ASSERT_EQ(a.m_vPL.size(), b.m_vPL.size());
    for (std::size_t i = 0; i < a.m_vPL.size(); ++i)
    {
        EXPECT_EQ(a.m_vPL[i].magnitude, b.m_vPL[i].magnitude);
        EXPECT_EQ(a.m_vPL[i].location, b.m_vPL[i].location);
        EXPECT_EQ(a.m_vPL[i].gamma, b.m_vPL[i].gamma);
        EXPECT_EQ(a.m_vPL[i].width, b.m_vPL[i].width);
    }
    ASSERT_EQ(a.m_vPUDL.size(), b.m_vPUDL.size());
    for (std::size_t i = 0; i < a.m_vPUDL.size(); ++i)
    {
        EXPECT_EQ(a.m_vPUDL[i].magnitude, b.m_vPUDL[i].magnitude);
        EXPECT_EQ(a.m_vPUDL[i].location, b.m_vPUDL[i].location);
        EXPECT_EQ(a.m_vPUDL[i].cover, b.m_vPUDL[i].cover);
        EXPECT_EQ(a.m_vPUDL[i].gamma, b.m_vPUDL[i].gamma);
    }
    ExpectSameFactor(a.m_gDLA, b.m_gDLA);
    ExpectSameFactor(a.m_gLiveLoad, b.m_gLiveLoad);
    ExpectSameFactor(a.m_gUnits, b.m_gUnits);
    ExpectSameFactor(a.m_gArbitrary, b.m_gArbitrary);
    EXPECT_EQ(a.m_WidthFactor, b.m_WidthFactor);
    EXPECT_EQ(a.m_bBM, b.m_bBM);
    EXPECT_EQ(a.m_bSF, b.m_bSF);
    EXPECT_EQ(a.m_bUseMinL, b.m_bUseMinL);
    EXPECT_EQ(a.m_bUseMaxL, b.m_bUseMaxL);
    EXPECT_EQ(a.m_minL, b.m_minL);
    EXPECT_EQ(a.m_maxL, b.m_maxL);
    EXPECT_EQ(a.m_GammaPL, b.m_GammaPL);
    EXPECT_EQ(a.m_GammaUDL, b.m_GammaUDL);
    EXPECT_EQ(a.m_GammaPUDL, b.m_GammaPUDL);
    EXPECT_EQ(a.m_bAdjustToBridge, b.m_bAdjustToBridge);
    EXPECT_EQ(a.m_lmBridge, b.m_lmBridge);
    EXPECT_EQ(a.m_bIsMoving, b.m_bIsMoving);
    EXPECT_EQ(a.m_PointLoadStart, b.m_PointLoadStart);
    // Derived, rebuilt after every archive pass.
    EXPECT_EQ(a.m_nLoads, b.m_nLoads);
    EXPECT_EQ(a.m_nPL, b.m_nPL);
    EXPECT_EQ(a.m_nUDL, b.m_nUDL);
    EXPECT_EQ(a.m_nPUDL, b.m_nPUDL);
    EXPECT_EQ(a.m_Length, b.m_Length);
    EXPECT_EQ(a.m_bIsUpToDate, b.m_bIsUpToDate);
    EXPECT_TRUE(b.IsUpToDate());
}

} // namespace enginetest
