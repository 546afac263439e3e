#include "platform/afx/cmdtarget.h"

#include "platform/afx/winapp.h"
#include "platform/base/interlocked.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget() = default;
CCmdTarget::~CCmdTarget() = default;

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, zyn::afx::AfxSig_end, nullptr, {nullptr}}};
    static zyn::afx::MsgMapCache cache;
    static const AFX_MSGMAP map = {nullptr, &entries[0], &cache};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* zyn::afx::MessageMapOf(const CCmdTarget& target) { return target.GetMessageMap(); }

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // Notifications and reflected commands carry their message in the high word of the
    // code; plain commands and control notifications are WM_COMMAND.
    UINT nMsg = 0;
    UINT code = static_cast<UINT>(nCode);
    if (nCode != CN_UPDATE_COMMAND_UI) {
        nMsg = HIWORD(code);
        code = LOWORD(code);
    }
    if (nMsg == 0)
        nMsg = WM_COMMAND;
    const AFX_MSGMAP_ENTRY* entry = zyn::afx::FindMessageEntry(GetMessageMap(), nMsg, code, nID);
    if (!entry)
        return FALSE;
    return DispatchCmdEntry(*entry, nID, static_cast<int>(code), pExtra, pHandlerInfo);
}

BOOL CCmdTarget::DispatchCmdEntry(const AFX_MSGMAP_ENTRY& entry, UINT nID, int nCode, void* pExtra,
    AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (pHandlerInfo) {
        // Only asked whether a handler exists.
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pmf = entry.pfn;
        return TRUE;
    }
    zyn::afx::MsgCall call;
    call.nID = nID;
    call.nCode = nCode;
    call.pExtra = pExtra;
    return entry.pfnThunk(this, entry.pfn, call);
}

void CCmdTarget::BeginWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(0);
}

DWORD CCmdTarget::InternalAddRef() { return static_cast<DWORD>(InterlockedIncrement(&m_dwRef)); }

DWORD CCmdTarget::InternalRelease()
{
    const LONG left = InterlockedDecrement(&m_dwRef);
    if (left == 0)
        OnFinalRelease();
    return static_cast<DWORD>(left);
}

void CCmdTarget::OnFinalRelease() { delete this; }
