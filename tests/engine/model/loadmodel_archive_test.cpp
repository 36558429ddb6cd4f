// Load models and ensembles through the XML, text and binary archives.
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "tests/engine/model_compare.h"

#include <boost/archive/binary_iarchive.hpp>
#include <boost/archive/binary_oarchive.hpp>
#include <boost/archive/text_iarchive.hpp>
#include <boost/archive/text_oarchive.hpp>
#include <boost/archive/xml_iarchive.hpp>
#include <boost/archive/xml_oarchive.hpp>
#include <boost/serialization/nvp.hpp>
#include <boost/serialization/shared_ptr.hpp>
#include <boost/serialization/vector.hpp>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

const wchar_t* kName = L"Semi-trailer 42,5 t – Ünterführung «Süd» 車両";

using Models = std::vector<std::shared_ptr<CLoadModel>>;
using Ensembles = std::vector<std::shared_ptr<CLoadModelEnsemble>>;

std::shared_ptr<CLoadModel> MakeModel()
{
    auto lm = std::make_shared<CLoadModel>(4, kName);
    lm->AddPointLoad(5.5, 0.0, 1.8);
    lm->AddPointLoad(9.0, 3.7, 2.4);
    lm->AddPointLoad(9.0, 5.0, 2.4);
    lm->AddUDL(0.8);
    lm->AddPartialUDL(-0.8, 1.0, 12.0);
    lm->m_bIsEditable = false;
    lm->m_WidthFactor = 2;
    lm->m_gDLA.value = 1.3;
    lm->m_gUnits.value = 9.81;
    lm->m_gLiveLoad.desc = L"Facteur de charge ü";
    lm->m_GammaPL = 1.1;
    lm->SetGammaUDL(1.2);
    lm->SetGammaPUDL(0.9);
    lm->m_bBM = false;
    lm->m_bUseMinL = true;
    lm->m_minL = 7.5;
    lm->m_bUseMaxL = true;
    lm->m_maxL = 120.0;
    lm->m_bAdjustToBridge = true;
    lm->m_lmBridge = 4;
    lm->m_PointLoadStart = 2.25;
    return lm;
}

template <class OArchive, class IArchive>
void RoundTrip(Models& models, Ensembles& ensembles, Models& modelsOut, Ensembles& ensemblesOut,
               std::string* pText = nullptr)
{
    std::stringstream ss;
    {
        OArchive oa(ss);
        oa << boost::serialization::make_nvp("m_vLoadModel", models);
        oa << boost::serialization::make_nvp("m_vLoadModelEnsemble", ensembles);
    }
    if (pText) *pText = ss.str();
    IArchive ia(ss);
    ia >> boost::serialization::make_nvp("m_vLoadModel", modelsOut);
    ia >> boost::serialization::make_nvp("m_vLoadModelEnsemble", ensemblesOut);
}

template <class OArchive, class IArchive>
void CheckRoundTrip()
{
    auto lm = MakeModel();
    auto other = std::make_shared<CLoadModel>(5, L"Lane");
    other->AddUDL(3.0);
    Models models = {lm, other};
    auto lme1 = std::make_shared<CLoadModelEnsemble>(1, kName);
    lme1->AddLoadModel(lm);
    lme1->AddLoadModel(other);
    auto lme2 = std::make_shared<CLoadModelEnsemble>(2, L"Second");
    lme2->AddLoadModel(other);
    lme2->AddLoadModel(lm);
    lme2->m_bIsEditable = false;
    Ensembles ensembles = {lme1, lme2};

    Models modelsOut;
    Ensembles ensemblesOut;
    RoundTrip<OArchive, IArchive>(models, ensembles, modelsOut, ensemblesOut);

    // Saving settles the model in memory: the foremost axle at 0.
    EXPECT_TRUE(lm->IsUpToDate());
    EXPECT_DOUBLE_EQ(lm->m_vPL[2].location, 0.0);
    EXPECT_DOUBLE_EQ(lm->GetLength(), 5.0);
    EXPECT_DOUBLE_EQ(lm->m_Gamma, 1.3 * 9.81);
    EXPECT_FALSE(other->m_bIsMoving);

    ASSERT_EQ(modelsOut.size(), 2u);
    enginetest::ExpectSameLoadModel(*lm, *modelsOut[0]);
    enginetest::ExpectSameLoadModel(*other, *modelsOut[1]);
    EXPECT_EQ(modelsOut[0]->m_Description, kName);
    EXPECT_EQ(modelsOut[0]->m_gLiveLoad.desc, L"Facteur de charge ü");

    ASSERT_EQ(ensemblesOut.size(), 2u);
    EXPECT_EQ(ensemblesOut[0]->m_Description, kName);
    EXPECT_EQ(ensemblesOut[0]->m_ID, 1);
    EXPECT_EQ(ensemblesOut[0]->m_ElementType, 14);
    EXPECT_FALSE(ensemblesOut[1]->m_bIsEditable);
    EXPECT_EQ(ensemblesOut[0]->m_nLoadModels, 2);
    EXPECT_EQ(ensemblesOut[1]->m_nLoadModels, 2);
    // The same objects, not copies.
    EXPECT_EQ(ensemblesOut[0]->GetLoadModel(0), modelsOut[0]);
    EXPECT_EQ(ensemblesOut[0]->GetLoadModel(1), modelsOut[1]);
    EXPECT_EQ(ensemblesOut[1]->GetLoadModel(0), modelsOut[1]);
    EXPECT_EQ(ensemblesOut[1]->GetLoadModel(1), modelsOut[0]);
    modelsOut[0]->m_gDLA.value = 1.7;
    EXPECT_EQ(ensemblesOut[1]->GetLoadModel(1)->m_gDLA.value, 1.7);
}

} // namespace

