// Load-model commands of the case: adding and editing load models and load model ensembles.
#include "app/QORDoc.h"

#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "ui/dialogs/LoadModelEnsembleDlg.h"
#include "ui/dialogs/PropSheetLM.h"

void CQORDoc::OnConfigurationAddLoadModel()
{
    auto pLoadModel = std::make_shared<CLoadModel>(m_nLoadModelID + 1, L"Load model");
    CPropSheetLM sheet;
    sheet.SetLoadModel(pLoadModel);
    if (sheet.DoModal() != IDOK) return;
    AddLoadModel(pLoadModel);
    UpdateElementView();
}

void CQORDoc::OnConfigurationAddLoadModelEnsemble()
{
    auto pLME = std::make_shared<CLoadModelEnsemble>(m_nLMEID + 1, L"Load model ensemble");
    CLoadModelEnsembleDlg dlg;
    dlg.SetDescription(pLME->m_Description);
    dlg.SetID(pLME->m_ID);
    dlg.SetLoadModelEnsemble(pLME);
    dlg.SetLoadModels(m_vLoadModel);
    dlg.SetEditLoadModel(
        [this](std::shared_ptr<CLoadModel> pLoadModel) { EditLoadModel(false, std::move(pLoadModel)); });
    if (dlg.DoModal() != IDOK) return;
    pLME->m_Description = dlg.GetDescription();
    AddLoadModelEnsemble(pLME);
    UpdateElementView();
}

void CQORDoc::EditLoadModel(bool bRefresh, std::shared_ptr<CLoadModel> pLoadModel)
{
    if (!pLoadModel) return;
    // The sheet works on a copy: Cancel, or a library model, leaves the stored one alone.
    auto pCopy = std::make_shared<CLoadModel>(*pLoadModel);
    CPropSheetLM sheet;
    sheet.SetLoadModel(pCopy);
    if (sheet.DoModal() != IDOK || !pLoadModel->m_bIsEditable) return;
    *pLoadModel = *pCopy;
    if (bRefresh) UpdateElementView();
    SetModifiedFlag(TRUE);
}

void CQORDoc::EditLoadModelEnsemble(bool bRefresh, std::shared_ptr<CLoadModelEnsemble> pLME)
{
    if (!pLME) return;
    auto pCopy = std::make_shared<CLoadModelEnsemble>(*pLME);
    CLoadModelEnsembleDlg dlg;
    dlg.SetDescription(pCopy->m_Description);
    dlg.SetID(pCopy->m_ID);
    dlg.SetLoadModelEnsemble(pCopy);
    dlg.SetLoadModels(m_vLoadModel);
    dlg.SetEditLoadModel(
        [this](std::shared_ptr<CLoadModel> pLoadModel) { EditLoadModel(false, std::move(pLoadModel)); });
    if (dlg.DoModal() != IDOK || !pLME->m_bIsEditable) return;
    pCopy->m_Description = dlg.GetDescription();
    pLME->m_ID = pCopy->m_ID;
    pLME->m_Description = pCopy->m_Description;
    pLME->m_ElementType = pCopy->m_ElementType;
    pLME->m_bIsEditable = pCopy->m_bIsEditable;
    pLME->m_vLoadModel = pCopy->m_vLoadModel;
    pLME->m_nLoadModels = pCopy->m_nLoadModels;
    if (bRefresh) UpdateElementView();
    SetModifiedFlag(TRUE);
}

void CQORDoc::AddLoadModel(std::shared_ptr<CLoadModel> pLoadModel)
{
    if (!pLoadModel) return;
    m_vLoadModel.push_back(std::move(pLoadModel));
    ++m_nLoadModelID;
    SetModifiedFlag(TRUE);
}

void CQORDoc::AddLoadModelEnsemble(std::shared_ptr<CLoadModelEnsemble> pLME)
{
    if (!pLME) return;
    m_vLoadModelEnsemble.push_back(std::move(pLME));
    ++m_nLMEID;
    SetModifiedFlag(TRUE);
}
