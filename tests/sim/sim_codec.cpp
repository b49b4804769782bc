#include "tests/sim/sim_codec.h"

namespace {

constexpr std::uint8_t kStart = 0xD5;
constexpr std::uint8_t kStop = 0xDD;
constexpr std::uint8_t kEsc = 0xDA;

bool Special(std::uint8_t b) {
    static constexpr std::uint8_t kSpecial[] = {0x1A, 0x9E, 0xA5, 0xAD, 0xD5, 0xDA, 0xDD};
    for (std::uint8_t s : kSpecial)
        if (s == b) return true;
    return false;
}

}  // namespace

std::vector<std::uint8_t> SimFrameBody(const SimFrame& frame, bool network, bool checksumError) {
    std::vector<std::uint8_t> body;
    if (network) {
        body.push_back(static_cast<std::uint8_t>(frame.tag / 256));
        body.push_back(static_cast<std::uint8_t>(frame.tag % 256));
    }
    body.push_back(static_cast<std::uint8_t>(frame.command % 256));
    unsigned flags = (frame.command / 256 % 4) * 16 + frame.sequence / 256 % 16;
    if (frame.nak) flags += 128;
    if (frame.ctrl) flags += 64;
    body.push_back(static_cast<std::uint8_t>(flags));
    body.push_back(static_cast<std::uint8_t>(frame.sequence % 256));
    body.insert(body.end(), frame.payload.begin(), frame.payload.end());
    unsigned sum = 0;
    for (std::uint8_t b : body)
        sum += b;
    body.push_back(static_cast<std::uint8_t>((256 - sum % 256) % 256 + (checksumError ? 1 : 0)));
    return body;
}

std::vector<std::uint8_t> SimWrapBody(std::span<const std::uint8_t> body, std::size_t* splitAt) {
    std::vector<std::uint8_t> wire{kStart};
    std::size_t split = 0;
    for (std::uint8_t b : body) {
        if (Special(b)) wire.push_back(kEsc);
        wire.push_back(b);
        if (b == kStop && split == 0) split = wire.size();
    }
    wire.push_back(kStop);
    if (splitAt) *splitAt = split ? split : wire.size() - 1;
    return wire;
}

void CSimStreamReader::Feed(std::uint8_t byte, std::vector<SimInput>& out) {
    switch (m_state) {
        case State::Idle:
            if (byte == kStart) {
                m_body.clear();
                m_state = State::Body;
            } else if (byte == 0x9E || byte == 0x1A) {
                out.push_back({SimInput::Kind::RawByte, {}, byte});
            }
            return;
        case State::Escape:
            m_body.push_back(byte);
            m_state = State::Body;
            return;
        case State::Body:
            if (byte == kEsc) {
                m_state = State::Escape;
            } else if (byte == kStop) {
                out.push_back(Finish());
                m_state = State::Idle;
            } else if (byte == kStart) {
                out.push_back({SimInput::Kind::BadFrame, {}, 0});
                m_body.clear();
            } else {
                m_body.push_back(byte);
            }
            return;
    }
}

SimInput CSimStreamReader::Finish() const {
    const std::size_t head = m_network ? 5 : 3;
    unsigned sum = 0;
    for (std::uint8_t b : m_body)
        sum += b;
    if (m_body.size() < head + 1 || sum % 256 != 0) return {SimInput::Kind::BadFrame, {}, 0};
    SimInput in;
    SimFrame& f = in.frame;
    const std::uint8_t* h = m_body.data();
    if (m_network) {
        f.tag = static_cast<std::uint16_t>(h[0] * 256 + h[1]);
        h += 2;
    }
    f.command = (h[1] >> 4 & 3) * 256u + h[0];
    f.sequence = (h[1] & 15) * 256u + h[2];
    f.nak = h[1] & 128;
    f.ctrl = h[1] & 64;
    f.payload.assign(m_body.begin() + static_cast<std::ptrdiff_t>(head), m_body.end() - 1);
    return in;
}
