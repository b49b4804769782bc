#pragma once

#include <memory>
#include <vector>

#include "model/bit_array.h"
#include "model/kelvardin_doc.h"
#include "model/records.h"
#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// A copy of the setup's records and alphas, with every change and file mark they carry, taken
// before a command that may change them and given back to the document should it fail.
class CDocSnapshot {
public:
    CDocSnapshot(CDocSnapshot&&) = default;
    CDocSnapshot& operator=(CDocSnapshot&&) = default;

private:
    friend class CKelvardinDoc;
    CDocSnapshot() = default;

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
