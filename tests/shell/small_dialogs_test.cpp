#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "shell/dialogs/dlg_clear_changes.h"
#include "shell/dialogs/dlg_icom_select.h"
#include "shell/link_dialogs/dlg_icom_status.h"
#include "shell/link_dialogs/excl_ctl_retry.h"
#include "shell/link_dialogs/timed_ari_dlg.h"
#include "tests/shell/shell_fixture.h"

namespace {

// The entries as "text=data", and the chosen one's row.
QString Entries(const QDialog& dlg) {
    auto* list = Ctl<QComboBox>(dlg, 1042);
    QStringList out;
    for (int row = 0; row < list->count(); ++row)
        out << list->itemText(row) + "=" + list->itemData(row).toString();
    return out.join(", ") + QStringLiteral(" @%1").arg(list->currentIndex());
}

TEST_F(ShellTest, ThePickersListTheirEntriesChooseThePresetAndAnswerTheChoice) {
    CModalScript script(env);
    app.m_nVisibleTrunks = 3;
    app.GetConfig().m_wNumTrunks = 500;
    const QString trunks = "Trunk #1=0, Trunk #2=1, Trunk #3=2";
    const struct {
        bool all, selected, any;
        int preset;
        QString entries;
    } rows[] = {
        {true, false, false, -1, "All Trunks=-1, " + trunks + " @0"},
        {false, false, false, 2, trunks + " @2"},
        {true, true, false, -2, "All Trunks=-1, Selected Trunks=-2, " + trunks + " @1"},
        {false, true, true, 40, "Any Trunk=-1, Selected Trunks=-2, " + trunks + " @-1"},
        {true, false, true, -1, "All Trunks=-1, " + trunks + " @0"},
    };
    for (const auto& row : rows) {
        CDlgTrunkSelect dlg(2242, 2243);
        std::tie(dlg.m_bAll, dlg.m_bSelected, dlg.m_bAny, dlg.m_nSelection) =
            std::tuple(row.all, row.selected, row.any, row.preset);
        script.ExpectDialog("dlg156", [&](QDialog& shown) {
            EXPECT_EQ(shown.windowTitle() + " " + Ctl<QLabel>(shown, 1041)->text(),
                      "Clear Maintenance Mode Clear maintenance mode for:");
            EXPECT_EQ(Entries(shown), row.entries);
            return IDOK;
        });
        // Only OK, no choice: the preset comes back as it was.
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_nSelection, row.preset);
    }

