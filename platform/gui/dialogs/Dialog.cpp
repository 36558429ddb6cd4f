// Dialogs: templates, building a dialog from its template, the modal loop and its test
// driver, dialog keys, data exchange.
#include "platform/gui/dialogs/Dialog.h"

#include "platform/core/MessageBox.h"
#include "platform/core/ModalWindowScope.h"
#include "platform/gui/dialogs/PropertySheet.h"
#include "platform/gui/draw/Gdi.h"
#include "platform/gui/draw/NumberText.h"
#include "platform/gui/draw/SysValues.h"
#include "platform/gui/widgets/Controls.h"
#include "platform/gui/window/App.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QEventLoop>
#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QApplication>

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <string>

using namespace qor::gui;

// ---- The template table ---------------------------------------------------------------------

namespace {
std::map<UINT, const DialogTemplate*>& TemplatesById()
{
    static std::map<UINT, const DialogTemplate*> m;
    return m;
}
std::map<std::wstring, const DialogTemplate*>& TemplatesByName()
{
    static std::map<std::wstring, const DialogTemplate*> m;
    return m;
}
bool SameClass(LPCTSTR a, LPCTSTR b)
{
    if (!a || !b) return false;
    for (; *a && *b; ++a, ++b)
        if (towlower(*a) != towlower(*b)) return false;
    return *a == *b;
}
} // namespace

namespace qor::gui {

void RegisterDialogTemplate(const DialogTemplate* tmpl, LPCTSTR name)
{
    if (!tmpl) return;
    if (tmpl->id) TemplatesById()[tmpl->id] = tmpl;
    if (name && *name) TemplatesByName()[name] = tmpl;
}
const DialogTemplate* FindDialogTemplate(UINT id)
{
    auto it = TemplatesById().find(id);
    return it == TemplatesById().end() ? nullptr : it->second;
}
const DialogTemplate* FindDialogTemplate(LPCTSTR nameOrId)
{
    if (!nameOrId) return nullptr;
    if (IS_INTRESOURCE(nameOrId))
        return FindDialogTemplate(static_cast<UINT>(reinterpret_cast<std::uintptr_t>(nameOrId)));
    auto it = TemplatesByName().find(nameOrId);
    return it == TemplatesByName().end() ? nullptr : it->second;
}

} // namespace qor::gui

// ---- Data exchange --------------------------------------------------------------------------

void AfxThrowUserException() { throw CUserException(); }

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    CWnd* ctl = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
    if (!ctl)
    {
        // A data exchange with a control the template does not have is a programming error.
        CString msg;
        msg.Format(L"Dialog control %d does not exist.", nIDC);
        AfxMessageBox(msg, MB_OK | MB_ICONSTOP);
        AfxThrowUserException();
    }
    m_idLastControl = ctl->m_hWnd;
    m_bEditLastControl = FALSE;
    return ctl->m_hWnd;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND h = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return h;
}

void CDataExchange::Fail()
{
    if (!m_bSaveAndValidate) AfxThrowUserException();
    if (CWnd* ctl = CWnd::FromHandle(m_idLastControl))
    {
        ctl->SetFocus();
        if (m_bEditLastControl) ctl->SendMessage(EM_SETSEL, 0, static_cast<LPARAM>(-1));
    }
    AfxThrowUserException();
}

namespace {

CString ControlText(HWND h)
{
    CString s;
    if (CWnd* w = CWnd::FromHandle(h)) w->GetWindowText(s);
    return s;
}
void SetControlText(HWND h, const CString& s)
{
    CWnd* w = CWnd::FromHandle(h);
    if (!w) return;
    // Only when it differs, so that an unchanged edit keeps its selection and undo.
    CString old;
    w->GetWindowText(old);
    if (old != s) w->SetWindowText(s);
}

[[noreturn]] void FailWith(CDataExchange* pDX, LPCTSTR message)
{
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

template <class T>
void ExchangeInteger(CDataExchange* pDX, int nIDC, T& value, long long lo, long long hi, bool isUnsigned)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        long long v = 0;
        if (!ParseWholeInteger(ControlText(h), v, isUnsigned) || v < lo || v > hi)
            FailWith(pDX, L"Please enter an integer.");
        value = static_cast<T>(v);
    }
    else
    {
        CString s;
        if (isUnsigned)
            s.Format(L"%llu", static_cast<unsigned long long>(value));
        else
            s.Format(L"%lld", static_cast<long long>(value));
        SetControlText(h, s);
    }
}

