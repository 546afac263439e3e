#pragma once
// CControlBar: the base of every bar a frame lays out around its view (toolbars, status
// bars, dialog bars, the dock bars that hold docked bars, and the toolkit's sizeable bars).
//
// A bar keeps its own style word m_dwStyle (CBRS_*), apart from the window style: which
// side it sits on (CBRS_ALIGN_*), which borders it draws (CBRS_BORDER_*), whether it
// floats, shows tooltips and fly-by help, may float with others and how it sizes itself.
// The frame lays its bars out in RepositionBars: each bar answers WM_SIZEPARENT by asking
// itself for its size (CalcDynamicLayout, which the base answers with CalcFixedLayout),
// taking that much from the side of the remaining room its alignment names, and moving
// itself there through the pass's deferred positions (a query moves nothing).
//
// Showing and hiding can be delayed (DelayShow): the bar then counts as shown or hidden
// at once (IsVisible) but its window changes in the next layout pass or idle pass, so a
// frame showing several bars lays out once. A bar whose window is shown or hidden asks
// its docking frame for a delayed layout.
//
// Docking: EnableDocking gives the bar a CDockContext (owned) and the sides it may dock
// to. A left press on empty bar space starts the context's drag, a double click toggles
// between the docked place and the floating place the bar had last. m_pDockBar is the
// CDockBar holding the bar (null when not docked), m_pDockSite the frame whose bar list
// (m_listControlBars) holds the bar from WM_CREATE to WM_DESTROY.
//
// Drawing: the base paints the client area in the button-face colour, the borders its
// style asks for (2 pixels a side: a shadow and a highlight line with CBRS_BORDER_3D, a
// shadow and a face line without) and, with CBRS_GRIPPER on a docked bar, a raised
// gripper 3 pixels wide 2 pixels inside the leading edge.
#include "platform/afx/afxpriv.h"
#include "platform/afx/wnd.h"

class CDC;
class CDockBar;
class CDockContext;
class CControlBarInfo;
class CCmdUI;

// ---- control-bar styles (m_dwStyle) ---------------------------------------------------------------------
inline constexpr DWORD CBRS_ALIGN_LEFT = 0x1000, CBRS_ALIGN_TOP = 0x2000, CBRS_ALIGN_RIGHT = 0x4000,
                       CBRS_ALIGN_BOTTOM = 0x8000, CBRS_ALIGN_ANY = 0xF000;
inline constexpr DWORD CBRS_BORDER_LEFT = 0x0100, CBRS_BORDER_TOP = 0x0200, CBRS_BORDER_RIGHT = 0x0400,
                       CBRS_BORDER_BOTTOM = 0x0800, CBRS_BORDER_ANY = 0x0F00;
inline constexpr DWORD CBRS_TOOLTIPS = 0x0010, CBRS_FLYBY = 0x0020, CBRS_FLOAT_MULTI = 0x0040,
                       CBRS_BORDER_3D = 0x0080, CBRS_HIDE_INPLACE = 0x0008, CBRS_SIZE_DYNAMIC = 0x0004,
                       CBRS_SIZE_FIXED = 0x0002, CBRS_FLOATING = 0x0001, CBRS_GRIPPER = 0x00400000;
inline constexpr DWORD CBRS_ORIENT_HORZ = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
inline constexpr DWORD CBRS_ORIENT_VERT = CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT;
inline constexpr DWORD CBRS_ORIENT_ANY = CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT;
// Every bit that belongs to the bar rather than to its window.
inline constexpr DWORD CBRS_ALL = 0x0040FFFF;
inline constexpr DWORD CBRS_NOALIGN = 0x00000000;
inline constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
inline constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
inline constexpr DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;
inline constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;

// ---- layout modes of CalcDynamicLayout ------------------------------------------------------------------
inline constexpr DWORD LM_STRETCH = 0x01,   // stretch to the frame's side
                       LM_HORZ = 0x02,      // horizontal
                       LM_MRUWIDTH = 0x04,  // the most recently used floating width
                       LM_HORZDOCK = 0x08,  // docked on a horizontal side
                       LM_VERTDOCK = 0x10,  // docked on a vertical side
                       LM_LENGTHY = 0x20,   // nLength is a height, not a width
                       LM_COMMIT = 0x40;    // remember the result as the MRU width

// Help IDs WM_HELPHITTEST answers: a command under the point, else the bar's own ID.
inline constexpr LRESULT HID_BASE_COMMAND = 0x00010000, HID_BASE_CONTROL = 0x00050000;

