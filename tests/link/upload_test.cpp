#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "link/comm_udp.h"
#include "link/link_messages.h"
#include "model/app_state.h"
#include "platform/base/codepage.h"
#include "platform/base/profile.h"
#include "tests/link/link_harness.h"
#include "tests/sim/sim_udp_link.h"

using namespace std::chrono_literals;

namespace {

using Request = std::pair<unsigned, std::vector<std::uint8_t>>;

constexpr auto kPatience = 20s;

// An extended controller with 40 intercoms (so groups use code 84), Ethernet to the
// intercoms, cascade costs and IFBSL alphas; two alpha lists that are not empty, one of them
// longer than a page.
SimSetup UploadSetup() {
    SimSetup s;
    s.capabilities = 0x08000000 | 0x00020000 | 0x01000000 | 0x00010000;
    s.trunks = 120;
    s.intercoms = 40;
    s.groups = 25;
    s.names[2] = {"AB", "ABCDEF", "ABCDEFGH", "WIDE NAME"};
    s.alphas[{0, 0}] = std::vector<std::string>(130, "A1");
    s.alphas[{3, 8}] = std::vector<std::string>(5, "IF");
    return s;
}

// What an upload of that setup with its names and alphas asks for, and nothing more.
std::vector<Request> ExpectedUpload() {
    std::vector<Request> out = {
        {8, {0, 0, 0, 50}},
        {8, {0, 50, 0, 50}},
        {8, {0, 100, 0, 20}},
        {68, {0, 40}},
        {70, {0, 0, 40}},
        {70, {1, 0, 40}},
        {81, {0, 0, 0, 40}},
        {15, {0, 40}},
        {27, {0, 40}},
        {11, {}},
        {46, {}},
        {48, {}},
        {50, {}},
        {84, {0, 20}},
        {84, {20, 5}},
    };
    for (std::uint8_t format = 1; format <= 4; ++format)
        out.push_back({5, {0, 0x70, 0, std::uint8_t(format << 4), 40}});
    const std::uint8_t wire[] = {0, 1, 2, 3, 4, 5, 6, 8};
    for (std::uint8_t type : wire) {
        for (std::uint8_t icom = 0; icom < 40; ++icom)
            out.push_back({5, {icom, std::uint8_t(type << 4), 0, 0x10, 128}});
    }
    out.push_back({5, {0, 0x00, 128, 0x10, 128}});  // the second page of the long list
    std::sort(out.begin(), out.end());
    return out;
}

class UploadTest : public ::testing::Test {
protected:
    UploadTest() {
        app.m_ipAddress.Set(u"127.0.0.1");
        app.m_bIncludeAlphasInSetupFiles = TRUE;
        sim.ChangeState([&](CorvaneState& s) { s.UseSetup(UploadSetup()); });
        app.GetConfig().SetFromControllerReply(CCVStatusRec(UploadSetup().Status().data()));
        mgr.SetUdpTarget(TRUE);
        CLinkTiming timing;
        timing.udpReadTimeoutMs = 500;
        mgr.SetTiming(timing);
        mgr.SetMessagePump(&window);
        auto comm = std::make_unique<CCommUDP>(&window, peer.Port());
        comm->SetReadTimeout(timing.udpReadTimeoutMs);
        CString error;
        EXPECT_TRUE(comm->Open(app.m_ipAddress.Get(), error)) << ToUtf8(error);
        EXPECT_TRUE(mgr.Connect(std::move(comm), &window, TRUE));
        EXPECT_TRUE(window.PumpUntil([&] { return mgr.GetLinkState() == kLinkUp; }, kPatience));
        app.SetMode(CAppState::kModeOnline);
        mgr.GoOnline();
    }
    ~UploadTest() override { mgr.Disconnect(); }

    bool UploadEnded() const {
        const auto messages = window.Messages();
        return std::any_of(messages.begin(), messages.end(), [](const auto& m) {
            return m.message == WM_LINK_UPLOAD_PROGRESS && m.lParam == 0;
        });
    }

    CMemoryProfile profile;
    CAppState app{profile};
    CSimController sim{true};
    CSimUdpLink peer{sim};
    CTestDataMgr mgr;
    CLinkTestWindow window{mgr};
};

TEST_F(UploadTest, AsksForExactlyTheSetupAndPagesTheAlphaListsToTheirEnd) {
    mgr.StartUpload();
    ASSERT_TRUE(window.PumpUntil([&] { return UploadEnded(); }, kPatience));
    // The replies of the last requests may still be on their way.
    const std::vector<Request> expected = ExpectedUpload();
    auto data = [&] {
        std::vector<Request> out;
        for (const SimFrame& f : sim.Requests())
            // Besides the link's own: what the link's coming up asks for.
            if (f.command != 59 && f.command != 60 && f.command != 61 && f.command != 21 &&
                f.command != 58)
                out.push_back({f.command, f.payload});
        return out;
    };
    ASSERT_TRUE(window.PumpUntil([&] { return data().size() >= expected.size(); }, kPatience));
    ASSERT_TRUE(
        window.PumpUntil([&] { return mgr.Replies().size() >= expected.size(); }, kPatience));
    std::vector<Request> asked = data();
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, expected);

    // Every reply came whole: labels of the page's size, records of the range's.
    for (const CTestDataMgr::Reply& reply : mgr.Replies()) {
        ASSERT_FALSE(reply.nak) << reply.command;
        const auto& p = reply.request;
        if (reply.command == 8) {
            EXPECT_EQ(reply.length, 13u * p[3]);
        } else if (reply.command == 84) {
            EXPECT_EQ(reply.length, 56u * p[1]);
        } else if (reply.command == 70) {
            EXPECT_EQ(reply.length, 4u * p[2]);
        } else if (reply.command == 5 && p[0] == 0 && p[1] == 0) {
            EXPECT_EQ(reply.length, p[2] == 0 ? 2u + 128 * 4 : 2u + 2 * 4);
        }
    }
    EXPECT_FALSE(mgr.IsUploading());
    EXPECT_EQ(mgr.GetPendingTotal(), 0);
}

TEST_F(UploadTest, WaitsForAOneShotReplyWithTheWindowRunning) {
    EXPECT_TRUE(mgr.RequestMiscAndWait(CMiscRequestMgr::kLoggingState, 20));
    const auto requests = sim.Requests();
    EXPECT_TRUE(std::any_of(requests.begin(), requests.end(),
                            [](const SimFrame& f) { return f.command == 10; }));
}

}  // namespace
