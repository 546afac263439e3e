#pragma once
// Toolbar skins: how cool toolbars, the menu bar, skinned combo boxes on toolbars and
// framed child windows paint themselves. A toolbar asks the current skin for its toolbar
// skin on every paint and hands it its NM_CUSTOMDRAW notifications, its gripper,
// separators and non-client area and the mark of the button being customised.
//   Classic  leaves the buttons to the toolbar control and only tints them through the
//            custom-draw cycle with the bar's state colours (toolbar_skin_classic.cpp).
//   XP       paints the whole client area itself at the pre-paint stage, into one
//            off-screen bitmap copied with a single blit, and answers CDRF_SKIPDEFAULT
//            (toolbar_skin_xp*.cpp).
//   2003     the XP painting with gradients for the background, the buttons and the
//            non-client body (toolbar_skin_2003.cpp).
// Before handling a notification the XP and Classic skins offer it to the bar's frame
// (NMOXTBPRECUSTOMDRAW below), which may take the paint over. The menu bar, which comes
// later, is known through menubar_paint.h; the skinned combo box (skinned_combo.h) and
// framed child windows are painted in toolbar_skin_frames.cpp.
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"
#include "toolkit/skins/skin_lookup.h"

class CDC;
class CRect;
class CWnd;
class COXCoolToolBar;
class COXMenuBar;
class COXSkinnedComboBox;
class COXSkinXP;
class COXSkin2003;
struct NMCUSTOMDRAW;
struct TBBUTTON;

// Sent as WM_NOTIFY (wParam: the bar's control ID) before a skin handles a toolbar's
// custom-draw notification: to the bar's top-level parent while it floats, else to its
// frame. A receiver that clears bContinue makes the skin answer lResult and paint nothing.
inline constexpr UINT OXTBN_PRECUSTOMDRAW = 32891;
struct NMOXTBPRECUSTOMDRAW {
    NMHDR hdr;                   // the toolbar's window and control ID, OXTBN_PRECUSTOMDRAW
    NMCUSTOMDRAW* pCustomDraw;   // the toolbar's notification (an NMTBCUSTOMDRAW on comctl32 4.71+)
    LRESULT lResult;             // the answer when bContinue is cleared (0 on entry)
    BOOL bContinue;              // TRUE on entry
};

class COXToolbarSkin {
public:
    virtual ~COXToolbarSkin() = default;
    // rect: the area reserved for the gripper, in window coordinates.
    virtual void DrawGripper(CDC* dc, const RECT* rect, COXCoolToolBar* bar) = 0;
    // rect: the window rectangle in window coordinates.
    virtual void DrawNonClientArea(CDC* dc, const RECT* rect, COXCoolToolBar* bar) = 0;
    virtual void DrawSeparator(CDC* dc, const RECT* rect, COXCoolToolBar* bar) = 0;
    // The mark of the button being customised.
    virtual void DrawCustomizedButton(CDC* dc, const RECT* rect, COXCoolToolBar* bar) = 0;
    // The toolbar's NM_CUSTOMDRAW: the notification and the result slot by reference.
    virtual void OnCustomDraw(NMHDR*& nmhdr, LRESULT*& result, COXCoolToolBar* bar) = 0;
    virtual void OnPaintComboBox(COXSkinnedComboBox* combo) = 0;
    // No skin draws system buttons.
    virtual void DrawSystemButton(CDC* dc);
    virtual void DrawComboBox(COXSkinnedComboBox* combo) = 0;
    // The toolbar-style flat frame around a child window's non-client area.
    virtual void DrawWndFrame(CWnd* wnd) = 0;
    // The buttons of a maximised MDI child at the menu bar's right end.
    virtual void DrawMenuButtons(CDC* dc, COXMenuBar* menuBar) = 0;
    // Whether the toolbar's default background erasing is to run.
    virtual BOOL CallOnEraseBkgnd() = 0;
};

// The common controls draw the bar; the skin only tints it with the toolbar's state
// colours.
class COXToolbarSkinClassic : public COXToolbarSkin {
public:
    COXToolbarSkinClassic() = default;
    void DrawGripper(CDC* dc, const RECT* rect, COXCoolToolBar* bar) override;
    void DrawNonClientArea(CDC* dc, const RECT* rect, COXCoolToolBar* bar) override;
    void DrawSeparator(CDC* dc, const RECT* rect, COXCoolToolBar* bar) override;
    void DrawCustomizedButton(CDC* dc, const RECT* rect, COXCoolToolBar* bar) override;
    void OnCustomDraw(NMHDR*& nmhdr, LRESULT*& result, COXCoolToolBar* bar) override;
    void OnPaintComboBox(COXSkinnedComboBox* combo) override;
    void DrawComboBox(COXSkinnedComboBox* combo) override;
    void DrawWndFrame(CWnd* wnd) override;
    void DrawMenuButtons(CDC* dc, COXMenuBar* menuBar) override;
    BOOL CallOnEraseBkgnd() override { return TRUE; }

private:
    void DrawBackground(CDC* dc, COXCoolToolBar* bar);
};

