#pragma once

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>

#include <utility>

// The area the paints of a widget cover, from the last take on: what a change repainted.
class CPaintedArea : public QObject {
public:
    explicit CPaintedArea(QWidget* widget) { widget->installEventFilter(this); }
    QRegion Take() {
        QApplication::processEvents();
        return std::exchange(m_region, {});
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) m_region += static_cast<QPaintEvent*>(event)->region();
        return false;
    }

private:
    QRegion m_region;
};
