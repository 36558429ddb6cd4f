// The property grid over the toolkit's tree widget: one row per property (groups span both
// columns), in-place editors for the value column, the colour and file dialogs, and the
// description area. The properties are ours; the rows are rebuilt from them.
#include "platform/gui/widgets/PropertyGrid.h"

#include "platform/core/MessageBox.h"
#include "platform/core/Messages.h"
#include "platform/core/ModalWindowScope.h"
#include "platform/gui/draw/NumberText.h"
#include "platform/gui/draw/SysValues.h"
#include "platform/gui/window/App.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QRegularExpression>
#include <QtGui/QGuiApplication>
#include <QtGui/QPainter>
#include <QtWidgets/QColorDialog>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QStyledItemDelegate>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QTreeWidget>

#include <algorithm>
#include <cwchar>

using namespace qor::gui;

const UINT AFX_WM_PROPERTY_CHANGED = RegisterWindowMessage(L"AFX_WM_PROPERTY_CHANGED");

namespace {

bool Headless()
{
    const QString p = QGuiApplication::platformName();
    return p == QLatin1String("offscreen") || p == QLatin1String("minimal");
}

bool IsIntegerType(VARTYPE vt)
{
    return vt == VT_I2 || vt == VT_I4 || vt == VT_INT || vt == VT_UINT || vt == VT_UI4 || vt == VT_UI2;
}

} // namespace

// ---- COleVariant --------------------------------------------------------------------------------

long long COleVariant::AsInteger() const
{
    switch (vt)
    {
    case VT_BOOL: return boolVal;
    case VT_I2: return iVal;
    case VT_I4:
    case VT_INT: return lVal;
    case VT_UI2:
    case VT_UI4:
    case VT_UINT: return uintVal;
    case VT_R4:
    case VT_R8: return static_cast<long long>(dblVal);
    case VT_BSTR: {
        long long v = 0;
        return ParseWholeInteger(strVal, v) ? v : 0;
    }
    default: return 0;
    }
}

double COleVariant::AsDouble() const
{
    if (vt == VT_R4 || vt == VT_R8) return dblVal;
    if (vt == VT_BSTR)
    {
        double v = 0;
        return ParseWholeDouble(strVal, v) ? v : 0.0;
    }
    return static_cast<double>(AsInteger());
}

CString COleVariant::AsText() const
{
    switch (vt)
    {
    case VT_BOOL: return boolVal ? L"True" : L"False";
    case VT_R4:
    case VT_R8: {
        CString s;
        s.Format(L"%g", dblVal);
        return s;
    }
    case VT_BSTR: return strVal;
    case VT_EMPTY: return CString();
    default: {
        CString s;
        s.Format(L"%lld", AsInteger());
        return s;
    }
    }
}

// ---- Properties -----------------------------------------------------------------------------------

CMFCPropertyGridProperty::CMFCPropertyGridProperty(const CString& strGroupName, DWORD_PTR dwData, BOOL)
    : m_strName(strGroupName), m_dwData(dwData), m_bGroup(TRUE)
{}

CMFCPropertyGridProperty::CMFCPropertyGridProperty(const CString& strName, const COleVariant& varValue,
                                                   LPCTSTR lpszDescr, DWORD_PTR dwData, LPCTSTR, LPCTSTR, LPCTSTR)
    : m_strName(strName), m_strDescr(lpszDescr ? lpszDescr : L""), m_varValue(varValue), m_varValueOrig(varValue),
      m_dwData(dwData)
{}

CMFCPropertyGridProperty::~CMFCPropertyGridProperty()
{
    if (m_pWndList) m_pWndList->PropertyGone(this);
}

BOOL CMFCPropertyGridProperty::AddSubItem(CMFCPropertyGridProperty* pProp)
{
    if (!pProp || !m_bGroup) return FALSE;
    pProp->m_pParent = this;
    pProp->SetOwnerList(m_pWndList);
    m_subItems.emplace_back(pProp);
    if (m_pWndList) m_pWndList->Refresh();
    return TRUE;
}

CMFCPropertyGridProperty* CMFCPropertyGridProperty::GetSubItem(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetSubItemsCount() ? m_subItems[static_cast<size_t>(nIndex)].get() : nullptr;
}

