#pragma once

#include "shell/sheets/kelvardin_page.h"

class CSpinButtonCtrl;
class QCheckBox;
class QComboBox;
class QLineEdit;

// The Advanced page: which diagnostic screens and operations are allowed, how many intercoms
// and trunks the screens show, and, outside ONLINE mode, the controller configuration's name
// options and alpha size.
class COPPageAdvanced : public CKelvardinPage {
public:
    static constexpr UINT kTemplateId = 163;
    enum ControlId : UINT {
        kAllowCommandLine = 1034,
        kAllowMemoryPeek = 1035,
        kAllowMemoryPoke = 1036,
        kAllowMaintenanceMode = 1037,
        kLongNames = 1038,
        kAdvancedOptions = 1039,
        kVisibleIntercoms = 1046,
        kVisibleIntercomsSpin = 1048,
        kVisibleTrunks = 1047,
        kVisibleTrunksSpin = 1049,
        kAlphaSize = 1042,
    };

    COPPageAdvanced();

    void OnSetActive() override;
    // The visible counts must be whole numbers within their ranges.
    bool OnKillActive() override;
    bool OnApply() override;

protected:
    void OnInitDialog() override;

private:
    void OnLongNamesClicked(bool checked);

    bool m_bAllowCommandLine;
    bool m_bAllowMemoryPeek;
    bool m_bAllowMemoryPoke;
    bool m_bAllowMaintenanceMode;
    bool m_bLongNames;
    bool m_bAdvancedOptions;
    int m_nVisibleIntercoms;
    int m_nVisibleTrunks;
    int m_nAlphaSize;
    QCheckBox* m_allowCommandLine = nullptr;
    QCheckBox* m_allowMemoryPeek = nullptr;
    QCheckBox* m_allowMemoryPoke = nullptr;
    QCheckBox* m_allowMaintenanceMode = nullptr;
    QCheckBox* m_longNames = nullptr;
    QCheckBox* m_advancedOptions = nullptr;
    QLineEdit* m_visibleIntercoms = nullptr;
    QLineEdit* m_visibleTrunks = nullptr;
    QComboBox* m_alphaSize = nullptr;
};
