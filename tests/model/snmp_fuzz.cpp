// Decodes arbitrary bytes as an SNMP configuration record (with a CRC made valid when the
// first byte asks for it) and checks that a decoded record encodes to bytes that decode to
// the same record. Also parses the bytes as IPv4 text.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

#include "model/crc16.h"
#include "model/ip_text.h"
#include "model/snmp_config.h"
#include "platform/base/codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    std::array<BYTE, CSNMPConfig::kRecordSize> record{};
    std::copy_n(data + 1, std::min(size - 1, record.size()), record.begin());
    if (data[0] & 1) CalcCRC16(record.data(), CSNMPConfig::kRecordSize - 2, TRUE);

    CSNMPConfig config;
    if (config.Decode(record.data(), data[0] & 2) == 0) {
        if (data[0] & 1) std::abort();  // a record with its own CRC is always taken
        return 0;
    }
    std::array<BYTE, CSNMPConfig::kRecordSize> encoded{};
    config.Encode(encoded.data(), TRUE);
    CSNMPConfig again;
    if (again.Decode(encoded.data(), FALSE) != CSNMPConfig::kRecordSize) std::abort();
    std::array<BYTE, CSNMPConfig::kRecordSize> reencoded{};
    again.Encode(reencoded.data(), FALSE);
    if (reencoded != encoded) std::abort();

    CString text = FromAnsi(std::string_view(reinterpret_cast<const char*>(data + 1),
                                             std::min<std::size_t>(size - 1, 64)));
    ParseIPAddress(text);
    return 0;
}
