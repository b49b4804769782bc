#pragma once

#include <array>
#include <functional>

#include "link/send_all.h"

class CCVConfig;
class CKelvardinDoc;

// Sends every unsent change of the setup: fifteen steps in a fixed order, each turning the
// changed records of one kind of data into set requests. The change flags stay as they are;
// the main window clears them when the whole send has succeeded.
class CCVDataSendAll : public CSendAll {
public:
    static constexpr int kStepCount = 15;
    // The document to send from (the main window's active one); null builds nothing.
    using DocumentFinder = std::function<CKelvardinDoc*()>;

    explicit CCVDataSendAll(DocumentFinder findDocument);

    void Reset() override;
    BOOL BuildNext(CMessage& message) override;
    BOOL ClearsChangesWhenDone() const override { return TRUE; }

    // Whether a send to a controller of this configuration carries the changes of a field of
    // a kind of record (a CObjSpec type and field id; the intercom name field stands for the
    // name of the configured length). What is listed before a send asks this too, so that the
    // list and the send agree.
    static bool Carries(const CCVConfig& config, int objectType, DWORD fieldId);

private:
    DocumentFinder m_findDocument;
    // Per step, the next record to look at; negative once the step is finished.
    std::array<int, kStepCount> m_cursors{};
};
