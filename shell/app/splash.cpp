#include "shell/app/splash.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

#include "platform/ui/ui_environment.h"
#include "shell/app/command_line_info.h"

CSplashWnd::CSplashWnd(UINT displayMs, WORD flags, MainWindowExists mainWindowExists)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_picture(MakeSplashPicture()),
      m_flags(flags),
      m_mainWindowExists(std::move(mainWindowExists)) {
    setObjectName(QStringLiteral("splash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(m_picture.deviceIndependentSize().toSize());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
    repaint();
    if (displayMs != static_cast<UINT>(-1))
        m_timer = startTimer(static_cast<int>(ScaledInterval(displayMs)));
}

void CSplashWnd::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

void CSplashWnd::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_timer) {
        QWidget::timerEvent(event);
        return;
    }
    killTimer(m_timer);
    if (m_mainWindowExists && !m_mainWindowExists()) {
        m_timer = startTimer(static_cast<int>(ScaledInterval(kRecheckMs)));
        return;
    }
    m_timer = 0;
    close();
}

void CSplashWnd::keyPressEvent(QKeyEvent* /*event*/) {
    CloseOnInput();
}

void CSplashWnd::mousePressEvent(QMouseEvent* /*event*/) {
    CloseOnInput();
}

// Closes without waiting for the main window.
void CSplashWnd::CloseOnInput() {
    if (m_flags & CSplash::kCloseOnInput) close();
}

bool CSplash::IsNoLogo(const CCommandLineInfoEx& cmdInfo) {
    return cmdInfo.HasOption(u"nologo");
}

CSplashWnd* CSplash::Start(const CCommandLineInfoEx& cmdInfo,
                           CSplashWnd::MainWindowExists mainWindowExists) {
    if (!cmdInfo.m_bShowSplash || IsNoLogo(cmdInfo)) return nullptr;
    if (cmdInfo.m_bRunEmbedded || cmdInfo.m_bRunAutomated) return nullptr;
    return new CSplashWnd(kDisplayMs, kCloseOnInput, std::move(mainWindowExists));
}