CString FormatReal(double v, int digits)
{
    CString s;
    s.Format(L"%.*g", digits, v);
    return s;
}

} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = ControlText(h);
    else
        SetControlText(h, value);
}
void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    ExchangeInteger(pDX, nIDC, value, INT32_MIN, INT32_MAX, false);
}
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) { ExchangeInteger(pDX, nIDC, value, 0, UINT32_MAX, true); }
void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    ExchangeInteger(pDX, nIDC, value, LONG_MIN, LONG_MAX, false);
}
void DDX_Text(CDataExchange* pDX, int nIDC, short& value)
{
    ExchangeInteger(pDX, nIDC, value, SHRT_MIN, SHRT_MAX, false);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        double v = 0;
        if (!ParseWholeDouble(ControlText(h), v)) FailWith(pDX, L"Please enter a number.");
        value = v;
    }
    else
    {
        SetControlText(h, FormatReal(value, DBL_DIG));
    }
}
void DDX_Text(CDataExchange* pDX, int nIDC, float& value)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        double v = 0;
        if (!ParseWholeDouble(ControlText(h), v) || std::fabs(v) > FLT_MAX) FailWith(pDX, L"Please enter a number.");
        value = static_cast<float>(v);
    }
    else
    {
        SetControlText(h, FormatReal(value, FLT_DIG));
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    CWnd* w = CWnd::FromHandle(pDX->PrepareCtrl(nIDC));
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(w->SendMessage(BM_GETCHECK));
    else
        w->SendMessage(BM_SETCHECK, static_cast<WPARAM>(value < 0 || value > 2 ? 0 : value));
}

namespace {
bool IsRadio(CWnd* w) { return w && (w->SendMessage(WM_GETDLGCODE) & DLGC_RADIOBUTTON); }
} // namespace

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    CWnd* first = CWnd::FromHandle(pDX->PrepareCtrl(nIDC));
    if (pDX->m_bSaveAndValidate) value = -1;
    int index = 0;
    for (CWnd* w = first; w; w = w->GetWindow(GW_HWNDNEXT))
    {
        if (w != first && (w->GetStyle() & WS_GROUP)) break;
        if (!IsRadio(w)) continue;
        if (pDX->m_bSaveAndValidate)
        {
            if (w->SendMessage(BM_GETCHECK) == BST_CHECKED && value < 0) value = index;
        }
        else
        {
            w->SendMessage(BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED);
        }
        ++index;
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    CWnd* w = CWnd::FromHandle(pDX->PrepareCtrl(nIDC));
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(w->SendMessage(CB_GETCURSEL));
    else
        w->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
}
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    CWnd* w = CWnd::FromHandle(pDX->PrepareCtrl(nIDC));
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(w->SendMessage(LB_GETCURSEL));
    else
        w->SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index));
}
namespace {
// An item's text of a combo box or list box, by message (the window may be of any class).
CString ItemText(CWnd* w, UINT lenMsg, UINT textMsg, int index)
{
    LRESULT n = w->SendMessage(lenMsg, static_cast<WPARAM>(index));
    if (n <= 0) return CString();
    std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
    w->SendMessage(textMsg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
    return CString(buf.c_str());
}
} // namespace

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    CWnd* w = CWnd::FromHandle(pDX->PrepareCtrl(nIDC));
    if (pDX->m_bSaveAndValidate)
    {
        w->GetWindowText(value);
        int sel = static_cast<int>(w->SendMessage(CB_GETCURSEL));
        if (value.IsEmpty() && sel >= 0) value = ItemText(w, CB_GETLBTEXTLEN, CB_GETLBTEXT, sel);
    }
    else
    {
        if (w->SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString())) ==
            CB_ERR)
            w->SetWindowText(value);
    }
}
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    CWnd* w = CWnd::FromHandle(pDX->PrepareCtrl(nIDC));
    if (pDX->m_bSaveAndValidate)
    {
        int sel = static_cast<int>(w->SendMessage(LB_GETCURSEL));
        value.Empty();
        if (sel >= 0) value = ItemText(w, LB_GETTEXTLEN, LB_GETTEXT, sel);
    }
    else
    {
        if (w->SendMessage(LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString())) ==
            LB_ERR)
            w->SendMessage(LB_SETCURSEL, static_cast<WPARAM>(-1));
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(h)) AfxThrowUserException();
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    CString msg;
    msg.Format(L"Please enter an integer between %d and %d.", minVal, maxVal);
    FailWith(pDX, msg);
}
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    CString msg;
    msg.Format(L"Please enter an integer between %u and %u.", minVal, maxVal);
    FailWith(pDX, msg);
}
void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    CString msg;
    msg.Format(L"Please enter a number between %s and %s.", FormatReal(minVal, DBL_DIG).GetString(),
               FormatReal(maxVal, DBL_DIG).GetString());
    FailWith(pDX, msg);
}
void DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars)
{
    if (!pDX->m_bSaveAndValidate)
    {
        if (CWnd* w = CWnd::FromHandle(pDX->m_idLastControl)) w->SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars));
        return;
    }
    if (value.GetLength() <= nChars) return;
    CString msg;
    msg.Format(L"Enter no more than %d characters.", nChars);
    FailWith(pDX, msg);
}