void CMFCPropertyGridProperty::SetOwnerList(CMFCPropertyGridCtrl* pWndList)
{
    m_pWndList = pWndList;
    for (auto& sub : m_subItems) sub->SetOwnerList(pWndList);
}

void CMFCPropertyGridProperty::SetValue(const COleVariant& varValue)
{
    m_varValue = varValue;
    m_bIsModified = m_varValue.vt != m_varValueOrig.vt || m_varValue.AsText() != m_varValueOrig.AsText();
    if (m_pWndList) m_pWndList->Refresh();
}

void CMFCPropertyGridProperty::Expand(BOOL bExpand)
{
    m_bExpanded = bExpand;
    if (m_pWndList) m_pWndList->Refresh();
}

CString CMFCPropertyGridProperty::FormatProperty() { return m_varValue.AsText(); }

BOOL CMFCPropertyGridProperty::TextToVar(const CString& strText)
{
    COleVariant v = m_varValue;
    if (m_varValue.vt == VT_BOOL)
    {
        CString t = strText;
        t.Trim();
        if (t.CompareNoCase(L"True") == 0)
            v.boolVal = VARIANT_TRUE;
        else if (t.CompareNoCase(L"False") == 0)
            v.boolVal = VARIANT_FALSE;
        else
            return FALSE;
    }
    else if (IsIntegerType(m_varValue.vt))
    {
        long long n = 0;
        if (!ParseWholeInteger(strText, n)) return FALSE;
        if (m_varValue.vt == VT_UINT || m_varValue.vt == VT_UI4 || m_varValue.vt == VT_UI2)
        {
            if (n < 0 || n > 0xFFFFFFFFLL) return FALSE;
            v.uintVal = static_cast<unsigned int>(n);
        }
        else
        {
            if (n < -2147483648LL || n > 2147483647LL) return FALSE;
            v.lVal = static_cast<long>(n);
            v.iVal = static_cast<short>(n);
        }
    }
    else if (m_varValue.vt == VT_R4 || m_varValue.vt == VT_R8)
    {
        double d = 0;
        if (!ParseWholeDouble(strText, d)) return FALSE;
        v.dblVal = d;
    }
    else
    {
        v = COleVariant(strText);
    }
    SetValue(v);
    return TRUE;
}

CMFCPropertyGridColorProperty::CMFCPropertyGridColorProperty(const CString& strName, const COLORREF& color, void*,
                                                             LPCTSTR lpszDescr, DWORD_PTR dwData)
    : CMFCPropertyGridProperty(strName, COleVariant(static_cast<unsigned long>(color)), lpszDescr, dwData),
      m_Color(color)
{}

void CMFCPropertyGridColorProperty::SetColor(COLORREF color)
{
    m_Color = color;
    SetValue(COleVariant(static_cast<unsigned long>(color)));
}

void CMFCPropertyGridColorProperty::EnableOtherButton(LPCTSTR lpszLabel, BOOL, BOOL bEnable)
{
    m_bOther = bEnable;
    m_strOtherLabel = lpszLabel ? lpszLabel : L"";
}

CString CMFCPropertyGridColorProperty::FormatProperty()
{
    CString s;
    s.Format(L"%d, %d, %d", GetRValue(m_Color), GetGValue(m_Color), GetBValue(m_Color));
    return s;
}

BOOL CMFCPropertyGridColorProperty::TextToVar(const CString& strText)
{
    int r = 0, g = 0, b = 0;
    if (std::swscanf(strText.GetString(), L"%d , %d , %d", &r, &g, &b) != 3) return FALSE;
    if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) return FALSE;
    SetColor(RGB(r, g, b));
    return TRUE;
}

void CMFCPropertyGridColorProperty::OnColorChosen(COLORREF color)
{
    SetColor(color);
    if (m_pWndList) m_pWndList->OnPropertyChanged(this);
}

CMFCPropertyGridFileProperty::CMFCPropertyGridFileProperty(const CString& strName, BOOL bOpenFileDialog,
                                                           const CString& strFileName, LPCTSTR lpszDefExt,
                                                           DWORD dwFlags, LPCTSTR lpszFilter, LPCTSTR lpszDescr,
                                                           DWORD_PTR dwData)
    : CMFCPropertyGridProperty(strName, COleVariant(strFileName), lpszDescr, dwData),
      m_bOpenFileDialog(bOpenFileDialog), m_strDefExt(lpszDefExt ? lpszDefExt : L""),
      m_strFilter(lpszFilter ? lpszFilter : L""), m_dwFlags(dwFlags)
{}

