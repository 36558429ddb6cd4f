// CDrawLoadModelCtrl: the mapping from model metres to the client area and the drawing of the scale and of each kind of
// load.
#include "ui/dialogs/DrawLoadModelCtrl.h"

#include "engine/model/LoadModel.h"
#include "engine/settings/Settings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Logical coordinates come from doubles rounded half away from zero.
int Nint(double value) { return static_cast<int>(std::lround(value)); }

// Extents beyond this would overflow the DC's integer coordinates once offsets are added.
constexpr double kMaxExtent = 1.0e9;

const CSettings::General_Config::General_LoadModel& Colours() { return CSettings::GetInstance()->General.LoadModel; }

template <class Load>
double LargestMagnitude(const std::vector<Load>& loads)
{
    double largest = 0.0;
    for (const Load& load : loads) largest = std::max(largest, std::fabs(load.magnitude));
    return largest;
}

// One pen and one brush of a colour selected for a group of loads, restored afterwards.
class CGroupTools
{
public:
    CGroupTools(CDC* pDC, COLORREF colour) : m_pDC(pDC), m_Pen(PS_SOLID, 0, colour), m_Brush(colour)
    {
        m_pOldPen = pDC->SelectObject(&m_Pen);
        m_pOldBrush = pDC->SelectObject(&m_Brush);
    }
    ~CGroupTools()
    {
        m_pDC->SelectObject(m_pOldPen);
        m_pDC->SelectObject(m_pOldBrush);
    }
    CGroupTools(const CGroupTools&) = delete;
    CGroupTools& operator=(const CGroupTools&) = delete;
    CBrush* GetOldBrush() const { return m_pOldBrush; }
    CBrush* GetBrush() { return &m_Brush; }

private:
    CDC* m_pDC;
    CPen m_Pen;
    CBrush m_Brush;
    CPen* m_pOldPen = nullptr;
    CBrush* m_pOldBrush = nullptr;
};

} // namespace

CDrawLoadModelCtrl::CDrawLoadModelCtrl()
{
    m_BkColor = Colours().CLR_LM_BGRND;
    m_bDrawEdge = true;
}

CDrawLoadModelCtrl::~CDrawLoadModelCtrl() = default;

void CDrawLoadModelCtrl::SetLoadModel(std::shared_ptr<CLoadModel> pLoadModel) { m_pLoadModel = std::move(pLoadModel); }

void CDrawLoadModelCtrl::PrepareMapping(CDC* pDC)
{
    m_bMapped = false;
    if (!m_pLoadModel) return;

    // Locations then run from 0 at the front to -length at the rear.
    m_pLoadModel->Update();
    const double length = m_pLoadModel->GetLength();
    const double marginMetres = length > 0.0 ? 0.3 * length : 2.0;
    const double total = 2.0 * marginMetres + length;
    const int cx = m_ClientRect.Width();
    const int cy = m_ClientRect.Height();
    const double aspect = double(cx) / double(cy);
    if (!std::isfinite(total) || total <= 0.0 || m_Scale * total > kMaxExtent || m_Scale * total / aspect > kMaxExtent)
        return;

    m_Margin = m_Scale * marginMetres;
    m_HalfHeight = (total / aspect) / 2.0;
    m_WindowExtX = Nint(m_Scale * total);
    m_WindowExtY = Nint(m_Scale * total / aspect);
    if (m_WindowExtX <= 0 || m_WindowExtY <= 0) return;

    // y grows upwards; the front sits one margin inside the right edge and the baseline 10 pixels above the bottom, so
    // the model travels to the right.
    pDC->SetMapMode(MM_ISOTROPIC);
    pDC->SetWindowExt(m_WindowExtX, -m_WindowExtY);
    pDC->SetViewportExt(cx, cy);
    CPoint marginPoint(Nint(m_Margin), Nint(m_Margin));
    pDC->LPtoDP(&marginPoint);
    pDC->SetViewportOrg(cx - marginPoint.x, cy - 10);
    m_bMapped = true;
}