// ---- Modal loop and its driver ------------------------------------------------------------------

namespace {
ModalDialogDriver& Driver()
{
    static auto* d = new ModalDialogDriver;
    return *d;
}
ModalFailureHandler& FailureHandler()
{
    static auto* h = new ModalFailureHandler;
    return *h;
}
bool Headless()
{
    QString p = QGuiApplication::platformName();
    return p == QLatin1String("offscreen") || p == QLatin1String("minimal");
}
void ReportModalFailure(CWnd& modal, const CString& what)
{
    if (ModalFailureHandler h = FailureHandler()) h(modal, what);
}
} // namespace

namespace qor::gui {

ModalDialogDriver SetModalDialogDriver(ModalDialogDriver driver)
{
    ModalDialogDriver old = std::move(Driver());
    Driver() = std::move(driver);
    return old;
}
ModalFailureHandler SetModalFailureHandler(ModalFailureHandler handler)
{
    ModalFailureHandler old = std::move(FailureHandler());
    FailureHandler() = std::move(handler);
    return old;
}

bool RunModalLoop(CWnd& modal, const bool& done, void** loopSlot)
{
    qor::ModalWindowScope running;
    CString caption;
    modal.GetWindowText(caption);
    HideTipsForModal();
    if (ModalDialogDriver driver = Driver())
    {
        driver(modal);
        // What the driver posted arrives before it is judged.
        for (int i = 0; i < 3 && !done; ++i)
        {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
        if (!done)
        {
            ReportModalFailure(modal, L"the dialog driver left \"" + caption + L"\" open");
            return false;
        }
        return true;
    }
    if (FailureHandler() || Headless())
    {
        ReportModalFailure(modal, L"modal dialog \"" + caption + L"\" shown with no driver");
        return false;
    }
    QEventLoop loop;
    *loopSlot = &loop;
    while (!done) loop.exec(QEventLoop::DialogExec);
    *loopSlot = nullptr;
    return true;
}

void QuitModalLoop(void* loop)
{
    if (loop) static_cast<QEventLoop*>(loop)->exit(0);
}

Qt::WindowFlags DialogFrameFlags(DWORD style)
{
    // With the customize hint the toolkit asks the window manager for these boxes alone, instead
    // of a default frame.
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
    if (style & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

void HideTipsForModal()
{
    for (QWidget* top : QApplication::topLevelWidgets())
    {
        if (!top->isVisible()) continue;
        CWnd* wnd = WndFromWidget(top);
        WndState* s = wnd ? StateOf(wnd) : nullptr;
        if (s && s->widget == top && (s->style & WS_POPUP) && (s->exStyle & WS_EX_TOOLWINDOW)) wnd->ShowWindow(SW_HIDE);
    }
}

void ReactivateOwner(HWND owner)
{
    // By handle: the owner may have gone while the modal window ran.
    CWnd* wnd = CWnd::FromHandle(owner);
    QWidget* w = wnd ? WidgetOf(wnd) : nullptr;
    if (!w) return;
    w = w->window();
    if (!w->isVisible() || !w->isEnabled()) return;
    if (CWnd* top = WndFromWidget(w))
        top->SetActiveWindow();
    else
        w->activateWindow();
}

// ---- Dialog keys ----------------------------------------------------------------------------------

namespace {
bool IsDialogContainer(CWnd* w)
{
    return w && (w->IsKindOf(RUNTIME_CLASS(CDialog)) || (w->GetExStyle() & WS_EX_CONTROLPARENT));
}
void CollectControls(const CWnd* parent, std::vector<CWnd*>& out)
{
    for (CWnd* w = parent->GetWindow(GW_CHILD); w; w = w->GetWindow(GW_HWNDNEXT))
    {
        if (IsDialogContainer(w))
        {
            if (w->IsWindowVisible()) CollectControls(w, out);
        }
        else
        {
            out.push_back(w);
        }
    }
}
bool CanFocus(CWnd* w) { return w && w->IsWindowVisible() && w->IsWindowEnabled(); }
CWnd* TopDialogOf(CWnd* w)
{
    while (w && (w->GetStyle() & WS_CHILD) && w->GetParent()) w = w->GetParent();
    return w;
}
// The entry of the list that is w or holds it (a combo box for its edit).
int IndexIn(const std::vector<CWnd*>& list, CWnd* w)
{
    for (; w; w = (w->GetStyle() & WS_CHILD) ? w->GetParent() : nullptr)
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i] == w) return static_cast<int>(i);
    return -1;
}
bool IsClass(CWnd* w, LPCTSTR cls) { return w && w->GetClassName().CompareNoCase(cls) == 0; }

CWnd* NextTab(CWnd* dlg, CWnd* from, bool back)
{
    std::vector<CWnd*> all = DialogControls(dlg), tabs;
    for (CWnd* w : all)
        if ((w->GetStyle() & WS_TABSTOP) && CanFocus(w)) tabs.push_back(w);
    if (tabs.empty()) return nullptr;
    int n = static_cast<int>(tabs.size());
    int i = IndexIn(tabs, from);
    if (i < 0)
    {
        // From a control that is no tab stop: the next tab stop after it in the dialog order.
        int a = IndexIn(all, from);
        if (a < 0) return back ? tabs.back() : tabs.front();
        for (int k = 1; k <= static_cast<int>(all.size()); ++k)
        {
            int j = (a + (back ? -k : k) + static_cast<int>(all.size()) * 2) % static_cast<int>(all.size());
            int t = IndexIn(tabs, all[static_cast<size_t>(j)]);
            if (t >= 0) return tabs[static_cast<size_t>(t)];
        }
        return nullptr;
    }
    return tabs[static_cast<size_t>((i + (back ? n - 1 : 1)) % n)];
}

CWnd* NextInGroup(CWnd* dlg, CWnd* from, bool back)
{
    std::vector<CWnd*> all = DialogControls(dlg);
    int i = IndexIn(all, from);
    if (i < 0) return nullptr;
    int start = i;
    while (start > 0 && !(all[static_cast<size_t>(start)]->GetStyle() & WS_GROUP)) --start;
    int end = i + 1;
    while (end < static_cast<int>(all.size()) && !(all[static_cast<size_t>(end)]->GetStyle() & WS_GROUP)) ++end;
    int n = end - start;
    for (int k = 1; k < n; ++k)
    {
        int j = start + ((i - start) + (back ? n - k : k)) % n;
        CWnd* w = all[static_cast<size_t>(j)];
        if (CanFocus(w)) return w;
    }
    return nullptr;
}

void GotoControl(CWnd* w)
{
    if (!w) return;
    w->SetFocus();
    if (w->SendMessage(WM_GETDLGCODE) & DLGC_HASSETSEL) w->SendMessage(EM_SETSEL, 0, static_cast<LPARAM>(-1));
}

CWnd* FindControl(CWnd* dlg, UINT id)
{
    for (CWnd* w : DialogControls(dlg))
        if (static_cast<UINT>(w->GetDlgCtrlID()) == id) return w;
    return nullptr;
}

// Sends the command of a button (Enter, Escape) to the window that owns it.
void PressCommand(CWnd* dlg, UINT id, CWnd* button)
{
    if (button && !button->IsWindowEnabled())
    {
        MessageBeep(0);
        return;
    }
    CWnd* target = button && button->GetParent() ? button->GetParent() : dlg;
    target->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                        reinterpret_cast<LPARAM>(button ? button->m_hWnd : nullptr));
}

class DialogKeyFilter : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress || !o->isWidgetType()) return false;
        if (QApplication::activePopupWidget()) return false; // an open drop-down has the keys
        // A message box over the dialog is a window of its own: its Enter and Escape are its own.
        CWnd* wnd = KeyWindowFromWidget(static_cast<QWidget*>(o));
        if (!wnd || !wnd->m_hWnd) return false;
        CWnd* top = TopDialogOf(wnd);
        if (!top || !(top->IsKindOf(RUNTIME_CLASS(CDialog)) || top->IsKindOf(RUNTIME_CLASS(CPropertySheet))))
            return false;
        auto* ke = static_cast<QKeyEvent*>(e);
        MSG msg = KeyMessage(wnd->m_hWnd, *ke);
        if (!msg.message) return false;
        NoteInputState(ke->modifiers(), QApplication::mouseButtons());
        if (!WalkPreTranslate(wnd, &msg)) return false;
        e->accept();
        return true;
    }
};

} // namespace

