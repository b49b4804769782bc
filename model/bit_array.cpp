#include "model/bit_array.h"

#include <algorithm>
#include <bit>

CBitArray& CBitArray::operator=(const CBitArray& other) {
    if (this != &other) {
        m_bytes = other.m_bytes;
        m_count = other.m_count;
    }
    m_cursor = -1;
    return *this;
}

void CBitArray::SetSize(UINT count) {
    m_count = count;
    m_bytes.assign((static_cast<size_t>(count) + 7) / 8, 0);
    m_cursor = -1;
}

BOOL CBitArray::GetBit(UINT i) const {
    if (i >= m_count) return FALSE;
    return (m_bytes[i / 8] >> (i % 8)) & 1;
}

void CBitArray::SetBit(UINT i, BOOL on) {
    if (i >= m_count) return;
    const BYTE mask = static_cast<BYTE>(1u << (i % 8));
    if (on)
        m_bytes[i / 8] |= mask;
    else
        m_bytes[i / 8] &= static_cast<BYTE>(~mask);
}

void CBitArray::SetRange(UINT first, UINT n, BOOL on) {
    for (UINT i = first; i < m_count && i - first < n; ++i)
        SetBit(i, on);
}

void CBitArray::SetAll(BOOL on) {
    std::fill(m_bytes.begin(), m_bytes.end(), on ? 0xFF : 0x00);
    MaskLastByte();
}

void CBitArray::MaskLastByte() {
    if (m_count % 8 != 0) m_bytes.back() &= static_cast<BYTE>((1u << (m_count % 8)) - 1);
}

void CBitArray::SetBitsFromList(const int* indexes, int n) {
    SetAll(FALSE);
    for (int k = 0; k < n; ++k) {
        if (indexes[k] >= 0) SetBit(static_cast<UINT>(indexes[k]), TRUE);
    }
}

UINT CBitArray::GetCount() const {
    UINT count = 0;
    for (BYTE b : m_bytes)
        count += static_cast<UINT>(std::popcount(b));
    return count;
}

int CBitArray::FindNext(int start) const {
    if (start < 0) start = 0;
    if (static_cast<size_t>(start) / 8 >= m_bytes.size()) return -1;
    for (UINT i = static_cast<UINT>(start); i < m_count; ++i) {
        if (i % 8 == 0 && m_bytes[i / 8] == 0) {
            i += 7;  // skip a clear byte
            continue;
        }
        if (GetBit(i)) return static_cast<int>(i);
    }
    return -1;
}

int CBitArray::FindLast() const {
    for (UINT i = m_count; i-- > 0;) {
        if (GetBit(i)) return static_cast<int>(i);
    }
    return -1;
}

int CBitArray::First() {
    m_cursor = FindNext(0);
    return m_cursor;
}

int CBitArray::Next() {
    const int found = FindNext(m_cursor + 1);
    m_cursor = found >= 0 ? found : static_cast<int>(m_count);
    return found;
}

void CBitArray::CopyBits(const BYTE* source, BYTE* target) const {
    if (m_count == 0 || !source || !target) return;
    std::copy(source, source + m_count / 8, target);
    for (UINT i = m_count / 8 * 8; i < m_count; ++i) {
        const BYTE mask = static_cast<BYTE>(1u << (i % 8));
        if (source[i / 8] & mask)
            target[i / 8] |= mask;
        else
            target[i / 8] &= static_cast<BYTE>(~mask);
    }
}

BOOL CBitArray::Compare(const CBitArray& other) const {
    return m_count == other.m_count && m_bytes == other.m_bytes;
}

// ---------------------------------------------------------------------------------------------

CTextList::CTextList(const CTextList& other) : m_numbers(other.m_numbers) {
    Rebuild();
}

void CTextList::Rebuild() {
    m_text.Empty();
    m_lineLength = 0;
    if (m_numbers.GetSize() == 0) return;
    int start = m_numbers.First();
    if (start < 0) return;
    int prev = start;
    bool separator = false;
    do {
        const int n = m_numbers.Next();
        if (n != prev + 1) {
            AppendRange(static_cast<UINT>(start), static_cast<UINT>(prev), separator);
            start = n;
            separator = true;
        }
        prev = n;
    } while (prev >= 0);
}

void CTextList::AppendRange(UINT first, UINT last, bool separator) {
    if (m_oneBased) {
        ++first;
        ++last;
    }
    const CString piece = first == last ? CString::Formatted(u"%u", first)
                                        : CString::Formatted(u"%u-%u", first, last);
    if (separator) {
        m_text += u", ";
        m_lineLength += 2;
    }
    if (m_width >= 15 && m_lineLength + piece.GetLength() > m_width) {
        m_text += m_lineBreak;
        m_lineLength = 0;
    }
    m_text += piece;
    m_lineLength += piece.GetLength();
}

BOOL CTextList::GetLine(int index, CString& line, BOOL rebuild) {
    if (rebuild) Rebuild();
    if (m_width == 0) return FALSE;
    std::u16string_view rest = m_text.str();
    for (;; --index) {
        const size_t at = rest.find(m_lineBreak.str());
        const bool broken = at != std::u16string_view::npos && at > 0;
        if (index <= 0) {
            line = CString(broken ? rest.substr(0, at) : rest);
            return TRUE;
        }
        if (!broken) return FALSE;
        rest = rest.substr(at + m_lineBreak.GetLength());
    }
}

CString CTextList::GetText(BOOL rebuild) {
    if (rebuild) Rebuild();
    return m_text;
}

void CTextList::SetNumber(UINT n, BOOL on, BOOL rebuild) {
    m_numbers.SetBit(n, on);
    if (rebuild) Rebuild();
}

void CTextList::SetLineBreak(BOOL crlf, BOOL rebuild) {
    m_lineBreak = crlf ? u"\r\n" : u"\n";
    if (rebuild) Rebuild();
}

void CTextList::SetOneBased(BOOL on, BOOL rebuild) {
    m_oneBased = on;
    if (rebuild) Rebuild();
}

void CTextList::SetNumbers(const int* indexes, int n, BOOL rebuild) {
    m_numbers.SetBitsFromList(indexes, n);
    if (rebuild) Rebuild();
}

void CTextList::SetSize(UINT count) {
    m_numbers.SetSize(count);
    m_text.Empty();
    m_lineLength = 0;
}

void CTextList::SetWidth(UINT width, BOOL rebuild) {
    m_width = width < 15 ? 0 : width;
    if (rebuild) Rebuild();
}
