#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QWidget>

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "link/link_messages.h"
#include "model/kelvardin_doc.h"
#include "platform/ui/ini_profile.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/qt_convert.h"
#include "shell/app/kelvardin_app.h"
#include "shell/main_frame/main_frame.h"
#include "tests/support/modal_script.h"

// A dialog's control by the id its template gives it ("ctl1045").
template <class Control = QWidget>
Control* Ctl(const QWidget& dialog, int id) {
    return dialog.findChild<Control*>(QStringLiteral("ctl%1").arg(id));
}

// Stands in for the main window: a plain top-level widget, its history stacks as flags, a
// scripted current screen, and a link sink that hands replies to the data manager as the main
// window does.
class CFakeMainFrame : public IMainFrame {
public:
    CFakeMainFrame()
        : m_sink([this](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
              if (message == WM_LINK_REPLIES) GetKelvardinApp().GetDataMgr().OnResponse(doc);
              (void)wParam;
              (void)lParam;
              return 0;
          }) {}

    CKelvardinDoc* GetActiveDocument() override { return doc; }
    void AddUndo(std::unique_ptr<CUndoObject>) override {}
    void AddUndoList(std::unique_ptr<CUndoObList>) override {}
    void BeginUndoGroup(bool) override {}
    void TakeBackUndoGroup() override {}
    std::optional<CContext> GetCurrentContext() const override { return std::nullopt; }
    void GoToContext(const CContext&) override {}
    void EmptyForward() override {}
    bool FindGridCell(const CObjSpec&, const CObjSpec&, int&, int&) override { return false; }
    void SelectGridCell(int, int, bool) override {}
    void RepaintCurrentGrid() override {}
    void PostMessage(UINT message, WPARAM wParam, LPARAM) override {
        posted.emplace_back(message, wParam);
    }
    void MessageBeep(UINT type) override { beeps.push_back(type); }
    void SetFrameTitle() override {}
    void EnteredOnlineMode() override {}
    void LinkRestored() override {}
    bool HoldSetupReset() override { return false; }
    QWidget* GetWindow() override { return &window; }
    IMessageSink* GetLinkSink() override { return &m_sink; }
    bool IsStackEmpty(Stack stack) const override { return stackEmpty[size_t(stack)]; }
    LRESULT AskActiveViewForChanges() override {
        ++viewAsked;
        return viewAnswer;
    }
    bool OpenFile(const CString& path) override {
        opened.push_back(path);
        return true;
    }

    QWidget window;
    CKelvardinDoc* doc = nullptr;
    std::vector<std::pair<UINT, WPARAM>> posted;
    std::vector<UINT> beeps;
    std::array<bool, 4> stackEmpty{true, true, true, true};
    LRESULT viewAnswer = 0;
    int viewAsked = 0;
    std::vector<CString> opened;

private:
    CWindowMessageSink m_sink;
};

// The application over a settings file of its own, with the fake main window on request and
// the help calls it makes recorded.
class CTestApp : public CKelvardinApp {
public:
    using CKelvardinApp::CKelvardinApp;

    CFakeMainFrame* AttachFrame() {
        auto frame = std::make_unique<CFakeMainFrame>();
        CFakeMainFrame* raw = frame.get();
        SetMainFrame(std::move(frame));
        return raw;
    }
    void LaunchHelpFile(DWORD data, UINT command) override {
        helpCalls.emplace_back(data, command);
    }

    bool makeFrame = true;
    std::vector<std::pair<DWORD, UINT>> helpCalls;

protected:
    std::unique_ptr<IMainFrame> CreateMainFrame() override {
        return makeFrame ? std::make_unique<CFakeMainFrame>() : nullptr;
    }
};

class ShellTest : public ::testing::Test {
protected:
    CString IniPath() const { return FromQString(dir.filePath("Kelvardin.ini")); }

    QTemporaryDir dir;
    CIniProfile profile{IniPath()};
    CTestApp app{profile};
    // After the application's, so that the script answers before the program's own box.
    CUiEnvironment env;
};
