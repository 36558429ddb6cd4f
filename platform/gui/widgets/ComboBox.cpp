// The combo box over QComboBox (a drop-down one with an edit part that is a window of its own):
// the CB_ messages and CBN_ notifications; and its wrapper class CComboBox.
#include "platform/gui/widgets/ControlsInternal.h"

#include <QtGui/QKeyEvent>
#include <QtGui/QScreen>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

namespace qor::gui {

namespace {

class ComboWidget : public QComboBox
{
public:
    using QComboBox::QComboBox;
    std::function<void(bool)> onPopup;
    bool dropped = false;
    void showPopup() override
    {
        if (onPopup) onPopup(true);
        dropped = true;
        QComboBox::showPopup();
        PlaceListUnderField();
        NotePopupShown(); // the list's activation comes later, if its window is still there
    }
    void PlaceListUnderField();
    void hidePopup() override
    {
        QComboBox::hidePopup();
        bool was = dropped;
        dropped = false;
        if (was && onPopup) onPopup(false);
    }
};

// Some styles open the list over the field, on the current item; the system's list opens
// under the field, or above it when the screen has no room below.
void ComboWidget::PlaceListUnderField()
{
    QWidget* list = view() ? view()->window() : nullptr;
    if (!list || list == window()) return;
    const QPoint below = mapToGlobal(QPoint(0, height()));
    const QRect screenArea = screen() ? screen()->availableGeometry() : QRect();
    int x = below.x(), y = below.y();
    if (screenArea.isValid())
    {
        if (y + list->height() > screenArea.bottom() + 1)
        {
            const int above = mapToGlobal(QPoint(0, 0)).y() - list->height();
            if (above >= screenArea.top()) y = above;
        }
        x = std::max(screenArea.left(), std::min(x, screenArea.right() + 1 - list->width()));
    }
    list->move(x, y);
}

class ComboControl : public ControlBase
{
public:
    ComboWidget* box = nullptr;
    std::unique_ptr<CEdit> editPart; // the edit part's window object (another may subclass it)
    HWND editHandle = nullptr;
    bool programmatic = false;
    int droppedWidth = 0;
    int fieldHeight = 0; // CB_SETITEMHEIGHT with -1; 0: from the font
    int itemHeight = 0;  // the list's lines; 0: from the font
    UINT extent = 0;

    explicit ComboControl(WndState* s, QWidget* parentWidget)
    {
        auto* h = new Host<ComboWidget>(s, true, parentWidget);
        box = h;
        s->widget = h;
        s->host = h;
        box->setMaxVisibleItems(30);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setDuplicatesEnabled(true);
    }

    bool HasEdit(const WndState* s) const { return (s->style & 0x3u) != CBS_DROPDOWNLIST; }
    bool HasDropDown(const WndState* s) const { return (s->style & 0x3u) != CBS_SIMPLE; }

    int FieldHeight() const { return fieldHeight > 0 ? fieldHeight : box->sizeHint().height(); }
    int ShownHeight(const WndState* s, int height) const override { return HasDropDown(s) ? FieldHeight() : height; }
    // The field's height has changed: the toolkit control follows.
    void FitField(WndState* s)
    {
        if (s->widget) s->PlaceWidget();
    }
    void FontChanged(WndState* s) override { FitField(s); }

    void Created(WndState* s) override
    {
        HWND h = s->handle;
        if (HasEdit(s))
        {
            box->setEditable(true);
            editPart = std::make_unique<CEdit>();
            DWORD es = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
            if (s->style & CBS_UPPERCASE) es |= ES_UPPERCASE;
            if (s->style & CBS_LOWERCASE) es |= ES_LOWERCASE;
            if (editPart->CreateEx(0, WC_EDIT, s->text, es, CRect(0, 0, std::max(s->cx, 1), std::max(s->cy, 1)), s->wnd,
                                   IDC_COMBOEDIT))
            {
                WndState* es2 = StateOf(editPart.get());
                es2->widgetOwnedByControl = true;
                editHandle = editPart->m_hWnd;
                QLineEdit* le = MakeComboEditPart(es2, h);
                box->setLineEdit(le);
                // The edit part takes the keyboard, as the system's combo box's edit does.
                le->setFocusProxy(nullptr);
                le->setFocusPolicy(Qt::StrongFocus);
                box->setFocusProxy(le);
                le->setContextMenuPolicy(Qt::NoContextMenu);
            }
        }
        QObject::connect(box, &QComboBox::currentIndexChanged, box, [this, h](int) {
            if (!programmatic && IsLiveHandle(h)) NotifyParent(StateOf(h), CBN_SELCHANGE);
        });
        QObject::connect(box, &QComboBox::activated, box, [h](int) {
            if (IsLiveHandle(h)) NotifyParent(StateOf(h), CBN_SELENDOK);
        });
        box->onPopup = [this, h](bool shown) {
            WndState* st = StateOf(h);
            if (!st) return;
            if (shown)
            {
                NotifyParent(st, CBN_DROPDOWN);
                if (box->view()) box->view()->setMinimumWidth(std::max(droppedWidth, 0));
            }
            else
            {
                NotifyParent(st, CBN_CLOSEUP);
            }
        };
    }

