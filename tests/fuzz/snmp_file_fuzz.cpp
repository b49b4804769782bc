// Reads arbitrary bytes as an SNMP configuration file. A refused file says why and leaves the
// configuration unchanged; a read one writes back to a file that reads the same.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "model/snmp_config.h"
#include "shell/io/snmp_config_file.h"
#include "tests/support/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CMemFile file(std::vector<BYTE>(data, data + size));
    CSNMPConfig config;
    CString error;
    if (!ReadSNMPConfig(file, u"fuzz.kvn", config, TRUE, error)) {
        if (error.IsEmpty() || config.IsModified() || !config.GetName().IsEmpty()) std::abort();
        return 0;
    }
    CMemFile copy;
    CSNMPConfig again;
    if (!WriteSNMPConfig(copy, config, FALSE, error)) std::abort();
    copy.SeekToBegin();
    if (!ReadSNMPConfig(copy, u"copy.kvn", again, FALSE, error)) std::abort();
    CMemFile copyAgain;
    WriteSNMPConfig(copyAgain, again, FALSE, error);
    if (copyAgain.m_bytes != copy.m_bytes) std::abort();
    return 0;
}
