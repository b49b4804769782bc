#include "model/bit_array.h"

#include <gtest/gtest.h>

#include <array>

namespace {

CTextList ListOf(std::initializer_list<int> numbers) {
    CTextList list;
    list.SetSize(255);
    for (int n : numbers)
        list.SetNumber(static_cast<UINT>(n), TRUE);
    return list;
}

}  // namespace

TEST(BitArray, BitsStayInsideTheCount) {
    CBitArray bits(20);
    for (UINT bit : {3, 17, 20})  // 20 is beyond the count: ignored
        bits.SetBit(bit, TRUE);
    EXPECT_EQ(std::vector<BYTE>(bits.GetBytes(), bits.GetBytes() + bits.GetByteCount()),
              (std::vector<BYTE>{0x08, 0, 0x02}));
    EXPECT_EQ(std::vector<int>({bits.FindNext(4), bits.FindNext(18), bits.FindNext(400),
                                bits.FindLast(), CBitArray(9).FindLast()}),
              std::vector<int>({17, -1, -1, 17, -1}));
    bits.SetRange(18, 10, TRUE);  // stops at the count
    EXPECT_EQ(bits.GetBytes()[2], 0x0E);
    const int list[] = {1, 19, 25, -3, 2};
    bits.SetBitsFromList(list, 5);
    EXPECT_EQ(bits.GetCount(), 3u);

    CBitArray all(255);
    all.SetAll(TRUE);
    EXPECT_EQ(all.GetBytes()[31], 0x7F);
    // Storing leaves the bits of the last byte beyond the count as they were.
    CBitArray mask(31);
    const std::array<BYTE, 4> ones = {0xFF, 0xFF, 0xFF, 0xFF};
    mask.LoadBits(ones.data());
    EXPECT_EQ(mask.GetCount(), 31u);
    mask.SetBit(0, FALSE);
    mask.SetBit(30, FALSE);
    std::array<BYTE, 4> target = {0x00, 0x00, 0x00, 0x80};
    mask.StoreBits(target.data());
    EXPECT_EQ(target, (std::array<BYTE, 4>{0xFE, 0xFF, 0xFF, 0xBF}));
}

TEST(TextList, RangesWrapAndCopies) {
    CTextList list = ListOf({0, 1, 2, 3, 4, 6, 8, 9, 10, 11});
    EXPECT_EQ(list.GetText(TRUE), CString(u"1-5, 7, 9-12"));
    list.SetOneBased(FALSE, TRUE);
    EXPECT_EQ(list.GetText(), CString(u"0-4, 6, 8-11"));
    EXPECT_EQ(ListOf({254}).GetText(TRUE), CString(u"255"));
    EXPECT_EQ(CTextList().GetText(TRUE), CString());

    // A piece that would overflow a line of 15 or more goes to the next.
    list.SetOneBased(TRUE);
    for (int n = 99; n <= 199; ++n)
        list.SetNumber(static_cast<UINT>(n), TRUE);
    list.SetWidth(10, TRUE);
    EXPECT_EQ(list.GetText(), CString(u"1-5, 7, 9-12, 100-200"));
    list.SetWidth(15, TRUE);
    EXPECT_EQ(list.GetText(), CString(u"1-5, 7, 9-12, \r\n100-200"));
    CString line;
    ASSERT_TRUE(list.GetLine(1, line));
    EXPECT_EQ(line, CString(u"100-200"));
    EXPECT_FALSE(list.GetLine(2, line));
    list.SetLineBreak(FALSE, TRUE);
    EXPECT_EQ(list.GetText(), CString(u"1-5, 7, 9-12, \n100-200"));

    // A copy takes the numbers alone.
    CTextList copy(ListOf({0, 1, 5}));
    EXPECT_EQ(copy.GetText(TRUE), CString(u"1-2, 6"));
    EXPECT_FALSE(copy.GetLine(0, line));
    const int numbers[] = {7};
    copy.SetNumbers(numbers, 1, TRUE);
    EXPECT_EQ(copy.GetText(), CString(u"8"));
}
