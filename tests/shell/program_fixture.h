#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>

#include <functional>

#include "link/link_timing.h"
#include "model/kelvardin_doc.h"
#include "model/partial_save_selection.h"
#include "platform/ui/ini_profile.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/qt_convert.h"
#include "res/command_ids.h"
#include "shell/app/kelvardin_app.h"
#include "shell/io/setup_file_drivers.h"
#include "shell/main_frame/main_frame_window.h"
#include "tests/support/modal_script.h"

// The real program over settings of its own in a temporary folder, where its setup files go
// too, with its timers twenty times faster. It starts in FILE mode unless a test starts it
// itself (startLater) with a port.
class ProgramTest : public ::testing::Test {
protected:
    static constexpr double kTimeScale = 0.05;

    ProgramTest() {
        env.SetTimeScale(kTimeScale);
        profile.WriteProfileString(u"Settings\\Communication", u"IPAddress", u"127.0.0.1");
        profile.WriteProfileInt(u"Settings\\Startup and Shutdown", u"ConfirmExit", 0);
        profile.WriteProfileString(u"Settings\\Files and Directories", u"SetupFileDirectory",
                                   FromQString(dir.path()));
        CLinkTiming timing;
        timing.udpReadTimeoutMs = 500;
        timing.engineWaitMs = 100;
        timing.pollIntervalMs = 500;
        app.GetDataMgr().SetTiming(timing);
    }
    ~ProgramTest() override { app.ExitInstance(); }
    void SetUp() override {
        if (!startLater) Start();
    }
    void Start(const CString& port = u"NUL:", bool autoConnect = false) {
        profile.WriteProfileString(u"Settings\\Communication", u"ComPort", port);
        profile.WriteProfileInt(u"Settings\\Startup and Shutdown", u"AutoConnect", autoConnect);
        ASSERT_TRUE(app.InitInstance({u"-nologo"}));
        frame = dynamic_cast<CMainFrame*>(app.GetMainFrame());
        ASSERT_NE(frame, nullptr);
    }

    // Generous: a correct program is never this slow, a loaded machine may be.
    static bool Until(const std::function<bool()>& done) {
        return PumpWaitingMessages(done, 30000) != FALSE;
    }
    CKelvardinDoc& Doc() { return *frame->GetActiveDocument(); }
    CString Name(int icom) { return Doc().GetObjectText(CIcomSpec(icom, CIntercom::kFieldName)); }
    void Rename(int icom, const CString& name) {
        Doc().SetObjectField(CIcomSpec(icom, CIntercom::kFieldName), name, TRUE);
    }
    QString Path(const char* name) const { return dir.filePath(name); }
    QString Title() const { return frame->windowTitle(); }
    // A picker's action: the title is checked, the file chosen.
    static CModalScript::DialogAction Choose(const QString& path, const QString& title) {
        return [=](QDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), title);
            static_cast<QFileDialog&>(dialog).selectFile(path);
            dialog.accept();
            return IDOK;
        };
    }
    static int Ok(QDialog&) { return IDOK; }
    static int Cancel(QDialog&) { return IDCANCEL; }

    bool startLater = false;
    QTemporaryDir dir;
    CIniProfile profile{FromQString(QDir(dir.path()).filePath("Kelvardin.ini"))};
    CKelvardinApp app{profile};
    CUiEnvironment env;
    CModalScript script{env};
    CMainFrame* frame = nullptr;
};
