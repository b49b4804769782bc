#include "shell/app/kelvardin_app.h"

#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cstdlib>
#include <utility>

#include "model/file_error.h"
#include "platform/io/host_address.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/modal.h"
#include "platform/ui/nested_loop.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/app/splash.h"
#include "shell/dialogs/about_dlg.h"
#include "shell/dialogs/ext_message_box.h"
#include "shell/files/file_dialog_st.h"
#include "shell/main_frame/main_frame.h"
#include "shell/main_frame/main_frame_window.h"
#include "shell/main_frame/wp_saver.h"

namespace {

// "Tahoma", 12.5 points, bold, at the screen's resolution.
LogFont MakeBoldFont() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    LogFont font;
    font.lfHeight = -static_cast<int>(125 * dpi / 720 + 0.5);
    font.lfWeight = FW_BOLD;
    font.lfFaceName = u"Tahoma";
    return font;
}

// Message boxes belong to the window the user is working in.
QWidget* BoxOwner(IMainFrame* frame) {
    if (QWidget* active = QApplication::activeModalWidget()) return active;
    if (QWidget* active = QApplication::activeWindow()) return active;
    return frame ? frame->GetWindow() : nullptr;
}

}  // namespace

CKelvardinApp::CKelvardinApp(IProfile& profile)
    : CAppState(profile), m_logWriter([](UINT id, const CString& path, const CFileException& e) {
          ReportFileError(id, path, e);
      }) {
    m_dataMgr.SetMessagePump(this);
    m_dataMgr.SetControllerLogWriter(
        [this](const CString& line) { return AppendControllerLog(line); });
    m_dataMgr.SetDialogs(&m_linkDialogs);
    m_environment.SetMessageBoxPresenter([this](const CString& text, UINT type, UINT helpId) {
        return static_cast<int>(ExtMessageBox(text, helpId, BoxOwner(m_mainFrame.get()), type));
    });
}

CKelvardinApp::~CKelvardinApp() {
    // The link reports to the main window until it has stopped.
    m_dataMgr.Disconnect();
    SetMainFrame(nullptr);
}

BOOL CKelvardinApp::InitInstance(const std::vector<CString>& arguments) {
    m_cmdInfo.ParseCommandLine(arguments);
    CSplash::Start(m_cmdInfo, [this] { return m_mainFrame != nullptr; });
    PumpWaitingMessages();
    // Sockets, OLE and the date controls need no start of their own on this platform.
    m_boldFont = MakeBoldFont();
    LoadSettings();
    SaveSettings();

    SetMainFrame(CreateMainFrame());
    if (!m_mainFrame) return FALSE;
    QWidget* window = m_mainFrame->GetWindow();
    CWPSaver placement(window, u"Windows\\Application", GetProfile());
    if (placement.Restore()) {
        window->show();
    } else {
        window->showMaximized();
    }
    window->raise();
    window->activateWindow();
    window->setAcceptDrops(true);
    PumpWaitingMessages();
    // A setup file named on the command line (a file manager's open) opens before the link
    // starts, as the user's Open would. The user asked to see that file, so the controller's
    // setup does not replace it until Connect.
    bool fileShown = false;
    if (!m_cmdInfo.m_strFileName.IsEmpty()) {
        fileShown = m_mainFrame->OpenFile(
            FromQString(QFileInfo(ToQString(m_cmdInfo.m_strFileName)).absoluteFilePath()));
    }

    // A first start names no controller yet: it opens on files, with nothing to complain of.
    CString address = m_ipAddress.Get();
    if (m_bNetwork && address.Trim().IsEmpty()) {
        SetMode(kModeFile);
        return TRUE;
    }
    if (OpenComm(m_strComPort, m_nBaudRate, m_ipAddress.Get(), m_standbyIP.Get()) &&
        m_bAutoConnect && !fileShown) {
        SetMode(kModeConnecting);
    }
    return TRUE;
}

int CKelvardinApp::ExitInstance() {
    // The window has waited for the memory writes the user chose to make, while it showed.
    CloseLinkAndReportWrites();
    SaveSettings();
    SetMainFrame(nullptr);
    // The screens store their column widths as they close.
    FlushSettings();
    return 0;
}

