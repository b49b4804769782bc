#pragma once

#include <span>

#include "platform/base/cstring.h"
#include "platform/base/gdi_types.h"
#include "platform/ui/win_consts.h"

class IProfile;
class QWidget;

// The placement's flag: a minimised window comes back maximised.
constexpr UINT WPF_RESTORETOMAXIMIZED = 0x0002;

// Where a top-level window is: its show state and its normal rectangle, relative to the top
// left of the primary screen's work area.
struct CWindowPlacement {
    UINT flags = 0;
    int showCmd = SW_SHOWNORMAL;
    CRect normal;
};

// Saves a top-level window's placement as six numbers in a profile section ("flags",
// "showCmd", "x1", "y1", "x2", "y2") and restores it, fitted into the work area when there is
// only one screen. Where the display server places windows itself, only size and state apply.
class CWPSaver {
public:
    CWPSaver(QWidget* window, CString section, IProfile& profile);
    virtual ~CWPSaver() = default;

    void Save();
    // Reads the six values into the placement, in order, up to the first that is missing (or
    // -1); true when all six were there.
    bool Load(CWindowPlacement& placement);
    // True when a stored placement was applied; one that would put the title bar where no
    // screen shows it is not.
    bool Restore();

    // The rectangle moved, and shrunk where it must be, into a work area of that size.
    static CRect FitToWorkArea(CRect rect, CSize workArea);
    // Whether a window of that rectangle could be taken by its title bar (the top band of the
    // caption's height): a good part of the band lies on one of the screens' work areas. All
    // in the same coordinates.
    static bool IsReachable(const CRect& rect, std::span<const CRect> workAreas, int captionHeight);
    static CWindowPlacement GetPlacement(const QWidget& window);
    static void SetPlacement(QWidget& window, const CWindowPlacement& placement);

private:
    QWidget* m_window;
    CString m_section;
    IProfile& m_profile;
};
