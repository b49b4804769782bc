#pragma once

#include <functional>
#include <utility>

#include "model/doc_views.h"
#include "model/kelvardin_doc.h"

// Hears the document's update hints for as long as it lives, passing every call on to the
// views it stands in front of; a dialog that shows the document's data follows it this way.
class CDocHintTap : public IDocViews {
public:
    using Listener = std::function<void(CUpdateHint hint)>;

    CDocHintTap(CKelvardinDoc& doc, Listener listener)
        : m_doc(doc), m_views(doc.GetViews()), m_listener(std::move(listener)) {
        m_doc.SetViews(this);
    }
    ~CDocHintTap() override { m_doc.SetViews(m_views); }
    CDocHintTap(const CDocHintTap&) = delete;
    CDocHintTap& operator=(const CDocHintTap&) = delete;

    void UpdateAllViews(CView* sender, CUpdateHint hint, LPARAM object) override {
        if (m_views) m_views->UpdateAllViews(sender, hint, object);
        m_listener(hint);
    }
    void UpdateAllFrameViews(CView* sender, CUpdateHint hint, LPARAM object) override {
        if (m_views) m_views->UpdateAllFrameViews(sender, hint, object);
        m_listener(hint);
    }
    void BeginWaitCursor() override {
        if (m_views) m_views->BeginWaitCursor();
    }
    void EndWaitCursor() override {
        if (m_views) m_views->EndWaitCursor();
    }

private:
    CKelvardinDoc& m_doc;
    IDocViews* const m_views;
    const Listener m_listener;
};
