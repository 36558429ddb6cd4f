// The focus mark: a solid ring in the look's mark colour, drawn by the style wherever a control shows its
// focus, whether the focus came by key, by mouse or by the program, and at every scale.
#include "platform/gui/widgets/FocusMarkStyle.h"

#include <QtGui/QPainter>
#include <QtWidgets/QAbstractScrollArea>
#include <QtWidgets/QStyleOption>

#include <algorithm>

namespace qor::gui {

FocusMarkStyle::FocusMarkStyle(QStyle* base, const QColor& mark, const QColor& outline)
    : QProxyStyle(base), m_mark(mark), m_outline(outline)
{}

void FocusMarkStyle::DrawRing(QPainter* painter, const QRect& r, int width, const QColor& colour) const
{
    if (r.width() <= 2 * width || r.height() <= 2 * width) return;
    painter->save();
    painter->setClipping(false);
    painter->fillRect(QRect(r.left(), r.top(), r.width(), width), colour);
    painter->fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), colour);
    painter->fillRect(QRect(r.left(), r.top() + width, width, r.height() - 2 * width), colour);
    painter->fillRect(QRect(r.right() - width + 1, r.top() + width, width, r.height() - 2 * width), colour);
    painter->restore();
}

void FocusMarkStyle::DrawIndicator(bool radio, const QStyleOption* option, QPainter* painter) const
{
    const QPalette& palette = option->palette;
    const bool enabled = option->state & State_Enabled;
    const QColor text = palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::Text);
    // Pressed or disabled, the inside takes a tint of the text (as a pressed button darkens), so that the
    // box still reads as one that cannot be changed or is being changed.
    QColor fill = palette.color(QPalette::Base);
    if (!enabled || (option->state & State_Sunken))
    {
        const QColor face = palette.color(QPalette::Window);
        fill = QColor((face.red() * 6 + text.red()) / 7, (face.green() * 6 + text.green()) / 7,
                      (face.blue() * 6 + text.blue()) / 7);
    }
    // Square, centred in the rectangle the style gives; the outline on the pixel grid at scale 1 and whole
    // at every other (a pen of one unit, half of it inside).
    const qreal side = std::min(option->rect.width(), option->rect.height());
    const QRectF box(option->rect.x() + (option->rect.width() - side) / 2.0 + 0.5,
                     option->rect.y() + (option->rect.height() - side) / 2.0 + 0.5, side - 1.0, side - 1.0);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, radio);
    painter->setPen(QPen(m_outline, 1.0));
    painter->setBrush(fill);
    if (radio)
        painter->drawEllipse(box);
    else
        painter->drawRect(box);
    painter->setRenderHint(QPainter::Antialiasing, true);
    const qreal w = box.width(), h = box.height();
    if (radio && (option->state & State_On))
    {
        painter->setPen(Qt::NoPen);
        painter->setBrush(text);
        painter->drawEllipse(box.center(), w * 0.24, h * 0.24);
    }
    else if (!radio && (option->state & State_NoChange))
    {
        painter->fillRect(QRectF(box.x() + w * 0.25, box.y() + h * 0.4, w * 0.5, h * 0.2), text);
    }
    else if (!radio && (option->state & State_On))
    {
        QPen tick(text, std::max<qreal>(1.5, w / 7.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter->setPen(tick);
        painter->setBrush(Qt::NoBrush);
        const QPointF points[] = {{box.x() + w * 0.22, box.y() + h * 0.52},
                                  {box.x() + w * 0.42, box.y() + h * 0.72},
                                  {box.x() + w * 0.78, box.y() + h * 0.28}};
        painter->drawPolyline(points, 3);
    }
    painter->restore();
}

void FocusMarkStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const
{
    switch (element)
    {
    case PE_FrameFocusRect: {
        // On a selected item the mark is in the selection's text colour.
        const bool onSelection = option->state & State_Selected;
        DrawRing(painter, option->rect, 1, onSelection ? option->palette.color(QPalette::HighlightedText) : m_mark);
        return;
    }
    case PE_IndicatorCheckBox: DrawIndicator(false, option, painter); return;
    case PE_IndicatorRadioButton: DrawIndicator(true, option, painter); return;
    case PE_FrameLineEdit:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        if (option->state & State_HasFocus) DrawRing(painter, option->rect, 2, m_mark);
        return;
    default: QProxyStyle::drawPrimitive(element, option, painter, widget); return;
    }
}

void FocusMarkStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const
{
    // Buttons: the style's own mark (which some styles draw only after a key moved the focus, some in a
    // colour too faint on a dark face) gives way to the ring, round the face or the label.
    SubElement ring = SE_CustomBase;
    int width = 1;
    switch (element)
    {
    case CE_PushButton: ring = SE_PushButtonFocusRect, width = 2; break;
    case CE_CheckBox: ring = SE_CheckBoxFocusRect; break;
    case CE_RadioButton: ring = SE_RadioButtonFocusRect; break;
    default: break;
    }
    if (ring != SE_CustomBase && (option->state & State_HasFocus))
    {
        if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option))
        {
            QStyleOptionButton plain(*button);
            plain.state &= ~(State_HasFocus | State_KeyboardFocusChange);
            QProxyStyle::drawControl(element, &plain, painter, widget);
            QRect r = subElementRect(ring, button, widget);
            if (element == CE_PushButton) r = r.adjusted(-1, -1, 1, 1) & option->rect.adjusted(2, 2, -2, -2);
            DrawRing(painter, r, width, m_mark);
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
    // Lists, trees and the like: the whole frame, so that a list without a current item shows it too.
    if (element == CE_ShapedFrame && (option->state & State_HasFocus) &&
        qobject_cast<const QAbstractScrollArea*>(widget))
        DrawRing(painter, option->rect, 2, m_mark);
}

void FocusMarkStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                        const QWidget* widget) const
{
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if ((control == CC_ComboBox || control == CC_SpinBox) && (option->state & State_HasFocus))
        DrawRing(painter, option->rect, 2, m_mark);
}

} // namespace qor::gui
