#pragma once

#include "platform/base/win_types.h"

struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

// One scroll bar's numbers with the original's rules: the page is at most the range's size,
// and the position stays between the minimum and the last position that still shows a full
// page (max - page + 1).
class CScrollBarModel {
public:
    // Takes the fields the mask names and clamps; answers the position.
    int Set(const SCROLLINFO& info);
    // Fills the fields the mask names.
    void Get(SCROLLINFO& info) const;
    // Answers the previous position.
    int SetPos(int pos);
    void SetTrackPos(int pos) { m_trackPos = Clamp(pos); }
    int GetPos() const { return m_pos; }
    int GetTrackPos() const { return m_trackPos; }
    int GetMin() const { return m_min; }
    int GetMax() const { return m_max; }
    UINT GetPage() const { return m_page; }
    // The largest position: max - page + 1, never below the minimum.
    int GetLimit() const;
    // Whether the range is larger than a page, so there is something to scroll.
    bool CanScroll() const { return GetLimit() > m_min; }

private:
    int Clamp(int pos) const;

    int m_min = 0;
    int m_max = 0;
    UINT m_page = 0;
    int m_pos = 0;
    int m_trackPos = 0;
};
