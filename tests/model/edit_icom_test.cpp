#include <gtest/gtest.h>

#include <array>

#include "edit_fixture.h"

namespace {

using IcomEditTest = EditTest;

constexpr int kSizes[] = {4, 6, 8, 16};

CIcomSpec Name(int icom, int size) {
    return CIcomSpec(icom, size == 16 ? CIntercom::kFieldName8W
                                      : CIntercom::kFieldName4 + static_cast<DWORD>(size - 4) / 2);
}

}  // namespace

TEST_F(IcomEditTest, NameLengthsAndCharacterSets) {
    EXPECT_FALSE(Edit(Name(0, 6), u"TOOLONG"));
    EXPECT_EQ(m_app.m_nLastError, 3);
    EXPECT_FALSE(Edit(Name(0, 16), u"NINE CHRS"));
    EXPECT_TRUE(Edit(Name(0, 4), u"AB  "));  // trailing blanks do not count
    EXPECT_FALSE(Edit(Name(1, 4), u"A`B"));
    EXPECT_EQ(ErrorText(4), CString(u"The intercom name entered contains an invalid "
                                    u"character.\nThe character '`' (0x60) is not allowed."));
    EXPECT_TRUE(Edit(Name(1, 16), u"A`{B}"));  // the wide name takes any character

    struct Char {
        char16_t ch;
        std::array<bool, 3> allowed;  // plain, Katakana, limited Katakana
    };
    const Char chars[] = {
        {u'~', {false, true, false}},     {u'"', {true, true, false}},
        {u'_', {true, true, true}},       {u'\xA1', {false, true, false}},
        {u'\xA6', {false, true, true}},   {u'\xDF', {false, true, true}},
        {u'\xE0', {false, false, false}}, {u'\x3042', {false, false, false}},
    };
    for (const Char& c : chars) {
        for (int set = 0; set < 3; ++set) {
            m_app.m_bAllowKatakanaAlphas = set > 0;
            m_app.m_bLimitKatakanaAlphas = set == 2;
            EXPECT_EQ(m_doc.SetIcomName(Name(2, 8), 8, CString(u"X") + c.ch) != FALSE,
                      c.allowed[set])
                << static_cast<int>(c.ch) << " " << set;
            m_doc.SetIcomName(Name(2, 8), 8, u"");
        }
    }
}

TEST_F(IcomEditTest, NamesInUseAndRemoteTrunkingRanges) {
    NameIcom(3, u"DELT");
    EXPECT_TRUE(Edit(Name(0, 6), u"DELT"));  // compared with the names of the configured size
    EXPECT_EQ(ErrorText(5), CString(u"The intercom name entered is already being used by "
                                    u"intercom #4.\nThis is not recommended."));
    EXPECT_TRUE(Edit(Name(0, 8), u"MX07"));
    EXPECT_EQ(TakeReports(), (std::vector<int>{5, 5}));  // once for a name and its companions
    {
        // A move passes the names its own sources hold, and only those: intercom 1 holds DELT too.
        const CKelvardinDoc::CFreedFieldsScope move(m_doc, {Name(3, 4).Key()});
        EXPECT_TRUE(Edit(Name(1, 6), u"DELT"));
        EXPECT_EQ(TakeReports(), std::vector<int>{5});
        EXPECT_NE(ErrorText(5).Find(u"intercom #1."), -1);
    }

    // A new 4-character name moves every range up by one: intercom 3's would end at 256.
    m_doc.SetIcomRemoteTrunkBase(2, 253);
    EXPECT_EQ(m_doc.CountNamedIntercoms(), 3);  // DELT and the companions of intercoms 1 and 2
    int overflow = -1;
    EXPECT_FALSE(m_doc.FindRemoteTrunkRangeOverflow(overflow));
    EXPECT_TRUE(Edit(Name(5, 4), u"NEW"));
    EXPECT_EQ(ErrorText(31), CString(u"The intercom name entered may not be visible to intercom "
                                     u"#3.\nAn intercom cannot be trunked to more than 31 other "
                                     u"intercoms."));
    EXPECT_TRUE(m_doc.FindRemoteTrunkRangeOverflow(overflow));
    EXPECT_EQ(overflow, 2);
    m_doc.SetIcomRemoteTrunkBase(2, 200);  // the range fits again
    EXPECT_FALSE(m_doc.FindRemoteTrunkRangeOverflow(overflow));
    m_doc.SetIcomRemoteTrunkBase(2, 253);
    EXPECT_TRUE(m_doc.IsFieldProblematic(CIcomSpec(2, 1361)));
    EXPECT_TRUE(Edit(Name(5, 4), u"NEW2"));  // no longer a new name
    EXPECT_EQ(TakeReports(), std::vector<int>{31});
}

