// The vehicles both benchmarks drive: trucks given by axle loads (kN) and spacings (m), a six-axle truck
// and an ensemble of ten trucks.
#pragma once

#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"

#include <memory>
#include <vector>

namespace qor::bench {

inline std::shared_ptr<CLoadModel> Truck(int id, const std::vector<double>& loads, const std::vector<double>& spacings)
{
    auto lm = std::make_shared<CLoadModel>(id, CString(L"Truck"));
    double x = 0.0;
    for (std::size_t i = 0; i < loads.size(); ++i)
    {
        if (i > 0) x -= spacings[i - 1];
        lm->AddPointLoad(loads[i], x, 0.0);
    }
    return lm;
}

inline std::shared_ptr<CLoadModel> SixAxleTruck()
{
    return Truck(4, {53.0, 80.0, 80.0, 80.0, 80.0, 80.0}, {3.7, 1.25, 6.0, 1.25, 1.25});
}

// Ten trucks of two to nine axles, one with a lane load behind it.
inline std::shared_ptr<CLoadModelEnsemble> TenTrucks()
{
    auto lme = std::make_shared<CLoadModelEnsemble>(1, CString(L"Ten trucks"));
    lme->AddLoadModel(Truck(1, {60.0, 120.0}, {4.0}));
    lme->AddLoadModel(Truck(2, {50.0, 80.0, 80.0}, {3.7, 1.25}));
    lme->AddLoadModel(Truck(3, {50.0, 80.0, 80.0, 80.0}, {3.7, 1.25, 5.0}));
    lme->AddLoadModel(SixAxleTruck());
    lme->AddLoadModel(Truck(5, {53.0, 80.0, 80.0, 80.0, 80.0, 80.0, 80.0}, {3.0, 1.25, 5.5, 1.25, 6.0, 1.25}));
    lme->AddLoadModel(
        Truck(6, {53.0, 80.0, 80.0, 80.0, 80.0, 80.0, 80.0, 80.0}, {3.0, 1.25, 5.5, 1.25, 1.25, 6.0, 1.25}));
    lme->AddLoadModel(Truck(7, {53.0, 80.0, 80.0, 80.0, 80.0, 80.0, 80.0, 80.0, 80.0},
                            {3.0, 1.25, 5.5, 1.25, 1.25, 6.0, 1.25, 1.25}));
    lme->AddLoadModel(Truck(8, {40.0, 40.0, 40.0, 40.0, 40.0}, {2.0, 2.0, 2.0, 2.0}));
    lme->AddLoadModel(Truck(9, {70.0, 70.0, 70.0}, {1.2, 1.2}));
    auto lane = Truck(10, {80.0, 80.0}, {1.5});
    lane->AddPartialUDL(6.0, -1.5, 20.0);
    lme->AddLoadModel(lane);
    return lme;
}

} // namespace qor::bench
