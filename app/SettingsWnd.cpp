// The settings pane: the property grid built from one table of the settings (group, label,
// editor, the setting itself, the rule a new value must meet, the description), and the
// write-back of the values the user changes.
#include "app/SettingsWnd.h"

#include "engine/settings/Settings.h"
#include "platform/gui/draw/NumberText.h"
#include "res/SettingsPane.h"
#include "ui/dialogs/InputRanges.h"

#include <functional>
#include <limits>
#include <variant>
#include <vector>

namespace {

// The setting an entry shows, by its type: a path (a file property), a switch, a colour, a whole number or a
// number.
using PathSetting = CString& (*)(CSettings&);
using SwitchSetting = bool& (*)(CSettings&);
using ColourSetting = COLORREF& (*)(CSettings&);
using WholeSetting = int& (*)(CSettings&);
using NumberSetting = double& (*)(CSettings&);
using Setting = std::variant<PathSetting, SwitchSetting, ColourSetting, WholeSetting, NumberSetting>;

template <class... Cases>
struct Overloaded : Cases...
{
    using Cases::operator()...;
};

// A rule for the numbers of a setting: the values taken, and how the refusal names them.
struct Rule
{
    std::function<bool(double)> accepts;
    const wchar_t* range; // "<label> must be <range>."
};

// One setting as the pane shows it. The rule says which values are taken.
struct Entry
{
    DWORD_PTR id;
    const wchar_t* group;    // top-level group
    const wchar_t* subGroup; // nested group, or nullptr
    const wchar_t* label;
    Setting field;
    Rule rule;
    const wchar_t* description;
};

const Rule Always{[](double) { return true; }, L""};

// Whole numbers from lo to hi; the text names the range.
Rule WholeFrom(int lo, int hi, const wchar_t* range)
{
    return {[lo, hi](double v) { return v >= lo && v <= hi; }, range};
}

const std::vector<Entry>& Entries()
{
    using S = CSettings;
    // The pane's whole numbers stay within the 16-bit range the settings file allows.
    static_assert(S::kMax16 == 32767 && S::kMinPointsPerSpan == 21 && S::kMaxPointsPerSpan == 1000 &&
                  S::kMinDataTipDelay == 501 && S::kMinAxleSpacings == 3 && S::kMaxDecimals == 9 && S::kMinGap == 1);
    static const Rule positive = WholeFrom(1, S::kMax16, L"a whole number from 1 to 32767");
    // No decimals would leave the numeric fields unable to take a decimal point.
    static const Rule places = WholeFrom(1, 9, L"a whole number from 1 to 9");
    static const std::vector<Entry> entries = {
        {1000, L"General", nullptr, L"PDF help file path", [](S& s) -> CString& { return s.General.HELPFILEPATH; },
         Always, L"The path to the PDF help file - usually in the application folder"},
        {1001, L"General", nullptr, L"Binary File", [](S& s) -> bool& { return s.General.USEBINARYFILEFORMAT; }, Always,
         L"Set to true to use a binary file format which is smaller \t\tand quicker to load than the XML format used "
         L"when this "
         L"\t\tsetting is false. (Note that XML format is useful for finding \t\tproblems though)."},
        {1002, L"General", L"Load Model Display", L"Background",
         [](S& s) -> COLORREF& { return s.General.LoadModel.CLR_LM_BGRND; }, Always,
         L"The display colour for the loadmodel background - usually white."},
        {1003, L"General", L"Load Model Display", L"Base line",
         [](S& s) -> COLORREF& { return s.General.LoadModel.CLR_LM_BASELINE; }, Always,
         L"The display colour for the loadmodel baseline - usually black."},
        {1004, L"General", L"Load Model Display", L"Grid line",
         [](S& s) -> COLORREF& { return s.General.LoadModel.CLR_LM_GRIDLINE; }, Always,
         L"The display colour for the loadmodel grid lines - usually grey."},
        {1005, L"General", L"Load Model Display", L"Text",
         [](S& s) -> COLORREF& { return s.General.LoadModel.CLR_LM_TEXT; }, Always,
         L"The display colour for the loadmodel text - usually black."},
        {1006, L"General", L"Load Model Display", L"Point Load",
         [](S& s) -> COLORREF& { return s.General.LoadModel.CLR_LM_PL; }, Always,
         L"The display colour for the loadmodel point loads - usually red."},
        {1007, L"General", L"Load Model Display", L"Uniform Load",
         [](S& s) -> COLORREF& { return s.General.LoadModel.CLR_LM_UDL; }, Always,
         L"The display colour for the loadmodel uniform loads - usually green."},
        {1008, L"General", L"Load Model Display", L"Partial Uniform Load",
         [](S& s) -> COLORREF& { return s.General.LoadModel.CLR_LM_PUDL; }, Always,
         L"The display colour for the loadmodel partial uniform loads \t\t- usually blue."},
        {1009, L"General", L"Load Model Display", L"Wheels",
         [](S& s) -> COLORREF& { return s.General.LoadModel.CLR_LM_WHEEL; }, Always,
         L"The display colour for the loadmodel wheels \t\t- usually black."},
        {1010, L"General", L"Decimal Places", L"Factor", [](S& s) -> int& { return s.General.DecimalPlaces.FACTOR; },
         places, L"The number of decimal places for factors/multipliers"},
        {1011, L"General", L"Decimal Places", L"Distance",
         [](S& s) -> int& { return s.General.DecimalPlaces.DISTANCE; }, places,
         L"The number of decimal places for distance measures \t\te.g. location along beam, position of load model, "
         L"etc."},
        {1012, L"General", L"Decimal Places", L"Span", [](S& s) -> int& { return s.General.DecimalPlaces.SPAN; },
         places, L"The number of decimal places for span lengths."},
        {1013, L"General", L"Decimal Places", L"GVW", [](S& s) -> int& { return s.General.DecimalPlaces.GVW; }, places,
         L"The number of decimal places for Gross Vehicle Weight \t\tin the Load Model dialog."},
        {1014, L"General", L"Decimal Places", L"Vehicle Length",
         [](S& s) -> int& { return s.General.DecimalPlaces.VEHLENGTH; }, places,
         L"The number of decimal places for the vehicle length \t\tin the Load Model dialog."},
        {1015, L"General", L"Output Options", L"BM & SF", [](S& s) -> bool& { return s.General.Output.BMSF; }, Always,
         L"Default setting for display results for bending moment \t\tand shear force."},
        {1016, L"General", L"Output Options", L"Reactions", [](S& s) -> bool& { return s.General.Output.R; }, Always,
         L"Default setting for display results for reactions."},
        {1017, L"General", L"Output Options", L"Plots", [](S& s) -> bool& { return s.General.Output.GRAPHS; }, Always,
         L"Default setting for display results as plots."},
        {1018, L"General", L"Output Options", L"Tables", [](S& s) -> bool& { return s.General.Output.TABLES; }, Always,
         L"Default setting for display results as tables."},
        {1019, L"General", L"Stepping Defaults", L"By Step", [](S& s) -> bool& { return s.General.Stepping.BYSTEP; },
         Always,
         L"Default setting should a vehicle positon range be generated by \t\ta step increment size or not (i.e. or a "
         L"number of steps)."},
        {1020, L"General", L"Stepping Defaults", L"Step Size",
         [](S& s) -> double& { return s.General.Stepping.STEPSIZE; },
         Rule{[](double v) { return qor::dialogs::InRange(v, qor::dialogs::kStepRange); },
              L"a number above 0.001 and at most 1000"},
         L"Default setting for the size of the step if the range \t\tof vehicle positions is to be generated by a size "
         L"(rather than "
         L"\t\ta number of steps)."},
        {1021, L"General", L"Stepping Defaults", L"No. of Steps",
         [](S& s) -> int& { return s.General.Stepping.NSTEPS; },
         Rule{[](double v) { return qor::dialogs::InRange(v, qor::dialogs::kStepCountRange); },
              L"a whole number from 1 to 32767"},
         L"Default setting for the number of steps if the range \t\t of vehicle positions is to be generated from a "
         L"given number "
         L"\t\t of steps (rather than a step size)."},
        {1100, L"Analysis", nullptr, L"Points Per Span", [](S& s) -> int& { return s.Analysis.NPOINTS_ALONG_BEAM; },
         WholeFrom(S::kMinPointsPerSpan, S::kMaxPointsPerSpan, L"a whole number from 21 to 1000"),
         L"The number of points on each span at which load effects \t\tsuch as bending moments, shears, etc are "
         L"calculated (> 20)."},
        {1101, L"Analysis", nullptr, L"No. of axle spacings", [](S& s) -> int& { return s.Analysis.NO_AXLE_SPACINGS; },
         WholeFrom(S::kMinAxleSpacings, S::kMax16, L"a whole number from 3 to 32767"),
         L"The default number of axle spacings when generating a variable \t\taxle spacing vehicle (> 2)."},
        {1200, L"Plots", nullptr, L"Ratio Limit - Full Speed",
         [](S& s) -> bool& { return s.Plot.RATIOLIMIT_FULLSPEED; }, Always,
         L"Whether or not to show the ratio limit for full speed \t\tvehicle traverses (ratio is usually 1.0)"},
        {1201, L"Plots", nullptr, L"Ratio Limit - Slow Down", [](S& s) -> bool& { return s.Plot.RATIOLIMIT_SLOWDOWN; },
         Always,
         L"Whether or not to show the ratio limit for slow down \t\tvehicle traverses (ratio is the DAF of the "
         L"proposed vehicle)"},
        {1202, L"Plots", nullptr, L"Line width", [](S& s) -> int& { return s.Plot.LINEWIDTH; }, positive,
         L"The width in pixels of the plotted lines"},
        {1203, L"Plots", nullptr, L"Data tip delay", [](S& s) -> int& { return s.Plot.DATATIPDELAY; },
         WholeFrom(S::kMinDataTipDelay, S::kMax16, L"a whole number from 501 to 32767"),
         L"The delay in ms of the plot window data tip that displays \t\tcoordinates information on left click (> "
         L"500)"},
        {1204, L"Plots", L"Gaps", L"Top", [](S& s) -> int& { return s.Plot.Gap.TOP; }, positive,
         L"The gap in pixels from the top of the window to the top \t\tof the plot control (> 0 px)."},
        {1205, L"Plots", L"Gaps", L"Bottom", [](S& s) -> int& { return s.Plot.Gap.BTM; }, positive,
         L"The gap in pixels from the bottom of the window to the bottom \t\tof the bottom-most plot control (> 0 "
         L"px)."},
        {1206, L"Plots", L"Gaps", L"Left", [](S& s) -> int& { return s.Plot.Gap.LEFT; }, positive,
         L"The gap in pixels from the left of the window to the left \t\tof the left-most plot control (> 0 px)."},
        {1207, L"Plots", L"Gaps", L"Right", [](S& s) -> int& { return s.Plot.Gap.RIGHT; }, positive,
         L"The gap in pixels from the right of the window to the right \t\tof the left-most plot control (> 0 px)."},
        {1208, L"Plots", L"Gaps", L"Between", [](S& s) -> int& { return s.Plot.Gap.BETWN; }, positive,
         L"The gap in pixels between each of the plot controls (> 0 px)."},
        {1300, L"Plots", L"Colours", L"Background", [](S& s) -> COLORREF& { return s.Plot.Colours.CLR_BACKGRND; },
         Always, L"The display colour for the plot background - usually white."},
        {1301, L"Plots", L"Colours", L"Border", [](S& s) -> COLORREF& { return s.Plot.Colours.CLR_BORDER; }, Always,
         L"The display colour for the plot border."},
        {1302, L"Plots", L"Colours", L"Grid", [](S& s) -> COLORREF& { return s.Plot.Colours.CLR_GRID; }, Always,
         L"The display colour for the plot grid."},
        {1303, L"Plots", L"Colours", L"Text", [](S& s) -> COLORREF& { return s.Plot.Colours.CLR_TEXT; }, Always,
         L"The display colour for the plot text."},
        {1304, L"Plots", L"Colours", L"Line - Min", [](S& s) -> COLORREF& { return s.Plot.Colours.CLR_LINEMIN; },
         Always, L"The display colour for line series of minima."},
        {1305, L"Plots", L"Colours", L"Line - Max", [](S& s) -> COLORREF& { return s.Plot.Colours.CLR_LINEMAX; },
         Always, L"The display colour for line series of maxima."},
        {1306, L"Plots", L"Colours", L"Beam", [](S& s) -> COLORREF& { return s.Plot.Colours.CLR_BEAM; }, Always,
         L"The display colour for the beam baseline on plots."},
        {1307, L"Plots", L"Colours", L"Light line", [](S& s) -> COLORREF& { return s.Plot.Colours.CLR_LIGHTLINE; },
         Always, L"The display colour for plotting lighter lines \t\t(e.g. multiple envelopes)"},
        {1308, L"Plots", L"Colours", L"Proposed - Min", [](S& s) -> COLORREF& { return s.Plot.Colours.CLR_PROPMIN; },
         Always,
         L"The display colour for line series of minima for a \t\tProposed vehicle type when comparing to a reference "
         L"envelope."},
        {1309, L"Plots", L"Colours", L"Proposed - Max", [](S& s) -> COLORREF& { return s.Plot.Colours.CLR_PROPMAX; },
         Always,
         L"The display colour for line series of maxima for a \t\tProposed vehicle type when comparing to a reference "
         L"envelope."},
        {1310, L"Plots", L"Colours", L"Ratio Limit - Full Speed",
         [](S& s) -> COLORREF& { return s.Plot.Colours.CLR_FULLSPEED; }, Always,
         L"The display colour for line showing the ratio limit \t\tfor full speed vehicle crossings (usually 1.0 "
         L"ratio)"},
        {1311, L"Plots", L"Colours", L"Ratio Limit - Slow Down",
         [](S& s) -> COLORREF& { return s.Plot.Colours.CLR_SLOWDOWN; }, Always,
         L"The display colour for line showing the ratio limit \t\tfor slow down vehicle crossings (usually DAF "
         L"ratio)"},
    };
    return entries;
}

const Entry* FindEntry(DWORD_PTR id)
{
    for (const Entry& e : Entries())
        if (e.id == id) return &e;
    return nullptr;
}

// The setting's current value as the grid holds it.
COleVariant ValueOf(const Entry& e, CSettings& s)
{
    // Numbers are shown and taken as text, so that every text typed reaches the pane's own rule
    // (and its message), a sign or a letter included.
    return std::visit(Overloaded{
                          [&](PathSetting f) { return COleVariant(f(s)); },
                          [&](SwitchSetting f) { return COleVariant(f(s)); },
                          [&](ColourSetting f) { return COleVariant(static_cast<unsigned long>(f(s))); },
                          [&](WholeSetting f) {
                              CString text;
                              text.Format(L"%d", f(s));
                              return COleVariant(text);
                          },
                          [&](NumberSetting f) {
                              CString text;
                              text.Format(L"%g", f(s));
                              return COleVariant(text);
                          },
                      },
                      e.field);
}

CMFCPropertyGridProperty* MakeProperty(const Entry& e, CSettings& s)
{
    if (const auto* path = std::get_if<PathSetting>(&e.field))
        return new CMFCPropertyGridFileProperty(e.label, TRUE, (*path)(s), L"*.pdf",
                                                OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, L"PDF Files (*.pdf)|*.pdf||",
                                                e.description, e.id);
    if (const auto* colour = std::get_if<ColourSetting>(&e.field))
    {
        auto* property = new CMFCPropertyGridColorProperty(e.label, (*colour)(s), nullptr, e.description, e.id);
        property->EnableOtherButton(L"Other...");
        property->EnableAutomaticButton(nullptr, 0, FALSE);
        return property;
    }
    return new CMFCPropertyGridProperty(e.label, ValueOf(e, s), e.description, e.id);
}

// Writes the grid's value into the setting when the setting's rule takes it; false when refused.
bool Take(const Entry& e, CSettings& s, CMFCPropertyGridProperty& prop)
{
    const COleVariant& v = prop.GetValue();
    return std::visit(Overloaded{
                          [&](PathSetting f) {
                              f(s) = v.AsText();
                              return true;
                          },
                          [&](SwitchSetting f) {
                              f(s) = v.boolVal == VARIANT_TRUE;
                              return true;
                          },
                          [&](ColourSetting f) {
                              auto* colour = dynamic_cast<CMFCPropertyGridColorProperty*>(&prop);
                              if (colour) f(s) = colour->GetColor();
                              return colour != nullptr;
                          },
                          [&](WholeSetting f) {
                              long long n = 0;
                              if (!qor::gui::ParseWholeInteger(v.AsText(), n) || n > std::numeric_limits<int>::max() ||
                                  n < std::numeric_limits<int>::min() || !e.rule.accepts(static_cast<double>(n)))
                                  return false;
                              f(s) = static_cast<int>(n);
                              return true;
                          },
                          [&](NumberSetting f) {
                              double d = 0.0;
                              if (!qor::gui::ParseWholeDouble(v.AsText(), d) || !e.rule.accepts(d)) return false;
                              f(s) = d;
                              return true;
                          },
                      },
                      e.field);
}

} // namespace

