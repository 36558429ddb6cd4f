// The list box over QListWidget: the LB_ messages and LBN_ notifications; and its wrapper
// class CListBox. Its items are lines of one height, laid out as such: one more line in a long
// list (a running log) costs what it costs in a short one.
#include "platform/gui/draw/TextFitInternal.h"
#include "platform/gui/widgets/ControlsInternal.h"

#include <QtCore/QEvent>
#include <QtCore/QTimer>
#include <QtGui/QCursor>
#include <QtGui/QFontMetrics>
#include <QtGui/QPaintEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QStyledItemDelegate>

#include <algorithm>
#include <string>

namespace qor::gui {

namespace {

// A long line shows only what a screen can; the whole of it is kept for those who read it back.
constexpr int kWholeTextRole = Qt::UserRole + 1;

QString WholeText(const QListWidgetItem* item)
{
    const QVariant whole = item->data(kWholeTextRole);
    return whole.isValid() ? whole.toString() : item->text();
}

#define LBN_SETFOCUS_CODE 4
#define LBN_KILLFOCUS_CODE 5

// Every line is as high as the first; the view asks one line for its size, and this answer is as wide as
// the widest line so far, so that the list scrolls as far as its widest line without measuring them all.
class OneLineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    int widestText = 0;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const int own = option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString());
        size.rwidth() += std::max(0, widestText - own);
        return size;
    }
};

// The list itself: the toolkit's list widget (its items, selection and keys), laid out as lines of one
// height by arithmetic. The toolkit's list view keeps a position for every row and works them all out
// again after each insertion; here a row's place is its number times the line height, so a line added to
// a long list costs what it costs in a short one, and a paint or a hit test looks at the rows shown only.
class LineList : public QListWidget
{
public:
    using QListWidget::QListWidget;

    // The list widget's own scrolling to an item goes to the toolkit's layout, not to this one.
    void scrollToItem(const QListWidgetItem* item, ScrollHint hint = EnsureVisible)
    {
        scrollTo(indexFromItem(item), hint);
    }
    QRect visualItemRect(const QListWidgetItem* item) const { return visualRect(indexFromItem(item)); }

    QRect visualRect(const QModelIndex& index) const override
    {
        if (!Ours(index)) return {};
        const QSize line = Line();
        return {-horizontalOffset(), index.row() * line.height() - verticalOffset(), RowWidth(line), line.height()};
    }

    QModelIndex indexAt(const QPoint& p) const override
    {
        const QSize line = Line();
        const int x = p.x() + horizontalOffset(), y = p.y() + verticalOffset();
        if (line.height() <= 0 || x < 0 || x >= RowWidth(line) || y < 0) return {};
        const int row = y / line.height();
        return row < model()->rowCount(rootIndex()) ? model()->index(row, modelColumn(), rootIndex()) : QModelIndex();
    }

    void scrollTo(const QModelIndex& index, ScrollHint hint) override
    {
        if (!Ours(index)) return;
        executeDelayedItemsLayout();
        const int row = index.row(), shown = FullRows();
        const int top = TopRow();
        int to = top;
        switch (hint)
        {
        case PositionAtTop: to = row; break;
        case PositionAtBottom: to = row - shown + 1; break;
        case PositionAtCenter: to = row - (shown - 1) / 2; break;
        case EnsureVisible:
            if (row < top)
                to = row;
            else if (row >= top + shown)
                to = row - shown + 1;
            break;
        }
        to = std::max(to, 0);
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(PerItem() ? to : to * Line().height());
    }

    void doItemsLayout() override { QAbstractItemView::doItemsLayout(); }

