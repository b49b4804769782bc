#include "shell/sheets/ps_list_drag_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"
#include "res/string_table.h"
#include "shell/sheets/partial_save_sheet.h"
#include "shell/sheets/ps_page_layout.h"

namespace {

constexpr int kDataRole = Qt::UserRole;
const QColor kDragBackground(250, 250, 250);

// First and last row of each run of selected rows, in order.
using CRowRuns = std::vector<std::pair<int, int>>;

CRowRuns SelectedRuns(const QTreeWidget& list) {
    CRowRuns runs;
    for (const QItemSelectionRange& range : list.selectionModel()->selection()) {
        if (!range.parent().isValid()) runs.emplace_back(range.top(), range.bottom());
    }
    std::sort(runs.begin(), runs.end());
    CRowRuns merged;
    for (const auto& run : runs) {
        if (!merged.empty() && run.first <= merged.back().second + 1)
            merged.back().second = std::max(merged.back().second, run.second);
        else
            merged.push_back(run);
    }
    return merged;
}

// Makes the runs the whole selection. The selection model compares old ranges with new ones,
// and widens ranges to whole rows one merge at a time, each costing the product of the counts:
// so the old selection goes first, and the ranges come already as wide as the rows.
void SelectRuns(QTreeWidget& list, const CRowRuns& runs) {
    list.clearSelection();
    if (runs.empty()) return;
    QAbstractItemModel* model = list.model();
    const int lastColumn = std::max(0, model->columnCount() - 1);
    QItemSelection selection;
    for (const auto& [first, last] : runs)
        selection.append(
            QItemSelectionRange(model->index(first, 0), model->index(last, lastColumn)));
    list.selectionModel()->select(selection, QItemSelectionModel::Select);
}

// The runs of rows for which the test holds.
CRowRuns RunsWhere(const QTreeWidget& list, const std::function<bool(int row)>& wanted) {
    CRowRuns runs;
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        if (!wanted(row)) continue;
        if (!runs.empty() && runs.back().second == row - 1)
            runs.back().second = row;
        else
            runs.emplace_back(row, row);
    }
    return runs;
}

// A list that tells its page when the user starts to drag its rows, instead of starting a
// drag of its own.
class CPSList : public CKelvardinListCtrl {
public:
    std::function<void()> onBeginDrag;

protected:
    void startDrag(Qt::DropActions) override {
        if (onBeginDrag) onBeginDrag();
    }
};

// Draws the rows of objects with changes in the changed colours; a selected row keeps the
// highlight colours whether or not its list has the focus.
class CChangedRowDelegate : public QStyledItemDelegate {
public:
    CChangedRowDelegate(const CPSListDragPage& page, QWidget& list)
        : QStyledItemDelegate(&list), m_page(page) {
        list.installEventFilter(this);
    }

    // Fitting a column measures up to a thousand rows, and the rows repeat a few names: a
    // text is measured once for as long as the list keeps its font and style. The rows hold
    // nothing but text, so a row's size depends on its text alone.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const auto [size, added] = m_sizes.try_emplace(index.data(Qt::DisplayRole).toString());
        if (added) size->second = QStyledItemDelegate::sizeHint(option, index);
        return size->second;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != parent()) return QStyledItemDelegate::eventFilter(watched, event);
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
            m_sizes.clear();
        return false;
    }

    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const LPARAM data = index.siblingAtColumn(0).data(kDataRole).toLongLong();
        const bool changed = m_page.IsChanged(data);
        const CAppState& app = GetApp();
        QPalette& palette = option->palette;
        if (option->state & QStyle::State_Selected) {
            const COLORREF text =
                changed ? app.m_clrChangedHighlightText : GetSysColor(COLOR_HIGHLIGHTTEXT);
            for (auto group : {QPalette::Active, QPalette::Inactive}) {
                palette.setColor(group, QPalette::Highlight,
                                 ToQColor(GetSysColor(COLOR_HIGHLIGHT)));
                palette.setColor(group, QPalette::HighlightedText, ToQColor(text));
            }
        } else {
            const COLORREF back = changed ? app.m_clrChangedBackground : GetSysColor(COLOR_WINDOW);
            option->backgroundBrush = QBrush(ToQColor(back));
            palette.setColor(QPalette::Text, ToQColor(GetSysColor(COLOR_WINDOWTEXT)));
        }
    }

