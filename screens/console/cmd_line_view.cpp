#include "screens/console/cmd_line_view.h"

#include <algorithm>

#include "link/command_codes.h"
#include "link/cv_data_mgr.h"
#include "model/app_state.h"
#include "model/doc_views.h"
#include "model/file_error.h"
#include "platform/base/message_box.h"
#include "platform/base/profile.h"
#include "platform/io/replacing_file.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/sys_info.h"
#include "res/command_ids.h"
#include "res/string_ids.h"
#include "screens/base/screen_host.h"
#include "screens/base/screen_services.h"
#include "screens/console/cmd_line_rules.h"

namespace {

constexpr UINT kMenuId = 137;
constexpr DWORD kHelpId = 0x20000 + ID_VIEW_CLP;
constexpr UINT kHelpContext = 1;
// Lines the command line shows at least, and its frame.
constexpr int kEditLines = 4;
constexpr int kEditFrame = 8;

BOOL ReadFlag(const char16_t* entry, UINT defaultValue) {
    return GetApp().GetProfile().GetProfileInt(CCmdLineView::kSection, entry, defaultValue) != 0
               ? TRUE
               : FALSE;
}

void WriteFlag(const char16_t* entry, BOOL value) {
    GetApp().GetProfile().WriteProfileInt(CCmdLineView::kSection, entry, value ? 1 : 0);
}

}  // namespace

CCmdLineView::CCmdLineView(IScreenHost& host, IScreenServices& services)
    : m_host(host),
      m_services(services),
      m_edit(GetApp().m_clrCLPEditText, GetApp().m_clrCLPEditBackground),
      m_bWrap(ReadFlag(u"WrapLongLines", 1)),
      m_bAutoNXT(ReadFlag(u"AutoNXT", 0)) {}

CCmdLineView::~CCmdLineView() {
    // The children go first: their handlers may still reach the view.
    m_edit.DestroyWindow();
    m_list.DestroyWindow();
    DestroyWindow();
}

CCVDataMgr& CCmdLineView::Data() const {
    return m_host.GetDataMgr();
}

void CCmdLineView::OnInitialUpdate() {
    const LogFont font = GetFixedFont();
    SetFont(font, FALSE);
    if (!m_list.IsWindow()) {
        m_list.SetBackColor(GetApp().m_clrCLPListBackground);
        m_list.Create(CRect(), this, kListId);
        m_list.SetFont(font, FALSE);
        m_list.SetWrap(m_bWrap);
    }
    if (!m_edit.IsWindow()) {
        m_edit.Create(CRect(), this, kEditId);
        m_edit.SetEditFont(font);
    }
    LayOut();
    Refill();
    m_edit.SetFocus();
}

int CCmdLineView::EditHeight() const {
    const TextMetrics metrics = const_cast<CCmdLineView*>(this)->GetDC()->GetTextMetrics();
    return std::max(kEditHeight,
                    kEditLines * (metrics.tmHeight + metrics.tmExternalLeading) + kEditFrame);
}

void CCmdLineView::LayOut() {
    if (!m_list.IsWindow() || !m_edit.IsWindow()) return;
    const CRect client = GetClientRect();
    const int edit = std::min(EditHeight(), client.Height());
    const int list = std::max(client.Height() - edit - kBandHeight, 0);
    m_list.MoveWindow(CRect(0, 0, client.Width(), list));
    m_edit.MoveWindow(CRect(0, client.Height() - edit, client.Width(), client.Height()));
}

void CCmdLineView::OnSize(UINT type, int cx, int cy) {
    CView::OnSize(type, cx, cy);
    LayOut();
}

void CCmdLineView::OnPaint(CDC& dc) {
    // Only the band between the two children shows.
    const CRect client = GetClientRect();
    dc.FillSolidRect(client, GetSysColor(COLOR_BTNFACE));
    if (!m_list.IsWindow()) return;
    CRect list;
    m_list.GetWindowRect(&list);
    ScreenToClient(&list);
    const CRect band(0, list.bottom, client.right, list.bottom + kBandHeight);
    dc.DrawEdge(band, EDGE_RAISED, BF_TOP | BF_BOTTOM);
}

