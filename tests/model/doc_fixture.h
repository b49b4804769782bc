#pragma once

#include <utility>

#include "model/kelvardin_doc.h"
#include "model/memory_page.h"
#include "model_fixture.h"
#include "tests/support/recording_views.h"

// A document reset to the default setup of the fixture's configuration, with recording views.
class DocTest : public ModelTest {
protected:
    void SetUp() override { Reset(); }
    // Resets the document (after a configuration change) and forgets the hints so far.
    void Reset() {
        m_doc.SetViews(&m_views);
        ASSERT_TRUE(m_doc.ResetToDefaultSetup());
        m_views.m_updates.clear();
    }
    // Another controller: its flags, capabilities and intercom count; the setup is reset.
    void Configure(WORD flags, DWORD capabilities, WORD intercoms = 31) {
        Config().m_wFlags = flags;
        Config().m_wNumIntercoms = intercoms;
        SetCapabilities(capabilities);
        Reset();
    }
    template <class Record>
    Record& Get(const CObjSpec& objSpec) {
        return dynamic_cast<Record&>(*m_doc.FindObject(objSpec));
    }
    CTrunk& Trunk(int i) { return Get<CTrunk>(CTrunkSpec(i, 1)); }
    CIntercom& Icom(int i) { return Get<CIntercom>(CIcomSpec(i, 1)); }
    CGroup& Group(int i) { return Get<CGroup>(CGroupSpec(i, 1)); }
    COptions& Options() { return Get<COptions>(COptionSpec(1)); }
    // The hints sent since the last call.
    std::vector<CRecordingViews::Update> TakeUpdates() {
        return std::exchange(m_views.m_updates, {});
    }

    CRecordingViews m_views;
    CKelvardinDoc m_doc;
};

// A memory page of the link: 255 bytes from a start address, with pending writes.
class CFakeMemoryPage : public IMemoryPage {
public:
    explicit CFakeMemoryPage(DWORD address) : m_address(address) { m_writeBits.SetSize(kPageSize); }

    DWORD GetMemoryImageAddress() const override { return m_address; }
    const CPageBytes& GetMemoryImage() const override { return m_image; }
    const CPageBytes& GetMemoryWriteValues() const override { return m_writeValues; }
    const CBitArray& GetMemoryWriteBits() const override { return m_writeBits; }
    CBitArray& GetMemoryWriteBits() override { return m_writeBits; }
    // As the link takes a write: ONLINE only, a byte, inside the page; the byte read again
    // is no write.
    BOOL SetMemoryByte(DWORD address, DWORD value) override {
        if (GetApp().GetMode() != CAppState::kModeOnline || value > 0xFF) return FALSE;
        if (address < m_address || address - m_address >= kPageSize) return FALSE;
        const DWORD offset = address - m_address;
        if (m_writeBits.GetBit(offset) || value != m_image[offset]) {
            m_writeBits.SetBit(offset, TRUE);
            m_writeValues[offset] = static_cast<BYTE>(value);
        }
        return TRUE;
    }

    DWORD m_address;
    CPageBytes m_image{};
    CPageBytes m_writeValues{};
    CBitArray m_writeBits;
};
