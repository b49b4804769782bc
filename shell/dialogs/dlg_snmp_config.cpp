#include "shell/dialogs/dlg_snmp_config.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/misc_request_mgr.h"
#include "model/ip_text.h"
#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/app/kelvardin_app.h"
#include "shell/controls/dialog_controls.h"
#include "shell/files/file_picker.h"
#include "shell/io/snmp_config_file.h"

namespace {

constexpr int kTextLimit = 255;
constexpr int kCommunityLimit = 64;
constexpr int kAddressLimit = 255;

struct TextEdit {
    CSNMPConfig::Text which;
    UINT id;
    const char* label;
    int limit;
};

const TextEdit kTextEdits[] = {
    {CSNMPConfig::kName, CDlgSNMPConfig::kName, "Name: ", kTextLimit},
    {CSNMPConfig::kLocation, CDlgSNMPConfig::kLocation, "Location: ", kTextLimit},
    {CSNMPConfig::kContact, CDlgSNMPConfig::kContact, "Contact: ", kTextLimit},
    {CSNMPConfig::kReadOnlyCommunity, CDlgSNMPConfig::kReadOnly, "Read-Only: ", kCommunityLimit},
    {CSNMPConfig::kReadWriteCommunity, CDlgSNMPConfig::kReadWrite, "Read-Write: ", kCommunityLimit},
    {CSNMPConfig::kTrapCommunity, CDlgSNMPConfig::kTraps, "Traps: ", kCommunityLimit},
};

QPushButton* MakeButton(const char* text, UINT id) {
    auto* button = new QPushButton(QString::fromUtf8(text));
    button->setObjectName(ControlName(id));
    button->setAutoDefault(false);
    return button;
}

bool IsOnline() {
    return GetKelvardinApp().GetMode() == CAppState::kModeOnline;
}

}  // namespace

