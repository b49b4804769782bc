#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "link/command_codes.h"
#include "link/cv_data_mgr.h"
#include "model/app_state.h"
#include "platform/base/profile.h"
#include "tests/link/fake_comm.h"
#include "tests/support/recording_sink.h"

namespace {

using Bytes = std::vector<BYTE>;
using Request = std::pair<DWORD, Bytes>;

constexpr BYTE kLogElsewhere = 0x02;  // status flag: another session has the request log

// The scheduler in the test's hands, as in the data manager's tests; the user-interface side
// of the status reply is left out, as it changes the mode and the configuration.
class CLogProbe : public CCVDataMgr {
public:
    ~CLogProbe() override { Disconnect(); }
    using CCVDataMgr::GetManagerRequest;
    int GetNextRequest(CMessage&) override { return kRequestNone; }

protected:
    void DispatchReply(const CDualMessage& pair, CKelvardinDoc* doc) override {
        if (!IsStatusReply(pair)) CCVDataMgr::DispatchReply(pair, doc);
    }
};

class RequestLogTest : public ::testing::Test {
protected:
    RequestLogTest() {
        EXPECT_TRUE(mgr.Connect(std::make_unique<CFakeComm>(false), &sink, FALSE));
        mgr.MiscMgr().RemoveAll();
        mgr.GoOnline();
        app.SetMode(CAppState::kModeOnline);
        app.m_nRequestLogging = 1;
        app.m_nLogging = 1;
    }

    // The controller's status as the engine takes it in.
    void Status(BYTE flags = 0) {
        CDualMessage pair;
        pair.request.command = kCmdNetworkControl;
        pair.request.SetPayload(Bytes{0x9E});
        pair.reply.command = kCmdStatus;
        Bytes status(26, 0);
        status[0] = flags;
        pair.reply.SetPayload(status);
        Handle(pair);
    }
    // The reply to a request of this code and payload, handled on both sides.
    void Reply(DWORD command, const Bytes& request, const Bytes& reply = {}) {
        CDualMessage pair;
        pair.request.command = pair.reply.command = command;
        pair.request.sequence = pair.reply.sequence = ++m_sequence;
        pair.request.SetPayload(request);
        pair.reply.SetPayload(reply);
        Handle(pair);
    }
    void Handle(const CDualMessage& pair) {
        mgr.PutResponse(pair);
        while (mgr.HasWaitingReplies())
            mgr.OnResponse(nullptr);
    }
    Request Next() {
        CMessage m;
        if (!mgr.GetManagerRequest(m)) return {0, {}};
        const auto p = m.Payload();
        return {m.command, Bytes(p.begin(), p.end())};
    }

    CMemoryProfile profile;
    CAppState app{profile};
    CRecordingSink sink;
    CLogProbe mgr;
    DWORD m_sequence = 0;
};

TEST_F(RequestLogTest, RecordsAreAskedForWhenLoggingComesOnAndAtEachStatus) {
    const Request record{kCmdLogRecord, {1}};
    const Request none{0, {}};
    // The controller confirms logging on; logging off asks nothing.
    Reply(kCmdLoggingOnOff, {0});
    EXPECT_EQ(Next(), none);
    Reply(kCmdLoggingOnOff, {1});
    EXPECT_EQ(Next(), record);
    EXPECT_EQ(Next(), none);

    // Each status asks once more; a record with more behind it chains the next; the last
    // says none wait.
    Status();
    Status();
    EXPECT_EQ(Next(), record);
    Reply(kCmdLogRecord, {1}, {1, 'A'});
    EXPECT_EQ(Next(), record);
    Reply(kCmdLogRecord, {1}, {0});
    EXPECT_EQ(Next(), none);

    // Another session has the log: the waiting request switches the transfer off, and no
    // status asks again while that waits.
    Status();
    Status(kLogElsewhere);
    Status();
    EXPECT_EQ(Next(), (Request{kCmdLogRecord, {0}}));
    EXPECT_EQ(Next(), none);

    // Logging off here, the setting off, or not ONLINE: nothing is asked.
    const auto off = [&](auto change, auto restore) {
        change();
        Status();
        Reply(kCmdLoggingOnOff, {1});
        EXPECT_EQ(Next(), none);
        restore();
    };
    off([&] { app.m_nLogging = 0; }, [&] { app.m_nLogging = 1; });
    off([&] { app.m_nRequestLogging = 0; }, [&] { app.m_nRequestLogging = 1; });
    off([&] { app.SetMode(CAppState::kModeConnecting); },
        [&] { app.SetMode(CAppState::kModeOnline); });
    Status();
    EXPECT_EQ(Next(), record);
}

}  // namespace
