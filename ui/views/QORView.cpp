// The start view: the selected load model drawn across the top 40 per cent, the picture at the
// bottom right, and the two lists of instructions at the bottom left.
#include "ui/views/QORView.h"

#include "engine/model/LoadModel.h"
#include "engine/settings/Settings.h"
#include "res/AppMessages.h"
#include "res/Resource.h"
#include "res/StartPicture.h"
#include "ui/dialogs/DrawLoadModelCtrl.h"

#include <cmath>
#include <vector>

namespace {

constexpr UINT kDrawCtrlId = 100;

// The instruction lines of the string table; headings start each list.
struct Line
{
    bool heading;
    CString text;
};

const std::vector<Line>& Lines()
{
    static const std::vector<Line> lines = [] {
        std::vector<Line> all;
        for (UINT id = IDS_START_ROUTINE; id <= IDS_START_LAST; ++id)
            all.push_back({id == IDS_START_ROUTINE || id == IDS_START_REFERENCE, qor::LoadText(id)});
        return all;
    }();
    return lines;
}

int LineCount() { return static_cast<int>(Lines().size()); }

int RoundHalfAway(double v) { return static_cast<int>(std::lround(v)); }

// The regular font of the instructions: the system's message font.
LOGFONT InstructionFont()
{
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return metrics.lfMessageFont;
}

// From one line's top to the next: the line height of the DC's font and a fifth of it between lines.
int LineStep(CDC* pDC)
{
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    return tm.tmHeight + RoundHalfAway(0.2 * tm.tmHeight);
}

} // namespace

IMPLEMENT_DYNCREATE(CQORView, CView)

BEGIN_MESSAGE_MAP(CQORView, CView)
ON_WM_SIZE()
ON_WM_CONTEXTMENU()
ON_WM_RBUTTONUP()
ON_MESSAGE(WM_ELEMENT_SELECTED, OnElementSelected)
ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
END_MESSAGE_MAP()

CQORView::CQORView() = default;

CQORView::~CQORView() { delete m_pDrawCtrl; }

void CQORView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    if (CFrameWnd* frame = GetParentFrame(); frame && GetDocument()) frame->SetWindowText(GetDocument()->GetTitle());
    if (!m_pDrawCtrl)
    {
        m_pDrawCtrl = new CDrawLoadModelCtrl;
        m_pDrawCtrl->SetDrawEdge(false);
        if (m_pDrawCtrl->Create(DRAWCTRL_CLASSNAME, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0),
                                this, kDrawCtrlId))
            m_pDrawCtrl->Redraw();
    }
    CRect c;
    GetClientRect(&c);
    OnSize(SIZE_RESTORED, c.Width(), c.Height());
}

void CQORView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    CRect c;
    GetClientRect(&c);
    const auto& gap = CSettings::GetInstance()->Plot.Gap;
    if (m_pDrawCtrl && m_pDrawCtrl->m_hWnd)
    {
        int width = std::max(0, c.right - gap.RIGHT - c.left - gap.LEFT);
        int height = RoundHalfAway(0.4 * (c.bottom - c.top));
        // A short view, or large text, leaves the drawing only the room above the instructions: as a child window it
        // would otherwise hide their first lines.
        CClientDC dc(this);
        height = std::max(0, std::min(height, InstructionsTop(&dc) - gap.TOP));
        m_pDrawCtrl->MoveWindow(gap.LEFT, gap.TOP, width, height, TRUE);
    }
    Invalidate(TRUE);
}

void CQORView::OnDraw(CDC* pDC)
{
    if (!GetDocument()) return;
    CRect c;
    GetClientRect(&c);
    if (!pDC->IsPrinting())
    {
        pDC->FillSolidRect(c, GetSysColor(COLOR_WINDOW));
        CBitmap picture;
        if (LoadStartPicture(picture))
        {
            BITMAP bm{};
            picture.GetBitmap(&bm);
            // The picture stands beside the instructions, never over them: a view too narrow
            // for both shows the instructions alone.
            const int x = c.Width() - bm.bmWidth;
            CDC memory;
            if (x >= InstructionsRight(pDC) + 10 && memory.CreateCompatibleDC(pDC))
            {
                CBitmap* old = memory.SelectObject(&picture);
                pDC->BitBlt(x, c.Height() - bm.bmHeight, bm.bmWidth, bm.bmHeight, &memory, 0, 0, SRCCOPY);
                memory.SelectObject(old);
            }
        }
    }
    DrawInstructions(pDC);
}

