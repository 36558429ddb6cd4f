// What a docking pane does besides showing in its dock: the pane menu, and turning into a tabbed
// document among the case windows and back.
#include "platform/gui/frame/Bars.h"

#include "platform/gui/frame/Frame.h"
#include "platform/gui/frame/FrameInternal.h"
#include "platform/gui/frame/Menu.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QEvent>
#include <QtGui/QIcon>
#include <QtWidgets/QMdiSubWindow>

using namespace qor::gui;

IMPLEMENT_DYNAMIC(CDockablePane, CPane)

BEGIN_MESSAGE_MAP(CDockablePane, CPane)
ON_COMMAND(ID_AFXBARRES_FLOATING, OnPaneFloating)
ON_COMMAND(ID_AFXBARRES_DOCKING, OnPaneDocking)
ON_COMMAND(ID_AFXBARRES_TABBED, OnPaneTabbed)
ON_COMMAND(ID_AFXBARRES_HIDE, OnPaneHide)
ON_COMMAND(ID_AFXBARRES_AUTOHIDE, OnPaneAutoHide)
ON_UPDATE_COMMAND_UI(ID_AFXBARRES_AUTOHIDE, OnUpdatePaneAutoHide)
ON_UPDATE_COMMAND_UI(ID_AFXBARRES_FLOATING, OnUpdatePaneFloating)
ON_UPDATE_COMMAND_UI(ID_AFXBARRES_DOCKING, OnUpdatePaneDocking)
ON_UPDATE_COMMAND_UI(ID_AFXBARRES_TABBED, OnUpdatePaneTabbed)
ON_UPDATE_COMMAND_UI(ID_AFXBARRES_HIDE, OnUpdatePaneHide)
END_MESSAGE_MAP()

namespace {

CMDIFrameWndEx* TabbingFrame(CFrameWnd* site)
{
    auto* frame = DYNAMIC_DOWNCAST(CMDIFrameWndEx, site);
    return frame && frame->m_bCanConvertControlBarToMDIChild && frame->Shell() ? frame : nullptr;
}

// The subwindow's close button hides the pane, as the pane's own close does.
class DocumentClose : public QObject
{
public:
    DocumentClose(CDockablePane* pane, QObject* parent) : QObject(parent), m_pane(pane) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::Close) return false;
        e->ignore();
        CDockablePane* pane = m_pane;
        QMetaObject::invokeMethod(
            parent(), [pane] { pane->ShowPane(FALSE, FALSE, FALSE); }, Qt::QueuedConnection);
        return true;
    }

private:
    CDockablePane* m_pane;
};

} // namespace

BOOL CDockablePane::IsTabbedDocument() const { return m_pShell && m_pShell->document; }

BOOL CDockablePane::ConvertToTabbedDocument(BOOL)
{
    CMDIFrameWndEx* frame = TabbingFrame(m_pDockSite);
    if (!frame || !m_pShell || !m_pShell->dock || !m_pShell->slot || m_pShell->document) return FALSE;
    auto* sub = new QMdiSubWindow;
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setWindowIcon(BlankWindowIcon());
    sub->setWindowTitle(m_pShell->dock->windowTitle());
    sub->setWidget(m_pShell->slot); // out of the dock
    sub->installEventFilter(new DocumentClose(this, sub));
    m_pShell->dock->hide();
    m_pShell->document = sub;
    frame->Shell()->paneDocuments[sub] = this;
    QMdiArea* area = TabGroups::Current(frame);
    area->addSubWindow(sub);
    if (area->viewMode() == QMdiArea::TabbedView)
        sub->showMaximized();
    else
        sub->show();
    area->setActiveSubWindow(sub);
    static_cast<WndSlot*>(m_pShell->slot.data())->Fit();
    return TRUE;
}

BOOL CDockablePane::ConvertToDockedPane()
{
    if (!m_pShell || !m_pShell->document || !m_pShell->dock) return FALSE;
    QMdiSubWindow* sub = m_pShell->document;
    m_pShell->document = nullptr;
    if (FrameShell* shell = m_pDockSite ? m_pDockSite->Shell() : nullptr) shell->paneDocuments.erase(sub);
    QWidget* slot = sub->widget();
    sub->setWidget(nullptr);
    m_pShell->dock->setWidget(slot);
    slot->show();
    m_pShell->dock->show();
    if (QMdiArea* area = sub->mdiArea()) area->removeSubWindow(sub);
    sub->hide();
    sub->deleteLater();
    if (auto* frame = DYNAMIC_DOWNCAST(CMDIFrameWnd, m_pDockSite)) TabGroups::DropEmpty(frame);
    static_cast<WndSlot*>(slot)->Fit();
    return TRUE;
}

void CDockablePane::ShowPaneMenu(CPoint ptScreen)
{
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_AFXBARRES_FLOATING, L"&Floating");
    menu.AppendMenu(MF_STRING, ID_AFXBARRES_DOCKING, L"Doc&king");
    if (TabbingFrame(m_pDockSite)) menu.AppendMenu(MF_STRING, ID_AFXBARRES_TABBED, L"&Tabbed Document");
    if (auto* frame = DYNAMIC_DOWNCAST(CMDIFrameWndEx, m_pDockSite); frame && frame->GetAutoHidePanes())
        menu.AppendMenu(MF_STRING, ID_AFXBARRES_AUTOHIDE, L"&Auto Hide");
    menu.AppendMenu(MF_STRING, ID_AFXBARRES_HIDE, L"&Hide");
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, this);
}

void CDockablePane::OnPaneFloating()
{
    if (IsTabbedDocument()) ConvertToDockedPane();
    CRect at;
    GetWindowRect(&at);
    FloatPane(CRect(at.TopLeft(), CSize(std::max<LONG>(at.Width(), 200), std::max<LONG>(at.Height(), 150))));
}

void CDockablePane::OnPaneDocking()
{
    if (IsTabbedDocument())
        ConvertToDockedPane();
    else if (m_pShell && m_pShell->dock)
        m_pShell->dock->setFloating(false); // back to the side it came from
}

void CDockablePane::OnPaneTabbed()
{
    if (IsAutoHideMode()) SetAutoHideMode(FALSE);
    ConvertToTabbedDocument();
}
void CDockablePane::OnPaneAutoHide() { OnPinButton(); }
void CDockablePane::OnUpdatePaneAutoHide(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!IsFloating() && !IsTabbedDocument());
    pCmdUI->SetCheck(IsAutoHideMode());
}
void CDockablePane::OnPaneHide() { ShowPane(FALSE, FALSE, FALSE); }
void CDockablePane::OnUpdatePaneFloating(CCmdUI* pCmdUI) { pCmdUI->Enable(!IsFloating()); }
void CDockablePane::OnUpdatePaneDocking(CCmdUI* pCmdUI) { pCmdUI->Enable(IsFloating() || IsTabbedDocument()); }
void CDockablePane::OnUpdatePaneTabbed(CCmdUI* pCmdUI) { pCmdUI->Enable(!IsTabbedDocument()); }
void CDockablePane::OnUpdatePaneHide(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
