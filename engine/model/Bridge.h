// A continuous-beam bridge: a span configuration and a governing span length,
// from which its beam (CBeam) is built.
#pragma once

#include "engine/model/Element.h"

#include <boost/serialization/export.hpp>

#include <cstddef>
#include <memory>
#include <vector>

class CBeam;

// No real bridge has more spans; a beam of more is refused (kTooManySpansError), so that a
// damaged file cannot ask for a solve that takes minutes and gigabytes.
inline constexpr std::size_t kMaxSpansPerBridge = 100;

class CBridge : public CElement
{
public:
    // Span configurations (m_Config).
    enum : int
    {
        CONFIG_ONESPAN = 1,   // {1.0} x L
        CONFIG_TWOSPAN = 2,   // {1.0, 1.0} x L
        CONFIG_THREESPAN = 3, // {0.75, 1.0, 0.75} x L
        CONFIG_EXPLICIT = 4,  // m_vSpans as given
    };

    // Name "Bridge", id 0, configuration 1, span 0.0, no spans and no beam.
    CBridge();
    // Sets the fields and builds the beam (throws "Error in bridge config" for a
    // configuration outside 1 to 4).
    CBridge(int ID, const CString& name, int config, double spanLength);
    // Copies every field; the copy shares the source's beam.
    CBridge(const CBridge& other);
    CBridge& operator=(const CBridge& other);
    ~CBridge() override;

    // A copy with a beam of its own, for a worker thread.
    std::shared_ptr<CBridge> Clone() const;

    std::shared_ptr<CBeam> GetBeam() const;

    // Rebuilds m_vSpans (configurations 1 to 3) and a new beam from the fields. Throws
    // kBridgeConfigError for a configuration outside 1 to 4 and kTooManySpansError for more
    // than kMaxSpansPerBridge spans.
    void BuildBeam();

    // Whether m_vSpans and the beam are what BuildBeam makes of the fields now (throws as it does).
    bool IsBuilt() const;

    // "1-span", "2-span", "3-span", else "X-span".
    static CString GetConfigName(int config);

    int m_Config = CONFIG_ONESPAN;
    double m_SpanLength = 0.0;
    std::vector<double> m_vSpans;

private:
    // The spans the fields give (configurations 1 to 3), or m_vSpans (4); throws as BuildBeam does.
    std::vector<double> SpansOfFields() const;

    std::shared_ptr<CBeam> m_pBeam;

    friend class boost::serialization::access;
    // Archive items: "CElement", m_Config, m_SpanLength, m_vSpans; then the beam is
    // built again (loading; saving when it is not what the fields give).
    template <class Archive>
    void serialize(Archive& ar, const unsigned int version);
};

BOOST_CLASS_EXPORT_KEY(CBridge)
