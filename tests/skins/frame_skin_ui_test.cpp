// The frame skins on a skinned form view: the client each skin leaves for the view's
// border styles, every pixel of the border it paints, skin switches, and golden pictures
// of a form inside the configuration child frame. The view fills a 300 by 200 frame; the
// system reserves 1 pixel for WS_BORDER or WS_EX_STATICEDGE, 2 for WS_EX_CLIENTEDGE, 4
// for WS_THICKFRAME, 3 plus an 18-pixel caption for WS_CAPTION; bars are 16 pixels wide.
#include <memory>
#include <string>
#include <vector>

#include "app/zyn_app.h"
#include "frames/zyn_app_doc.h"
#include "frames/zyn_child_frame.h"
#include "platform/afx/afxres.h"
#include "platform/afx/doc_context.h"
#include "platform/afx/doctempl.h"
#include "platform/afx/frame.h"
#include "platform/afx/mdi.h"
#include "platform/afx/msgmap_wnd.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/user/acs_user.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/user/paint.h"
#include "platform/user/scrollbar.h"
#include "platform/user/winuser.h"
#include "tests/skins/canvas.h"
#include "tests/skins/skin_forms_ids.h"
#include "tests/skins/skin_test_support.h"
#include "tests/support/golden.h"
#include "tests/support/pump.h"
#include "toolkit/skins/skinned_view.h"

