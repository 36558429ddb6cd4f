// The shell a case talks to: the main window when it is one, otherwise a shell that shows nothing.
#include "app/CaseShell.h"

namespace {

class CNoShell final : public CCaseShell
{
public:
    void SetStatusText(LPCTSTR) override {}
    void AddStatus(const CString&) override {}
    void QueueStatus(const CString&, unsigned) override {}
    void ResumeCompletions() override {}
    void BeginProgress(int) override {}
    void StepProgress(int) override {}
    void ResetProgress() override {}
    void ShowFileProgress(int) override {}
    void ShowCase(CQORDoc*) override {}
    void ShowNewElement(const std::shared_ptr<CElement>&) override {}
    void QueueCaseStep(CQORDoc*, std::function<void()> step, bool) override { step(); }
    void DropCaseSteps(CQORDoc*) override {}
    void ClosePrintPreviews() override {}
    CMultiDocTemplate* GetResultTemplate(ResultWindow) override { return nullptr; }
};

} // namespace

CCaseShell& CCaseShell::Current()
{
    if (auto* shell = dynamic_cast<CCaseShell*>(AfxGetMainWnd())) return *shell;
    static CNoShell none;
    return none;
}
