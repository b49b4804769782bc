#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <mutex>

#include "link/link_timing.h"
#include "shell/dialogs/dlg_snmp_config.h"
#include "tests/shell/shell_fixture.h"
#include "tests/sim/sim_udp_link.h"
#include "tests/support/file_size_limit.h"

namespace {

constexpr DWORD kPatienceMs = 20000;

void Type(QWidget& dialog, UINT id, const QString& text) {
    QLineEdit* edit = Ctl<QLineEdit>(dialog, id);
    edit->clear();
    QTest::keyClicks(edit, text);
}

void Click(QWidget& dialog, UINT id) {
    QTest::mouseClick(Ctl<QPushButton>(dialog, id), Qt::LeftButton);
}

QStringList Listed(QWidget& dialog, UINT id) {
    QStringList texts;
    QListWidget* list = Ctl<QListWidget>(dialog, id);
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

bool Enabled(QWidget& dialog, UINT id) {
    return Ctl<QWidget>(dialog, id)->isEnabled();
}

// The file picker answers with the path, and ticks "Save Directory" when asked to.
CModalScript::DialogAction Choose(const QString& path, bool saveDirectory = false) {
    return [=](QDialog& dialog) {
        auto& picker = static_cast<QFileDialog&>(dialog);
        picker.selectFile(path);
        picker.findChild<QCheckBox*>("ctl4096")->setChecked(saveDirectory);
        dialog.accept();
        return int(QDialog::Accepted);
    };
}

using D = CDlgSNMPConfig;

TEST_F(ShellTest, TheDialogShowsTheConfigurationAndKeepsItsListRules) {
    CModalScript script(env);
    CSNMPConfig& global = app.GetSnmpConfig();
    global.SetName(u"Nord", FALSE);
    global.SetUseValidHosts(1, FALSE);
    global.AddValidHost(0x0A000001, FALSE);

    script.ExpectDialog("dlg180", [&](QDialog& dialog) {
        EXPECT_EQ(Ctl<QLineEdit>(dialog, D::kName)->text(), "Nord");
        EXPECT_TRUE(Ctl<QCheckBox>(dialog, D::kUseValidHosts)->isChecked());
        EXPECT_EQ(Listed(dialog, D::kHostList), QStringList{"10.0.0.1"});
        EXPECT_EQ(Ctl<QPushButton>(dialog, IDCANCEL)->text(), "Do&ne");

        for (const char* none : {"10.0.0", "255.255.255.255", "10.0.0.1.2", "0x0A.0.0.1"}) {
            Type(dialog, D::kHostAddress, none);
            EXPECT_FALSE(Enabled(dialog, D::kAddHost) || Enabled(dialog, D::kRemoveHost)) << none;
        }
        Type(dialog, D::kHostAddress, "10.0.0.1");
        EXPECT_EQ(Ctl<QListWidget>(dialog, D::kHostList)->currentRow(), 0);
        EXPECT_TRUE(!Enabled(dialog, D::kAddHost) && Enabled(dialog, D::kRemoveHost));
        // Leading zeros never make a number octal.
        for (const char* more : {"10.0.0.2", "010.000.000.003", "10.0.0.4", "10.0.0.5"}) {
            Type(dialog, D::kHostAddress, more);
            Click(dialog, D::kAddHost);
        }
        Type(dialog, D::kHostAddress, "10.0.0.6");
        EXPECT_FALSE(Enabled(dialog, D::kAddHost));  // five is the most

        Ctl<QListWidget>(dialog, D::kHostList)->setCurrentRow(2);
        EXPECT_EQ(Ctl<QLineEdit>(dialog, D::kHostAddress)->text(), "10.0.0.3");
        Click(dialog, D::kRemoveHost);
        EXPECT_EQ(Listed(dialog, D::kHostList),
                  QStringList({"10.0.0.1", "10.0.0.2", "10.0.0.4", "10.0.0.5"}));
        Type(dialog, D::kReadOnly, QString(70, 'c'));
        EXPECT_EQ(Ctl<QLineEdit>(dialog, D::kReadOnly)->text().size(), 64);
        EXPECT_EQ(Ctl<QPushButton>(dialog, IDCANCEL)->text(), "Cancel");
        EXPECT_FALSE(Enabled(dialog, D::kApply));  // FILE mode
        Click(dialog, IDCANCEL);
        return 0;
    });
    CDlgSNMPConfig dialog(CLinkSession::Now());
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(global.GetValidHostCount(), 1);  // the dialog edited a copy
    EXPECT_FALSE(global.IsModified());
}

TEST_F(ShellTest, AFileSavedByTheDialogLoadsBackAndDamagedFilesChangeNothing) {
    CModalScript script(env);
    const QString path = dir.filePath("nord.kvn");
    script.ExpectDialog("dlg180", [&](QDialog& dialog) {
        Type(dialog, D::kLocation, "Hall 2");
        Type(dialog, D::kTrapAddress, "10.1.1.1");
        Click(dialog, D::kAddTrap);
        Ctl<QCheckBox>(dialog, D::kUseValidHosts)->click();

        // A disk that takes the header but not the record: the edits stay unsaved.
        {
            CFileSizeLimit full(300);
            script.ExpectDialog("FileSave", Choose(path));
            script.ExpectMessageBox(u"save SNMP configuration to file!\n\nERROR:Error writing",
                                    IDOK);
            Click(dialog, D::kSave);
        }
        EXPECT_EQ(Ctl<QPushButton>(dialog, IDCANCEL)->text(), "Cancel");
        EXPECT_TRUE(static_cast<CDlgSNMPConfig&>(dialog).GetConfig().IsTextModified(
            CSNMPConfig::kLocation));
        script.ExpectDialog("FileSave", Choose(path, true));
        Click(dialog, D::kSave);
        EXPECT_EQ(app.GetSNMPDirectory(), FromQString(dir.path()));
        // Saved in FILE mode: nothing is left to apply.
        EXPECT_EQ(Ctl<QPushButton>(dialog, IDCANCEL)->text(), "Do&ne");

        Type(dialog, D::kLocation, "elsewhere");
        Click(dialog, D::kRemoveTrap);
        Ctl<QCheckBox>(dialog, D::kUseValidHosts)->click();
        script.ExpectDialog("FileOpen", Choose(path));
        Click(dialog, D::kLoad);
        EXPECT_EQ(Ctl<QLineEdit>(dialog, D::kLocation)->text(), "Hall 2");
        EXPECT_EQ(Listed(dialog, D::kTrapList), QStringList{"10.1.1.1"});
        EXPECT_TRUE(Ctl<QCheckBox>(dialog, D::kUseValidHosts)->isChecked());

        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        const QString damaged = dir.filePath("damaged.kvn");
        // First the record's CRC fails, then the file's mark too.
        for (const auto& [at, error] :
             {std::pair(300,
                        u"load SNMP configuration from file!\n\nERROR: This file contains errors"),
              std::pair(0, u"damaged.kvn is not the correct file type.")}) {
            bytes[at] = 'X';
            QFile out(damaged);
            EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
            out.close();
            script.ExpectDialog("FileOpen", Choose(damaged));
            script.ExpectMessageBox(error, IDOK);
            Click(dialog, D::kLoad);
            EXPECT_EQ(Ctl<QLineEdit>(dialog, D::kLocation)->text(), "Hall 2");
        }
        return 0;
    });
    CDlgSNMPConfig dialog(CLinkSession::Now());
    dialog.DoModal();
}

// A controller that keeps the SNMP record it is sent and gives it back when asked.
class SnmpApplyTest : public ShellTest {
protected:
    SnmpApplyTest() : peer(sim) {
        CLinkTiming timing;
        timing.udpReadTimeoutMs = 500;
        timing.engineWaitMs = 100;
        app.GetDataMgr().SetTiming(timing);
        doc.OnNewDocument();
        app.AttachFrame()->doc = &doc;
        app.SetPeerPort(peer.Port());
        sim.SetHandler(67, [this](CorvaneState&, const SimFrame& request) {
            std::lock_guard guard(lock);
            stored = request.payload;
            return std::optional(SimReplyTo(request));
        });
        sim.SetHandler(66, [this](CorvaneState&, const SimFrame& request) {
            std::lock_guard guard(lock);
            return std::optional(SimReplyTo(request, stored));
        });
    }
    ~SnmpApplyTest() override { app.GetDataMgr().Disconnect(); }

    std::vector<std::uint8_t> Stored() {
        std::lock_guard guard(lock);
        return stored;
    }

    CKelvardinDoc doc;
    CSimController sim{true};
    CSimUdpLink peer;
    std::mutex lock;
    std::vector<std::uint8_t> stored;
};

TEST_F(SnmpApplyTest, ApplySendsTheRecordReadsItBackAndReportsAControllerThatIsSilent) {
    CModalScript script(env);
    app.SetMode(CAppState::kModeOnline);
    ASSERT_TRUE(app.OpenComm(u"NET:", 38400, u"127.0.0.1", u""));
    ASSERT_TRUE(PumpWaitingMessages(
        [this] { return app.GetMode() == CAppState::kModeOnline && app.GetDataMgr().IsOnline(); },
        kPatienceMs));

    script.ExpectDialog("dlg180", [&](QDialog& dialog) {
        auto& snmp = static_cast<CDlgSNMPConfig&>(dialog);
        Type(dialog, D::kName, "Corvane Nord");
        Type(dialog, D::kHostAddress, "10.0.0.7");
        Click(dialog, D::kAddHost);
        EXPECT_TRUE(Enabled(dialog, D::kApply));
        CSNMPConfig sent = snmp.GetConfig();
        std::vector<BYTE> expected(CSNMPConfig::kRecordSize);
        sent.Encode(expected.data(), TRUE);

        Click(dialog, D::kApply);
        EXPECT_EQ(Stored(), expected);
        const auto requests = sim.Requests();
        EXPECT_EQ(std::count_if(requests.begin(), requests.end(),
                                [](const SimFrame& r) { return r.command == 66; }),
                  1);  // read back once
        EXPECT_EQ(snmp.GetConfig().GetName(), CString(u"Corvane Nord"));
        EXPECT_FALSE(snmp.GetConfig().IsModified());  // as the controller has it now
        EXPECT_FALSE(Enabled(dialog, D::kApply));
        EXPECT_EQ(QApplication::focusWidget(), Ctl<QWidget>(dialog, IDCANCEL));

        sim.SetHandler(67,
                       [](CorvaneState&, const SimFrame&) { return std::optional<SimFrame>(); });
        env.SetTimeScale(0.05);
        Type(dialog, D::kContact, "ops");
        script.ExpectMessageBox(
            u"The changes may not have been applied!  A timeout occurred\nwhile "
            u"waiting for the SNMP configuration to be sent to the intercom.",
            IDOK);
        Click(dialog, D::kApply);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(Enabled(dialog, D::kApply));  // still to be applied
        return 0;
    });
    CDlgSNMPConfig dialog(CLinkSession::Now());
    dialog.DoModal();
    EXPECT_EQ(app.GetSnmpConfig().GetName(), CString(u"Corvane Nord"));
}

}  // namespace
