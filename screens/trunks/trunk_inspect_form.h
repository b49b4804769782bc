#pragma once

#include <vector>

#include "platform/base/win_types.h"

class CInspect;

// The trunk inspection's fixed form, a grid of 22 rows and 11 columns: what each cell shows,
// the boxes drawn around its blocks, its help regions and what a right click on a cell names.
// Side A's blocks take columns 1-4, side B's columns 6-9.
namespace inspect_form {

constexpr int kRows = 22;
constexpr int kColumns = 11;

constexpr int kTrunkRow = 1;
constexpr int kEndARow = 3;
constexpr int kEndBRow = 4;
constexpr int kCascadeRow = 6;
constexpr int kCascadeEndARow = 8;
constexpr int kCascadeEndBRow = 9;
constexpr int kCascadeGapRow = 10;
constexpr int kRequestsRow = 11;
constexpr int kHeadingRow = 13;
constexpr int kFirstRequestRow = 14;
constexpr int kRequestRows = 8;
constexpr int kLastRequestRow = kFirstRequestRow + kRequestRows - 1;

constexpr int kSideA = 1;
constexpr int kSideB = 6;
constexpr int kBlockWidth = 4;

// Trunk fields of the inspection (object type 1), and the alpha fields (object type 5) that
// choose which part of an end a cell shows.
enum Field : DWORD {
    kFieldTrunk = 10,
    kFieldEndA = 11,
    kFieldEndB = 12,
    kFieldCascade = 13,
    kFieldCascadeEndA = 14,
    kFieldCascadeEndB = 15,
    kFieldSideBIcom = 16,
    kFieldRequestsA = 17,
    kFieldRequestsB = 25,
    kFieldTalkA = 33,
    kFieldListenA = 41,
    kFieldTalkB = 49,
    kFieldListenB = 57,
};
enum Part : DWORD { kPlain = 0, kIntercom = 66, kAlpha = 1626, kPort = 1627 };

// One cell of the form: a label, or a data cell bound to a field of the inspected trunk.
struct CFormCell {
    int row;
    int col;
    const char16_t* label;  // null for a data cell
    DWORD field = 0;
    DWORD part = kPlain;
    bool centred = false;
};
const std::vector<CFormCell>& Cells();

// A block framed by the cells' borders; a data block also separates its rows.
struct CBox {
    int minRow;
    int minCol;
    int maxRow;
    int maxCol;
    bool data;
};
const std::vector<CBox>& Boxes();

// The help id of the first region that holds the cell, 0 for a cell in none.
DWORD HelpRegion(int row, int col);

// What a right click on a cell names: an intercom or a trunk, or nothing.
struct CMenuTarget {
    enum Kind { kNone, kIntercom, kTrunk };
    Kind kind = kNone;
    int number = -1;
    bool operator==(const CMenuTarget&) const = default;
};
CMenuTarget MenuTarget(int row, int col, const CInspect& inspect, int inspectedTrunk);

// The request rows that show: the larger of the two sides' counts, never more than the form
// has rows for.
int ShownRequestRows(const CInspect& inspect);

}  // namespace inspect_form