BEGIN_MESSAGE_MAP(CSettingsWnd, CDockablePane)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_SETTINGCHANGE()
ON_COMMAND(ID_EXPAND_ALL_PROPERTIES, OnExpandAllProperties)
ON_UPDATE_COMMAND_UI(ID_EXPAND_ALL_PROPERTIES, OnUpdateExpandAllProperties)
ON_COMMAND(ID_SORT_PROPERTIES, OnSortProperties)
ON_UPDATE_COMMAND_UI(ID_SORT_PROPERTIES, OnUpdateSortProperties)
ON_COMMAND(ID_RESET_ALL_SETTINGS, OnResetAll)
ON_REGISTERED_MESSAGE(AFX_WM_PROPERTY_CHANGED, OnPropertyChanged)
END_MESSAGE_MAP()

CSettingsWnd::CSettingsWnd() = default;
CSettingsWnd::~CSettingsWnd() = default;

int CSettingsWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CDockablePane::OnCreate(lpCreateStruct) == -1) return -1;
    if (!m_wndPropList.Create(WS_VISIBLE | WS_CHILD, CRect(0, 0, 0, 0), this, ID_SETTINGS_GRID)) return -1;
    InitPropList();
    if (!m_wndToolBar.Create(this, AFX_DEFAULT_TOOLBAR_STYLE, IDR_SETTINGS_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_SETTINGS_TOOLBAR, 0, 0, TRUE))
        return -1;
    m_wndToolBar.SetOwner(this);
    AdjustLayout();
    return 0;
}

