// The toolbars a user makes, and the buttons of every toolbar as the user left them, kept in the
// profile beside the layout (section "Workspace", entry "ToolBars").
#include "platform/gui/frame/Frame.h"

#include "platform/gui/draw/Convert.h"
#include "platform/gui/frame/Bars.h"
#include "platform/gui/frame/FrameInternal.h"
#include "platform/gui/frame/ToolBarsCustomizeDialog.h"
#include "platform/gui/window/App.h"

#include <QtCore/QByteArray>
#include <QtCore/QDataStream>
#include <QtCore/QIODevice>

#include <set>

namespace {

const wchar_t kWorkspace[] = L"Workspace";
const wchar_t kToolBars[] = L"ToolBars";
// The entry's mark and the version of its form (another is not read).
constexpr quint32 kMagic = 0x51544253; // "QTBS"
constexpr qint32 kVersion = 1;
constexpr int kMaxUserToolBars = 10;
// More than any bar holds: a count past these is a damaged entry.
constexpr quint32 kMaxBars = 64;
constexpr quint32 kMaxButtons = 256;

struct KeptBar
{
    quint32 id = 0;
    bool user = false;
    QString name;
    std::vector<UINT> buttons;
    std::vector<int> pictures;
};

// The entry read whole, or nothing when any of it is wrong.
bool ReadKept(const QByteArray& data, std::vector<KeptBar>& bars)
{
    QDataStream in(data);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0, count = 0;
    qint32 version = 0;
    in >> magic >> version >> count;
    if (in.status() != QDataStream::Ok || magic != kMagic || version != kVersion || count > kMaxBars) return false;
    for (quint32 b = 0; b < count; ++b)
    {
        KeptBar bar;
        quint32 buttons = 0;
        in >> bar.id >> bar.user >> bar.name >> buttons;
        if (in.status() != QDataStream::Ok || buttons > kMaxButtons) return false;
        for (quint32 i = 0; i < buttons; ++i)
        {
            quint32 id = 0;
            qint32 picture = -1;
            in >> id >> picture;
            if (in.status() != QDataStream::Ok || picture < -1) return false;
            bar.buttons.push_back(id);
            bar.pictures.push_back(picture);
        }
        bars.push_back(std::move(bar));
    }
    return in.status() == QDataStream::Ok && in.atEnd();
}

} // namespace

CMDIFrameWndEx::CMDIFrameWndEx() = default;
CMDIFrameWndEx::~CMDIFrameWndEx() = default;

BOOL CMDIFrameWndEx::InitUserToolbars(LPCTSTR, UINT uiUserToolbarFirst, UINT uiUserToolbarLast)
{
    if (uiUserToolbarLast < uiUserToolbarFirst) return FALSE;
    m_uiUserToolbarFirst = uiUserToolbarFirst;
    m_uiUserToolbarLast = uiUserToolbarLast;
    return TRUE;
}

CMFCToolBar* CMDIFrameWndEx::GetUserToolBarByIndex(int iIndex) const
{
    return iIndex >= 0 && iIndex < GetUserToolBarCount() ? m_userToolBars[static_cast<size_t>(iIndex)].get() : nullptr;
}

CMFCToolBar* CMDIFrameWndEx::CreateUserToolBar(UINT nID, LPCTSTR lpszName)
{
    auto bar = std::make_unique<CMFCToolBar>();
    const DWORD style =
        WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    if (!bar->CreateEx(this, TBSTYLE_FLAT, style, CRect(1, 1, 1, 1), nID)) return nullptr;
    bar->m_bUserDefined = TRUE;
    bar->SetWindowText(lpszName);
    if (qor::gui::PaneShell* shell = bar->Shell(); shell && shell->toolBar)
        shell->toolBar->setWindowTitle(qor::gui::ToQString(CString(lpszName)));
    bar->EnableDocking(CBRS_ALIGN_ANY);
    DockPane(bar.get());
    m_userToolBars.push_back(std::move(bar));
    return m_userToolBars.back().get();
}

