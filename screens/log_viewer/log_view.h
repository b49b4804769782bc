#pragma once

#include <cstdint>

#include "platform/ui/view.h"
#include "screens/log_viewer/log_line_cache.h"

class IScreenHost;
class IScreenServices;

// The controller's request log of one day: its day file, one record a line through the
// display mask, read a window of lines at a time whatever the file's length. Whole lines are
// selected with the keyboard or the mouse, copied as text and printed. A view that shows the
// file's end keeps showing it as the log grows.
class CLogView : public CView {
public:
    // The view's own navigation commands, which its keys give.
    enum Command : UINT {
        kCmdFirst = 32834,       // Ctrl+Home: the first record
        kCmdLast = 32835,        // Ctrl+End: the last record
        kCmdPageDown = 32836,    // the caret to the page's bottom, or a page on
        kCmdPageUp = 32837,      // the caret to the page's top, or a page back
        kCmdScrollHome = 32838,  // Left: the lines' start
        kCmdScrollEnd = 32839,   // Right: the longest line's end
        kCmdLineUp = 32840,
        kCmdLineDown = 32841,
        kCmdCharLeft = 32842,
        kCmdCharRight = 32843,
        kCmdPageBottom = 32844,  // Home: the caret to the page's last line
        kCmdPageTop = 32845,     // End: the caret to the page's first line
        kCmdExtendPageBottom = 32846,
        kCmdExtendPageTop = 32847,
        kCmdSelectCaret = 32848,
        kCmdExtendCaret = 32849,
        kCmdExtendLast = 32850,
        kCmdExtendFirst = 32851,
        kCmdLineUpAlt = 32852,
        kCmdLineDownAlt = 32853,
        kCmdPageUpAlt = 32854,
        kCmdPageDownAlt = 32855,
    };
    static constexpr UINT_PTR kAutoScrollTimer = 1;
    static constexpr UINT kAutoScrollMs = 10;
    // Dragged this far outside the lines, the view scrolls a page at a time.
    static constexpr int kPageScrollDistance = 24;
    static constexpr int kTopMargin = 3;
    static constexpr int kLeftMargin = 4;

    CLogView(IScreenHost& host, IScreenServices& services);
    ~CLogView() override;

    // Always with both scroll bars.
    BOOL Create(DWORD style, const CRect& rect, QWidget* parent, UINT id);
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);

    // Rereads the context's day from its first record on.
    void Reload();
    // The file may have grown: a view that showed its end shows the new records.
    void OnGrowth();
    // One of the navigation commands.
    void RunCommand(UINT id);
    void SelectAll();
    // The selected lines, each ending in CR LF.
    CString GetSelectedText();
    void CopySelection();

    const CString& GetPath() const { return m_cache.GetPath(); }
    const CString& GetMask() const { return m_mask; }
    CLogLineCache& GetCache() { return m_cache; }
    std::int64_t GetRecordCount() const { return m_cache.GetRecordCount(); }
    std::int64_t GetTopLine() const { return m_nTop; }
    std::int64_t GetCaret() const { return m_nCaret; }
    std::int64_t GetSelStart() const { return m_nSelStart; }
    std::int64_t GetSelEnd() const { return m_nSelEnd; }
    int GetLinesPerPage() const;
    int GetLineHeight() const { return m_nLineHeight; }
    int GetHorizontalOffset() const { return m_nHOffset; }

    DWORD GetHelpID() const;
    void OnCommandHelp();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    void OnPaint(CDC& dc) override;
    void OnDraw(CDC& dc) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnVScroll(UINT code, UINT pos) override;
    void OnHScroll(UINT code, UINT pos) override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point) override;
    void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    UINT OnGetDlgCode() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnTimer(UINT_PTR id) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* update) override;

    BOOL OnPreparePrinting(CPrintInfo& info) override;
    void OnBeginPrinting(CDC& dc, CPrintInfo& info) override;
    void OnPrint(CDC& dc, CPrintInfo& info) override;
    void OnEndPrinting(CDC& dc, CPrintInfo& info) override;

private:
    std::int64_t LastRecord() const { return GetRecordCount() - 1; }
    // The file of the day in the screen's context (today for none).
    CString DayFilePath() const;
    bool HasSelection() const { return m_nSelStart >= 0; }
    // The record under a client height, within the file.
    std::int64_t LineAt(int y) const;
    void SetTop(std::int64_t top);
    void ScrollLines(std::int64_t lines);
    void SetHorizontalOffset(int offset);
    int HorizontalExtent() const;
    void UpdateScrollBars();
    // After a read found the file changed: the count, the selection and the scroll bars
    // follow it.
    void FollowCount();
    // The selection becomes the line alone, which is also the anchor and the caret.
    void SelectLine(std::int64_t line);
    // From the anchor to the line, which becomes the caret.
    void ExtendTo(std::int64_t line);
    void SetSelection(std::int64_t start, std::int64_t end, std::int64_t caret);
    void InvalidateLine(std::int64_t line);
    void MoveCaret(std::int64_t line, bool extend);
    void CaretUp(bool page);
    void CaretDown(bool page);
    void RunPrint(UINT command);

    IScreenHost& m_host;
    IScreenServices& m_services;
    CLogLineCache m_cache;
    CString m_mask;
    bool m_bMaskChosen = false;
    LogFont m_font;
    int m_nLineHeight = 1;
    int m_nCharWidth = 1;
    std::int64_t m_nTop = 0;
    int m_nHOffset = 0;
    std::int64_t m_nAnchor = 0;
    std::int64_t m_nSelStart = -1;
    std::int64_t m_nSelEnd = -1;
    std::int64_t m_nCaret = 0;
    bool m_bDragging = false;

    // Printing, from OnBeginPrinting to OnEndPrinting.
    LogFont m_printFont;
    int m_nPrintLineHeight = 1;
    int m_nPrintMargin = 0;
    int m_nPrintWidth = 0;
    int m_nPrintLinesPerPage = 1;
    std::int64_t m_nPrintFirst = 0;
    std::int64_t m_nPrintLast = -1;
};
