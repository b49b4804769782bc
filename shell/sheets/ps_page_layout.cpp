#include "shell/sheets/ps_page_layout.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/qt_convert.h"

namespace {

enum ControlId : unsigned {
    kAdd = 1021,
    kRemove = 1022,
    kAvailableCount = 1050,
    kChosenCount = 1051,
    kAvailableLabel = 1052,
    kChosenLabel = 1053,
    kIntro = 1066,
};

QLabel* MakeLabel(unsigned id, const CString& text = {}) {
    auto* label = new QLabel(ToQString(text));
    label->setObjectName(QStringLiteral("ctl%1").arg(id));
    return label;
}

}  // namespace

QPushButton* MakePSButton(unsigned id, const char16_t* text) {
    auto* button = new QPushButton(ToQString(text));
    button->setObjectName(QStringLiteral("ctl%1").arg(id));
    button->setAutoDefault(false);
    return button;
}

CPSPageFrame LayOutPSPage(QWidget& page, const CString& title, QWidget& available,
                          QWidget& chosen) {
    CString noun = title;
    noun.MakeLower();
    CPSPageFrame frame{new QVBoxLayout(&page), MakePSButton(kAdd, u"&Add ->"),
                       MakePSButton(kRemove, u"<- &Remove"), MakeLabel(kAvailableCount),
                       MakeLabel(kChosenCount)};
    frame.layout->addWidget(
        MakeLabel(kIntro, u"Choose which " + noun + u" to include in the saved file."));

    auto* grid = new QGridLayout;
    QLabel* availableLabel = MakeLabel(kAvailableLabel, u"A&vailable " + title);
    QLabel* chosenLabel = MakeLabel(kChosenLabel, u"&Chosen " + title);
    availableLabel->setBuddy(&available);
    chosenLabel->setBuddy(&chosen);
    grid->addWidget(availableLabel, 0, 0);
    grid->addWidget(chosenLabel, 0, 2);
    grid->addWidget(&available, 1, 0);
    grid->addWidget(&chosen, 1, 2);
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    moves->addWidget(frame.add);
    moves->addWidget(frame.remove);
    moves->addStretch();
    grid->addLayout(moves, 1, 1);
    grid->addWidget(frame.availableCount, 2, 0);
    grid->addWidget(frame.chosenCount, 2, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    frame.layout->addLayout(grid, 1);
    return frame;
}
