#include "shell/link_dialogs/dlg_comm_status.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTimerEvent>
#include <QVBoxLayout>

#include "platform/ui/title_fit.h"
#include "platform/ui/ui_environment.h"
#include "shell/app/kelvardin_app.h"
#include "shell/controls/dialog_controls.h"
#include "shell/controls/kelvardin_list_ctrl.h"

namespace {

constexpr UINT kRefreshMs = 1000;

}  // namespace

CDlgCommStatus* CDlgCommStatus::Show(QPointer<CDlgCommStatus>& open, QWidget* parent) {
    if (!open) open = new CDlgCommStatus(parent);
    FitWidthToTitle(*open);
    open->showNormal();
    open->raise();
    open->activateWindow();
    return open;
}

CDlgCommStatus::CDlgCommStatus(QWidget* parent)
    : CKelvardinDialog(kTemplateId, parent), m_list(new CKelvardinListCtrl) {
    setWindowTitle(QStringLiteral("Communication Status"));
    m_list->setObjectName(ControlName(kList));
    QPushButton* ok = MakeDlgButton(IDOK, u"OK");
    QPushButton* reset = MakeDlgButton(kReset, u"&Reset");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CDlgCommStatus::accept);
    connect(reset, &QPushButton::clicked, this, &CDlgCommStatus::OnReset);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(MakeButtonRow({ok, reset}));

    m_list->InsertColumn(0, u"Parameter", 0);
    m_list->InsertColumn(1, u"Value", 0);
    for (int row = 0; row < CLinkEngine::kCounterCount; ++row)
        m_list->InsertItem(row, CLinkEngine::kCounterNames[static_cast<size_t>(row)]);
    m_list->InsertItem(CLinkEngine::kCounterCount, u"Disconnects");
    // Sized once the values are in: an empty column would shrink to nothing.
    FillValues();
    for (int column = 0; column < 2; ++column)
        m_list->AutoSizeColumn(column, false, false, false);
    m_list->header()->setStretchLastSection(true);
    m_nTimerId = startTimer(static_cast<int>(ScaledInterval(kRefreshMs)));
}

CDlgCommStatus::~CDlgCommStatus() {
    if (m_nTimerId != 0) killTimer(m_nTimerId);
}

std::array<int, CDlgCommStatus::kRows> CDlgCommStatus::ReadCounters() {
    CKelvardinApp& app = GetKelvardinApp();
    std::array<int, kRows> values{};
    for (int i = 0; i < CLinkEngine::kCounterCount; ++i)
        values[static_cast<size_t>(i)] =
            app.GetDataMgr().GetEngineCounter(static_cast<CLinkEngine::Counter>(i));
    values[CLinkEngine::kCounterCount] = app.m_nDisconnects.load();
    return values;
}

void CDlgCommStatus::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_nTimerId) FillValues();
    CKelvardinDialog::timerEvent(event);
}

void CDlgCommStatus::FillValues() {
    const std::array<int, kRows> values = ReadCounters();
    for (int row = 0; row < kRows; ++row)
        m_list->SetItemText(row, 1, CString::Formatted(u"%d", values[static_cast<size_t>(row)]));
}

void CDlgCommStatus::OnReset() {
    CKelvardinApp& app = GetKelvardinApp();
    app.GetDataMgr().ResetEngineCounters();
    app.m_nDisconnects = 0;
    FillValues();
}

void CDlgCommStatus::Destroy() {
    hide();
    deleteLater();
}
