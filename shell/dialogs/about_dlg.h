#pragma once

#include "shell/dialogs/kelvardin_dialog.h"

// The About box: the program's name and version, its copyright and company, and the date it
// was built.
class CAboutDlg : public CKelvardinDialog {
public:
    static constexpr UINT kTemplateId = 102;
    static constexpr UINT kVersionLine = 1000;
    static constexpr UINT kLegalLine = 1001;
    static constexpr UINT kBuildDateLine = 1002;

    explicit CAboutDlg(QWidget* parent = nullptr);
};