    CWnd* Edit() const { return editHandle ? CWnd::FromHandle(editHandle) : nullptr; }

    ListItems ItemsOf() const
    {
        return {box->count(), [this](int i) { return box->itemText(i); },
                [this](int i) { return box->itemData(i, Qt::UserRole).toULongLong(); },
                [this](int i, qulonglong data) { box->setItemData(i, QVariant::fromValue(data), Qt::UserRole); }};
    }

    QStringList Items() const
    {
        QStringList l;
        for (int i = 0; i < box->count(); ++i) l << box->itemText(i);
        return l;
    }

    template <class F>
    void Quietly(F f)
    {
        bool saved = programmatic;
        programmatic = true;
        f();
        programmatic = saved;
    }

    QString Text(const WndState* s) const
    {
        if (HasEdit(s))
        {
            CWnd* e = Edit();
            CString t;
            if (e) e->GetWindowText(t);
            return ToQString(t.GetString());
        }
        return box->currentIndex() >= 0 ? box->currentText() : QString();
    }

    int Insert(WndState* s, int index, const QString& text, bool sorted)
    {
        int n = box->count();
        if (index < 0 || index > n) index = n;
        if (sorted && (s->style & CBS_SORT)) index = SortedPosition(Items(), text);
        Quietly([&] {
            QString keep = HasEdit(s) ? Text(s) : QString();
            box->insertItem(index, text);
            // Adding an entry neither selects it nor changes the edit part's text.
            if (box->currentIndex() != -1 && n == 0) box->setCurrentIndex(-1);
            if (HasEdit(s) && Text(s) != keep) SetEditText(keep);
        });
        return index;
    }

    void SetEditText(const QString& t)
    {
        if (CWnd* e = Edit())
        {
            SetComboEditText(StateOf(e), t);
        }
    }

    void Select(WndState* s, int index)
    {
        Quietly([&] {
            box->setCurrentIndex(index);
            if (HasEdit(s)) SetEditText(index >= 0 ? box->itemText(index) : QString());
        });
    }

    UINT SetFocusCode() const override { return editHandle ? 0xFFFF : CBN_SETFOCUS; }
    UINT KillFocusCode() const override { return editHandle ? 0xFFFF : CBN_KILLFOCUS; }

