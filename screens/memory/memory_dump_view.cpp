#include "screens/memory/memory_dump_view.h"

#include <array>
#include <cstdint>

#include "link/command_codes.h"
#include "link/cv_data_mgr.h"
#include "model/app_state.h"
#include "model/doc_views.h"
#include "model/kelvardin_doc.h"
#include "model/undo_host.h"
#include "platform/base/message_box.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/sys_info.h"
#include "res/command_ids.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/screen_host.h"
#include "screens/base/screen_ids.h"
#include "screens/base/screen_messages.h"
#include "screens/base/undo_stacks.h"
#include "screens/cells/kelvardin_grid_cell.h"
#include "screens/memory/memory_rules.h"

namespace {

constexpr DWORD kFieldByte = 1629;
constexpr DWORD kFieldChars = 1630;
constexpr int kBytesPerRow = 16;
constexpr UINT kMenuId = 135;
constexpr int kWidthPadding = 5;

bool IsOnline() {
    return GetApp().GetMode() == CAppState::kModeOnline;
}

// The byte columns 4, 8 and 12 end a group of four; the character column stands apart.
bool HasLeftBorder(int col) {
    return col == 5 || col == 9 || col == 13 || col == CMemoryDumpView::kCharColumn;
}

}  // namespace

CMemoryDumpView::CMemoryDumpView(IScreenHost& host) : CKelvardinGridView(host) {
    m_strWidthsValue = u"MemoryDisplayColumnWidths";
    ConfirmPendingWrites(TRUE);
}

CMemoryDumpView::~CMemoryDumpView() {
    m_timer.Stop();
}

CContext& CMemoryDumpView::Context() const {
    return GetHost().GetViewContext(kScreenMemory);
}

BOOL CMemoryDumpView::IsReadOnlyView() {
    return GetApp().m_bAllowMemoryPoke ? FALSE : TRUE;
}

DWORD CMemoryDumpView::GetHelpID() {
    return 0x20000 + ID_VIEW_MEMORY;
}

void CMemoryDumpView::SetupGrid() {
    CKelvardinGridCtrl* grid = GetGrid();
    if (!grid) return;
    grid->SetFont(GetFixedFont());
    grid->SetRowCount(kRows);
    grid->SetColumnCount(kColumns);
    grid->SetFixedRowCount(0);
    grid->SetFixedColumnCount(1);
    for (int row = 0; row < kRows; ++row) {
        for (int col = 1; col < kColumns; ++col) {
            auto* cell = dynamic_cast<CKelvardinGridCell*>(grid->GetCell(row, col));
            if (!cell) continue;
            cell->SetAltObjSpec(CObjSpec(CObjSpec::kNone, 0, 0));
            cell->SetBorders(HasLeftBorder(col) ? CKelvardinGridCell::kBorderLeft : 0);
            if (col == kCharColumn) continue;
            cell->SetDigitsOnly(true, true);
            cell->SetMaxChars(2);
            cell->SetUpperCase(false);
        }
    }
    SizeColumns();
    memory_rules::Normalise(Context());
    m_dwStart = memory_rules::CurrentAddress(Context());
    ConfirmPendingWrites(TRUE);
    BindCells();
}

void CMemoryDumpView::SizeColumns() {
    CKelvardinGridCtrl* grid = GetGrid();
    for (int col = 0; col < kColumns; ++col) {
        const CString widest = col == 0             ? CString(u"8888 8888")
                               : col == kCharColumn ? CString(u"WWWWWWWW WWWWWWWW")
                                                    : CString(u"88");
        grid->SetColumnWidth(col, grid->GetItemTextExtent(0, col, widest).cx + kWidthPadding);
    }
}

bool CMemoryDumpView::BytesEditable() {
    return !IsReadOnlyView() && IsOnline();
}

bool CMemoryDumpView::CanWriteNow() const {
    return IsOnline() && GetHost().GetDataMgr().CanWriteMemory();
}

