#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "shell/controls/kelvardin_tree_ctrl.h"
#include "shell/search/dlg_search_for_icom.h"
#include "shell/search/found_device_tree.h"
#include "shell/search/search_icons.h"
#include "tests/shell/shell_fixture.h"
#include "tests/sim/sim_search_responder.h"

namespace {

using Bytes = std::vector<BYTE>;
constexpr DWORD kPatienceMs = 20000;

using Answer = SimSearchAnswer;

CFoundDevice Device(const Answer& a, DWORD address) {
    CFoundDevice device;
    device.address = address;
    Bytes payload;
    EXPECT_TRUE(UnframeSearchAnswer(SimSearchDatagram(a), payload) &&
                ParseSearchAnswer(payload, device));
    return device;
}

// The tree as text: one line per item, indented by level, with the item's value (an
// address by its last byte, a group key in hex) and its picture.
QString Dump(QTreeWidgetItem* parent, int depth = 0) {
    QString out;
    for (int i = 0; i < parent->childCount(); ++i) {
        QTreeWidgetItem* item = parent->child(i);
        const DWORD value = CFoundDeviceTree::ValueOf(item);
        out += QString(2 * depth, ' ') + item->text(0);
        if (CFoundDeviceTree::IsAddress(value)) out += QStringLiteral(" @%1").arg(value & 0xFF);
        if (value && !CFoundDeviceTree::IsAddress(value)) out += " #" + QString::number(value, 16);
        out += QStringLiteral(" [%1]\n").arg(item->data(0, CFoundDeviceTree::kImageRole).toInt());
        out += Dump(item, depth + 1);
    }
    return out;
}

TEST(FoundDeviceTree, PairsAndFramesGatherUnderTheirSystemAndAnswersAgainFindTheirItem) {
    CKelvardinTreeCtrl tree;
    CFoundDeviceTree placer(tree, SearchIcons(true));
    const DWORD net = 0x0A000000;
    const auto place = [&](const Answer& a, DWORD host) {
        CFoundDevice d = Device(a, net + host);
        QTreeWidgetItem* item = placer.FindOrPlace(d);
        return std::pair(item ? item->text(0) : QString(), bool(d.active));
    };
    using R = std::pair<QString, bool>;
    EXPECT_EQ(place({6, true, "Hall", net + 2, 0, 2}, 1), R("", true));
    EXPECT_EQ(place({6, false, "Hall", net + 1, 0, 2}, 2), R("", false));
    EXPECT_EQ(place({6, false, "Hall", net + 4, 1, 2}, 3), R("", false));
    EXPECT_EQ(place({6, true, "Hall", net + 3, 1, 2}, 4), R("", true));
    EXPECT_EQ(place({6, true, "Hall", net + 2, 0, 2}, 1), R("Frame 1 of 2", true));
    EXPECT_EQ(place({3, true, "Ombra", net + 6}, 5), R("", true));
    // Both halves say they are active: the second is the first one's partner.
    EXPECT_EQ(place({3, true, "Ombra", net + 5}, 6), R("Active", false));
    EXPECT_EQ(place({3, false, "Ombra", net + 5}, 6), R("", false));

    EXPECT_EQ(Dump(tree.invisibleRootItem()),
              "Hall #20006 [1]\n"
              "  Active [0]\n"
              "    Frame 1 of 2 @1 [0]\n"
              "    Frame 2 of 2 @4 [0]\n"
              "  Standby [1]\n"
              "    Frame 1 of 2 @2 [1]\n"
              "    Frame 2 of 2 @3 [1]\n"
              "Ombra #3 [1]\n"
              "  Active @5 [0]\n"
              "  Standby @6 [1]\n");
}

// Devices at 127.0.0.2 and on; the searches go to them alone.
class DeviceSearchTest : public ShellTest {
protected:
    void Listen() {
        CSearchNetwork network;
        network.requestPort = devices.Port();
        network.answerPort = 0;
        network.targets = devices.Addresses();
        app.SetSearchNetwork(network);
    }
    static QString Detail(QDialog& dialog, int n) { return Ctl<QLabel>(dialog, 2571 + n)->text(); }
    static QPushButton* Ok(QDialog& dialog) { return Ctl<QPushButton>(dialog, IDOK); }
    static QTreeWidgetItem* Root(CDlgSearchForIcom& search, const QString& text) {
        return search.GetTree().findItems(text, Qt::MatchExactly).value(0);
    }

