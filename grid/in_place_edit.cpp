#include "grid/in_place_edit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>
#include <utility>

#include "grid/grid_ctrl.h"
#include "grid/grid_notify.h"
#include "platform/base/message_box.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"

namespace {

constexpr UINT kEmptyText = 0x15;

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

UINT ModifierFlags(unsigned mods) {
    UINT flags = 0;
    if (mods & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (mods & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

// Keeps pasted text to the filter and to upper case, as typed text is.
class CEditValidator : public QValidator {
public:
    CEditValidator(const bool& digits, const bool& hex, bool upper, QObject* parent)
        : QValidator(parent), m_digits(digits), m_hex(hex), m_upper(upper) {}
    State validate(QString& input, int&) const override {
        if (m_upper) input = input.toUpper();
        for (QChar ch : input) {
            if (!EditFilterAccepts(ch.unicode(), m_digits, m_hex)) return Invalid;
        }
        return Acceptable;
    }

private:
    const bool& m_digits;
    const bool& m_hex;
    bool m_upper;
};

}  // namespace

EditStart EditStartFor(UINT ch) {
    if (ch == VK_LBUTTON || ch == VK_RETURN) return EditStart::CaretAtEnd;
    if (ch == VK_BACK) return EditStart::DeleteLast;
    if (ch == VK_TAB || ch == VK_SPACE || (ch >= VK_PRIOR && ch <= VK_DOWN))
        return EditStart::SelectAll;
    if (ch == kEmptyText) return EditStart::Empty;
    return EditStart::ReplaceWithChar;
}

bool EditFilterAccepts(UINT ch, bool digitsOnly, bool hexDigits) {
    if (!digitsOnly || ch == VK_BACK) return true;
    if (ch >= '0' && ch <= '9') return true;
    return hexDigits && ((ch >= 'A' && ch <= 'F') || (ch >= 'a' && ch <= 'f'));
}

class CInPlaceEdit::CEditWidget : public QLineEdit {
public:
    CEditWidget(CInPlaceEdit* editor, QWidget* parent) : QLineEdit(parent), m_editor(editor) {}
    ~CEditWidget() override {
        if (CInPlaceEdit* editor = std::exchange(m_editor, nullptr)) editor->WidgetGone();
    }
    CInPlaceEdit* m_editor;

protected:
    bool event(QEvent* e) override {
        // Tab and Enter end the edit here, before dialogs and shortcuts see them.
        if (m_editor && (e->type() == QEvent::KeyPress || e->type() == QEvent::ShortcutOverride)) {
            auto* key = static_cast<QKeyEvent*>(e);
            const int k = key->key();
            const bool ending = k == Qt::Key_Tab || k == Qt::Key_Backtab || k == Qt::Key_Return ||
                                k == Qt::Key_Enter || k == Qt::Key_Escape;
            if (ending && e->type() == QEvent::ShortcutOverride) {
                e->accept();
                return true;
            }
            if (ending || VirtualKey(k)) {
                const CInputState input(ModifierFlags(key->modifiers()));
                if (m_editor->TakeKey(k, key->modifiers())) return true;
            }
        }
        if (e->type() == QEvent::KeyPress &&
            (static_cast<QKeyEvent*>(e)->modifiers() & Qt::AltModifier))
            return true;  // the menus' keys are not the editor's
        return QLineEdit::event(e);
    }
    void keyPressEvent(QKeyEvent* e) override {
        const QString text = e->text();
        if (m_editor && text.size() == 1 && text[0].isPrint() &&
            !EditFilterAccepts(text[0].unicode(), m_editor->m_bDigitsOnly,
                               m_editor->m_bHexDigits)) {
            MessageBeep(MB_OK);
            return;
        }
        QLineEdit::keyPressEvent(e);
        // Keys the editor has no use for stop here: they must not move the grid's focus.
        e->accept();
        if (m_editor) m_editor->Grow();
    }
    void focusOutEvent(QFocusEvent* e) override {
        QLineEdit::focusOutEvent(e);
        // The editor's own context menu takes the focus for a while; that ends nothing.
        if (m_editor && e->reason() != Qt::PopupFocusReason) m_editor->EndEdit();
    }
};

CInPlaceEdit::CInPlaceEdit(CWnd* parent, const CRect& rect, DWORD style, UINT id, int row, int col,
                           const CString& initText, UINT firstChar)
    : m_pParent(parent),
      m_pGrid(dynamic_cast<CGridCtrl*>(parent)),
      m_nID(id),
      m_nRow(row),
      m_nColumn(col),
      m_sInitText(initText),
      m_bExitOnArrows(firstChar != VK_LBUTTON) {
    m_widget = new CEditWidget(this, parent ? parent->GetClientWidget() : nullptr);
    m_widget->setObjectName(QString("ctl%1").arg(id));
    m_widget->setGeometry(ToQRect(rect));
    m_widget->setFrame(true);
    Qt::Alignment align = Qt::AlignLeft;
    if (style & ES_RIGHT) {
        align = Qt::AlignRight;
    } else if (style & ES_CENTER) {
        align = Qt::AlignHCenter;
    }
    m_widget->setAlignment(align | Qt::AlignVCenter);
    m_widget->setValidator(
        new CEditValidator(m_bDigitsOnly, m_bHexDigits, (style & ES_UPPERCASE) != 0, m_widget));
    SetFont(m_pGrid ? m_pGrid->GetFont() : parent ? parent->GetFont() : LogFont());
    m_widget->setText(ToQString(initText));
    m_widget->show();
    m_widget->setFocus(Qt::OtherFocusReason);

    switch (EditStartFor(firstChar)) {
        case EditStart::CaretAtEnd: m_widget->end(false); break;
        case EditStart::DeleteLast:
            m_widget->end(false);
            m_widget->backspace();
            break;
        case EditStart::SelectAll: m_widget->selectAll(); break;
        case EditStart::Empty: m_widget->clear(); return;
        case EditStart::ReplaceWithChar:
            m_widget->selectAll();
            TakeChar(firstChar);
            break;
    }
    Grow();
}

CInPlaceEdit::~CInPlaceEdit() {
    DetachCell();
    if (CEditWidget* widget = std::exchange(m_widget, nullptr)) {
        widget->m_editor = nullptr;
        widget->setValidator(nullptr);  // it reads this editor's filter flags
        widget->hide();
        widget->deleteLater();
    }
}

void CInPlaceEdit::WidgetGone() {
    m_widget = nullptr;
    ControlGone(m_pParent);  // deletes this editor
}

QLineEdit* CInPlaceEdit::GetWidget() const {
    return m_widget;
}

void CInPlaceEdit::SetLimitText(UINT maxChars) {
    if (m_widget) m_widget->setMaxLength(maxChars ? static_cast<int>(maxChars) : 32767);
}

void CInPlaceEdit::SetFont(const LogFont& font) {
    if (m_widget) m_widget->setFont(ToQFont(font));
}

CString CInPlaceEdit::GetWindowText() const {
    return m_widget ? FromQString(m_widget->text()) : CString();
}

// A character as if typed into the editor.
bool CInPlaceEdit::TakeChar(UINT ch) {
    if (!m_widget) return false;
    switch (ch) {
        case VK_TAB:
        case VK_RETURN: GiveFocusBack(ch); return true;
        case VK_ESCAPE:
            m_widget->setText(ToQString(m_sInitText));
            GiveFocusBack(VK_ESCAPE);
            return true;
        case VK_BACK: m_widget->backspace(); return true;
        default: break;
    }
    if (!EditFilterAccepts(ch, m_bDigitsOnly, m_bHexDigits)) {
        MessageBeep(MB_OK);
        return false;
    }
    const QString text(QChar(static_cast<char16_t>(ch)));
    m_widget->insert(text);
    Grow();
    return true;
}

void CInPlaceEdit::SendChar(UINT ch) {
    TakeChar(ch);
}

BOOL CInPlaceEdit::PasteClipboard() {
    if (!m_widget) return FALSE;
    m_widget->paste();
    Grow();
    return TRUE;
}

bool CInPlaceEdit::TakeKey(int qtKey, unsigned qtModifiers) {
    switch (qtKey) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab: GiveFocusBack(VK_TAB); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: GiveFocusBack(VK_RETURN); return true;
        case Qt::Key_Escape: return TakeChar(VK_ESCAPE);
        default: break;
    }
    const UINT vk = VirtualKey(qtKey);
    if (vk && (m_bExitOnArrows || (qtModifiers & Qt::ControlModifier))) {
        GiveFocusBack(vk);
        return true;
    }
    return false;
}

void CInPlaceEdit::GiveFocusBack(UINT key) {
    m_nLastChar = key;
    if (m_pParent) m_pParent->SetFocus();
    // An inactive window moves no focus: the edit ends all the same.
    if (!m_bEnded) EndEdit();
}

void CInPlaceEdit::Grow() {
    if (!m_widget || !m_pParent) return;
    const QFontMetrics metrics(m_widget->font());
    const int wanted = metrics.horizontalAdvance(m_widget->text() + QStringLiteral("  ")) + 6;
    if (wanted <= m_widget->width()) return;
    const int room = m_pParent->GetClientRect().right - m_widget->x();
    m_widget->resize(std::max(m_widget->width(), std::min(wanted, room)), m_widget->height());
}

void CInPlaceEdit::EndEdit() {
    if (m_bEnded || !m_widget) return;
    CGridCtrl* grid = m_pGrid;
    if (grid && !grid->BeginEditorEnd()) return;
    m_bEnded = true;
    const CString text = GetWindowText();
    // The editor goes before the grid hears of the end, so that nothing reaches it again.
    m_widget->hide();
    m_widget->deleteLater();
    NotifyEnd(m_pParent, m_nID, m_nRow, m_nColumn, text, m_nLastChar);
    if (grid) grid->FinishEditorEnd();
}
