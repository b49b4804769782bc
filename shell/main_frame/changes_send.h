#pragma once

#include <memory>

class CKelvardinDoc;
class CSendAll;

// A send of the changes of the program's setup, whichever window shows it when the link asks.
std::unique_ptr<CSendAll> SendOfChanges();

// Whether a send of the document's changes would carry anything to the controller; when not,
// the user is told so.
bool CanSendChanges(CKelvardinDoc& doc);
