#pragma once

#include <optional>

#include "link/link_session.h"
#include "model/snmp_config.h"
#include "platform/base/cstring.h"
#include "shell/dialogs/kelvardin_dialog.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// Edits a copy of the controller's SNMP configuration: its texts, the valid hosts and the trap
// targets. While ONLINE the copy is applied to the controller and read back; in any mode it
// is loaded from and saved to SNMP configuration files.
class CDlgSNMPConfig : public CKelvardinDialog {
public:
    static constexpr UINT kTemplateId = 180;
    enum ControlId : UINT {
        kLoad = 1021,
        kSave = 1022,
        kAddHost = 1023,
        kRemoveHost = 1024,
        kAddTrap = 1025,
        kRemoveTrap = 1026,
        kApply = 2994,
        kUseValidHosts = 1034,
        kName = 1046,
        kLocation = 1047,
        kContact = 3003,
        kReadOnly = 3004,
        kReadWrite = 3005,
        kTraps = 3006,
        kHostAddress = 3020,
        kTrapAddress = 3021,
        kHostList = 1019,
        kTrapList = 1020,
    };
    // How long Apply waits for each of the controller's answers.
    static constexpr int kWaitSeconds = 5;

    // Takes a copy of the program's SNMP configuration, read from the controller of the
    // session given: Apply writes to that controller only. Without a session the record was
    // read from no controller (FILE mode, or not yet ONLINE), and nothing of it is applied.
    explicit CDlgSNMPConfig(std::optional<CLinkSession> readFrom, QWidget* parent = nullptr);

    // Load into, or save, the dialog's copy; TRUE on success, else FALSE with the error text.
    BOOL ReadConfigFile(const CString& path, CString& error);
    BOOL WriteConfigFile(const CString& path, CString& error);
    const CSNMPConfig& GetConfig() const { return m_config; }

    // An address edit's text: a dotted IPv4 address in host order; 0 for anything else and
    // for 255.255.255.255.
    static DWORD ParseAddressText(const CString& text);

    void reject() override;

protected:
    void OnInitDialog() override;

private:
    // One of the two address lists with its edit and buttons.
    struct CAddressList {
        bool hosts = true;
        QLineEdit* edit = nullptr;
        QListWidget* list = nullptr;
        QPushButton* add = nullptr;
        QPushButton* remove = nullptr;
        DWORD address = 0;
    };

    QWidget* MakeAddressList(CAddressList& row, const char16_t* title, UINT editId, UINT listId,
                             UINT addId, UINT removeId);
    int Count(const CAddressList& row) const;
    DWORD At(const CAddressList& row, int index) const;
    int Find(const CAddressList& row, DWORD address) const;

    void FillControls();
    void FillList(CAddressList& row);
    void SelectAddress(CAddressList& row);
    void UpdateControls();

    void OnTextEdited(CSNMPConfig::Text which, const QString& text);
    void OnAddressChanged(CAddressList& row, const QString& text);
    void OnListSelection(CAddressList& row);
    void OnAdd(CAddressList& row);
    void OnRemove(CAddressList& row);
    bool CanApply() const;
    void OnApply();
    void OnLoad();
    void OnSave();

    const std::optional<CLinkSession> m_readFrom;
    CSNMPConfig m_config;
    QLineEdit* m_texts[CSNMPConfig::kTextCount] = {};
    QCheckBox* m_useValidHosts = nullptr;
    CAddressList m_hosts;
    CAddressList m_traps{false};
    QPushButton* m_apply = nullptr;
    QPushButton* m_cancel = nullptr;
    // Set while Apply waits for the controller, which keeps the user interface running.
    bool m_busy = false;
};
