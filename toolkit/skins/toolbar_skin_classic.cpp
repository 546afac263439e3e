// The Classic toolbar skin: the toolbar control draws the bar; through the custom-draw
// cycle the skin only tints each button with the bar's state colours (text, border and
// background for the default, hot, selected and checked states; unset ones change
// nothing), frames the drop-down arrow part and marks the button being customised.
#include "platform/afx/gdi/brush.h"
#include "platform/afx/mdi.h"
#include "platform/comctl/toolbar.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/styles.h"
#include "toolkit/menus/cool_toolbar.h"
#include "toolkit/skins/bar_skin_draw.h"
#include "toolkit/skins/skinned_combo.h"
#include "toolkit/skins/toolbar_skin.h"
#include "toolkit/skins/toolbar_skin_bar.h"

using namespace zyn;

namespace {

constexpr DWORD kComCtl471 = 0x40047;

// The state colours of one state; kColorNotSet where the bar has none.
struct StateColours {
    COLORREF text;
    COLORREF border;
    COLORREF background;
};

enum class ColourState { Default, Hot, Selected, Checked };

StateColours ColoursOf(const COXCoolToolBar& bar, ColourState state)
{
    switch (state) {
    case ColourState::Hot:
        return {bar.GetHotTextColor(), bar.GetHotBorderColor(), bar.GetHotBkColor()};
    case ColourState::Selected:
        return {bar.GetSelectedTextColor(), bar.GetSelectedBorderColor(), bar.GetSelectedBkColor()};
    case ColourState::Checked:
        return {bar.GetCheckedTextColor(), bar.GetCheckedBorderColor(), bar.GetCheckedBkColor()};
    case ColourState::Default:
    default:
        return {bar.GetDefaultTextColor(), bar.GetDefaultBorderColor(), bar.GetDefaultBkColor()};
    }
}

bool IsSet(COLORREF colour) { return colour != COXCoolToolBar::kColorNotSet; }

// The state whose colours tint a button: a pressed (selected) button, or a checked one
// under the mouse, shows the selected colours.
ColourState FillState(UINT itemState)
{
    const bool checked = (itemState & CDIS_CHECKED) != 0;
    const bool hot = (itemState & CDIS_HOT) != 0;
    const bool selected = (itemState & CDIS_SELECTED) != 0;
    if (checked)
        return hot ? ColourState::Selected : ColourState::Checked;
    if (selected)
        return ColourState::Selected;
    return hot ? ColourState::Hot : ColourState::Default;
}

// The state whose border frames a drop-down arrow part.
ColourState ArrowState(UINT itemState)
{
    const bool checked = (itemState & CDIS_CHECKED) != 0;
    const bool hot = (itemState & CDIS_HOT) != 0;
    const bool selected = (itemState & CDIS_SELECTED) != 0;
    if (checked)
        return hot ? ColourState::Selected : ColourState::Checked;
    if (hot)
        return selected ? ColourState::Selected : ColourState::Hot;
    return selected ? ColourState::Selected : ColourState::Default;
}

bool IsHidden(COXCoolToolBar* bar, DWORD_PTR command)
{
    return tbskin::Send(bar, TB_ISBUTTONHIDDEN, static_cast<WPARAM>(command)) != 0;
}

// The button of an item notification, by its command; false when it is gone.
bool ItemButton(COXCoolToolBar* bar, DWORD_PTR command, int& index, TBBUTTON& button)
{
    index = static_cast<int>(tbskin::Send(bar, TB_COMMANDTOINDEX, static_cast<WPARAM>(command)));
    return index >= 0 && tbskin::Send(bar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
}

void MarkCustomized(COXCoolToolBar* bar, CDC& dc, int index)
{
    CRect r(0, 0, 0, 0);
    bar->GetItemRect(index, &r);
    bar->DrawCustomizedButton(dc, r);
}

} // namespace

void COXToolbarSkinClassic::OnCustomDraw(NMHDR*& nmhdr, LRESULT*& result, COXCoolToolBar* bar)
{
    if (!nmhdr || !result)
        return;
    auto* customDraw = reinterpret_cast<NMCUSTOMDRAW*>(nmhdr);
    if (!tbskin::OfferToFrame(customDraw, bar, result))
        return;
    *result = CDRF_DODEFAULT;
    if (!tbskin::HasWindow(bar))
        return;
    tbskin::AttachedDc attached(customDraw->hdc);
    CDC* dc = attached.get();
    if (!dc)
        return;
    // comctl32 4.71 and later read the text colour from the notification and know the
    // TBCDRF_ answers; older ones take the DC's text colour.
    const bool comctl471 = COXCoolToolBar::m_dwComCtlVersion >= kComCtl471;

    switch (customDraw->dwDrawStage) {
    case CDDS_PREPAINT: {
        DrawBackground(dc, bar);
        const int count = static_cast<int>(tbskin::Send(bar, TB_BUTTONCOUNT));
        // Older controls draw no separators on a flat bar: the skin draws them.
        if (!comctl471 && (tbskin::Send(bar, TB_GETSTYLE) & TBSTYLE_FLAT) && bar->IsSeparator()) {
            for (int i = 0; i < count; ++i) {
                TBBUTTON button{};
                if (!tbskin::Send(bar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button)))
                    continue;
                if (!(button.fsStyle & BTNS_SEP) || (button.fsState & (TBSTATE_HIDDEN | TBSTATE_WRAP)))
                    continue;
                CRect r(0, 0, 0, 0);
                bar->GetItemRect(i, &r);
                r.right -= 1;
                bar->DrawSeparator(*dc, r);
            }
        }
        // A custom button is a separator: the control sends no item notification for it,
        // so its mark is drawn here.
        const int customized = bar->GetCustomizedButton();
        if (customized >= 0 && customized < count && bar->IsCustomButton(customized))
            MarkCustomized(bar, *dc, customized);
        *result = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
        break;
    }
    case CDDS_ITEMPREPAINT: {
        *result = CDRF_NOTIFYPOSTPAINT;
        if (IsHidden(bar, customDraw->dwItemSpec))
            break;
        const ColourState state = FillState(customDraw->uItemState);
        const StateColours colours = ColoursOf(*bar, state);
        if ((customDraw->uItemState & CDIS_CHECKED) && IsSet(colours.background) && comctl471)
            *result |= TBCDRF_NOETCHEDEFFECT;
        if (IsSet(colours.text)) {
            if (comctl471)
                reinterpret_cast<NMTBCUSTOMDRAW*>(customDraw)->clrText = colours.text;
            else
                dc->SetTextColor(colours.text);
        }
        CRect fill(customDraw->rc);
        if (IsSet(colours.border)) {
            barskin::Frame(dc, customDraw->rc, colours.border);
            fill.DeflateRect(1, 1);
            if (comctl471)
                *result |= TBCDRF_NOEDGES;
        }
        if (IsSet(colours.background))
            barskin::Fill(dc, fill, colours.background);
        break;
    }
    case CDDS_ITEMPOSTPAINT: {
        if (IsHidden(bar, customDraw->dwItemSpec))
            break;
        int index = -1;
        TBBUTTON button{};
        if (!ItemButton(bar, customDraw->dwItemSpec, index, button))
            break;
        const DWORD extended = static_cast<DWORD>(tbskin::Send(bar, TB_GETEXTENDEDSTYLE));
        if ((extended & TBSTYLE_EX_DRAWDDARROWS) && (button.fsStyle & BTNS_DROPDOWN)) {
            const COLORREF border = ColoursOf(*bar, ArrowState(customDraw->uItemState)).border;
            if (IsSet(border)) {
                CRect arrow(customDraw->rc);
                arrow.left = arrow.right - bar->GetDropDownArrowWidth();
                barskin::Frame(dc, arrow, border);
            }
        }
        if (index == bar->GetCustomizedButton() && !bar->IsCustomButton(index))
            MarkCustomized(bar, *dc, index);
        break;
    }
    default:
        break;
    }
}

