#pragma once

#include <QWidget>

#include "platform/base/win_types.h"

// A page of a property sheet. The page object lives as long as its sheet, but its controls
// are made only when it is first shown, or when the sheet opens for a sheet that takes the
// size of its largest page; a page the user never opens is never applied.
// Its object name is "dlg" and its template id, which is also its help id.
class CKelvardinPage : public QWidget {
public:
    explicit CKelvardinPage(UINT templateId);

    UINT GetTemplateId() const { return m_templateId; }
    UINT GetHelpId() const { return m_templateId; }
    bool IsCreated() const { return m_created; }
    // Makes the controls, once.
    void Create();
    // The page has been the active one: only such pages are applied.
    bool WasShown() const { return m_shown; }
    void MarkShown() { m_shown = true; }

    // The page has become the active one.
    virtual void OnSetActive() {}
    // The page is about to be left, or the sheet to close with OK: false keeps the page.
    virtual bool OnKillActive() { return true; }
    // The sheet closes with OK: false refuses, and the sheet stays open on this page.
    virtual bool OnApply() { return true; }

protected:
    // Builds the page's controls and fills them.
    virtual void OnInitDialog() {}

private:
    const UINT m_templateId;
    bool m_created = false;
    bool m_shown = false;
};
