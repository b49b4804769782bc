#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "doc_fixture.h"
#include "model/bounded_stack.h"
#include "model/select_alpha.h"
#include "model/undo_host.h"
#include "model/undo_object.h"
#include "model/validation_report.h"
#include "platform/base/message_sink.h"
#include "res/command_ids.h"
#include "res/string_table.h"

// A main window with real undo and redo stacks, undo groups and one grid of cells, which
// records what the model asks of it. It registers itself with the application state.
class CFakeUndoHost : public IUndoHost {
public:
    struct Selection {
        int row;
        int col;
        bool select;
        bool operator==(const Selection&) const = default;
    };

    explicit CFakeUndoHost(CKelvardinDoc& doc) : m_doc(doc) { GetApp().SetUndoHost(this); }
    ~CFakeUndoHost() override { GetApp().SetUndoHost(nullptr); }
    CFakeUndoHost(const CFakeUndoHost&) = delete;
    CFakeUndoHost& operator=(const CFakeUndoHost&) = delete;

    CKelvardinDoc* GetActiveDocument() override { return &m_doc; }
    void AddUndo(std::unique_ptr<CUndoObject> record) override {
        if (m_group) return m_group->Add(std::move(record));
        Push(std::move(record));
    }
    void AddUndoList(std::unique_ptr<CUndoObList> list) override {
        if (m_group) return m_group->Append(std::move(*list));
        Push(std::move(list));
    }
    void BeginUndoGroup(bool open) override {
        if (m_group && !m_group->IsEmpty()) Push(std::move(m_group));
        m_group.reset();
        if (open) m_group = std::make_unique<CUndoObList>();
    }
    void TakeBackUndoGroup() override {
        if (!m_group) return;
        m_group->Restore(m_doc);
        m_group = std::make_unique<CUndoObList>();
    }
    std::optional<CContext> GetCurrentContext() const override { return m_context; }
    void GoToContext(const CContext& context) override {
        if (m_context) m_back.push_back(*m_context);
        m_context = context;
    }
    void EmptyForward() override { ++m_forwardEmptied; }
    bool FindGridCell(const CObjSpec& objSpec, const CObjSpec&, int& row, int& col) override {
        if (!(objSpec == m_cellSpec)) return false;
        row = m_cell.row;
        col = m_cell.col;
        return true;
    }
    void SelectGridCell(int row, int col, bool select) override {
        m_selections.push_back({row, col, select});
    }
    void RepaintCurrentGrid() override { ++m_repaints; }
    // Records the error number each Error Info command is posted for.
    void PostMessage(UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_COMMAND && wParam == ID_ERROR_INFO)
            m_errorInfos.push_back(GetApp().m_nLastError);
    }
    void MessageBeep(UINT) override { ++m_beeps; }

    // The main window's Undo and Redo.
    bool Undo() { return Replay(m_undo, m_redo); }
    bool Redo() { return Replay(m_redo, m_undo); }

    CStack<CUndoStep> m_undo;
    CStack<CUndoStep> m_redo;
    std::unique_ptr<CUndoObList> m_group;
    std::optional<CContext> m_context;
    std::vector<CContext> m_back;
    int m_forwardEmptied = 0;
    CObjSpec m_cellSpec;  // the one cell of the grid
    Selection m_cell{-1, -1, false};
    std::vector<Selection> m_selections;
    int m_repaints = 0;
    std::vector<int> m_errorInfos;
    int m_beeps = 0;

private:
    void Push(std::unique_ptr<CUndoStep> step) {
        m_undo.Push(std::move(step));
        m_redo.RemoveAll();
    }
    // false when there is nothing to take or the step was refused.
    bool Replay(CStack<CUndoStep>& from, CStack<CUndoStep>& to) {
        return ReplayNewestStep(m_doc, from, to);
    }

    CKelvardinDoc& m_doc;
};

// The alpha selection dialog, answered by the test; whileOpen stands for what the controller
// sends meanwhile.
class CScriptedSelectAlpha : public ISelectAlpha {
public:
    int DoSelectAlpha(const std::vector<CAlphaChoice>& candidates) override {
        m_shown.push_back(candidates);
        if (m_whileOpen) std::exchange(m_whileOpen, nullptr)();
        return m_answer;
    }
    std::vector<std::vector<CAlphaChoice>> m_shown;
    int m_answer = -1;
    std::function<void()> m_whileOpen;
};

// A document with a main window and the alpha dialog, for edits typed by the user.
class EditTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        m_doc.SetSelectAlpha(&m_dialog);
    }

    BOOL Edit(const CObjSpec& objSpec, const CString& text,
              const CObjSpec& fieldSpec = CObjSpec::Plain()) {
        return m_doc.SetObjectField(objSpec, text, TRUE, fieldSpec);
    }
    // The error numbers whose Error Info was posted since the last call.
    std::vector<int> TakeReports() { return std::exchange(m_host.m_errorInfos, {}); }
    // The text stored for an error number.
    const CString& ErrorText(int error) const {
        return m_app.m_errorTexts[static_cast<size_t>(error)];
    }
    void NameIcom(int icom, const CString& name, int length = 4) {
        m_doc.SetIcomNameFromController(icom, length, name, FALSE);
    }

    CFakeUndoHost m_host{m_doc};
    CScriptedSelectAlpha m_dialog;
};

inline CObjSpec Entry(DWORD kind) {
    return CObjSpec(CObjSpec::kAlpha, 0, kind);
}

// Trunk edits between intercoms 1-4, named ALFA, BRAV, CHAR and DELT; intercom 5 has no name.
class TrunkEditTest : public EditTest {
protected:
    void SetUp() override {
        EditTest::SetUp();
        for (int i = 0; const char16_t* name : {u"ALFA", u"BRAV", u"CHAR", u"DELT"})
            NameIcom(i++, name);
    }
    // Sets an end (field 3 or 4) or fixed assignment (5 or 6) as a received value would, also
    // over a change not sent, which keeps its mark.
    void Put(int trunk, DWORD field, const CAssign& assign) {
        const CTrunkSpec target(trunk, field);
        const DWORD marked = m_doc.IsModified(target);
        const BOOL first = field == CTrunk::kFieldEnd1 || field == CTrunk::kFieldFixed1;
        if (field <= CTrunk::kFieldEnd2)
            m_doc.SetTrunkEnd(assign, first, TRUE, trunk);
        else
            m_doc.SetTrunkFixedAssign(assign, first, TRUE, trunk);
        m_doc.SetModified(target, marked != 0);
    }
    CAssign End(int trunk, BOOL first = TRUE) { return m_doc.GetTrunkEnd(trunk, first); }
    CAssign Fixed(int trunk, BOOL first = TRUE) { return m_doc.GetTrunkFixedAssign(trunk, first); }
    BOOL EditEnd(int trunk, const CString& text, DWORD kind, BOOL first = TRUE) {
        return Edit(CTrunkSpec(trunk, first ? CTrunk::kFieldEnd1 : CTrunk::kFieldEnd2), text,
                    Entry(kind));
    }
    BOOL EditFixed(int trunk, const CString& text, BOOL first = TRUE,
                   DWORD kind = CObjSpec::kEntryAssignText) {
        return Edit(CTrunkSpec(trunk, first ? CTrunk::kFieldFixed1 : CTrunk::kFieldFixed2), text,
                    Entry(kind));
    }

    static constexpr DWORD kIcom = CObjSpec::kEntryIcom;
    static constexpr DWORD kLabel = CObjSpec::kEntryAlphaLabel;
    static constexpr DWORD kAssign = CObjSpec::kEntryAssignText;
};
