// Headless test support for windows: the application (offscreen) created once for the test program, event
// pumping, scripted message boxes, synthesized input that goes the same way as real input, and reading a
// window's retained surface back as pixels.
#include "platform/test/GuiTest.h"

#include "platform/gui/dialogs/FileDialogInternal.h"
#include "platform/gui/dialogs/MessageBoxes.h"
#include "platform/gui/draw/Convert.h"
#include "platform/gui/draw/Gdi.h"
#include "platform/gui/draw/SurfaceAccess.h"
#include "platform/gui/draw/SysValues.h"
#include "platform/gui/window/App.h"
#include "platform/gui/window/WndInternal.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>
#include <QtCore/QPointer>
#include <QtCore/QThread>
#include <QtCore/QTimer>
#include <QtGui/QFocusEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPixmap>
#include <QtGui/QWheelEvent>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMessageBox>

#include <algorithm>
#include <cstdlib>

namespace qor::test {

namespace {
void FixScreen(CSize size, int taskBar)
{
    const RECT screen{0, 0, size.cx, size.cy}, work{0, 0, size.cx, size.cy - taskBar};
    qor::gui::SetFixedScreen(&screen, &work);
}
} // namespace

void EnsureGuiApplication()
{
    if (!std::getenv("QOR_TEST_DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static const bool screenFixed = (FixScreen(CSize(1920, 1080), 40), true);
    (void)screenFixed;
    qor::gui::InitApplication();
}

TestScreen::TestScreen(CSize size, int taskBar) { FixScreen(size, taskBar); }
TestScreen::~TestScreen() { FixScreen(CSize(1920, 1080), 40); }

CRect ShownRect(CWnd* wnd)
{
    QWidget* w = qor::gui::WidgetOf(wnd);
    return w ? qor::gui::FromQRect(QRect(w->mapToGlobal(QPoint(0, 0)), w->size())) : CRect();
}

CRect DroppedListRect(CWnd* combo)
{
    auto* box = qobject_cast<QComboBox*>(qor::gui::WidgetOf(combo));
    QWidget* list = box && box->view() ? box->view()->window() : nullptr;
    return list && list != box->window() && list->isVisible() ? qor::gui::FromQRect(list->geometry()) : CRect();
}

namespace {
class GuiEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { EnsureGuiApplication(); }
};
[[maybe_unused]] ::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);
} // namespace

bool PumpUntil(const std::function<bool()>& cond, int timeoutMs)
{
    EnsureGuiApplication();
    QElapsedTimer t;
    t.start();
    while (!cond())
    {
        if (t.elapsed() > timeoutMs) return cond();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (!cond()) QThread::msleep(1);
    }
    return true;
}

std::vector<COLORREF> ShownPixels(CWnd* wnd, int* width, int* height)
{
    std::vector<COLORREF> pixels;
    QWidget* w = wnd ? qor::gui::WidgetOf(wnd) : nullptr;
    QImage image = w ? w->grab().toImage().convertToFormat(QImage::Format_RGB32) : QImage();
    if (width) *width = image.width();
    if (height) *height = image.height();
    pixels.reserve(static_cast<size_t>(image.width()) * static_cast<size_t>(std::max(image.height(), 0)));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) pixels.push_back(qor::gui::FromQColor(image.pixel(x, y)));
    return pixels;
}

int CountShownPixels(CWnd* wnd, const std::function<bool(COLORREF)>& pred)
{
    int n = 0;
    for (COLORREF c : ShownPixels(wnd))
        if (pred(c)) ++n;
    return n;
}

void Pump(int ms)
{
    EnsureGuiApplication();
    QElapsedTimer t;
    t.start();
    do {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (ms > 0) QThread::msleep(1);
    } while (t.elapsed() < ms);
}

int ToolkitWidgetCount() { return static_cast<int>(QApplication::allWidgets().size()); }

void DeleteDeferred()
{
    EnsureGuiApplication();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

ScriptedMessageBoxes::ScriptedMessageBoxes()
{
    m_previous = SetMessageBoxHandler([this](const MessageBoxCall& call) {
        m_shown.push_back(call);
        if (m_look) m_look(call);
        if (m_answers.empty()) return DefaultMessageBoxAnswer(call.type);
        int a = m_answers.front();
        m_answers.pop_front();
        return a;
    });
}
ScriptedMessageBoxes::~ScriptedMessageBoxes() { SetMessageBoxHandler(m_previous); }

namespace {

// The box shown last (the modal window on top, else the newest box shown), or null.
QMessageBox* ShownBox()
{
    QMessageBox* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box)
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) box = b;
    return box;
}

// Takes a box down whatever its buttons (a box without Cancel ignores close()).
void TakeDown(QMessageBox* box)
{
    if (box->isVisible()) box->reject();
}

} // namespace

