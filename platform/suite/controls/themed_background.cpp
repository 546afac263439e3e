// Zyn::Ctl::ThemedControlBackgroundHelper: the parent's background as a control's brush.
#include "platform/suite/controls/themed_background.h"

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/wnd.h"
#include "platform/base/module.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/winuser.h"

namespace Zyn::Ctl {

namespace {

// The visual-styles module, loaded for one question and freed after it.
class StylesModule {
public:
    StylesModule() : m_module(::LoadLibraryW(L"UxTheme.dll")) {}
    ~StylesModule()
    {
        if (m_module)
            ::FreeLibrary(m_module);
    }
    StylesModule(const StylesModule&) = delete;
    StylesModule& operator=(const StylesModule&) = delete;

    BOOL IsThemeActive() const
    {
        if (!m_module)
            return FALSE;
        using Fn = BOOL (*)();
        const auto fn = reinterpret_cast<Fn>(::GetProcAddress(m_module, "IsThemeActive"));
        return fn && fn() ? TRUE : FALSE;
    }

private:
    HMODULE m_module;
};

} // namespace

void ThemedControlBackgroundHelper::SetParent(CWnd* pParent)
{
    m_pParent = pParent;
    m_brush.DeleteObject();
}

BOOL ThemedControlBackgroundHelper::IsThemeActive()
{
    if (m_theme == Theme::Unknown)
        m_theme = StylesModule().IsThemeActive() ? Theme::Active : Theme::Inactive;
    return m_theme == Theme::Active;
}

void ThemedControlBackgroundHelper::MarkThemeChanged()
{
    m_theme = Theme::Unknown;
    m_brush.DeleteObject();
}

BOOL ThemedControlBackgroundHelper::MakeBrush(const CSize& size)
{
    m_brush.DeleteObject();
    CDC memDC;
    if (!memDC.CreateCompatibleDC(nullptr))
        return FALSE;
    CBitmap picture;
    CDC* pScreen = CDC::FromHandle(::GetDC(nullptr));
    const BOOL bMade = picture.CreateCompatibleBitmap(pScreen, size.cx, size.cy);
    ::ReleaseDC(nullptr, pScreen->GetSafeHdc());
    if (!bMade)
        return FALSE;
    CBitmap* pOld = memDC.SelectObject(&picture);
    // The parent's own background and painting, without its children.
    m_pParent->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()));
    m_pParent->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), PRF_CLIENT);
    memDC.SelectObject(pOld);
    if (!m_brush.Attach(::CreatePatternBrush(static_cast<HBITMAP>(picture.GetSafeHandle()))))
        return FALSE;
    m_sizeBrush = size;
    return TRUE;
}

HBRUSH ThemedControlBackgroundHelper::GetCtlColorBrush(CDC* pDC, CWnd* pWnd)
{
    if (!m_pParent || !::IsWindow(m_pParent->GetSafeHwnd()))
        return nullptr;
    // Only the parent's own descendants line up with its picture.
    if (pWnd && pWnd->GetSafeHwnd() && !::IsChild(m_pParent->GetSafeHwnd(), pWnd->GetSafeHwnd()))
        return nullptr;
    CRect client;
    m_pParent->GetClientRect(&client);
    if (client.IsRectEmpty())
        return nullptr;
    if (!m_brush.GetSafeHandle() || m_sizeBrush != client.Size()) {
        if (!MakeBrush(client.Size()))
            return nullptr;
    }
    if (pDC) {
        // The control's client origin sits this far into the parent's picture.
        CPoint origin(0, 0);
        if (pWnd && pWnd->GetSafeHwnd())
            ::MapWindowPoints(pWnd->GetSafeHwnd(), m_pParent->GetSafeHwnd(), &origin, 1);
        ::SetBrushOrgEx(pDC->GetSafeHdc(), -origin.x, -origin.y, nullptr);
        pDC->SetBkMode(TRANSPARENT);
    }
    return static_cast<HBRUSH>(m_brush.GetSafeHandle());
}

} // namespace Zyn::Ctl
