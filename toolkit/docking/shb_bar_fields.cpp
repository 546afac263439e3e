// The shortcut bar's group fields: the whole record (GetGroupInfo, SetGroupInfo), one
// getter and setter per field, and the descriptor's fields with their defaults (the skin,
// the system colours, the bar's font).
#include <cwchar>
#include <string_view>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/shb_bar.h"
#include "toolkit/docking/shb_list.h"

namespace {

// The record's title as a view of its nTextMax characters (or up to its terminator).
std::wstring_view TitleOf(const SHB_GROUPINFO& info)
{
    if (!info.pszText || info.nTextMax <= 0)
        return {};
    return std::wstring_view(info.pszText, ::wcsnlen(info.pszText, static_cast<size_t>(info.nTextMax)));
}

} // namespace

// ---- getting and setting fields ----------------------------------------------------------------------------------------

BOOL COXShortcutBar::GetGroupInfo(HSHBGROUP hGroup, SHB_GROUPINFO* pGroupInfo, BOOL bReset)
{
    const SHB_GROUPINFO* stored = Group(hGroup);
    if (!stored || !pGroupInfo)
        return FALSE;
    if (bReset)
        pGroupInfo->Reset();
    const UINT mask = bReset ? stored->nMask : (pGroupInfo->nMask & SHBIF_ALL);
    if (mask & SHBIF_TEXT)
        pGroupInfo->SetText(stored->pszText, stored->nTextMax);
    if (mask & SHBIF_IMAGE)
        pGroupInfo->nImage = (stored->nMask & SHBIF_IMAGE) ? stored->nImage : -1;
    if (mask & SHBIF_IMAGEEXPANDED)
        pGroupInfo->nImageExpanded = (stored->nMask & SHBIF_IMAGEEXPANDED) ? stored->nImageExpanded : -1;
    if (mask & SHBIF_PARAM)
        pGroupInfo->lParam = (stored->nMask & SHBIF_PARAM) ? stored->lParam : 0;
    if (mask & SHBIF_ORDER)
        pGroupInfo->nOrder = stored->nOrder;
    if (mask & SHBIF_VIEW)
        pGroupInfo->nView = (stored->nMask & SHBIF_VIEW) ? stored->nView : SHB_LARGEICON;
    if (mask & SHBIF_DESCRIPTOR)
        pGroupInfo->pDescriptor = stored->pDescriptor;
    if (mask & SHBIF_CHILDWND)
        pGroupInfo->hwndChild = stored->hwndChild;
    if (bReset)
        pGroupInfo->nMask = stored->nMask;
    return TRUE;
}

BOOL COXShortcutBar::SetGroupInfo(HSHBGROUP hGroup, const SHB_GROUPINFO* pGroupInfo, BOOL bReset)
{
    SHB_GROUPINFO* stored = Group(hGroup);
    if (!stored || !VerifyGroupInfo(pGroupInfo, false)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const HWND oldChild = stored->hwndChild;
    const int oldView = stored->nView;
    const UINT changed = bReset ? SHBIF_ALL : pGroupInfo->nMask;
    // A copy: the caller's record may be one the bar handed out (the same text buffer).
    const SHB_GROUPINFO source = *pGroupInfo;
    if (!CopyGroupInfo(stored, &source, bReset ? kReset : kUseSourceMask))
        return FALSE;
    // Exactly one child window per group: the default list goes when an own window
    // comes, and comes back when the own window is taken away.
    if (stored->hwndChild != oldChild) {
        if (oldChild && ::IsWindow(oldChild))
            ::ShowWindow(oldChild, SW_HIDE);
        if (stored->hwndChild) {
            const auto list = m_lists.find(hGroup);
            if (list != m_lists.end()) {
                std::unique_ptr<COXSHBListCtrl> dead = std::move(list->second);
                m_lists.erase(list);
                if (dead && dead->m_hWnd && ::IsWindow(dead->m_hWnd))
                    dead->DestroyWindow();
            }
            ::SendMessageW(stored->hwndChild, SHBM_SETSHBGROUP, 0, reinterpret_cast<LPARAM>(hGroup));
        } else if (!m_lists.count(hGroup)) {
            m_lists[hGroup].reset(NewSHBListCtrl());
            if (!CreateListControl(hGroup))
                m_lists.erase(hGroup);
        }
    }
    UINT notify = changed;
    if ((changed & SHBIF_VIEW) && stored->nView == oldView)
        notify &= ~SHBIF_VIEW;
    NotifyChildInfoChanged(hGroup, notify);
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        CalculateBoundRects();
        RedrawBar();
    }
    return TRUE;
}