void CMemoryDumpView::FollowMode() {
    if (GetGrid() && BytesEditable() != m_bEditable) BindCells();
}

void CMemoryDumpView::BindCells() {
    CKelvardinGridCtrl* grid = GetGrid();
    if (!grid) return;
    m_bEditable = BytesEditable();
    const bool allReadOnly = !m_bEditable;
    for (int row = 0; row < kRows; ++row) {
        const DWORD rowAddress = m_dwStart + static_cast<DWORD>(kBytesPerRow * row);
        grid->SetItemText(
            row, 0, CString::Formatted(u"%04.4x %04.4x", rowAddress >> 16, rowAddress & 0xFFFF));
        for (int col = 1; col < kColumns; ++col) {
            auto* cell = dynamic_cast<CKelvardinGridCell*>(grid->GetCell(row, col));
            if (!cell) continue;
            if (col == kCharColumn) {
                cell->SetObjSpec(CObjSpec(CObjSpec::kController, rowAddress, kFieldChars));
            } else {
                cell->SetObjSpec(CObjSpec(CObjSpec::kController,
                                          rowAddress + static_cast<DWORD>(col - 1), kFieldByte));
            }
            // The controller's window holds 255 bytes: the window's last address lies outside.
            const bool readOnly =
                allReadOnly || col == kCharColumn || (row == kRows - 1 && col == kColumns - 2);
            const UINT state = grid->GetItemState(row, col);
            grid->SetItemState(row, col,
                               readOnly ? state | CELL_READONLY : state & ~UINT(CELL_READONLY));
        }
    }
    grid->Invalidate();
}

void CMemoryDumpView::OnInitialUpdate() {
    CKelvardinGridView::OnInitialUpdate();
    m_timer.Start(this, GetHost().GetScreenTiming().memoryReadMs);
}

void CMemoryDumpView::UpdateGrid() {
    CCVDataMgr& data = GetHost().GetDataMgr();
    if (!IsOnline() || data.IsUploading()) return;
    data.RequestMemoryRead(m_dwStart);
}

void CMemoryDumpView::OnTimer(UINT_PTR id) {
    if (id == m_timer.m_nCurrentId && GetHost().IsCurrentScreen(*this)) {
        // The window stays under a drag, an edit or a dialog: they act on its rows.
        if (!AreRowsHeld()) TakeBackUnwritten();
        UpdateGrid();
    }
    CKelvardinGridView::OnTimer(id);
}

void CMemoryDumpView::TakeBackUnwritten() {
    const auto write = GetHost().GetDataMgr().TakeBackUnwrittenMemory();
    if (!write) return;
    // Back to the window the bytes belong to, unasked: they are pending again there.
    m_dwStart = write->address;
    memory_rules::Record(Context(), write->address);
    if (CKelvardinDoc* doc = GetDocument())
        doc->UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
    using WriteBack = CCVDataMgr::WriteBack;
    const UINT text = write->why == WriteBack::kRefused  ? kIdsMemoryWriteRefused
                      : write->why == WriteBack::kUnsent ? kIdsMemoryWriteDropped
                                                         : kIdsMemoryWriteUnanswered;
    GetApp().DoMessageBox(
        SubstituteArgs(LoadResString(text).str(), {CString::Formatted(u"%08.8x", write->address)}),
        MB_OK | MB_ICONEXCLAMATION);
}

void CMemoryDumpView::GoToAddress(DWORD address) {
    // Where the bytes pending cannot be written, no question offers to write them: the window
    // stays with them, and the user hears why.
    if (!ConfirmPendingWrites(CanWriteNow() ? TRUE : FALSE)) {
        // Bytes still pending, of this window or the other processor's, keep the window where
        // it is, and the address field shows it again.
        if (CKelvardinDoc* doc = GetDocument())
            doc->UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
        return;
    }
    m_dwStart = address;
    memory_rules::Record(Context(), address);
    if (CKelvardinDoc* doc = GetDocument())
        doc->UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
}

