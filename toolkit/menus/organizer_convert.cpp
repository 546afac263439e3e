// Converting a popup into owner-drawn items and giving it back; measuring items and their
// mnemonics.
//
// A popup is wrapped by a COXDragDropBitmapMenu (its items dragged while customising)
// attached as its newest permanent CMenu (whoever held it before keeps it, and is found
// again when the wrapper lets go). Each item that stays in the popup becomes owner-drawn
// with an item record the bitmap menu owns; what the item was (type, type data, command,
// item data) is remembered per record, so the restore gives exactly that back, with the
// record's text, which command updates may have changed meanwhile.
#include <algorithm>

#include "platform/afx/afxstate.h"
#include "platform/afx/frame.h"
#include "platform/user/messages.h"
#include "platform/user/popup_menu.h"
#include "platform/user/window.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/organizer.h"
#include "toolkit/menus/organizer_menu_items.h"

using zyn::menus::kTypeDataBits;

namespace {

// The stand-in of an MDI child's system command in a converted system menu, and back.
UINT MdiCommandFor(UINT nID)
{
    switch (nID) {
    case SC_RESTORE: return ID_OXMDI_RESTORE;
    case SC_MINIMIZE: return ID_OXMDI_MINIMIZE;
    case SC_CLOSE: return ID_OXMDI_CLOSE;
    default: return nID;
    }
}

UINT SystemCommandFor(UINT nID)
{
    switch (nID) {
    case ID_OXMDI_RESTORE: return SC_RESTORE;
    case ID_OXMDI_MINIMIZE: return SC_MINIMIZE;
    case ID_OXMDI_CLOSE: return SC_CLOSE;
    default: return nID;
    }
}

// The mnemonic of a text: the character after the first "&" that is not part of "&&";
// 0 when it has none.
wchar_t MnemonicOf(const CString& text)
{
    const int n = text.GetLength();
    for (int i = 0; i + 1 < n; ++i) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] == L'&') {
            ++i; // a literal ampersand
            continue;
        }
        return static_cast<wchar_t>(towlower(text[i + 1]));
    }
    return 0;
}

} // namespace

// ---- showing a popup ---------------------------------------------------------------------------------------------

void COXBitmapMenuOrganizer::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    if (!pPopupMenu || !pPopupMenu->m_hMenu || !::IsMenu(pPopupMenu->m_hMenu))
        return;
    const HMENU hPopup = pPopupMenu->m_hMenu;
    auto* menu = DYNAMIC_DOWNCAST(COXBitmapMenu, pPopupMenu);
    if (!menu)
        menu = FindConvertedMenu(hPopup);
    BOOL firstTime = FALSE;
    if (!menu) {
        ConvertedMenu entry;
        entry.menu = std::make_unique<COXDragDropBitmapMenu>();
        if (!entry.menu->Attach(hPopup))
            return;
        MENUINFO mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIM_STYLE;
        if (::GetMenuInfo(hPopup, &mi) && mi.dwStyle == MNS_CHECKORBMP)
            entry.hMdiChild = MdiChildOfSystemMenu(hPopup);
        menu = entry.menu.get();
        m_converted.push_back(std::move(entry));
        firstTime = TRUE;
    }
    if (m_pFrameWnd && m_pFrameWnd->GetSafeHwnd())
        menu->OnUpdateCmdUI(m_pFrameWnd, nIndex, bSysMenu);
    ConvertBitmapMenu(menu, firstTime);
    if (m_bCustomizationMode) {
        menu->SetCutomizationMode(TRUE, m_hCustomizeWnd);
    } else {
        menu->SetCustomizedItem(-1);
        menu->SetCutomizationMode(FALSE);
    }
}

COXImageInfo* COXBitmapMenuOrganizer::ImageInfoForCommand(UINT nCommand)
{
    if (const auto it = m_imageInfos.find(nCommand); it != m_imageInfos.end())
        return it->second.get();
    // A command without an image of its own shows the default images (the check mark
    // when it is checked), through the list entered under the command's key.
    const std::wstring key = GetUniqueResourceString(nCommand, FALSE).GetString();
    auto list = m_imageLists.find(key);
    if (list == m_imageLists.end())
        list = m_imageLists.emplace(key, ImageListEntry{&m_defaultImageList, nullptr}).first;
    auto record = std::make_unique<COXImageInfo>(
        list->second.list, 0, list->second.list == &m_defaultImageList ? TRUE : FALSE, -1);
    COXImageInfo* raw = record.get();
    m_imageInfos[nCommand] = std::move(record);
    return raw;
}

