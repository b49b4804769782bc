#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "model/partial_save_selection.h"
#include "platform/base/codepage.h"
#include "platform/base/profile.h"
#include "platform/io/binary_file.h"

namespace {

constexpr int kTrunks = 10000;
constexpr int kIntercoms = 255;
constexpr int kGroups = 255;
constexpr int kAlphas = 20000;

// The largest setup the model holds, every record filled in.
class CLargestSetup {
public:
    CLargestSetup() {
        CCVConfig& config = m_app.GetConfig();
        config.m_wNumTrunks = kTrunks;
        config.m_wNumIntercoms = kIntercoms;
        config.m_wNumGroups = kGroups;
        config.m_wFlags = CCVConfig::kNewCorvane | CCVConfig::kUnicodeSupport;
        config.m_dwCapabilities = CCVConfig::kEthernetToMC | CCVConfig::kCascadeCosts;
        config.RefreshCapabilitySet();
        m_doc.ResetToDefaultSetup();

        for (int i = 0; i < kTrunks; ++i) {
            auto& trunk = dynamic_cast<CTrunk&>(*m_doc.FindObject(CTrunkSpec(i, 1)));
            trunk.SetEndpoint(TRUE, CAssign(static_cast<BYTE>(i % kIntercoms), 0, i % 500), FALSE);
            trunk.SetEndpoint(FALSE, CAssign(static_cast<BYTE>((i + 1) % kIntercoms), 1, i % 100),
                              FALSE);
        }
        for (int i = 0; i < kIntercoms; ++i) {
            auto& icom = dynamic_cast<CIntercom&>(*m_doc.FindObject(CIcomSpec(i, 1)));
            icom.SetName(8, CString::Formatted(u"ICOM%03d", i), FALSE);
            icom.SetPrimaryIP(0x0A000000u + static_cast<DWORD>(i), FALSE);
        }
        for (int g = 0; g < kGroups; ++g) {
            auto& group = dynamic_cast<CGroup&>(*m_doc.FindObject(CGroupSpec(g, 1)));
            for (int i = g % 3; i < kIntercoms; i += 3)
                group.SetMember(i, TRUE, FALSE);
        }
        for (int k = 0; k < kAlphas; ++k) {
            const int list = k % (kIntercoms * kAlphaListCount);
            m_doc.StoreAlpha(CAssign(static_cast<BYTE>(list / kAlphaListCount),
                                     static_cast<BYTE>(list % kAlphaListCount),
                                     static_cast<WORD>(k / (kIntercoms * kAlphaListCount))),
                             CString::Formatted(u"A%05d", k));
        }
        m_doc.SetFlagOnAll(CCVObject::kInFile, TRUE);
    }

    CMemoryProfile m_profile;
    CAppState m_app{m_profile};
    CKelvardinDoc m_doc;
};

CString TempPath() {
    const auto path = std::filesystem::temp_directory_path() /
                      ("kelvardin_bench_" + std::to_string(::getpid()) + ".kvd");
    return CString::FromUtf8(path.string());
}

void WriteLargestSetup(benchmark::State& state) {
    CLargestSetup setup;
    const CString path = TempPath();
    std::uint64_t length = 0;
    for (auto _ : state) {
        CBinaryFile file;
        file.Open(path, CBinaryFile::modeCreate);
        if (setup.m_doc.WriteSetupFile(file, path, FALSE, TRUE) != 1) state.SkipWithError("write");
        length = file.GetLength();
        file.Close();
    }
    state.counters["file_bytes"] = static_cast<double>(length);
    std::filesystem::remove(ToUtf8(path));
}

// The open command: the pre-read, then the reader with reset.
void ReadLargestSetup(benchmark::State& state) {
    CLargestSetup setup;
    const CString path = TempPath();
    {
        CBinaryFile file;
        file.Open(path, CBinaryFile::modeCreate);
        setup.m_doc.WriteSetupFile(file, path, FALSE, TRUE);
        file.Close();
    }
    for (auto _ : state) {
        CBinaryFile file;
        file.Open(path, CBinaryFile::modeRead);
        CPartialSaveSelection selection;
        CKelvardinDoc::ReadFileContents(file, selection);
        if (setup.m_doc.ReadSetupFile(selection, file, path, TRUE, FALSE) != 1)
            state.SkipWithError("read");
        state.counters["file_bytes"] = static_cast<double>(file.GetLength());
    }
    if (setup.m_doc.GetAlphas().size() != kAlphas) state.SkipWithError("alphas lost");
    std::filesystem::remove(ToUtf8(path));
}

}  // namespace

BENCHMARK(WriteLargestSetup)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadLargestSetup)->Unit(benchmark::kMillisecond);