void CSettingsWnd::AdjustLayout()
{
    if (!m_hWnd || !m_wndPropList.m_hWnd) return;
    CRect rc;
    GetClientRect(&rc);
    int cyTlb = m_wndToolBar.m_hWnd ? m_wndToolBar.CalcFixedLayout(FALSE, TRUE).cy : 0;
    if (m_wndToolBar.m_hWnd)
        m_wndToolBar.SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), cyTlb, SWP_NOACTIVATE | SWP_NOZORDER);
    m_wndPropList.SetWindowPos(nullptr, rc.left, rc.top + cyTlb, rc.Width(), std::max(0, rc.Height() - cyTlb),
                               SWP_NOACTIVATE | SWP_NOZORDER);
}

void CSettingsWnd::OnSize(UINT nType, int cx, int cy)
{
    CDockablePane::OnSize(nType, cx, cy);
    AdjustLayout();
}

void CSettingsWnd::OnSetFocus(CWnd* pOldWnd)
{
    CDockablePane::OnSetFocus(pOldWnd);
    if (m_wndPropList.m_hWnd) m_wndPropList.SetFocus();
}

void CSettingsWnd::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    CDockablePane::OnSettingChange(uFlags, lpszSection);
    SetPropListFont();
}

void CSettingsWnd::SetPropListFont()
{
    m_fntPropList.DeleteObject();
    NONCLIENTMETRICS info{};
    info.cbSize = sizeof(info);
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, info.cbSize, &info, 0);
    LOGFONT lf = info.lfMessageFont;
    if (!m_fntPropList.CreateFontIndirect(&lf)) return;
    if (m_wndPropList.m_hWnd) m_wndPropList.SetFont(&m_fntPropList);
}