KeyedMessageBoxes::KeyedMessageBoxes(std::vector<UINT> keys) : m_keys(keys.begin(), keys.end())
{
    m_previous = SetMessageBoxHandler([this](const MessageBoxCall& call) {
        ++m_shown;
        // Boxes that keep coming (a key that reached the window under the box) end the test's script.
        if (m_shown > 8) return DefaultMessageBoxAnswer(call.type);
        QTimer::singleShot(0, QCoreApplication::instance(), [this] { PressNextKey(true); });
        // A box whose key went elsewhere would wait for ever: it goes, and the test fails instead.
        QTimer::singleShot(1500, QCoreApplication::instance(), [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) TakeDown(b);
        });
        const int answer = qor::gui::ShowToolkitMessageBox(call);
        m_answers.push_back(answer);
        return answer;
    });
}

void KeyedMessageBoxes::PressNextKey(bool first)
{
    QMessageBox* box = ShownBox();
    if (!box) return;
    if (first)
    {
        const QRect r = box->geometry();
        m_placed.emplace_back(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    }
    if (m_keys.empty())
    {
        TakeDown(box);
        return;
    }
    const UINT vk = m_keys.front();
    m_keys.pop_front();
    QWidget* target = box->focusWidget() ? box->focusWidget() : box;
    const Qt::Key key = static_cast<Qt::Key>(qor::gui::ToQtKey(vk));
    const QString text = vk == VK_RETURN            ? QStringLiteral("\r")
                         : vk == VK_ESCAPE          ? QString(QChar(0x1b))
                         : (vk >= 'A' && vk <= 'Z') ? QString(QChar(static_cast<char16_t>(vk - 'A' + 'a')))
                                                    : QString();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QPointer<QWidget> guard(target);
    QCoreApplication::sendEvent(target, &press);
    if (guard) QCoreApplication::sendEvent(target, &release);
    // A key that left the box up (past a button's animated click, which a letter starts): the next key
    // goes to the same box.
    QPointer<QMessageBox> still(box);
    QTimer::singleShot(250, QCoreApplication::instance(), [this, still] {
        if (still && still->isVisible() && still == ShownBox() && !m_keys.empty()) PressNextKey(false);
    });
}
KeyedMessageBoxes::~KeyedMessageBoxes() { SetMessageBoxHandler(m_previous); }

int ScriptedMessageBoxes::Count(const CString& text) const
{
    return static_cast<int>(
        std::count_if(m_shown.begin(), m_shown.end(), [&](const MessageBoxCall& c) { return c.text == text; }));
}

COLORREF SurfacePixel(CWnd* wnd, int x, int y)
{
    QImage* img = qor::gui::WindowSurface(wnd);
    const QSize size = img ? qor::gui::LogicalSize(*img) : QSize();
    if (!img || x < 0 || y < 0 || x >= size.width() || y >= size.height()) return 0xFFFFFFFFu;
    return qor::gui::FromQColor(img->pixel(qor::gui::DevicePixel(*img, QPoint(x, y))));
}

COLORREF SurfaceDevicePixel(CWnd* wnd, int x, int y)
{
    QImage* img = qor::gui::WindowSurface(wnd);
    if (!img || !img->rect().contains(x, y)) return 0xFFFFFFFFu;
    return qor::gui::FromQColor(img->pixel(x, y));
}

CSize SurfaceDeviceSize(CWnd* wnd)
{
    QImage* img = qor::gui::WindowSurface(wnd);
    return img ? CSize(img->width(), img->height()) : CSize(0, 0);
}

TestPixelRatio::TestPixelRatio(double ratio) { qor::gui::SetPixelRatioOverride(ratio); }
TestPixelRatio::~TestPixelRatio() { qor::gui::SetPixelRatioOverride(0); }

CSize SurfaceSize(CWnd* wnd)
{
    QImage* img = qor::gui::WindowSurface(wnd);
    return img ? CSize(qor::gui::LogicalSize(*img).width(), qor::gui::LogicalSize(*img).height()) : CSize(0, 0);
}

int CountSurfacePixels(CWnd* wnd, const RECT& area, COLORREF color)
{
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (SurfacePixel(wnd, x, y) == color) ++n;
    return n;
}

void PaintNow(CWnd* wnd)
{
    if (QWidget* w = qor::gui::WidgetOf(wnd))
    {
        if (w->isVisible()) w->repaint();
        Pump();
        // Offscreen, Qt may not paint a window it does not consider exposed.
        if (wnd->m_hWnd) wnd->UpdateWindow();
    }
}

void MakeBitmap(CBitmap& bm, int w, int h, const std::function<COLORREF(int, int)>& colour)
{
    std::vector<DWORD> bits(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            COLORREF c = colour(x, y);
            bits[static_cast<size_t>(y) * w + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    ASSERT_TRUE(bm.CreateBitmap(w, h, 1, 32, bits.data()));
}

namespace {

Qt::MouseButton ButtonOf(int vk)
{
    switch (vk)
    {
    case VK_RBUTTON: return Qt::RightButton;
    case VK_MBUTTON: return Qt::MiddleButton;
    default: return Qt::LeftButton;
    }
}
void SendMouseEvent(CWnd* wnd, QEvent::Type type, CPoint client, Qt::MouseButton button, Qt::MouseButtons buttons,
                    UINT mk)
{
    qor::gui::WndState* s = qor::gui::StateOf(wnd);
    if (!s || !s->widget) return;
    QPointF local = QPointF(client.x, client.y) + QPointF(s->ClientOrigin());
    QPointF global = QPointF(s->widget->mapToGlobal(local.toPoint()));
    QMouseEvent e(type, local, global, button, buttons, qor::gui::ToQtModifiers(mk));
    QCoreApplication::sendEvent(s->widget, &e);
}

void SendKey(CWnd* wnd, QEvent::Type type, UINT vk, wchar_t ch, UINT mk, bool alt)
{
    QWidget* w = qor::gui::WidgetOf(wnd);
    if (!w) return;
    Qt::KeyboardModifiers m = qor::gui::ToQtModifiers(mk, alt);
    if (qor::gui::IsKeypadKey(vk)) m |= Qt::KeypadModifier;
    QString text = ch ? QString(QChar(static_cast<char16_t>(ch))) : QString();
    QKeyEvent e(type, qor::gui::ToQtKey(vk), m, text);
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

void MouseDown(CWnd* wnd, CPoint p, int button, UINT mk)
{
    Qt::MouseButton b = ButtonOf(button);
    SendMouseEvent(wnd, QEvent::MouseButtonPress, p, b, qor::gui::ToQtButtons(mk) | b, mk);
}
void MouseUp(CWnd* wnd, CPoint p, int button, UINT mk)
{
    Qt::MouseButton b = ButtonOf(button);
    SendMouseEvent(wnd, QEvent::MouseButtonRelease, p, b, qor::gui::ToQtButtons(mk) & ~Qt::MouseButtons(b), mk);
}
void MouseDoubleClick(CWnd* wnd, CPoint p, int button, UINT mk)
{
    Qt::MouseButton b = ButtonOf(button);
    SendMouseEvent(wnd, QEvent::MouseButtonDblClick, p, b, qor::gui::ToQtButtons(mk) | b, mk);
}
void MouseMove(CWnd* wnd, CPoint p, UINT mk)
{
    SendMouseEvent(wnd, QEvent::MouseMove, p, Qt::NoButton, qor::gui::ToQtButtons(mk), mk);
}
void Click(CWnd* wnd, CPoint p, int button, UINT mk)
{
    MouseDown(wnd, p, button, mk);
    if (wnd->m_hWnd) MouseUp(wnd, p, button, mk);
}
void Wheel(CWnd* wnd, CPoint p, int delta, UINT mk)
{
    qor::gui::WndState* s = qor::gui::StateOf(wnd);
    if (!s || !s->widget) return;
    QPointF local = QPointF(p.x, p.y) + QPointF(s->ClientOrigin());
    QPointF global = QPointF(s->widget->mapToGlobal(local.toPoint()));
    QWheelEvent e(local, global, QPoint(), QPoint(0, delta), qor::gui::ToQtButtons(mk), qor::gui::ToQtModifiers(mk),
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(s->widget, &e);
}
void KeyDown(CWnd* wnd, UINT vk, wchar_t ch, UINT mk, bool alt) { SendKey(wnd, QEvent::KeyPress, vk, ch, mk, alt); }
void KeyUp(CWnd* wnd, UINT vk, UINT mk, bool alt) { SendKey(wnd, QEvent::KeyRelease, vk, 0, mk, alt); }
void KeyPress(CWnd* wnd, UINT vk, wchar_t ch, UINT mk, bool alt)
{
    KeyDown(wnd, vk, ch, mk, alt);
    if (wnd->m_hWnd) KeyUp(wnd, vk, mk, alt);
}
void FocusIn(CWnd* wnd)
{
    if (QWidget* w = qor::gui::WidgetOf(wnd))
    {
        QFocusEvent e(QEvent::FocusIn, Qt::MouseFocusReason);
        QCoreApplication::sendEvent(w, &e);
    }
}

CWnd* ToolkitFocusWindow() { return qor::gui::WndFromWidget(QApplication::focusWidget()); }
CWnd* ToolkitActiveWindow() { return qor::gui::WndFromWidget(QApplication::activeWindow()); }

CString TypeIntoSaveDialog(const CString& folder, const CString& typed, const CString& defaultExt, bool replace)
{
    int questions = 0;
    QTimer answer;
    answer.setInterval(20);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal))
        {
            ++questions;
            if (QAbstractButton* button = box->button(replace ? QMessageBox::Yes : QMessageBox::No))
                button->click();
            else
                box->reject();
        }
        else if (auto* dialog = qobject_cast<QFileDialog*>(modal))
        {
            // Once: the name goes into the name field as typed and the dialog is accepted; a dialog
            // still up after its question was answered no is cancelled.
            if (dialog->property("typed").toBool())
            {
                if (questions > 0 && !replace) dialog->reject();
                return;
            }
            dialog->setProperty("typed", true);
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(qor::gui::ToQString(typed));
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
    });
    answer.start();
    QTimer::singleShot(5000, &answer, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    const QString start = qor::gui::ToQString(folder);
    const QString chosen = qor::gui::RunToolkitFileDialog(nullptr, false, QString(), start, QString(),
                                                          qor::gui::ToQString(defaultExt), true);
    return qor::gui::FromQString(chosen);
}

CString CloseOpenMenuPopup()
{
    QCoreApplication::processEvents();
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return CString();
    CString title = qor::gui::FromQString(menu->title().remove(QLatin1Char('&')));
    menu->close();
    QCoreApplication::processEvents();
    return title;
}

WindowFrame FrameOf(CWnd* wnd)
{
    WindowFrame frame;
    QWidget* w = qor::gui::WidgetOf(wnd);
    if (!w || !w->isWindow()) return frame;
    const Qt::WindowFlags flags = w->windowFlags();
    frame.dialog = w->windowType() == Qt::Dialog;
    frame.close = flags.testFlag(Qt::WindowCloseButtonHint);
    frame.minimize = flags.testFlag(Qt::WindowMinimizeButtonHint);
    frame.maximize = flags.testFlag(Qt::WindowMaximizeButtonHint);
    frame.fixedSize = w->minimumSize() == w->maximumSize();
    if (QWidget* parent = w->parentWidget()) frame.owner = qor::gui::WndFromWidget(parent->window());
    return frame;
}

namespace {
void ReleaseBar(QScrollBar* bar)
{
    QPointF c(bar->width() / 2.0, bar->height() / 2.0);
    QMouseEvent e(QEvent::MouseButtonRelease, c, bar->mapToGlobal(c), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &e);
}
} // namespace

void ScrollBarClick(CWnd* wnd, int nBar, int sbCode)
{
    QScrollBar* bar = qor::gui::ScrollBarWidget(wnd, nBar);
    if (!bar) return;
    QAbstractSlider::SliderAction a;
    switch (sbCode)
    {
    case SB_LINEUP: a = QAbstractSlider::SliderSingleStepSub; break;
    case SB_LINEDOWN: a = QAbstractSlider::SliderSingleStepAdd; break;
    case SB_PAGEUP: a = QAbstractSlider::SliderPageStepSub; break;
    case SB_PAGEDOWN: a = QAbstractSlider::SliderPageStepAdd; break;
    case SB_TOP: a = QAbstractSlider::SliderToMinimum; break;
    case SB_BOTTOM: a = QAbstractSlider::SliderToMaximum; break;
    default: return;
    }
    bar->triggerAction(a);
    if (qor::gui::ScrollBarWidget(wnd, nBar) == bar) ReleaseBar(bar);
}

void ScrollBarDrag(CWnd* wnd, int nBar, const std::vector<int>& positions)
{
    QScrollBar* bar = qor::gui::ScrollBarWidget(wnd, nBar);
    if (!bar) return;
    bar->setSliderDown(true);
    for (int p : positions)
    {
        if (qor::gui::ScrollBarWidget(wnd, nBar) != bar) return;
        bar->setSliderPosition(p);
    }
    bar->setSliderDown(false);
    if (qor::gui::ScrollBarWidget(wnd, nBar) == bar) ReleaseBar(bar);
}

void ScrollBarWheel(CWnd* wnd, int nBar, int delta)
{
    QScrollBar* bar = qor::gui::ScrollBarWidget(wnd, nBar);
    if (!bar) return;
    QPointF c(bar->width() / 2.0, bar->height() / 2.0);
    QPoint angle = bar->orientation() == Qt::Vertical ? QPoint(0, delta) : QPoint(delta, 0);
    QWheelEvent e(c, bar->mapToGlobal(c), QPoint(), angle, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(bar, &e);
}

bool ScrollBarShown(CWnd* wnd, int nBar)
{
    QScrollBar* bar = qor::gui::ScrollBarWidget(wnd, nBar);
    return bar && !bar->isHidden();
}
int ScrollBarShownValue(CWnd* wnd, int nBar)
{
    QScrollBar* bar = qor::gui::ScrollBarWidget(wnd, nBar);
    return bar ? bar->value() : 0;
}

} // namespace qor::test
