#include "link/undone_commands.h"

#include "model/validation_report.h"
#include "res/string_ids.h"
#include "res/string_table.h"

namespace {

CString PlainName(int index) {
    const std::u16string names = LoadResString(kIdsUndonePlainNames).str();
    size_t from = 0;
    for (int i = 0; i < index && from != std::u16string::npos; ++i) {
        from = names.find(u'\n', from);
        if (from != std::u16string::npos) ++from;
    }
    if (from == std::u16string::npos) return {};
    return CString(names.substr(from, names.find(u'\n', from) - from));
}

CString Detailed(UINT name, const CString& detail) {
    return SubstituteArgs(LoadResString(kIdsUndoneDetail).str(), {LoadResString(name), detail});
}

CString Numbered(UINT text, int index) {
    return SubstituteArgs(LoadResString(text).str(), {NumberText(index + 1)});
}

}  // namespace

CString CUndoneCommand::Name() const {
    switch (kind) {
        case kClearAllocations:
            return Detailed(kIdsClearAllocationsCaption,
                            target == kAll ? LoadResString(kIdsAllIntercoms)
                                           : Numbered(kIdsIntercomNumber, target));
        case kMaintMode: return Detailed(kIdsSetMaintCaption, Numbered(kIdsTrunkNumber, target));
        case kNormalMode:
            return Detailed(kIdsClearMaintCaption, target == kAll
                                                       ? LoadResString(kIdsAllTrunks)
                                                       : Numbered(kIdsTrunkNumber, target));
        case kSendFile: return LoadResString(kIdsSendFile);
        case kCommandLine: return Detailed(kIdsCommandLineProtocol, text);
        default: return PlainName(kind - kSendChanges);
    }
}

CString UndoneCommandsText(const std::vector<CUndoneCommand>& commands) {
    std::u16string names;
    for (const CUndoneCommand& command : commands) {
        if (!names.empty()) names += u'\n';
        names += command.Name().str();
    }
    return SubstituteArgs(LoadResString(kIdsCommandsNotDone).str(), {CString(names)});
}
