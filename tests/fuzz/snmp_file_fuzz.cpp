// Reads arbitrary bytes as an SNMP configuration file. A refused file leaves the
// configuration as it was and says why; a read one writes back to a file that reads the same.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "model/snmp_config.h"
#include "shell/snmp_config_file.h"
#include "tests/support/memory_file.h"

namespace {

std::array<BYTE, CSNMPConfig::kRecordSize> Encoded(CSNMPConfig config) {
    std::array<BYTE, CSNMPConfig::kRecordSize> record{};
    config.Encode(record.data(), FALSE);
    return record;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CMemFile file(std::vector<BYTE>(data, data + size));
    CSNMPConfig config;
    config.SetName(u"before", FALSE);
    const auto before = Encoded(config);
    CString error;
    if (!ReadSNMPConfig(file, u"fuzz.kvn", config, FALSE, error)) {
        Check(!error.IsEmpty() && Encoded(config) == before && !config.IsModified());
        return 0;
    }
    CMemFile copy;
    Check(WriteSNMPConfig(copy, config, FALSE, error));
    copy.SeekToBegin();
    CSNMPConfig again;
    Check(ReadSNMPConfig(copy, u"copy.kvn", again, FALSE, error));
    Check(Encoded(again) == Encoded(config));
    return 0;
}
