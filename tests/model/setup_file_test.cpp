#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "doc_fixture.h"
#include "model/doc_snapshot.h"
#include "model/file_sections.h"
#include "model/module_version_info.h"
#include "model/partial_save_selection.h"
#include "platform/base/byte_order.h"
#include "platform/base/message_box.h"
#include "res/version_info.h"
#include "tests/support/memory_file.h"

using Update = CRecordingViews::Update;

namespace {

constexpr DWORD kInFile = CCVObject::kInFile;

struct Section {
    WORD code;
    WORD count;
    WORD size;
    Bytes bitmap;
    Bytes records;
    bool operator==(const Section&) const = default;
};

// The sections of a file as the format lays them out.
std::vector<Section> Sections(const Bytes& file) {
    std::vector<Section> sections;
    for (size_t at = kFileHeaderSize; at + 10 <= file.size();) {
        Section s{
            GetU16BE(&file[at + 4]), GetU16BE(&file[at + 6]), GetU16BE(&file[at + 8]), {}, {}};
        at += 10;
        s.bitmap.assign(file.begin() + at, file.begin() + at + (s.count + 7) / 8);
        at += s.bitmap.size();
        size_t records = 0;
        for (BYTE b : s.bitmap)
            records += static_cast<size_t>(__builtin_popcount(b));
        s.records.assign(file.begin() + at, file.begin() + at + records * s.size);
        at += s.records.size();
        sections.push_back(std::move(s));
    }
    return sections;
}

Bytes SectionBytes(WORD code, WORD count, WORD size, const Bytes& bitmap, const Bytes& records) {
    Bytes bytes{'X', 'X', 'X', 'X', 0, 0, 0, 0, 0, 0};
    PutU16BE(&bytes[4], code);
    PutU16BE(&bytes[6], count);
    PutU16BE(&bytes[8], size);
    bytes.insert(bytes.end(), bitmap.begin(), bitmap.end());
    bytes.insert(bytes.end(), records.begin(), records.end());
    return bytes;
}

Bytes Wide(const std::u16string& text) {
    Bytes bytes;
    for (char16_t ch : text)
        bytes.insert(bytes.end(), {static_cast<BYTE>(ch), static_cast<BYTE>(ch >> 8)});
    return bytes;
}

class SetupFileTest : public DocTest {
protected:
    // Writes as the save command does: a full save includes everything, a partial save what
    // carries the partial-save choice.
    Bytes Save(BOOL partial = FALSE) {
        m_doc.SetFlagOnAll(kInFile, !partial);
        if (partial) m_doc.SetFlagOnFlagged(CCVObject::kPartialChoice, kInFile);
        CMemFile file;
        EXPECT_EQ(m_doc.WriteSetupFile(file, u"A.kvd", partial, TRUE), 1);
        m_doc.SetFlagOnAll(kInFile, FALSE);
        return file.m_bytes;
    }
    // Reads as the open and load commands do: the pre-read, then the reader.
    int Open(const Bytes& bytes, BOOL reset = TRUE, BOOL mark = FALSE) {
        CMemFile file(bytes);
        CPartialSaveSelection selection;
        CKelvardinDoc::ReadFileContents(file, selection);
        return m_doc.ReadSetupFile(selection, file, u"A.kvd", reset, mark);
    }

    // A setup that touches every kind of record and field.
    void Populate() {
        Trunk(0).SetEndpoint(TRUE, CAssign(2, 1, 5), FALSE);
        Trunk(0).SetFixedAssign(FALSE, CAssign(7, 7, 300), FALSE);
        Trunk(0).SetCascadable(TRUE, FALSE);
        Trunk(99).SetFixed(TRUE, FALSE);
        Options().SetTimeout(7, FALSE);
        Options().SetWaitForTalkKey(TRUE, FALSE);
        Icom(3).SetName(4, u"DESK", FALSE);
        Icom(3).SetName(8, u"FRONTDSK", FALSE);
        Icom(3).SetName(16, u"Fr\u00F6nt\u4E2D", FALSE);
        Icom(3).SetComPort(4, FALSE);
        Icom(3).SetBaudRate(2, FALSE);
        Icom(3).SetConnType(1, FALSE);
        Icom(3).SetPrimaryIP(0x0A000001, FALSE);
        Icom(3).SetBackupIP(0x0A000002, FALSE);
        Icom(3).SetCascadeCost(777, FALSE);
        Group(5).SetName(u"Crew", FALSE);
        for (int icom : {0, 30, 31, 40, 63})
            Group(5).SetMember(icom, TRUE, FALSE);
        m_doc.StoreAlpha(CAssign(3, 0, 7), u"MIC");
        m_doc.StoreAlpha(CAssign(3, 7, 100), u"\u00C9cho");
        m_doc.StoreAlpha(CAssign(60, 2, 1), u"LAST");
    }
};

}  // namespace

TEST(SetupFileHeader, LayoutAndCheck) {
    const auto full = MakeFileHeader(u"1.0.0", u"Dec  6 2025", FALSE);
    const std::string text =
        "Kelvardin setup file\r\nCreated with 1.0.0\r\nBuild Date:  Dec  6 2025\r\n";
    EXPECT_EQ(std::string(full.begin(), full.begin() + 68), text);
    EXPECT_EQ(full[68], 0x1A);
    EXPECT_EQ(std::string(full.begin() + 69, full.begin() + 75), "ZUBZUB");
    EXPECT_EQ(full[249], 'Z');  // 180 filler bytes: the cut falls after a whole "ZUB"
    EXPECT_EQ(std::string(full.begin() + 250, full.end()), "-F-EOH");
    const auto partial = MakeFileHeader(u"1.0.0", u"Dec  6 2025", TRUE);
    EXPECT_EQ(std::string(partial.begin() + 250, partial.end()), "-P-EOH");
    // Without version information the line ends at once.
    const auto bare = MakeFileHeader(u"", u"Dec  6 2025", FALSE);
    EXPECT_EQ(std::string(bare.begin() + 22, bare.begin() + 37), "Created with \r\n");
    EXPECT_EQ(bare[63], 0x1A);

    struct Case {
        Bytes bytes;
        BOOL isSetup;
        BOOL partial;
        CString text;
    } cases[] = {
        {Bytes(partial.begin(), partial.end()), TRUE, TRUE, CString::FromUtf8(text)},
        // Only the first nine bytes matter; "P" at 251 makes it partial whatever follows.
        {Text("Kelvardin?") + Bytes(241, 'x') + Text("P") + Bytes(4, 'y'), TRUE, TRUE,
         CString::FromUtf8("Kelvardin?" + std::string(241, 'x') + "Pyyyy")},
        {Text("Kelvardin"), TRUE, FALSE, u"Kelvardin"},
        {Text("kelvardin setup file"), FALSE, FALSE, u"kelvardin setup file"},
    };
    for (const Case& c : cases) {
        CMemFile file(c.bytes);
        CString read;
        BOOL partialRead = 2;
        EXPECT_EQ(CKelvardinDoc::CheckFileHeader(file, &read, &partialRead), c.isSetup);
        EXPECT_EQ(partialRead, c.partial);
        EXPECT_EQ(read, c.text);
        EXPECT_EQ(file.m_reads, std::vector<UINT>{256});
    }
}

