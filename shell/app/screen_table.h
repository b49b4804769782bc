#pragma once

#include <array>
#include <memory>

#include "platform/base/win_types.h"

class CMainFrame;
class CView;
class QWidget;

// Makes a screen's view or selector pane with its window, a child of the parent; null when it
// cannot.
using ViewFactory = std::unique_ptr<CView> (*)(CMainFrame& frame, QWidget* parent);

// One of the main window's twelve screens: its caption (a string id), its command (and the
// second command that shows it), its main view and its selector pane. A screen without a main
// view is not part of the program yet: its command stays disabled.
struct CScreenDesc {
    int id;
    UINT caption;
    UINT command;
    UINT altCommand;
    ViewFactory createView;
    ViewFactory createPane;
};

inline constexpr int kScreenTableSize = 12;
using CScreenTable = std::array<CScreenDesc, kScreenTableSize>;
// The program's screens.
const CScreenTable& ScreenTable();
// The screen of the table that a command shows; -1 for a command that shows none.
int ScreenOfCommand(const CScreenTable& table, UINT command);