    void updateGeometries() override
    {
        m_line = Measured();
        const QSize line = Line();
        const int rows = model() ? model()->rowCount(rootIndex()) : 0;
        const QSize view = viewport()->size();
        QScrollBar* vertical = verticalScrollBar();
        if (PerItem())
        {
            const int shown = line.height() > 0 ? std::max(1, view.height() / line.height()) : 1;
            vertical->setSingleStep(1);
            vertical->setPageStep(shown);
            vertical->setRange(0, std::max(0, rows - shown));
        }
        else
        {
            vertical->setSingleStep(std::max(1, line.height()));
            vertical->setPageStep(view.height());
            vertical->setRange(0, std::max(0, rows * line.height() - view.height()));
        }
        QScrollBar* horizontal = horizontalScrollBar();
        horizontal->setSingleStep(std::max(1, fontMetrics().averageCharWidth() * 2));
        horizontal->setPageStep(view.width());
        horizontal->setRange(0, std::max(0, line.width() - view.width()));
        QAbstractItemView::updateGeometries();
    }

protected:
    int horizontalOffset() const override { return horizontalScrollBar()->value(); }
    int verticalOffset() const override
    {
        return PerItem() ? verticalScrollBar()->value() * Line().height() : verticalScrollBar()->value();
    }

    void scrollContentsBy(int dx, int dy) override
    {
        if (PerItem()) dy *= Line().height();
        QAbstractItemView::scrollContentsBy(dx, dy);
    }

    void resizeEvent(QResizeEvent* e) override { QAbstractItemView::resizeEvent(e); }

    QSize viewportSizeHint() const override
    {
        const QSize line = Line();
        return {line.width(), line.height() * (model() ? model()->rowCount(rootIndex()) : 0)};
    }

    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers) override
    {
        const int rows = model()->rowCount(rootIndex());
        if (rows == 0) return {};
        const QModelIndex current = currentIndex();
        const int row = current.isValid() ? current.row() : -1;
        const int page = std::max(1, FullRows() - 1);
        int to = row;
        switch (action)
        {
        case MoveUp:
        case MovePrevious: to = row < 0 ? 0 : row - 1; break;
        case MoveDown:
        case MoveNext: to = row + 1; break;
        case MovePageUp: to = row - page; break;
        case MovePageDown: to = row < 0 ? page : row + page; break;
        case MoveHome: to = 0; break;
        case MoveEnd: to = rows - 1; break;
        case MoveLeft:
        case MoveRight: return current;
        }
        to = std::clamp(to, 0, rows - 1);
        // Lines that cannot be chosen are passed over in the direction of the move.
        const int step = to < row ? -1 : 1;
        for (int r = to; r >= 0 && r < rows; r += step)
            if (model()->flags(model()->index(r, modelColumn(), rootIndex())) & Qt::ItemIsEnabled)
                return model()->index(r, modelColumn(), rootIndex());
        return current;
    }

    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override
    {
        if (!selectionModel()) return;
        const QRect r = rect.normalized();
        QModelIndex first = indexAt(r.topLeft()), last = indexAt(r.bottomRight());
        QItemSelection selection;
        if (state() == DragSelectingState)
        {
            // A band drawn over the lines takes those it crosses.
            const int rows = model()->rowCount(rootIndex()), h = std::max(1, Line().height());
            const int top = std::clamp((r.top() + verticalOffset()) / h, 0, rows - 1);
            const int bottom = std::clamp((r.bottom() + verticalOffset()) / h, 0, rows - 1);
            if (rows > 0 && r.bottom() + verticalOffset() >= 0)
                selection.select(model()->index(top, modelColumn(), rootIndex()),
                                 model()->index(bottom, modelColumn(), rootIndex()));
        }
        else if (first.isValid() && last.isValid() && (first.flags() & Qt::ItemIsEnabled) &&
                 (last.flags() & Qt::ItemIsEnabled))
        {
            selection.select(first, last);
        }
        selectionModel()->select(selection, command);
    }

    QRegion visualRegionForSelection(const QItemSelection& selection) const override
    {
        QRegion region;
        const int top = TopRow(), bottom = top + FullRows() + 1;
        for (const QItemSelectionRange& range : selection)
        {
            if (range.parent() != rootIndex() || range.left() > modelColumn() || range.right() < modelColumn())
                continue;
            const int from = std::max(range.top(), top), to = std::min(range.bottom(), bottom);
            if (from > to) continue;
            const QModelIndex a = model()->index(from, modelColumn(), rootIndex());
            const QModelIndex b = model()->index(to, modelColumn(), rootIndex());
            region += visualRect(a).united(visualRect(b));
        }
        return region;
    }

    // The rows the paint asks for, drawn by the item delegate as the toolkit's list draws them.
    void paintEvent(QPaintEvent* e) override
    {
        QAbstractItemDelegate* delegate = itemDelegate();
        const QSize line = Line();
        const int rows = model() ? model()->rowCount(rootIndex()) : 0;
        if (!delegate || line.height() <= 0 || rows == 0) return;
        QPainter painter(viewport());
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        const QStyle::State state = option.state;
        const QModelIndex current = currentIndex();
        const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
        const QPoint mouse = viewport()->mapFromGlobal(QCursor::pos());
        const QModelIndex hover = viewport()->underMouse() ? indexAt(mouse) : QModelIndex();
        const int first = std::max(0, (e->rect().top() + verticalOffset()) / line.height());
        const int last = std::min(rows - 1, (e->rect().bottom() + verticalOffset()) / line.height());
        for (int row = first; row <= last; ++row)
        {
            const QModelIndex index = model()->index(row, modelColumn(), rootIndex());
            option.rect = visualRect(index);
            option.state = state;
            if (selectionModel() && selectionModel()->isSelected(index)) option.state |= QStyle::State_Selected;
            if (state & QStyle::State_Enabled)
            {
                const bool enabled = (model()->flags(index) & Qt::ItemIsEnabled) != 0;
                option.state.setFlag(QStyle::State_Enabled, enabled);
                option.palette.setCurrentColorGroup(enabled ? QPalette::Normal : QPalette::Disabled);
            }
            if (focus && index == current) option.state |= QStyle::State_HasFocus;
            option.state.setFlag(QStyle::State_MouseOver, index == hover);
            if (alternatingRowColors()) option.features.setFlag(QStyleOptionViewItem::Alternate, row % 2 != 0);
            delegate->paint(&painter, option, index);
        }
    }

