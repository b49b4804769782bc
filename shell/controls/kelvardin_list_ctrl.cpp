#include "shell/controls/kelvardin_list_ctrl.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>
#include <memory>

#include "platform/ui/qt_convert.h"
#include "shell/controls/list_ctrl_sort.h"
#include "shell/controls/sort_mark_style.h"
#include "shell/controls/view_focus_mark.h"

namespace {

constexpr int kDataRole = Qt::UserRole;
constexpr int kMaxHeaderText = 128;

// A row that sorts by the comparison its list is running.
class CListItem : public QTreeWidgetItem {
public:
    bool operator<(const QTreeWidgetItem& other) const override {
        const auto* list = dynamic_cast<const CKelvardinListCtrl*>(treeWidget());
        const CListCtrlSortClass* sorter = list ? list->GetActiveSorter() : nullptr;
        return sorter && CListCtrlSortClass::CompareFunction(*this, other, *sorter) < 0;
    }
};

}  // namespace

CKelvardinListCtrl::CKelvardinListCtrl(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(0);  // the owner adds every column
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    QHeaderView* head = header();
    head->setStretchLastSection(false);
    head->setSectionsMovable(true);
    head->setSectionResizeMode(QHeaderView::Interactive);
    head->setSectionsClickable(true);
    head->setSortIndicatorShown(false);
    // Owned by the list, so that it outlives the header that draws with it.
    auto* markStyle = new CSortMarkStyle;
    markStyle->setParent(this);
    head->setStyle(markStyle);
    head->viewport()->installEventFilter(this);
    connect(head, &QHeaderView::sectionClicked, this, &CKelvardinListCtrl::SetSortColumn);
    connect(head, &QHeaderView::sectionHandleDoubleClicked, this,
            &CKelvardinListCtrl::OnDividerDoubleClicked);
    connect(head, &QHeaderView::sectionResized, this, &CKelvardinListCtrl::OnSectionResized);
    connect(head, &QHeaderView::sectionMoved, viewport(), [this] { viewport()->update(); });
}

CKelvardinListCtrl::~CKelvardinListCtrl() = default;

int CKelvardinListCtrl::InsertColumn(int column, const CString& heading, int width) {
    const int index = columnCount();
    (void)column;
    m_inserting = true;
    setColumnCount(index + 1);
    headerItem()->setText(index, ToQString(heading));
    setColumnWidth(index, width);
    m_inserting = false;
    return index;
}

void CKelvardinListCtrl::AddColumn(const CString& heading) {
    const int column = InsertColumn(GetColumnCount(), heading, 0);
    AutoSizeColumn(column, false, true, false);
}

int CKelvardinListCtrl::AddItem(const CString& text, LPARAM data) {
    return InsertItem(-1, text, data);
}

int CKelvardinListCtrl::InsertItem(int row, const CString& text, LPARAM data) {
    return InsertRow(row, {&text, 1}, data);
}

int CKelvardinListCtrl::InsertRow(int row, std::span<const CString> texts, LPARAM data) {
    if (row < 0 || row > topLevelItemCount()) row = topLevelItemCount();
    auto item = std::make_unique<CListItem>();
    for (size_t column = 0; column < texts.size(); ++column)
        item->setText(static_cast<int>(column), ToQString(texts[column]));
    item->setData(0, kDataRole, QVariant::fromValue<qlonglong>(data));
    insertTopLevelItem(row, item.release());
    return row;
}

void CKelvardinListCtrl::SetRedraw(BOOL redraw) {
    if (redraw) {
        EndUpdate();
    } else {
        BeginUpdate();
    }
}

CString CKelvardinListCtrl::GetItemText(int row, int column) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? FromQString(item->text(column)) : CString();
}

void CKelvardinListCtrl::SetItemText(int row, int column, const CString& text) {
    if (QTreeWidgetItem* item = topLevelItem(row)) item->setText(column, ToQString(text));
}

LPARAM CKelvardinListCtrl::GetItemData(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? static_cast<LPARAM>(item->data(0, kDataRole).toLongLong()) : 0;
}

void CKelvardinListCtrl::SetItemData(int row, LPARAM data) {
    if (QTreeWidgetItem* item = topLevelItem(row))
        item->setData(0, kDataRole, QVariant::fromValue<qlonglong>(data));
}

void CKelvardinListCtrl::BeginUpdate() {
    setUpdatesEnabled(false);
    header()->setUpdatesEnabled(false);
}

void CKelvardinListCtrl::EndUpdate() {
    header()->setUpdatesEnabled(true);
    setUpdatesEnabled(true);
}

void CKelvardinListCtrl::ChangeTexts(const std::function<bool()>& change) {
    bool changed = false;
    {
        const QSignalBlocker quiet(model());
        changed = change();
    }
    if (!changed || topLevelItemCount() == 0 || columnCount() == 0) return;
    dataChanged(model()->index(0, 0), model()->index(topLevelItemCount() - 1, columnCount() - 1),
                {Qt::DisplayRole, Qt::EditRole});
}

int CKelvardinListCtrl::FindItemByData(LPARAM data) const {
    for (int row = 0; row < topLevelItemCount(); ++row) {
        if (GetItemData(row) == data) return row;
    }
    return -1;
}

void CKelvardinListCtrl::WidenToColumns() {
    int width = 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    for (int column = 0; column < columnCount(); ++column)
        width += columnWidth(column);
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    if (shown) width = std::min(width, shown->availableGeometry().width() * 3 / 4);
    setMinimumWidth(std::max(minimumWidth(), width));
}

