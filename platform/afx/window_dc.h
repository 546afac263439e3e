#pragma once
// The DCs of a window: CPaintDC (BeginPaint/EndPaint, inside WM_PAINT), CClientDC
// (GetDC/ReleaseDC: the client area) and CWindowDC (GetWindowDC/ReleaseDC: the whole
// window). A null window means the screen for CClientDC and CWindowDC. Each
// constructor throws CResourceException when the DC cannot be had.
//
// Each class takes a CWnd* as the class library's do, or a window handle. A handle
// that is not a window makes the constructor throw (the last error says why).
#include <concepts>

#include "platform/afx/gdi/dc.h"
#include "platform/user/user_types.h"

class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* pWnd);
    // A window handle (a template so that CPaintDC(NULL) still means the CWnd* form).
    template <class H>
        requires std::same_as<H, HWND>
    explicit CPaintDC(H hWnd) : CPaintDC(hWnd, HandleTag{})
    {
    }
    ~CPaintDC() override;

    PAINTSTRUCT m_ps{};

protected:
    struct HandleTag {};
    CPaintDC(HWND hWnd, HandleTag);
    HWND m_hWnd = nullptr;
};

class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* pWnd);
    template <class H>
        requires std::same_as<H, HWND>
    explicit CClientDC(H hWnd) : CClientDC(hWnd, HandleTag{})
    {
    }
    ~CClientDC() override;

protected:
    struct HandleTag {};
    CClientDC(HWND hWnd, HandleTag);
    HWND m_hWnd = nullptr;
};

class CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* pWnd);
    template <class H>
        requires std::same_as<H, HWND>
    explicit CWindowDC(H hWnd) : CWindowDC(hWnd, HandleTag{})
    {
    }
    ~CWindowDC() override;

protected:
    struct HandleTag {};
    CWindowDC(HWND hWnd, HandleTag);
    HWND m_hWnd = nullptr;
};
