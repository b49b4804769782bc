#pragma once

#include <vector>

#include "platform/ui/view.h"
#include "screens/console/cmd_line_edit.h"
#include "screens/popups/multi_line_list_box.h"

class CCVDataMgr;
class IScreenHost;
class IScreenServices;

// The command line protocol console: the history of commands and replies above, the command
// line below. A command goes to the controller through the data manager, which keeps the
// history; each reply line comes back as update hint 45. With Auto NXT a reply ending in "&"
// asks for the next block at once. The history can be printed, saved as text and cleared.
class CCmdLineView : public CView {
public:
    static constexpr UINT kListId = 1019;
    static constexpr UINT kEditId = 1046;
    static constexpr int kEditHeight = 97;
    static constexpr int kBandHeight = 7;
    static constexpr char16_t kSection[] = u"Settings\\Command Line Protocol";

    CCmdLineView(IScreenHost& host, IScreenServices& services);
    ~CCmdLineView() override;

    CMultiLineListBox& GetList() { return m_list; }
    CCmdLineEdit& GetEdit() { return m_edit; }
    BOOL GetWrapLongLines() const { return m_bWrap; }
    BOOL GetAutoNXT() const { return m_bAutoNXT; }

    // Sends the command line's text, when it is a command.
    void SendCommand();
    // A command of the history menu: 32913 to 32916.
    void RunHistoryCommand(UINT id);
    // Writes the history as UTF-8 lines ending in CR LF; a failure is shown to the user.
    BOOL SaveHistory(const CString& path);

    // Context help: the child under the point (the console's command in the high word, the
    // child's id in the low one), 0 for none; and the console's own help.
    DWORD OnHelpHitTest(CPoint point) const;
    void OnCommandHelp();

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    void OnPaint(CDC& dc) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSetFocus(CWnd* oldWnd) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* update) override;

    BOOL OnPreparePrinting(CPrintInfo& info) override;
    void OnBeginPrinting(CDC& dc, CPrintInfo& info) override;
    void OnPrint(CDC& dc, CPrintInfo& info) override;
    void OnEndPrinting(CDC& dc, CPrintInfo& info) override;

private:
    CCVDataMgr& Data() const;
    // Inserts the line before the list's last, empty line and scrolls it towards the top.
    void InsertLine(const CString& text, COLORREF color);
    void OnReplyLine();
    // The list shows the history again, scrolled to its end; a block that asked for its
    // successor while the console was hidden gets it now.
    void Refill();
    void ContinueIfAsked(const CString& reply);
    void ShowHistoryMenu();
    void LayOut();
    int EditHeight() const;
    void RunPrint(UINT command);

    IScreenHost& m_host;
    IScreenServices& m_services;
    CMultiLineListBox m_list;
    CCmdLineEdit m_edit;
    BOOL m_bWrap;
    BOOL m_bAutoNXT;
    // The history lines the list has shown.
    int m_nSeen = 0;

    // Printing, from OnBeginPrinting to OnEndPrinting.
    LogFont m_printFont;
    std::vector<int> m_lineHeights;
    std::vector<int> m_pageStarts;
    int m_nLineHeight = 0;
    int m_nLeftMargin = 0;
    int m_nPrintWidth = 0;
    int m_nPageHeight = 0;
};