TEST_F(SetupFileTest, FullSaveOfTheDefaultSetupByteByByte) {
    m_doc.SetPartialFile(TRUE);
    const Bytes file = Save();
    EXPECT_EQ(TakeUpdates(), (std::vector<Update>{{false, CUpdateHint::kRefresh, 0}}));
    EXPECT_FALSE(m_doc.IsPartialFile());

    CModuleVersionInfo version;
    version.Load();
    EXPECT_EQ(version.GetProductVersion(), CString(KELVARDIN_PRODUCT_VERSION));
    const auto header =
        MakeFileHeader(version.GetProductVersion(), CKelvardinDoc::GetBuildDate(), FALSE);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + kFileHeaderSize),
              Bytes(header.begin(), header.end()));

    const Bytes noAssign{0xFF, 0xFF, 0x0F, 0xFF};
    const Bytes trunk = Repeat(noAssign, 4) + Bytes(16, 0);
    const Bytes icom = Bytes(18, ' ') + Bytes{1, 0xFF} + Bytes(12, 0);
    const Bytes group0 = Text("DefaultGroup") + Bytes{0x7F, 0xFF, 0xFF, 0xFF} + Bytes(16, 0);
    const Bytes group = Text("------------") + Bytes(20, 0);
    const Bytes options = Bytes{1, 0, 0, 0, 0x00, 0x3C} + Bytes(26, 0);
    Bytes names;
    for (const char* name :
         {"Trunks", "Intercoms", "Groups", "Options", "Alphas", "File Signatures",
          "UNICODE Intercom Names", "UNICODE Group Names", "UNICODE Alphas", "Extended Groups"})
        names = names + Text(name, 32);
    const Bytes extended0 = Bytes{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F} + Bytes(28, 0);
    const Bytes extended = Bytes{0x00, 0xFF} + Bytes(32, 0);

    const Bytes trunkBitmap = Bytes(124, 0xFF) + Bytes{0x7F};  // 999 trunks in 125 bytes
    const Bytes signatureBitmap = Bytes{0xFF, 0x03} + Bytes(126, 0);
    const std::vector<Section> expected = {
        {0, 999, 32, trunkBitmap, Repeat(trunk, 999)},
        {1, 31, 32, {0xFF, 0xFF, 0xFF, 0x7F}, Repeat(icom, 31)},
        {2, 20, 32, {0xFF, 0xFF, 0x0F}, group0 + Repeat(group, 19)},
        {3, 1, 32, {0x01}, options},
        {4, 0, 32, {}, {}},
        {5, 1024, 32, signatureBitmap, names},
        {6, 31, 16, {0xFF, 0xFF, 0xFF, 0x7F}, Repeat(Wide(u"        "), 31)},
        {7, 20, 24, {0xFF, 0xFF, 0x0F}, Wide(u"DefaultGroup") + Repeat(Wide(u"------------"), 19)},
        {8, 0, 40, {}, {}},
        {9, 20, 34, {0xFF, 0xFF, 0x0F}, extended0 + Repeat(extended, 19)},
    };
    const std::vector<Section> sections = Sections(file);
    ASSERT_EQ(sections.size(), expected.size());
    size_t length = kFileHeaderSize;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(sections[i] == expected[i]) << "section " << i;
        length += 10 + expected[i].bitmap.size() + expected[i].records.size();
    }
    EXPECT_EQ(file.size(), length);

    // The writer rebuilds the signature texts, indexed by code.
    const auto& texts = m_doc.GetSignatureTexts();
    ASSERT_EQ(texts.size(), 1024u);
    EXPECT_EQ(texts[0], CString(u"Trunks                          "));
    EXPECT_EQ(texts[9], CString(u"Extended Groups                 "));
    EXPECT_TRUE(texts[10].IsEmpty());
}

TEST_F(SetupFileTest, LargeSectionsMoveInPiecesOf65000BytesAtMost) {
    Config().m_wNumTrunks = 2100;
    Reset();
    CMemFile out;
    m_doc.SetFlagOnType(CObjSpec::kTrunk, kInFile, TRUE);
    ASSERT_EQ(m_doc.WriteSetupFile(out, u"A.kvd", TRUE, TRUE), 1);
    // Header, section header, 263 bytes of bitmap, 2031 records of 32 bytes, the other 69.
    EXPECT_EQ(std::vector<UINT>(out.m_writes.begin(), out.m_writes.begin() + 5),
              (std::vector<UINT>{256, 10, 263, 64992, 2208}));

    CMemFile in(out.m_bytes);
    CPartialSaveSelection description;
    ASSERT_EQ(m_doc.ReadSetupFile(description, in, u"A.kvd", FALSE, FALSE), 1);
    EXPECT_EQ(std::vector<UINT>(in.m_reads.begin(), in.m_reads.begin() + 5),
              (std::vector<UINT>{256, 10, 263, 64992, 2208}));
}

