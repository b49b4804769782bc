#include "screens/popups/popup_list.h"

#include <algorithm>

#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

#include "platform/ui/qt_convert.h"

namespace {

constexpr int kHeadingMargin = 12;  // the room a column gives its heading beside the text

}  // namespace

void SetTransientParent(QWidget& popup, const CWnd* owner) {
    QWidget* host = owner ? owner->GetWidget() : nullptr;
    if (!host) return;
    popup.winId();
    if (QWindow* window = popup.windowHandle()) {
        host->window()->winId();
        window->setTransientParent(host->window()->windowHandle());
    }
}

// The pop-up window round the list: it closes itself on a click outside it, and the owner
// hears of every close it did not ask for.
class CPopupList::CFrame : public QFrame {
public:
    explicit CFrame(CPopupList& list) : QFrame(nullptr, Qt::Popup), m_list(list) {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setObjectName(QStringLiteral("List"));
    }
    CRect m_closeRect;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        // A click on the button that opened the list must not open it again.
        const CPoint at = FromQPoint(event->globalPosition().toPoint());
        if (m_closeRect.PtInRect(at)) setAttribute(Qt::WA_NoMouseReplay);
        QFrame::mousePressEvent(event);
    }
    void hideEvent(QHideEvent* event) override {
        QFrame::hideEvent(event);
        m_list.m_bTracking = FALSE;
        m_list.Notify(NM_KILLFOCUS, -1);
    }

private:
    CPopupList& m_list;
};

// The report list itself: Enter and Escape answer the owner, and a press dragged over the
// items tracks the item under the mouse until a release picks it.
class CPopupList::CView : public QTreeWidget {
public:
    CView(CPopupList& list, QWidget* parent) : QTreeWidget(parent), m_list(list) {
        setHeaderHidden(true);
        setRootIsDecorated(false);
        setIndentation(0);
        setUniformRowHeights(true);
        setSelectionMode(QAbstractItemView::SingleSelection);
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setColumnCount(0);
    }
    int ColumnContentWidth() const { return sizeHintForColumn(0); }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
            case Qt::Key_Escape:
                event->accept();
                m_list.Notify(NM_CLICK, -1);
                return;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                event->accept();
                m_list.Notify(NM_CLICK, std::max(m_list.GetSelectedItem(), 0));
                return;
            default: QTreeWidget::keyPressEvent(event);
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (event->buttons() & (Qt::LeftButton | Qt::RightButton)) {
            m_list.m_bTracking = TRUE;
            m_list.TrackTo(indexAt(event->position().toPoint()).row());
            return;
        }
        QTreeWidget::mouseMoveEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        const QPoint at = event->position().toPoint();
        const bool inside = viewport()->rect().contains(at);
        const int row = inside ? indexAt(at).row() : -1;
        const bool tracked = m_list.m_bTracking;
        m_list.m_bTracking = FALSE;
        QTreeWidget::mouseReleaseEvent(event);
        if (tracked ? row < 0 : !inside) return;
        m_list.Notify(event->button() == Qt::RightButton && !tracked ? NM_RCLICK : NM_CLICK, row);
    }

private:
    CPopupList& m_list;
};

CPopupList::CPopupList(CWnd& owner)
    : m_pOwner(&owner),
      m_frame(std::make_unique<CFrame>(*this)),
      m_view(new CView(*this, m_frame.get())) {
    auto* layout = new QVBoxLayout(m_frame.get());
    layout->setContentsMargins(0, 0, 0, 0);
    // The list's own size rules decide; the view's wish for room does not.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    m_view->setMinimumSize(1, 1);
    layout->addWidget(m_view);
    m_frame->setFocusProxy(m_view);
}

CPopupList::~CPopupList() {
    // A close while going away is nobody's news.
    m_pOwner = nullptr;
    m_frame.reset();
}

void CPopupList::Notify(int code, int item) {
    if (!m_pOwner) return;
    NMITEMACTIVATE nm;
    nm.hdr.idFrom = kId;
    nm.hdr.code = code;
    nm.iItem = item;
    nm.lParam = item >= 0 ? GetItemData(item) : 0;
    LRESULT result = 0;
    m_pOwner->OnNotify(kId, &nm.hdr, &result);
}

void CPopupList::TrackTo(int row) {
    if (row < 0) return;
    QTreeWidgetItem* item = m_view->topLevelItem(row);
    m_view->setCurrentItem(item);
    m_view->scrollToItem(item);
}

