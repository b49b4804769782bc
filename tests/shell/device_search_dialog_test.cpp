#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <cstring>

#include "link/frame_codec.h"
#include "shell/dlg_search_for_icom.h"
#include "shell/found_device_tree.h"
#include "shell/kelvardin_tree_ctrl.h"
#include "shell/preferences_sheet.h"
#include "shell/search_icons.h"
#include "tests/shell/shell_fixture.h"

namespace {

using Bytes = std::vector<BYTE>;
constexpr DWORD kPatienceMs = 20000;

struct Answer {
    BYTE type;
    bool active;
    const char* name;
    DWORD partner = 0;
    BYTE frame = 0;
    BYTE frames = 0;  // 0: the answer carries no frame bytes
    const char* description = "Floor 2";
    WORD command = kCmdSearchIntercoms;
};

// An answer framed as a device sends it; its counts say 3 of 8 connections are free.
Bytes Datagram(const Answer& a) {
    Bytes p = {0x12,
               0x34,
               BYTE(a.command),
               BYTE((a.command >> 4) & 0x30),
               1,
               a.type,
               BYTE(a.active ? 1 : 0),
               0,
               8,
               0,
               3};
    for (int shift = 24; shift >= 0; shift -= 8)
        p.push_back(BYTE(a.partner >> shift));
    for (const char* text : {a.name, a.description}) {
        p.push_back(BYTE(std::strlen(text)));
        p.insert(p.end(), text, text + std::strlen(text));
    }
    if (a.frames) p.insert(p.end(), {a.frame, a.frames});
    p.push_back(FrameChecksum(p));
    Bytes frame(2 * p.size() + 2);
    frame.resize(DelimitFrame(p, frame));
    return frame;
}

CFoundDevice Device(const Answer& a, DWORD address) {
    CFoundDevice device;
    device.address = address;
    Bytes payload;
    EXPECT_TRUE(UnframeSearchAnswer(Datagram(a), payload) && ParseSearchAnswer(payload, device));
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

// A device on a loopback address that answers the search request it was sent.
class CSearchDevice {
public:
    CSearchDevice(BYTE host, WORD port) {
        m_socket.Create();
        EXPECT_EQ(m_socket.Bind({0x7F000000u + host, port}), 0);
    }
    WORD Port() const { return m_socket.LocalEndpoint().port; }
    DWORD Address() const { return m_socket.LocalEndpoint().address; }
    void Send(const Bytes& datagram) {
        if (!m_asker) {
            std::array<BYTE, 64> request{};
            std::size_t size = 0;
            CIPv4Endpoint from;
            ASSERT_EQ(m_socket.ReceiveFrom(request, size, from), 0) << "no search request came";
            m_asker = from;
        }
        m_socket.SendTo(datagram, *m_asker);
    }

private:
    CUdpSocket m_socket;
    std::optional<CIPv4Endpoint> m_asker;
};

// Devices at 127.0.0.2 and on, all on one port; the searches go to them alone.
class DeviceSearchTest : public ShellTest {
protected:
    void MakeDevices(int count) {
        devices.push_back(std::make_unique<CSearchDevice>(2, 0));
        while (int(devices.size()) < count)
            devices.push_back(
                std::make_unique<CSearchDevice>(BYTE(2 + devices.size()), devices[0]->Port()));
        CSearchNetwork network;
        network.requestPort = devices[0]->Port();
        network.answerPort = 0;
        network.targets.emplace();
        for (const auto& device : devices)
            network.targets->push_back(device->Address());
        app.SetSearchNetwork(network);
    }
    CSearchDevice& At(BYTE host) { return *devices[host - 2u]; }
    static QString Detail(QDialog& dialog, int n) { return Ctl<QLabel>(dialog, 2571 + n)->text(); }
    static QPushButton* Ok(QDialog& dialog) { return Ctl<QPushButton>(dialog, IDOK); }
    static QTreeWidgetItem* Root(CDlgSearchForIcom& search, const QString& text) {
        return search.GetTree().findItems(text, Qt::MatchExactly).value(0);
    }

    std::vector<std::unique_ptr<CSearchDevice>> devices;
};

TEST_F(DeviceSearchTest, TheIntercomSearchFillsTheTreeAndShowsTheSelectedDevice) {
    CModalScript script(env);
    MakeDevices(7);
    const DWORD lo = 0x7F000000;
    CDlgSearchForIcom search(CString(u"QORA-1"), TRUE);
    script.ExpectDialog("dlg486", [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Available Intercoms");
        EXPECT_FALSE(Ok(dialog)->isEnabled());
        EXPECT_FALSE(dialog.findChild<QWidget*>("ctl1066")->isEnabled());
        At(7).Send(Datagram({1, true, "CV", 0, 0, 0, "", kCmdSearchControllers}));
        At(8).Send(Bytes{0xD5, 0x12, 0x34, 0xDE, 0x00, 0x01, 0x04, 0xDD});
        At(2).Send(Datagram({3, true, "Ombra", lo + 3}));
        At(3).Send(Datagram({3, false, "Ombra", lo + 2}));
        At(4).Send(Datagram({6, true, "Quillnet", 0, 0, 2}));
        At(5).Send(Datagram({6, true, "Quillnet", 0, 1, 2}));
        At(6).Send(Datagram({4, true, "QORA-1"}));
        EXPECT_TRUE(
            PumpWaitingMessages([&] { return search.GetDevices().size() == 5; }, kPatienceMs));
        EXPECT_EQ(search.GetDevices().count(lo + 7) + search.GetDevices().count(lo + 8), 0u);

        // The device named to the dialog was selected as it came.
        EXPECT_EQ(search.GetTree().currentItem(), Root(search, "QORA-1"));
        const QStringList shown = {" QORA-1", " QORA-Q",          " Active", " 127.0.0.6",
                                   "",        " 3 / 8 Available", " Floor 2"};
        for (int n = 0; n < CDlgSearchForIcom::kDetails; ++n)
            EXPECT_EQ(Detail(dialog, n), shown[n]) << n;
        EXPECT_TRUE(Ok(dialog)->isEnabled() && Ok(dialog)->isDefault());

        At(6).Send(Datagram({4, true, "QORA-1", 0, 0, 0, "Floor 3"}));
        EXPECT_TRUE(
            PumpWaitingMessages([&] { return Detail(dialog, 6) == " Floor 3"; }, kPatienceMs));
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

TEST_F(DeviceSearchTest, TheGeneralPageTakesTheControllerChosenInTheSearch) {
    CModalScript script(env);
    MakeDevices(3);
    CPreferencesSheet::SetLastPage(CPreferencesSheet::kGeneral);
    CPreferencesSheet sheet(nullptr, nullptr);
    script.ExpectDialog("sheet2406", [&](QDialog& dialog) {
        script.ExpectDialog("dlg486", [&](QDialog& found) {
            auto& search = static_cast<CDlgSearchForIcom&>(found);
            EXPECT_EQ(found.windowTitle(), "Available Corvanes");
            At(4).Send(Datagram({2, true, "Medlow"}));
            At(2).Send(Datagram({1, true, "CV Nord", 0x7F000003, 0, 0, "", kCmdSearchControllers}));
            At(3).Send(
                Datagram({8, false, "CV Nord", 0x7F000002, 0, 0, "", kCmdSearchControllers}));
            EXPECT_TRUE(
                PumpWaitingMessages([&] { return search.GetDevices().size() == 2; }, kPatienceMs));
            EXPECT_FALSE(Ok(found)->isEnabled());  // nothing selected yet
            search.GetTree().setCurrentItem(Root(search, "CV Nord (Standby)"));
            EXPECT_EQ(Detail(found, 1), " CV-8800");
            Ok(found)->click();
            return 0;
        });
        dialog.findChild<QPushButton*>("ctl1021")->click();
        EXPECT_EQ(dialog.findChild<QLineEdit*>("ctl1047")->text(), "127.0.0.3");
        EXPECT_EQ(dialog.findChild<QLineEdit*>("ctl1046")->text(), "127.0.0.2");
        return int(IDCANCEL);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
}

}  // namespace