TEST_F(IcomEditTest, CompanionNamesFollowInOneStep) {
    struct Case {
        int size;
        const char16_t* text;
        std::array<const char16_t*, 4> before;  // names 4, 6, 8 and wide
        std::array<const char16_t*, 4> after;
    };
    const Case cases[] = {
        {4, u"AB", {u"", u"", u"", u""}, {u"AB", u"AB", u"AB", u"AB"}},
        {8, u"SEVENCH", {u"", u"", u"", u""}, {u"MX01", u"MX01", u"SEVENCH", u"SEVENCH"}},
        {6, u"NEW6", {u"OLD4", u"OLD6", u"OLD6", u"WIDE"}, {u"OLD4", u"NEW6", u"NEW6", u"WIDE"}},
        {6, u"", {u"OLD4", u"OLD6", u"X", u""}, {u"", u"", u"", u""}},
        {16,
         u"A\x416"
         u"BC",
         {u"", u"", u"", u""},
         {u"A?BC", u"A?BC", u"A?BC",
          u"A\x416"
          u"BC"}},
    };
    for (const Case& c : cases) {
        m_doc.ClearAllChanges();
        for (int i = 0; i < 4; ++i)
            NameIcom(0, c.before[i], kSizes[i]);
        m_host.m_undo.RemoveAll();
        EXPECT_TRUE(Edit(Name(0, c.size), c.text));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(m_doc.GetObjectText(Name(0, kSizes[i])), CString(c.after[i])) << i;
        EXPECT_EQ(m_host.m_undo.GetCount(), 1u);
    }
    EXPECT_EQ(m_host.m_repaints, 5);
}

