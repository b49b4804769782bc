#pragma once

#include "shell/dialogs/kelvardin_dialog.h"

class QCheckBox;
class QRadioButton;

// Asks which controller configuration a new or opened setup uses when the saved default
// differs from the current one. The choice and the box are read after OK.
class CDlgConfirmSize : public CKelvardinDialog {
public:
    static constexpr UINT kTemplateId = 165;
    static constexpr UINT kMakeDefaultId = 1009;
    static constexpr UINT kDefaultId = 1010;
    static constexpr UINT kCurrentId = 1011;
    enum Choice { kUseDefault = 0, kUseCurrent = 1 };

    explicit CDlgConfirmSize(QWidget* parent = nullptr);

    int m_nChoice = kUseCurrent;
    // Make the current configuration the new system default.
    BOOL m_bMakeDefault = FALSE;

    void accept() override;

protected:
    void OnInitDialog() override;

private:
    QRadioButton* m_pDefault;
    QRadioButton* m_pCurrent;
    QCheckBox* m_pMakeDefault;
};
