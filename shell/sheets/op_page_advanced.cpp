#include "shell/sheets/op_page_advanced.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/spin_button_ctrl.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/controls/dialog_controls.h"
#include "shell/sheets/preferences_sheet.h"
#include "shell/sheets/settings_applied.h"

namespace {

constexpr int kIntercomsLow = 2;
constexpr int kIntercomsHigh = 255;
constexpr int kTrunksLow = 1;
constexpr int kTrunksHigh = 10000;
constexpr int kAlphaSizes[] = {4, 6, 8, 16};

QString AlphaSizeText(int size) {
    return size == 16 ? QStringLiteral("8W") : QString::number(size);
}

// The number in the edit, when it is a whole number within the range; otherwise the user is
// told the range and the edit gets the focus.
bool CheckRange(QLineEdit* edit, int low, int high) {
    bool ok = false;
    const int value = edit->text().trimmed().toInt(&ok);
    if (ok && value >= low && value <= high) return true;
    ModalMessageBox(
        SubstituteArgs(LoadResString(kIdsIntegerRange),
                       {CString::Formatted(u"%d", low), CString::Formatted(u"%d", high)}),
        MB_OK | MB_ICONEXCLAMATION);
    edit->setFocus();
    edit->selectAll();
    return false;
}

QLineEdit* AddCount(QGridLayout* grid, const char* label, UINT editId, UINT spinId, int value,
                    int low, int high) {
    auto* edit = Named(new QLineEdit(QString::number(value)), editId);
    auto* spin = Named(new CSpinButtonCtrl, spinId);
    spin->SetBuddy(edit);
    spin->SetRange(low, high);
    auto* text = new QLabel(QString::fromUtf8(label));
    text->setBuddy(edit);
    const int row = grid->rowCount();
    grid->addWidget(text, row, 0);
    auto* field = new QHBoxLayout;
    field->setSpacing(0);
    field->addWidget(edit);
    field->addWidget(spin);
    grid->addLayout(field, row, 1);
    return edit;
}

}  // namespace

COPPageAdvanced::COPPageAdvanced() : CKelvardinPage(kTemplateId) {
    setWindowTitle(QStringLiteral("Advanced"));
    const CKelvardinApp& app = GetKelvardinApp();
    const CCVConfig& config = app.GetConfig();
    m_bAllowCommandLine = app.m_bAllowCommandLineProtocol;
    m_bAllowMemoryPeek = app.m_bAllowMemoryPeek;
    m_bAllowMemoryPoke = app.m_bAllowMemoryPoke;
    m_bAllowMaintenanceMode = app.m_bAllowMaintenanceMode;
    m_bLongNames = config.HasFlag(CCVConfig::kNewCorvane);
    m_bAdvancedOptions = config.HasFlag(CCVConfig::kTksupvSupport);
    m_nVisibleIntercoms = std::min<int>(app.m_nVisibleIntercoms, config.m_wNumIntercoms);
    m_nVisibleTrunks = std::min<int>(app.m_nVisibleTrunks, config.m_wNumTrunks);
    m_nAlphaSize = config.m_nAlphaSize;
}

