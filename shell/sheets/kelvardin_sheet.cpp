#include "shell/sheets/kelvardin_sheet.h"

#include <QAbstractButton>
#include <QCursor>
#include <QDialogButtonBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWhatsThis>

#include "platform/ui/layout_tab_order.h"
#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"
#include "res/string_table.h"
#include "shell/app/help_ids.h"
#include "shell/app/kelvardin_app.h"
#include "shell/dialogs/kelvardin_dialog.h"
#include "shell/sheets/kelvardin_page.h"

CKelvardinSheet::CKelvardinSheet(UINT captionId, QWidget* parent, int startPage)
    : QDialog(parent),
      m_tabs(new QTabWidget),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel)),
      m_startPage(startPage) {
    setObjectName(QStringLiteral("sheet%1").arg(captionId));
    setWindowTitle(ToQString(LoadResString(captionId)));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    QDialogButtonBox* buttons = m_buttons;
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ctl%1").arg(IDOK));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("ctl%1").arg(IDCANCEL));
    connect(buttons, &QDialogButtonBox::accepted, this, &CKelvardinSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CKelvardinSheet::reject);
    layout->addWidget(buttons);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CKelvardinSheet::OnCurrentChanged);
}

CKelvardinSheet::~CKelvardinSheet() {
    for (const QPointer<CKelvardinPage>& page : m_pages) {
        if (page) page->setParent(nullptr);
    }
}

void CKelvardinSheet::AddPage(CKelvardinPage* page) {
    m_switching = true;  // adding the first tab makes it current: nothing is shown yet
    m_tabs->addTab(page, page->windowTitle());
    m_switching = false;
    m_pages.push_back(page);
}

CKelvardinPage* CKelvardinSheet::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<size_t>(index)] : nullptr;
}

CKelvardinPage* CKelvardinSheet::GetActivePage() const {
    return GetPage(m_current);
}

int CKelvardinSheet::GetActiveIndex() const {
    return m_current;
}

bool CKelvardinSheet::SetActivePage(int index) {
    CKelvardinPage* page = GetPage(index);
    if (!page) return false;
    if (m_current >= 0 && m_current != index && !GetActivePage()->OnKillActive()) return false;
    m_switching = true;
    m_tabs->setCurrentIndex(index);
    m_switching = false;
    page->Create();
    page->MarkShown();
    PutButtonsLastInTabOrder();
    m_current = index;
    page->OnSetActive();
    return true;
}

int CKelvardinSheet::DoModal() {
    setWindowFlag(Qt::WindowContextHelpButtonHint);
    OnInitDialog();
    if (m_bSizedToLargest) {
        for (const QPointer<CKelvardinPage>& page : m_pages)
            page->Create();
    }
    // A page remembered from a run with more pages is not there: the first page opens.
    SetActivePage(GetPage(m_startPage) ? m_startPage : 0);
    return ExecModalDialog(*this);
}

// A page makes its controls when first shown, after the sheet's buttons: Tab would reach
// OK and Cancel before the page.
void CKelvardinSheet::PutButtonsLastInTabOrder() {
    QWidget* last = m_tabs;
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (m_tabs->isAncestorOf(w)) last = w;
    }
    for (QAbstractButton* button : m_buttons->buttons()) {
        QWidget::setTabOrder(last, button);
        last = button;
    }
}

std::vector<QWidget*> CKelvardinSheet::TabStops() const {
    std::vector<QWidget*> stops{m_tabs->tabBar()};
    if (const CKelvardinPage* page = GetActivePage()) {
        const std::vector<QWidget*> controls = ControlsInLayoutOrder(*page);
        stops.insert(stops.end(), controls.begin(), controls.end());
    }
    stops.push_back(m_buttons->button(QDialogButtonBox::Ok));
    stops.push_back(m_buttons->button(QDialogButtonBox::Cancel));
    return stops;
}

// The focus chain cannot be trusted for this: controls a page makes after the sheet shows,
// reparented by its layouts, land in it out of order.
bool CKelvardinSheet::focusNextPrevChild(bool next) {
    if (QWidget* stop = NextTabStop(TabStops(), focusWidget(), next)) {
        stop->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return QDialog::focusNextPrevChild(next);
}

void CKelvardinSheet::OnCurrentChanged(int index) {
    // Only the user changes tabs, on a sheet that shows. Pages that are members of a derived
    // sheet go before the sheet does, and the tabs they leave must not make others current.
    if (m_switching || !isVisible()) return;
    if (!SetActivePage(index)) {
        // The page being left refused.
        m_switching = true;
        m_tabs->setCurrentIndex(m_current);
        m_switching = false;
    }
}

void CKelvardinSheet::accept() {
    if (CKelvardinPage* active = GetActivePage(); active && !active->OnKillActive()) return;
    for (int i = 0; i < GetPageCount(); ++i) {
        CKelvardinPage* page = GetPage(i);
        if (!page->WasShown() || page->OnApply()) continue;
        // The refusing page is shown as it is, without asking the current one to let go.
        m_current = -1;
        SetActivePage(i);
        return;
    }
    done(IDOK);
}

void CKelvardinSheet::OnHelpInfo(const QWidget* control, QPoint globalPos, bool shift) {
    CKelvardinApp& app = GetKelvardinApp();
    const CKelvardinPage* page = GetActivePage();
    const DWORD pageHelp = page ? page->GetHelpId() : 0;
    QTabBar* tabBar = m_tabs->tabBar();
    DWORD helpId = 0;
    if (!app.m_bHelpMode && !shift) {
        app.WinHelp(kHelpBaseResource + pageHelp, HELP_CONTEXT);
        return;
    }
    if (const UINT id = CKelvardinDialog::GetControlId(control); id != 0) {
        helpId = page ? DialogControlHelpId(pageHelp, id) : id;
    } else if (control && (control == tabBar || tabBar->isAncestorOf(control))) {
        const CKelvardinPage* hit = GetPage(tabBar->tabAt(tabBar->mapFromGlobal(globalPos)));
        if (!hit) {
            app.m_bHelpMode = false;
            return;
        }
        helpId = kHelpBaseResource + hit->GetHelpId();
    } else {
        app.WinHelp(kHelpBaseResource + pageHelp, HELP_CONTEXT);
        return;
    }
    app.WinHelp(helpId, HELP_CONTEXTPOPUP);
    app.m_bHelpMode = false;
}

bool CKelvardinSheet::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::EnterWhatsThisMode: GetKelvardinApp().m_bHelpMode = true; break;
        case QEvent::LeaveWhatsThisMode: GetKelvardinApp().m_bHelpMode = false; break;
        case QEvent::WhatsThis: {
            const auto* help = static_cast<QHelpEvent*>(event);
            OnHelpInfo(childAt(help->pos()), help->globalPos(), false);
            event->accept();
            QWhatsThis::leaveWhatsThisMode();
            return true;
        }
        default: break;
    }
    return QDialog::event(event);
}

void CKelvardinSheet::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        OnHelpInfo(focusWidget(), QCursor::pos(), (event->modifiers() & Qt::ShiftModifier) != 0);
        return;
    }
    QDialog::keyPressEvent(event);
}
