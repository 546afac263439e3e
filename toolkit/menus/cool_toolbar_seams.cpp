// The seams between the cool toolbar and the units around it: the bitmap menus' access to
// command bars and to a frame's toolbar images (menu_seams.h), installed here when the
// library loads, and the bar drag's docking seam (cool_toolbar_seams.h).
#include "toolkit/menus/cool_toolbar_seams.h"

#include <cstring>

#include "platform/afx/winthread.h"
#include "platform/base/lasterror.h"
#include "platform/user/msgqueue.h"
#include "platform/user/winpos.h"
#include "platform/afx/frame.h"
#include "platform/afx/gdi/dc.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "toolkit/menus/cool_toolbar.h"
#include "toolkit/menus/menu_seams.h"
#include "toolkit/skins/toolbar_skin.h"

namespace {

COXCoolBarDragSeam g_defaultDragSeam;
COXCoolBarDragSeam* g_dragSeam = nullptr;

bool IsOfClassNamed(const CObject* pObject, const char* name)
{
    for (const CRuntimeClass* pClass = pObject ? pObject->GetRuntimeClass() : nullptr; pClass;
         pClass = pClass->GetBaseClass())
        if (pClass->m_lpszClassName && std::strcmp(pClass->m_lpszClassName, name) == 0)
            return true;
    return false;
}

// The cool toolbars (menu bars included) as the bitmap menus ask about them. A menu bar's
// unit answers the MDI child icon by installing a class derived from this one.
class CoolToolBarAccess : public COXCommandBarAccess {
public:
    HWND GetBarWindow(COXCoolToolBar* bar) override { return bar ? bar->m_hWnd : nullptr; }
    DWORD GetBarStyle(COXCoolToolBar* bar) override { return bar ? bar->GetBarStyle() : 0; }
    int FindPressedButton(COXCoolToolBar* bar) override
    {
        if (!bar || !bar->m_hWnd)
            return -1;
        const int nCount = static_cast<int>(bar->SendMessage(TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < nCount; ++i) {
            TBBUTTON button{};
            if (bar->SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button)) &&
                (button.fsState & TBSTATE_PRESSED))
                return i;
        }
        return -1;
    }
    int GetLastDropDownCommand(COXCoolToolBar* bar) override { return bar ? bar->GetLastDropDownCommand() : -1; }
    int CommandToIndex(COXCoolToolBar* bar, UINT nID) override { return bar ? bar->CommandToIndex(nID) : -1; }
    BOOL GetItemRect(COXCoolToolBar* bar, int nIndex, RECT* rect) override
    {
        if (!bar || !bar->m_hWnd || !rect || nIndex < 0 ||
            nIndex >= static_cast<int>(bar->SendMessage(TB_BUTTONCOUNT, 0, 0)))
            return FALSE;
        bar->GetItemRect(nIndex, rect);
        return TRUE;
    }
    BOOL IsMenuBar(COXCoolToolBar* bar) override { return IsOfClassNamed(bar, "COXMenuBar"); }
    BOOL GetMdiChildIconRect(COXCoolToolBar* /*bar*/, RECT* rect) override
    {
        if (rect)
            ::SetRectEmpty(rect);
        return FALSE;
    }
    void DrawButton(COXCoolToolBar* bar, CDC* dc, int nIndex, const RECT& rect) override
    {
        if (!dc || !bar || !bar->m_hWnd || nIndex < 0)
            return;
        TBBUTTON button{};
        if (!bar->SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button)))
            return;
        // Only the icon and the text: what is under them is the caller's. A Classic bar
        // leaves its buttons to the control and has nothing to add here.
        if (auto* skin = dynamic_cast<COXToolbarSkinXP*>(bar->GetToolbarSkin()))
            skin->DrawItem(dc, &button, &rect, bar, FALSE);
    }
};

// The images of a frame's toolbars, for the organizer's menu images.
class ToolBarImageAccess : public COXToolBarImageAccess {
public:
    std::vector<OXTOOLBARIMAGES> GetToolBarImages(CFrameWnd* frame) override
    {
        std::vector<OXTOOLBARIMAGES> result;
        if (!frame)
            return result;
        for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;) {
            auto* pBar = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos));
            if (!pBar || !pBar->m_hWnd || !pBar->IsKindOf(RUNTIME_CLASS(CToolBar)))
                continue;
            OXTOOLBARIMAGES images;
            images.hImageList = reinterpret_cast<HIMAGELIST>(pBar->SendMessage(TB_GETIMAGELIST, 0, 0));
            if (!images.hImageList)
                continue;
            images.hHotImageList = reinterpret_cast<HIMAGELIST>(pBar->SendMessage(TB_GETHOTIMAGELIST, 0, 0));
            const int nCount = static_cast<int>(pBar->SendMessage(TB_BUTTONCOUNT, 0, 0));
            for (int i = 0; i < nCount; ++i) {
                TBBUTTON button{};
                if (!pBar->SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button)) ||
                    (button.fsStyle & TBSTYLE_SEP))
                    continue;
                images.buttons.push_back(OXTOOLBARIMAGES::Button{static_cast<UINT>(button.idCommand), button.iBitmap});
            }
            result.push_back(std::move(images));
        }
        return result;
    }
};

CoolToolBarAccess g_barAccess;
ToolBarImageAccess g_imageAccess;

// Installs the accesses unless somebody installed others already.
void InstallAccesses()
{
    if (COXCommandBarAccess* previous = OXSetCommandBarAccess(&g_barAccess))
        OXSetCommandBarAccess(previous);
    if (COXToolBarImageAccess* previous = OXSetToolBarImageAccess(&g_imageAccess))
        OXSetToolBarImageAccess(previous);
}

[[maybe_unused]] const bool g_accessesInstalled = (InstallAccesses(), true);

} // namespace

COXCoolBarDragSeam& OXGetCoolBarDragSeam() { return g_dragSeam ? *g_dragSeam : g_defaultDragSeam; }

COXCoolBarDragSeam* OXSetCoolBarDragSeam(COXCoolBarDragSeam* pSeam)
{
    COXCoolBarDragSeam* previous = g_dragSeam;
    g_dragSeam = pSeam;
    return previous;
}
