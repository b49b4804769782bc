#include "grid/in_place_list.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <utility>

#include "grid/grid_ctrl.h"
#include "grid/grid_notify.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"

namespace {

bool IsPagingOrArrow(int qtKey) {
    return qtKey == Qt::Key_PageUp || qtKey == Qt::Key_PageDown || qtKey == Qt::Key_Left ||
           qtKey == Qt::Key_Up || qtKey == Qt::Key_Right || qtKey == Qt::Key_Down;
}

UINT VirtualKey(int qtKey) {
    switch (qtKey) {
        case Qt::Key_PageUp: return VK_PRIOR;
        case Qt::Key_PageDown: return VK_NEXT;
        case Qt::Key_Left: return VK_LEFT;
        case Qt::Key_Up: return VK_UP;
        case Qt::Key_Right: return VK_RIGHT;
        case Qt::Key_Down: return VK_DOWN;
        default: return 0;
    }
}

bool IsEndingKey(int qtKey) {
    return qtKey == Qt::Key_Tab || qtKey == Qt::Key_Backtab || qtKey == Qt::Key_Return ||
           qtKey == Qt::Key_Enter || qtKey == Qt::Key_Escape;
}

}  // namespace

class CInPlaceList::CListWidget : public QComboBox {
public:
    CListWidget(CInPlaceList* list, QWidget* parent) : QComboBox(parent), m_list(list) {}
    ~CListWidget() override {
        if (CInPlaceList* list = std::exchange(m_list, nullptr)) list->WidgetGone();
    }
    CInPlaceList* m_list;

protected:
    bool event(QEvent* e) override {
        if (m_list && (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease ||
                       e->type() == QEvent::ShortcutOverride)) {
            auto* key = static_cast<QKeyEvent*>(e);
            if (IsEndingKey(key->key())) {
                // Taken on the way down, acted on as the key comes up.
                e->accept();
                if (e->type() == QEvent::KeyRelease) {
                    const CInputState input(key->modifiers() & Qt::ShiftModifier ? MK_SHIFT : 0);
                    m_list->TakeKeyUp(key->key());
                }
                return true;
            }
            if (e->type() == QEvent::KeyPress && m_list->TakeKeyDown(key->key(), key->modifiers()))
                return true;
        }
        return QComboBox::event(e);
    }
    // The open list closes on an ending key's press, so its release may reach the list and
    // not the box; it ends the edit all the same, and the grid takes the keys again.
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (m_list && watched == view() && e->type() == QEvent::KeyRelease &&
            IsEndingKey(static_cast<QKeyEvent*>(e)->key())) {
            auto* key = static_cast<QKeyEvent*>(e);
            const CInputState input(key->modifiers() & Qt::ShiftModifier ? MK_SHIFT : 0);
            m_list->TakeKeyUp(key->key());
            return true;
        }
        return QComboBox::eventFilter(watched, e);
    }
    void keyPressEvent(QKeyEvent* e) override {
        QComboBox::keyPressEvent(e);
        // Keys the list has no use for stop here: they must not move the grid's focus.
        e->accept();
    }
    void focusOutEvent(QFocusEvent* e) override {
        QComboBox::focusOutEvent(e);
        // The list's own drop-down takes the focus while it is open; that ends nothing.
        if (m_list && e->reason() != Qt::PopupFocusReason && !view()->isVisible())
            m_list->EndEdit();
    }
};