BOOL CMFCPropertyGridFileProperty::PromptForPath(CString& path) const
{
    // The application's file-dialog driver plays the user in tests.
    const qor::gui::FileDialogDriver& driver = qor::gui::GetFileDialogDriver();
    if (driver) return driver(m_bOpenFileDialog, path) == IDOK;
    if (Headless()) return FALSE;
    // "Name (*.x)|*.x||" -> "Name (*.x)"
    QString filter;
    QStringList parts = ToQString(m_strFilter).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filter += (filter.isEmpty() ? QString() : QStringLiteral(";;")) + parts[i];
    QWidget* parent = m_pWndList ? WidgetOf(m_pWndList) : nullptr;
    qor::ModalWindowScope running;
    // The toolkit's own dialog: a desktop's keeps its history in the home (see InitApplication).
    const auto options = QFileDialog::DontUseNativeDialog;
    QString chosen = m_bOpenFileDialog
                         ? QFileDialog::getOpenFileName(parent, QString(), ToQString(path), filter, nullptr, options)
                         : QFileDialog::getSaveFileName(parent, QString(), ToQString(path), filter, nullptr, options);
    if (chosen.isEmpty()) return FALSE;
    path = qor::gui::FromQString(chosen);
    return TRUE;
}

BOOL CMFCPropertyGridFileProperty::Browse()
{
    CString path = m_varValue.AsText();
    if (!PromptForPath(path)) return FALSE;
    SetValue(COleVariant(path));
    if (m_pWndList) m_pWndList->OnPropertyChanged(this);
    return TRUE;
}

// ---- The toolkit side ---------------------------------------------------------------------------------

namespace {

constexpr int kPropRole = Qt::UserRole + 10;

CMFCPropertyGridProperty* PropOf(const QModelIndex& index)
{
    return static_cast<CMFCPropertyGridProperty*>(index.sibling(index.row(), 0).data(kPropRole).value<void*>());
}

// An editor with a browse button (the file property).
class PathEditor : public QWidget
{
public:
    PathEditor(QWidget* parent, CMFCPropertyGridFileProperty* prop) : QWidget(parent)
    {
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        line = new QLineEdit(this);
        line->setFrame(false);
        auto* browse = new QToolButton(this);
        browse->setText(QStringLiteral("..."));
        row->addWidget(line, 1);
        row->addWidget(browse);
        setFocusProxy(line);
        QObject::connect(browse, &QToolButton::clicked, this, [this, prop] {
            CString path = FromQString(line->text());
            if (prop->PromptForPath(path)) line->setText(ToQString(path));
        });
    }
    QLineEdit* line = nullptr;
};

class ValueDelegate : public QStyledItemDelegate
{
public:
    explicit ValueDelegate(CMFCPropertyGridCtrl* grid, QObject* parent) : QStyledItemDelegate(parent), m_grid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        CMFCPropertyGridProperty* prop = PropOf(index);
        if (!prop || prop->IsGroup() || index.column() != 1 || !prop->IsEnabled()) return nullptr;
        if (dynamic_cast<CMFCPropertyGridColorProperty*>(prop)) return nullptr;
        if (auto* file = dynamic_cast<CMFCPropertyGridFileProperty*>(prop)) return new PathEditor(parent, file);
        if (prop->GetValue().vt == VT_BOOL)
        {
            auto* combo = new QComboBox(parent);
            combo->addItems({QStringLiteral("True"), QStringLiteral("False")});
            QObject::connect(combo, &QComboBox::activated, combo, [this, combo] {
                auto* self = const_cast<ValueDelegate*>(this);
                emit self->commitData(combo);
                emit self->closeEditor(combo);
            });
            return combo;
        }
        auto* line = new QLineEdit(parent);
        line->setFrame(false);
        return line;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        CMFCPropertyGridProperty* prop = PropOf(index);
        if (!prop) return;
        QString text = ToQString(prop->FormatProperty());
        if (auto* combo = dynamic_cast<QComboBox*>(editor))
            combo->setCurrentIndex(prop->GetValue().boolVal ? 0 : 1);
        else if (auto* path = dynamic_cast<PathEditor*>(editor))
            path->line->setText(text);
        else if (auto* line = dynamic_cast<QLineEdit*>(editor))
        {
            line->setText(text);
            line->selectAll();
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        CMFCPropertyGridProperty* prop = PropOf(index);
        if (!prop) return;
        QString text;
        if (auto* combo = dynamic_cast<QComboBox*>(editor))
            text = combo->currentText();
        else if (auto* path = dynamic_cast<PathEditor*>(editor))
            text = path->line->text();
        else if (auto* line = dynamic_cast<QLineEdit*>(editor))
            text = line->text();
        CString typed = FromQString(text);
        if (typed == prop->FormatProperty()) return;
        // Posted: the rows are rebuilt, which must not happen inside the editor's own commit.
        HWND grid = m_grid->m_hWnd;
        DWORD_PTR key = reinterpret_cast<DWORD_PTR>(prop);
        QMetaObject::invokeMethod(
            const_cast<ValueDelegate*>(this),
            [grid, key, typed] {
                auto* g = static_cast<CMFCPropertyGridCtrl*>(CWnd::FromHandlePermanent(grid));
                if (!g) return;
                // The property must still be one of the grid's.
                std::function<CMFCPropertyGridProperty*(CMFCPropertyGridProperty*)> find =
                    [&](CMFCPropertyGridProperty* p) -> CMFCPropertyGridProperty* {
                    if (reinterpret_cast<DWORD_PTR>(p) == key) return p;
                    for (int i = 0; i < p->GetSubItemsCount(); ++i)
                        if (auto* f = find(p->GetSubItem(i))) return f;
                    return nullptr;
                };
                for (int i = 0; i < g->GetPropertyCount(); ++i)
                    if (auto* p = find(g->GetProperty(i)))
                    {
                        g->EditValue(p, typed);
                        return;
                    }
            },
            Qt::QueuedConnection);
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        editor->setGeometry(option.rect);
    }

private:
    CMFCPropertyGridCtrl* m_grid;
};

QPixmap Swatch(COLORREF c, int h)
{
    QPixmap pm(std::max(h * 3, 12), std::max(h, 6));
    pm.fill(ToQColor(c));
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
    return pm;
}

// Runs of blanks and tabs in a description read as one space.
QString Simplified(const CString& s) { return ToQString(s).simplified(); }

} // namespace

