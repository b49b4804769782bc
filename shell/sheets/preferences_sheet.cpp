#include "shell/sheets/preferences_sheet.h"

#include <QTabWidget>

#include "res/string_ids.h"

CPreferencesSheet::CPreferencesSheet(QWidget* parent, IFileModeHost* fileMode)
    : CKelvardinSheet(kIdsPreferencesCaption, parent, s_nLastPage), m_comm(fileMode) {
    for (CKelvardinPage* page : std::initializer_list<CKelvardinPage*>{
             &m_comm, &m_advanced, &m_preferences, &m_directories})
        AddPage(page);
    SetSizedToLargestPage();
}

CPreferencesSheet::~CPreferencesSheet() = default;
