#include <memory>

#include "link/comm_serial.h"
#include "link/comm_udp.h"
#include "platform/base/message_box.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/app/comm_settings.h"
#include "shell/app/kelvardin_app.h"
#include "shell/main_frame/main_frame.h"

bool CKelvardinApp::OpenComm(const CString& port, int baud, const CString& ip,
                             const CString& standby) {
    // A mistyped port must not leave the user without the link that worked.
    const bool wasOpen = m_dataMgr.IsConnected() != FALSE;
    m_dataMgr.Disconnect();
    // What the old link posted and the window has not yet taken speaks of a controller no
    // longer talked to: it must not be read as the new link's.
    if (m_mainFrame) m_mainFrame->GetLinkSink()->DropPosted();
    m_nControllerPresent = 0;
    m_nControllerLogging = 0;

    // A link that does not open leaves the communication settings as they were; the others,
    // and the configuration of the setup held, are the user's and stay.
    const CString portBefore = m_strComPort;
    const int baudBefore = m_nBaudRate;
    const CString ipBefore = m_ipAddress.Get();
    const CString standbyBefore = m_standbyIP.Get();
    const auto restore = [&] {
        m_strComPort = portBefore;
        m_nBaudRate = baudBefore;
        m_ipAddress.Set(ipBefore);
        m_standbyIP.Set(standbyBefore);
        m_bNetwork = IsNetPort(portBefore);
    };

    // A rate no port runs at (the preferences may pass 0) is never divided by.
    baud = ClampBaudRate(baud);
    m_strComPort = port;
    m_nBaudRate = baud;
    m_ipAddress.Set(ip);
    m_standbyIP.Set(standby);
    m_bNetwork = IsNetPort(port);

    if (IsNulPort(port)) {
        SaveSettings();
        SetMode(kModeFile);
        return false;
    }
    CString error;
    UINT icon = 0;
    if (!OpenTransport(port, baud, ip, error, icon)) {
        SetMode(kModeFile);
        if (!error.IsEmpty()) DoMessageBox(error, MB_OK | icon);
        restore();
        if (wasOpen) ReopenLink();
        SaveSettings();
        return false;
    }
    SaveSettings();
    if (GetMode() == kModeOnline) SetMode(kModeConnecting);
    return true;
}

// Opens the link of the communication settings held again. Whether it opens shows on the
// status bar; the user has just been told of the failure that brought it back. Its port may be
// away as it was before (an adapter pulled out): the link goes on trying it.
void CKelvardinApp::ReopenLink() {
    CString error;
    UINT icon = 0;
    OpenTransport(m_strComPort, ClampBaudRate(m_nBaudRate), m_ipAddress.Get(), error, icon, true);
}

// Opens the transport and hands it to the data manager; on failure, what to tell the user.
bool CKelvardinApp::OpenTransport(const CString& port, int baud, const CString& ip, CString& error,
                                  UINT& icon, bool awaitPort) {
    IMessageSink* notify = m_mainFrame ? m_mainFrame->GetLinkSink() : nullptr;
    const CLinkTiming& timing = m_dataMgr.GetTiming();
    std::unique_ptr<CComm> comm;
    if (m_bNetwork) {
        auto udp = std::make_unique<CCommUDP>(notify, m_wPeerPort);
        udp->SetReadTimeout(timing.udpReadTimeoutMs);
        if (!udp->Open(ip, error)) return false;
        comm = std::move(udp);
    } else {
        auto serial = std::make_unique<CCommSerial>(notify);
        icon = MB_ICONEXCLAMATION;
        const auto rate = static_cast<DWORD>(baud);
        const CSerialTimeouts timeouts = timing.SerialTimeouts(rate);
        if (serial->Open(port) != 0) {
            error = LoadResString(kIdsCannotOpenPort);
            if (!awaitPort) return false;
            serial->AwaitPort(port, rate, timeouts);
        } else {
            serial->SetTimeouts(timeouts);
            if (serial->SetBaudRate(rate) != 0) {
                error = LoadResString(kIdsCannotSetBaudRate);
                return false;
            }
        }
        comm = std::move(serial);
    }
    m_dataMgr.SetUdpTarget(m_bNetwork);
    return m_dataMgr.Connect(std::move(comm), notify, TRUE) != FALSE;
}