// A section cut exactly after a record, at the end of a piece or inside the next: the records
// before the cut are applied and nothing after it.
TEST_F(SetupFileTest, ASectionCutAtARecordBoundaryAppliesTheRecordsBeforeIt) {
    Config().m_wNumTrunks = 2100;
    const auto h = MakeFileHeader(u"1.0.0", u"Dec  6 2025", FALSE);
    const Bytes trunk = Bytes{1, 0, 0, 1} + Bytes(28, 0);
    for (const UINT whole : {2031u, 2036u}) {
        SCOPED_TRACE(whole);
        Reset();
        Bytes records;
        for (UINT i = 0; i < whole; ++i)
            records.insert(records.end(), trunk.begin(), trunk.end());
        Bytes bitmap(263, 0xFF);
        bitmap.back() = 0x0F;
        CMemFile file(Bytes(h.begin(), h.end()) + SectionBytes(0, 2100, 32, bitmap, records));
        CPartialSaveSelection selection;
        m_doc.ReadSetupFile(selection, file, u"A.kvd", FALSE, FALSE);
        EXPECT_EQ(Trunk(static_cast<int>(whole) - 1).GetEndpoint(TRUE).m_number, 1);
        EXPECT_EQ(Trunk(static_cast<int>(whole)).GetEndpoint(TRUE).m_number, 0x0FFF);
    }
}

TEST_F(SetupFileTest, OpenTakesTheFileOverTheLiveCapabilitiesAndSavesItAgain) {
    for (DWORD capabilities : {0u, 0xFFFF0000u}) {
        SCOPED_TRACE(capabilities);
        // The file comes from a controller of other counts with the same capabilities.
        Config().m_wFlags = capabilities ? CCVConfig::kNewCorvane | CCVConfig::kUnicodeSupport : 0;
        SetCapabilities(capabilities);
        m_app.m_bAllocInSeconds = capabilities != 0;
        Config().m_wNumTrunks = 120;
        Config().m_wNumIntercoms = 64;
        Config().m_wNumGroups = 10;
        Reset();
        Populate();
        const Bytes file = Save();

        Config().m_wNumTrunks = 999;
        Config().m_wNumIntercoms = 31;
        Config().m_wNumGroups = 20;
        Config().m_nAlphaSize = capabilities ? 8 : 4;
        Reset();
        CMemFile in(file);
        CPartialSaveSelection selection;
        ASSERT_TRUE(CKelvardinDoc::ReadFileContents(in, selection));
        const CCVConfig& described = selection.GetConfig();
        EXPECT_EQ(std::vector<int>({described.m_wNumTrunks, described.m_wNumIntercoms,
                                    described.m_wNumGroups, described.m_wNumAlphas}),
                  std::vector<int>({120, 64, 10, 3}));
        EXPECT_EQ(described.m_nAlphaSize, Config().m_nAlphaSize);
        EXPECT_EQ(described.m_capabilitySet, Config().m_capabilitySet);
        EXPECT_EQ(selection.GetSectionCount(CObjSpec::kOptions), 1);
        EXPECT_EQ(selection.GetSectionSet(CObjSpec::kController), nullptr);
        EXPECT_EQ(selection.GetSectionSet(CObjSpec::kIntercom)->GetCount(), 64u);
        EXPECT_EQ(selection.GetSignatureSet().GetCount(), 10u);
        EXPECT_FALSE(selection.IsIncluded(CTrunkSpec(120, 1)));
        EXPECT_TRUE(TakeUpdates().empty());  // the pre-read changes nothing

        ASSERT_EQ(m_doc.ReadSetupFile(selection, in, u"A.kvd", TRUE, FALSE), 1);
        EXPECT_EQ(Save(), file);
        EXPECT_EQ(Config().m_wNumTrunks, 120);
        EXPECT_EQ(Trunk(0).GetFixedAssign(FALSE), CAssign(7, 7, 300));
        EXPECT_EQ(Options().GetTimeout(), 7u);
        EXPECT_EQ(Icom(3).GetName(16), CString(u"Fr\u00F6nt\u4E2D  "));
        EXPECT_TRUE(Group(5).IsMember(63));
        EXPECT_EQ(m_doc.FindAlpha(CAssign(60, 2, 1).GetKey())->GetLabel(), CString(u"LAST    "));
        // Addresses and costs live on with the capabilities that carry them.
        EXPECT_EQ(Icom(3).GetBackupIP(), capabilities ? 0x0A000002u : 0u);
        EXPECT_EQ(Icom(3).GetCascadeCost(), capabilities ? 777 : 100);
        EXPECT_EQ(Icom(39).GetCascadeCost(), capabilities ? 400 : 100);
        EXPECT_FALSE(m_doc.HasModifications());
    }
}

