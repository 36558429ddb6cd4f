// Message boxes on the screen: a toolkit box with the caption, text, icon, buttons and default button
// that the Windows type flags ask for, answered with the id of the button pressed.
#include "platform/gui/dialogs/MessageBoxes.h"

#include "platform/core/MessageBox.h"
#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/draw/Convert.h"
#include "platform/gui/window/App.h"
#include "platform/gui/window/InputClockInternal.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QPointer>
#include <QtGui/QCloseEvent>
#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include <utility>
#include <vector>

namespace {

struct Button
{
    QMessageBox::StandardButton standard;
    int id;
};

// The buttons of each MB_ type, in their order on the box.
std::vector<Button> ButtonsOf(UINT type)
{
    switch (type & MB_TYPEMASK)
    {
    case MB_OKCANCEL: return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL: return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO: return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL: return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default: return {{QMessageBox::Ok, IDOK}};
    }
}

QMessageBox::Icon IconOf(UINT type)
{
    switch (type & MB_ICONMASK)
    {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// A box without Cancel (Yes/No, Abort/Retry/Ignore) is answered by one of its buttons: Escape and the
// window manager's close do nothing, as the system's boxes have it. Every other box takes Escape as
// its Cancel, or as its only button.
class Box : public QMessageBox
{
public:
    Box(Icon icon, const QString& caption, const QString& text, QWidget* owner, bool answerRequired)
        : QMessageBox(icon, caption, text, QMessageBox::NoButton, owner), m_answerRequired(answerRequired)
    {
        // Nor does its caption offer a close box.
        if (answerRequired) setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    }

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (m_answerRequired && e->matches(QKeySequence::Cancel))
        {
            e->accept();
            return;
        }
        QMessageBox::keyPressEvent(e);
    }
    void showEvent(QShowEvent* e) override
    {
        QMessageBox::showEvent(e);
        // Over a window that is not on the screen yet (the main window while the program starts), the box
        // stands in the middle of the area the window will fill.
        if (!m_area.isEmpty()) move(m_area.center() - QPoint(width() / 2, height() / 2));
    }
    void closeEvent(QCloseEvent* e) override
    {
        if (m_answerRequired)
        {
            e->ignore();
            return;
        }
        QMessageBox::closeEvent(e);
    }

public:
    QRect m_area;

private:
    bool m_answerRequired;
};

// Keys pressed before the box appeared (queued while the window thread was busy) were meant for another
// window: they do not answer the box.
class EarlierKeys : public QObject
{
public:
    explicit EarlierKeys(QWidget* box) : m_box(box), m_shownMs(qor::gui::InputClockNowMs())
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~EarlierKeys() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        const QEvent::Type type = e->type();
        if ((type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride) ||
            !e->spontaneous())
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != m_box) return false;
        if (!qor::gui::IsInputMadeBefore(static_cast<QKeyEvent*>(e)->timestamp(), m_shownMs)) return false;
        e->accept();
        return true;
    }

private:
    QWidget* m_box;
    std::uint32_t m_shownMs;
};

bool AnswerRequired(UINT type)
{
    const UINT buttons = type & MB_TYPEMASK;
    return buttons == MB_YESNO || buttons == MB_ABORTRETRYIGNORE;
}

bool HasDisplay()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

int ShowMessageBox(const qor::MessageBoxCall& call)
{
    if (!HasDisplay()) return qor::DefaultMessageBoxAnswer(call.type);
    return qor::gui::ShowToolkitMessageBox(call);
}

} // namespace

namespace qor::gui {

int ShowToolkitMessageBox(const qor::MessageBoxCall& call)
{
    // The owner given, else the modal window on top, else the program's active window, else its main
    // window (as the framework's AfxMessageBox has it).
    auto windowOf = [](CWnd* wnd) -> QWidget* {
        QWidget* widget = wnd ? qor::gui::WidgetOf(wnd) : nullptr;
        return widget ? widget->window() : nullptr;
    };
    QWidget* owner = call.owner ? windowOf(CWnd::FromHandle(call.owner)) : nullptr;
    if (!owner) owner = QApplication::activeModalWidget();
    if (QWidget* active = QApplication::activeWindow(); !owner && active && qor::gui::WndFromWidget(active))
        owner = active;
    if (!owner) owner = windowOf(AfxGetMainWnd());
    // A hidden owner (the main window before it is first shown) stays hidden: the box goes on the screen
    // on its own, in the middle of the area the owner will fill (maximised).
    QRect area;
    if (owner && !owner->isVisible())
    {
        area = qor::gui::ToQRect(qor::gui::ScreenArea(owner, true));
        owner = nullptr;
    }

    Box box(IconOf(call.type), qor::gui::ToQString(call.caption), qor::gui::ToQString(call.text), owner,
            AnswerRequired(call.type));
    if (!owner && !area.isEmpty()) box.m_area = area;
    const std::vector<Button> buttons = ButtonsOf(call.type);
    std::vector<std::pair<QAbstractButton*, int>> answers;
    for (const Button& b : buttons) answers.emplace_back(box.addButton(b.standard), b.id);
    const size_t def = (call.type & MB_DEFMASK) >> 8;
    box.setDefaultButton(static_cast<QPushButton*>(answers[def < answers.size() ? def : 0].first));
    qor::gui::HideTipsForModal();
    QPointer<QWidget> ownerWindow(owner);
    {
        EarlierKeys earlier(&box);
        box.exec();
    }
    // The box was modal to its owner's window: that window is the active one again.
    if (ownerWindow && ownerWindow->isVisible())
    {
        if (CWnd* top = qor::gui::WndFromWidget(ownerWindow))
            qor::gui::ReactivateOwner(top->GetSafeHwnd());
        else
            ownerWindow->activateWindow();
    }

    for (const auto& [button, id] : answers)
        if (box.clickedButton() == button) return id;
    // Closed without a button (Escape or the caption's close box; a box without Cancel only by the
    // program): Cancel or No when the box has one.
    for (const Button& b : buttons)
        if (b.id == IDCANCEL || b.id == IDNO) return b.id;
    return buttons.front().id;
}

void InstallMessageBoxes() { qor::SetMessageBoxHandler(ShowMessageBox); }

namespace {
// The boxes are on the screen from the start of every application.
const bool g_installedAtStart = AddApplicationInitializer(&InstallMessageBoxes);
} // namespace

} // namespace qor::gui
