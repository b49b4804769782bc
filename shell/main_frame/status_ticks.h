#pragma once

// The main window's status timer counts: a status request on every tick spent ONLINE and a
// clock check on every 60th. Ticks in other modes leave both counts as they are, so after a
// reconnection the first clock check may come sooner.
class CStatusTicks {
public:
    static constexpr int kClockTicks = 60;
    static constexpr int kStatusTicks = 1;

    struct CDue {
        bool clock = false;
        bool status = false;
    };

    CDue Tick(bool online) {
        CDue due;
        if (!online) return due;
        due.clock = Count(m_clock, kClockTicks);
        due.status = Count(m_status, kStatusTicks);
        return due;
    }

private:
    static bool Count(int& ticks, int period) {
        if (++ticks < period) return false;
        ticks = 0;
        return true;
    }

    int m_clock = 0;
    int m_status = 0;
};