void CDrawLoadModelCtrl::DrawContent(CDC* pDC)
{
    // Without a model there is no scale to draw: the background alone says so.
    if (!m_bMapped) return;

    // The window's font is sized in pixels; at a thousand logical units a metre it would vanish, so it is made again at
    // the same size on the screen.
    LOGFONT lf{};
    CFont* pWndFont = GetFont();
    if (pWndFont == nullptr) pWndFont = CFont::FromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    pWndFont->GetLogFont(&lf);
    CSize fontSize(0, std::abs(static_cast<int>(lf.lfHeight)));
    pDC->DPtoLP(&fontSize);
    lf.lfHeight = lf.lfHeight < 0 ? -std::abs(fontSize.cy) : std::abs(fontSize.cy);
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* pOldFont = pDC->SelectObject(&font);

    DrawScale(pDC);
    if (!m_pLoadModel->m_vUDL.empty()) DrawUniformLoads(pDC);
    if (!m_pLoadModel->m_vPUDL.empty()) DrawPartialLoads(pDC);
    if (!m_pLoadModel->m_vPL.empty())
    {
        DrawWheels(pDC);
        DrawAxleArrows(pDC);
    }
    if (m_bDrawEdge) DrawEdgeAround(pDC);

    pDC->SelectObject(pOldFont);
}

void CDrawLoadModelCtrl::DrawScale(CDC* pDC)
{
    const auto& colours = Colours();
    CPen solidPen(PS_SOLID, 0, colours.CLR_LM_BASELINE);
    CPen dottedPen(PS_DOT, 0, colours.CLR_LM_GRIDLINE);
    CPen* pOldPen = pDC->SelectObject(&dottedPen);
    pDC->SetTextColor(colours.CLR_LM_GRIDLINE);
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    const int textHeight = tm.tmHeight;

    const double leftLimit = -Nint(m_WindowExtX / m_Scale) * m_Scale;

    // Labels step by whole metres, far enough apart that the widest (leftmost) fits.
    CString label;
    label.Format(L"%d", Nint(leftLimit / m_Scale));
    const int labelWidth = pDC->GetTextExtent(label).cx;
    const int metresPerLabel = std::max(1, static_cast<int>(std::ceil(labelWidth / m_Scale)));
    const double step = m_Scale * metresPerLabel;

    // Labels stay whole inside the client area and its edge: one whose line stands at a side is moved in beside it,
    // one whose line is out of sight is left out. y grows upwards here, so the top is the larger y.
    const int edge = m_bDrawEdge ? 2 : 0;
    CPoint inside[2] = {CPoint(m_ClientRect.left + edge, m_ClientRect.top + edge),
                        CPoint(m_ClientRect.right - edge, m_ClientRect.bottom - edge)};
    pDC->DPtoLP(inside, 2);
    const int labelTop = std::min(m_WindowExtY - textHeight, int(inside[0].y));

    for (double x = Nint(m_Margin / step + 0.5) * step; x > leftLimit; x -= step)
    {
        const int ix = Nint(x);
        pDC->MoveTo(ix, 0);
        pDC->LineTo(ix, m_WindowExtY);
        CPoint device(ix, 0);
        pDC->LPtoDP(&device);
        if (device.x < m_ClientRect.left || device.x > m_ClientRect.right) continue;
        label.Format(L"%d", Nint(x / m_Scale));
        const int width = pDC->GetTextExtent(label).cx;
        const int left = std::max(int(inside[0].x), std::min(ix - width / 2, int(inside[1].x) - width));
        pDC->TextOut(left, labelTop, label);
    }

    pDC->SelectObject(&solidPen);
    CPoint middle(m_ClientRect.Width() / 2, 0);
    pDC->DPtoLP(&middle);
    const int arrowY = Nint(m_WindowExtY - 2.75 * textHeight);
    const int halfLength = Nint(1.5 * m_Scale * m_HalfHeight);
    DrawArrow(pDC, CPoint(middle.x - halfLength, arrowY), CPoint(middle.x + halfLength, arrowY), 0.25 * halfLength,
              0.0625 * halfLength);

    // Drawn opaque in the background colour, the caption interrupts the arrow's shaft.
    pDC->SetTextColor(colours.CLR_LM_TEXT);
    const CString caption(L"Direction of Travel");
    pDC->TextOut(middle.x - pDC->GetTextExtent(caption).cx / 2, arrowY + textHeight / 2, caption);

    pDC->MoveTo(Nint(m_Margin), 0);
    pDC->LineTo(-m_WindowExtX, 0);
    pDC->SelectObject(pOldPen);
}

