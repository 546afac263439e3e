#pragma once
// Zyn::Ctl::ThemedControlBackgroundHelper: gives the static controls of a window drawn
// with a visual style the background of that window, so a label over a themed (or skinned,
// gradient) surface shows the surface instead of a flat rectangle.
//
// The helper belongs to one parent window (SetParent). Asked for a control's brush in
// WM_CTLCOLORSTATIC (GetCtlColorBrush), it paints the parent's background once into a
// bitmap of the parent's client size (WM_ERASEBKGND, then WM_PRINTCLIENT with
// PRF_CLIENT), makes a pattern brush of it and aligns the brush with the
// control, whose text is then drawn transparently. The picture is kept until the parent's
// size changes or MarkThemeChanged says the look changed.
//
// Whether a visual style is active is asked of the visual-styles library "UxTheme.dll"
// (its IsThemeActive) when it is present; without it no theme is active. The answer is
// kept until MarkThemeChanged.
#include <optional>

#include "platform/afx/gdi/geometry.h"
#include "platform/base/wintypes.h"

class CDC;
class CWnd;

namespace Zyn::Ctl {

class ThemedControlBackgroundHelper {
public:
    ThemedControlBackgroundHelper() = default;
    ~ThemedControlBackgroundHelper();
    ThemedControlBackgroundHelper(const ThemedControlBackgroundHelper&) = delete;
    ThemedControlBackgroundHelper& operator=(const ThemedControlBackgroundHelper&) = delete;

    // The window whose background the controls show (null: none; the brush is then null).
    void SetParent(CWnd* pParent);
    CWnd* GetParent() const { return m_pParent; }

    // Whether a visual style is active now.
    bool IsThemeActive();

    // The brush for a control of the parent (WM_CTLCOLOR*): the parent's background aligned
    // with the control; the DC draws text transparently from then on. Null without a
    // parent window, for a control that is not the parent's descendant, or when the picture
    // cannot be made. The helper owns the brush; it stays valid until the next call that
    // remakes it (a size or theme change) or the helper goes.
    HBRUSH GetCtlColorBrush(CDC* pDC, CWnd* pControl);

    // The look changed: the theme question and the picture are made afresh next time.
    void MarkThemeChanged();

private:
    bool MakeBrush(HWND hParent, const CSize& size);
    void FreeBrush();

    CWnd* m_pParent = nullptr;
    std::optional<bool> m_themeActive;
    HBRUSH m_hBrush = nullptr;
    HBITMAP m_hBitmap = nullptr;
    CSize m_size{0, 0};
};

} // namespace Zyn::Ctl
