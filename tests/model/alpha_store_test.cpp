#include <gtest/gtest.h>

#include "doc_fixture.h"

using Update = CRecordingViews::Update;
using AlphaStoreTest = DocTest;

namespace {

LPARAM KeyOf(const CAssign& assign) {
    return static_cast<LPARAM>(assign.GetKey());
}

const CIntercom& Icom(const CKelvardinDoc& doc, int i) {
    return *dynamic_cast<const CIntercom*>(doc.FindObject(CIcomSpec(i, 1)));
}

}  // namespace

TEST_F(AlphaStoreTest, CreateRelabelAndRemove) {
    const CAssign desk(3, 2, 40);
    EXPECT_TRUE(m_doc.StoreAlpha(desk, u"DESK"));
    EXPECT_EQ(Config().m_wNumAlphas, 1);
    const CAlpha* alpha = m_doc.FindAlpha(desk.GetKey());
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(alpha->GetKey(), desk);
    EXPECT_EQ(alpha->GetLabel(), CString(u"DESK    "));

    // The same label changes nothing but is still announced.
    EXPECT_FALSE(m_doc.StoreAlpha(desk, u"DESK"));
    EXPECT_TRUE(m_doc.StoreAlpha(desk, u"BOOTH"));
    EXPECT_EQ(alpha->GetLabel(), CString(u"BOOTH   "));
    EXPECT_TRUE(m_doc.StoreAlpha(CAssign(3, 2, 7), u"FIRST"));
    EXPECT_EQ(Icom(m_doc, 3).GetAlphaList(2),
              (std::vector<CAlpha*>{m_doc.FindAlpha(CAssign(3, 2, 7).GetKey()),
                                    m_doc.FindAlpha(desk.GetKey())}));
    EXPECT_EQ(Config().m_wNumAlphas, 2);

    EXPECT_TRUE(m_doc.StoreAlpha(desk, u""));
    EXPECT_EQ(m_doc.FindAlpha(desk.GetKey()), nullptr);
    EXPECT_EQ(Icom(m_doc, 3).GetAlphaCount(2), 1);
    EXPECT_EQ(Config().m_wNumAlphas, 1);
    // Removing an alpha that does not exist still tells the views.
    EXPECT_FALSE(m_doc.StoreAlpha(desk, u""));

    std::vector<Update> expected(3, {true, kHintAlphaStored, KeyOf(desk)});
    expected.push_back({true, kHintAlphaStored, KeyOf(CAssign(3, 2, 7))});
    expected.insert(expected.end(), 2, {true, kHintAlphaRemoved, KeyOf(desk)});
    EXPECT_EQ(TakeUpdates(), expected);
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

TEST_F(AlphaStoreTest, RemoveAlphasFromANumberOn) {
    EXPECT_FALSE(m_doc.RemoveAlphasFrom(CAssign(1, 0, 0)));
    for (WORD number : {0, 5, 9, 300})
        m_doc.StoreAlpha(CAssign(1, 0, number), u"PORT");
    m_doc.StoreAlpha(CAssign(1, 1, 3), u"PARTY");
    m_doc.StoreAlpha(CAssign(2, 0, 3), u"OTHER");
    EXPECT_EQ(Config().m_wNumAlphas, 6);

    TakeUpdates();
    EXPECT_TRUE(m_doc.RemoveAlphasFrom(CAssign(1, 0, 6)));
    EXPECT_EQ(Icom(m_doc, 1).GetAlphaCount(0), 2);
    EXPECT_EQ(Config().m_wNumAlphas, 4);
    // Every view, hidden screens too, hears of each alpha that went.
    EXPECT_EQ(TakeUpdates(), (std::vector<Update>{{true, kHintAlphaRemoved, KeyOf({1, 0, 9})},
                                                  {true, kHintAlphaRemoved, KeyOf({1, 0, 300})}}));
    EXPECT_FALSE(m_doc.RemoveAlphasFrom(CAssign(1, 0, 6)));
    EXPECT_TRUE(TakeUpdates().empty());

    EXPECT_TRUE(m_doc.RemoveAlphasFrom(CAssign(1, 0, 0)));
    EXPECT_EQ(Icom(m_doc, 1).GetAlphaCount(0), 0);
    EXPECT_EQ(Icom(m_doc, 1).GetAlphaCount(1), 1);
    EXPECT_NE(m_doc.FindAlpha(CAssign(2, 0, 3).GetKey()), nullptr);
    EXPECT_EQ(Config().m_wNumAlphas, 2);

    // Walks follow the key order.
    std::vector<DWORD> keys;
    for (const auto& [key, alpha] : m_doc.GetAlphas())
        keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<DWORD>{CAssign(1, 1, 3).GetKey(), CAssign(2, 0, 3).GetKey()}));
}

TEST_F(AlphaStoreTest, ARunOfLabelsStoresEachAsAlone) {
    for (WORD number : {2, 3, 5})
        m_doc.StoreAlpha(CAssign(1, 4, number), u"OLD");
    m_doc.StoreAlpha(CAssign(1, 5, 0), u"NEXT");
    TakeUpdates();

    const std::vector<CString> run = {u"A", u"B", u"", u"D", u"NINE CHAR", u"F"};
    EXPECT_TRUE(m_doc.StoreAlphas(CAssign(1, 4, 1), run));
    std::vector<CString> labels;
    for (const CAlpha* alpha : Icom(m_doc, 1).GetAlphaList(4))
        labels.push_back(alpha->GetLabel());
    EXPECT_EQ(labels, (std::vector<CString>{u"A       ", u"B       ", u"D       ", u"OLD     ",
                                            u"F       "}));
    EXPECT_EQ(m_doc.FindAlpha(CAssign(1, 4, 3).GetKey()), nullptr);
    EXPECT_EQ(Icom(m_doc, 1).GetAlphaCount(5), 1);
    EXPECT_EQ(Config().m_wNumAlphas, 6);
    EXPECT_EQ(TakeUpdates(), (std::vector<Update>{{true, kHintAlphaStored, KeyOf({1, 4, 1})},
                                                  {true, kHintAlphaStored, KeyOf({1, 4, 2})},
                                                  {true, kHintAlphaRemoved, KeyOf({1, 4, 3})},
                                                  {true, kHintAlphaStored, KeyOf({1, 4, 4})},
                                                  {true, kHintAlphaStored, KeyOf({1, 4, 6})}}));

    // The same run again changes nothing; a run for no intercom stores nothing.
    EXPECT_FALSE(m_doc.StoreAlphas(CAssign(1, 4, 1), run));
    EXPECT_FALSE(m_doc.StoreAlphas(CAssign(200, 0, 0), run));
}
