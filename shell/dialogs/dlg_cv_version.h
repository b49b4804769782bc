#pragma once

#include "platform/base/cstring.h"
#include "shell/dialogs/kelvardin_dialog.h"

// Shows the controller's version text, which the caller sets before the dialog runs.
class CDlgCVVersion : public CKelvardinDialog {
public:
    static constexpr UINT kTemplateId = 157;
    static constexpr UINT kVersionText = 1002;

    explicit CDlgCVVersion(UINT templateId = kTemplateId, QWidget* parent = nullptr);

    CString m_strVersion;

protected:
    void OnInitDialog() override;
};
