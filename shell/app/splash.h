#pragma once

#include <QPixmap>
#include <QWidget>

#include <functional>

#include "platform/base/win_types.h"

class CCommandLineInfoEx;

// The start-up picture: a topmost window in the middle of the screen that closes once its time
// is up and the main window exists (looking again every 100 ms until it does), or at once on a
// key press or a click. It deletes itself when it closes.
class CSplashWnd : public QWidget {
public:
    using MainWindowExists = std::function<bool()>;
    static constexpr UINT kRecheckMs = 100;

    CSplashWnd(UINT displayMs, WORD flags, MainWindowExists mainWindowExists);

    const QPixmap& GetPicture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void CloseOnInput();

    QPixmap m_picture;
    WORD m_flags;
    MainWindowExists m_mainWindowExists;
    int m_timer = 0;
};

// Decides whether the splash shows and shows it.
class CSplash {
public:
    static constexpr UINT kDisplayMs = 5000;
    // The splash closes on a key press or a click.
    static constexpr WORD kCloseOnInput = 0x0001;

    // The switch "nologo" (given after "-" or "/", exactly so) hides it.
    static bool IsNoLogo(const CCommandLineInfoEx& cmdInfo);
    // The splash window, or null when the command line wants none. The window owns itself.
    static CSplashWnd* Start(const CCommandLineInfoEx& cmdInfo,
                             CSplashWnd::MainWindowExists mainWindowExists);
};

// The program's own 410 x 166 start-up picture.
QPixmap MakeSplashPicture();
