// The bridge dialog: a bridge rebuilt from the entries on OK, a library bridge left as it was.
#include "ui/dialogs/BridgeDlg.h"

#include "engine/model/Bridge.h"
#include "res/BridgeDialogs.h"
#include "res/Resource.h"
#include "ui/dialogs/ChoiceLists.h"
#include "ui/dialogs/InputRanges.h"

BEGIN_MESSAGE_MAP(CBridgeDlg, CDialogEx)
ON_BN_CLICKED(IDC_BRIDGE_ONE_SPAN, OnOneSpan)
ON_BN_CLICKED(IDC_BRIDGE_TWO_SPAN, OnTwoSpan)
ON_BN_CLICKED(IDC_BRIDGE_THREE_SPAN, OnThreeSpan)
ON_EN_CHANGE(IDC_BRIDGE_DESCRIPTION, OnChangeDescription)
ON_EN_CHANGE(IDC_BRIDGE_SPAN, OnChangeSpan)
END_MESSAGE_MAP()

CBridgeDlg::CBridgeDlg(CWnd* pParent) : CDialogEx(IDD_BRIDGE, pParent) {}

void CBridgeDlg::SetBridge(std::shared_ptr<CBridge> pBridge)
{
    m_pBridge = std::move(pBridge);
    if (!m_pBridge) return;
    m_Description = m_pBridge->GetDescription();
    m_ID = m_pBridge->m_ID;
    m_SpanLength = m_pBridge->m_SpanLength;
    m_Config = m_pBridge->m_Config;
}

CBridge CBridgeDlg::GetBridge() const { return m_pBridge ? CBridge(*m_pBridge) : CBridge(); }

void CBridgeDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BRIDGE_DESCRIPTION, m_editDescription);
    DDX_Control(pDX, IDC_BRIDGE_SPAN, m_editSpan);
    DDX_Control(pDX, IDC_BRIDGE_ONE_SPAN, m_radioOneSpan);
    DDX_Text(pDX, IDC_BRIDGE_DESCRIPTION, m_Description);
    DDX_Text(pDX, IDC_BRIDGE_ID, m_ID);
    DDX_Text(pDX, IDC_BRIDGE_SPAN, m_SpanLength);
}

BOOL CBridgeDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    // An explicit span list (configuration 4) has no button of its own.
    if (m_Config >= 1 && m_Config <= 3)
        CheckRadioButton(IDC_BRIDGE_ONE_SPAN, IDC_BRIDGE_THREE_SPAN, IDC_BRIDGE_ONE_SPAN + m_Config - 1);
    UpdateData(FALSE);
    m_bIsEditable = !m_pBridge || m_pBridge->m_bIsEditable;
    m_editDescription.EnableWindow(m_bIsEditable);
    m_editSpan.EnableWindow(m_bIsEditable);
    m_radioOneSpan.EnableWindow(m_bIsEditable);
    return TRUE;
}

// Fields follow the edits as they are typed; a number half typed is not taken.
void CBridgeDlg::OnChangeDescription() { m_editDescription.GetWindowText(m_Description); }

void CBridgeDlg::OnChangeSpan() { qor::dialogs::ReadNumber(*this, IDC_BRIDGE_SPAN, m_SpanLength); }

void CBridgeDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (m_bIsEditable)
    {
        if (!qor::dialogs::CheckRange(*this, IDC_BRIDGE_SPAN, m_SpanLength, qor::dialogs::kSpanRange)) return;
        if (m_Config == CBridge::CONFIG_EXPLICIT && m_pBridge)
        {
            // A bridge given by its own span list keeps it: the spans are scaled with the
            // governing length.
            auto edited = std::make_shared<CBridge>(*m_pBridge);
            edited->m_Description = m_Description;
            if (m_pBridge->m_SpanLength > 0.0 && m_SpanLength != m_pBridge->m_SpanLength)
                for (double& span : edited->m_vSpans) span *= m_SpanLength / m_pBridge->m_SpanLength;
            edited->m_SpanLength = m_SpanLength;
            edited->BuildBeam();
            m_pBridge = edited;
        }
        else
        {
            m_pBridge = std::make_shared<CBridge>(m_ID, m_Description, m_Config, m_SpanLength);
        }
    }
    EndDialog(IDOK);
}
