#pragma once

#include <memory>

class CSendAll;

// A send of the changes of the program's setup, whichever window shows it when the link asks.
std::unique_ptr<CSendAll> SendOfChanges();

// Whether that send would carry anything to the controller; when not, the user is told so.
bool CanSendChanges();