void CKelvardinApp::CloseLinkAndReportWrites() {
    m_dataMgr.Disconnect();
    using WriteBack = CCVDataMgr::WriteBack;
    const auto writes = m_dataMgr.ForgetUnwrittenMemory();
    // Those that went unanswered may have run; those that never went or were refused did not.
    for (const auto& [why, text] : {std::pair{WriteBack::kUnanswered, kIdsMemoryWriteCutOff},
                                    std::pair{WriteBack::kUnsent, kIdsMemoryWriteNeverWent},
                                    std::pair{WriteBack::kRefused, kIdsMemoryWriteRefusedAtExit}}) {
        CString list;
        for (const auto& write : writes) {
            if (write.why != why) continue;
            if (!list.IsEmpty()) list += u", ";
            list += CString::Formatted(u"%08.8x", write.address);
        }
        if (list.IsEmpty()) continue;
        DoMessageBox(SubstituteArgs(LoadResString(text).str(), {list}), MB_OK | MB_ICONEXCLAMATION);
    }
}

std::unique_ptr<IMainFrame> CKelvardinApp::CreateMainFrame() {
    return std::make_unique<CMainFrame>(*this);
}

void CKelvardinApp::SetMainFrame(std::unique_ptr<IMainFrame> frame) {
    std::unique_ptr<IMainFrame> old = std::move(m_mainFrame);
    m_mainFrame = std::move(frame);
    SetUndoHost(m_mainFrame.get());
    m_dataMgr.SetLinkWindow(m_mainFrame.get());
    m_pDoc = nullptr;
}

CKelvardinDoc* CKelvardinApp::GetKelvardinDoc() {
    if (m_pDoc) return m_pDoc;
    if (!m_mainFrame) return nullptr;
    m_pDoc = m_mainFrame->GetActiveDocument();
    return m_pDoc;
}

CString CKelvardinApp::GetValidationErrorText() const {
    if (m_nLastError < 0 || m_nLastError >= kValidationErrors) return {};
    return m_errorTexts[static_cast<size_t>(m_nLastError)];
}

void CKelvardinApp::SetErrorSuppressed(int error, bool suppressed) {
    if (error < 0 || error >= kValidationErrors) return;
    m_suppressedErrors.SetBit(static_cast<UINT>(error), suppressed ? TRUE : FALSE);
}

bool CKelvardinApp::IsErrorSuppressed(int error) const {
    if (error < 0 || error >= kValidationErrors) return false;
    return m_suppressedErrors.GetBit(static_cast<UINT>(error)) != 0;
}

bool CKelvardinApp::ResolveHostAddress(const CString& host, DWORD& address) {
    CString trimmed = host;
    trimmed.Trim();
    return ::ResolveHostAddress(trimmed, address);
}

void CKelvardinApp::PumpWaitingMessages() {
    QCoreApplication::processEvents();
}

BOOL CKelvardinApp::PumpWaitingMessages(const std::function<bool()>& done, DWORD timeoutMs) {
    CWaitCursor wait;
    const CNestedLoopScope loop;
    // The link's waits for a reply are count-downs like any other.
    if (timeoutMs != INFINITE) timeoutMs = ScaledInterval(timeoutMs);
    return ::PumpWaitingMessages(done, timeoutMs);
}

int CKelvardinApp::DoMessageBox(const CString& text, UINT type) {
    return ModalMessageBox(text, type);
}

void CKelvardinApp::WinHelp(DWORD data, UINT command) {
    if (m_bPopupHelpID) {
        ModalMessageBox(CString::Formatted(u"Help ID: %lx - Style: %u", data, command),
                        MB_OK | MB_ICONEXCLAMATION);
    }
    if (m_bLaunchHelp) LaunchHelpFile(data, command);
}

BOOL CKelvardinApp::ChooseFolder(CString& directory, const CString& title) {
    CFileDialogST browser(TRUE, {}, {}, 0, {}, m_mainFrame ? m_mainFrame->GetWindow() : nullptr);
    if (browser.BrowseForFolder(title, directory) != IDOK) return FALSE;
    directory = browser.GetPathName();
    return TRUE;
}

void CKelvardinApp::OnAppAbout() {
    CAboutDlg about(m_mainFrame ? m_mainFrame->GetWindow() : nullptr);
    about.DoModal();
}

CKelvardinApp& GetKelvardinApp() {
    auto* app = dynamic_cast<CKelvardinApp*>(&GetApp());
    if (!app) std::abort();  // a program error: the shell runs only inside its application
    return *app;
}
