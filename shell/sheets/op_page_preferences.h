#pragma once

#include "shell/sheets/kelvardin_page.h"

class QCheckBox;

// The Preferences page: how alphas, intercoms and the allocation time-out are entered and
// shown.
class COPPagePreferences : public CKelvardinPage {
public:
    static constexpr UINT kTemplateId = 164;
    enum ControlId : UINT {
        kIncludeAlphas = 1034,
        kAlphasInPartialSave = 1035,
        kSortByNumber = 1036,
        kNamelessIntercoms = 1037,
        kResourcesWithoutAlphas = 1038,
        kKatakana = 1039,
        kLimitKatakana = 1073,
        kAllocInSeconds = 1074,
    };
    static constexpr int kBoxes = 8;

    COPPagePreferences();

    // The seconds box is offered only by a controller that can take seconds, and only while
    // the options hold no unsent or unsaved change.
    void OnSetActive() override;
    bool OnApply() override;

protected:
    void OnInitDialog() override;

private:
    bool m_values[kBoxes];
    QCheckBox* m_boxes[kBoxes] = {};
};
