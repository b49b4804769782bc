#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The simulated controller's own reading and writing of frames, kept apart from the
// client's so that one misreading cannot hide on both sides of a test.

struct SimFrame {
    unsigned command = 0;
    unsigned sequence = 0;
    bool nak = false;
    bool ctrl = false;
    std::uint16_t tag = 0xFFFF;  // network frames only
    std::vector<std::uint8_t> payload;
};

// What the controller makes of the bytes it reads.
struct SimInput {
    enum class Kind { Frame, RawByte, BadFrame };
    Kind kind = Kind::Frame;
    SimFrame frame;
    std::uint8_t rawByte = 0;
};

// Header, payload and checksum of a frame, before escaping; checksumError spoils the sum.
std::vector<std::uint8_t> SimFrameBody(const SimFrame& frame, bool network,
                                       bool checksumError = false);
// Start byte, escaped body, end byte. splitAt receives the offset just past the first
// escaped end byte, or of the final end byte when the body holds none.
std::vector<std::uint8_t> SimWrapBody(std::span<const std::uint8_t> body,
                                      std::size_t* splitAt = nullptr);

// Reads a byte stream one byte at a time: outside a frame, 0x9E and 0x1A are raw control
// bytes and anything else but a start byte is noise.
class CSimStreamReader {
public:
    explicit CSimStreamReader(bool network) : m_network(network) {}
    void Feed(std::uint8_t byte, std::vector<SimInput>& out);
    void Reset() { m_state = State::Idle; }

private:
    enum class State { Idle, Body, Escape };
    SimInput Finish() const;

    bool m_network;
    State m_state = State::Idle;
    std::vector<std::uint8_t> m_body;
};