TEST_F(SetupFileTest, PartialSaveHoldsTheChosenObjectsAndKeepsTheirMark) {
    Populate();
    m_doc.ClearAllChanges();
    Trunk(5).SetFlags(CCVObject::kPartialChoice, TRUE);
    Icom(3).SetFlags(CCVObject::kPartialChoice, TRUE);
    Group(5).SetFlags(CCVObject::kPartialChoice, TRUE);
    m_doc.SetIcomAlphaFlags(3, 7, CCVObject::kPartialChoice, TRUE);
    Trunk(6).SetFixed(TRUE, TRUE);  // a change outside the choice stays
    const Bytes file = Save(TRUE);
    EXPECT_TRUE(m_doc.IsPartialFile());
    EXPECT_EQ(file[251], 'P');
    EXPECT_EQ(Trunk(6).IsModified(), 0x10u);

    CMemFile in(file);
    CPartialSaveSelection selection;
    ASSERT_TRUE(CKelvardinDoc::ReadFileContents(in, selection));
    EXPECT_EQ(selection.GetSectionSet(CObjSpec::kTrunk)->GetCount(), 1u);
    EXPECT_TRUE(selection.IsIncluded(CTrunkSpec(5, 1)));
    EXPECT_EQ(selection.GetSectionSet(CObjSpec::kOptions)->GetCount(), 0u);
    EXPECT_EQ(selection.GetSectionSet(CObjSpec::kAlpha)->GetCount(), 1u);

    Reset();
    ASSERT_EQ(m_doc.ReadSetupFile(selection, in, u"A.kvd", TRUE, FALSE), 1);
    EXPECT_TRUE(m_doc.IsPartialFile());
    EXPECT_EQ(Trunk(5).GetFlags(), kInFile);
    EXPECT_EQ(Trunk(0).GetFlags(), 0u);
    EXPECT_EQ(Icom(3).GetFlags(), kInFile);
    EXPECT_EQ(Group(5).GetFlags(), kInFile);
    EXPECT_EQ(Options().GetFlags(), 0u);
    EXPECT_TRUE(m_doc.IsAlphaTypeIncluded(3, 7));
    EXPECT_FALSE(m_doc.IsAlphaTypeIncluded(3, 0));
    EXPECT_EQ(m_doc.GetAlphas().size(), 1u);
    // The alpha comes once with its narrow and once with its wide label.
    EXPECT_EQ(TakeUpdates(), (std::vector<Update>{{true, CUpdateHint::kRebuild, 0},
                                                  {true, CUpdateHint::kAlphaStored, 0x03070064},
                                                  {true, CUpdateHint::kAlphaStored, 0x03070064},
                                                  {false, CUpdateHint::kRefresh, 0},
                                                  {false, CUpdateHint::kFileRead, 0}}));

    // Online the file is never taken as partial; after a full file nothing keeps the mark.
    m_app.SetMode(CAppState::kModeOnline);
    ASSERT_EQ(Open(file), 1);
    EXPECT_FALSE(m_doc.IsPartialFile());
    m_app.SetMode(CAppState::kModeFile);
    m_doc.SetPartialFile(TRUE);
    ASSERT_EQ(Open(Save()), 1);
    EXPECT_FALSE(m_doc.IsPartialFile());
    EXPECT_EQ(Trunk(5).GetFlags(), 0u);
    EXPECT_FALSE(m_doc.IsAlphaTypeIncluded(3, 7));
}

TEST_F(SetupFileTest, AlphasOfIntercomsThatAreNotShownAreSavedAndReadLikeAnyOther) {
    Config().m_wNumIntercoms = 64;
    Reset();
    Populate();
    m_app.m_nVisibleIntercoms = 2;
    const Bytes full = Save();
    Reset();
    ASSERT_EQ(Open(full), 1);
    EXPECT_EQ(m_doc.GetAlphas().size(), 3u);
    const CAlpha* last = m_doc.FindAlpha(CAssign(60, 2, 1).GetKey());
    ASSERT_TRUE(last);
    EXPECT_EQ(last->GetLabel(), CString(u"LAST    "));

    // A partial file that held them says so, shown or not.
    m_doc.SetAnyIcomAlphaFlags(60, 2, CCVObject::kPartialChoice, TRUE);
    const Bytes partial = Save(TRUE);
    Reset();
    ASSERT_EQ(Open(partial), 1);
    EXPECT_EQ(m_doc.GetAlphas().size(), 1u);
    EXPECT_TRUE(m_doc.IsAlphaTypeIncluded(60, 2));
    ASSERT_EQ(Open(full), 1);
    EXPECT_FALSE(m_doc.IsAlphaTypeIncluded(60, 2));
}

TEST_F(SetupFileTest, LoadWithMarkChangesExactlyWhatWasRead) {
    SetCapabilities(CCVConfig::kEthernetToMC | CCVConfig::kCascadeCosts);
    Config().m_wNumIntercoms = 64;
    Reset();
    Populate();
    m_doc.ClearAllChanges();
    for (CCVObject* chosen : {static_cast<CCVObject*>(&Trunk(0)), static_cast<CCVObject*>(&Icom(3)),
                              static_cast<CCVObject*>(&Group(5))})
        chosen->SetFlags(CCVObject::kPartialChoice, TRUE);
    const Bytes file = Save(TRUE);

    Reset();
    // A pending user change of a member the file holds: the file replaces it.
    Group(5).SetMember(50, TRUE, TRUE);
    ASSERT_EQ(Open(file, FALSE, TRUE), 1);
    EXPECT_EQ(Trunk(0).IsModified(), 0x3Fu);
    EXPECT_EQ(Trunk(0).GetEndpoint(TRUE), CAssign(2, 1, 5));
    EXPECT_EQ(m_doc.FindModifiedTrunk(), 0);
    EXPECT_EQ(Trunk(1).IsModified(), 0u);
    EXPECT_EQ(Icom(3).IsModified(), 0x3FFu);  // names, baud, COM port, network part, cost
    EXPECT_EQ(Icom(3).GetPrimaryIP(), 0x0A000001u);
    EXPECT_EQ(Icom(2).IsModified(), 0u);
    EXPECT_EQ(m_doc.FindModifiedOptions(), -1);
    for (int icom : {0, 30, 31, 40, 63, 50}) {
        SCOPED_TRACE(icom);
        EXPECT_EQ(Group(5).IsMember(icom), icom != 50);
        EXPECT_TRUE(Group(5).IsModified(CGroup::kFieldFirstMember + icom));
    }
    EXPECT_FALSE(Group(4).IsModified());
    // A partial file read over the setup leaves the partial flag to the setup.
    EXPECT_FALSE(m_doc.IsPartialFile());

    // Without mark the same read changes the values and no change bit.
    Reset();
    ASSERT_EQ(Open(file, FALSE, FALSE), 1);
    EXPECT_FALSE(m_doc.HasModifications());
    EXPECT_TRUE(Group(5).IsMember(63));
}

