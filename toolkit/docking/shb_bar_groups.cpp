// The shortcut bar's groups: validation, storing records, descriptors, insertion,
// deletion, expansion, finding and sorting. The field getters and setters are in
// shb_bar_fields.cpp.
#include <algorithm>
#include <cwchar>
#include <vector>

#include "platform/afx/gdi/image_list.h"
#include "platform/base/lasterror.h"
#include "platform/base/charcase.h"
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

bool SameLogFont(const LOGFONT& a, const LOGFONT& b)
{
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
        a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
        a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
        a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
        a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
        std::wcsncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

bool SameDescriptor(const SHB_DESCRIPTOR* a, const SHB_DESCRIPTOR* b)
{
    if (a == b)
        return true;
    if (!a || !b || a->nMask != b->nMask)
        return false;
    const UINT m = a->nMask;
    return (!(m & SHBD_CLRBACKGROUND) || a->clrBackground == b->clrBackground) &&
        (!(m & SHBD_CLRTEXT) || a->clrText == b->clrText) &&
        (!(m & SHBD_CLRHEADERBACKGROUND) || a->clrHeaderBackground == b->clrHeaderBackground) &&
        (!(m & SHBD_CLRHEADERTEXT) || a->clrHeaderText == b->clrHeaderText) &&
        (!(m & SHBD_HEADERTEXTFORMAT) || a->nHeaderTextFormat == b->nHeaderTextFormat) &&
        (!(m & SHBD_TEXTFONT) || SameLogFont(a->lfText, b->lfText)) &&
        (!(m & SHBD_HEADERFONT) || SameLogFont(a->lfHeader, b->lfHeader)) &&
        (!(m & SHBD_HEADERHEIGHT) || a->nHeaderHeight == b->nHeaderHeight);
}

// The bar's own comparison for SortGroups: the titles without case.
int CompareTitles(HSHBGROUP a, HSHBGROUP b, LPARAM lParamSort)
{
    const auto* bar = reinterpret_cast<const COXShortcutBar*>(lParamSort);
    return zyn::base::CompareNoCase(std::wstring_view(bar->GetGroupText(a).GetString()),
        std::wstring_view(bar->GetGroupText(b).GetString()));
}

} // namespace

SHB_GROUPINFO* COXShortcutBar::Group(HSHBGROUP hGroup) const
{
    const auto it = m_groups.find(hGroup);
    return it == m_groups.end() ? nullptr : it->second.get();
}

HSHBGROUP COXShortcutBar::GetUniqueGroupHandle()
{
    return reinterpret_cast<HSHBGROUP>(++m_nLastHandle);
}

// ---- validation and storing ---------------------------------------------------------------------------------------

BOOL COXShortcutBar::VerifyGroupInfo(const SHB_GROUPINFO* pInfo, bool bInserting) const
{
    if (!pInfo)
        return FALSE;
    const UINT mask = pInfo->nMask;
    if (mask & ~SHBIF_ALL)
        return FALSE;
    // A negative image means none; an index must name an image of the bar's list.
    const int images = m_pImageList && m_pImageList->GetSafeHandle() ? m_pImageList->GetImageCount() : 0;
    if ((mask & SHBIF_IMAGE) && pInfo->nImage >= images)
        return FALSE;
    if ((mask & SHBIF_IMAGEEXPANDED) && pInfo->nImageExpanded >= images)
        return FALSE;
    if (mask & SHBIF_ORDER) {
        // Negative orders ask for a place while inserting; an insertion may also append.
        const int count = GetGroupCount();
        const bool ok = bInserting ? (pInfo->nOrder >= -3 && pInfo->nOrder <= count)
                                   : (pInfo->nOrder >= 0 && pInfo->nOrder < count);
        if (!ok)
            return FALSE;
    }
    if ((mask & SHBIF_VIEW) && (pInfo->nView < 0 || pInfo->nView > 3))
        return FALSE;
    if ((mask & SHBIF_CHILDWND) && pInfo->hwndChild) {
        const HWND child = pInfo->hwndChild;
        if (!::IsWindow(child) || !(::GetWindowLongW(child, GWL_STYLE) & WS_CHILD) || ::GetParent(child) != m_hWnd)
            return FALSE;
    }
    return TRUE;
}