namespace skintest {
namespace {

// Every role of the classic edges its own colour; the forms' own client colour.
constexpr COLORREF kFace = RGB(212, 208, 200), kShadow = RGB(128, 128, 128), kDarkShadow = RGB(64, 64, 64),
                   kLight = RGB(223, 223, 223), kHilight = RGB(255, 255, 255), kFormClient = RGB(250, 240, 10);

uint32_t Pixel(COLORREF c) { return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c); }

// What a test form asks for at creation, and whether it fills its client with kFormClient.
DWORD g_exStyle = 0;
bool g_fill = true;

void FillClient(CWnd* form, CDC* pDC)
{
    CRect client;
    form->GetClientRect(&client);
    pDC->FillSolidRect(&client, kFormClient);
}

class SkinnedForm : public COXSkinnedView<CFormView> {
    DECLARE_DYNCREATE(SkinnedForm)
public:
    SkinnedForm() : COXSkinnedView<CFormView>(IDD_SKIN_FORM) {}
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        cs.dwExStyle |= g_exStyle;
        return COXSkinnedView<CFormView>::PreCreateWindow(cs);
    }
    afx_msg BOOL OnEraseBkgnd(CDC* pDC)
    {
        if (!g_fill)
            return COXSkinnedView<CFormView>::OnEraseBkgnd(pDC);
        FillClient(this, pDC);
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(SkinnedForm, COXSkinnedView<CFormView>)
BEGIN_MESSAGE_MAP(SkinnedForm, COXSkinnedView<CFormView>)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

class PlainForm : public CFormView {
    DECLARE_DYNCREATE(PlainForm)
public:
    PlainForm() : CFormView(IDD_SKIN_FORM) {}
    afx_msg BOOL OnEraseBkgnd(CDC* pDC)
    {
        FillClient(this, pDC);
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(PlainForm, CFormView)
BEGIN_MESSAGE_MAP(PlainForm, CFormView)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

struct Insets {
    int left, top, right, bottom;
};
struct BorderRow {
    const char* name;
    DWORD style, exStyle;
    CSize page;     // the form's scroll sizes (0: the template's, no bars)
    int reserved;   // the border the system reserves (-1: a caption, never skinned)
    Insets classic; // the client's insets as the system leaves them
    Insets skinned; // under the XP and 2003 frame skins
};
const BorderRow kRows[] = {
    {"no border", 0, 0, {0, 0}, 0, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {"border", WS_BORDER, 0, {0, 0}, 1, {1, 1, 1, 1}, {1, 1, 1, 1}},
    {"static edge", 0, WS_EX_STATICEDGE, {0, 0}, 1, {1, 1, 1, 1}, {1, 1, 1, 1}},
    {"client edge", 0, WS_EX_CLIENTEDGE, {0, 0}, 2, {2, 2, 2, 2}, {1, 1, 1, 1}},
    {"border and client edge", WS_BORDER, WS_EX_CLIENTEDGE, {0, 0}, 3, {3, 3, 3, 3}, {1, 1, 1, 1}},
    {"sizing frame and client edge", WS_THICKFRAME, WS_EX_CLIENTEDGE, {0, 0}, 6, {6, 6, 6, 6}, {1, 1, 1, 1}},
    // The bars stay where the system put them: those sides cannot grow.
    {"client edge, vertical bar", 0, WS_EX_CLIENTEDGE, {200, 2000}, 2, {2, 2, 18, 2}, {1, 1, 18, 1}},
    {"client edge, both bars", 0, WS_EX_CLIENTEDGE, {2000, 2000}, 2, {2, 2, 18, 18}, {1, 1, 18, 18}},
    {"caption", WS_CAPTION, 0, {0, 0}, -1, {3, 21, 3, 3}, {3, 21, 3, 3}},
};

struct SkinColours {
    const wchar_t* name;
    COLORREF border, background;
};
// XP: BTNSHADOW and BTNFACE. 2003 without a visual style: the XP separator colour
// (BTNSHADOW + 38 per channel) and BTNFACE.
const SkinColours kXP{L"Office XP", kShadow, kFace};
const SkinColours k2003{L"Office 2003", RGB(166, 166, 166), kFace};

class FrameSkinView : public GdiLeakCheck {
protected:
    static constexpr int kW = 300, kH = 200;

    void SetUp() override
    {
        zyn::user::ResetWindowSystemForTests();
        zyn::gdi::ResetDesktop(800, 600);
        zyn::gdi::ResetSystemColors();
        zyn::gdi::ResetSystemMetrics();
        g_exStyle = 0;
        g_fill = true;
        m_colours = std::make_unique<SysColours>(std::map<int, COLORREF>{{COLOR_BTNFACE, kFace},
            {COLOR_BTNSHADOW, kShadow}, {COLOR_3DDKSHADOW, kDarkShadow}, {COLOR_3DLIGHT, kLight},
            {COLOR_BTNHIGHLIGHT, kHilight}, {COLOR_WINDOW, RGB(255, 255, 255)}});
        GdiLeakCheck::SetUp();
        m_app = std::make_unique<CZynApp>(L"FrameSkinView");
    }
    void TearDown() override
    {
        Close();
        m_app.reset();
        AfxUnlockTempMaps();
        GdiLeakCheck::TearDown();
        m_colours.reset();
        EXPECT_EQ(zyn::afx::PermanentWindowCount(), 0u) << "window objects still attached";
        EXPECT_EQ(zyn::user::LiveWindowCount(), 0u) << "windows left behind";
        zyn::user::AnswerScript::Clear();
        zyn::user::ResetWindowSystemForTests();
    }
    static void Pump()
    {
        zyn::test::PumpMessages();
    }
    // Makes a skin current (an unknown name: none) and repaints everything.
    void UseSkin(const wchar_t* name)
    {
        m_app->SetCurrentSkin(name);
        Repaint();
    }
    void Repaint()
    {
        if (m_pMain)
            m_pMain->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    }
    // A borderless 300 by 200 frame at (100, 100) filled by a form of the class, created
    // under the skin, then given the row's styles and scroll sizes. (Given at creation,
    // WS_BORDER would make the frame place the view a pixel beyond its client.)
    CFormView* Open(CRuntimeClass* formClass, const wchar_t* skin, const BorderRow* row = nullptr)
    {
        UseSkin(skin);
        CCreateContext ctx;
        ctx.m_pNewViewClass = formClass;
        auto* frame = new CFrameWnd; // deletes itself with its window
        if (!frame->Create(nullptr, L"", WS_POPUP | WS_VISIBLE, CRect(100, 100, 400, 300), nullptr, nullptr, 0, &ctx))
            return nullptr;
        m_pMain = frame;
        m_app->m_pMainWnd = frame;
        frame->InitialUpdateFrame(nullptr, TRUE);
        auto* form = DYNAMIC_DOWNCAST(CFormView, frame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
        if (form && row) {
            form->ModifyStyle(0, row->style, SWP_FRAMECHANGED);
            form->ModifyStyleEx(0, row->exStyle, SWP_FRAMECHANGED);
            if (row->page.cx > 0)
                form->SetScrollSizes(MM_TEXT, row->page);
        }
        Repaint();
        return form;
    }
    void Close()
    {
        if (m_pMain && ::IsWindow(m_pMain->GetSafeHwnd()))
            m_pMain->DestroyWindow();
        m_pMain = nullptr;
        if (m_app)
            m_app->m_pMainWnd = nullptr;
        Pump();
    }
    static CRect ClientInWindow(CWnd* wnd)
    {
        CRect window, client;
        wnd->GetWindowRect(&window);
        wnd->GetClientRect(&client);
        wnd->ClientToScreen(&client);
        client.OffsetRect(-window.left, -window.top);
        return client;
    }
    static zyn::test::GoldenPicture Shot(CWnd* wnd)
    {
        CRect window;
        wnd->GetWindowRect(&window);
        return zyn::test::CaptureScreen(window);
    }
    // Every pixel outside the client and outside what the system keeps inside its border
    // (the bars and the box between them): the outer ring in the border colour, the rest
    // in the background colour.
    static void ExpectPaintedBorder(const zyn::test::GoldenPicture& p, int reserved, const Insets& in,
        const SkinColours& colours, const std::string& what)
    {
        const CRect client(in.left, in.top, p.width - in.right, p.height - in.bottom);
        const CRect inner(reserved, reserved, p.width - reserved, p.height - reserved);
        int wrong = 0;
        std::string first;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                if (client.PtInRect(CPoint(x, y)) || inner.PtInRect(CPoint(x, y)))
                    continue;
                const bool ring = x == 0 || y == 0 || x == p.width - 1 || y == p.height - 1;
                if (p.At(x, y) != Pixel(ring ? colours.border : colours.background) && wrong++ == 0)
                    first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
            }
        EXPECT_EQ(wrong, 0) << what << ": the first wrong border pixel at " << first;
    }

    std::unique_ptr<SysColours> m_colours;
    std::unique_ptr<CZynApp> m_app;
    CFrameWnd* m_pMain = nullptr;
};

TEST_F(FrameSkinView, EachSkinTakesOnlyTheBorderTheSystemReservedAndPaintsAllOfIt)
{
    for (const SkinColours& skin : {SkinColours{L"Classic", 0, 0}, kXP, k2003}) {
        const bool classic = std::wstring(skin.name) == L"Classic";
        for (const BorderRow& row : kRows) {
            const std::string what = std::string(row.name) + " under " + CStringA(skin.name).GetString();
            CFormView* form = Open(RUNTIME_CLASS(SkinnedForm), skin.name, &row);
            ASSERT_NE(form, nullptr) << what;
            const Insets want = classic ? row.classic : row.skinned;
            EXPECT_EQ(ClientInWindow(form), CRect(want.left, want.top, kW - want.right, kH - want.bottom)) << what;
            if (!classic && row.reserved >= 0) {
                const auto picture = Shot(form);
                ExpectPaintedBorder(picture, row.reserved, row.skinned, skin, what);
                // The client starts right inside the frame (at the window's edge without one).
                EXPECT_EQ(picture.At(row.reserved ? 1 : 0, kH / 2), Pixel(kFormClient)) << what;
            }
            Close();
        }
    }
}

TEST_F(FrameSkinView, ClassicAndNoSkinLookExactlyLikeAPlainFormView)
{
    for (const BorderRow& row : kRows) {
        const auto plain = Shot(Open(RUNTIME_CLASS(PlainForm), L"Classic", &row));
        Close();
        for (const wchar_t* skin : {L"Classic", L"no skin"}) {
            auto* form = static_cast<SkinnedForm*>(Open(RUNTIME_CLASS(SkinnedForm), skin, &row));
            EXPECT_TRUE(Shot(form).pixels == plain.pixels) << row.name << " under " << CStringA(skin).GetString();
            // Only without a current skin does the view make a frame skin of its own.
            EXPECT_EQ(form->HasOwnFrameSkin(), std::wstring(skin) == L"no skin") << row.name;
            Close();
        }
    }
}

TEST_F(FrameSkinView, SwitchingSkinsChangesTheBorderAtTheNextFrameChange)
{
    g_exStyle = WS_EX_CLIENTEDGE;
    CFormView* form = Open(RUNTIME_CLASS(SkinnedForm), L"Office XP");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(ClientInWindow(form), CRect(1, 1, kW - 1, kH - 1));
    EXPECT_EQ(Shot(form).At(1, 1), Pixel(kFormClient));
    // Classic: the sunken edge again (shadow then dark shadow at the top left, highlight
    // then light at the bottom right).
    UseSkin(L"Classic");
    auto picture = Shot(form);
    EXPECT_EQ(ClientInWindow(form), CRect(2, 2, kW - 2, kH - 2));
    EXPECT_EQ(std::vector<uint32_t>({picture.At(0, 0), picture.At(1, 1), picture.At(kW - 1, kH - 1), picture.At(kW - 2, kH - 2)}),
        std::vector<uint32_t>({Pixel(kShadow), Pixel(kDarkShadow), Pixel(kHilight), Pixel(kLight)}));
    UseSkin(L"Office 2003");
    EXPECT_EQ(ClientInWindow(form), CRect(1, 1, kW - 1, kH - 1));
    EXPECT_EQ(Shot(form).At(kW - 1, kH / 2), Pixel(k2003.border));
    // The colours are the system's at the moment of painting.
    UseSkin(L"Office XP");
    m_colours->Set({{COLOR_BTNSHADOW, RGB(90, 10, 10)}});
    Repaint();
    EXPECT_EQ(Shot(form).At(kW / 2, kH - 1), Pixel(RGB(90, 10, 10)));
}

TEST_F(FrameSkinView, Office2003FollowsTheVisualStyleAndScrollingKeepsTheBorder)
{
    // The skins bind the visual-styles library when they are made: a new application.
    m_app.reset();
    FakeThemeModule theme;
    m_app = std::make_unique<CZynApp>(L"FrameSkinView");
    const BorderRow& barRow = kRows[6];
    CFormView* form = Open(RUNTIME_CLASS(SkinnedForm), L"Office 2003", &barRow);
    ASSERT_NE(form, nullptr);
    // The theme's highlight (49, 106, 197) at half intensity (truncated) for the border;
    // the dock-bar background WINDOW 0.7 + highlight 0.3 = (193, 210, 237) beside the bar.
    const SkinColours themed{L"Office 2003", RGB(24, 53, 98), RGB(193, 210, 237)};
    ExpectPaintedBorder(Shot(form), 2, barRow.skinned, themed, "themed");
    // The bar moves and is drawn again at once, without a frame change: the rest of the
    // border stays the skin's.
    form->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    EXPECT_GT(form->GetScrollPos(SB_VERT), 0);
    ExpectPaintedBorder(Shot(form), 2, barRow.skinned, themed, "after scrolling");
    Close();
    m_app.reset(); // before the library goes
}

TEST_F(FrameSkinView, TheClientNeverGrowsOutOfTheWindow)
{
    g_exStyle = WS_EX_CLIENTEDGE;
    CFormView* form = Open(RUNTIME_CLASS(SkinnedForm), L"Office XP");
    ASSERT_NE(form, nullptr);
    // Asked without wParam, the system's rectangle stands and the answer is 0; with it,
    // the first rectangle grows by one pixel into the 2-pixel edge.
    RECT r{0, 0, 100, 80};
    EXPECT_EQ(form->SendMessage(WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r)), 0);
    EXPECT_EQ(CRect(r), CRect(2, 2, 98, 78));
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = params.rgrc[1] = params.rgrc[2] = RECT{10, 10, 110, 90};
    EXPECT_EQ(form->SendMessage(WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params)), 0);
    EXPECT_EQ(CRect(params.rgrc[0]), CRect(11, 11, 109, 89));
    // A view squeezed below its border keeps the empty client the system gave it.
    form->SetWindowPos(nullptr, 0, 0, 1, 1, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    CRect client;
    form->GetClientRect(&client);
    EXPECT_EQ(client.Size(), CSize(0, 0));
}

// A form with the standard client edge in the configuration child frame of an MDI main
// window, opened through its template by a logged-in operator. The child is smaller than
// the form, so the view shows its bars beside the border the skin paints.
class SkinnedFormGolden : public FrameSkinView, public ::testing::WithParamInterface<SkinColours> {};

TEST_P(SkinnedFormGolden, FormInsideTheChildFrame)
{
    CZynDatabase database; // the operator's; the screen reads nothing from it
    auto user = std::make_unique<CAcsUser>(7, L"operator");
    user->SetDatabase(&database);
    m_app->LoginOperator(std::move(user));
    UseSkin(GetParam().name);
    auto* main = new CMDIFrameWnd; // deletes itself with its window
    ASSERT_TRUE(main->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 480, 360)));
    m_pMain = main;
    m_app->m_pMainWnd = main;
    auto* docTemplate =
        new CMultiDocTemplate(0, RUNTIME_CLASS(CZynAppDoc), RUNTIME_CLASS(CZynChildFrame), RUNTIME_CLASS(SkinnedForm));
    m_app->AddDocTemplate(docTemplate); // the application deletes it
    g_exStyle = WS_EX_CLIENTEDGE;
    g_fill = false;
    CDocument* doc = docTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    POSITION pos = doc->GetFirstViewPosition();
    CView* view = doc->GetNextView(pos);
    CFrameWnd* child = view->GetParentFrame();
    ASSERT_TRUE(child->IsKindOf(RUNTIME_CLASS(CZynChildFrame)));
    child->MoveWindow(8, 8, 300, 180);
    Repaint();
    ASSERT_TRUE(view->GetStyle() & WS_VSCROLL) << "the form is taller than the child";

    // The texts: the child's title (between its icon and its buttons), the label, the
    // check box's text, the button's face and the edit's inside (where the caret blinks).
    CRect window;
    child->GetWindowRect(&window);
    auto in = [&](int id, int inset, int left = 0) {
        CRect r;
        ::GetWindowRect(::GetDlgItem(view->m_hWnd, id), &r);
        r.OffsetRect(-window.left, -window.top);
        r.DeflateRect(inset, inset);
        r.left += left;
        return RECT(r);
    };
    const std::vector<RECT> texts{RECT{20, 4, window.Width() - 56, 22}, in(IDC_SKIN_LABEL, 0), in(IDC_SKIN_APPLY, 3),
        in(IDC_SKIN_EDIT, 2), in(IDC_SKIN_CHECK, 0, 14)};
    const std::string name = std::wstring(GetParam().name) == L"Classic" ? "classic"
        : std::wstring(GetParam().name) == L"Office XP"                  ? "xp"
                                                                         : "2003";
    EXPECT_TRUE(zyn::test::MatchesGoldenScreen("skins", "skinned_form_" + name, window, texts));
    m_app->CloseAllDocuments(TRUE);
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinnedFormGolden, ::testing::Values(SkinColours{L"Classic", 0, 0}, kXP, k2003),
    [](const ::testing::TestParamInfo<SkinColours>& info) {
        return std::string(CStringA(info.param.name).GetString()).substr(info.param.name[0] == L'C' ? 0 : 7);
    });

} // namespace
} // namespace skintest