// ---- converting ----------------------------------------------------------------------------------------------------------

void COXBitmapMenuOrganizer::ConvertBitmapMenu(COXBitmapMenu* pBitmapMenu, BOOL bFirstTime)
{
    if (!pBitmapMenu || !pBitmapMenu->m_hMenu || !::IsMenu(pBitmapMenu->m_hMenu))
        return;
    const HMENU hMenu = pBitmapMenu->m_hMenu;
    ConvertedMenu* entry = FindEntry(pBitmapMenu);
    pBitmapMenu->GetMnemonicMap().RemoveAll();
    const bool filter = bFirstTime && !m_bExpansionClicked && !m_bCustomizationMode && m_bShowOnlyRecentlyUsed;
    BOOL separatorFlag = TRUE;
    COXArrSavedMenuItem taken;
    const int count = ::GetMenuItemCount(hMenu);
    for (int pos = 0; pos < count; ++pos) {
        MENUITEMINFOW mii{};
        CString text;
        if (!zyn::menus::ReadMenuItem(hMenu, pos, mii, text))
            continue;
        if (filter && !ItemStays(hMenu, pos, mii, separatorFlag)) {
            OXSAVEDMENUITEM saved;
            saved.nPosition = pos;
            saved.mii = mii;
            if (!(mii.fType & kTypeDataBits))
                saved.mii.dwTypeData = nullptr; // the record's own text goes back in
            saved.sText = text;
            taken.push_back(std::move(saved));
            continue;
        }
        // A bitmap item keeps being drawn by the window system: the skins paint text and
        // image-list images, and would show it as an empty row.
        if (mii.fType & MFT_BITMAP)
            continue;
        // Where the item will stand once the items taken out are gone.
        const int finalPos = pos - static_cast<int>(taken.size());
        ConvertItem(entry, pBitmapMenu, pos, mii, text, bFirstTime, finalPos);
    }
    if (bFirstTime) {
        if (!taken.empty()) {
            auto* record = new COXItemInfo(ImageInfoForCommand(ID_OX_SHOWALLITEMS), CString());
            pBitmapMenu->AddItemInfo(record); // owned by the menu from here
            ::AppendMenuW(hMenu, MF_OWNERDRAW, ID_OX_SHOWALLITEMS, reinterpret_cast<LPCWSTR>(record));
        }
        // Removed, not deleted: a submenu an item opens stays alive for its return.
        for (auto it = taken.rbegin(); it != taken.rend(); ++it)
            ::RemoveMenu(hMenu, static_cast<UINT>(it->nPosition), MF_BYPOSITION);
        m_savedItems[pBitmapMenu] = std::move(taken);
    }
    pBitmapMenu->CalcExtents();
}

void COXBitmapMenuOrganizer::ConvertItem(ConvertedMenu* entry, COXBitmapMenu* pBitmapMenu, int nPos,
    const MENUITEMINFOW& mii, const CString& text, BOOL bFirstTime, int nFinalPos)
{
    const HMENU hMenu = pBitmapMenu->m_hMenu;
    const UINT command = mii.hSubMenu ? static_cast<UINT>(-1) : mii.wID;
    COXImageInfo* image = ImageInfoForCommand(command);
    const bool ownerDrawn = (mii.fType & MFT_OWNERDRAW) != 0;
    COXItemInfo* info = pBitmapMenu->GetItemInfo(mii.dwItemData);
    if (bFirstTime || !info) {
        info = new COXItemInfo(image, text);
        pBitmapMenu->AddItemInfo(info); // owned by the menu from here
        if (entry)
            entry->originals[info] = OXORIGINALITEM{mii.fType, zyn::menus::TypeDataOf(mii), mii.wID, mii.dwItemData};
    } else if (!ownerDrawn && !(mii.fType & (kTypeDataBits | MFT_SEPARATOR))) {
        // A plain string item that still carries a record (its text was set anew).
        info->SetText(text);
        if (entry)
            if (const auto o = entry->originals.find(info); o != entry->originals.end()) {
                o->second.fType = mii.fType;
                o->second.typeData = 0;
            }
    }
    MENUITEMINFOW set{};
    set.cbSize = sizeof set;
    set.fMask = MIIM_ID | MIIM_DATA;
    if (!ownerDrawn || !pBitmapMenu->GetItemInfo(mii.dwItemData)) {
        set.fMask |= MIIM_TYPE;
        set.fType = mii.fType | MFT_OWNERDRAW;
        set.dwTypeData = reinterpret_cast<LPWSTR>(info);
    }
    set.dwItemData = reinterpret_cast<ULONG_PTR>(info);
    set.wID = entry && entry->hMdiChild ? MdiCommandFor(mii.wID) : mii.wID;
    ::SetMenuItemInfoW(hMenu, static_cast<UINT>(nPos), TRUE, &set);
    if (const wchar_t mnemonic = MnemonicOf(info->GetText()))
        pBitmapMenu->GetMnemonicMap().SetAt(static_cast<WORD>(mnemonic), nFinalPos);
}

