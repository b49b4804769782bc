// Reads arbitrary bytes as a setup file: the pre-read, then the reader with or without reset
// and mark, under a small controller whose capabilities the first byte chooses. Whatever was
// read must save to a file that reads back whole to the same setup: saving, opening and
// saving again gives the same bytes. That file cut short reads as incomplete once its
// signatures section, which lists every section, has come, also where the cut falls between
// two sections; before it, a cut between sections reads as whole.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "model/partial_save_selection.h"
#include "platform/base/profile.h"
#include "tests/support/memory_file.h"

namespace {

// Larger setups are read without reset, so that every input stays quick.
constexpr WORD kMaxResetTrunks = 2000;
constexpr WORD kMaxResetGroups = 300;

std::vector<BYTE> Save(CKelvardinDoc& doc) {
    doc.SetFlagOnAll(CCVObject::kInFile, TRUE);
    CMemFile file;
    if (doc.WriteSetupFile(file, u"fuzz.kvd", FALSE, TRUE) != 1) std::abort();
    return file.m_bytes;
}

constexpr int kRead = 1;
constexpr int kIncomplete = 4;
constexpr int kNotSetup = 5;

int Open(CKelvardinDoc& doc, const std::vector<BYTE>& bytes, BOOL reset, BOOL mark) {
    CMemFile file(bytes);
    CPartialSaveSelection selection;
    const BOOL isSetup = CKelvardinDoc::ReadFileContents(file, selection);
    const CCVConfig& described = selection.GetConfig();
    if (described.m_wNumTrunks > kMaxResetTrunks || described.m_wNumGroups > kMaxResetGroups)
        reset = FALSE;
    const int result = doc.ReadSetupFile(selection, file, u"fuzz.kvd", reset, mark);
    if (isSetup ? result != kRead && result != kIncomplete : result != kNotSetup) std::abort();
    return result;
}

// Where each section of a file that the program wrote ends, and which one holds the
// signatures.
std::vector<size_t> SectionEnds(const std::vector<BYTE>& file, size_t& signatures) {
    std::vector<size_t> ends;
    for (size_t at = 256; at < file.size();) {
        const WORD code = static_cast<WORD>(file[at + 4] << 8 | file[at + 5]);
        const size_t count = static_cast<size_t>(file[at + 6] << 8 | file[at + 7]);
        const size_t size = static_cast<size_t>(file[at + 8] << 8 | file[at + 9]);
        at += 10;
        size_t records = 0;
        for (size_t i = 0; i < (count + 7) / 8; ++i)
            records += static_cast<size_t>(__builtin_popcount(file[at + i]));
        at += (count + 7) / 8 + records * size;
        if (code == 5) signatures = ends.size();
        ends.push_back(at);
    }
    return ends;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CMemoryProfile profile;
    static CAppState app(profile);
    static CKelvardinDoc doc;  // one document for the run, as in the program
    if (size < 1) return 0;

    CCVConfig& config = app.GetConfig();
    config.m_wNumTrunks = 40;
    config.m_wNumIntercoms = 8;
    config.m_wNumGroups = 4;
    config.m_wFlags = (data[0] & 0x01) ? CCVConfig::kNewCorvane | CCVConfig::kUnicodeSupport : 0;
    config.m_dwCapabilities = (data[0] & 0x02) ? CCVConfig::kEthernetToMC : 0;
    config.m_dwCapabilities |= (data[0] & 0x04) ? CCVConfig::kCascadeCosts : 0;
    config.m_dwCapabilities |= (data[0] & 0x08) ? CCVConfig::kMinSecTimeout : 0;
    config.RefreshCapabilitySet();
    app.m_bAllocInSeconds = TRUE;
    const BOOL reset = (data[0] & 0x10) != 0;
    const BOOL mark = (data[0] & 0x20) != 0;

    doc.ResetToDefaultSetup();
    Open(doc, std::vector<BYTE>(data + 1, data + size), reset, mark);

    const std::vector<BYTE> saved = Save(doc);
    doc.ResetToDefaultSetup();
    if (Open(doc, saved, TRUE, FALSE) != kRead) std::abort();
    if (Save(doc) != saved) std::abort();

    constexpr size_t kHeader = 256;
    std::vector<BYTE> cut(saved.begin(), saved.begin() + kHeader + size % (saved.size() - kHeader));
    size_t signatures = 0;
    const std::vector<size_t> ends = SectionEnds(saved, signatures);
    if (Open(doc, cut, TRUE, FALSE) != kIncomplete && cut.size() >= ends[signatures]) std::abort();
    // Ending between two sections, the file is incomplete once its signatures have come.
    const size_t boundary = size % (ends.size() - 1);
    const std::vector<BYTE> between(saved.begin(),
                                    saved.begin() + static_cast<std::ptrdiff_t>(ends[boundary]));
    if (Open(doc, between, TRUE, FALSE) != (boundary >= signatures ? kIncomplete : kRead))
        std::abort();
    return 0;
}
