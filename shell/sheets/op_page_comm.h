#pragma once

#include "platform/base/cstring.h"
#include "shell/sheets/kelvardin_page.h"

class IFileModeHost;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The General page: how the controller is reached (a serial port with its baud rate, or the
// network with the main and partner addresses), start-up and file behaviour. Applying it opens
// the link again with these settings.
class COPPageComm : public CKelvardinPage {
public:
    static constexpr UINT kTemplateId = 153;
    enum ControlId : UINT {
        kConnection = 1042,
        kConnectionLabel = 1050,
        kBaudRate = 1043,
        kBaudRateLabel = 1032,
        kMainIP = 1047,
        kMainIPLabel = 1033,
        kPartnerIP = 1046,
        kPartnerIPLabel = 1040,
        kSearch = 1021,
        kAutoConnect = 1034,
        kAllowLog = 1073,
        kAutoLog = 1035,
        kCreateBAKFiles = 1038,
        kConfirmFileName = 1039,
        kSavePosition = 1036,
        kConfirmExit = 1037,
    };

    explicit COPPageComm(IFileModeHost* fileMode);

    void OnSetActive() override;
    bool OnApply() override;

protected:
    void OnInitDialog() override;

private:
    void FillBaudRates();
    void FillConnections();
    // The baud rate for a serial port, the addresses for the network.
    void SetConnectionControls();
    void OnMainIPChanged();
    void OnSearch();

    IFileModeHost* m_fileMode;
    // The settings as the page found them. The link may learn other addresses while the page
    // is open (a standby's reply, a fail-over): only those the user changed here are the page's.
    CString m_strPort;
    int m_nBaudRate;
    CString m_strIPAddress;
    // The partner address: as found until the user edits the main address ("0.0.0.0") or
    // chooses a controller from the search.
    CString m_strPartner;
    bool m_bPartnerChanged = false;
    bool m_bAutoConnect;
    bool m_bAllowLog;
    bool m_bAutoLog;
    bool m_bCreateBAKFiles;
    bool m_bConfirmFileName;
    bool m_bSavePosition;
    bool m_bConfirmExit;
    QComboBox* m_connection = nullptr;
    QLabel* m_baudLabel = nullptr;
    QComboBox* m_baudRate = nullptr;
    QLabel* m_mainIPLabel = nullptr;
    QLineEdit* m_mainIP = nullptr;
    QLabel* m_partnerLabel = nullptr;
    QLineEdit* m_partner = nullptr;
    QPushButton* m_search = nullptr;
    QCheckBox* m_autoConnect = nullptr;
    QCheckBox* m_allowLog = nullptr;
    QCheckBox* m_autoLog = nullptr;
    QCheckBox* m_createBAKFiles = nullptr;
    QCheckBox* m_confirmFileName = nullptr;
    QCheckBox* m_savePosition = nullptr;
    QCheckBox* m_confirmExit = nullptr;
};
