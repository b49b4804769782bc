#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <utility>
#include <vector>

#include "model/assign_text.h"
#include "model/bit_array.h"
#include "model/doc_texts.h"
#include "model/doc_views.h"
#include "model/obj_spec.h"
#include "model/records.h"
#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

class CDocSnapshot;
class CFile;
class CPartialSaveSelection;
class IListControl;
class IMemoryPage;
class ISelectAlpha;
struct CAlphaChoice;
class CUndoObject;
class CUndoObList;
class CEditNotices;
class CNewerHolders;
struct CFileSection;
struct CSectionHeader;

// The one document: every record of the current setup, sized by the live controller
// configuration. New, Open and Load reset its content and never replace it. User-interface
// thread only.
class CKelvardinDoc {
public:
    // The alphas by assignment key; walks and written files follow the key order.
    using CAlphaMap = std::map<DWORD, CAlpha>;
    // Answers true for a field whose value a search is to pass over.
    using CHolderTest = std::function<bool(const CObjSpec& holder)>;

    CKelvardinDoc();
    ~CKelvardinDoc();
    CKelvardinDoc(const CKelvardinDoc&) = delete;
    CKelvardinDoc& operator=(const CKelvardinDoc&) = delete;

    // The views that hear update hints and the memory page of the link; either may be absent.
    void SetViews(IDocViews* views) { m_pViews = views; }
    IDocViews* GetViews() const { return m_pViews; }
    void SetMemoryPage(IMemoryPage* page) { m_pMemoryPage = page; }
    // The dialog that picks one of several alphas with the label typed; without one such an
    // edit is abandoned.
    void SetSelectAlpha(ISelectAlpha* dialog) { m_pSelectAlpha = dialog; }

    void UpdateAllViews(CView* sender, CUpdateHint hint, LPARAM object = 0);
    void UpdateAllFrameViews(CView* sender, CUpdateHint hint, LPARAM object = 0);

    // ---- Setup and lookup ---------------------------------------------------------------

    BOOL OnNewDocument() { return ResetToDefaultSetup(); }
    // Rebuilds the default setup from the live configuration and sends the rebuild hint to
    // all views; 0 when a reset is already running.
    BOOL ResetToDefaultSetup();

    // The record an object id names, or null: types 1-4 below the configured count, type 5
    // the alpha of the key.
    CCVObject* FindObject(const CObjSpec& objSpec);
    const CCVObject* FindObject(const CObjSpec& objSpec) const;
    const CAlphaMap& GetAlphas() const { return m_alphas; }

    // ---- Change and file flags ----------------------------------------------------------

    // The field's change bits (non-zero when changed); a memory byte only in ONLINE mode.
    DWORD IsModified(const CObjSpec& objSpec) const;
    void SetModified(const CObjSpec& objSpec, BOOL on);
    void ClearModified(const CObjSpec& objSpec) { SetModified(objSpec, FALSE); }
    // Clears every change bit of the record.
    void ClearObjectModified(const CObjSpec& objSpec);
    void ClearAllModified(int type);
    // After a successful send: trunks, options, intercoms and groups.
    void ClearAllChanges();
    // The lowest index whose record has a change, or -1.
    int FindModifiedTrunk() const;
    int FindModifiedIcom() const;
    int FindModifiedOptions() const;
    int FindModifiedGroup() const;
    BOOL HasModifications() const;

    // Every write that changes a field's value (an edit, a received value, a put-back, a file
    // read) takes the next number; the last one taken.
    std::uint64_t GetLastWrite() const { return m_lastWrite; }
    // The number of the last write that changed the field (CCVObject::GetWriteNumber).
    std::uint64_t GetWriteNumber(const CObjSpec& field) const;

