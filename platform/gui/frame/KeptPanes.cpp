// The panes' share of the layout kept between runs, besides what the toolkit's layout keeps (sides, sizes,
// floating and hidden): a pane left collapsed to its side or shown as a tabbed document comes back so, and a
// pane made on first use (after the layout was put back) goes where the user last had it.
#include "platform/gui/frame/Bars.h"

#include "platform/gui/frame/Frame.h"
#include "platform/gui/frame/FrameInternal.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QStringList>

using namespace qor::gui;

namespace {

// A record: "<pane id>:autohide:<width or height slid out>" or "<pane id>:document", records apart by ';'.
const QString kAutoHide = QStringLiteral("autohide");
const QString kDocument = QStringLiteral("document");

std::vector<CDockablePane*> PanesOf(CFrameWnd* frame)
{
    std::vector<CDockablePane*> panes;
    for (CWnd* child : OwnedWindows(frame, false))
        if (auto* pane = DYNAMIC_DOWNCAST(CDockablePane, child); pane && pane->Shell() && pane->GetDlgCtrlID())
            panes.push_back(pane);
    return panes;
}

// The records of a text; none at all when any of it is not a record (a damaged entry is passed over whole).
std::map<UINT, KeptPane> Parse(const QString& text)
{
    std::map<UINT, KeptPane> kept;
    for (const QString& record : text.split(QLatin1Char(';'), Qt::SkipEmptyParts))
    {
        const QStringList fields = record.split(QLatin1Char(':'));
        bool ok = false;
        const uint id = fields.value(0).toUInt(&ok);
        if (!ok || id == 0 || id > 0xFFFF) return {};
        KeptPane pane;
        if (fields.size() == 2 && fields[1] == kDocument)
            pane.mode = KeptPane::Document;
        else if (fields.size() == 3 && fields[1] == kAutoHide)
        {
            pane.mode = KeptPane::AutoHide;
            pane.extent = fields[2].toInt(&ok);
            if (!ok || pane.extent < 0 || pane.extent > 10000) return {};
        }
        else
            return {};
        kept[id] = pane;
    }
    return kept;
}

void PutInMode(CDockablePane* pane, const KeptPane& kept)
{
    if (kept.mode == KeptPane::Document)
    {
        pane->ConvertToTabbedDocument();
        return;
    }
    pane->SetAutoHideMode(TRUE, pane->GetCurrentAlignment());
    // Slid out, it is as wide (high) as it was docked when the user collapsed it.
    if (PaneShell* shell = pane->Shell(); shell && shell->flyout && kept.extent > 0)
        shell->flyout->setProperty("qorExtent", kept.extent);
}

} // namespace

CString KeptPanes::Save(CFrameWnd* frame)
{
    FrameShell* shell = frame ? frame->Shell() : nullptr;
    if (!shell) return CString();
    // Panes not made in this run keep what they had.
    std::map<UINT, KeptPane> kept = shell->keptPanes;
    for (CDockablePane* pane : PanesOf(frame))
    {
        const UINT id = static_cast<UINT>(pane->GetDlgCtrlID());
        kept.erase(id);
        PaneShell* ps = pane->Shell();
        if (pane->IsAutoHideMode())
            kept[id] = {KeptPane::AutoHide, ps->flyout ? ps->flyout->property("qorExtent").toInt() : 0};
        else if (pane->IsTabbedDocument())
            kept[id] = {KeptPane::Document, 0};
    }
    QStringList records;
    for (const auto& [id, pane] : kept)
        records << (pane.mode == KeptPane::Document
                        ? QStringLiteral("%1:%2").arg(id).arg(kDocument)
                        : QStringLiteral("%1:%2:%3").arg(id).arg(kAutoHide).arg(pane.extent));
    // For the toolkit's layout the panes are docked where they came from (it knows no other place).
    for (CDockablePane* pane : PanesOf(frame))
    {
        if (pane->IsAutoHideMode()) pane->SetAutoHideMode(FALSE);
        if (pane->IsTabbedDocument()) pane->ConvertToDockedPane();
    }
    return FromQString(records.join(QLatin1Char(';')));
}

void KeptPanes::Load(CFrameWnd* frame, const CString& text)
{
    FrameShell* shell = frame ? frame->Shell() : nullptr;
    if (!shell) return;
    shell->keptPanes = Parse(ToQString(text));
    for (CDockablePane* pane : PanesOf(frame))
        if (auto it = shell->keptPanes.find(static_cast<UINT>(pane->GetDlgCtrlID())); it != shell->keptPanes.end())
            PutInMode(pane, it->second);
}

bool KeptPanes::PlaceNewPane(CFrameWnd* frame, QDockWidget* dock)
{
    FrameShell* shell = frame ? frame->Shell() : nullptr;
    if (!shell || !shell->window || !dock || !shell->window->property("qorLayoutRestored").toBool()) return false;
    // The toolkit keeps the places of dock widgets it did not find when the layout was put back; a dock
    // widget added elsewhere first would lose its place.
    return shell->window->restoreDockWidget(dock);
}

void KeptPanes::PutInKeptMode(CFrameWnd* frame, CDockablePane* pane)
{
    FrameShell* shell = frame ? frame->Shell() : nullptr;
    if (!shell || !pane) return;
    if (auto it = shell->keptPanes.find(static_cast<UINT>(pane->GetDlgCtrlID())); it != shell->keptPanes.end())
        PutInMode(pane, it->second);
}