// ---- restoring -------------------------------------------------------------------------------------------------------------

void COXBitmapMenuOrganizer::RestoreBitmapMenu(COXBitmapMenu* pBitmapMenu, BOOL bRestoreItems)
{
    const auto it = std::find_if(m_converted.begin(), m_converted.end(),
        [pBitmapMenu](const ConvertedMenu& e) { return e.menu.get() == pBitmapMenu; });
    if (it == m_converted.end())
        return; // not one of ours
    ConvertedMenu entry = std::move(*it);
    m_converted.erase(it);
    COXArrSavedMenuItem saved;
    if (const auto s = m_savedItems.find(pBitmapMenu); s != m_savedItems.end()) {
        saved = std::move(s->second);
        m_savedItems.erase(s);
    }
    const HMENU hMenu = pBitmapMenu->m_hMenu;
    if (hMenu && ::IsMenu(hMenu)) {
        // The expansion item, when this conversion appended it.
        const int count = ::GetMenuItemCount(hMenu);
        if (count > 0) {
            MENUITEMINFOW last{};
            last.cbSize = sizeof last;
            last.fMask = MIIM_ID | MIIM_DATA;
            if (::GetMenuItemInfoW(hMenu, static_cast<UINT>(count - 1), TRUE, &last) &&
                last.wID == ID_OX_SHOWALLITEMS) {
                const COXItemInfo* record = pBitmapMenu->GetItemInfo(last.dwItemData);
                if (record && !entry.originals.count(record))
                    ::DeleteMenu(hMenu, static_cast<UINT>(count - 1), MF_BYPOSITION);
            }
        }
        // The items always come back while the menu exists: their records go with the
        // bitmap menu, and an item left owner-drawn would point at freed memory.
        (void)bRestoreItems;
        const int n = ::GetMenuItemCount(hMenu);
        for (int pos = 0; pos < n; ++pos) {
            MENUITEMINFOW mii{};
            mii.cbSize = sizeof mii;
            mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
            if (!::GetMenuItemInfoW(hMenu, static_cast<UINT>(pos), TRUE, &mii) || !(mii.fType & MFT_OWNERDRAW))
                continue;
            const COXItemInfo* info = pBitmapMenu->GetItemInfo(mii.dwItemData);
            if (!info)
                continue;
            const CString text = info->GetText();
            MENUITEMINFOW set{};
            set.cbSize = sizeof set;
            set.fMask = MIIM_TYPE | MIIM_ID | MIIM_DATA;
            if (const auto o = entry.originals.find(info); o != entry.originals.end()) {
                set.fType = o->second.fType;
                set.wID = o->second.wID;
                set.dwItemData = o->second.dwItemData;
                if (set.fType & kTypeDataBits)
                    set.dwTypeData = reinterpret_cast<LPWSTR>(o->second.typeData);
            } else {
                // Converted by somebody else (the menu bar): a plain string item again.
                set.fType = mii.fType & ~MFT_OWNERDRAW;
                set.wID = SystemCommandFor(mii.wID);
                set.dwItemData = 0;
            }
            if (!(set.fType & (kTypeDataBits | MFT_SEPARATOR)))
                set.dwTypeData = const_cast<LPWSTR>(text.GetString());
            ::SetMenuItemInfoW(hMenu, static_cast<UINT>(pos), TRUE, &set);
        }
        for (const OXSAVEDMENUITEM& item : saved)
            zyn::menus::InsertMenuItemCopy(hMenu, item.nPosition, item.mii, item.sText);
    } else {
        // The popup went meanwhile; the submenus its hidden items held were only removed
        // from it, so they go now as they would have gone with it.
        for (const OXSAVEDMENUITEM& item : saved)
            if (item.mii.hSubMenu && ::IsMenu(item.mii.hSubMenu))
                ::DestroyMenu(item.mii.hSubMenu);
    }
    pBitmapMenu->Detach();
    // entry.menu deletes the bitmap menu here; the popup lives on.
}

