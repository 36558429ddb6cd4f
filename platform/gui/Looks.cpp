// Looks: the toolkit's Fusion and Windows styles with palettes of our own.
#include "platform/gui/Looks.h"

#include <QtGui/QPalette>
#include <QtWidgets/QApplication>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyleFactory>

namespace qor::gui {

namespace {

Look g_look = Look::Light;

// A light palette from window, button and highlight colours.
QPalette LightPalette(QColor window, QColor button, QColor highlight)
{
    QPalette p = QStyleFactory::create(QStringLiteral("Fusion"))->standardPalette();
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::AlternateBase, window.lighter(104));
    return p;
}

QPalette DarkPalette()
{
    QPalette p;
    const QColor window(53, 53, 53), base(36, 36, 36), text(230, 230, 230), disabled(127, 127, 127);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, QColor(255, 255, 220));
    p.setColor(QPalette::ToolTipText, Qt::black);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Link, QColor(90, 160, 240));
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::PlaceholderText, disabled);
    p.setColor(QPalette::Disabled, QPalette::Text, disabled);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, disabled);
    p.setColor(QPalette::Disabled, QPalette::WindowText, disabled);
    p.setColor(QPalette::Light, window.lighter(150));
    p.setColor(QPalette::Midlight, window.lighter(125));
    p.setColor(QPalette::Mid, window.darker(120));
    p.setColor(QPalette::Dark, window.darker(150));
    p.setColor(QPalette::Shadow, Qt::black);
    return p;
}

} // namespace

void SetApplicationLook(Look look)
{
    g_look = look;
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app) return;
    const bool classic = look == Look::Classic;
    QStyle* style = QStyleFactory::create(classic ? QStringLiteral("Windows") : QStringLiteral("Fusion"));
    if (!style) style = QStyleFactory::create(QStringLiteral("Fusion"));
    if (!style) return;
    QPalette palette = style->standardPalette();
    switch (look) {
    case Look::Classic:
    case Look::Light: break;
    case Look::Blue: palette = LightPalette(QColor(220, 230, 244), QColor(212, 225, 242), QColor(61, 123, 200)); break;
    case Look::Silver: palette = LightPalette(QColor(230, 232, 236), QColor(221, 224, 229), QColor(96, 112, 138)); break;
    case Look::Aqua: palette = LightPalette(QColor(221, 240, 242), QColor(207, 233, 236), QColor(36, 140, 152)); break;
    case Look::Dark: palette = DarkPalette(); break;
    }
    QApplication::setStyle(style);
    QApplication::setPalette(palette);
}

Look GetApplicationLook() { return g_look; }

} // namespace qor::gui
