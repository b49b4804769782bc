#pragma once

#include "grid/cell_id.h"
#include "platform/ui/log_font.h"
#include "platform/ui/wnd.h"

// Notification codes a grid sends its owner, and the in-place editor's end of edit.
constexpr int GRIDN_SELCHANGING = -100;
constexpr int GRIDN_SELCHANGED = -101;
constexpr int GRIDN_COLUMNCLICK = -108;  // row: the new ascending flag, column: the sort column
constexpr int GRIDN_BEGINDRAG = -109;
constexpr int GRIDN_ODCACHEHINT = -113;
constexpr int GRIDN_BEGINLABELEDIT = -175;  // a negative answer vetoes the edit
constexpr int GRIDN_ENDLABELEDIT = -176;    // a negative answer puts the old text back
constexpr int GRIDN_GETDISPINFO = -177;
constexpr int LVN_ENDLABELEDIT = -176;

// The record of every notification but the display request and the cache hint.
struct NM_GRIDVIEW {
    NMHDR hdr;
    int iRow = -1;
    int iColumn = -1;
};
using GridNotifyRecord = NM_GRIDVIEW;

// A display request in virtual mode: the grid fills it from the default cell, the owner
// answers in it.
struct GridDisplayRecord {
    NMHDR hdr;
    int row = -1;     // the model row
    int column = -1;  // the stored column
    UINT mask = 0xFFFFFFFF;
    UINT state = 0;
    UINT format = 0;
    int image = -1;
    COLORREF bkColor = 0;
    COLORREF textColor = 0;
    LPARAM data = 0;
    LogFont font;
    UINT margin = 0;
    CString text;
};

// Tells the owner of a virtual grid which cells it is about to ask for; (-1, -1, -1, -1) when
// it may let go of them.
struct GridCacheHintRecord {
    NMHDR hdr;
    CCellRange range;
};

// The in-place editor's report of the end of an edit.
struct NMLVDISPINFO {
    NMHDR hdr;
    UINT mask = 0;
    int iItem = -1;     // the row
    int iSubItem = -1;  // the column
    CString text;
    LPARAM lParam = 0;  // the key that ended the edit, 0 when none
};
constexpr UINT LVIF_TEXT = 0x0001;
constexpr UINT LVIF_PARAM = 0x0004;

// The id of the in-place editor among the grid's children.
constexpr UINT IDC_INPLACE_CONTROL = 8;
