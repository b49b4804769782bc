#pragma once

class QFontMetrics;
class QString;
class QWidget;

// The width a window needs for its whole title to show beside the frame's icon and buttons.
int TitleWidthNeeded(const QString& title, const QFontMetrics& metrics);

// Widens a window laid out for its contents alone until its title fits (window managers elide
// what does not), never past the screen. Call it once the title is set, before the window shows.
void FitWidthToTitle(QWidget& window);