struct CMFCPropertyGridCtrl::View
{
    QTreeWidget* tree = nullptr;
    QLabel* description = nullptr;
    bool rebuilding = false;
};

IMPLEMENT_DYNAMIC(CMFCPropertyGridCtrl, CWnd)

BEGIN_MESSAGE_MAP(CMFCPropertyGridCtrl, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_SYSCOLORCHANGE()
ON_MESSAGE(WM_SETFONT, OnSetFont)
END_MESSAGE_MAP()

CMFCPropertyGridCtrl::CMFCPropertyGridCtrl() : m_view(std::make_unique<View>()) {}

CMFCPropertyGridCtrl::~CMFCPropertyGridCtrl()
{
    // The properties go first, while the grid can still be told.
    std::vector<std::unique_ptr<CMFCPropertyGridProperty>> props = std::move(m_props);
    for (auto& p : props) p->SetOwnerList(nullptr);
    props.clear();
}

BOOL CMFCPropertyGridCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(nullptr, L"", dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

int CMFCPropertyGridCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    QWidget* host = WidgetOf(this);
    auto* tree = new QTreeWidget(host);
    tree->setColumnCount(2);
    tree->setHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
    tree->setRootIsDecorated(true);
    tree->setUniformRowHeights(true);
    tree->setAlternatingRowColors(false);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::DoubleClicked |
                          QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    tree->setItemDelegateForColumn(1, new ValueDelegate(this, tree));
    tree->header()->setStretchLastSection(true);
    tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tree->setTextElideMode(Qt::ElideRight);
    tree->header()->setSectionResizeMode(0, QHeaderView::Interactive);
    auto* description = new QLabel(host);
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    description->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    description->setMargin(3);
    description->setTextFormat(Qt::RichText);
    // Its own field colour under its text, whatever the window behind it last drew.
    description->setBackgroundRole(QPalette::Base);
    description->setForegroundRole(QPalette::Text);
    description->setAutoFillBackground(true);
    m_view->tree = tree;
    m_view->description = description;
    HWND self = m_hWnd;
    QObject::connect(
        tree, &QTreeWidget::currentItemChanged, tree, [this, self](QTreeWidgetItem* now, QTreeWidgetItem*) {
            if (!IsWindow(self) || m_view->rebuilding) return;
            m_pSel = now ? static_cast<CMFCPropertyGridProperty*>(now->data(0, kPropRole).value<void*>()) : nullptr;
            m_view->description->setText(
                ToQString(GetDescriptionText())
                    .toHtmlEscaped()
                    .replace(QRegularExpression(QStringLiteral("^([^\\n]*)\\n")), QStringLiteral("<b>\\1</b><br>")));
        });
    auto expanded = [this](QTreeWidgetItem* item, bool open) {
        if (m_view->rebuilding) return;
        if (auto* p = static_cast<CMFCPropertyGridProperty*>(item->data(0, kPropRole).value<void*>()))
            p->m_bExpanded = open;
    };
    QObject::connect(tree, &QTreeWidget::itemExpanded, tree, [expanded](QTreeWidgetItem* it) { expanded(it, true); });
    QObject::connect(tree, &QTreeWidget::itemCollapsed, tree, [expanded](QTreeWidgetItem* it) { expanded(it, false); });
    QObject::connect(tree, &QTreeWidget::itemDoubleClicked, tree, [this](QTreeWidgetItem* item, int) {
        auto* color = dynamic_cast<CMFCPropertyGridColorProperty*>(
            static_cast<CMFCPropertyGridProperty*>(item->data(0, kPropRole).value<void*>()));
        if (!color || !color->IsEnabled() || Headless()) return;
        qor::ModalWindowScope running;
        QColor c = QColorDialog::getColor(ToQColor(color->GetColor()), m_view->tree, ToQString(color->GetName()));
        if (c.isValid()) color->OnColorChosen(FromQColor(c));
    });
    Refresh();
    AdjustLayout();
    return 0;
}

void CMFCPropertyGridCtrl::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    AdjustLayout();
}

