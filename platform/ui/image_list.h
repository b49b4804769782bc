#pragma once

#include <array>
#include <memory>
#include <vector>

#include "platform/base/gdi_types.h"

class CDC;
class QPixmap;

// Drawing styles of CImageList::Draw: the background is left as it is, and an overlay image
// given by its number (1 to 4) is drawn over the image.
constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_OVERLAYMASK = 0x0F00;
constexpr UINT INDEXTOOVERLAYMASK(int overlay) {
    return static_cast<UINT>(overlay) << 8;
}
// No background colour: the pictures' own transparency shows what lies under them.
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;

// Pictures of one size, kept in order and drawn by index. Up to four of them can be named as
// overlays, drawn over another picture on request.
class CImageList {
public:
    static constexpr int kMaxOverlays = 4;

    CImageList();
    ~CImageList();
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // Empties the list and sets the size of its pictures.
    BOOL Create(int cx, int cy);
    // Appends the pictures of a strip laid side by side, as many as its width holds; answers
    // the index of the first, -1 when the strip is not the pictures' height.
    int Add(const QPixmap& strip);
    int GetImageCount() const { return static_cast<int>(m_images.size()); }
    CSize GetImageSize() const { return m_size; }
    // Null outside the list.
    const QPixmap* GetImage(int index) const;

    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_bkColor; }
    // Names the picture as overlay 1 to 4.
    BOOL SetOverlayImage(int image, int overlay);
    // -1 when the overlay names none.
    int GetOverlayImage(int overlay) const;

    // The picture at the point (its top-left), on the background colour unless the style says
    // ILD_TRANSPARENT, and then the overlay the style names.
    BOOL Draw(CDC* dc, int image, CPoint point, UINT style) const;

private:
    CSize m_size;
    std::vector<std::unique_ptr<QPixmap>> m_images;
    std::array<int, kMaxOverlays> m_overlays{-1, -1, -1, -1};
    COLORREF m_bkColor = CLR_NONE;
};
