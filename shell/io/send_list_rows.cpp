#include "shell/io/send_list_rows.h"

#include "link/cv_data_send_all.h"
#include "model/cv_config.h"
#include "model/kelvardin_doc.h"
#include "model/obj_spec.h"
#include "shell/io/changed_list.h"

namespace {

using Row = CSendListRow;

constexpr Row kTrunks{CObjSpec::kTrunk, 1, 2601};
constexpr Row kTimeoutSec{CObjSpec::kOptions, 1619, 2602};
constexpr Row kTimeoutMin{CObjSpec::kOptions, 1619, 2603};
constexpr Row kAutoClear{CObjSpec::kOptions, 1620, 2604};
constexpr Row kWaitForTalk{CObjSpec::kOptions, 1622, 2605};
constexpr Row kNames{CObjSpec::kIntercom, 66, 2606};
constexpr Row kNames4{CObjSpec::kIntercom, 67, 2607};
constexpr Row kNames6{CObjSpec::kIntercom, 68, 2608};
constexpr Row kNames8{CObjSpec::kIntercom, 69, 2609};
constexpr Row kNamesWide{CObjSpec::kIntercom, 70, 2610};
constexpr Row kPorts{CObjSpec::kIntercom, 74, 2611};
constexpr Row kBaudRates{CObjSpec::kIntercom, 75, 2612};
constexpr Row kConnTypes{CObjSpec::kIntercom, 71, 2613};
constexpr Row kPrimaryIPs{CObjSpec::kIntercom, 72, 2614};
constexpr Row kBackupIPs{CObjSpec::kIntercom, 73, 2615};
constexpr Row kCascadeCosts{CObjSpec::kIntercom, 76, 2616};
constexpr Row kGroups{CObjSpec::kGroup, 1, 2617};

// Every row a list may show, in the list's order; the name row and the time-out's unit are
// the controller's.
std::vector<Row> GetCandidateRows(const CCVConfig& config, BOOL secondsMode) {
    const bool supervision = config.HasFlag(CCVConfig::kTksupvSupport);
    const Row timeout = supervision && !secondsMode ? kTimeoutMin : kTimeoutSec;
    const Row names = config.HasFlag(CCVConfig::kNewCorvane) ? kNames4 : kNames;
    return {kTrunks,    timeout,     kAutoClear, kWaitForTalk,  names,
            kNames6,    kNames8,     kNamesWide, kPorts,        kBaudRates,
            kConnTypes, kPrimaryIPs, kBackupIPs, kCascadeCosts, kGroups};
}

}  // namespace

std::vector<CSendListRow> GetSendListRows(const CCVConfig& config, BOOL secondsMode) {
    std::vector<Row> rows = GetCandidateRows(config, secondsMode);
    // A row for every kind of change the send carries, and for nothing else.
    std::erase_if(rows, [&](const Row& row) {
        return !CCVDataSendAll::Carries(config, row.objectType, row.fieldId);
    });
    return rows;
}

void FillSendList(const CKelvardinDoc& doc, const CCVConfig& config, BOOL secondsMode,
                  CChangedList& rows) {
    for (const Row& row : GetSendListRows(config, secondsMode)) {
        const int count = config.GetObjectCount(row.objectType, FALSE);
        rows.StartRow();
        for (int i = 0; i < count; ++i) {
            const CObjSpec field(static_cast<DWORD>(row.objectType), static_cast<DWORD>(i),
                                 row.fieldId);
            if (doc.IsModified(field)) {
                rows.Add(i, row.labelId);
            } else {
                rows.FlushRange();
            }
        }
        rows.Flush();
    }
}
