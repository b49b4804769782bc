// The grid's cost in virtual mode against its own size and against Qt's table view, on the
// offscreen platform: one paint of the full viewport, then one page scrolled and painted, in a
// grid of 100 rows and of 100,000 rows and in a QTableView over a QAbstractTableModel of
// 100,000 rows with the same texts. Then a sort of 100,000 rows by a text column against
// std::stable_sort of the same texts on their own.
//
// grid_bench [rounds, default 30]

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "bench/bench_stats.h"
#include "grid/grid_ctrl.h"
#include "platform/ui/qt_convert.h"

namespace {

constexpr int kColumns = 8;
constexpr int kRowHeight = 20;
constexpr int kColumnWidth = 90;
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kSortRows = 100000;
constexpr double kSizeTarget = 1.2;
constexpr double kViewTarget = 1.5;
constexpr double kSortTarget = 1.5;

CString CellText(int row, int col) {
    return CString::FromUtf8("R" + std::to_string(row) + " C" + std::to_string(col));
}

// The texts of every cell, made once, lent to the grid and handed to the view.
struct Texts {
    explicit Texts(int rows) {
        cells.reserve(static_cast<size_t>(rows) * kColumns);
        for (int row = 0; row < rows; ++row) {
            for (int col = 0; col < kColumns; ++col)
                cells.push_back(CellText(row, col));
        }
    }
    const CString& At(int row, int col) const {
        return cells[static_cast<size_t>(row) * kColumns + static_cast<size_t>(col)];
    }
    std::vector<CString> cells;
};

class CBenchGrid {
public:
    explicit CBenchGrid(const Texts& texts) : m_texts(texts) {
        m_owner.Create(WS_VISIBLE, CRect(0, 0, kWidth, kHeight), static_cast<QWidget*>(nullptr), 1);
        m_grid.Create(CRect(0, 0, kWidth, kHeight), &m_owner, 1003,
                      WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL);
        m_grid.EnableVirtualMode();
        m_grid.SetCallbackFunc(&CBenchGrid::Cell, reinterpret_cast<LPARAM>(this));
        m_grid.SetRowCount(static_cast<int>(texts.cells.size() / kColumns));
        m_grid.SetColumnCount(kColumns);
        m_grid.SetFixedRowCount(1);
        m_grid.SetFixedColumnCount(1);
        for (int row = 0; row < m_grid.GetRowCount(); ++row)
            m_grid.SetRowHeight(row, kRowHeight);
        for (int col = 0; col < kColumns; ++col)
            m_grid.SetColumnWidth(col, kColumnWidth);
        m_owner.GetWidget()->show();
        QApplication::processEvents();
    }
    void Paint() { m_grid.GetClientWidget()->repaint(); }
    void Scroll(bool down) { m_grid.OnVScroll(down ? SB_PAGEDOWN : SB_PAGEUP, 0); }

private:
    static CGridCellBase* Cell(int row, int col, UINT state, LPARAM param, CGridCtrl*) {
        auto* self = reinterpret_cast<CBenchGrid*>(param);
        self->m_cell.SetState(state);
        self->m_cell.SetText(self->m_texts.At(row, col));
        return &self->m_cell;
    }

    const Texts& m_texts;
    CWnd m_owner;
    CGridCtrl m_grid;
    CGridCell m_cell;
};

class CTextModel : public QAbstractTableModel {
public:
    explicit CTextModel(const Texts& texts) : m_texts(texts) {}
    int rowCount(const QModelIndex& = {}) const override {
        return static_cast<int>(m_texts.cells.size() / kColumns);
    }
    int columnCount(const QModelIndex& = {}) const override { return kColumns; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole) return {};
        return ToQString(m_texts.At(index.row(), index.column()));
    }

private:
    const Texts& m_texts;
};

class CBenchView {
public:
    explicit CBenchView(const Texts& texts) : m_model(texts) {
        m_view.setModel(&m_model);
        m_view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        m_view.verticalHeader()->setDefaultSectionSize(kRowHeight);
        m_view.horizontalHeader()->setDefaultSectionSize(kColumnWidth);
        m_view.resize(kWidth, kHeight);
        m_view.show();
        QApplication::processEvents();
    }
    void Paint() { m_view.viewport()->repaint(); }
    void Scroll(bool down) {
        m_view.verticalScrollBar()->triggerAction(down ? QAbstractSlider::SliderPageStepAdd
                                                       : QAbstractSlider::SliderPageStepSub);
    }

private:
    CTextModel m_model;
    QTableView m_view;
};

