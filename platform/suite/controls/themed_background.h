#pragma once
// Zyn::Ctl::ThemedControlBackgroundHelper: lets the labels of a window that paints its
// own background (a skinned dialog bar) show that background instead of a flat face
// colour while a visual style is active.
//
// The owning window answers WM_CTLCOLORSTATIC with GetCtlColorBrush: a pattern brush
// holding a picture of the parent's client area (its WM_ERASEBKGND and WM_PRINTCLIENT
// painting into a memory bitmap), with the brush origin set so the picture lines up with
// the control asking, and the text drawn transparently. The picture is taken again when
// the parent's client size changes or after MarkThemeChanged.
//
// "A visual style is active" is the answer of "IsThemeActive" in the visual-styles
// module ("UxTheme.dll"), looked up when first asked and again after MarkThemeChanged;
// without that module or export no style is active.
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/base/wintypes.h"

class CDC;
class CWnd;

namespace Zyn::Ctl {

class ThemedControlBackgroundHelper {
public:
    ThemedControlBackgroundHelper() = default;
    ThemedControlBackgroundHelper(const ThemedControlBackgroundHelper&) = delete;
    ThemedControlBackgroundHelper& operator=(const ThemedControlBackgroundHelper&) = delete;
    ~ThemedControlBackgroundHelper() = default;

    // The window whose background the controls show; not owned. Drops the picture.
    void SetParent(CWnd* pParent);
    CWnd* GetParent() const { return m_pParent; }

    // Whether a visual style is active (see above).
    BOOL IsThemeActive();

    // The brush a control of the parent paints its background with, owned by this
    // object and valid until the next call, SetParent or MarkThemeChanged; null when
    // there is no parent window, pWnd is no descendant of it, or the picture cannot be made. Sets pDC's brush origin
    // (so the picture lines up with pWnd) and transparent text.
    HBRUSH GetCtlColorBrush(CDC* pDC, CWnd* pWnd);

    // The style or the parent's look changed: the next questions look again.
    void MarkThemeChanged();

    // Whether a picture of the parent is held (for tests of its lifetime).
    BOOL HasBrush() const { return m_brush.GetSafeHandle() != nullptr; }

private:
    // Paints the parent's client area into a new pattern brush.
    BOOL MakeBrush(const CSize& size);

    enum class Theme { Unknown, Active, Inactive };

    CWnd* m_pParent = nullptr;
    Theme m_theme = Theme::Unknown;
    CBrush m_brush;
    CSize m_sizeBrush;
};

} // namespace Zyn::Ctl
