#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// A folder of its own under the system's temporary folder, removed with everything in it.
class CTempFolder {
public:
    CTempFolder() {
        std::string name = (std::filesystem::temp_directory_path() / "kelvardin_XXXXXX").string();
        m_path = ::mkdtemp(name.data()) ? name : std::string();
    }
    ~CTempFolder() { std::filesystem::remove_all(m_path); }

    CString Path(const std::string& name = {}) const {
        return CString::FromUtf8(name.empty() ? m_path.string() : (m_path / name).string());
    }
    std::vector<BYTE> Bytes(const std::string& name) const {
        std::ifstream in(m_path / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void Put(const std::string& name, const std::vector<BYTE>& bytes) const {
        std::ofstream(m_path / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes));
    }

private:
    std::filesystem::path m_path;
};
