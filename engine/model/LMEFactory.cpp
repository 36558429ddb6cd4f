// Standard load-model library: builds the load models of the published bridge loading codes (A26 ... AASHTO)
// as load model ensembles, one operation per Insert command.
#include "engine/model/LMEFactory.h"

#include <cmath>

#include "engine/model/LMECatalogue.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "engine/model/Ranges.h"

using lmecat::DLAMode;

namespace {
constexpr double kTonnesToKN = 9.81;

using EnsemblePtr = std::shared_ptr<CLoadModelEnsemble>;
using ModelPtr = std::shared_ptr<CLoadModel>;

CString FormatName(const wchar_t* pattern, double s)
{
    CString name;
    name.Format(pattern, s);
    return name;
}
} // namespace

// Builders shared by the operations.
struct CLMEFactory::Impl
{
    // Gives a built model its dynamic load allowance (after its loads are in place).
    static void ApplyDLA(const CLMEFactory& f, CLoadModel& lm, const lmecat::DLADef& dla)
    {
        const bool standard = f.m_bUseStandardDLA;
        switch (dla.mode)
        {
        case DLAMode::Fixed: lm.m_gDLA.value = standard ? dla.value : f.m_DLA; break;
        case DLAMode::SpanRule:
            if (standard)
            {
                lm.m_bAdjustToBridge = true;
                lm.m_lmBridge = dla.rule;
            }
            else
                lm.m_gDLA.value = f.m_DLA;
            break;
        case DLAMode::LaneRule:
            lm.m_bAdjustToBridge = true;
            if (standard)
                lm.m_lmBridge = dla.rule;
            else
            {
                lm.m_lmBridge = CLoadModel::LM_NAASRA_PL;
                lm.m_gDLA.value = f.m_DLA;
            }
            break;
        case DLAMode::A36Load:
            lm.m_bAdjustToBridge = true;
            lm.m_lmBridge = CLoadModel::LM_A36_UDL;
            if (!standard) lm.m_gDLA.value = f.m_DLA;
            break;
        case DLAMode::BS5400Load:
            lm.m_bAdjustToBridge = true;
            lm.m_lmBridge = CLoadModel::LM_BS5400_UDL;
            lm.m_gDLA.value = standard ? 1.0 : f.m_DLA;
            break;
        case DLAMode::PointLoadFactor: {
            const double g = standard ? dla.value : f.m_DLA;
            lm.m_GammaPL = g;
            for (auto& pl : lm.m_vPL) pl.gamma = g;
            break;
        }
        }
    }

    // Builds one model of the catalogue; s is its variable spacing (0.0 for a fixed model),
    // axleScale multiplies the axle loads (HB units).
    static ModelPtr BuildModel(const CLMEFactory& f, const lmecat::FamilyDef& family, const lmecat::ModelDef& def,
                               int ID, const CString& name, double s, double axleScale = 1.0)
    {
        auto lm = std::make_shared<CLoadModel>(ID, name);
        for (const auto& a : def.axles) lm->AddPointLoad(a.load * axleScale, a.x - a.nS * s, a.width);
        for (double q : def.udls) lm->AddUDL(q);
        for (const auto& p : def.partials) lm->AddPartialUDL(p.magnitude, p.location, p.cover);
        if (def.gammaDistributed != 1.0)
        {
            lm->SetGammaUDL(def.gammaDistributed);
            lm->SetGammaPUDL(def.gammaDistributed);
        }
        lm->m_bBM = def.bm;
        lm->m_bSF = def.sf;
        if (def.minL)
        {
            lm->m_bUseMinL = true;
            lm->m_minL = *def.minL;
        }
        if (def.maxL)
        {
            lm->m_bUseMaxL = true;
            lm->m_maxL = *def.maxL;
        }
        ApplyDLA(f, *lm, def.dla);
        if (family.tonnes) lm->m_gUnits.value = kTonnesToKN;
        lm->m_bIsEditable = false;
        return lm;
    }