BOOL COXShortcutBar::SetOrder(SHB_GROUPINFO* pDest, int nOrder, bool bVerify)
{
    if (!bVerify && (pDest->nMask & SHBIF_ORDER) && pDest->nOrder != nOrder) {
        // The group now at that order takes the old one: the two swap places.
        for (auto& [h, info] : m_groups) {
            if (info.get() != pDest && (info->nMask & SHBIF_ORDER) && info->nOrder == nOrder) {
                info->nOrder = pDest->nOrder;
                break;
            }
        }
    }
    pDest->nOrder = nOrder;
    pDest->nMask |= SHBIF_ORDER;
    return TRUE;
}

void COXShortcutBar::ShiftOrders(int nFirst, int nLast, int nDelta)
{
    if (nLast < 0)
        nLast = GetGroupCount() - 1;
    for (auto& [h, info] : m_groups) {
        if ((info->nMask & SHBIF_ORDER) && info->nOrder >= nFirst && info->nOrder <= nLast)
            info->nOrder += nDelta;
    }
}

SHB_DESCRIPTOR* COXShortcutBar::AddDescriptor()
{
    auto descriptor = std::make_unique<SHB_DESCRIPTOR>();
    SHB_DESCRIPTOR* p = descriptor.get();
    m_descriptors.emplace(p, std::move(descriptor));
    return p;
}

void COXShortcutBar::ReleaseDescriptorIfUnused(SHB_DESCRIPTOR* pDescriptor)
{
    if (!pDescriptor)
        return;
    for (const auto& [h, info] : m_groups) {
        if (info->pDescriptor == pDescriptor)
            return;
    }
    m_descriptors.erase(pDescriptor);
}

BOOL COXShortcutBar::MergeDescriptor(SHB_GROUPINFO* pDest, const SHB_DESCRIPTOR* pSource)
{
    // Copied before anything changes: the source may be the destination's own descriptor.
    const SHB_DESCRIPTOR source = *pSource;
    if (!pDest->pDescriptor)
        pDest->pDescriptor = AddDescriptor();
    SHB_DESCRIPTOR& d = *pDest->pDescriptor;
    const UINT m = source.nMask;
    if (m & SHBD_CLRBACKGROUND)
        d.clrBackground = source.clrBackground;
    if (m & SHBD_CLRTEXT)
        d.clrText = source.clrText;
    if (m & SHBD_CLRHEADERBACKGROUND)
        d.clrHeaderBackground = source.clrHeaderBackground;
    if (m & SHBD_CLRHEADERTEXT)
        d.clrHeaderText = source.clrHeaderText;
    if (m & SHBD_HEADERTEXTFORMAT)
        d.nHeaderTextFormat = source.nHeaderTextFormat;
    if (m & SHBD_TEXTFONT)
        d.lfText = source.lfText;
    if (m & SHBD_HEADERFONT)
        d.lfHeader = source.lfHeader;
    if (m & SHBD_HEADERHEIGHT)
        d.nHeaderHeight = source.nHeaderHeight;
    d.nMask |= m;
    pDest->nMask |= SHBIF_DESCRIPTOR;
    return TRUE;
}

