#pragma once

#include <vector>

class QWidget;

// The controls under a widget that Tab can reach, in the order its layouts place them: a grid
// by rows, then columns; other layouts as they hold them. A widget that takes no focus stands
// for the controls of its own layout (a frame, say).
std::vector<QWidget*> ControlsInLayoutOrder(const QWidget& widget);

// Of the stops in order, the one Tab (forward) or Shift+Tab reaches from the stop that holds
// the focus widget, passing over the hidden and the disabled and wrapping at either end; null
// when the focus is in none of them.
QWidget* NextTabStop(const std::vector<QWidget*>& stops, const QWidget* focus, bool forward);
