#pragma once

#include <QApplication>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "link/comm_udp.h"
#include "link/cv_data_mgr.h"
#include "link/link_timing.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/nested_loop.h"
#include "res/command_ids.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/kelvardin_grid_view.h"
#include "screens/base/screen_host.h"
#include "screens/base/screen_messages.h"
#include "screens/cells/kelvardin_grid_cell.h"
#include "tests/model/edit_fixture.h"

// The main window as the screens see it: which screen is current, the contexts and history,
// the header texts and the shell's dialogs, all recorded and scripted.
class CFakeScreenHost : public IScreenHost {
public:
    explicit CFakeScreenHost(CFakeUndoHost& undo) : m_undo(undo) {}

    CKelvardinDoc* GetDocument() override { return m_undo.GetActiveDocument(); }
    bool IsCurrentScreen(const CView& view) const override { return current == &view; }
    CContext& GetViewContext(int screen) override { return contexts[static_cast<size_t>(screen)]; }
    void PushHistory(const CContext& context) override { pushed.push_back(context); }
    CString GetFrameText() const override { return frameText; }
    CString GetFilterText() const override { return filterText; }
    CView* GetCurrentPane() const override { return pane; }
    QWidget* GetWindow() override { return nullptr; }
    int AskClearChanges(int preset) override {
        presets.push_back(preset);
        return clearAnswer;
    }
    void WinHelp(DWORD id, UINT command) override { help.emplace_back(id, command); }
    void PostCommand(UINT id) override { commands.push_back(id); }
    void ClearAllocations(int icom) override { clearedAllocations.push_back(icom); }
    void SetMaintMode(int trunk) override { maintenance.emplace_back(trunk, true); }
    void ClearMaintMode(int trunk) override { maintenance.emplace_back(trunk, false); }
    bool SearchForIntercom(int icom, const CString& name, CString& foundName, CString& primary,
                           CString& backup) override {
        searches.emplace_back(icom, name);
        if (!found) return false;
        foundName = name;
        primary = found->first;
        backup = found->second;
        return true;
    }
    CCVDataMgr& GetDataMgr() override { return dataMgr; }
    const CScreenTiming& GetScreenTiming() const override { return timing; }

    const CView* current = nullptr;
    CView* pane = nullptr;
    std::array<CContext, 12> contexts{};
    std::vector<CContext> pushed;
    CString frameText;
    CString filterText;
    std::vector<int> presets;
    int clearAnswer = -1;
    std::vector<std::pair<DWORD, UINT>> help;
    std::vector<UINT> commands;
    std::vector<int> clearedAllocations;
    std::vector<std::pair<int, bool>> maintenance;
    std::vector<std::pair<int, CString>> searches;
    std::optional<std::pair<CString, CString>> found;
    CCVDataMgr dataMgr;
    CScreenTiming timing;

private:
    CFakeUndoHost& m_undo;
};

// A grid whose drags are dropped at a chosen cell of itself, as the user's mouse would, after
// what the test lets happen meanwhile as the event loop goes on under a real drag.
class CDragGrid : public CKelvardinGridCtrl {
public:
    CCellID target;
    DWORD keyState = 0;
    std::function<void()> meanwhile;

protected:
    DROPEFFECT DoDragDrop(COleDataSource& source) override {
        if (meanwhile) meanwhile();
        COleDataObject data(source.GetText(), this);
        CRect rect;
        GetCellRect(target, &rect);
        const DROPEFFECT effect = OnDragEnter(&data, keyState, rect.CenterPoint());
        return OnDrop(&data, effect, rect.CenterPoint()) ? effect : DROPEFFECT_NONE;
    }
};

// A screen whose grid's drags drop where the test says.
template <class View>
class CDragView : public View {
public:
    using View::View;

protected:
    std::unique_ptr<CKelvardinGridCtrl> NewGridCtrl() override {
        return std::make_unique<CDragGrid>();
    }
};

// A screen over one column table: row r shows record r - 1 of the table's object type, the
// first column is fixed. It remembers the user's sort and replays it, and records what the
// framework asks of it.
class CTestScreen : public CKelvardinGridView {
public:
    CTestScreen(IScreenHost& host, std::vector<ColumnDesc> columns, int records,
                CString widthsValue = u"TestColumnWidths")
        : CKelvardinGridView(host), m_columns(std::move(columns)), m_records(records) {
        m_strWidthsValue = widthsValue;
    }