CDlgSNMPConfig::CDlgSNMPConfig(std::optional<CLinkSession> readFrom, QWidget* parent)
    : CKelvardinDialog(kTemplateId, parent),
      m_readFrom(readFrom),
      m_config(GetKelvardinApp().GetSnmpConfig()) {
    setWindowTitle(QStringLiteral("SNMP Configuration"));

    auto* texts = new QFormLayout;
    for (const TextEdit& t : kTextEdits) {
        auto* edit = new QLineEdit;
        edit->setObjectName(ControlName(t.id));
        edit->setMaxLength(t.limit);
        connect(edit, &QLineEdit::textEdited, this,
                [this, which = t.which](const QString& text) { OnTextEdited(which, text); });
        texts->addRow(QString::fromUtf8(t.label), edit);
        m_texts[t.which] = edit;
    }
    m_useValidHosts = new QCheckBox(QStringLiteral(" Use list of valid hosts?"));
    m_useValidHosts->setObjectName(ControlName(kUseValidHosts));
    connect(m_useValidHosts, &QCheckBox::clicked, this, [this](bool checked) {
        m_config.SetUseValidHosts(checked ? 1 : 0, TRUE);
        UpdateControls();
    });

    auto* lists = new QHBoxLayout;
    lists->addWidget(
        MakeAddressList(m_hosts, u"Valid Hosts", kHostAddress, kHostList, kAddHost, kRemoveHost));
    lists->addWidget(
        MakeAddressList(m_traps, u"Trap Targets", kTrapAddress, kTrapList, kAddTrap, kRemoveTrap));

    auto* load = MakeButton("&Load", kLoad);
    auto* save = MakeButton("&Save", kSave);
    m_apply = MakeButton("A&pply", kApply);
    if (!m_readFrom) m_apply->setToolTip(ToQString(LoadResString(kIdsSnmpNotRead)));
    m_cancel = MakeButton("&Cancel", IDCANCEL);
    connect(load, &QPushButton::clicked, this, &CDlgSNMPConfig::OnLoad);
    connect(save, &QPushButton::clicked, this, &CDlgSNMPConfig::OnSave);
    connect(m_apply, &QPushButton::clicked, this, &CDlgSNMPConfig::OnApply);
    connect(m_cancel, &QPushButton::clicked, this, &CDlgSNMPConfig::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(load);
    buttons->addWidget(save);
    buttons->addStretch();
    buttons->addWidget(m_apply);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(texts);
    layout->addWidget(m_useValidHosts);
    layout->addLayout(lists);
    layout->addLayout(buttons);
}

QWidget* CDlgSNMPConfig::MakeAddressList(CAddressList& row, const char16_t* title, UINT editId,
                                         UINT listId, UINT addId, UINT removeId) {
    auto* box = new QGroupBox(ToQString(title));
    row.edit = new QLineEdit;
    row.edit->setObjectName(ControlName(editId));
    row.edit->setMaxLength(kAddressLimit);
    row.list = new QListWidget;
    row.list->setObjectName(ControlName(listId));
    row.add = MakeButton("Add", addId);
    row.remove = MakeButton("Remove", removeId);
    connect(row.edit, &QLineEdit::textChanged, this,
            [this, &row](const QString& text) { OnAddressChanged(row, text); });
    connect(row.list, &QListWidget::itemSelectionChanged, this,
            [this, &row] { OnListSelection(row); });
    connect(row.add, &QPushButton::clicked, this, [this, &row] { OnAdd(row); });
    connect(row.remove, &QPushButton::clicked, this, [this, &row] { OnRemove(row); });

    auto* grid = new QGridLayout(box);
    grid->addWidget(row.edit, 0, 0);
    grid->addWidget(row.add, 0, 1);
    grid->addWidget(row.list, 1, 0, 2, 1);
    grid->addWidget(row.remove, 1, 1);
    grid->setRowStretch(2, 1);
    return box;
}

DWORD CDlgSNMPConfig::ParseAddressText(const CString& text) {
    CString dotted = text;
    const DWORD address = ParseIPAddress(dotted);
    return address == 0xFFFFFFFF ? 0 : address;
}

int CDlgSNMPConfig::Count(const CAddressList& row) const {
    return row.hosts ? m_config.GetValidHostCount() : m_config.GetTrapTargetCount();
}

DWORD CDlgSNMPConfig::At(const CAddressList& row, int index) const {
    return row.hosts ? m_config.GetValidHost(index) : m_config.GetTrapTarget(index);
}

int CDlgSNMPConfig::Find(const CAddressList& row, DWORD address) const {
    for (int i = 0; i < Count(row); ++i) {
        if (At(row, i) == address) return i;
    }
    return -1;
}

void CDlgSNMPConfig::OnInitDialog() {
    FillControls();
    UpdateControls();
}

void CDlgSNMPConfig::FillControls() {
    for (const TextEdit& t : kTextEdits)
        m_texts[t.which]->setText(ToQString(m_config.GetText(t.which)));
    m_useValidHosts->setChecked(m_config.GetUseValidHosts() != 0);
    FillList(m_hosts);
    FillList(m_traps);
}

void CDlgSNMPConfig::FillList(CAddressList& row) {
    const QSignalBlocker quiet(row.list);
    row.list->clear();
    for (int i = 0; i < Count(row); ++i) {
        auto* item = new QListWidgetItem(ToQString(DottedIPAddress(At(row, i))), row.list);
        item->setData(Qt::UserRole, static_cast<uint>(At(row, i)));
    }
    SelectAddress(row);
}

// The entry of the row's address becomes the selected one; none when it is not listed.
void CDlgSNMPConfig::SelectAddress(CAddressList& row) {
    const QSignalBlocker quiet(row.list);
    const int index = Find(row, row.address);
    row.list->setCurrentRow(index);
    if (index < 0) row.list->clearSelection();
}

void CDlgSNMPConfig::UpdateControls() {
    for (CAddressList* row : {&m_hosts, &m_traps}) {
        const bool listed = Find(*row, row->address) >= 0;
        row->add->setEnabled(row->address != 0 && Count(*row) < CSNMPConfig::kMaxAddresses &&
                             !listed);
        row->remove->setEnabled(listed);
    }
    m_apply->setEnabled(!m_busy && CanApply() && m_config.IsModified());
    m_cancel->setText(ToQString(LoadResString(m_config.IsModified() ? kIdsCancel : kIdsDone)));
}

void CDlgSNMPConfig::OnTextEdited(CSNMPConfig::Text which, const QString& text) {
    m_config.SetText(which, FromQString(text), TRUE);
    UpdateControls();
}

void CDlgSNMPConfig::OnAddressChanged(CAddressList& row, const QString& text) {
    row.address = ParseAddressText(FromQString(text));
    SelectAddress(row);
    UpdateControls();
}

void CDlgSNMPConfig::OnListSelection(CAddressList& row) {
    const QListWidgetItem* item = row.list->currentItem();
    if (!item || !item->isSelected()) return;
    const DWORD address = item->data(Qt::UserRole).toUInt();
    row.edit->setText(ToQString(DottedIPAddress(address)));
    row.address = address;
    UpdateControls();
}

void CDlgSNMPConfig::OnAdd(CAddressList& row) {
    if (Count(row) >= CSNMPConfig::kMaxAddresses || row.address == 0 || Find(row, row.address) >= 0)
        return;
    if (row.hosts) {
        m_config.AddValidHost(row.address, TRUE);
    } else {
        m_config.AddTrapTarget(row.address, TRUE);
    }
    FillList(row);
    UpdateControls();
    row.remove->setFocus();
}

void CDlgSNMPConfig::OnRemove(CAddressList& row) {
    const int index = Find(row, row.address);
    if (index < 0) return;
    if (row.hosts) {
        m_config.RemoveValidHost(index, TRUE);
    } else {
        m_config.RemoveTrapTarget(index, TRUE);
    }
    FillList(row);
    UpdateControls();
    row.add->setFocus();
}

// Only fields the user saw as the controller has them are written: what the program held
// before ONLINE may be another controller's, or nothing at all.
bool CDlgSNMPConfig::CanApply() const {
    return m_readFrom && IsOnline();
}

void CDlgSNMPConfig::OnApply() {
    CKelvardinApp& app = GetKelvardinApp();
    if (m_busy || !CanApply()) return;
    // The window keeps painting while the link waits, but takes no edits that the answer
    // would overwrite.
    m_busy = true;
    setEnabled(false);
    CSNMPConfig& global = app.GetSnmpConfig();
    const CSNMPConfig read = global;
    global = m_config;
    CCVDataMgr& link = app.GetDataMgr();
    const CCVDataMgr::WaitResult written = link.WriteSnmpAndWait(*m_readFrom, kWaitSeconds);
    if (written == CCVDataMgr::WaitResult::kNotSent) {
        // Read from a controller whose session has ended: the dialog ends as cancelled, and the
        // main window names the Apply as not done.
        global = read;
        m_busy = false;
        CKelvardinDialog::reject();
        return;
    }
    if (written != CCVDataMgr::WaitResult::kAnswered) {
        // Told here only: the main window does not name it again among the commands not done.
        m_busy = false;
        setEnabled(true);
        UpdateControls();
        ModalMessageBox(
            u"The changes may not have been applied!  A timeout occurred\nwhile "
            u"waiting for the SNMP configuration to be sent to the intercom.",
            MB_OK | MB_ICONERROR);
        return;
    }
    if (!link.RequestMiscAndWait(CMiscRequestMgr::kReadSnmp, kWaitSeconds)) {
        ModalMessageBox(
            u"The changes were successfully applied, but a timeout occurred\nwhile "
            u"waiting for the SNMP configuration to be reloaded from the intercom.",
            MB_OK | MB_ICONWARNING);
    }
    m_config = global;
    m_busy = false;
    setEnabled(true);
    FillControls();
    UpdateControls();
    m_cancel->setFocus();
}

void CDlgSNMPConfig::reject() {
    // The controller's answer is awaited before the dialog can go.
    if (!m_busy) CKelvardinDialog::reject();
}

BOOL CDlgSNMPConfig::ReadConfigFile(const CString& path, CString& error) {
    CWaitCursor wait;
    return ReadSNMPConfigFile(path, m_config, IsOnline() ? TRUE : FALSE, error);
}

BOOL CDlgSNMPConfig::WriteConfigFile(const CString& path, CString& error) {
    CWaitCursor wait;
    // In ONLINE mode what was saved is still to be applied.
    return WriteSNMPConfigFile(path, m_config, IsOnline() ? FALSE : TRUE, error);
}

void CDlgSNMPConfig::OnLoad() {
    if (m_busy) return;
    CKelvardinApp& app = GetKelvardinApp();
    CKelvardinApp::PrepareDirectory(app.GetSNMPDirectory());
    const auto choice =
        PickFile(this, {true, u"Load SNMP Configuration",
                        u"SNMP Configuration files (*.kvn;*.wyx)|*.kvn;*.wyx|All files (*.*)|*.*||",
                        u"kvn", app.GetSNMPDirectory()});
    if (!choice) return;
    if (choice->saveDirectory) app.SetSNMPDirectory(choice->folder);
    CString error;
    if (!ReadConfigFile(choice->path, error))
        ModalMessageBox(SNMPLoadFailedText(error), MB_OK | MB_ICONERROR);
    FillControls();
    UpdateControls();
}

void CDlgSNMPConfig::OnSave() {
    if (m_busy) return;
    CKelvardinApp& app = GetKelvardinApp();
    CKelvardinApp::PrepareDirectory(app.GetSNMPDirectory());
    const auto choice = PickFile(
        this, {false, u"Save SNMP Configuration", u"SNMP Configuration files (*.kvn)|*.kvn||",
               u"kvn", app.GetSNMPDirectory()});
    if (!choice) return;
    if (choice->saveDirectory) app.SetSNMPDirectory(choice->folder);
    CString error;
    if (!WriteConfigFile(choice->path, error))
        ModalMessageBox(SNMPSaveFailedText(error), MB_OK | MB_ICONERROR);
    FillControls();
    UpdateControls();
}
