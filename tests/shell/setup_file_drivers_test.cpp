#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "model/file_error.h"
#include "model/partial_save_selection.h"
#include "model/snmp_config.h"
#include "platform/base/message_box.h"
#include "shell/io/setup_file_drivers.h"
#include "shell/io/snmp_config_file.h"
#include "tests/model/doc_fixture.h"
#include "tests/support/file_size_limit.h"

namespace fs = std::filesystem;
using Box = CRecordingApp::Box;

namespace {

// The one rename that the file system refuses while a test says so, as a folder whose rules
// forbid moving that file would; without a source, any rename onto the target.
std::pair<std::string, std::string>& RefusedRename() {
    static std::pair<std::string, std::string> refused;
    return refused;
}

struct CRefusedRename {
    CRefusedRename(const fs::path& from, const fs::path& to) {
        RefusedRename() = {from.string(), to.string()};
    }
    ~CRefusedRename() { RefusedRename() = {}; }
    CRefusedRename(const CRefusedRename&) = delete;
    CRefusedRename& operator=(const CRefusedRename&) = delete;
};

}  // namespace

// Every rename of the program under test comes here first.
extern "C" int rename(const char* from, const char* to) noexcept {
    const auto& [refusedFrom, refusedTo] = RefusedRename();
    if (refusedTo == to && (refusedFrom.empty() || refusedFrom == from)) {
        errno = EPERM;
        return -1;
    }
    return ::renameat(AT_FDCWD, from, AT_FDCWD, to);
}

namespace {

std::string Content(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Put(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

class SetupFileDriverTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        std::string made = (fs::temp_directory_path() / "kelvardin_save_XXXXXX").string();
        ASSERT_TRUE(::mkdtemp(made.data()));
        m_dir = made;
        m_doc.SetFlagOnAll(CCVObject::kInFile, TRUE);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    CString Path(const char* name) const { return CString::FromUtf8((m_dir / name).string()); }
    BOOL Save(const char* name) { return SaveSetupFile(m_doc, Path(name), TRUE, FALSE); }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir))
            names.insert(entry.path().filename().string());
        return names;
    }
    std::vector<Box> TakeBoxes() { return std::exchange(m_app.m_boxes, {}); }

    fs::path m_dir;
};

bool IsSetupFile(const fs::path& path) {
    return Content(path).starts_with("Kelvardin setup file");
}

}  // namespace

TEST_F(SetupFileDriverTest, BackupsAreMadeReplacedAndAskedAbout) {
    for (auto [path, backup] : {std::pair{u"/d/a.kvd", u"/d/a.BAK"},
                                {u"/d/a.b.c", u"/d/a.b.BAK"},
                                {u"/d.x/a", u"/d.x/a.BAK"},
                                {u"/d/.kvd", u"/d/.kvd.BAK"}})
        EXPECT_EQ(BackupPathOf(path), CString(backup));

    for (const char* name : {"A.kvd", "B.bak", "C.kvd", "D.kvd"})
        Put(m_dir / name, "old");
    Put(m_dir / "A.BAK", "older");
    fs::create_directories(m_dir / "C.BAK" / "in");
    ::chmod((m_dir / "D.kvd").c_str(), 0444);
    EXPECT_TRUE(Save("A.kvd"));
    m_app.m_answer = IDNO;
    EXPECT_FALSE(Save("B.bak"));  // a backup of a backup is asked about
    EXPECT_FALSE(Save("C.kvd"));  // so is a backup that cannot be made
    EXPECT_FALSE(Save("D.kvd"));  // a read-only file gets no backup and is not written
    m_app.m_answer = IDYES;
    EXPECT_TRUE(Save("B.bak"));
    EXPECT_EQ(Content(m_dir / "A.BAK"), "old");
    EXPECT_TRUE(IsSetupFile(m_dir / "A.kvd") && IsSetupFile(m_dir / "B.bak"));
    EXPECT_EQ(Content(m_dir / "C.kvd") + Content(m_dir / "D.kvd"), "oldold");
    const Box bak{
        u"Can't create backup file for file with .BAK extension.\nDo you want to save "
        u"anyway?",
        MB_YESNO | MB_ICONQUESTION};
    const CString denied = u"\nThe file could not be accessed.";
    EXPECT_EQ(TakeBoxes(),
              (std::vector<Box>{
                  bak,
                  {u"Could not create backup file:\n" + Path("C.BAK") + denied +
                       u"\nDo you want to save anyway?",
                   MB_YESNO | MB_ICONSTOP},
                  {u"Could not write to file:\n" + Path("D.kvd") + denied, MB_OK | MB_ICONSTOP},
                  bak}));

    // Without backups none is made; the file keeps its permissions.
    m_app.m_bCreateBAKFiles = FALSE;
    ::chmod((m_dir / "A.kvd").c_str(), 0640);
    EXPECT_TRUE(Save("A.kvd"));
    EXPECT_EQ(fs::status(m_dir / "A.kvd").permissions(), fs::perms(0640));
    EXPECT_EQ(Names(),
              (std::set<std::string>{"A.kvd", "A.BAK", "B.bak", "C.BAK", "C.kvd", "D.kvd"}));
}

