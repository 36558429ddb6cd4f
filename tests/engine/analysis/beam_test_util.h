// Small helpers shared by the beam tests.
#pragma once

#include "engine/analysis/BeamResults.h"
#include "engine/model/Beam.h"
#include "tests/engine/engine_test_util.h"

#include <memory>
#include <vector>

namespace beamtest {

constexpr double kEI = 1e11;

// A beam as the program builds a bridge: EI 1e11 on every span, a pin at every node.
inline CBeam MakeBridgeBeam(const std::vector<double>& spans)
{
    CBeam b;
    b.SetSpans(spans);
    b.m_vEI.assign(spans.size(), kEI);
    std::vector<double> R;
    for (std::size_t k = 0; k <= spans.size(); ++k)
    {
        R.push_back(-1.0);
        R.push_back(0.0);
    }
    b.SetRestraints(R);
    return b;
}

using enginetest::OutOfRangeText;
using enginetest::SameBits;
using enginetest::ThrownText;

} // namespace beamtest