bool CMemoryDumpView::ConfirmPendingWrites(BOOL ask, bool tellKept) {
    CCVDataMgr& data = GetHost().GetDataMgr();
    if (!data.HasUnwrittenMemory()) return true;
    // Where nothing can write them (outside ONLINE, or with the link down) no question offers
    // it: the bytes stay pending for the next connection.
    if (ask && !CanWriteNow()) return false;
    if (ask && GetApp().DoMessageBox(LoadResString(kIdsUnwrittenMemory),
                                     MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
        // The edits stay in the undo history; only the values are dropped.
        data.DropUnwrittenMemory();
        if (GetGrid()) GetGrid()->Invalidate();
        return true;
    }
    return WritePending(tellKept);
}

bool CMemoryDumpView::WritePending(bool tellKept) {
    CCVDataMgr& data = GetHost().GetDataMgr();
    if (!CanWriteNow() ||
        !data.RequestMemoryWrite(CLinkSession::Now(), data.GetMemoryReadAddress())) {
        // Bytes the user chose to write are never dropped unseen: they stay pending, marked,
        // for Write Memory or the next question once the link is back.
        if (tellKept)
            GetApp().DoMessageBox(LoadResString(kIdsMemoryNotWritten), MB_OK | MB_ICONEXCLAMATION);
        if (GetGrid()) GetGrid()->Invalidate();
        return false;
    }
    // The request carries its own copy of the values: once it is on its way nothing is
    // pending, so that moving on neither asks about them nor sends them again.
    data.DropUnwrittenMemory();
    RemoveWrittenEdits();
    return true;
}

void CMemoryDumpView::RemoveWrittenEdits() {
    auto* stacks = dynamic_cast<IUndoStacks*>(GetApp().GetUndoHost());
    if (!stacks) return;
    RemoveMemoryEdits(stacks->GetUndoStack());
    RemoveMemoryEdits(stacks->GetRedoStack());
}

void CMemoryDumpView::ClearAllChanges() {
    GetHost().GetDataMgr().DropUnwrittenMemory();
    RemoveWrittenEdits();
    if (GetGrid()) GetGrid()->Invalidate();
}

std::optional<DWORD> CMemoryDumpView::GetSelectionAddress() const {
    const CKelvardinGridCtrl* grid = GetGrid();
    if (!grid || grid->GetSelectedCount() != 4) return std::nullopt;
    const CCellRange range = grid->GetSelectedCellRange();
    if (range.GetMinRow() != range.GetMaxRow() || range.GetMaxCol() - range.GetMinCol() != 3)
        return std::nullopt;
    std::array<CString, 4> bytes;
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<size_t>(i)] = grid->GetItemText(range.GetMinRow(), range.GetMinCol() + i);
    return memory_rules::AddressFromBytes(bytes,
                                          GetApp().GetConfig().HasFlag(CCVConfig::kNewCorvane));
}

LRESULT CMemoryDumpView::OnGridKey(UINT vk, bool systemKey) {
    const CKelvardinGridCtrl* grid = GetGrid();
    if (!grid || !grid->IsValid(grid->GetFocusCell())) return 0;
    if (GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0) return 0;
    const bool alt = systemKey || GetKeyState(VK_MENU) < 0;
    const std::optional<int> step = memory_rules::KeyStep(vk, alt, grid->GetFocusCell().row);
    if (!step) return 0;
    GoToAddress(m_dwStart + static_cast<DWORD>(*step));
    return 1;
}