// The doubled border widths of the layout convention: rows start 2 pixels before the dock
// bar's edge so that each bar's border hides under its neighbour's.
inline constexpr int AFX_CX_BORDER2 = 2, AFX_CY_BORDER2 = 2;
// The gripper: 3 pixels wide with 2 pixels of space on each side.
inline constexpr int AFX_CX_GRIPPER = 3, AFX_CY_GRIPPER = 3, AFX_CX_BORDER_GRIPPER = 2, AFX_CY_BORDER_GRIPPER = 2;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    // Destroys the window while the object is still a control bar, then frees m_pData
    // (malloc'ed) and the dock context.
    ~CControlBar() override;

    // ---- attributes -----------------------------------------------------------------------------------------
    int GetCount() const { return m_nCount; }
    DWORD GetBarStyle() const { return m_dwStyle; }
    // Takes the new style word (the CBRS_ALL bits of dwStyle); when it changed,
    // OnBarStyleChange(old, new) follows. Not virtual: the toolkit's bars hide it.
    void SetBarStyle(DWORD dwStyle);
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    void SetBorders(LPCRECT lpRect);
    CRect GetBorders() const { return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }
    // The frame the bar lays out in: the floating frame when floating, else the dock site.
    CFrameWnd* GetDockingFrame() const;
    BOOL IsFloating() const;
    // Shown, counting a delayed show or hide that has not happened yet.
    virtual BOOL IsVisible() const;
    virtual BOOL IsDockBar() const;
    // Whether a bar docked on this side is laid out horizontally.
    BOOL IsHorzDocked() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }

    // ---- docking --------------------------------------------------------------------------------------------
    // The sides the bar may dock to (CBRS_ALIGN_*, CBRS_FLOAT_MULTI); 0 forbids docking.
    // The first call with sides creates the dock context; the owner becomes the parent
    // when none was set, so commands and updates keep reaching the frame while floating.
    void EnableDocking(DWORD dwDockStyle);

    // ---- layout ---------------------------------------------------------------------------------------------
    // The size of the bar: the base stretches to 32767 along a stretched side, else 0.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // The base: CalcFixedLayout(dwMode & LM_STRETCH, dwMode & LM_HORZ).
    virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
    // Shrinks rect by the borders, the bar's own margins and the gripper (along the bar
    // for a horizontal one, across for a vertical one; margins swap places).
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
    // Asks for a show (bShow) or hide applied at the next layout or idle pass.
    void DelayShow(BOOL bShow);
    // Applies a pending delayed show or hide: through the pass's deferred positions, or
    // at once when lpLayout is null. A query only reports it. Returns the style the bar
    // has for the pass: m_dwStyle with WS_VISIBLE as it will be.
    DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);

    // What a style change does once m_dwStyle holds the new style: tooltips on or off,
    // fly-by help reset, the non-client area recomputed and the bar redrawn. Toolbars
    // also lay their buttons out again when the orientation or floating state changed.
    virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);

    // ---- command updates, painting, state ----------------------------------------------------------------
    // Updates the bar's elements through pTarget's routing (the idle pass). The base has none.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler);
    virtual void DoPaint(CDC* pDC);
    // Draws the borders of the style inside rect and shrinks rect by them.
    virtual void DrawBorders(CDC* pDC, CRect& rect);
    virtual void DrawGripper(CDC* pDC, const CRect& rect);
    // Paints the non-client area (borders and gripper around the client area).
    void EraseNonClient();
    virtual void GetBarInfo(CControlBarInfo* pInfo);
    virtual void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd);

    // ---- overrides ---------------------------------------------------------------------------------------------
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // ---- data (read and written by derived bars) ------------------------------------------------------------
    int m_cxLeftBorder = 6, m_cxRightBorder = 6;
    int m_cyTopBorder = 2, m_cyBottomBorder = 2;
    int m_cxDefaultGap = 2;
    int m_nMRUWidth = 32767;     // the floating width last used (LM_MRUWIDTH)
    int m_nCount = 0;            // elements in m_pData
    void* m_pData = nullptr;     // the elements (malloc'ed; freed with the bar)
    BOOL m_bAutoDelete = FALSE;  // delete the object after its window is gone
    UINT m_nStateFlags = 0;      // the flags below
    DWORD m_dwStyle = 0;         // CBRS_* bits
    DWORD m_dwDockStyle = 0;     // sides the bar may dock to
    CFrameWnd* m_pDockSite = nullptr;
    CDockBar* m_pDockBar = nullptr;
    CDockContext* m_pDockContext = nullptr;   // owned

    enum StateFlags : UINT { delayHide = 1, delayShow = 2, tempHide = 4, statusSet = 8 };

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

protected:
    // Allocates nElements zeroed elements of cbElement bytes into m_pData (replacing
    // the old ones); FALSE, with nothing changed, when the memory cannot be had.
    BOOL AllocElements(int nElements, int cbElement);
    // Fly-by help: the prompt of the command under the point goes to the frame's message
    // line while the mouse is over it, the idle prompt comes back when it leaves.
    void UpdateFlyBy(CPoint ptClient);
    void ResetFlyBy();

    UINT m_nFlyByID = 0;          // the command whose prompt is shown (statusSet)
    static constexpr UINT_PTR kFlyByTimer = 0xE000;
    static constexpr UINT kFlyByCheckMs = 200;

    friend class CDockBar;
    friend class CFrameWnd;

    DECLARE_MESSAGE_MAP()
};
