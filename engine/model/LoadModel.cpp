// A load model: one vehicle or lane loading (point loads, uniform loads and partial uniform loads) with its
// factors and optional span rules.
#include "engine/model/LoadModel.h"

#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/runs/EngineMessages.h"
#include "platform/core/Errors.h"
#include "platform/core/StringSerialization.h"

#include "engine/ArchiveInstantiation.h"

#include <boost/serialization/base_object.hpp>
#include <boost/serialization/nvp.hpp>
#include <boost/serialization/vector.hpp>

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace {

// Removes item i of a load list; false (nothing changed) for an index outside it.
template <class Load>
bool EraseAt(std::vector<Load>& loads, int i)
{
    if (i < 0 || static_cast<std::size_t>(i) >= loads.size()) return false;
    loads.erase(loads.begin() + i);
    return true;
}

} // namespace

// --- Factor and load records ---------------------------------------------------------

template <class Archive>
void Factor::serialize(Archive& ar, const unsigned int /*version*/)
{
    using boost::serialization::make_nvp;
    ar& make_nvp("desc", desc);
    ar& make_nvp("value", value);
    ar& make_nvp("type", type);
}

template <class Archive>
void CLoadModel::UniformLoad::serialize(Archive& ar, const unsigned int /*version*/)
{
    using boost::serialization::make_nvp;
    ar& make_nvp("magnitude", magnitude);
    ar& make_nvp("gamma", gamma);
}

template <class Archive>
void CLoadModel::PointLoad::serialize(Archive& ar, const unsigned int /*version*/)
{
    using boost::serialization::make_nvp;
    ar& make_nvp("magnitude", magnitude);
    ar& make_nvp("location", location);
    ar& make_nvp("gamma", gamma);
    ar& make_nvp("width", width);
}

template <class Archive>
void CLoadModel::PartialUDLoad::serialize(Archive& ar, const unsigned int /*version*/)
{
    using boost::serialization::make_nvp;
    ar& make_nvp("magnitude", magnitude);
    ar& make_nvp("location", location);
    ar& make_nvp("cover", cover);
    ar& make_nvp("gamma", gamma);
}

// --- Construction --------------------------------------------------------------------

CLoadModel::CLoadModel() : CElement(0, L"Loadmodel", ELEMENT_LOADMODEL) { SetDefaultFactors(); }

CLoadModel::CLoadModel(int ID, const CString& name) : CElement(ID, name, ELEMENT_LOADMODEL) { SetDefaultFactors(); }

CLoadModel::~CLoadModel() = default;

void CLoadModel::SetDefaultFactors()
{
    m_gDLA = Factor(L"Dynamic Load Allowance", 1.0, Factor::TYPE_DLA);
    m_gLiveLoad = Factor(L"Live load factor", 1.0, Factor::TYPE_LIVELOAD);
    m_gUnits = Factor(L"Unit conversion", 1.0, Factor::TYPE_UNITS);
    m_gArbitrary = Factor(L"Arbitrary", 1.0, Factor::TYPE_ARBITRARY);
}

// --- Loads ---------------------------------------------------------------------------

std::shared_ptr<CLoadModel> CLoadModel::Clone() const { return std::make_shared<CLoadModel>(*this); }

void CLoadModel::AddUDL(double magnitude)
{
    m_vUDL.push_back({1.0, magnitude});
    UpdateCounts();
    m_bIsUpToDate = false;
}

void CLoadModel::AddPointLoad(double magnitude, double location, double width)
{
    m_vPL.push_back({1.0, magnitude, location, width});
    UpdateCounts();
    m_bIsUpToDate = false;
}

void CLoadModel::AddPartialUDL(double magnitude, double location, double cover)
{
    m_vPUDL.push_back({1.0, magnitude, location, cover});
    UpdateCounts();
    m_bIsUpToDate = false;
}

void CLoadModel::SetUDL(int i, double magnitude) { qor::At(m_vUDL, i) = {1.0, magnitude}; }

void CLoadModel::SetPointLoad(int i, double gamma, double magnitude, double location, double width)
{
    qor::At(m_vPL, i) = {gamma, magnitude, location, width};
}

void CLoadModel::SetPartialUDL(int i, double gamma, double magnitude, double location, double cover)
{
    qor::At(m_vPUDL, i) = {gamma, magnitude, location, cover};
}

void CLoadModel::GetUDL(int i, double& gamma, double& magnitude) const
{
    const UniformLoad& u = qor::At(m_vUDL, i);
    gamma = u.gamma;
    magnitude = u.magnitude;
}

