#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QScreen>

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/image_list.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/qt_dc.h"
#include "platform/ui/sys_info.h"
#include "platform/ui/text_layout.h"
#include "tests/support/recording_dc.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

// Paints on a white 20 x 20 picture and answers it.
template <class Paint>
QImage Render(Paint paint) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CQtPainterDC dc(painter, CRect(0, 0, 20, 20));
    paint(dc);
    painter.end();
    return image;
}

COLORREF Pixel(const QImage& image, int x, int y) {
    return FromQColor(image.pixelColor(x, y));
}

TEST(QtPainterDC, RectanglesAndLinesLeaveOutTheirRightBottomAndEnd) {
    QImage fill = Render([](CDC& dc) { dc.FillSolidRect(CRect(2, 2, 5, 5), kRed); });
    EXPECT_EQ(Pixel(fill, 2, 2), kRed);
    EXPECT_EQ(Pixel(fill, 4, 4), kRed);
    EXPECT_EQ(Pixel(fill, 5, 4), kWhite);
    EXPECT_EQ(Pixel(fill, 4, 5), kWhite);

    QImage line = Render([](CDC& dc) {
        dc.SelectPen(CPen{PS_SOLID, 1, kRed});
        dc.MoveTo(1, 3);
        dc.LineTo(6, 3);
        dc.MoveTo(8, 1);
        dc.LineTo(8, 4);
        dc.MoveTo(10, 10);
        dc.LineTo(11, 10);
    });
    EXPECT_EQ(Pixel(line, 1, 3), kRed);
    EXPECT_EQ(Pixel(line, 5, 3), kRed);
    EXPECT_EQ(Pixel(line, 6, 3), kWhite);
    EXPECT_EQ(Pixel(line, 8, 3), kRed);
    EXPECT_EQ(Pixel(line, 8, 4), kWhite);
    EXPECT_EQ(Pixel(line, 10, 10), kRed);
    EXPECT_EQ(Pixel(line, 11, 10), kWhite);

    QImage frame = Render([](CDC& dc) { dc.FrameRect(CRect(2, 2, 8, 8), kRed); });
    EXPECT_EQ(Pixel(frame, 2, 2), kRed);
    EXPECT_EQ(Pixel(frame, 7, 7), kRed);
    EXPECT_EQ(Pixel(frame, 3, 3), kWhite);
    EXPECT_EQ(Pixel(frame, 8, 8), kWhite);
}

TEST(QtPainterDC, TheMappingScalesLogicalUnitsToTheDevice) {
    QImage image = Render([](CDC& dc) {
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(10, 10);
        dc.SetViewportExt(20, 20);
        dc.SetWindowOrg(5, 0);
        dc.FillSolidRect(CRect(5, 0, 7, 2), kRed);
        EXPECT_EQ(dc.LPtoDP(CPoint(7, 2)), CPoint(4, 4));
        EXPECT_EQ(dc.GetClipBox(), CRect(5, 0, 15, 10));
    });
    EXPECT_EQ(Pixel(image, 0, 0), kRed);
    EXPECT_EQ(Pixel(image, 3, 3), kRed);
    EXPECT_EQ(Pixel(image, 4, 0), kWhite);
}

