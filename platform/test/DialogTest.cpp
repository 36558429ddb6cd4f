// Headless test support for dialogs and property sheets: modal windows are driven by steps that play the
// user's part, and a modal window that nobody drives fails the test (it ends with IDCANCEL instead of
// blocking).
#include "platform/test/DialogTest.h"

#include "platform/gui/widgets/Controls.h"

namespace qor::test {

namespace {
// In a test program, a modal window that nobody answers is a failure, not a hang.
struct FailureHandlerInstaller
{
    FailureHandlerInstaller()
    {
        qor::gui::SetModalFailureHandler([](CWnd&, const CString& what) { ADD_FAILURE() << what.ToUtf8(); });
    }
};
[[maybe_unused]] const FailureHandlerInstaller g_installer;
} // namespace

DrivenDialogs::DrivenDialogs()
{
    m_previous = qor::gui::SetModalDialogDriver([this](CWnd& w) {
        CString caption;
        w.GetWindowText(caption);
        m_shown.push_back(caption);
        if (m_steps.empty())
        {
            ADD_FAILURE() << "no step for the modal window \"" << caption.ToUtf8() << "\"";
            EndModal(w, IDCANCEL);
            return;
        }
        auto step = std::move(m_steps.front());
        m_steps.pop_front();
        step(w);
    });
}

DrivenDialogs::~DrivenDialogs() { qor::gui::SetModalDialogDriver(std::move(m_previous)); }

void DrivenDialogs::EndModal(CWnd& modal, int result)
{
    if (auto* d = dynamic_cast<CDialog*>(&modal))
        d->EndDialog(result);
    else if (auto* s = dynamic_cast<CPropertySheet*>(&modal))
        s->EndDialog(result);
}

CWnd* FindControl(CWnd& dlg, int id)
{
    for (CWnd* w : qor::gui::DialogControls(&dlg))
        if (w->GetDlgCtrlID() == id) return w;
    return nullptr;
}

bool PressButton(CWnd& dlg, int id)
{
    CWnd* b = FindControl(dlg, id);
    if (!b || !b->IsWindowEnabled() || !b->IsWindowVisible()) return false;
    CWnd* parent = b->GetParent();
    if (!parent) return false;
    parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), reinterpret_cast<LPARAM>(b->m_hWnd));
    return true;
}

} // namespace qor::test