void COXToolbarSkinClassic::DrawBackground(CDC* dc, COXCoolToolBar* bar)
{
    if (!dc || !tbskin::HasWindow(bar))
        return;
    CRect client;
    bar->GetClientRect(&client);
    barskin::Fill(dc, client, GetSysColor(COLOR_BTNFACE));
}

void COXToolbarSkinClassic::DrawGripper(CDC* dc, const RECT* rect, COXCoolToolBar* bar)
{
    if (dc && rect && bar)
        barskin::DrawClassicGripper(dc, *rect, barskin::PlaceOf(bar));
}

void COXToolbarSkinClassic::DrawNonClientArea(CDC* dc, const RECT* rect, COXCoolToolBar* bar)
{
    if (!dc || !rect || !tbskin::HasWindow(bar))
        return;
    CRect window(*rect);
    const CRect client = barskin::ClientInWindow(bar);
    // A cool bar's control draws its own edges.
    if (!bar->IsCool()) {
        bar->DrawBorders(dc, window);
        if (!(bar->m_dwStyle & CBRS_BORDER_3D))
            window.InflateRect(1, 1);
    }
    const int saved = dc->SaveDC();
    dc->IntersectClipRect(&window);
    dc->ExcludeClipRect(&client);
    barskin::Fill(dc, window, GetSysColor(COLOR_BTNFACE));
    dc->RestoreDC(saved);
}