void CLoadModel::GetPointLoad(int i, double& gamma, double& magnitude, double& location, double& width) const
{
    const PointLoad& p = qor::At(m_vPL, i);
    gamma = p.gamma;
    magnitude = p.magnitude;
    location = p.location;
    width = p.width;
}

void CLoadModel::GetPartialUDL(int i, double& gamma, double& magnitude, double& location, double& cover) const
{
    const PartialUDLoad& p = qor::At(m_vPUDL, i);
    gamma = p.gamma;
    magnitude = p.magnitude;
    location = p.location;
    cover = p.cover;
}

bool CLoadModel::RemoveUDL(int i)
{
    if (!EraseAt(m_vUDL, i)) return false;
    UpdateCounts();
    return true;
}

bool CLoadModel::RemovePointLoad(int i)
{
    if (!EraseAt(m_vPL, i)) return false;
    UpdateCounts();
    return true;
}

bool CLoadModel::RemovePartialUDL(int i)
{
    if (!EraseAt(m_vPUDL, i)) return false;
    UpdateCounts();
    return true;
}

void CLoadModel::RemoveZeroLoads()
{
    ::RemoveZeroLoads(m_vPL);
    ::RemoveZeroLoads(m_vUDL);
    ::RemoveZeroLoads(m_vPUDL);
    UpdateCounts();
}

void CLoadModel::UpdateCounts()
{
    m_nUDL = static_cast<int>(m_vUDL.size());
    m_nPL = static_cast<int>(m_vPL.size());
    m_nPUDL = static_cast<int>(m_vPUDL.size());
    m_nLoads = m_nPL + m_nUDL + m_nPUDL;
}

void CLoadModel::SetGammaUDL(double g)
{
    m_GammaUDL = g;
    for (UniformLoad& u : m_vUDL) u.gamma = g;
}

void CLoadModel::SetGammaPUDL(double g)
{
    m_GammaPUDL = g;
    for (PartialUDLoad& p : m_vPUDL) p.gamma = g;
}

// --- Factors -------------------------------------------------------------------------

Factor CLoadModel::GetFactor(int i) const
{
    switch (i)
    {
    case 0: return m_gDLA;
    case 1: return m_gLiveLoad;
    case 2: return m_gUnits;
    default: return m_gArbitrary;
    }
}

double CLoadModel::GetOverallFactor() const
{
    return m_gLiveLoad.value * m_gDLA.value * m_gUnits.value * m_gArbitrary.value;
}

void CLoadModel::UpdateGamma() { m_Gamma = GetOverallFactor(); }

// --- Update --------------------------------------------------------------------------

void CLoadModel::Update()
{
    // A model of uniform loads alone covers the whole bridge and never moves.
    if (m_vPUDL.empty() && m_vPL.empty() && !m_vUDL.empty()) m_bIsMoving = false;

    if (m_bIsMoving)
    {
        double lo = 0.0;
        double hi = 0.0;
        for (const PointLoad& p : m_vPL)
        {
            lo = std::min(lo, p.location);
            hi = std::max(hi, p.location);
        }
        for (const PartialUDLoad& p : m_vPUDL) // the cover does not count
        {
            lo = std::min(lo, p.location);
            hi = std::max(hi, p.location);
        }
        m_FrontExtent = hi;
        m_RearExtent = lo;
        m_Length = hi - lo;
        // The foremost load to 0, all others behind it.
        const double shift = -hi;
        for (PointLoad& p : m_vPL) p.location += shift;
        for (PartialUDLoad& p : m_vPUDL) p.location += shift;
    }
    m_bIsUpToDate = true;
}

// --- Span rules ----------------------------------------------------------------------

void CLoadModel::AdjustToBridge(const std::shared_ptr<CBridge>& pBridge)
{
    if (pBridge) AdjustToBridge(*pBridge);
}

void CLoadModel::AdjustToBridge(const CBridge& bridge)
{
    switch (m_lmBridge)
    {
    case LM_A36_UDL: ApplyA36UDL(bridge); break;
    case LM_NAASRA_PL: AddNAASRAPointLoad(bridge); break;
    case LM_NAASRA_DLA: ApplyNAASRADLA(bridge); break;
    case LM_NAASRA_PL_DLA:
        AddNAASRAPointLoad(bridge);
        ApplyNAASRADLA(bridge);
        break;
    case LM_ABDC_DLA: ApplyABDCDLA(bridge); break;
    case LM_ABDC_PL_DLA:
        AddNAASRAPointLoad(bridge);
        ApplyABDCDLA(bridge);
        break;
    case LM_BS5400_UDL: ApplyBS5400UDL(bridge); break;
    default: break; // none
    }
}

