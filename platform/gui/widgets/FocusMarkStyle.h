// FocusMarkStyle: the look's style with a focus mark that every control taking the keyboard shows whenever
// it has the focus (not only after a key moved it there), in one colour that stands out from faces and fields;
// and check boxes and radio buttons whose boxes and circles stand out from the face whether they are
// chosen or not (the styles draw their outlines a shade of the face, which a dark face all but hides).
#pragma once

#include <QtGui/QColor>
#include <QtWidgets/QProxyStyle>

namespace qor::gui {

class FocusMarkStyle : public QProxyStyle
{
public:
    // Takes the style it draws everything else with; `mark` keeps 3:1 against the look's faces and fields, and
    // so does `outline`, the outline of check boxes and radio buttons.
    FocusMarkStyle(QStyle* base, const QColor& mark, const QColor& outline);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;

private:
    // A solid ring `width` pixels wide just inside `r`.
    void DrawRing(QPainter* painter, const QRect& r, int width, const QColor& colour) const;
    // A check box's box or a radio button's circle in `r`, its tick or dot when it is chosen.
    void DrawIndicator(bool radio, const QStyleOption* option, QPainter* painter) const;

    QColor m_mark;
    QColor m_outline;
};

} // namespace qor::gui
