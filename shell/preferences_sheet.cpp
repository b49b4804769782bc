#include "shell/preferences_sheet.h"

#include <QTabWidget>

CPreferencesSheet::CPreferencesSheet(QWidget* parent, IFileModeHost* fileMode)
    : CKelvardinSheet(kCaption, parent, s_nLastPage), m_comm(fileMode) {
    for (CKelvardinPage* page : std::initializer_list<CKelvardinPage*>{
             &m_comm, &m_advanced, &m_preferences, &m_directories})
        AddPage(page);
}

CPreferencesSheet::~CPreferencesSheet() {
    // The pages go first; their tabs going must not make another page current (and created)
    // on the way out.
    if (auto* tabs = findChild<QTabWidget*>()) tabs->blockSignals(true);
}
