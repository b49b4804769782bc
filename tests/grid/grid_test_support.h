#pragma once

#include <QApplication>
#include <QWidget>

#include <functional>
#include <vector>

#include "grid/grid_ctrl.h"
#include "grid/in_place_editor.h"
#include "tests/support/recording_dc.h"

// A grid whose state tests can set directly, as a deriving screen can.
class CTestGrid : public CGridCtrl {
public:
    using CGridCtrl::m_bAscending;
    using CGridCtrl::m_idCurrentCell;
    using CGridCtrl::m_MouseMode;
    using CGridCtrl::m_nSortColumn;
    using CGridCtrl::m_SelectionStartCell;
    using CGridCtrl::m_TitleTip;
};

// The owner of a grid: hears its notifications in order and answers them.
class CNotifyOwner : public CWnd {
public:
    struct Note {
        int code;
        int row;
        int col;
        bool operator==(const Note&) const = default;
    };

    BOOL OnNotify(WPARAM, NMHDR* header, LRESULT* result) override {
        Note note{header->code, -1, -1};
        if (header->code == GRIDN_ODCACHEHINT) {
            const auto* hint = reinterpret_cast<GridCacheHintRecord*>(header);
            note.row = hint->range.GetMinRow();
            note.col = hint->range.GetMaxRow();
        } else if (header->code == GRIDN_GETDISPINFO) {
            auto* record = reinterpret_cast<GridDisplayRecord*>(header);
            note.row = record->row;
            note.col = record->column;
            if (display) display(*record);
        } else {
            const auto* record = reinterpret_cast<NM_GRIDVIEW*>(header);
            note.row = record->iRow;
            note.col = record->iColumn;
        }
        notes.push_back(note);
        *result = answer ? answer(note) : 0;
        return TRUE;
    }
    std::vector<int> Codes() const {
        std::vector<int> codes;
        for (const Note& n : notes)
            codes.push_back(n.code);
        return codes;
    }

    std::vector<Note> notes;
    std::function<LRESULT(const Note&)> answer;
    std::function<void(GridDisplayRecord&)> display;
};

// A shown grid of a known client size inside its owner, with rows and columns of known sizes.
template <class Grid = CTestGrid>
class CGridWindow {
public:
    explicit CGridWindow(CSize client = CSize(300, 200),
                         DWORD style = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL) {
        owner.Create(WS_VISIBLE, CRect(0, 0, client.cx + 100, client.cy + 100),
                     static_cast<QWidget*>(nullptr), 1);
        grid.Create(CRect(0, 0, client.cx, client.cy), &owner, 1003, style);
        owner.GetWidget()->show();
        QApplication::processEvents();
    }
    // Every row the given height, every column the given width.
    void Shape(int rows, int cols, int fixedRows, int fixedCols, int height = 20, int width = 50) {
        grid.SetRowCount(rows);
        grid.SetColumnCount(cols);
        grid.SetFixedRowCount(fixedRows);
        grid.SetFixedColumnCount(fixedCols);
        for (int r = 0; r < rows; ++r)
            grid.SetRowHeight(r, height);
        for (int c = 0; c < cols; ++c)
            grid.SetColumnWidth(c, width);
        QApplication::processEvents();
    }

    CNotifyOwner owner;
    Grid grid;
};

// An editor that only records what the grid asks of it.
class CFakeEditor : public CInPlaceEditor {
public:
    void SendChar(UINT ch) override { chars.push_back(ch); }
    void EndEdit() override {
        ++ended;
        DetachCell();
    }
    CString GetWindowText() const override { return text; }

    std::vector<UINT> chars;
    int ended = 0;
    CString text;
};

// A cell whose edits open a fake editor.
class CFakeEditCell : public CGridCell {
public:
    BOOL Edit(int, int, CRect, CPoint, UINT, UINT ch) override {
        if (IsEditing()) {
            GetEditWnd()->SendChar(ch);
            return TRUE;
        }
        firstChar = ch;
        editor = std::make_unique<CFakeEditor>();
        AttachEditor(editor.get());
        return TRUE;
    }
    std::unique_ptr<CFakeEditor> editor;
    UINT firstChar = 0;
};

inline std::vector<CRecordingDC::Record> LinesOf(const CRecordingDC& dc, COLORREF color) {
    std::vector<CRecordingDC::Record> lines;
    for (const auto& r : dc.Of(CRecordingDC::Op::Line))
        if (r.color == color) lines.push_back(r);
    return lines;
}
