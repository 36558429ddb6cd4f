// Headless test support for dialogs and property sheets: modal windows are driven by steps
// that play the user's part, and a modal window that nobody drives fails the test (it ends
// with IDCANCEL instead of blocking).
#pragma once

#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/dialogs/PropertySheet.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <typeinfo>
#include <vector>

namespace qor::test {

// For its life: each modal dialog or property sheet shown is handed, once initialised and
// shown, to the next step (first in, first out). A step sets controls and ends the window
// (PressButton, keys, EndDialog); a modal window with no step left is a test failure.
class DrivenDialogs
{
public:
    DrivenDialogs();
    ~DrivenDialogs();
    DrivenDialogs(const DrivenDialogs&) = delete;
    DrivenDialogs& operator=(const DrivenDialogs&) = delete;

    void Then(std::function<void(CWnd&)> step) { m_steps.push_back(std::move(step)); }
    // A step for a window of a known class (a failure when the window is of another class).
    template <class T, class F>
    void ThenAs(F step)
    {
        Then([step](CWnd& w) {
            T* t = dynamic_cast<T*>(&w);
            if (!t)
            {
                ADD_FAILURE() << "the modal window is not a " << typeid(T).name();
                EndModal(w, IDCANCEL);
                return;
            }
            step(*t);
        });
    }
    // The captions of the modal windows shown, in order.
    const std::vector<CString>& Shown() const { return m_shown; }
    size_t Pending() const { return m_steps.size(); }

    static void EndModal(CWnd& modal, int result);

private:
    std::deque<std::function<void(CWnd&)>> m_steps;
    std::vector<CString> m_shown;
    qor::gui::ModalDialogDriver m_previous;
};

// Presses a button of a dialog or sheet as the user does (the button's BN_CLICKED to its
// parent); the button is looked for in the window and its pages. False when there is no
// such button or it is disabled.
bool PressButton(CWnd& dlg, int id);
inline bool PressOK(CWnd& dlg) { return PressButton(dlg, IDOK); }
inline bool PressCancel(CWnd& dlg) { return PressButton(dlg, IDCANCEL); }
// The control of an id in the window or its pages (nullptr when none).
CWnd* FindControl(CWnd& dlg, int id);

} // namespace qor::test