void COXShortcutBar::NotifyChildInfoChanged(HSHBGROUP hGroup, UINT nMask)
{
    const HWND child = GetGroupChildWndHandle(hGroup);
    if (child && ::IsWindow(child))
        ::SendMessageW(child, SHBM_GROUPINFOCHANGED, 0, static_cast<LPARAM>(nMask));
}

BOOL COXShortcutBar::SetOneField(HSHBGROUP hGroup, SHB_GROUPINFO& info)
{
    const BOOL ok = SetGroupInfo(hGroup, &info, FALSE);
    info.pszText = nullptr; // never the record's own
    return ok;
}

CString COXShortcutBar::GetGroupText(HSHBGROUP hGroup) const
{
    const SHB_GROUPINFO* info = Group(hGroup);
    if (!info)
        return CString();
    const std::wstring_view title = TitleOf(*info);
    return CString(title.data(), static_cast<int>(title.size()));
}

BOOL COXShortcutBar::SetGroupText(HSHBGROUP hGroup, LPCTSTR pszText, int nTextMax)
{
    SHB_GROUPINFO info;
    info.nMask = SHBIF_TEXT;
    info.pszText = const_cast<LPWSTR>(pszText);
    info.nTextMax = pszText ? (nTextMax < 0 ? static_cast<int>(std::wcslen(pszText)) : nTextMax) : 0;
    return SetOneField(hGroup, info);
}

BOOL COXShortcutBar::SetGroupText(HSHBGROUP hGroup, const CString& sText)
{
    return SetGroupText(hGroup, sText.GetString(), sText.GetLength());
}

int COXShortcutBar::GetGroupImage(HSHBGROUP hGroup) const
{
    const SHB_GROUPINFO* info = Group(hGroup);
    if (!info || !(info->nMask & SHBIF_IMAGE))
        return -1;
    return info->nImage;
}

BOOL COXShortcutBar::SetGroupImage(HSHBGROUP hGroup, int nImage)
{
    SHB_GROUPINFO info;
    info.nMask = SHBIF_IMAGE;
    info.nImage = nImage;
    return SetOneField(hGroup, info);
}

int COXShortcutBar::GetGroupImageExpanded(HSHBGROUP hGroup) const
{
    const SHB_GROUPINFO* info = Group(hGroup);
    if (!info)
        return -1;
    if (info->nMask & SHBIF_IMAGEEXPANDED)
        return info->nImageExpanded;
    return GetGroupImage(hGroup);
}

BOOL COXShortcutBar::SetGroupImageExpanded(HSHBGROUP hGroup, int nImage)
{
    SHB_GROUPINFO info;
    info.nMask = SHBIF_IMAGEEXPANDED;
    info.nImageExpanded = nImage;
    return SetOneField(hGroup, info);
}

LPARAM COXShortcutBar::GetGroupData(HSHBGROUP hGroup) const
{
    const SHB_GROUPINFO* info = Group(hGroup);
    return info && (info->nMask & SHBIF_PARAM) ? info->lParam : 0;
}

BOOL COXShortcutBar::SetGroupData(HSHBGROUP hGroup, LPARAM lParam)
{
    SHB_GROUPINFO info;
    info.nMask = SHBIF_PARAM;
    info.lParam = lParam;
    return SetOneField(hGroup, info);
}

int COXShortcutBar::GetGroupOrder(HSHBGROUP hGroup) const
{
    const SHB_GROUPINFO* info = Group(hGroup);
    return info ? info->nOrder : -1;
}

BOOL COXShortcutBar::SetGroupOrder(HSHBGROUP hGroup, int nOrder)
{
    SHB_GROUPINFO info;
    info.nMask = SHBIF_ORDER;
    info.nOrder = nOrder;
    return SetOneField(hGroup, info);
}

int COXShortcutBar::GetGroupView(HSHBGROUP hGroup) const
{
    const SHB_GROUPINFO* info = Group(hGroup);
    if (!info)
        return -1;
    return (info->nMask & SHBIF_VIEW) ? info->nView : SHB_LARGEICON;
}

BOOL COXShortcutBar::SetGroupView(HSHBGROUP hGroup, int nView)
{
    if (!hGroup) {
        std::vector<HSHBGROUP> all;
        for (const auto& [h, info] : m_groups)
            all.push_back(h);
        for (HSHBGROUP h : all) {
            if (!SetGroupView(h, nView))
                return FALSE;
        }
        return TRUE;
    }
    SHB_GROUPINFO info;
    info.nMask = SHBIF_VIEW;
    info.nView = nView;
    return SetOneField(hGroup, info);
}