private:
    const CPSListDragPage& m_page;
    mutable std::unordered_map<QString, QSize> m_sizes;
};

// The picture of the selected rows in view, each where it is in the list; null when none is.
QPixmap MakeDragPicture(CKelvardinListCtrl& list, QPoint& topLeft) {
    const QRect client = list.viewport()->rect();
    std::vector<QRect> rows;
    QRect bounds;
    const QModelIndex top = list.indexAt(QPoint(0, 0));
    for (int row = top.isValid() ? top.row() : 0; row < list.topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = list.topLevelItem(row);
        QRect rect = list.visualItemRect(item);
        if (rect.top() > client.bottom()) break;
        if (!item->isSelected() || !rect.intersects(client)) continue;
        rect.setLeft(client.left());
        rect.setRight(client.right());
        rows.push_back(rect);
        bounds |= rect;
    }
    if (rows.empty()) return {};
    const QPixmap shown = list.viewport()->grab(bounds);
    QPixmap picture(bounds.size());
    picture.fill(kDragBackground);
    QPainter painter(&picture);
    for (const QRect& rect : rows) {
        const QRect inPicture = rect.translated(-bounds.topLeft());
        painter.drawPixmap(inPicture.topLeft(), shown, inPicture);
    }
    topLeft = bounds.topLeft();
    return picture;
}

bool IsUnder(const QWidget& widget, QPoint screenPos) {
    return widget.isVisible() && widget.rect().contains(widget.mapFromGlobal(screenPos));
}

}  // namespace

CPSListDragPage::CPSListDragPage(CPSListPageInfo info, CKelvardinDoc* doc)
    : CKelvardinPage(info.templateId), m_info(std::move(info)), m_doc(doc) {
    setWindowTitle(ToQString(m_info.title));
}

// The lists go first: their row colours ask the page.
CPSListDragPage::~CPSListDragPage() {
    m_focused = nullptr;
    delete std::exchange(m_available, nullptr);
    delete std::exchange(m_chosen, nullptr);
}

void CPSListDragPage::OnInitDialog() {
    m_available = MakeList(kAvailableList);
    m_chosen = MakeList(kChosenList);
    const CPSPageFrame frame = LayOutPSPage(*this, m_info.title, *m_available, *m_chosen);
    m_add = frame.add;
    m_remove = frame.remove;
    m_availableCount = frame.availableCount;
    m_chosenCount = frame.chosenCount;
    connect(m_add, &QPushButton::clicked, this, &CPSListDragPage::OnAdd);
    connect(m_remove, &QPushButton::clicked, this, &CPSListDragPage::OnRemove);

    auto* selection = new QHBoxLayout;
    selection->addWidget(MakeButton(kSelectAll, u"&Select All", &CPSListDragPage::OnSelectAll));
    selection->addWidget(
        MakeButton(kDeselectAll, u"&De-Select All", &CPSListDragPage::OnDeselectAll));
    selection->addWidget(
        MakeButton(kInvertSelection, u"&Invert Selection", &CPSListDragPage::OnInvertSelection));
    selection->addStretch();
    frame.layout->addLayout(selection);
    AddPageControls(*frame.layout);

    FillLists();
}

CKelvardinListCtrl* CPSListDragPage::MakeList(UINT id) {
    auto* list = new CPSList;
    list->setObjectName(QStringLiteral("ctl%1").arg(id));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setDragEnabled(true);
    list->setItemDelegate(new CChangedRowDelegate(*this, *list));
    list->onBeginDrag = [this, list] { BeginDrag(*list); };
    list->installEventFilter(this);
    list->viewport()->installEventFilter(this);
    connect(list, &QTreeWidget::itemSelectionChanged, this, [this, list] {
        if (!m_busy) UpdateCounter(*list);
    });
    return list;
}

