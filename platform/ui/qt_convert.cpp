#include "platform/ui/qt_convert.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace {

double ScreenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

}  // namespace

QFont ToQFont(const LogFont& lf) {
    QFont font = QGuiApplication::font();
    if (!lf.lfFaceName.empty()) font.setFamilies({ToQString(lf.lfFaceName)});
    const int height = std::abs(lf.lfHeight);
    if (height > 0) font.setPixelSize(height);
    font.setWeight(
        static_cast<QFont::Weight>(std::clamp(lf.lfWeight == 0 ? 400 : lf.lfWeight, 1, 1000)));
    font.setItalic(lf.lfItalic);
    font.setUnderline(lf.lfUnderline);
    font.setStrikeOut(lf.lfStrikeOut);
    return font;
}

LogFont FromQFont(const QFont& font) {
    LogFont lf;
    int pixels = font.pixelSize();
    if (pixels <= 0) pixels = static_cast<int>(std::lround(font.pointSizeF() * ScreenDpi() / 72.0));
    lf.lfHeight = -pixels;
    lf.lfWeight = font.weight();
    lf.lfItalic = font.italic();
    lf.lfUnderline = font.underline();
    lf.lfStrikeOut = font.strikeOut();
    lf.lfFaceName = FromQString(QFontInfo(font).family()).str();
    if (lf.lfFaceName.size() >= LogFont::kFaceSize) lf.lfFaceName.resize(LogFont::kFaceSize - 1);
    return lf;
}