TEST_F(IcomEditTest, ConnectionAddressesPortsAndCosts) {
    EXPECT_TRUE(Edit(CIcomSpec(0, CIntercom::kFieldConnection), u"Network "));
    EXPECT_EQ(m_doc.GetIcomConnType(0), 1);
    EXPECT_TRUE(Edit(CIcomSpec(0, CIntercom::kFieldBaudRate), u"9600"));
    EXPECT_TRUE(Edit(CIcomSpec(0, CIntercom::kFieldBaudRate), u"4800"));
    EXPECT_EQ(m_doc.GetIcomBaudRate(0), -1);

    // An address another intercom holds, as primary or backup, is refused.
    NameIcom(2, u"CHAR");
    m_doc.SetIcomBackupIP(0x0A000001, FALSE, 2);
    const CIcomSpec primary(0, CIntercom::kFieldPrimaryIP);
    EXPECT_FALSE(Edit(primary, u"10.0.0.1"));
    EXPECT_EQ(ErrorText(29), CString(u"The IP address entered is already assigned to intercom #3 "
                                     u"(CHAR)."));
    EXPECT_TRUE(Edit(primary, u"10.0.0.2"));
    // Text that is no address is refused with a message naming it, never stored as
    // 255.255.255.255.
    for (const char16_t* text :
         {u"10.0.0", u"10.9.9.300", u"10.1.0.810.9.9.9", u"255.255.255.255"}) {
        EXPECT_FALSE(Edit(primary, text));
        EXPECT_EQ(ErrorText(28), u"The IP address entered is invalid: " + CString(text) +
                                     u"\nAn IP address is four numbers between 0 and 255, "
                                     u"separated by dots.");
    }
    EXPECT_EQ(m_doc.GetIcomPrimaryAddress(0), 0x0A000002u);
    EXPECT_TRUE(Edit(primary, u"-"));
    EXPECT_EQ(m_doc.GetIcomPrimaryAddress(0), 0u);
    {
        const CKelvardinDoc::CFreedFieldsScope move(
            m_doc, {CIcomSpec(2, CIntercom::kFieldBackupIP).Key()});
        EXPECT_TRUE(Edit(CIcomSpec(1, CIntercom::kFieldBackupIP), u"10.0.0.1"));
    }

    const CIcomSpec port(0, CIntercom::kFieldComPort);
    m_doc.SetIcomComPort(3, FALSE, 2);
    EXPECT_FALSE(Edit(port, u"22"));
    EXPECT_NE(ErrorText(1).Find(u"between 1 and 21"), -1);
    EXPECT_FALSE(Edit(port, u"4"));
    EXPECT_EQ(ErrorText(2), CString(u"The communication port entered is already being used by "
                                    u"intercom #3 (CHAR)."));
    {
        // The source still holds the port until the move ends.
        const CKelvardinDoc::CFreedFieldsScope move(m_doc,
                                                    {CIcomSpec(2, CIntercom::kFieldComPort).Key()});
        EXPECT_TRUE(Edit(port, u"4"));
        EXPECT_EQ(m_doc.GetIcomComPort(0), 3);
    }
    EXPECT_TRUE(Edit(port, u"21") && Edit(port, u"0"));
    EXPECT_EQ(m_doc.GetIcomComPort(0), -1);
    Config().m_nFirstComPort = 1;
    Config().m_nLastComPort = 0;
    EXPECT_FALSE(Edit(port, u"1"));
    m_doc.SetIcomComPort(5, FALSE, 1);
    EXPECT_TRUE(Edit(CIcomSpec(1, CIntercom::kFieldComPort), u"COM1"));  // not a number: none
    EXPECT_EQ(m_doc.GetIcomComPort(1), -1);

    const CIcomSpec cost(0, CIntercom::kFieldCascadeCost);
    EXPECT_TRUE(Edit(cost, u"65535"));
    EXPECT_FALSE(Edit(cost, u"65536"));
    EXPECT_FALSE(Edit(cost, u"-1"));
    EXPECT_TRUE(Edit(cost, u""));
    EXPECT_EQ(m_doc.GetIcomCascadeCost(0), 0);
    EXPECT_EQ(TakeReports(), (std::vector<int>{29, 28, 28, 28, 28, 1, 2, 27, 37, 37}));
}

TEST_F(IcomEditTest, AddressesFromTheIntercomSearch) {
    NameIcom(0, u"ALFA");
    EXPECT_FALSE(m_doc.SetIcomAddresses(0, u"BRAV", u"10.0.0.1", u"10.0.0.2"));
    EXPECT_EQ(ErrorText(30), CString(u"The selected intercom's name (BRAV) differs from the "
                                     u"current name (ALFA)."));
    EXPECT_TRUE(m_host.m_undo.IsEmpty());
    for (const char16_t* found : {u"ALFA", u"QORA", u""}) {
        m_doc.SetIcomPrimaryIP(0, TRUE, 0);
        EXPECT_TRUE(m_doc.SetIcomAddresses(0, found, u"10.0.0.1", u"10.0.0.2"));
    }
    // The first search stored both addresses in one step; later ones only the primary.
    ASSERT_EQ(m_host.m_undo.GetCount(), 3u);
    ASSERT_TRUE(m_host.Undo() && m_host.Undo() && m_host.Undo());
    EXPECT_EQ(m_doc.GetIcomBackupAddress(0), 0u);
    // A search that changes nothing leaves no step and keeps what Redo can do.
    EXPECT_FALSE(m_doc.SetIcomAddresses(0, u"ALFA", u"-", u"-"));
    EXPECT_EQ(m_host.m_redo.GetCount(), 3u);
}