    static EnsemblePtr BuildEntry(const CLMEFactory& f, const lmecat::FamilyDef& family, const lmecat::EntryDef& entry,
                                  bool byStep = false, double stepOrCount = 0.0)
    {
        const int base = f.m_BaseID[family.index];
        auto lme = std::make_shared<CLoadModelEnsemble>(base, CString(entry.name));
        for (const auto& def : entry.models)
            lme->AddLoadModel(BuildModel(f, family, def, base + def.offset, CString(def.name), 0.0));
        if (entry.variable)
        {
            const lmecat::ModelDef& def = *entry.variable;
            int ID = base + def.offset;
            if (entry.leadS)
            {
                lme->AddLoadModel(BuildModel(f, family, def, ID, FormatName(def.name, *entry.leadS), *entry.leadS));
                ++ID;
            }
            for (double s : GetSpacings(byStep, entry.sFrom, entry.sTo, stepOrCount))
                lme->AddLoadModel(BuildModel(f, family, def, ID++, FormatName(def.name, s), s));
        }
        lme->m_bIsEditable = entry.editable;
        return lme;
    }

    static EnsemblePtr BuildFamily(const CLMEFactory& f, const lmecat::FamilyDef& family, bool byStep = false,
                                   double stepOrCount = 0.0)
    {
        auto lme = std::make_shared<CLoadModelEnsemble>(f.m_BaseID[family.index], CString(family.name));
        for (const lmecat::EntryDef* entry : family.entries)
            lme->AddEnsemble(*BuildEntry(f, family, *entry, byStep, stepOrCount));
        lme->m_bIsEditable = family.editable;
        return lme;
    }

    static ModelPtr BuildABAGVehicle(const CLMEFactory& f, const lmecat::AxleListDef& v, int ID)
    {
        auto lm = AddAxles(ID, CString(v.name), v.loads, v.spacings);
        ApplyDLA(f, *lm, lmecat::SpanRuleDLA(CLoadModel::LM_ABDC_DLA));
        lm->m_gUnits.value = kTonnesToKN;
        lm->m_bIsEditable = false;
        return lm;
    }

    static EnsemblePtr BuildABAGEntry(const CLMEFactory& f, size_t i)
    {
        const int base = f.m_BaseID[FamilyABAG];
        const auto& v = lmecat::ABAGVehicles.at(i);
        auto lme = std::make_shared<CLoadModelEnsemble>(base, CString(v.entryName));
        lme->AddLoadModel(BuildABAGVehicle(f, v, base + 1));
        return lme;
    }

    static EnsemblePtr BuildHB(const CLMEFactory& f, int hbUnits)
    {
        const auto& hb = lmecat::BS5400_HB;
        const int base = f.m_BaseID[FamilyBS5400];
        auto lme = std::make_shared<CLoadModelEnsemble>(base, CString(hb.entryName));
        int ID = base + hb.firstOffset;
        for (double s : hb.spacings)
        {
            auto lm = BuildModel(f, lmecat::BS5400, hb.model, ID++, FormatName(hb.namePattern, s), s,
                                 static_cast<double>(hbUnits));
            // Take the uniform load away from relievedLength behind the last axle up to 0.0.
            const double x = lm->m_vPL.back().location;
            lm->AddPartialUDL(-hb.relievedUDL, x - hb.relievedLength, std::fabs(x) + hb.relievedLength);
            lme->AddLoadModel(lm);
        }
        lme->m_bIsEditable = false;
        return lme;
    }
};

CLMEFactory::CLMEFactory()
    : m_BaseID{100, 200, 300, 400, 500, 600, 700, 800, 900, 1000}, m_bUseStandardDLA(true), m_DLA(1.0)
{}

CLMEFactory::~CLMEFactory() = default;

// ---------------------------------------------------------------- helpers

const char* CLMEFactory::CheckSpacingArguments(bool byStep, double stepOrCount)
{
    if (byStep) return stepOrCount > 0.0 && std::isfinite(stepOrCount) ? nullptr : ErrSpacingStep;
    // NaN fails the comparison and is refused with the too-large counts.
    // The count is truncated toward zero, so anything below MaxSpacingValues + 1 is accepted.
    return stepOrCount < MaxSpacingValues + 1.0 ? nullptr : ErrSpacingCount;
}