TEST_F(SetupFileTest, DamagedFilesLoadWhatTheyHoldAndNothingElse) {
    Config().m_wNumTrunks = 4;
    Config().m_wNumIntercoms = 2;
    Config().m_wNumGroups = 2;
    Reset();
    const Bytes header = [] {
        const auto h = MakeFileHeader(u"1.0.0", u"Dec  6 2025", FALSE);
        return Bytes(h.begin(), h.end());
    }();
    const Bytes trunkA = Bytes{1, 0, 0, 1} + Bytes(28, 0);
    const Bytes trunkB = Bytes{1, 0, 0, 2} + Bytes(28, 0);
    const Bytes options = Bytes{9} + Bytes(31, 0);
    const Bytes trunks = SectionBytes(0, 4, 32, {0x05}, trunkA + trunkB);  // trunks 0 and 2
    const Bytes optionSection = SectionBytes(3, 1, 32, {0x01}, options);
    Bytes members(34, 0);
    members[1] = 2;     // two members counted
    members[2] = 0x02;  // intercom 1
    auto timeout = [&] { return Options().GetTimeout(); };
    auto end = [&](int trunk) { return Trunk(trunk).GetEndpoint(TRUE).m_number; };

    struct Case {
        const char* what;
        Bytes file;
        int result;
        WORD end0, end2;
        DWORD timeout;
    } cases[] = {
        {"header only", header, 1, 0x0FFF, 0x0FFF, 1},
        {"not a setup file", Text("Kelvarden") + header, 5, 0x0FFF, 0x0FFF, 1},
        {"whole", header + trunks + optionSection, 1, 1, 2, 9},
        {"an unknown section is skipped",
         header + SectionBytes(10, 12, 7, {0x01, 0x08}, Bytes(14, 0xEE)) + trunks + optionSection,
         1, 1, 2, 9},
        {"longer records are read from their first bytes",
         header +
             SectionBytes(0, 4, 40, {0x05}, trunkA + Bytes(8, 0xEE) + trunkB + Bytes(8, 0xEE)) +
             SectionBytes(3, 1, 1, {0x01}, {9}),
         1, 1, 2, 9},
        {"shorter records are padded with zeros",
         header + SectionBytes(0, 4, 4, {0x05}, {1, 0, 0, 1, 1, 0, 0, 2}) + optionSection, 1, 1, 2,
         9},
        {"records beyond the configured count are dropped in step",
         header + SectionBytes(0, 1000, 32, Bytes(124, 0) + Bytes{0x81}, trunkA + trunkB) +
             optionSection,
         1, 0x0FFF, 0x0FFF, 9},
        {"each section by its own count",
         header + SectionBytes(9, 300, 34, Bytes{0x01} + Bytes(37, 0), members) +
             SectionBytes(9, 2, 34, {0x02}, members) + trunks,
         1, 1, 2, 1},
        // A cut inside a section reads what is whole before it and says the file is incomplete.
        {"cut inside a bitmap", header + Bytes(trunks.begin(), trunks.begin() + 10), 4, 0x0FFF,
         0x0FFF, 1},
        {"cut inside the second record", header + Bytes(trunks.begin(), trunks.end() - 1), 4, 1,
         0x0FFF, 1},
        {"an unknown section running past the end",
         header + trunks + SectionBytes(10, 16, 7, {0x01, 0x80}, Bytes(13, 0xEE)), 4, 1, 2, 1},
        {"an unknown section cut inside its bitmap",
         header + trunks + SectionBytes(10, 64, 7, {0x00, 0x00}, {}), 4, 1, 2, 1},
        {"cut inside a section header",
         header + trunks + Bytes(optionSection.begin(), optionSection.begin() + 9), 4, 1, 2, 1},
        {"cut inside the file header", Bytes(header.begin(), header.begin() + 100), 4, 0x0FFF,
         0x0FFF, 1},
        {"cut after the first byte of a section header",
         header + trunks + Bytes(optionSection.begin(), optionSection.begin() + 1), 4, 1, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reset();
        m_app.m_boxes.clear();
        EXPECT_EQ(Open(c.file), c.result);
        EXPECT_EQ(end(0), c.end0);
        EXPECT_EQ(end(2), c.end2);
        EXPECT_EQ(end(1), 0x0FFF);
        EXPECT_EQ(timeout(), c.timeout);
        EXPECT_TRUE(m_app.m_boxes.empty());
        const auto updates = TakeUpdates();
        ASSERT_GE(updates.size(), 2u);
        EXPECT_EQ(std::vector<Update>(updates.end() - 2, updates.end()),
                  (std::vector<Update>{{false, CUpdateHint::kRefresh, 0},
                                       {false, CUpdateHint::kFileRead, 0}}));
    }
    // Group 0 took its members from the section of 300, group 1 from the section of 2.
    Reset();
    ASSERT_EQ(Open(cases[7].file), 1);
    EXPECT_EQ(Group(0).GetMemberSet().FindNext(0), 1);
    EXPECT_EQ(Group(1).GetMemberSet().FindNext(0), 1);

    // A short signature record is padded; a signature beyond the table is read past.
    Bytes signatures = Bytes(128, 0) + Bytes{0x01};
    signatures[1] = 0x01;  // code 8
    Reset();
    // The signatures list code 8, which never comes.
    ASSERT_EQ(Open(header + SectionBytes(5, 1032, 4, signatures, Text("ABCDWXYZ")) + optionSection),
              4);
    ASSERT_EQ(m_doc.GetSignatureTexts().size(), 9u);
    EXPECT_EQ(m_doc.GetSignatureTexts()[8], CString(u"ABCD" + std::u16string(28, u' ')));
    EXPECT_EQ(timeout(), 9u);
}

TEST_F(SetupFileTest, TheRecordSizeOfASectionSelectsTheFormItIsReadIn) {
    SetCapabilities(CCVConfig::kCascadeCosts);
    Reset();
    const Bytes header = [] {
        const auto h = MakeFileHeader(u"1.0.0", u"Dec  6 2025", FALSE);
        return Bytes(h.begin(), h.end());
    }();
    const Bytes optionSection = SectionBytes(3, 1, 32, {0x01}, Bytes{9} + Bytes(31, 0));
    const Bytes shortIcom =
        Text("ABCDSIXSIXEIGHTEEN") + Bytes{2, 4, 0, 0} + Bytes(8, 0) + Bytes{1, 2};
    Bytes members(34, 0);
    members[1] = 31;
    members[2] = 0x05;  // intercoms 0 and 2
    const Bytes alphaNarrow = Bytes{3, 0, 0, 7} + Text("NARROW") + Bytes(2, ' ');
    const Bytes alphaWide = Bytes{3, 1, 0, 8} + Wide(u"W\u00EFde    ") + Bytes(20, 0);
    // Every section is followed by the options, which must still be found.
    const Bytes file =
        header +
        // Intercoms: 16-byte records are the wide names, 32-byte ones the short form.
        SectionBytes(1, 8, 16, {0x01}, Wide(u"\u4E2Dwide   ")) +
        SectionBytes(6, 8, 32, {0x02}, shortIcom) +
        // Groups: a length none of the forms has reads nothing; 34 the member set, 24 the name.
        SectionBytes(2, 8, 20, {0x01}, Text("NOTANAME") + Bytes(12, 0)) +
        SectionBytes(7, 8, 34, {0x02}, members) +
        SectionBytes(9, 8, 24, {0x04}, Wide(u"Wide group  ")) +
        // Alphas: 40 bytes are wide, any other length narrow, from its first bytes.
        SectionBytes(4, 1, 40, {0x01}, alphaWide) +
        SectionBytes(8, 1, 36, {0x01}, alphaNarrow + Bytes(24, 0xEE)) +
        // A record shorter than its form is read as if padded with zeros, never past itself.
        SectionBytes(1, 8, 8, {0x08}, Text("TINYSIX!")) + optionSection;
    ASSERT_EQ(Open(file), 1);
    EXPECT_EQ(Icom(0).GetName(16), CString(u"\u4E2Dwide   "));
    EXPECT_EQ(Icom(0).GetName(4), CString(u"    "));
    EXPECT_EQ(Icom(1).GetName(4) + Icom(1).GetName(6) + Icom(1).GetName(8),
              CString(u"ABCDSIXSIXEIGHTEEN"));
    EXPECT_EQ(Icom(1).GetName(16), CString(u"        "));
    EXPECT_EQ(Icom(1).GetCascadeCost(), 0x0102);
    EXPECT_EQ(Group(0).GetName(), CString(u"DefaultGroup"));
    EXPECT_TRUE(Group(1).IsMember(0) && Group(1).IsMember(2) && !Group(1).IsMember(1));
    EXPECT_EQ(Group(2).GetName(), CString(u"Wide group  "));
    EXPECT_EQ(m_doc.FindAlpha(CAssign(3, 1, 8).GetKey())->GetLabel(), CString(u"W\u00EFde    "));
    EXPECT_EQ(m_doc.FindAlpha(CAssign(3, 0, 7).GetKey())->GetLabel(), CString(u"NARROW  "));
    EXPECT_EQ(Icom(3).GetName(4), CString(u"TINY"));
    EXPECT_EQ(Icom(3).GetCascadeCost(), 0);
    EXPECT_EQ(Options().GetTimeout(), 9u);
}

TEST_F(SetupFileTest, AHeaderFollowedByNoiseIsReadAsIncomplete) {
    const Bytes whole = Save();
    Bytes noise(whole.begin(), whole.begin() + kFileHeaderSize);
    std::uint32_t seed = 12345;
    for (int i = 0; i < 3000; ++i) {
        seed = seed * 1103515245 + 12345;
        noise.push_back(static_cast<BYTE>(seed >> 16));
    }
    EXPECT_EQ(Open(noise), 4);
    EXPECT_EQ(Open(whole), 1);
}

TEST_F(SetupFileTest, FileErrorsAndLackOfMemoryAreReported) {
    const Bytes good = Save();
    m_doc.SetPartialFile(TRUE);
    TakeUpdates();

    CMemFile full;
    full.m_failWritesFrom = 1000;
    m_doc.SetFlagOnAll(kInFile, TRUE);
    EXPECT_EQ(m_doc.WriteSetupFile(full, u"/tmp/A.kvd", FALSE, TRUE), 2);
    EXPECT_TRUE(m_doc.IsPartialFile());
    EXPECT_EQ(TakeUpdates(), (std::vector<Update>{{false, CUpdateHint::kRefresh, 0}}));

    // Failing inside the intercoms: the trunks read so far stay, with their mark.
    CMemFile denied(good);
    denied.m_failReadsFrom = 32400;
    denied.m_failCause = CFileException::accessDenied;
    CPartialSaveSelection description;
    Trunk(0).SetFixed(TRUE, FALSE);
    EXPECT_EQ(m_doc.ReadSetupFile(description, denied, u"B.kvd", FALSE, FALSE), 2);
    EXPECT_EQ(TakeUpdates(), (std::vector<Update>{{false, CUpdateHint::kRefresh, 0},
                                                  {false, CUpdateHint::kFileRead, 0}}));
    EXPECT_FALSE(Trunk(0).GetFixed());
    EXPECT_EQ(Trunk(0).GetFlags(), kInFile);

    CMemFile exhausted(good);
    exhausted.m_failReadsFrom = 300;
    exhausted.m_failOutOfMemory = true;
    EXPECT_EQ(m_doc.ReadSetupFile(description, exhausted, u"B.kvd", FALSE, FALSE), 3);
    EXPECT_TRUE(m_doc.IsPartialFile());

    EXPECT_EQ(m_app.m_boxes,
              (std::vector<CRecordingApp::Box>{
                  {u"Could not write to file:\n/tmp/A.kvd\nThe disk is full.", MB_OK | MB_ICONSTOP},
                  {u"Could not read from file:\nB.kvd\nThe file could not be accessed.",
                   MB_OK | MB_ICONSTOP},
                  {u"Not enough memory to complete operation!", MB_OK | MB_ICONSTOP}}));

    // The pre-read leaves errors to its caller and empties the set it was reading.
    CMemFile cut(good);
    cut.m_failReadsFrom = 280;
    CPartialSaveSelection selection;
    EXPECT_THROW(CKelvardinDoc::ReadFileContents(cut, selection), CFileException);
    EXPECT_EQ(selection.GetSectionCount(CObjSpec::kTrunk), 0);
}

TEST_F(SetupFileTest, OnlyASaveThatSucceedsTakesTheChangesItHolds) {
    Trunk(0).SetFixed(TRUE, TRUE);
    Options().SetTimeout(7, TRUE);
    Icom(3).SetName(4, u"DESK", TRUE);
    Icom(3).SetName(16, u"Wide", TRUE);
    Group(5).SetName(u"Crew", TRUE);
    Group(5).SetMember(20, TRUE, TRUE);
    auto changes = [&] {
        return std::vector<DWORD>{Trunk(0).IsModified(), Options().IsModified(),
                                  Icom(3).IsModified(), Group(5).IsModified(CGroup::kFieldName),
                                  Group(5).IsModified()};
    };
    const std::vector<DWORD> before = changes();
    ASSERT_EQ(std::count(before.begin(), before.end(), 0u), 0);
    m_doc.SetPartialFile(TRUE);
    m_doc.SetFlagOnAll(kInFile, TRUE);

    // Failing in the records, and failing to make the complete file final.
    CMemFile cut;
    cut.m_failWritesFrom = 20000;
    EXPECT_EQ(m_doc.WriteSetupFile(cut, u"A.kvd", FALSE, TRUE), 2);
    EXPECT_EQ(changes(), before);
    CMemFile unfinished;
    EXPECT_EQ(m_doc.WriteSetupFile(unfinished, u"A.kvd", FALSE, TRUE,
                                   [] { throw CFileException(CFileException::diskFull); }),
              2);
    EXPECT_EQ(changes(), before);
    EXPECT_TRUE(m_doc.IsPartialFile());
    EXPECT_EQ(m_app.m_boxes.size(), 2u);
    EXPECT_EQ(TakeUpdates(), (std::vector<Update>(2, {false, CUpdateHint::kRefresh, 0})));

    // A partial save takes the changes of what it holds, and no others.
    m_doc.SetFlagOnAll(kInFile, FALSE);
    m_doc.SetFlagOnType(CObjSpec::kIntercom, kInFile, TRUE);
    CMemFile partial;
    EXPECT_EQ(m_doc.WriteSetupFile(partial, u"A.kvd", TRUE, TRUE), 1);
    EXPECT_EQ(changes(), (std::vector<DWORD>{before[0], before[1], 0, before[3], before[4]}));
    EXPECT_TRUE(m_doc.IsPartialFile());

    // The file is the same whichever way the changes go.
    m_doc.SetFlagOnAll(kInFile, TRUE);
    CMemFile kept;
    EXPECT_EQ(m_doc.WriteSetupFile(kept, u"A.kvd", FALSE, FALSE), 1);
    EXPECT_EQ(changes(), (std::vector<DWORD>{before[0], before[1], 0, before[3], before[4]}));
    CMemFile full;
    EXPECT_EQ(m_doc.WriteSetupFile(full, u"A.kvd", FALSE, TRUE), 1);
    EXPECT_EQ(full.m_bytes, kept.m_bytes);
    EXPECT_EQ(changes(), std::vector<DWORD>(5, 0));
    EXPECT_FALSE(m_doc.HasModifications());
    EXPECT_FALSE(m_doc.IsPartialFile());
}

TEST_F(SetupFileTest, AFileCutInsideTheExtendedGroupsHeaderIsIncomplete) {
    Config().m_wNumIntercoms = 64;
    Reset();
    for (int icom : {3, 31, 63})
        Group(2).SetMember(icom, TRUE, FALSE);
    const Bytes whole = Save();
    const std::vector<Section> sections = Sections(whole);
    ASSERT_EQ(sections.size(), 10u);
    ASSERT_EQ(sections.back().code, 9);
    const size_t extended =
        whole.size() - 10 - sections.back().bitmap.size() - sections.back().records.size();
    for (size_t cut : {extended + 1, extended + 9}) {
        SCOPED_TRACE(cut);
        Reset();
        EXPECT_EQ(Open(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut))), 4);
        // The 31-intercom mask of the groups section came whole; the rest did not.
        EXPECT_TRUE(Group(2).IsMember(3));
        EXPECT_FALSE(Group(2).IsMember(63));
    }
    // Right before the header the file ends between sections, without the section that its
    // signatures list last.
    EXPECT_EQ(Open(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(extended))), 4);
    EXPECT_FALSE(Group(2).IsMember(63));
    EXPECT_EQ(Open(whole), 1);
    EXPECT_TRUE(Group(2).IsMember(63));
}

