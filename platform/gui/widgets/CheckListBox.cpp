// The check list box over the list box's toolkit control: every line is a checkable item;
// the box state the user sets is moved on by the check style and reported to the parent.
#include "platform/gui/widgets/CheckListBox.h"

#include "platform/gui/window/WndInternal.h"

#include <QtCore/QAbstractItemModel>
#include <QtWidgets/QListWidget>

using namespace qor::gui;

IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)

namespace {

// The box state the layer last set, kept on the item: the toolkit reports only the new state,
// while the check style decides the next one from the old.
constexpr int kStateRole = Qt::UserRole + 7;

QListWidget* ListOf(const CWnd* w) { return qobject_cast<QListWidget*>(WidgetOf(w)); }

Qt::CheckState ToQt(int check)
{
    switch (check)
    {
    case BST_CHECKED: return Qt::Checked;
    case BST_INDETERMINATE: return Qt::PartiallyChecked;
    default: return Qt::Unchecked;
    }
}

void MakeCheckable(QListWidgetItem* item, int check)
{
    item->setData(kStateRole, check);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(ToQt(check));
}

} // namespace

struct CheckListAccess
{
    // The user changed a box: the state follows the check style, then the parent is told.
    static void BoxChanged(HWND h, QListWidgetItem* item)
    {
        WndState* s = StateOf(h);
        auto* self = s ? dynamic_cast<CCheckListBox*>(s->wnd) : nullptr;
        QListWidget* list = self ? ListOf(self) : nullptr;
        if (!list || self->m_bChanging) return;
        const int old = item->data(kStateRole).toInt();
        int next = old;
        switch (self->m_nStyle)
        {
        case BS_AUTO3STATE:
            next = old == BST_UNCHECKED ? BST_CHECKED : old == BST_CHECKED ? BST_INDETERMINATE : BST_UNCHECKED;
            break;
        case BS_AUTOCHECKBOX: next = old == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED; break;
        default: break; // plain styles: the owner sets the state
        }
        const int row = list->row(item);
        self->m_bChanging = true;
        item->setData(kStateRole, next);
        item->setCheckState(ToQt(next));
        self->m_bChanging = false;
        // The handler takes the line from the selection: make it the line whose box changed.
        if (self->GetCurSel() != row) self->SetCurSel(row);
        NotifyParent(s, CLBN_CHKCHANGE);
    }
};

BOOL CCheckListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CListBox::Create(dwStyle, rect, pParentWnd, nID)) return FALSE;
    Attach();
    return TRUE;
}

void CCheckListBox::PreSubclassWindow()
{
    CListBox::PreSubclassWindow();
    Attach();
}

void CCheckListBox::Attach()
{
    QListWidget* list = ListOf(this);
    if (m_bAttached || !list) return;
    m_bAttached = true;
    for (int i = 0; i < list->count(); ++i) MakeCheckable(list->item(i), BST_UNCHECKED);
    HWND h = m_hWnd;
    // Lines added later get their box as they arrive.
    QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, list,
                     [h](const QModelIndex&, int first, int last) {
                         WndState* s = StateOf(h);
                         auto* self = s ? dynamic_cast<CCheckListBox*>(s->wnd) : nullptr;
                         QListWidget* l = self ? ListOf(self) : nullptr;
                         if (!l) return;
                         self->m_bChanging = true;
                         for (int i = first; i <= last && i < l->count(); ++i) MakeCheckable(l->item(i), BST_UNCHECKED);
                         self->m_bChanging = false;
                     });
    QObject::connect(list, &QListWidget::itemChanged, list, [h](QListWidgetItem* item) {
        QListWidgetItem* it = item;
        WndState* s = StateOf(h);
        auto* self = s ? dynamic_cast<CCheckListBox*>(s->wnd) : nullptr;
        if (!self || self->m_bChanging) return;
        // Only a change of the box itself counts (not of the text or the data).
        if (static_cast<int>(it->checkState()) == static_cast<int>(ToQt(it->data(kStateRole).toInt()))) return;
        CheckListAccess::BoxChanged(h, it);
    });
}

void CCheckListBox::SetCheckStyle(UINT nStyle)
{
    Attach();
    m_nStyle = nStyle;
}

int CCheckListBox::GetCheck(int nIndex) const
{
    QListWidget* list = ListOf(this);
    if (!list || nIndex < 0 || nIndex >= list->count()) return -1;
    return list->item(nIndex)->data(kStateRole).toInt();
}

void CCheckListBox::SetCheck(int nIndex, int nCheck)
{
    Attach();
    QListWidget* list = ListOf(this);
    if (!list || nIndex < 0 || nIndex >= list->count()) return;
    m_bChanging = true;
    MakeCheckable(list->item(nIndex), nCheck);
    m_bChanging = false;
}

void CCheckListBox::Enable(int nIndex, BOOL bEnabled)
{
    QListWidget* list = ListOf(this);
    if (!list || nIndex < 0 || nIndex >= list->count()) return;
    QListWidgetItem* item = list->item(nIndex);
    item->setFlags(bEnabled ? (item->flags() | Qt::ItemIsEnabled) : (item->flags() & ~Qt::ItemIsEnabled));
}

BOOL CCheckListBox::IsEnabled(int nIndex) const
{
    QListWidget* list = ListOf(this);
    if (!list || nIndex < 0 || nIndex >= list->count()) return FALSE;
    return (list->item(nIndex)->flags() & Qt::ItemIsEnabled) ? TRUE : FALSE;
}
