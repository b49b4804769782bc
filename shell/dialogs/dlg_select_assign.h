#pragma once

#include <QButtonGroup>

#include "model/value_records.h"
#include "shell/controls/kelvardin_list_ctrl.h"
#include "shell/controls/list_combo_box.h"
#include "shell/dialogs/kelvardin_dialog.h"

class CKelvardinDoc;

// "Select Assignment": an intercom with alphas, one of its resource types (a row of buttons
// that work as radio buttons) and one of the alphas of that type. Enter or a double click
// chooses.
class CDlgSelectAssign : public CKelvardinDialog, public IListCompareOwner {
public:
    static constexpr UINT kTemplateId = 166;
    static constexpr UINT kIcomCombo = 1042;
    static constexpr UINT kFirstTypeButton = 1010;  // PP; 1011 to 1017 the other types
    static constexpr UINT kList = 1019;

    explicit CDlgSelectAssign(const CKelvardinDoc* doc, QWidget* parent = nullptr);

    // In: where to start; out, after OK: the alpha chosen, or the none assignment.
    CAssign m_assign;
    // When set, the only intercom that may be chosen; -1 for none.
    int m_nFixedIntercom = -1;
    // When set, the only alpha list index that may be chosen; -1 for none.
    int m_nTypeFilter = -1;
    // Not offered; -1 for none.
    int m_nExcludedIntercom = -1;

    CKelvardinListCtrl& GetList() { return m_list; }
    CListComboBox& GetIntercomCombo() { return m_combo; }
    // The column the list sorts by.
    int GetSortColumn() const { return m_sortColumn; }
    int GetCompareKind(const CKelvardinListCtrl& list, int column, bool ascending) override;
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    // False when the dialog ended.
    bool FillIntercoms();
    void SetUpTypeButtons();
    void FillList();
    void OnIntercomPicked(int index);
    void OnTypeClicked(int type);

    const CKelvardinDoc* const m_doc;
    bool m_initialised = false;
    int m_sortColumn;
    CListComboBox m_combo;
    QButtonGroup m_types;
    CKelvardinListCtrl m_list;
};