void CMFCPropertyGridCtrl::OnSetFocus(CWnd*)
{
    if (m_view->tree) m_view->tree->setFocus();
}

LRESULT CMFCPropertyGridCtrl::OnSetFont(WPARAM wParam, LPARAM)
{
    LRESULT r = Default();
    QFont f = wParam ? QFontFromHandle(reinterpret_cast<HFONT>(wParam)) : QFont();
    if (m_view->tree) m_view->tree->setFont(f);
    if (m_view->description) m_view->description->setFont(f);
    Refresh();
    AdjustLayout();
    return r;
}

void CMFCPropertyGridCtrl::AdjustLayout()
{
    if (!m_view->tree || !m_hWnd) return;
    CRect rc;
    GetClientRect(&rc);
    int descH = 0;
    if (m_bDescriptionArea)
    {
        QFontMetrics fm(m_view->description->font());
        descH = std::min(rc.Height() / 2, fm.lineSpacing() * 4 + 10);
    }
    m_view->tree->setGeometry(0, 0, rc.Width(), std::max(0, rc.Height() - descH));
    m_view->description->setGeometry(0, rc.Height() - descH, rc.Width(), descH);
    m_view->description->setVisible(m_bDescriptionArea && descH > 0);
    // Names as wide as the widest (they are what the user reads first), leaving the values room.
    m_view->tree->resizeColumnToContents(0);
    int names = std::min(m_view->tree->columnWidth(0), rc.Width() - 90);
    m_view->tree->setColumnWidth(0, std::max({names, rc.Width() / 2, 20}));
}

int CMFCPropertyGridCtrl::AddProperty(CMFCPropertyGridProperty* pProp, BOOL, BOOL)
{
    if (!pProp) return -1;
    pProp->SetOwnerList(this);
    m_props.emplace_back(pProp);
    Refresh();
    return GetPropertyCount() - 1;
}

void CMFCPropertyGridCtrl::RemoveAll()
{
    m_pSel = nullptr;
    if (m_view->tree)
    {
        m_view->rebuilding = true;
        m_view->tree->clear();
        m_view->rebuilding = false;
    }
    std::vector<std::unique_ptr<CMFCPropertyGridProperty>> props = std::move(m_props);
    m_props.clear();
    for (auto& p : props) p->SetOwnerList(nullptr);
    props.clear();
    if (m_view->description) m_view->description->clear();
}