BOOL COXShortcutBar::CopyGroupInfo(SHB_GROUPINFO* pDest, const SHB_GROUPINFO* pSource, UINT nFlags)
{
    const bool reset = (nFlags & kReset) != 0;
    const bool verify = (nFlags & kVerify) != 0;
    const UINT mask = (reset || (nFlags & kUseSourceMask)) ? pSource->nMask : pDest->nMask;
    if (reset) {
        // What a stored group cannot be without is kept: its place and its child window
        // (fields the source names replace them below).
        SHB_DESCRIPTOR* oldDescriptor = pDest->pDescriptor;
        const int order = pDest->nOrder;
        const UINT keep = pDest->nMask & SHBIF_ORDER;
        pDest->Reset();
        pDest->nOrder = order;
        pDest->nMask = keep;
        pDest->nImage = pDest->nImageExpanded = -1;
        ReleaseDescriptorIfUnused(oldDescriptor);
    }
    if (mask & SHBIF_TEXT) {
        // The copy stops at the source's terminator, however large nTextMax claims to be.
        if (pSource->pszText && pSource->nTextMax > 0)
            pDest->SetText(pSource->pszText, pSource->nTextMax);
        else
            pDest->ClearText();
        pDest->nMask |= SHBIF_TEXT;
    }
    for (const auto& [bit, src, dst] : {std::tuple{SHBIF_IMAGE, pSource->nImage, &pDest->nImage},
             std::tuple{SHBIF_IMAGEEXPANDED, pSource->nImageExpanded, &pDest->nImageExpanded}}) {
        if (!(mask & bit))
            continue;
        if (src < 0) {
            *dst = -1;
            pDest->nMask &= ~bit;
        } else {
            *dst = src;
            pDest->nMask |= bit;
        }
    }
    if (mask & SHBIF_PARAM) {
        pDest->lParam = pSource->lParam;
        pDest->nMask |= SHBIF_PARAM;
    }
    if (mask & SHBIF_ORDER)
        SetOrder(pDest, pSource->nOrder, verify);
    if (mask & SHBIF_VIEW) {
        pDest->nView = pSource->nView;
        pDest->nMask |= SHBIF_VIEW;
    }
    if (mask & SHBIF_CHILDWND) {
        pDest->hwndChild = pSource->hwndChild;
        if (pSource->hwndChild)
            pDest->nMask |= SHBIF_CHILDWND;
        else
            pDest->nMask &= ~SHBIF_CHILDWND;
    }
    if (mask & SHBIF_DESCRIPTOR) {
        if (!pSource->pDescriptor) {
            SHB_DESCRIPTOR* old = pDest->pDescriptor;
            pDest->pDescriptor = nullptr;
            pDest->nMask &= ~SHBIF_DESCRIPTOR;
            ReleaseDescriptorIfUnused(old);
        } else {
            MergeDescriptor(pDest, pSource->pDescriptor);
        }
    }
    return TRUE;
}

// ---- insertion ----------------------------------------------------------------------------------------------------

HSHBGROUP COXShortcutBar::InsertGroup(LPCTSTR pszText, int nOrder, int nImage, int nImageExpanded, LPARAM lParam,
    int nView, SHB_DESCRIPTOR* pDescriptor, HWND hwndChild)
{
    SHB_GROUPINFO info;
    if (pszText) {
        info.pszText = const_cast<LPWSTR>(pszText);
        info.nTextMax = static_cast<int>(std::wcslen(pszText));
        info.nMask |= SHBIF_TEXT;
    }
    if (nOrder != -1) {
        info.nOrder = nOrder;
        info.nMask |= SHBIF_ORDER;
    }
    if (nImage != -1) {
        info.nImage = nImage;
        info.nImageExpanded = nImageExpanded;
        info.nMask |= SHBIF_IMAGE | SHBIF_IMAGEEXPANDED;
    }
    if (lParam) {
        info.lParam = lParam;
        info.nMask |= SHBIF_PARAM;
    }
    if (nView != -1) {
        info.nView = nView;
        info.nMask |= SHBIF_VIEW;
    }
    if (pDescriptor) {
        info.pDescriptor = pDescriptor;
        info.nMask |= SHBIF_DESCRIPTOR;
    }
    if (hwndChild) {
        info.hwndChild = hwndChild;
        info.nMask |= SHBIF_CHILDWND;
    }
    const HSHBGROUP h = InsertGroup(&info);
    info.pszText = nullptr; // the caller's text, not the record's
    return h;
}

