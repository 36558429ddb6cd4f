// The standard load models, as the codes of practice give them.
// Loads in tonnes (A26, A36, NAASRA 1970, ABAG) or kilonewtons (the others); lengths in metres.
// Locations are along the vehicle, mostly front axle at 0.0 and the others behind it.

#include "engine/model/LMECatalogue.h"

namespace lmecat {
namespace {

// NAASRA 1976 / ABDC 1992 T44 truck: S between the second and third axle groups.
const std::vector<AxleDef> T44Axles = {
    {48.0, 0.0}, {96.0, -3.7}, {96.0, -4.9}, {96.0, -4.9, 0.0, 1}, {96.0, -6.1, 0.0, 1},
};

// Heavy load platform: two groups of eight axle lines 1.8 m apart, S between the groups.
std::vector<AxleDef> HLPAxles(double load, double width)
{
    std::vector<AxleDef> axles;
    for (int i = 0; i < 8; ++i) axles.push_back({load, -1.8 * i, width, 0});
    for (int i = 0; i < 8; ++i) axles.push_back({load, -12.6 - 1.8 * i, width, 1});
    return axles;
}

// M1600 / S1600: two triaxle pairs, S between the front and rear halves.
std::vector<AxleDef> SM1600Axles(double load)
{
    static const double front[] = {0.0, -1.25, -2.5, -7.5, -8.75, -10.0};
    static const double rear[] = {-10.0, -11.25, -12.5, -16.25, -17.5, -18.75};
    std::vector<AxleDef> axles;
    for (double x : front) axles.push_back({load, x, 0.0, 0});
    for (double x : rear) axles.push_back({load, x, 0.0, 1});
    return axles;
}

ModelDef HLP(int offset, double load, double width)
{
    return {.offset = offset, .name = L"HLP: S = %.3f", .axles = HLPAxles(load, width), .dla = FixedDLA(1.1)};
}

// NAASRA 1970 lane loads: one for moments, one for shear.
ModelDef LaneM(int offset, const wchar_t* name, double udl, double p)
{
    return {.offset = offset, .name = name, .axles = {{p, 0.0}}, .udls = {udl}, .dla = LaneRuleDLA(3), .sf = false};
}
ModelDef LaneV(int offset, const wchar_t* name, double udl, double p)
{
    return {.offset = offset, .name = name, .axles = {{p, 0.0}}, .udls = {udl}, .dla = LaneRuleDLA(3), .bm = false};
}

// NAASRA 1970 H and HS trucks (HS: a third axle S behind the second).
std::vector<AxleDef> HTruck(double front, double rear, bool semi)
{
    std::vector<AxleDef> axles = {{front, 0.0}, {rear, -4.25}};
    if (semi) axles.push_back({rear, -4.25, 0.0, 1});
    return axles;
}

// A36: UDL and the partial UDL that removes it ahead of the vehicle carry g.
ModelDef A36Model(int offset, const wchar_t* name, double g, std::vector<AxleDef> axles)
{
    return {.offset = offset,
            .name = name,
            .axles = std::move(axles),
            .udls = {1.49},
            .partials = {{-1.49, -9.145, 9.145}},
            .gammaDistributed = g,
            .dla = A36LoadDLA()};
}

} // namespace

// ---------------------------------------------------------------- A26 (tonnes)
const EntryDef A26_AA26 = {
    .name = L"A26-AA26",
    .editable = false,
    .models =
        {{.offset = 1, .name = L"AA26-vehicle", .axles = {{5.67, 3.658, 2.0}, {13.61, 0.0, 2.2}}, .dla = FixedDLA(1.3)},
         {.offset = 2, .name = L"AA26-UDL", .udls = {1.79}, .dla = FixedDLA(1.0)}},
};
const EntryDef A26_A26 = {
    .name = L"A26-A26",
    .editable = false,
    .models =
        {{.offset = 11, .name = L"A26-vehicle", .axles = {{5.08, 3.048, 2.0}, {10.16, 0.0, 2.2}}, .dla = FixedDLA(1.3)},
         {.offset = 12, .name = L"A26-UDL", .udls = {1.49}, .dla = FixedDLA(1.0)}},
};
const EntryDef A26_B26 = {
    .name = L"A26-B26",
    .editable = false,
    .models =
        {{.offset = 21, .name = L"B26-vehicle", .axles = {{3.4, 3.04, 2.0}, {6.8, 0.0, 2.2}}, .dla = FixedDLA(1.3)},
         {.offset = 22, .name = L"B26-UDL", .udls = {1.19}, .dla = FixedDLA(1.0)}},
};
const FamilyDef A26 = {CLMEFactory::FamilyA26, L"A26", true, false, {&A26_AA26, &A26_A26, &A26_B26}};

// ---------------------------------------------------------------- A36 (tonnes)
const EntryDef A36_AA36 = {
    .name = L"A36-AA36", .editable = false, .models = {A36Model(1, L"AA36", 1.2, {{5.67, -1.829}, {13.61, -5.487}})}};
const EntryDef A36_A36 = {
    .name = L"A36-A36", .editable = false, .models = {A36Model(11, L"A36", 1.0, {{5.67, -1.829}, {11.34, -5.487}})}};
const EntryDef A36_B36 = {
    .name = L"A36-B36", .editable = false, .models = {A36Model(21, L"B36", 0.8, {{3.4, -1.524}, {6.8, -4.572}})}};
const FamilyDef A36 = {CLMEFactory::FamilyA36, L"A36", true, false, {&A36_AA36, &A36_A36, &A36_B36}};

// ---------------------------------------------------------------- NAASRA 1970 (tonnes)
const EntryDef NAASRA1970_MS18 = {
    .name = L"NAASRA 1970-MS18",
    .models = {LaneM(1, L"MS18 Lane load - M", 0.96, 8.16), LaneV(2, L"MS18 Lane load - V", 0.96, 11.84)},
    .variable = ModelDef{.offset = 3,
                         .name = L"MS18 HS20 truck: S = %.3f",
                         .axles = HTruck(3.67, 14.69, true),
                         .dla = SpanRuleDLA(2)},
    .sFrom = 4.25,
    .sTo = 9.15,
};
const EntryDef NAASRA1970_MS13 = {
    .name = L"NAASRA 1970-MS13",
    .models = {LaneM(31, L"MS13.5 Lane load - M", 0.72, 6.12), LaneV(32, L"MS13.5 Lane load - V", 0.72, 8.88)},
    .variable = ModelDef{.offset = 33,
                         .name = L"MS13.5 HS15 truck: S = %.3f",
                         .axles = HTruck(2.76, 11.02, true),
                         .dla = SpanRuleDLA(2)},
    .sFrom = 4.25,
    .sTo = 9.15,
};
const EntryDef NAASRA1970_M18 = {
    .name = L"NAASRA 1970-M18",
    .models = {LaneM(71, L"M18 Lane load - M", 0.96, 8.16),
               LaneV(72, L"M18 Lane load - V", 0.96, 11.84),
               {.offset = 73, .name = L"M18 H20 truck", .axles = HTruck(3.67, 14.69, false), .dla = SpanRuleDLA(2)}},
};
const EntryDef NAASRA1970_M13 = {
    .name = L"NAASRA 1970-M13",
    .models = {LaneM(81, L"M13.5 Lane load - M", 0.72, 6.12),
               LaneV(82, L"M13.5 Lane load - V", 0.72, 8.88),
               {.offset = 83, .name = L"M13.5 H15 truck", .axles = HTruck(2.76, 11.02, false), .dla = SpanRuleDLA(2)}},
};
const EntryDef NAASRA1970_M9 = {
    .name = L"NAASRA 1970-M9",
    .models = {LaneM(91, L"M9 Lane load - M", 0.48, 4.08),
               LaneV(92, L"M9 Lane load - V", 0.48, 5.92),
               {.offset = 93, .name = L"M9 H10 truck", .axles = HTruck(1.84, 7.35, false), .dla = SpanRuleDLA(2)}},
};
const FamilyDef NAASRA1970 = {CLMEFactory::FamilyNAASRA1970,
                              L"NAASRA 1970",
                              true,
                              false,
                              {&NAASRA1970_MS18, &NAASRA1970_MS13, &NAASRA1970_M18, &NAASRA1970_M13, &NAASRA1970_M9}};

// ---------------------------------------------------------------- NAASRA 1976 (kN)
const EntryDef NAASRA1976_A14 = {
    .name = L"NAASRA 1976-A14",
    .models = {{.offset = 1, .name = L"A14", .axles = {{140.0, 0.0, 1.8}}, .dla = SpanRuleDLA(2), .maxL = 4.5}},
};
const EntryDef NAASRA1976_T44 = {
    .name = L"NAASRA 1976-T44",
    .variable =
        ModelDef{.offset = 11, .name = L"T44 truck: S = %.3f", .axles = T44Axles, .dla = SpanRuleDLA(2), .minL = 4.5},
    .sFrom = 3.0,
    .sTo = 8.0,
};
const EntryDef NAASRA1976_L44 = {
    .name = L"NAASRA 1976-L44",
    .models = {{.offset = 61,
                .name = L"T44 Lane load - M",
                .axles = {{106.0, 0.0}},
                .udls = {12.5},
                .dla = LaneRuleDLA(3),
                .sf = false,
                .minL = 10.0},
               {.offset = 62,
                .name = L"T44 Lane load - V",
                .axles = {{154.0, 0.0}},
                .udls = {12.5},
                .dla = LaneRuleDLA(3),
                .bm = false,
                .minL = 10.0}},
};
const EntryDef NAASRA1976_SAV = {
    .name = L"NAASRA 1976-SAV",
    .variable = ModelDef{.offset = 71,
                         .name = L"SAV truck: S = %.3f",
                         .axles = {{240.0, 0.0, 4.5},
                                   {240.0, -1.5, 4.5},
                                   {240.0, -3.0, 4.5},
                                   {240.0, -4.5, 4.5},
                                   {240.0, -4.5, 4.5, 1},
                                   {240.0, -6.0, 4.5, 1},
                                   {240.0, -7.5, 4.5, 1},
                                   {240.0, -9.0, 4.5, 1}},
                         .dla = FixedDLA(1.1)},
    .sFrom = 6.0,
    .sTo = 15.0,
};
const FamilyDef NAASRA1976 = {
    CLMEFactory::FamilyNAASRA1976, L"NAASRA 1976", false, false, {&NAASRA1976_A14, &NAASRA1976_T44, &NAASRA1976_L44}};

// ---------------------------------------------------------------- ABDC 1992 (kN)
const EntryDef ABDC1992_W7 = {
    .name = L"ABDC 1992-W7",
    .models = {{.offset = 1, .name = L"W7", .axles = {{70.0, 0.0}}, .dla = FixedDLA(1.25)}},
};
const EntryDef ABDC1992_T44 = {
    .name = L"ABDC 1992-T44",
    .variable =
        ModelDef{.offset = 11, .name = L"T44 truck: S = %.3f", .axles = T44Axles, .dla = SpanRuleDLA(4), .minL = 4.5},
    .sFrom = 3.0,
    .sTo = 8.0,
};
const EntryDef ABDC1992_L44 = {
    .name = L"ABDC 1992-L44",
    .models = {{.offset = 41,
                .name = L"L44 Lane load",
                .axles = {{150.0, 0.0}},
                .udls = {12.5},
                .dla = LaneRuleDLA(5),
                .minL = 10.0}},
};
const EntryDef ABDC1992_HLP320 = {
    .name = L"ABDC 1992-HLP320", .variable = HLP(51, 200.0, 3.6), .sFrom = 6.0, .sTo = 15.0, .leadS = 1.8};
const EntryDef ABDC1992_HLP400 = {
    .name = L"ABDC 1992-HLP400", .variable = HLP(81, 250.0, 4.5), .sFrom = 6.0, .sTo = 15.0, .leadS = 1.8};
const FamilyDef ABDC1992 = {
    CLMEFactory::FamilyABDC1992, L"ABDC 1992", false, false, {&ABDC1992_W7, &ABDC1992_T44, &ABDC1992_L44}};

// ---------------------------------------------------------------- ABAG (tonnes)
namespace {
const std::vector<double> BDoubleLoads = {6.0, 8.5, 8.5, 7.5, 7.5, 7.5, 7.5, 7.5, 7.5};
const std::vector<double> SemiLoads = {6.0, 8.5, 8.5, 7.5, 7.5, 7.5};
} // namespace

const std::vector<AxleListDef> ABAGVehicles = {
    {L"ABAG - B-double 1", L"B-double AS1", BDoubleLoads, {3.0, 1.2, 5.5, 1.2, 1.2, 6.5, 1.2, 1.2}},
    {L"ABAG - B-double 2", L"B-double AS2", BDoubleLoads, {3.0, 1.2, 6.0, 1.2, 1.2, 6.0, 1.2, 1.2}},
    {L"ABAG - B-double 3", L"B-double AS3", BDoubleLoads, {3.0, 1.2, 6.5, 1.2, 1.2, 5.5, 1.2, 1.2}},
    {L"ABAG - Semi 1", L"Semi-trailer AS1", SemiLoads, {3.0, 1.2, 4.4, 1.2, 1.2}},
    {L"ABAG - Semi 2", L"Semi-trailer AS2", SemiLoads, {3.0, 1.2, 6.4, 1.2, 1.2}},
    {L"ABAG - Semi 3", L"Semi-trailer AS3", SemiLoads, {3.0, 1.2, 8.4, 1.2, 1.2}},
    {L"ABAG - Semi 4", L"Semi-trailer AS4", SemiLoads, {3.0, 1.2, 10.4, 1.2, 1.2}},
};
// The ABAG family builds its vehicles itself (no entries); its ensemble stays editable.
const FamilyDef ABAG = {CLMEFactory::FamilyABAG, L"ABAG", true, true, {}};

// ---------------------------------------------------------------- AS5100 (kN)
const EntryDef AS5100_W80 = {.name = L"AS5100-W80",
                             .models = {{.offset = 1, .name = L"W80", .axles = {{80.0, 0.0}}, .dla = FixedDLA(1.4)}}};
const EntryDef AS5100_A160 = {
    .name = L"AS5100-A160", .models = {{.offset = 11, .name = L"A160", .axles = {{160.0, 0.0}}, .dla = FixedDLA(1.4)}}};
const EntryDef AS5100_M1600 = {
    .name = L"AS5100-M1600",
    .variable =
        ModelDef{
            .offset = 21, .name = L"M1600: S = %.3f", .axles = SM1600Axles(120.0), .udls = {6.0}, .dla = FixedDLA(1.3)},
    .sFrom = 6.25,
    .sTo = 25.0,
};
const EntryDef AS5100_S1600 = {
    .name = L"AS5100-S1600",
    .variable =
        ModelDef{
            .offset = 41, .name = L"S1600: S = %.3f", .axles = SM1600Axles(80.0), .udls = {24.0}, .dla = FixedDLA(1.0)},
    .sFrom = 6.25,
    .sTo = 25.0,
};
const EntryDef AS5100_HLP320 = {
    .name = L"AS5100-HLP320", .variable = HLP(61, 200.0, 3.6), .sFrom = 6.0, .sTo = 15.0, .leadS = 1.8};
const EntryDef AS5100_HLP400 = {
    .name = L"AS5100-HLP400", .variable = HLP(81, 250.0, 4.5), .sFrom = 6.0, .sTo = 15.0, .leadS = 1.8};
const FamilyDef AS5100 = {
    CLMEFactory::FamilyAS5100, L"AS5100", false, false, {&AS5100_W80, &AS5100_A160, &AS5100_M1600, &AS5100_S1600}};

// ---------------------------------------------------------------- Eurocode (kN)
const EntryDef Eurocode_LM1 = {
    .name = L"Eurocode",
    .editable = false,
    .models =
        {{.offset = 1, .name = L"LM1", .axles = {{300.0, 0.0}, {300.0, -2.0}}, .udls = {27.0}, .dla = FixedDLA(1.0)}},
};
const FamilyDef Eurocode = {CLMEFactory::FamilyEurocode, L"Eurocode", false, false, {&Eurocode_LM1}};

// ---------------------------------------------------------------- BS5400 (kN)
const EntryDef BS5400_HA = {
    .name = L"BS5400 HA",
    .editable = false,
    .models = {{.offset = 1, .name = L"HA", .axles = {{120.0, 0.0}}, .udls = {30.0}, .dla = BS5400LoadDLA()}},
};
// HB: axle loads are per HB unit; the HA UDL is taken away from 25 m behind the last axle up to 0.0.
const HBDef BS5400_HB = {
    .entryName = L"BS5400 HAHB",
    .namePattern = L"HAHB - %.1f",
    .firstOffset = 1,
    .model = {.axles = {{10.0, -25.0, 3.5, 0}, {10.0, -26.8, 3.5, 0}, {10.0, -26.8, 3.5, 1}, {10.0, -28.6, 3.5, 1}},
              .udls = {30.0},
              .dla = BS5400LoadDLA()},
    .spacings = {6.0, 11.0, 16.0, 21.0, 26.0},
    .relievedUDL = 30.0,
    .relievedLength = 25.0,
};
// GetBS5400 composes HA and HAHB itself (HAHB takes the number of HB units).
const FamilyDef BS5400 = {CLMEFactory::FamilyBS5400, L"BS5400", false, false, {&BS5400_HA}};

// ---------------------------------------------------------------- AASHTO (kN)
const EntryDef AASHTO_HL93 = {
    .name = L"AASHTO",
    .editable = false,
    .models = {{.offset = 1,
                .name = L"HL93",
                .axles = {{35.0, 0.0}, {145.0, -4.3}, {145.0, -8.6}},
                .udls = {9.3},
                .dla = PointLoadFactorDLA(1.33)}},
};
const FamilyDef AASHTO = {CLMEFactory::FamilyAASHTO, L"AASHTO", false, false, {&AASHTO_HL93}};

} // namespace lmecat