    // ORs bits into or clears them from the flags words of a type; type 5 works on the alpha
    // flag words of every intercom.
    void SetFlagOnType(int type, DWORD bits, BOOL on);
    void SetFlagOnAll(DWORD bits, BOOL on);
    // ORs setBits into every flags word of a type that has any of testBits (type 5: the alpha
    // flag words of every intercom).
    void SetObjectFlags(int type, DWORD testBits, DWORD setBits);
    void SetFlagOnFlagged(DWORD testBits, DWORD setBits);
    // Some bits of every flags word, of the records and of the intercoms' alpha lists, kept to
    // be put back as they were once an operation that moved them has failed.
    struct CFlagMarks {
        DWORD bits = 0;
        std::vector<DWORD> words;
    };
    CFlagMarks SaveFlagMarks(DWORD bits);
    void RestoreFlagMarks(const CFlagMarks& marks);
    // Gives back a copy of the setup (model/doc_snapshot.h) once a command that changed the
    // setup has failed, with what the controller sent while it was held. Sends the rebuild
    // hint.
    void RestoreSnapshot(CDocSnapshot& snapshot);
    // The alpha flag word of one intercom and list index; only below the visible intercoms.
    void SetIcomAlphaFlags(int icom, int index, DWORD bits, BOOL on);
    // The same for any intercom, shown or not.
    void SetAnyIcomAlphaFlags(int icom, int index, DWORD bits, BOOL on);
    // Clears bits from the alpha flag words of the intercoms that are not shown.
    void ClearHiddenAlphaFlags(DWORD bits);
    BOOL IsAlphaTypeIncluded(int icom, int index) const;

    // Status fields that are never edited.
    static BOOL IsReadOnlyObjectID(int fieldId);
    // The compile date as "Mmm dd yyyy".
    static CString GetBuildDate();

    // Set when the file last written or read was a partial save.
    BOOL IsPartialFile() const { return m_bPartialFile; }
    void SetPartialFile(BOOL partial) { m_bPartialFile = partial; }

    // The controller's version text and items (the version reply fills them).
    CString GetCVVersionText() const { return m_versionText; }
    BOOL SetCVVersionText(const CString& text) { return StoreChanged(m_versionText, text); }
    CString GetCVVersionItem(int i) const;
    BOOL SetCVVersionItems(const std::vector<CString>& items) {
        return StoreChanged(m_versionItems, items);
    }

    // The file signatures section's texts and bit set.
    std::vector<CString>& GetSignatureTexts() { return m_signatureTexts; }
    CBitArray& GetSignatureBits() { return m_signatureBits; }

    // ---- Field getters (absent records give fixed answers) ------------------------------

    DWORD IsTrunkModified(int trunk) const;
    DWORD IsTrunkFixedModified(int trunk) const;
    DWORD IsTrunkCascadableModified(int trunk) const;
    DWORD IsTrunkFixedAssignModified(int trunk, BOOL first) const;
    DWORD IsTrunkEndModified(int trunk, BOOL first) const;
    BOOL GetTrunkFixed(int trunk) const;
    BOOL GetTrunkCascadable(int trunk) const;
    const CAssign& GetTrunkEnd(int trunk, BOOL first) const;
    const CAssign& GetTrunkFixedAssign(int trunk, BOOL first) const;
    DWORD IsTrunkInMaintenance(int trunk) const;
    DWORD IsTrunkFlagged(int trunk) const;
    // Whether the trunk has inspection data at all.
    BOOL HasTrunkInspect(int trunk) const;
    // Whether the trunk's inspection names the trunk it is cascaded with.
    BOOL HasCascadeTrunk(int trunk) const;
    const CInspect& GetTrunkInspect(int trunk) const;
    BOOL IsTrunkLinkedToIcom(int trunk, int icom) const;
    // The raw value of a trunk field: the number, state, assignment keys and flags.
    DWORD GetTrunkValue(const CObjSpec& objSpec) const;

    DWORD GetAllocationTimeout() const;
    BOOL GetAutoClearAllocations() const;
    BOOL GetDynamicAllocMode() const;
    BOOL GetWaitForTalkKeyMode() const;
    DWORD IsAllocTimeoutModified() const;
    DWORD IsAutoClearModified() const;
    DWORD IsWaitForTalkKeyModified() const;

