#include "shell/io/snmp_config_file.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "model/kelvardin_doc.h"
#include "model/module_version_info.h"
#include "model/snmp_config.h"
#include "platform/base/byte_order.h"
#include "platform/base/codepage.h"
#include "platform/io/binary_file.h"
#include "platform/io/replacing_file.h"

namespace {

constexpr std::size_t kHeaderTextSize = 250;
constexpr std::size_t kBlockHeadSize = 6;
// The record is encoded into, and read back through, a buffer of this size.
constexpr std::size_t kRecordBufferSize = 2048;

BOOL Fail(CString& error, CString text) {
    error = std::move(text);
    return FALSE;
}

CString Corrupted() {
    return u"This file contains errors or is corrupted.";
}

bool HeaderMatches(CFile& file) {
    std::array<BYTE, kSNMPFileHeaderSize> header{};
    if (file.Read(header.data(), kSNMPFileHeaderSize) != kSNMPFileHeaderSize) return false;
    const BYTE* mark = header.data() + kHeaderTextSize;
    return std::equal(header.begin(), header.begin() + 4, "SNMP") && mark[0] == '-' &&
           (mark[1] == 'F' || mark[1] == 'P') && std::equal(mark + 2, mark + 6, "-EOH");
}

// Leaves the file at the body of the first record block and answers its length; 0 when the
// blocks end first or a length points beyond the end of the file.
std::uint32_t FindRecordBlock(CFile& file) {
    const std::uint64_t size = file.GetLength();
    for (;;) {
        const std::uint64_t at = file.GetPosition();
        if (at + kBlockHeadSize > size) return 0;
        BYTE head[kBlockHeadSize];
        if (file.Read(head, kBlockHeadSize) != kBlockHeadSize) return 0;
        const std::uint32_t length = GetU32LE(head + 2);
        if (length > size - at - kBlockHeadSize) return 0;
        if (GetU16LE(head) == kSNMPRecordBlock) return length;
        file.Seek(length, CFile::current);
    }
}

BOOL ReadRecordBlock(CFile& file, CSNMPConfig& config, BOOL markChanged) {
    const std::uint32_t length = FindRecordBlock(file);
    if (length < CSNMPConfig::kRecordSize || length > kRecordBufferSize) return FALSE;
    std::array<BYTE, kRecordBufferSize> record{};
    if (file.Read(record.data(), length) != length) return FALSE;
    return config.Decode(record.data(), markChanged) != 0;
}

}  // namespace

std::array<BYTE, kSNMPFileHeaderSize> MakeSNMPFileHeader(const CString& productName,
                                                         const CString& productVersion,
                                                         const CString& buildDate) {
    std::string text = "SNMP Configuration file\r\nCreated with " + ToAnsi(productName.str()) +
                       " " + ToAnsi(productVersion.str()) +
                       "\r\nBuild Date:  " + ToAnsi(buildDate.str()) + "\x1A";
    while (text.size() < kHeaderTextSize)
        text += "ZUB";
    text.resize(kHeaderTextSize);
    text += "-F-EOH";
    std::array<BYTE, kSNMPFileHeaderSize> header{};
    std::copy(text.begin(), text.end(), header.begin());
    return header;
}

BOOL ReadSNMPConfig(CFile& file, const CString& fileName, CSNMPConfig& config, BOOL markChanged,
                    CString& error) {
    try {
        if (!HeaderMatches(file))
            return Fail(error, CString::Formatted(u"%s is not the correct file type.", fileName));
    } catch (const CFileException&) {
        return Fail(error, CString::Formatted(u"%s is not the correct file type.", fileName));
    }
    try {
        // Decode leaves the configuration alone when the record's CRC fails.
        if (!ReadRecordBlock(file, config, markChanged)) return Fail(error, Corrupted());
    } catch (const CFileException&) {
        return Fail(error, Corrupted());
    }
    return TRUE;
}

BOOL WriteSNMPConfig(CFile& file, CSNMPConfig& config, BOOL clearChanges, CString& error) {
    CModuleVersionInfo version;
    version.Load();
    const auto header = MakeSNMPFileHeader(version.GetProductName(), version.GetProductVersion(),
                                           CKelvardinDoc::GetBuildDate());
    try {
        file.Write(header.data(), kSNMPFileHeaderSize);
    } catch (const CFileException&) {
        return Fail(error, u"Error writing file header.");
    }
    try {
        BYTE field[4];
        PutU16LE(field, kSNMPRecordBlock);
        file.Write(field, 2);
        std::array<BYTE, kRecordBufferSize> record{};
        const auto length = static_cast<std::uint32_t>(config.Encode(record.data(), FALSE));
        PutU32LE(field, length);
        file.Write(field, 4);
        file.Write(record.data(), length);
    } catch (const CFileException&) {
        return Fail(error, u"Error writing file data.");
    }
    if (clearChanges) config.ClearChanges();
    return TRUE;
}

BOOL ReadSNMPConfigFile(const CString& path, CSNMPConfig& config, BOOL markChanged,
                        CString& error) {
    if (path.IsEmpty()) return Fail(error, u"No filename specified.");
    CBinaryFile file;
    if (!file.Open(path, CBinaryFile::modeRead))
        return Fail(error, CString::Formatted(u"File '%s' not found.", path));
    return ReadSNMPConfig(file, path, config, markChanged, error);
}

BOOL WriteSNMPConfigFile(const CString& path, CSNMPConfig& config, BOOL clearChanges,
                         CString& error) {
    if (path.IsEmpty()) return Fail(error, u"No filename specified.");
    // Written beside the old file and put in its place only when whole, so a failed save
    // never leaves a cut file where a good one was.
    CReplacingFile file;
    if (!file.Open(path))
        return Fail(error,
                    CString::Formatted(u"Could not open/create file '%s' for writing.", path));
    // The changes count as saved only once the file is in its place.
    if (!WriteSNMPConfig(file.GetFile(), config, FALSE, error)) return FALSE;
    try {
        file.Commit();
    } catch (const CFileException&) {
        return Fail(error, u"Error writing file data.");
    }
    if (clearChanges) config.ClearChanges();
    return TRUE;
}

CString SNMPLoadFailedText(const CString& error) {
    return CString::Formatted(u"Could not load SNMP configuration from file!\n\nERROR: %s", error);
}

CString SNMPSaveFailedText(const CString& error) {
    return CString::Formatted(u"Could not save SNMP configuration to file!\n\nERROR:%s", error);
}
