// Load-model commands of the case: adding and editing load models and load model ensembles.
#include "app/QORDoc.h"

#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"

void CQORDoc::OnConfigurationAddLoadModel() { NotYetImplemented(); }

void CQORDoc::OnConfigurationAddLoadModelEnsemble() { NotYetImplemented(); }

void CQORDoc::EditLoadModel(bool, std::shared_ptr<CLoadModel>) { NotYetImplemented(); }

void CQORDoc::EditLoadModelEnsemble(bool, std::shared_ptr<CLoadModelEnsemble>) { NotYetImplemented(); }

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
