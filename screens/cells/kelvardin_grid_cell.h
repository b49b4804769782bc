#pragma once

#include "grid/grid_cell.h"
#include "model/obj_spec.h"

class CGridCtrl;
class CKelvardinDoc;
class CKelvardinGridCtrl;
class CKelvardinGridView;

// A cell of a screen: bound to one field of one record, it takes its text from the document
// whenever it is drawn, printed, sorted or read, hands an edited text to the document's edit
// entry point, and colours itself by the state of its field (read-only, problematic, changed).
class CKelvardinGridCell : public CGridCell {
public:
    enum Border : int { kBorderLeft = 1, kBorderRight = 2, kBorderTop = 4, kBorderBottom = 8 };

    CKelvardinGridCell();
    ~CKelvardinGridCell() override;

    // The document; none while there is no main window.
    virtual CKelvardinDoc* GetDocument() const;
    // The screen whose grid the cell is in; none when the grid is no screen's.
    virtual CKelvardinGridView* GetGridView() const;
    virtual const CObjSpec& GetObjSpec() const { return m_spec; }
    virtual void SetObjSpec(const CObjSpec& obj);
    // A second specification: which part of a value the text is, for the fields that name
    // another record (a trunk end is shown as the alpha, intercom or port it names).
    virtual const CObjSpec& GetAltObjSpec() const { return m_altSpec; }
    virtual void SetAltObjSpec(const CObjSpec& obj);
    virtual int GetBorders() const { return m_nBorders; }
    virtual void SetBorders(int borders) { m_nBorders = borders; }
    virtual void SetBorderColors(COLORREF left, COLORREF top, COLORREF right, COLORREF bottom);
    // Raised (light left and top, dark right and bottom) or sunken.
    virtual void SetBorderStyle(BOOL sunken);
    // Hands the text to the document's edit entry point and shows what the field then holds;
    // the document's answer (non-zero when it stored a new value).
    virtual BOOL SetValueText(const CString& text);
    virtual void DrawBorders(CDC* dc, const CRect& rect);
    // Reads the field's text from the document; TRUE when the shown text changed.
    virtual BOOL UpdateText();

    void SetCoords(int row, int col) override;
    const CString& GetText() const override;
    COLORREF GetBackClr() const override;
    COLORREF GetSelectedTextClr() const override;
    int GetColumn() const override { return m_nCol; }
    int GetRow() const override { return m_nRow; }
    BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBkgnd = TRUE) override;
    BOOL PrintCell(CDC* dc, int row, int col, CRect rect) override;
    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT ch) override;
    BOOL ValidateEdit(const CString& text) override;
    // Every field back to a new cell's.
    void Reset() override;

    // A virtual grid lends one cell for many: everything a lend may set is set back to a new
    // cell's first, so that nothing of the cell it last stood for shows. An open edit stays.
    void Lend(CGridCtrl* grid, DWORD state);
    // A text a virtual grid's screen already knows for the header sort that runs: the cell
    // shows it as it is until it is lent again.
    void SetSortText(const CString& text);

    // How the in-place editor takes text: in upper case (the default), digits only (the edit
    // starts only on a digit), hexadecimal digits, at most maxChars characters (0: no limit).
    void SetUpperCase(bool upper) { m_bUpperCase = upper; }
    void SetDigitsOnly(bool digits, bool hex = false) {
        m_bDigitsOnly = digits;
        m_bHexDigits = hex;
    }
    void SetMaxChars(int maxChars) { m_nMaxChars = maxChars; }

    // The bound specification with its index as the screen maps its rows: the field the cell
    // shows and edits.
    CObjSpec MappedSpec() const;

protected:
    // Redraws the cell now when it sits in a grid.
    void RedrawSelf();
    // A value stored without the grid's edit protocol (a key or a double click on a yes/no
    // cell): a sorted screen puts the rows back in order when the cell lies in its sort column.
    void SortColumnMayHaveChanged();

private:
    void ResetOwnFields();
    // The grid while it sorts, else null.
    const CKelvardinGridCtrl* SortingGrid() const;

    CObjSpec m_spec;
    CObjSpec m_altSpec;
    int m_nBorders = 0;
    COLORREF m_crBorders[4] = {};  // left, top, right, bottom
    int m_nRow = -1;
    int m_nCol = -1;
    mutable bool m_bTextCached = false;
    mutable unsigned m_nTextSortPass = 0;  // the sort pass the cached text was read for
    bool m_bSortTextGiven = false;
    bool m_bUpperCase = true;
    bool m_bDigitsOnly = false;
    bool m_bHexDigits = false;
    int m_nMaxChars = 0;
    mutable CKelvardinGridView* m_pGridView = nullptr;
};
