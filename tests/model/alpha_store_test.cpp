#include <gtest/gtest.h>

#include "doc_fixture.h"

using Update = CRecordingViews::Update;
using AlphaStoreTest = DocTest;

namespace {

Update Stored(const CAssign& assign) {
    return {true, CUpdateHint::kAlphaStored, static_cast<LPARAM>(assign.GetKey())};
}
Update Removed(const CAssign& assign) {
    return {true, CUpdateHint::kAlphaRemoved, static_cast<LPARAM>(assign.GetKey())};
}

}  // namespace

// Every view, hidden screens too, hears of each alpha stored or removed, even when it
// changed nothing.
TEST_F(AlphaStoreTest, CreateRelabelAndRemove) {
    const CAssign desk(3, 2, 40), first(3, 2, 7);
    EXPECT_TRUE(m_doc.StoreAlpha(desk, u"DESK"));
    const CAlpha* alpha = m_doc.FindAlpha(desk.GetKey());
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(alpha->GetLabel(), CString(u"DESK    "));
    EXPECT_FALSE(m_doc.StoreAlpha(desk, u"DESK"));
    EXPECT_TRUE(m_doc.StoreAlpha(desk, u"BOOTH"));
    EXPECT_EQ(alpha->GetLabel(), CString(u"BOOTH   "));
    EXPECT_TRUE(m_doc.StoreAlpha(first, u"FIRST"));
    EXPECT_EQ(Icom(3).GetAlphaList(2), (std::vector<CAlpha*>{m_doc.FindAlpha(first.GetKey()),
                                                             m_doc.FindAlpha(desk.GetKey())}));
    EXPECT_EQ(Config().m_wNumAlphas, 2);
    EXPECT_TRUE(m_doc.StoreAlpha(desk, u""));
    EXPECT_FALSE(m_doc.StoreAlpha(desk, u""));
    EXPECT_EQ(Icom(3).GetAlphaCount(2), 1);
    EXPECT_EQ(TakeUpdates(), (std::vector<Update>{Stored(desk), Stored(desk), Stored(desk),
                                                  Stored(first), Removed(desk), Removed(desk)}));

    // Removing from a number on takes that list's alphas from there and nothing else.
    for (WORD number : {0, 9, 300})
        m_doc.StoreAlpha(CAssign(3, 0, number), u"PORT");
    m_doc.StoreAlpha(CAssign(4, 0, 9), u"OTHER");
    TakeUpdates();
    EXPECT_TRUE(m_doc.RemoveAlphasFrom(CAssign(3, 0, 6)));
    EXPECT_FALSE(m_doc.RemoveAlphasFrom(CAssign(3, 0, 6)));
    EXPECT_EQ(TakeUpdates(), (std::vector<Update>{Removed({3, 0, 9}), Removed({3, 0, 300})}));
    EXPECT_EQ(Config().m_wNumAlphas, 3);
    // Walks follow the key order.
    std::vector<DWORD> keys;
    for (const auto& [key, stored] : m_doc.GetAlphas())
        keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<DWORD>{CAssign(3, 0, 0).GetKey(), first.GetKey(),
                                        CAssign(4, 0, 9).GetKey()}));
}

TEST_F(AlphaStoreTest, AlphasNoIntercomCanHoldAreRefused) {
    EXPECT_FALSE(m_doc.StoreAlpha(CAssign(31, 0, 1), u"GONE"));   // beyond the intercoms
    EXPECT_FALSE(m_doc.StoreAlpha(CAssign(255, 0, 1), u"NONE"));  // no intercom
    EXPECT_FALSE(m_doc.StoreAlpha(CAssign(1, 8, 1), u"BAD"));     // no such list
    EXPECT_FALSE(m_doc.StoreAlpha(CAssign(1, 0, 1), u"NINE CHAR"));
    EXPECT_TRUE(m_doc.GetAlphas().empty());
    EXPECT_EQ(Config().m_wNumAlphas, 0);
    EXPECT_TRUE(TakeUpdates().empty());
}

TEST_F(AlphaStoreTest, ARunOfLabelsStoresEachAsAlone) {
    for (WORD number : {2, 3, 5})
        m_doc.StoreAlpha(CAssign(1, 4, number), u"OLD");
    m_doc.StoreAlpha(CAssign(1, 5, 0), u"NEXT");
    TakeUpdates();

    const std::vector<CString> run = {u"A", u"B", u"", u"D", u"NINE CHAR", u"F"};
    EXPECT_TRUE(m_doc.StoreAlphas(CAssign(1, 4, 1), run));
    std::vector<CString> labels;
    for (const CAlpha* alpha : Icom(1).GetAlphaList(4))
        labels.push_back(alpha->GetLabel());
    EXPECT_EQ(labels, (std::vector<CString>{u"A       ", u"B       ", u"D       ", u"OLD     ",
                                            u"F       "}));
    EXPECT_EQ(Icom(1).GetAlphaCount(5), 1);
    EXPECT_EQ(Config().m_wNumAlphas, 6);
    EXPECT_EQ(TakeUpdates(),
              (std::vector<Update>{Stored({1, 4, 1}), Stored({1, 4, 2}), Removed({1, 4, 3}),
                                   Stored({1, 4, 4}), Stored({1, 4, 6})}));

    // The same run again changes nothing; a run for no intercom stores nothing.
    EXPECT_FALSE(m_doc.StoreAlphas(CAssign(1, 4, 1), run));
    EXPECT_FALSE(m_doc.StoreAlphas(CAssign(200, 0, 0), run));
}

TEST_F(AlphaStoreTest, TheAlphaCountStopsAtTheLargestItCanShow) {
    m_doc.StoreAlphas(CAssign(0, 0, 0), std::vector<CString>(0x10000, u"A"));
    EXPECT_EQ(Config().m_wNumAlphas, 0xFFFF);
    m_doc.StoreAlpha(CAssign(1, 0, 0), u"B");
    EXPECT_EQ(m_doc.GetAlphas().size(), 0x10001u);
    EXPECT_EQ(Config().m_wNumAlphas, 0xFFFF);
}