SHB_DESCRIPTOR* COXShortcutBar::GetGroupDescriptor(HSHBGROUP hGroup) const
{
    const SHB_GROUPINFO* info = Group(hGroup);
    return info && (info->nMask & SHBIF_DESCRIPTOR) ? info->pDescriptor : nullptr;
}

BOOL COXShortcutBar::SetGroupDescriptor(HSHBGROUP hGroup, const SHB_DESCRIPTOR* pDescriptor)
{
    if (!hGroup) {
        std::vector<HSHBGROUP> all;
        for (const auto& [h, info] : m_groups)
            all.push_back(h);
        for (HSHBGROUP h : all) {
            if (!SetGroupDescriptor(h, pDescriptor))
                return FALSE;
        }
        return TRUE;
    }
    SHB_GROUPINFO info;
    info.nMask = SHBIF_DESCRIPTOR;
    info.pDescriptor = const_cast<SHB_DESCRIPTOR*>(pDescriptor);
    return SetOneField(hGroup, info);
}

HWND COXShortcutBar::GetGroupChildWnd(HSHBGROUP hGroup) const
{
    const SHB_GROUPINFO* info = Group(hGroup);
    return info && (info->nMask & SHBIF_CHILDWND) ? info->hwndChild : nullptr;
}

BOOL COXShortcutBar::SetGroupChildWnd(HSHBGROUP hGroup, HWND hwndChild)
{
    SHB_GROUPINFO info;
    info.nMask = SHBIF_CHILDWND;
    info.hwndChild = hwndChild;
    return SetOneField(hGroup, info);
}

// ---- descriptor fields -------------------------------------------------------------------------------------------------

BOOL COXShortcutBar::SetDescriptorField(HSHBGROUP hGroup, SHB_DESCRIPTOR& descriptor)
{
    return SetGroupDescriptor(hGroup, &descriptor);
}

COLORREF COXShortcutBar::GetGroupBkColor(HSHBGROUP hGroup)
{
    const SHB_GROUPINFO* info = Group(hGroup);
    if (!info)
        return static_cast<COLORREF>(-1);
    if (const SHB_DESCRIPTOR* d = GetGroupDescriptor(hGroup); d && (d->nMask & SHBD_CLRBACKGROUND))
        return d->clrBackground;
    return GetShortcutBarSkin()->GetBackgroundColor(this);
}

BOOL COXShortcutBar::SetGroupBkColor(HSHBGROUP hGroup, COLORREF clr)
{
    SHB_DESCRIPTOR d;
    d.nMask = SHBD_CLRBACKGROUND;
    d.clrBackground = clr;
    return SetDescriptorField(hGroup, d);
}

COLORREF COXShortcutBar::GetGroupTextColor(HSHBGROUP hGroup)
{
    if (!Group(hGroup))
        return static_cast<COLORREF>(-1);
    if (const SHB_DESCRIPTOR* d = GetGroupDescriptor(hGroup); d && (d->nMask & SHBD_CLRTEXT))
        return d->clrText;
    return GetShortcutBarSkin()->GetGroupTextColor(this);
}

BOOL COXShortcutBar::SetGroupTextColor(HSHBGROUP hGroup, COLORREF clr)
{
    SHB_DESCRIPTOR d;
    d.nMask = SHBD_CLRTEXT;
    d.clrText = clr;
    return SetDescriptorField(hGroup, d);
}

COLORREF COXShortcutBar::GetGroupHeaderBkColor(HSHBGROUP hGroup) const
{
    if (!Group(hGroup))
        return static_cast<COLORREF>(-1);
    if (const SHB_DESCRIPTOR* d = GetGroupDescriptor(hGroup); d && (d->nMask & SHBD_CLRHEADERBACKGROUND))
        return d->clrHeaderBackground;
    return ::GetSysColor(COLOR_BTNFACE);
}

BOOL COXShortcutBar::SetGroupHeaderBkColor(HSHBGROUP hGroup, COLORREF clr)
{
    SHB_DESCRIPTOR d;
    d.nMask = SHBD_CLRHEADERBACKGROUND;
    d.clrHeaderBackground = clr;
    return SetDescriptorField(hGroup, d);
}

COLORREF COXShortcutBar::GetGroupHeaderTextColor(HSHBGROUP hGroup) const
{
    if (!Group(hGroup))
        return static_cast<COLORREF>(-1);
    if (const SHB_DESCRIPTOR* d = GetGroupDescriptor(hGroup); d && (d->nMask & SHBD_CLRHEADERTEXT))
        return d->clrHeaderText;
    return ::GetSysColor(COLOR_BTNTEXT);
}