    bool Control(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        *result = 0;
        if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC)
        {
            // The edit part's colours are the owner's to choose.
            CWnd* parent = s->parent ? s->parent : s->owner;
            if (!parent || !parent->m_hWnd) return false;
            *result = parent->SendMessage(msg, wParam, lParam);
            return true;
        }
        int n = box->count();
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        auto bad = [&]() {
            *result = CB_ERR;
            return true;
        };
        switch (msg)
        {
        case WM_SETTEXT:
            if (!HasEdit(s)) return bad();
            if (CWnd* e = Edit()) e->SetWindowText(reinterpret_cast<LPCTSTR>(lParam));
            *result = TRUE;
            return true;
        case WM_GETTEXT:
            *result = CopyOut(Text(s), reinterpret_cast<LPTSTR>(lParam), static_cast<int>(wParam));
            return true;
        case WM_GETTEXTLENGTH: *result = WideLength(Text(s)); return true;
        case WM_SETFOCUS:
            Common(s, msg, wParam, lParam, result);
            // The focus goes on to the edit part; the box reports it arriving from outside.
            if (CWnd* e = Edit())
            {
                if (reinterpret_cast<HWND>(wParam) != e->m_hWnd) NotifyParent(s, CBN_SETFOCUS);
                e->SetFocus();
            }
            return true;
        case WM_CHAR:
            if (CWnd* e = Edit())
                e->SendMessage(WM_CHAR, wParam, lParam);
            else
                ToolkitChar(s, static_cast<wchar_t>(wParam));
            return true;
        case WM_GETDLGCODE: *result = DLGC_WANTCHARS | DLGC_WANTARROWS; return true;
        case CB_ADDSTRING: *result = Insert(s, n, ToQString(reinterpret_cast<LPCTSTR>(lParam)), true); return true;
        case CB_INSERTSTRING:
            if (index > n) return bad();
            *result = Insert(s, index < 0 ? n : index, ToQString(reinterpret_cast<LPCTSTR>(lParam)), false);
            return true;
        case CB_DELETESTRING:
            if (index < 0 || index >= n) return bad();
            Quietly([&] {
                QString keep = HasEdit(s) ? Text(s) : QString();
                box->removeItem(index);
                if (HasEdit(s)) SetEditText(keep);
            });
            *result = n - 1;
            return true;
        case CB_RESETCONTENT:
            Quietly([&] {
                box->clear();
                if (HasEdit(s)) SetEditText(QString());
            });
            return true;
        case CB_GETCOUNT: *result = n; return true;
        case CB_GETCURSEL: *result = box->currentIndex() >= 0 ? box->currentIndex() : CB_ERR; return true;
        case CB_SETCURSEL:
            if (index < -1 || index >= n)
            {
                Select(s, -1);
                return bad();
            }
            Select(s, index);
            *result = index;
            return true;
        case CB_GETLBTEXT: *result = AnswerItemMessage(ItemsOf(), ItemMessage::GetText, wParam, lParam); return true;
        case CB_GETLBTEXTLEN:
            *result = AnswerItemMessage(ItemsOf(), ItemMessage::GetTextLength, wParam, lParam);
            return true;
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT:
        case CB_SELECTSTRING: {
            const ItemMessage find = msg == CB_FINDSTRINGEXACT ? ItemMessage::FindExact : ItemMessage::Find;
            *result = AnswerItemMessage(ItemsOf(), find, wParam, lParam);
            if (msg == CB_SELECTSTRING && *result >= 0) Select(s, static_cast<int>(*result));
            return true;
        }
        case CB_GETITEMDATA: *result = AnswerItemMessage(ItemsOf(), ItemMessage::GetData, wParam, lParam); return true;
        case CB_SETITEMDATA: *result = AnswerItemMessage(ItemsOf(), ItemMessage::SetData, wParam, lParam); return true;
        case CB_SHOWDROPDOWN:
            if (wParam && !box->dropped)
                box->showPopup();
            else if (!wParam && box->dropped)
                box->hidePopup();
            *result = TRUE;
            return true;
        case CB_GETDROPPEDSTATE: *result = box->dropped ? TRUE : FALSE; return true;
        case CB_SETDROPPEDWIDTH:
            droppedWidth = static_cast<int>(wParam);
            *result = std::max(droppedWidth, s->cx);
            return true;
        case CB_GETDROPPEDWIDTH: *result = std::max(droppedWidth, s->cx); return true;
        case CB_SETITEMHEIGHT:
            if (static_cast<int>(lParam) <= 0 || lParam > 255) return bad();
            if (static_cast<int>(wParam) == -1)
            {
                fieldHeight = static_cast<int>(lParam);
                FitField(s);
            }
            else
            {
                itemHeight = static_cast<int>(lParam);
            }
            *result = 0;
            return true;
        case CB_GETITEMHEIGHT:
            if (static_cast<int>(wParam) == -1)
                *result = FieldHeight();
            else
                *result = itemHeight > 0 ? itemHeight : box->fontMetrics().height() + 2;
            return true;
        case CB_SETHORIZONTALEXTENT: extent = static_cast<UINT>(wParam); return true;
        case CB_GETHORIZONTALEXTENT: *result = static_cast<LRESULT>(extent); return true;
        case CB_GETEDITSEL:
            if (CWnd* e = Edit())
                *result = e->SendMessage(EM_GETSEL, wParam, lParam);
            else
                return bad();
            return true;
        case CB_SETEDITSEL:
            if (CWnd* e = Edit())
            {
                e->SendMessage(EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                               static_cast<LPARAM>(static_cast<short>(HIWORD(lParam))));
                *result = TRUE;
                return true;
            }
            return bad();
        case CB_LIMITTEXT:
            if (CWnd* e = Edit()) e->SendMessage(EM_LIMITTEXT, wParam, 0);
            *result = TRUE;
            return true;
        case WM_CUT:
        case WM_COPY:
        case WM_PASTE:
        case WM_CLEAR:
            if (CWnd* e = Edit()) e->SendMessage(msg, wParam, lParam);
            return true;
        default: return false;
        }
    }
};

} // namespace