int CPopupList::GetColumnCount() const {
    return m_view->columnCount();
}

void CPopupList::AddColumn(const CString& heading) {
    const int column = m_view->columnCount();
    m_view->setColumnCount(column + 1);
    m_view->headerItem()->setText(column, ToQString(heading));
}

void CPopupList::DeleteAll() {
    m_view->clear();
}

int CPopupList::AddItem(const CString& text, LPARAM data) {
    int row = GetItemCount();
    while (row > 0 && GetItemText(row - 1).CompareNoCase(text) > 0)
        --row;
    return InsertItem(row, text, data);
}

int CPopupList::InsertItem(int row, const CString& text, LPARAM data) {
    const int count = GetItemCount();
    if (row < 0 || row > count) row = count;
    if (m_view->columnCount() == 0) m_view->setColumnCount(1);
    auto* item = new QTreeWidgetItem;
    item->setText(0, ToQString(text));
    item->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(data));
    m_view->insertTopLevelItem(row, item);
    return row;
}

void CPopupList::SetItemText(int row, int column, const CString& text) {
    QTreeWidgetItem* item = m_view->topLevelItem(row);
    if (!item || column < 0) return;
    if (column >= m_view->columnCount()) m_view->setColumnCount(column + 1);
    item->setText(column, ToQString(text));
}

void CPopupList::SetRedraw(BOOL redraw) {
    m_view->setUpdatesEnabled(redraw);
}

int CPopupList::GetItemCount() const {
    return m_view->topLevelItemCount();
}

CString CPopupList::GetItemText(int row, int column) const {
    const QTreeWidgetItem* item = m_view->topLevelItem(row);
    return item ? FromQString(item->text(column)) : CString();
}

LPARAM CPopupList::GetItemData(int row) const {
    const QTreeWidgetItem* item = m_view->topLevelItem(row);
    return item ? static_cast<LPARAM>(item->data(0, Qt::UserRole).toLongLong()) : 0;
}

void CPopupList::SetColors(COLORREF back, COLORREF textBack, COLORREF text) {
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Base, ToQColor(textBack));
    palette.setColor(QPalette::Window, ToQColor(back));
    palette.setColor(QPalette::Text, ToQColor(text));
    m_view->setPalette(palette);
    m_frame->setPalette(palette);
}

int CPopupList::GetContentWidth() const {
    const int heading =
        m_view->columnCount() > 0
            ? m_view->fontMetrics().horizontalAdvance(m_view->headerItem()->text(0)) +
                  kHeadingMargin
            : 0;
    return std::max(heading, m_view->ColumnContentWidth());
}

int CPopupList::GetRowHeight() const {
    if (GetItemCount() > 0) return std::max(m_view->sizeHintForRow(0), 1);
    return m_view->fontMetrics().height();
}

void CPopupList::SetColumnWidth(int width) {
    m_view->setColumnWidth(0, std::max(width, 0));
}

void CPopupList::Show(const CRect& screenRect, int current, const CRect& closeRect) {
    m_frame->m_closeRect = closeRect;
    m_frame->setAttribute(Qt::WA_NoMouseReplay, false);
    m_frame->setGeometry(ToQRect(screenRect));
    SetTransientParent(*m_frame, m_pOwner);
    if (QTreeWidgetItem* item = m_view->topLevelItem(current)) {
        m_view->setCurrentItem(item);
        m_view->scrollToItem(item);
    } else {
        m_view->clearSelection();
    }
    m_frame->setEnabled(true);
    m_frame->show();
    m_view->setFocus(Qt::PopupFocusReason);
}

void CPopupList::Hide() {
    m_frame->hide();
    m_frame->setEnabled(false);
    m_bTracking = FALSE;
}

BOOL CPopupList::IsOpen() const {
    return m_frame->isVisible();
}

CRect CPopupList::GetWindowRect() const {
    return m_frame->isVisible() ? FromQRect(m_frame->geometry()) : CRect();
}

int CPopupList::GetSelectedItem() const {
    const QList<QTreeWidgetItem*> selected = m_view->selectedItems();
    return selected.isEmpty() ? -1 : m_view->indexOfTopLevelItem(selected.front());
}

QWidget* CPopupList::GetWidget() const {
    return m_view;
}
