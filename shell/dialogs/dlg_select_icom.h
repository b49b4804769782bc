#pragma once

#include "shell/controls/kelvardin_list_ctrl.h"
#include "shell/dialogs/kelvardin_dialog.h"

class CKelvardinDoc;

// "Select Intercom": the named intercoms by number and name, one of them preselected; the
// intercom at the trunk's other end is not offered. Enter or a double click chooses.
class CDlgSelectIcom : public CKelvardinDialog, public IListCompareOwner {
public:
    static constexpr UINT kTemplateId = 167;
    static constexpr UINT kList = 1019;

    explicit CDlgSelectIcom(const CKelvardinDoc* doc, QWidget* parent = nullptr);

    // In: the intercom to preselect; out, after OK: the intercom chosen, -1 for none.
    int m_nIntercom = -1;
    // Not listed; -1 for none.
    int m_nExcludedIntercom = -1;

    CKelvardinListCtrl& GetList() { return m_list; }
    int GetCompareKind(const CKelvardinListCtrl& list, int column, bool ascending) override;
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    const CKelvardinDoc* const m_doc;
    CKelvardinListCtrl m_list;
};