QPushButton* CPSListDragPage::MakeButton(UINT id, const char16_t* text,
                                         void (CPSListDragPage::*handler)()) {
    QPushButton* button = MakePSButton(id, text);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

void CPSListDragPage::FillLists() {
    for (CKelvardinListCtrl* list : {m_available, m_chosen}) {
        for (const CPSColumn& column : m_info.columns)
            list->InsertColumn(list->GetColumnCount(), LoadResString(column.headingId), 0);
    }
    FillRows();
    for (CKelvardinListCtrl* list : {m_available, m_chosen}) {
        // Sorted first, so that the headings keep room for the sort mark.
        list->SetSortColumn(GetFirstSortColumn());
        list->AutoSizeColumns();
    }
    UpdateCounters();
}

void CPSListDragPage::FillRows() {
    if (!m_doc) return;
    std::vector<DWORD> fields;
    std::vector<DWORD> alphaFields;
    int secondType = 0;
    for (const CPSColumn& column : m_info.columns) {
        fields.push_back(column.fieldId);
        alphaFields.push_back(column.alphaFieldId);
        if (column.alphaFieldId) secondType = CObjSpec::kAlpha;
    }
    m_doc->FillObjectList(m_info.objectType, fields, secondType, alphaFields, m_available,
                          m_chosen);
}

void CPSListDragPage::RefreshTexts() {
    RefreshRows([](LPARAM) { return true; });
}

CString CPSListDragPage::GetRowText(LPARAM data, int column) const {
    const CPSColumn& shown = m_info.columns[static_cast<size_t>(column)];
    const CObjSpec field(static_cast<DWORD>(m_info.objectType), static_cast<DWORD>(data),
                         shown.fieldId);
    const int secondType = shown.alphaFieldId ? CObjSpec::kAlpha : 0;
    return m_doc->GetObjectListText(field, secondType, shown.alphaFieldId);
}

// Names come in many small replies while the sheet is open: the cost of following them is
// that of what they changed, not that of the whole list.
void CPSListDragPage::RefreshRows(const std::function<bool(LPARAM)>& mayHaveChanged) {
    if (!IsCreated() || !m_doc) return;
    // The lists were first fitted before the page was laid out: the first refresh fits them
    // as they are shown.
    const bool fit = !std::exchange(m_refreshed, true);
    const int columns = static_cast<int>(m_info.columns.size());
    for (CKelvardinListCtrl* list : {m_available, m_chosen}) {
        bool changed = false;
        bool reorder = false;
        list->ChangeTexts([&] {
            for (int row = 0; row < list->GetItemCount(); ++row) {
                const LPARAM data = list->GetItemData(row);
                if (!mayHaveChanged(data)) continue;
                QTreeWidgetItem* item = list->topLevelItem(row);
                for (int column = 0; column < columns; ++column) {
                    const QString text = ToQString(GetRowText(data, column));
                    if (item->text(column) == text) continue;
                    changed = true;
                    reorder = reorder || column == list->GetSortColumn();
                    item->setText(column, text);
                }
            }
            return changed;
        });
        // The rows hold their selection and focus through the sort.
        if (reorder) {
            list->BeginUpdate();
            list->Sort();
            list->EndUpdate();
        }
        if (changed || fit) list->AutoSizeColumns();
    }
}

void CPSListDragPage::Refill() {
    if (!IsCreated() || !m_doc) return;
    // A fresh setup knows nothing of the choice: the rows say what the user chose.
    std::unordered_set<LPARAM> selected;
    for (CKelvardinListCtrl* list : {m_available, m_chosen}) {
        const bool chosen = list == m_chosen;
        for (int row = 0; row < list->GetItemCount(); ++row) {
            const LPARAM data = list->GetItemData(row);
            SetChosen(data, chosen);
            if (list->topLevelItem(row)->isSelected()) selected.insert(data);
        }
        list->DeleteAll();
    }
    m_busy = true;
    FillRows();
    for (CKelvardinListCtrl* list : {m_available, m_chosen}) {
        list->Sort();
        list->AutoSizeColumns();
        SelectRuns(*list, RunsWhere(*list, [&](int row) {
            return selected.contains(list->GetItemData(row));
        }));
    }
    m_busy = false;
    UpdateCounters();
}

void CPSListDragPage::OnSetActive() {
    CPartialSaveSheet::SetLastPage(m_info.pageIndex);
}

CString CPSListDragPage::FormatCount(int selected, int rows) const {
    return SubstituteArgs(LoadResString(m_info.counterId).str(),
                          {CString::Formatted(u"%d", selected), CString::Formatted(u"%d", rows)});
}

bool CPSListDragPage::IsChanged(LPARAM data) const {
    const CObjSpec object(static_cast<DWORD>(m_info.objectType), static_cast<DWORD>(data),
                          CObjSpec::kFieldRecord);
    return m_doc && m_doc->IsModified(object) != 0;
}

void CPSListDragPage::SetChosen(LPARAM data, bool chosen) {
    if (!m_doc) return;
    const CObjSpec object(static_cast<DWORD>(m_info.objectType), static_cast<DWORD>(data),
                          CObjSpec::kFieldRecord);
    if (CCVObject* record = m_doc->FindObject(object))
        record->SetFlags(CCVObject::kPartialChoice, chosen);
}

int CPSListDragPage::GetCompareKind(const CKelvardinListCtrl&, int column, bool) {
    return column == 0 ? kCompareInteger : m_info.compareKind;
}

int CPSListDragPage::CountSelectedRows(const CKelvardinListCtrl& list) {
    int count = 0;
    for (const auto& [first, last] : SelectedRuns(list))
        count += last - first + 1;
    return count;
}

void CPSListDragPage::UpdateCounter(const CKelvardinListCtrl& list) {
    const int selected = CountSelectedRows(list);
    const CString text = FormatCount(selected, list.GetItemCount());
    const bool available = &list == m_available;
    (available ? m_availableCount : m_chosenCount)->setText(ToQString(text));
    (available ? m_add : m_remove)->setEnabled(selected >= 1);
}

void CPSListDragPage::UpdateCounters() {
    UpdateCounter(*m_available);
    UpdateCounter(*m_chosen);
}

CKelvardinListCtrl* CPSListDragPage::OtherList(const CKelvardinListCtrl& list) const {
    return &list == m_available ? m_chosen : m_available;
}

// The rows themselves move from one list to the other, taken out and put back in one step
// each, so that moving thousands of rows costs no more than sorting them.
void CPSListDragPage::MoveItems(CKelvardinListCtrl& from, CKelvardinListCtrl& to) {
    const CRowRuns runs = SelectedRuns(from);
    if (runs.empty()) return;
    from.BeginUpdate();
    to.BeginUpdate();
    m_busy = true;
    to.clearSelection();

    const bool chosen = &to != m_available;
    QList<QTreeWidgetItem*> rows = from.invisibleRootItem()->takeChildren();
    QList<QTreeWidgetItem*> moved;
    QList<QTreeWidgetItem*> kept;
    auto run = runs.begin();
    for (int row = 0; row < rows.size(); ++row) {
        while (run != runs.end() && run->second < row)
            ++run;
        const bool selected = run != runs.end() && run->first <= row;
        (selected ? moved : kept).append(rows[row]);
        if (selected) SetChosen(rows[row]->data(0, kDataRole).toLongLong(), chosen);
    }
    from.addTopLevelItems(kept);
    to.addTopLevelItems(moved);
    to.Sort();
    const std::unordered_set<const QTreeWidgetItem*> movedSet(moved.begin(), moved.end());
    SelectRuns(to, RunsWhere(to, [&](int row) { return movedSet.count(to.topLevelItem(row)); }));
    if (to.GetItemCount() > 0) to.scrollToItem(to.topLevelItem(0));
    to.setFocus();

    from.EndUpdate();
    to.EndUpdate();
    m_busy = false;
    UpdateCounters();
}

void CPSListDragPage::OnAdd() {
    MoveItems(*m_available, *m_chosen);
}

void CPSListDragPage::OnRemove() {
    MoveItems(*m_chosen, *m_available);
}

void CPSListDragPage::ChangeFocusedSelection(
    const std::function<void(CKelvardinListCtrl&)>& change) {
    if (!m_focused) return;
    // Without updates the list repaints once, instead of working out what each run changed.
    m_focused->BeginUpdate();
    m_busy = true;
    change(*m_focused);
    m_focused->setFocus();
    m_busy = false;
    m_focused->EndUpdate();
    UpdateCounters();
}

void CPSListDragPage::OnSelectAll() {
    ChangeFocusedSelection([](CKelvardinListCtrl& list) {
        if (list.GetItemCount() > 0) SelectRuns(list, {{0, list.GetItemCount() - 1}});
    });
}

void CPSListDragPage::OnDeselectAll() {
    ChangeFocusedSelection([](CKelvardinListCtrl& list) { list.clearSelection(); });
}

void CPSListDragPage::OnInvertSelection() {
    ChangeFocusedSelection([](CKelvardinListCtrl& list) {
        CRowRuns gaps;
        int next = 0;
        for (const auto& [first, last] : SelectedRuns(list)) {
            if (first > next) gaps.emplace_back(next, first - 1);
            next = last + 1;
        }
        if (next < list.GetItemCount()) gaps.emplace_back(next, list.GetItemCount() - 1);
        SelectRuns(list, gaps);
    });
}

void CPSListDragPage::SelectFocusedRows(const std::function<bool(LPARAM)>& wanted) {
    ChangeFocusedSelection([&](CKelvardinListCtrl& list) {
        SelectRuns(list, RunsWhere(list, [&](int row) { return wanted(list.GetItemData(row)); }));
    });
}

void CPSListDragPage::BeginDrag(CKelvardinListCtrl& source) {
    if (CountSelectedRows(source) == 0) return;
    QPoint topLeft;
    const QPixmap picture = MakeDragPicture(source, topLeft);
    const QPoint hotSpot = source.viewport()->mapFromGlobal(m_pointer) - topLeft;
    if (!m_dragImage.Begin(picture, hotSpot, m_pointer)) return;
    m_dragSource = &source;
}

void CPSListDragPage::DragMove(QPoint screenPos) {
    m_dragImage.Move(screenPos);
    m_dragImage.SetDropAllowed(IsUnder(*OtherList(*m_dragSource), screenPos));
}

void CPSListDragPage::EndDrag(QPoint screenPos) {
    CKelvardinListCtrl& source = *std::exchange(m_dragSource, nullptr);
    m_dragImage.End();
    CKelvardinListCtrl& target = *OtherList(source);
    if (IsUnder(target, screenPos)) MoveItems(source, target);
}

bool CPSListDragPage::eventFilter(QObject* watched, QEvent* event) {
    const bool isList = watched == m_available || watched == m_chosen;
    if (isList && event->type() == QEvent::FocusIn) {
        m_focused = static_cast<CKelvardinListCtrl*>(watched);
        return false;
    }
    CKelvardinListCtrl* list = nullptr;
    for (CKelvardinListCtrl* candidate : {m_available, m_chosen}) {
        if (candidate && watched == candidate->viewport()) list = candidate;
    }
    if (!list) return CKelvardinPage::eventFilter(watched, event);

    switch (event->type()) {
        case QEvent::MouseMove: {
            m_pointer = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            if (!m_dragSource) return false;
            DragMove(m_pointer);
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (!m_dragSource) return false;
            EndDrag(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            return true;
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
            MoveItems(*list, *OtherList(*list));
            return true;
        default: return false;
    }
}
