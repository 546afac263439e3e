#pragma once
// Toolbar skins: how cool toolbars, the menu bar, skinned combo boxes on toolbars and
// framed child windows paint themselves.
#include "platform/base/wintypes.h"
#include "toolkit/skins/skin_lookup.h"

class CDC;
class CRect;
class CWnd;
class COXCoolToolBar;
class COXMenuBar;
class COXSkinnedComboBox;
class COXSkinXP;
class COXSkin2003;
struct NMHDR;
struct TBBUTTON;

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
    void DrawItemBackground(CDC* dc, TBBUTTON* button, DWORD extendedStyle, const RECT* rect, COLORREF border,
        COLORREF fill);
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
