// A range of bridges of one configuration whose governing span runs evenly from a start length to an end
// length.
#include "engine/model/BridgeSet.h"

#include "engine/model/Beam.h"
#include "engine/model/Ranges.h"
#include "platform/core/Errors.h"
#include "platform/core/StringSerialization.h"

#include "engine/ArchiveInstantiation.h"

#include <boost/serialization/base_object.hpp>
#include <boost/serialization/export.hpp>
#include <boost/serialization/nvp.hpp>

#include <cmath>

BOOST_CLASS_EXPORT_IMPLEMENT(CBridgeSet)

CBridgeSet::CBridgeSet() : CElement(0, L"Bridge Set", ELEMENT_BRIDGESET) {}

CBridgeSet::CBridgeSet(int ID, const CString& name, int nBridge, int config, double startL, double endL)
    : CElement(ID, name, ELEMENT_BRIDGESET), m_Config(config), m_bByStep(0), m_nBridge(nBridge), m_StartL(startL),
      m_EndL(endL)
{
    Generate();
}

CBridgeSet::CBridgeSet(int ID, const CString& name, int config, double startL, double endL, double step)
    : CElement(ID, name, ELEMENT_BRIDGESET), m_Config(config), m_bByStep(1), m_StartL(startL)
{
    if (!(step > 0.0) || !std::isfinite(step)) throw kBridgeSetStepError;
    // Count the steps from startL towards endL; the tolerance keeps an end that lies
    // on the grid from being lost to rounding.
    const double n = std::floor(std::fabs(endL - startL) / step + 1e-9);
    if (!(n + 1.0 <= kMaxRangeValues)) throw kRangeTooLargeError;
    m_nBridge = static_cast<int>(n) + 1;
    const double dir = (endL >= startL) ? 1.0 : -1.0;
    m_EndL = startL + dir * (m_nBridge - 1) * step; // pulled back onto the grid
    m_Step = step;
    Generate();
}

CBridgeSet::CBridgeSet(const CBridgeSet& other) = default;
CBridgeSet& CBridgeSet::operator=(const CBridgeSet& other) = default;
CBridgeSet::~CBridgeSet() = default;

std::shared_ptr<CBridgeSet> CBridgeSet::Clone() const
{
    auto copy = std::make_shared<CBridgeSet>(*this);
    for (auto& bridge : copy->m_vBridges)
        if (bridge) bridge = bridge->Clone();
    return copy;
}

std::shared_ptr<CBridge> CBridgeSet::GetBridge(unsigned i) const { return qor::At(m_vBridges, std::size_t{i}); }

std::shared_ptr<CBeam> CBridgeSet::GetBeam() const { return qor::At(m_vBridges, std::size_t{0})->GetBeam(); }

std::vector<double> CBridgeSet::GetSpanLengths() const { return m_vSpanLengths; }

std::vector<double> CBridgeSet::GetBridgeLengths() const { return m_vBridgeLengths; }

void CBridgeSet::Generate()
{
    m_vBridges.clear();
    m_vBridgeLengths.clear();
    std::vector<double> spans = LinSpace(m_nBridge, m_StartL, m_EndL);
    if (m_nBridge > kMaxBridgesPerSet) throw kTooManyBridgesError;
    m_vSpanLengths = std::move(spans);
    // The distance between successive governing spans; a set of fewer than two
    // bridges keeps the step it was given.
    if (m_nBridge >= 2) m_Step = std::fabs((m_EndL - m_StartL) / (m_nBridge - 1));

    const CString word = CBridge::GetConfigName(m_Config);
    m_vBridges.reserve(m_vSpanLengths.size());
    m_vBridgeLengths.reserve(m_vSpanLengths.size());
    for (std::size_t i = 0; i < m_vSpanLengths.size(); ++i)
    {
        const double s = m_vSpanLengths[i];
        CString name;
        name.Format(L"%s - %.3f m span", word.GetString(), s);
        auto pBridge = std::make_shared<CBridge>(static_cast<int>(i), name, m_Config, s);
        m_vBridgeLengths.push_back(pBridge->GetBeam()->m_Length);
        m_vBridges.push_back(std::move(pBridge));
    }
}

template <class Archive>
void CBridgeSet::serialize(Archive& ar, const unsigned int /*version*/)
{
    using boost::serialization::make_nvp;
    ar& make_nvp("CElement", boost::serialization::base_object<CElement>(*this));
    ar& make_nvp("m_StartL", m_StartL);
    ar& make_nvp("m_EndL", m_EndL);
    ar& make_nvp("m_nBridge", m_nBridge);
    ar& make_nvp("m_Config", m_Config);
    // How the set was defined is not stored: a loaded set reads as defined by count.
    if constexpr (Archive::is_loading::value) m_bByStep = 0;
    Generate();
}

QOR_INSTANTIATE_SERIALIZE(CBridgeSet)
