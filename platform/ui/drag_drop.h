#pragma once

#include <optional>

#include "platform/base/cstring.h"
#include "platform/ui/win_consts.h"

class CWnd;
class QMimeData;

// The data of a drag or a paste: Unicode text, and the window the drag started in (none for
// the clipboard or a drag from another program).
class COleDataObject {
public:
    COleDataObject() = default;
    explicit COleDataObject(std::optional<CString> text, CWnd* source = nullptr)
        : m_text(std::move(text)), m_source(source) {}
    // The clipboard's present text.
    static COleDataObject FromClipboard();

    bool IsTextAvailable() const { return m_text.has_value(); }
    CString GetText() const { return m_text.value_or(CString()); }
    CWnd* GetSourceWindow() const { return m_source; }
    // A target that took only part of the text takes it as a copy, so that a move's source
    // does not clear what never landed.
    void KeepAtSource() { m_keptAtSource = true; }
    bool IsKeptAtSource() const { return m_keptAtSource; }

private:
    std::optional<CString> m_text;
    CWnd* m_source = nullptr;
    bool m_keptAtSource = false;
};

// Text offered to the clipboard or dragged from a window.
class COleDataSource {
public:
    void SetText(const CString& text) { m_text = text; }
    const CString& GetText() const { return m_text; }
    // Puts the text on the clipboard.
    void SetClipboard() const;
    // Drags the text from the window until the button is released; answers what the target
    // did with it (DROPEFFECT_NONE when it was refused or the drag was cancelled). The event
    // loop goes on meanwhile: the caller counts the drag as a nested loop.
    DROPEFFECT DoDragDrop(CWnd& source,
                          DROPEFFECT allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE) const;

private:
    CString m_text;
};

BOOL IsClipboardTextAvailable();

// Whether a drag from another program carries local files: their text is a list of names, not
// text for a control to take.
bool CarriesLocalFiles(const QMimeData* data);
