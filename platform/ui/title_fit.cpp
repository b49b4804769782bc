#include "platform/ui/title_fit.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFontMetrics>
#include <QGridLayout>
#include <QScreen>
#include <QSpacerItem>
#include <QWidget>

#include <algorithm>

namespace {

// The frame's title is often bold, and carries an icon and up to three buttons.
constexpr int kBoldPercent = 115;
constexpr int kFrameLines = 8;

const char* const kFittedProperty = "titleFitWidth";

int ScreenWidth(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().width() : 1024;
}

}  // namespace

int TitleWidthNeeded(const QString& title, const QFontMetrics& metrics) {
    if (title.isEmpty()) return 0;
    return metrics.horizontalAdvance(title) * kBoldPercent / 100 + kFrameLines * metrics.height();
}

void FitWidthToTitle(QWidget& window) {
    const int needed =
        std::min(TitleWidthNeeded(window.windowTitle(), QFontMetrics(QApplication::font())),
                 ScreenWidth(window));
    // Run again for the same title, the window already has what it needs.
    if (window.property(kFittedProperty).toInt() >= needed) return;
    window.setProperty(kFittedProperty, needed);

    QLayout* layout = window.layout();
    if (!layout) {
        window.setMinimumWidth(std::max(window.minimumWidth(), needed));
        return;
    }
    const QMargins margins = layout->contentsMargins();
    const int inner = needed - margins.left() - margins.right();
    auto* box = qobject_cast<QBoxLayout*>(layout);
    if (box && (box->direction() == QBoxLayout::TopToBottom ||
                box->direction() == QBoxLayout::BottomToTop)) {
        box->addStrut(inner);
    } else if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        grid->addItem(new QSpacerItem(inner, 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    } else {
        window.setMinimumWidth(std::max(window.minimumWidth(), needed));
    }
}
