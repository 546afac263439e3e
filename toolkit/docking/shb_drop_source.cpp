// COXSHBDropSource.
#include "toolkit/docking/shb_drop_source.h"

#include <cstring>

#include "platform/afx/wnd.h"
#include "platform/user/winuser.h"

namespace {
SHBDROPSOURCEACTION ZeroAction()
{
    SHBDROPSOURCEACTION a;
    std::memset(&a, 0, sizeof a); // padding too: the receiver sees a fully zeroed record
    return a;
}
} // namespace

COXSHBDropSource::COXSHBDropSource() = default;
COXSHBDropSource::~COXSHBDropSource() = default;

CWnd* COXSHBDropSource::SetOwner(CWnd* pOwner)
{
    CWnd* old = m_pOwner;
    m_pOwner = pOwner;
    return old;
}

LRESULT COXSHBDropSource::SendSHBDSMessage(UINT message, SHBDROPSOURCEACTION* pAction)
{
    const HWND owner = zyn::afx::SafeHwndOf(m_pOwner);
    if (!owner || !::IsWindow(owner))
        return 0;
    return ::SendMessageW(owner, message, 0, reinterpret_cast<LPARAM>(pAction));
}

SCODE COXSHBDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState)
{
    SHBDROPSOURCEACTION a = ZeroAction();
    a.dwKeyState = dwKeyState;
    a.bEscapePressed = bEscapePressed;
    if (SendSHBDSMessage(SHBDSM_QUERYCONTINUEDRAG, &a))
        return static_cast<SCODE>(a.result);
    return COleDropSource::QueryContinueDrag(bEscapePressed, dwKeyState);
}

SCODE COXSHBDropSource::GiveFeedback(DROPEFFECT dropEffect)
{
    SHBDROPSOURCEACTION a = ZeroAction();
    a.dropEffect = dropEffect;
    if (SendSHBDSMessage(SHBDSM_GIVEFEEDBACK, &a))
        return static_cast<SCODE>(a.result);
    return COleDropSource::GiveFeedback(dropEffect);
}

BOOL COXSHBDropSource::OnBeginDrag(CWnd* pWnd)
{
    SHBDROPSOURCEACTION a = ZeroAction();
    a.pWnd = pWnd;
    if (SendSHBDSMessage(SHBDSM_BEGINDRAG, &a)) {
        // The owner decided; the buttons still have to be known, or the default
        // QueryContinueDrag would take "no drop button held" for a release and drop at once.
        NoteDragButtons();
        m_bDragStarted = a.result ? TRUE : FALSE;
        return static_cast<BOOL>(a.result);
    }
    return COleDropSource::OnBeginDrag(pWnd);
}
