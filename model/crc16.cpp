#include "model/crc16.h"

#include <array>

namespace {

constexpr std::array<WORD, 256> MakeTable() {
    std::array<WORD, 256> table{};
    for (unsigned i = 0; i < table.size(); ++i) {
        unsigned crc = i;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
        table[i] = static_cast<WORD>(crc);
    }
    return table;
}

constexpr std::array<WORD, 256> kTable = MakeTable();
constexpr WORD kInitial = 0xE553;

}  // namespace

WORD ComputeCRC16(const BYTE* buffer, int length) {
    WORD crc = kInitial;
    for (int i = 0; i < length; ++i)
        crc = static_cast<WORD>((crc >> 8) ^ kTable[(crc ^ buffer[i]) & 0xFF]);
    return crc;
}

int CalcCRC16(BYTE* buffer, int length, BOOL append) {
    const WORD crc = ComputeCRC16(buffer, length);
    if (!append) return length != 0 && crc == 0 ? 0 : 1;
    // Appended whatever the register holds, so that a record always carries its CRC.
    buffer[length] = static_cast<BYTE>(crc);
    buffer[length + 1] = static_cast<BYTE>(crc >> 8);
    return ComputeCRC16(buffer, length + 2) == 0 ? 1 : -1;
}