void COXToolbarSkinClassic::DrawSeparator(CDC* dc, const RECT* rect, COXCoolToolBar* bar)
{
    if (!dc || !rect || !bar)
        return;
    CRect r(*rect);
    if (r.Width() >= 9)
        return;
    if (barskin::PlaceOf(bar).Horizontal()) {
        // A 2-pixel groove down the middle.
        r.left = (r.left + r.right) / 2 - 1;
        r.right = r.left + 2;
    } else {
        // A 2-pixel groove one button wide under the separator's rectangle.
        const int cx = LOWORD(static_cast<DWORD>(tbskin::Send(bar, TB_GETBUTTONSIZE)));
        r.left -= cx;
        r.right = r.left + cx;
        r.top = r.bottom + 1;
        r.bottom = r.top + 3;
        r.top = (r.top + r.bottom) / 2 - 1;
        r.bottom = r.top + 2;
    }
    dc->Draw3dRect(&r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
}

void COXToolbarSkinClassic::DrawCustomizedButton(CDC* dc, const RECT* rect, COXCoolToolBar* /*bar*/)
{
    if (dc && rect)
        dc->DrawDragRect(rect, CSize(2, 2), nullptr, CSize(2, 2));
}

void COXToolbarSkinClassic::DrawMenuButtons(CDC* dc, COXMenuBar* menuBar)
{
    OXMENUBARBUTTONS buttons;
    CMDIChildWnd* child = nullptr;
    if (!dc || !tbskin::GetMaximizedChildButtons(menuBar, buttons, &child))
        return;
    const DWORD childStyle = child->GetStyle();
    const auto pushed = [&](int code) { return buttons.nPressed == code ? DFCS_PUSHED : 0u; };
    CRect close(buttons.rectClose);
    dc->DrawFrameControl(&close, DFC_CAPTION, DFCS_CAPTIONCLOSE | pushed(-4));
    if (!buttons.rectRestore.IsRectEmpty()) {
        CRect restore(buttons.rectRestore);
        dc->DrawFrameControl(&restore, DFC_CAPTION,
            DFCS_CAPTIONRESTORE | ((childStyle & WS_MAXIMIZEBOX) ? 0u : DFCS_INACTIVE) | pushed(-3));
    }
    if (!buttons.rectMinimize.IsRectEmpty()) {
        CRect minimize(buttons.rectMinimize);
        dc->DrawFrameControl(&minimize, DFC_CAPTION,
            DFCS_CAPTIONMIN | ((childStyle & WS_MINIMIZEBOX) ? 0u : DFCS_INACTIVE) | pushed(-2));
    }
}

void COXToolbarSkinClassic::OnPaintComboBox(COXSkinnedComboBox* combo)
{
    if (combo && combo->GetSafeHwnd())
        combo->PaintDefault();
}

void COXToolbarSkinClassic::DrawComboBox(COXSkinnedComboBox* /*combo*/)
{
    // The system look stays.
}

void COXToolbarSkinClassic::DrawWndFrame(CWnd* /*wnd*/)
{
    // The system look stays.
}
