// Every member of the drawing classes that needs a window: the constructors and
// destructors of the window DCs, CDC::GetWindow, and the image-list drag entry points
// that take a lock window.
//
// Until the window system exists only the screen can be had: CClientDC(NULL) and
// CWindowDC(NULL) take it through GetDC(NULL), a drag locks onto the screen, any window
// handle is refused as invalid, and CPaintDC always fails. The window system's API and
// CWnd live above this unit, so the windows issue moves this one file into the class
// library's core and gives these bodies BeginPaint/EndPaint, GetDC/ReleaseDC,
// GetWindowDC, CWnd::GetSafeHwnd and CWnd::FromHandle.
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/image_list.h"
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

CWnd* CDC::GetWindow() const { return nullptr; }

BOOL CImageList::DragEnter(CWnd* pWndLock, CPoint point) { return ImageList_DragEnter(HwndOf(pWndLock), point.x, point.y); }

BOOL CImageList::DragLeave(CWnd* pWndLock) { return ImageList_DragLeave(HwndOf(pWndLock)); }
