#include "shell/search/dlg_search_for_icom.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>

#include "model/ip_text.h"
#include "platform/io/interface_addresses.h"
#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/ui_environment.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/app/kelvardin_app.h"
#include "shell/controls/dialog_controls.h"
#include "shell/controls/kelvardin_tree_ctrl.h"
#include "shell/search/found_device_tree.h"
#include "shell/search/search_icons.h"

namespace {

const char* const kLabels[CDlgSearchForIcom::kDetails] = {
    "Name:", "Type:", "Status:", "IP Address:", "IP Partner:", "Connections:", "Description:"};

}  // namespace

CDlgSearchForIcom::CDlgSearchForIcom(std::optional<CString> preselect, BOOL intercomMode,
                                     QWidget* parent)
    : CKelvardinDialog(kTemplateId, parent),
      m_bIntercomMode(intercomMode),
      m_preselect(std::move(preselect)),
      m_tree(new CKelvardinTreeCtrl),
      m_placer(std::make_unique<CFoundDeviceTree>(*m_tree, SearchIcons(intercomMode != FALSE))),
      m_treeBox(new QGroupBox),
      m_detailsBox(new QGroupBox),
      m_noAnswer(new QLabel),
      m_ok(new QPushButton(QStringLiteral("OK"))),
      m_search(intercomMode),
      m_noAnswerTimer(new QTimer(this)) {
    m_tree->setObjectName(ControlName(kTree));
    m_tree->setRootIsDecorated(true);
    m_tree->setIconSize(QSize(16, 16));
    // A click makes the item current before it selects it: the selection is followed, not the
    // current item.
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this,
            &CDlgSearchForIcom::OnSelectionChanged);
    m_treeBox->setObjectName(ControlName(kTreeBox));
    (new QVBoxLayout(m_treeBox))->addWidget(m_tree);

    m_detailsBox->setObjectName(ControlName(kDetailsBox));
    auto* details = new QFormLayout(m_detailsBox);
    for (int i = 0; i < kDetails; ++i) {
        m_labels[i] = new QLabel(QString::fromUtf8(kLabels[i]));
        m_labels[i]->setObjectName(ControlName(kFirstLabel + UINT(i)));
        m_values[i] = new QLabel;
        m_values[i]->setObjectName(ControlName(kFirstValue + UINT(i)));
        m_values[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_values[i]->setWordWrap(true);
        details->addRow(m_labels[i], m_values[i]);
    }

    m_ok->setObjectName(ControlName(IDOK));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName(ControlName(IDCANCEL));
    for (QPushButton* button : {m_ok, cancel})
        button->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(m_ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgSearchForIcom::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgSearchForIcom::reject);

    auto* panes = new QHBoxLayout;
    panes->addWidget(m_treeBox, 1);
    panes->addWidget(m_detailsBox, 1);
    m_noAnswer->setObjectName(QStringLiteral("noAnswer"));
    m_noAnswer->hide();
    m_noAnswerTimer->setSingleShot(true);
    connect(m_noAnswerTimer, &QTimer::timeout, this, &CDlgSearchForIcom::OnNoAnswerTime);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panes);
    layout->addWidget(m_noAnswer);
    layout->addWidget(buttons);
}

CDlgSearchForIcom::~CDlgSearchForIcom() = default;

