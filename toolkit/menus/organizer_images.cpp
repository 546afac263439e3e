// The organizer's images: the default list of check mark and bullet, an image per
// command (from bitmap resources, icons, bitmaps or the frame's toolbars) and hot images.
//
// Lists are kept under keys. A list that is built anew under a key it already has is
// rebuilt inside the same CImageList object, so the records that use it stay valid; it is
// built beside it first and swapped in only when it loaded, so a resource that does not
// load leaves everything as it was. The default list is entered under the keys of the
// commands that show it, but is never rebuilt or added to through a key: a key that names
// the default list gets a list of its own instead.
#include <memory>
#include <string>

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/frame.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "toolkit/menus/organizer.h"

namespace {

constexpr COLORREF kBitmapMask = RGB(192, 192, 192);
constexpr wchar_t kKeyMark = 0x007F;
constexpr wchar_t kKeyFlagTrue = 0x007F;
constexpr wchar_t kKeyFlagFalse = 0xFF80;

// An icon the caller made, destroyed when it goes.
class OwnedIcon {
public:
    explicit OwnedIcon(HICON icon) : m_icon(icon) {}
    ~OwnedIcon()
    {
        if (m_icon)
            ::DestroyIcon(m_icon);
    }
    OwnedIcon(const OwnedIcon&) = delete;
    OwnedIcon& operator=(const OwnedIcon&) = delete;
    HICON get() const { return m_icon; }

private:
    HICON m_icon;
};

CString NumberKey(unsigned long long value, BOOL bFlag)
{
    CString key;
    key += kKeyMark;
    key += std::to_wstring(value).c_str();
    key += bFlag ? kKeyFlagTrue : kKeyFlagFalse;
    return key;
}

// One glyph of the default list: a bitmap resource, or the system's glyph drawn black on
// white; added with white transparent.
bool AddDefaultGlyph(CImageList& list, UINT nBitmapID, UINT nGlyph, SIZE size)
{
    CBitmap bitmap;
    if (nBitmapID) {
        if (!bitmap.LoadBitmap(nBitmapID))
            return false;
    } else {
        if (!bitmap.CreateCompatibleBitmap(nullptr, size.cx, size.cy))
            return false;
        CDC dc;
        if (!dc.CreateCompatibleDC(nullptr))
            return false;
        CBitmap* old = dc.SelectObject(&bitmap);
        RECT r{0, 0, size.cx, size.cy};
        ::DrawFrameControl(dc.GetSafeHdc(), &r, DFC_MENU, nGlyph);
        dc.SelectObject(old);
    }
    return list.Add(&bitmap, RGB(255, 255, 255)) >= 0;
}

} // namespace

// ---- keys ----------------------------------------------------------------------------------------------------------

CString COXBitmapMenuOrganizer::GetUniqueResourceString(UINT nID, BOOL bFlag) { return NumberKey(nID, bFlag); }

CString COXBitmapMenuOrganizer::GetUniqueResourceString(LPCTSTR lpszName, BOOL bFlag)
{
    if (IS_INTRESOURCE(lpszName))
        return NumberKey(LOWORD(reinterpret_cast<UINT_PTR>(lpszName)), bFlag);
    CString key(lpszName);
    key += bFlag ? kKeyFlagTrue : kKeyFlagFalse;
    return key;
}

CImageList* COXBitmapMenuOrganizer::GetImageList(LPCTSTR lpszKey) const
{
    if (!lpszKey)
        return nullptr;
    const auto it = m_imageLists.find(lpszKey);
    return it == m_imageLists.end() ? nullptr : it->second.list;
}

CImageList* COXBitmapMenuOrganizer::OwnedListForKey(const CString& key)
{
    ImageListEntry& entry = m_imageLists[key.GetString()];
    if (!entry.owned) {
        entry.owned = std::make_unique<CImageList>();
        entry.list = entry.owned.get();
    }
    return entry.list;
}

