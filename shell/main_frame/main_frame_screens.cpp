// The main window's screens: switching between them, the history between their contexts and
// the update hints that reach them.
#include <QStackedWidget>

#include <vector>

#include "model/kelvardin_doc.h"
#include "res/string_table.h"
#include "screens/base/kelvardin_filter_view.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/kelvardin_grid_view.h"
#include "screens/base/screen_messages.h"
#include "screens/cells/kelvardin_grid_cell.h"
#include "shell/app/screen_table.h"
#include "shell/main_frame/main_frame_window.h"

bool CMainFrame::HasScreen(int screen) const {
    return screen >= 0 && screen < kScreens &&
           m_screens[static_cast<size_t>(screen)].createView != nullptr;
}

CView* CMainFrame::GetScreenView(int screen) const {
    return screen >= 0 && screen < kScreens ? m_slots[static_cast<size_t>(screen)].view.get()
                                            : nullptr;
}

void CMainFrame::SwitchToView(int screen) {
    if (!HasScreen(screen)) return;
    if (screen == m_nCurrent && m_pCurrentView) {
        m_doc->UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
        m_doc->UpdateAllFrameViews(nullptr, CUpdateHint::kSelection);
        return;
    }
    // An edit open on the screen that goes ends first, as the user left it, whether or not
    // its cell still has the focus.
    if (m_pCurrentGrid && m_pCurrentGrid->GetGrid()) m_pCurrentGrid->GetGrid()->EndEditing();
    m_nCurrent = screen;
    ShowPane(screen, m_slots[static_cast<size_t>(screen)].pane != nullptr);
    if (m_pCurrentView) m_pCurrentView->SendMessage(WM_SCREEN_LEAVING, 0, 0);
    ShowView(screen, m_slots[static_cast<size_t>(screen)].view != nullptr);
}

void CMainFrame::ShowPane(int screen, bool cached) {
    const CScreenDesc& desc = m_screens[static_cast<size_t>(screen)];
    CScreenSlot& slot = m_slots[static_cast<size_t>(screen)];
    if (m_pCurrentPane) m_pCurrentPane->EnableWindow(FALSE);
    if (!cached && desc.createPane) {
        slot.pane = desc.createPane(*this, m_paneSlot);
        if (slot.pane) m_paneSlot->addWidget(slot.pane->GetWidget());
    }
    m_pCurrentPane = slot.pane.get();
    if (!m_pCurrentPane) {
        m_paneSlot->setCurrentIndex(0);
        return;
    }
    m_paneSlot->setCurrentWidget(m_pCurrentPane->GetWidget());
    m_pCurrentPane->EnableWindow(TRUE);
    if (auto* selector = dynamic_cast<CKelvardinFilterView*>(m_pCurrentPane)) {
        selector->GetEdit().SetText(LoadResString(desc.caption));
        selector->m_nViewID = screen;
        // A new pane shows its choice; a pane the user collapsed stays so.
        if (!cached) selector->GetEdit().Expand();
    }
    if (cached) {
        m_pCurrentPane->OnUpdate(nullptr, CUpdateHint::kSelection.ToParam(), nullptr);
        m_pCurrentPane->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    } else {
        m_pCurrentPane->OnInitialUpdate();
    }
}

void CMainFrame::ShowView(int screen, bool cached) {
    const CScreenDesc& desc = m_screens[static_cast<size_t>(screen)];
    CScreenSlot& slot = m_slots[static_cast<size_t>(screen)];
    if (m_pCurrentView) m_pCurrentView->EnableWindow(FALSE);
    if (!cached) {
        slot.view = desc.createView(*this, m_viewSlot);
        if (slot.view) m_viewSlot->addWidget(slot.view->GetWidget());
    }
    m_pCurrentView = slot.view.get();
    m_pCurrentGrid = dynamic_cast<CKelvardinGridView*>(m_pCurrentView);
    if (!m_pCurrentView) {
        m_viewSlot->setCurrentIndex(0);
        return;
    }
    m_viewSlot->setCurrentWidget(m_pCurrentView->GetWidget());
    m_pCurrentView->EnableWindow(TRUE);
    // A screen shown again from the cache is brought up to date, whatever kind it is: it
    // heard no hints while hidden.
    if (cached) {
        m_pCurrentView->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    } else {
        m_pCurrentView->OnInitialUpdate();
    }
    if (isVisible()) m_pCurrentView->SetFocus();
}