// The rules run at every load position of an analysis: their texts are formatted on
// the stack, and NotifyStatus allocates only for a line that changed.

void CLoadModel::ApplyA36UDL(const CBridge& bridge)
{
    const double L = bridge.m_SpanLength;
    double w = 1.49;
    if (L > 30.48)
    {
        w = 1.49 - (L - 30.48) / 102.28;
        if (w < 1.043) w = 1.043;
    }
    if (m_vUDL.empty() || m_vPUDL.empty()) throw kA36RuleLoadsError;
    m_vUDL[0].magnitude = w;
    m_vPUDL[0].magnitude = -w;

    wchar_t text[64];
    std::swprintf(text, 64, L"A36 UDL: %.3f", w * 9.81 * m_GammaUDL);
    NotifyStatus(text, STATUS_A36_UDL);
}

void CLoadModel::AddNAASRAPointLoad(const CBridge& bridge)
{
    const double L = bridge.m_SpanLength;
    if (m_vPL.empty()) throw kPointLoadRuleLoadsError;
    m_vPL.resize(1); // shrinking keeps the capacity: no allocation after the first run
    PointLoad p = m_vPL[0];
    if (bridge.m_Config == CBridge::CONFIG_TWOSPAN)
    {
        p.location += L;
        m_vPL.push_back(p);
    }
    else if (bridge.m_Config == CBridge::CONFIG_THREESPAN)
    {
        p.location += 0.875 * L;
        m_vPL.push_back(p);
    }
    UpdateCounts();
    if (m_bIsUpToDate) Update();
    NotifyStatus(L"NAASRA additional point load added", STATUS_NAASRA_PL);
}

double CLoadModel::GetNAASRADLA(double spanLength)
{
    double i = 16.0 / (spanLength + 40.0);
    if (i < 0.1) i = 0.1;
    if (i > 0.3) i = 0.3;
    return 1.0 + i;
}

double CLoadModel::GetNAASRADLA(const CBridge& bridge) { return GetNAASRADLA(bridge.m_SpanLength); }

double CLoadModel::GetABDCDLA(double spanLength)
{
    const double f = 100.0 / spanLength;
    double a;
    if (f <= 1.0)
        a = 0.2;
    else if (f <= 2.5)
        a = 0.2 + (f - 1.0) * 0.13333333333333333;
    else if (f <= 4.5)
        a = 0.4;
    else if (f <= 6.0)
        a = 0.4 - (f - 4.5) * 0.09999999999999999;
    else
        a = 0.25;
    return 1.0 + a;
}

double CLoadModel::GetABDCDLA(const CBridge& bridge) { return GetABDCDLA(bridge.m_SpanLength); }

void CLoadModel::ApplyNAASRADLA(const CBridge& bridge)
{
    m_gDLA.value = GetNAASRADLA(bridge);
    wchar_t text[64];
    std::swprintf(text, 64, L"NAASRA DLA: %.3f", m_gDLA.value - 1.0);
    NotifyStatus(text, STATUS_NAASRA_DLA);
}

void CLoadModel::ApplyABDCDLA(const CBridge& bridge)
{
    m_gDLA.value = GetABDCDLA(bridge);
    wchar_t text[64];
    std::swprintf(text, 64, L"ABDC DLA: %.3f", m_gDLA.value - 1.0);
    NotifyStatus(text, STATUS_ABDC_DLA);
}

void CLoadModel::ApplyBS5400UDL(const CBridge& bridge)
{
    const double L = bridge.m_SpanLength;
    double w = 30.0;
    if (L > 30.0)
    {
        w = 151.0 * std::pow(1.0 / L, 0.475);
        if (w < 9.0) w = 9.0;
    }
    if (m_vUDL.empty()) throw kBS5400RuleLoadsError;
    m_vUDL[0].magnitude = w;
    // The first partial load is the relief that takes the lane load away under the
    // vehicle (as in the HB models), so it follows the UDL, as the A36 rule does; left at
    // its old value it would push the bridge upwards once the UDL falls below it.
    if (!m_vPUDL.empty()) m_vPUDL[0].magnitude = -w;

    wchar_t text[64];
    std::swprintf(text, 64, L"BS5400 UDL: %.3f", w);
    NotifyStatus(text, STATUS_BS5400_UDL);
}

// --- Width rule and DLAs -------------------------------------------------------------

