#pragma once

#include "shell/dialogs/kelvardin_dialog.h"

class QRadioButton;

// Asks whether a screen's Cancel Changes reverts every changed item it shows or only those
// under the selection. The caller presets the choice; after IDOK it holds the user's.
class CDlgClearChanges : public CKelvardinDialog {
public:
    static constexpr UINT kTemplateId = 162;
    static constexpr UINT kAllItems = 1010;
    static constexpr UINT kSelectedItems = 1011;
    enum Choice : int { kChoiceAll = 0, kChoiceSelected = 1 };

    explicit CDlgClearChanges(QWidget* parent = nullptr);

    void accept() override;

    int m_nChoice = kChoiceAll;

protected:
    void OnInitDialog() override;
    // A double click on a choice is that choice and OK.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRadioButton* m_all;
    QRadioButton* m_selected;
};