    DWORD GetIcomPrimaryAddress(int icom) const;
    DWORD GetIcomBackupAddress(int icom) const;
    int GetIcomBaudRate(int icom) const;
    int GetIcomConnType(int icom) const;
    int GetIcomCascadeCost(int icom) const;
    int GetIcomComPort(int icom) const;
    DWORD GetIcomRemoteTrunkBase(int icom) const;
    BOOL IsRemoteTrunkPort(int icom, int port) const;
    DWORD IsIcomNameModified(int icom, int length) const;
    DWORD IsIcomBaudRateModified(int icom) const;
    DWORD IsIcomComPortModified(int icom) const;
    DWORD IsIcomConnTypeModified(int icom) const;
    DWORD IsIcomSecondAddressModified(int icom) const;  // the primary address
    DWORD IsIcomAddressModified(int icom) const;        // the backup address
    DWORD IsIcomCostModified(int icom) const;
    // The first intercom other than except with the COM port or IP address, passing over the
    // fields skip answers true for; -1 when none.
    int FindIcomByComPort(int port, int except, const CHolderTest& skip = {}) const;
    int FindIcomByAddress(DWORD address, int except, const CHolderTest& skip = {}) const;

    DWORD IsGroupModified(int group) const;
    BOOL IsGroupMember(int group, int icom) const;
    // Copies the member set into a buffer of 32 bytes.
    void GetGroupMemberBits(int group, BYTE* buffer) const;

    // ---- Setters of user edits (user 1) and received values (user 0) --------------------
    // A received value never replaces a field with an unsent change. Each answers 1 when the
    // stored value changed. Received values, and the received status, names, groups and
    // alphas below, also go into every copy of the setup held to be put back.

    BOOL SetTrunkFixed(BOOL fixed, BOOL user, int trunk);
    BOOL SetTrunkCascadable(BOOL cascadable, BOOL user, int trunk);
    BOOL SetTrunkFixedAssign(const CAssign& assign, BOOL isEnd1, BOOL user, int trunk);
    BOOL SetTrunkEnd(const CAssign& assign, BOOL isEnd1, BOOL user, int trunk);
    BOOL SetOptionTimeout(DWORD timeout, BOOL user);
    BOOL SetOptionAutoClear(BOOL on, BOOL user);
    BOOL SetOptionWaitForTalkKey(BOOL on, BOOL user);
    BOOL SetDynamicAllocModeFromController(BOOL on);
    BOOL SetIcomBaudRate(int choice, BOOL user, int icom);
    BOOL SetIcomComPort(int port, BOOL user, int icom);
    BOOL SetIcomConnType(int type, BOOL user, int icom);
    BOOL SetIcomPrimaryIP(DWORD address, BOOL user, int icom);
    BOOL SetIcomBackupIP(DWORD address, BOOL user, int icom);
    BOOL SetIcomCascadeCost(int cost, BOOL user, int icom);
    // A user edit of one membership.
    BOOL SetGroupMember(int group, int icom, BOOL member);

    // Received status; these own no change bits.
    BOOL SetTrunkState(int trunk, DWORD state);
    BOOL SetIcomStatusFlags(int icom, BYTE statusByte);
    BOOL SetIcomModel(int icom, int model);
    BOOL SetIcomStatusNumber(int icom, DWORD number);
    BOOL SetIcomStatusValues(int icom, DWORD byteValue, DWORD wordValue);
    BOOL SetIcomStatusText(int icom, const CString& text);
    BOOL SetIcomRemoteTrunkSet(int icom, const CBitArray& ports);
    BOOL SetIcomRemoteTrunkBase(int icom, DWORD start);
    // which: 0 the first controller, 2 the second (both only with intercom 0), 1 the intercom.
    BOOL SetCommErrors(int icom, int which, const CCommErrs& errors);
    BOOL SetCommStat(int icom, int which, const CCommStat& status);
    // second -1: the controller's own summary for the first intercom; else the entry for the
    // first intercom in the second intercom's table.
    BOOL SetTrunkSummary(int first, int second, const CSummary& summary);
    BOOL SetTrunkInspect(int trunk, const CInspect& inspect);

    // Names from the controller leave a name with an unsent change alone unless mark is set.
    BOOL SetIcomNameFromController(int icom, int length, const CString& name, BOOL mark);
    BOOL SetGroupNameFromController(BOOL force, int group, const CString& name);
    // Memberships of the first n intercoms from a bitmap (bit k: intercom k); a membership
    // with an unsent change keeps the user's value.
    BOOL SetGroupMembersFromController(int group, int n, const BYTE* bits);

    // ---- Alphas -------------------------------------------------------------------------

