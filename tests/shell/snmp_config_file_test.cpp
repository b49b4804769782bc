#include <gtest/gtest.h>

#include <array>
#include <string>

#include "model/kelvardin_doc.h"
#include "model/snmp_config.h"
#include "platform/base/byte_order.h"
#include "platform/base/codepage.h"
#include "res/version_info.h"
#include "shell/snmp_config_file.h"
#include "tests/shell/temp_folder.h"
#include "tests/support/memory_file.h"

namespace {

CSNMPConfig SampleConfig() {
    CSNMPConfig config;
    config.SetName(u"Corvane Nord", TRUE);
    config.SetContact(u"Desk \u00E9", TRUE);
    config.SetTrapCommunity(u"traps", TRUE);
    config.SetUseValidHosts(1, TRUE);
    config.AddValidHost(0xC0A80001, TRUE);
    config.AddTrapTarget(0x0A000001, TRUE);
    config.AddTrapTarget(0x0A000002, TRUE);
    return config;
}

std::vector<BYTE> Encoded(CSNMPConfig config) {
    std::vector<BYTE> record(CSNMPConfig::kRecordSize);
    config.Encode(record.data(), FALSE);
    return record;
}

}  // namespace

TEST(SnmpConfigFile, WritesHeaderAndOneRecordBlockThatReadsBack) {
    CTempFolder folder;
    CSNMPConfig config = SampleConfig();
    CString error;
    ASSERT_TRUE(WriteSNMPConfigFile(folder.Path("a.kvn"), config, TRUE, error));
    EXPECT_FALSE(config.IsModified());  // saved outside ONLINE mode

    const auto bytes = folder.Bytes("a.kvn");
    ASSERT_EQ(bytes.size(), 256u + 6 + CSNMPConfig::kRecordSize);
    std::string header =
        ToAnsi(
            u"SNMP Configuration file\r\nCreated "
            u"with " KELVARDIN_PRODUCT_NAME u" " KELVARDIN_PRODUCT_VERSION u"\r\nBuild Date:  ") +
        ToAnsi(CKelvardinDoc::GetBuildDate().str()) + "\x1A";
    while (header.size() < 250)
        header += "ZUB";
    header = header.substr(0, 250) + "-F-EOH";
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 256), header);
    EXPECT_EQ(GetU16LE(&bytes[256]), 1);
    EXPECT_EQ(GetU32LE(&bytes[258]), CSNMPConfig::kRecordSize);
    EXPECT_EQ(std::vector<BYTE>(bytes.begin() + 262, bytes.end()), Encoded(SampleConfig()));

    // A partial mark and a block of another type before the record are read past.
    auto older = std::vector<BYTE>(bytes.begin(), bytes.begin() + 256);
    older[251] = 'P';
    older.insert(older.end(), {7, 0, 3, 0, 0, 0, 'x', 'y', 'z'});
    older.insert(older.end(), bytes.begin() + 256, bytes.end());
    folder.Put("b.wyx", older);
    CSNMPConfig loaded;
    ASSERT_TRUE(ReadSNMPConfigFile(folder.Path("b.wyx"), loaded, TRUE, error)) << ToUtf8(error);
    EXPECT_EQ(Encoded(loaded), Encoded(SampleConfig()));
    EXPECT_TRUE(loaded.IsModified() && loaded.IsTextModified(CSNMPConfig::kName));
}

TEST(SnmpConfigFile, DamagedFilesAreRefusedAndChangeNothing) {
    CTempFolder folder;
    CSNMPConfig sample = SampleConfig();
    CString error;
    ASSERT_TRUE(WriteSNMPConfigFile(folder.Path("good.kvn"), sample, FALSE, error));
    const auto good = folder.Bytes("good.kvn");
    const CString corrupted = u"This file contains errors or is corrupted.";
    auto with = [&](auto change) {
        auto bytes = good;
        change(bytes);
        return bytes;
    };
    const struct {
        const char* what;
        std::vector<BYTE> bytes;
        bool wrongType;
    } cases[] = {
        {"cut in the record", with([](auto& b) { b.resize(262 + 500); }), false},
        {"cut in the header", with([](auto& b) { b.resize(200); }), true},
        {"wrong magic", with([](auto& b) { b[0] = 's'; }), true},
        {"wrong end of header", with([](auto& b) { b[252] = '_'; }), true},
        {"huge record length", with([](auto& b) { PutU32LE(&b[258], 0xFFFFFFF0); }), false},
        {"record longer than its buffer",
         with([](auto& b) { PutU32LE(&b[258], 3000), b.resize(262 + 3000); }), false},
        {"record too short", with([](auto& b) { PutU32LE(&b[258], 1000); }), false},
        {"bad CRC", with([](auto& b) { b[262 + 10] ^= 1; }), false},
        {"no record block", with([](auto& b) { b[256] = 2; }), false},
        {"skipped block past the end", with([](auto& b) {
             b.insert(b.begin() + 256, {2, 0, 0, 0, 0, 0x80});
         }),
         false},
    };
    for (const auto& c : cases) {
        folder.Put("bad.kvn", c.bytes);
        CSNMPConfig config;
        config.SetName(u"kept", FALSE);
        EXPECT_FALSE(ReadSNMPConfigFile(folder.Path("bad.kvn"), config, TRUE, error)) << c.what;
        EXPECT_EQ(error, c.wrongType ? folder.Path("bad.kvn") + u" is not the correct file type."
                                     : corrupted)
            << c.what;
        EXPECT_EQ(config.GetName(), CString(u"kept")) << c.what;
        EXPECT_FALSE(config.IsModified()) << c.what;
    }

    CSNMPConfig config;
    EXPECT_FALSE(ReadSNMPConfigFile(u"", config, FALSE, error));
    EXPECT_EQ(error, CString(u"No filename specified."));
    EXPECT_FALSE(ReadSNMPConfigFile(folder.Path("none.kvn"), config, FALSE, error));
    EXPECT_EQ(error, u"File '" + folder.Path("none.kvn") + u"' not found.");
    EXPECT_FALSE(WriteSNMPConfigFile(folder.Path("no/such.kvn"), config, FALSE, error));
    EXPECT_EQ(error,
              u"Could not open/create file '" + folder.Path("no/such.kvn") + u"' for writing.");
    EXPECT_FALSE(WriteSNMPConfigFile(u"/dev/full", config, FALSE, error));
    EXPECT_EQ(SNMPSaveFailedText(error),
              CString(u"Could not save SNMP configuration to file!\n\nERROR:Error writing file "
                      u"header."));
    CMemFile failing;
    failing.m_failWritesFrom = 260;
    EXPECT_FALSE(WriteSNMPConfig(failing, config, FALSE, error));
    EXPECT_EQ(SNMPLoadFailedText(error),
              CString(u"Could not load SNMP configuration from file!\n\nERROR: Error writing file "
                      u"data."));
}
