#pragma once

#include <QProxyStyle>

// One drawing style for the controls that lie on the skin: push buttons, check boxes, radio buttons
// (the caption-less ones too), edit fields and scroll bars get a light metal face with a dark rim, as
// the skin's own buttons have, and the skin's accent colour (the palette's Highlight, which the main
// window takes from the skin) marks hover and focus. The focus mark shows whenever a control has the
// focus, from the start on: the keyboard user never has to guess where Enter or Space goes. All
// drawing is in logical pixels with antialiasing, so it stays crisp at any scale.
class SkinStyle : public QProxyStyle
{
    Q_OBJECT

public:
    SkinStyle();

    void polish(QWidget* widget) override;
    using QProxyStyle::polish;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;
};
