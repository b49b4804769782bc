#pragma once

#include <initializer_list>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

class QMenu;

// The context menu of intercom cells: a caption naming the selected intercoms, the
// connection, baud-rate and COM-port choices, the address search, the clearing commands and
// the other screens of the intercoms. Each screen leaves out what it does not offer.
namespace icom_menu {

enum : UINT {
    kCaption = 32873,
    kBaud38400 = 32876,
    kBaud9600 = 32877,
    kComNone = 32879,
    kComFirst = 32880,  // COM1; COM31 is kComFirst + 30
    kSerial = 32938,
    kNetwork = 32939,
    kBrowseAddress = 32941,
    kClearAllocations = 32823,
    kClearErrors = 32822,
    kClearChanges = 32788,
    kViewSummary = 32783,
    kViewDefinitions = 32784,
    kViewSetup = 32785,
    kViewStatus = 32786,
    kViewAlphas = 32787,
    // The submenus, left out by these ids.
    kConnectionMenu = 1,
    kBaudMenu = 2,
    kComMenu = 3,
};

// Fills the menu with every entry but those whose ids are given; no separator is left first,
// last or beside another. Each action carries its command id as its data.
void Build(QMenu& menu, std::initializer_list<UINT> omit);
// The caption: a disabled entry with the text.
void SetCaption(QMenu& menu, const CString& text);
void Enable(QMenu& menu, UINT id, bool enable);
void SetDefault(QMenu& menu, UINT id);

}  // namespace icom_menu