// The whole bar painted by the skin into an off-screen bitmap.
class COXToolbarSkinXP : public COXToolbarSkin {
public:
    explicit COXToolbarSkinXP(COXSkinXP* skin) : m_pSkinXP(skin) {}
    void DrawGripper(CDC* dc, const RECT* rect, COXCoolToolBar* bar) override;
    void DrawNonClientArea(CDC* dc, const RECT* rect, COXCoolToolBar* bar) override;
    void DrawSeparator(CDC* dc, const RECT* rect, COXCoolToolBar* bar) override;
    void DrawCustomizedButton(CDC* dc, const RECT* rect, COXCoolToolBar* bar) override;
    void OnCustomDraw(NMHDR*& nmhdr, LRESULT*& result, COXCoolToolBar* bar) override;
    void OnPaintComboBox(COXSkinnedComboBox* combo) override;
    void DrawComboBox(COXSkinnedComboBox* combo) override;
    void DrawWndFrame(CWnd* wnd) override;
    void DrawMenuButtons(CDC* dc, COXMenuBar* menuBar) override;
    // The skin paints every pixel itself.
    BOOL CallOnEraseBkgnd() override { return FALSE; }

    virtual void DrawBackground(CDC* dc, COXCoolToolBar* bar);
    virtual void DrawItem(CDC* dc, TBBUTTON* button, const RECT* rect, COXCoolToolBar* bar, BOOL drawBackground);
    virtual void DrawDroppedItemBackground(CDC* dc, const RECT* rect);

    COXSkinXP* GetSkin() const { return m_pSkinXP; }

protected:
    void DrawGripperStripes(CDC* dc, CRect& rect, bool horizontalBar);
    // The rectangle deflated by 1 filled, then the outline (DrawItemOutline).
    void DrawItemBackground(CDC* dc, TBBUTTON* button, DWORD extendedStyle, const RECT* rect, COLORREF border,
        COLORREF fill);
    // A 1-pixel frame of the button, its bottom row left open on a menu item's button (no
    // image, one drop-down part), and a frame of its own around a separate arrow part.
    void DrawItemOutline(CDC* dc, TBBUTTON* button, DWORD extendedStyle, const RECT* rect, COLORREF border);
    void DrawItemIcon(CDC* dc, TBBUTTON* button, DWORD extendedStyle, const RECT* rect, BOOL shadow,
        BOOL hotImage, BOOL disabled, COXCoolToolBar* bar);
    void DrawItemText(CDC* dc, TBBUTTON* button, DWORD extendedStyle, const RECT* rect, COLORREF textColour,
        COXCoolToolBar* bar);
    // The size of a button's image (empty for a button without one).
    CRect GetIconRect(int idCommand, COXCoolToolBar* bar);
    // The drop-down arrow part at the right of a button rectangle.
    CRect GetDropArrowRect(CDC* dc, const RECT* rect);
    void DrawInsertMark(CDC* dc, COXCoolToolBar* bar);

    COXSkinXP* m_pSkinXP; // the skin object that created this one; not owned
};

// The XP painting with the gradients of the Office 2003 colours.
class COXToolbarSkin2003 : public COXToolbarSkinXP {
public:
    explicit COXToolbarSkin2003(COXSkin2003* skin);
    void DrawGripper(CDC* dc, const RECT* rect, COXCoolToolBar* bar) override;
    void DrawNonClientArea(CDC* dc, const RECT* rect, COXCoolToolBar* bar) override;
    void DrawSeparator(CDC* dc, const RECT* rect, COXCoolToolBar* bar) override;
    void DrawComboBox(COXSkinnedComboBox* combo) override;
    void DrawWndFrame(CWnd* wnd) override;
    void DrawMenuButtons(CDC* dc, COXMenuBar* menuBar) override;
    void DrawBackground(CDC* dc, COXCoolToolBar* bar) override;
    void DrawItem(CDC* dc, TBBUTTON* button, const RECT* rect, COXCoolToolBar* bar, BOOL drawBackground) override;
    void DrawDroppedItemBackground(CDC* dc, const RECT* rect) override;

protected:
    COXSkin2003* GetSkin2003() const;
    void DrawGradientItemBackground(CDC* dc, TBBUTTON* button, DWORD extendedStyle, const RECT* rect,
        COLORREF border, COLORREF light, COLORREF dark);
};

template <>
struct OXElementSkinTraits<COXToolbarSkin> {
    using Classic = COXToolbarSkinClassic;
    static constexpr COXToolbarSkin* (COXSkin::*Accessor)() const = &COXSkin::GetToolbarSkin;
};