TEST_F(SetupFileTest, ALoadThatFailsPartWayIsTakenBackWholeFromASnapshot) {
    Config().m_wNumIntercoms = 64;
    Reset();
    Populate();
    const Bytes file = Save();
    Reset();
    // The setup before the load: unsent edits, an alpha of its own and a file mark.
    Icom(3).SetName(4, u"MINE", TRUE);
    Group(5).SetMember(50, TRUE, TRUE);
    m_doc.StoreAlpha(CAssign(3, 0, 7), u"OWN");
    Trunk(9).SetFlags(kInFile, TRUE);
    CDocSnapshot before(m_doc);

    CMemFile in(file);
    CPartialSaveSelection selection;
    CKelvardinDoc::ReadFileContents(in, selection);
    in.m_failReadsFrom = file.size() - 1;
    ASSERT_EQ(m_doc.ReadSetupFile(selection, in, u"A.kvd", FALSE, TRUE), 2);
    ASSERT_EQ(Icom(3).GetName(4), u"DESK");
    TakeUpdates();

    m_doc.RestoreSnapshot(before);
    EXPECT_EQ(TakeUpdates(), (std::vector<Update>{{true, CUpdateHint::kRebuild, 0}}));
    EXPECT_EQ(Icom(3).GetName(4), u"MINE");
    EXPECT_NE(Icom(3).IsModified(), 0u);
    EXPECT_EQ(Icom(3).GetCascadeCost(), 40);
    EXPECT_EQ(Trunk(0).IsModified(), 0u);
    EXPECT_EQ(Trunk(0).GetEndpoint(TRUE), CAssign());
    EXPECT_TRUE(Group(5).IsModified(CGroup::kFieldFirstMember + 50));
    EXPECT_FALSE(Group(5).IsMember(0));
    EXPECT_NE(Trunk(9).GetFlags() & kInFile, 0u);
    EXPECT_EQ(Trunk(8).GetFlags() & kInFile, 0u);
    // The intercoms list the alphas the document holds, and only those.
    ASSERT_EQ(m_doc.GetAlphas().size(), 1u);
    const std::vector<CAlpha*> listed = Icom(3).GetAlphaList(0);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0], m_doc.FindAlpha(CAssign(3, 0, 7).GetKey()));
    EXPECT_EQ(listed[0]->GetLabel(), PadWithBlanks(u"OWN", CAlpha::kLabelLength));
    EXPECT_TRUE(Icom(3).GetAlphaList(7).empty());
    EXPECT_TRUE(Icom(60).GetAlphaList(2).empty());
}

