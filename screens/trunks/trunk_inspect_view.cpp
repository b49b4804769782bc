#include "screens/trunks/trunk_inspect_view.h"

#include <algorithm>

#include "link/command_codes.h"
#include "link/cv_data_mgr.h"
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "platform/ui/sys_info.h"
#include "res/command_ids.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/screen_host.h"
#include "screens/cells/inspect_grid_cell.h"
#include "screens/trunks/trunk_inspect_form.h"

using namespace inspect_form;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
// The alpha size of wide names is measured as eight characters.
constexpr int kWideAlphaSize = 16;
constexpr int kWideAlphaColumns = 8;

// Frames the block: dark left and top, light right and bottom edges; a data block's inner
// cells are parted by lines of the grid's background.
void ApplyBox(CKelvardinGridCtrl& grid, const CBox& box) {
    const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF light = GetSysColor(COLOR_3DHIGHLIGHT);
    const COLORREF back = grid.GetGridBkColor();
    for (int row = box.minRow; row <= box.maxRow; ++row) {
        for (int col = box.minCol; col <= box.maxCol; ++col) {
            auto* cell = dynamic_cast<CKelvardinGridCell*>(grid.GetCell(row, col));
            if (!cell) continue;
            int borders = 0;
            COLORREF left = kWhite;
            COLORREF top = back;
            COLORREF right = kWhite;
            COLORREF bottom = back;
            if (col == box.minCol) {
                borders |= CKelvardinGridCell::kBorderLeft;
                left = dark;
            }
            if (row == box.minRow) {
                borders |= CKelvardinGridCell::kBorderTop;
                top = dark;
            }
            if (col == box.maxCol) {
                borders |= CKelvardinGridCell::kBorderRight;
                right = light;
            } else if (box.data) {
                borders |= CKelvardinGridCell::kBorderRight;
            }
            if (row == box.maxRow) {
                borders |= CKelvardinGridCell::kBorderBottom;
                bottom = light;
            } else if (box.data) {
                borders |= CKelvardinGridCell::kBorderBottom;
            }
            cell->SetBorders(borders);
            cell->SetBorderColors(left, top, right, bottom);
        }
    }
}

}  // namespace

CTrunkInspectView::CTrunkInspectView(IScreenHost& host) : CKelvardinGridView(host) {
    m_strWidthsValue = u"TrunkInspectColumnWidths";
}

CTrunkInspectView::~CTrunkInspectView() {
    m_timer.Stop();
}

int CTrunkInspectView::GetInspectedTrunk() const {
    return static_cast<int>(GetHost().GetViewContext(kScreen).m_params[0]);
}

int CTrunkInspectView::MapRowIndex(int index) const {
    return index < 0 ? GetInspectedTrunk() : index;
}

DWORD CTrunkInspectView::GetHelpID() {
    return 0x20000 + ID_VIEW_TRUNK_INSPECT;
}

void CTrunkInspectView::OnInitialUpdate() {
    CKelvardinGridView::OnInitialUpdate();
    m_timer.Start(this, GetHost().GetScreenTiming().trunkInspectPollMs);
}

void CTrunkInspectView::SetupGrid() {
    CKelvardinGridCtrl* grid = GetGrid();
    if (!grid) return;
    grid->SetDefaultCellType(CellClassOf<CInspectGridCell>());
    grid->GetDefaultCell(FALSE, FALSE)->SetBackClr(grid->GetGridBkColor());
    grid->SetFixedRowCount(0);
    grid->SetFixedColumnCount(0);
    grid->SetRowCount(kRows);
    grid->SetColumnCount(kColumns);
    grid->SetGridLines(GVL_NONE);

    LayOutForm();
    SizeColumns();
    SizeRows();
    ShowCascadeRows(FALSE);
    // A form: nothing to select, edit or frame.
    grid->EnableSelection(FALSE);
    grid->SetEditable(FALSE);
    grid->SetFrameFocusCell(FALSE);

    SaveColumnWidths();
    OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
}

void CTrunkInspectView::LayOutForm() {
    CKelvardinGridCtrl& grid = *GetGrid();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // A label box is one panel, its empty cells included.
    for (const CBox& box : Boxes()) {
        for (int row = box.minRow; !box.data && row <= box.maxRow; ++row) {
            for (int col = box.minCol; col <= box.maxCol; ++col)
                grid.SetItemBkColour(row, col, face);
        }
    }
    for (const CFormCell& form : Cells()) {
        auto* cell = dynamic_cast<CKelvardinGridCell*>(grid.GetCell(form.row, form.col));
        if (!cell) continue;
        if (form.label) {
            grid.SetItemText(form.row, form.col, form.label);
            cell->SetBackClr(face);
        } else {
            // The index -2 stands for the inspected trunk (MapRowIndex).
            cell->SetObjSpec(CTrunkSpec(-2, form.field));
            cell->SetAltObjSpec(form.part == kPlain ? CObjSpec::Plain()
                                                    : CObjSpec(CObjSpec::kAlpha, 0, form.part));
            cell->SetBackClr(kWhite);
        }
        if (form.centred)
            grid.SetItemFormat(form.row, form.col,
                               grid.GetItemFormat(form.row, form.col) | DT_CENTER);
    }
    for (const CBox& box : Boxes())
        ApplyBox(grid, box);
}

void CTrunkInspectView::SizeRows() {
    CKelvardinGridCtrl& grid = *GetGrid();
    const int h = grid.GetRowHeight(kTrunkRow);
    // Narrow gaps between the blocks; rows 2, 7 and 12 are not used.
    for (int row : {kEndARow + 2, kCascadeGapRow})
        grid.SetRowHeight(row, h / 4);
    for (int row : {kTrunkRow + 1, kCascadeRow + 1, kRequestsRow + 1})
        grid.SetRowHeight(row, 0);
}

