#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "model/crc16.h"
#include "model/ip_text.h"
#include "model/snmp_config.h"
#include "platform/base/codepage.h"

namespace {

using Record = std::array<BYTE, CSNMPConfig::kRecordSize>;

Record Encoded(CSNMPConfig& config, BOOL clearChanges = FALSE) {
    Record record;
    record.fill(0xEE);  // whatever the buffer held before
    EXPECT_EQ(config.Encode(record.data(), clearChanges), CSNMPConfig::kRecordSize);
    EXPECT_EQ(ComputeCRC16(record.data(), CSNMPConfig::kRecordSize), 0);
    return record;
}

std::string Field(const Record& record, size_t offset, size_t size) {
    return std::string(record.begin() + offset, record.begin() + offset + size);
}

}  // namespace

TEST(Crc16, VectorsAndAppending) {
    BYTE abc[5] = {'a', 'b', 'c'};
    EXPECT_EQ(CalcCRC16(abc, 3, FALSE), 1);
    EXPECT_EQ(CalcCRC16(abc, 3, TRUE), 1);
    EXPECT_EQ(std::string(abc, abc + 5), "abc\x82\x16");
    EXPECT_EQ(CalcCRC16(abc, 5, FALSE), 0);  // data closed by its own CRC
    EXPECT_EQ(CalcCRC16(abc, 0, FALSE), 1);  // the register stays 0xE553

    // Data whose CRC is 0 still gets its two bytes, 00 00.
    BYTE closed[7] = {'a', 'b', 'c', 0x82, 0x16, 0xEE, 0xEE};
    EXPECT_EQ(CalcCRC16(closed, 5, TRUE), 1);
    EXPECT_EQ(std::string(closed + 5, closed + 7), std::string(2, '\0'));
}

TEST(SnmpConfig, RecordLayoutAndRoundTrip) {
    CSNMPConfig empty;
    EXPECT_EQ(Field(Encoded(empty), 0, 1004), std::string(1004, '\0'));

    CSNMPConfig config;
    config.SetName(CString(u'N', 300), TRUE);
    config.SetLocation(u"Stage \u00E9\u4E2D", FALSE);
    config.SetReadOnlyCommunity(CString(u'r', 64), FALSE);
    config.SetReadWriteCommunity(CString(u'w', 65), FALSE);
    config.SetTrapCommunity(u"traps", FALSE);
    config.SetUseValidHosts(7, TRUE);
    EXPECT_TRUE(config.AddTrapTarget(0x0A000001, TRUE));
    EXPECT_TRUE(config.AddTrapTarget(0x0A000002, FALSE));
    EXPECT_TRUE(config.AddValidHost(0xC0A80001, TRUE));

    const Record record = Encoded(config, TRUE);
    EXPECT_EQ(std::count(record.begin(), record.end(), 0xEE), 0);  // nothing left undefined
    EXPECT_EQ(Field(record, 0, 256), std::string(255, 'N') + '\0');
    EXPECT_EQ(Field(record, 256, 9), std::string("Stage \xE9?\0", 9));
    EXPECT_EQ(Field(record, 768, 65), std::string(64, 'r') + '\0');
    EXPECT_EQ(Field(record, 833, 65), std::string(64, 'w') + '\0');
    EXPECT_EQ(Field(record, 898, 6), std::string("traps\0", 6));
    EXPECT_EQ(Field(record, 963, 41), std::string("\x01\x0A\0\0\x01\x0A\0\0\x02", 9) +
                                          std::string(12, '\0') + std::string("\xC0\xA8\0\x01", 4) +
                                          std::string(16, '\0'));
    EXPECT_FALSE(config.IsModified() || config.IsTextModified(CSNMPConfig::kName) ||
                 config.IsUseValidHostsModified() || config.IsTrapTargetModified(0));

    CSNMPConfig decoded;
    ASSERT_EQ(decoded.Decode(record.data(), TRUE), 1006);
    EXPECT_EQ(decoded.GetName(), CString(u'N', 255));
    EXPECT_EQ(decoded.GetLocation(), CString(u"Stage \u00E9?"));
    EXPECT_EQ(decoded.GetReadWriteCommunity(), CString(u'w', 64));
    EXPECT_EQ(decoded.GetUseValidHosts(), 1u);
    EXPECT_EQ(decoded.FindTrapTarget(0x0A000002), 1);
    EXPECT_EQ(decoded.GetValidHost(0), 0xC0A80001u);
    EXPECT_TRUE(decoded.IsModified() && decoded.IsTextModified(CSNMPConfig::kTrapCommunity) &&
                decoded.IsUseValidHostsModified() && decoded.IsValidHostModified(0));
    EXPECT_EQ(Encoded(decoded), record);
}

