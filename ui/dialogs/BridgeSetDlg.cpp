// The bridge-set dialog: the spacing buttons switch their edits; on OK entries that make no
// set are refused with the reason, otherwise the set is generated anew.
#include "ui/dialogs/BridgeSetDlg.h"

#include "engine/model/BridgeSet.h"
#include "res/BridgeDialogs.h"
#include "res/Resource.h"
#include "ui/dialogs/ChoiceLists.h"
#include "ui/dialogs/InputRanges.h"

#include <cmath>

// The refusals name the limit in words.
static_assert(kMaxBridgesPerSet == 1000);

BEGIN_MESSAGE_MAP(CBridgeSetDlg, CDialogEx)
ON_EN_CHANGE(IDC_BRIDGE_DESCRIPTION, OnChangeFields)
ON_EN_CHANGE(IDC_BRIDGE_START, OnChangeFields)
ON_EN_CHANGE(IDC_BRIDGE_END, OnChangeFields)
ON_EN_CHANGE(IDC_BRIDGE_STEP, OnChangeFields)
ON_EN_CHANGE(IDC_BRIDGE_NUMBER, OnChangeFields)
ON_BN_CLICKED(IDC_BRIDGE_ONE_SPAN, OnOneSpan)
ON_BN_CLICKED(IDC_BRIDGE_TWO_SPAN, OnTwoSpan)
ON_BN_CLICKED(IDC_BRIDGE_THREE_SPAN, OnThreeSpan)
ON_BN_CLICKED(IDC_BRIDGE_BY_STEP, OnByStep)
ON_BN_CLICKED(IDC_BRIDGE_BY_NUMBER, OnByNumber)
END_MESSAGE_MAP()

CBridgeSetDlg::CBridgeSetDlg(CWnd* pParent) : CDialogEx(IDD_BRIDGE_SET, pParent) {}

void CBridgeSetDlg::SetBridgeSet(std::shared_ptr<CBridgeSet> pBridgeSet)
{
    m_pBridgeSet = std::move(pBridgeSet);
    if (!m_pBridgeSet) return;
    const CBridgeSet& set = *m_pBridgeSet;
    m_Description = set.GetDescription();
    m_ID = set.m_ID;
    m_StartL = set.m_StartL;
    m_EndL = set.m_EndL;
    m_Step = set.GetStep();
    m_nBridge = set.m_nBridge;
    m_bByStep = set.IsByStep();
    m_Config = set.m_Config;
}

CBridgeSet CBridgeSetDlg::GetBridgeSet() const { return m_pBridgeSet ? CBridgeSet(*m_pBridgeSet) : CBridgeSet(); }

void CBridgeSetDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BRIDGE_STEP, m_editStep);
    DDX_Control(pDX, IDC_BRIDGE_STEP_UNIT, m_labelStepUnit);
    DDX_Control(pDX, IDC_BRIDGE_NUMBER, m_editNumber);
    DDX_Control(pDX, IDC_BRIDGE_NUMBER_MARK, m_labelNumberMark);
    DDX_Control(pDX, IDC_BRIDGE_DESCRIPTION, m_editDescription);
    DDX_Control(pDX, IDC_BRIDGE_START, m_editStart);
    DDX_Control(pDX, IDC_BRIDGE_END, m_editEnd);
    DDX_Text(pDX, IDC_BRIDGE_DESCRIPTION, m_Description);
    DDX_Text(pDX, IDC_BRIDGE_ID, m_ID);
    DDX_Text(pDX, IDC_BRIDGE_START, m_StartL);
    DDX_Text(pDX, IDC_BRIDGE_END, m_EndL);
    DDX_Text(pDX, IDC_BRIDGE_STEP, m_Step);
    DDX_Text(pDX, IDC_BRIDGE_NUMBER, m_nBridge);
}

void CBridgeSetDlg::ShowSpacing()
{
    CheckRadioButton(IDC_BRIDGE_BY_STEP, IDC_BRIDGE_BY_NUMBER, m_bByStep ? IDC_BRIDGE_BY_STEP : IDC_BRIDGE_BY_NUMBER);
    m_labelStepUnit.EnableWindow(m_bByStep);
    m_editStep.EnableWindow(m_bByStep);
    m_labelNumberMark.EnableWindow(!m_bByStep);
    m_editNumber.EnableWindow(!m_bByStep);
}

