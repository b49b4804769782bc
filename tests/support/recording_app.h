#pragma once

#include <set>
#include <vector>

#include "model/app_state.h"

// An application state that records every message box it is asked to show and answers with a
// scriptable answer (0 by default).
class CRecordingApp : public CAppState {
public:
    struct Box {
        CString text;
        UINT type;
        bool operator==(const Box&) const = default;
    };

    using CAppState::CAppState;

    int DoMessageBox(const CString& text, UINT type) override {
        m_boxes.push_back({text, type});
        return m_answer;
    }
    // The commands a test makes available; none by default.
    BOOL IsCommandEnabled(UINT id) override { return m_enabledCommands.count(id & 0xFFFF) != 0; }

    std::vector<Box> m_boxes;
    int m_answer = 0;
    std::set<UINT> m_enabledCommands;
};
