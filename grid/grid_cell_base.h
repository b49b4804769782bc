#pragma once

#include "platform/base/cstring.h"
#include "platform/base/gdi_types.h"
#include "platform/ui/log_font.h"

class CDC;
class CGridCtrl;
class CGridDefaultCell;
class CInPlaceEditor;

// State bits of a cell.
constexpr DWORD CELL_FOCUSED = 0x01;
constexpr DWORD CELL_SELECTED = 0x02;
constexpr DWORD CELL_DROPHILITED = 0x04;
constexpr DWORD CELL_READONLY = 0x08;
constexpr DWORD CELL_FIXED = 0x10;
constexpr DWORD CELL_FIXEDROW = 0x20;
constexpr DWORD CELL_FIXEDCOL = 0x40;
constexpr DWORD CELL_MODIFIED = 0x80;

// "Use the default cell's value" for colours, formats and margins.
constexpr COLORREF CLR_DEFAULT = 0xFF000000;
constexpr DWORD FORMAT_DEFAULT = 0xFFFFFFFF;
constexpr UINT MARGIN_DEFAULT = 0xFFFFFFFF;

// One cell of a grid: its text, data, state and appearance, how it draws, measures and prints
// itself, starts an in-place edit and answers the grid's mouse hooks. Only the state lives
// here; the rest is the concrete cell's.
class CGridCellBase {
public:
    CGridCellBase() = default;
    CGridCellBase(const CGridCellBase&) = delete;
    virtual ~CGridCellBase() = default;

    // Copies another cell's appearance and content through the setters: format and margin as
    // resolved, colours as stored.
    virtual CGridCellBase& operator=(const CGridCellBase& cell);

    virtual void SetText(const CString& text) = 0;
    virtual void SetImage(int image) = 0;
    virtual void SetData(LPARAM data) = 0;
    virtual void SetState(DWORD state) { m_nState = state; }
    virtual void SetFormat(DWORD format) = 0;
    virtual void SetTextClr(COLORREF color) = 0;
    virtual void SetBackClr(COLORREF color) = 0;
    // Null goes back to the default cell's font.
    virtual void SetFont(const LogFont* font) = 0;
    virtual void SetMargin(UINT margin) = 0;
    virtual void SetGrid(CGridCtrl* grid) = 0;
    virtual void SetCoords(int row, int col) = 0;

    virtual const CString& GetText() const = 0;
    virtual const CString& GetTipText() const { return GetText(); }
    virtual int GetImage() const = 0;
    virtual LPARAM GetData() const = 0;
    virtual DWORD GetState() const { return m_nState; }
    virtual DWORD GetFormat() const = 0;
    virtual COLORREF GetTextClr() const = 0;
    virtual COLORREF GetBackClr() const = 0;
    virtual COLORREF GetSelectedTextClr() const = 0;
    virtual COLORREF GetSelectedBackClr() const = 0;
    virtual const LogFont* GetFont() const = 0;
    virtual const LogFont* GetFontObject() const = 0;
    virtual CGridCtrl* GetGrid() const = 0;
    virtual CInPlaceEditor* GetEditWnd() const = 0;
    virtual UINT GetMargin() const = 0;
    virtual int GetColumn() const { return -1; }
    virtual int GetRow() const { return -1; }
    // The grid's default cell for this cell's fixedness; none without a grid.
    virtual CGridDefaultCell* GetDefaultCell() const;

    virtual BOOL IsDefaultFont() const = 0;
    virtual BOOL IsEditing() const = 0;
    virtual BOOL IsFocused() const { return m_nState & CELL_FOCUSED; }
    virtual BOOL IsFixed() const { return m_nState & CELL_FIXED; }
    virtual BOOL IsFixedCol() const { return m_nState & CELL_FIXEDCOL; }
    virtual BOOL IsFixedRow() const { return m_nState & CELL_FIXEDROW; }
    virtual BOOL IsSelected() const { return m_nState & CELL_SELECTED; }
    virtual BOOL IsReadOnly() const { return m_nState & CELL_READONLY; }
    virtual BOOL IsModified() const { return m_nState & CELL_MODIFIED; }
    virtual BOOL IsDropHighlighted() const { return m_nState & CELL_DROPHILITED; }

    virtual void Reset() { m_nState = 0; }

    // Paints the cell into the inclusive rectangle; FALSE when it drew nothing.
    virtual BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBkgnd = TRUE);
    virtual BOOL GetTextRect(CRect* rect) { return rect != nullptr; }
    virtual BOOL GetTipTextRect(CRect* rect) { return GetTextRect(rect); }
    // The room the text needs in this cell, margins included; without a DC the grid's is used.
    virtual CSize GetTextExtent(const CString& text, CDC* dc = nullptr);
    virtual CSize GetCellExtent(CDC* dc) { return GetTextExtent(GetText(), dc); }

    virtual BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT ch);
    virtual BOOL ValidateEdit(const CString& /*text*/) { return TRUE; }
    virtual void EndEdit() {}

    virtual BOOL PrintCell(CDC* dc, int row, int col, CRect rect);

    virtual void OnEndEdit() {}
    virtual void OnMouseEnter() {}
    virtual void OnMouseOver() {}
    virtual void OnMouseLeave() {}
    virtual void OnClick(CPoint /*point*/) {}
    virtual void OnClickDown(CPoint /*point*/) {}
    virtual void OnRClick(CPoint /*point*/) {}
    virtual void OnDblClick(CPoint /*point*/) {}
    virtual BOOL OnSetCursor();

protected:
    // Draws the header's light and dark edge lines inside the inclusive rectangle.
    static void DrawHeaderEdges(CDC& dc, const CRect& rect);

private:
    void DrawSortMark(CDC& dc, CRect& rect, const CGridCtrl& grid);

    DWORD m_nState = 0;
};
