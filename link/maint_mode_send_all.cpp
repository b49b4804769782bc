#include "link/maint_mode_send_all.h"

#include "link/cv_data_mgr.h"

BOOL CMaintModeSendAll::BuildNext(CMessage& message) {
    const CLinkConfig& config = m_manager.GetLinkConfig();
    return m_manager.MaintModeMgr().BuildRequest(message, config) ||
           m_manager.NormalModeMgr().BuildRequest(message, config);
}

void CMaintModeSendAll::OnSendEnded() {
    m_manager.MaintModeMgr().RemoveAll();
    m_manager.NormalModeMgr().RemoveAll();
}
