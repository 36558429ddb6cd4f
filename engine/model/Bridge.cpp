// A continuous-beam bridge: a span configuration and a governing span length, from which its beam (CBeam) is
// built.
#include "engine/model/Bridge.h"

#include "engine/EngineErrors.h"
#include "engine/model/Beam.h"
#include "platform/core/StringSerialization.h"

#include "engine/ArchiveInstantiation.h"

#include <boost/serialization/base_object.hpp>
#include <boost/serialization/export.hpp>
#include <boost/serialization/nvp.hpp>
#include <boost/serialization/vector.hpp>

BOOST_CLASS_EXPORT_IMPLEMENT(CBridge)

CBridge::CBridge() : CElement(0, L"Bridge", ELEMENT_BRIDGE) {}

CBridge::CBridge(int ID, const CString& name, int config, double spanLength)
    : CElement(ID, name, ELEMENT_BRIDGE), m_Config(config), m_SpanLength(spanLength)
{
    BuildBeam();
}

CBridge::CBridge(const CBridge& other) = default;
CBridge& CBridge::operator=(const CBridge& other) = default;
CBridge::~CBridge() = default;

std::shared_ptr<CBeam> CBridge::GetBeam() const { return m_pBeam; }

std::shared_ptr<CBridge> CBridge::Clone() const
{
    auto copy = std::make_shared<CBridge>(*this);
    if (m_pBeam) copy->m_pBeam = std::make_shared<CBeam>(*m_pBeam);
    return copy;
}

CString CBridge::GetConfigName(int config)
{
    switch (config)
    {
    case CONFIG_ONESPAN: return L"1-span";
    case CONFIG_TWOSPAN: return L"2-span";
    case CONFIG_THREESPAN: return L"3-span";
    default: return L"X-span";
    }
}

void CBridge::BuildBeam()
{
    const double L = m_SpanLength;
    switch (m_Config)
    {
    case CONFIG_ONESPAN: m_vSpans = {L}; break;
    case CONFIG_TWOSPAN: m_vSpans = {L, L}; break;
    case CONFIG_THREESPAN: m_vSpans = {0.75 * L, L, 0.75 * L}; break;
    case CONFIG_EXPLICIT: break; // the user's own spans
    default: throw kBridgeConfigError;
    }
    if (m_vSpans.size() > kMaxSpansPerBridge) throw kTooManySpansError;

    auto pBeam = std::make_shared<CBeam>();
    pBeam->SetSpans(m_vSpans);
    pBeam->m_vEI.assign(m_vSpans.size(), 1e11);
    // A pin at every node: vertical held, rotation free.
    std::vector<double> R;
    R.reserve(2 * (m_vSpans.size() + 1));
    for (std::size_t node = 0; node <= m_vSpans.size(); ++node)
    {
        R.push_back(-1.0);
        R.push_back(0.0);
    }
    pBeam->m_vR = std::move(R);
    pBeam->m_nRestraints = CBeam::CountRigidRestraints(pBeam->m_vR);
    m_pBeam = std::move(pBeam);
}

template <class Archive>
void CBridge::serialize(Archive& ar, const unsigned int /*version*/)
{
    using boost::serialization::make_nvp;
    ar& make_nvp("CElement", boost::serialization::base_object<CElement>(*this));
    ar& make_nvp("m_Config", m_Config);
    ar& make_nvp("m_SpanLength", m_SpanLength);
    ar& make_nvp("m_vSpans", m_vSpans);
    BuildBeam();
}

QOR_INSTANTIATE_SERIALIZE(CBridge)
