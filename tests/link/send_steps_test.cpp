#include <gtest/gtest.h>

#include <vector>

#include "link/cv_data_send_all.h"
#include "tests/model/doc_fixture.h"

namespace {

struct Sent {
    DWORD command;
    Bytes payload;
    bool operator==(const Sent&) const = default;
};

void PrintTo(const Sent& sent, std::ostream* os) {
    *os << "command " << sent.command << " [";
    for (BYTE b : sent.payload)
        *os << ' ' << int(b);
    *os << " ]";
}

class SendStepsTest : public DocTest {
protected:
    // Every message of one send, in order.
    std::vector<Sent> SendAll() {
        CCVDataSendAll source([this] { return &m_doc; });
        source.Reset();
        std::vector<Sent> out;
        CMessage message;
        while (source.BuildNext(message)) {
            const auto payload = message.Payload();
            out.push_back({message.command, Bytes(payload.begin(), payload.end())});
        }
        return out;
    }
    std::vector<DWORD> Commands() {
        std::vector<DWORD> out;
        for (const Sent& sent : SendAll())
            out.push_back(sent.command);
        return out;
    }
};

const Bytes kNone = {0xFF, 0xFF, 0xFF};

TEST_F(SendStepsTest, NothingChangedOrNoDocumentSendsNothing) {
    EXPECT_TRUE(SendAll().empty());
    m_doc.SetTrunkFixed(TRUE, TRUE, 0);
    CCVDataSendAll orphan([] { return nullptr; });
    orphan.Reset();
    CMessage message;
    EXPECT_FALSE(orphan.BuildNext(message));
}

TEST_F(SendStepsTest, TrunksGoInSpansOfFiftyWithFourteenByteRecords) {
    // Trunks 3 and 60: two messages, since 60 lies beyond the 50 looked at from 3.
    m_doc.SetTrunkEnd(CAssign(2, 7, 0x123), TRUE, TRUE, 3);
    m_doc.SetTrunkCascadable(TRUE, TRUE, 60);
    const Bytes trunk3 = Bytes{0x01, 0x02, 0x81, 0x23} + Repeat(kNone, 3) + Bytes{0x00};
    const Bytes trunk60 = Bytes{0x02} + Repeat(kNone, 4) + Bytes{0x02};
    EXPECT_EQ(SendAll(), (std::vector<Sent>{{9, Bytes{0, 3, 0, 1, 0x01} + trunk3},
                                            {9, Bytes{0, 60, 0, 1, 0x01} + trunk60}}));

    // Trunks 3 to 5: one span, bitmap 0x07. A fixed assignment marks bit 0x04, and so does
    // the Fixed flag alone; a resource number above 12 bits keeps out of the type bits.
    Reset();
    m_doc.SetTrunkEnd(CAssign(2, 7, 0x123), TRUE, TRUE, 3);
    m_doc.SetTrunkFixed(TRUE, TRUE, 4);
    m_doc.SetTrunkFixedAssign(CAssign(1, 0, 0x1ABC), FALSE, TRUE, 5);
    const Bytes trunk4 = Bytes{0x04} + Repeat(kNone, 4) + Bytes{0x01};
    const Bytes trunk5 = Bytes{0x04} + Repeat(kNone, 3) + Bytes{0x01, 0x0A, 0xBC} + Bytes{0x00};
    EXPECT_EQ(SendAll(),
              (std::vector<Sent>{{9, Bytes{0, 3, 0, 3, 0x07} + trunk3 + trunk4 + trunk5}}));
    EXPECT_TRUE(m_doc.HasModifications());  // building clears no change flag
}

TEST_F(SendStepsTest, NamesTakeTheFormatOfTheirLength) {
    // Not extended: only the 4-character names, format 0; an empty name is four zero bytes.
    m_doc.SetIcomNameFromController(2, 4, u"WXYZ", FALSE);
    m_doc.SetIcomNameFromController(0, 4, u"AB", TRUE);
    m_doc.SetIcomNameFromController(2, 4, u"", TRUE);
    m_doc.SetIcomNameFromController(1, 6, u"SIXSIX", TRUE);
    EXPECT_EQ(SendAll(), (std::vector<Sent>{{6, Bytes{0x70, 0x00, 0x00, 0x03, 0x05} +
                                                    Text("AB", 4) + Bytes{0, 0, 0, 0}}}));

    // Extended with wide names: four steps, formats 1 to 4; wide names are big-endian UTF-16.
    Configure(CCVConfig::kNewCorvane | CCVConfig::kUnicodeSupport, 0);
    for (int length : {4, 6, 8})
        m_doc.SetIcomNameFromController(1, length, u"N", TRUE);
    m_doc.SetIcomNameFromController(1, 16, u"\u00C4b", TRUE);
    const Bytes wide = Bytes{0x00, 0xC4, 0, 'b'} + Repeat({0, ' '}, 6);
    EXPECT_EQ(SendAll(), (std::vector<Sent>{
                             {6, Bytes{0x70, 0x01, 0x10, 0x01, 0x01} + Text("N", 4)},
                             {6, Bytes{0x70, 0x01, 0x20, 0x01, 0x01} + Text("N", 6)},
                             {6, Bytes{0x70, 0x01, 0x30, 0x01, 0x01} + Text("N", 8)},
                             {6, Bytes{0x70, 0x01, 0x40, 0x01, 0x01} + wide},
                         }));
}

TEST_F(SendStepsTest, IntercomSettingsOneValueEach) {
    SetCapabilities(CCVConfig::kEthernetToMC | CCVConfig::kCascadeCosts);
    Reset();
    m_doc.SetIcomBaudRate(3, TRUE, 1);
    m_doc.SetIcomComPort(5, TRUE, 0);
    m_doc.SetIcomComPort(-1, TRUE, 0);  // no port travels as 255
    m_doc.SetIcomComPort(7, TRUE, 2);
    m_doc.SetIcomConnType(1, TRUE, 4);
    m_doc.SetIcomPrimaryIP(0x0A000001, TRUE, 3);
    m_doc.SetIcomBackupIP(0xC0A80102, TRUE, 30);
    m_doc.SetIcomCascadeCost(300, TRUE, 2);
    EXPECT_EQ(SendAll(), (std::vector<Sent>{
                             {16, {1, 1, 0x01, 3}},
                             {28, {0, 3, 0x05, 255, 7}},
                             {69, {4, 1, 0x01, 1}},
                             {71, {0, 3, 1, 0x01, 10, 0, 0, 1}},
                             {71, {1, 30, 1, 0x01, 192, 168, 1, 2}},
                             {82, {0, 2, 0, 1, 0x01, 0x01, 0x2C}},
                         }));

    // Without the capabilities those steps send nothing.
    SetCapabilities(0);
    EXPECT_EQ(Commands(), (std::vector<DWORD>{16, 28}));
}

TEST_F(SendStepsTest, OptionsSendOneMessagePerChangedValue) {
    m_doc.SetOptionTimeout(5, TRUE);
    m_doc.SetOptionAutoClear(TRUE, TRUE);
    m_doc.SetOptionWaitForTalkKey(TRUE, TRUE);
    EXPECT_EQ(SendAll(), (std::vector<Sent>{{12, {1, 0, 5}}}));  // the others need Tksupv

    Config().m_wFlags = CCVConfig::kTksupvSupport;
    SetCapabilities(CCVConfig::kMinSecTimeout);
    m_app.m_bAllocInSeconds = TRUE;
    EXPECT_EQ(SendAll(), (std::vector<Sent>{{65, {1, 0, 5}}, {47, {1, 1}}, {51, {1, 1}}}));
}

TEST_F(SendStepsTest, GroupsCarryNameAndMembersShiftedByOne) {
    // The default group holds intercoms 0-30; leave it 0 and 1.
    Group(0).SetName(u"Ops", TRUE);
    for (int icom = 2; icom < 31; ++icom)
        m_doc.SetGroupMember(0, icom, FALSE);
    EXPECT_EQ(SendAll(),
              (std::vector<Sent>{{33, Bytes{0, 1, 0x01} + Text("Ops", 12) + Bytes{0, 0, 0, 6}}}));

    // Wide names on a short controller: the count byte carries 0x80.
    Configure(CCVConfig::kUnicodeSupport, 0);
    m_doc.SetGroupMember(1, 30, TRUE);
    const Bytes name = Repeat({0, '-'}, 12);
    EXPECT_EQ(SendAll(),
              (std::vector<Sent>{{33, Bytes{1, 0x81, 0x01} + name + Bytes{0x80, 0, 0, 0}}}));

    // More than 31 intercoms: code 85 and the 32-byte bitmap moved up across the bytes.
    Configure(0, 0, 40);
    m_doc.SetGroupMember(2, 0, TRUE);
    m_doc.SetGroupMember(2, 7, TRUE);
    m_doc.SetGroupMember(2, 39, TRUE);
    Bytes bitmap(32, 0);
    bitmap[0] = 0x02, bitmap[1] = 0x01, bitmap[5] = 0x01;
    EXPECT_EQ(SendAll(), (std::vector<Sent>{{85, Bytes{2, 1, 0x01} + name + bitmap}}));
}

TEST_F(SendStepsTest, StepsRunInTheirFixedOrder) {
    Config().m_wFlags = CCVConfig::kTksupvSupport;
    SetCapabilities(CCVConfig::kEthernetToMC | CCVConfig::kCascadeCosts);
    Reset();
    m_doc.SetIcomCascadeCost(1, TRUE, 0);
    m_doc.SetIcomBackupIP(1, TRUE, 0);
    m_doc.SetIcomPrimaryIP(1, TRUE, 0);
    m_doc.SetIcomConnType(1, TRUE, 0);
    m_doc.SetGroupMember(0, 0, FALSE);
    m_doc.SetOptionWaitForTalkKey(TRUE, TRUE);
    m_doc.SetOptionAutoClear(TRUE, TRUE);
    m_doc.SetOptionTimeout(9, TRUE);
    m_doc.SetIcomComPort(1, TRUE, 0);
    m_doc.SetIcomBaudRate(2, TRUE, 0);
    m_doc.SetIcomNameFromController(0, 4, u"A", TRUE);
    m_doc.SetTrunkFixed(TRUE, TRUE, 998);
    EXPECT_EQ(Commands(), (std::vector<DWORD>{9, 6, 16, 28, 12, 47, 51, 33, 69, 71, 71, 82}));
}

TEST(SendSourceKinds, OnlyTheSendOfChangesClearsTheChangeFlags) {
    struct CModeCommands : CSendAll {
        void Reset() override {}
        BOOL BuildNext(CMessage&) override { return FALSE; }
    };
    EXPECT_FALSE(CModeCommands().ClearsChangesWhenDone());
    EXPECT_TRUE(CCVDataSendAll(nullptr).ClearsChangesWhenDone());
}

}  // namespace