COXImageInfo* COXBitmapMenuOrganizer::GetMenuItemImageInfo(UINT nID) const
{
    const auto it = m_imageInfos.find(nID);
    return it == m_imageInfos.end() ? nullptr : it->second.get();
}

void COXBitmapMenuOrganizer::ClearImages()
{
    m_imageLists.clear();
    m_imageInfos.clear();
}

// ---- the default list ------------------------------------------------------------------------------------------------

BOOL COXBitmapMenuOrganizer::Init(UINT cx, UINT cy, UINT nCheckBitmapID, UINT nBulletBitmapID)
{
    SIZE size{static_cast<LONG>(cx), static_cast<LONG>(cy)};
    if (!cx && !cy) {
        size = SIZE{::GetSystemMetrics(SM_CXMENUCHECK), ::GetSystemMetrics(SM_CYMENUCHECK)};
        CDC dc;
        if (dc.CreateCompatibleDC(nullptr))
            dc.DPtoLP(&size);
    }
    if (size.cx <= 0 || size.cy <= 0) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CImageList fresh;
    if (!fresh.Create(size.cx, size.cy, ILC_COLOR24 | ILC_MASK, 1, 2) ||
        !AddDefaultGlyph(fresh, nCheckBitmapID, DFCS_MENUCHECK, size) ||
        !AddDefaultGlyph(fresh, nBulletBitmapID, DFCS_MENUBULLET, size))
        return FALSE;
    // The same object: the records showing the default images keep pointing at it.
    m_defaultImageList.DeleteImageList();
    m_defaultImageList.Attach(fresh.Detach());
    return TRUE;
}

// ---- images of commands -----------------------------------------------------------------------------------------------

BOOL COXBitmapMenuOrganizer::SetRecordList(UINT nID, CImageList* pList, int nNewIndex)
{
    auto& record = m_imageInfos[nID];
    if (!record || record->GetImageList() == &m_defaultImageList) {
        // New, or showing only the default images (its index is the check mark's, no
        // image of this list): the image asked for.
        if (record)
            *record = COXImageInfo(pList, nNewIndex, FALSE, -1);
        else
            record = std::make_unique<COXImageInfo>(pList, nNewIndex, FALSE, -1);
        return TRUE;
    }
    // An image of its own already: the list changes, the index stays; a hot image beyond
    // the new list is none.
    record->SetImageList(pList);
    record->SetDefaultImgList(FALSE);
    if (record->GetHotIndex() >= pList->GetImageCount())
        record->SetHotIndex(-1);
    return TRUE;
}

BOOL COXBitmapMenuOrganizer::SetMenuImage(UINT nID, LPCTSTR lpszBitmapID, int nImage, int cx)
{
    if (!IsAttached() || !lpszBitmapID) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CImageList built;
    if (!built.Create(lpszBitmapID, cx, 0, kBitmapMask))
        return FALSE;
    CImageList* list = OwnedListForKey(GetUniqueResourceString(lpszBitmapID, TRUE));
    list->DeleteImageList();
    list->Attach(built.Detach());
    return SetRecordList(nID, list, nImage);
}

BOOL COXBitmapMenuOrganizer::SetMenuImage(UINT nID, UINT nBitmapID, int nImage, int cx)
{
    return SetMenuImage(nID, MAKEINTRESOURCE(nBitmapID), nImage, cx);
}

BOOL COXBitmapMenuOrganizer::SetMenuImage(UINT nID, HICON hIcon, int cx, int cy)
{
    if (!IsAttached() || !hIcon) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CImageList built;
    if (!built.Create(cx, cy, ILC_COLOR24 | ILC_MASK, 0, 0) || built.Add(hIcon) < 0)
        return FALSE;
    CImageList* list = OwnedListForKey(NumberKey(reinterpret_cast<UINT_PTR>(hIcon), TRUE));
    list->DeleteImageList();
    list->Attach(built.Detach());
    return SetRecordList(nID, list, 0);
}

