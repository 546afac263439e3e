// The members of the drawing classes that need a window: the window DCs, CDC::GetWindow,
// and the image-list drag entry points that take a lock window.
#include "platform/afx/window_dc.h"

#include "platform/afx/gdi/image_list.h"
#include "platform/afx/wnd.h"
#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/paint.h"
#include "platform/user/window.h"

IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

namespace {

[[noreturn]] void NoDc()
{
    if (::GetLastError() == 0)
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    AfxThrowResourceException();
}

} // namespace

CPaintDC::CPaintDC(CWnd* pWnd) : CPaintDC(zyn::afx::SafeHwndOf(pWnd), HandleTag{}) {}

CPaintDC::CPaintDC(HWND hWnd, HandleTag) : m_hWnd(hWnd)
{
    ::SetLastError(0);
    const HDC h = m_hWnd ? ::BeginPaint(m_hWnd, &m_ps) : nullptr;
    if (!h)
        NoDc();
    if (!Attach(h)) {
        ::EndPaint(m_hWnd, &m_ps);
        NoDc();
    }
}

CPaintDC::~CPaintDC()
{
    if (m_hDC) {
        Detach();
        ::EndPaint(m_hWnd, &m_ps);
    }
}

CClientDC::CClientDC(CWnd* pWnd) : CClientDC(zyn::afx::SafeHwndOf(pWnd), HandleTag{}) {}

CClientDC::CClientDC(HWND hWnd, HandleTag) : m_hWnd(hWnd)
{
    ::SetLastError(0);
    const HDC h = ::GetDC(m_hWnd);
    if (!h)
        NoDc();
    if (!Attach(h)) {
        ::ReleaseDC(m_hWnd, h);
        NoDc();
    }
}

CClientDC::~CClientDC()
{
    if (m_hDC)
        ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* pWnd) : CWindowDC(zyn::afx::SafeHwndOf(pWnd), HandleTag{}) {}

CWindowDC::CWindowDC(HWND hWnd, HandleTag) : m_hWnd(hWnd)
{
    ::SetLastError(0);
    // A null window is the screen.
    const HDC h = m_hWnd ? ::GetWindowDC(m_hWnd) : ::GetDC(nullptr);
    if (!h)
        NoDc();
    if (!Attach(h)) {
        ::ReleaseDC(m_hWnd, h);
        NoDc();
    }
}

CWindowDC::~CWindowDC()
{
    if (m_hDC)
        ::ReleaseDC(m_hWnd, Detach());
}

CWnd* CDC::GetWindow() const { return m_hDC ? CWnd::FromHandle(::WindowFromDC(m_hDC)) : nullptr; }

BOOL CImageList::DragEnter(CWnd* pWndLock, CPoint point)
{
    return ImageList_DragEnter(zyn::afx::SafeHwndOf(pWndLock), point.x, point.y);
}

BOOL CImageList::DragLeave(CWnd* pWndLock) { return ImageList_DragLeave(zyn::afx::SafeHwndOf(pWndLock)); }