BOOL COXShortcutBar::SetGroupHeaderTextColor(HSHBGROUP hGroup, COLORREF clr)
{
    SHB_DESCRIPTOR d;
    d.nMask = SHBD_CLRHEADERTEXT;
    d.clrHeaderText = clr;
    return SetDescriptorField(hGroup, d);
}

UINT COXShortcutBar::GetGroupHeaderTextFormat(HSHBGROUP hGroup) const
{
    if (!Group(hGroup))
        return 0;
    if (const SHB_DESCRIPTOR* d = GetGroupDescriptor(hGroup); d && (d->nMask & SHBD_HEADERTEXTFORMAT))
        return d->nHeaderTextFormat;
    return SHB_DEFAULT_HEADERTEXTFORMAT;
}

BOOL COXShortcutBar::SetGroupHeaderTextFormat(HSHBGROUP hGroup, UINT nFormat)
{
    SHB_DESCRIPTOR d;
    d.nMask = SHBD_HEADERTEXTFORMAT;
    d.nHeaderTextFormat = nFormat;
    return SetDescriptorField(hGroup, d);
}

LPLOGFONT COXShortcutBar::GetGroupTextFont(HSHBGROUP hGroup)
{
    if (!Group(hGroup))
        return nullptr;
    if (const SHB_DESCRIPTOR* d = GetGroupDescriptor(hGroup); d && (d->nMask & SHBD_TEXTFONT)) {
        m_lfReturned = d->lfText;
        return &m_lfReturned;
    }
    // The child window's own font, else the bar's.
    const HWND child = GetGroupChildWndHandle(hGroup);
    HFONT font = child && ::IsWindow(child) ? reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)) : nullptr;
    if (!font || ::GetObjectW(font, sizeof(LOGFONT), &m_lfReturned) != sizeof(LOGFONT))
        m_font.GetLogFont(&m_lfReturned);
    return &m_lfReturned;
}

BOOL COXShortcutBar::SetGroupTextFont(HSHBGROUP hGroup, const LOGFONT* pLF)
{
    if (!pLF)
        return FALSE;
    SHB_DESCRIPTOR d;
    d.nMask = SHBD_TEXTFONT;
    d.lfText = *pLF;
    return SetDescriptorField(hGroup, d);
}

BOOL COXShortcutBar::SetGroupTextFont(HSHBGROUP hGroup, CFont* pFont)
{
    LOGFONT lf{};
    if (!pFont || !pFont->GetSafeHandle() || !pFont->GetLogFont(&lf))
        return FALSE;
    return SetGroupTextFont(hGroup, &lf);
}

LPLOGFONT COXShortcutBar::GetGroupHeaderTextFont(HSHBGROUP hGroup)
{
    if (!Group(hGroup))
        return nullptr;
    if (const SHB_DESCRIPTOR* d = GetGroupDescriptor(hGroup); d && (d->nMask & SHBD_HEADERFONT))
        m_lfReturned = d->lfHeader;
    else
        m_font.GetLogFont(&m_lfReturned);
    return &m_lfReturned;
}

BOOL COXShortcutBar::SetGroupHeaderTextFont(HSHBGROUP hGroup, const LOGFONT* pLF)
{
    if (!pLF)
        return FALSE;
    SHB_DESCRIPTOR d;
    d.nMask = SHBD_HEADERFONT;
    d.lfHeader = *pLF;
    return SetDescriptorField(hGroup, d);
}

BOOL COXShortcutBar::SetGroupHeaderTextFont(HSHBGROUP hGroup, CFont* pFont)
{
    LOGFONT lf{};
    if (!pFont || !pFont->GetSafeHandle() || !pFont->GetLogFont(&lf))
        return FALSE;
    return SetGroupHeaderTextFont(hGroup, &lf);
}

int COXShortcutBar::GetGroupHeaderHeight(HSHBGROUP hGroup) const
{
    if (!Group(hGroup))
        return -1;
    if (const SHB_DESCRIPTOR* d = GetGroupDescriptor(hGroup); d && (d->nMask & SHBD_HEADERHEIGHT))
        return d->nHeaderHeight;
    return SHB_DEFAULT_HEADERHEIGHT;
}

BOOL COXShortcutBar::SetGroupHeaderHeight(HSHBGROUP hGroup, int nHeight)
{
    SHB_DESCRIPTOR d;
    d.nMask = SHBD_HEADERHEIGHT;
    d.nHeaderHeight = nHeight;
    return SetDescriptorField(hGroup, d);
}
