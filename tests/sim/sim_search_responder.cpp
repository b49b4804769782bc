#include "tests/sim/sim_search_responder.h"

#include <stdexcept>

#include "tests/sim/sim_codec.h"

namespace {

constexpr unsigned kSearchIntercoms = 222;
constexpr unsigned kSearchControllers = 209;

void PutText(std::vector<std::uint8_t>& out, const std::string& text) {
    out.push_back(static_cast<std::uint8_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

std::vector<std::uint8_t> SimSearchDatagram(const SimSearchAnswer& answer) {
    SimFrame frame;
    frame.command = answer.type == 1 || answer.type == 8 ? kSearchControllers : kSearchIntercoms;
    frame.sequence = 1;
    frame.tag = 0x1234;
    frame.payload = {answer.type, std::uint8_t(answer.active ? 1 : 0), 0, 8, 0, 3};
    for (int shift = 24; shift >= 0; shift -= 8)
        frame.payload.push_back(static_cast<std::uint8_t>(answer.partner >> shift));
    PutText(frame.payload, answer.name);
    PutText(frame.payload, answer.description);
    if (answer.frames) frame.payload.insert(frame.payload.end(), {answer.frame, answer.frames});
    return SimWrapBody(SimFrameBody(frame, true));
}

CSimSearchResponder::CSimSearchResponder() = default;

CSimSearchResponder::~CSimSearchResponder() {
    for (const auto& device : m_devices) {
        device->socket.Wake();
        device->thread.join();
    }
}

void CSimSearchResponder::AddDevice(std::uint8_t host,
                                    std::vector<std::vector<std::uint8_t>> datagrams) {
    auto device = std::make_unique<Device>();
    if (device->socket.Create() != 0 ||
        device->socket.Bind({kIPv4Loopback + host - 1, m_port}) != 0)
        throw std::runtime_error("simulated search: no UDP port");
    m_port = device->socket.LocalEndpoint().port;
    device->datagrams = std::move(datagrams);
    device->thread = std::thread([d = device.get()] { Run(*d); });
    m_devices.push_back(std::move(device));
}

std::vector<std::uint32_t> CSimSearchResponder::Addresses() const {
    std::vector<std::uint32_t> addresses;
    for (const auto& device : m_devices)
        addresses.push_back(device->socket.LocalEndpoint().address);
    return addresses;
}

void CSimSearchResponder::Run(Device& device) {
    std::vector<std::uint8_t> request(4096);
    while (device.socket.WaitReadable() == CUdpSocket::WaitResult::Readable) {
        std::size_t size = 0;
        CIPv4Endpoint from;
        while (device.socket.ReceiveFrom(request, size, from) == 0) {
            for (const auto& datagram : device.datagrams)
                device.socket.SendTo(datagram, from);
        }
    }
}