int CQORView::InstructionsTop(CDC* pDC)
{
    LOGFONT lf = InstructionFont();
    CFont font;
    if (!font.CreateFontIndirect(&lf)) return 0;
    CFont* old = pDC->SelectObject(&font);
    const int step = LineStep(pDC);
    pDC->SelectObject(old);
    CRect c;
    GetClientRect(&c);
    return c.bottom - LineCount() * step;
}

int CQORView::InstructionsRight(CDC* pDC)
{
    LOGFONT lf = InstructionFont();
    lf.lfWeight = FW_BOLD; // the widest the lines can be
    CFont font;
    if (!font.CreateFontIndirect(&lf)) return 0;
    CFont* old = pDC->SelectObject(&font);
    int widest = 0;
    for (const Line& line : Lines()) widest = std::max(widest, static_cast<int>(pDC->GetTextExtent(line.text).cx));
    pDC->SelectObject(old);
    return CSettings::GetInstance()->Plot.Gap.LEFT + widest;
}

void CQORView::DrawInstructions(CDC* pDC)
{
    LOGFONT lf = InstructionFont();
    CFont regular, heading;
    if (!regular.CreateFontIndirect(&lf)) return;
    lf.lfWeight = FW_BOLD;
    lf.lfUnderline = TRUE;
    if (!heading.CreateFontIndirect(&lf)) return;

    CRect c;
    GetClientRect(&c);
    if (pDC->IsPrinting()) c = CRect(0, 0, pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
    CFont* entry = pDC->SelectObject(&regular);
    // The line height of the font the lines are written in, so that they never overlap.
    const int step = LineStep(pDC);
    const int x = CSettings::GetInstance()->Plot.Gap.LEFT;
    const int y0 = c.bottom - LineCount() * step;
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    // Paper looks the same in every look.
    const COLORREF oldColour = pDC->SetTextColor(pDC->IsPrinting() ? qor::gui::GetPaperColor(COLOR_WINDOWTEXT)
                                                                   : GetSysColor(COLOR_WINDOWTEXT));
    for (int k = 0; k < LineCount(); ++k)
    {
        const Line& line = Lines()[static_cast<size_t>(k)];
        pDC->SelectObject(line.heading ? &heading : &regular);
        pDC->TextOut(x, y0 + k * step, line.text);
    }
    pDC->SetTextColor(oldColour);
    pDC->SetBkMode(oldMode);
    pDC->SelectObject(entry);
}

LRESULT CQORView::OnElementSelected(WPARAM, LPARAM lParam)
{
    auto* element = reinterpret_cast<CElement*>(lParam);
    auto* model = dynamic_cast<CLoadModel*>(element);
    if (!model || element->m_ElementType != CElement::ELEMENT_LOADMODEL || !m_pDrawCtrl) return 0;
    // The drawing shows a copy: later edits appear when the model is selected again.
    m_pDrawCtrl->SetLoadModel(std::make_shared<CLoadModel>(*model));
    m_pDrawCtrl->SetBkColor(CSettings::GetInstance()->General.LoadModel.CLR_LM_BGRND);
    m_pDrawCtrl->Redraw();
    return 1;
}

BOOL CQORView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

void CQORView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CQORView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CQORView::OnRButtonUp(UINT, CPoint point)
{
    ClientToScreen(&point);
    OnContextMenu(this, point);
}

void CQORView::OnContextMenu(CWnd*, CPoint point)
{
    afxContextMenuManager->ShowPopupMenu(IDR_POPUP_EDIT, point.x, point.y, this, TRUE, FALSE);
}