// One paint of the viewport, then one page scrolled and painted; the scroll goes down and up
// in turn so that every round stays near the top.
template <class Table>
double PaintAndScroll(Table& table, int round) {
    return Time([&] {
        table.Paint();
        table.Scroll(round % 2 == 0);
        table.Paint();
    });
}

// Random texts of 6 to 12 letters, as names and alphas run.
std::vector<CString> RandomTexts(std::mt19937& random) {
    std::vector<CString> texts;
    texts.reserve(kSortRows);
    for (int i = 0; i < kSortRows; ++i) {
        std::u16string text(6 + random() % 7, u'A');
        for (char16_t& ch : text)
            ch = static_cast<char16_t>(u'A' + random() % 26);
        texts.emplace_back(std::move(text));
    }
    return texts;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;

    const Texts small(100);
    const Texts large(100000);
    CBenchGrid smallGrid(small);
    CBenchGrid largeGrid(large);
    CBenchView largeView(large);
    std::vector<double> smallTimes;
    std::vector<double> largeTimes;
    std::vector<double> viewTimes;
    for (int round = -3; round < rounds; ++round) {
        const double s = PaintAndScroll(smallGrid, round);
        const double l = PaintAndScroll(largeGrid, round);
        const double v = PaintAndScroll(largeView, round);
        if (round < 0) continue;  // warming up
        smallTimes.push_back(s);
        largeTimes.push_back(l);
        viewTimes.push_back(v);
    }
    const double smallMedian = Median(smallTimes);
    const double largeMedian = Median(largeTimes);
    const double viewMedian = Median(viewTimes);
    std::printf("paint a %dx%d viewport, scroll one page, paint again; %d rounds\n", kWidth,
                kHeight, rounds);
    std::printf("  virtual grid, 100 rows:        median %7.3f ms\n", smallMedian * 1e3);
    std::printf("  virtual grid, 100,000 rows:    median %7.3f ms\n", largeMedian * 1e3);
    std::printf("  QTableView, 100,000 rows:      median %7.3f ms\n", viewMedian * 1e3);
    const bool sizeOk = Report("100,000 rows / 100 rows:", largeMedian / smallMedian, kSizeTarget);
    const bool viewOk = Report("grid / QTableView:", largeMedian / viewMedian, kViewTarget);

    // The sort: a grid of stored cells, its texts dealt afresh before each round.
    CWnd owner;
    owner.Create(WS_VISIBLE, CRect(0, 0, kWidth, kHeight), static_cast<QWidget*>(nullptr), 1);
    CGridCtrl grid;
    grid.Create(CRect(0, 0, kWidth, kHeight), &owner, 1003);
    grid.SetColumnCount(2);
    grid.SetRowCount(kSortRows + 1);
    grid.SetFixedRowCount(1);
    std::mt19937 random(1);
    std::vector<double> gridSorts;
    std::vector<double> plainSorts;
    const int sortRounds = std::max(3, rounds / 3);
    for (int round = 0; round < sortRounds; ++round) {
        std::vector<CString> texts = RandomTexts(random);
        for (int row = 0; row < kSortRows; ++row)
            grid.GetCell(row + 1, 1)->SetText(texts[static_cast<size_t>(row)]);
        gridSorts.push_back(Time([&] { grid.SortItems(1, TRUE); }));
        plainSorts.push_back(Time([&] {
            std::stable_sort(texts.begin(), texts.end(),
                             [](const CString& a, const CString& b) { return a.str() < b.str(); });
        }));
    }
    const double gridSort = Median(gridSorts);
    const double plainSort = Median(plainSorts);
    std::printf("sort %d rows by a text column; %d rounds\n", kSortRows, sortRounds);
    std::printf("  grid SortItems:       median %7.2f ms\n", gridSort * 1e3);
    std::printf("  std::stable_sort:     median %7.2f ms\n", plainSort * 1e3);
    const bool sortOk = Report("grid / stable_sort:", gridSort / plainSort, kSortTarget);
    return sizeOk && viewOk && sortOk ? 0 : 1;
}