LRESULT CMDIFrameWndEx::OnToolbarCreateNew(WPARAM, LPARAM lp)
{
    const auto* name = reinterpret_cast<LPCTSTR>(lp);
    if (!name || !*name || GetUserToolBarCount() >= kMaxUserToolBars) return 0;
    for (UINT id = m_uiUserToolbarFirst; id <= m_uiUserToolbarLast && id - m_uiUserToolbarFirst < kMaxUserToolBars;
         ++id)
    {
        if (GetDlgItem(static_cast<int>(id))) continue;
        CMFCToolBar* bar = CreateUserToolBar(id, name);
        if (bar) RecalcLayout();
        return reinterpret_cast<LRESULT>(bar);
    }
    return 0;
}

BOOL CMDIFrameWndEx::DeleteToolBar(CMFCToolBar* pToolBar)
{
    for (auto it = m_userToolBars.begin(); it != m_userToolBars.end(); ++it)
        if (it->get() == pToolBar)
        {
            std::unique_ptr<CMFCToolBar> bar = std::move(*it);
            m_userToolBars.erase(it);
            bar->DestroyWindow();
            RecalcLayout();
            return TRUE;
        }
    return FALSE;
}

void CMDIFrameWndEx::SaveToolBarState()
{
    // Customising ends with the frame.
    if (CMFCToolBarsCustomizeDialog* dialog = CMFCToolBarsCustomizeDialog::GetOpen();
        dialog && dialog->GetFrame() == this)
        dialog->DestroyWindow();
    CWinApp* app = AfxGetApp();
    if (!app) return;
    // Only the bars the user changed: the others follow their resources as the program changes.
    std::vector<CMFCToolBar*> kept;
    for (CBasePane* pane : GetMenuPanes())
        if (auto* bar = DYNAMIC_DOWNCAST(CMFCToolBar, pane); bar && bar->IsChanged()) kept.push_back(bar);
    if (kept.empty())
    {
        app->WriteProfileString(kWorkspace, kToolBars, L"");
        return;
    }
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kMagic << kVersion << static_cast<quint32>(kept.size());
    for (CMFCToolBar* bar : kept)
    {
        CString name;
        bar->GetWindowText(name);
        out << static_cast<quint32>(bar->GetDlgCtrlID()) << (bar->IsUserDefined() != FALSE) << qor::gui::ToQString(name)
            << static_cast<quint32>(bar->GetCount());
        for (int i = 0; i < bar->GetCount(); ++i)
            out << static_cast<quint32>(bar->GetItemID(i)) << static_cast<qint32>(bar->GetButtonUserImage(i));
    }
    app->WriteProfileString(kWorkspace, kToolBars, qor::gui::FromQString(QString::fromLatin1(data.toBase64())));
}

BOOL CMDIFrameWndEx::LoadToolBarState()
{
    CWinApp* app = AfxGetApp();
    if (!app) return FALSE;
    const CString text = app->GetProfileString(kWorkspace, kToolBars, L"");
    if (text.IsEmpty()) return FALSE;
    const QByteArray data =
        QByteArray::fromBase64(qor::gui::ToQString(text).toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    std::vector<KeptBar> bars;
    if (data.isEmpty() || !ReadKept(data, bars)) return FALSE;
    // A user bar outside this frame's ids, twice, unnamed or one too many is a foreign entry: none of it is used.
    std::set<quint32> ids;
    int users = 0;
    for (const KeptBar& bar : bars)
    {
        if (!ids.insert(bar.id).second) return FALSE;
        if (bar.user && (!IsUserToolbarId(bar.id) || bar.name.isEmpty() || ++users > kMaxUserToolBars)) return FALSE;
    }
    for (const KeptBar& kept : bars)
    {
        CMFCToolBar* bar = nullptr;
        if (kept.user)
            bar = CreateUserToolBar(kept.id, qor::gui::FromQString(kept.name));
        else
            bar = DYNAMIC_DOWNCAST(CMFCToolBar, GetDlgItem(static_cast<int>(kept.id)));
        // A bar this program no longer has is passed over.
        if (!bar || (!kept.user && bar->IsUserDefined())) continue;
        bar->SetButtons(kept.buttons.data(), static_cast<int>(kept.buttons.size()));
        for (size_t i = 0; i < kept.pictures.size(); ++i)
            if (kept.pictures[i] >= 0) bar->SetButtonUserImage(static_cast<int>(i), kept.pictures[i]);
    }
    return TRUE;
}
