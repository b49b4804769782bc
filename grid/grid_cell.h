#pragma once

#include <memory>

#include "grid/grid_cell_base.h"

// The grid's ordinary cell. Colours of CLR_DEFAULT, a format of FORMAT_DEFAULT, a margin of
// MARGIN_DEFAULT and no font of its own all mean that the default cell's value applies.
class CGridCell : public CGridCellBase {
public:
    CGridCell() = default;
    ~CGridCell() override;
    using CGridCellBase::operator=;
    CGridCell& operator=(const CGridCell& cell) {
        CGridCellBase::operator=(cell);
        return *this;
    }

    void SetText(const CString& text) override { m_strText = text; }
    void SetImage(int image) override { m_nImage = image; }
    void SetData(LPARAM data) override { m_lParam = data; }
    void SetFormat(DWORD format) override { m_nFormat = format; }
    void SetTextClr(COLORREF color) override { m_crFgClr = color; }
    void SetBackClr(COLORREF color) override { m_crBkClr = color; }
    void SetFont(const LogFont* font) override;
    void SetMargin(UINT margin) override { m_nMargin = margin; }
    void SetGrid(CGridCtrl* grid) override { m_pGrid = grid; }
    void SetCoords(int /*row*/, int /*col*/) override {}

    const CString& GetText() const override { return m_strText; }
    int GetImage() const override { return m_nImage; }
    LPARAM GetData() const override { return m_lParam; }
    DWORD GetFormat() const override;
    COLORREF GetTextClr() const override { return m_crFgClr; }
    COLORREF GetBackClr() const override { return m_crBkClr; }
    COLORREF GetSelectedTextClr() const override;
    COLORREF GetSelectedBackClr() const override;
    const LogFont* GetFont() const override;
    const LogFont* GetFontObject() const override;
    CGridCtrl* GetGrid() const override { return m_pGrid; }
    CInPlaceEditor* GetEditWnd() const override { return m_pEditWnd; }
    UINT GetMargin() const override;

    BOOL IsDefaultFont() const override { return m_plfFont == nullptr; }
    BOOL IsEditing() const override { return m_bEditing; }

    void Reset() override;

    // Opens a CInPlaceEdit over the cell, or feeds the character to the one already open.
    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT ch) override;

    void EndEdit() override;
    void OnEndEdit() override;

    // Called by the editor when it goes away before the cell heard of its end.
    void EditorGone(const CInPlaceEditor* editor);

protected:
    // Marks the cell as editing with this editor; the editor tells the cell when it goes.
    void AttachEditor(CInPlaceEditor* editor);
    const LogFont* OwnFont() const { return m_plfFont.get(); }

private:
    CString m_strText;
    LPARAM m_lParam = 0;
    int m_nImage = -1;
    DWORD m_nFormat = FORMAT_DEFAULT;
    COLORREF m_crFgClr = CLR_DEFAULT;
    COLORREF m_crBkClr = CLR_DEFAULT;
    std::unique_ptr<LogFont> m_plfFont;
    UINT m_nMargin = MARGIN_DEFAULT;
    BOOL m_bEditing = FALSE;
    CGridCtrl* m_pGrid = nullptr;
    CInPlaceEditor* m_pEditWnd = nullptr;
};

// One of the four cells each grid keeps for the font, colours, format, margin and default size
// of the cells that set none of their own. It has no data or state of its own, and always
// reports itself read-only.
class CGridDefaultCell : public CGridCell {
public:
    CGridDefaultCell();
    ~CGridDefaultCell() override = default;
    using CGridCell::operator=;

    void SetData(LPARAM /*data*/) override {}
    void SetState(DWORD /*state*/) override {}
    DWORD GetState() const override { return CGridCell::GetState() | CELL_READONLY; }
    // Remakes the font and measures the margin, width and height from it.
    void SetFont(const LogFont* font) override;
    const LogFont* GetFont() const override { return OwnFont(); }
    const LogFont* GetFontObject() const override { return OwnFont(); }

    DWORD GetStyle() const { return m_dwStyle; }
    void SetStyle(DWORD style) { m_dwStyle = style; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    void SetWidth(int width) { m_nWidth = width; }
    void SetHeight(int height) { m_nHeight = height; }

private:
    int m_nWidth = 30;
    int m_nHeight = 10;
    DWORD m_dwStyle = 0;
};