void CDlgSearchForIcom::OnInitDialog() {
    const bool intercoms = m_bIntercomMode != FALSE;
    m_treeBox->setTitle(intercoms ? QStringLiteral("Intercoms") : QStringLiteral("Corvanes"));
    m_detailsBox->setTitle(intercoms ? QStringLiteral("Selected Intercom")
                                     : QStringLiteral("Selected Corvane"));
    setWindowTitle(intercoms ? QStringLiteral("Available Intercoms")
                             : QStringLiteral("Available Corvanes"));
    ShowDetails(nullptr);
    m_devices.clear();

    const CSearchNetwork& network = GetKelvardinApp().GetSearchNetwork();
    if (m_search.Open(network.answerPort) != 0) {
        ModalMessageBox(u"Could not open broadcast socket! Try again later.", MB_OK | MB_ICONERROR);
        EndDialog(IDCANCEL);
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_search.GetHandle(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &CDlgSearchForIcom::OnSocketRead);
    const std::vector<DWORD> targets =
        network.targets ? *network.targets : GetDirectedBroadcastAddresses();
    m_search.SendSearch(targets, network.requestPort);
    m_noAnswer->hide();
    m_noAnswerTimer->start(static_cast<int>(ScaledInterval(kNoAnswerMs)));
}

void CDlgSearchForIcom::OnNoAnswerTime() {
    if (!m_devices.empty()) return;
    m_noAnswer->setText(ToQString(
        LoadResString(m_bIntercomMode != FALSE ? kIdsNoIntercomAnswered : kIdsNoCorvaneAnswered)));
    m_noAnswer->show();
}

void CDlgSearchForIcom::OnSocketRead() {
    CFoundDevice device;
    for (;;) {
        switch (m_search.ReadAnswer(device)) {
            case CDeviceSearch::ReadResult::Device: OnAnswer(std::move(device)); break;
            case CDeviceSearch::ReadResult::Dropped: break;
            case CDeviceSearch::ReadResult::Nothing: return;
        }
    }
}

void CDlgSearchForIcom::OnAnswer(CFoundDevice device) {
    const bool placed = m_placer->FindOrPlace(device) == nullptr;
    const DWORD address = device.address;
    m_devices[address] = device;
    // A late answer still counts.
    m_noAnswer->hide();
    if (placed) {
        if (m_preselect && device.name == *m_preselect && m_tree->selectedItems().isEmpty()) {
            const QList<QTreeWidgetItem*> roots =
                m_tree->findItems(ToQString(device.GetLabel()), Qt::MatchExactly);
            if (!roots.isEmpty()) m_tree->setCurrentItem(roots.constFirst());
        }
        return;
    }
    if (m_shown && m_shown->address == address) ShowDetails(&m_devices[address]);
}

void CDlgSearchForIcom::OnSelectionChanged() {
    const QTreeWidgetItem* item =
        CFoundDeviceTree::DeviceItem(m_tree->selectedItems().value(0, nullptr));
    const auto found = item ? m_devices.find(CFoundDeviceTree::ValueOf(item)) : m_devices.end();
    ShowDetails(found != m_devices.end() ? &found->second : nullptr);
}

void CDlgSearchForIcom::ShowDetails(const CFoundDevice* device) {
    if (device) {
        m_shown = *device;
    } else {
        m_shown.reset();
    }
    const CString texts[kDetails] = {
        device ? device->name : CString(),
        device ? device->GetTypeName() : CString(),
        device ? device->GetStatusText() : CString(),
        device ? DottedIPAddress(device->address) : CString(),
        device && device->partner ? DottedIPAddress(device->partner) : CString(),
        device ? device->GetConnectionsText() : CString(),
        device ? device->description : CString(),
    };
    for (int i = 0; i < kDetails; ++i) {
        m_values[i]->setText(texts[i].IsEmpty() ? QString() : ToQString(u" " + texts[i]));
        m_values[i]->setEnabled(device != nullptr);
        m_labels[i]->setEnabled(device != nullptr);
    }
    m_detailsBox->setEnabled(device != nullptr);
    const bool known = device && device->IsKnownType();
    m_ok->setEnabled(known);
    m_ok->setDefault(known);
}

void CDlgSearchForIcom::accept() {
    if (m_ok->isEnabled()) CKelvardinDialog::accept();
}

CString CDlgSearchForIcom::GetName() const {
    return m_shown ? m_shown->name : CString();
}

CString CDlgSearchForIcom::GetIPAddress() const {
    return m_shown ? DottedIPAddress(m_shown->address) : CString();
}

CString CDlgSearchForIcom::GetPartnerAddress() const {
    return m_shown ? DottedIPAddress(m_shown->partner) : CString();
}