std::vector<double> CLMEFactory::GetSpacings(bool byStep, double start, double end, double stepOrCount)
{
    if (const char* err = CheckSpacingArguments(byStep, stepOrCount)) throw err;
    if (byStep)
    {
        // Grid intervals first, so that an absurdly small step never reaches the list.
        if (!(std::fabs(end - start) / stepOrCount < MaxSpacingValues)) throw ErrSpacingCount;
        std::vector<double> values = RangeByStep(start, end, stepOrCount);
        if (values.size() > static_cast<size_t>(MaxSpacingValues)) throw ErrSpacingCount;
        return values;
    }
    if (stepOrCount < 2.0) return {};
    return LinSpace(static_cast<int>(stepOrCount), start, end);
}

std::shared_ptr<CLoadModel> CLMEFactory::AddAxles(int ID, const CString& name, const std::vector<double>& loads,
                                                  const std::vector<double>& spacings)
{
    auto lm = std::make_shared<CLoadModel>(ID, name);
    if (loads.size() != spacings.size() + 1) throw ErrAxlesSpacings;
    double x = 0.0;
    for (size_t i = 0; i < loads.size(); ++i)
    {
        if (i > 0) x -= spacings[i - 1];
        lm->AddPointLoad(loads[i], x, 0.0);
    }
    return lm;
}

// ---------------------------------------------------------------- families

std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetA26() { return Impl::BuildFamily(*this, lmecat::A26); }
std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetA36() { return Impl::BuildFamily(*this, lmecat::A36); }
std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetNAASRA1970(bool byStep, double stepOrCount)
{
    return Impl::BuildFamily(*this, lmecat::NAASRA1970, byStep, stepOrCount);
}
std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetNAASRA1976(bool byStep, double stepOrCount)
{
    return Impl::BuildFamily(*this, lmecat::NAASRA1976, byStep, stepOrCount);
}
std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetABDC1992(bool byStep, double stepOrCount)
{
    return Impl::BuildFamily(*this, lmecat::ABDC1992, byStep, stepOrCount);
}
std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetABAG()
{
    const int base = m_BaseID[FamilyABAG];
    auto lme = std::make_shared<CLoadModelEnsemble>(base, CString(lmecat::ABAG.name));
    int ID = base + 1;
    for (const auto& v : lmecat::ABAGVehicles) lme->AddLoadModel(Impl::BuildABAGVehicle(*this, v, ID++));
    lme->m_bIsEditable = lmecat::ABAG.editable;
    return lme;
}
std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetAS5100(bool byStep, double stepOrCount)
{
    return Impl::BuildFamily(*this, lmecat::AS5100, byStep, stepOrCount);
}
std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetEurocode() { return Impl::BuildFamily(*this, lmecat::Eurocode); }
std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetBS5400(int hbUnits)
{
    auto lme = Impl::BuildFamily(*this, lmecat::BS5400); // HA
    lme->AddEnsemble(*Impl::BuildHB(*this, hbUnits));
    return lme;
}
std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetAASHTO() { return Impl::BuildFamily(*this, lmecat::AASHTO); }

// ---------------------------------------------------------------- entries

#define QOR_LME_ENTRY(Op, Fam, Entry)                                                                                  \
    std::shared_ptr<CLoadModelEnsemble> CLMEFactory::Op()                                                              \
    {                                                                                                                  \
        return Impl::BuildEntry(*this, lmecat::Fam, lmecat::Entry);                                                    \
    }
#define QOR_LME_ENTRY_S(Op, Fam, Entry)                                                                                \
    std::shared_ptr<CLoadModelEnsemble> CLMEFactory::Op(bool byStep, double stepOrCount)                               \
    {                                                                                                                  \
        return Impl::BuildEntry(*this, lmecat::Fam, lmecat::Entry, byStep, stepOrCount);                               \
    }

