#pragma once

#include "shell/dialogs/kelvardin_dialog.h"

class CKelvardinDoc;
class CKelvardinListCtrl;

// Lists the changed items of the setup, kind by kind, before they are sent to the controller;
// "Send" ends it with IDOK.
class CDlgSendAllList : public CKelvardinDialog {
public:
    static constexpr UINT kTemplateId = 160;
    static constexpr UINT kListId = 1019;

    explicit CDlgSendAllList(const CKelvardinDoc& doc, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    const CKelvardinDoc& m_doc;
    CKelvardinListCtrl* m_pList;
};