void CSettingsWnd::InitPropList()
{
    SetPropListFont();
    m_wndPropList.RemoveAll();
    m_wndPropList.EnableHeaderCtrl(FALSE);
    m_wndPropList.EnableDescriptionArea();
    m_wndPropList.SetVSDotNetLook();
    m_wndPropList.MarkModifiedProperties();
    CSettings& settings = *CSettings::GetInstance();
    // Groups in the order of the table; each nested group under its top-level group.
    std::vector<std::pair<CString, CMFCPropertyGridProperty*>> tops, subs;
    auto groupFor = [&](const Entry& e) {
        CMFCPropertyGridProperty* top = nullptr;
        for (auto& [name, g] : tops)
            if (name == e.group) top = g;
        if (!top)
        {
            top = new CMFCPropertyGridProperty(e.group);
            tops.emplace_back(e.group, top);
        }
        if (!e.subGroup) return top;
        CString key = CString(e.group) + L"/" + e.subGroup;
        for (auto& [name, g] : subs)
            if (name == key) return g;
        auto* sub = new CMFCPropertyGridProperty(e.subGroup);
        top->AddSubItem(sub);
        subs.emplace_back(key, sub);
        return sub;
    };
    m_wndPropList.SetRedraw(FALSE);
    for (const Entry& e : Entries()) groupFor(e)->AddSubItem(MakeProperty(e, settings));
    for (auto& [name, g] : tops) m_wndPropList.AddProperty(g);
    m_wndPropList.SetRedraw(TRUE);
    m_wndPropList.ExpandAll(TRUE);
    m_bExpandAll = true;
}