void CMFCPropertyGridCtrl::PropertyGone(CMFCPropertyGridProperty* pProp)
{
    if (m_pSel == pProp) m_pSel = nullptr;
}

CMFCPropertyGridProperty* CMFCPropertyGridCtrl::GetProperty(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetPropertyCount() ? m_props[static_cast<size_t>(nIndex)].get() : nullptr;
}

CMFCPropertyGridProperty* CMFCPropertyGridCtrl::FindItemByData(DWORD_PTR dwData, BOOL bSearchSubItems) const
{
    std::function<CMFCPropertyGridProperty*(CMFCPropertyGridProperty*)> find = [&](CMFCPropertyGridProperty* p) {
        if (p->GetData() == dwData) return p;
        if (bSearchSubItems)
            for (int i = 0; i < p->GetSubItemsCount(); ++i)
                if (auto* f = find(p->GetSubItem(i))) return f;
        return static_cast<CMFCPropertyGridProperty*>(nullptr);
    };
    for (const auto& p : m_props)
        if (auto* f = find(p.get())) return f;
    return nullptr;
}

void CMFCPropertyGridCtrl::SetCurSel(CMFCPropertyGridProperty* pProp, BOOL)
{
    m_pSel = pProp;
    if (!m_view->tree) return;
    for (QTreeWidgetItemIterator it(m_view->tree); *it; ++it)
        if ((*it)->data(0, kPropRole).value<void*>() == pProp)
        {
            m_view->tree->setCurrentItem(*it);
            return;
        }
}

void CMFCPropertyGridCtrl::EnableHeaderCtrl(BOOL bEnable, LPCTSTR lpszLeftColumn, LPCTSTR lpszRightColumn)
{
    m_bHeaderCtrl = bEnable;
    if (!m_view->tree) return;
    m_view->tree->setHeaderLabels({ToQString(CString(lpszLeftColumn)), ToQString(CString(lpszRightColumn))});
    m_view->tree->setHeaderHidden(!bEnable);
}

void CMFCPropertyGridCtrl::EnableDescriptionArea(BOOL bEnable)
{
    m_bDescriptionArea = bEnable;
    AdjustLayout();
}

void CMFCPropertyGridCtrl::MarkModifiedProperties(BOOL bMark, BOOL)
{
    m_bMarkModified = bMark;
    Refresh();
}

void CMFCPropertyGridCtrl::SetAlphabeticMode(BOOL bSet)
{
    m_bAlphabeticMode = bSet;
    Refresh();
}

void CMFCPropertyGridCtrl::ExpandAll(BOOL bExpand)
{
    std::function<void(CMFCPropertyGridProperty*)> walk = [&](CMFCPropertyGridProperty* p) {
        if (p->IsGroup()) p->m_bExpanded = bExpand;
        for (auto& s : p->m_subItems) walk(s.get());
    };
    for (auto& p : m_props) walk(p.get());
    Refresh();
}

CString CMFCPropertyGridCtrl::GetDescriptionText() const
{
    if (!m_pSel) return CString();
    CString text = m_pSel->GetName();
    CString descr = FromQString(Simplified(m_pSel->GetDescription()));
    if (!descr.IsEmpty()) text += L"\n" + descr;
    return text;
}

BOOL CMFCPropertyGridCtrl::IsShownBold(const CMFCPropertyGridProperty* pProp) const
{
    return pProp && (pProp->IsGroup() || (m_bMarkModified && pProp->IsModified()));
}

BOOL CMFCPropertyGridCtrl::EditValue(CMFCPropertyGridProperty* pProp, const CString& strText)
{
    if (!pProp || pProp->IsGroup() || !pProp->IsEnabled()) return FALSE;
    if (!pProp->TextToVar(strText))
    {
        Refresh();
        return FALSE;
    }
    OnPropertyChanged(pProp);
    return TRUE;
}