private:
    bool Ours(const QModelIndex& index) const
    {
        return index.isValid() && index.parent() == rootIndex() && index.column() == modelColumn();
    }
    bool PerItem() const { return verticalScrollMode() == ScrollPerItem; }

    // The size of a line: the first line's, as the delegate gives it (as wide as the widest line); measured
    // again with each layout.
    QSize Measured() const
    {
        const QAbstractItemDelegate* delegate = itemDelegate();
        if (!model() || model()->rowCount(rootIndex()) == 0 || !delegate) return {};
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        return delegate->sizeHint(option, model()->index(0, modelColumn(), rootIndex()));
    }
    QSize Line() const
    {
        if (m_line.height() <= 0) m_line = Measured();
        return m_line.height() > 0 ? m_line : QSize(0, fontMetrics().height());
    }
    mutable QSize m_line;
    // A line reaches across the list when the list is wider than its lines.
    int RowWidth(QSize line) const { return std::max(line.width(), viewport()->width()); }
    int TopRow() const
    {
        const int h = Line().height();
        return h > 0 ? verticalOffset() / h : 0;
    }
    // The lines the list shows whole (at least one).
    int FullRows() const
    {
        const int h = Line().height();
        return h > 0 ? std::max(1, viewport()->height() / h) : 1;
    }
};

// A selection made while the list is hidden (an auto-hidden pane's log) scrolls its line into view once the
// list shows: a hidden view has no size to scroll by. The user's own scrolling ends it.
class ScrollKeeper : public QObject
{
public:
    ScrollKeeper(LineList* list) : QObject(list), m_list(list)
    {
        list->installEventFilter(this);
        QObject::connect(list->verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this] { m_row = -1; });
    }

    void Scrolled(int row) { m_row = m_list->isVisible() ? -1 : row; }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (m_row >= 0 && (e->type() == QEvent::Show || e->type() == QEvent::Resize))
            QTimer::singleShot(0, this, [this] {
                if (m_row >= 0 && m_row < m_list->count() && m_list->isVisible())
                    m_list->scrollToItem(m_list->item(m_row));
            });
        return false;
    }

private:
    LineList* m_list;
    int m_row = -1;
};

class ListControl : public ControlBase
{
public:
    UINT CtlColorMessage(const WndState*) const override { return WM_CTLCOLORLISTBOX; }
    LineList* list = nullptr;
    OneLineDelegate* lines = nullptr;
    ScrollKeeper* keeper = nullptr;
    bool programmatic = false;

