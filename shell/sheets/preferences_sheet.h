#pragma once

#include "shell/sheets/kelvardin_sheet.h"
#include "shell/sheets/op_page_advanced.h"
#include "shell/sheets/op_page_comm.h"
#include "shell/sheets/op_page_directories.h"
#include "shell/sheets/op_page_preferences.h"

class IFileModeHost;

// The program's settings on four pages: General (the connection, start-up and files),
// Advanced (restrictions, visible counts, the controller's name options), Preferences and
// Directories. OK applies the pages that were shown, each saving the settings.
class CPreferencesSheet : public CKelvardinSheet {
public:
    enum Page { kGeneral, kAdvanced, kPreferences, kDirectories };

    // Opens on the page shown last. fileMode, when given, is how a failed link leaves ONLINE
    // mode.
    CPreferencesSheet(QWidget* parent, IFileModeHost* fileMode);
    ~CPreferencesSheet() override;

    COPPageComm& GetCommPage() { return m_comm; }
    COPPageAdvanced& GetAdvancedPage() { return m_advanced; }
    COPPagePreferences& GetPreferencesPage() { return m_preferences; }
    COPPageDirectories& GetDirectoriesPage() { return m_directories; }

    // The page shown last, for the next sheet of this run.
    static int GetLastPage() { return s_nLastPage; }
    static void SetLastPage(int page) { s_nLastPage = page; }

private:
    static inline int s_nLastPage = kGeneral;

    COPPageComm m_comm;
    COPPageAdvanced m_advanced;
    COPPagePreferences m_preferences;
    COPPageDirectories m_directories;
};
