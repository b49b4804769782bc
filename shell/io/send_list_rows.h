#pragma once

#include <vector>

#include "platform/base/win_types.h"

class CCVConfig;
class CChangedList;
class CKelvardinDoc;

// One row of the send list: the field whose changes it lists, for every record of a type.
struct CSendListRow {
    int objectType;  // 1 trunks, 2 options, 3 intercoms, 4 groups
    DWORD fieldId;
    UINT labelId;
    bool operator==(const CSendListRow&) const = default;
};

// The rows of a send to a controller of this configuration, in order: one for each kind of
// change that the send carries. With secondsMode the allocation time-out is labelled in
// seconds where the controller could take minutes.
std::vector<CSendListRow> GetSendListRows(const CCVConfig& config, BOOL secondsMode);

// Writes a row per kind of change the document holds, from the configuration's table.
void FillSendList(const CKelvardinDoc& doc, const CCVConfig& config, BOOL secondsMode,
                  CChangedList& rows);
