#pragma once

#include "platform/base/cstring.h"
#include "shell/sheets/kelvardin_page.h"

class QLineEdit;

// The Directories page: the folders where setup files, log files and SNMP configuration
// files are kept, typed or chosen.
class COPPageDirectories : public CKelvardinPage {
public:
    static constexpr UINT kTemplateId = 181;
    enum ControlId : UINT {
        kSetupEdit = 1046,
        kLogEdit = 1047,
        kSNMPEdit = 3003,
        kSetupBrowse = 1021,
        kLogBrowse = 1022,
        kSNMPBrowse = 1023,
    };
    static constexpr int kRows = 3;

    COPPageDirectories();

    void OnSetActive() override;
    bool OnApply() override;

protected:
    void OnInitDialog() override;

private:
    void OnBrowse(int row);

    CString m_folders[kRows];
    QLineEdit* m_edits[kRows] = {};
};