void CCmdLineView::OnSetFocus(CWnd* oldWnd) {
    CView::OnSetFocus(oldWnd);
    if (m_edit.IsWindow()) {
        m_edit.SetFocus();
    } else if (m_list.IsWindow()) {
        m_list.SetFocus();
    }
}

void CCmdLineView::InsertLine(const CString& text, COLORREF color) {
    m_list.SetRedraw(FALSE);
    const int line =
        m_list.InsertItem(std::max(m_list.GetCount() - 1, 0), text, static_cast<LPARAM>(color));
    m_list.SetTopIndex(line);
    m_list.SetRedraw(TRUE);
}

void CCmdLineView::SendCommand() {
    const CString text = m_edit.GetText();
    if (text.GetLength() < cmd_line_rules::kMinCommandLength) return;
    // A command longer than a request can carry, or given while the controller's session is
    // down, stays in the line, unsent.
    if (!Data().SendClpCommand(CLinkSession::Now(), text)) {
        MessageBeep(MB_OK);
        return;
    }
    InsertLine(text, GetApp().m_clrCLPCommandText);
    m_edit.SetText(CString());
    m_nSeen = Data().GetClpHistoryCount();
}

void CCmdLineView::OnReplyLine() {
    const CString reply = Data().GetClpResponse();
    InsertLine(reply, GetApp().m_clrCLPResponseText);
    m_nSeen = Data().GetClpHistoryCount();
    ContinueIfAsked(reply);
}

void CCmdLineView::ContinueIfAsked(const CString& reply) {
    if (!m_bAutoNXT || !cmd_line_rules::WantsNext(reply)) return;
    m_edit.SetText(cmd_line_rules::NextBlockCommand(Data().GetLastClpCommand(),
                                                    GetApp().GetConfig().m_nAlphaSize));
    SendCommand();
}

void CCmdLineView::Refill() {
    if (!m_list.IsWindow()) return;
    CCVDataMgr& data = Data();
    data.FillClpHistory(&m_list);
    m_list.ScrollToEnd();
    const int count = data.GetClpHistoryCount();
    const bool arrived = count > m_nSeen;
    m_nSeen = count;
    // The last line is the controller's latest reply when nothing was sent after it.
    if (arrived && count > 0 &&
        data.GetClpHistoryColour(count - 1) == GetApp().m_clrCLPResponseText &&
        data.GetClpHistoryLine(count - 1) == data.GetClpResponse())
        ContinueIfAsked(data.GetClpResponse());
}

void CCmdLineView::OnUpdate(CView* /*sender*/, LPARAM lHint, void* /*hintObject*/) {
    const auto hint = CUpdateHint::FromParam(lHint);
    if (hint.IsReply(kCmdClp)) {
        OnReplyLine();
    } else if (hint == CUpdateHint::kRefresh) {
        Refill();
    }
}

LRESULT CCmdLineView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case CMultiLineListBox::kTabMessage:
            if (wParam == kListId) {
                m_edit.SetFocus();
            } else {
                m_list.SetFocus();
            }
            return 0;
        case CMultiLineListBox::kReturnMessage:
            m_edit.SetText(m_list.GetText(m_list.GetCurSel()));
            SendCommand();
            return 0;
        case CMultiLineListBox::kRightButtonMessage:
            if (wParam == kListId) ShowHistoryMenu();
            return 0;
        case WM_COMMANDHELP: OnCommandHelp(); return 1;
        default: return CView::WindowProc(message, wParam, lParam);
    }
}

BOOL CCmdLineView::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (id == kListId && code == CMultiLineListBox::kSelChange) {
        m_edit.SetText(m_list.GetText(m_list.GetCurSel()));
        return TRUE;
    }
    if (id == kEditId && code == CCmdLineEdit::kEnterCode) {
        SendCommand();
        return TRUE;
    }
    if (lParam != 0) return CView::OnCommand(wParam, lParam);
    return OnCmdMsg(id, nullptr);
}