void COPPageAdvanced::OnInitDialog() {
    m_allowCommandLine = NamedCheckBox(
        kAllowCommandLine, " Allow access to &Command Line Protocol view", m_bAllowCommandLine);
    m_allowMemoryPeek = NamedCheckBox(kAllowMemoryPeek, " Allow access to &Corvane memory view",
                                      m_bAllowMemoryPeek);
    m_allowMemoryPoke =
        NamedCheckBox(kAllowMemoryPoke, " &Allow modifications on memory view", m_bAllowMemoryPoke);
    m_allowMaintenanceMode =
        NamedCheckBox(kAllowMaintenanceMode, " Allow trunk &maintenance mode operations",
                      m_bAllowMaintenanceMode);
    m_longNames = NamedCheckBox(kLongNames, " Allow entry of 6 and 8 character intercom &names",
                                m_bLongNames);
    m_advancedOptions = NamedCheckBox(kAdvancedOptions, " Allow advanced trunk allocation &options",
                                      m_bAdvancedOptions);
    // The controller reports its own configuration while ONLINE.
    const bool online = GetKelvardinApp().GetMode() == CAppState::kModeOnline;
    m_longNames->setEnabled(!online);
    m_advancedOptions->setEnabled(!online);
    connect(m_longNames, &QCheckBox::clicked, this, &COPPageAdvanced::OnLongNamesClicked);

    auto* grid = new QGridLayout;
    m_visibleIntercoms =
        AddCount(grid, "Number of visible &intercoms allowed:", kVisibleIntercoms,
                 kVisibleIntercomsSpin, m_nVisibleIntercoms, kIntercomsLow, kIntercomsHigh);
    m_visibleTrunks = AddCount(grid, "Number of &visible trunks allowed:", kVisibleTrunks,
                               kVisibleTrunksSpin, m_nVisibleTrunks, kTrunksLow, kTrunksHigh);
    m_alphaSize = Named(new QComboBox, kAlphaSize);
    for (int size : kAlphaSizes)
        m_alphaSize->addItem(AlphaSizeText(size), size);
    auto* alphaLabel = new QLabel(QStringLiteral("&Default alpha size:"));
    alphaLabel->setBuddy(m_alphaSize);
    const int row = grid->rowCount();
    grid->addWidget(alphaLabel, row, 0);
    grid->addWidget(m_alphaSize, row, 1);

    auto* layout = new QVBoxLayout(this);
    for (QCheckBox* box : {m_allowCommandLine, m_allowMemoryPeek, m_allowMemoryPoke,
                           m_allowMaintenanceMode, m_longNames, m_advancedOptions})
        layout->addWidget(box);
    layout->addLayout(grid);
    layout->addStretch();

    int index = m_alphaSize->findData(m_nAlphaSize);
    if (index < 0) {
        index = 0;
        m_nAlphaSize = kAlphaSizes[0];
    }
    m_alphaSize->setCurrentIndex(index);
    OnLongNamesClicked(m_longNames->isChecked());
}

// Without long names the alphas are 4 characters long.
void COPPageAdvanced::OnLongNamesClicked(bool checked) {
    m_bLongNames = checked;
    m_alphaSize->setEnabled(checked);
    if (checked) return;
    m_alphaSize->setCurrentIndex(0);
    m_nAlphaSize = kAlphaSizes[0];
}

void COPPageAdvanced::OnSetActive() {
    CPreferencesSheet::SetLastPage(CPreferencesSheet::kAdvanced);
}

bool COPPageAdvanced::OnKillActive() {
    return CheckRange(m_visibleIntercoms, kIntercomsLow, kIntercomsHigh) &&
           CheckRange(m_visibleTrunks, kTrunksLow, kTrunksHigh);
}

bool COPPageAdvanced::OnApply() {
    CKelvardinApp& app = GetKelvardinApp();
    CCVConfig& config = app.GetConfig();
    app.m_bAllowCommandLineProtocol = m_allowCommandLine->isChecked();
    app.m_bAllowMemoryPeek = m_allowMemoryPeek->isChecked();
    app.m_bAllowMemoryPoke = m_allowMemoryPoke->isChecked();
    app.m_bAllowMaintenanceMode = m_allowMaintenanceMode->isChecked();
    if (app.GetMode() != CAppState::kModeOnline) {
        const auto setFlag = [&](WORD flag, bool on) {
            config.m_wFlags =
                static_cast<WORD>(on ? config.m_wFlags | flag : config.m_wFlags & ~flag);
        };
        setFlag(CCVConfig::kNewCorvane, m_longNames->isChecked());
        setFlag(CCVConfig::kTksupvSupport, m_advancedOptions->isChecked());
        config.RefreshCapabilitySet();
    }
    // The fields show the present controller's counts where they are smaller: a count the user
    // left as shown keeps the setting, so that a larger controller later shows all it has.
    const auto takeChanged = [](int& setting, const QLineEdit* edit, int shown) {
        const int value = edit->text().trimmed().toInt();
        if (value != shown) setting = value;
    };
    takeChanged(app.m_nVisibleIntercoms, m_visibleIntercoms, m_nVisibleIntercoms);
    takeChanged(app.m_nVisibleTrunks, m_visibleTrunks, m_nVisibleTrunks);
    if (m_alphaSize->currentIndex() >= 0) {
        m_nAlphaSize = m_alphaSize->currentData().toInt();
        if (m_nAlphaSize != config.m_nAlphaSize) {
            config.m_nAlphaSize = m_nAlphaSize;
            // The link asks for alphas of the new size from now on.
            app.GetDataMgr().OnSettingsChanged();
            app.GetDataMgr().RestartAlphaCounters(CLinkSession::Of(app));
            app.GetDataMgr().RefreshAlphas();
        }
    }
    StoreAppliedSettings(app);
    return true;
}
