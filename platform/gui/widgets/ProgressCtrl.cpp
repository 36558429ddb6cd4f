// The progress bar over QProgressBar (the PBM_ messages); and its wrapper class CProgressCtrl.
#include "platform/gui/widgets/ControlsInternal.h"

#include <QtWidgets/QProgressBar>

#include <algorithm>

namespace qor::gui {

namespace {

class ProgressControl : public ControlBase
{
public:
    QProgressBar* bar = nullptr;
    int low = 0, high = 100, pos = 0, step = 10;

    explicit ProgressControl(WndState* s, QWidget* parentWidget)
    {
        auto* h = new Host<QProgressBar>(s, true, parentWidget);
        bar = h;
        s->widget = h;
        s->host = h;
        h->setFocusPolicy(Qt::NoFocus);
        h->setTextVisible(false);
        h->setOrientation((s->style & PBS_VERTICAL) ? Qt::Vertical : Qt::Horizontal);
        Show();
    }

    void Show()
    {
        bar->setRange(std::min(low, high), std::max(low, high));
        bar->setValue(pos);
    }

    int SetPos(int p)
    {
        int old = pos;
        pos = std::clamp(p, std::min(low, high), std::max(low, high));
        Show();
        return old;
    }

    bool Control(WndState*, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        *result = 0;
        switch (msg)
        {
        case PBM_SETRANGE:
        case PBM_SETRANGE32: {
            *result = MAKELONG(static_cast<WORD>(low), static_cast<WORD>(high));
            if (msg == PBM_SETRANGE)
            {
                low = static_cast<short>(LOWORD(lParam));
                high = static_cast<short>(HIWORD(lParam));
            }
            else
            {
                low = static_cast<int>(wParam);
                high = static_cast<int>(lParam);
            }
            SetPos(pos);
            return true;
        }
        case PBM_GETRANGE:
            if (lParam) *reinterpret_cast<PBRANGE*>(lParam) = PBRANGE{low, high};
            *result = wParam ? low : high;
            return true;
        case PBM_SETPOS: *result = SetPos(static_cast<int>(wParam)); return true;
        case PBM_DELTAPOS: *result = SetPos(pos + static_cast<int>(wParam)); return true;
        case PBM_GETPOS: *result = pos; return true;
        case PBM_SETSTEP:
            *result = step;
            step = static_cast<int>(wParam);
            return true;
        case PBM_STEPIT: {
            // Stepping past the end starts again from the beginning.
            int next = pos + step;
            if (next > std::max(low, high)) next = std::min(low, high) + (next - std::max(low, high));
            *result = SetPos(next);
            return true;
        }
        case WM_GETDLGCODE: *result = 0; return true;
        default: return false;
        }
    }
};

} // namespace

NativeControl* NewProgressControl(WndState* s, QWidget* parentWidget) { return new ProgressControl(s, parentWidget); }

} // namespace qor::gui

using namespace qor::gui;
using namespace qor::gui::wrap;

// ---- CProgressCtrl ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(PROGRESS_CLASS, nullptr, dwStyle, rect, pParentWnd, nID);
}
void CProgressCtrl::SetRange(short nLower, short nUpper)
{
    SendMessage(PBM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(nLower), static_cast<WORD>(nUpper)));
}
void CProgressCtrl::SetRange32(int nLower, int nUpper)
{
    SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(nLower), static_cast<LPARAM>(nUpper));
}
void CProgressCtrl::GetRange(int& nLower, int& nUpper) const
{
    PBRANGE r{0, 0};
    Send(this, PBM_GETRANGE, TRUE, LP(&r));
    nLower = r.iLow;
    nUpper = r.iHigh;
}
int CProgressCtrl::GetPos() const { return static_cast<int>(Send(this, PBM_GETPOS)); }
int CProgressCtrl::SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPos))); }
int CProgressCtrl::OffsetPos(int nPos)
{
    return static_cast<int>(SendMessage(PBM_DELTAPOS, static_cast<WPARAM>(nPos)));
}
int CProgressCtrl::SetStep(int nStep) { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(nStep))); }
int CProgressCtrl::StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
