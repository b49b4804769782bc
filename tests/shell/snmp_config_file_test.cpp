#include <gtest/gtest.h>

#include <string>

#include "model/snmp_config.h"
#include "platform/base/codepage.h"
#include "shell/io/snmp_config_file.h"
#include "tests/support/memory_file.h"

namespace {

std::vector<BYTE> Written(CSNMPConfig config) {
    CMemFile file;
    CString error;
    EXPECT_TRUE(WriteSNMPConfig(file, config, FALSE, error));
    return file.m_bytes;
}

std::vector<BYTE> Sample() {
    CSNMPConfig config;
    config.SetName(u"Corvane Nord", TRUE);
    config.AddTrapTarget(0x0A000001, TRUE);
    return Written(config);
}

}  // namespace

TEST(SnmpConfigFile, WrittenLayoutReadsBack) {
    const auto bytes = Sample();
    ASSERT_EQ(bytes.size(), 262u + CSNMPConfig::kRecordSize);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 38),
              "SNMP Configuration file\r\nCreated with ");
    EXPECT_EQ(std::string(bytes.begin() + 250, bytes.begin() + 262),
              std::string("-F-EOH\x01\x00\xEE\x03\x00\x00", 12));

    // A partial mark and a block of another type before the record are read past.
    CMemFile older(bytes);
    older.m_bytes[251] = 'P';
    older.m_bytes.insert(older.m_bytes.begin() + 256, {7, 0, 2, 0, 0, 0, 'x', 'y'});
    CSNMPConfig loaded;
    CString error;
    ASSERT_TRUE(ReadSNMPConfig(older, u"older.wyx", loaded, TRUE, error)) << ToUtf8(error);
    EXPECT_EQ(Written(loaded), bytes);
    EXPECT_TRUE(loaded.IsModified());  // loaded while ONLINE: can be applied
}

TEST(SnmpConfigFile, DamagedFilesAreRefusedAndChangeNothing) {
    const struct {
        const char* what;
        std::size_t at;
        std::vector<BYTE> put;
        std::size_t size;  // 0: as written
        bool wrongType;
    } damages[] = {
        {"wrong magic", 0, {'s'}, 0, true},
        {"cut in the header", 0, {}, 200, true},
        {"cut in the record", 0, {}, 762, false},
        {"huge length", 258, {0xF0, 0xFF, 0xFF, 0xFF}, 0, false},
        {"longer than the record buffer", 258, {0xB8, 0x0B}, 262 + 3000, false},
        {"bad CRC", 270, {0xFF}, 0, false},
        {"no record block", 256, {2}, 0, false},
        {"skipped block past the end", 256, {2, 0, 0, 0, 0, 0x80}, 0, false},
    };
    for (const auto& d : damages) {
        CMemFile file(Sample());
        std::copy(d.put.begin(), d.put.end(), file.m_bytes.begin() + d.at);
        if (d.size) file.m_bytes.resize(d.size);
        CSNMPConfig config;
        CString error;
        EXPECT_FALSE(ReadSNMPConfig(file, u"x.kvn", config, TRUE, error)) << d.what;
        EXPECT_EQ(error, CString(d.wrongType ? u"x.kvn is not the correct file type."
                                             : u"This file contains errors or is corrupted."))
            << d.what;
        EXPECT_FALSE(config.IsModified()) << d.what;
    }

    CSNMPConfig config;
    CString error;
    EXPECT_FALSE(ReadSNMPConfigFile(u"/nonexistent.kvn", config, FALSE, error));
    EXPECT_EQ(SNMPLoadFailedText(error), CString(u"Could not load SNMP configuration from "
                                                 u"file!\n\nERROR: File '/nonexistent.kvn' not "
                                                 u"found."));
    EXPECT_FALSE(WriteSNMPConfigFile(u"/dev/full", config, FALSE, error));
    EXPECT_EQ(error, CString(u"Error writing file header."));
}
