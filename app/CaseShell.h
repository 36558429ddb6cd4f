// What a case asks of the window it runs in: the status line, the log, the progress bar, the element
// pane and the templates of its result windows. The main frame answers; without one nothing is shown.
//
//   CCaseShell& shell = CCaseShell::Current();
//   shell.SetStatusText(L"Calculating...");
//   shell.BeginProgress(runs);   // the workers' steps count against this range
//   shell.ShowCase(this);        // the element pane shows this case (null: no case)
#pragma once

#include "platform/gui/Afx.h"

#include <functional>
#include <memory>

class CElement;
class CQORDoc;

class CCaseShell
{
public:
    // Which result window a template makes.
    enum class ResultWindow
    {
        Plot,
        Grid
    };

    virtual ~CCaseShell() = default;

    // Status-bar pane 0 ("Ready", "Saving...", ...), shown at once.
    virtual void SetStatusText(LPCTSTR text) = 0;
    // A time-stamped line in the log.
    virtual void AddStatus(const CString& text) = 0;
    // A line for the log after those still waiting: the log takes them a few at a time, between
    // which the window answers. A line of a run stopped meanwhile (generation, as the run's
    // CRunControl numbers it; 0: no run) is dropped. The workers' completions wait for the lines
    // before them.
    virtual void QueueStatus(const CString& text, unsigned generation) = 0;
    // The completions held back while a case asked whether to save go on (the case stays).
    virtual void ResumeCompletions() = 0;

    // A run of this many steps starts; the bar shows none of them done.
    virtual void BeginProgress(int steps) = 0;
    // More steps of the run done.
    virtual void StepProgress(int steps) = 0;
    // The bar back to nothing done, after the steps already on their way (the range stays).
    virtual void ResetProgress() = 0;
    // The bar shows how far a save or open of the case file has come (0 to 100); -1 gives it back
    // to the runs' steps.
    virtual void ShowFileProgress(int percent) = 0;

    // The element pane shows this case, or nothing when null.
    virtual void ShowCase(CQORDoc* pDoc) = 0;
    // An element just added to the case in front joins the pane (its sections stay as the user left them).
    virtual void ShowNewElement(const std::shared_ptr<CElement>& pElement) = 0;

    // Work of a case for a later turn of the message loop, one step a turn and in the order given:
    // the result windows of a run open so. With bAfterModalWindows the step (and those behind it)
    // waits until no modal window is open: the question at the end of a run. A step runs as a
    // command of its case (CQORDoc::RunCommand); when it fails, the case's other steps are dropped.
    // Without a main window the step runs at once.
    virtual void QueueCaseStep(CQORDoc* pDoc, std::function<void()> step, bool bAfterModalWindows) = 0;
    // The steps of the case still waiting go (the case closes, or takes another case's place).
    virtual void DropCaseSteps(CQORDoc* pDoc) = 0;

    // The print previews close: the windows they show go (the case closes).
    virtual void ClosePrintPreviews() = 0;

    // The template of a result window (null when the program has none).
    virtual CMultiDocTemplate* GetResultTemplate(ResultWindow kind) = 0;

    // The shell of the main window, or one that does nothing when there is no such window.
    static CCaseShell& Current();
};
