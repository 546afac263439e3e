// COXMenuBar: the menus shown per document template and their saved contents in the
// application profile (one record per template, menu_bar_record.h), and the changed map of
// menus edited by customisation.
#include <algorithm>

#include "platform/suite/utility/logger.h"
#include "platform/afx/doc.h"
#include "platform/afx/doctempl.h"
#include "platform/afx/frame.h"
#include "platform/afx/mdi.h"
#include "platform/afx/winapp.h"
#include "platform/base/lasterror.h"
#include "platform/suite/utility/logger.h"
#include "platform/user/menu.h"
#include "toolkit/menus/menu_bar.h"
#include "toolkit/menus/menu_bar_record.h"
#include "toolkit/menus/organizer.h"

namespace {

constexpr wchar_t kDefaultSection[] = L"Menu_Default~!@#$#$%^";
constexpr wchar_t kDataSizeEntry[] = L"MenuDataSize";
constexpr wchar_t kItemsEntry[] = L"MenuItems";
constexpr UINT kFirstMDIChild = 0xFF00;

// The tree of a menu; FALSE when it nests or counts beyond what a record may hold.
BOOL ReadMenuTree(HMENU hMenu, OXMenuRecord& out, int depth, size_t& total)
{
    if (depth > OX_MENURECORD_MAX_DEPTH)
        return FALSE;
    const int n = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < n; ++i) {
        if (++total > OX_MENURECORD_MAX_ITEMS)
            return FALSE;
        wchar_t text[1025] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
        info.dwTypeData = text;
        info.cch = 1024;
        if (!::GetMenuItemInfoW(hMenu, static_cast<UINT>(i), TRUE, &info))
            return FALSE;
        OXMENURECORDITEM item;
        item.nType = info.fType;
        item.bHasSubmenu = info.hSubMenu != nullptr;
        item.nID = item.bHasSubmenu ? OX_MENURECORD_POPUP_ID : info.wID;
        if (!(info.fType & (MFT_SEPARATOR | MFT_BITMAP)))
            item.sText = text;
        if (item.bHasSubmenu && !ReadMenuTree(info.hSubMenu, item.children, depth + 1, total))
            return FALSE;
        out.push_back(std::move(item));
    }
    return TRUE;
}

// Builds a record's items into hMenu (a fresh popup): submenus are new popups (noted in
// made), window-list entries and system commands are left out, and the popup holding the
// first window-list entry becomes the window menu (without the separator before it).
BOOL BuildMenu(HMENU hMenu, const OXMenuRecord& record, bool bMDI, std::vector<HMENU>& made, HMENU& hWindowMenu)
{
    for (const OXMENURECORDITEM& item : record) {
        HMENU hSub = nullptr;
        if (item.bHasSubmenu) {
            hSub = ::CreatePopupMenu();
            if (!hSub)
                return FALSE;
            made.push_back(hSub);
            if (!BuildMenu(hSub, item.children, bMDI, made, hWindowMenu))
                return FALSE;
        }
        if (!hSub && item.nID == kFirstMDIChild && bMDI) {
            const int n = ::GetMenuItemCount(hMenu);
            if (n > 0 && (::GetMenuState(hMenu, static_cast<UINT>(n - 1), MF_BYPOSITION) & MF_SEPARATOR))
                ::DeleteMenu(hMenu, static_cast<UINT>(n - 1), MF_BYPOSITION);
            hWindowMenu = hMenu;
        }
        if (!hSub && item.nID >= kFirstMDIChild)
            continue;
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
        info.fType = item.nType;
        info.wID = hSub ? OX_MENURECORD_POPUP_ID : item.nID;
        info.hSubMenu = hSub;
        std::wstring text = item.sText;
        if (!(item.nType & (MFT_SEPARATOR | MFT_BITMAP))) {
            info.dwTypeData = text.data();
            info.cch = static_cast<UINT>(text.size());
        }
        if (!::InsertMenuItemW(hMenu, static_cast<UINT>(::GetMenuItemCount(hMenu)), TRUE, &info))
            return FALSE;
    }
    return TRUE;
}