std::vector<CWnd*> DialogControls(const CWnd* dlg)
{
    std::vector<CWnd*> out;
    if (dlg && dlg->m_hWnd) CollectControls(dlg, out);
    return out;
}

BOOL DialogKey(CWnd* dlg, MSG* msg, UINT defId)
{
    if (!dlg || !msg || msg->message != WM_KEYDOWN) return FALSE;
    CWnd* ctl = CWnd::FromHandle(msg->hwnd);
    if (ctl == dlg) ctl = nullptr;
    UINT code =
        ctl ? static_cast<UINT>(ctl->SendMessage(WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg))) : 0;
    bool multiEdit = IsClass(ctl, WC_EDIT) && (ctl->GetStyle() & ES_MULTILINE);
    UINT vk = static_cast<UINT>(msg->wParam);
    switch (vk)
    {
    case VK_TAB: {
        if ((code & DLGC_WANTTAB) || ((code & DLGC_WANTALLKEYS) && !multiEdit)) return FALSE;
        if (GetKeyState(VK_CONTROL) < 0) return FALSE;
        GotoControl(NextTab(dlg, ctl, GetKeyState(VK_SHIFT) < 0));
        return TRUE;
    }
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        if (!ctl || (code & (DLGC_WANTARROWS | DLGC_WANTALLKEYS))) return FALSE;
        CWnd* next = NextInGroup(dlg, ctl, vk == VK_LEFT || vk == VK_UP);
        if (!next) return TRUE;
        next->SetFocus();
        if ((next->SendMessage(WM_GETDLGCODE) & DLGC_RADIOBUTTON) &&
            (next->GetStyle() & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
            next->SendMessage(BM_CLICK);
        return TRUE;
    }
    case VK_RETURN: {
        if ((code & DLGC_WANTALLKEYS) && !(multiEdit && !(ctl->GetStyle() & ES_WANTRETURN))) return FALSE;
        if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))
        {
            PressCommand(dlg, static_cast<UINT>(ctl->GetDlgCtrlID()), ctl);
            return TRUE;
        }
        PressCommand(dlg, defId, FindControl(dlg, defId));
        return TRUE;
    }
    case VK_ESCAPE: {
        if ((code & DLGC_WANTALLKEYS) && !multiEdit) return FALSE;
        PressCommand(dlg, IDCANCEL, FindControl(dlg, IDCANCEL));
        return TRUE;
    }
    default: return FALSE;
    }
}