LRESULT CMemoryDumpView::OnGridRClick(NM_GRIDVIEW* record) {
    CCVDataMgr& data = GetHost().GetDataMgr();
    const std::optional<DWORD> selection = GetSelectionAddress();
    CPopupMenu history;
    for (const memory_rules::HistoryEntry& entry : memory_rules::Entries(Context())) {
        const UINT id = ID_MEMORY_HISTORY_FIRST + static_cast<UINT>(entry.index);
        history.AppendItem(id, CString::Formatted(u"&%d: %08.8x", entry.index, entry.address));
        history.Check(id, entry.address == m_dwStart);
    }
    CPopupMenu menu(kMenuId);
    if (selection) {
        menu.AppendItem(ID_MEMORY_GOTO, CString::Formatted(u"&Goto address: %08.8x", *selection));
        menu.AppendSeparator();
    }
    if (!history.GetItems().empty()) {
        menu.AppendPopup(ID_MEMORY_HISTORY, u"Address History", history);
        menu.AppendSeparator();
    }
    if (data.HasUnwrittenMemory()) menu.AppendItem(ID_MEMORY_WRITE_CHANGES, u"&Write Changes");
    menu.TidySeparators();
    if (menu.GetItems().empty()) return 0;

    const UINT chosen = TrackPopupMenu(menu, GetContextMenuPoint(record), GetHost().GetWindow());
    if (chosen >= ID_MEMORY_HISTORY_FIRST && chosen <= ID_MEMORY_HISTORY_LAST) {
        const int entry = static_cast<int>(chosen - ID_MEMORY_HISTORY_FIRST) + 1;
        GoToAddress(Context().m_params[static_cast<size_t>(entry)]);
    } else if (chosen == ID_MEMORY_GOTO && selection) {
        GoToAddress(*selection);
    } else if (chosen == ID_MEMORY_WRITE_CHANGES) {
        ConfirmPendingWrites(FALSE);
    }
    return 0;
}

void CMemoryDumpView::OnUpdate(CView* sender, LPARAM lHint, void* hintObject) {
    if (!GetGrid() || DeferRebuild(lHint)) return;
    const auto hint = CUpdateHint::FromParam(lHint);
    if (hint == CUpdateHint::kRebuild) {
        CreateGrid();
        UpdateGrid();
    } else if (hint == CUpdateHint::kMemoryContent) {
        ConfirmPendingWrites(TRUE);
    } else if (hint == CUpdateHint::kMemoryPage) {
        GoToAddress(static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(hintObject)));
    } else if (hint == CUpdateHint::kRefresh) {
        CKelvardinGridView::OnUpdate(sender, lHint, hintObject);
        BindCells();
        UpdateGrid();
    } else if (hint.IsReply(kCmdReadMemory)) {
        PaintChangedCells();
    } else {
        CKelvardinGridView::OnUpdate(sender, lHint, hintObject);
    }
}

BOOL CMemoryDumpView::OnCmdMsg(UINT id, CCmdUI* update) {
    switch (id) {
        case ID_WRITE_MEMORY:
            if (update) {
                OnUpdateCommand(update);
                return TRUE;
            }
            if (GetApp().IsCommandEnabled(id) && GetHost().GetDataMgr().HasUnwrittenMemory())
                WritePending();
            return TRUE;
        case ID_EDIT_CELL:
            if (!update) {
                if (const std::optional<DWORD> address = GetSelectionAddress())
                    GoToAddress(*address);
            }
            return TRUE;
        default: return CKelvardinGridView::OnCmdMsg(id, update);
    }
}

BOOL CMemoryDumpView::OnNotify(WPARAM id, NMHDR* header, LRESULT* result) {
    if (id == kGridId && header && header->code == GRIDN_ENDLABELEDIT) {
        // A byte typed in shows in its row's characters at once.
        if (GetGrid()) GetGrid()->RedrawGridColumn(kCharColumn);
        if (result) *result = 0;
        return TRUE;
    }
    return CKelvardinGridView::OnNotify(id, header, result);
}

LRESULT CMemoryDumpView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SCREEN_HAS_CHANGES: return GetHost().GetDataMgr().HasUnwrittenMemory() ? 1 : 0;
        case WM_SCREEN_LEAVING: ConfirmPendingWrites(TRUE); return 0;
        case WM_GRID_KEYDOWN: return OnGridKey(static_cast<UINT>(wParam), false);
        case WM_GRID_SYSKEYDOWN: return OnGridKey(static_cast<UINT>(wParam), true);
        default: return CKelvardinGridView::WindowProc(message, wParam, lParam);
    }
}
