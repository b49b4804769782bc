#pragma once

#include "platform/base/cstring.h"

class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

// What the two kinds of partial-save page have in common: a line that says what to choose,
// the available and chosen controls side by side under their labels, Add and Remove between
// them and a counter under each.
struct CPSPageFrame {
    QVBoxLayout* layout;
    QPushButton* add;
    QPushButton* remove;
    QLabel* availableCount;
    QLabel* chosenCount;
};

// Lays the page out around its two controls; title names the objects ("Trunks").
CPSPageFrame LayOutPSPage(QWidget& page, const CString& title, QWidget& available, QWidget& chosen);
// A push button named by its control id that is never the default one.
QPushButton* MakePSButton(unsigned id, const char16_t* text);