BOOL CCmdLineView::OnCmdMsg(UINT id, CCmdUI* update) {
    switch (id) {
        case ID_FILE_PRINT:
        case ID_FILE_PRINT_PREVIEW:
        case ID_FILE_PRINT_DIRECT:
            if (update) {
                update->Enable(GetApp().IsCommandEnabled(id) && Data().GetClpHistoryCount() > 0);
            } else {
                RunPrint(id);
            }
            return TRUE;
        default: return CView::OnCmdMsg(id, update);
    }
}

void CCmdLineView::ShowHistoryMenu() {
    CPopupMenu menu(kMenuId);
    menu.AppendItem(ID_CLP_WRAP_LINES, u"Wrap long lines");
    menu.AppendItem(ID_CLP_AUTO_NXT, u"Auto NXT");
    menu.AppendSeparator();
    menu.AppendItem(ID_CLP_SAVE_HISTORY, u"Save history");
    menu.AppendItem(ID_CLP_CLEAR_HISTORY, u"Clear history");
    menu.Check(ID_CLP_WRAP_LINES, m_bWrap != FALSE);
    menu.Check(ID_CLP_AUTO_NXT, m_bAutoNXT != FALSE);
    RunHistoryCommand(TrackPopupMenu(menu, GetCursorPos(), m_host.GetWindow()));
}

void CCmdLineView::RunHistoryCommand(UINT id) {
    switch (id) {
        case ID_CLP_WRAP_LINES:
            m_bWrap = !m_bWrap;
            WriteFlag(u"WrapLongLines", m_bWrap);
            m_list.SetWrap(m_bWrap);
            LayOut();
            Refill();
            break;
        case ID_CLP_AUTO_NXT:
            m_bAutoNXT = !m_bAutoNXT;
            WriteFlag(u"AutoNXT", m_bAutoNXT);
            break;
        case ID_CLP_SAVE_HISTORY: {
            const std::optional<IScreenServices::SaveChoice> choice = m_services.PickSaveFile(
                kIdsClpSaveTitle, kIdsTextFilter, u"txt", m_services.GetSetupDirectory());
            if (!choice) break;
            if (choice->newDirectory) m_services.SetSetupDirectory(*choice->newDirectory);
            SaveHistory(choice->path);
            break;
        }
        case ID_CLP_CLEAR_HISTORY:
            Data().ClearClpHistory(&m_list);
            m_nSeen = 0;
            break;
        default: break;
    }
}

BOOL CCmdLineView::SaveHistory(const CString& path) {
    CReplacingFile file;
    CFileException error;
    if (!file.Open(path, &error)) {
        ReportFileError(kIdsWriteFailed, path, error);
        return FALSE;
    }
    const CCVDataMgr& data = Data();
    try {
        cmd_line_rules::WriteLines(file.GetFile(), data.GetClpHistoryCount(),
                                   [&data](int n) { return data.GetClpHistoryLine(n); });
        file.Commit();
    } catch (const CFileException& failure) {
        // A file of that name that was there before keeps what it held.
        ReportFileError(kIdsWriteFailed, path, failure);
        return FALSE;
    }
    return TRUE;
}

DWORD CCmdLineView::OnHelpHitTest(CPoint point) const {
    for (const CWnd* child :
         {static_cast<const CWnd*>(&m_list), static_cast<const CWnd*>(&m_edit)}) {
        if (!child->IsWindow()) continue;
        CRect rect;
        child->GetWindowRect(&rect);
        ScreenToClient(&rect);
        if (rect.PtInRect(point)) return (DWORD{ID_VIEW_CLP} << 16) | child->GetDlgCtrlID();
    }
    return 0;
}

void CCmdLineView::OnCommandHelp() {
    m_host.WinHelp(kHelpId, kHelpContext);
}
