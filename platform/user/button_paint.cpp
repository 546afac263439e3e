// Painting the Button control in the classic look (button.h).
#include <algorithm>
#include <string>

#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/button.h"
#include "platform/user/button_internal.h"
#include "platform/user/custom_draw.h"
#include "platform/user/messages.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::user {
namespace {

constexpr int kContentInset = 3;  // push button content inside the frame control
constexpr int kCheckGap = 4;      // between a check box and its text
constexpr int kGroupTextIndent = 8;
constexpr int kGroupTextPad = 2;

enum class VAlign { Top, Center, Bottom };

VAlign VerticalOf(DWORD style)
{
    switch (style & BS_VCENTER) {
    case BS_TOP: return VAlign::Top;
    case BS_BOTTOM: return VAlign::Bottom;
    default: return VAlign::Center;
    }
}

UINT HorizontalOf(DWORD style, UINT fallback)
{
    switch (style & BS_CENTER) {
    case BS_LEFT: return DT_LEFT;
    case BS_RIGHT: return DT_RIGHT;
    case BS_CENTER: return DT_CENTER;
    default: return fallback;
    }
}

// Where text of `flags` (DT_LEFT/CENTER/RIGHT, DT_WORDBREAK or DT_SINGLELINE) lands inside
// `area`: its measured extent placed by the alignments, clipped to the area.
RECT PlaceText(HDC hdc, const std::wstring& text, const RECT& area, UINT flags, VAlign v)
{
    const RECT m = MeasureControlText(hdc, text, area, flags);
    const int w = std::min<int>(m.right - m.left, area.right - area.left);
    const int h = std::min<int>(m.bottom - m.top, area.bottom - area.top);
    int x = area.left;
    if (flags & DT_CENTER)
        x = area.left + (area.right - area.left - w) / 2;
    else if (flags & DT_RIGHT)
        x = area.right - w;
    int y = area.top;
    if (v == VAlign::Center)
        y = area.top + (area.bottom - area.top - h) / 2;
    else if (v == VAlign::Bottom)
        y = area.bottom - h;
    return RECT{x, y, x + w, y + h};
}

bool HasImage(DWORD style, const ButtonState& st) { return (style & (BS_ICON | BS_BITMAP)) && st.image; }

SIZE ImageSize(const ButtonState& st)
{
    if (st.imageType == IMAGE_BITMAP) {
        BITMAP bm{};
        if (GetObjectW(st.image, sizeof bm, &bm))
            return SIZE{bm.bmWidth, bm.bmHeight};
        return SIZE{0, 0};
    }
    return SIZE{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
}

void DrawImage(HDC hdc, const ButtonState& st, const RECT& area, UINT hFlag, VAlign v, bool enabled)
{
    const SIZE s = ImageSize(st);
    int x = area.left, y = area.top;
    if (hFlag & DT_CENTER)
        x = area.left + (area.right - area.left - s.cx) / 2;
    else if (hFlag & DT_RIGHT)
        x = area.right - s.cx;
    if (v == VAlign::Center)
        y = area.top + (area.bottom - area.top - s.cy) / 2;
    else if (v == VAlign::Bottom)
        y = area.bottom - s.cy;
    const UINT kind = st.imageType == IMAGE_BITMAP ? DST_BITMAP : DST_ICON;
    DrawStateW(hdc, nullptr, nullptr, reinterpret_cast<LPARAM>(st.image), 0, x, y, s.cx, s.cy,
        kind | (enabled ? DSS_NORMAL : DSS_DISABLED));
}

void PaintPush(HWND hwnd, HDC hdc, const ButtonState& st, DWORD style, bool enabled)
{
    ControlBrush(hwnd, hdc, WM_CTLCOLORBTN); // asked, as documented; push buttons keep the 3D colours
    RECT rc;
    GetClientRect(hwnd, &rc);
    RECT r = rc;
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        FrameRect(hdc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        r = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
    UINT dfcs = DFCS_BUTTONPUSH;
    if (st.pushed)
        dfcs |= DFCS_PUSHED;
    const ButtonKind kind = KindOf(style);
    if ((kind == ButtonKind::Check || kind == ButtonKind::Radio) && st.check)
        dfcs |= DFCS_CHECKED;
    if (style & BS_FLAT)
        dfcs |= DFCS_FLAT;
    RECT frame = r;
    DrawFrameControl(hdc, &frame, DFC_BUTTON, dfcs);
    const RECT content{r.left + kContentInset, r.top + kContentInset, r.right - kContentInset, r.bottom - kContentInset};
    RECT area = content;
    if (st.pushed)
        area = RECT{area.left + 1, area.top + 1, area.right + 1, area.bottom + 1};
    const UINT h = HorizontalOf(style, DT_CENTER);
    const VAlign v = VerticalOf(style);
    if (HasImage(style, st)) {
        DrawImage(hdc, st, area, h, v, enabled);
    } else {
        const std::wstring text = WindowTextOf(hwnd);
        const UINT flags = h | ((style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE);
        SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
        DrawControlText(hdc, text, PlaceText(hdc, text, area, flags, v), flags, enabled);
    }
    if (st.focus)
        DrawFocusRect(hdc, &content);
}

void PaintCheck(HWND hwnd, HDC hdc, const ButtonState& st, DWORD style, bool enabled)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(hdc, &rc, ControlBrush(hwnd, hdc, WM_CTLCOLORSTATIC));
    const int cx = GetSystemMetrics(SM_CXMENUCHECK), cy = GetSystemMetrics(SM_CYMENUCHECK);
    const bool leftText = (style & BS_LEFTTEXT) != 0;
    const VAlign v = VerticalOf(style);
    RECT box;
    box.left = leftText ? rc.right - cx : rc.left;
    box.right = box.left + cx;
    box.top = v == VAlign::Top ? rc.top : v == VAlign::Bottom ? rc.bottom - cy : rc.top + (rc.bottom - rc.top - cy) / 2;
    box.bottom = box.top + cy;
    const bool radio = KindOf(style) == ButtonKind::Radio;
    UINT dfcs = radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    if (st.check == BST_CHECKED)
        dfcs |= DFCS_CHECKED;
    else if (st.check == BST_INDETERMINATE && !radio)
        dfcs |= DFCS_CHECKED | DFCS_BUTTON3STATE;
    if (st.pushed)
        dfcs |= DFCS_PUSHED;
    if (!enabled)
        dfcs |= DFCS_INACTIVE;
    if (style & BS_FLAT)
        dfcs |= DFCS_FLAT;
    RECT drawn = box;
    DrawFrameControl(hdc, &drawn, DFC_BUTTON, dfcs);
    const RECT area = leftText ? RECT{rc.left, rc.top, box.left - kCheckGap, rc.bottom}
                               : RECT{box.right + kCheckGap, rc.top, rc.right, rc.bottom};
    const UINT h = HorizontalOf(style, DT_LEFT);
    if (HasImage(style, st)) {
        DrawImage(hdc, st, area, h, v, enabled);
        return;
    }
    const std::wstring text = WindowTextOf(hwnd);
    if (text.empty())
        return;
    const UINT flags = h | ((style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE);
    const RECT at = PlaceText(hdc, text, area, flags, v);
    DrawControlText(hdc, text, at, flags, enabled);
    if (st.focus) {
        RECT f{at.left - 1, at.top - 1, at.right + 1, at.bottom + 1};
        IntersectRect(&f, &f, &rc);
        DrawFocusRect(hdc, &f);
    }
}

void PaintGroup(HWND hwnd, HDC hdc, DWORD style, bool enabled)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    const HBRUSH brush = ControlBrush(hwnd, hdc, WM_CTLCOLORSTATIC);
    TEXTMETRICW tm{};
    GetTextMetricsW(hdc, &tm);
    RECT frame{rc.left, rc.top + tm.tmHeight / 2, rc.right, rc.bottom};
    DrawEdge(hdc, &frame, EDGE_ETCHED, BF_RECT);
    const std::wstring text = WindowTextOf(hwnd);
    if (text.empty())
        return;
    const RECT line{rc.left + kGroupTextIndent, rc.top, rc.right - kGroupTextIndent, rc.top + tm.tmHeight};
    const UINT flags = HorizontalOf(style, DT_LEFT) | DT_SINGLELINE;
    const RECT at = PlaceText(hdc, text, line, flags, VAlign::Top);
    const RECT back{at.left - kGroupTextPad, at.top, at.right + kGroupTextPad, at.bottom};
    FillRect(hdc, &back, brush);
    DrawControlText(hdc, text, at, flags, enabled);
}

UINT OwnerState(HWND hwnd, const ButtonState& st)
{
    UINT s = 0;
    if (st.pushed)
        s |= ODS_SELECTED;
    if (st.focus)
        s |= ODS_FOCUS;
    if (!IsWindowEnabled(hwnd))
        s |= ODS_DISABLED;
    return s;
}

// The CDIS_ state custom drawing reports: pressed, focused, disabled (the CDIS_ bits are
// the ODS_ ones), and the default button.
UINT CustomDrawState(HWND hwnd, const ButtonState& st, DWORD style)
{
    static_assert(CDIS_SELECTED == ODS_SELECTED && CDIS_FOCUS == ODS_FOCUS && CDIS_DISABLED == ODS_DISABLED);
    return OwnerState(hwnd, st) | ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? CDIS_DEFAULT : 0u);
}

} // namespace

ButtonKind KindOf(DWORD style)
{
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: return ButtonKind::Check;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return ButtonKind::Radio;
    case BS_GROUPBOX: return ButtonKind::Group;
    case BS_OWNERDRAW: return ButtonKind::OwnerDraw;
    default: return ButtonKind::Push;
    }
}

