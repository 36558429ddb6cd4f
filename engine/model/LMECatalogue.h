// Catalogue of the standard load models: the numbers of each code of practice as tables,
// read by CLMEFactory's builders. Internal to the library (engine/model).
#pragma once

#include <optional>
#include <vector>

#include "engine/model/LMEFactory.h"

namespace lmecat {

// How a model receives its dynamic load allowance.
enum class DLAMode
{
    Fixed,          // the code's value, or the user's
    SpanRule,       // DLA span rule (2 NAASRA, 4 ABDC) with the standard DLA, else the user's value
    LaneRule,       // lane rule 3 or 5 with the standard DLA, else rule 1 and the user's value
    A36Load,        // A36 UDL rule always; the user's value when chosen
    BS5400Load,     // BS5400 UDL rule always, together with Fixed 1.0
    PointLoadFactor // HL93: the allowance goes on the axles' gamma, not on the DLA factor
};

struct DLADef
{
    DLAMode mode = DLAMode::Fixed;
    double value = 1.0; // Fixed, PointLoadFactor
    int rule = 7;       // SpanRule, LaneRule
};

constexpr DLADef FixedDLA(double v) { return {DLAMode::Fixed, v, 7}; }
constexpr DLADef SpanRuleDLA(int rule) { return {DLAMode::SpanRule, 1.0, rule}; }
constexpr DLADef LaneRuleDLA(int rule) { return {DLAMode::LaneRule, 1.0, rule}; }
constexpr DLADef A36LoadDLA() { return {DLAMode::A36Load, 1.0, 0}; }
constexpr DLADef BS5400LoadDLA() { return {DLAMode::BS5400Load, 1.0, 6}; }
constexpr DLADef PointLoadFactorDLA(double g) { return {DLAMode::PointLoadFactor, g, 7}; }

// One axle: magnitude, location x - nS * S (S the model's variable spacing), width.
struct AxleDef
{
    double load = 0.0;
    double x = 0.0;
    double width = 0.0;
    int nS = 0;
};

struct PartialDef
{
    double magnitude = 0.0;
    double location = 0.0;
    double cover = 0.0;
};

// One load model. For a variable-spacing model, name is a printf pattern taking S.
struct ModelDef
{
    int offset = 0; // m_ID = family base id + offset
    const wchar_t* name = L"";
    std::vector<AxleDef> axles{};
    std::vector<double> udls{};
    std::vector<PartialDef> partials{};
    double gammaDistributed = 1.0; // SetGammaUDL / SetGammaPUDL when not 1.0 (A36)
    DLADef dla{};
    bool bm = true;
    bool sf = true;
    std::optional<double> minL{};
    std::optional<double> maxL{};
};

// One entry of a family (one Insert command of a single item).
struct EntryDef
{
    const wchar_t* name = L"";
    bool editable = true;
    std::vector<ModelDef> models{};     // fixed models, built first
    std::optional<ModelDef> variable{}; // variable-spacing model; its offset is that of its first model
    double sFrom = 0.0;
    double sTo = 0.0;
    std::optional<double> leadS{}; // one model with this S ahead of the list (HLP platforms)
};

struct FamilyDef
{
    CLMEFactory::Family index;
    const wchar_t* name;
    bool tonnes;                          // loads in tonnes: m_gUnits 9.81
    bool editable;                        // the family ensemble stays editable
    std::vector<const EntryDef*> entries; // entry operations of the family operation, in order
};

// An ABAG vehicle: built by CLMEFactory::AddAxles.
struct AxleListDef
{
    const wchar_t* entryName;
    const wchar_t* name;
    std::vector<double> loads;
    std::vector<double> spacings;
};

// HB vehicle of BS5400: axles per HB unit, their spacings S, and the UDL taken away behind it.
struct HBDef
{
    const wchar_t* entryName;
    const wchar_t* namePattern; // takes S ("%.1f")
    int firstOffset;
    ModelDef model; // axle loads per HB unit, UDL, rule
    std::vector<double> spacings;
    double relievedUDL; // partial UDL -relievedUDL from this far behind the last axle to 0.0
    double relievedLength;
};

// Families
extern const FamilyDef A26, A36, NAASRA1970, NAASRA1976, ABDC1992, AS5100, Eurocode, BS5400, AASHTO;
extern const FamilyDef ABAG;

// Entries
extern const EntryDef A26_AA26, A26_A26, A26_B26;
extern const EntryDef A36_AA36, A36_A36, A36_B36;
extern const EntryDef NAASRA1970_MS18, NAASRA1970_MS13, NAASRA1970_M18, NAASRA1970_M13, NAASRA1970_M9;
extern const EntryDef NAASRA1976_A14, NAASRA1976_T44, NAASRA1976_L44, NAASRA1976_SAV;
extern const EntryDef ABDC1992_W7, ABDC1992_T44, ABDC1992_L44, ABDC1992_HLP320, ABDC1992_HLP400;
extern const EntryDef AS5100_W80, AS5100_A160, AS5100_M1600, AS5100_S1600, AS5100_HLP320, AS5100_HLP400;
extern const EntryDef Eurocode_LM1;
extern const EntryDef BS5400_HA;
extern const EntryDef AASHTO_HL93;

// ABAG vehicles in catalogue order (B-double 1 to 3, Semi 1 to 4).
extern const std::vector<AxleListDef> ABAGVehicles;

extern const HBDef BS5400_HB;

} // namespace lmecat