// The text drawn black on a white picture wide enough for it.
QImage RenderText(const std::u16string& text, UINT format) {
    QImage image(160, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CQtPainterDC dc(painter, CRect(0, 0, 160, 30));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.DrawText(text, CRect(2, 2, 158, 28), format);
    painter.end();
    return image;
}

TEST(QtPainterDC, AmpersandsShowAsTheFormatSays) {
    constexpr UINT kLine = DT_LEFT | DT_SINGLELINE | DT_VCENTER;
    // With DT_NOPREFIX the "&" is drawn: "R&D1" is not "RD1", and is what "R&&D1" draws
    // without it.
    const QImage plain = RenderText(u"R&D1", kLine | DT_NOPREFIX);
    EXPECT_TRUE(plain != RenderText(u"RD1", kLine | DT_NOPREFIX));
    EXPECT_TRUE(plain == RenderText(u"R&&D1", kLine));
    constexpr UINT kWrapped = DT_LEFT | DT_WORDBREAK;
    EXPECT_TRUE(RenderText(u"R&D A&&B", kWrapped | DT_NOPREFIX) ==
                RenderText(u"R&&D A&&&&B", kWrapped));
    // Without it a single "&" marks the next letter: "Save", underlined.
    EXPECT_TRUE(RenderText(u"&Save", kLine) != RenderText(u"Save", kLine));

    // What is measured agrees with what is drawn.
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    CQtPainterDC dc(painter, CRect(0, 0, 10, 10));
    CRect prefixed;
    dc.DrawText(u"A&&B", prefixed, DT_CALCRECT | DT_SINGLELINE);
    CRect asIs;
    dc.DrawText(u"A&B", asIs, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(prefixed, asIs);
    EXPECT_EQ(prefixed.Width(), dc.GetTextExtent(u"A&B").cx);
}

TEST(QtPainterDC, AWordTooLongForTheLineIsBrokenAcrossLinesWhenAsked) {
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    CQtPainterDC dc(painter, CRect(0, 0, 10, 10));
    const std::u16string text = u"OK " + std::u16string(60, u'W') + u"END done";
    const int width = dc.GetTextExtent(std::u16string(60, u'W')).cx / 3;
    const int line = dc.GetTextExtent(u"W").cy;
    // Word breaking alone lets the word run past the width, where it is cut.
    CRect cut(0, 0, width, 0);
    dc.DrawText(text, cut, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_GT(cut.Width(), width);
    // Broken, it fits: "OK", three pieces at least, every character kept in its order.
    CRect broken(0, 0, width, 0);
    dc.DrawText(text, broken, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    EXPECT_LE(broken.Width(), width);
    EXPECT_GE(broken.Height(), 4 * line);
    QString shown = LaidOutText(painter.fontMetrics(), ToQString(text), width,
                                DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    EXPECT_TRUE(shown.startsWith("OK W"));
    EXPECT_EQ(shown.remove(u'\n'), ToQString(text));
}

TEST(CDCState, SavedStatesComeBackInOrder) {
    CRecordingDC dc;
    dc.SetTextColor(kRed);
    const int first = dc.SaveDC();
    dc.SetTextColor(kWhite);
    dc.SaveDC();
    dc.SetTextColor(RGB(1, 2, 3));
    EXPECT_TRUE(dc.RestoreDC(-1));
    EXPECT_EQ(dc.GetTextColor(), kWhite);
    EXPECT_TRUE(dc.RestoreDC(first));
    EXPECT_EQ(dc.GetTextColor(), kRed);
    EXPECT_FALSE(dc.RestoreDC(first));

    CRect rect(0, 0, 20, 0);
    dc.DrawText(u"abc\nlonger text", rect, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(rect, CRect(0, 0, 14, 8 * CRecordingDC::kLineHeight));
    rect = CRect(0, 0, 0, 0);
    dc.DrawText(u"abc", rect, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(rect, CRect(0, 0, 21, CRecordingDC::kLineHeight));
    EXPECT_TRUE(dc.Records().empty());
}

TEST(SysInfo, SystemColoursComeFromThePalette) {
    const QPalette saved = QApplication::palette();
    QPalette palette = saved;
    const std::pair<int, QPalette::ColorRole> table[] = {
        {COLOR_WINDOW, QPalette::Base},          {COLOR_WINDOWTEXT, QPalette::Text},
        {COLOR_HIGHLIGHT, QPalette::Highlight},  {COLOR_HIGHLIGHTTEXT, QPalette::HighlightedText},
        {COLOR_BTNFACE, QPalette::Button},       {COLOR_BTNSHADOW, QPalette::Dark},
        {COLOR_3DHIGHLIGHT, QPalette::Light},    {COLOR_3DDKSHADOW, QPalette::Shadow},
        {COLOR_3DLIGHT, QPalette::Midlight},     {COLOR_INFOBK, QPalette::ToolTipBase},
        {COLOR_INFOTEXT, QPalette::ToolTipText},
    };
    int shade = 10;
    for (const auto& [index, role] : table)
        palette.setColor(role, QColor(shade += 20, 1, 2));
    QApplication::setPalette(palette);
    for (const auto& [index, role] : table) {
        EXPECT_EQ(GetSysColor(index), FromQColor(palette.color(role))) << "index " << index;
    }
    QApplication::setPalette(saved);
}

TEST(LogFontConversion, HeightsArePixelsAndTheRestCarriesOver) {
    LogFont lf;
    lf.lfHeight = -13;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = true;
    QFont font = ToQFont(lf);
    EXPECT_EQ(font.pixelSize(), 13);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic());

    const LogFont back = FromQFont(font);
    EXPECT_EQ(back.lfHeight, -13);
    EXPECT_EQ(back.lfWeight, FW_BOLD);
    EXPECT_TRUE(back.lfItalic);

    // Points become pixels at the screen's dots per inch: 12 for 9 points at 96.
    QFont points = QApplication::font();
    points.setPointSizeF(9.0);
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    EXPECT_EQ(FromQFont(points).lfHeight, -std::lround(9.0 * dpi / 72.0));
}

TEST(ImageList, DrawsThePictureOnItsBackgroundWithTheOverlay) {
    QPixmap strip(30, 10);
    strip.fill(Qt::transparent);
    {
        QPainter painter(&strip);
        painter.fillRect(10, 0, 10, 10, Qt::red);  // picture 1; 0 and 2 stay clear
    }
    CImageList images;
    ASSERT_TRUE(images.Create(10, 10));
    EXPECT_EQ(images.Add(QPixmap(30, 9)), -1);
    EXPECT_EQ(images.Add(strip), 0);
    EXPECT_EQ(images.GetImageCount(), 3);
    EXPECT_TRUE(images.SetOverlayImage(2, 1));
    EXPECT_FALSE(images.SetOverlayImage(3, 2));
    images.SetBkColor(RGB(0, 0, 255));

    CRecordingDC dc;
    EXPECT_TRUE(images.Draw(&dc, 1, CPoint(4, 5), INDEXTOOVERLAYMASK(1)));
    EXPECT_TRUE(images.Draw(&dc, 0, CPoint(0, 0), ILD_TRANSPARENT | INDEXTOOVERLAYMASK(2)));
    EXPECT_FALSE(images.Draw(&dc, 3, CPoint(0, 0), ILD_NORMAL));
    std::vector<std::pair<CRecordingDC::Op, int>> drawn;
    for (const auto& r : dc.Records())
        drawn.emplace_back(r.op, r.op == CRecordingDC::Op::Fill ? int(r.color) : r.image);
    using Op = CRecordingDC::Op;
    EXPECT_EQ(
        drawn,
        (std::vector<std::pair<Op, int>>{
            {Op::Fill, int(RGB(0, 0, 255))}, {Op::Image, 1}, {Op::Image, 2}, {Op::Image, 0}}));
    EXPECT_EQ(dc.Records()[1].rect, CRect(4, 5, 14, 15));

    const QImage painted =
        Render([&](CDC& qdc) { images.Draw(&qdc, 1, CPoint(4, 5), ILD_NORMAL); });
    EXPECT_EQ(Pixel(painted, 8, 8), kRed);
    EXPECT_EQ(Pixel(painted, 2, 2), kWhite);
}

}  // namespace
