#include "shell/dialogs/about_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/module_version_info.h"
#include "platform/ui/qt_convert.h"

namespace {

QLabel* AddLine(QVBoxLayout* layout, UINT id, const CString& text) {
    auto* line = new QLabel(ToQString(text));
    line->setObjectName(QStringLiteral("ctl%1").arg(id));
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(line);
    return line;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : CKelvardinDialog(kTemplateId, parent) {
    CModuleVersionInfo version;
    version.Load();
    const CString product = version.GetProductName();
    setWindowTitle(ToQString(u"About " + product));

    auto* layout = new QVBoxLayout(this);
    AddLine(layout, kVersionLine, product + u" " + version.GetProductVersion());
    AddLine(layout, kLegalLine,
            version.GetValue(u"LegalCopyright") + u" " + version.GetValue(u"CompanyName"));
    // The compiler writes the date as "Mmm dd yyyy".
    AddLine(layout, kBuildDateLine, u"Build Date: " + CString::FromUtf8(__DATE__));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ctl%1").arg(IDOK));
    connect(buttons, &QDialogButtonBox::accepted, this, &CAboutDlg::accept);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
