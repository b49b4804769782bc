#include "platform/ui/layout_tab_order.h"

#include <QGridLayout>
#include <QLayout>
#include <QWidget>

#include <algorithm>
#include <tuple>

namespace {

bool TakesTab(const QWidget& widget) {
    return (widget.focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

bool CanTakeFocusNow(const QWidget& widget) {
    return TakesTab(widget) && widget.isVisible() && widget.isEnabled();
}

std::vector<QLayoutItem*> ItemsInOrder(const QLayout& layout) {
    std::vector<std::tuple<int, int, int>> keys;  // row, column, index
    const auto* grid = qobject_cast<const QGridLayout*>(&layout);
    for (int index = 0; index < layout.count(); ++index) {
        int row = 0;
        int column = 0;
        if (grid) {
            int rowSpan = 0;
            int columnSpan = 0;
            grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        }
        keys.emplace_back(row, column, index);
    }
    std::sort(keys.begin(), keys.end());
    std::vector<QLayoutItem*> items;
    for (const auto& key : keys)
        items.push_back(layout.itemAt(std::get<2>(key)));
    return items;
}

void Collect(const QLayout& layout, std::vector<QWidget*>& controls) {
    for (QLayoutItem* item : ItemsInOrder(layout)) {
        if (QWidget* widget = item->widget()) {
            if (widget->isWindow()) continue;
            if (TakesTab(*widget)) {
                controls.push_back(widget);
            } else if (const QLayout* inner = widget->layout()) {
                Collect(*inner, controls);
            }
        } else if (const QLayout* inner = item->layout()) {
            Collect(*inner, controls);
        }
    }
}

int IndexOfFocus(const std::vector<QWidget*>& stops, const QWidget* focus) {
    // The focus may be on a control's inner part, such as the edit of a combo box.
    for (const QWidget* widget = focus; widget; widget = widget->parentWidget()) {
        const auto found = std::find(stops.begin(), stops.end(), widget);
        if (found != stops.end()) return static_cast<int>(found - stops.begin());
    }
    return -1;
}

}  // namespace

std::vector<QWidget*> ControlsInLayoutOrder(const QWidget& widget) {
    std::vector<QWidget*> controls;
    if (const QLayout* layout = widget.layout()) Collect(*layout, controls);
    return controls;
}

QWidget* NextTabStop(const std::vector<QWidget*>& stops, const QWidget* focus, bool forward) {
    const int from = IndexOfFocus(stops, focus);
    if (from < 0) return nullptr;
    const int count = static_cast<int>(stops.size());
    const int step = forward ? 1 : count - 1;
    for (int index = (from + step) % count; index != from; index = (index + step) % count) {
        if (CanTakeFocusNow(*stops[static_cast<size_t>(index)]))
            return stops[static_cast<size_t>(index)];
    }
    return nullptr;
}