QOR_LME_ENTRY(GetA26_AA26, A26, A26_AA26)
QOR_LME_ENTRY(GetA26_A26, A26, A26_A26)
QOR_LME_ENTRY(GetA26_B26, A26, A26_B26)

QOR_LME_ENTRY(GetA36_AA36, A36, A36_AA36)
QOR_LME_ENTRY(GetA36_A36, A36, A36_A36)
QOR_LME_ENTRY(GetA36_B36, A36, A36_B36)

QOR_LME_ENTRY_S(GetNAASRA1970_MS18, NAASRA1970, NAASRA1970_MS18)
QOR_LME_ENTRY_S(GetNAASRA1970_MS13, NAASRA1970, NAASRA1970_MS13)
QOR_LME_ENTRY(GetNAASRA1970_M18, NAASRA1970, NAASRA1970_M18)
QOR_LME_ENTRY(GetNAASRA1970_M13, NAASRA1970, NAASRA1970_M13)
QOR_LME_ENTRY(GetNAASRA1970_M9, NAASRA1970, NAASRA1970_M9)

QOR_LME_ENTRY(GetNAASRA1976_A14, NAASRA1976, NAASRA1976_A14)
QOR_LME_ENTRY_S(GetNAASRA1976_T44, NAASRA1976, NAASRA1976_T44)
QOR_LME_ENTRY(GetNAASRA1976_L44, NAASRA1976, NAASRA1976_L44)
QOR_LME_ENTRY_S(GetNAASRA1976_SAV, NAASRA1976, NAASRA1976_SAV)

QOR_LME_ENTRY(GetABDC1992_W7, ABDC1992, ABDC1992_W7)
QOR_LME_ENTRY_S(GetABDC1992_T44, ABDC1992, ABDC1992_T44)
QOR_LME_ENTRY(GetABDC1992_L44, ABDC1992, ABDC1992_L44)
QOR_LME_ENTRY_S(GetABDC1992_HLP320, ABDC1992, ABDC1992_HLP320)
QOR_LME_ENTRY_S(GetABDC1992_HLP400, ABDC1992, ABDC1992_HLP400)

QOR_LME_ENTRY(GetAS5100_W80, AS5100, AS5100_W80)
QOR_LME_ENTRY(GetAS5100_A160, AS5100, AS5100_A160)
QOR_LME_ENTRY_S(GetAS5100_M1600, AS5100, AS5100_M1600)
QOR_LME_ENTRY_S(GetAS5100_S1600, AS5100, AS5100_S1600)
QOR_LME_ENTRY_S(GetAS5100_HLP320, AS5100, AS5100_HLP320)
QOR_LME_ENTRY_S(GetAS5100_HLP400, AS5100, AS5100_HLP400)

QOR_LME_ENTRY(GetEurocode_LM1, Eurocode, Eurocode_LM1)
QOR_LME_ENTRY(GetBS5400_HA, BS5400, BS5400_HA)
QOR_LME_ENTRY(GetAASHTO_HL93, AASHTO, AASHTO_HL93)

#undef QOR_LME_ENTRY
#undef QOR_LME_ENTRY_S

std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetBS5400_HAHB(int hbUnits) { return Impl::BuildHB(*this, hbUnits); }

std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetABAG_BDouble1() { return Impl::BuildABAGEntry(*this, 0); }
std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetABAG_BDouble2() { return Impl::BuildABAGEntry(*this, 1); }
std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetABAG_BDouble3() { return Impl::BuildABAGEntry(*this, 2); }
std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetABAG_Semi1() { return Impl::BuildABAGEntry(*this, 3); }
std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetABAG_Semi2() { return Impl::BuildABAGEntry(*this, 4); }
std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetABAG_Semi3() { return Impl::BuildABAGEntry(*this, 5); }
std::shared_ptr<CLoadModelEnsemble> CLMEFactory::GetABAG_Semi4() { return Impl::BuildABAGEntry(*this, 6); }
