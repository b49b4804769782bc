// Kelvardin: the technician's tool for the Corvane trunking controller.
#include <QApplication>

#include <vector>

#include "platform/ui/ini_profile.h"
#include "platform/ui/qt_convert.h"
#include "shell/app/kelvardin_app.h"

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ostrum"));
    QApplication::setApplicationName(QStringLiteral("Kelvardin"));
    // No display name: the window system would append it to the window's own title.

    CIniProfile profile(u"Ostrum", u"Kelvardin");
    CKelvardinApp app(profile);
    std::vector<CString> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(FromQString(QString::fromLocal8Bit(argv[i])));
    if (!app.InitInstance(arguments)) return 1;
    const int code = QApplication::exec();
    app.ExitInstance();
    return code;
}
