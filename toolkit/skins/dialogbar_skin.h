#pragma once
// Dialog-bar skins: background, gripper and non-client border of skinned dialog bars;
// each is the twin of the toolbar skin of the same style.
#include "platform/base/wintypes.h"
#include "toolkit/skins/skin_lookup.h"

class CDC;
class CRect;
class CDialogBar;
class COXSkinXP;
class COXSkin2003;

class COXDialogBarSkin {
public:
    virtual ~COXDialogBarSkin() = default;
    virtual void DrawBackground(CDC* dc, CDialogBar* bar) = 0;
    // rect: the area reserved for the gripper.
    virtual void DrawGripper(CDC* dc, const RECT* rect, CDialogBar* bar) = 0;
    // rect: the bar's window rectangle in window coordinates.
    virtual void DrawNonClientArea(CDC* dc, const RECT* rect, CDialogBar* bar) = 0;
    // Whether the bar's default background erasing is to run.
    virtual BOOL CallOnEraseBkgnd() = 0;
};

class COXDialogBarSkinClassic : public COXDialogBarSkin {
public:
    COXDialogBarSkinClassic() = default;
    void DrawBackground(CDC* dc, CDialogBar* bar) override;
    void DrawGripper(CDC* dc, const RECT* rect, CDialogBar* bar) override;
    void DrawNonClientArea(CDC* dc, const RECT* rect, CDialogBar* bar) override;
    BOOL CallOnEraseBkgnd() override { return TRUE; }
};

class COXDialogBarSkinXP : public COXDialogBarSkin {
public:
    explicit COXDialogBarSkinXP(COXSkinXP* skin) : m_pSkinXP(skin) {}
    void DrawBackground(CDC* dc, CDialogBar* bar) override;
    void DrawGripper(CDC* dc, const RECT* rect, CDialogBar* bar) override;
    void DrawNonClientArea(CDC* dc, const RECT* rect, CDialogBar* bar) override;
    // The skin paints every pixel itself.
    BOOL CallOnEraseBkgnd() override { return FALSE; }

protected:
    // 1-pixel lines in the gripper colour every second row or column.
    void DrawGripperStripes(CDC* dc, CRect& rect, bool horizontalBar);

    COXSkinXP* m_pSkinXP; // the skin object that created this one; not owned
};

class COXDialogBarSkin2003 : public COXDialogBarSkinXP {
public:
    explicit COXDialogBarSkin2003(COXSkin2003* skin);
    void DrawBackground(CDC* dc, CDialogBar* bar) override;
    void DrawGripper(CDC* dc, const RECT* rect, CDialogBar* bar) override;
    void DrawNonClientArea(CDC* dc, const RECT* rect, CDialogBar* bar) override;

protected:
    COXSkin2003* GetSkin2003() const;
};

template <>
struct OXElementSkinTraits<COXDialogBarSkin> {
    using Classic = COXDialogBarSkinClassic;
    static constexpr COXDialogBarSkin* (COXSkin::*Accessor)() const = &COXSkin::GetDialogBarSkin;
};
