#include "model/bit_array.h"

#include <gtest/gtest.h>

#include <array>

namespace {

CTextList ListOf(std::initializer_list<int> numbers, UINT size = 255) {
    CTextList list;
    list.SetSize(size);
    for (int n : numbers)
        list.SetNumber(static_cast<UINT>(n), TRUE);
    return list;
}

}  // namespace

TEST(BitArray, BitsSearchAndCount) {
    CBitArray bits(20);
    EXPECT_EQ(bits.GetByteCount(), 3u);
    bits.SetBit(3, TRUE);
    bits.SetBit(17, TRUE);
    bits.SetBit(20, TRUE);  // beyond the count: ignored
    EXPECT_TRUE(bits.GetBit(3));
    EXPECT_FALSE(bits.GetBit(20));
    EXPECT_EQ(bits.GetBytes()[0], 0x08);
    EXPECT_EQ(bits.GetBytes()[2], 0x02);
    EXPECT_EQ(bits.GetCount(), 2u);
    EXPECT_EQ(bits.FindNext(4), 17);
    EXPECT_EQ(bits.FindNext(20), -1);
    EXPECT_EQ(bits.FindNext(400), -1);
    EXPECT_EQ(bits.FindLast(), 17);
    EXPECT_EQ(CBitArray(9).FindLast(), -1);
    EXPECT_EQ(CBitArray().FindNext(0), -1);

    // First and Next walk the set; after the end the cursor rests on the count.
    EXPECT_EQ(bits.First(), 3);
    EXPECT_EQ(bits.Next(), 17);
    EXPECT_EQ(bits.Next(), -1);
    EXPECT_EQ(bits.Next(), -1);

    bits.SetRange(18, 10, TRUE);  // stops at the count
    EXPECT_EQ(bits.GetCount(), 4u);
    EXPECT_EQ(bits.GetBytes()[2], 0x0E);

    const int list[] = {1, 19, 25, -3, 2};
    bits.SetBitsFromList(list, 5);
    EXPECT_EQ(bits.GetCount(), 3u);
    EXPECT_TRUE(bits.GetBit(19));
    bits.SetSize(4);
    EXPECT_EQ(bits.GetCount(), 0u);
}

TEST(BitArray, SetAllKeepsBitsBeyondTheCountClear) {
    CBitArray bits(255);
    bits.SetAll(TRUE);
    EXPECT_EQ(bits.GetCount(), 255u);
    EXPECT_EQ(bits.GetBytes()[31], 0x7F);
    EXPECT_EQ(bits.FindLast(), 254);
    bits.SetAll(FALSE);
    EXPECT_EQ(bits.GetCount(), 0u);
}

TEST(BitArray, CopyBitsLeavesTheRestOfTheLastByte) {
    CBitArray bits(31);
    std::array<BYTE, 4> source = {0xFF, 0xFF, 0xFF, 0xFF};
    bits.LoadBits(source.data());
    EXPECT_EQ(bits.GetCount(), 31u);
    EXPECT_EQ(bits.GetBytes()[3], 0x7F);

    bits.SetBit(0, FALSE);
    bits.SetBit(30, FALSE);
    std::array<BYTE, 4> target = {0x00, 0x00, 0x00, 0x80};
    bits.StoreBits(target.data());
    EXPECT_EQ(target, (std::array<BYTE, 4>{0xFE, 0xFF, 0xFF, 0xBF}));
}

TEST(BitArray, CompareAndAssignment) {
    CBitArray a(10);
    CBitArray b(10);
    EXPECT_TRUE(a == b);
    b.SetBit(9, TRUE);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(a != CBitArray(11));
    EXPECT_TRUE(CBitArray() == CBitArray());
    EXPECT_TRUE(a != CBitArray());
    a = b;
    EXPECT_TRUE(a == b);
    CBitArray c(b);
    EXPECT_TRUE(c.GetBit(9));
    a = CBitArray();
    EXPECT_EQ(a.GetSize(), 0u);
    EXPECT_EQ(a.GetBytes(), nullptr);
}

TEST(TextList, RangesOneAndZeroBased) {
    CTextList list = ListOf({0, 1, 2, 3, 4, 6, 8, 9, 10, 11});
    EXPECT_EQ(list.GetText(TRUE), CString(u"1-5, 7, 9-12"));
    list.SetOneBased(FALSE, TRUE);
    EXPECT_EQ(list.GetText(), CString(u"0-4, 6, 8-11"));
    EXPECT_EQ(ListOf({0}).GetText(TRUE), CString(u"1"));
    EXPECT_EQ(ListOf({254}).GetText(TRUE), CString(u"255"));
    EXPECT_EQ(ListOf({}).GetText(TRUE), CString());
    EXPECT_EQ(CTextList().GetText(TRUE), CString());
    EXPECT_EQ(list.GetCount(), 10u);
    EXPECT_EQ(list.GetSize(), 255u);
}

TEST(TextList, WrapsBeforeAPieceThatWouldOverflowTheLine) {
    CTextList list = ListOf({0, 1, 2, 3, 4, 6, 8, 9, 10, 11});
    for (int n = 99; n <= 199; ++n)
        list.SetNumber(static_cast<UINT>(n), TRUE);

    list.SetWidth(10, TRUE);  // below 15: no wrapping
    EXPECT_EQ(list.GetText(), CString(u"1-5, 7, 9-12, 100-200"));
    CString line;
    EXPECT_FALSE(list.GetLine(0, line));

    list.SetWidth(15, TRUE);
    EXPECT_EQ(list.GetText(), CString(u"1-5, 7, 9-12, \r\n100-200"));
    ASSERT_TRUE(list.GetLine(0, line));
    EXPECT_EQ(line, CString(u"1-5, 7, 9-12, "));
    ASSERT_TRUE(list.GetLine(1, line));
    EXPECT_EQ(line, CString(u"100-200"));
    EXPECT_FALSE(list.GetLine(2, line));

    list.SetLineBreak(FALSE, TRUE);
    EXPECT_EQ(list.GetText(), CString(u"1-5, 7, 9-12, \n100-200"));
    ASSERT_TRUE(list.GetLine(1, line));
    EXPECT_EQ(line, CString(u"100-200"));
}

TEST(TextList, LinesOfAnUnbrokenText) {
    CTextList list = ListOf({2, 3});
    list.SetWidth(20, TRUE);
    CString line;
    ASSERT_TRUE(list.GetLine(0, line));
    EXPECT_EQ(line, CString(u"3-4"));
    EXPECT_FALSE(list.GetLine(1, line));
}

TEST(TextList, CopyTakesOnlyTheNumbers) {
    CTextList list = ListOf({0, 1, 5});
    list.SetOneBased(FALSE);
    list.SetWidth(40);
    list.SetLineBreak(FALSE);
    CTextList copy(list);
    EXPECT_EQ(copy.GetText(), CString(u"1-2, 6"));
    CString line;
    EXPECT_FALSE(copy.GetLine(0, line));  // no wrapping in the copy

    const int numbers[] = {7};
    copy.SetNumbers(numbers, 1, TRUE);
    EXPECT_EQ(copy.GetText(), CString(u"8"));
    copy.SetSize(3);
    EXPECT_EQ(copy.GetText(), CString());
}
