// The frame skins on a skinned form view in a window: the client rectangle each skin
// leaves for the view's border styles, and every pixel of the border it paints. The
// view fills a 300 by 200 frame; the border the system reserves is 1 pixel for
// WS_BORDER or WS_EX_STATICEDGE, 2 for WS_EX_CLIENTEDGE, 4 for WS_THICKFRAME, and scroll
// bars are 16 pixels wide.
#include <string>
#include <vector>

#include "platform/user/scrollbar.h"
#include "platform/user/styles.h"
#include "tests/skins/skinned_view_support.h"
#include "toolkit/skins/frame_skin.h"

namespace skintest {
namespace {


struct Insets {
    int left, top, right, bottom;
};

struct BorderRow {
    const char* name;
    DWORD style;
    DWORD exStyle;
    CSize page;          // the form's scroll sizes (0: the template's, no bars)
    int reserved;        // the border thickness the system reserves
    Insets classic;      // client insets as the system leaves them
    Insets skinned;      // client insets under the XP and 2003 frame skins
};

const BorderRow kRows[] = {
    {"no border", 0, 0, {0, 0}, 0, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {"border", WS_BORDER, 0, {0, 0}, 1, {1, 1, 1, 1}, {1, 1, 1, 1}},
    {"static edge", 0, WS_EX_STATICEDGE, {0, 0}, 1, {1, 1, 1, 1}, {1, 1, 1, 1}},
    {"client edge", 0, WS_EX_CLIENTEDGE, {0, 0}, 2, {2, 2, 2, 2}, {1, 1, 1, 1}},
    {"border and client edge", WS_BORDER, WS_EX_CLIENTEDGE, {0, 0}, 3, {3, 3, 3, 3}, {1, 1, 1, 1}},
    {"sizing frame and client edge", WS_THICKFRAME, WS_EX_CLIENTEDGE, {0, 0}, 6, {6, 6, 6, 6}, {1, 1, 1, 1}},
    // The bar stays where the system put it: the right side cannot grow.
    {"client edge, vertical bar", 0, WS_EX_CLIENTEDGE, {200, 2000}, 2, {2, 2, 18, 2}, {1, 1, 18, 1}},
    {"client edge, both bars", 0, WS_EX_CLIENTEDGE, {2000, 2000}, 2, {2, 2, 18, 18}, {1, 1, 18, 18}},
    // A caption is the system's: 3-pixel dialog frame, 18-pixel caption, never skinned.
    {"caption", WS_CAPTION, 0, {0, 0}, -1, {3, 21, 3, 3}, {3, 21, 3, 3}},
};

struct SkinColours {
    const wchar_t* name;
    COLORREF border;
    COLORREF background;
};
// Office XP: BTNSHADOW and BTNFACE. Office 2003 without a visual style: the XP separator
// colour (BTNSHADOW + 38 per channel: 166) and BTNFACE.
const SkinColours kXP{L"Office XP", kShadow, kFace};
const SkinColours k2003{L"Office 2003", RGB(166, 166, 166), kFace};

std::string Describe(const CRect& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
        std::to_string(r.bottom) + ")";
}

class FrameSkinView : public SkinnedViewTest {
protected:
    // A borderless view fills the 300 by 200 frame.
    static constexpr int kW = 300;
    static constexpr int kH = 200;

    static CSize WindowSize(CWnd* wnd)
    {
        CRect window;
        wnd->GetWindowRect(&window);
        return window.Size();
    }

    CFormView* OpenRow(const BorderRow& row, CRuntimeClass* formClass, const wchar_t* skin)
    {
        // Styles given after creation: the frame would place a view created with WS_BORDER
        // one pixel beyond its client, where the border does not show.
        FormStyle::style = 0;
        UseSkin(skin); // before the view exists: it is created under the skin
        CFormView* form = OpenForm(formClass);
        if (!form)
            return nullptr;
        form->ModifyStyle(0, row.style, SWP_FRAMECHANGED);
        form->ModifyStyleEx(0, row.exStyle, SWP_FRAMECHANGED);
        if (row.page.cx > 0)
            form->SetScrollSizes(MM_TEXT, row.page);
        Repaint();
        return form;
    }
    void Close()
    {
        if (m_pMain)
            m_pMain->DestroyWindow();
        m_pMain = nullptr;
        m_app->m_pMainWnd = nullptr;
        Pump();
    }

    // Every pixel of the window outside the client and outside what the system keeps
    // inside its border (bars and the box between them): the outer ring in the border
    // colour, the rest in the background colour.
    static void ExpectPaintedBorder(const zyn::test::GoldenPicture& p, int reserved, const Insets& insets,
        const SkinColours& colours, const std::string& what)
    {
        const int kW = p.width, kH = p.height;
        const CRect client(insets.left, insets.top, kW - insets.right, kH - insets.bottom);
        const CRect inner(reserved, reserved, kW - reserved, kH - reserved);
        int wrong = 0;
        std::string first;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const CPoint pt(x, y);
                if (client.PtInRect(pt) || inner.PtInRect(pt))
                    continue;
                const bool ring = x == 0 || y == 0 || x == kW - 1 || y == kH - 1;
                const uint32_t want = Pixel(ring ? colours.border : colours.background);
                if (p.At(x, y) != want && wrong++ == 0)
                    first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
            }
        EXPECT_EQ(wrong, 0) << what << ": " << wrong << " border pixels wrong, the first at " << first;
    }
};

TEST_F(FrameSkinView, EachSkinLeavesTheClientItsBorderAllows)
{
    for (const BorderRow& row : kRows) {
        for (const wchar_t* skin : {L"Classic", L"Office XP", L"Office 2003"}) {
            const std::string what = std::string(row.name) + " under " + CStringA(skin).GetString();
            CFormView* form = OpenRow(row, RUNTIME_CLASS(SkinnedTestForm), skin);
            ASSERT_NE(form, nullptr) << what;
            const Insets want = std::wstring(skin) == L"Classic" ? row.classic : row.skinned;
            const CSize size = WindowSize(form);
            const int kW = size.cx, kH = size.cy;
            const CRect expected(want.left, want.top, kW - want.right, kH - want.bottom);
            EXPECT_EQ(Describe(ClientInWindow(form)), Describe(expected)) << what;
            Close();
        }
    }
}

TEST_F(FrameSkinView, XpAnd2003PaintEveryPixelOfTheBorderTheyTake)
{
    for (const SkinColours& colours : {kXP, k2003}) {
        for (const BorderRow& row : kRows) {
            if (row.reserved < 0)
                continue; // the caption row: not skinned
            const std::string what = std::string(row.name) + " under " + CStringA(colours.name).GetString();
            CFormView* form = OpenRow(row, RUNTIME_CLASS(SkinnedTestForm), colours.name);
            ASSERT_NE(form, nullptr) << what;
            const auto picture = Shot(form);
            const int kW = picture.width, kH = picture.height;
            ExpectPaintedBorder(picture, row.reserved, row.skinned, colours, what);
            // The client starts right inside the ring on the sides it could grow into.
            if (row.reserved >= 1) {
                EXPECT_EQ(picture.At(0, 0), Pixel(colours.border)) << what;
                EXPECT_EQ(picture.At(1, kH / 2), Pixel(kFormClient)) << what;
                EXPECT_EQ(picture.At(kW / 2, 1), Pixel(kFormClient)) << what;
            } else {
                EXPECT_EQ(picture.At(0, 0), Pixel(kFormClient)) << what << ": nothing painted over the client";
            }
            Close();
        }
    }
}

TEST_F(FrameSkinView, ClassicAndNoSkinLookExactlyLikeAPlainFormView)
{
    for (const BorderRow& row : kRows) {
        const std::string what = row.name;
        CFormView* plain = OpenRow(row, RUNTIME_CLASS(PlainTestForm), L"Classic");
        ASSERT_NE(plain, nullptr) << what;
        const auto plainPicture = Shot(plain);
        Close();
        for (const wchar_t* skin : {L"Classic", L"no skin"}) {
            auto* form = static_cast<SkinnedTestForm*>(OpenRow(row, RUNTIME_CLASS(SkinnedTestForm), skin));
            ASSERT_NE(form, nullptr) << what;
            const auto picture = Shot(form);
            ASSERT_EQ(picture.pixels.size(), plainPicture.pixels.size()) << what;
            EXPECT_TRUE(picture.pixels == plainPicture.pixels) << what << " under " << CStringA(skin).GetString();
            // Only without a current skin does the view make a frame skin of its own.
            EXPECT_EQ(form->HasOwnFrameSkin(), std::wstring(skin) == L"no skin") << what;
            Close();
        }
    }
}

TEST_F(FrameSkinView, SwitchingSkinsChangesTheBorderAtTheNextFrameChange)
{
    FormStyle::exStyle = WS_EX_CLIENTEDGE;
    auto* form = static_cast<SkinnedTestForm*>(OpenForm(RUNTIME_CLASS(SkinnedTestForm)));
    ASSERT_NE(form, nullptr);
    UseSkin(L"Office XP");
    auto picture = Shot(form);
    EXPECT_EQ(picture.At(0, 0), Pixel(kShadow));
    EXPECT_EQ(picture.At(1, 1), Pixel(kFormClient));
    EXPECT_EQ(ClientInWindow(form), CRect(1, 1, kW - 1, kH - 1));

    // Classic: the sunken edge again (outer line shadow, inner line dark shadow at the top
    // left; highlight and light at the bottom right).
    UseSkin(L"Classic");
    picture = Shot(form);
    EXPECT_EQ(ClientInWindow(form), CRect(2, 2, kW - 2, kH - 2));
    EXPECT_EQ(picture.At(0, 0), Pixel(kShadow));
    EXPECT_EQ(picture.At(1, 1), Pixel(kDarkShadow));
    EXPECT_EQ(picture.At(kW - 1, kH - 1), Pixel(kHilight));
    EXPECT_EQ(picture.At(kW - 2, kH - 2), Pixel(kLight));

    UseSkin(L"Office 2003");
    picture = Shot(form);
    EXPECT_EQ(ClientInWindow(form), CRect(1, 1, kW - 1, kH - 1));
    EXPECT_EQ(picture.At(kW - 1, kH / 2), Pixel(k2003.border));

    // The colours are the system's at the moment of painting.
    UseSkin(L"Office XP");
    m_colours->Set({{COLOR_BTNSHADOW, RGB(90, 10, 10)}});
    Repaint();
    EXPECT_EQ(Shot(form).At(kW / 2, kH - 1), Pixel(RGB(90, 10, 10)));
    EXPECT_FALSE(form->HasOwnFrameSkin());
}

TEST_F(FrameSkinView, Office2003FollowsTheVisualStyle)
{
    // The skins bind the visual-styles library when they are made: a new application.
    m_app.reset();
    FakeThemeModule theme;
    m_app = std::make_unique<CZynApp>(L"SkinnedViewTest");
    FormStyle::exStyle = WS_EX_CLIENTEDGE;
    CFormView* form = OpenForm(RUNTIME_CLASS(SkinnedTestForm));
    ASSERT_NE(form, nullptr);
    form->SetScrollSizes(MM_TEXT, CSize(200, 2000));
    UseSkin(L"Office 2003");
    // Theme highlight (49, 106, 197) at half intensity (truncated) for the border; the
    // dock-bar background WINDOW 0.7 + highlight 0.3 = (193, 210, 237) beside the bar.
    const SkinColours themed{L"Office 2003", RGB(24, 53, 98), RGB(193, 210, 237)};
    ExpectPaintedBorder(Shot(form), 2, Insets{1, 1, 18, 1}, themed, "themed 2003");
    m_pMain->DestroyWindow();
    m_pMain = nullptr;
    m_app.reset(); // before the library goes
}

TEST_F(FrameSkinView, ScrollingRepaintsTheBarsButNotTheSkinnedBorder)
{
    FormStyle::exStyle = WS_EX_CLIENTEDGE;
    CFormView* form = OpenForm(RUNTIME_CLASS(SkinnedTestForm));
    ASSERT_NE(form, nullptr);
    form->SetScrollSizes(MM_TEXT, CSize(200, 2000));
    UseSkin(L"Office XP");
    // The bar's position changes, and the bar is drawn again at once, without a frame
    // change or a non-client paint.
    form->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    EXPECT_GT(form->GetScrollPos(SB_VERT), 0);
    const auto picture = Shot(form);
    ExpectPaintedBorder(picture, 2, Insets{1, 1, 18, 1}, kXP, "after scrolling");
}

TEST_F(FrameSkinView, TheClientNeverGrowsOutOfTheWindow)
{
    FormStyle::exStyle = WS_EX_CLIENTEDGE;
    CFormView* form = OpenForm(RUNTIME_CLASS(SkinnedTestForm));
    ASSERT_NE(form, nullptr);
    UseSkin(L"Office XP");

    // Asked without wParam, the system's rectangle stands and the answer is 0.
    RECT r{0, 0, 100, 80};
    EXPECT_EQ(form->SendMessage(WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r)), 0);
    EXPECT_EQ(CRect(r), CRect(2, 2, 98, 78));
    // With wParam, the first rectangle grows by one pixel into the 2-pixel edge.
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = RECT{10, 10, 110, 90};
    params.rgrc[1] = params.rgrc[0];
    params.rgrc[2] = params.rgrc[0];
    EXPECT_EQ(form->SendMessage(WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params)), 0);
    EXPECT_EQ(CRect(params.rgrc[0]), CRect(11, 11, 109, 89));

    // A view squeezed below its border keeps the empty client the system gave it.
    form->SetWindowPos(nullptr, 0, 0, 1, 1, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    CRect client;
    form->GetClientRect(&client);
    EXPECT_EQ(client.Size(), CSize(0, 0));
}

} // namespace
} // namespace skintest
