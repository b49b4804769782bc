#pragma once

class CKelvardinGridCtrl;
class COleDataObject;
class IScreenHost;
class IUndoHost;

// Gathers the edits made while it lives into one step of the main window's undo history. The
// step is closed however the scope is left, by return or by exception; one without edits is
// dropped. An undo group that was open before is closed first.
class CUndoGroupScope {
public:
    CUndoGroupScope();
    ~CUndoGroupScope();
    CUndoGroupScope(const CUndoGroupScope&) = delete;
    CUndoGroupScope& operator=(const CUndoGroupScope&) = delete;

private:
    IUndoHost* m_host;
};

// Holds the main window's drop-move flag set while it lives, for a drop of the grid's own
// drag moving its cells only: their source is cleared once the text has landed, so the checks
// of a value already in use may pass it. Any other drop is checked as typed text is.
class CMoveDropScope {
public:
    CMoveDropScope(const CKelvardinGridCtrl& grid, const COleDataObject* data);
    ~CMoveDropScope();
    CMoveDropScope(const CMoveDropScope&) = delete;
    CMoveDropScope& operator=(const CMoveDropScope&) = delete;

private:
    IScreenHost* m_host;
};
