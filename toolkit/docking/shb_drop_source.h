#pragma once
// COXSHBDropSource: the drop source of the toolkit's drag-capable windows (the shortcut-bar
// list, the cool toolbar, the image menus). It decides nothing itself: each callback of
// the drag is first offered to the owner window as a private message whose lParam points
// to a zero-filled SHBDROPSOURCEACTION on the sender's stack. A handler that returns
// non-zero claims the call and leaves its answer in `result`; otherwise the class
// library's default runs.
#include "platform/afx/ole/oledropsource.h"
#include "platform/base/wintypes.h"

class CWnd;

// The drop source's messages (wParam 0, lParam the action record).
inline constexpr UINT SHBDSM_GIVEFEEDBACK = 0x80B3;       // dropEffect; answer: SCODE
inline constexpr UINT SHBDSM_BEGINDRAG = 0x80B4;          // pWnd; answer: BOOL (the drag starts)
inline constexpr UINT SHBDSM_QUERYCONTINUEDRAG = 0x80B5;  // dwKeyState, bEscapePressed; answer: SCODE

// Valid only during the SendMessage that carries it: a receiver must not keep its address.
struct _tagSHBDROPSOURCEACTION {
    CWnd* pWnd;            // the window given to OnBeginDrag; null otherwise
    DWORD dwKeyState;      // MK_* flags of QueryContinueDrag; 0 otherwise
    BOOL bEscapePressed;   // QueryContinueDrag; 0 otherwise
    DROPEFFECT dropEffect; // GiveFeedback; 0 otherwise
    LRESULT result;        // the receiver's answer
};
using SHBDROPSOURCEACTION = _tagSHBDROPSOURCEACTION;

class COXSHBDropSource : public COleDropSource {
public:
    COXSHBDropSource();
    ~COXSHBDropSource() override;

    // The window that receives the messages (not owned); returns the previous one.
    CWnd* SetOwner(CWnd* pOwner);
    CWnd* GetOwner() const { return m_pOwner; }

    SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) override;
    SCODE GiveFeedback(DROPEFFECT dropEffect) override;
    BOOL OnBeginDrag(CWnd* pWnd) override;

    // Sends the message to the owner's window; the handler's return value. Without an
    // owner window nobody claims the call (0), so the defaults run.
    LRESULT SendSHBDSMessage(UINT message, SHBDROPSOURCEACTION* pAction);

protected:
    CWnd* m_pOwner = nullptr;
};
