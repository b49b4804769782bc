#include "platform/ui/scroll_bar_model.h"

#include <algorithm>

#include "platform/ui/win_consts.h"

int CScrollBarModel::GetLimit() const {
    const long long limit = static_cast<long long>(m_max) - std::max<long long>(m_page, 1) + 1;
    return static_cast<int>(std::max<long long>(limit, m_min));
}

int CScrollBarModel::Clamp(int pos) const {
    return std::clamp(pos, m_min, GetLimit());
}

int CScrollBarModel::Set(const SCROLLINFO& info) {
    if (info.fMask & SIF_RANGE) {
        m_min = info.nMin;
        m_max = std::max(info.nMax, info.nMin);
    }
    if (info.fMask & SIF_PAGE) m_page = info.nPage;
    const long long span = static_cast<long long>(m_max) - m_min + 1;
    if (static_cast<long long>(m_page) > span) m_page = static_cast<UINT>(span);
    if (info.fMask & SIF_POS) m_pos = info.nPos;
    m_pos = Clamp(m_pos);
    m_trackPos = Clamp(m_trackPos);
    return m_pos;
}

void CScrollBarModel::Get(SCROLLINFO& info) const {
    if (info.fMask & SIF_RANGE) {
        info.nMin = m_min;
        info.nMax = m_max;
    }
    if (info.fMask & SIF_PAGE) info.nPage = m_page;
    if (info.fMask & SIF_POS) info.nPos = m_pos;
    if (info.fMask & SIF_TRACKPOS) info.nTrackPos = m_trackPos;
}

int CScrollBarModel::SetPos(int pos) {
    const int old = m_pos;
    m_pos = Clamp(pos);
    m_trackPos = m_pos;
    return old;
}