BOOL COXBitmapMenuOrganizer::SetMenuImage(UINT nID, CBitmap* pBitmap, COLORREF crMask, int cx, int cy)
{
    if (!IsAttached() || !pBitmap || !pBitmap->GetSafeHandle()) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CImageList built;
    if (!built.Create(cx, cy, ILC_COLOR24 | ILC_MASK, 0, 0) || built.Add(pBitmap, crMask) < 0)
        return FALSE;
    CImageList* list = OwnedListForKey(NumberKey(reinterpret_cast<UINT_PTR>(pBitmap), TRUE));
    list->DeleteImageList();
    list->Attach(built.Detach());
    return SetRecordList(nID, list, 0);
}

BOOL COXBitmapMenuOrganizer::SetMenuIcon(UINT nID, LPCTSTR lpszIconID)
{
    if (!IsAttached() || !lpszIconID) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // A shared icon: not destroyed here.
    const HICON icon = ::LoadIconW(AfxFindResourceHandle(lpszIconID, RT_GROUP_ICON), lpszIconID);
    if (!icon)
        return FALSE;
    CImageList built;
    if (!built.Create(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), ILC_COLOR24 | ILC_MASK, 1, 0) ||
        built.Add(icon) < 0)
        return FALSE;
    CImageList* list = OwnedListForKey(GetUniqueResourceString(lpszIconID, FALSE));
    list->DeleteImageList();
    list->Attach(built.Detach());
    return SetRecordList(nID, list, 0);
}

BOOL COXBitmapMenuOrganizer::SetMenuIcon(UINT nID, UINT nIconID) { return SetMenuIcon(nID, MAKEINTRESOURCE(nIconID)); }

BOOL COXBitmapMenuOrganizer::SetMenuBitmap(UINT nID, LPCTSTR lpszBitmapID)
{
    if (!IsAttached() || !lpszBitmapID) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CBitmap bitmap;
    BITMAP bm{};
    if (!bitmap.LoadBitmap(lpszBitmapID) || !bitmap.GetBitmap(&bm))
        return FALSE;
    return SetMenuImage(nID, lpszBitmapID, 0, bm.bmWidth);
}

BOOL COXBitmapMenuOrganizer::SetMenuBitmap(UINT nID, UINT nBitmapID)
{
    return SetMenuBitmap(nID, MAKEINTRESOURCE(nBitmapID));
}

// ---- hot images ---------------------------------------------------------------------------------------------------------

BOOL COXBitmapMenuOrganizer::AppendHotImage(UINT nID, HICON hIcon)
{
    COXImageInfo* record = GetMenuItemImageInfo(nID);
    CImageList* list = record ? record->GetImageList() : nullptr;
    // The default list is shared by every command without an image: never added to.
    if (!list || list == &m_defaultImageList || !list->GetSafeHandle() || !hIcon) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int index = list->Add(hIcon);
    if (index < 0)
        return FALSE;
    record->SetHotIndex(index);
    return TRUE;
}