    // Creates or relabels the alpha of an assignment, or removes it for an empty label; sends
    // the alpha hint to all views. 1 when anything changed.
    BOOL StoreAlpha(const CAssign& assign, const CString& label);
    // StoreAlpha for each label in turn, numbered on from the first assignment's number.
    BOOL StoreAlphas(const CAssign& first, const std::vector<CString>& labels);
    // Removes the alphas of the assignment's intercom and list from its number on.
    BOOL RemoveAlphasFrom(const CAssign& assign);
    CAlpha* FindAlpha(DWORD key);
    const CAlpha* FindAlpha(DWORD key) const;

    // ---- Cached checks ------------------------------------------------------------------

    // The first trunk with an end or PP fixed assignment on a port its intercom reserves for
    // remote trunking; cached until a port set or an assignment changes.
    BOOL FindTrunkOnRemoteTrunkPort(int& trunk);
    void InvalidatePortCheck() { m_portCheck.stale = TRUE; }
    // Whether an end, or a PP fixed assignment, is on a port its intercom reserves for remote
    // trunking.
    BOOL IsOnRemoteTrunkPort(const CAssign& assign, BOOL fixed) const;
    // The two checks over intercom names and remote-trunking start numbers.
    void InvalidateIcomChecks();

    // ---- Display text -------------------------------------------------------------------

    CString GetObjectText(const CObjSpec& objSpec) const;
    CString GetOptionText(const CObjSpec& objSpec) const;
    CString GetTrunkStateText(DWORD state) const;
    CString GetConnTypeText(int type) const;
    CString GetBaudRateText(int choice) const;
    CString GetResourceTypeText(int index) const;
    CString GetIcomModelText(int model) const;
    CString GetRequestStateText(int i) const;
    // "OK" or "Bad" and the code's text.
    CString GetCommStatText(const CCommStat& status) const;
    CString GetGroupName(int group, BOOL trim) const;
    // A negative intercom gives "All Intercoms"; an empty name the port text when asked.
    CString GetIcomText(int icom, int length, BOOL trim, BOOL portText) const;
    CString GetIcomPortText(int icom) const;
    // 1 when the text names a resource type and number the controller takes.
    static BOOL ParseAssignText(const CString& text, int& type, int& number);

    // ---- Edits ------------------------------------------------------------------------------
    // Every edit of a field reaches the setup here: typed, dropped, pasted or picked. The text
    // is checked by the rules of the field; a refused text is reported and changes nothing. 1
    // when a value was stored. With recordUndo 0 no undo record is made and nothing is checked
    // against other fields or followed up.

    BOOL SetObjectField(const CObjSpec& objSpec, const CString& text, BOOL recordUndo,
                        const CObjSpec& fieldSpec = CObjSpec::Plain());
    // Puts back what an undo record kept of the field: a value that was stored can always be
    // stored again, so nothing is checked and nothing follows, and a step goes back whole
    // whatever order its records come in. 1 when the value changed.
    BOOL RestoreObjectField(const CObjSpec& objSpec, const CString& text,
                            const CObjSpec& fieldSpec);
    // A step of Undo or Redo about to put its fields back: the fields, the last write number
    // when the step was made, and the trunk value each held before (0 for other fields).
    struct CPutBack {
        std::vector<CObjSpec> fields;
        std::uint64_t made = 0;
        std::vector<DWORD> before;
    };
    CPutBack BeginPutBack(std::vector<CObjSpec> fields, std::uint64_t made) const;
    // Once the step's fields are back: refuses the step, with the message typed text gets,
    // when a field outside it took after the step was made a port, fixed assignment, COM port
    // or IP address one of them now carries, or the intercom of the other end of an end whose
    // intercom the put-back changed; otherwise tells of the names it put back that another
    // intercom uses, and answers 1.
    BOOL CheckPutBack(const CPutBack& putBack) const;
    // Held while a drag move runs, which clears the fields its cells came from once their text
    // has landed: a value one of those fields holds is free for the move's other fields,
    // whatever order they come in; a value held by any other field is refused as typed text is.
    class CFreedFieldsScope {
    public:
        CFreedFieldsScope(CKelvardinDoc& doc, std::set<CObjSpec::CKey> fields);
        ~CFreedFieldsScope();
        CFreedFieldsScope(const CFreedFieldsScope&) = delete;
        CFreedFieldsScope& operator=(const CFreedFieldsScope&) = delete;