TEST(LoadModelArchive, XmlRoundTripKeepsModelsAndSharing)
{
    CheckRoundTrip<boost::archive::xml_oarchive, boost::archive::xml_iarchive>();
}

TEST(LoadModelArchive, TextRoundTripKeepsModelsAndSharing)
{
    CheckRoundTrip<boost::archive::text_oarchive, boost::archive::text_iarchive>();
}

TEST(LoadModelArchive, BinaryRoundTripKeepsModelsAndSharing)
{
    CheckRoundTrip<boost::archive::binary_oarchive, boost::archive::binary_iarchive>();
}

TEST(LoadModelArchive, FileHoldsLocationsAsTheyStoodBeforeTheSave)
{
    auto lm = std::make_shared<CLoadModel>(1, L"M");
    lm->AddPointLoad(10.0, 0.0, 0.0);
    lm->AddPointLoad(10.0, 4.0, 0.0);
    Models models = {lm};
    Ensembles ensembles;
    Models out;
    Ensembles ensemblesOut;
    std::string xml;
    RoundTrip<boost::archive::xml_oarchive, boost::archive::xml_iarchive>(models, ensembles, out, ensemblesOut, &xml);
    EXPECT_NE(xml.find("<location>4.0"), std::string::npos) << xml;
    // Both sides are shifted by the pass itself and agree.
    EXPECT_DOUBLE_EQ(lm->m_vPL[0].location, -4.0);
    EXPECT_DOUBLE_EQ(out[0]->m_vPL[0].location, -4.0);
    EXPECT_DOUBLE_EQ(out[0]->GetLength(), 4.0);
    EXPECT_TRUE(out[0]->IsUpToDate());
}

TEST(LoadModelArchive, ItemsAppearInArchiveOrder)
{
    auto lm = MakeModel();
    Models models = {lm};
    Ensembles ensembles = {std::make_shared<CLoadModelEnsemble>(3, L"E")};
    ensembles[0]->AddLoadModel(lm);
    Models out;
    Ensembles ensemblesOut;
    std::string xml;
    RoundTrip<boost::archive::xml_oarchive, boost::archive::xml_iarchive>(models, ensembles, out, ensemblesOut, &xml);
    const std::vector<std::string> order = {"<CElement",
                                            "<m_Gamma>",
                                            "<m_vUDL",
                                            "<magnitude>",
                                            "<gamma>",
                                            "<m_vPL",
                                            "<magnitude>",
                                            "<location>",
                                            "<gamma>",
                                            "<width>",
                                            "<m_vPUDL",
                                            "<magnitude>",
                                            "<location>",
                                            "<cover>",
                                            "<gamma>",
                                            "<m_gDLA",
                                            "<desc",
                                            "<value>",
                                            "<value>",
                                            "<type>",
                                            "<m_gLiveLoad",
                                            "<m_gUnits",
                                            "<m_gArbitrary",
                                            "<m_WidthFactor>",
                                            "<m_bBM>",
                                            "<m_bSF>",
                                            "<m_bUseMinL>",
                                            "<m_bUseMaxL>",
                                            "<m_minL>",
                                            "<m_maxL>",
                                            "<m_GammaPL>",
                                            "<m_GammaUDL>",
                                            "<m_GammaPUDL>",
                                            "<m_bAdjustToBridge>",
                                            "<m_lmBridge>",
                                            "<m_bIsMoving>",
                                            "<m_PointLoadStart>",
                                            "<m_vLoadModelEnsemble",
                                            "<CElement",
                                            "<m_vLoadModel"};
    std::size_t pos = 0;
    for (const auto& item : order)
    {
        std::size_t found = xml.find(item, pos);
        ASSERT_NE(found, std::string::npos) << item;
        pos = found + 1;
    }
    // Derived data stays out of the file.
    for (const char* derived : {"m_nLoads", "m_nPL", "m_Length", "m_bIsUpToDate", "m_nLoadModels", "m_FrontExtent"})
        EXPECT_EQ(xml.find(derived), std::string::npos) << derived;
}
