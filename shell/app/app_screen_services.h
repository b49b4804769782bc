#pragma once

#include "screens/base/screen_services.h"

class CKelvardinApp;
class QWidget;

// The console's and the request log viewer's services from the application object: its
// folder settings, the log file it last wrote and its save picker.
class CAppScreenServices : public IScreenServices {
public:
    // The picker belongs to the parent window.
    CAppScreenServices(CKelvardinApp& app, QWidget* parent) : m_app(app), m_parent(parent) {}

    CString GetSetupDirectory() const override;
    void SetSetupDirectory(const CString& folder) override;
    CString GetLogDirectory() const override;
    CString GetLastLogFile() const override;
    std::optional<SaveChoice> PickSaveFile(UINT titleId, UINT filterId, const CString& defExt,
                                           const CString& folder) override;

private:
    CKelvardinApp& m_app;
    QWidget* m_parent;
};