TEST_F(SetupFileDriverTest, ASaveThatFailsHalfWayLeavesThePreviousContent) {
    Put(m_dir / "A.kvd", "old A");
    Put(m_dir / "B.kvd", "old B");
    Put(m_dir / "B.BAK", "older B");
    m_doc.SetPartialFile(TRUE);
    CIntercom& icom = dynamic_cast<CIntercom&>(*m_doc.FindObject(CIcomSpec(2, 1)));
    icom.SetName(4, u"DESK", TRUE);
    {
        // The default setup takes far more than this.
        CFileSizeLimit limit(4096);
        m_app.m_bCreateBAKFiles = FALSE;
        EXPECT_FALSE(Save("A.kvd"));
        EXPECT_FALSE(Save("New.kvd"));
        m_app.m_bCreateBAKFiles = TRUE;
        EXPECT_FALSE(Save("B.kvd"));
    }
    // The file moved to its backup by the failed save is back under its own name, and the
    // backup of the save before is back under its own.
    EXPECT_EQ(Content(m_dir / "A.kvd"), "old A");
    EXPECT_EQ(Content(m_dir / "B.kvd"), "old B");
    EXPECT_EQ(Content(m_dir / "B.BAK"), "older B");
    EXPECT_EQ(Names(), (std::set<std::string>{"A.kvd", "B.kvd", "B.BAK"}));
    // The setup still has what was not saved.
    EXPECT_TRUE(icom.IsModified());
    EXPECT_TRUE(m_doc.IsPartialFile());
    EXPECT_TRUE(Save("B.kvd"));
    EXPECT_FALSE(icom.IsModified());
    EXPECT_FALSE(m_doc.IsPartialFile());
    EXPECT_EQ(Content(m_dir / "B.BAK"), "old B");
    fs::remove(m_dir / "B.BAK");
    const std::vector<Box> boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text,
              u"Could not write to file:\n" + Path("A.kvd") + u"\nThe disk is full.");
    EXPECT_EQ(boxes[2].text,
              u"Could not write to file:\n" + Path("B.kvd") + u"\nThe disk is full.");

    // A save that made no backup moves no backup of an earlier save back.
    Put(m_dir / "A.BAK", "older A");
    {
        CFileSizeLimit limit(4096);
        m_app.m_bCreateBAKFiles = FALSE;
        EXPECT_FALSE(Save("A.kvd"));
        m_app.m_bCreateBAKFiles = TRUE;
    }
    EXPECT_EQ(Content(m_dir / "A.kvd") + "|" + Content(m_dir / "A.BAK"), "old A|older A");
    fs::remove(m_dir / "A.BAK");
    TakeBoxes();

    // An SNMP configuration file likewise, written whole or not put in its place: its changes
    // stay to be saved.
    Put(m_dir / "S.kvn", "old S");
    CSNMPConfig config;
    config.SetName(u"Nord", TRUE);
    CString error;
    {
        CFileSizeLimit limit(600);
        EXPECT_FALSE(WriteSNMPConfigFile(Path("S.kvn"), config, TRUE, error));
    }
    {
        CRefusedRename refused({}, m_dir / "S.kvn");
        EXPECT_FALSE(WriteSNMPConfigFile(Path("S.kvn"), config, TRUE, error));
    }
    EXPECT_TRUE(config.IsModified());
    EXPECT_EQ(Content(m_dir / "S.kvn"), "old S");
    EXPECT_EQ(Names(), (std::set<std::string>{"A.kvd", "B.kvd", "S.kvn"}));
}

// The backup of the save before is moved aside before the file takes its name; when the file
// cannot be moved, the save may go on without a backup, but the older one stays.
TEST_F(SetupFileDriverTest, ASaveWithoutTheBackupItCouldNotMakeKeepsTheOlderBackup) {
    Put(m_dir / "A.kvd", "old");
    Put(m_dir / "A.BAK", "older");
    m_app.m_answer = IDYES;  // save anyway
    {
        CRefusedRename refused(m_dir / "A.kvd", m_dir / "A.BAK");
        EXPECT_TRUE(Save("A.kvd"));
    }
    EXPECT_TRUE(IsSetupFile(m_dir / "A.kvd"));
    EXPECT_EQ(Content(m_dir / "A.BAK"), "older");
    EXPECT_EQ(Names(), (std::set<std::string>{"A.kvd", "A.BAK"}));
    EXPECT_EQ(TakeBoxes(),
              (std::vector<Box>{{u"Could not create backup file:\n" + Path("A.BAK") +
                                     u"\nThe file could not be accessed.\nDo you want to save "
                                     u"anyway?",
                                 MB_YESNO | MB_ICONSTOP}}));
}