    private:
        CKelvardinDoc& m_doc;
        std::set<CObjSpec::CKey> m_outer;
    };
    // Trunk fields 3-8.
    BOOL SetTrunkField(const CObjSpec& objSpec, const CObjSpec& fieldSpec, const CString& text,
                       BOOL recordUndo);
    // An end (isFixed 0) or fixed assignment of end 1 or end 2, read as the
    // fieldSpec's entry kind says; wasModified is the field's change before the edit.
    BOOL SetTrunkDefinition(int trunk, BOOL isEnd1, BOOL isFixed, const CString& text,
                            const CObjSpec& fieldSpec, BOOL recordUndo, DWORD wasModified);
    // Intercom fields 66-76.
    BOOL SetIcomField(const CObjSpec& objSpec, const CString& text, BOOL recordUndo);
    // Checks and stores one name of the intercom; size 4, 6, 8 or 16 (the wide name).
    BOOL SetIcomName(const CObjSpec& objSpec, int size, const CString& text);
    BOOL SetOptionField(const CObjSpec& objSpec, const CString& text, BOOL recordUndo);
    BOOL SetGroupField(const CObjSpec& objSpec, const CString& text, BOOL recordUndo);
    // A pending write of a controller memory byte, given in hexadecimal.
    BOOL SetMemoryField(const CObjSpec& objSpec, const CString& text, BOOL recordUndo);
    // The two addresses of a device the intercom search found, as one undo step; refused when
    // the device's name is not the intercom's.
    BOOL SetIcomAddresses(int icom, const CString& foundName, const CString& primaryText,
                          const CString& backupText);

    // The first visible intercom other than excludeIcom whose name (of the configured name
    // length) or, with alsoDefaultNames, default name is the text; -1 when none. skip hears
    // each intercom's name field (CIntercom::kFieldName).
    int FindIntercomByText(const CString& text, int excludeIcom, BOOL alsoDefaultNames,
                           const CHolderTest& skip = {}) const;
    CString GetDefaultIcomName(int icom) const { return GetIcomPortText(icom); }
    // Digits only once the blanks around them are removed; an empty text counts (as 0).
    static BOOL IsNumberText(const CString& text);
    // Appends the alphas of the intercom (-1: every visible one) whose label is the text;
    // typeFilter 0 takes PP alphas only, -1 every type. Returns the list's size.
    int FindAlphasByText(int icom, const CString& text, int typeFilter,
                         std::vector<CAlphaChoice>& list) const;
    // The trunk whose end 1, then end 2, carries the assignment, skipping one end of one
    // trunk (excludeEnd1: 1 end 1, 0 end 2) and the ends skip answers true for; -1 when none.
    // isEnd1 tells which end.
    int FindTrunkUsingEnd(const CAssign& assign, int excludeTrunk, BOOL excludeEnd1,
                          BOOL* isEnd1 = nullptr, const CHolderTest& skip = {}) const;
    // The same over the fixed assignments.
    int FindTrunkUsingFixed(const CAssign& assign, BOOL* isEnd1 = nullptr,
                            const CHolderTest& skip = {}) const;
    // The choices of the connection type and baud rate cells; -1 for any other text.
    int ParseConnTypeText(const CString& text) const;
    int ParseBaudRateText(const CString& text) const;

    // ---- Consistency checks -------------------------------------------------------------

    // Whether the field's value is a problem: an end or PP fixed assignment on a port its
    // intercom reserves for remote trunking, or a remote-trunking range past 255.
    BOOL IsFieldProblematic(const CObjSpec& objSpec);
    // The first intercom whose remote-trunking range, S + CountNamedIntercoms() - 1, runs past
    // 255; cached.
    BOOL FindRemoteTrunkRangeOverflow(int& icom);
    // The configured intercoms with a 4-character name; cached.
    int CountNamedIntercoms();

    // ---- Setup files --------------------------------------------------------------------

    // The reader and writer answer a FileResult (model/file_error.h).

