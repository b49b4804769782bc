#pragma once

#include <array>
#include <span>
#include <vector>

#include "platform/base/win_types.h"
#include "platform/io/udp_socket.h"
#include "shell/io/found_device.h"
#include "shell/io/search_answer.h"

constexpr WORD kSearchRequestPort = 27410;
constexpr WORD kSearchAnswerPort = 27411;

// The network side of one device search: a broadcast socket bound to the answer port, the
// request sent to each target, and the answers read back one datagram at a time. The owner
// reads when the socket's handle is readable. User-interface thread only.
class CDeviceSearch {
public:
    enum class ReadResult {
        Device,   // an answer of a device the search looks for
        Dropped,  // a datagram that is not such an answer
        Nothing,  // no datagram was waiting
    };

    // intercomMode: looks for intercoms, else for controllers.
    explicit CDeviceSearch(BOOL intercomMode) : m_bIntercomMode(intercomMode) {}

    // Makes the socket, allows broadcasts and binds it to the port on every local address.
    // 0, or the system's error number with the socket closed.
    int Open(WORD answerPort = kSearchAnswerPort);
    void Close() { m_socket.Close(); }
    BOOL IsOpen() const { return m_socket.IsOpen(); }
    // The descriptor to watch for answers; -1 when closed.
    int GetHandle() const { return m_socket.GetHandle(); }
    // The port bound, which Open chooses for port 0.
    WORD GetAnswerPort() const { return m_socket.LocalEndpoint().port; }

    // Sends the next search request to the port of every target (such as the interfaces'
    // broadcast addresses); failures are not reported.
    void SendSearch(std::span<const DWORD> targets, WORD requestPort = kSearchRequestPort);
    // Reads one waiting datagram; for Device, device holds the answer and its sender.
    ReadResult ReadAnswer(CFoundDevice& device);

private:
    BOOL m_bIntercomMode;
    WORD m_wSequence = 0;
    CUdpSocket m_socket;
    std::array<BYTE, kMaxSearchDatagram> m_datagram{};
    std::vector<BYTE> m_payload;
};
