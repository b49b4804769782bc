#pragma once

#include <ostream>
#include <vector>

#include "model/doc_views.h"

// Records every update hint the document sends, in order, and to whom.
class CRecordingViews : public IDocViews {
public:
    struct Update {
        bool allViews;  // all views, or the visible panes only
        CUpdateHint hint;
        LPARAM object;
        bool operator==(const Update&) const = default;
        friend void PrintTo(const Update& update, std::ostream* out) {
            *out << '{' << update.allViews << ", " << update.hint.ToParam() << ", " << update.object
                 << '}';
        }
    };

    void UpdateAllViews(CView*, CUpdateHint hint, LPARAM object) override {
        m_updates.push_back({true, hint, object});
    }
    void UpdateAllFrameViews(CView*, CUpdateHint hint, LPARAM object) override {
        m_updates.push_back({false, hint, object});
    }
    void BeginWaitCursor() override { ++m_waitCursors; }
    void EndWaitCursor() override { --m_waitCursors; }

    std::vector<Update> m_updates;
    int m_waitCursors = 0;
};