// Moves every item of hFrom to the end of hTo (submenus move with them).
BOOL MoveItems(HMENU hFrom, HMENU hTo)
{
    while (::GetMenuItemCount(hFrom) > 0) {
        wchar_t text[1025] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_TYPE | MIIM_STATE | MIIM_DATA;
        info.dwTypeData = text;
        info.cch = 1024;
        if (!::GetMenuItemInfoW(hFrom, 0, TRUE, &info))
            return FALSE;
        if (!(info.fType & (MFT_SEPARATOR | MFT_BITMAP))) {
            info.dwTypeData = text;
            info.cch = static_cast<UINT>(wcslen(text));
        }
        if (!::InsertMenuItemW(hTo, static_cast<UINT>(::GetMenuItemCount(hTo)), TRUE, &info))
            return FALSE;
        ::RemoveMenu(hFrom, 0, MF_BYPOSITION);
    }
    return TRUE;
}

CString ClassNameOf(const CDocument* pDoc)
{
    if (!pDoc)
        return CString();
    const CRuntimeClass* pClass = pDoc->GetRuntimeClass();
    if (!pClass || !pClass->m_lpszClassName)
        return CString();
    return CString(pClass->m_lpszClassName);
}

// The class name of the first open document of the template that shows hMenu: the name
// its saved state goes under. Empty for a menu of no template or one without documents.
CString DocumentClassOfMenu(const std::map<HMENU, CDocTemplate*>& templates, HMENU hMenu)
{
    const auto it = templates.find(hMenu);
    if (it == templates.end() || !it->second)
        return CString();
    POSITION pos = it->second->GetFirstDocPosition();
    return pos ? ClassNameOf(it->second->GetNextDoc(pos)) : CString();
}

} // namespace

CString COXMenuBar::GetSectionName(LPCTSTR lpszName)
{
    if (!lpszName || !*lpszName)
        return CString(kDefaultSection);
    return CString(L"Menu_") + lpszName;
}

void COXMenuBar::MarkAsChanged()
{
    if (!m_hMenu || m_mapChanged.count(m_hMenu))
        return;
    const int nOrder = static_cast<int>(m_mapChanged.size());
    m_mapChanged[m_hMenu] = nOrder;
}

BOOL COXMenuBar::IsMarkedAsChanged() const { return m_hMenu && m_mapChanged.count(m_hMenu) != 0; }

BOOL COXMenuBar::SaveMenuState(HMENU hMenu, LPCTSTR lpszName)
{
    if (!IsCustomizable(TRUE))
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !hMenu || !::IsMenu(hMenu)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    OXMenuRecord record;
    size_t total = 0;
    if (!ReadMenuTree(hMenu, record, 1, total)) {
        // A menu no record could read back is not written.
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    std::vector<uint8_t> bytes;
    OXWriteMenuRecord(record, bytes);
    const CString section = GetSectionName(lpszName);
    if (!pApp->WriteProfileBinary(section, kItemsEntry, bytes.data(), static_cast<UINT>(bytes.size())) ||
        !pApp->WriteProfileInt(section, kDataSizeEntry, static_cast<int>(bytes.size())))
        return FALSE;
    if (m_pFrameWnd && m_pFrameWnd->m_hWnd)
        m_pFrameWnd->SendMessage(WM_OX_SAVERUSUBMENUS, reinterpret_cast<WPARAM>(hMenu),
            reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(section)));
    return TRUE;
}

