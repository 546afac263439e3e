// A picture of every element-skin colour, the gradients and a few primitives, written
// as a PNG for a person to look at (skins_sample.png in the build folder and in the
// test's temporary folder). The test also checks that each swatch holds its colour.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/gdi/pen.h"
#include "platform/gdi/png_export.h"
#include "tests/skins/canvas.h"
#include "tests/skins/msimg32.h"
#include "tests/skins/skin_test_support.h"
#include "tests/support/testenv.h"
#include "toolkit/skins/dockbar_skin.h"
#include "toolkit/skins/frame_skin.h"
#include "toolkit/skins/shortcutbar_skin.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_classic.h"
#include "toolkit/skins/skin_xp.h"

using skintest::Canvas;

namespace {

struct Swatch {
    const wchar_t* name;
    COLORREF colour;
};

std::vector<Swatch> XPColours(const COXSkinXP& s)
{
    return {{L"HotItem", s.GetHotItemColor()}, {L"CheckedItem", s.GetCheckedItemColor()},
        {L"HotSelectedItem", s.GetHotSelectedItemColor()}, {L"ActiveBorder", s.GetActiveBorderColor()},
        {L"MenuFace", s.GetMenuFaceColor()}, {L"MenuBorder", s.GetMenuBorderColor()},
        {L"Background", s.GetBackgroundColor()}, {L"DockbarBackground", s.GetDockbarBackgroundColor()},
        {L"InactiveTabText", s.GetInactiveTabTextColor()}, {L"Separator", s.GetSeparatorColor()},
        {L"Border", s.GetBorderColor()}, {L"Gripper", s.GetGripperColor()},
        {L"MiniFrameCaption", s.GetMiniFrameCaptionColor()},
        {L"MiniFrameCaptionText", s.GetMiniFrameCaptionTextColor()},
        {L"MiniFrameBorder", s.GetMiniFrameBorderColor()},
        {L"MiniFrameLightBorder", s.GetMiniFrameLightBorderColor()}, {L"DisabledText", s.GetDisabledTextColor()},
        {L"DisabledMenuText", s.GetDisabledMenuTextColor()},
        {L"HiddenItemBackground", s.GetHiddenItemBackgroundColor()}, {L"Text", s.GetTextColor()},
        {L"SelectedText", s.GetSelectedTextColor()}, {L"TabButtonsBackground", s.GetTabButtonsBackgroundColor()},
        {L"StatusPane", s.GetStatusPaneColor()}};
}

std::vector<Swatch> Colours2003(const COXSkin2003& s)
{
    std::vector<Swatch> all = XPColours(s);
    const std::vector<Swatch> more = {{L"ToolbarLight", s.GetToolbarLightColor()},
        {L"ToolbarDark", s.GetToolbarDarkColor()}, {L"MenuStripLeft", s.GetMenuStripLeftColor()},
        {L"MenuStripRight", s.GetMenuStripRightColor()}, {L"StripesShadow", s.GetGripperStripesShadowColor()},
        {L"ControlBarLight", s.GetControlBarLightColor()}, {L"ControlBarDark", s.GetControlBarDarkColor()},
        {L"DockbarLeft", s.GetDockbarLeftColor()}, {L"DockbarRight", s.GetDockbarRightColor()},
        {L"TabBackgroundLight", s.GetTabBackgroundLightColor()},
        {L"TabBackgroundDark", s.GetTabBackgroundDarkColor()}, {L"TabItemLight", s.GetTabItemLightColor()},
        {L"TabItemDark", s.GetTabItemDarkColor()}, {L"MenubarItemLight", s.GetMenubarItemLightColor()},
        {L"MenubarItemDark", s.GetMenubarItemDarkColor()}, {L"ShortcutBarLight", s.GetShortcutBarLightColor()},
        {L"ShortcutBarDark", s.GetShortcutBarDarkColor()}, {L"SplitterLine", s.GetSplitterLineColor()},
        {L"StatusbarTop", s.GetStatusbarTopColor()}, {L"StatusbarMiddle", s.GetStatusbarMiddleColor()},
        {L"StatusbarBottom", s.GetStatusbarBottomColor()},
        {L"HotTbItemLight", s.GetHotToolbarItemLightColor()},
        {L"HotTbItemDark", s.GetHotToolbarItemDarkColor()},
        {L"CheckedTbItemLight", s.GetCheckedToolbarItemLightColor()},
        {L"CheckedTbItemDark", s.GetCheckedToolbarItemDarkColor()},
        {L"HotSelTbItemLight", s.GetHotSelectedToolbarItemLightColor()},
        {L"HotSelTbItemDark", s.GetHotSelectedToolbarItemDarkColor()}};
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

std::vector<Swatch> ElementColours(COXSkin& skin)
{
    return {{L"Frame background", skin.GetFrameSkin()->GetBackgroundColor()},
        {L"Frame border", skin.GetFrameSkin()->GetBorderColor()},
        {L"Dock client border", skin.GetDockbarSkin()->GetClientBorderColor()},
        {L"Shortcut background", skin.GetShortcutBarSkin()->GetBackgroundColor(nullptr)},
        {L"Shortcut group text", skin.GetShortcutBarSkin()->GetGroupTextColor(nullptr)}};
}

// Lays swatches out in columns and remembers where each one went.
class Sheet {
public:
    static constexpr int kWidth = 1000;
    static constexpr int kColumns = 4;
    static constexpr int kCellWidth = 245;
    static constexpr int kCellHeight = 18;

    explicit Sheet(CDC* dc) : m_dc(dc)
    {
        m_font.CreatePointFont(80, L"Tahoma");
        m_bold.CreatePointFont(90, L"Tahoma BOLD");
    }

    void Heading(const wchar_t* text)
    {
        m_y += 6;
        CRect r(8, m_y, kWidth - 8, m_y + 18);
        Text(text, r, &m_bold, RGB(0, 0, 0), DT_LEFT);
        m_y += 20;
    }

    void Swatches(const std::vector<Swatch>& swatches)
    {
        for (size_t i = 0; i < swatches.size(); ++i) {
            const int col = static_cast<int>(i) % kColumns;
            const int row = static_cast<int>(i) / kColumns;
            const int x = 8 + col * kCellWidth;
            const int y = m_y + row * kCellHeight;
            CRect box(x, y + 1, x + 40, y + kCellHeight - 2);
            CBrush frame(RGB(64, 64, 64));
            m_dc->FillSolidRect(&box, swatches[i].colour);
            CRect outline(box);
            outline.InflateRect(1, 1);
            m_dc->FrameRect(&outline, &frame);
            m_placed.push_back({CPoint(box.left + 20, box.top + 7), swatches[i].colour});
            const COLORREF c = swatches[i].colour;
            wchar_t hex[16];
            std::swprintf(hex, 16, L"#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
            std::wstring label = std::wstring(swatches[i].name) + L"  " + hex;
            CRect text(x + 46, y, x + kCellWidth - 4, y + kCellHeight);
            Text(label.c_str(), text, &m_font, RGB(0, 0, 0), DT_LEFT);
        }
        m_y += static_cast<int>((swatches.size() + kColumns - 1) / kColumns) * kCellHeight;
    }

    // A labelled band drawn by fill into a rectangle of the given height.
    void Band(const wchar_t* label, int height, const std::function<void(const CRect&)>& fill, int width = 200)
    {
        if (m_x + width + 8 > kWidth) {
            m_x = 8;
            m_y += m_rowHeight + 4;
            m_rowHeight = 0;
        }
        CRect caption(m_x, m_y, m_x + width, m_y + 14);
        Text(label, caption, &m_font, RGB(0, 0, 0), DT_LEFT);
        CRect r(m_x, m_y + 15, m_x + width, m_y + 15 + height);
        fill(r);
        m_x += width + 12;
        m_rowHeight = std::max(m_rowHeight, height + 15);
    }

    void EndBands()
    {
        m_y += m_rowHeight + 4;
        m_x = 8;
        m_rowHeight = 0;
    }

    int Bottom() const { return m_y; }

    struct Placed {
        CPoint at;
        COLORREF colour;
    };
    const std::vector<Placed>& Placements() const { return m_placed; }

private:
    void Text(const wchar_t* text, CRect r, CFont* font, COLORREF colour, UINT align)
    {
        CFont* old = m_dc->SelectObject(font);
        const int mode = m_dc->SetBkMode(TRANSPARENT);
        const COLORREF oldColour = m_dc->SetTextColor(colour);
        m_dc->DrawText(text, -1, &r, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        m_dc->SetTextColor(oldColour);
        m_dc->SetBkMode(mode);
        m_dc->SelectObject(old);
    }

    CDC* m_dc;
    CFont m_font;
    CFont m_bold;
    int m_y = 4;
    int m_x = 8;
    int m_rowHeight = 0;
    std::vector<Placed> m_placed;
};

// Gradient bands of a 2003 skin, through the library and by hand.
void GradientBands(Sheet& sheet, COXSkin2003& skin, CDC* dc, const wchar_t* suffix)
{
    const auto label = [suffix](const wchar_t* what) { return std::wstring(what) + suffix; };
    sheet.Band(label(L"Toolbar light > dark (V)").c_str(), 26, [&](const CRect& r) {
        skin.GradientFill(dc, &r, skin.GetToolbarLightColor(), skin.GetToolbarDarkColor(), GRADIENT_FILL_RECT_V);
    });
    sheet.Band(label(L"Dock bar left > right (H)").c_str(), 26, [&](const CRect& r) {
        skin.GradientFill(dc, &r, skin.GetDockbarLeftColor(), skin.GetDockbarRightColor(), GRADIENT_FILL_RECT_H);
    });
    sheet.Band(label(L"Menu strip, by hand (H)").c_str(), 26, [&](const CRect& r) {
        skin.GradientFillManual(dc, &r, skin.GetMenuStripLeftColor(), skin.GetMenuStripRightColor(),
            GRADIENT_FILL_RECT_H);
    });
    sheet.Band(label(L"Status bar top/mid/bottom").c_str(), 26, [&](const CRect& r) {
        CRect top(r.left, r.top, r.right, r.top + 3);
        CRect mid(r.left, r.top + 3, r.right, r.bottom - 5);
        CRect bottom(r.left, r.bottom - 5, r.right, r.bottom);
        skin.GradientFill(dc, &top, skin.GetStatusbarTopColor(), skin.GetStatusbarMiddleColor(), 1);
        dc->FillSolidRect(&mid, skin.GetStatusbarMiddleColor());
        skin.GradientFill(dc, &bottom, skin.GetStatusbarMiddleColor(), skin.GetStatusbarBottomColor(), 1);
    });
    sheet.Band(label(L"Shortcut bar, four corners").c_str(), 60, [&](const CRect& r) {
        const COLORREF dark = skin.GetShortcutBarDarkColor();
        skin.FourPointGradientFill(dc, &r, skin.GetShortcutBarLightColor(), dark, dark, dark);
    });
    sheet.Band(label(L"Hot / checked / pressed items").c_str(), 22, [&](const CRect& r) {
        const int w = r.Width() / 3;
        const COLORREF pairs[3][2] = {{skin.GetHotToolbarItemLightColor(), skin.GetHotToolbarItemDarkColor()},
            {skin.GetCheckedToolbarItemLightColor(), skin.GetCheckedToolbarItemDarkColor()},
            {skin.GetHotSelectedToolbarItemLightColor(), skin.GetHotSelectedToolbarItemDarkColor()}};
        for (int i = 0; i < 3; ++i) {
            CRect item(r.left + i * w + 2, r.top, r.left + (i + 1) * w - 2, r.bottom);
            CBrush border(skin.GetActiveBorderColor());
            CRect inner(item);
            inner.DeflateRect(1, 1);
            skin.GradientFill(dc, &inner, pairs[i][0], pairs[i][1], GRADIENT_FILL_RECT_V);
            dc->FrameRect(&item, &border);
        }
    });
    sheet.Band(label(L"Gripper stripes").c_str(), 26, [&](const CRect& r) {
        skin.GradientFill(dc, &r, skin.GetControlBarLightColor(), skin.GetControlBarDarkColor(), 1);
        CRect horizontal(r.left + 6, r.top + 8, r.left + 120, r.top + 17);
        skin.DrawGripperStripes(dc, horizontal, true);
        CRect vertical(r.left + 140, r.top + 3, r.left + 180, r.bottom - 4);
        skin.DrawGripperStripes(dc, vertical, false);
    });
    sheet.EndBands();
}

// Caption buttons in the looks that need no mouse.
void FrameButtonBands(Sheet& sheet, COXSkinXP& skin, CDC* dc, const wchar_t* title)
{
    sheet.Band(title, 18, [&](const CRect& r) {
        const UINT glyphs[] = {DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE};
        struct Look {
            BOOL recolour, light;
            COLORREF background;
        };
        const Look looks[] = {{FALSE, FALSE, GetSysColor(COLOR_BTNFACE)}, {FALSE, TRUE, RGB(40, 60, 120)},
            {TRUE, TRUE, RGB(60, 90, 160)}, {TRUE, FALSE, RGB(230, 230, 210)}};
        int x = r.left;
        for (const Look& look : looks) {
            for (UINT glyph : glyphs) {
                CRect button(x, r.top, x + 16, r.top + 16);
                skin.DrawFrameButton(dc, button, glyph, look.recolour, look.light, look.background, nullptr);
                x += 18;
            }
            x += 8;
        }
    }, 330);
}

void Primitives(Sheet& sheet, CDC* dc)
{
    sheet.Band(L"Rectangle, ellipse, lines", 50, [&](const CRect& r) {
        CPen pen(PS_SOLID, 1, RGB(0, 0, 128));
        CBrush brush(RGB(255, 220, 120));
        CPen* oldPen = dc->SelectObject(&pen);
        CBrush* oldBrush = dc->SelectObject(&brush);
        dc->Rectangle(r.left, r.top, r.left + 60, r.top + 40);
        dc->Ellipse(r.left + 70, r.top, r.left + 130, r.top + 40);
        for (int i = 0; i < 5; ++i) {
            dc->MoveTo(r.left + 140 + i * 10, r.top);
            dc->LineTo(r.left + 190 - i * 10, r.top + 40);
        }
        dc->SelectObject(oldBrush);
        dc->SelectObject(oldPen);
    });
    sheet.Band(L"Draw3dRect, DrawEdge", 50, [&](const CRect& r) {
        dc->FillSolidRect(&r, GetSysColor(COLOR_BTNFACE));
        CRect a(r.left + 4, r.top + 4, r.left + 50, r.top + 40);
        dc->Draw3dRect(&a, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
        CRect b(r.left + 60, r.top + 4, r.left + 110, r.top + 40);
        dc->DrawEdge(&b, EDGE_RAISED, BF_RECT);
        CRect c(r.left + 120, r.top + 4, r.left + 170, r.top + 40);
        dc->DrawEdge(&c, EDGE_SUNKEN, BF_RECT);
    });
    sheet.Band(L"Focus rectangle, text", 50, [&](const CRect& r) {
        CRect f(r.left + 4, r.top + 4, r.left + 190, r.top + 40);
        dc->DrawFocusRect(&f);
        dc->SetBkMode(TRANSPARENT);
        dc->DrawText(L"Skins sample", -1, &f, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    });
    sheet.EndBands();
}

} // namespace

class SkinsSample : public skintest::GdiLeakCheck {
protected:
    skintest::SysColours m_colours;
};

TEST_F(SkinsSample, EveryElementSkinColourAndTheGradients)
{
    skintest::Msimg32Present library;
    Canvas canvas(Sheet::kWidth, 1320, RGB(255, 255, 255));
    CDC* dc = canvas.dc();
    std::vector<Sheet::Placed> placed;
    int bottom = 0;
    {
        Sheet sheet(dc);
        COXSkinClassic classic;
        COXSkinXP xp;
        {
            COXSkin2003 plain;
            sheet.Heading(L"Office XP");
            sheet.Swatches(XPColours(xp));
            sheet.Heading(L"Office 2003, no visual style");
            sheet.Swatches(Colours2003(plain));
            sheet.Heading(L"Office 2003 gradients, no visual style");
            GradientBands(sheet, plain, dc, L"");
        }
        {
            skintest::FakeThemeModule theme;
            COXSkin2003 themed;
            sheet.Heading(L"Office 2003, visual style (theme highlight #316AC5, active caption #0054E3)");
            sheet.Swatches(Colours2003(themed));
            sheet.Heading(L"Office 2003 gradients, visual style");
            GradientBands(sheet, themed, dc, L"");
            sheet.Heading(L"Element-skin colours: Classic");
            sheet.Swatches(ElementColours(classic));
            sheet.Heading(L"Element-skin colours: Office XP");
            sheet.Swatches(ElementColours(xp));
            sheet.Heading(L"Element-skin colours: Office 2003 (visual style)");
            sheet.Swatches(ElementColours(themed));
            sheet.Heading(L"Caption buttons (plain, light, recoloured light, recoloured dark)");
            FrameButtonBands(sheet, xp, dc, L"Office XP");
            FrameButtonBands(sheet, themed, dc, L"Office 2003");
            sheet.EndBands();
        }
        sheet.Heading(L"Primitives");
        Primitives(sheet, dc);
        placed = sheet.Placements();
        bottom = sheet.Bottom();
    }
    EXPECT_LE(bottom, canvas.height()) << "the sheet runs off the picture";

    // Every swatch holds its colour.
    ASSERT_GT(placed.size(), 100u);
    for (const Sheet::Placed& p : placed)
        EXPECT_EQ(canvas.at(p.at.x, p.at.y), p.colour) << p.at.x << "," << p.at.y;

    const RECT all{0, 0, canvas.width(), std::min(bottom + 4, canvas.height())};
    const std::string mine = zyn::test::TempRoot() + "/skins_sample.png";
    ASSERT_TRUE(zyn::gdi::SaveDcPng(dc->GetSafeHdc(), &all, mine));
    EXPECT_GT(std::filesystem::file_size(mine), 1000u);
#ifdef ZYN_SKINS_SAMPLE_PNG
    EXPECT_TRUE(zyn::gdi::SaveDcPng(dc->GetSafeHdc(), &all, ZYN_SKINS_SAMPLE_PNG));
#endif
}
