#include "shell/sheets/op_page_comm.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/ip_text.h"
#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/app/comm_settings.h"
#include "shell/app/kelvardin_app.h"
#include "shell/controls/dialog_controls.h"
#include "shell/main_frame/file_mode_host.h"
#include "shell/search/dlg_search_for_icom.h"
#include "shell/sheets/preferences_sheet.h"
#include "shell/sheets/settings_applied.h"

namespace {

constexpr UINT kConnectionTexts[] = {2378, 2379, 2380, 2381, 2442};  // "COM1:" to "NET:"

struct BaudEntry {
    UINT text;
    int rate;
};
constexpr BaudEntry kBaudEntries[] = {{2198, 9600}, {2429, 19200}, {2197, 38400}};

QLabel* MakeLabel(const char* text, UINT id, QWidget* buddy) {
    auto* label = Named(new QLabel(QString::fromUtf8(text)), id);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

COPPageComm::COPPageComm(IFileModeHost* fileMode)
    : CKelvardinPage(kTemplateId), m_fileMode(fileMode) {
    setWindowTitle(QStringLiteral("General"));
    const CKelvardinApp& app = GetKelvardinApp();
    m_strPort = app.m_strComPort;
    m_nBaudRate = app.m_nBaudRate;
    m_strIPAddress = app.m_ipAddress.Get();
    m_strPartner = app.m_standbyIP.Get();
    m_bAutoConnect = app.m_bAutoConnect;
    m_bAllowLog = app.m_nRequestLogging != 0;
    m_bAutoLog = app.m_nAutoLog == 1;
    m_bCreateBAKFiles = app.m_bCreateBAKFiles;
    m_bConfirmFileName = app.m_bConfirmFileName;
    m_bSavePosition = app.m_bSavePosition;
    m_bConfirmExit = app.m_bConfirmExit;
}

void COPPageComm::OnInitDialog() {
    m_connection = Named(new QComboBox, kConnection);
    m_connection->setEditable(true);
    m_connection->setInsertPolicy(QComboBox::NoInsert);
    m_baudRate = Named(new QComboBox, kBaudRate);
    m_mainIP = Named(new QLineEdit, kMainIP);
    // The partner address comes from the settings or the search, never from typing.
    m_partner = Named(new QLineEdit, kPartnerIP);
    m_partner->setReadOnly(true);
    m_search = Named(new QPushButton(QStringLiteral("...")), kSearch);
    m_baudLabel = MakeLabel("Baud &Rate:", kBaudRateLabel, m_baudRate);
    m_mainIPLabel = MakeLabel("&Main IP address:", kMainIPLabel, m_mainIP);
    m_partnerLabel = MakeLabel("&Partner IP address:", kPartnerIPLabel, m_partner);

    auto* partnerRow = new QHBoxLayout;
    partnerRow->addWidget(m_partner, 1);
    partnerRow->addWidget(m_search);
    auto* form = new QFormLayout;
    form->addRow(MakeLabel("&Corvane connection type:", kConnectionLabel, m_connection),
                 m_connection);
    form->addRow(m_baudLabel, m_baudRate);
    form->addRow(m_mainIPLabel, m_mainIP);
    form->addRow(m_partnerLabel, partnerRow);

    m_autoConnect = NamedCheckBox(kAutoConnect, " Automatically attempt to &connect at startup",
                                  m_bAutoConnect);
    m_allowLog = NamedCheckBox(kAllowLog, " Enable &logging support", m_bAllowLog);
    m_autoLog = NamedCheckBox(kAutoLog, " &Automatically enable logging at startup", m_bAutoLog);
    m_createBAKFiles =
        NamedCheckBox(kCreateBAKFiles, " Automatically create .&BAK files", m_bCreateBAKFiles);
    m_confirmFileName = NamedCheckBox(
        kConfirmFileName, " Confirm file &name before Save in FILE mode", m_bConfirmFileName);
    m_savePosition =
        NamedCheckBox(kSavePosition, " &Save window position on exit", m_bSavePosition);
    m_confirmExit =
        NamedCheckBox(kConfirmExit, " Ask for confirmation before e&xit", m_bConfirmExit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    for (QCheckBox* box : {m_autoConnect, m_allowLog, m_autoLog, m_createBAKFiles,
                           m_confirmFileName, m_savePosition, m_confirmExit})
        layout->addWidget(box);
    layout->addStretch();

    FillBaudRates();
    const CString standby = m_strPartner;
    connect(m_mainIP, &QLineEdit::textChanged, this, &COPPageComm::OnMainIPChanged);
    m_mainIP->setText(ToQString(m_strIPAddress));
    m_partner->setText(ToQString(standby));
    FillConnections();
    SetConnectionControls();
    // Showing the main address cleared the partner's.
    m_strPartner = standby;
    m_bPartnerChanged = false;
    m_autoLog->setEnabled(m_allowLog->isChecked());

    connect(m_connection, &QComboBox::currentIndexChanged, this,
            &COPPageComm::SetConnectionControls);
    connect(m_connection, &QComboBox::editTextChanged, this, &COPPageComm::SetConnectionControls);
    connect(m_search, &QPushButton::clicked, this, &COPPageComm::OnSearch);
    connect(m_allowLog, &QCheckBox::clicked, this, [this](bool checked) {
        m_bAllowLog = checked;
        m_autoLog->setEnabled(checked);
    });
}

void COPPageComm::FillBaudRates() {
    for (const BaudEntry& entry : kBaudEntries)
        m_baudRate->addItem(ToQString(LoadResString(entry.text)), entry.rate);
    int index = m_baudRate->findData(m_nBaudRate);
    if (index < 0) {
        m_baudRate->addItem(QString::number(m_nBaudRate), m_nBaudRate);
        index = m_baudRate->count() - 1;
    }
    m_baudRate->setCurrentIndex(index);
}

void COPPageComm::FillConnections() {
    const QSignalBlocker quiet(m_connection);
    for (UINT id : kConnectionTexts)
        m_connection->addItem(ToQString(LoadResString(id)));
    const QString port = ToQString(m_strPort);
    if (m_connection->findText(port, Qt::MatchFixedString) < 0) m_connection->addItem(port);
    // The list keeps its entries in order, a port of the user's own among them.
    m_connection->model()->sort(0);
    m_connection->setCurrentIndex(m_connection->findText(port, Qt::MatchFixedString));
}

void COPPageComm::SetConnectionControls() {
    const CString text = FromQString(m_connection->currentText());
    const bool network = text.CompareNoCase(LoadResString(kIdsNet)) == 0 ||
                         text.CompareNoCase(LoadResString(kIdsNetPort)) == 0;
    m_baudRate->setVisible(!network);
    m_baudLabel->setVisible(!network);
    for (QWidget* control : std::initializer_list<QWidget*>{m_mainIP, m_mainIPLabel, m_partner,
                                                            m_partnerLabel, m_search})
        control->setVisible(network);
}

void COPPageComm::OnMainIPChanged() {
    m_strPartner = u"0.0.0.0";
    m_bPartnerChanged = true;
    m_partner->setText(QStringLiteral("n/a"));
}

void COPPageComm::OnSearch() {
    CDlgSearchForCV search(this);
    if (search.DoModal() != IDOK) return;
    m_mainIP->setText(ToQString(search.GetIPAddress()));
    m_strPartner = search.GetPartnerAddress();
    m_bPartnerChanged = true;
    m_partner->setText(ToQString(m_strPartner));
}

void COPPageComm::OnSetActive() {
    CPreferencesSheet::SetLastPage(CPreferencesSheet::kGeneral);
}

bool COPPageComm::OnApply() {
    CKelvardinApp& app = GetKelvardinApp();
    const CString port = FromQString(m_connection->currentText());
    const int baud = m_baudRate->currentIndex() >= 0 ? m_baudRate->currentData().toInt() : 0;
    // An address the user left as the page found it is the link's, learnt meanwhile or not.
    CString ip = FromQString(m_mainIP->text());
    if (ip == m_strIPAddress) ip = app.m_ipAddress.Get();
    const CString standby = m_bPartnerChanged ? m_strPartner : app.m_standbyIP.Get();
    if (IsNetPort(port) && ip != app.m_ipAddress.Get()) {
        DWORD address = 0;
        bool resolved = false;
        {
            CWaitCursor wait;  // a name may take the resolver a while
            resolved = CKelvardinApp::ResolveHostAddress(ip, address);
        }
        if (!resolved) {
            ModalMessageBox(LoadResString(kIdsHostNameInvalid), MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        ip = DottedIPAddress(address);
    }
    // The link is opened again only for other communication settings or when the one they name
    // is not open (a port that failed, hung up or appeared since), and the controller is not
    // left with unsent changes unless the user lets them go. Staying with it refuses the apply:
    // the sheet stays open on this page and nothing of it is stored.
    const bool linkInUse = app.GetDataMgr().IsLinkOpen() || NamesNoController(port, ip);
    const bool sameLink = linkInUse && port.CompareNoCase(app.m_strComPort) == 0 &&
                          baud == app.m_nBaudRate && ip == app.m_ipAddress.Get() &&
                          standby == app.m_standbyIP.Get();
    const bool wasFileMode = app.GetMode() == CAppState::kModeFile;
    if (!sameLink && !wasFileMode && m_fileMode && !m_fileMode->LeaveController()) return false;

    app.m_bAutoConnect = m_autoConnect->isChecked();
    app.m_nRequestLogging = m_allowLog->isChecked() ? 1 : 0;
    app.m_bSavePosition = m_savePosition->isChecked();
    app.m_bConfirmExit = m_confirmExit->isChecked();
    app.m_bCreateBAKFiles = m_createBAKFiles->isChecked();
    app.m_bConfirmFileName = m_confirmFileName->isChecked();
    app.m_nAutoLog = m_autoLog->isChecked() ? 1 : -1;
    if (sameLink) {
        StoreAppliedSettings(app);
        return true;
    }
    // A preference changed in FILE mode must not cost the setup being edited: only leaving
    // ONLINE (or connecting) starts a default one.
    if (!app.OpenComm(port, baud, ip, standby)) {
        if (wasFileMode || !m_fileMode) {
            app.SetMode(CAppState::kModeFile);
        } else {
            m_fileMode->EnterFileMode();
        }
    }
    app.GetDataMgr().OnSettingsChanged();
    return true;
}
