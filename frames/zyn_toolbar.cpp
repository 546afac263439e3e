// CZynToolbar, CToolbarMain and CToolbarMap.
#include "frames/zyn_toolbar.h"

#include "platform/afx/frame.h"
#include "platform/base/cstring.h"
#include "platform/comctl/commctrl.h"
#include "platform/user/winuser.h"
#include "resources/resource.h"

IMPLEMENT_DYNAMIC(CZynToolbar, COXCoolToolBar)
IMPLEMENT_DYNAMIC(CToolbarMain, CZynToolbar)

namespace {

// What every program toolbar adds to the bar style: tooltips, fly-by prompts, a dynamic
// size when floating, and a gripper.
constexpr DWORD kProgramBarStyle = CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC | CBRS_GRIPPER;

// Command IDs whose texts the labels follow: all of them.
constexpr UINT kFirstCommand = 0, kLastCommand = 65535;

} // namespace

CZynToolbar::CZynToolbar(int cx, int cy) : m_cxImage(cx), m_cyImage(cy) {}

CZynToolbar::~CZynToolbar() = default;

BOOL CZynToolbar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT /*nID*/)
{
    // The caption's ID is the bar's ID: the same in every run, whatever the caller passes.
    m_bInCreate = true;
    const BOOL made = COXCoolToolBar::Create(pParentWnd, dwStyle, CaptionResourceID());
    m_bInCreate = false;
    if (!made || !LoadToolBar(ToolbarResourceID()))
        return FALSE;
    return DoPostCreate();
}

BOOL CZynToolbar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID)
{
    // Reached from Create through the cool toolbar's own creation: only the window here.
    if (m_bInCreate)
        return CMFCToolBar::CreateEx(pParentWnd, dwCtrlStyle, dwStyle, rcBorders, nID);
    if (!CMFCToolBar::CreateEx(pParentWnd, dwCtrlStyle, dwStyle, rcBorders, CaptionResourceID()) ||
        !LoadToolBar(ToolbarResourceID()))
        return FALSE;
    return DoPostCreate();
}

BOOL CZynToolbar::DoPostCreate()
{
    SetBarStyle(GetBarStyle() | kProgramBarStyle);
    EnableDocking(CBRS_ALIGN_ANY, TRUE);
    TakeCaption();
    // The control keeps the image size of the bitmap it loaded: a bitmap cut for another
    // size leaves buttons that cannot hold the images as this class states them.
    if (!SetSizes(RecipeButtonSize(), CSize(m_cxImage, m_cyImage)))
        return FALSE;
    SendMessage(TB_AUTOSIZE, 0, 0);
    SetDefaultTextColor(RGB(0, 0, 128));
    SetHotTextColor(RGB(0, 0, 255));
    ShowText(false);
    UpdateSizes();
    return TRUE;
}

void CZynToolbar::TakeCaption()
{
    CString caption;
    if (caption.LoadString(CaptionResourceID()))
        SetWindowText(caption);
}

void CZynToolbar::KeepOwnTexts()
{
    if (!m_hWnd)
        return;
    const int nCount = static_cast<int>(SendMessage(TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < nCount; ++i) {
        const UINT nID = GetItemID(i);
        CString source;
        if (nID == 0 || source.LoadString(nID))
            continue;   // separators, and texts the labels take again from the string
        const CString text = GetButtonText(i);
        if (text.IsEmpty())
            m_mapOwnTexts.erase(nID);   // the host emptied it: nothing to give back
        else
            m_mapOwnTexts[nID] = text;
    }
}

void CZynToolbar::RestoreOwnTexts()
{
    if (!m_hWnd)
        return;
    const int nCount = static_cast<int>(SendMessage(TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < nCount; ++i) {
        const auto it = m_mapOwnTexts.find(GetItemID(i));
        if (it != m_mapOwnTexts.end() && GetButtonText(i).IsEmpty())
            SetButtonText(i, it->second);
    }
}

void CZynToolbar::ShowText(bool show)
{
    if (show) {
        SetButtonTextFromID(kFirstCommand, kLastCommand, TTID_TOOLTIP);
        RestoreOwnTexts();
        SetMaxTextRows(1);
        SetButtonsMinMaxWidth(0, static_cast<UINT>(5 * m_cxImage));
        UpdateSizes();
    } else {
        KeepOwnTexts();
        SetButtonTextFromID(kFirstCommand, kLastCommand, TTID_NOTEXT);
        SetMaxTextRows(0);
        SetButtonsMinMaxWidth(0, static_cast<UINT>(RecipeButtonSize().cx));
        SetSizes(RecipeButtonSize(), CSize(m_cxImage, m_cyImage));
        if (m_hWnd)
            SendMessage(TB_AUTOSIZE, 0, 0);
    }
    // The text type is recorded either way; without a window there is nothing to lay out.
    if (!m_hWnd)
        return;
    CRect rect;
    GetWindowRect(&rect);
    SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    if (CFrameWnd* pFrame = GetDockingFrame())
        pFrame->RecalcLayout(TRUE);
}

// ---- the main toolbar ------------------------------------------------------------------------------------------

CToolbarMain::~CToolbarMain() = default;

UINT CToolbarMain::CaptionResourceID() const { return IDS_ZYN_TOOLBAR_MAIN; }

UINT CToolbarMain::ToolbarResourceID() const { return IDR_ZYN_TOOLBAR_MAIN; }

BOOL CToolbarMain::DoPostCreate()
{
    const BOOL done = CZynToolbar::DoPostCreate();
    ModifyStyle(0, TBSTYLE_FLAT);
    return done;
}

// ---- the registry ------------------------------------------------------------------------------------------------

CZynToolbar* CToolbarMap::Find(UINT id) const
{
    const auto it = find(id);
    return it == end() ? nullptr : it->second;
}

std::pair<CToolbarMap::iterator, bool> CToolbarMap::Insert(CZynToolbar* pToolbar)
{
    if (!pToolbar || !::IsWindow(pToolbar->GetSafeHwnd()))
        return {end(), false};
    return emplace(static_cast<UINT>(pToolbar->GetDlgCtrlID()), pToolbar);
}
