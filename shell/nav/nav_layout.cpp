#include "shell/nav/nav_layout.h"

#include <algorithm>

namespace {

void Restack(std::vector<CNavSpan>& spans) {
    for (std::size_t i = 1; i < spans.size(); ++i)
        spans[i].top = spans[i - 1].top + spans[i - 1].height;
}

// Takes up to need pixels from the span's room above its fixed height; answers what it gave.
int GiveRoom(CNavSpan& span, int need) {
    const int given = std::clamp(span.height - span.fixed, 0, need);
    span.height -= given;
    return given;
}

}  // namespace

void FitNavSpans(std::vector<CNavSpan>& spans, int top, int bottom) {
    if (spans.empty()) return;
    int fixed = 0;
    for (const CNavSpan& span : spans)
        fixed += span.fixed;
    const int room = bottom - top;
    for (CNavSpan& span : spans) {
        span.top = top;
        const int spare = room - fixed;
        if (spare > 0) {
            span.height = std::clamp(span.height, span.fixed, span.fixed + spare);
        } else {
            span.height = span.fixed;
        }
        fixed += span.height - span.fixed;
        top += span.height;
    }
    CNavSpan& last = spans.back();
    last.height = std::max(bottom - last.top, 0);
}

void DragNavSpan(std::vector<CNavSpan>& spans, std::size_t i, int dy) {
    if (i == 0 || i >= spans.size() || dy == 0) return;
    int moved = 0;
    if (dy < 0) {
        for (std::size_t j = i; j-- > 0 && moved < -dy;)
            moved += GiveRoom(spans[j], -dy - moved);
        spans[i].height += moved;
    } else {
        for (std::size_t j = i; j < spans.size() && moved < dy; ++j)
            moved += GiveRoom(spans[j], dy - moved);
        spans[i - 1].height += moved;
    }
    Restack(spans);
}

void ClickNavSpan(std::vector<CNavSpan>& spans, std::size_t i, int preferred) {
    if (i >= spans.size()) return;
    CNavSpan& group = spans[i];
    if (group.height < preferred) {
        for (std::size_t j = 0; j < spans.size(); ++j) {
            if (j != i) group.height += GiveRoom(spans[j], spans[j].height);
        }
    } else {
        const int freed = group.height - group.fixed;
        if (freed <= 0) return;
        group.height = group.fixed;
        if (i > 0) {
            spans[i - 1].height += freed;
        } else if (i + 1 < spans.size()) {
            spans[i + 1].height += freed;
        }
    }
    Restack(spans);
}
