// The request log viewer's keyboard, mouse and commands: the caret, the selection of whole
// lines and the scrolling they bring.
#include <algorithm>

#include "model/app_state.h"
#include "platform/base/message_box.h"
#include "platform/ui/sys_info.h"
#include "res/command_ids.h"
#include "screens/log_viewer/log_view.h"
#include "screens/log_viewer/log_view_rules.h"

namespace {

bool IsHeld(int vk) {
    return GetKeyState(vk) < 0;
}

bool IsNavigationCommand(UINT id) {
    return id >= CLogView::kCmdFirst && id <= CLogView::kCmdPageDownAlt;
}

}  // namespace

void CLogView::SetSelection(std::int64_t start, std::int64_t end, std::int64_t caret) {
    const std::int64_t oldStart = m_nSelStart;
    const std::int64_t oldEnd = m_nSelEnd;
    const std::int64_t oldCaret = m_nCaret;
    m_nSelStart = start;
    m_nSelEnd = end;
    m_nCaret = caret;
    // Only the lines on the page whose look changed are painted again.
    const std::int64_t last = m_nTop + GetLinesPerPage();
    for (std::int64_t line = m_nTop; line <= last; ++line) {
        const bool was = oldStart >= 0 && line >= oldStart && line <= oldEnd;
        const bool is = start >= 0 && line >= start && line <= end;
        if (was != is || line == oldCaret || line == caret) InvalidateLine(line);
    }
}

void CLogView::SelectLine(std::int64_t line) {
    m_nAnchor = line;
    SetSelection(line, line, line);
}

void CLogView::ExtendTo(std::int64_t line) {
    SetSelection(std::min(m_nAnchor, line), std::max(m_nAnchor, line), line);
}

void CLogView::MoveCaret(std::int64_t line, bool extend) {
    if (extend) {
        ExtendTo(line);
    } else {
        SelectLine(line);
    }
}

void CLogView::CaretUp(bool page) {
    if (GetRecordCount() == 0) return;
    if (m_nCaret <= 0) {
        MessageBeep(MB_OK);
        return;
    }
    const int lines = GetLinesPerPage();
    std::int64_t caret = std::clamp(m_nCaret, m_nTop, m_nTop + lines - 1);
    if (page) {
        if (caret == m_nTop) ScrollLines(-lines + 1);
        caret = m_nTop;
    } else {
        --caret;
        if (caret < m_nTop) SetTop(caret);
    }
    MoveCaret(caret, IsHeld(VK_SHIFT));
}

void CLogView::CaretDown(bool page) {
    if (GetRecordCount() == 0) return;
    if (m_nCaret >= LastRecord()) {
        MessageBeep(MB_OK);
        return;
    }
    const int lines = GetLinesPerPage();
    std::int64_t caret = std::clamp(m_nCaret, m_nTop, m_nTop + lines - 1);
    if (page) {
        if (caret == std::min(m_nTop + lines - 1, LastRecord())) ScrollLines(lines - 1);
        caret = std::min(m_nTop + lines - 1, LastRecord());
    } else {
        ++caret;
        if (caret > m_nTop + lines - 1) SetTop(caret - lines + 1);
    }
    MoveCaret(caret, IsHeld(VK_SHIFT));
}

void CLogView::RunCommand(UINT id) {
    if (GetRecordCount() == 0) return;
    const std::int64_t last = LastRecord();
    const std::int64_t pageBottom = std::min(m_nTop + GetLinesPerPage() - 1, last);
    const std::int64_t lastTop = log_rules::LastTop(GetRecordCount(), GetLinesPerPage());
    switch (id) {
        case kCmdLineUp:
        case kCmdLineUpAlt: CaretUp(false); break;
        case kCmdLineDown:
        case kCmdLineDownAlt: CaretDown(false); break;
        case kCmdPageUp:
        case kCmdPageUpAlt: CaretUp(true); break;
        case kCmdPageDown:
        case kCmdPageDownAlt: CaretDown(true); break;
        case kCmdPageBottom: SetSelection(m_nSelStart, m_nSelEnd, pageBottom); break;
        case kCmdPageTop: SetSelection(m_nSelStart, m_nSelEnd, m_nTop); break;
        case kCmdExtendPageBottom: ExtendTo(pageBottom); break;
        case kCmdExtendPageTop: ExtendTo(m_nTop); break;
        case kCmdFirst:
            SetTop(0);
            SetSelection(m_nSelStart, m_nSelEnd, 0);
            break;
        case kCmdLast:
            SetTop(lastTop);
            SetSelection(m_nSelStart, m_nSelEnd, last);
            break;
        case kCmdExtendFirst:
            ExtendTo(0);
            SetTop(0);
            break;
        case kCmdExtendLast:
            ExtendTo(last);
            SetTop(lastTop);
            break;
        case kCmdScrollHome: SetHorizontalOffset(0); break;
        case kCmdScrollEnd:
            SetHorizontalOffset(HorizontalExtent() - GetClientRect().Width());
            break;
        case kCmdCharLeft: SetHorizontalOffset(m_nHOffset - m_nCharWidth); break;
        case kCmdCharRight: SetHorizontalOffset(m_nHOffset + m_nCharWidth); break;
        case kCmdSelectCaret: SelectLine(m_nCaret); break;
        case kCmdExtendCaret: ExtendTo(m_nCaret); break;
        default: break;
    }
}

