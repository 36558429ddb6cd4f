// The settings pane: the property grid built from one table of the settings (group, label,
// editor, the setting itself, the rule a new value must meet, the description), and the
// write-back of the values the user changes.
#include "app/SettingsWnd.h"

#include "engine/settings/Settings.h"
#include "platform/gui/NumberText.h"
#include "res/SettingsPane.h"

#include <functional>
#include <limits>
#include <vector>

namespace {

enum class Kind { File, Bool, Colour, Integer, Double };

// A rule for the numbers of a setting: the values taken, and how the refusal names them.
struct Rule {
    std::function<bool(double)> accepts;
    const wchar_t* range; // "<label> must be <range>."
};

// One setting as the pane shows it. The rule says which values are taken.
struct Entry {
    DWORD_PTR id;
    const wchar_t* group;    // top-level group
    const wchar_t* subGroup; // nested group, or nullptr
    const wchar_t* label;
    Kind kind;
    std::function<void*(CSettings&)> field;
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
                  S::kMinDataTipDelay == 501 && S::kMinAxleSpacings == 3);
    static const Rule positive = WholeFrom(1, S::kMax16, L"a whole number from 1 to 32767");
    // No decimals would leave the numeric fields unable to take a decimal point.
    static const Rule places = WholeFrom(1, 9, L"a whole number from 1 to 9");
    static const std::vector<Entry> entries = {
        {1000, L"General", nullptr, L"PDF help file path", Kind::File, [](S& s) -> void* { return &s.General.HELPFILEPATH; }, Always,
         L"The path to the PDF help file - usually in the application folder"},
        {1001, L"General", nullptr, L"Binary File", Kind::Bool, [](S& s) -> void* { return &s.General.USEBINARYFILEFORMAT; }, Always,
         L"Set to true to use a binary file format which is smaller \t\tand quicker to load than the XML format used when this "
         L"\t\tsetting is false. (Note that XML format is useful for finding \t\tproblems though)."},
        {1002, L"General", L"Load Model Display", L"Background", Kind::Colour, [](S& s) -> void* { return &s.General.LoadModel.CLR_LM_BGRND; },
         Always, L"The display colour for the loadmodel background - usually white."},
        {1003, L"General", L"Load Model Display", L"Base line", Kind::Colour, [](S& s) -> void* { return &s.General.LoadModel.CLR_LM_BASELINE; },
         Always, L"The display colour for the loadmodel baseline - usually black."},
        {1004, L"General", L"Load Model Display", L"Grid line", Kind::Colour, [](S& s) -> void* { return &s.General.LoadModel.CLR_LM_GRIDLINE; },
         Always, L"The display colour for the loadmodel grid lines - usually grey."},
        {1005, L"General", L"Load Model Display", L"Text", Kind::Colour, [](S& s) -> void* { return &s.General.LoadModel.CLR_LM_TEXT; }, Always,
         L"The display colour for the loadmodel text - usually black."},
        {1006, L"General", L"Load Model Display", L"Point Load", Kind::Colour, [](S& s) -> void* { return &s.General.LoadModel.CLR_LM_PL; },
         Always, L"The display colour for the loadmodel point loads - usually red."},
        {1007, L"General", L"Load Model Display", L"Uniform Load", Kind::Colour, [](S& s) -> void* { return &s.General.LoadModel.CLR_LM_UDL; },
         Always, L"The display colour for the loadmodel uniform loads - usually green."},
        {1008, L"General", L"Load Model Display", L"Partial Uniform Load", Kind::Colour,
         [](S& s) -> void* { return &s.General.LoadModel.CLR_LM_PUDL; }, Always,
         L"The display colour for the loadmodel partial uniform loads \t\t- usually blue."},
        {1009, L"General", L"Load Model Display", L"Wheels", Kind::Colour, [](S& s) -> void* { return &s.General.LoadModel.CLR_LM_WHEEL; },
         Always, L"The display colour for the loadmodel wheels \t\t- usually black."},
        {1010, L"General", L"Decimal Places", L"Factor", Kind::Integer, [](S& s) -> void* { return &s.General.DecimalPlaces.FACTOR; }, places,
         L"The number of decimal places for factors/multipliers"},
        {1011, L"General", L"Decimal Places", L"Distance", Kind::Integer, [](S& s) -> void* { return &s.General.DecimalPlaces.DISTANCE; },
         places, L"The number of decimal places for distance measures \t\te.g. location along beam, position of load model, etc."},
        {1012, L"General", L"Decimal Places", L"Span", Kind::Integer, [](S& s) -> void* { return &s.General.DecimalPlaces.SPAN; }, places,
         L"The number of decimal places for span lengths."},
        {1013, L"General", L"Decimal Places", L"GVW", Kind::Integer, [](S& s) -> void* { return &s.General.DecimalPlaces.GVW; }, places,
         L"The number of decimal places for Gross Vehicle Weight \t\tin the Load Model dialog."},
        {1014, L"General", L"Decimal Places", L"Vehicle Length", Kind::Integer, [](S& s) -> void* { return &s.General.DecimalPlaces.VEHLENGTH; },
         places, L"The number of decimal places for the vehicle length \t\tin the Load Model dialog."},
        {1015, L"General", L"Output Options", L"BM & SF", Kind::Bool, [](S& s) -> void* { return &s.General.Output.BMSF; }, Always,
         L"Default setting for display results for bending moment \t\tand shear force."},
        {1016, L"General", L"Output Options", L"Reactions", Kind::Bool, [](S& s) -> void* { return &s.General.Output.R; }, Always,
         L"Default setting for display results for reactions."},
        {1017, L"General", L"Output Options", L"Plots", Kind::Bool, [](S& s) -> void* { return &s.General.Output.GRAPHS; }, Always,
         L"Default setting for display results as plots."},
        {1018, L"General", L"Output Options", L"Tables", Kind::Bool, [](S& s) -> void* { return &s.General.Output.TABLES; }, Always,
         L"Default setting for display results as tables."},
        {1019, L"General", L"Stepping Defaults", L"By Step", Kind::Bool, [](S& s) -> void* { return &s.General.Stepping.BYSTEP; }, Always,
         L"Default setting should a vehicle positon range be generated by \t\ta step increment size or not (i.e. or a number of steps)."},
        {1020, L"General", L"Stepping Defaults", L"Step Size", Kind::Double, [](S& s) -> void* { return &s.General.Stepping.STEPSIZE; },
         Rule{[](double v) { return v > S::kMinStepSize && v <= S::kMaxStepSize; }, L"a number above 0.001 and at most 1000"},
         L"Default setting for the size of the step if the range \t\tof vehicle positions is to be generated by a size (rather than "
         L"\t\ta number of steps)."},
        {1021, L"General", L"Stepping Defaults", L"No. of Steps", Kind::Integer, [](S& s) -> void* { return &s.General.Stepping.NSTEPS; },
         WholeFrom(1, S::kMax16, L"a whole number from 1 to 32767"),
         L"Default setting for the number of steps if the range \t\t of vehicle positions is to be generated from a given number "
         L"\t\t of steps (rather than a step size)."},
        {1100, L"Analysis", nullptr, L"Points Per Span", Kind::Integer, [](S& s) -> void* { return &s.Analysis.NPOINTS_ALONG_BEAM; },
         WholeFrom(S::kMinPointsPerSpan, S::kMaxPointsPerSpan, L"a whole number from 21 to 1000"),
         L"The number of points on each span at which load effects \t\tsuch as bending moments, shears, etc are calculated (> 20)."},
        {1101, L"Analysis", nullptr, L"No. of axle spacings", Kind::Integer, [](S& s) -> void* { return &s.Analysis.NO_AXLE_SPACINGS; },
         WholeFrom(S::kMinAxleSpacings, S::kMax16, L"a whole number from 3 to 32767"),
         L"The default number of axle spacings when generating a variable \t\taxle spacing vehicle (> 2)."},
        {1200, L"Plots", nullptr, L"Ratio Limit - Full Speed", Kind::Bool, [](S& s) -> void* { return &s.Plot.RATIOLIMIT_FULLSPEED; }, Always,
         L"Whether or not to show the ratio limit for full speed \t\tvehicle traverses (ratio is usually 1.0)"},
        {1201, L"Plots", nullptr, L"Ratio Limit - Slow Down", Kind::Bool, [](S& s) -> void* { return &s.Plot.RATIOLIMIT_SLOWDOWN; }, Always,
         L"Whether or not to show the ratio limit for slow down \t\tvehicle traverses (ratio is the DAF of the proposed vehicle)"},
        {1202, L"Plots", nullptr, L"Line width", Kind::Integer, [](S& s) -> void* { return &s.Plot.LINEWIDTH; }, positive,
         L"The width in pixels of the plotted lines"},
        {1203, L"Plots", nullptr, L"Data tip delay", Kind::Integer, [](S& s) -> void* { return &s.Plot.DATATIPDELAY; },
         WholeFrom(S::kMinDataTipDelay, S::kMax16, L"a whole number from 501 to 32767"),
         L"The delay in ms of the plot window data tip that displays \t\tcoordinates information on left click (> 500)"},
        {1204, L"Plots", L"Gaps", L"Top", Kind::Integer, [](S& s) -> void* { return &s.Plot.Gap.TOP; }, positive,
         L"The gap in pixels from the top of the window to the top \t\tof the plot control (> 0 px)."},
        {1205, L"Plots", L"Gaps", L"Bottom", Kind::Integer, [](S& s) -> void* { return &s.Plot.Gap.BTM; }, positive,
         L"The gap in pixels from the bottom of the window to the bottom \t\tof the bottom-most plot control (> 0 px)."},
        {1206, L"Plots", L"Gaps", L"Left", Kind::Integer, [](S& s) -> void* { return &s.Plot.Gap.LEFT; }, positive,
         L"The gap in pixels from the left of the window to the left \t\tof the left-most plot control (> 0 px)."},
        {1207, L"Plots", L"Gaps", L"Right", Kind::Integer, [](S& s) -> void* { return &s.Plot.Gap.RIGHT; }, positive,
         L"The gap in pixels from the right of the window to the right \t\tof the left-most plot control (> 0 px)."},
        {1208, L"Plots", L"Gaps", L"Between", Kind::Integer, [](S& s) -> void* { return &s.Plot.Gap.BETWN; }, positive,
         L"The gap in pixels between each of the plot controls (> 0 px)."},
        {1300, L"Plots", L"Colours", L"Background", Kind::Colour, [](S& s) -> void* { return &s.Plot.Colours.CLR_BACKGRND; }, Always,
         L"The display colour for the plot background - usually white."},
        {1301, L"Plots", L"Colours", L"Border", Kind::Colour, [](S& s) -> void* { return &s.Plot.Colours.CLR_BORDER; }, Always,
         L"The display colour for the plot border."},
        {1302, L"Plots", L"Colours", L"Grid", Kind::Colour, [](S& s) -> void* { return &s.Plot.Colours.CLR_GRID; }, Always,
         L"The display colour for the plot grid."},
        {1303, L"Plots", L"Colours", L"Text", Kind::Colour, [](S& s) -> void* { return &s.Plot.Colours.CLR_TEXT; }, Always,
         L"The display colour for the plot text."},
        {1304, L"Plots", L"Colours", L"Line - Min", Kind::Colour, [](S& s) -> void* { return &s.Plot.Colours.CLR_LINEMIN; }, Always,
         L"The display colour for line series of minima."},
        {1305, L"Plots", L"Colours", L"Line - Max", Kind::Colour, [](S& s) -> void* { return &s.Plot.Colours.CLR_LINEMAX; }, Always,
         L"The display colour for line series of maxima."},
        {1306, L"Plots", L"Colours", L"Beam", Kind::Colour, [](S& s) -> void* { return &s.Plot.Colours.CLR_BEAM; }, Always,
         L"The display colour for the beam baseline on plots."},
        {1307, L"Plots", L"Colours", L"Light line", Kind::Colour, [](S& s) -> void* { return &s.Plot.Colours.CLR_LIGHTLINE; }, Always,
         L"The display colour for plotting lighter lines \t\t(e.g. multiple envelopes)"},
        {1308, L"Plots", L"Colours", L"Proposed - Min", Kind::Colour, [](S& s) -> void* { return &s.Plot.Colours.CLR_PROPMIN; }, Always,
         L"The display colour for line series of minima for a \t\tProposed vehicle type when comparing to a reference envelope."},
        {1309, L"Plots", L"Colours", L"Proposed - Max", Kind::Colour, [](S& s) -> void* { return &s.Plot.Colours.CLR_PROPMAX; }, Always,
         L"The display colour for line series of maxima for a \t\tProposed vehicle type when comparing to a reference envelope."},
        {1310, L"Plots", L"Colours", L"Ratio Limit - Full Speed", Kind::Colour, [](S& s) -> void* { return &s.Plot.Colours.CLR_FULLSPEED; },
         Always, L"The display colour for line showing the ratio limit \t\tfor full speed vehicle crossings (usually 1.0 ratio)"},
        {1311, L"Plots", L"Colours", L"Ratio Limit - Slow Down", Kind::Colour, [](S& s) -> void* { return &s.Plot.Colours.CLR_SLOWDOWN; },
         Always, L"The display colour for line showing the ratio limit \t\tfor slow down vehicle crossings (usually DAF ratio)"},
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
    void* f = e.field(s);
    switch (e.kind) {
    case Kind::File: return COleVariant(*static_cast<CString*>(f));
    case Kind::Bool: return COleVariant(*static_cast<bool*>(f));
    case Kind::Colour: return COleVariant(static_cast<unsigned long>(*static_cast<COLORREF*>(f)));
    // Numbers are shown and taken as text, so that every text typed reaches the pane's own rule
    // (and its message), a sign or a letter included.
    case Kind::Integer: {
        CString text;
        text.Format(L"%d", *static_cast<int*>(f));
        return COleVariant(text);
    }
    case Kind::Double: {
        CString text;
        text.Format(L"%g", *static_cast<double*>(f));
        return COleVariant(text);
    }
    }
    return COleVariant();
}

CMFCPropertyGridProperty* MakeProperty(const Entry& e, CSettings& s)
{
    switch (e.kind) {
    case Kind::File:
        return new CMFCPropertyGridFileProperty(e.label, TRUE, *static_cast<CString*>(e.field(s)), L"*.pdf",
                                                OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, L"PDF Files (*.pdf)|*.pdf||",
                                                e.description, e.id);
    case Kind::Colour: {
        auto* colour = new CMFCPropertyGridColorProperty(e.label, *static_cast<COLORREF*>(e.field(s)), nullptr, e.description, e.id);
        colour->EnableOtherButton(L"Other...");
        colour->EnableAutomaticButton(nullptr, 0, FALSE);
        return colour;
    }
    default: return new CMFCPropertyGridProperty(e.label, ValueOf(e, s), e.description, e.id);
    }
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
        if (!top) {
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
    if (AfxMessageBox(L"Are you sure you want to reset all\nprogram settings to their default values?", MB_YESNO | MB_ICONHAND) != IDYES)
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
    void* field = e->field(settings);
    const COleVariant& v = prop->GetValue();
    bool taken = false;
    switch (e->kind) {
    case Kind::File:
        *static_cast<CString*>(field) = v.AsText();
        taken = true;
        break;
    case Kind::Bool:
        *static_cast<bool*>(field) = v.boolVal == VARIANT_TRUE;
        taken = true;
        break;
    case Kind::Colour:
        if (auto* colour = dynamic_cast<CMFCPropertyGridColorProperty*>(prop)) {
            *static_cast<COLORREF*>(field) = colour->GetColor();
            taken = true;
        }
        break;
    case Kind::Integer: {
        long long n = 0;
        if (qor::gui::ParseWholeInteger(v.AsText(), n) && n <= std::numeric_limits<int>::max() &&
            n >= std::numeric_limits<int>::min() && e->rule.accepts(static_cast<double>(n))) {
            *static_cast<int*>(field) = static_cast<int>(n);
            taken = true;
        }
        break;
    }
    case Kind::Double: {
        double d = 0.0;
        if (qor::gui::ParseWholeDouble(v.AsText(), d) && e->rule.accepts(d)) {
            *static_cast<double*>(field) = d;
            taken = true;
        }
        break;
    }
    }
    // A refused value: the grid shows the setting as it stays, and the engineer hears why.
    if (!taken) {
        prop->SetValue(ValueOf(*e, settings));
        CString message;
        message.Format(L"%s must be %s.", e->label, e->rule.range);
        AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    }
    else if (e->kind == Kind::Integer || e->kind == Kind::Double) {
        prop->SetValue(ValueOf(*e, settings)); // as the pane writes it ("+25" shows as "25")
    }
    return 1;
}