    // Writes the header and every section from the objects that carry 0x4000, through a file
    // open for writing at its start, then runs finish, when given, under the same error
    // handling (what makes the file final). Sends the refresh hint. Only a write that
    // succeeded changes the document: the partial-file flag follows partial (outside ONLINE
    // mode) and, with clearAfter, the saved objects lose their change bits.
    int WriteSetupFile(CFile& file, const CString& fileName, BOOL partial, BOOL clearAfter,
                       const std::function<void()>& finish = {});
    // Reads a setup file. With reset the description's configuration becomes the live one and
    // the setup is reset first (Open); with mark every record read counts as changed (Load).
    // Every object read carries 0x4000, which a full file clears again at its end. Sends the
    // refresh and file-read hints. kFileIncomplete when the file ends inside a section, or
    // when a section that its signatures list never comes: what came whole has been read.
    int ReadSetupFile(const CPartialSaveSelection& description, CFile& file,
                      const CString& fileName, BOOL reset, BOOL mark);
    // Describes what a file holds: its counts and which objects it has. 0 when it is not a
    // setup file. Changes nothing in the document; file errors pass to the caller.
    static BOOL ReadFileContents(CFile& file, CPartialSaveSelection& selection);

    // The 256-byte header, "P" at byte 251 for a partial save.
    static void WriteFileHeader(CFile& file, BOOL partial);
    // Reads 256 bytes at the position: 1 when they start with "Kelvardin". The text is what
    // comes before the first 0 or 0x1A byte; partial is 1 when byte 251 is "P".
    static BOOL CheckFileHeader(CFile& file, CString* text, BOOL* partial);
    // Moves past a section's bitmap of count objects and its records; returns how many
    // records were skipped.
    static UINT SkipFileSection(CFile& file, UINT count, UINT recordSize);
    // The same; 0 when the file ends inside the bitmap or the records.
    static BOOL SkipWholeSection(CFile& file, UINT count, UINT recordSize);
    // Reads a section's bitmap of count objects into a set and moves past its records. 0
    // when the file ended inside the bitmap.
    static BOOL ReadSectionBitmap(UINT count, CFile& file, UINT recordSize, CBitArray& set);

    // ---- List fillers -------------------------------------------------------------------

    void FillIcomCombo(IListControl& combo, BOOL selectedEntry, BOOL allEntry, BOOL anyEntry) const;
    void FillIcomList(IListControl& list, BOOL allEntry) const;
    void FillTrunkList(IListControl& list) const;
    void FillTypeList(IListControl& list, BOOL allEntry) const;
    // The choices of a drop-down intercom field (71, 75); 1 when filled.
    BOOL FillChoiceCombo(const CObjSpec& objSpec, IListControl& combo) const;
    // Rows of every record of a type into the chosen list (partial-save choice set) or the
    // available one; column j shows field j, or with a second type and id the field of the
    // record that the column's value names.
    void FillObjectList(int type, std::span<const DWORD> fieldIds, int secondType,
                        std::span<const DWORD> secondIds, IListControl* available,
                        IListControl* chosen) const;
    // The text of one such column: the field, or with a second type and id the field of the
    // record that the field's value names.
    CString GetObjectListText(const CObjSpec& field, int secondType, DWORD secondId) const;

private:
    friend class CDocSnapshot;

    // Stores a value the controller sent: into the setup, then into each copy of it held to
    // be put back. Answers whether the setup's value changed.
    template <class Store>
    BOOL StoreReceived(const Store& store) {
        const BOOL changed = store();
        if (!m_held.empty()) StoreIntoHeld(store);
        return changed;
    }
    template <class Store>
    BOOL StoreValue(BOOL user, const Store& store) {
        return user ? store() : StoreReceived(store);
    }
    void StoreIntoHeld(const std::function<BOOL()>& store);
    // Trades the records and alphas with a held copy.
    void SwapSetup(CDocSnapshot& held);
    // StoreAlpha into the setup alone, for a file read.
    BOOL PutAlpha(const CAssign& assign, const CString& label);
    // StoreAlpha for an intercom already found; pos is at or before where the key belongs in
    // the alpha map and is left past it, so that a run of keys needs one search.
    BOOL StoreAlphaAt(CAlphaMap::iterator& pos, CIntercom& icom, const CAssign& assign,
                      const CString& label);
    struct CCachedCheck {
        BOOL stale = TRUE;
        BOOL found = FALSE;
        int number = -1;
    };

