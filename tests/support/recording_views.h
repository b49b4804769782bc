#pragma once

#include <vector>

#include "model/doc_views.h"

// Records every update hint the document sends, in order, and to whom.
class CRecordingViews : public IDocViews {
public:
    struct Update {
        bool allViews;  // all views, or the visible panes only
        LPARAM hint;
        LPARAM object;
        bool operator==(const Update&) const = default;
    };

    void UpdateAllViews(CView*, LPARAM hint, LPARAM object) override {
        m_updates.push_back({true, hint, object});
    }
    void UpdateAllFrameViews(CView*, LPARAM hint, LPARAM object) override {
        m_updates.push_back({false, hint, object});
    }
    void BeginWaitCursor() override { ++m_waitCursors; }
    void EndWaitCursor() override { --m_waitCursors; }

    std::vector<Update> m_updates;
    int m_waitCursors = 0;
};
