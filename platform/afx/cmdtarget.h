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
//
// A command target is also a COM object when it needs to be one (cmdtarget_com.h tells
// how): one reference count (m_dwRef, 1 for the creator), interfaces from nested parts
// listed in interface maps, and IDispatch once EnableAutomation has been called. The last
// release calls OnFinalRelease, which deletes the object (a window destroys its window
// instead). From the first interface it hands out, or from EnableAutomation, the target
// counts among the live COM objects until it is destroyed, so a test sees one that leaks.
#include <optional>

#include "platform/afx/cmdtarget_com.h"
#include "platform/afx/msgmap.h"
#include "platform/base/object.h"
#include "platform/base/wintypes.h"

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

    // The interface *iid (an IID) of this object, AddRef'd, in *ppvObj: S_OK, or
    // E_NOINTERFACE with *ppvObj null; E_POINTER for a null ppvObj or iid.
    DWORD InternalQueryInterface(const void* iid, LPVOID* ppvObj);
    DWORD ExternalQueryInterface(const void* iid, LPVOID* ppvObj) { return InternalQueryInterface(iid, ppvObj); }
    // The part answering *iid, not AddRef'd; null when none does.
    LPUNKNOWN GetInterface(const void* iid);

    // Makes the object answer IDispatch (from its dispatch map); call in the constructor.
    void EnableAutomation();
    // The object's IDispatch (AddRef'd when asked), or null before EnableAutomation.
    LPDISPATCH GetIDispatch(BOOL bAddRef);
    // The target behind an IDispatch of a command target; null for any other object.
    static CCmdTarget* FromIDispatch(LPDISPATCH lpDispatch);

    LONG m_dwRef = 1;

protected:
    static const AFX_INTERFACEMAP* GetThisInterfaceMap();
    virtual const AFX_INTERFACEMAP* GetInterfaceMap() const;
    static const AFX_DISPMAP* GetThisDispatchMap();
    virtual const AFX_DISPMAP* GetDispatchMap() const;

    // The IDispatch of an automation-enabled target.
    BEGIN_INTERFACE_PART(Dispatch, IDispatch)
        HRESULT GetTypeInfoCount(UINT* pctinfo) override;
        HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
        HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
        HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
            VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
    END_INTERFACE_PART(Dispatch)

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Runs the handler an entry names for a routed command (after OnCmdMsg found it).
    BOOL DispatchCmdEntry(const AFX_MSGMAP_ENTRY& entry, UINT nID, int nCode, void* pExtra,
        AFX_CMDHANDLERINFO* pHandlerInfo);

    friend const AFX_MSGMAP* zyn::afx::MessageMapOf(const CCmdTarget& target);

private:
    // Counts the object among the live COM objects from then on.
    void CountAsComObject();
    const AFX_DISPMAP_ENTRY* FindDispatchEntry(DISPID id) const;

    bool m_bAutomation = false;
    std::optional<zyn::com::LiveToken> m_comLive;
};
