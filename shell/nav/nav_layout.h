#pragma once

#include <cstddef>
#include <vector>

// The navigation bar's groups as its layout rules see them, stacked from the top: each has
// its top, its height and the fixed height it never goes below (its header and the other
// children that do not stretch). The rules change heights and then stack the groups again
// from the first one's top.
struct CNavSpan {
    int top = 0;
    int height = 0;
    int fixed = 0;

    bool operator==(const CNavSpan&) const = default;
};

// Fits the groups between top and bottom: the room beyond the fixed heights goes from the
// top down, each group keeping what it has as far as the room lasts, and the last group
// reaches the bottom.
void FitNavSpans(std::vector<CNavSpan>& spans, int top, int bottom);

// The header of group i was dragged dy pixels. Upwards the groups above give up their room,
// nearest first, and the group grows upwards by what they gave; downwards the group gives up
// its own room and then the groups below theirs, and the group above grows by the total. The
// first group stays where it is.
void DragNavSpan(std::vector<CNavSpan>& spans, std::size_t i, int dy);

// The header of group i was clicked; preferred is the height that shows all of the group.
// A group below that height takes all the room of the others; any other collapses to its
// fixed height, giving the room to the group above or, without one, the group below.
void ClickNavSpan(std::vector<CNavSpan>& spans, std::size_t i, int preferred);
