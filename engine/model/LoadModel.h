// A load model: one vehicle or lane loading (point loads, uniform loads and partial
// uniform loads) with its factors and optional span rules.
#pragma once

#include "engine/model/Element.h"

#include <boost/serialization/access.hpp>

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CBridge;
class CBridgeSet;

// A named factor of a load model; the overall factor is the product of the values.
struct Factor
{
    // Factor types (type).
    enum : int
    {
        TYPE_DLA = 0,
        TYPE_LIVELOAD = 1,
        TYPE_UNITS = 2,
        TYPE_ARBITRARY = 3,
    };

    Factor() = default;
    Factor(const CString& d, double v, int t) : desc(d), value(v), type(t) {}

    CString desc;
    double value = 1.0;
    int type = 0;

    // Archive items: "desc", "value", "type".
    template <class Archive>
    void serialize(Archive& ar, const unsigned int version);
};

// Removes every load whose magnitude lies strictly between -1e-6 and 1e-6.
template <class Load>
void RemoveZeroLoads(std::vector<Load>& loads)
{
    std::erase_if(loads, [](const Load& l) { return l.magnitude > -1e-6 && l.magnitude < 1e-6; });
}

class CLoadModel : public CElement
{
public:
    // A uniformly distributed load over the whole bridge (force per metre).
    struct UniformLoad
    {
        double gamma = 1.0;
        double magnitude = 0.0;
        // Archive items: "magnitude", "gamma".
        template <class Archive>
        void serialize(Archive& ar, const unsigned int version);
    };
    // An axle (force) at a location along the vehicle, with its width.
    struct PointLoad
    {
        double gamma = 1.0;
        double magnitude = 0.0;
        double location = 0.0;
        double width = 0.0;
        // Archive items: "magnitude", "location", "gamma", "width".
        template <class Archive>
        void serialize(Archive& ar, const unsigned int version);
    };
    // A uniform load (force per metre) from location over cover metres, travelling
    // with the vehicle.
    struct PartialUDLoad
    {
        double gamma = 1.0;
        double magnitude = 0.0;
        double location = 0.0;
        double cover = 0.0;
        // Archive items: "magnitude", "location", "cover", "gamma".
        template <class Archive>
        void serialize(Archive& ar, const unsigned int version);
    };

    // Width factors (m_WidthFactor).
    enum : int
    {
        WIDTH_NONE = 0,
        WIDTH_LOW = 1,  // "Low distribution"
        WIDTH_HIGH = 2, // "High distribution"
    };

    // Span rules (m_lmBridge).
    enum : int
    {
        LM_A36_UDL = 0,       // "A36 UDL variation"
        LM_NAASRA_PL = 1,     // "NAASRA/ABDC Point Loads"
        LM_NAASRA_DLA = 2,    // "NAASRA DLA"
        LM_NAASRA_PL_DLA = 3, // "NAASRA Point Loads + DLA"
        LM_ABDC_DLA = 4,      // "ABDC DLA"
        LM_ABDC_PL_DLA = 5,   // "ABDC Points Loads + DLA"
        LM_BS5400_UDL = 6,    // "BS5400 UDL"
        LM_NONE = 7,          // "None"
    };

    // Name "Loadmodel", id 0.
    CLoadModel();
    CLoadModel(int ID, const CString& name);
    // Copy every field, derived ones, lists and factors included.
    CLoadModel(const CLoadModel& other) = default;
    CLoadModel& operator=(const CLoadModel& other) = default;
    ~CLoadModel() override;

    // A copy of its own for one analysis or one worker thread: a run changes only its copy
    // (span rules, Update), never the model it was given.
    std::shared_ptr<CLoadModel> Clone() const;

    // Loads. Every Add sets the new item's gamma to 1.0, counts it and marks the model
    // as not up to date.
    void AddUDL(double magnitude);
    void AddPointLoad(double magnitude, double location, double width);
    void AddPartialUDL(double magnitude, double location, double cover);
    // Indexed access: std::out_of_range "invalid vector<T> subscript" for a bad index
    // (negative included). SetUDL resets the item's gamma to 1.0.
    void SetUDL(int i, double magnitude);
    void SetPointLoad(int i, double gamma, double magnitude, double location, double width);
    void SetPartialUDL(int i, double gamma, double magnitude, double location, double cover);
    void GetUDL(int i, double& gamma, double& magnitude) const;
    void GetPointLoad(int i, double& gamma, double& magnitude, double& location, double& width) const;
    void GetPartialUDL(int i, double& gamma, double& magnitude, double& location, double& cover) const;
    // False (and nothing changed) for an index outside the list; else erase, recount.
    bool RemoveUDL(int i);
    bool RemovePointLoad(int i);
    bool RemovePartialUDL(int i);
    // Drops near-zero loads from all three lists and recounts.
    void RemoveZeroLoads();
    // Sets the four counts from the list sizes.
    void UpdateCounts();

    void SetGammaUDL(double g);
    void SetGammaPUDL(double g);

    // The four factors at their defaults ("Dynamic Load Allowance", "Live load factor",
    // "Unit conversion", "Arbitrary", each 1.0).
    void SetDefaultFactors();
    // 0 m_gDLA, 1 m_gLiveLoad, 2 m_gUnits, any other m_gArbitrary.
    Factor GetFactor(int i) const;
    // Product of the four factor values (live load x DLA x units x arbitrary).
    double GetOverallFactor() const;
    // m_Gamma = GetOverallFactor().
    void UpdateGamma();