BOOL COXMenuBar::LoadMenuState(HMENU hMenu, LPCTSTR lpszName)
{
    if (!IsCustomizable(TRUE))
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    const CString section = GetSectionName(lpszName);
    BOOL bResult = TRUE;
    if (pApp && hMenu && ::IsMenu(hMenu) &&
        static_cast<int>(pApp->GetProfileInt(section, kDataSizeEntry, -1)) != -1) {
        LPBYTE pData = nullptr;
        UINT nBytes = 0;
        if (pApp->GetProfileBinary(section, kItemsEntry, &pData, &nBytes)) {
            OXMenuRecord record;
            const OXMenuRecordResult parsed = OXParseMenuRecord(std::span<const uint8_t>(pData, nBytes), record);
            delete[] pData;
            if (!parsed.ok()) {
                bResult = FALSE;
                CLogger::LogRefusedProfileValue(section, kItemsEntry, CString(OXMenuRecordErrorText(parsed.error)));
                ::SetLastError(ERROR_INVALID_DATA);
            } else {
                // Built into a menu of its own first; swapped in only when all of it took.
                std::vector<HMENU> made;
                HMENU hWindowMenu = nullptr;
                const HMENU hTemp = ::CreatePopupMenu();
                const bool bMDI = DYNAMIC_DOWNCAST(CMDIFrameWnd, m_pFrameWnd) != nullptr;
                if (hTemp && BuildMenu(hTemp, record, bMDI, made, hWindowMenu)) {
                    while (::GetMenuItemCount(hMenu) > 0)
                        ::DeleteMenu(hMenu, 0, MF_BYPOSITION);
                    MoveItems(hTemp, hMenu);
                    ::DestroyMenu(hTemp);
                    m_hWindowMenu = hWindowMenu == hTemp ? hMenu : hWindowMenu;
                    m_arrCreatedMenus.insert(m_arrCreatedMenus.end(), made.begin(), made.end());
                } else {
                    if (hTemp)
                        ::DestroyMenu(hTemp);
                    bResult = FALSE;
                    CLogger::LogRefusedProfileValue(section, kItemsEntry, L"its items could not be made into a menu");
                    ::SetLastError(ERROR_INVALID_DATA);
                }
            }
        }
    }
    if (m_pFrameWnd && m_pFrameWnd->m_hWnd)
        m_pFrameWnd->SendMessage(WM_OX_LOADRUSUBMENUS, reinterpret_cast<WPARAM>(hMenu),
            reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(section)));
    return bResult;
}

BOOL COXMenuBar::SaveBarState(LPCTSTR /*lpszSubKey*/, LPCTSTR /*lpszValueName*/, BOOL /*bProperties*/)
{
    if (!IsCustomizable(TRUE))
        return TRUE;
    const std::map<HMENU, int> changed = m_mapChanged;
    for (const auto& [hMenu, order] : changed) {
        (void)order;
        const CString name = DocumentClassOfMenu(m_mapTemplates, hMenu);
        SaveMenuState(hMenu, name.IsEmpty() ? nullptr : static_cast<LPCTSTR>(name));
        m_mapChanged.erase(hMenu);
    }
    return TRUE;
}

BOOL COXMenuBar::LoadBarState(LPCTSTR /*lpszSubKey*/, LPCTSTR /*lpszValueName*/, BOOL /*bProperties*/) { return TRUE; }

BOOL COXMenuBar::SaveCustomizedMenu()
{
    if (!IsCustomizable(TRUE) || !IsMarkedAsChanged())
        return TRUE;
    const CString name = DocumentClassOfMenu(m_mapTemplates, m_hMenu);
    const BOOL bResult = SaveMenuState(m_hMenu, name.IsEmpty() ? nullptr : static_cast<LPCTSTR>(name));
    m_mapChanged.erase(m_hMenu);
    return bResult;
}

CDocument* COXMenuBar::FindActiveDocument() const
{
    if (auto* pMDI = DYNAMIC_DOWNCAST(CMDIFrameWnd, m_pFrameWnd)) {
        CMDIChildWnd* pChild = pMDI->MDIGetActive();
        return pChild ? pChild->GetActiveDocument() : nullptr;
    }
    if (auto* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, m_pFrameWnd))
        return pFrame->GetActiveDocument();
    return nullptr;
}

BOOL COXMenuBar::SetMenu(HMENU hMenu)
{
    if (hMenu == m_hMenu)
        return TRUE;
    SaveCustomizedMenu();
    m_hMenu = hMenu;
    if (!IsCustomizable(TRUE) || !hMenu || m_mapTemplates.count(hMenu))
        return RecreateMenuBar(TRUE);
    // The document's template, from the active document (none without one).
    CDocument* pDoc = FindActiveDocument();
    CDocTemplate* pTemplate = pDoc ? pDoc->GetDocTemplate() : nullptr;
    const bool bSeen = std::any_of(m_mapTemplates.begin(), m_mapTemplates.end(),
        [pTemplate](const auto& entry) { return entry.second == pTemplate; });
    if (!bSeen) {
        m_mapTemplates[hMenu] = pTemplate;
        const CString name = ClassNameOf(pDoc);
        LoadMenuState(hMenu, name.IsEmpty() ? nullptr : static_cast<LPCTSTR>(name));
    }
    return RecreateMenuBar(TRUE);
}
