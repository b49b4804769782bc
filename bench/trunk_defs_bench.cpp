// The trunk definitions screen over 10,000 trunks against the same screen over 100 trunks, on
// the offscreen platform: one paint of the viewport, one page scrolled and painted, and a
// header sort by the first intercom column; the sort also against a QSortFilterProxyModel
// sort of the same texts in a QTableView, in the same run.
//
// trunk_defs_bench [rounds, default 30]

#include <QAbstractTableModel>
#include <QApplication>
#include <QSortFilterProxyModel>
#include <QTableView>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "bench/bench_window.h"
#include "platform/base/profile.h"
#include "platform/ui/qt_convert.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/trunks/trunk_defs_view.h"

namespace {

constexpr int kLargeTrunks = 10000;
constexpr int kSmallTrunks = 100;
constexpr int kIntercoms = 200;
constexpr int kWidth = 1000;
constexpr int kHeight = 600;
constexpr int kIcom1Column = 3;
constexpr double kScrollTarget = 1.2;
constexpr double kSortTarget = 1.5;

// Named intercoms and trunks between them in no particular order, each end with an alpha.
void FillSetup(CKelvardinDoc& doc) {
    std::mt19937 random(7);
    for (int icom = 0; icom < kIntercoms; ++icom) {
        std::u16string name(4, u'A');
        for (char16_t& ch : name)
            ch = static_cast<char16_t>(u'A' + random() % 26);
        doc.SetIcomNameFromController(icom, 4, name, FALSE);
    }
    for (int trunk = 0; trunk < kLargeTrunks; ++trunk) {
        auto& record = dynamic_cast<CTrunk&>(*doc.FindObject(CTrunkSpec(trunk, 1)));
        for (BOOL first : {TRUE, FALSE}) {
            const CAssign end(static_cast<BYTE>(random() % kIntercoms), 0,
                              static_cast<WORD>(random() % 500));
            record.SetEndpoint(first, end, FALSE);
            doc.StoreAlpha(end, CString::Formatted(u"P%03d", end.m_number));
        }
        record.SetState(random() % 3);
    }
}

// One trunk definitions screen in a window of its own.
class CBenchScreen {
public:
    CBenchScreen(CBenchWindow& host, int trunks) : m_view(host) {
        GetApp().m_nVisibleTrunks = trunks;
        m_window.resize(kWidth, kHeight);
        m_window.show();
        m_view.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &m_window, 20100);
        host.screen = &m_view;
        m_view.OnInitialUpdate();
        QApplication::processEvents();
    }
    CKelvardinGridCtrl& Grid() { return *m_view.GetGrid(); }
    CTrunkDefsView& View() { return m_view; }
    void Paint() { Grid().GetClientWidget()->repaint(); }
    void Scroll(bool down) { Grid().OnVScroll(down ? SB_PAGEDOWN : SB_PAGEUP, 0); }
    void Sort() {
        CCellID header(0, kIcom1Column);
        Grid().OnFixedRowClick(header);
    }

private:
    QWidget m_window;
    CTrunkDefsView m_view;
};

// The texts the screen shows, for the table view.
class CTextModel : public QAbstractTableModel {
public:
    explicit CTextModel(CKelvardinGridCtrl& grid) : m_columns(grid.GetColumnCount()) {
        for (int row = 1; row < grid.GetRowCount(); ++row) {
            for (int col = 0; col < m_columns; ++col)
                m_texts.push_back(ToQString(grid.GetItemText(row, col).str()));
        }
    }
    int rowCount(const QModelIndex& = {}) const override {
        return static_cast<int>(m_texts.size()) / m_columns;
    }
    int columnCount(const QModelIndex& = {}) const override { return m_columns; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole) return {};
        return m_texts[static_cast<size_t>(index.row() * m_columns + index.column())];
    }

private:
    int m_columns;
    std::vector<QString> m_texts;
};

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qt(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;

    CMemoryProfile profile;
    CAppState app(profile);
    CCVConfig& config = app.GetConfig();
    config.m_wNumTrunks = kLargeTrunks;
    config.m_wNumIntercoms = kIntercoms;
    config.m_dwCapabilities = CCVConfig::kOOSTrunks;
    config.RefreshCapabilitySet();
    CKelvardinDoc doc;
    CBenchWindow host(&doc);
    doc.ResetToDefaultSetup();
    FillSetup(doc);

    CBenchScreen small(host, kSmallTrunks);
    CBenchScreen large(host, kLargeTrunks);
    std::vector<double> paint[2];
    std::vector<double> scroll[2];
    std::vector<double> sort[2];
    CBenchScreen* screens[2] = {&small, &large};
    for (int round = -3; round < rounds; ++round) {
        for (int i = 0; i < 2; ++i) {
            CBenchScreen& screen = *screens[i];
            host.screen = &screen.View();
            const double p = Time([&] { screen.Paint(); });
            const double s = Time([&] {
                screen.Scroll(round % 2 == 0);
                screen.Paint();
            });
            const double o = Time([&] { screen.Sort(); });
            QApplication::processEvents();
            if (round < 0) continue;  // warming up
            paint[i].push_back(p);
            scroll[i].push_back(s);
            sort[i].push_back(o);
        }
    }

    // The same texts sorted by a proxy model under a table view.
    CTextModel model(large.Grid());
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    QTableView table;
    table.setModel(&proxy);
    table.setSortingEnabled(false);
    table.resize(kWidth, kHeight);
    table.show();
    QApplication::processEvents();
    std::vector<double> proxySorts;
    for (int round = -3; round < rounds; ++round) {
        const Qt::SortOrder order = round % 2 == 0 ? Qt::AscendingOrder : Qt::DescendingOrder;
        const double t = Time([&] { proxy.sort(kIcom1Column, order); });
        QApplication::processEvents();
        if (round >= 0) proxySorts.push_back(t);
    }

    std::printf("trunk definitions in a %dx%d window; %d rounds, medians\n", kWidth, kHeight,
                rounds);
    std::printf("  %-26s %12s %12s\n", "", "100 trunks", "10,000 trunks");
    const auto line = [&](const char* what, std::vector<double>* times) {
        std::printf("  %-26s %9.3f ms %9.3f ms\n", what, Median(times[0]) * 1e3,
                    Median(times[1]) * 1e3);
    };
    line("paint the viewport", paint);
    line("scroll a page and paint", scroll);
    line("sort by Icom 1", sort);
    std::printf("  %-26s %12s %9.3f ms\n", "QSortFilterProxyModel sort", "",
                Median(proxySorts) * 1e3);
    const bool scrollOk = Report(
        "page scroll, 10,000 / 100 trunks:", Median(scroll[1]) / Median(scroll[0]), kScrollTarget);
    const bool sortOk = Report(
        "sort of 10,000, screen / proxy model:", Median(sort[1]) / Median(proxySorts), kSortTarget);
    return scrollOk && sortOk ? 0 : 1;
}
