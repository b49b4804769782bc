#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/ui/modal.h"
#include "platform/ui/ui_environment.h"

// Answers the modal questions a test expects, in order, and fails the test on one it did not
// expect (answered as a user who cancels), or when one it expected never came.
class CModalScript : public IModalScript {
public:
    using DialogAction = std::function<int(QDialog&)>;
    using MenuAction = std::function<int(QMenu&)>;

    explicit CModalScript(CUiEnvironment& environment);
    ~CModalScript() override;

    // The next message box must contain the text; it is answered with the ID* value, after
    // what happens meanwhile while it is open, if anything.
    void ExpectMessageBox(std::u16string containing, int answer,
                          std::function<void()> meanwhile = {});
    // The next dialog must carry the object name; the action acts on it and answers.
    void ExpectDialog(std::string objectName, DialogAction action);
    void ExpectMenu(MenuAction action);
    bool AllAnswered() const { return m_expected.empty(); }
    // Every message box text shown, in order, and its style and help id.
    const std::vector<CString>& MessageBoxes() const { return m_shown; }
    const std::vector<std::pair<UINT, UINT>>& MessageBoxStyles() const { return m_styles; }

    int OnMessageBox(const CString& text, UINT type, UINT helpId) override;
    int OnDialog(QDialog& dialog) override;
    int OnPopupMenu(QMenu& menu) override;

private:
    struct Box {
        std::u16string containing;
        int answer;
        std::function<void()> meanwhile;
    };
    struct Dialog {
        std::string objectName;
        DialogAction action;
    };
    struct Menu {
        MenuAction action;
    };
    using Expected = std::variant<Box, Dialog, Menu>;

    CUiEnvironment& m_environment;
    IModalScript* m_previous;
    std::deque<Expected> m_expected;
    std::vector<CString> m_shown;
    std::vector<std::pair<UINT, UINT>> m_styles;
};