    void SetupGrid() override {
        CKelvardinGridCtrl& grid = *GetGrid();
        grid.SetRowCount(m_records + 1);
        grid.SetColumnCount(static_cast<int>(m_columns.size()));
        grid.SetFixedRowCount(1);
        grid.SetFixedColumnCount(m_columns.empty() ? 0 : 1);
        ApplyColumnTable(m_columns);
        for (int row = 1; row <= m_records; ++row) {
            for (size_t c = 0; c < m_columns.size(); ++c) {
                const int col = static_cast<int>(c);
                auto* cell = dynamic_cast<CKelvardinGridCell*>(grid.GetCell(row, col));
                const ColumnDesc& desc = m_columns[c];
                cell->SetObjSpec(
                    CObjSpec(desc.objectType, static_cast<DWORD>(row - 1), desc.fieldId));
                if (CKelvardinDoc::IsReadOnlyObjectID(static_cast<int>(desc.fieldId)))
                    grid.SetItemState(row, col, grid.GetItemState(row, col) | CELL_READONLY);
            }
        }
        if (m_sortColumn >= 0) ReplaySort(m_sortColumn, m_sortAscending);
        if (refreshWhileSetUp) OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    }
    DWORD GetHelpID() override { return 0x2801D; }
    void UpdateGrid() override { ++updates; }
    // Another configuration's columns, shown from the next rebuild on.
    void SetColumns(std::vector<ColumnDesc> columns) { m_columns = std::move(columns); }
    void OnColumnClick(int column, int ascending) override {
        m_sortColumn = column;
        m_sortAscending = ascending;
    }
    LRESULT OnGridRClick(NM_GRIDVIEW* record) override {
        menus.emplace_back(record->iRow, record->iColumn);
        return 0;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_GRID_KEYDOWN) {
            keys.push_back(static_cast<UINT>(wParam));
            return wParam == consumedKey;
        }
        return CKelvardinGridView::WindowProc(message, wParam, lParam);
    }
    BOOL OnCmdMsg(UINT id, CCmdUI* update) override {
        if (!update && id == ID_EDIT_CELL) cellCommands++;
        return CKelvardinGridView::OnCmdMsg(id, update);
    }

    // The text column c shows in each data row, top down.
    std::vector<CString> Column(int c) const {
        std::vector<CString> texts;
        for (int row = 1; row < GetGrid()->GetRowCount(); ++row)
            texts.push_back(GetGrid()->GetItemText(row, c));
        return texts;
    }
    CKelvardinGridCell& Cell(int row, int col) const {
        return dynamic_cast<CKelvardinGridCell&>(*GetGrid()->GetCell(row, col));
    }
    using CKelvardinGridView::m_nHelpOffset;
    using CKelvardinGridView::OnContextMenuKey;

    // As the intercom screens do: a refresh before the widths are laid out.
    bool refreshWhileSetUp = false;
    int updates = 0;
    std::vector<std::pair<int, int>> menus;
    std::vector<UINT> keys;
    WPARAM consumedKey = 0;
    int cellCommands = 0;

protected:
    std::vector<ColumnDesc> m_columns;
    int m_records;
    int m_sortColumn = -1;
    BOOL m_sortAscending = TRUE;
};

// The event loop turned until the screen's paint tick has painted what the replies changed
// and put the rows back in order.
inline void WaitForPaintTick(const CKelvardinGridView& view) {
    PumpWaitingMessages([&] { return !view.IsPaintPending(); }, 5000);
    QApplication::processEvents();
}

// The main window's part in the hints: the views shown hear the frame's hints, every view
// the others. Each hint is recorded.
class CFrameViews : public IDocViews {
public:
    void UpdateAllViews(CView* sender, CUpdateHint hint, LPARAM object) override {
        Send(all, sender, hint, object);
    }
    void UpdateAllFrameViews(CView* sender, CUpdateHint hint, LPARAM object) override {
        hints.push_back(hint);
        Send(shown, sender, hint, object);
    }
    std::vector<CView*> shown;
    std::vector<CView*> all;
    std::vector<CUpdateHint> hints;

private:
    static void Send(std::vector<CView*> views, CView* sender, CUpdateHint hint, LPARAM object) {
        for (CView* view : views) {
            if (view != sender)
                view->OnUpdate(sender, hint.ToParam(), reinterpret_cast<void*>(object));
        }
    }
};

// Connects a data manager to a simulated controller on the loopback address, with short
// time-outs; the link's messages go to the sink.
inline bool ConnectToSimulator(CCVDataMgr& mgr, IMessageSink& sink, WORD port) {
    CLinkTiming timing;
    timing.udpReadTimeoutMs = 500;
    timing.engineWaitMs = 100;
    timing.pollIntervalMs = 500;
    mgr.SetTiming(timing);
    mgr.SetUdpTarget(TRUE);
    auto comm = std::make_unique<CCommUDP>(&sink, port);
    comm->SetReadTimeout(timing.udpReadTimeoutMs);
    CString error;
    return comm->Open(u"127.0.0.1", error) && mgr.Connect(std::move(comm), &sink, TRUE);
}

// A document of intercoms, a fake main window and screens shown in a top-level widget.
class ScreenTest : public EditTest {
protected:
    void SetUp() override {
        EditTest::SetUp();
        m_app.m_bAllowDragDrop = TRUE;
        window.resize(700, 400);
        window.show();
    }

    // A screen over the first records of the type, made and shown as the current screen.
    std::unique_ptr<CTestScreen> Show(std::vector<ColumnDesc> columns, int records,
                                      CString widthsValue = u"TestColumnWidths") {
        auto screen = std::make_unique<CTestScreen>(host, std::move(columns), records, widthsValue);
        screen->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 680, 380), &window, 20100);
        host.current = screen.get();
        screen->OnInitialUpdate();
        QApplication::processEvents();
        return screen;
    }

    QWidget window;
    CFakeScreenHost host{m_host};
};
