// Constructors and destructors of the window DCs. Until the window system exists only
// the screen can be had: CClientDC(NULL) and CWindowDC(NULL) take it through
// GetDC(NULL); any window handle is refused as invalid, and CPaintDC always fails.
// With the window system, these bodies become BeginPaint/EndPaint, GetDC/ReleaseDC
// and GetWindowDC/ReleaseDC on the window's handle.
#include "platform/afx/gdi/window_dc.h"

#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/wingdi.h"

IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

namespace {

// The handle of a window object. No window object can exist before the window system.
HWND HwndOf(CWnd* pWnd)
{
    if (pWnd)
        AfxThrowNotSupportedException(L"window objects need the window system");
    return nullptr;
}

[[noreturn]] void NoWindow()
{
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    AfxThrowResourceException();
}

} // namespace

CPaintDC::CPaintDC(CWnd* pWnd) : CPaintDC(HwndOf(pWnd), HandleTag{}) {}

CPaintDC::CPaintDC(HWND hWnd, HandleTag) : m_hWnd(hWnd) { NoWindow(); }

CPaintDC::~CPaintDC() { Detach(); }

CClientDC::CClientDC(CWnd* pWnd) : CClientDC(HwndOf(pWnd), HandleTag{}) {}

CClientDC::CClientDC(HWND hWnd, HandleTag) : m_hWnd(hWnd)
{
    const HDC h = ::GetDC(m_hWnd);
    if (!h || !Attach(h))
        AfxThrowResourceException();
}

CClientDC::~CClientDC()
{
    if (m_hDC)
        ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* pWnd) : CWindowDC(HwndOf(pWnd), HandleTag{}) {}

CWindowDC::CWindowDC(HWND hWnd, HandleTag) : m_hWnd(hWnd)
{
    if (m_hWnd)
        NoWindow();
    const HDC h = ::GetDC(nullptr);
    if (!h || !Attach(h))
        AfxThrowResourceException();
}

CWindowDC::~CWindowDC()
{
    if (m_hDC)
        ::ReleaseDC(m_hWnd, Detach());
}