void CKelvardinListCtrl::AutoSizeColumn(int column, bool byContents, bool byHeader, bool noMargin) {
    if (FitColumn(column, byContents, byHeader, noMargin)) viewport()->repaint();
}

void CKelvardinListCtrl::AutoSizeColumns() {
    bool fitted = false;
    for (int column = 0; column < columnCount(); ++column)
        fitted = FitColumn(column, false, false, false) || fitted;
    if (fitted) viewport()->update();
}

bool CKelvardinListCtrl::FitColumn(int column, bool byContents, bool byHeader, bool noMargin) {
    if (isHeaderHidden() || column < 0 || column >= columnCount()) return false;
    BeginUpdate();
    int width = 0;
    bool margin = false;
    if (byContents) {
        width = sizeHintForColumn(column);
    } else {
        // Every column sorts: its header keeps room for the mark beside the text.
        const QFontMetrics metrics(font());
        const int headerText =
            metrics.horizontalAdvance(headerItem()->text(column).left(kMaxHeaderText)) +
            metrics.horizontalAdvance(QStringLiteral("   ")) + SortMarkRoom(*header());
        if (byHeader) {
            width = headerText + (noMargin ? 0 : kMargin);
        } else {
            width = std::max(
                {sizeHintForColumn(column), header()->sectionSizeHint(column), headerText});
            margin = !noMargin && width - headerText < kMargin;
        }
    }
    if (margin) {
        // The last column only where the rows already run past the right edge.
        const bool last = column == columnCount() - 1;
        const QTreeWidgetItem* first = topLevelItem(0);
        const bool pastEdge = first && visualItemRect(first).right() >= viewport()->rect().right();
        if (!last || pastEdge) width += kMargin;
    }
    m_autoSizing = true;
    setColumnWidth(column, width);
    m_autoSizing = false;
    EndUpdate();
    return true;
}

void CKelvardinListCtrl::SetSortColumn(int column) {
    if (isHeaderHidden()) return;
    if (m_sortColumn >= 0) {
        if (m_sortColumn != column) {
            m_ascending = true;
        } else {
            m_ascending = !m_ascending;
        }
    }
    if (column < 0) {
        m_sortColumn = -1;
        m_ascending = true;
        header()->setSortIndicatorShown(false);
    } else {
        m_sortColumn = column;
    }
    Sort();
}

void CKelvardinListCtrl::Sort() {
    if (m_sortColumn < 0) return;
    CListCtrlSortClass sorter(*this);
    sorter.Sort(m_sortColumn, m_ascending, CompareKind());
}

// The owner is the nearest window above that answers; a list that has a parent without an
// answer compares nothing, one without any parent compares text.
int CKelvardinListCtrl::CompareKind() const {
    if (!parentWidget()) return kCompareText;
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* owner = dynamic_cast<IListCompareOwner*>(w))
            return owner->GetCompareKind(*this, m_sortColumn, m_ascending);
    }
    return kCompareNone;
}

void CKelvardinListCtrl::SortRows(const CListCtrlSortClass& sorter) {
    // Rows that are in order already, as lists are filled, are not laid out again.
    bool inOrder = true;
    for (int row = 1; inOrder && row < topLevelItemCount(); ++row)
        inOrder = CListCtrlSortClass::CompareFunction(*topLevelItem(row), *topLevelItem(row - 1),
                                                      sorter) >= 0;
    if (!inOrder) {
        m_sorter = &sorter;
        // The rows order themselves by the sorter in both directions.
        sortItems(m_sortColumn, Qt::AscendingOrder);
        m_sorter = nullptr;
    }
    header()->setSortIndicator(m_sortColumn,
                               m_ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    header()->setSortIndicatorShown(true);
}

void CKelvardinListCtrl::OnSectionResized(int column, int oldWidth, int newWidth) {
    if (m_restoring || m_tracking || m_autoSizing || m_inserting) {
        m_autoSizing = false;
        return;
    }
    // A width change that is not the user's drag nor a fitting is undone.
    m_restoring = true;
    header()->resizeSection(column, oldWidth);
    m_restoring = false;
    (void)newWidth;
}

void CKelvardinListCtrl::OnDividerDoubleClicked(int column) {
    const Qt::KeyboardModifiers keys = QGuiApplication::keyboardModifiers();
    AutoSizeColumn(column, keys & Qt::ShiftModifier, keys & Qt::ControlModifier,
                   keys & Qt::AltModifier);
}

bool CKelvardinListCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == header()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) m_tracking = true;
        if (event->type() == QEvent::MouseButtonRelease) m_tracking = false;
    }
    return QTreeWidget::eventFilter(watched, event);
}

void CKelvardinListCtrl::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    DrawViewFocusMark(*this);
}

void CKelvardinListCtrl::focusInEvent(QFocusEvent* event) {
    QTreeWidget::focusInEvent(event);
    UpdateViewFocusMark(*this);
}

void CKelvardinListCtrl::focusOutEvent(QFocusEvent* event) {
    QTreeWidget::focusOutEvent(event);
    UpdateViewFocusMark(*this);
}

void CKelvardinListCtrl::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTreeWidget::currentChanged(current, previous);
    // Only the rows are painted again; the mark round the inside goes or comes as a whole.
    if (current.isValid() != previous.isValid()) UpdateViewFocusMark(*this);
}
