// The tree-view control over the toolkit's tree widget: the TVM_ messages as the control's
// default processing, and the toolkit's selection and expansion turned into TVN_
// notifications to the parent. Mouse and keys reach the toolkit tree only through the
// window's messages, so a subclass (or a capture) sees them first.
#include "platform/gui/widgets/TreeCtrl.h"

#include "platform/core/Messages.h"
#include "platform/gui/draw/SysValues.h"
#include "platform/gui/widgets/ControlsInternal.h"
#include "platform/gui/widgets/ToolBarImagesInternal.h"
#include "platform/gui/window/WndInternal.h"

#include <QtGui/QFocusEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QTreeWidget>

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qor::gui {
namespace {

constexpr int kHandleRole = Qt::UserRole;
constexpr int kParamRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;
constexpr int kSelImageRole = Qt::UserRole + 3;
constexpr int kBoldRole = Qt::UserRole + 4;

// Handles of every tree are drawn from one counter, so none is ever given out twice.
quintptr NextHandle()
{
    static quintptr next = 0x1000;
    return ++next;
}

// An item shows one line of at most 259 characters, as the native tree view does: laying out a
// text of megabytes (a pasted description) for every size hint froze the window for seconds.
QString TextOf(LPCTSTR p)
{
    constexpr int kMaxItemText = 259;
    std::wstring_view text = p ? std::wstring_view(p) : std::wstring_view();
    text = text.substr(0, std::min(text.find_first_of(L"\r\n"), std::size_t{kMaxItemText}));
    return ToQString(std::wstring(text).c_str());
}

// One image of an image list as an icon (masked pixels transparent).
QIcon IconOf(HIMAGELIST list, int index)
{
    IMAGEINFO info{};
    if (!list || index < 0 || !ImageList_GetImageInfo(list, index, &info)) return QIcon();
    BitmapRecord* image = BitmapOf(info.hbmImage);
    if (!image) return QIcon();
    QRect r = ToQRect(info.rcImage);
    QImage picture = image->image.copy(r).convertToFormat(QImage::Format_ARGB32);
    if (BitmapRecord* mask = info.hbmMask ? BitmapOf(info.hbmMask) : nullptr)
    {
        QImage m = mask->image.copy(r);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (qRed(m.pixel(x, y)) > 127) picture.setPixel(x, y, 0);
    }
    return PixelPictureIcon(picture);
}

// The keys the toolkit's tree moves, expands and collapses by; the tree's own keys (editing, deleting) are ours.
bool IsTreeNavigationKey(UINT vk)
{
    switch (vk)
    {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ADD:
    case VK_SUBTRACT:
    case VK_MULTIPLY: return true;
    default: return false;
    }
}

class TreeControl;

// The label editor: Enter keeps the text, Escape drops it, losing the focus keeps it.
class LabelEdit : public CEdit
{
public:
    explicit LabelEdit(HWND tree) : m_tree(tree) {}

protected:
    void PostNcDestroy() override
    {
        CEdit::PostNcDestroy();
        delete this;
    }
    UINT OnGetDlgCode() { return DLGC_WANTALLKEYS; }
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        if (nChar == VK_RETURN || nChar == VK_ESCAPE)
        {
            ::SendMessage(m_tree, TVM_ENDEDITLABELNOW, nChar == VK_ESCAPE ? TRUE : FALSE, 0);
            return;
        }
        CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
    }
    void OnKillFocus(CWnd* pNewWnd)
    {
        CEdit::OnKillFocus(pNewWnd);
        if (IsWindow(m_tree)) ::PostMessage(m_tree, TVM_ENDEDITLABELNOW, FALSE, 0);
    }

private:
    HWND m_tree;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(LabelEdit, CEdit)
ON_WM_GETDLGCODE()
ON_WM_KEYDOWN()
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

class TreeControl : public NativeControl
{
public:
    QTreeWidget* tree = nullptr;
    std::unordered_map<quintptr, QTreeWidgetItem*> items;
    HIMAGELIST images = nullptr;
    UINT cause = TVC_UNKNOWN;
    bool quiet = false;
    quintptr dropHilite = 0;
    quintptr editing = 0;
    LabelEdit* edit = nullptr;
    // A press that may become a drag.
    quintptr pressItem = 0;
    QPoint pressAt;
    bool dragReported = false;

    TreeControl(WndState* s, QWidget* parentWidget)
    {
        auto* h = new Host<QTreeWidget>(s, true, parentWidget);
        tree = h;
        s->widget = h;
        s->host = h;
        h->HostViewport(h->viewport());
        h->setColumnCount(1);
        h->setHeaderHidden(true);
        h->header()->setStretchLastSection(false);
        h->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
        h->setSelectionMode(QAbstractItemView::SingleSelection);
        h->setEditTriggers(QAbstractItemView::NoEditTriggers);
        h->setExpandsOnDoubleClick(false);
        h->setDragEnabled(false);
        h->setRootIsDecorated((s->style & TVS_LINESATROOT) != 0);
        h->setUniformRowHeights(true);
        if (!((s->style & WS_BORDER) || (s->exStyle & WS_EX_CLIENTEDGE))) h->setFrameStyle(QFrame::NoFrame);
    }

    void Created(WndState* s) override
    {
        HWND h = s->handle;
        QObject::connect(tree, &QTreeWidget::currentItemChanged, tree,
                         [this, h](QTreeWidgetItem* now, QTreeWidgetItem* before) {
                             if (quiet || !StateOf(h)) return;
                             NMTREEVIEW nm{};
                             nm.action = cause;
                             Describe(before, nm.itemOld);
                             Describe(now, nm.itemNew);
                             Notify(StateOf(h), TVN_SELCHANGED, &nm.hdr);
                         });
        auto expanded = [this, h](QTreeWidgetItem* it, UINT action) {
            if (quiet || !StateOf(h)) return;
            NMTREEVIEW nm{};
            nm.action = action;
            Describe(it, nm.itemNew);
            Notify(StateOf(h), TVN_ITEMEXPANDING, &nm.hdr);
            if (StateOf(h)) Notify(StateOf(h), TVN_ITEMEXPANDED, &nm.hdr);
        };
        QObject::connect(tree, &QTreeWidget::itemExpanded, tree,
                         [expanded](QTreeWidgetItem* it) { expanded(it, TVE_EXPAND); });
        QObject::connect(tree, &QTreeWidget::itemCollapsed, tree,
                         [expanded](QTreeWidgetItem* it) { expanded(it, TVE_COLLAPSE); });
    }

    static HTREEITEM HandleOf(const QTreeWidgetItem* it)
    {
        return it ? reinterpret_cast<HTREEITEM>(it->data(0, kHandleRole).value<quintptr>()) : nullptr;
    }
    QTreeWidgetItem* ItemOf(HTREEITEM h) const
    {
        auto found = items.find(reinterpret_cast<quintptr>(h));
        return found == items.end() ? nullptr : found->second;
    }

    UINT StateBits(const QTreeWidgetItem* it) const
    {
        UINT st = 0;
        if (it->isSelected() || it == tree->currentItem()) st |= TVIS_SELECTED;
        if (it->isExpanded()) st |= TVIS_EXPANDED;
        if (it->data(0, kBoldRole).toBool()) st |= TVIS_BOLD;
        if (reinterpret_cast<quintptr>(HandleOf(it)) == dropHilite) st |= TVIS_DROPHILITED;
        return st;
    }

    void Describe(const QTreeWidgetItem* it, TVITEM& out) const
    {
        if (!it) return;
        out.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        out.hItem = HandleOf(it);
        out.lParam = static_cast<LPARAM>(it->data(0, kParamRole).value<qulonglong>());
        out.state = StateBits(it);
        out.stateMask = 0xFFFF;
        out.iImage = it->data(0, kImageRole).toInt();
        out.iSelectedImage = it->data(0, kSelImageRole).toInt();
    }

    LRESULT Notify(WndState* s, UINT code, NMHDR* hdr)
    {
        hdr->hwndFrom = s->handle;
        hdr->idFrom = s->id;
        hdr->code = code;
        CWnd* parent = s->parent ? s->parent : s->owner;
        if (!parent || !parent->m_hWnd) return 0;
        return parent->SendMessage(WM_NOTIFY, s->id, reinterpret_cast<LPARAM>(hdr));
    }

    template <class F>
    void Quietly(F f)
    {
        bool saved = quiet;
        quiet = true;
        f();
        quiet = saved;
    }

    // Each picture of the image list made once and shared by every item that shows it; made again
    // only when the list's images change.
    struct Picture
    {
        qint64 image = 0;
        qint64 mask = 0;
        QIcon icon;
    };
    std::unordered_map<int, Picture> pictures;

    const QIcon& PictureOf(int index)
    {
        IMAGEINFO info{};
        const bool known = images && index >= 0 && ImageList_GetImageInfo(images, index, &info);
        const BitmapRecord* image = known ? BitmapOf(info.hbmImage) : nullptr;
        const BitmapRecord* mask = known && info.hbmMask ? BitmapOf(info.hbmMask) : nullptr;
        const qint64 imageKey = image ? image->image.cacheKey() : 0;
        const qint64 maskKey = mask ? mask->image.cacheKey() : 0;
        Picture& picture = pictures[index];
        if (picture.icon.isNull() || picture.image != imageKey || picture.mask != maskKey)
            picture = Picture{imageKey, maskKey, IconOf(images, index)};
        return picture.icon;
    }

    void ShowImage(QTreeWidgetItem* it)
    {
        bool selected = it == tree->currentItem();
        int index = it->data(0, selected ? kSelImageRole : kImageRole).toInt();
        const QIcon& icon = PictureOf(index);
        if (it->icon(0).cacheKey() != icon.cacheKey()) it->setIcon(0, icon);
    }

    void SetBold(QTreeWidgetItem* it, bool bold)
    {
        it->setData(0, kBoldRole, bold);
        QFont f = tree->font();
        f.setBold(bold);
        it->setFont(0, f);
    }

    void Forget(QTreeWidgetItem* it)
    {
        if (editing == reinterpret_cast<quintptr>(HandleOf(it))) EndEdit(true);
        for (int i = 0; i < it->childCount(); ++i) Forget(it->child(i));
        items.erase(reinterpret_cast<quintptr>(HandleOf(it)));
        if (dropHilite == reinterpret_cast<quintptr>(HandleOf(it))) dropHilite = 0;
        if (pressItem == reinterpret_cast<quintptr>(HandleOf(it))) pressItem = 0;
    }

    // Client coordinates <-> the tree's viewport.
    QPoint ToViewport(WndState* s, POINT p) const
    {
        return QPoint(p.x, p.y) + s->ClientOrigin() - tree->viewport()->mapTo(tree, QPoint(0, 0));
    }
    QRect ToClient(WndState* s, QRect r) const
    {
        return r.translated(tree->viewport()->mapTo(tree, QPoint(0, 0)) - s->ClientOrigin());
    }

    HTREEITEM Insert(const TVINSERTSTRUCT* ins)
    {
        QTreeWidgetItem* parent = nullptr;
        if (ins->hParent && ins->hParent != TVI_ROOT)
        {
            parent = ItemOf(ins->hParent);
            if (!parent) return nullptr;
        }
        auto* it = new QTreeWidgetItem;
        quintptr handle = NextHandle();
        it->setData(0, kHandleRole, QVariant::fromValue(handle));
        const TVITEM& tv = ins->item;
        if (tv.mask & TVIF_TEXT) it->setText(0, TextOf(tv.pszText));
        it->setData(0, kParamRole,
                    QVariant::fromValue<qulonglong>((tv.mask & TVIF_PARAM) ? static_cast<qulonglong>(tv.lParam) : 0));
        it->setData(0, kImageRole, (tv.mask & TVIF_IMAGE) ? tv.iImage : 0);
        it->setData(0, kSelImageRole, (tv.mask & TVIF_SELECTEDIMAGE) ? tv.iSelectedImage : 0);
        int count = parent ? parent->childCount() : tree->topLevelItemCount();
        int at = count;
        if (ins->hInsertAfter == TVI_FIRST)
            at = 0;
        else if (ins->hInsertAfter == TVI_SORT)
        {
            at = 0;
            while (at < count)
            {
                QTreeWidgetItem* sib = parent ? parent->child(at) : tree->topLevelItem(at);
                if (sib->text(0).compare(it->text(0), Qt::CaseInsensitive) > 0) break;
                ++at;
            }
        }
        else if (ins->hInsertAfter != TVI_LAST && ins->hInsertAfter)
        {
            if (QTreeWidgetItem* after = ItemOf(ins->hInsertAfter); after && after->parent() == parent)
                at = (parent ? parent->indexOfChild(after) : tree->indexOfTopLevelItem(after)) + 1;
        }
        QTreeWidgetItem* current = tree->currentItem();
        Quietly([&] {
            if (parent)
                parent->insertChild(at, it);
            else
                tree->insertTopLevelItem(at, it);
            if (tree->currentItem() != current) tree->setCurrentItem(current);
            if ((tv.mask & TVIF_STATE) && (tv.stateMask & TVIS_BOLD)) SetBold(it, (tv.state & TVIS_BOLD) != 0);
            if ((tv.mask & TVIF_STATE) && (tv.stateMask & TVIS_EXPANDED))
                it->setExpanded((tv.state & TVIS_EXPANDED) != 0);
        });
        items[handle] = it;
        ShowImage(it);
        return reinterpret_cast<HTREEITEM>(handle);
    }

    bool Delete(HTREEITEM h)
    {
        if (h == TVI_ROOT || h == nullptr)
        {
            EndEdit(true);
            cause = TVC_UNKNOWN;
            tree->clear();
            items.clear();
            dropHilite = 0;
            pressItem = 0;
            return true;
        }
        QTreeWidgetItem* it = ItemOf(h);
        if (!it) return false;
        Forget(it);
        cause = TVC_UNKNOWN;
        delete it; // the toolkit moves the current item on, which is reported
        return true;
    }

    HTREEITEM Next(HTREEITEM h, UINT code) const
    {
        QTreeWidgetItem* it = ItemOf(h);
        switch (code)
        {
        case TVGN_ROOT: return HandleOf(tree->topLevelItem(0));
        case TVGN_CARET: return HandleOf(tree->currentItem());
        case TVGN_DROPHILITE: return dropHilite ? reinterpret_cast<HTREEITEM>(dropHilite) : nullptr;
        case TVGN_FIRSTVISIBLE: return HandleOf(tree->itemAt(QPoint(1, 1)));
        default: break;
        }
        if (code == TVGN_CHILD && (!h || h == TVI_ROOT)) return HandleOf(tree->topLevelItem(0));
        if (!it) return nullptr;
        QTreeWidgetItem* parent = it->parent();
        switch (code)
        {
        case TVGN_CHILD: return HandleOf(it->childCount() ? it->child(0) : nullptr);
        case TVGN_PARENT: return HandleOf(parent);
        case TVGN_NEXT:
        case TVGN_PREVIOUS: {
            int i = parent ? parent->indexOfChild(it) : tree->indexOfTopLevelItem(it);
            i += code == TVGN_NEXT ? 1 : -1;
            int n = parent ? parent->childCount() : tree->topLevelItemCount();
            if (i < 0 || i >= n) return nullptr;
            return HandleOf(parent ? parent->child(i) : tree->topLevelItem(i));
        }
        case TVGN_NEXTVISIBLE: return HandleOf(tree->itemBelow(it));
        case TVGN_PREVIOUSVISIBLE: return HandleOf(tree->itemAbove(it));
        default: return nullptr;
        }
    }

    void HiliteDrop(WndState* s, HTREEITEM h)
    {
        auto paint = [&](quintptr handle, bool on) {
            QTreeWidgetItem* it = ItemOf(reinterpret_cast<HTREEITEM>(handle));
            if (!it) return;
            it->setBackground(0, on ? tree->palette().highlight() : QBrush());
            it->setForeground(0, on ? tree->palette().highlightedText() : QBrush());
        };
        paint(dropHilite, false);
        dropHilite = ItemOf(h) ? reinterpret_cast<quintptr>(h) : 0;
        paint(dropHilite, true);
        (void)s;
    }

    HWND BeginEdit(WndState* s, HTREEITEM h)
    {
        QTreeWidgetItem* it = ItemOf(h);
        if (!it) return nullptr;
        EndEdit(false);
        NMTVDISPINFO info{};
        Describe(it, info.item);
        std::wstring text = ToWide(it->text(0));
        info.item.mask |= TVIF_TEXT;
        info.item.pszText = text.data();
        HWND self = s->handle;
        if (Notify(s, TVN_BEGINLABELEDIT, &info.hdr) || !IsLiveHandle(self) || !ItemOf(h)) return nullptr;
        tree->scrollToItem(it);
        QRect r = ToClient(s, tree->visualItemRect(it));
        if (!it->icon(0).isNull()) r.setLeft(r.left() + tree->iconSize().width() + 4); // over the label only
        CSize client = s->ClientSize();
        r.setRight(std::max(r.right(), std::min(r.left() + 120, static_cast<int>(client.cx) - 1)));
        edit = new LabelEdit(self);
        CRect rc(r.left(), r.top() - 1, r.right() + 1, r.bottom() + 2);
        if (!edit->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rc, s->wnd, 1))
        {
            delete edit;
            edit = nullptr;
            return nullptr;
        }
        edit->SetFont(s->wnd->GetFont(), FALSE);
        editing = reinterpret_cast<quintptr>(h);
        edit->SetWindowText(FromQString(it->text(0)));
        edit->SetSel(0, -1);
        edit->SetFocus();
        return edit->m_hWnd;
    }

    void EndEdit(bool cancel)
    {
        if (!edit || !editing) return;
        LabelEdit* e = edit;
        HTREEITEM h = reinterpret_cast<HTREEITEM>(editing);
        edit = nullptr;
        editing = 0;
        CString typed;
        if (e->m_hWnd) e->GetWindowText(typed);
        QTreeWidgetItem* it = ItemOf(h);
        WndState* s = StateOf(tree ? WndFromWidget(tree) : nullptr);
        if (it && s)
        {
            NMTVDISPINFO info{};
            Describe(it, info.item);
            std::wstring text = typed.GetString();
            info.item.mask |= TVIF_TEXT;
            info.item.pszText = cancel ? nullptr : text.data();
            HWND self = s->handle;
            bool hadFocus = e->m_hWnd && ::GetFocus() == e->m_hWnd;
            LRESULT keep = Notify(s, TVN_ENDLABELEDIT, &info.hdr);
            if (IsLiveHandle(self))
            {
                if (keep && !cancel && (it = ItemOf(h)) != nullptr) it->setText(0, TextOf(text.c_str()));
                if (hadFocus) s->wnd->SetFocus();
            }
        }
        // The editor may be ending inside its own key event: it goes once that is over.
        if (e->m_hWnd)
        {
            e->ShowWindow(SW_HIDE);
            retired.push_back(e->m_hWnd);
            if (s) ::PostMessage(s->handle, kDestroyRetired, 0, 0);
        }
        else
        {
            delete e;
        }
    }

    static constexpr UINT kDestroyRetired = TV_FIRST + 0xF0;
    std::vector<HWND> retired;
    void DestroyRetired()
    {
        std::vector<HWND> gone = std::move(retired);
        retired.clear();
        for (HWND h : gone)
            if (CWnd* w = CWnd::FromHandlePermanent(h)) w->DestroyWindow();
    }

    void DeliverMouse(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        QWidget* source = nullptr;
        QEvent* e = s->host->TakeEvent(msg, &source);
        QPoint vp = ToViewport(s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        QEvent::Type type = QEvent::MouseMove;
        Qt::MouseButton button = Qt::NoButton;
        switch (msg)
        {
        case WM_LBUTTONDOWN:
            type = QEvent::MouseButtonPress;
            button = Qt::LeftButton;
            break;
        case WM_LBUTTONUP:
            type = QEvent::MouseButtonRelease;
            button = Qt::LeftButton;
            break;
        case WM_RBUTTONDOWN:
            type = QEvent::MouseButtonPress;
            button = Qt::RightButton;
            break;
        case WM_RBUTTONUP:
            type = QEvent::MouseButtonRelease;
            button = Qt::RightButton;
            break;
        default: break;
        }
        Qt::MouseButtons held;
        if (wParam & MK_LBUTTON) held |= Qt::LeftButton;
        if (wParam & MK_RBUTTON) held |= Qt::RightButton;
        if (type == QEvent::MouseButtonPress) held |= button;
        if (type == QEvent::MouseButtonRelease) held &= ~Qt::MouseButtons(button);
        Qt::KeyboardModifiers mods = e ? static_cast<QMouseEvent*>(e)->modifiers() : Qt::NoModifier;
        QMouseEvent copy(type, QPointF(vp), tree->viewport()->mapToGlobal(QPointF(vp)), button, held, mods);
        struct Access : QTreeWidget
        {
            using QTreeWidget::viewportEvent;
        };
        (tree->*(&Access::viewportEvent))(&copy);
        (void)source;
    }

    void ToolkitKey(WndState* s, UINT vk)
    {
        if (!IsTreeNavigationKey(vk)) return;
        QKeyEvent ev(QEvent::KeyPress, ToQtKey(vk), Qt::NoModifier);
        s->host->ToolkitEvent(&ev);
    }

    bool DefProc(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        *result = 0;
        switch (msg)
        {
        case WM_GETDLGCODE: *result = DLGC_WANTARROWS | DLGC_WANTCHARS; return true;
        case WM_LBUTTONDOWN: {
            QPoint vp = ToViewport(s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            pressItem = reinterpret_cast<quintptr>(HandleOf(tree->itemAt(vp)));
            pressAt = vp;
            dragReported = false;
            if (::GetFocus() != s->handle) s->wnd->SetFocus();
            cause = TVC_BYMOUSE;
            DeliverMouse(s, msg, wParam, lParam);
            cause = TVC_UNKNOWN;
            return true;
        }
        case WM_LBUTTONUP:
            pressItem = 0;
            cause = TVC_BYMOUSE;
            DeliverMouse(s, msg, wParam, lParam);
            cause = TVC_UNKNOWN;
            return true;
        case WM_MOUSEMOVE: {
            if (!(wParam & MK_LBUTTON))
            {
                DeliverMouse(s, msg, wParam, lParam);
                return true;
            }
            QPoint vp = ToViewport(s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            if (pressItem && !dragReported && !(s->style & TVS_DISABLEDRAGDROP) &&
                (std::abs(vp.x() - pressAt.x()) > GetSystemMetrics(SM_CXDRAG) ||
                 std::abs(vp.y() - pressAt.y()) > GetSystemMetrics(SM_CYDRAG)))
            {
                dragReported = true;
                QTreeWidgetItem* it = ItemOf(reinterpret_cast<HTREEITEM>(pressItem));
                if (it)
                {
                    NMTREEVIEW nm{};
                    nm.action = 0;
                    Describe(it, nm.itemNew);
                    nm.ptDrag = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                    Notify(s, TVN_BEGINDRAG, &nm.hdr);
                }
            }
            return true;
        }
        case WM_LBUTTONDBLCLK: {
            QPoint vp = ToViewport(s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            QTreeWidgetItem* it = tree->itemAt(vp);
            NMHDR hdr{};
            HWND self = s->handle;
            LRESULT handled = Notify(s, NM_DBLCLK, &hdr);
            if (!handled && IsLiveHandle(self) && it && items.count(reinterpret_cast<quintptr>(HandleOf(it))) &&
                it->childCount())
                it->setExpanded(!it->isExpanded());
            return true;
        }
        case WM_RBUTTONDOWN: return true;
        case WM_RBUTTONUP: {
            NMHDR hdr{};
            HWND self = s->handle;
            if (Notify(s, NM_RCLICK, &hdr) || !IsLiveHandle(self)) return true;
            CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            s->wnd->ClientToScreen(&pt);
            s->wnd->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(self), MAKELPARAM(pt.x, pt.y));
            return true;
        }
        case WM_CONTEXTMENU:
            if (CWnd* parent = s->parent; parent && parent->m_hWnd) *result = parent->SendMessage(msg, wParam, lParam);
            return true;
        case WM_MOUSEWHEEL:
            if (QEvent* e = s->host->TakeEvent(msg))
            {
                s->host->ToolkitEvent(e);
                return true;
            }
            return false;
        case WM_KEYDOWN: {
            NMTVKEYDOWN kd{};
            kd.wVKey = static_cast<WORD>(wParam);
            HWND self = s->handle;
            Notify(s, TVN_KEYDOWN, &kd.hdr);
            if (!IsLiveHandle(self)) return true;
            if (wParam == VK_F2 && (s->style & TVS_EDITLABELS))
            {
                BeginEdit(s, HandleOf(tree->currentItem()));
                return true;
            }
            cause = TVC_BYKEYBOARD;
            ToolkitKey(s, static_cast<UINT>(wParam));
            cause = TVC_UNKNOWN;
            return true;
        }
        case WM_KEYUP:
        case WM_CHAR: return true;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            // The toolkit makes the first item current when the focus arrives; this tree
            // selects only what the user or the program selects.
            QTreeWidgetItem* before = tree->currentItem();
            if (QEvent* e = s->host->TakeEvent(msg)) s->host->ToolkitEvent(e);
            if (tree->currentItem() != before)
                Quietly([&] {
                    tree->setCurrentItem(before);
                    if (!before) tree->clearSelection();
                });
            NMHDR hdr{};
            Notify(s, msg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS, &hdr);
            return true;
        }
        case WM_SETFONT:
            tree->setFont(wParam ? QFontFromHandle(reinterpret_cast<HFONT>(wParam)) : QFont());
            for (auto& [h, it] : items) SetBold(it, it->data(0, kBoldRole).toBool());
            return false;
        case WM_SETREDRAW: tree->setUpdatesEnabled(wParam != 0); return false;
        case WM_PAINT:
            s->invalid = QRegion();
            s->erasePending = false;
            tree->viewport()->update();
            return true;
        case WM_ERASEBKGND: *result = 1; return true;
        default: return Control(s, msg, wParam, lParam, result);
        }
    }

    bool Control(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
    {
        switch (msg)
        {
        case TVM_INSERTITEM:
            *result = reinterpret_cast<LRESULT>(Insert(reinterpret_cast<const TVINSERTSTRUCT*>(lParam)));
            return true;
        case TVM_DELETEITEM: *result = Delete(reinterpret_cast<HTREEITEM>(lParam)); return true;
        case TVM_GETCOUNT: *result = static_cast<LRESULT>(items.size()); return true;
        case TVM_GETINDENT: *result = tree->indentation(); return true;
        case TVM_GETNEXTITEM:
            *result = reinterpret_cast<LRESULT>(Next(reinterpret_cast<HTREEITEM>(lParam), static_cast<UINT>(wParam)));
            return true;
        case TVM_SELECTITEM: {
            auto h = reinterpret_cast<HTREEITEM>(lParam);
            if (wParam == TVGN_DROPHILITE)
            {
                HiliteDrop(s, h);
                *result = TRUE;
                return true;
            }
            QTreeWidgetItem* it = ItemOf(h);
            if (h && !it) return true;
            QTreeWidgetItem* before = tree->currentItem();
            if (it)
            {
                for (QTreeWidgetItem* p = it->parent(); p; p = p->parent()) p->setExpanded(true);
                tree->setCurrentItem(it);
                tree->scrollToItem(it);
            }
            else
            {
                tree->setCurrentItem(nullptr);
                tree->clearSelection();
            }
            if (before && items.count(reinterpret_cast<quintptr>(HandleOf(before)))) ShowImage(before);
            if (it) ShowImage(it);
            *result = TRUE;
            return true;
        }
        case TVM_GETITEM:
        case TVM_SETITEM: {
            auto* tv = reinterpret_cast<TVITEM*>(lParam);
            QTreeWidgetItem* it = tv ? ItemOf(tv->hItem) : nullptr;
            if (!it) return true;
            if (msg == TVM_GETITEM)
            {
                UINT mask = tv->mask;
                TVITEM full;
                Describe(it, full);
                if (mask & TVIF_PARAM) tv->lParam = full.lParam;
                if (mask & TVIF_STATE) tv->state = full.state & tv->stateMask;
                if (mask & TVIF_IMAGE) tv->iImage = full.iImage;
                if (mask & TVIF_SELECTEDIMAGE) tv->iSelectedImage = full.iSelectedImage;
                if (mask & TVIF_CHILDREN) tv->cChildren = it->childCount() ? 1 : 0;
                if ((mask & TVIF_TEXT) && tv->pszText && tv->cchTextMax > 0)
                {
                    std::wstring t = ToWide(it->text(0));
                    size_t n = std::min(t.size(), static_cast<size_t>(tv->cchTextMax - 1));
                    t.copy(tv->pszText, n);
                    tv->pszText[n] = L'\0';
                }
            }
            else
            {
                if (tv->mask & TVIF_TEXT) it->setText(0, TextOf(tv->pszText));
                if (tv->mask & TVIF_PARAM)
                    it->setData(0, kParamRole, QVariant::fromValue<qulonglong>(static_cast<qulonglong>(tv->lParam)));
                if (tv->mask & TVIF_IMAGE) it->setData(0, kImageRole, tv->iImage);
                if (tv->mask & TVIF_SELECTEDIMAGE) it->setData(0, kSelImageRole, tv->iSelectedImage);
                if (tv->mask & TVIF_STATE)
                {
                    if (tv->stateMask & TVIS_BOLD) SetBold(it, (tv->state & TVIS_BOLD) != 0);
                    if (tv->stateMask & TVIS_EXPANDED)
                        Quietly([&] { it->setExpanded((tv->state & TVIS_EXPANDED) != 0); });
                    if (tv->stateMask & TVIS_DROPHILITED)
                        HiliteDrop(s, (tv->state & TVIS_DROPHILITED)
                                          ? tv->hItem
                                          : (dropHilite == reinterpret_cast<quintptr>(tv->hItem)
                                                 ? nullptr
                                                 : reinterpret_cast<HTREEITEM>(dropHilite)));
                }
                ShowImage(it);
            }
            *result = TRUE;
            return true;
        }
        case TVM_GETITEMSTATE: {
            QTreeWidgetItem* it = ItemOf(reinterpret_cast<HTREEITEM>(wParam));
            *result = it ? (StateBits(it) & static_cast<UINT>(lParam)) : 0;
            return true;
        }
        case TVM_EXPAND: {
            QTreeWidgetItem* it = ItemOf(reinterpret_cast<HTREEITEM>(lParam));
            if (!it) return true;
            UINT code = static_cast<UINT>(wParam) & 3;
            bool open = code == TVE_EXPAND || (code == TVE_TOGGLE && !it->isExpanded());
            Quietly([&] { it->setExpanded(open); });
            *result = TRUE;
            return true;
        }
        case TVM_ENSUREVISIBLE: {
            QTreeWidgetItem* it = ItemOf(reinterpret_cast<HTREEITEM>(lParam));
            if (!it) return true;
            Quietly([&] {
                for (QTreeWidgetItem* p = it->parent(); p; p = p->parent()) p->setExpanded(true);
            });
            tree->scrollToItem(it);
            *result = TRUE;
            return true;
        }
        case TVM_GETITEMRECT: {
            auto* rc = reinterpret_cast<RECT*>(lParam);
            QTreeWidgetItem* it = rc ? ItemOf(*reinterpret_cast<HTREEITEM*>(rc)) : nullptr;
            if (!it) return true;
            QRect r = tree->visualItemRect(it);
            if (r.isEmpty()) return true;
            r = ToClient(s, r);
            if (!wParam) r.setLeft(0), r.setRight(static_cast<int>(s->ClientSize().cx) - 1);
            *rc = FromQRect(r);
            *result = TRUE;
            return true;
        }
        case TVM_HITTEST: {
            auto* info = reinterpret_cast<TVHITTESTINFO*>(lParam);
            if (!info) return true;
            CSize client = s->ClientSize();
            info->flags = 0;
            info->hItem = nullptr;
            if (info->pt.y < 0) info->flags |= TVHT_ABOVE;
            if (info->pt.y >= client.cy) info->flags |= TVHT_BELOW;
            if (info->pt.x < 0) info->flags |= TVHT_TOLEFT;
            if (info->pt.x >= client.cx) info->flags |= TVHT_TORIGHT;
            if (!info->flags)
            {
                QPoint vp = ToViewport(s, info->pt);
                QTreeWidgetItem* it = tree->itemAt(vp);
                if (it)
                {
                    QRect r = tree->visualItemRect(it);
                    info->hItem = HandleOf(it);
                    info->flags = vp.x() < r.left() ? TVHT_ONITEMINDENT : TVHT_ONITEM;
                }
                else
                {
                    info->flags = TVHT_NOWHERE;
                }
            }
            *result = reinterpret_cast<LRESULT>(info->hItem);
            return true;
        }
        case TVM_EDITLABEL:
            *result = reinterpret_cast<LRESULT>(BeginEdit(s, reinterpret_cast<HTREEITEM>(lParam)));
            return true;
        case TVM_GETEDITCONTROL: *result = reinterpret_cast<LRESULT>(edit ? edit->m_hWnd : nullptr); return true;
        case TVM_ENDEDITLABELNOW:
            *result = edit != nullptr;
            EndEdit(wParam != 0);
            return true;
        case TVM_SETIMAGELIST:
        case TVM_GETIMAGELIST:
            if (wParam != TVSIL_NORMAL) return true;
            *result = reinterpret_cast<LRESULT>(images);
            if (msg == TVM_SETIMAGELIST)
            {
                images = reinterpret_cast<HIMAGELIST>(lParam);
                pictures.clear();
                int cx = 16, cy = 16;
                if (images) ImageList_GetIconSize(images, &cx, &cy);
                tree->setIconSize(QSize(cx, cy));
                for (auto& [h, it] : items) ShowImage(it);
            }
            return true;
        case TVM_CREATEDRAGIMAGE: {
            QTreeWidgetItem* it = ItemOf(reinterpret_cast<HTREEITEM>(lParam));
            if (!it) return true;
            QFontMetrics fm(it->font(0));
            QSize icon = tree->iconSize();
            int w = icon.width() + 4 + fm.horizontalAdvance(it->text(0)) + 4;
            int h = std::max(icon.height(), fm.height()) + 2;
            QImage picture(w, h, QImage::Format_RGB32);
            picture.fill(tree->palette().base().color());
            {
                QPainter p(&picture);
                it->icon(0).paint(&p, QRect(QPoint(0, (h - icon.height()) / 2), icon));
                p.setFont(it->font(0));
                p.setPen(tree->palette().text().color());
                p.drawText(QRect(icon.width() + 4, 0, w, h), Qt::AlignVCenter | Qt::AlignLeft, it->text(0));
            }
            HBITMAP bm = ::CreateBitmap(w, h, 1, 32, picture.constBits());
            HIMAGELIST list = ImageList_Create(w, h, ILC_COLOR32, 1, 1);
            if (list && bm) ImageList_Add(list, bm, nullptr);
            if (bm) ::DeleteObject(bm);
            *result = reinterpret_cast<LRESULT>(list);
            return true;
        }
        case kDestroyRetired: DestroyRetired(); return true;
        default: return false;
        }
    }
};

void EnsureTreeClass()
{
    static bool done = false;
    if (done) return;
    done = true;
    RegisterNativeControlClass(WC_TREEVIEW,
                               [](WndState* s, QWidget* p) -> NativeControl* { return new TreeControl(s, p); });
}

} // namespace
} // namespace qor::gui

using namespace qor::gui;

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

using qor::gui::wrap::LP;
using qor::gui::wrap::Send;

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    EnsureTreeClass();
    return CWnd::Create(WC_TREEVIEW, nullptr, dwStyle, rect, pParentWnd, nID);
}

HTREEITEM CTreeCtrl::InsertItem(LPTVINSERTSTRUCT lpInsertStruct)
{
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEM, 0, LP(lpInsertStruct)));
}

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                                UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    TVINSERTSTRUCT ins;
    ins.hParent = hParent;
    ins.hInsertAfter = hInsertAfter;
    ins.item.mask = nMask;
    ins.item.pszText = const_cast<LPTSTR>(lpszItem);
    ins.item.iImage = nImage;
    ins.item.iSelectedImage = nSelectedImage;
    ins.item.state = nState;
    ins.item.stateMask = nStateMask;
    ins.item.lParam = lParam;
    return InsertItem(&ins);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter)
{
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage, nSelectedImage, 0, 0, 0, hParent,
                      hInsertAfter);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM hItem) { return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, LP(hItem))); }
