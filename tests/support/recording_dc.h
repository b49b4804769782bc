#pragma once

#include <string>
#include <vector>

#include "platform/ui/dc.h"

// A device context that records what is drawn on it, in logical units, with fixed metrics:
// every character is 7 units wide and a line 13 units high.
class CRecordingDC : public CDC {
public:
    static constexpr int kCharWidth = 7;
    static constexpr int kLineHeight = 13;

    enum class Op { Fill, Invert, Line, Text, Image };
    struct Record {
        Op op;
        CRect rect;  // Fill, Invert, Text: the rectangle; Line: from top-left to bottom-right
        COLORREF color = 0;  // the fill, pen or text colour
        std::u16string text;
        UINT format = 0;
        LogFont font;
        int bkMode = 0;
        int image = -1;  // Image: the picture's index in its list
    };

    explicit CRecordingDC(CRect clip = CRect(0, 0, 2000, 2000), bool printing = false)
        : m_clip(clip), m_printing(printing) {}

    const std::vector<Record>& Records() const { return m_records; }
    std::vector<Record> Of(Op op) const;
    void Clear() { m_records.clear(); }

    void FillSolidRect(const CRect& rect, COLORREF color) override;
    void InvertRect(const CRect& rect) override;
    void DrawImage(const CImageList& images, int index, CPoint point) override;
    CSize GetTextExtent(std::u16string_view text) override;
    TextMetrics GetTextMetrics() override;
    CRect GetClipBox() override { return m_clip; }
    void IntersectClipRect(const CRect& rect) override { m_clip.IntersectRect(m_clip, rect); }
    BOOL IsPrinting() const override { return m_printing; }
    int GetDeviceCaps(int index) override;
    void SetDeviceSize(CSize size) { m_device = size; }

protected:
    void DrawLine(CPoint from, CPoint to) override;
    int DoDrawText(std::u16string_view text, const CRect& rect, UINT format) override;
    CSize MeasureText(std::u16string_view text, int width, UINT format) override;

private:
    void Add(Op op, CRect rect, COLORREF color = 0, std::u16string text = {}, UINT format = 0,
             int image = -1);

    CRect m_clip;
    bool m_printing;
    CSize m_device{2000, 2000};
    std::vector<Record> m_records;
};
