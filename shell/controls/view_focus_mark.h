#pragma once

class QAbstractItemView;

// The style marks the focus on a list's or tree's current row; a view with no rows, or with
// none current, would take the focus without a sign, and Tab would seem to do nothing. Such a
// view is marked round its inside instead.
void DrawViewFocusMark(QAbstractItemView& view);
// Whether the view shows the mark: it has the focus and no current row.
bool ShowsViewFocusMark(const QAbstractItemView& view);
// Called as the focus comes or goes: the view is painted again, so the mark follows it.
void UpdateViewFocusMark(QAbstractItemView& view);
