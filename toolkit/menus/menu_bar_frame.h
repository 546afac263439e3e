#pragma once
// COXMenuBarFrame<T>: a menu-bar host (menu_bar_host.h) with docking: dock bars on the
// sides the frame enables, the menu bar docked and kept as long as its dock row, the MDI
// client subclassed so that its menu switching (WM_MDISETMENU) reaches the bar and never
// the window system's menu, and clicks on the bar working in context-help mode.
//
// The dock bars are made by a factory: the menu dock bar that gives a menu bar a row of its
// own (menu_dock_bar.h) installs itself when the library loads; without one, COXSizeDockBar.
//
// The MDI client's subclass keeps the client's previous procedure per client window and
// always chains to it, also after the frame left the host map; a component that replaced
// the procedure without chaining is found by a probe at each idle update (WM_NULL sent to
// the client must come back through the subclass) and the subclass is put back, together
// with taking away a window-system menu that came back meanwhile.
#include "platform/user/msgqueue.h"
#include <map>

#include "platform/afx/afxres.h"
#include "platform/afx/doc.h"
#include "platform/afx/dockbar.h"
#include "platform/afx/miniframe.h"
#include "toolkit/docking/dock_messages.h"
#include "toolkit/menus/menu_bar_host.h"

// The dock bars of menu-bar frames. The factory returns a new, windowless dock bar object;
// null puts the default (COXSizeDockBar) back. Returns the previous factory.
using OXMenuFrameDockBarFactory = CDockBar* (*)();
OXMenuFrameDockBarFactory OXSetMenuFrameDockBarFactory(OXMenuFrameDockBarFactory factory);
CDockBar* OXCreateMenuFrameDockBar();

// The MDI clients' previous procedures (per client window) and the frame procedure the
// subclass hands a client's messages to.
using OXMDIClientHandler = LRESULT (*)(HWND hFrame, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, bool* pHandled);
// Subclasses hClient (once; the procedure it replaces is kept for the client) and
// answers TRUE when the subclass is the client's procedure afterwards.
BOOL OXSubclassMDIClient(HWND hClient, HWND hFrame, OXMDIClientHandler handler);
// The procedure the subclass chains to for a client (null when it never was subclassed).
WNDPROC OXGetMDIClientPreviousProc(HWND hClient);
WNDPROC OXGetMDIClientSubclassProc();

