#include "screens/trunks/trunk_inspect_form.h"

#include <algorithm>

#include "model/value_records.h"

namespace inspect_form {
namespace {

struct CHelpRegion {
    int minRow;
    int minCol;
    int maxRow;
    int maxCol;
    DWORD id;
};

// First match wins: the heading cells of row 13 share the regions of their columns.
constexpr CHelpRegion kHelpRegions[] = {
    {1, 1, 1, 4, 10},   {3, 1, 3, 4, 11},   {4, 1, 4, 4, 12},   {6, 1, 6, 4, 13},
    {8, 1, 8, 4, 14},   {9, 1, 9, 4, 15},   {11, 1, 11, 4, 11}, {11, 6, 11, 9, 16},
    {13, 1, 21, 2, 17}, {13, 3, 21, 3, 33}, {13, 4, 21, 4, 41}, {13, 6, 21, 7, 25},
    {13, 8, 21, 8, 49}, {13, 9, 21, 9, 57},
};

// An end's three parts, from the label's column on.
void AddEnd(std::vector<CFormCell>& cells, int row, const char16_t* label, DWORD field) {
    cells.push_back({row, 1, label});
    cells.push_back({row, 2, nullptr, field, kIntercom});
    cells.push_back({row, 3, nullptr, field, kAlpha});
    cells.push_back({row, 4, nullptr, field, kPort});
}

// One side's request table: its heading row and a row per request.
void AddRequests(std::vector<CFormCell>& cells, int col, DWORD requests, DWORD talk, DWORD listen) {
    cells.push_back({kHeadingRow, col, u"Alpha"});
    cells.push_back({kHeadingRow, col + 1, u"Asgn"});
    cells.push_back({kHeadingRow, col + 2, u"T", 0, kPlain, true});
    cells.push_back({kHeadingRow, col + 3, u"L", 0, kPlain, true});
    for (DWORD k = 0; k < kRequestRows; ++k) {
        const int row = kFirstRequestRow + static_cast<int>(k);
        cells.push_back({row, col, nullptr, requests + k, kAlpha});
        cells.push_back({row, col + 1, nullptr, requests + k, kPort});
        cells.push_back({row, col + 2, nullptr, talk + k, kPlain, true});
        cells.push_back({row, col + 3, nullptr, listen + k, kPlain, true});
    }
}

std::vector<CFormCell> MakeCells() {
    std::vector<CFormCell> cells;
    cells.push_back({kTrunkRow, 1, u"Trunk"});
    cells.push_back({kTrunkRow, 2, nullptr, kFieldTrunk});
    AddEnd(cells, kEndARow, u"From:", kFieldEndA);
    AddEnd(cells, kEndBRow, u"To:", kFieldEndB);
    cells.push_back({kCascadeRow, 1, u"Cascade"});
    cells.push_back({kCascadeRow, 2, nullptr, kFieldCascade});
    AddEnd(cells, kCascadeEndARow, u"From:", kFieldCascadeEndA);
    AddEnd(cells, kCascadeEndBRow, u"To:", kFieldCascadeEndB);
    cells.push_back({kRequestsRow, kSideA, nullptr, kFieldEndA, kIntercom});
    cells.push_back({kRequestsRow, kSideA + 1, u"Requests"});
    cells.push_back({kRequestsRow, kSideB, nullptr, kFieldSideBIcom, kIntercom});
    cells.push_back({kRequestsRow, kSideB + 1, u"Requests"});
    AddRequests(cells, kSideA, kFieldRequestsA, kFieldTalkA, kFieldListenA);
    AddRequests(cells, kSideB, kFieldRequestsB, kFieldTalkB, kFieldListenB);
    return cells;
}

std::vector<CBox> MakeBoxes() {
    std::vector<CBox> boxes = {
        {kTrunkRow, kSideA, kTrunkRow, kSideA + 3, false},
        {kCascadeRow, kSideA, kCascadeRow, kSideA + 3, false},
        {kRequestsRow, kSideA, kRequestsRow, kSideA + 3, false},
        {kRequestsRow, kSideB, kRequestsRow, kSideB + 3, false},
    };
    for (int row : {kEndARow, kCascadeEndARow}) {
        boxes.push_back({row, kSideA, row + 1, kSideA, false});
        boxes.push_back({row, kSideA + 1, row + 1, kSideA + 3, true});
    }
    for (int side : {kSideA, kSideB}) {
        for (int col = side; col < side + kBlockWidth; ++col)
            boxes.push_back({kHeadingRow, col, kHeadingRow, col, false});
        boxes.push_back({kFirstRequestRow, side, kLastRequestRow, side + 3, true});
    }
    return boxes;
}

bool InBlock(int col, int first) {
    return col >= first && col < first + kBlockWidth;
}

}  // namespace

const std::vector<CFormCell>& Cells() {
    static const std::vector<CFormCell> cells = MakeCells();
    return cells;
}

const std::vector<CBox>& Boxes() {
    static const std::vector<CBox> boxes = MakeBoxes();
    return boxes;
}

DWORD HelpRegion(int row, int col) {
    for (const CHelpRegion& region : kHelpRegions) {
        if (row >= region.minRow && row <= region.maxRow && col >= region.minCol &&
            col <= region.maxCol)
            return region.id;
    }
    return 0;
}

CMenuTarget MenuTarget(int row, int col, const CInspect& inspect, int inspectedTrunk) {
    const bool cascade = inspect.GetSideId(false) >= 0;
    auto icom = [&](bool side1, bool first) {
        return CMenuTarget{CMenuTarget::kIntercom, inspect.GetPair(side1, first).m_icom};
    };
    if (row >= kRequestsRow && row <= kLastRequestRow) {
        if (InBlock(col, kSideA)) return icom(true, true);
        // Side B's requests wait at the far end of the cascade when there is one.
        if (InBlock(col, kSideB)) return cascade ? icom(false, false) : icom(true, false);
        return {};
    }
    if (!InBlock(col, kSideA)) return {};
    switch (row) {
        case kTrunkRow: return {CMenuTarget::kTrunk, inspectedTrunk};
        case kEndARow: return icom(true, true);
        case kEndBRow: return icom(true, false);
        case kCascadeRow: return {CMenuTarget::kTrunk, inspect.GetSideId(false)};
        case kCascadeEndARow: return icom(false, true);
        case kCascadeEndBRow: return icom(false, false);
        default: return {};
    }
}

int ShownRequestRows(const CInspect& inspect) {
    const DWORD larger = std::max(inspect.GetEntryCount(true), inspect.GetEntryCount(false));
    return static_cast<int>(std::min<DWORD>(larger, kRequestRows));
}

}  // namespace inspect_form
