#pragma once
// Mini-frame skins: the non-client area, activation look and caption of the floating
// frames that hold floating bars. There is no 2003 class: the "Office 2003" skin uses
// the XP class with its own colours.
#include <memory>

#include "platform/base/wintypes.h"
#include "toolkit/skins/skin_lookup.h"

class CFont;
class CRect;
class COXSizableMiniDockFrameWnd;
class COXSkinXP;

class COXMiniFrameSkin {
public:
    virtual ~COXMiniFrameSkin() = default;
    // WM_NCPAINT of the frame.
    virtual void OnNcPaint(COXSizableMiniDockFrameWnd* frame) = 0;
    // WM_NCACTIVATE of the frame; the result is the message's result.
    virtual BOOL OnNcActivate(BOOL active, COXSizableMiniDockFrameWnd* frame) = 0;
    // Repaints the caption.
    virtual void DrawCaption(COXSizableMiniDockFrameWnd* frame) = 0;
    // Repaints the caption buttons; TRUE when the skin draws its own buttons.
    virtual BOOL DrawCaptionButtons(COXSizableMiniDockFrameWnd* frame) = 0;
};

// The system paints the frame.
class COXMiniFrameSkinClassic : public COXMiniFrameSkin {
public:
    COXMiniFrameSkinClassic() = default;
    void OnNcPaint(COXSizableMiniDockFrameWnd* frame) override;
    BOOL OnNcActivate(BOOL active, COXSizableMiniDockFrameWnd* frame) override;
    void DrawCaption(COXSizableMiniDockFrameWnd* frame) override;
    BOOL DrawCaptionButtons(COXSizableMiniDockFrameWnd* frame) override;
};

// A flat frame, a flat caption and a flat close button.
class COXMiniFrameSkinXP : public COXMiniFrameSkin {
public:
    explicit COXMiniFrameSkinXP(COXSkinXP* skin);
    ~COXMiniFrameSkinXP() override;
    // The caption font belongs to this object.
    COXMiniFrameSkinXP(const COXMiniFrameSkinXP&) = delete;
    COXMiniFrameSkinXP& operator=(const COXMiniFrameSkinXP&) = delete;

    void OnNcPaint(COXSizableMiniDockFrameWnd* frame) override;
    BOOL OnNcActivate(BOOL active, COXSizableMiniDockFrameWnd* frame) override;
    void DrawCaption(COXSizableMiniDockFrameWnd* frame) override;
    BOOL DrawCaptionButtons(COXSizableMiniDockFrameWnd* frame) override;

    COXSkinXP* GetSkin() const { return m_pSkinXP; }

protected:
    // The caption band in window coordinates.
    CRect GetCaptionRect(COXSizableMiniDockFrameWnd* frame);

    COXSkinXP* m_pSkinXP; // the skin object that created this one; not owned
    std::unique_ptr<CFont> m_pCaptionFont; // 8.5-point "Tahoma BOLD"
};

template <>
struct OXElementSkinTraits<COXMiniFrameSkin> {
    using Classic = COXMiniFrameSkinClassic;
    static constexpr COXMiniFrameSkin* (COXSkin::*Accessor)() const = &COXSkin::GetMiniFrameSkin;
};