void CDrawLoadModelCtrl::DrawLoadArrow(CDC* pDC, int x, int yNear, int yFar, double magnitude, double length)
{
    if (yNear == yFar) return; // a zero load has no arrow
    if (magnitude > 0.0)
        DrawArrow(pDC, CPoint(x, yFar), CPoint(x, yNear), length / 3.0, length / 12.0);
    else
        DrawArrow(pDC, CPoint(x, yNear), CPoint(x, yFar), length / 3.0, length / 12.0);
}

// Heights are scaled by magnitude against the largest magnitude of the kind and always lie above the baseline; the sign
// only turns the arrows, so an upward load among downward ones still reads as upward.
void CDrawLoadModelCtrl::DrawUniformLoads(CDC* pDC)
{
    const auto& loads = m_pLoadModel->m_vUDL;
    const double largest = LargestMagnitude(loads);
    CGroupTools tools(pDC, Colours().CLR_LM_UDL);
    for (const CLoadModel::UniformLoad& load : loads)
    {
        const double height =
            largest > 0.0 ? m_UDLHeightRatio * m_Scale * m_HalfHeight * std::fabs(load.magnitude) / largest : 0.0;
        const int y = Nint(height);
        pDC->MoveTo(Nint(m_Margin), y);
        pDC->LineTo(-m_WindowExtX, y);
        for (int j = 0; j <= 20; ++j)
            DrawLoadArrow(pDC, Nint(m_Margin - j * m_WindowExtX / 20.0), 0, y, load.magnitude, height);
    }
}

void CDrawLoadModelCtrl::DrawPartialLoads(CDC* pDC)
{
    const int count = static_cast<int>(m_pLoadModel->m_vPUDL.size());
    const double largest = LargestMagnitude(m_pLoadModel->m_vPUDL);
    CGroupTools tools(pDC, Colours().CLR_LM_PUDL);
    for (int i = 0; i < count; ++i)
    {
        double gamma = 0.0, magnitude = 0.0, location = 0.0, cover = 0.0;
        m_pLoadModel->GetPartialUDL(i, gamma, magnitude, location, cover);
        const double x0 = m_Scale * location;
        const double x1 = x0 + m_Scale * cover;
        const double height =
            largest > 0.0 ? m_PUDLHeightRatio * m_Scale * m_HalfHeight * std::fabs(magnitude) / largest : 0.0;
        const int y = Nint(height);
        pDC->MoveTo(Nint(x0), y);
        pDC->LineTo(Nint(x1), y);
        for (int j = 0; j <= 15; ++j)
            DrawLoadArrow(pDC, Nint(x1 - j * (m_Scale * cover) / 15.0), 0, y, magnitude, height);
    }
}

void CDrawLoadModelCtrl::DrawWheels(CDC* pDC)
{
    const double diameter = m_WheelRatio * m_Scale * m_HalfHeight;
    const int inset = Nint(m_HubRatio * diameter);
    CGroupTools tools(pDC, Colours().CLR_LM_WHEEL);
    for (const CLoadModel::PointLoad& load : m_pLoadModel->m_vPL)
    {
        const double x = m_Scale * load.location;
        // y grows upwards: the wheel's top is its larger y.
        CRect wheel(Nint(x - diameter / 2.0), Nint(diameter), Nint(x + diameter / 2.0), 0);
        pDC->Ellipse(&wheel);
        CRect hub(wheel.left + inset, wheel.top - inset, wheel.right - inset, wheel.bottom + inset);
        if (hub.left < hub.right && hub.bottom < hub.top)
        {
            pDC->SelectObject(tools.GetOldBrush());
            pDC->Ellipse(&hub);
            pDC->SelectObject(tools.GetBrush());
        }
    }
}

void CDrawLoadModelCtrl::DrawAxleArrows(CDC* pDC)
{
    const auto& loads = m_pLoadModel->m_vPL;
    const double largest = LargestMagnitude(loads);
    const double gap = m_WheelRatio * m_Scale * m_HalfHeight;
    CGroupTools tools(pDC, Colours().CLR_LM_PL);
    for (const CLoadModel::PointLoad& load : loads)
    {
        const double length =
            largest > 0.0 ? m_AxleArrowRatio * m_Scale * m_HalfHeight * std::fabs(load.magnitude) / largest : 0.0;
        DrawLoadArrow(pDC, Nint(m_Scale * load.location), Nint(gap), Nint(gap + length), load.magnitude, length);
    }
}
