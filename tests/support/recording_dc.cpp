#include "tests/support/recording_dc.h"

#include <algorithm>
#include <utility>

#include "platform/ui/image_list.h"

std::vector<CRecordingDC::Record> CRecordingDC::Of(Op op) const {
    std::vector<Record> found;
    for (const Record& r : m_records) {
        if (r.op == op) found.push_back(r);
    }
    return found;
}

void CRecordingDC::Add(Op op, CRect rect, COLORREF color, std::u16string text, UINT format,
                       int image) {
    m_records.push_back(
        {op, rect, color, std::move(text), format, GetCurrentFont(), GetBkMode(), image});
}

void CRecordingDC::FillSolidRect(const CRect& rect, COLORREF color) {
    Add(Op::Fill, rect, color);
}

void CRecordingDC::InvertRect(const CRect& rect) {
    Add(Op::Invert, rect);
}

void CRecordingDC::DrawImage(const CImageList& images, int index, CPoint point) {
    Add(Op::Image, CRect(point, images.GetImageSize()), 0, {}, 0, index);
}

CSize CRecordingDC::GetTextExtent(std::u16string_view text) {
    return CSize(static_cast<int>(text.size()) * kCharWidth, kLineHeight);
}

TextMetrics CRecordingDC::GetTextMetrics() {
    return {kLineHeight, 10, 3, kCharWidth, kCharWidth, 0, 0};
}

int CRecordingDC::GetDeviceCaps(int index) {
    switch (index) {
        case HORZRES: return m_device.cx;
        case VERTRES: return m_device.cy;
        case LOGPIXELSX:
        case LOGPIXELSY: return 96;
        case NUMCOLORS: return -1;
        default: return 0;
    }
}

void CRecordingDC::DrawLine(CPoint from, CPoint to) {
    Add(Op::Line, CRect(from.x, from.y, to.x, to.y), GetCurrentPen().color);
}

int CRecordingDC::DoDrawText(std::u16string_view text, const CRect& rect, UINT format) {
    Add(Op::Text, rect, GetTextColor(), std::u16string(text), format);
    return MeasureText(text, rect.Width(), format).cy;
}

// Lines break at line feeds, and with DT_WORDBREAK also between words that pass the width.
CSize CRecordingDC::MeasureText(std::u16string_view text, int width, UINT format) {
    if (format & DT_SINGLELINE) return GetTextExtent(text);
    const bool wrap = (format & DT_WORDBREAK) && width > 0;
    int lines = 0;
    int widest = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(u'\n', start);
        if (end == std::u16string_view::npos) end = text.size();
        int lineWidth = static_cast<int>(end - start) * kCharWidth;
        if (wrap && lineWidth > width) {
            const int perLine = std::max(width / kCharWidth, 1);
            const int units = static_cast<int>(end - start);
            lines += (units + perLine - 1) / perLine;
            lineWidth = perLine * kCharWidth;
        } else {
            ++lines;
        }
        widest = std::max(widest, lineWidth);
        start = end + 1;
    }
    return CSize(widest, lines * kLineHeight);
}
