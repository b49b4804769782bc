#include "shell/sheets/ps_tree_drag_page.h"

#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <utility>

#include "model/app_state.h"
#include "platform/ui/qt_convert.h"
#include "res/string_table.h"
#include "shell/sheets/partial_save_sheet.h"
#include "shell/sheets/ps_page_layout.h"

namespace {

constexpr int kDataRole = Qt::UserRole;
const QColor kDragBackground(250, 250, 250);

// A tree that tells its page when the user starts to drag an item, instead of starting a drag
// of its own.
class CPSTree : public CKelvardinTreeCtrl {
public:
    std::function<void()> onBeginDrag;

protected:
    void startDrag(Qt::DropActions) override {
        if (QTreeWidgetItem* item = currentItem()) item->setSelected(true);
        if (onBeginDrag) onBeginDrag();
    }
};

// The picture of the item and the descendants in view below it; null when it is not in view.
QPixmap MakeDragPicture(CKelvardinTreeCtrl& tree, QTreeWidgetItem* item, QPoint& topLeft) {
    const QRect client = tree.viewport()->rect();
    QRect bounds;
    for (QTreeWidgetItem* row = item; row; row = tree.itemBelow(row)) {
        if (row != item && !tree.IsDescendantOf(item, row)) break;
        QRect rect = tree.visualItemRect(row);
        if (rect.top() > client.bottom()) break;
        rect.setLeft(client.left());
        bounds |= rect & client;
    }
    if (bounds.isEmpty()) return {};
    QPixmap picture(bounds.size());
    picture.fill(kDragBackground);
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, tree.viewport()->grab(bounds));
    topLeft = bounds.topLeft();
    return picture;
}

bool IsUnder(const QWidget& widget, QPoint screenPos) {
    return widget.isVisible() && widget.rect().contains(widget.mapFromGlobal(screenPos));
}

}  // namespace

CPSTreeDragPage::CPSTreeDragPage(UINT templateId, int pageIndex, const char16_t* title,
                                 UINT counterId)
    : CKelvardinPage(templateId), m_pageIndex(pageIndex), m_title(title), m_counterId(counterId) {
    setWindowTitle(ToQString(m_title));
}

// The trees go first: their events pass through the page.
CPSTreeDragPage::~CPSTreeDragPage() {
    m_focused = nullptr;
    delete std::exchange(m_available, nullptr);
    delete std::exchange(m_chosen, nullptr);
}

void CPSTreeDragPage::OnInitDialog() {
    m_available = MakeTree(kAvailableTree);
    m_chosen = MakeTree(kChosenTree);
    const CPSPageFrame frame = LayOutPSPage(*this, m_title, *m_available, *m_chosen);
    m_add = frame.add;
    m_remove = frame.remove;
    m_availableCount = frame.availableCount;
    m_chosenCount = frame.chosenCount;
    connect(m_add, &QPushButton::clicked, this, &CPSTreeDragPage::OnAdd);
    connect(m_remove, &QPushButton::clicked, this, &CPSTreeDragPage::OnRemove);
    FillTrees();
}

CKelvardinTreeCtrl* CPSTreeDragPage::MakeTree(UINT id) {
    auto* tree = new CPSTree;
    tree->setObjectName(QStringLiteral("ctl%1").arg(id));
    tree->setDragEnabled(true);
    tree->setItemsExpandable(true);
    tree->setRootIsDecorated(true);
    // Children sort by their text when asked.
    tree->header()->setSortIndicator(0, Qt::AscendingOrder);
    tree->onBeginDrag = [this, tree] { BeginDrag(*tree); };
    tree->installEventFilter(this);
    tree->viewport()->installEventFilter(this);
    connect(tree, &QTreeWidget::itemSelectionChanged, this, [this, tree] {
        if (!m_busy) UpdateCounter(*tree);
    });
    return tree;
}

void CPSTreeDragPage::OnSetActive() {
    CPartialSaveSheet::SetLastPage(m_pageIndex);
}

DWORD CPSTreeDragPage::GetItemData(const QTreeWidgetItem* item) {
    return item ? static_cast<DWORD>(item->data(0, kDataRole).toUInt()) : 0;
}

void CPSTreeDragPage::SetItemData(QTreeWidgetItem* item, DWORD data) {
    item->setData(0, kDataRole, QVariant::fromValue<uint>(data));
}

CKelvardinTreeCtrl::WalkCallback CPSTreeDragPage::MatchItemData(DWORD data) {
    return [data](QTreeWidgetItem* item) { return GetItemData(item) == data; };
}

int CPSTreeDragPage::CountSubtree(CKelvardinTreeCtrl& tree, QTreeWidgetItem* item) {
    int count = 0;
    tree.WalkItems(
        item,
        [&count](QTreeWidgetItem* visited) {
            count += GetItemCount(visited);
            return false;
        },
        0);
    return count;
}

CString CPSTreeDragPage::FormatCount(CKelvardinTreeCtrl& tree, int& selected, int& total) const {
    total = CountSubtree(tree, tree.invisibleRootItem());
    const QList<QTreeWidgetItem*> items = tree.selectedItems();
    selected = items.isEmpty() ? 0 : CountSubtree(tree, items.front());
    return SubstituteArgs(LoadResString(m_counterId).str(),
                          {CString::Formatted(u"%d", selected), CString::Formatted(u"%d", total)});
}

