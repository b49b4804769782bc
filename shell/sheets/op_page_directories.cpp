#include "shell/sheets/op_page_directories.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/ui/qt_convert.h"
#include "res/string_table.h"
#include "shell/controls/dialog_controls.h"
#include "shell/sheets/preferences_sheet.h"
#include "shell/sheets/settings_applied.h"

namespace {

struct Row {
    const char* label;
    UINT edit;
    UINT browse;
    UINT chooserTitle;
};

const Row kRowTable[COPPageDirectories::kRows] = {
    {"Setup Files (.KVD)", COPPageDirectories::kSetupEdit, COPPageDirectories::kSetupBrowse, 2450},
    {"Log Files (.CVL)", COPPageDirectories::kLogEdit, COPPageDirectories::kLogBrowse, 2451},
    {"SNMP Configuration Files (.KVN)", COPPageDirectories::kSNMPEdit,
     COPPageDirectories::kSNMPBrowse, 2452},
};

constexpr int kEditChars = 56;

}  // namespace

COPPageDirectories::COPPageDirectories() : CKelvardinPage(kTemplateId) {
    setWindowTitle(QStringLiteral("Directories"));
    const CKelvardinApp& app = GetKelvardinApp();
    m_folders[0] = app.GetSetupDirectory();
    m_folders[1] = app.GetLogDirectory();
    m_folders[2] = app.GetSNMPDirectory();
}

void COPPageDirectories::OnInitDialog() {
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < kRows; ++i) {
        const Row& row = kRowTable[i];
        m_edits[i] = Named(new QLineEdit(ToQString(m_folders[i])), row.edit);
        // Wide enough for a folder under the home folder to show whole.
        m_edits[i]->setMinimumWidth(m_edits[i]->fontMetrics().averageCharWidth() * kEditChars);
        auto* browse = Named(new QPushButton(QStringLiteral("...")), row.browse);
        grid->addWidget(new QLabel(QString::fromUtf8(row.label)), 2 * i, 0, 1, 2);
        grid->addWidget(m_edits[i], 2 * i + 1, 0);
        grid->addWidget(browse, 2 * i + 1, 1);
        connect(m_edits[i], &QLineEdit::textEdited, this,
                [this, i](const QString& text) { m_folders[i] = FromQString(text); });
        connect(browse, &QPushButton::clicked, this, [this, i] { OnBrowse(i); });
    }
    grid->setRowStretch(2 * kRows, 1);
}

void COPPageDirectories::OnBrowse(int row) {
    CString folder = m_folders[row];
    if (!GetKelvardinApp().ChooseFolder(folder, LoadResString(kRowTable[row].chooserTitle))) return;
    m_folders[row] = folder;
    for (int i = 0; i < kRows; ++i)
        m_edits[i]->setText(ToQString(m_folders[i]));
}

void COPPageDirectories::OnSetActive() {
    CPreferencesSheet::SetLastPage(CPreferencesSheet::kDirectories);
}

bool COPPageDirectories::OnApply() {
    CKelvardinApp& app = GetKelvardinApp();
    app.SetSetupDirectory(m_folders[0]);
    app.SetLogDirectory(m_folders[1]);
    app.SetSNMPDirectory(m_folders[2]);
    StoreAppliedSettings(app);
    return true;
}
