#include "platform/ui/sys_info.h"

#include <algorithm>

#include <QApplication>
#include <QCursor>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QStyleHints>

#include "platform/base/message_box.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/ui_environment.h"

namespace {

struct ColorRole {
    int index;
    QPalette::ColorRole role;
};

// The one table from the original's system colours to the palette's roles.
constexpr ColorRole kColorRoles[] = {
    {COLOR_SCROLLBAR, QPalette::Button},
    {COLOR_BACKGROUND, QPalette::Window},
    {COLOR_WINDOW, QPalette::Base},
    {COLOR_WINDOWFRAME, QPalette::Shadow},
    {COLOR_WINDOWTEXT, QPalette::Text},
    {COLOR_HIGHLIGHT, QPalette::Highlight},
    {COLOR_HIGHLIGHTTEXT, QPalette::HighlightedText},
    {COLOR_BTNFACE, QPalette::Button},
    {COLOR_BTNSHADOW, QPalette::Dark},
    {COLOR_GRAYTEXT, QPalette::PlaceholderText},
    {COLOR_BTNTEXT, QPalette::ButtonText},
    {COLOR_BTNHIGHLIGHT, QPalette::Light},
    {COLOR_3DDKSHADOW, QPalette::Shadow},
    {COLOR_3DLIGHT, QPalette::Midlight},
    {COLOR_INFOTEXT, QPalette::ToolTipText},
    {COLOR_INFOBK, QPalette::ToolTipBase},
};

thread_local const CInputState* t_inputState = nullptr;

UINT LiveInputFlags() {
    UINT flags = 0;
    const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
    if (mods & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (mods & Qt::ControlModifier) flags |= MK_CONTROL;
    if (mods & Qt::AltModifier) flags |= MK_ALT;
    const Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
    if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
    return flags;
}

}  // namespace

COLORREF GetSysColor(int index) {
    const QPalette palette = QGuiApplication::palette();
    for (const ColorRole& entry : kColorRoles) {
        if (entry.index == index) return FromQColor(palette.color(QPalette::Active, entry.role));
    }
    return FromQColor(palette.color(QPalette::Active, QPalette::Base));
}

int GetSystemMetrics(int index) {
    QStyle* style =
        qobject_cast<QApplication*>(QCoreApplication::instance()) ? QApplication::style() : nullptr;
    const QScreen* screen = QGuiApplication::primaryScreen();
    switch (index) {
        case SM_CXSCREEN: return screen ? screen->geometry().width() : 1024;
        case SM_CYSCREEN: return screen ? screen->geometry().height() : 768;
        case SM_CXVIRTUALSCREEN: return screen ? screen->virtualGeometry().width() : 1024;
        case SM_CYCAPTION: return style ? style->pixelMetric(QStyle::PM_TitleBarHeight) : 20;
        case SM_CXVSCROLL:
        case SM_CYHSCROLL: return style ? style->pixelMetric(QStyle::PM_ScrollBarExtent) : 16;
        case SM_CXBORDER:
        case SM_CYBORDER: return 1;
        // A frame no thinner than the style draws round a popup's contents.
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return std::max(3, style ? style->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0);
        case SM_CXICON:
        case SM_CYICON: return 32;
        case SM_CXSMICON:
        case SM_CYSMICON: return 16;
        case SM_CYMENU: return QFontMetrics(QApplication::font("QMenuBar")).height() + 6;
        case SM_CXDRAG:
        case SM_CYDRAG: return GetDragDistance();
        case SM_CMONITORS: return static_cast<int>(QGuiApplication::screens().size());
        default: return 0;
    }
}

LogFont GetMessageFont() {
    return FromQFont(QApplication::font("QMessageBox"));
}

LogFont GetMenuFont() {
    return FromQFont(QApplication::font("QMenu"));
}

LogFont GetFixedFont() {
    return FromQFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

int GetWheelScrollLines() {
    return QApplication::wheelScrollLines();
}

int GetDragDistance() {
    return QGuiApplication::styleHints()->startDragDistance();
}

CInputState::CInputState(UINT mkFlags) : m_flags(mkFlags), m_outer(t_inputState) {
    t_inputState = this;
}

CInputState::~CInputState() {
    t_inputState = m_outer;
}

const CInputState* CInputState::Current() {
    return t_inputState;
}

short GetKeyState(int vk) {
    const UINT flags = t_inputState ? t_inputState->Flags() : LiveInputFlags();
    UINT mask = 0;
    switch (vk) {
        case VK_SHIFT: mask = MK_SHIFT; break;
        case VK_CONTROL: mask = MK_CONTROL; break;
        case VK_MENU: mask = MK_ALT; break;
        case VK_LBUTTON: mask = MK_LBUTTON; break;
        case VK_RBUTTON: mask = MK_RBUTTON; break;
        default: return 0;
    }
    return (flags & mask) ? static_cast<short>(0x8000) : 0;
}

CPoint GetCursorPos() {
    return FromQPoint(QCursor::pos());
}

void MessageBeep(UINT type) {
    const CUiEnvironment* env = CUiEnvironment::Current();
    if (env && env->GetBeepListener()) {
        env->GetBeepListener()(type);
        return;
    }
    QApplication::beep();
}

CWaitCursor::CWaitCursor() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor() {
    QGuiApplication::restoreOverrideCursor();
}
