#pragma once

#include <map>
#include <memory>
#include <optional>

#include "platform/base/cstring.h"
#include "shell/dialogs/kelvardin_dialog.h"
#include "shell/io/device_search.h"
#include "shell/io/found_device.h"

class CFoundDeviceTree;
class CKelvardinTreeCtrl;
class QGroupBox;
class QLabel;
class QPushButton;
class QSocketNotifier;
class QTimer;

// Looks for intercoms on the local networks: one search request goes out when the dialog
// opens, and the answers fill the tree while it is open. The details of the selected device
// show beside it; after OK the caller takes its name and addresses.
class CDlgSearchForIcom : public CKelvardinDialog {
public:
    static constexpr UINT kTemplateId = 486;
    enum ControlId : UINT {
        kTreeBox = 1050,
        kDetailsBox = 1066,
        kTree = 3048,
        kFirstValue = 2571,  // name, type, status, address, partner, connections, description
        kFirstLabel = 2578,
    };
    static constexpr int kDetails = 7;
    // How long the search waits for a first answer before it says that none came.
    static constexpr UINT kNoAnswerMs = 3000;

    // Preselects the first device found under that name; intercomMode false looks for
    // controllers instead.
    CDlgSearchForIcom(std::optional<CString> preselect, BOOL intercomMode,
                      QWidget* parent = nullptr);
    ~CDlgSearchForIcom() override;

    // The selected device; empty texts while none is. The partner reads "0.0.0.0" when the
    // device has none.
    CString GetName() const;
    CString GetIPAddress() const;
    CString GetPartnerAddress() const;

    CKelvardinTreeCtrl& GetTree() { return *m_tree; }
    const std::map<DWORD, CFoundDevice>& GetDevices() const { return m_devices; }

    // Ignored while OK is disabled.
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void OnSocketRead();
    void OnNoAnswerTime();
    void OnAnswer(CFoundDevice device);
    void OnSelectionChanged();
    void ShowDetails(const CFoundDevice* device);

    const BOOL m_bIntercomMode;
    const std::optional<CString> m_preselect;
    CKelvardinTreeCtrl* m_tree;
    std::unique_ptr<CFoundDeviceTree> m_placer;
    QGroupBox* m_treeBox;
    QGroupBox* m_detailsBox;
    QLabel* m_labels[kDetails] = {};
    QLabel* m_values[kDetails] = {};
    QLabel* m_noAnswer;
    QPushButton* m_ok;
    CDeviceSearch m_search;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer* m_noAnswerTimer;
    std::map<DWORD, CFoundDevice> m_devices;
    std::optional<CFoundDevice> m_shown;
};

// The same search for controllers, without a preselection.
class CDlgSearchForCV : public CDlgSearchForIcom {
public:
    explicit CDlgSearchForCV(QWidget* parent = nullptr)
        : CDlgSearchForIcom(std::nullopt, FALSE, parent) {}
};