void EnsureDialogKeyFilter()
{
    static DialogKeyFilter* filter = nullptr;
    if (filter || !QCoreApplication::instance()) return;
    filter = new DialogKeyFilter(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}

} // namespace qor::gui

// ---- CDialog ------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CDialogEx, CDialog)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;
CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd)
{}
CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd)
{}

CDialog::~CDialog()
{
    if (m_hWnd) DestroyWindow();
    m_templateControls.clear();
}

const DialogTemplate* CDialog::GetTemplate() const
{
    return m_pTemplate ? m_pTemplate : FindDialogTemplate(m_lpszTemplateName);
}

CSize CDialog::BaseUnitsOf(const DialogTemplate* tmpl, std::unique_ptr<CFont>* fontOut)
{
    LOGFONT lf{};
    int points = tmpl && tmpl->pointSize > 0 ? tmpl->pointSize : 8;
    lf.lfHeight = -MulDiv(points, 96, 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    LPCTSTR face = tmpl && tmpl->fontName && *tmpl->fontName ? tmpl->fontName : L"MS Shell Dlg";
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    auto font = std::make_unique<CFont>();
    if (!font->CreateFontIndirect(&lf)) return CSize(6, 13);
    // As the platform does: the average width of the 52 letters, rounded, and the height.
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CFont* old = dc.SelectObject(font.get());
    static const wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    CSize ext = dc.GetTextExtent(letters, 52);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    dc.SelectObject(old);
    CSize base((ext.cx / 26 + 1) / 2, tm.tmHeight);
    if (base.cx <= 0 || base.cy <= 0) base = CSize(6, 13);
    if (fontOut) *fontOut = std::move(font);
    return base;
}

void CDialog::MapDialogRect(LPRECT r) const
{
    if (!r) return;
    CSize b = m_baseUnits.cx ? m_baseUnits : BaseUnitsOf(GetTemplate(), nullptr);
    r->left = MulDiv(r->left, b.cx, 4);
    r->right = MulDiv(r->right, b.cx, 4);
    r->top = MulDiv(r->top, b.cy, 8);
    r->bottom = MulDiv(r->bottom, b.cy, 8);
}

namespace {
std::unique_ptr<CWnd> MakeControlObject(LPCTSTR cls)
{
    if (SameClass(cls, WC_EDIT)) return std::make_unique<CEdit>();
    if (SameClass(cls, WC_BUTTON)) return std::make_unique<CButton>();
    if (SameClass(cls, WC_STATIC)) return std::make_unique<CStatic>();
    if (SameClass(cls, WC_COMBOBOX)) return std::make_unique<CComboBox>();
    if (SameClass(cls, WC_LISTBOX)) return std::make_unique<CListBox>();
    if (SameClass(cls, PROGRESS_CLASS)) return std::make_unique<CProgressCtrl>();
    if (SameClass(cls, WC_SCROLLBAR)) return std::make_unique<CScrollBar>();
    return std::make_unique<CWnd>();
}
} // namespace

LPCTSTR qor::gui::DialogWindowClass()
{
    static bool done = false;
    if (!done)
    {
        done = true;
        WNDCLASS wc{};
        if (!GetClassInfo(nullptr, L"#32770", &wc))
        {
            wc.style = CS_DBLCLKS | CS_SAVEBITS;
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::intptr_t>(COLOR_3DFACE + 1));
            wc.lpszClassName = L"#32770";
            RegisterClass(&wc);
        }
    }
    return L"#32770";
}

