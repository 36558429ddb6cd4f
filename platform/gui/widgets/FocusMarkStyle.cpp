// The focus mark: a solid ring in the look's mark colour, drawn by the style wherever a control shows its
// focus, whether the focus came by key, by mouse or by the program, and at every scale.
#include "platform/gui/widgets/FocusMarkStyle.h"

#include <QtGui/QPainter>
#include <QtWidgets/QAbstractScrollArea>
#include <QtWidgets/QStyleOption>

namespace qor::gui {

FocusMarkStyle::FocusMarkStyle(QStyle* base, const QColor& mark) : QProxyStyle(base), m_mark(mark) {}

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