template <class T>
class COXMenuBarFrame : public COXMenuBarHost<T> {
public:
    explicit COXMenuBarFrame(DWORD dwMenuBarDockStyle = CBRS_ALIGN_ANY,
        CRuntimeClass* pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd))
        : m_dwMenuBarDockStyle(dwMenuBarDockStyle)
    {
        if (!this->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            AfxThrowNotSupportedException();
        this->m_pFloatingFrameClass = pFloatingFrameClass;
    }

    // Makes the missing dock bars of the sides in dwDockStyle (top, bottom, left, right);
    // a dock bar that cannot be made throws a resource exception.
    virtual void EnableDocking(DWORD dwDockStyle)
    {
        struct Side {
            UINT nID;
            DWORD dwStyle;
        };
        static constexpr Side kSides[] = {{AFX_IDW_DOCKBAR_TOP, 0x2800}, {AFX_IDW_DOCKBAR_BOTTOM, 0x8200},
            {AFX_IDW_DOCKBAR_LEFT, 0x1400}, {AFX_IDW_DOCKBAR_RIGHT, 0x4100}};
        for (const Side& side : kSides) {
            if (!(side.dwStyle & dwDockStyle & CBRS_ALIGN_ANY) || this->GetControlBar(side.nID))
                continue;
            CDockBar* pDock = OXCreateMenuFrameDockBar();
            if (!pDock)
                AfxThrowResourceException();
            pDock->m_bAutoDelete = TRUE;
            if (!pDock->Create(this, side.dwStyle | 0x56000000, side.nID))
                AfxThrowResourceException();
        }
    }
    void EnableSnapping(BOOL bSnapping = TRUE) { m_bSnapping = bSnapping; }
    BOOL IsSnapping() const { return m_bSnapping; }
    DWORD GetMenuBarDockStyle() const { return m_dwMenuBarDockStyle; }
    BOOL IsMDIClientHooked() const { return m_bMDIClientHooked; }

    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
        CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override
    {
        if (!T::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
            return FALSE;
        if (this->m_menuBar.m_hWnd)
            this->m_hMenuDefault = this->m_menuBar.GetHMenu();
        return TRUE;
    }
    void RecalcLayout(BOOL bNotify = TRUE) override
    {
        T::RecalcLayout(bNotify);
        CheckMenuBarSize(bNotify);
    }
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override
    {
        const BOOL bResult = T::OnCreateClient(lpcs, pContext);
        this->AddToGlobalList();
        if (bResult && this->m_bIsMDIFrameWnd)
            SubclassMDIClient();
        return bResult;
    }
    void OnUpdateFrameMenu(HMENU hMenuAlt) override
    {
        if (this->m_bIsMDIFrameWnd) {
            T::OnUpdateFrameMenu(hMenuAlt);
            return;
        }
        // Without a menu named, the active document's own shows, else the frame's default
        // menu (a frame without an active document included).
        if (!hMenuAlt) {
            if (CDocument* pDoc = this->GetActiveDocument())
                hMenuAlt = pDoc->GetDefaultMenu();
            if (!hMenuAlt)
                hMenuAlt = this->m_hMenuDefault;
        }
        this->SetMenu(hMenuAlt ? CMenu::FromHandle(hMenuAlt) : nullptr);
    }

    // Keeps a docked menu bar as long as its dock bar: TRUE when the layout ran again.
    BOOL CheckMenuBarSize(BOOL bNotify)
    {
        COXMenuBar& bar = this->m_menuBar;
        if (!bar.m_hWnd || bar.IsFloating() || m_bInCheck)
            return FALSE;
        CRect rectBar;
        bar.GetWindowRect(&rectBar);
        const bool bHorz = (bar.GetBarStyle() & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
        CControlBar* pRef = nullptr;
        if (bHorz && this->GetControlBar(AFX_IDW_DOCKBAR_TOP))
            pRef = this->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM);
        else if (!bHorz && this->GetControlBar(AFX_IDW_DOCKBAR_LEFT))
            pRef = this->GetControlBar(AFX_IDW_DOCKBAR_RIGHT);
        if (!pRef || !pRef->m_hWnd)
            return FALSE;
        CRect rectRef;
        pRef->GetWindowRect(&rectRef);
        if (bHorz ? rectRef.Width() == rectBar.Width() : rectRef.Height() == rectBar.Height())
            return FALSE;
        // One more pass; a bar that cannot take that length does not start a loop.
        m_bInCheck = TRUE;
        T::RecalcLayout(bNotify);
        m_bInCheck = FALSE;
        return TRUE;
    }

    // The MDI client's messages while subclassed; the result the client's previous
    // procedure gives for the message as changed here.
    virtual LRESULT HandleMDIClientMsg(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        COXMenuBar& bar = this->m_menuBar;
        switch (message) {
        case WM_MDICREATE:
        case WM_MDIDESTROY:
        case WM_MDIACTIVATE:
            if (bar.m_hWnd)
                bar.PostMessage(WM_IDLEUPDATECMDUI, 0, 0);
            break;
        case WM_NULL:
            m_bMDIClientHooked = TRUE;
            break;
        case WM_MDISETMENU:
            if (wParam && bar.m_hWnd)
                bar.SetMenu(reinterpret_cast<HMENU>(wParam));
            wParam = 0;
            if (bar.GetWindowMenu())
                lParam = reinterpret_cast<LPARAM>(bar.GetWindowMenu());
            break;
        default:
            break;
        }
        const WNDPROC prev = OXGetMDIClientPreviousProc(hWnd);
        return prev ? ::CallWindowProcW(prev, hWnd, message, wParam, lParam) : 0;
    }

    // In help mode a press on the bar opens its popup (the item picked there asks help for
    // itself); other mouse messages over the bar are dropped while no popup is shown.
    BOOL ProcessHelpMsg(MSG& msg, DWORD* pContext) override
    {
        const bool bMouse = (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
            (msg.message >= WM_NCMOUSEMOVE && msg.message <= 0x00A9);
        COXMenuBar& bar = this->m_menuBar;
        if (!bMouse || !bar.m_hWnd)
            return T::ProcessHelpMsg(msg, pContext);
        BOOL bDescendant = FALSE;
        const HWND hHit = this->SetHelpCapture(msg.pt, &bDescendant);
        if (!hHit || !bDescendant || hHit != bar.m_hWnd)
            return T::ProcessHelpMsg(msg, pContext);
        MSG taken;
        if (msg.message != WM_LBUTTONDOWN && msg.message != WM_NCLBUTTONDOWN && !bar.IsInDisplayingMode()) {
            ::PeekMessageW(&taken, msg.hwnd, msg.message, msg.message, PM_REMOVE);
            return TRUE;
        }
        ::ReleaseCapture();
        if (!::PeekMessageW(&taken, msg.hwnd, msg.message, msg.message, PM_REMOVE))
            return TRUE;
        // The press was addressed to the frame holding the capture: it goes to the bar.
        CPoint pt = taken.pt;
        bar.ScreenToClient(&pt);
        const UINT message = msg.message == WM_NCLBUTTONDOWN ? WM_LBUTTONDOWN : msg.message;
        bar.SendMessage(message, taken.wParam, MAKELPARAM(pt.x, pt.y));
        if (message == WM_LBUTTONDOWN)
            bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        if (this->m_hWnd && this->m_bHelpMode == CFrameWnd::HELP_ACTIVE) {
            POINT now{};
            ::GetCursorPos(&now);
            this->SetHelpCapture(now, nullptr);
        }
        return TRUE;
    }

protected:
    void SubclassMDIClient()
    {
        auto* pMDI = DYNAMIC_DOWNCAST(CMDIFrameWnd, this);
        if (!pMDI || !pMDI->m_hWndMDIClient)
            return;
        if (OXSubclassMDIClient(pMDI->m_hWndMDIClient, this->m_hWnd, &COXMenuBarFrame::DispatchClientMsg))
            m_bMDIClientHooked = TRUE;
    }
    static LRESULT DispatchClientMsg(HWND hFrame, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, bool* pHandled)
    {
        // Only a frame still in the host map answers; the subclass chains otherwise.
        auto& hosts = COXMenuBarHost<T>::Hosts();
        const auto it = hosts.find(hFrame);
        auto* pFrame = it != hosts.end() && ::IsWindow(hFrame) ? dynamic_cast<COXMenuBarFrame*>(it->second) : nullptr;
        if (!pFrame) {
            *pHandled = false;
            return 0;
        }
        *pHandled = true;
        return pFrame->HandleMDIClientMsg(hWnd, message, wParam, lParam);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_CREATE: {
            const LRESULT result = COXMenuBarHost<T>::WindowProc(message, wParam, lParam);
            if (result == -1)
                return result;
            if (this->m_bIsMDIFrameWnd)
                this->SendMessage(WM_IDLEUPDATECMDUI, 0, 0);
            if (this->m_menuBar.m_hWnd) {
                this->m_menuBar.EnableDocking(m_dwMenuBarDockStyle, TRUE);
                if (m_dwMenuBarDockStyle) {
                    EnableDocking(m_dwMenuBarDockStyle);
                    const CRect rect(0, 0, 0, 0);
                    this->DockControlBar(&this->m_menuBar, static_cast<UINT>(0), &rect);
                }
            }
            return result;
        }
        case WM_INITMENU:
            if (this->m_menuBar.GetHMenu())
                wParam = reinterpret_cast<WPARAM>(this->m_menuBar.GetHMenu());
            break;
        case WM_IDLEUPDATECMDUI:
            if (this->m_bIsMDIFrameWnd) {
                auto* pMDI = DYNAMIC_DOWNCAST(CMDIFrameWnd, this);
                if (pMDI && pMDI->m_hWndMDIClient) {
                    m_bMDIClientHooked = FALSE;
                    ::SendMessageW(pMDI->m_hWndMDIClient, WM_NULL, 0, 0);
                    if (!m_bMDIClientHooked) {
                        SubclassMDIClient();
                        if (::GetMenu(this->m_hWnd))
                            CWnd::SetMenu(nullptr);
                    }
                }
            }
            break;
        case WM_OX_QUERYSNAPPING:
            return m_bSnapping;
        default:
            break;
        }
        return COXMenuBarHost<T>::WindowProc(message, wParam, lParam);
    }

    BOOL m_bSnapping = FALSE;
    DWORD m_dwMenuBarDockStyle = 0;
    BOOL m_bMDIClientHooked = FALSE;
    BOOL m_bInCheck = FALSE;
};
