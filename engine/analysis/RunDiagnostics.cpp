// Lines for the log that say why numbers of a run are zero or not numbers at all: a load model without loads,
// a load model whose length limits exclude every bridge of the run, and critical ratios whose reference
// effect is too small to divide by.
#include "engine/analysis/RunDiagnostics.h"

#include "engine/analysis/CriticalEnsemble.h"
#include "engine/model/Beam.h"
#include "engine/model/Bridge.h"
#include "engine/model/LoadModel.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

constexpr std::size_t kNamedBridges = 5;
constexpr std::size_t kNamedRatioBridges = 3;

double LengthOf(const CBridge& bridge)
{
    const std::shared_ptr<CBeam> beam = bridge.GetBeam();
    return beam ? beam->m_Length : 0.0;
}

CString Limits(const CLoadModel& model)
{
    CString text;
    if (model.m_bUseMinL && model.m_bUseMaxL)
        text.Format(L"from %g m to %g m", model.m_minL, model.m_maxL);
    else if (model.m_bUseMinL)
        text.Format(L"from %g m", model.m_minL);
    else
        text.Format(L"up to %g m", model.m_maxL);
    return text;
}

// The first `shown` names, then how many more: "B1, B2, B3 and 309 more".
CString NamesAndMore(const std::vector<CString>& names, std::size_t shown)
{
    CString list;
    const std::size_t named = std::min(shown, names.size());
    for (std::size_t i = 0; i < named; ++i)
    {
        if (i) list += L", ";
        list += names[i];
    }
    if (names.size() > named)
    {
        CString more;
        more.Format(L" and %d more", static_cast<int>(names.size() - named));
        list += more;
    }
    return list;
}

CString BridgeList(const std::vector<std::shared_ptr<CBridge>>& bridges)
{
    std::vector<CString> names;
    for (const auto& bridge : bridges)
    {
        if (!bridge) continue;
        CString one;
        one.Format(L"%s (%g m)", bridge->m_Description.GetString(), LengthOf(*bridge));
        names.push_back(one);
    }
    return NamesAndMore(names, kNamedBridges);
}

} // namespace

std::vector<CString> CRunDiagnostics::ModelLines(const std::vector<std::shared_ptr<CLoadModel>>& models,
                                                 const std::vector<std::shared_ptr<CBridge>>& bridges)
{
    std::vector<CString> lines;
    std::set<const CLoadModel*> seen;
    for (const auto& model : models)
    {
        if (!model || !seen.insert(model.get()).second) continue;
        CString line;
        if (model->m_vPL.empty() && model->m_vUDL.empty() && model->m_vPUDL.empty())
        {
            line.Format(L"Load model \"%s\" has no loads: its results are all zero.", model->m_Description.GetString());
            lines.push_back(line);
            continue;
        }
        bool appliesToAny = false;
        for (const auto& bridge : bridges)
            appliesToAny = appliesToAny || (bridge && model->AppliesToLength(LengthOf(*bridge)));
        if (appliesToAny || bridges.empty()) continue;
        line.Format(L"Load model \"%s\" applies to bridges %s long, not to %s: its results are all zero.",
                    model->m_Description.GetString(), Limits(*model).GetString(), BridgeList(bridges).GetString());
        lines.push_back(line);
    }
    return lines;
}

std::vector<CString> CRunDiagnostics::RatioLines(const std::vector<std::shared_ptr<CCriticalRatioEnsemble>>& ratios)
{
    // One line per effect for the whole run, naming the first few of its bridges, in the order met.
    struct Undefined
    {
        std::vector<CString> bridges;
        std::set<const CBridge*> seen;
    };
    std::vector<CString> effects;
    std::map<std::wstring, Undefined> undefined;
    const auto check = [&](const RatioLoadEffect& e, const CString& effect) {
        if (!e.IsUndefined()) return;
        auto [at, first] = undefined.try_emplace(effect.GetString());
        if (first) effects.push_back(effect);
        if (!at->second.seen.insert(e.bridge.get()).second) return;
        at->second.bridges.push_back(e.bridge ? e.bridge->m_Description : CString(L"?"));
    };
    for (const auto& ensemble : ratios)
    {
        if (!ensemble) continue;
        for (unsigned i = 0; i < ensemble->GetNoResults(); ++i)
        {
            const CCriticalRatioResults results = ensemble->GetResults(i);
            check(results.GetBM().first, L"largest bending moment");
            check(results.GetBM().second, L"smallest bending moment");
            check(results.GetSF().first, L"largest shear force");
            check(results.GetSF().second, L"smallest shear force");
            const auto pairs = results.GetReactionPairs();
            for (std::size_t r = 0; r < pairs.size(); ++r)
            {
                CString support;
                support.Format(L"largest reaction at support %d", static_cast<int>(r) + 1);
                check(pairs[r].first, support);
                support.Format(L"smallest reaction at support %d", static_cast<int>(r) + 1);
                check(pairs[r].second, support);
            }
        }
    }
    std::vector<CString> lines;
    for (const CString& effect : effects)
    {
        const std::vector<CString>& bridges = undefined[effect.GetString()].bridges;
        CString line;
        if (bridges.size() == 1)
            line.Format(L"Bridge \"%s\": the reference %s is too small to rate against where the proposed vehicle's "
                        L"is not; its ratio is shown as n/a.",
                        bridges.front().GetString(), effect.GetString());
        else
            line.Format(L"The reference %s is too small to rate against where the proposed vehicle's is not on %d "
                        L"bridges: %s; their ratios are shown as n/a.",
                        effect.GetString(), static_cast<int>(bridges.size()),
                        NamesAndMore(bridges, kNamedRatioBridges).GetString());
        lines.push_back(line);
    }
    return lines;
}