    explicit ListControl(WndState* s, QWidget* parentWidget)
    {
        auto* h = new Host<LineList>(s, true, parentWidget);
        list = h;
        s->widget = h;
        s->host = h;
        h->HostViewport(h->viewport());
        DWORD st = s->style;
        if (st & LBS_NOSEL)
            h->setSelectionMode(QAbstractItemView::NoSelection);
        else if (st & LBS_EXTENDEDSEL)
            h->setSelectionMode(QAbstractItemView::ExtendedSelection);
        else if (st & LBS_MULTIPLESEL)
            h->setSelectionMode(QAbstractItemView::MultiSelection);
        else
            h->setSelectionMode(QAbstractItemView::SingleSelection);
        if (!((st & WS_BORDER) || (s->exStyle & WS_EX_CLIENTEDGE))) h->setFrameStyle(QFrame::NoFrame);
        h->setVerticalScrollBarPolicy((st & WS_VSCROLL)
                                          ? ((st & LBS_DISABLENOSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded)
                                          : Qt::ScrollBarAlwaysOff);
        h->setHorizontalScrollBarPolicy((st & WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        h->setUniformItemSizes(true);
        lines = new OneLineDelegate(h);
        h->setItemDelegate(lines);
        keeper = new ScrollKeeper(h);
    }

    // The widest line so far, for the lines' common width (a line taken out leaves it as it was).
    void Measure(const QString& text)
    {
        lines->widestText = std::max(lines->widestText, list->fontMetrics().horizontalAdvance(text));
    }

    void FontChanged(WndState*) override
    {
        lines->widestText = 0;
        for (int i = 0; i < list->count(); ++i) Measure(list->item(i)->text());
    }

    bool Multi() const
    {
        return list->selectionMode() == QAbstractItemView::MultiSelection ||
               list->selectionMode() == QAbstractItemView::ExtendedSelection;
    }

    void Created(WndState* s) override
    {
        HWND h = s->handle;
        QObject::connect(list, &QListWidget::itemSelectionChanged, list, [this, h]() {
            WndState* st = StateOf(h);
            if (!programmatic && st && (st->style & LBS_NOTIFY)) NotifyParent(st, LBN_SELCHANGE);
        });
        QObject::connect(list, &QListWidget::itemDoubleClicked, list, [h](QListWidgetItem*) {
            WndState* st = StateOf(h);
            if (st && (st->style & LBS_NOTIFY)) NotifyParent(st, LBN_DBLCLK);
        });
    }

    ListItems ItemsOf() const
    {
        return {list->count(), [this](int i) { return WholeText(list->item(i)); },
                [this](int i) { return list->item(i)->data(Qt::UserRole).toULongLong(); },
                [this](int i, qulonglong data) { list->item(i)->setData(Qt::UserRole, QVariant::fromValue(data)); }};
    }

    QStringList Items() const
    {
        QStringList l;
        for (int i = 0; i < list->count(); ++i) l << WholeText(list->item(i));
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

    void Select(int index)
    {
        Quietly([&] {
            list->clearSelection();
            if (index >= 0)
            {
                list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
                list->scrollToItem(list->item(index));
                keeper->Scrolled(index);
            }
        });
    }

    UINT SetFocusCode() const override { return LBN_SETFOCUS_CODE; }
    UINT KillFocusCode() const override { return LBN_KILLFOCUS_CODE; }

    bool Control(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        *result = 0;
        int n = list->count();
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        auto bad = [&]() {
            *result = LB_ERR;
            return true;
        };
        switch (msg)
        {
        case WM_GETDLGCODE: *result = DLGC_WANTARROWS | DLGC_WANTCHARS; return true;
        case LB_ADDSTRING:
        case LB_INSERTSTRING: {
            QString t = ToQString(reinterpret_cast<LPCTSTR>(lParam));
            int at = msg == LB_ADDSTRING || index < 0 ? n : index;
            if (at > n) return bad();
            if (msg == LB_ADDSTRING && (s->style & LBS_SORT)) at = SortedPosition(Items(), t);
            Quietly([&] {
                auto* item = new QListWidgetItem(ShownText(t, list->font()));
                if (item->text().size() != t.size()) item->setData(kWholeTextRole, t);
                Measure(item->text());
                list->insertItem(at, item);
            });
            *result = at;
            return true;
        }
        case LB_DELETESTRING:
            if (index < 0 || index >= n) return bad();
            Quietly([&] { delete list->takeItem(index); });
            *result = n - 1;
            return true;
        case LB_RESETCONTENT:
            Quietly([&] { list->clear(); });
            lines->widestText = 0;
            keeper->Scrolled(-1);
            return true;
        case LB_GETCOUNT: *result = n; return true;
        case LB_GETCURSEL:
            if (Multi())
                *result = list->currentRow() >= 0 ? list->currentRow() : LB_ERR;
            else
            {
                auto sel = list->selectedItems();
                *result = sel.isEmpty() ? LB_ERR : list->row(sel.front());
            }
            return true;
        case LB_SETCURSEL:
            if (Multi()) return bad();
            if (index < -1 || index >= n)
            {
                Select(-1);
                return bad();
            }
            Select(index);
            *result = index;
            return true;
        case LB_GETSEL:
            if (index < 0 || index >= n) return bad();
            *result = list->item(index)->isSelected() ? 1 : 0;
            return true;
        case LB_SETSEL: {
            if (!Multi()) return bad();
            int i = static_cast<int>(lParam);
            Quietly([&] {
                if (i == -1)
                    for (int k = 0; k < n; ++k) list->item(k)->setSelected(wParam != 0);
                else if (i >= 0 && i < n)
                    list->item(i)->setSelected(wParam != 0);
            });
            if (i < -1 || i >= n) return bad();
            return true;
        }
        case LB_GETSELCOUNT:
            if (!Multi()) return bad();
            *result = static_cast<LRESULT>(list->selectedItems().size());
            return true;
        case LB_GETSELITEMS: {
            if (!Multi()) return bad();
            auto* out = reinterpret_cast<int*>(lParam);
            int k = 0;
            for (int i = 0; i < n && k < index; ++i)
                if (list->item(i)->isSelected()) out[k++] = i;
            *result = k;
            return true;
        }
        case LB_GETTEXT: *result = AnswerItemMessage(ItemsOf(), ItemMessage::GetText, wParam, lParam); return true;
        case LB_GETTEXTLEN:
            *result = AnswerItemMessage(ItemsOf(), ItemMessage::GetTextLength, wParam, lParam);
            return true;
        case LB_FINDSTRING:
        case LB_FINDSTRINGEXACT:
        case LB_SELECTSTRING: {
            const ItemMessage find = msg == LB_FINDSTRINGEXACT ? ItemMessage::FindExact : ItemMessage::Find;
            *result = AnswerItemMessage(ItemsOf(), find, wParam, lParam);
            if (msg == LB_SELECTSTRING && *result >= 0 && !Multi()) Select(static_cast<int>(*result));
            return true;
        }
        case LB_GETITEMDATA: *result = AnswerItemMessage(ItemsOf(), ItemMessage::GetData, wParam, lParam); return true;
        case LB_SETITEMDATA: *result = AnswerItemMessage(ItemsOf(), ItemMessage::SetData, wParam, lParam); return true;
        case LB_GETTOPINDEX: {
            QListWidgetItem* top = list->itemAt(2, 2);
            *result = top ? list->row(top) : 0;
            return true;
        }
        case LB_SETTOPINDEX:
            if (index < 0 || index >= n) return bad();
            list->scrollToItem(list->item(index), QAbstractItemView::PositionAtTop);
            return true;
        case LB_GETITEMRECT: {
            if (index < 0 || index >= n) return bad();
            QRect r = list->visualItemRect(list->item(index));
            r.translate(list->viewport()->mapTo(list, QPoint(0, 0)) - s->ClientOrigin());
            if (lParam) *reinterpret_cast<RECT*>(lParam) = RECT(FromQRect(r));
            return true;
        }
        case LB_GETITEMHEIGHT:
            *result = n > 0 ? list->visualItemRect(list->item(0)).height() : list->fontMetrics().height() + 2;
            return true;
        case LB_ITEMFROMPOINT: {
            QPoint p(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            p += s->ClientOrigin() - list->viewport()->mapTo(list, QPoint(0, 0));
            QListWidgetItem* it = list->itemAt(p);
            int row = it ? list->row(it) : std::max(n - 1, 0);
            *result = MAKELONG(static_cast<WORD>(row), it ? 0 : 1);
            return true;
        }
        default: return false;
        }
    }
};

} // namespace

NativeControl* NewListControl(WndState* s, QWidget* parentWidget) { return new ListControl(s, parentWidget); }

} // namespace qor::gui

using namespace qor::gui;
using namespace qor::gui::wrap;

// ---- CListBox --------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CListBox, CWnd)

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_LISTBOX, nullptr, dwStyle, rect, pParentWnd, nID);
}
int CListBox::GetCount() const { return static_cast<int>(Send(this, LB_GETCOUNT)); }
int CListBox::GetCurSel() const { return static_cast<int>(Send(this, LB_GETCURSEL)); }
int CListBox::SetCurSel(int nSelect)
{
    return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(nSelect)));
}
int CListBox::GetSel(int nIndex) const { return static_cast<int>(Send(this, LB_GETSEL, static_cast<WPARAM>(nIndex))); }
int CListBox::SetSel(int nIndex, BOOL bSelect)
{
    return static_cast<int>(SendMessage(LB_SETSEL, static_cast<WPARAM>(bSelect), static_cast<LPARAM>(nIndex)));
}
int CListBox::GetSelCount() const { return static_cast<int>(Send(this, LB_GETSELCOUNT)); }
int CListBox::GetSelItems(int nMaxItems, LPINT rgIndex) const
{
    return static_cast<int>(Send(this, LB_GETSELITEMS, static_cast<WPARAM>(nMaxItems), LP(rgIndex)));
}
int CListBox::GetTopIndex() const { return static_cast<int>(Send(this, LB_GETTOPINDEX)); }
int CListBox::SetTopIndex(int nIndex)
{
    return static_cast<int>(SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(nIndex)));
}
DWORD_PTR CListBox::GetItemData(int nIndex) const
{
    return static_cast<DWORD_PTR>(Send(this, LB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
}
int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return static_cast<int>(SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
}
int CListBox::GetItemRect(int nIndex, LPRECT lpRect) const
{
    return static_cast<int>(Send(this, LB_GETITEMRECT, static_cast<WPARAM>(nIndex), LP(lpRect)));
}
int CListBox::GetItemHeight(int nIndex) const
{
    return static_cast<int>(Send(this, LB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex)));
}
int CListBox::GetText(int nIndex, LPTSTR lpszBuffer) const
{
    return static_cast<int>(Send(this, LB_GETTEXT, static_cast<WPARAM>(nIndex), LP(lpszBuffer)));
}
void CListBox::GetText(int nIndex, CString& rString) const
{
    ItemText(this, LB_GETTEXTLEN, LB_GETTEXT, nIndex, rString);
}
int CListBox::GetTextLen(int nIndex) const
{
    return static_cast<int>(Send(this, LB_GETTEXTLEN, static_cast<WPARAM>(nIndex)));
}
int CListBox::AddString(LPCTSTR s) { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, LP(s ? s : L""))); }
int CListBox::DeleteString(UINT nIndex) { return static_cast<int>(SendMessage(LB_DELETESTRING, nIndex)); }
int CListBox::InsertString(int nIndex, LPCTSTR s)
{
    return static_cast<int>(SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(nIndex), LP(s ? s : L"")));
}
void CListBox::ResetContent() { SendMessage(LB_RESETCONTENT); }
int CListBox::FindString(int nStartAfter, LPCTSTR s) const
{
    return static_cast<int>(Send(this, LB_FINDSTRING, static_cast<WPARAM>(nStartAfter), LP(s ? s : L"")));
}
int CListBox::FindStringExact(int nIndexStart, LPCTSTR s) const
{
    return static_cast<int>(Send(this, LB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), LP(s ? s : L"")));
}
int CListBox::SelectString(int nStartAfter, LPCTSTR s)
{
    return static_cast<int>(SendMessage(LB_SELECTSTRING, static_cast<WPARAM>(nStartAfter), LP(s ? s : L"")));
}
UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const
{
    auto r = static_cast<DWORD>(
        Send(this, LB_ITEMFROMPOINT, 0, MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y))));
    bOutside = HIWORD(r) ? TRUE : FALSE;
    return LOWORD(r);
}
