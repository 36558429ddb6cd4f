// What the analysis choice dialogs share: element lists shown as "%d - description" in the
// order of the document's vectors and the index chosen in them, the rule of the load-model or
// ensemble choice, the stepping rule of the two option buttons, and the quiet reading of a
// number field while it is being typed.
#pragma once

#include "platform/gui/Afx.h"

#include <memory>
#include <vector>

namespace qor::dialogs {

// One line per element, "%d - " with its id and then its description; the first line is
// selected when there is one. Line k is element k, so a line's position is its index.
template <class Element>
void FillElementList(CListBox& list, const std::vector<std::shared_ptr<Element>>& elements)
{
    list.ResetContent();
    for (const auto& element : elements)
    {
        CString line;
        line.Format(L"%d - ", element ? element->m_ID : 0);
        if (element) line += element->GetDescription();
        list.AddString(line);
    }
    if (list.GetCount() > 0) list.SetCurSel(0);
}

// The chosen index follows the list's selection; a list without one leaves it as it was.
inline void TakeSelection(CListBox& list, int& index)
{
    if (list.GetCurSel() >= 0) index = list.GetCurSel();
}

// Only the chosen kind's list (load models or ensembles) is live; the other shows no selection
// but keeps its index.
void ApplyModelRule(CListBox& models, CListBox& ensembles, bool useLoadModel);

// By step: "Use step distance:" checked, the step edit and its unit enabled, the count edit
// and its mark disabled; by count the reverse.
void ApplySteppingRule(CDialog& dlg, bool byStep);

// The number in an edit when its whole text parses; false (value untouched) otherwise, so
// that a field being typed never writes a half-typed or empty value anywhere.
bool ReadNumber(CDialog& dlg, int id, double& value);
bool ReadNumber(CDialog& dlg, int id, int& value);

// Refuses a stepping outside its range (the step distance, or the number of steps) with a
// message naming the field and the range; used while saving the fields, so that OK keeps the
// dialog open.
void ValidateStepping(CDataExchange* pDX, bool byStep, double step, int nSteps);

// As a dialog opens: a stepping in use that is outside its range is said to be so (and shown as
// it is).
void SayIfSteppingOutside(bool byStep, double step, int nSteps);

} // namespace qor::dialogs
