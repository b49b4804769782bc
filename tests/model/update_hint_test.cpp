#include <gtest/gtest.h>

#include <utility>

#include "model/update_hint.h"

// The views' update call carries the numbers the screens, the link and stored habits know.
TEST(UpdateHintTest, DocumentKindsCarryTheirNumbersAndAreNoReplies) {
    const std::pair<CUpdateHint, LPARAM> kinds[] = {
        {CUpdateHint::kRefresh, 0x10000},      {CUpdateHint::kSelection, 0x20000},
        {CUpdateHint::kFileRead, 0x30000},     {CUpdateHint::kAlphaStored, 0x40000},
        {CUpdateHint::kAlphaRemoved, 0x50000}, {CUpdateHint::kRebuild, 0x60000},
        {CUpdateHint::kMemoryPage, 0x70000},   {CUpdateHint::kMemoryContent, 0x80000}};
    for (const auto& [hint, value] : kinds) {
        EXPECT_EQ(hint.ToParam(), value);
        EXPECT_EQ(CUpdateHint::FromParam(value), hint);
        EXPECT_FALSE(hint.IsReply()) << value;
        // The low word of a kind is no reply code, the status reply's 1 least of all.
        EXPECT_FALSE(CUpdateHint::FromParam(value + 1).IsReply(1)) << value;
    }
    EXPECT_EQ(CUpdateHint::kTrunkDefs.ToParam(), 8);
    EXPECT_TRUE(CUpdateHint::kTrunkDefs.IsReply(8));
}

TEST(UpdateHintTest, ReplyHintsNameTheirCodeOnly) {
    const CUpdateHint status = CUpdateHint::Reply(1);
    EXPECT_EQ(status.ToParam(), 1);
    EXPECT_TRUE(status.IsReply());
    EXPECT_TRUE(status.IsReply(1));
    EXPECT_FALSE(status.IsReply(5));
    EXPECT_NE(status, CUpdateHint::kRefresh);
    EXPECT_TRUE(CUpdateHint::FromParam(1023).IsReply(1023));
    // The framework's first update carries 0, which names no reply.
    EXPECT_FALSE(CUpdateHint::FromParam(0).IsReply());
    EXPECT_FALSE(CUpdateHint::FromParam(0).IsReply(0));
}
