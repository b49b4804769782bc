#include "screens/console/cmd_line_edit.h"

#include <QKeyEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

#include "platform/ui/qt_convert.h"

class CCmdLineEdit::CEditor : public QPlainTextEdit {
public:
    CEditor(CCmdLineEdit& owner, QWidget* parent) : QPlainTextEdit(parent), m_owner(owner) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (m_owner.OnEditorKey(event->key())) return;
        QPlainTextEdit::keyPressEvent(event);
    }
    bool focusNextPrevChild(bool) override { return false; }

private:
    CCmdLineEdit& m_owner;
};

CCmdLineEdit::CCmdLineEdit(COLORREF text, COLORREF back) : m_crText(text), m_crBack(back) {}

CCmdLineEdit::~CCmdLineEdit() = default;

BOOL CCmdLineEdit::Create(const CRect& rect, CWnd* parent, UINT id) {
    if (!CWnd::Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect, parent, id)) return FALSE;
    m_editor = new CEditor(*this, GetClientWidget());
    m_editor->setObjectName(QStringLiteral("ctl%1").arg(id));
    m_editor->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_editor->setTabChangesFocus(false);
    QPalette palette = m_editor->palette();
    palette.setColor(QPalette::Text, ToQColor(m_crText));
    palette.setColor(QPalette::Base, ToQColor(m_crBack));
    m_editor->setPalette(palette);
    auto* layout = new QVBoxLayout(GetClientWidget());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_editor);
    return TRUE;
}

CString CCmdLineEdit::GetText() const {
    return m_editor ? FromQString(m_editor->toPlainText()) : CString();
}

void CCmdLineEdit::SetText(const CString& text) {
    if (!m_editor) return;
    m_editor->setPlainText(ToQString(text));
    m_editor->moveCursor(QTextCursor::End);
}

void CCmdLineEdit::SetEditFont(const LogFont& font) {
    if (m_editor) m_editor->setFont(ToQFont(font));
}

void CCmdLineEdit::OnSetFocus(CWnd* oldWnd) {
    CWnd::OnSetFocus(oldWnd);
    if (m_editor) m_editor->setFocus();
}

bool CCmdLineEdit::OnEditorKey(int qtKey) {
    CWnd* parent = GetParent();
    if (!parent) return false;
    switch (qtKey) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab: parent->SendMessage(kTabMessage, GetDlgCtrlID(), 0); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            parent->SendMessage(WM_COMMAND, MAKEWPARAM(LOWORD(GetDlgCtrlID()), kEnterCode),
                                reinterpret_cast<LPARAM>(static_cast<CWnd*>(this)));
            return true;
        default: return false;
    }
}
