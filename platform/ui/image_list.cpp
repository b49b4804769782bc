#include "platform/ui/image_list.h"

#include <QPixmap>

#include "platform/ui/dc.h"

CImageList::CImageList() = default;
CImageList::~CImageList() = default;

BOOL CImageList::Create(int cx, int cy) {
    if (cx <= 0 || cy <= 0) return FALSE;
    m_size = CSize(cx, cy);
    m_images.clear();
    m_overlays.fill(-1);
    return TRUE;
}

int CImageList::Add(const QPixmap& strip) {
    if (m_size.cx <= 0 || strip.height() != m_size.cy || strip.width() < m_size.cx) return -1;
    const int first = GetImageCount();
    for (int x = 0; x + m_size.cx <= strip.width(); x += m_size.cx)
        m_images.push_back(std::make_unique<QPixmap>(strip.copy(x, 0, m_size.cx, m_size.cy)));
    return first;
}

const QPixmap* CImageList::GetImage(int index) const {
    if (index < 0 || index >= GetImageCount()) return nullptr;
    return m_images[static_cast<size_t>(index)].get();
}

COLORREF CImageList::SetBkColor(COLORREF color) {
    const COLORREF old = m_bkColor;
    m_bkColor = color;
    return old;
}

BOOL CImageList::SetOverlayImage(int image, int overlay) {
    if (overlay < 1 || overlay > kMaxOverlays || !GetImage(image)) return FALSE;
    m_overlays[static_cast<size_t>(overlay - 1)] = image;
    return TRUE;
}

int CImageList::GetOverlayImage(int overlay) const {
    if (overlay < 1 || overlay > kMaxOverlays) return -1;
    return m_overlays[static_cast<size_t>(overlay - 1)];
}

BOOL CImageList::Draw(CDC* dc, int image, CPoint point, UINT style) const {
    if (!dc || !GetImage(image)) return FALSE;
    if (m_bkColor != CLR_NONE && !(style & ILD_TRANSPARENT))
        dc->FillSolidRect(CRect(point, m_size), m_bkColor);
    dc->DrawImage(*this, image, point);
    const int overlay = GetOverlayImage(static_cast<int>((style & ILD_OVERLAYMASK) >> 8));
    if (overlay >= 0) dc->DrawImage(*this, overlay, point);
    return TRUE;
}
