#pragma once
// CCmdTarget: the base of every object that receives commands through a message map
// (windows, documents, templates, threads and the application).
//
// Command routing: a command (menu item, accelerator, toolbar button) or its update
// request (CN_UPDATE_COMMAND_UI with a CCmdUI) is offered to a chain of targets through
// the virtual OnCmdMsg; each target looks in its own message map and, when it has no
// handler, passes the command on. CCmdTarget::OnCmdMsg looks in the object's own map
// only; the window classes extend the chain (a frame asks its active view, the view its
// document, then the frame itself and the application) by overriding OnCmdMsg.
#include "platform/afx/msgmap.h"
#include "platform/base/object.h"
#include "platform/base/wintypes.h"

class CCmdTarget;
class CCmdTarget;
namespace zyn::afx {
// The message map of a target (GetMessageMap is protected).
const AFX_MSGMAP* MessageMapOf(const CCmdTarget& target);
} // namespace zyn::afx

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    ~CCmdTarget() override;

    // Looks for a handler of (nID, nCode) in the message map and runs it. nCode is
    // CN_COMMAND, CN_UPDATE_COMMAND_UI (pExtra: CCmdUI*), a control notification code, or
    // MAKELONG(code, WM_NOTIFY) for a notification (pExtra: AFX_NOTIFY*). With
    // pHandlerInfo, the handler is not run: pHandlerInfo receives the target and the
    // member and the result says whether one exists. TRUE when handled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The wait cursor, counted through the application (CWinApp::DoWaitCursor).
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

    // Reference counting of objects that OLE exposes; OnFinalRelease runs when the count
    // drops to zero and deletes the object.
    DWORD InternalAddRef();
    DWORD InternalRelease();
    DWORD ExternalAddRef() { return InternalAddRef(); }
    DWORD ExternalRelease() { return InternalRelease(); }
    virtual void OnFinalRelease();

    LONG m_dwRef = 1;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Runs the handler an entry names for a routed command (after OnCmdMsg found it).
    BOOL DispatchCmdEntry(const AFX_MSGMAP_ENTRY& entry, UINT nID, int nCode, void* pExtra,
        AFX_CMDHANDLERINFO* pHandlerInfo);

    friend const AFX_MSGMAP* zyn::afx::MessageMapOf(const CCmdTarget& target);
};
