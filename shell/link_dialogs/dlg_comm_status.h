#pragma once

#include <QPointer>

#include <array>

#include "shell/dialogs/kelvardin_dialog.h"

class CKelvardinListCtrl;

// The counters of the controller link, refreshed every second while the window is open, with
// a Reset that zeroes them. Modeless, and open at most once: the program keeps one pointer to
// the open window, which clears itself when the window goes.
class CDlgCommStatus : public CKelvardinDialog {
public:
    static constexpr UINT kTemplateId = 168;
    static constexpr UINT kList = 1056;
    static constexpr UINT kReset = 1057;
    static constexpr int kRows = 10;

    // Brings the open window forward, or opens one and keeps it in open. Answers the window.
    static CDlgCommStatus* Show(QPointer<CDlgCommStatus>& open, QWidget* parent);

    // Builds the window with its rows filled and starts the refresh.
    explicit CDlgCommStatus(QWidget* parent = nullptr);
    ~CDlgCommStatus() override;

    // The values of the rows in order: the link engine's nine counters (0 without a link),
    // then the disconnects the user was told about.
    static std::array<int, kRows> ReadCounters();

    // OK, Escape and the close box destroy the window.
    void accept() override { Destroy(); }
    void reject() override { Destroy(); }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void FillValues();
    void OnReset();
    void Destroy();

    int m_nTimerId = 0;
    CKelvardinListCtrl* m_list;
};
