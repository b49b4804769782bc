// Undo and Redo on the trunk definitions screen over 10,000 trunks, each against the edit it
// takes back: Delete over the whole Icom 1 column (10,000 ends cleared), and a paste of 10,000
// ports into the Port column of end 1. The steps go through the main window's undo history.
//
// undo_bench [rounds, default 5]

#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/bench_window.h"
#include "platform/base/profile.h"
#include "platform/ui/drag_drop.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/trunks/trunk_defs_view.h"
#include "shell/main_frame/undo_history.h"
#include "shell/nav/nav_history.h"

namespace {

constexpr int kTrunks = 10000;
constexpr int kIntercoms = 200;
constexpr WORD kPortsInUse = kTrunks / kIntercoms;
constexpr int kWidth = 1000;
constexpr int kHeight = 600;
// The columns without the out-of-service one.
constexpr int kIcom1Column = 2;
constexpr int kPort1Column = 3;
constexpr double kTarget = 2.0;

// End 1 of trunk t on intercom t % 200, end 2 on the next intercom, each on a port of its own
// with an alpha; the ports the paste gives are free and have alphas too.
void FillSetup(CKelvardinDoc& doc) {
    for (int icom = 0; icom < kIntercoms; ++icom)
        doc.SetIcomNameFromController(icom, 4, CString::Formatted(u"I%03d", icom), FALSE);
    for (int trunk = 0; trunk < kTrunks; ++trunk) {
        const auto icom = static_cast<BYTE>(trunk % kIntercoms);
        const auto port = static_cast<WORD>(trunk / kIntercoms);
        const CAssign end1(icom, 0, port);
        const CAssign end2(static_cast<BYTE>((icom + 1) % kIntercoms), 0, port + kPortsInUse);
        const CAssign pasted(icom, 0, port + 2 * kPortsInUse);
        doc.SetTrunkEnd(end1, TRUE, FALSE, trunk);
        doc.SetTrunkEnd(end2, FALSE, FALSE, trunk);
        for (const CAssign& assign : {end1, end2, pasted})
            doc.StoreAlpha(assign, CString::Formatted(u"P%03d", assign.m_number + 1));
    }
}

// The main window with its undo history.
class CUndoWindow : public CBenchWindow {
public:
    explicit CUndoWindow(CKelvardinDoc& doc)
        : CBenchWindow(&doc),
          m_history(
              doc, m_navigation,
              {.current = [] { return 0; }, .showing = [] { return false; }, .show = [](int) {}}) {}

    void AddUndo(std::unique_ptr<CUndoObject> record) override { m_history.Add(std::move(record)); }
    void AddUndoList(std::unique_ptr<CUndoObList> list) override {
        m_history.AddList(std::move(list));
    }
    void BeginUndoGroup(bool open) override { m_history.BeginGroup(open); }
    void TakeBackUndoGroup() override { m_history.TakeBackGroup(); }

    // As the main window's commands; false when no step went.
    bool Undo() {
        const size_t steps = m_history.UndoStack().GetCount();
        m_history.Undo();
        return m_history.UndoStack().GetCount() < steps;
    }
    bool Redo() {
        const size_t steps = m_history.RedoStack().GetCount();
        m_history.Redo();
        return m_history.RedoStack().GetCount() < steps;
    }

private:
    CNavHistory m_navigation;
    CUndoHistory m_history;
};

// The Port column's texts of the paste, one line a trunk.
CString PastedPorts() {
    CString text;
    for (int trunk = 0; trunk < kTrunks; ++trunk)
        text += CString::Formatted(u"%d\n", trunk / kIntercoms + 2 * kPortsInUse + 1);
    return text;
}

// Whether every trunk's end 1 is as the edit leaves it.
bool EveryEndIs(const CKelvardinDoc& doc, bool (*edited)(const CAssign& end, int trunk)) {
    for (int trunk = 0; trunk < kTrunks; ++trunk) {
        if (!edited(doc.GetTrunkEnd(trunk, TRUE), trunk)) return false;
    }
    return true;
}

struct CTimes {
    std::vector<double> edit;
    std::vector<double> undo;
    std::vector<double> redo;
};

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qt(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    CMemoryProfile profile;
    CAppState app(profile);
    CCVConfig& config = app.GetConfig();
    config.m_wNumTrunks = kTrunks;
    config.m_wNumIntercoms = kIntercoms;
    config.RefreshCapabilitySet();
    app.m_nVisibleTrunks = kTrunks;
    CKelvardinDoc doc;
    CUndoWindow host(doc);
    doc.ResetToDefaultSetup();
    FillSetup(doc);

    QWidget window;
    window.resize(kWidth, kHeight);
    window.show();
    CTrunkDefsView view(host);
    view.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &window, 20100);
    host.screen = &view;
    view.OnInitialUpdate();
    QApplication::processEvents();
    CKelvardinGridCtrl& grid = *view.GetGrid();
    const int lastRow = grid.GetRowCount() - 1;

    CTimes clear;
    CTimes paste;
    bool whole = true;
    const auto round = [&](CTimes& times, auto edit, auto edited) {
        times.edit.push_back(Time(edit));
        whole = EveryEndIs(doc, edited) && whole;
        times.undo.push_back(Time([&] { whole = host.Undo() && whole; }));
        times.redo.push_back(Time([&] { whole = host.Redo() && whole; }));
        whole = host.Undo() && whole;
        QApplication::processEvents();
    };
    const COleDataObject ports(PastedPorts());
    for (int i = 0; i < rounds; ++i) {
        round(
            clear,
            [&] {
                grid.SetSelectedRange(1, kIcom1Column, lastRow, kIcom1Column);
                grid.CutSelectedText();
            },
            [](const CAssign& end, int) { return end == CAssign(); });
        round(
            paste,
            [&] {
                COleDataObject data = ports;
                grid.PasteWithUndo(1, kPort1Column, &data);
            },
            [](const CAssign& end, int trunk) {
                return end.m_number == trunk / kIntercoms + 2 * kPortsInUse;
            });
    }

    std::printf("trunk definitions over %d trunks; %d rounds, medians\n", kTrunks, rounds);
    std::printf("  %-34s %10s %10s %10s\n", "", "edit", "Undo", "Redo");
    const auto line = [](const char* what, const CTimes& times) {
        std::printf("  %-34s %7.1f ms %7.1f ms %7.1f ms\n", what, Median(times.edit) * 1e3,
                    Median(times.undo) * 1e3, Median(times.redo) * 1e3);
    };
    line("Delete over Icom 1 (10,000 ends)", clear);
    line("paste into Port 1 (10,000 ports)", paste);
    bool ok = whole;
    if (!whole) std::printf("  an edit did not land whole, or a step did not go\n");
    const auto ratio = [](const std::vector<double>& a, const std::vector<double>& b) {
        return Median(a) / Median(b);
    };
    ok = Report("Undo of the Delete / the Delete:", ratio(clear.undo, clear.edit), kTarget) && ok;
    ok = Report("Redo of the Delete / the Delete:", ratio(clear.redo, clear.edit), kTarget) && ok;
    ok = Report("Undo of the paste / the paste:", ratio(paste.undo, paste.edit), kTarget) && ok;
    ok = Report("Redo of the paste / the paste:", ratio(paste.redo, paste.edit), kTarget) && ok;
    return ok ? 0 : 1;
}
