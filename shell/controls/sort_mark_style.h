#pragma once

#include <QProxyStyle>

// The style of a list's header: its sort mark points the way the grid screens' mark does,
// up for ascending, down for descending, whatever the platform style draws.
class CSortMarkStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};

// The room a header section gives its sort mark beside the text: what the label loses when
// the mark is shown.
int SortMarkRoom(const QWidget& header);
