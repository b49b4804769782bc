#pragma once

#include <functional>
#include <optional>

#include "model/cv_config.h"
#include "model/doc_snapshot.h"
#include "model/kelvardin_doc.h"
#include "platform/base/cstring.h"
#include "platform/base/win_types.h"
#include "shell/main_frame/undo_history.h"

class CKelvardinApp;
class QWidget;

// What a command that may fail has changed, put back as it was when it fails: the mode, the
// document's path and the title that shows it, and as the command asks, the setup with its
// configuration, or only the marks of what a file holds, and the undo and redo steps. Put back
// when it goes out of scope unless committed. What the controller sends meanwhile is never
// taken back (model/doc_snapshot.h).
//
// A dialog of the command may stay open while something else replaces what the command
// started from. The commands empty the undo history only once committed, so a history emptied
// meanwhile means that the setup was let go or replaced (a lost link, a controller of another
// size, a new setup): then nothing is put back over it. A mode set by anything but a command
// (a refused session, a failed or finished connect) stays, and the title shows it.
class CCommandRollback {
public:
    // What is kept beside the mode, path and title.
    enum Keep : unsigned {
        kFileMarks = 1,  // the 0x4000 marks a save moves
        kSetup = 2,      // every record, alpha and mark, and the live configuration
        kUndo = 4,       // the steps, held aside: a command that succeeds leaves none
    };
    // The document's path and whether it names a file, owned by the setup-file commands, and
    // the title shown for them in the mode there is.
    struct CDocPath {
        CString& path;
        BOOL& isFile;
        std::function<void()> showTitle;
    };

    CCommandRollback(CKelvardinApp& app, CKelvardinDoc& doc, CUndoHistory& undo, QWidget& window,
                     CDocPath docPath, unsigned keep);
    ~CCommandRollback();
    CCommandRollback(const CCommandRollback&) = delete;
    CCommandRollback& operator=(const CCommandRollback&) = delete;

    // The command sets the mode: the put-back takes it back.
    void SetMode(int mode);
    // The command succeeded: what it changed stays, and the copy of the setup goes.
    void Commit();
    // The command failed: everything kept goes back, once.
    void Restore();

private:
    CKelvardinApp& m_app;
    CKelvardinDoc& m_doc;
    CUndoHistory& m_undo;
    QWidget& m_window;
    CDocPath m_docPath;
    const int m_nMode;
    const CString m_strPath;
    const BOOL m_bIsFile;
    const CString m_strTitle;
    const unsigned m_nUndoClears;
    const unsigned m_nModeSets;
    std::optional<CKelvardinDoc::CFlagMarks> m_marks;
    std::optional<CCVConfig> m_config;
    std::optional<CDocSnapshot> m_setup;
    std::optional<CUndoHistory::CHeldSteps> m_steps;
    bool m_bDone = false;
};
