#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/io/udp_socket.h"

// What one device says of itself when it hears a device search. Types 1 and 8 are
// controllers and answer as such; the others answer as intercoms.
struct SimSearchAnswer {
    std::uint8_t type = 2;
    bool active = true;
    std::string name;
    std::uint32_t partner = 0;  // the other half of an active and standby pair
    std::uint8_t frame = 0;
    std::uint8_t frames = 0;  // 0: the answer carries no frame bytes
    std::string description = "Floor 2";
};

// The answer as one datagram; its counts say 3 of 8 connections are free.
std::vector<std::uint8_t> SimSearchDatagram(const SimSearchAnswer& answer);

// Devices on loopback addresses (127.0.0.x), all on one port, that answer every search
// request they hear with the datagrams given them, in order; a datagram may be anything,
// such as a repeated answer or a spoilt one.
class CSimSearchResponder {
public:
    CSimSearchResponder();
    ~CSimSearchResponder();

    void AddDevice(std::uint8_t host, std::vector<std::vector<std::uint8_t>> datagrams);
    std::uint16_t Port() const { return m_port; }
    std::vector<std::uint32_t> Addresses() const;

private:
    struct Device {
        CUdpSocket socket;
        std::vector<std::vector<std::uint8_t>> datagrams;
        std::thread thread;
    };
    static void Run(Device& device);

    std::uint16_t m_port = 0;
    std::vector<std::unique_ptr<Device>> m_devices;
};
