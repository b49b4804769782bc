#include "shell/app/screen_table.h"

#include "link/cv_data_mgr.h"
#include "res/command_ids.h"
#include "screens/base/kelvardin_filter_view.h"
#include "screens/console/cmd_line_view.h"
#include "screens/controller_status/cv_status_view.h"
#include "screens/intercoms/icom_alpha_filter_view.h"
#include "screens/intercoms/icom_alphas_view.h"
#include "screens/intercoms/icom_group_view.h"
#include "screens/intercoms/icom_setup_view.h"
#include "screens/intercoms/icom_status_view.h"
#include "screens/log_viewer/log_filter_view.h"
#include "screens/log_viewer/log_view.h"
#include "screens/memory/memory_dump_view.h"
#include "screens/memory/memory_filter_view.h"
#include "screens/trunks/trunk_defs_view.h"
#include "screens/trunks/trunk_inspect_view.h"
#include "screens/trunks/trunk_numb_filter_view.h"
#include "screens/trunks/trunk_opts_view.h"
#include "screens/trunks/trunk_summ_filter_view.h"
#include "screens/trunks/trunk_summ_view.h"
#include "shell/main_frame/main_frame_window.h"

namespace {

// A screen over the main window, with its window made hidden in the parent. The console
// and the log viewer also use the application's folders and save picker.
template <class View>
std::unique_ptr<CView> MakeScreen(CMainFrame& frame, QWidget* parent) {
    IScreenHost& host = frame;
    std::unique_ptr<View> view;
    if constexpr (std::is_constructible_v<View, IScreenHost&, IScreenServices&>) {
        view = std::make_unique<View>(host, frame.GetScreenServices());
    } else {
        view = std::make_unique<View>(host);
    }
    if (!view->Create(WS_CHILD, CRect(0, 0, 200, 200), parent, 0)) return nullptr;
    return view;
}

// A selector pane; the ones that choose something follow the screen's context, the log's
// day selector reads the log folder and the memory selector the controller's memory.
template <class Pane>
std::unique_ptr<CView> MakePane(CMainFrame& frame, QWidget* parent) {
    std::unique_ptr<Pane> pane;
    if constexpr (std::is_constructible_v<Pane, IScreenHost&>) {
        pane = std::make_unique<Pane>(static_cast<IScreenHost&>(frame));
    } else if constexpr (std::is_constructible_v<Pane, IScreenServices&>) {
        pane = std::make_unique<Pane>(frame.GetScreenServices());
    } else if constexpr (std::is_constructible_v<Pane, CCVDataMgr&>) {
        pane = std::make_unique<Pane>(frame.GetDataMgr());
    } else {
        pane = std::make_unique<Pane>();
    }
    if (!pane->Create(&frame, CRect(0, 0, 200, 24), parent, 0)) return nullptr;
    return pane;
}

}  // namespace

// The screens whose views are not listed come with later parts of the program.
const CScreenTable& ScreenTable() {
    static const CScreenTable table = {{
        {0, 2409, ID_VIEW_TRUNK_DEFS, 0, MakeScreen<CTrunkDefsView>,
         MakePane<CTrunkSummFilterView>},
        {1, 2410, ID_VIEW_TRUNK_SUMMARY, 0, MakeScreen<CTrunkSummView>,
         MakePane<CTrunkSummFilterView>},
        {2, 2411, ID_VIEW_TRUNK_OPTIONS, 0, MakeScreen<CTrunkOptsView>,
         MakePane<CKelvardinFilterView>},
        {3, 2412, ID_VIEW_TRUNK_INSPECT, 0, MakeScreen<CTrunkInspectView>,
         MakePane<CTrunkNumbFilterView>},
        {4, 2413, ID_VIEW_ICOM_SETUP, 0, MakeScreen<CIcomSetupView>,
         MakePane<CKelvardinFilterView>},
        {5, 2414, ID_VIEW_ICOM_STATUS, 0, MakeScreen<CIcomStatusView>,
         MakePane<CKelvardinFilterView>},
        {6, 2415, ID_VIEW_ICOM_ALPHAS, 0, MakeScreen<CIcomAlphasView>,
         MakePane<CIcomAlphaFilterView>},
        {7, 2416, ID_VIEW_ICOM_GROUPS, 0, MakeScreen<CIcomGroupView>,
         MakePane<CKelvardinFilterView>},
        {8, 2417, ID_VIEW_MEMORY, ID_VIEW_MEMORY_ALT, MakeScreen<CMemoryDumpView>,
         MakePane<CMemoryFilterView>},
        {9, 2418, ID_VIEW_CLP, 0, MakeScreen<CCmdLineView>, MakePane<CKelvardinFilterView>},
        {10, 2419, ID_VIEW_CV_STATUS, 0, MakeScreen<CCVStatusView>, MakePane<CKelvardinFilterView>},
        {11, 2420, ID_VIEW_LOG_FILE, 0, MakeScreen<CLogView>, MakePane<CLogFilterView>},
    }};
    return table;
}

int ScreenOfCommand(const CScreenTable& table, UINT command) {
    if (command == 0) return -1;
    for (const CScreenDesc& screen : table) {
        if (screen.command == command || screen.altCommand == command) return screen.id;
    }
    return -1;
}
