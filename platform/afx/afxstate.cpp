#include "platform/afx/afxstate.h"

#include "platform/afx/gdi/temp_maps.h"
#include "platform/afx/menu.h"
#include "platform/afx/wnd.h"
#include "platform/base/module.h"

AFX_THREAD_STATE* AfxGetThreadState()
{
    thread_local AFX_THREAD_STATE state;
    return &state;
}

AFX_MODULE_STATE* AfxGetModuleState()
{
    static AFX_MODULE_STATE state;
    return &state;
}

AFX_MODULE_STATE* AfxGetAppModuleState() { return AfxGetModuleState(); }
AFX_MODULE_STATE* AfxGetStaticModuleState() { return AfxGetModuleState(); }

HINSTANCE AfxGetInstanceHandle()
{
    const AFX_MODULE_STATE* state = AfxGetModuleState();
    return state->m_hCurrentInstanceHandle ? state->m_hCurrentInstanceHandle : ::GetModuleHandleW(nullptr);
}

void AfxSetInstanceHandle(HINSTANCE hInstance) { AfxGetModuleState()->m_hCurrentInstanceHandle = hInstance; }

void AfxLockTempMaps() { ++AfxGetThreadState()->m_nTempMapLock; }

BOOL AfxUnlockTempMaps(BOOL bDeleteTemps)
{
    AFX_THREAD_STATE* state = AfxGetThreadState();
    if (state->m_nTempMapLock > 0)
        --state->m_nTempMapLock;
    if (state->m_nTempMapLock != 0 || !bDeleteTemps)
        return FALSE;
    CWnd::DeleteTempMap();
    CMenu::DeleteTempMap();
    zyn::afx::DeleteTempGdiObjects();
    return TRUE;
}
