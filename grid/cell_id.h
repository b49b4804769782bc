#pragma once

#include <algorithm>
#include <cstdint>

// A cell's coordinates, row then column; (-1, -1) is no cell.
struct CCellID {
    int row = -1;
    int col = -1;

    constexpr CCellID() = default;
    constexpr CCellID(int r, int c) : row(r), col(c) {}
    constexpr bool IsValid() const { return row >= 0 && col >= 0; }
    friend constexpr bool operator==(const CCellID&, const CCellID&) = default;
};

// A block of cells, bounds included. Valid when every bound is 0 or more and each minimum is
// not above its maximum.
class CCellRange {
public:
    constexpr CCellRange(int minRow = -1, int minCol = -1, int maxRow = -1, int maxCol = -1)
        : m_nMinRow(minRow), m_nMinCol(minCol), m_nMaxRow(maxRow), m_nMaxCol(maxCol) {}

    void Set(int minRow = -1, int minCol = -1, int maxRow = -1, int maxCol = -1) {
        *this = CCellRange(minRow, minCol, maxRow, maxCol);
    }
    constexpr bool IsValid() const {
        return m_nMinRow >= 0 && m_nMinCol >= 0 && m_nMaxRow >= 0 && m_nMaxCol >= 0 &&
               m_nMinRow <= m_nMaxRow && m_nMinCol <= m_nMaxCol;
    }
    constexpr bool InRange(int row, int col) const {
        return row >= m_nMinRow && row <= m_nMaxRow && col >= m_nMinCol && col <= m_nMaxCol;
    }
    constexpr bool InRange(const CCellID& cell) const { return InRange(cell.row, cell.col); }
    constexpr CCellID GetTopLeft() const { return {m_nMinRow, m_nMinCol}; }
    // The larger minimums and the smaller maximums; may come out invalid.
    constexpr CCellRange Intersect(const CCellRange& other) const {
        return CCellRange(
            std::max(m_nMinRow, other.m_nMinRow), std::max(m_nMinCol, other.m_nMinCol),
            std::min(m_nMaxRow, other.m_nMaxRow), std::min(m_nMaxCol, other.m_nMaxCol));
    }

    constexpr int GetMinRow() const { return m_nMinRow; }
    constexpr int GetMinCol() const { return m_nMinCol; }
    constexpr int GetMaxRow() const { return m_nMaxRow; }
    constexpr int GetMaxCol() const { return m_nMaxCol; }
    void SetMinRow(int row) { m_nMinRow = row; }
    void SetMinCol(int col) { m_nMinCol = col; }
    void SetMaxRow(int row) { m_nMaxRow = row; }
    void SetMaxCol(int col) { m_nMaxCol = col; }
    constexpr int GetRowSpan() const { return m_nMaxRow - m_nMinRow + 1; }
    constexpr int GetColSpan() const { return m_nMaxCol - m_nMinCol + 1; }

    friend constexpr bool operator==(const CCellRange&, const CCellRange&) = default;

private:
    int m_nMinRow;
    int m_nMinCol;
    int m_nMaxRow;
    int m_nMaxCol;
};

// The key of a cell in the selected-cell map: wide enough that no two cells share one.
constexpr std::uint64_t CellKey(int row, int col) {
    return static_cast<std::uint32_t>(row) |
           (static_cast<std::uint64_t>(static_cast<std::uint32_t>(col)) << 32);
}
