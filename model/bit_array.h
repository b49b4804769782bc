#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// A growable bit set. Bit i lives in byte i / 8 under the mask 1 << (i mod 8), the bit order of
// every bitmap in setup files and controller messages. Bits of the last byte beyond the count
// are kept 0.
class CBitArray {
public:
    CBitArray() = default;
    explicit CBitArray(UINT count) { SetSize(count); }
    CBitArray(const CBitArray& other) : m_bytes(other.m_bytes), m_count(other.m_count) {}
    CBitArray& operator=(const CBitArray& other);

    // Resizes and clears every bit; the cursor becomes -1.
    void SetSize(UINT count);
    UINT GetSize() const { return m_count; }
    // (count + 7) / 8 bytes, or none when the count is 0.
    const BYTE* GetBytes() const { return m_bytes.empty() ? nullptr : m_bytes.data(); }
    UINT GetByteCount() const { return static_cast<UINT>(m_bytes.size()); }

    BOOL GetBit(UINT i) const;
    void SetBit(UINT i, BOOL on);
    void SetRange(UINT first, UINT n, BOOL on);
    void SetAll(BOOL on);
    // Clears every bit, then sets each listed index that is below the count.
    void SetBitsFromList(const int* indexes, int n);

    // The number of set bits.
    UINT GetCount() const;
    // The lowest set bit at or after start, or -1.
    int FindNext(int start) const;
    // The highest set bit, or -1.
    int FindLast() const;
    // Iteration with the cursor: First is FindNext(0); Next continues after the cursor and
    // leaves the cursor on the count at the end. Both return -1 at the end.
    int First();
    int Next();

    // Copies the first count bits from one byte buffer to another: whole bytes, then the
    // remaining bits one by one, leaving the target's other bits in its last byte as they were.
    void CopyBits(const BYTE* source, BYTE* target) const;
    void StoreBits(BYTE* buffer) const { CopyBits(GetBytes(), buffer); }
    void LoadBits(const BYTE* buffer) { CopyBits(buffer, m_bytes.data()); }

    BOOL Compare(const CBitArray& other) const;
    bool operator==(const CBitArray& other) const { return Compare(other) != 0; }
    bool operator!=(const CBitArray& other) const { return !Compare(other); }

private:
    void MaskLastByte();

    std::vector<BYTE> m_bytes;
    UINT m_count = 0;
    int m_cursor = -1;
};

// A set of numbers rendered as range text: "1-5, 7, 9-12", one-based by default, optionally
// wrapped into lines of a given width.
class CTextList {
public:
    CTextList() = default;
    // Copies only the numbers; width, one-based flag and line break take their defaults.
    CTextList(const CTextList& other);
    CTextList& operator=(const CTextList&) = delete;
    virtual ~CTextList() = default;

    virtual UINT GetCount() const { return m_numbers.GetCount(); }
    virtual UINT GetSize() const { return m_numbers.GetSize(); }
    virtual int First() { return m_numbers.First(); }
    virtual int Next() { return m_numbers.Next(); }
    // 1 and the line of that index, or 0 (always 0 without wrapping).
    virtual BOOL GetLine(int index, CString& line, BOOL rebuild = FALSE);
    virtual CString GetText(BOOL rebuild = FALSE);
    virtual void SetNumber(UINT n, BOOL on, BOOL rebuild = FALSE);
    // "\r\n" when crlf is true, "\n" otherwise.
    virtual void SetLineBreak(BOOL crlf, BOOL rebuild = FALSE);
    virtual void SetOneBased(BOOL on, BOOL rebuild = FALSE);
    virtual void SetNumbers(const int* indexes, int n, BOOL rebuild = FALSE);
    // Resizes and clears the set and empties the text.
    virtual void SetSize(UINT count);
    // A width below 15 is stored as 0: no wrapping.
    virtual void SetWidth(UINT width, BOOL rebuild = FALSE);

    void Rebuild();

private:
    void AppendRange(UINT first, UINT last, bool separator);

    CBitArray m_numbers;
    CString m_text;
    UINT m_width = 0;
    BOOL m_oneBased = TRUE;
    UINT m_lineLength = 0;
    CString m_lineBreak = u"\r\n";
};
