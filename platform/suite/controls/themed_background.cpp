#include "platform/suite/controls/themed_background.h"

#include "platform/afx/gdi/dc.h"
#include "platform/afx/wnd.h"
#include "platform/base/module.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/winuser.h"

namespace Zyn::Ctl {

ThemedControlBackgroundHelper::~ThemedControlBackgroundHelper() { FreeBrush(); }

void ThemedControlBackgroundHelper::SetParent(CWnd* pParent)
{
    if (pParent != m_pParent)
        FreeBrush();
    m_pParent = pParent;
}

bool ThemedControlBackgroundHelper::IsThemeActive()
{
    if (!m_themeActive) {
        bool active = false;
        if (const HMODULE hUxTheme = LoadLibraryW(L"UxTheme.dll")) {
            using IsThemeActiveFn = BOOL (*)();
            if (const auto fn = reinterpret_cast<IsThemeActiveFn>(GetProcAddress(hUxTheme, "IsThemeActive")))
                active = fn() != FALSE;
            FreeLibrary(hUxTheme);
        }
        m_themeActive = active;
    }
    return *m_themeActive;
}

void ThemedControlBackgroundHelper::MarkThemeChanged()
{
    m_themeActive.reset();
    FreeBrush();
}

void ThemedControlBackgroundHelper::FreeBrush()
{
    if (m_hBrush)
        DeleteObject(m_hBrush);
    if (m_hBitmap)
        DeleteObject(m_hBitmap);
    m_hBrush = nullptr;
    m_hBitmap = nullptr;
    m_size = CSize(0, 0);
}

bool ThemedControlBackgroundHelper::MakeBrush(HWND hParent, const CSize& size)
{
    FreeBrush();
    if (size.cx <= 0 || size.cy <= 0)
        return false;
    const HDC hScreen = ::GetDC(nullptr);
    const HDC hMem = hScreen ? CreateCompatibleDC(hScreen) : nullptr;
    HBITMAP hBitmap = hScreen ? CreateCompatibleBitmap(hScreen, size.cx, size.cy) : nullptr;
    if (hMem && hBitmap) {
        const HGDIOBJ hOld = SelectObject(hMem, hBitmap);
        // The parent's own erase first (a dialog's brush, a skin's fill), then what it
        // paints on it.
        ::SendMessageW(hParent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hMem), 0);
        ::SendMessageW(hParent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hMem), PRF_CLIENT);
        SelectObject(hMem, hOld);
        m_hBrush = CreatePatternBrush(hBitmap);
    }
    if (hMem)
        DeleteDC(hMem);
    if (hScreen)
        ::ReleaseDC(nullptr, hScreen);
    if (!m_hBrush) {
        if (hBitmap)
            DeleteObject(hBitmap);
        return false;
    }
    m_hBitmap = hBitmap;
    m_size = size;
    return true;
}

HBRUSH ThemedControlBackgroundHelper::GetCtlColorBrush(CDC* pDC, CWnd* pControl)
{
    const HWND hParent = m_pParent ? m_pParent->GetSafeHwnd() : nullptr;
    const HWND hControl = pControl ? pControl->GetSafeHwnd() : nullptr;
    if (!hParent || !::IsWindow(hParent) || !hControl || !::IsChild(hParent, hControl))
        return nullptr;
    RECT client{};
    ::GetClientRect(hParent, &client);
    const CSize size(client.right - client.left, client.bottom - client.top);
    if ((!m_hBrush || size != m_size) && !MakeBrush(hParent, size))
        return nullptr;
    // The pattern's origin at the parent's client origin, seen from the control.
    POINT origin{0, 0};
    ::MapWindowPoints(hParent, hControl, &origin, 1);
    if (pDC) {
        pDC->SetBkMode(TRANSPARENT);
        SetBrushOrgEx(pDC->GetSafeHdc(), origin.x, origin.y, nullptr);
    }
    return m_hBrush;
}

} // namespace Zyn::Ctl
