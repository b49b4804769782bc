#pragma once

#include <memory>
#include <vector>

#include "model/bit_array.h"
#include "model/kelvardin_doc.h"
#include "model/records.h"
#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// A copy of the setup's records and alphas, with every change and file mark they carry, taken
// before a command that may change them and given back to the document should it fail. While
// it is held, the values the controller sends are stored into it as into the setup, so that
// giving it back takes back the command's work and never what the controller said meanwhile.
class CDocSnapshot {
public:
    explicit CDocSnapshot(CKelvardinDoc& doc);
    ~CDocSnapshot();
    // Held by its address while it takes the controller's values.
    CDocSnapshot(const CDocSnapshot&) = delete;
    CDocSnapshot& operator=(const CDocSnapshot&) = delete;

private:
    friend class CKelvardinDoc;
    // No longer takes the controller's values.
    void Release();

    CKelvardinDoc* m_pDoc = nullptr;
    std::vector<std::unique_ptr<CTrunk>> m_trunks;
    std::vector<std::unique_ptr<COptions>> m_options;
    std::vector<std::unique_ptr<CIntercom>> m_intercoms;
    std::vector<std::unique_ptr<CGroup>> m_groups;
    // Node-based: the copied intercoms' lists keep pointing at these when the map moves.
    CKelvardinDoc::CAlphaMap m_alphas;
    std::vector<CString> m_signatureTexts;
    CBitArray m_signatureBits{14};
    BOOL m_bPartialFile = FALSE;
};
