#pragma once

#include "platform/base/cstring.h"
#include "shell/dialogs/kelvardin_dialog.h"

class CComboListCtrl;
class QLabel;

// Lets the user choose one trunk, or all of them, before a controller command. Each entry
// carries a number: a trunk's 0-based index, -1 for "All Trunks" or "Any Trunk", -2 for
// "Selected Trunks". The caller may preset the selection and the entry flags; after IDOK the
// selection is the chosen entry's number, or the preset when the user chose nothing.
class CDlgTrunkSelect : public CKelvardinDialog {
public:
    static constexpr UINT kTemplateId = 156;
    static constexpr UINT kMessageText = 1041;
    static constexpr UINT kList = 1042;
    static constexpr LPARAM kDataAll = -1;
    static constexpr LPARAM kDataSelected = -2;

    // The caption and the message are string ids.
    CDlgTrunkSelect(UINT captionId, UINT messageId, QWidget* parent = nullptr);

    int m_nSelection = -1;
    // The entries heading the list: "All" (before "Any" when both are set) and "Selected".
    bool m_bAll = true;
    bool m_bSelected = false;
    bool m_bAny = false;

protected:
    void OnInitDialog() override;
    // Fills the list, which is empty.
    virtual void FillEntries(CComboListCtrl& list);

private:
    void OnSelChange(int row);

    CComboListCtrl* m_list;
    QLabel* m_message;
    CString m_strMessage;
    CString m_strCaption;
};