TEST_F(SetupFileTest, ASnapshotTakesWhatTheControllerSendsExceptOverTheUsersEdits) {
    Config().m_wNumIntercoms = 64;
    Reset();
    Populate();
    const Bytes file = Save();
    // Held: a setup read from a partial file, with an unsent edit of one name.
    Icom(3).SetName(4, u"MINE", TRUE);
    m_doc.SetPartialFile(TRUE);
    CDocSnapshot held(m_doc);
    m_doc.ClearAllChanges();
    TakeUpdates();

    // The controller's values while the command's dialogs are open; only the setup shown is
    // heard of.
    m_doc.SetOptionTimeout(42, FALSE);
    m_doc.SetIcomNameFromController(3, 4, u"CTL3", FALSE);
    m_doc.SetIcomNameFromController(5, 4, u"CTL5", FALSE);
    m_doc.StoreAlpha(CAssign(3, 0, 8), u"NEW");
    m_doc.RemoveAlphasFrom(CAssign(3, 7, 0));
    m_doc.SetTrunkEnd(CAssign(4, 1, 2), TRUE, FALSE, 7);
    m_doc.SetTrunkFixedAssign(CAssign(5, 1, 3), FALSE, FALSE, 7);
    m_doc.SetGroupNameFromController(FALSE, 5, u"Team");
    const BYTE members[] = {0x03};
    m_doc.SetGroupMembersFromController(5, 8, members);
    m_doc.SetDynamicAllocModeFromController(TRUE);
    EXPECT_EQ(
        TakeUpdates(),
        (std::vector<Update>{
            {true, CUpdateHint::kAlphaStored, static_cast<LPARAM>(CAssign(3, 0, 8).GetKey())},
            {true, CUpdateHint::kAlphaRemoved, static_cast<LPARAM>(CAssign(3, 7, 100).GetKey())}}));

    // The command's own read fails after its reset, and the controller goes on.
    CMemFile in(file);
    CPartialSaveSelection selection;
    CKelvardinDoc::ReadFileContents(in, selection);
    in.m_failReadsFrom = kFileHeaderSize + 20;
    ASSERT_EQ(m_doc.ReadSetupFile(selection, in, u"A.kvd", TRUE, FALSE), 2);
    m_doc.StoreAlpha(CAssign(5, 0, 1), u"LATE");
    m_doc.SetTrunkState(5, 0x08);
    // The setup shown counts its own alphas, not the copy's.
    EXPECT_EQ(Config().m_wNumAlphas, 1);

    m_doc.RestoreSnapshot(held);
    EXPECT_EQ(Options().GetTimeout(), 42u);
    EXPECT_EQ(Icom(3).GetName(4), u"MINE");
    EXPECT_EQ(Icom(5).GetName(4), u"CTL5");
    EXPECT_EQ(Trunk(5).GetState(), 0x08u);
    EXPECT_EQ(Trunk(7).GetEndpoint(TRUE), CAssign(4, 1, 2));
    EXPECT_EQ(Trunk(7).GetFixedAssign(FALSE), CAssign(5, 1, 3));
    EXPECT_EQ(Group(5).GetName(), PadWithBlanks(u"Team", CGroup::kNameLength));
    EXPECT_TRUE(Group(5).IsMember(1));
    EXPECT_TRUE(Options().GetDynamicAlloc());
    EXPECT_EQ(Icom(3).GetAlphaList(0).size(), 2u);
    EXPECT_TRUE(Icom(3).GetAlphaList(7).empty());
    // The next save writes what the setup was and counts the alphas it holds.
    EXPECT_TRUE(m_doc.IsPartialFile());
    EXPECT_EQ(Config().m_wNumAlphas, m_doc.GetAlphas().size());
}