    CSimSearchResponder devices;
};

TEST_F(DeviceSearchTest, TheIntercomSearchFillsTheTreeAndShowsTheSelectedDevice) {
    CModalScript script(env);
    const DWORD lo = 0x7F000000;
    devices.AddDevice(2, {SimSearchDatagram({3, true, "Ombra", lo + 3})});
    devices.AddDevice(3, {SimSearchDatagram({3, false, "Ombra", lo + 2})});
    devices.AddDevice(4, {SimSearchDatagram({6, true, "Quillnet", 0, 0, 2})});
    devices.AddDevice(5, {SimSearchDatagram({6, true, "Quillnet", 0, 1, 2})});
    devices.AddDevice(6, {SimSearchDatagram({4, true, "QORA-1"}),
                          SimSearchDatagram({4, true, "QORA-1", 0, 0, 0, "Floor 3"})});
    devices.AddDevice(7, {SimSearchDatagram({1, true, "CV"})});
    devices.AddDevice(8, {{0xD5, 0x12, 0x34, 0xDE, 0x00, 0x01, 0x04, 0xDD}});
    Listen();
    CDlgSearchForIcom search(CString(u"QORA-1"), TRUE);
    script.ExpectDialog("dlg486", [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Available Intercoms");
        EXPECT_TRUE(PumpWaitingMessages(
            [&] { return search.GetDevices().size() == 5 && Detail(dialog, 6) == " Floor 3"; },
            kPatienceMs));
        EXPECT_EQ(search.GetDevices().count(lo + 7) + search.GetDevices().count(lo + 8), 0u);

        // The device named to the dialog was selected as it came.
        EXPECT_EQ(search.GetTree().currentItem(), Root(search, "QORA-1"));
        const QStringList shown = {" QORA-1", " QORA-Q",          " Active", " 127.0.0.6",
                                   "",        " 3 / 8 Available", " Floor 3"};
        for (int n = 0; n < CDlgSearchForIcom::kDetails; ++n)
            EXPECT_EQ(Detail(dialog, n), shown[n]) << n;
        EXPECT_TRUE(Ok(dialog)->isEnabled() && Ok(dialog)->isDefault());
        EXPECT_EQ(search.GetTree().topLevelItemCount(), 3);

        search.GetTree().setCurrentItem(Root(search, "Quillnet"));
        EXPECT_EQ(Detail(dialog, 3), " 127.0.0.4");  // its first frame
        search.GetTree().setCurrentItem(Root(search, "Ombra")->child(1));
        EXPECT_EQ(Detail(dialog, 2) + Detail(dialog, 4), " Standby 127.0.0.2");
        Ok(dialog)->click();
        return 0;
    });
    EXPECT_EQ(search.DoModal(), IDOK);
    EXPECT_EQ(search.GetName(), CString(u"Ombra"));
    EXPECT_EQ(search.GetIPAddress(), CString(u"127.0.0.3"));
    EXPECT_EQ(search.GetPartnerAddress(), CString(u"127.0.0.2"));
}

TEST_F(DeviceSearchTest, ASearchNothingAnswersSaysSo) {
    CModalScript script(env);
    env.SetTimeScale(0.01);
    Listen();
    CDlgSearchForCV search;
    script.ExpectDialog("dlg486", [&](QDialog& dialog) {
        auto* note = dialog.findChild<QLabel*>("noAnswer");
        EXPECT_TRUE(note && PumpWaitingMessages([&] { return note->isVisible(); }, kPatienceMs));
        EXPECT_EQ(note ? note->text() : QString(), "No Corvane answered the search.");
        EXPECT_EQ(search.GetTree().topLevelItemCount(), 0);
        EXPECT_FALSE(Ok(dialog)->isEnabled());
        return static_cast<int>(IDCANCEL);
    });
    EXPECT_EQ(search.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.AllAnswered());
}

TEST_F(DeviceSearchTest, AClickOrAKeyOnTheTreeShowsAndReturnsTheDeviceChosen) {
    CModalScript script(env);
    devices.AddDevice(2, {SimSearchDatagram({4, true, "ALFA"})});
    devices.AddDevice(3, {SimSearchDatagram({4, true, "BRAVO"})});
    devices.AddDevice(4, {SimSearchDatagram({4, true, "CHARLIE"})});
    Listen();
    CDlgSearchForIcom search(std::nullopt, TRUE);
    CString chosen;
    script.ExpectDialog("dlg486", [&](QDialog& dialog) {
        EXPECT_TRUE(
            PumpWaitingMessages([&] { return search.GetDevices().size() == 3; }, kPatienceMs));
        CKelvardinTreeCtrl& tree = search.GetTree();
        const auto click = [&](const char* name) {
            const QRect rect = tree.visualItemRect(Root(search, name));
            QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, rect.center());
            return Detail(dialog, 0) + Detail(dialog, 3);
        };
        EXPECT_EQ(click("ALFA"), " ALFA 127.0.0.2");
        EXPECT_TRUE(Ok(dialog)->isEnabled());
        EXPECT_EQ(click("CHARLIE"), " CHARLIE 127.0.0.4");
        // The key moves to the device above, whichever answered in between.
        QTest::keyClick(&tree, Qt::Key_Up);
        const QString above = tree.currentItem()->text(0);
        EXPECT_NE(above, "CHARLIE");
        EXPECT_EQ(Detail(dialog, 0), " " + above);
        chosen = FromQString(above);
        Ok(dialog)->click();
        return 0;
    });
    EXPECT_EQ(search.DoModal(), IDOK);
    EXPECT_EQ(search.GetName(), chosen);
}

}  // namespace