NativeControl* NewComboControl(WndState* s, QWidget* parentWidget) { return new ComboControl(s, parentWidget); }

} // namespace qor::gui

using namespace qor::gui;
using namespace qor::gui::wrap;

// ---- CComboBox -------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_COMBOBOX, nullptr, dwStyle, rect, pParentWnd, nID);
}
int CComboBox::GetCount() const { return static_cast<int>(Send(this, CB_GETCOUNT)); }
int CComboBox::GetCurSel() const { return static_cast<int>(Send(this, CB_GETCURSEL)); }
int CComboBox::SetCurSel(int nSelect)
{
    return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect)));
}
DWORD CComboBox::GetEditSel() const { return static_cast<DWORD>(Send(this, CB_GETEDITSEL)); }
BOOL CComboBox::SetEditSel(int nStartChar, int nEndChar)
{
    return static_cast<BOOL>(
        SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(static_cast<WORD>(nStartChar), static_cast<WORD>(nEndChar))));
}
BOOL CComboBox::LimitText(int nMaxChars)
{
    return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(nMaxChars)));
}
DWORD_PTR CComboBox::GetItemData(int nIndex) const
{
    return static_cast<DWORD_PTR>(Send(this, CB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
}
int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
}
int CComboBox::GetLBText(int nIndex, LPTSTR lpszText) const
{
    return static_cast<int>(Send(this, CB_GETLBTEXT, static_cast<WPARAM>(nIndex), LP(lpszText)));
}
void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    ItemText(this, CB_GETLBTEXTLEN, CB_GETLBTEXT, nIndex, rString);
}
int CComboBox::GetLBTextLen(int nIndex) const
{
    return static_cast<int>(Send(this, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex)));
}
int CComboBox::SetItemHeight(int nIndex, UINT cyItemHeight)
{
    return static_cast<int>(
        SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(cyItemHeight)));
}
int CComboBox::GetItemHeight(int nIndex) const
{
    return static_cast<int>(Send(this, CB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex)));
}
int CComboBox::GetDroppedWidth() const { return static_cast<int>(Send(this, CB_GETDROPPEDWIDTH)); }
int CComboBox::SetDroppedWidth(UINT nWidth) { return static_cast<int>(SendMessage(CB_SETDROPPEDWIDTH, nWidth)); }
void CComboBox::SetHorizontalExtent(UINT nExtent) { SendMessage(CB_SETHORIZONTALEXTENT, nExtent); }
UINT CComboBox::GetHorizontalExtent() const { return static_cast<UINT>(Send(this, CB_GETHORIZONTALEXTENT)); }
void CComboBox::ShowDropDown(BOOL bShowIt) { SendMessage(CB_SHOWDROPDOWN, static_cast<WPARAM>(bShowIt)); }
BOOL CComboBox::GetDroppedState() const { return static_cast<BOOL>(Send(this, CB_GETDROPPEDSTATE)); }
int CComboBox::AddString(LPCTSTR s) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, LP(s ? s : L""))); }
int CComboBox::DeleteString(UINT nIndex) { return static_cast<int>(SendMessage(CB_DELETESTRING, nIndex)); }
int CComboBox::InsertString(int nIndex, LPCTSTR s)
{
    return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(nIndex), LP(s ? s : L"")));
}
void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT); }
int CComboBox::FindString(int nStartAfter, LPCTSTR s) const
{
    return static_cast<int>(Send(this, CB_FINDSTRING, static_cast<WPARAM>(nStartAfter), LP(s ? s : L"")));
}
int CComboBox::FindStringExact(int nIndexStart, LPCTSTR s) const
{
    return static_cast<int>(Send(this, CB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), LP(s ? s : L"")));
}
int CComboBox::SelectString(int nStartAfter, LPCTSTR s)
{
    return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(nStartAfter), LP(s ? s : L"")));
}
void CComboBox::Clear() { SendMessage(WM_CLEAR); }
void CComboBox::Copy() { SendMessage(WM_COPY); }
void CComboBox::Cut() { SendMessage(WM_CUT); }
void CComboBox::Paste() { SendMessage(WM_PASTE); }
