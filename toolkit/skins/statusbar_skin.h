#pragma once
// Status-bar skins: the status bar (COXStatusBar, status_bar.h) hands its whole WM_PAINT
// to one of these. Classic lets the status-bar control paint and adds the pane bitmaps.
// XP and 2003 paint everything themselves, in this order: the background (BTNFACE; the
// 2003 gradient of 3 rows from the top colour to the middle one, the middle colour, and 5
// rows from the middle colour to the bottom one), every pane's text through the bar's
// DrawItem, the lock indicators (always showing their text, greyed while the lock is off),
// the pane frames (XP: one pixel in the status-pane colour) or separators (2003: a line at
// each pane's right edge with a white line one pixel right and down), the size gripper
// (XP: diagonal shadow and white lines; 2003: six dots), then the pane bitmaps. The last
// pane is drawn its own width + 6 wide. A bar whose frame has no sizing border or is
// maximised has no gripper.
#include "platform/base/wintypes.h"
#include "toolkit/skins/skin_lookup.h"

class CDC;
class CRect;
class COXStatusBar;
class COXSkinXP;
class COXSkin2003;

class COXStatusbarSkin {
public:
    virtual ~COXStatusbarSkin() = default;
    // The whole WM_PAINT of the bar.
    virtual void OnPaintStatusbar(COXStatusBar* bar) = 0;
    // Background and pane contents.
    virtual void DrawStatusBarPanes(CDC* dc, COXStatusBar* bar) = 0;
    // Pane frames or separators.
    virtual void DrawFlatPanes(CDC* dc, COXStatusBar* bar) = 0;
    // The size gripper.
    virtual void DrawGripper(CDC* dc, COXStatusBar* bar) = 0;
};

// The system draws the bar; the skin adds the pane bitmaps.
class COXStatusbarSkinClassic : public COXStatusbarSkin {
public:
    COXStatusbarSkinClassic() = default;
    void OnPaintStatusbar(COXStatusBar* bar) override;
    void DrawStatusBarPanes(CDC* dc, COXStatusBar* bar) override;
    void DrawFlatPanes(CDC* dc, COXStatusBar* bar) override;
    void DrawGripper(CDC* dc, COXStatusBar* bar) override;
};

class COXStatusbarSkinXP : public COXStatusbarSkin {
public:
    explicit COXStatusbarSkinXP(COXSkinXP* skin) : m_pSkinXP(skin) {}
    void OnPaintStatusbar(COXStatusBar* bar) override;
    void DrawStatusBarPanes(CDC* dc, COXStatusBar* bar) override;
    void DrawFlatPanes(CDC* dc, COXStatusBar* bar) override;
    void DrawGripper(CDC* dc, COXStatusBar* bar) override;

    // Draws a keyboard-lock pane's text, greyed while the lock (on) is off.
    void DrawPaneText(CDC* dc, CRect rect, COXStatusBar* bar, int index, int on);

protected:
    // Every pane's contents: the lock indicators by DrawPaneText, the others by the bar's
    // DrawItem with the pane's rectangle.
    void DrawPanes(CDC* dc, COXStatusBar* bar);

    COXSkinXP* m_pSkinXP; // the skin object that created this one; not owned
};

class COXStatusbarSkin2003 : public COXStatusbarSkinXP {
public:
    explicit COXStatusbarSkin2003(COXSkin2003* skin);
    void DrawStatusBarPanes(CDC* dc, COXStatusBar* bar) override;
    void DrawFlatPanes(CDC* dc, COXStatusBar* bar) override;
    void DrawGripper(CDC* dc, COXStatusBar* bar) override;

protected:
    COXSkin2003* GetSkin2003() const;
    // The gradient background of the bar's client area.
    void DrawGradientBackground(CDC* dc, const RECT* rect);
};

template <>
struct OXElementSkinTraits<COXStatusbarSkin> {
    using Classic = COXStatusbarSkinClassic;
    static constexpr COXStatusbarSkin* (COXSkin::*Accessor)() const = &COXSkin::GetStatusbarSkin;
};