void CMainFrame::ShowScreen(int screen) {
    if (!HasScreen(screen)) return;
    if (screen != m_nCurrent) PushHistory(GetViewContext(m_nCurrent));
    SwitchToView(screen);
}

void CMainFrame::PushHistory(const CContext& context) {
    m_history.Push(context);
    // Back may be available now.
    UpdateCommandUI();
}

void CMainFrame::GoToContext(const CContext& context, CStack<CContext>& other) {
    const int target = m_history.GoTo(context, other, m_nCurrent);
    if (target >= 0) SwitchToView(target);
}

bool CMainFrame::IsCurrentScreen(const CView& view) const {
    return m_pCurrentGrid && static_cast<const CView*>(m_pCurrentGrid) == &view;
}

void CMainFrame::UpdateAllFrameViews(CView* sender, CUpdateHint hint, LPARAM object) {
    // A view that reacts may switch the screen: the panes are taken as they are now.
    const std::vector<CView*> panes = {m_pCurrentPane, m_pCurrentView, m_navView.get()};
    for (CView* view : panes) {
        if (view && view != sender)
            view->OnUpdate(sender, hint.ToParam(), reinterpret_cast<void*>(object));
    }
}

void CMainFrame::UpdateAllViews(CView* sender, CUpdateHint hint, LPARAM object) {
    std::vector<CView*> views;
    for (const CScreenSlot& slot : m_slots) {
        if (slot.pane) views.push_back(slot.pane.get());
        if (slot.view) views.push_back(slot.view.get());
    }
    if (m_navView) views.push_back(m_navView.get());
    for (CView* view : views) {
        if (view != sender) view->OnUpdate(sender, hint.ToParam(), reinterpret_cast<void*>(object));
    }
}

LRESULT CMainFrame::AskActiveViewForChanges() {
    return m_pCurrentView ? m_pCurrentView->SendMessage(WM_SCREEN_HAS_CHANGES, 0, 0) : 0;
}

bool CMainFrame::FindGridCell(const CObjSpec& objSpec, const CObjSpec& fieldSpec, int& row,
                              int& col) {
    CKelvardinGridCtrl* grid = m_pCurrentGrid ? m_pCurrentGrid->GetGrid() : nullptr;
    if (!grid) return false;
    CCellID cell;
    grid->FindCellForObject(cell, objSpec, fieldSpec);
    row = cell.row;
    col = cell.col;
    return cell.IsValid();
}

void CMainFrame::SelectGridCell(int row, int col, bool select) {
    CKelvardinGridCtrl* grid = m_pCurrentGrid ? m_pCurrentGrid->GetGrid() : nullptr;
    if (!grid || !grid->IsValid(row, col)) return;
    if (select) {
        if (grid->IsSelectable()) grid->SetSelectedRange(row, col, row, col);
        grid->SetFocusCell(row, col);
        grid->EnsureVisible(row, col);
    } else {
        grid->SetItemState(row, col, grid->GetItemState(row, col) | CELL_SELECTED);
    }
    grid->RedrawCell(row, col);
}

void CMainFrame::RepaintCurrentGrid() {
    if (m_pCurrentGrid && m_pCurrentGrid->GetGrid()) m_pCurrentGrid->GetGrid()->Invalidate();
}

CString CMainFrame::GetFilterText() const {
    CString text;
    if (const auto* selector = dynamic_cast<const CKelvardinFilterView*>(m_pCurrentPane))
        selector->GetFilterText(text);
    return text;
}

std::optional<DWORD> CMainFrame::GetCurrentGridHelpID() const {
    if (!m_pCurrentGrid) return std::nullopt;
    return m_pCurrentGrid->GetHelpID();
}
