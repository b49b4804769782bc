#pragma once

#include <optional>

#include "platform/ui/wnd_timer.h"
#include "screens/base/kelvardin_grid_view.h"

struct CContext;

// The controller's memory: a window of 256 addresses as 16 rows of 16 bytes in hexadecimal,
// each row's bytes as characters beside them. Bytes typed in become pending writes that go to
// the controller on request; moving the window, switching the processor and leaving the screen
// ask about them first. The addresses gone to are kept in the screen's navigation context.
class CMemoryDumpView : public CKelvardinGridView {
public:
    static constexpr int kRows = 16;
    static constexpr int kColumns = 18;
    static constexpr int kCharColumn = 17;

    explicit CMemoryDumpView(IScreenHost& host);
    ~CMemoryDumpView() override;

    // The address of the first byte shown.
    DWORD GetStartAddress() const { return m_dwStart; }
    // Leaves the window at the address: pending writes are asked about, the address becomes
    // the history's newest and the visible panes are refreshed. A window whose bytes could
    // not be written stays.
    void GoToAddress(DWORD address);
    // With pending writes, on either processor: asked, writes them (OK) or drops them
    // (Cancel); unasked, writes them. Written edits leave the undo and redo stacks. False when
    // bytes stay pending: the question is not asked while they cannot be written, and a write
    // that cannot go tells the user why, unless the caller says itself what becomes of them
    // (tellKept false).
    bool ConfirmPendingWrites(BOOL ask, bool tellKept = true);
    // Whether pending bytes can be written now: ONLINE, with the link up.
    bool CanWriteNow() const;
    // The cells take bytes only ONLINE with writes allowed; the main window calls this
    // whenever the mode may have changed, and the cells follow.
    void FollowMode();
    // The address four selected bytes of one row spell; none for any other selection.
    std::optional<DWORD> GetSelectionAddress() const;

    BOOL IsReadOnlyView() override;
    void SetupGrid() override;
    DWORD GetHelpID() override;
    void UpdateGrid() override;
    void ClearAllChanges() override;
    LRESULT OnGridRClick(NM_GRIDVIEW* record) override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* update) override;
    BOOL OnNotify(WPARAM id, NMHDR* header, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;

private:
    CContext& Context() const;
    // Points the cells at the window from the start address, with the states the mode allows.
    void BindCells();
    void SizeColumns();
    // A key the grid offers: TRUE when it moved the window.
    LRESULT OnGridKey(UINT vk, bool systemKey);
    // Sends the pending writes, which then are pending no more, and takes their edits out of
    // the undo history; without a link, says so and keeps them.
    bool WritePending(bool tellKept = true);
    // A write the controller never answered comes back pending, and the window with it.
    void TakeBackUnwritten();
    void RemoveWrittenEdits();

    // Whether the bytes take typing.
    bool BytesEditable();

    CWndTimer m_timer;
    DWORD m_dwStart = 0;
    // What the cells were last bound as.
    bool m_bEditable = false;
};
