// CPropSheetLM: the property sheet in which a load model is defined or edited.
#pragma once

#include "ui/dialogs/PropPageLMApplicable.h"
#include "ui/dialogs/PropPageLMFactors.h"
#include "ui/dialogs/PropPageLMOverview.h"
#include "ui/dialogs/PropPageLMPartialUDLs.h"
#include "ui/dialogs/PropPageLMUDLs.h"
#include "ui/dialogs/PropPageLMVehicle.h"

#include <memory>

class CLoadModel;

// The sheet edits the very model it is given, page by page as the user works; the caller
// hands it a new model or a copy of the stored one and keeps the result only after IDOK.
//     CPropSheetLM sheet;
//     sheet.SetLoadModel(pCopy);
//     if (sheet.DoModal() == IDOK) *pStored = *pCopy;
class CPropSheetLM : public CMFCPropertySheet
{
public:
    CPropSheetLM();
    ~CPropSheetLM() override;

    void SetLoadModel(std::shared_ptr<CLoadModel> pLoadModel);

    // A library model is shown, not edited: every control of its pages but the labels and the
    // drawing is disabled (the case keeps no edit of it). Each page calls this once it is made.
    static void ShowReadOnly(CWnd& page, const CLoadModel& model);

    CPropPageLMOverview& GetOverviewPage() { return m_PageOverview; }
    CPropPageLMVehicle& GetVehiclePage() { return m_PageVehicle; }
    CPropPageLMUDLs& GetUDLPage() { return m_PageUDLs; }
    CPropPageLMPartialUDLs& GetPartialUDLPage() { return m_PagePartialUDLs; }
    CPropPageLMFactors& GetFactorsPage() { return m_PageFactors; }
    CPropPageLMApplicable& GetApplicabilityPage() { return m_PageApplicable; }

private:
    std::shared_ptr<CLoadModel> m_pLoadModel;
    CPropPageLMOverview m_PageOverview;
    CPropPageLMVehicle m_PageVehicle;
    CPropPageLMUDLs m_PageUDLs;
    CPropPageLMPartialUDLs m_PagePartialUDLs;
    CPropPageLMFactors m_PageFactors;
    CPropPageLMApplicable m_PageApplicable;
};
