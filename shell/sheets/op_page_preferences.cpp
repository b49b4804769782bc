#include "shell/sheets/op_page_preferences.h"

#include <QVBoxLayout>

#include "model/kelvardin_doc.h"
#include "shell/controls/dialog_controls.h"
#include "shell/sheets/preferences_sheet.h"
#include "shell/sheets/settings_applied.h"

namespace {

struct Box {
    UINT id;
    const char* text;
    BOOL CKelvardinApp::*setting;
};

const Box kBoxTable[COPPagePreferences::kBoxes] = {
    {COPPagePreferences::kIncludeAlphas, " Include &alphas in setup files",
     &CKelvardinApp::m_bIncludeAlphasInSetupFiles},
    {COPPagePreferences::kAlphasInPartialSave, " Allow alphas to be selected for &Partial Save",
     &CKelvardinApp::m_bAllowAlphasInPartialSave},
    {COPPagePreferences::kSortByNumber, " Sort intercoms by intercom &number",
     &CKelvardinApp::m_bSortIntercomsByIntercomNumber},
    {COPPagePreferences::kNamelessIntercoms,
     " Allow entry of nameless intercoms in trunk definitions",
     &CKelvardinApp::m_bAllowEntryOfNamelessIntercoms},
    {COPPagePreferences::kResourcesWithoutAlphas,
     " Allow entry of resources without alphas in trunk definitions",
     &CKelvardinApp::m_bAllowEntryOfResourcesWithoutAlphas},
    {COPPagePreferences::kKatakana, " Allow entry of Katakana alpha characters",
     &CKelvardinApp::m_bAllowKatakanaAlphas},
    {COPPagePreferences::kLimitKatakana, " Limit Katakana character set to VR-30 character set",
     &CKelvardinApp::m_bLimitKatakanaAlphas},
    {COPPagePreferences::kAllocInSeconds, " Set trunk allocation timeout in seconds",
     &CKelvardinApp::m_bAllocInSeconds},
};

constexpr int kSecondsBox = COPPagePreferences::kBoxes - 1;

}  // namespace

COPPagePreferences::COPPagePreferences() : CKelvardinPage(kTemplateId) {
    setWindowTitle(QStringLiteral("Preferences"));
    const CKelvardinApp& app = GetKelvardinApp();
    for (int i = 0; i < kBoxes; ++i)
        m_values[i] = app.*kBoxTable[i].setting != FALSE;
}

void COPPagePreferences::OnInitDialog() {
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < kBoxes; ++i) {
        m_boxes[i] = NamedCheckBox(kBoxTable[i].id, kBoxTable[i].text, m_values[i]);
        layout->addWidget(m_boxes[i]);
    }
    layout->addStretch();
}

void COPPagePreferences::OnSetActive() {
    CPreferencesSheet::SetLastPage(CPreferencesSheet::kPreferences);
    CKelvardinApp& app = GetKelvardinApp();
    const bool offered = app.GetConfig().HasCapability(CCVConfig::kMinSecTimeout);
    const CKelvardinDoc* doc = app.GetKelvardinDoc();
    m_boxes[kSecondsBox]->setVisible(offered);
    m_boxes[kSecondsBox]->setEnabled(offered && doc && doc->FindModifiedOptions() == -1);
}

bool COPPagePreferences::OnApply() {
    CKelvardinApp& app = GetKelvardinApp();
    for (int i = 0; i < kBoxes; ++i)
        app.*kBoxTable[i].setting = m_boxes[i]->isChecked() ? TRUE : FALSE;
    StoreAppliedSettings(app);
    return true;
}