double CLoadModel::GetWidthAdjustedLoad(double magnitude, double width) const
{
    if (m_WidthFactor == WIDTH_NONE) return magnitude;
    if ((width > -1e-6 && width < 1e-6) || width > 8.0) return magnitude;
    if (width <= 2.0) return 1.224 * magnitude;
    if (width <= 2.4) return std::pow(width, -1.108) * 2.6382 * magnitude;
    const bool low = (m_WidthFactor == WIDTH_LOW);
    const double k = low ? 2.1618 : 2.3627;
    const double e = low ? -0.868 : -0.992;
    return std::pow(width, e) * k * magnitude;
}

std::vector<double> CLoadModel::GetDLAs(const std::shared_ptr<CBridgeSet>& pBridgeSet) const
{
    std::vector<double> dlas;
    if (!pBridgeSet) return dlas;
    const int n = pBridgeSet->GetBridgeCount();
    dlas.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
    {
        const std::shared_ptr<CBridge> pBridge = pBridgeSet->GetBridge(static_cast<unsigned>(i));
        switch (m_lmBridge)
        {
        case LM_NAASRA_DLA:
        case LM_NAASRA_PL_DLA: dlas.push_back(GetNAASRADLA(*pBridge)); break;
        case LM_ABDC_DLA:
        case LM_ABDC_PL_DLA: dlas.push_back(GetABDCDLA(*pBridge)); break;
        default: dlas.push_back(m_gDLA.value); break;
        }
    }
    return dlas;
}

// --- Status --------------------------------------------------------------------------

bool CLoadModel::LastStatus::Replace(int channel, const std::wstring& desc, const wchar_t* text)
{
    const std::size_t nText = std::wcslen(text);
    if (channel < 0 || channel >= STATUS_CHANNELS) channel = STATUS_GENERAL;
    std::lock_guard<std::mutex> lock(m_Mutex);
    std::wstring& line = m_Lines[static_cast<std::size_t>(channel)];
    const std::size_t n = desc.size();
    if (line.size() == n + 2 + nText && line.compare(0, n, desc) == 0 && line.compare(n, 2, L": ") == 0 &&
        line.compare(n + 2, nText, text) == 0)
        return false;
    line.assign(desc);
    line.append(L": ");
    line.append(text, nText);
    return true;
}

void CLoadModel::NotifyStatus(const wchar_t* text, int channel)
{
    if (!text) text = L"";
    if (!m_LastStatus.Replace(channel, m_Description.str(), text)) return; // same line as last time
    CString line = m_Description;
    line += L": ";
    line += text;
    qor::PostStatusLine(line);
}

// --- Archive -------------------------------------------------------------------------

template <class Archive>
void CLoadModel::serialize(Archive& ar, const unsigned int /*version*/)
{
    using boost::serialization::make_nvp;
    ar& make_nvp("CElement", boost::serialization::base_object<CElement>(*this));
    ar& make_nvp("m_Gamma", m_Gamma);
    ar& make_nvp("m_vUDL", m_vUDL);
    ar& make_nvp("m_vPL", m_vPL);
    ar& make_nvp("m_vPUDL", m_vPUDL);
    ar& make_nvp("m_gDLA", m_gDLA);
    ar& make_nvp("m_gLiveLoad", m_gLiveLoad);
    ar& make_nvp("m_gUnits", m_gUnits);
    ar& make_nvp("m_gArbitrary", m_gArbitrary);
    ar& make_nvp("m_WidthFactor", m_WidthFactor);
    ar& make_nvp("m_bBM", m_bBM);
    ar& make_nvp("m_bSF", m_bSF);
    ar& make_nvp("m_bUseMinL", m_bUseMinL);
    ar& make_nvp("m_bUseMaxL", m_bUseMaxL);
    ar& make_nvp("m_minL", m_minL);
    ar& make_nvp("m_maxL", m_maxL);
    ar& make_nvp("m_GammaPL", m_GammaPL);
    ar& make_nvp("m_GammaUDL", m_GammaUDL);
    ar& make_nvp("m_GammaPUDL", m_GammaPUDL);
    ar& make_nvp("m_bAdjustToBridge", m_bAdjustToBridge);
    ar& make_nvp("m_lmBridge", m_lmBridge);
    ar& make_nvp("m_bIsMoving", m_bIsMoving);
    ar& make_nvp("m_PointLoadStart", m_PointLoadStart);
    // Derived data, rebuilt after every pass.
    UpdateGamma();
    UpdateCounts();
    Update();
}

QOR_INSTANTIATE_SERIALIZE(Factor)
QOR_INSTANTIATE_SERIALIZE(CLoadModel::UniformLoad)
QOR_INSTANTIATE_SERIALIZE(CLoadModel::PointLoad)
QOR_INSTANTIATE_SERIALIZE(CLoadModel::PartialUDLoad)
QOR_INSTANTIATE_SERIALIZE(CLoadModel)