    // Settles the model: a model of UDLs only stops moving; a moving model's point and
    // partial loads are shifted so that the foremost sits at 0; marks it up to date.
    void Update();

    // Applies the span rule m_lmBridge for the bridge.
    void AdjustToBridge(const std::shared_ptr<CBridge>& pBridge);
    void AdjustToBridge(const CBridge& bridge);
    // The span rules (each posts its status line through NotifyStatus).
    void ApplyA36UDL(const CBridge& bridge);
    void AddNAASRAPointLoad(const CBridge& bridge);
    void ApplyNAASRADLA(const CBridge& bridge);
    void ApplyABDCDLA(const CBridge& bridge);
    void ApplyBS5400UDL(const CBridge& bridge);
    // The span-dependent dynamic load allowances (1 + allowance).
    static double GetNAASRADLA(const CBridge& bridge);
    static double GetABDCDLA(const CBridge& bridge);
    static double GetNAASRADLA(double spanLength);
    static double GetABDCDLA(double spanLength);

    // The axle magnitude adjusted by m_WidthFactor for the axle's width.
    double GetWidthAdjustedLoad(double magnitude, double width) const;

    // One dynamic load allowance per generated bridge of the set.
    std::vector<double> GetDLAs(const std::shared_ptr<CBridgeSet>& pBridgeSet) const;

    // Status channels: each span rule keeps its own last line, so that the combined
    // rules (point loads + DLA) do not defeat the repeat check.
    enum StatusChannel : int
    {
        STATUS_GENERAL = 0,
        STATUS_A36_UDL,
        STATUS_NAASRA_PL,
        STATUS_NAASRA_DLA,
        STATUS_ABDC_DLA,
        STATUS_BS5400_UDL,
        STATUS_CHANNELS
    };

    // Posts "<description>: <text>" to the main window's output pane, unless it is the
    // same line this model last posted on that channel (span rules run at every load
    // position; the output pane gets one line per change).
    void NotifyStatus(const wchar_t* text, int channel = STATUS_GENERAL);

    // False when the length limits in use exclude a bridge of this (beam) length: the model then
    // puts no load on it.
    bool AppliesToLength(double bridgeLength) const
    {
        return !((m_bUseMaxL && bridgeLength > m_maxL) || (m_bUseMinL && m_minL > bridgeLength));
    }

    bool IsUpToDate() const { return m_bIsUpToDate; }
    double GetLength() const { return m_Length; }

    int m_WidthFactor = WIDTH_NONE;
    double m_Gamma = 1.0;
    double m_GammaPL = 1.0;
    double m_GammaUDL = 1.0;
    double m_GammaPUDL = 1.0;
    bool m_bIsUpToDate = false; // derived
    double m_Length = 0.0;      // front extent minus rear extent (derived)
    double m_FrontExtent = 0.0; // largest location before the shift (derived)
    double m_RearExtent = 0.0;  // smallest location before the shift (derived)
    int m_nLoads = 0;           // m_nPL + m_nUDL + m_nPUDL (derived)
    int m_nUDL = 0;             // derived
    int m_nPL = 0;              // derived
    int m_nPUDL = 0;            // derived
    bool m_bAdjustToBridge = false;
    int m_lmBridge = LM_NONE;
    bool m_bBM = true;
    bool m_bSF = true;
    bool m_bUseMinL = false;
    bool m_bUseMaxL = false;
    double m_minL = 0.0;
    double m_maxL = 10000.0;
    bool m_bIsMoving = true;
    double m_PointLoadStart = 0.0;
    std::vector<UniformLoad> m_vUDL;
    std::vector<PointLoad> m_vPL; // in axle order
    std::vector<PartialUDLoad> m_vPUDL;
    Factor m_gDLA;
    Factor m_gLiveLoad;
    Factor m_gUnits;
    Factor m_gArbitrary;

private:
    // The last status line posted by this model. A copy starts afresh; an assignment
    // keeps the target's own record.
    class LastStatus
    {
    public:
        LastStatus() = default;
        LastStatus(const LastStatus&) {}
        LastStatus& operator=(const LastStatus&) { return *this; }
        // True (and the line recorded) when "<desc>: <text>" differs from the last one
        // of the channel.
        bool Replace(int channel, const std::wstring& desc, const wchar_t* text);

    private:
        std::mutex m_Mutex;
        std::array<std::wstring, STATUS_CHANNELS> m_Lines;
    };
    LastStatus m_LastStatus;

    friend class boost::serialization::access;
    // Archive items: "CElement", m_Gamma, m_vUDL, m_vPL, m_vPUDL, m_gDLA, m_gLiveLoad,
    // m_gUnits, m_gArbitrary, m_WidthFactor, m_bBM, m_bSF, m_bUseMinL, m_bUseMaxL,
    // m_minL, m_maxL, m_GammaPL, m_GammaUDL, m_GammaPUDL, m_bAdjustToBridge,
    // m_lmBridge, m_bIsMoving, m_PointLoadStart; then (saving and loading alike) the
    // overall factor, the counts and Update.
    template <class Archive>
    void serialize(Archive& ar, const unsigned int version);
};