void CTrunkInspectView::SizeColumns() {
    CKelvardinGridCtrl& grid = *GetGrid();
    const int h = grid.GetRowHeight(kTrunkRow);
    const int alphaSize = GetApp().GetConfig().m_nAlphaSize;
    const int letters = alphaSize == kWideAlphaSize ? kWideAlphaColumns : alphaSize;
    const int width = grid.GetItemTextExtent(kTrunkRow, kSideA, CString(u'W', letters)).cx;
    for (int side : {kSideA, kSideB}) {
        for (int col = side; col < side + kBlockWidth; ++col)
            grid.SetColumnWidth(col, width);
    }
    // A label is never cut: a short alpha size leaves its column too narrow for "Requests".
    for (const CFormCell& form : Cells()) {
        if (!form.label) continue;
        const int needed = grid.GetItemTextExtent(form.row, form.col, form.label).cx;
        if (grid.GetColumnWidth(form.col) < needed) grid.SetColumnWidth(form.col, needed);
    }
    grid.SetColumnWidth(0, h);
    grid.SetColumnWidth(kColumns - 1, h);
    grid.SetColumnWidth(kSideA + kBlockWidth, h / 4);
}

void CTrunkInspectView::ShowCascadeRows(BOOL show) {
    CKelvardinGridCtrl& grid = *GetGrid();
    m_bCascadeShown = show;
    const int h = show ? grid.GetRowHeight(kTrunkRow) : 0;
    for (int row : {kCascadeRow, kCascadeEndARow, kCascadeEndBRow})
        grid.SetRowHeight(row, h);
    grid.SetRowHeight(kCascadeGapRow, h / 4);
    grid.ResetScrollBars();
    grid.Invalidate();
}

void CTrunkInspectView::FollowInspection() {
    CKelvardinGridCtrl& grid = *GetGrid();
    static const CInspect kNoInspection;
    const CKelvardinDoc* doc = GetDocument();
    const int trunk = GetInspectedTrunk();
    // Rows 6 to 10 are about the cascade: they show only for a trunk cascaded with another.
    const BOOL cascade = doc && doc->HasCascadeTrunk(trunk);
    if (cascade != m_bCascadeShown) ShowCascadeRows(cascade);

    const CInspect& inspect = doc ? doc->GetTrunkInspect(trunk) : kNoInspection;
    const int shown = ShownRequestRows(inspect);
    const int h = grid.GetRowHeight(kTrunkRow);
    bool moved = false;
    const auto setHeight = [&](int row, int height) {
        if (grid.GetRowHeight(row) == height) return;
        grid.SetRowHeight(row, height);
        moved = true;
    };
    setHeight(kRequestsRow, shown > 0 ? h : 0);
    setHeight(kHeadingRow, shown > 0 ? h : 0);
    for (int k = 0; k < kRequestRows; ++k)
        setHeight(kFirstRequestRow + k, k < shown ? h : 0);
    // Rows shown or hidden move the cells below them; else the reply's paint tick paints what
    // changed.
    if (moved) grid.Invalidate();
}

void CTrunkInspectView::UpdateGrid() {
    CCVDataMgr& dataMgr = GetHost().GetDataMgr();
    if (GetApp().GetMode() != CAppState::kModeOnline || dataMgr.IsUploading()) return;
    const int trunk = GetInspectedTrunk();
    dataMgr.RequestTrunkInspect(trunk);
    dataMgr.RefreshTrunkStatus(trunk);
}

void CTrunkInspectView::OnUpdate(CView* sender, LPARAM lHint, void* hintObject) {
    if (!GetGrid()) return;
    CKelvardinGridView::OnUpdate(sender, lHint, hintObject);
    const auto hint = CUpdateHint::FromParam(lHint);
    if (hint == CUpdateHint::kRebuild || hint == CUpdateHint::kRefresh ||
        hint.IsReply(kCmdTrunkInspect)) {
        if (hint == CUpdateHint::kRebuild) LayOutColumns([this] { SizeColumns(); });
        FollowInspection();
    }
}

DWORD CTrunkInspectView::OnHelpHitTest(CPoint point) {
    const DWORD helpId = GetHelpID();
    const CKelvardinGridCtrl* grid = GetGrid();
    if (!grid) return helpId;
    const CCellID cell = grid->GetCellFromPt(point, TRUE);
    if (cell.row < 0 || cell.col < 0) return helpId;
    const DWORD region = HelpRegion(cell.row, cell.col);
    // Unsigned 32-bit arithmetic: the high half of the help id is shifted out.
    return region ? (helpId << 16) + region : helpId;
}

BOOL CTrunkInspectView::OnCmdMsg(UINT id, CCmdUI* update) {
    if (id != ID_CLEAR_ALLOCATIONS && id != ID_MAINT_MODE && id != ID_NORMAL_MODE)
        return CKelvardinGridView::OnCmdMsg(id, update);
    if (update) {
        OnUpdateCommand(update);
        return TRUE;
    }
    if (!GetApp().IsCommandEnabled(id)) return TRUE;
    IScreenHost& host = GetHost();
    switch (id) {
        case ID_CLEAR_ALLOCATIONS: host.ClearAllocations(-1); break;
        case ID_MAINT_MODE: host.SetMaintMode(GetInspectedTrunk()); break;
        default: host.ClearMaintMode(GetInspectedTrunk()); break;
    }
    return TRUE;
}

void CTrunkInspectView::OnTimer(UINT_PTR id) {
    if (!GetHost().IsCurrentScreen(*this)) return;
    if (m_timer.IsRunning() && id == m_timer.m_nCurrentId) UpdateGrid();
    CKelvardinGridView::OnTimer(id);
}
