#include "shell/controls/view_focus_mark.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace {

// Between the mark and the view's frame.
constexpr int kInset = 1;

}  // namespace

bool ShowsViewFocusMark(const QAbstractItemView& view) {
    return view.hasFocus() && !view.currentIndex().isValid();
}

void DrawViewFocusMark(QAbstractItemView& view) {
    if (!ShowsViewFocusMark(view)) return;
    QWidget& inside = *view.viewport();
    QPainter painter(&inside);
    QStyleOptionFocusRect option;
    option.initFrom(&view);
    option.rect = inside.rect().adjusted(kInset, kInset, -kInset, -kInset);
    option.backgroundColor = view.palette().color(inside.backgroundRole());
    // Some styles mark only a focus the keyboard moved; a click on an empty list shows it too.
    option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
    view.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, &view);
}

void UpdateViewFocusMark(QAbstractItemView& view) {
    view.viewport()->update();
}