BOOL CBridgeSetDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    if (m_Config >= 1 && m_Config <= 3)
        CheckRadioButton(IDC_BRIDGE_ONE_SPAN, IDC_BRIDGE_THREE_SPAN, IDC_BRIDGE_ONE_SPAN + m_Config - 1);
    ShowSpacing();
    m_bIsEditable = !m_pBridgeSet || m_pBridgeSet->m_bIsEditable;
    m_editDescription.EnableWindow(m_bIsEditable);
    m_editStart.EnableWindow(m_bIsEditable);
    m_editEnd.EnableWindow(m_bIsEditable);
    if (!m_bIsEditable)
    {
        m_editStep.EnableWindow(FALSE);
        m_editNumber.EnableWindow(FALSE);
    }
    UpdateData(FALSE);
    return TRUE;
}

void CBridgeSetDlg::OnByStep()
{
    m_bByStep = true;
    ShowSpacing();
}

void CBridgeSetDlg::OnByNumber()
{
    m_bByStep = false;
    ShowSpacing();
}

// Fields follow the edits as they are typed; a number half typed is not taken.
void CBridgeSetDlg::OnChangeFields()
{
    if (!m_editDescription.m_hWnd) return;
    m_editDescription.GetWindowText(m_Description);
    qor::dialogs::ReadNumber(*this, IDC_BRIDGE_START, m_StartL);
    qor::dialogs::ReadNumber(*this, IDC_BRIDGE_END, m_EndL);
    qor::dialogs::ReadNumber(*this, IDC_BRIDGE_STEP, m_Step);
    qor::dialogs::ReadNumber(*this, IDC_BRIDGE_NUMBER, m_nBridge);
}

CString CBridgeSetDlg::Refusal(int& nFocusId) const
{
    using namespace qor::dialogs;
    nFocusId = IDC_BRIDGE_START;
    if (!InRange(m_StartL, kSpanRange)) return RangeRefusal(kSpanRange, L"start length (From)");
    nFocusId = IDC_BRIDGE_END;
    if (!InRange(m_EndL, kSpanRange)) return RangeRefusal(kSpanRange, L"end length (To)");
    if (m_EndL < m_StartL) return L"The end length (To) must not be less than the start length (From).";
    if (m_bByStep)
    {
        nFocusId = IDC_BRIDGE_STEP;
        if (!InRange(m_Step, kBridgeSetStepRange)) return RangeRefusal(kBridgeSetStepRange);
        // Counted as the set counts its steps, so that what passes here is what the set takes
        // (a range of exactly one step, 2.1 to 2.4 m by 0.3 m, is two bridges despite rounding).
        const double nBridges = std::floor((m_EndL - m_StartL) / m_Step + 1e-9) + 1.0;
        if (nBridges < 2.0) return L"A bridge set needs at least two bridges: the step is longer than the span range.";
        if (nBridges > kMaxBridgesPerSet)
            return L"The step is too small for the span range: a bridge set holds at most 1,000 bridges.";
    }
    else
    {
        nFocusId = IDC_BRIDGE_NUMBER;
        if (m_nBridge < 2) return L"A bridge set needs at least two bridges.";
        if (m_nBridge > kMaxBridgesPerSet) return L"Too many bridges: a bridge set holds at most 1,000 bridges.";
    }
    return CString();
}

void CBridgeSetDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (m_bIsEditable)
    {
        int focus = 0;
        CString reason = Refusal(focus);
        if (!reason.IsEmpty())
        {
            AfxMessageBox(reason, MB_OK | MB_ICONEXCLAMATION);
            if (CWnd* edit = GetDlgItem(focus)) edit->SetFocus();
            return;
        }
        if (m_bByStep)
            m_pBridgeSet = std::make_shared<CBridgeSet>(m_ID, m_Description, m_Config, m_StartL, m_EndL, m_Step);
        else
            m_pBridgeSet = std::make_shared<CBridgeSet>(m_ID, m_Description, m_nBridge, m_Config, m_StartL, m_EndL);
    }
    EndDialog(IDOK);
}