void CMFCPropertyGridCtrl::OnPropertyChanged(CMFCPropertyGridProperty* pProp) const
{
    if (!pProp || !m_hWnd) return;
    CWnd* owner = GetOwner();
    if (!owner) owner = GetParent();
    if (owner && owner->m_hWnd)
        owner->SendMessage(AFX_WM_PROPERTY_CHANGED, static_cast<WPARAM>(GetDlgCtrlID()),
                           reinterpret_cast<LPARAM>(pProp));
}

// The group rows' background is the look's: made again from the new palette.
void CMFCPropertyGridCtrl::OnSysColorChange()
{
    CWnd::OnSysColorChange();
    Refresh();
}

void CMFCPropertyGridCtrl::Refresh()
{
    QTreeWidget* tree = m_view->tree;
    if (!tree) return;
    m_view->rebuilding = true;
    int scroll = tree->verticalScrollBar() ? tree->verticalScrollBar()->value() : 0;
    tree->setUpdatesEnabled(false);
    tree->clear();
    QFont regular = tree->font(), bold = regular;
    bold.setBold(true);
    int rowH = QFontMetrics(regular).height();
    QTreeWidgetItem* current = nullptr;
    auto makeRow = [&](CMFCPropertyGridProperty* p) {
        auto* item = new QTreeWidgetItem;
        item->setData(0, kPropRole, QVariant::fromValue<void*>(p));
        item->setText(0, ToQString(p->GetName()));
        item->setToolTip(0, ToQString(p->GetName()));
        Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
        if (p->IsGroup())
        {
            item->setFont(0, bold);
            if (m_bVSDotNetLook)
                for (int c = 0; c < 2; ++c) item->setBackground(c, ToQColor(GetSysColor(COLOR_3DFACE)));
        }
        else
        {
            if (!p->IsEnabled()) flags &= ~Qt::ItemIsEnabled;
            if (!dynamic_cast<CMFCPropertyGridColorProperty*>(p)) flags |= Qt::ItemIsEditable;
            QFont f = IsShownBold(p) ? bold : regular;
            item->setFont(0, f);
            item->setFont(1, f);
            if (auto* color = dynamic_cast<CMFCPropertyGridColorProperty*>(p))
            {
                // The swatch is the value; its numbers are in the tip.
                item->setIcon(1, QIcon(Swatch(color->GetColor(), rowH - 4)));
                tree->setIconSize(QSize(std::max((rowH - 4) * 3, 12), std::max(rowH - 4, 6)));
                item->setToolTip(1, ToQString(color->FormatProperty()));
            }
            else
            {
                item->setText(1, ToQString(p->FormatProperty()));
            }
            if (!dynamic_cast<CMFCPropertyGridColorProperty*>(p)) item->setToolTip(1, item->text(1));
        }
        item->setFlags(flags);
        if (p == m_pSel) current = item;
        return item;
    };
    if (m_bAlphabeticMode)
    {
        std::vector<CMFCPropertyGridProperty*> leaves;
        std::function<void(CMFCPropertyGridProperty*)> walk = [&](CMFCPropertyGridProperty* p) {
            if (!p->IsGroup()) leaves.push_back(p);
            for (auto& s : p->m_subItems) walk(s.get());
        };
        for (auto& p : m_props) walk(p.get());
        std::stable_sort(leaves.begin(), leaves.end(),
                         [](auto* a, auto* b) { return a->GetName().CompareNoCase(b->GetName()) < 0; });
        for (auto* p : leaves) tree->addTopLevelItem(makeRow(p));
    }
    else
    {
        std::vector<std::pair<QTreeWidgetItem*, CMFCPropertyGridProperty*>> groups;
        std::function<QTreeWidgetItem*(CMFCPropertyGridProperty*)> build = [&](CMFCPropertyGridProperty* p) {
            QTreeWidgetItem* item = makeRow(p);
            for (auto& s : p->m_subItems) item->addChild(build(s.get()));
            if (p->IsGroup()) groups.emplace_back(item, p);
            return item;
        };
        for (auto& p : m_props) tree->addTopLevelItem(build(p.get()));
        for (auto& [item, p] : groups)
        {
            item->setFirstColumnSpanned(true);
            item->setExpanded(p->IsExpanded() != FALSE);
        }
    }
    if (current) tree->setCurrentItem(current);
    tree->setUpdatesEnabled(true);
    AdjustLayout();
    if (tree->verticalScrollBar()) tree->verticalScrollBar()->setValue(scroll);
    m_view->rebuilding = false;
}