UINT CTreeCtrl::GetCount() const { return static_cast<UINT>(Send(this, TVM_GETCOUNT)); }
BOOL CTreeCtrl::GetItem(TVITEM* pItem) const { return static_cast<BOOL>(Send(this, TVM_GETITEM, 0, LP(pItem))); }
BOOL CTreeCtrl::SetItem(TVITEM* pItem) { return static_cast<BOOL>(SendMessage(TVM_SETITEM, 0, LP(pItem))); }

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const
{
    std::wstring buf(1024, L'\0');
    TVITEM tv;
    tv.mask = TVIF_TEXT;
    tv.hItem = hItem;
    tv.pszText = buf.data();
    tv.cchTextMax = static_cast<int>(buf.size());
    if (!GetItem(&tv)) return CString();
    return CString(buf.c_str());
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCTSTR lpszItem)
{
    TVITEM tv;
    tv.mask = TVIF_TEXT;
    tv.hItem = hItem;
    tv.pszText = const_cast<LPTSTR>(lpszItem);
    return SetItem(&tv);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const
{
    TVITEM tv;
    tv.mask = TVIF_PARAM;
    tv.hItem = hItem;
    return GetItem(&tv) ? static_cast<DWORD_PTR>(tv.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData)
{
    TVITEM tv;
    tv.mask = TVIF_PARAM;
    tv.hItem = hItem;
    tv.lParam = static_cast<LPARAM>(dwData);
    return SetItem(&tv);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const
{
    TVITEM tv;
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tv.hItem = hItem;
    if (!GetItem(&tv)) return FALSE;
    nImage = tv.iImage;
    nSelectedImage = tv.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage)
{
    TVITEM tv;
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tv.hItem = hItem;
    tv.iImage = nImage;
    tv.iSelectedImage = nSelectedImage;
    return SetItem(&tv);
}

UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT nStateMask) const
{
    return static_cast<UINT>(Send(this, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(hItem), nStateMask));
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask)
{
    TVITEM tv;
    tv.mask = TVIF_STATE;
    tv.hItem = hItem;
    tv.state = nState;
    tv.stateMask = nStateMask;
    return SetItem(&tv);
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM hItem, UINT nCode) const
{
    return reinterpret_cast<HTREEITEM>(Send(this, TVM_GETNEXTITEM, nCode, LP(hItem)));
}

BOOL CTreeCtrl::Select(HTREEITEM hItem, UINT nCode)
{
    return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, nCode, LP(hItem)));
}
BOOL CTreeCtrl::Expand(HTREEITEM hItem, UINT nCode)
{
    return static_cast<BOOL>(SendMessage(TVM_EXPAND, nCode, LP(hItem)));
}
BOOL CTreeCtrl::EnsureVisible(HTREEITEM hItem)
{
    return static_cast<BOOL>(SendMessage(TVM_ENSUREVISIBLE, 0, LP(hItem)));
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const
{
    if (!lpRect) return FALSE;
    *reinterpret_cast<HTREEITEM*>(lpRect) = hItem;
    return static_cast<BOOL>(Send(this, TVM_GETITEMRECT, static_cast<WPARAM>(bTextOnly), LP(lpRect)));
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    TVHITTESTINFO info;
    info.pt = pt;
    HTREEITEM h = HitTest(&info);
    if (pFlags) *pFlags = info.flags;
    return h;
}

HTREEITEM CTreeCtrl::HitTest(TVHITTESTINFO* pHitTestInfo) const
{
    return reinterpret_cast<HTREEITEM>(Send(this, TVM_HITTEST, 0, LP(pHitTestInfo)));
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM hItem)
{
    auto h = reinterpret_cast<HWND>(SendMessage(TVM_EDITLABEL, 0, LP(hItem)));
    return static_cast<CEdit*>(CWnd::FromHandle(h));
}

CEdit* CTreeCtrl::GetEditControl() const
{
    auto h = reinterpret_cast<HWND>(Send(this, TVM_GETEDITCONTROL));
    return static_cast<CEdit*>(CWnd::FromHandle(h));
}

BOOL CTreeCtrl::EndEditLabelNow(BOOL fCancelWithoutSave)
{
    return static_cast<BOOL>(SendMessage(TVM_ENDEDITLABELNOW, static_cast<WPARAM>(fCancelWithoutSave)));
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageListType)
{
    CImageList* previous = nImageListType == TVSIL_NORMAL ? m_pNormalImages : nullptr;
    SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType),
                LP(pImageList ? pImageList->GetSafeHandle() : nullptr));
    if (nImageListType == TVSIL_NORMAL) m_pNormalImages = pImageList;
    return previous;
}

CImageList* CTreeCtrl::GetImageList(int nImageListType) const
{
    return nImageListType == TVSIL_NORMAL ? m_pNormalImages : nullptr;
}

CImageList* CTreeCtrl::CreateDragImage(HTREEITEM hItem)
{
    auto list = reinterpret_cast<HIMAGELIST>(SendMessage(TVM_CREATEDRAGIMAGE, 0, LP(hItem)));
    if (!list) return nullptr;
    auto* images = new CImageList;
    images->Attach(list);
    return images;
}
