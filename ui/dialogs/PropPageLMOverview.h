// CPropPageLMOverview: the first page of the load-model sheet: name, id, moving or
// stationary, and the model drawn to scale.
#pragma once

#include "platform/gui/Afx.h"
#include "ui/dialogs/DrawLoadModelCtrl.h"

#include <memory>

class CLoadModel;

class CPropPageLMOverview : public CMFCPropertyPage
{
public:
    CPropPageLMOverview();
    ~CPropPageLMOverview() override;

    void SetLoadModel(std::shared_ptr<CLoadModel> pLoadModel);

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;

    CDrawLoadModelCtrl& GetDrawing() { return m_Drawing; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnChangeDescription();
    void OnStationary();
    void OnMoving();

    CString m_Description;
    int m_ID = 0;
    CEdit m_DescriptionEdit;
    CDrawLoadModelCtrl m_Drawing;
    std::shared_ptr<CLoadModel> m_pLoadModel;
    BOOL m_bIsEditable = TRUE;
    // Notifications that arrive while the controls are being filled are not the user's.
    bool m_bReady = false;
    int m_nFilling = 0;

private:
    DECLARE_MESSAGE_MAP()
};