BOOL CDialog::CreateFromTemplate(const DialogTemplate* tmpl, CWnd* pParent, bool child, const RECT* childRect)
{
    if (!tmpl || m_hWnd) return FALSE;
    InitApplication();
    EnsureDialogKeyFilter();
    m_pTemplate = tmpl;
    m_templateControls.clear();
    m_baseUnits = BaseUnitsOf(tmpl, &m_font);
    CRect client(0, 0, tmpl->cx, tmpl->cy);
    MapDialogRect(&client);

    DWORD style = tmpl->style & ~WS_VISIBLE;
    BOOL ok;
    if (child)
    {
        style = (style & ~(WS_POPUP | WS_CAPTION | WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_SYSMENU)) | WS_CHILD;
        CRect r = childRect ? CRect(*childRect) : CRect(0, 0, client.Width(), client.Height());
        ok = CreateEx(tmpl->exStyle | WS_EX_CONTROLPARENT, DialogWindowClass(), tmpl->caption, style, r, pParent, 0);
    }
    else
    {
        // A top-level dialog: the frame and caption are the window system's, outside the client.
        // The sizing border stays in the style: it says whether the user may size the dialog.
        style &= ~(WS_POPUP | WS_CHILD | WS_BORDER | WS_DLGFRAME);
        ok = CreateEx(tmpl->exStyle & ~(WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME), DialogWindowClass(), tmpl->caption,
                      style, CRect(0, 0, client.Width(), client.Height()), pParent, 0);
        if (ok)
        {
            QWidget* w = StateOf(this)->widget;
            QWidget* ownerWidget =
                pParent ? WidgetOf(pParent->GetTopLevelParent() ? pParent->GetTopLevelParent() : pParent) : nullptr;
            if (ownerWidget) ownerWidget = ownerWidget->window();
            w->setParent(ownerWidget, DialogFrameFlags(style));
            w->setWindowTitle(ToQString(tmpl->caption));
            StateOf(this)->PlaceWidget();
        }
    }
    if (!ok || !m_hWnd) return FALSE;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*m_font)), 0);

    m_nDefID = IDOK;
    for (std::size_t i = 0; i < tmpl->itemCount; ++i)
    {
        const DialogItem& item = tmpl->items[i];
        CRect r(item.x, item.y, item.x + item.cx, item.y + item.cy);
        MapDialogRect(&r);
        DWORD cs = (item.style & ~WS_POPUP) | WS_CHILD | (item.hidden ? 0 : WS_VISIBLE);
        auto ctl = MakeControlObject(item.className);
        if (!ctl->CreateEx(item.exStyle, item.className, item.text ? item.text : L"", cs, r, this, item.id))
        {
            DestroyWindow();
            m_templateControls.clear();
            return FALSE;
        }
        ctl->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*m_font)), 0);
        if (SameClass(item.className, WC_BUTTON) && (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) m_nDefID = item.id;
        m_templateControls.push_back(std::move(ctl));
    }

    CWnd* first = qor::gui::NextTab(this, nullptr, false);
    LRESULT focus = SendMessage(WM_INITDIALOG, reinterpret_cast<WPARAM>(first ? first->m_hWnd : nullptr), 0);
    if (!m_hWnd) return FALSE;
    // The first focus goes when the window is shown (a hidden window takes none).
    m_bFocusFirst = focus != 0 && !child;
    return TRUE;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) { return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd); }
BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (pParentWnd) m_pParentWnd = pParentWnd;
    return CreateIndirect(FindDialogTemplate(lpszTemplateName), m_pParentWnd);
}
BOOL CDialog::CreateIndirect(const DialogTemplate* pTemplate, CWnd* pParentWnd)
{
    if (pParentWnd) m_pParentWnd = pParentWnd;
    m_bEnded = false;
    m_nModalResult = -1;
    if (!CreateFromTemplate(pTemplate, m_pParentWnd, false, nullptr)) return FALSE;
    if (pTemplate->style & WS_VISIBLE)
    {
        CenterWindow(m_pParentWnd);
        ShowWindow(SW_SHOW);
        FocusFirst();
    }
    return TRUE;
}
BOOL CDialog::InitModalIndirect(const DialogTemplate* pTemplate, CWnd* pParentWnd)
{
    m_pTemplate = pTemplate;
    if (pParentWnd) m_pParentWnd = pParentWnd;
    return pTemplate != nullptr;
}

INT_PTR CDialog::DoModal()
{
    const DialogTemplate* tmpl = GetTemplate();
    if (!tmpl || m_hWnd) return -1;
    m_bEnded = false;
    m_nModalResult = -1;
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    const HWND owner = parent ? parent->GetSafeHwnd() : nullptr;
    m_bInModalLoop = true;
    if (!CreateFromTemplate(tmpl, parent, false, nullptr))
    {
        m_bInModalLoop = false;
        m_templateControls.clear();
        return -1;
    }
    if (!m_bEnded)
    {
        QWidget* w = StateOf(this)->widget;
        w->setWindowModality(Qt::ApplicationModal);
        CenterWindow(parent);
        ShowWindow(SW_SHOW);
        FocusFirst();
        if (!RunModalLoop(*this, m_bEnded, &m_loop)) EndDialog(IDCANCEL);
    }
    m_bInModalLoop = false;
    int result = m_nModalResult;
    if (m_hWnd)
    {
        ShowWindow(SW_HIDE);
        DestroyWindow();
    }
    m_templateControls.clear();
    ReactivateOwner(owner);
    return result;
}

void CDialog::FocusFirst()
{
    if (!m_bFocusFirst || !m_hWnd) return;
    m_bFocusFirst = false;
    if (CWnd* f = CWnd::GetFocus(); f && IsChild(f)) return; // OnInitDialog chose one
    GotoControl(qor::gui::NextTab(this, nullptr, false));
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bEnded = true;
    if (m_loop)
        QuitModalLoop(m_loop);
    else if (!m_bInModalLoop && m_hWnd && !(GetStyle() & WS_CHILD))
        ShowWindow(SW_HIDE);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    if (!m_hWnd) return FALSE;
    CDataExchange dx(this, bSaveAndValidate);
    try
    {
        DoDataExchange(&dx);
    }
    catch (const CUserException&)
    {
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (!pMsg || !m_hWnd) return FALSE;
    // A child dialog (a property page) leaves the keys to the window that holds it.
    if (GetStyle() & WS_CHILD) return FALSE;
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) return IsDialogMessage(pMsg);
    return FALSE;
}

