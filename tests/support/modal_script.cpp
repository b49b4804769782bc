#include "tests/support/modal_script.h"

#include <QDialog>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t ch : text)
        out += ch < 0x80 ? static_cast<char>(ch) : '?';
    return out;
}

// An answer's button; the bits above carry the state of the box's check box, if it has one.
constexpr int kButtonMask = 0xFFFF;

// The button that backs out of a box: Cancel, else No, else its only or first one.
int UserWhoCancels(UINT type) {
    const std::vector<int> answers = MessageBoxAnswers(type);
    for (int answer : {IDCANCEL, IDNO}) {
        if (std::ranges::count(answers, answer)) return answer;
    }
    return answers.front();
}

}  // namespace

CModalScript::CModalScript(CUiEnvironment& environment)
    : m_environment(environment), m_previous(environment.GetModalScript()) {
    m_environment.SetModalScript(this);
}

CModalScript::~CModalScript() {
    m_environment.SetModalScript(m_previous);
    EXPECT_TRUE(m_expected.empty()) << m_expected.size() << " expected modal(s) never came";
}

void CModalScript::ExpectMessageBox(std::u16string containing, int answer,
                                    std::function<void()> meanwhile) {
    m_expected.push_back(Box{std::move(containing), answer, std::move(meanwhile)});
}

void CModalScript::ExpectDialog(std::string objectName, DialogAction action) {
    m_expected.push_back(Dialog{std::move(objectName), std::move(action)});
}

void CModalScript::ExpectMenu(MenuAction action) {
    m_expected.push_back(Menu{std::move(action)});
}

int CModalScript::OnMessageBox(const CString& text, UINT type, UINT helpId) {
    m_shown.push_back(text);
    m_styles.emplace_back(type, helpId);
    const Box* box = m_expected.empty() ? nullptr : std::get_if<Box>(&m_expected.front());
    if (!box || text.str().find(box->containing) == std::u16string::npos) {
        ADD_FAILURE() << "unexpected message box: " << Narrow(text.str());
        return UserWhoCancels(type);
    }
    const int answer = box->answer;
    const std::function<void()> meanwhile = box->meanwhile;
    m_expected.pop_front();
    if (meanwhile) meanwhile();
    if (!std::ranges::count(MessageBoxAnswers(type), answer & kButtonMask)) {
        // No user can press a button the box does not show.
        ADD_FAILURE() << "answer " << answer << " is not offered by the box (style " << type
                      << "): " << Narrow(text.str());
        return UserWhoCancels(type);
    }
    return answer;
}

int CModalScript::OnDialog(QDialog& dialog) {
    const std::string name = dialog.objectName().toStdString();
    const Dialog* expected =
        m_expected.empty() ? nullptr : std::get_if<Dialog>(&m_expected.front());
    if (!expected || expected->objectName != name) {
        ADD_FAILURE() << "unexpected dialog: " << name;
        return QDialog::Rejected;
    }
    DialogAction action = expected->action;
    m_expected.pop_front();
    return action(dialog);
}

int CModalScript::OnPopupMenu(QMenu& menu) {
    const Menu* expected = m_expected.empty() ? nullptr : std::get_if<Menu>(&m_expected.front());
    if (!expected) {
        ADD_FAILURE() << "unexpected popup menu";
        return 0;
    }
    MenuAction action = expected->action;
    m_expected.pop_front();
    return action(menu);
}