void CLogView::OnKeyDown(UINT vk, UINT repeat, UINT flags) {
    const bool shift = IsHeld(VK_SHIFT);
    const bool ctrl = IsHeld(VK_CONTROL);
    UINT command = 0;
    switch (vk) {
        case VK_UP: command = kCmdLineUp; break;
        case VK_DOWN: command = kCmdLineDown; break;
        // With Ctrl the pages step the day, which the selector does.
        case VK_PRIOR: command = ctrl ? 0u : UINT{kCmdPageUp}; break;
        case VK_NEXT: command = ctrl ? 0u : UINT{kCmdPageDown}; break;
        case VK_HOME:
            command = ctrl ? (shift ? kCmdExtendFirst : kCmdFirst)
                           : (shift ? kCmdExtendPageBottom : kCmdPageBottom);
            break;
        case VK_END:
            command = ctrl ? (shift ? kCmdExtendLast : kCmdLast)
                           : (shift ? kCmdExtendPageTop : kCmdPageTop);
            break;
        case VK_LEFT: command = shift ? kCmdCharLeft : kCmdScrollHome; break;
        case VK_RIGHT: command = shift ? kCmdCharRight : kCmdScrollEnd; break;
        default: break;
    }
    if (command != 0) {
        RunCommand(command);
        return;
    }
    CView::OnKeyDown(vk, repeat, flags);
}

void CLogView::OnChar(UINT ch, UINT repeat, UINT flags) {
    if (ch == u' ') {
        RunCommand(IsHeld(VK_SHIFT) ? kCmdExtendCaret : kCmdSelectCaret);
        return;
    }
    CView::OnChar(ch, repeat, flags);
}

UINT CLogView::OnGetDlgCode() {
    return DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void CLogView::OnLButtonDown(UINT flags, CPoint point) {
    SetFocus();
    if (GetRecordCount() == 0) return;
    const std::int64_t line = LineAt(point.y);
    if (flags & MK_SHIFT) {
        ExtendTo(line);
    } else {
        SelectLine(line);
    }
    m_bDragging = true;
    SetCapture();
}

void CLogView::OnMouseMove(UINT /*flags*/, CPoint point) {
    if (!m_bDragging) return;
    const int height = GetClientRect().Height();
    if (point.y < 0) {
        ScrollLines(-1);
        SetTimer(kAutoScrollTimer, kAutoScrollMs);
    } else if (point.y >= height) {
        ScrollLines(1);
        SetTimer(kAutoScrollTimer, kAutoScrollMs);
    } else {
        KillTimer(kAutoScrollTimer);
    }
    ExtendTo(LineAt(std::clamp(point.y, 0, std::max(height - 1, 0))));
}

void CLogView::OnLButtonUp(UINT /*flags*/, CPoint /*point*/) {
    if (!m_bDragging) return;
    m_bDragging = false;
    KillTimer(kAutoScrollTimer);
    ReleaseCapture();
}

void CLogView::OnTimer(UINT_PTR id) {
    if (id != kAutoScrollTimer) return CView::OnTimer(id);
    // Only a drag on the view shown goes on scrolling.
    if (!m_bDragging || !IsWindowVisible()) {
        KillTimer(kAutoScrollTimer);
        return;
    }
    CPoint point = GetCursorPos();
    ScreenToClient(&point);
    const int height = GetClientRect().Height();
    const int page = GetLinesPerPage();
    if (point.y < -kPageScrollDistance) {
        ScrollLines(-page + 1);
    } else if (point.y < 0) {
        ScrollLines(-1);
    } else if (point.y >= height + kPageScrollDistance) {
        ScrollLines(page - 1);
    } else if (point.y >= height) {
        ScrollLines(1);
    }
    ExtendTo(LineAt(std::clamp(point.y, 0, std::max(height - 1, 0))));
}

void CLogView::SelectAll() {
    if (GetRecordCount() == 0) return;
    m_nAnchor = 0;
    m_nSelStart = 0;
    m_nCaret = 0;
    m_nSelEnd = LastRecord();
    Invalidate();
}

BOOL CLogView::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
    return OnCmdMsg(LOWORD(wParam), nullptr);
}

BOOL CLogView::OnCmdMsg(UINT id, CCmdUI* update) {
    if (IsNavigationCommand(id)) {
        if (!update) RunCommand(id);
        return TRUE;
    }
    switch (id) {
        case ID_EDIT_COPY:
            if (update) {
                update->Enable(HasSelection());
            } else {
                CopySelection();
            }
            return TRUE;
        case ID_EDIT_SELECT_ALL:
            if (update) {
                update->Enable(GetRecordCount() > 0);
            } else {
                SelectAll();
            }
            return TRUE;
        case ID_FILE_PRINT:
        case ID_FILE_PRINT_PREVIEW:
        case ID_FILE_PRINT_DIRECT:
            if (update) {
                update->Enable(GetApp().IsCommandEnabled(id) && GetRecordCount() > 0);
            } else {
                RunPrint(id);
            }
            return TRUE;
        default: return CView::OnCmdMsg(id, update);
    }
}
