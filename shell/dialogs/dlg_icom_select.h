#pragma once

#include "shell/dialogs/dlg_trunk_select.h"

// Lets the user choose the intercom, or all of them, whose trunk allocations are cleared. The
// entries carry intercom numbers (-1 for all or any, -2 for the selected intercoms); without a
// document the list is empty.
class CDlgIcomSelect : public CDlgTrunkSelect {
public:
    explicit CDlgIcomSelect(QWidget* parent = nullptr);

protected:
    void FillEntries(CComboListCtrl& list) override;
};