TEST(SnmpConfig, DecodeSkipsZeroAddressesAndRefusesABadCrc) {
    Record record{};
    const BYTE targets[] = {0, 0, 0, 0, 10, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 6};
    std::copy(std::begin(targets), std::end(targets), record.begin() + 964);
    CalcCRC16(record.data(), 1004, TRUE);
    CSNMPConfig config;
    ASSERT_EQ(config.Decode(record.data(), FALSE), 1006);
    ASSERT_EQ(config.GetTrapTargetCount(), 2);
    EXPECT_EQ(config.GetTrapTarget(0), 0x0A000005u);
    EXPECT_EQ(config.GetTrapTarget(1), 0x0A000006u);

    // Any byte changed, the CRC's included, refuses the record and keeps everything.
    config.SetContact(u"kept", TRUE);
    for (size_t at : {size_t{0}, size_t{963}, size_t{1004}, size_t{1005}}) {
        Record spoilt = record;
        spoilt[at] ^= 0x01;
        EXPECT_EQ(config.Decode(spoilt.data(), FALSE), 0) << at;
        EXPECT_EQ(config.GetContact(), CString(u"kept"));
        EXPECT_TRUE(config.IsTextModified(CSNMPConfig::kContact));
    }

    // The lists hold five non-zero entries; an entry's flag moves with it.
    EXPECT_FALSE(config.AddValidHost(0, TRUE));
    for (DWORD address = 1; address <= 5; ++address)
        EXPECT_TRUE(config.AddValidHost(address, address == 3));
    EXPECT_FALSE(config.AddValidHost(6, TRUE));
    EXPECT_FALSE(config.RemoveValidHost(5, TRUE));
    EXPECT_TRUE(config.RemoveValidHost(1, FALSE));
    EXPECT_EQ(config.GetValidHost(1), 3u);
    EXPECT_TRUE(config.IsValidHostModified(1));
}

TEST(IpText, FormatAndParse) {
    EXPECT_EQ(FormatIPAddress(0), CString(u"-"));
    EXPECT_EQ(FormatIPAddress(0xC0A80001), CString(u"192.168.0.1"));
    // The dialogs show a zero address and the top byte's high bit as numbers.
    EXPECT_EQ(DottedIPAddress(0), CString(u"0.0.0.0"));
    EXPECT_EQ(DottedIPAddress(0xFFFE0A01), CString(u"255.254.10.1"));

    struct Case {
        const char16_t* text;
        DWORD address;
    } cases[] = {
        {u"", 0},
        {u"-", 0},
        {u"10.1.2.3", 0x0A010203},
        // Four decimal numbers, whatever their leading zeros, and nothing else.
        {u"127.000.000.010", 0x7F00000A},
        {u"0000000010.0.0.08 ", 0x0A000008},
        {u"0x0A.010.2.3", 0xFFFFFFFF},
        {u"10.1.2", 0xFFFFFFFF},
        {u"10.1.2.256", 0xFFFFFFFF},
        {u"10.1.2.3 4", 0xFFFFFFFF},
        {u"10.1..3", 0xFFFFFFFF},
        {u"10.1.2.3.", 0xFFFFFFFF},
        {u"+10.1.2.3", 0xFFFFFFFF},
        {u"255.255.255.255", 0xFFFFFFFF},
        {u"10.1.2.3\u4E2D", 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        CString text = c.text;
        EXPECT_EQ(ParseIPAddress(text), c.address) << ToUtf8(CString(c.text));
        EXPECT_EQ(text, CString(c.address == 0 ? u"-" : c.text));
    }
}