// ---- measuring and mnemonics ------------------------------------------------------------------------------------------------

CMenu* COXBitmapMenuOrganizer::OwnFindPopupMenuFromID(CMenu* pMenu, UINT nID)
{
    struct Search {
        static CMenu* In(HMENU hMenu, UINT nID, int depth)
        {
            if (!hMenu || depth > 64)
                return nullptr;
            const int count = ::GetMenuItemCount(hMenu);
            if (count <= 0)
                return nullptr;
            if (nID == static_cast<UINT>(-1))
                return CMenu::FromHandlePermanent(hMenu);
            for (int pos = 0; pos < count; ++pos) {
                MENUITEMINFOW mii{};
                mii.cbSize = sizeof mii;
                mii.fMask = MIIM_ID | MIIM_SUBMENU;
                if (!::GetMenuItemInfoW(hMenu, static_cast<UINT>(pos), TRUE, &mii))
                    continue;
                if (mii.wID == nID)
                    if (CMenu* found = CMenu::FromHandlePermanent(hMenu))
                        return found;
                if (mii.hSubMenu)
                    if (CMenu* found = In(mii.hSubMenu, nID, depth + 1))
                        return found;
            }
            return nullptr;
        }
    };
    return pMenu ? Search::In(pMenu->m_hMenu, nID, 0) : nullptr;
}

BOOL COXBitmapMenuOrganizer::OnMeasureItem(int /*nIDCtl*/, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (!lpMeasureItemStruct || lpMeasureItemStruct->CtlType != ODT_MENU)
        return FALSE; // a control: the frame's own handling hands it to the control
    // The menu that owns the item's record: exact, whatever commands other popups share.
    for (const ConvertedMenu& entry : m_converted)
        if (entry.menu->GetItemInfo(lpMeasureItemStruct->itemData)) {
            entry.menu->MeasureItem(lpMeasureItemStruct);
            return TRUE;
        }
    CMenu* pSearched = nullptr;
    const AFX_THREAD_STATE* state = AfxGetThreadState();
    if (m_hWnd && state->m_hTrackingWindow == m_hWnd && state->m_hTrackingMenu)
        pSearched = CMenu::FromHandle(state->m_hTrackingMenu);
    else if (m_hWnd)
        pSearched = CMenu::FromHandle(::GetMenu(m_hWnd));
    CMenu* pOwner = OwnFindPopupMenuFromID(pSearched, lpMeasureItemStruct->itemID);
    if (!pOwner && m_nActivePopupMenuCount > 0 &&
        static_cast<size_t>(m_nActivePopupMenuCount) <= m_popupTrace.size())
        pOwner = CMenu::FromHandlePermanent(m_popupTrace[static_cast<size_t>(m_nActivePopupMenuCount) - 1].hPopup);
    if (!pOwner)
        return FALSE;
    pOwner->MeasureItem(lpMeasureItemStruct);
    return TRUE;
}

LRESULT COXBitmapMenuOrganizer::OnMenuChar(UINT nChar, UINT /*nFlags*/, CMenu* pMenu)
{
    auto* menu = DYNAMIC_DOWNCAST(COXBitmapMenu, pMenu);
    int pos = -1;
    if (menu && menu->GetMnemonicMap().Lookup(static_cast<WORD>(nChar), pos))
        return MAKELRESULT(static_cast<WORD>(pos), MNC_EXECUTE);
    return 0;
}
