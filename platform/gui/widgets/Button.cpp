// Push buttons, check boxes, radio buttons and group boxes over their toolkit controls: the BM_
// messages and BN_CLICKED; and the wrapper class CButton.
#include "platform/gui/widgets/ControlsInternal.h"

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>

namespace qor::gui {

namespace {

// Check boxes and radio buttons answer a click anywhere in their window, as the system's do.
template <class Button>
class WholeAreaButton : public Button
{
public:
    using Button::Button;

protected:
    bool hitButton(const QPoint& p) const override { return this->rect().contains(p); }
};

class ButtonControl : public ControlBase
{
public:
    QAbstractButton* button = nullptr;
    QGroupBox* group = nullptr;
    UINT type = 0;
    int check = BST_UNCHECKED;
    bool pushed = false;

    UINT CtlColorMessage(const WndState*) const override
    {
        return (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW) ? WM_CTLCOLORBTN
                                                                                           : WM_CTLCOLORSTATIC;
    }
    void ColorRoles(QPalette::ColorRole& text, QPalette::ColorRole& back) const override
    {
        bool push = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
        text = push ? QPalette::ButtonText : QPalette::WindowText;
        back = push ? QPalette::Button : QPalette::Window;
    }

    explicit ButtonControl(WndState* s, QWidget* parentWidget)
    {
        type = s->style & BS_TYPEMASK;
        QString text = ToQString(s->text);
        switch (type)
        {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE: {
            auto* h = new Host<WholeAreaButton<QCheckBox>>(s, true, text, parentWidget);
            h->setTristate(type == BS_3STATE || type == BS_AUTO3STATE);
            button = h;
            s->widget = h;
            s->host = h;
            break;
        }
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: {
            auto* h = new Host<WholeAreaButton<QRadioButton>>(s, true, text, parentWidget);
            h->setAutoExclusive(false); // groups are the dialog's (WS_GROUP), handled below
            button = h;
            s->widget = h;
            s->host = h;
            break;
        }
        case BS_GROUPBOX: {
            auto* h = new Host<QGroupBox>(s, true, text, parentWidget);
            group = h;
            s->widget = h;
            s->host = h;
            break;
        }
        default: {
            auto* h = new Host<QPushButton>(s, true, text, parentWidget);
            h->setAutoDefault(false);
            h->setDefault(type == BS_DEFPUSHBUTTON);
            button = h;
            s->widget = h;
            s->host = h;
            break;
        }
        }
    }

    bool Checkable() const { return (type >= BS_CHECKBOX && type <= BS_AUTO3STATE) || type == BS_AUTORADIOBUTTON; }
    bool Auto() const { return type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON; }
    bool Radio() const { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }

    void Show()
    {
        if (!button) return;
        QSignalBlocker block(button);
        if (auto* cb = qobject_cast<QCheckBox*>(button))
            cb->setCheckState(check == BST_CHECKED         ? Qt::Checked
                              : check == BST_INDETERMINATE ? Qt::PartiallyChecked
                                                           : Qt::Unchecked);
        else if (Checkable())
            button->setChecked(check == BST_CHECKED);
    }

    // An automatic radio button checked by the user unchecks the others of its group
    // (the siblings between WS_GROUP marks).
    static void UncheckGroup(CWnd* self)
    {
        CWnd* first = self;
        for (CWnd* w = self; w; w = w->GetWindow(GW_HWNDPREV))
        {
            first = w;
            if (w->GetStyle() & WS_GROUP) break;
        }
        for (CWnd* w = first; w; w = w->GetWindow(GW_HWNDNEXT))
        {
            if (w != first && (w->GetStyle() & WS_GROUP)) break;
            WndState* ws = StateOf(w);
            if (w != self && ws && dynamic_cast<ButtonControl*>(ws->native.get()) &&
                (w->GetStyle() & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                w->SendMessage(BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }

    void Created(WndState* s) override
    {
        if (!button) return;
        HWND h = s->handle;
        if (Checkable()) button->setCheckable(true);
        Show();
        QObject::connect(button, &QAbstractButton::clicked, button, [this, h](bool) {
            WndState* st = StateOf(h);
            if (!st) return;
            if (Auto())
            {
                if (type == BS_AUTORADIOBUTTON)
                    check = BST_CHECKED;
                else if (type == BS_AUTO3STATE)
                    check = (check + 1) % 3;
                else
                    check = check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
            }
            Show(); // a button that is not automatic keeps its state: its owner decides
            if (type == BS_AUTORADIOBUTTON) UncheckGroup(st->wnd);
            if (IsLiveHandle(h)) NotifyParent(st, BN_CLICKED);
        });
    }

    bool Control(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        *result = 0;
        switch (msg)
        {
        case WM_SETTEXT: {
            QString t = ToQString(reinterpret_cast<LPCTSTR>(lParam));
            if (button) button->setText(t);
            if (group) group->setTitle(t);
            s->text = FromQString(t);
            *result = TRUE;
            return true;
        }
        case WM_GETDLGCODE:
            if (group)
                *result = DLGC_STATIC;
            else if (Radio())
                *result = DLGC_BUTTON | DLGC_RADIOBUTTON;
            else if (Checkable())
                *result = DLGC_BUTTON;
            else
                *result = DLGC_BUTTON | (type == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
            return true;
        case BM_GETCHECK: *result = Checkable() ? check : BST_UNCHECKED; return true;
        case BM_SETCHECK:
            if (Checkable())
            {
                check = static_cast<int>(wParam);
                if (check == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE) check = BST_CHECKED;
                Show();
            }
            return true;
        case BM_GETSTATE:
            *result = (Checkable() ? check : 0) | (pushed ? BST_PUSHED : 0) | (FocusWindow() == s->wnd ? BST_FOCUS : 0);
            return true;
        case BM_SETSTATE:
            pushed = wParam != 0;
            if (button) button->setDown(pushed);
            return true;
        case BM_SETSTYLE: {
            UINT next = static_cast<UINT>(wParam) & BS_TYPEMASK;
            s->style = (s->style & ~BS_TYPEMASK) | next;
            if (auto* pb = qobject_cast<QPushButton*>(button)) pb->setDefault(next == BS_DEFPUSHBUTTON);
            if (qobject_cast<QPushButton*>(button) && (next == BS_PUSHBUTTON || next == BS_DEFPUSHBUTTON)) type = next;
            return true;
        }
        case BM_CLICK:
            if (button && button->isEnabled()) button->click();
            return true;
        default: return false;
        }
    }
};

} // namespace

NativeControl* NewButtonControl(WndState* s, QWidget* parentWidget) { return new ButtonControl(s, parentWidget); }

} // namespace qor::gui

using namespace qor::gui;
using namespace qor::gui::wrap;

// ---- CButton ---------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CButton, CWnd)

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_BUTTON, lpszCaption, dwStyle, rect, pParentWnd, nID);
}
int CButton::GetCheck() const { return static_cast<int>(Send(this, BM_GETCHECK)); }
void CButton::SetCheck(int nCheck) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
UINT CButton::GetState() const { return static_cast<UINT>(Send(this, BM_GETSTATE)); }
void CButton::SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, static_cast<WPARAM>(bHighlight)); }
UINT CButton::GetButtonStyle() const { return GetStyle() & 0xFFFFu; }
void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw) { SendMessage(BM_SETSTYLE, nStyle, bRedraw); }
void CButton::Click() { SendMessage(BM_CLICK); }