TEST_F(SetupFileTest, ASectionThatTheSignaturesListAndThatNeverComesMakesTheFileIncomplete) {
    Config().m_wNumIntercoms = 64;
    Reset();
    Populate();
    const std::vector<Section> sections = Sections(Save());
    ASSERT_EQ(sections.size(), 10u);
    const auto h = MakeFileHeader(u"1.0.0", u"Dec  6 2025", FALSE);
    auto file = [&](const std::vector<WORD>& codes) {
        Bytes bytes(h.begin(), h.end());
        for (WORD code : codes) {
            const Section& s = sections[code];
            bytes = bytes + SectionBytes(s.code, s.count, s.size, s.bitmap, s.records);
        }
        return bytes;
    };
    auto open = [&](const Bytes& bytes) {
        Reset();
        return Open(bytes);
    };
    // Any order is whole; a section missing in the middle is not, and the rest is read.
    EXPECT_EQ(open(file({9, 8, 7, 6, 5, 4, 3, 2, 1, 0})), 1);
    EXPECT_EQ(open(file({0, 1, 3, 4, 5, 6, 7, 8, 9})), 4);
    EXPECT_EQ(Options().GetTimeout(), 7u);
    EXPECT_TRUE(Group(5).IsMember(63));
    EXPECT_TRUE(m_doc.FindAlpha(CAssign(60, 2, 1).GetKey()));
    // Without signatures a file cannot say what it lacks.
    EXPECT_EQ(open(file({0, 1, 2, 3, 4})), 1);
    EXPECT_EQ(open(file({0, 1, 2, 3, 4, 6, 7, 8})), 1);
    EXPECT_EQ(open(file({0, 1, 2, 3, 4, 5})), 4);

    // A listed section that the reader does not know comes when its code does.
    Bytes listed = sections[5].bitmap;
    listed[1] |= 0x04;  // code 10
    const Bytes records = sections[5].records + Text("Later") + Bytes(27, ' ');
    const Bytes signatures = SectionBytes(5, 1024, 32, listed, records);
    const Bytes rest = file({0, 1, 2, 3, 4, 6, 7, 8, 9});
    EXPECT_EQ(open(rest + signatures + SectionBytes(10, 8, 4, {0x01}, Bytes(4, 0))), 1);
    EXPECT_EQ(open(rest + signatures), 4);
}