void CPSTreeDragPage::UpdateCounter(CKelvardinTreeCtrl& tree) {
    int selected = 0;
    int total = 0;
    const CString text = FormatCount(tree, selected, total);
    const bool available = &tree == m_available;
    (available ? m_availableCount : m_chosenCount)->setText(ToQString(text));
    (available ? m_add : m_remove)->setEnabled(selected >= 1);
}

void CPSTreeDragPage::UpdateCounters() {
    UpdateCounter(*m_available);
    UpdateCounter(*m_chosen);
}

CKelvardinTreeCtrl* CPSTreeDragPage::OtherTree(const CKelvardinTreeCtrl& tree) const {
    return &tree == m_available ? m_chosen : m_available;
}

void CPSTreeDragPage::MoveSelected(CKelvardinTreeCtrl& from, CKelvardinTreeCtrl& to) {
    const QList<QTreeWidgetItem*> selection = from.selectedItems();
    if (selection.isEmpty()) return;
    QTreeWidgetItem* item = selection.front();
    m_busy = true;
    from.setUpdatesEnabled(false);
    to.setUpdatesEnabled(false);

    QTreeWidgetItem* copy = CopyItem(from, item, to);
    CopyChildren(from, item, to);
    QTreeWidgetItem* parent = item->parent();
    delete item;
    while (parent && CountSubtree(from, parent) == 0)
        delete std::exchange(parent, parent->parent());
    if (!GetApp().m_bSortIntercomsByIntercomNumber && to.topLevelItemCount() > 0)
        to.topLevelItem(0)->sortChildren(0, Qt::AscendingOrder);

    m_busy = false;
    from.setUpdatesEnabled(true);
    to.setUpdatesEnabled(true);
    UpdateCounters();
    to.scrollToItem(copy);
    copy->setExpanded(true);
    to.setCurrentItem(copy);
    to.setFocus();
}

QTreeWidgetItem* CPSTreeDragPage::CopyItem(CKelvardinTreeCtrl& from, QTreeWidgetItem* item,
                                           CKelvardinTreeCtrl& to) {
    const DWORD data = GetItemData(item);
    constexpr UINT kFind = CKelvardinTreeCtrl::kFirstMatch | CKelvardinTreeCtrl::kSkipStart;
    if (QTreeWidgetItem* there = to.WalkItems(to.invisibleRootItem(), MatchItemData(data), kFind))
        return there;

    QTreeWidgetItem* parent =
        item->parent() ? CopyItem(from, item->parent(), to) : to.invisibleRootItem();
    int position = 0;
    while (position < parent->childCount() && GetItemData(parent->child(position)) < data)
        ++position;
    auto* copy = new QTreeWidgetItem({item->text(0).left(kMaxItemText)});
    copy->setIcon(0, item->icon(0));
    SetItemData(copy, data);
    parent->insertChild(position, copy);
    SetChosen(data, &to != m_available);
    return copy;
}

void CPSTreeDragPage::CopyChildren(CKelvardinTreeCtrl& from, QTreeWidgetItem* item,
                                   CKelvardinTreeCtrl& to) {
    for (int i = 0; i < item->childCount(); ++i) {
        CopyItem(from, item->child(i), to);
        CopyChildren(from, item->child(i), to);
    }
}

void CPSTreeDragPage::OnAdd() {
    MoveSelected(*m_available, *m_chosen);
}

void CPSTreeDragPage::OnRemove() {
    MoveSelected(*m_chosen, *m_available);
}

void CPSTreeDragPage::BeginDrag(CKelvardinTreeCtrl& source) {
    const QList<QTreeWidgetItem*> selection = source.selectedItems();
    if (selection.isEmpty()) return;
    QPoint topLeft;
    const QPixmap picture = MakeDragPicture(source, selection.front(), topLeft);
    const QPoint hotSpot = source.viewport()->mapFromGlobal(m_pointer) - topLeft;
    if (!m_dragImage.Begin(picture, hotSpot, m_pointer)) return;
    m_dragSource = &source;
}

void CPSTreeDragPage::DragMove(QPoint screenPos) {
    m_dragImage.Move(screenPos);
    m_dragImage.SetDropAllowed(IsUnder(*OtherTree(*m_dragSource), screenPos));
}

void CPSTreeDragPage::EndDrag(QPoint screenPos) {
    CKelvardinTreeCtrl& source = *std::exchange(m_dragSource, nullptr);
    m_dragImage.End();
    CKelvardinTreeCtrl& target = *OtherTree(source);
    if (IsUnder(target, screenPos)) MoveSelected(source, target);
}

bool CPSTreeDragPage::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == m_available || watched == m_chosen) && event->type() == QEvent::FocusIn) {
        m_focused = static_cast<CKelvardinTreeCtrl*>(watched);
        return false;
    }
    CKelvardinTreeCtrl* tree = nullptr;
    for (CKelvardinTreeCtrl* candidate : {m_available, m_chosen}) {
        if (candidate && watched == candidate->viewport()) tree = candidate;
    }
    if (!tree) return CKelvardinPage::eventFilter(watched, event);

    switch (event->type()) {
        case QEvent::MouseMove:
            m_pointer = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            if (!m_dragSource) return false;
            DragMove(m_pointer);
            return true;
        case QEvent::MouseButtonRelease:
            if (!m_dragSource) return false;
            EndDrag(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            return true;
        case QEvent::MouseButtonDblClick:
            // Consumed, so that the item neither expands nor collapses.
            if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
            MoveSelected(*tree, *OtherTree(*tree));
            return true;
        default: return false;
    }
}
