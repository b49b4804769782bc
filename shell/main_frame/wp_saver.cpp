#include "shell/main_frame/wp_saver.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/base/profile.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"

namespace {

constexpr const char16_t* kKeys[] = {u"flags", u"showCmd", u"x1", u"y1", u"x2", u"y2"};
constexpr int kMissing = -1;
// Of a title bar, at least this many pixels across, or a third of it when it is narrower, are
// to be on a screen, so that the user can take the window by it.
constexpr int kTitleGrip = 100;

QRect WorkArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// Some display servers (Wayland) do not let a program place its windows.
bool CanPlaceWindows() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace

CWPSaver::CWPSaver(QWidget* window, CString section, IProfile& profile)
    : m_window(window), m_section(std::move(section)), m_profile(profile) {}

CWindowPlacement CWPSaver::GetPlacement(const QWidget& window) {
    CWindowPlacement placement;
    const QPoint origin = WorkArea().topLeft();
    placement.normal = FromQRect(window.normalGeometry().translated(-origin));
    if (!window.isVisible()) {
        placement.showCmd = SW_HIDE;
    } else if (window.isMinimized()) {
        placement.showCmd = SW_SHOWMINIMIZED;
        if (window.windowState() & Qt::WindowMaximized) placement.flags = WPF_RESTORETOMAXIMIZED;
    } else if (window.isMaximized()) {
        placement.showCmd = SW_SHOWMAXIMIZED;
    }
    return placement;
}

void CWPSaver::SetPlacement(QWidget& window, const CWindowPlacement& placement) {
    // The normal rectangle applies to the normal state, whatever state follows.
    window.setWindowState(window.windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    const QRect rect = ToQRect(placement.normal).translated(WorkArea().topLeft());
    if (CanPlaceWindows()) {
        window.setGeometry(rect);
    } else {
        window.resize(rect.size());
    }
    switch (placement.showCmd) {
        case SW_HIDE: window.hide(); break;
        case SW_SHOWMINIMIZED: window.showMinimized(); break;
        case SW_SHOWMAXIMIZED: window.showMaximized(); break;
        default: window.showNormal(); break;
    }
}

void CWPSaver::Save() {
    const CWindowPlacement placement = GetPlacement(*m_window);
    const int values[] = {static_cast<int>(placement.flags),
                          placement.showCmd,
                          placement.normal.left,
                          placement.normal.top,
                          placement.normal.right,
                          placement.normal.bottom};
    for (size_t i = 0; i < std::size(kKeys); ++i)
        m_profile.WriteProfileInt(m_section, kKeys[i], static_cast<std::uint32_t>(values[i]));
}

bool CWPSaver::Load(CWindowPlacement& placement) {
    int* const targets[] = {nullptr,
                            &placement.showCmd,
                            &placement.normal.left,
                            &placement.normal.top,
                            &placement.normal.right,
                            &placement.normal.bottom};
    for (size_t i = 0; i < std::size(kKeys); ++i) {
        const auto value = static_cast<std::int32_t>(
            m_profile.GetProfileInt(m_section, kKeys[i], static_cast<std::uint32_t>(kMissing)));
        if (value == kMissing) return false;
        if (targets[i]) {
            *targets[i] = value;
        } else {
            placement.flags = static_cast<UINT>(value);
        }
    }
    return true;
}

bool CWPSaver::Restore() {
    const CWindowPlacement current = GetPlacement(*m_window);
    CWindowPlacement placement = current;
    if (!Load(placement)) return false;
    if (QGuiApplication::screens().size() <= 1)
        placement.normal = FitToWorkArea(placement.normal, FromQRect(WorkArea()).Size());
    std::vector<CRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.push_back(FromQRect(screen->availableGeometry().translated(-WorkArea().topLeft())));
    if (!IsReachable(placement.normal, areas, GetSystemMetrics(SM_CYCAPTION))) return false;
    if (current.showCmd == SW_SHOWMINIMIZED || current.showCmd == SW_SHOWMAXIMIZED) {
        placement.showCmd = current.showCmd;
    } else if (placement.showCmd == SW_SHOWMINIMIZED) {
        placement.showCmd = SW_RESTORE;
    }
    SetPlacement(*m_window, placement);
    return true;
}

CRect CWPSaver::FitToWorkArea(CRect rect, CSize workArea) {
    rect.NormalizeRect();
    if (rect.Width() > workArea.cx) rect.right -= rect.Width() - workArea.cx;
    if (rect.Height() > workArea.cy) rect.bottom -= rect.Height() - workArea.cy;
    if (rect.right > workArea.cx) rect.OffsetRect(workArea.cx - rect.right, 0);
    if (rect.bottom > workArea.cy) rect.OffsetRect(0, workArea.cy - rect.bottom);
    if (rect.left < 0) rect.OffsetRect(-rect.left, 0);
    if (rect.top < 0) rect.OffsetRect(0, -rect.top);
    return rect;
}

bool CWPSaver::IsReachable(const CRect& rect, std::span<const CRect> workAreas, int captionHeight) {
    CRect normal = rect;
    normal.NormalizeRect();
    const CRect title(normal.left, normal.top, normal.right,
                      normal.top + std::max(captionHeight, 1));
    const int grip = std::min(kTitleGrip, std::max(title.Width() / 3, 1));
    for (const CRect& area : workAreas) {
        CRect shown;
        if (!shown.IntersectRect(title, area)) continue;
        if (shown.Width() >= grip && shown.Height() * 2 >= title.Height()) return true;
    }
    return false;
}
