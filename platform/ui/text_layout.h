#pragma once

#include <QFontMetrics>
#include <QRect>
#include <QString>

#include "platform/base/gdi_types.h"
#include "platform/base/win_types.h"

// DrawText's rules over Qt's text layout: vertical centring and bottom alignment only apply to a
// single line, a single line ends in an ellipsis when asked, and text is clipped to its
// rectangle unless DT_NOCLIP. With DT_WORDBREAK and DT_EDITCONTROL a word too long for a line
// is broken across lines rather than cut. With DT_NOPREFIX every "&" is drawn as it stands; without
// it
// "&&" is one "&" and a single "&" underlines the character after it.
int ToQtTextFlags(UINT format);
// The text as it is drawn in a width: elided, or its long words broken, when the format asks.
QString LaidOutText(const QFontMetrics& metrics, const QString& text, int width, UINT format);
// The size text needs; width limits the lines only for DT_WORDBREAK.
CSize MeasureLaidOutText(const QFontMetrics& metrics, const QString& text, int width, UINT format);