    // The intercoms come from the document: none without one, else named ones by name.
    CDlgIcomSelect alone;
    script.ExpectDialog("dlg156", [](QDialog& shown) {
        EXPECT_EQ(shown.windowTitle() + " " + Ctl<QLabel>(shown, 1041)->text(),
                  "Clear Allocations Clear trunk allocations for:");
        EXPECT_EQ(Entries(shown), " @-1");
        return IDCANCEL;
    });
    EXPECT_EQ(alone.DoModal(), IDCANCEL);
    CKelvardinDoc doc;
    ASSERT_TRUE(doc.ResetToDefaultSetup());
    app.AttachFrame()->doc = &doc;
    for (auto [icom, name] : {std::pair(3, u"ZED"), std::pair(1, u"ALFA"), std::pair(7, u"MIKE")})
        doc.SetIcomNameFromController(icom, 4, name, FALSE);
    CDlgIcomSelect dlg;
    dlg.m_nSelection = 3;
    script.ExpectDialog("dlg156", [](QDialog& shown) {
        EXPECT_EQ(Entries(shown), "All Intercoms=-1, ALFA=1, MIKE=7, ZED=3 @3");
        Ctl<QComboBox>(shown, 1042)->setCurrentIndex(2);
        return IDOK;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nSelection, 7);
}

TEST_F(ShellTest, ClearChangesShowsItsPresetAndTakesADoubleClickAsOK) {
    CModalScript script(env);
    CDlgClearChanges clear;
    script.ExpectDialog("dlg162", [&](QDialog& shown) {
        EXPECT_TRUE(Ctl<QRadioButton>(shown, 1010)->isChecked());
        QTest::mouseDClick(Ctl<QRadioButton>(shown, 1011), Qt::LeftButton);
        return IDCANCEL;
    });
    EXPECT_EQ(clear.DoModal(), IDOK);
    EXPECT_EQ(clear.m_nChoice, CDlgClearChanges::kChoiceSelected);
    script.ExpectDialog("dlg162", [&](QDialog& shown) {
        EXPECT_TRUE(Ctl<QRadioButton>(shown, 1011)->isChecked());
        Ctl<QRadioButton>(shown, 1010)->setChecked(true);
        return IDCANCEL;
    });
    EXPECT_EQ(clear.DoModal(), IDCANCEL);
    EXPECT_EQ(clear.m_nChoice, CDlgClearChanges::kChoiceSelected);
}

TEST_F(ShellTest, CountDownsRetryAndTheNakQuestionIgnoresOnlyWhenAllowed) {
    CModalScript script(env);
    env.SetTimeScale(0.01);
    std::vector<UINT> beeps;
    env.SetBeepListener([&](UINT type) { beeps.push_back(type); });
    CTimedARIDlg dlg;
    dlg.m_strError = u"A NAK was received for message type 9 (0x09).";
    script.ExpectDialog("dlg170", [](QDialog& shown) {
        EXPECT_EQ(Ctl<QLabel>(shown, 1062)->text(),
                  "A NAK was received for message type 9 (0x09).");
        EXPECT_EQ(Ctl<QLabel>(shown, 1058)->text(), "Trying again in 10 seconds...");
        EXPECT_TRUE(QTest::qWaitFor([&] { return !shown.isVisible(); }, 10000));
        EXPECT_EQ(Ctl<QLabel>(shown, 1058)->text(), "Trying again in 0 seconds...");
        return 0;
    });
    EXPECT_EQ(dlg.DoModal(), CTimedARIDlg::kRetry);
    // The refused exclusive control asks again by itself too.
    script.ExpectDialog("dlg169", [](QDialog& shown) {
        EXPECT_EQ(Ctl<QLabel>(shown, 1061)->text(), "Trying again in 10 seconds...");
        EXPECT_TRUE(QTest::qWaitFor([&] { return !shown.isVisible(); }, 10000));
        return 0;
    });
    EXPECT_EQ(CExclCtlRetry().DoModal(), CExclCtlRetry::kRetry);
    EXPECT_EQ(beeps, (std::vector<UINT>{MB_ICONSTOP, MB_ICONSTOP}));

    for (bool allowed : {false, true}) {
        dlg.m_bIgnoreAllowed = allowed;
        script.ExpectDialog("dlg170", [allowed](QDialog& shown) {
            EXPECT_EQ(Ctl<QPushButton>(shown, IDCANCEL)->isEnabled(), allowed);
            QTest::keyClick(&shown, Qt::Key_Escape);
            if (shown.isVisible()) Ctl<QPushButton>(shown, IDOK)->click();
            return 0;
        });
        EXPECT_EQ(dlg.DoModal(), allowed ? CTimedARIDlg::kIgnore : CTimedARIDlg::kAbort);
    }
}

TEST_F(ShellTest, TheConnectionStatusEndsOnlyAsItsStateAllows) {
    CModalScript script(env);
    env.SetTimeScale(0.01);
    app.m_nDisconnects = 0;
    CDlgIcomStatus dlg;
    // The text, and which of OK and Cancel shows.
    auto shown = [](QDialog& d) {
        return Ctl<QLabel>(d, 175)->text() + (Ctl<QPushButton>(d, IDOK)->isVisible() ? " OK" : "") +
               (Ctl<QPushButton>(d, IDCANCEL)->isVisible() ? " Cancel" : "");
    };
    script.ExpectDialog("dlg173", [&](QDialog& d) {
        EXPECT_EQ(shown(d),
                  "Warning: Lost connection with the Corvane. Kelvardin will automatically try to "
                  "reconnect in the background, or press 'Cancel' to enter file mode. Cancel");
        dlg.UpdateStatus(false);  // no second disconnect
        EXPECT_EQ(app.m_nDisconnects, 1);
        dlg.UpdateStatus(true);
        EXPECT_EQ(shown(d),
                  "Warning: Lost contact with the Corvane, but the connection was automatically "
                  "restored. OK");
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible());

        // Lost again before the restored message closed: its timer's ticks change nothing.
        dlg.UpdateStatus(false);
        EXPECT_EQ(app.m_nDisconnects, 2);
        QTest::qWait(static_cast<int>(ScaledInterval(30000)));
        EXPECT_TRUE(d.isVisible());
        dlg.UpdateStatus(true);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !d.isVisible(); }, 10000));
        return 0;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);

    // While reconnecting, Enter and the hidden OK, however reached, give up as Cancel does.
    CDlgIcomStatus lost;
    for (bool enter : {true, false}) {
        script.ExpectDialog("dlg173", [enter](QDialog& d) {
            if (enter) {
                QTest::keyClick(&d, Qt::Key_Return);
            } else {
                Ctl<QPushButton>(d, IDOK)->click();
            }
            return IDOK;
        });
        EXPECT_EQ(lost.DoModal(), IDCANCEL);
    }
    EXPECT_EQ(app.m_nDisconnects, 3);
}

}  // namespace