void PaintButton(HWND hwnd, HDC hdc, const ButtonState& st)
{
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    const int saved = SaveDC(hdc);
    SelectObject(hdc, FontOrSystem(st.font));
    const ButtonKind kind = KindOf(style);
    if (kind == ButtonKind::Push || kind == ButtonKind::Check || kind == ButtonKind::Radio) {
        // Push buttons, check boxes and radio buttons take part in custom drawing, so a
        // parent (a skin) can draw them over or instead of the classic look.
        RECT rc;
        GetClientRect(hwnd, &rc);
        CustomDraw cd(hwnd, hdc, rc, CustomDrawState(hwnd, st, style));
        if (cd.PrePaint() && IsWindow(hwnd)) {
            const int beforeDefault = SaveDC(hdc);
            if (kind == ButtonKind::Check || kind == ButtonKind::Radio) {
                if (style & BS_PUSHLIKE)
                    PaintPush(hwnd, hdc, st, style, enabled);
                else
                    PaintCheck(hwnd, hdc, st, style, enabled);
            } else {
                PaintPush(hwnd, hdc, st, style, enabled);
            }
            RestoreDC(hdc, beforeDefault);
        }
        if (IsWindow(hwnd))
            cd.PostPaint();
        RestoreDC(hdc, saved);
        return;
    }
    switch (kind) {
    case ButtonKind::OwnerDraw: {
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(hdc, &rc, ControlBrush(hwnd, hdc, WM_CTLCOLORBTN));
        SendDrawItem(hwnd, ODT_BUTTON, 0, ODA_DRAWENTIRE, OwnerState(hwnd, st), hdc, rc, 0);
        break;
    }
    case ButtonKind::Group:
        PaintGroup(hwnd, hdc, style, enabled);
        break;
    default:
        break;
    }
    RestoreDC(hdc, saved);
}

void DrawOwnerButton(HWND hwnd, const ButtonState& st, UINT action)
{
    if (!IsWindowVisible(hwnd))
        return;
    HDC hdc = GetDC(hwnd);
    if (!hdc)
        return;
    const int saved = SaveDC(hdc);
    SelectObject(hdc, FontOrSystem(st.font));
    RECT rc;
    GetClientRect(hwnd, &rc);
    SendDrawItem(hwnd, ODT_BUTTON, 0, action, OwnerState(hwnd, st), hdc, rc, 0);
    RestoreDC(hdc, saved);
    ReleaseDC(hwnd, hdc);
}

} // namespace zyn::user