    // Typed lookups: the record when its index is below the configured count.
    CTrunk* FindTrunk(int trunk) { return Mutable(std::as_const(*this).FindTrunk(trunk)); }
    const CTrunk* FindTrunk(int trunk) const;
    COptions* FindOptions() { return Mutable(std::as_const(*this).FindOptions()); }
    const COptions* FindOptions() const;
    CIntercom* FindIcom(int icom) { return Mutable(std::as_const(*this).FindIcom(icom)); }
    const CIntercom* FindIcom(int icom) const;
    CGroup* FindGroup(int group) { return Mutable(std::as_const(*this).FindGroup(group)); }
    const CGroup* FindGroup(int group) const;
    template <class Record>
    static Record* Mutable(const Record* record) {
        return const_cast<Record*>(record);
    }
    // An end or fixed assignment of a trunk; a change makes the remote-trunking port check stale.
    using TrunkAssignSetter = BOOL (CTrunk::*)(BOOL first, const CAssign& assign, BOOL mark);
    BOOL SetTrunkAssign(TrunkAssignSetter set, UINT field, const CAssign& assign, BOOL isEnd1,
                        BOOL user, int trunk);

    // Section writers and readers; a reader answers 0 when the file ended inside its section.
    void WriteSection(CFile& file, const CFileSection& row);
    void WriteSignatureSection(CFile& file);
    // The number of objects a section's bitmap covers when written.
    UINT SectionCount(const CFileSection& row) const;
    // The objects of a section that a save includes, in the order written, with their bits.
    void FindIncluded(int type, UINT count, CBitArray& present, std::vector<CCVObject*>& included);
    void FindIncludedAlphas(UINT count, CBitArray& present, std::vector<CCVObject*>& included);
    // After a complete save: the change bits the saved records carried are cleared.
    void ClearSavedChanges();
    // 0 when the file ends inside a section, or lacks a section that its signatures list.
    BOOL ReadSections(CFile& file, BOOL mark);
    // One section that can be read; the codes its signatures list go into listed.
    BOOL ReadSection(CFile& file, const CFileSection& row, const CSectionHeader& header, BOOL mark,
                     CBitArray& listed);
    // The records have the header's size, which selects their form.
    BOOL ReadSectionRecords(CFile& file, const CFileSection& row, const CSectionHeader& header,
                            BOOL mark);
    BOOL ReadAlphaSection(CFile& file, const CSectionHeader& header, BOOL mark);
    BOOL ReadSignatureSection(CFile& file, UINT fileCount, UINT recordSize, CBitArray& listed);

    // Calls visit(word) with every flags word in a fixed order and stores what it leaves.
    template <class Visit>
    void ForEachFlagWord(Visit visit);
    int FindModified(int type) const;
    void DeleteContents();
    void UpdateAlphaCount();

