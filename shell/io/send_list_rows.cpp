#include "shell/io/send_list_rows.h"

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

// Whether a send to this controller carries the changes of the row's field: the wide names
// go only to a controller with UnicodeSupport, connection types and addresses only with
// EthernetToMC, cascade costs only with CascadeCosts.
bool IsSent(const Row& row, const CCVConfig& config) {
    if (row == kNamesWide) return config.HasFlag(CCVConfig::kUnicodeSupport);
    if (row == kConnTypes || row == kPrimaryIPs || row == kBackupIPs)
        return config.HasCapability(CCVConfig::kEthernetToMC);
    if (row == kCascadeCosts) return config.HasCapability(CCVConfig::kCascadeCosts);
    return true;
}

std::vector<Row> GetTableRows(const CCVConfig& config, BOOL secondsMode) {
    const bool supervision = config.HasFlag(CCVConfig::kTksupvSupport);
    const bool newCorvane = config.HasFlag(CCVConfig::kNewCorvane);
    if (!supervision && !newCorvane)
        return {kTrunks, kTimeoutSec, kNames, kPorts, kBaudRates, kGroups};
    if (!newCorvane) {
        const Row timeout = secondsMode ? kTimeoutSec : kTimeoutMin;
        return {kTrunks, timeout, kAutoClear, kWaitForTalk, kNames, kPorts, kBaudRates, kGroups};
    }
    const bool cascadeCosts = supervision && config.HasCapability(CCVConfig::kCascadeCosts);
    const bool addresses =
        cascadeCosts || (supervision && config.HasCapability(CCVConfig::kEthernetToMC));
    // Appended one by one: GCC's optimiser misjudges the bounds of inserted ranges here.
    std::vector<Row> rows;
    auto add = [&rows](std::initializer_list<Row> more) {
        for (const Row& row : more)
            rows.push_back(row);
    };
    if (!supervision) {
        add({kTrunks, kTimeoutSec});
    } else {
        add({kTrunks, secondsMode ? kTimeoutSec : kTimeoutMin, kAutoClear, kWaitForTalk});
    }
    add({kNames4, kNames6, kNames8, kNamesWide, kPorts, kBaudRates});
    if (addresses) add({kConnTypes, kPrimaryIPs, kBackupIPs});
    if (cascadeCosts) rows.push_back(kCascadeCosts);
    rows.push_back(kGroups);
    return rows;
}

}  // namespace

std::vector<CSendListRow> GetSendListRows(const CCVConfig& config, BOOL secondsMode) {
    std::vector<Row> rows = GetTableRows(config, secondsMode);
    // A row never names data that the send leaves out.
    std::erase_if(rows, [&](const Row& row) { return !IsSent(row, config); });
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
