// CPropPageLMOverview: the name, the id, moving or stationary, and the drawing of the model.
#include "ui/dialogs/PropPageLMOverview.h"
#include "ui/dialogs/PropSheetLM.h"

#include "engine/model/LoadModel.h"
#include "engine/settings/Settings.h"
#include "res/LoadModelDialogs.h"

BEGIN_MESSAGE_MAP(CPropPageLMOverview, CMFCPropertyPage)
ON_EN_CHANGE(IDC_LM_DESCRIPTION, OnChangeDescription)
ON_BN_CLICKED(IDC_LM_STATIONARY, OnStationary)
ON_BN_CLICKED(IDC_LM_MOVING, OnMoving)
END_MESSAGE_MAP()

CPropPageLMOverview::CPropPageLMOverview() : CMFCPropertyPage(IDD_PROPPAGE_LM_OVERVIEW) {}

CPropPageLMOverview::~CPropPageLMOverview() = default;

void CPropPageLMOverview::SetLoadModel(std::shared_ptr<CLoadModel> pLoadModel)
{
    m_pLoadModel = std::move(pLoadModel);
    if (!m_pLoadModel) return;
    m_Description = m_pLoadModel->m_Description;
    m_ID = m_pLoadModel->m_ID;
    m_bIsEditable = m_pLoadModel->m_bIsEditable ? TRUE : FALSE;
}

void CPropPageLMOverview::DoDataExchange(CDataExchange* pDX)
{
    const bool filling = !pDX->m_bSaveAndValidate;
    if (filling) ++m_nFilling;
    CMFCPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LM_DESCRIPTION, m_DescriptionEdit);
    DDX_Control(pDX, IDC_LM_DRAWING, m_Drawing);
    DDX_Text(pDX, IDC_LM_DESCRIPTION, m_Description);
    DDX_Text(pDX, IDC_LM_ID, m_ID);
    DDX_Check(pDX, IDC_LM_IS_EDITABLE, m_bIsEditable);
    if (filling) --m_nFilling;
}

BOOL CPropPageLMOverview::OnInitDialog()
{
    if (!m_pLoadModel) return FALSE;
    CMFCPropertyPage::OnInitDialog();
    m_Drawing.SetLoadModel(m_pLoadModel);
    m_Drawing.SetBkColor(CSettings::GetInstance()->General.LoadModel.CLR_LM_BGRND);
    // Uniform loads alone cover the whole bridge: such a model cannot move.
    if (!m_pLoadModel->m_vUDL.empty() && m_pLoadModel->m_vPL.empty() && m_pLoadModel->m_vPUDL.empty())
        m_pLoadModel->m_bIsMoving = false;
    CheckRadioButton(IDC_LM_STATIONARY, IDC_LM_MOVING, m_pLoadModel->m_bIsMoving ? IDC_LM_MOVING : IDC_LM_STATIONARY);
    UpdateData(FALSE);
    m_bReady = true;
    CPropSheetLM::ShowReadOnly(*this, *m_pLoadModel);
    return TRUE;
}

BOOL CPropPageLMOverview::OnSetActive()
{
    // The other pages may have changed the loads since the last look.
    if (m_Drawing.GetSafeHwnd() != nullptr) m_Drawing.Invalidate(FALSE);
    return CMFCPropertyPage::OnSetActive();
}

void CPropPageLMOverview::OnChangeDescription()
{
    if (!m_bReady || m_nFilling > 0 || !m_pLoadModel) return;
    UpdateData(TRUE);
    m_pLoadModel->m_Description = m_Description;
}

void CPropPageLMOverview::OnStationary()
{
    if (m_pLoadModel) m_pLoadModel->m_bIsMoving = false;
}

void CPropPageLMOverview::OnMoving()
{
    if (m_pLoadModel) m_pLoadModel->m_bIsMoving = true;
}
