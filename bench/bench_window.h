#pragma once

#include <array>
#include <optional>

#include "bench/bench_stats.h"
#include "link/cv_data_mgr.h"
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "model/undo_host.h"
#include "platform/ui/view.h"
#include "screens/base/screen_host.h"

// The main window as far as the document and one shown screen ask for it: the document, the
// current screen, its hints and the contexts; everything else does nothing.
class CBenchWindow : public IUndoHost, public IScreenHost, public IDocViews {
public:
    explicit CBenchWindow(CKelvardinDoc* doc = nullptr) : m_doc(doc) {
        GetApp().SetUndoHost(this);
        if (m_doc) m_doc->SetViews(this);
    }
    ~CBenchWindow() override { GetApp().SetUndoHost(nullptr); }

    CKelvardinDoc* GetActiveDocument() override { return m_doc; }
    void AddUndo(std::unique_ptr<CUndoObject>) override {}
    void AddUndoList(std::unique_ptr<CUndoObList>) override {}
    void BeginUndoGroup(bool) override {}
    void TakeBackUndoGroup() override {}
    std::optional<CContext> GetCurrentContext() const override { return std::nullopt; }
    void GoToContext(const CContext&) override {}
    void EmptyForward() override {}
    bool FindGridCell(const CObjSpec&, const CObjSpec&, int&, int&) override { return false; }
    void SelectGridCell(int, int, bool) override {}
    void RepaintCurrentGrid() override {}
    void PostMessage(UINT, WPARAM, LPARAM) override {}
    void MessageBeep(UINT) override {}

    CKelvardinDoc* GetDocument() override { return m_doc; }
    bool IsCurrentScreen(const CView& view) const override { return &view == screen; }
    CContext& GetViewContext(int id) override { return m_contexts[static_cast<size_t>(id)]; }
    void PushHistory(const CContext&) override {}
    CString GetFrameText() const override { return {}; }
    CString GetFilterText() const override { return {}; }
    CView* GetCurrentPane() const override { return nullptr; }
    QWidget* GetWindow() override { return nullptr; }
    int AskClearChanges(int) override { return -1; }
    void WinHelp(DWORD, UINT) override {}
    void PostCommand(UINT) override {}
    void ClearAllocations(int) override {}
    void SetMaintMode(int) override {}
    void ClearMaintMode(int) override {}
    bool SearchForIntercom(int, const CString&, CString&, CString&, CString&) override {
        return false;
    }
    CCVDataMgr& GetDataMgr() override { return m_link; }
    const CScreenTiming& GetScreenTiming() const override { return m_timing; }

    void UpdateAllViews(CView* sender, CUpdateHint hint, LPARAM object) override {
        if (screen && screen != sender)
            screen->OnUpdate(sender, hint.ToParam(), reinterpret_cast<void*>(object));
    }
    void UpdateAllFrameViews(CView* sender, CUpdateHint hint, LPARAM object) override {
        UpdateAllViews(sender, hint, object);
    }

    CView* screen = nullptr;

private:
    CKelvardinDoc* m_doc;
    std::array<CContext, 12> m_contexts{};
    CCVDataMgr m_link;
    CScreenTiming m_timing;
};