HSHBGROUP COXShortcutBar::InsertGroup(const SHB_GROUPINFO* pGroupInfo)
{
    if (!pGroupInfo) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (NotifyGroup(SHBN_INSERTGROUP, nullptr, reinterpret_cast<LPARAM>(pGroupInfo)))
        return nullptr;
    if (!VerifyGroupInfo(pGroupInfo, true)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const HSHBGROUP h = GetUniqueGroupHandle();
    if (!h || m_groups.count(h))
        return nullptr;
    const int count = GetGroupCount();
    int order = (pGroupInfo->nMask & SHBIF_ORDER) ? pGroupInfo->nOrder : -2;
    const bool sortAfter = order == -3;
    try {
        auto stored = std::make_unique<SHB_GROUPINFO>();
        SHB_GROUPINFO source = *pGroupInfo;
        source.nMask &= ~SHBIF_ORDER; // the place is settled below
        CopyGroupInfo(stored.get(), &source, kReset | kVerify);
        if (order == -2 || order == -3 || order == count) {
            order = count;
        } else if (order == -1) {
            ShiftOrders(0, -1, +1);
            order = 0;
        } else {
            ShiftOrders(order, -1, +1);
        }
        stored->nOrder = order;
        stored->nMask |= SHBIF_ORDER;
        m_groups.emplace(h, std::move(stored));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }

    bool ok = true;
    SHB_GROUPINFO* info = Group(h);
    if (info->hwndChild) {
        ::SendMessageW(info->hwndChild, SHBM_SETSHBGROUP, 0, reinterpret_cast<LPARAM>(h));
    } else {
        try {
            std::unique_ptr<COXSHBListCtrl> list(NewSHBListCtrl());
            ok = list != nullptr;
            if (ok) {
                m_lists[h] = std::move(list);
                ok = CreateListControl(h) != FALSE;
            }
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    if (!ok || !Group(h)) {
        // Nothing of the group is left: its list, its record and its place.
        m_lists.erase(h);
        if (SHB_GROUPINFO* left = Group(h)) {
            const int at = left->nOrder;
            SHB_DESCRIPTOR* descriptor = left->pDescriptor;
            m_groups.erase(h);
            ReleaseDescriptorIfUnused(descriptor);
            ShiftOrders(at + 1, -1, -1);
        }
        return nullptr;
    }
    if (sortAfter)
        SortGroups(1);
    CalculateBoundRects();
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return h;
}

COXSHBListCtrl* COXShortcutBar::NewSHBListCtrl() { return new COXSHBListCtrl; }

BOOL COXShortcutBar::CreateListControl(HSHBGROUP hGroup)
{
    const auto it = m_lists.find(hGroup);
    if (it == m_lists.end() || !it->second || !m_hWnd)
        return FALSE;
    COXSHBListCtrl* list = it->second.get();
    if (list->m_hWnd && ::IsWindow(list->m_hWnd))
        list->DestroyWindow();
    const DWORD style = WS_CHILD | LVS_NOSCROLL | LVS_SHAREIMAGELISTS | LVS_SINGLESEL;
    if (!list->Create(style, CRect(0, 0, 0, 0), this, static_cast<UINT>(reinterpret_cast<uintptr_t>(hGroup))))
        return FALSE;
    list->SendMessage(SHBM_SETSHBGROUP, 0, reinterpret_cast<LPARAM>(hGroup));
    return TRUE;
}

// ---- deletion --------------------------------------------------------------------------------------------------

void COXShortcutBar::ForgetGroup(HSHBGROUP hGroup)
{
    if (m_hEditGroup == hGroup) {
        // Cleared first, so the editor's end-of-edit finds no group to rename.
        m_hEditGroup = nullptr;
        if (m_edit.IsEditing())
            m_edit.FinishEdit(FALSE);
    }
    if (m_hDragGroup == hGroup || m_hDropHilightGroup == hGroup) {
        if (m_hDragGroup == hGroup) {
            if (m_dwBarStyle & SHBS_DRAWHEADERDRAGIMAGE)
                CImageList::EndDrag();
            m_hDragGroup = nullptr;
            m_hDropHilightGroup = nullptr;
            if (m_bDragCapture && ::GetCapture() == m_hWnd)
                ::ReleaseCapture();
            m_bDragCapture = FALSE;
        } else {
            m_hDropHilightGroup = nullptr;
        }
    }
    if (m_hDragStartGroup == hGroup) {
        if (m_nDragStartTimer)
            KillTimer(SHB_IDT_DRAGGROUP);
        m_nDragStartTimer = 0;
        m_hDragStartGroup = nullptr;
    }
    if (m_hAutoExpandGroup == hGroup)
        CancelAutoExpand();
    if (m_hHotGroup == hGroup)
        m_hHotGroup = nullptr;
    if (m_hPressedGroup == hGroup)
        m_hPressedGroup = nullptr;
    if (m_hMouseOverGroup == hGroup)
        m_hMouseOverGroup = nullptr;
}

BOOL COXShortcutBar::DeleteGroup(HSHBGROUP hGroup) { return DeleteGroupImpl(hGroup, false); }

BOOL COXShortcutBar::DeleteGroupImpl(HSHBGROUP hGroup, bool bForce)
{
    if (!Group(hGroup)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (NotifyGroup(SHBN_DELETEGROUP, hGroup) && !bForce)
        return FALSE;
    SHB_GROUPINFO* info = Group(hGroup);
    if (!info)
        return TRUE; // the parent deleted it meanwhile
    ForgetGroup(hGroup);
    const int order = info->nOrder;
    ShiftOrders(order + 1, -1, -1);
    const HWND child = GetGroupChildWndHandle(hGroup);
    if (child && ::IsWindow(child)) {
        ::ShowWindow(child, SW_HIDE);
        ::SendMessageW(child, SHBM_DELETESHBGROUP, 0, 0);
    }
    const bool wasExpanded = m_hExpandedGroup == hGroup;
    if (wasExpanded)
        m_hExpandedGroup = nullptr; // nothing may see the dead group expanded
    SHB_DESCRIPTOR* descriptor = nullptr;
    if ((info = Group(hGroup)) != nullptr) {
        descriptor = info->pDescriptor;
        m_groups.erase(hGroup);
    }
    m_headerRects.erase(hGroup);
    ReleaseDescriptorIfUnused(descriptor);
    const auto list = m_lists.find(hGroup);
    if (list != m_lists.end()) {
        std::unique_ptr<COXSHBListCtrl> dead = std::move(list->second);
        m_lists.erase(list);
        if (dead && dead->m_hWnd && ::IsWindow(dead->m_hWnd))
            dead->DestroyWindow();
    }
    if (bForce)
        return TRUE;
    if (wasExpanded && !m_groups.empty()) {
        HSHBGROUP next = FindGroupByOrder(order);
        if (!next)
            next = FindGroupByOrder(0);
        // A veto leaves no group expanded rather than the dead one.
        if (next)
            ExpandGroup(next);
    }
    CalculateBoundRects();
    RedrawBar();
    return TRUE;
}

BOOL COXShortcutBar::DeleteAllGroups()
{
    std::vector<HSHBGROUP> handles;
    for (const auto& [h, info] : m_groups)
        handles.push_back(h);
    BOOL all = TRUE;
    for (HSHBGROUP h : handles) {
        if (Group(h) && !DeleteGroup(h))
            all = FALSE;
    }
    return all;
}

// ---- expansion ----------------------------------------------------------------------------------------------------

HSHBGROUP COXShortcutBar::ExpandGroup(HSHBGROUP hGroup)
{
    if (!Group(hGroup)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    CancelAutoExpand();
    if (hGroup == m_hExpandedGroup)
        return hGroup;
    if (NotifyGroup(SHBN_GROUPEXPANDING, hGroup) || !Group(hGroup))
        return m_hExpandedGroup;
    const HSHBGROUP old = m_hExpandedGroup;
    m_hExpandedGroup = hGroup;
    if ((m_dwBarStyle & SHBS_ANIMATEEXPAND) && old && Group(old) && !m_rectChildWnd.IsRectEmpty() && m_hWnd)
        AnimateExpansion(old, hGroup);
    CalculateBoundRects();
    if (old) {
        const HWND oldChild = GetGroupChildWndHandle(old);
        if (oldChild && ::IsWindow(oldChild))
            ::ShowWindow(oldChild, SW_HIDE);
    }
    RedrawBar();
    NotifyGroup(SHBN_GROUPEXPANDED, hGroup);
    return old;
}

// ---- finding and sorting ---------------------------------------------------------------------------------------------

BOOL COXShortcutBar::CompareGroups(const SHB_GROUPINFO* pGroupInfo1, const SHB_GROUPINFO* pGroupInfo2) const
{
    if (!pGroupInfo1 || !pGroupInfo2 || (pGroupInfo1->nMask & ~SHBIF_ALL) || (pGroupInfo2->nMask & ~SHBIF_ALL))
        return FALSE;
    const SHB_GROUPINFO& a = *pGroupInfo1;
    const SHB_GROUPINFO& b = *pGroupInfo2;
    const UINT m = a.nMask;
    if ((m & b.nMask) != m)
        return FALSE;
    if (m & SHBIF_TEXT) {
        // Over the first record's characters: a shorter title finds a longer one it begins.
        const std::wstring_view wanted = TitleOf(a);
        const std::wstring_view have = TitleOf(b);
        if (have.substr(0, wanted.size()) != wanted)
            return FALSE;
        if (wanted.empty() && !have.empty())
            return FALSE; // an empty title finds only an empty one
    }
    if ((m & SHBIF_IMAGE) && a.nImage != b.nImage)
        return FALSE;
    if ((m & SHBIF_IMAGEEXPANDED) && a.nImageExpanded != b.nImageExpanded)
        return FALSE;
    if ((m & SHBIF_PARAM) && a.lParam != b.lParam)
        return FALSE;
    if ((m & SHBIF_ORDER) && a.nOrder != b.nOrder)
        return FALSE;
    if ((m & SHBIF_VIEW) && a.nView != b.nView)
        return FALSE;
    if ((m & SHBIF_DESCRIPTOR) && !SameDescriptor(a.pDescriptor, b.pDescriptor))
        return FALSE;
    if ((m & SHBIF_CHILDWND) && a.hwndChild != b.hwndChild)
        return FALSE;
    return TRUE;
}

HSHBGROUP COXShortcutBar::FindGroup(const SHB_GROUPINFO* pGroupInfo) const
{
    if (!pGroupInfo)
        return nullptr;
    for (const auto& [h, info] : m_groups) {
        if (CompareGroups(pGroupInfo, info.get()))
            return h;
    }
    return nullptr;
}

HSHBGROUP COXShortcutBar::FindGroupByOrder(int nOrder) const
{
    for (const auto& [h, info] : m_groups) {
        if (info->nOrder == nOrder)
            return h;
    }
    return nullptr;
}

HSHBGROUP COXShortcutBar::FindGroupByParam(LPARAM lParam) const
{
    SHB_GROUPINFO info;
    info.nMask = SHBIF_PARAM;
    info.lParam = lParam;
    return FindGroup(&info);
}

HSHBGROUP COXShortcutBar::FindGroupByTitle(LPCTSTR pszTitle) const
{
    if (!pszTitle)
        return nullptr;
    SHB_GROUPINFO info;
    info.nMask = SHBIF_TEXT;
    info.pszText = const_cast<LPWSTR>(pszTitle);
    info.nTextMax = static_cast<int>(std::wcslen(pszTitle));
    const HSHBGROUP h = FindGroup(&info);
    info.pszText = nullptr;
    return h;
}

BOOL COXShortcutBar::SortGroups(int nSortOrder)
{
    return SortGroupsCB(&CompareTitles, reinterpret_cast<LPARAM>(this), nSortOrder);
}

BOOL COXShortcutBar::SortGroupsCB(PFNSHBCOMPARE pfnCompare, LPARAM lParamSort, int nSortOrder)
{
    if (!pfnCompare)
        return FALSE;
    m_nSortOrder = nSortOrder;
    const int count = GetGroupCount();
    if (count < 2 || nSortOrder == 0)
        return TRUE;
    // A bubble sort over the display positions: equal groups never pass each other.
    std::vector<HSHBGROUP> byOrder(static_cast<size_t>(count));
    for (const auto& [h, info] : m_groups)
        byOrder[static_cast<size_t>(info->nOrder)] = h;
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (size_t i = 0; i + 1 < byOrder.size(); ++i) {
            const int c = pfnCompare(byOrder[i], byOrder[i + 1], lParamSort);
            if ((c > 0 && nSortOrder > 0) || (c < 0 && nSortOrder < 0)) {
                std::swap(byOrder[i], byOrder[i + 1]);
                swapped = true;
            }
        }
    }
    for (size_t i = 0; i < byOrder.size(); ++i)
        if (SHB_GROUPINFO* info = Group(byOrder[i]))
            info->nOrder = static_cast<int>(i);
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        CalculateBoundRects();
        RedrawBar();
    }
    return TRUE;
}