BOOL CDialog::IsDialogMessage(LPMSG lpMsg) { return DialogKey(this, lpMsg, LOWORD(GetDefID())); }

DWORD CDialog::GetDefID() const { return MAKELONG(static_cast<WORD>(m_nDefID), DC_HASDEFID); }

void CDialog::SetDefID(UINT nID)
{
    if (CWnd* old = GetDlgItem(static_cast<int>(m_nDefID));
        old && (old->SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON))
        old->SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    m_nDefID = nID;
    if (CWnd* now = GetDlgItem(static_cast<int>(nID)); now && (now->SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON))
        now->SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void CDialog::NextDlgCtrl() const
{
    GotoControl(qor::gui::NextTab(const_cast<CDialog*>(this), CWnd::GetFocus(), false));
}
void CDialog::PrevDlgCtrl() const
{
    GotoControl(qor::gui::NextTab(const_cast<CDialog*>(this), CWnd::GetFocus(), true));
}
void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) { GotoControl(pWndCtrl); }
CWnd* CDialog::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    return qor::gui::NextTab(const_cast<CDialog*>(this), pWndCtl, bPrevious != FALSE);
}
CWnd* CDialog::GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    return qor::gui::NextInGroup(const_cast<CDialog*>(this), pWndCtl, bPrevious != FALSE);
}

void CDialog::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
        if (CWnd* w = GetDlgItem(id)) w->SendMessage(BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED);
}
int CDialog::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton)
{
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
        if (CWnd* w = GetDlgItem(id); w && w->SendMessage(BM_GETCHECK) == BST_CHECKED) return id;
    return 0;
}
void CDialog::CheckDlgButton(int nIDButton, UINT nCheck)
{
    if (CWnd* w = GetDlgItem(nIDButton)) w->SendMessage(BM_SETCHECK, nCheck);
}
UINT CDialog::IsDlgButtonChecked(int nIDButton) const
{
    CWnd* w = GetDlgItem(nIDButton);
    return w ? static_cast<UINT>(w->SendMessage(BM_GETCHECK)) : 0;
}
UINT CDialog::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const
{
    if (lpTrans) *lpTrans = FALSE;
    CString text;
    if (!GetDlgItem(nID)) return 0;
    GetDlgItemText(nID, text);
    long long v = 0;
    if (!ParseWholeInteger(text, v, !bSigned)) return 0;
    if (bSigned ? (v < INT32_MIN || v > INT32_MAX) : (v < 0 || v > static_cast<long long>(UINT32_MAX))) return 0;
    if (lpTrans) *lpTrans = TRUE;
    return static_cast<UINT>(v);
}
void CDialog::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned)
{
    CString s;
    if (bSigned)
        s.Format(L"%d", static_cast<int>(nValue));
    else
        s.Format(L"%u", nValue);
    SetDlgItemText(nID, s);
}
LRESULT CDialog::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* w = GetDlgItem(nID);
    return w ? w->SendMessage(message, wParam, lParam) : 0;
}
void CDialog::GetDlgItem(int nID, HWND* phWnd) const
{
    CWnd* w = GetDlgItem(nID);
    if (phWnd) *phWnd = w ? w->m_hWnd : nullptr;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
    {
        // A map entry for WM_INITDIALOG (ON_MESSAGE) comes first; otherwise OnInitDialog.
        LRESULT r = 0;
        if (OnWndMsg(message, wParam, lParam, &r)) return r;
        return OnInitDialog();
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_CLOSE: {
        CWnd* cancel = GetDlgItem(IDCANCEL);
        if (cancel && !cancel->IsWindowEnabled()) return 0;
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                    reinterpret_cast<LPARAM>(cancel ? cancel->m_hWnd : nullptr));
        return 0;
    }
    case DM_GETDEFID: return static_cast<LRESULT>(GetDefID());
    case DM_SETDEFID: SetDefID(static_cast<UINT>(wParam)); return TRUE;
    case WM_NEXTDLGCTL:
        if (LOWORD(lParam))
            GotoControl(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
        else if (wParam)
            PrevDlgCtrl();
        else
            NextDlgCtrl();
        return 0;
    case WM_GETDLGCODE: return 0;
    default: return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

void CDialog::PostNcDestroy() { CWnd::PostNcDestroy(); }

void CDialogEx::SetBackgroundColor(COLORREF, BOOL bRepaint)
{
    if (bRepaint && m_hWnd) Invalidate();
}
