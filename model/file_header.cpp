#include <algorithm>
#include <string>
#include <string_view>

#include "model/file_sections.h"
#include "model/kelvardin_doc.h"
#include "model/module_version_info.h"
#include "platform/base/codepage.h"
#include "platform/io/file.h"
#include "res/string_ids.h"
#include "res/string_table.h"

namespace {

constexpr std::string_view kSignature = "Kelvardin";
constexpr size_t kMaxTextLength = 249;
constexpr size_t kMarkAt = 250;
constexpr size_t kPartialAt = 251;
constexpr BYTE kEndOfText = 0x1A;

}  // namespace

std::array<BYTE, kFileHeaderSize> MakeFileHeader(const CString& productVersion,
                                                 const CString& buildDate, BOOL partial) {
    std::string text =
        std::string(kSignature) + " setup file\r\nCreated with " + ToAnsi(productVersion.str()) +
        "\r\n" + ToAnsi(LoadResString(kIdsBuildDate).str()) + ToAnsi(buildDate.str()) + "\r\n";
    text.resize(std::min(text.size(), kMaxTextLength));

    std::array<BYTE, kFileHeaderSize> header{};
    std::copy(text.begin(), text.end(), header.begin());
    header[text.size()] = kEndOfText;
    constexpr char kFiller[] = {'Z', 'U', 'B'};
    for (size_t i = text.size() + 1; i < kMarkAt; ++i)
        header[i] = kFiller[(i - text.size() - 1) % 3];
    const std::string mark = partial ? "-P-EOH" : "-F-EOH";
    std::copy(mark.begin(), mark.end(), header.begin() + kMarkAt);
    return header;
}

void CKelvardinDoc::WriteFileHeader(CFile& file, BOOL partial) {
    CModuleVersionInfo version;
    version.Load();
    const auto header = MakeFileHeader(version.GetProductVersion(), GetBuildDate(), partial);
    file.Write(header.data(), kFileHeaderSize);
}

BOOL CKelvardinDoc::CheckFileHeader(CFile& file, CString* text, BOOL* partial) {
    // A short header reads as if padded with zeros.
    std::array<BYTE, kFileHeaderSize> header{};
    file.Read(header.data(), kFileHeaderSize);
    if (text) {
        const auto end = std::find_if(header.begin(), header.end(),
                                      [](BYTE b) { return b == 0 || b == kEndOfText; });
        *text = FromAnsi(std::string(header.begin(), end));
    }
    if (partial) *partial = header[kPartialAt] == 'P';
    return std::equal(kSignature.begin(), kSignature.end(), header.begin());
}