void CSettingsWnd::OnExpandAllProperties()
{
    m_bExpandAll = !m_bExpandAll;
    m_wndPropList.ExpandAll(m_bExpandAll);
}

void CSettingsWnd::OnUpdateExpandAllProperties(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bExpandAll); }

void CSettingsWnd::OnSortProperties() { m_wndPropList.SetAlphabeticMode(!m_wndPropList.IsAlphabeticMode()); }

void CSettingsWnd::OnUpdateSortProperties(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_wndPropList.IsAlphabeticMode()); }

void CSettingsWnd::OnResetAll()
{
    if (AfxMessageBox(L"Are you sure you want to reset all\nprogram settings to their default values?",
                      MB_YESNO | MB_ICONHAND) != IDYES)
        return;
    CSettings::GetInstance()->SetDefaults();
    InitPropList();
}

LRESULT CSettingsWnd::OnPropertyChanged(WPARAM, LPARAM lParam)
{
    auto* prop = reinterpret_cast<CMFCPropertyGridProperty*>(lParam);
    if (!prop) return 0;
    const Entry* e = FindEntry(prop->GetData());
    if (!e) return 1; // not one of ours (1400 and above)
    CSettings& settings = *CSettings::GetInstance();
    const bool taken = Take(*e, settings, *prop);
    // A refused value: the grid shows the setting as it stays, and the engineer hears why.
    if (!taken)
    {
        prop->SetValue(ValueOf(*e, settings));
        CString message;
        message.Format(L"%s must be %s.", e->label, e->rule.range);
        AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    }
    else if (std::holds_alternative<WholeSetting>(e->field) || std::holds_alternative<NumberSetting>(e->field))
    {
        prop->SetValue(ValueOf(*e, settings)); // as the pane writes it ("+25" shows as "25")
    }
    return 1;
}
