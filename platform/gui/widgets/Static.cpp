// The static control over QLabel (text, frames, rectangles; STN_CLICKED); and its wrapper
// class CStatic.
#include "platform/gui/widgets/ControlsInternal.h"

#include <QtWidgets/QLabel>

namespace qor::gui {

namespace {

class StaticControl : public ControlBase
{
public:
    QLabel* label = nullptr;

    UINT CtlColorMessage(const WndState*) const override { return WM_CTLCOLORSTATIC; }
    void ColorRoles(QPalette::ColorRole& text, QPalette::ColorRole& back) const override
    {
        text = QPalette::WindowText;
        back = QPalette::Window;
    }

    explicit StaticControl(WndState* s, QWidget* parentWidget)
    {
        auto* h = new Host<QLabel>(s, true, parentWidget);
        label = h;
        s->widget = h;
        s->host = h;
        h->setFocusPolicy(Qt::NoFocus);
        h->setTextFormat(Qt::PlainText);
        UINT t = s->style & SS_TYPEMASK;
        Qt::Alignment a = t == SS_CENTER ? Qt::AlignHCenter : t == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
        h->setAlignment(a | ((s->style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop));
        h->setWordWrap(t == SS_LEFT || t == SS_CENTER || t == SS_RIGHT);
        if (s->style & SS_SUNKEN)
            h->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        else if ((s->style & WS_BORDER) || (s->exStyle & WS_EX_CLIENTEDGE))
            h->setFrameStyle(QFrame::Box | QFrame::Plain);
    }

    // "&x" marks a mnemonic (shown without the "&"), "&&" is a "&", unless SS_NOPREFIX.
    static QString Shown(const WndState* s, const QString& text)
    {
        if (s->style & SS_NOPREFIX) return text;
        QString out;
        for (int i = 0; i < text.size(); ++i)
        {
            if (text[i] == QLatin1Char('&') && i + 1 < text.size())
                ++i;
            else if (text[i] == QLatin1Char('&'))
                continue;
            out += text[i];
        }
        return out;
    }

    void Created(WndState* s) override { label->setText(Shown(s, ToQString(s->text))); }

    bool Control(WndState* s, UINT msg, WPARAM, LPARAM lParam, LRESULT* result) override
    {
        *result = 0;
        switch (msg)
        {
        case WM_SETTEXT: {
            QString t = ToQString(reinterpret_cast<LPCTSTR>(lParam));
            s->text = FromQString(t);
            label->setText(Shown(s, t));
            *result = TRUE;
            return true;
        }
        case WM_GETDLGCODE: *result = DLGC_STATIC; return true;
        case WM_LBUTTONDOWN:
            if (s->style & SS_NOTIFY) NotifyParent(s, STN_CLICKED);
            s->host->TakeEvent(msg);
            return true;
        case WM_LBUTTONDBLCLK:
            if (s->style & SS_NOTIFY) NotifyParent(s, STN_DBLCLK);
            s->host->TakeEvent(msg);
            return true;
        default: return false;
        }
    }
};

} // namespace

NativeControl* NewStaticControl(WndState* s, QWidget* parentWidget) { return new StaticControl(s, parentWidget); }

} // namespace qor::gui

using namespace qor::gui;
using namespace qor::gui::wrap;

// ---- CStatic ---------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CStatic, CWnd)

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_STATIC, lpszText, dwStyle, rect, pParentWnd, nID);
}