CInPlaceList::CInPlaceList(CWnd* parent, const CRect& rect, UINT id, int row, int col,
                           const std::vector<CString>& items, const CString& initText,
                           UINT firstChar)
    : m_pParent(parent),
      m_pGrid(dynamic_cast<CGridCtrl*>(parent)),
      m_nID(id),
      m_nRow(row),
      m_nColumn(col),
      m_sInitText(initText) {
    m_widget = new CListWidget(this, parent ? parent->GetClientWidget() : nullptr);
    m_widget->setObjectName(QString("ctl%1").arg(id));
    const QFont font = ToQFont(m_pGrid  ? m_pGrid->GetFont()
                               : parent ? parent->GetFont()
                                        : LogFont());
    m_widget->setFont(font);
    m_widget->setGeometry(ToQRect(rect));
    m_widget->setMaxVisibleItems(kDropDownLines);
    m_widget->view()->installEventFilter(m_widget);

    const QFontMetrics metrics(font);
    int widest = 0;
    for (const CString& item : items) {
        m_widget->addItem(ToQString(item));
        widest = std::max(widest, metrics.horizontalAdvance(ToQString(item)));
    }
    m_widget->view()->setMinimumWidth(widest + 2 * metrics.horizontalAdvance(QChar(u' ')) +
                                      GetSystemMetrics(SM_CXVSCROLL));
    SelectText(initText);
    m_widget->show();
    m_widget->setFocus(Qt::OtherFocusReason);
    SendChar(firstChar);
}

CInPlaceList::~CInPlaceList() {
    DetachCell();
    if (CListWidget* widget = std::exchange(m_widget, nullptr)) {
        widget->m_list = nullptr;
        widget->hide();
        widget->deleteLater();
    }
}

void CInPlaceList::WidgetGone() {
    m_widget = nullptr;
    ControlGone(m_pParent);  // deletes this editor
}

QComboBox* CInPlaceList::GetWidget() const {
    return m_widget;
}

// The first item that begins with the text, else no item and the text itself.
void CInPlaceList::SelectText(const CString& text) {
    const int index =
        text.IsEmpty() ? -1 : m_widget->findText(ToQString(text), Qt::MatchStartsWith);
    m_widget->setCurrentIndex(index);
    m_sWindowText = index < 0 ? text : CString();
}

CString CInPlaceList::GetWindowText() const {
    if (!m_widget) return CString();
    return m_widget->currentIndex() < 0 ? m_sWindowText : FromQString(m_widget->currentText());
}

// A typed character picks the next item that begins with it.
void CInPlaceList::SendChar(UINT ch) {
    if (!m_widget || ch < 0x20 || ch == 0x7F) return;
    const QString prefix(QChar(static_cast<char16_t>(ch)));
    const int count = m_widget->count();
    for (int step = 1; step <= count; ++step) {
        const int index = (m_widget->currentIndex() + step) % count;
        if (m_widget->itemText(index).startsWith(prefix, Qt::CaseInsensitive)) {
            m_widget->setCurrentIndex(index);
            return;
        }
    }
}

bool CInPlaceList::TakeKeyDown(int qtKey, unsigned qtModifiers) {
    if (IsPagingOrArrow(qtKey) && (qtModifiers & Qt::ControlModifier)) {
        GiveFocusBack(VirtualKey(qtKey));
        return true;
    }
    if (m_bExtendedUI && qtKey == Qt::Key_F4) return true;
    if (m_bExtendedUI && qtKey == Qt::Key_Down && !m_widget->view()->isVisible()) {
        m_widget->showPopup();
        return true;
    }
    return false;
}

bool CInPlaceList::TakeKeyUp(int qtKey) {
    if (qtKey == Qt::Key_Escape) {
        SelectText(m_sInitText);
        GiveFocusBack(VK_ESCAPE);
    } else if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) {
        GiveFocusBack(VK_RETURN);
    } else {
        GiveFocusBack(VK_TAB);
    }
    return true;
}

void CInPlaceList::GiveFocusBack(UINT key) {
    m_nLastChar = key;
    if (m_widget && m_widget->view()->isVisible()) m_widget->hidePopup();
    if (m_pParent) m_pParent->SetFocus();
    if (!m_bEnded) EndEdit();
}

void CInPlaceList::EndEdit() {
    if (m_bEnded || !m_widget) return;
    CGridCtrl* grid = m_pGrid;
    if (grid && !grid->BeginEditorEnd()) return;
    m_bEnded = true;
    const CString text = GetWindowText();
    // The list goes before the grid hears of the end, so that nothing reaches it again.
    m_widget->hide();
    m_widget->deleteLater();
    NotifyEnd(m_pParent, m_nID, m_nRow, m_nColumn, text, m_nLastChar);
    if (grid) grid->FinishEditorEnd();
}
