// A range of bridges of one configuration whose governing span runs evenly from a
// start length to an end length.
#pragma once

#include "engine/EngineErrors.h"
#include "engine/model/Bridge.h"

#include <boost/serialization/export.hpp>

#include <memory>
#include <vector>

class CBeam;

// No family of real bridges needs more; a larger set is refused (kTooManyBridgesError).
inline constexpr int kMaxBridgesPerSet = 1000;

class CBridgeSet : public CElement
{
public:
    // Name "Bridge Set", id 0, no bridges, every number zero, defined by count.
    CBridgeSet();
    // By count: nBridge bridges with governing spans from startL to endL.
    CBridgeSet(int ID, const CString& name, int nBridge, int config, double startL, double endL);
    // By step: m_nBridge = floor(|endL - startL| / step) + 1 and m_EndL pulled back onto
    // the step grid from startL (towards endL). Throws kBridgeSetStepError for step <= 0.
    CBridgeSet(int ID, const CString& name, int config, double startL, double endL, double step);
    // Copy every field; the copy shares the source's bridges.
    CBridgeSet(const CBridgeSet& other);
    CBridgeSet& operator=(const CBridgeSet& other);
    ~CBridgeSet() override;

    // A copy whose bridges are copies too (each with a beam of its own), for a worker thread.
    std::shared_ptr<CBridgeSet> Clone() const;

    // Bridge i (0-based); std::out_of_range "invalid vector<T> subscript" when i is not
    // below the number of generated bridges.
    std::shared_ptr<CBridge> GetBridge(unsigned i) const;
    // The beam of the first bridge (the set's representative beam); throws
    // "invalid vector<T> subscript" for a set without bridges.
    std::shared_ptr<CBeam> GetBeam() const;
    // Governing span of each generated bridge, in set order.
    std::vector<double> GetSpanLengths() const;
    // Total (beam) length of each generated bridge, in set order.
    std::vector<double> GetBridgeLengths() const;
    // Number of bridges actually generated (a set of 0 or 1 generates none).
    int GetBridgeCount() const { return static_cast<int>(m_vBridges.size()); }
    bool IsByStep() const { return m_bByStep != 0; }
    double GetStep() const { return m_Step; }

    // Regenerates the bridges, their lengths and spans, and the step from
    // m_nBridge, m_Config, m_StartL and m_EndL. More than kMaxBridgesPerSet bridges throw
    // kTooManyBridgesError (more than kMaxRangeValues kRangeTooLargeError).
    void Generate();

    std::vector<std::shared_ptr<CBridge>> m_vBridges; // generated, never archived
    int m_Config = CBridge::CONFIG_ONESPAN;
    int m_bByStep = 0; // 0 defined by count, 1 by step; not archived
    int m_nBridge = 0;
    double m_StartL = 0.0;
    double m_EndL = 0.0;
    double m_Step = 0.0;                  // (m_EndL - m_StartL) / (m_nBridge - 1), set by Generate
    std::vector<double> m_vBridgeLengths; // beam length of each bridge
    std::vector<double> m_vSpanLengths;   // governing span of each bridge

private:
    friend class boost::serialization::access;
    // Archive items: "CElement", m_StartL, m_EndL, m_nBridge, m_Config; then the
    // bridges are generated again (saving and loading alike).
    template <class Archive>
    void serialize(Archive& ar, const unsigned int version);
};

BOOST_CLASS_EXPORT_KEY(CBridgeSet)
