#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>

#include <cstdlib>
#include <memory>

#include "model/kelvardin_doc.h"
#include "platform/base/profile.h"
#include "platform/ui/modal.h"
#include "platform/ui/ui_environment.h"
#include "shell/app/kelvardin_app.h"
#include "shell/sheets/partial_save_sheet.h"

namespace {

constexpr int kTrunks = 10000;
constexpr int kIntercoms = 255;
constexpr int kAlphas = 20000;

// Closes every sheet as soon as it shows, so that a run measures opening it.
class CCloseAtOnce : public IModalScript {
public:
    int OnMessageBox(const CString&, UINT, UINT) override { return IDOK; }
    int OnDialog(QDialog&) override { return IDCANCEL; }
    int OnPopupMenu(QMenu&) override { return 0; }
};

// The largest setup: every trunk between two named intercoms, every alpha there is room for,
// a tenth of the trunks in the file last read and a few changed.
class CLargestSetup {
public:
    CLargestSetup() {
        CCVConfig& config = m_app.GetConfig();
        config.m_wNumTrunks = kTrunks;
        config.m_wNumIntercoms = kIntercoms;
        config.m_wNumGroups = 255;
        config.m_wFlags = CCVConfig::kNewCorvane;
        m_app.m_nVisibleTrunks = kTrunks;
        m_doc.ResetToDefaultSetup();
        for (int i = 0; i < kIntercoms; ++i) {
            auto& icom = dynamic_cast<CIntercom&>(*m_doc.FindObject(CIcomSpec(i, 1)));
            icom.SetName(4, CString::Formatted(u"I%03d", i), FALSE);
        }
        for (int t = 0; t < kTrunks; ++t) {
            m_doc.SetTrunkEnd(CAssign(BYTE(t % kIntercoms), 0, WORD(t / kIntercoms)), TRUE, FALSE,
                              t);
            m_doc.SetTrunkEnd(CAssign(BYTE((t + 7) % kIntercoms), 1, WORD(t / kIntercoms)), FALSE,
                              FALSE, t);
            if (t % 10 == 0) m_doc.FindObject(CTrunkSpec(t, 1))->SetFlags(CCVObject::kInFile, TRUE);
            if (t % 97 == 0) m_doc.SetModified(CTrunkSpec(t, CTrunk::kFieldEnd1), TRUE);
        }
        for (int k = 0; k < kAlphas; ++k) {
            const int list = k % (kIntercoms * 7);
            m_doc.StoreAlpha(CAssign(BYTE(list / 7), BYTE(list % 7), WORD(k / (kIntercoms * 7))),
                             CString::Formatted(u"A%05d", k));
        }
    }

    CMemoryProfile m_profile;
    CKelvardinApp m_app{m_profile};
    CUiEnvironment m_environment;
    CCloseAtOnce m_script;
    CKelvardinDoc m_doc;
};

CLargestSetup* g_setup = nullptr;  // made by main, after the application

CLargestSetup& Setup() {
    return *g_setup;
}

void OpenSheet(benchmark::State& state, int page) {
    CLargestSetup& setup = Setup();
    setup.m_environment.SetModalScript(&setup.m_script);
    setup.m_app.m_bAllowAlphasInPartialSave = TRUE;
    setup.m_app.m_bIncludeAlphasInSetupFiles = TRUE;
    for (auto _ : state) {
        CPartialSaveSheet::SetLastPage(page);
        CPartialSaveSheet sheet(&setup.m_doc);
        benchmark::DoNotOptimize(sheet.DoModal());
    }
    setup.m_environment.SetModalScript(nullptr);
}

// The trunks page on the screen, its available list with the focus.
class CTrunksPage {
public:
    CTrunksPage() : m_page(&Setup().m_doc) {
        m_page.Create();
        m_page.resize(800, 600);
        m_page.show();
        m_page.activateWindow();
        m_page.GetAvailableList()->setFocus();
        for (int i = 0; i < 100 && !m_page.GetFocusedList(); ++i)
            QApplication::processEvents();
    }
    CPSPageTrunks m_page;
};

void SelectAll(benchmark::State& state) {
    CTrunksPage trunks;
    CKelvardinListCtrl& list = *trunks.m_page.GetAvailableList();
    int selected = 0;
    for (auto _ : state) {
        trunks.m_page.OnSelectAll();
        QApplication::processEvents();  // and its repaint
        state.PauseTiming();
        selected = CPSListDragPage::CountSelectedRows(list);
        list.clearSelection();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["rows"] = list.GetItemCount();
    state.counters["selected"] = selected;
}

// From everything selected, and from every other row selected (the most runs there can be).
void Invert(benchmark::State& state) {
    CTrunksPage trunks;
    CKelvardinListCtrl& list = *trunks.m_page.GetAvailableList();
    const bool scattered = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        list.clearSelection();
        if (scattered) {
            QItemSelection rows;
            for (int row = 0; row < list.GetItemCount(); row += 2)
                rows.select(list.model()->index(row, 0), list.model()->index(row, 2));
            list.selectionModel()->select(rows, QItemSelectionModel::Select);
        } else {
            trunks.m_page.OnSelectAll();
        }
        QApplication::processEvents();
        state.ResumeTiming();
        trunks.m_page.OnInvertSelection();
        QApplication::processEvents();
    }
    state.counters["selected"] = CPSListDragPage::CountSelectedRows(list);
}

void AddEveryTrunk(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Setup().m_doc.SetFlagOnAll(CCVObject::kPartialChoice, FALSE);
        auto trunks = std::make_unique<CTrunksPage>();
        CPSPageTrunks& page = trunks->m_page;
        page.OnSelectAll();
        state.ResumeTiming();
        page.MoveItems(*page.GetAvailableList(), *page.GetChosenList());
        QApplication::processEvents();
        state.PauseTiming();
        trunks.reset();
        state.ResumeTiming();
    }
}

BENCHMARK_CAPTURE(OpenSheet, trunks_page, 0)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(OpenSheet, alphas_page, 4)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(SelectAll)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(Invert)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(AddEveryTrunk)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    CLargestSetup setup;
    g_setup = &setup;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