TEST_F(SetupFileDriverTest, LoadAndPreReadAnswerWithTheirMessages) {
    ASSERT_TRUE(Save("A.kvd"));
    Put(m_dir / "text.kvd", "not a setup");
    CPartialSaveSelection selection;
    EXPECT_EQ(ReadSetupFileContents(Path("A.kvd"), selection), kFileDone);
    EXPECT_EQ(selection.GetSectionSet(CObjSpec::kTrunk)->GetCount(), 999u);
    EXPECT_EQ(ReadSetupFileContents(Path("text.kvd"), selection), kFileNotSetup);
    EXPECT_EQ(ReadSetupFileContents(Path("none.kvd"), selection), kFileFailed);
    EXPECT_EQ(ReadSetupFileContents(CString::FromUtf8(m_dir.string()), selection), kFileFailed);

    EXPECT_EQ(LoadSetupFile(m_doc, Path("A.kvd"), 1, selection), kFileDone);
    EXPECT_TRUE(m_doc.HasModifications());
    EXPECT_EQ(LoadSetupFile(m_doc, Path("A.kvd"), 0, selection), kFileDone);
    EXPECT_FALSE(m_doc.HasModifications());
    EXPECT_EQ(LoadSetupFile(m_doc, Path("none.kvd"), 0, selection), kFileFailed);
    // A file cut short loads what it holds whole and says it is incomplete.
    const std::string whole = Content(m_dir / "A.kvd");
    Put(m_dir / "cut.kvd", whole.substr(0, whole.size() - 100));
    EXPECT_EQ(LoadSetupFile(m_doc, Path("cut.kvd"), 0, selection), kFileIncomplete);
    EXPECT_EQ(LoadSetupFile(m_doc, Path("text.kvd"), 1, selection), kFileNotSetup);
    const Box missing{u"Could not open file:\n" + Path("none.kvd") + u"\nThe file was not found.",
                      MB_OK | MB_ICONSTOP};
    const Box notSetup{u"The file is not a setup file:\n" + Path("text.kvd"), MB_OK | MB_ICONSTOP};
    EXPECT_EQ(TakeBoxes(), (std::vector<Box>{
                               notSetup,
                               missing,
                               {u"Could not read from file:\n" + CString::FromUtf8(m_dir.string()) +
                                    u"\nThe file could not be accessed.",
                                MB_OK | MB_ICONSTOP},
                               missing,
                               {u"The setup file is incomplete or damaged:\n" + Path("cut.kvd") +
                                    u"\nSome of its records were not read.",
                                MB_OK | MB_ICONEXCLAMATION},
                               notSetup}));
}

TEST_F(SetupFileDriverTest, ASaveThroughALinkWritesTheFileItNamesWithItsBackupBesideIt) {
    fs::create_directories(m_dir / "real");
    fs::create_directories(m_dir / "links");
    Put(m_dir / "real" / "R.kvd", "old R");
    fs::create_symlink("../real/R.kvd", m_dir / "links" / "S.kvd");
    fs::create_symlink("links/S.kvd", m_dir / "T.kvd");
    auto isLink = [&](const char* name) { return fs::is_symlink(m_dir / name); };

    EXPECT_TRUE(Save("links/S.kvd"));
    EXPECT_TRUE(isLink("links/S.kvd"));
    EXPECT_TRUE(IsSetupFile(m_dir / "real" / "R.kvd"));
    EXPECT_EQ(Content(m_dir / "real" / "R.BAK"), "old R");
    // A chain of links, the second relative to its own folder.
    const std::string first = Content(m_dir / "real" / "R.kvd");
    EXPECT_TRUE(Save("T.kvd"));
    EXPECT_TRUE(isLink("T.kvd") && isLink("links/S.kvd"));
    EXPECT_EQ(Content(m_dir / "real" / "R.BAK"), first);
    EXPECT_EQ(Names(), (std::set<std::string>{"links", "real", "T.kvd"}));

    // A link to nothing yet makes the file it names; one into no folder, or a loop of links,
    // writes nothing and says so.
    fs::create_symlink("real/New.kvd", m_dir / "N.kvd");
    fs::create_symlink("nowhere/X.kvd", m_dir / "X.kvd");
    fs::create_symlink("L2.kvd", m_dir / "L1.kvd");
    fs::create_symlink("L1.kvd", m_dir / "L2.kvd");
    EXPECT_TRUE(Save("N.kvd"));
    EXPECT_TRUE(isLink("N.kvd") && IsSetupFile(m_dir / "real" / "New.kvd"));
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_FALSE(Save("X.kvd"));
    EXPECT_FALSE(Save("L1.kvd"));
    EXPECT_TRUE(isLink("X.kvd") && isLink("L1.kvd") && isLink("L2.kvd"));
    EXPECT_FALSE(fs::exists(m_dir / "nowhere"));
    const std::vector<Box> boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[0].text.str().starts_with(u"Could not write to file:\n" +
                                                Path("nowhere/X.kvd").str() + u"\n"));
    EXPECT_TRUE(
        boxes[1].text.str().starts_with(u"Could not write to file:\n" + Path("L1.kvd").str()));
}