    // Memory fields: the page when the address lies in it in ONLINE mode.
    const IMemoryPage* FindMemoryPage(DWORD address) const;
    CString GetMemoryText(const CObjSpec& objSpec) const;
    CString GetTrunkText(const CObjSpec& objSpec) const;
    CString GetInspectMark(const CInspect& inspect, int field) const;
    CString GetIcomFieldText(const CObjSpec& objSpec) const;
    CString GetGroupText(const CObjSpec& objSpec) const;
    CString GetAlphaText(const CObjSpec& objSpec) const;
    CString GetControllerText(const CObjSpec& objSpec) const;
    // Edit rules.
    struct CTrunkEdit;
    BOOL SetTrunkFlag(const CObjSpec& objSpec, const CObjSpec& fieldSpec, const CString& text,
                      BOOL recordUndo);
    // The assignment a trunk definition text names; FALSE when refused or abandoned.
    BOOL ReadTrunkAssign(const CTrunkEdit& edit, const CString& text, CAssign& assign,
                         CEditNotices& notices);
    BOOL ReadIcomEntry(const CString& text, CAssign& assign, CEditNotices& notices) const;
    BOOL ReadAlphaEntry(const CTrunkEdit& edit, const CString& text, CAssign& assign);
    BOOL ReadAssignEntry(const CTrunkEdit& edit, const CString& text, CAssign& assign) const;
    BOOL CheckTrunkAssign(const CTrunkEdit& edit, const CAssign& assign,
                          CEditNotices& notices) const;
    // The first trunk whose end, or fixed assignment, holds an assignment among the fields an
    // edit can clash with; -1 when none.
    struct CAssignHolders {
        std::function<int(const CAssign&)> end;
        std::function<int(const CAssign&)> fixed;
    };
    // Refuses an assignment that one of the holders holds already: a port on another end or
    // on a fixed assignment, a fixed assignment (isFixed) on an end.
    static BOOL RefuseHeldAssign(BOOL isFixed, const CAssign& assign,
                                 const CAssignHolders& holders);
    // RestoreObjectField of trunk fields 3-8 and of intercom fields.
    BOOL RestoreTrunkField(const CObjSpec& objSpec, const CString& text, const CObjSpec& fieldSpec);
    BOOL RestoreIcomField(const CObjSpec& objSpec, const CString& text);
    // CheckPutBack of one field; before is the trunk value it held before the put-back.
    BOOL CheckTrunkPutBack(const CObjSpec& field, DWORD before, const CNewerHolders& holders) const;
    BOOL CheckIcomPutBack(const CObjSpec& field, const CNewerHolders& holders,
                          CEditNotices& notices) const;
    // Clears what an edit of the trunk left inconsistent: a fixed assignment on another
    // intercom than its end, and the Fixed and Cascadable flags.
    void FollowTrunkEdit(const CTrunkEdit& edit, CUndoObList* undo);
    // The in-use checks hear only user edits (recordUndo 1), not replays.
    BOOL SetIcomAddress(const CObjSpec& objSpec, const CString& text, BOOL recordUndo);
    BOOL SetIcomComPortText(const CObjSpec& objSpec, const CString& text, BOOL recordUndo);
    BOOL SetIcomCostText(const CObjSpec& objSpec, const CString& text);
    // SetIcomName, with the notices of a stored name collected for the caller.
    BOOL StoreIcomName(const CObjSpec& objSpec, int size, const CString& text,
                       CEditNotices& notices);
    // Brings the other names of the intercom along after a user edit of one of them.
    void SetCompanionNames(const CObjSpec& objSpec, int size, const CString& text,
                           const CString& oldText, CUndoObList& undo, CEditNotices& notices);
    // The intercom's number as messages show it, with its name when it has one.
    CString IcomLabel(int icom) const;
    // Whether the edit in progress takes the value away from the field that holds it, so that
    // the checks of a value already in use pass it (CFreedFieldsScope).
    bool IsFreedByEdit(const CObjSpec& holder) const;
    CHolderTest FreedByEdit() const {
        return [this](const CObjSpec& holder) { return IsFreedByEdit(holder); };
    }

    // The intercoms of the combo and list, with the configured name length.
    void AddIcomItems(IListControl& control) const;

    std::vector<std::unique_ptr<CTrunk>> m_trunks;
    std::vector<std::unique_ptr<COptions>> m_options;
    std::vector<std::unique_ptr<CIntercom>> m_intercoms;
    std::vector<std::unique_ptr<CGroup>> m_groups;
    CAlphaMap m_alphas;

    CString m_versionText;
    std::vector<CString> m_versionItems;
    std::vector<CString> m_signatureTexts;
    CBitArray m_signatureBits{14};
    BOOL m_bPartialFile = FALSE;

    CCachedCheck m_portCheck;       // trunk on a remote-trunking port
    CCachedCheck m_rangeCheck;      // remote-trunking range overflow
    CCachedCheck m_namedIcomCount;  // intercoms with a name

    const CDocTexts m_texts;
    // The copies of the setup held to be put back, oldest first; not owned.
    std::vector<CDocSnapshot*> m_held;
    IDocViews* m_pViews = nullptr;
    IMemoryPage* m_pMemoryPage = nullptr;
    ISelectAlpha* m_pSelectAlpha = nullptr;
    // The fields the edit in progress rewrites.
    std::set<CObjSpec::CKey> m_freed;
    std::uint64_t m_lastWrite = 0;
};
