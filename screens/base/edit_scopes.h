#pragma once

#include <optional>

#include "model/kelvardin_doc.h"

class CKelvardinGridCtrl;
class COleDataObject;
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

// While a drop of the grid's own drag moving its cells is pasted, the fields of the cells it
// came from count as freed: they are cleared once their text has landed, so a value they hold
// may land elsewhere. Any other drop, and any value held by another field, is checked as typed
// text is.
class CMoveDropScope {
public:
    CMoveDropScope(const CKelvardinGridCtrl& grid, const COleDataObject* data);

private:
    std::optional<CKelvardinDoc::CFreedFieldsScope> m_freed;
};