BOOL COXBitmapMenuOrganizer::SetMenuHotImage(UINT nID, LPCTSTR lpszBitmapID, int nImage, int cx)
{
    if (!IsAttached() || !lpszBitmapID || !GetMenuItemImageInfo(nID)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CImageList loaded;
    if (!loaded.Create(lpszBitmapID, cx, 0, kBitmapMask))
        return FALSE;
    const OwnedIcon icon(loaded.ExtractIcon(nImage));
    return icon.get() ? AppendHotImage(nID, icon.get()) : FALSE;
}

BOOL COXBitmapMenuOrganizer::SetMenuHotImage(UINT nID, UINT nBitmapID, int nImage, int cx)
{
    return SetMenuHotImage(nID, MAKEINTRESOURCE(nBitmapID), nImage, cx);
}

BOOL COXBitmapMenuOrganizer::SetMenuHotImage(UINT nID, HICON hIcon)
{
    if (!IsAttached()) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return AppendHotImage(nID, hIcon);
}

BOOL COXBitmapMenuOrganizer::SetMenuHotImage(UINT nID, CBitmap* pBitmap, COLORREF crMask)
{
    COXImageInfo* record = GetMenuItemImageInfo(nID);
    CImageList* list = record ? record->GetImageList() : nullptr;
    if (!IsAttached() || !pBitmap || !pBitmap->GetSafeHandle() || !list || list == &m_defaultImageList ||
        !list->GetSafeHandle()) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int index = list->Add(pBitmap, crMask);
    if (index < 0)
        return FALSE;
    record->SetHotIndex(index);
    return TRUE;
}

BOOL COXBitmapMenuOrganizer::SetMenuHotBitmap(UINT nID, LPCTSTR lpszBitmapID)
{
    if (!IsAttached() || !lpszBitmapID) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CBitmap bitmap;
    BITMAP bm{};
    if (!bitmap.LoadBitmap(lpszBitmapID) || !bitmap.GetBitmap(&bm))
        return FALSE;
    return SetMenuHotImage(nID, lpszBitmapID, 0, bm.bmWidth);
}

BOOL COXBitmapMenuOrganizer::SetMenuHotBitmap(UINT nID, UINT nBitmapID)
{
    return SetMenuHotBitmap(nID, MAKEINTRESOURCE(nBitmapID));
}

BOOL COXBitmapMenuOrganizer::SetMenuHotIcon(UINT nID, LPCTSTR lpszIconID)
{
    if (!IsAttached() || !lpszIconID) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const HICON icon = ::LoadIconW(AfxFindResourceHandle(lpszIconID, RT_GROUP_ICON), lpszIconID);
    return icon ? AppendHotImage(nID, icon) : FALSE;
}

BOOL COXBitmapMenuOrganizer::SetMenuHotIcon(UINT nID, UINT nIconID)
{
    return SetMenuHotIcon(nID, MAKEINTRESOURCE(nIconID));
}

// ---- the toolbars' images ------------------------------------------------------------------------------------------------

BOOL COXBitmapMenuOrganizer::AutoSetMenuImage()
{
    if (!IsAttached()) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Empty(TRUE);
    COXToolBarImageAccess* access = OXGetToolBarImageAccess();
    if (!access)
        return TRUE; // no toolbars to take images from
    int counter = 0;
    for (const OXTOOLBARIMAGES& bar : access->GetToolBarImages(m_pFrameWnd)) {
        if (!bar.hImageList)
            continue;
        const int normal = ImageList_GetImageCount(bar.hImageList);
        auto list = std::make_unique<CImageList>();
        if (normal < 0 || !list->Attach(ImageList_Duplicate(bar.hImageList)))
            continue;
        // Hot image k goes after the normal ones; where it went is what the button gets.
        std::vector<int> hotIndex;
        const int hot = bar.hHotImageList ? ImageList_GetImageCount(bar.hHotImageList) : 0;
        for (int k = 0; k < hot; ++k) {
            const OwnedIcon icon(ImageList_GetIcon(bar.hHotImageList, k, ILD_NORMAL));
            hotIndex.push_back(icon.get() ? list->Add(icon.get()) : -1);
        }
        ++counter;
        CImageList* raw = list.get();
        m_imageLists[std::to_wstring(counter)] = ImageListEntry{raw, std::move(list)};
        for (const OXTOOLBARIMAGES::Button& button : bar.buttons) {
            const int hotImage =
                button.nImage >= 0 && button.nImage < static_cast<int>(hotIndex.size()) ? hotIndex[button.nImage] : -1;
            // A command on several bars takes the last bar's image (in place: a record
            // keeps its address).
            auto& record = m_imageInfos[button.nID];
            if (record)
                *record = COXImageInfo(raw, button.nImage, FALSE, hotImage);
            else
                record = std::make_unique<COXImageInfo>(raw, button.nImage, FALSE, hotImage);
        }
    }
    return TRUE;
}
