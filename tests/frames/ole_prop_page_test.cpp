// The OLE property page and sheet on a fake COM page: the calls the page gets in order
// through a whole life (whichever of window and object goes first), construction and
// activation failures leaving nothing held, applying, help through the application, the
// rescaling to the 6 x 13 base character, the page rectangle after a tab change and
// Apply Now, and the keyboard into the COM page's dialog.
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/zyn_app.h"
#include "frames/ole_prop_page.h"
#include "frames/ole_prop_sheet.h"
#include "platform/afx/afxres.h"
#include "platform/afx/frame_help.h"
#include "platform/base/locale.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/comctl/prsht.h"
#include "platform/comctl/tabctrl.h"
#include "platform/user/dialog.h"
#include "platform/user/dialog_internal.h"
#include "platform/user/vkeys.h"
#include "tests/frames/fake_com_page.h"
#include "tests/support/font_extent.h"
#include "tests/frames/frames_test_support.h"
#include "tests/support/pump.h"

namespace zyn::test {
namespace {

using Trace = std::vector<std::wstring>;

// The page template's size in dialog units (resources/ole_prop_page.rc).
constexpr int kTemplateCx = 250, kTemplateCy = 150;

std::wstring Joined(const Trace& t)
{
    std::wstring s;
    for (const auto& x : t)
        s += (s.empty() ? L"" : L", ") + x;
    return s;
}

RECT ClientRectIn(HWND h, HWND parent)
{
    RECT r{};
    ::GetWindowRect(h, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The rescale worked by hand: left/right MulDiv(v, 6, bx), top/bottom MulDiv(v, 13, by).
RECT Fixed(RECT r, SIZE units)
{
    return RECT{MulDiv(r.left, 6, units.cx), MulDiv(r.top, 13, units.cy), MulDiv(r.right, 6, units.cx),
        MulDiv(r.bottom, 13, units.cy)};
}

SIZE UnitsOf(HWND dlg)
{
    RECT r{0, 0, 4, 8};
    ::MapDialogRect(dlg, &r);
    return SIZE{r.right, r.bottom};
}

::testing::AssertionResult SameRect(const RECT& got, const RECT& want)
{
    if (::EqualRect(&got, &want))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << got.left << ", " << got.top << ", " << got.right << ", "
                                         << got.bottom << "), want (" << want.left << ", " << want.top << ", "
                                         << want.right << ", " << want.bottom << ")";
}

// A font given to a dialog before its layout so that its dialog units come from it: by
// default the 8-point dialog face, whose base character is exactly 6 x 13 pixels.
class SixBy13Font {
public:
    explicit SixBy13Font(int height = -11, int width = 0)
        : m_font(CreateFontW(height, width, 0, 0, 400, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Shell Dlg"))
    {
    }
    ~SixBy13Font() { DeleteObject(m_font); }
    SixBy13Font(const SixBy13Font&) = delete;
    SixBy13Font& operator=(const SixBy13Font&) = delete;
    void Apply(HWND dlg) const { user::SetDialogFont(dlg, m_font, false); }

private:
    HFONT m_font;
};

template <typename Base>
class SixBy13 : public Base {
public:
    using Base::Base;
    const SixBy13Font* font = nullptr;
    SIZE created{}; // the window's size as the template made it
    BOOL OnInitDialog() override
    {
        RECT r{};
        ::GetWindowRect(this->m_hWnd, &r);
        created = SIZE{r.right - r.left, r.bottom - r.top};
        if (font)
            font->Apply(this->m_hWnd);
        return Base::OnInitDialog();
    }
};

class OlePageTest : public FramesTest {
protected:
    void SetUp() override
    {
        FramesTest::SetUp();
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        FakePage() = FakePageBehaviour{};
        auto factory = com::Ref<IClassFactory>::Attach(new FakeComPageFactory);
        ASSERT_EQ(CoRegisterClassObject(CLSID_FakeComPage, factory.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                      &m_cookie),
            S_OK);
        m_object = com::Ref<IUnknown>::Attach(new EditedObject);
        m_live = com::LiveObjectCount();
        m_taskBlocks = com::TaskMemBlockCount();
        afx::ClearWinHelpCalls();
    }
    void TearDown() override
    {
        EXPECT_EQ(FakePage().site, nullptr) << "the COM page still holds its site";
        EXPECT_EQ(FakePage().objectsHeld, 0) << "the COM page still holds its objects";
        EXPECT_EQ(com::LiveObjectCount(), m_live) << "COM objects left alive";
        EXPECT_EQ(com::TaskMemBlockCount(), m_taskBlocks) << "task memory left";
        EXPECT_EQ(comctl::LivePropertySheetPageCount(), 0u) << "page handles leaked";
        m_object = nullptr;
        com::ResetComForTests();
        FakePage() = FakePageBehaviour{};
        FramesTest::TearDown();
    }
    static Trace TakeTrace() { return std::exchange(FakePage().trace, {}); }
    // Runs posted and input messages as a host's modeless loop does: through the sheet's
    // keys first.
    static void PumpSheet(CPropertySheet& sheet)
    {
        zyn::test::PumpMessages([&sheet](MSG& m) { return sheet.m_hWnd && sheet.PreTranslateMessage(&m); });
    }
    static std::wstring TabText(CPropertySheet& sheet, int i)
    {
        wchar_t buf[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = buf;
        item.cchTextMax = 64;
        sheet.GetTabControl()->GetItem(i, &item);
        return buf;
    }

    DWORD m_cookie = 0;
    com::Ref<IUnknown> m_object;
    size_t m_live = 0;
    size_t m_taskBlocks = 0;
};

// ---- a whole life ------------------------------------------------------------------------------------------------

TEST_F(OlePageTest, TheComPageIsSitedActivatedAndTakenDownInOrderWhicheverGoesFirst)
{
    struct Row {
        const char* name;
        bool objectFirst; // the page object goes while its window is still shown
        Trace ending;
    };
    const Row rows[] = {
        {"window, then object", false, {L"Deactivate", L"SetObjects(0)", L"SetPageSite(null)", L"destroyed"}},
        {"object while active", true, {L"Deactivate", L"SetObjects(0)", L"SetPageSite(null)", L"destroyed"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<com::ActivationCall> activations;
        com::SetActivationObserverForTests([&](const com::ActivationCall& c) { activations.push_back(c); });
        auto page = std::make_unique<CZynOlePropPage>(CLSID_FakeComPage, m_object.get());
        com::SetActivationObserverForTests(nullptr);
        ASSERT_EQ(activations.size(), 1u);
        EXPECT_EQ(activations[0].context, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER);
        EXPECT_TRUE(IsEqualIID(activations[0].iid, IID_IPropertyPage));
        EXPECT_EQ(Joined(TakeTrace()), L"created, SetPageSite(site), SetObjects(1), GetPageInfo");
        EXPECT_EQ(FakePage().pageInfoSize, sizeof(PROPPAGEINFO));
        EXPECT_EQ(FakePage().objectsHeld, 1);
        EXPECT_EQ(page->GetHelpContext(), 0x1234u);
        EXPECT_TRUE(page->m_psp.dwFlags & PSP_USETITLE);

        CZynOlePropSheet sheet(L"Card");
        sheet.AddPage(page.get());
        ASSERT_TRUE(sheet.Create());
        EXPECT_EQ(Joined(TakeTrace()), L"Activate(modal), Show(5)");
        EXPECT_EQ(TabText(sheet, 0), L"Badge Layout");
        EXPECT_EQ(::GetParent(FakePage().window), page->m_hWnd);
        EXPECT_TRUE(::IsWindowVisible(FakePage().window));
        EXPECT_TRUE(page->IsComPageActive());

        if (row.objectFirst) {
            page.reset();
            EXPECT_EQ(TakeTrace(), row.ending);
            EXPECT_EQ(sheet.GetPageCount(), 0);
            sheet.DestroyWindow();
        } else {
            sheet.DestroyWindow();
            EXPECT_EQ(Joined(TakeTrace()), L"Deactivate");
            EXPECT_FALSE(page->IsComPageActive());
            // Shown again: the inactive COM page is activated afresh.
            ASSERT_TRUE(sheet.Create());
            EXPECT_EQ(Joined(TakeTrace()), L"Activate(modal), Show(5)");
            sheet.DestroyWindow();
            EXPECT_EQ(Joined(TakeTrace()), L"Deactivate");
            page.reset();
            Trace all = row.ending;
            all.erase(all.begin()); // deactivated with the window already
            EXPECT_EQ(TakeTrace(), all);
        }
        EXPECT_EQ(FakePage().site, nullptr);
    }
}

TEST_F(OlePageTest, TheSiteAnswersForThePage)
{
    CZynOlePropPage page(CLSID_FakeComPage, m_object.get());
    IPropertyPageSite* site = FakePage().site;
    ASSERT_NE(site, nullptr);
    LCID lcid = 0;
    EXPECT_EQ(site->GetLocaleID(&lcid), S_OK);
    EXPECT_EQ(lcid, GetThreadLocale());
    EXPECT_EQ(site->GetLocaleID(nullptr), E_POINTER);
    IUnknown* container = reinterpret_cast<IUnknown*>(uintptr_t{0xDEADBEEF});
    EXPECT_EQ(site->GetPageContainer(&container), E_NOTIMPL);
    EXPECT_EQ(container, nullptr);
    EXPECT_EQ(site->TranslateAccelerator(nullptr), E_NOTIMPL);
    EXPECT_EQ(site->OnStatusChange(PROPPAGESTATUS_DIRTY), S_OK);

    // One object: every interface answers the same IUnknown, and the page's own
    // dispatch interface is its IDispatch with no names.
    struct Ask {
        const char* name;
        const IID* iid;
        HRESULT hr;
    };
    const Ask asks[] = {{"site", &IID_IPropertyPageSite, S_OK}, {"dispatch", &IID_IDispatch, S_OK},
        {"own dispatch", &IID_IZynOlePropPage, S_OK}, {"property page", &IID_IPropertyPage, E_NOINTERFACE}};
    IUnknown* identity = nullptr;
    ASSERT_EQ(site->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    for (const Ask& a : asks) {
        SCOPED_TRACE(a.name);
        void* pv = reinterpret_cast<void*>(uintptr_t{0xDEADBEEF});
        EXPECT_EQ(site->QueryInterface(*a.iid, &pv), a.hr);
        if (FAILED(a.hr)) {
            EXPECT_EQ(pv, nullptr);
            continue;
        }
        IUnknown* again = nullptr;
        static_cast<IUnknown*>(pv)->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again));
        EXPECT_EQ(again, identity);
        again->Release();
        if (a.iid == &IID_IZynOlePropPage) {
            auto* disp = static_cast<IDispatch*>(pv);
            wchar_t name[] = L"Title";
            LPOLESTR names[] = {name};
            DISPID id = 0;
            EXPECT_EQ(disp->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
        }
        static_cast<IUnknown*>(pv)->Release();
    }
    identity->Release();
}

// ---- failures ---------------------------------------------------------------------------------------------------

TEST_F(OlePageTest, EveryConstructionFailureThrowsItsResultAndReleasesAll)
{
    constexpr CLSID kNobody{0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
    struct Row {
        const char* name;
        const CLSID* clsid;
        bool uninitialised;
        HRESULT FakePageBehaviour::*step;
        HRESULT hr;
        const wchar_t* trace;
    };
    const Row rows[] = {
        {"no object to edit", &CLSID_FakeComPage, false, nullptr, E_POINTER, L""},
        {"class not registered", &kNobody, false, nullptr, REGDB_E_CLASSNOTREG, L""},
        {"COM not initialised", &CLSID_FakeComPage, true, nullptr, CO_E_NOTINITIALIZED, L""},
        {"site refused", &CLSID_FakeComPage, false, &FakePageBehaviour::setSite, E_ACCESSDENIED,
            L"created, SetPageSite(site), SetObjects(0), SetPageSite(null), destroyed"},
        {"object refused", &CLSID_FakeComPage, false, &FakePageBehaviour::setObjects, E_INVALIDARG,
            L"created, SetPageSite(site), SetObjects(1), SetObjects(0), SetPageSite(null), destroyed"},
        {"page information failed", &CLSID_FakeComPage, false, &FakePageBehaviour::pageInfo, E_OUTOFMEMORY,
            L"created, SetPageSite(site), SetObjects(1), GetPageInfo, SetObjects(0), SetPageSite(null), destroyed"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakePage() = FakePageBehaviour{};
        if (row.step)
            FakePage().*row.step = row.hr;
        if (row.uninitialised)
            CoUninitialize();
        HRESULT thrown = S_OK;
        try {
            CZynOlePropPage page(*row.clsid, row.hr == E_POINTER ? nullptr : m_object.get());
            ADD_FAILURE() << "no exception";
        } catch (COleException* e) {
            thrown = e->m_sc;
            e->Delete();
        }
        if (row.uninitialised) {
            ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        }
        EXPECT_EQ(thrown, row.hr);
        EXPECT_EQ(Joined(TakeTrace()), row.trace);
        EXPECT_EQ(FakePage().site, nullptr);
        EXPECT_EQ(FakePage().objectsHeld, 0);
        EXPECT_EQ(com::LiveObjectCount(), m_live);
        EXPECT_EQ(com::TaskMemBlockCount(), m_taskBlocks) << "page information strings not freed";
    }
}

TEST_F(OlePageTest, AFailingActivationIsReportedAndThePageStaysUsable)
{
    struct Row {
        const char* name;
        HRESULT FakePageBehaviour::*step;
        const wchar_t* shown;  // the calls while the sheet is made
        const wchar_t* closed; // the calls when the sheet goes
    };
    const Row rows[] = {
        {"activation refused", &FakePageBehaviour::activate, L"Activate(modal)", L""},
        {"show refused", &FakePageBehaviour::show, L"Activate(modal), Show(5)", L"Deactivate"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakePage() = FakePageBehaviour{};
        FakePage().*row.step = E_ACCESSDENIED;
        user::AnswerScript::Clear();
        {
            CZynOlePropPage page(CLSID_FakeComPage, m_object.get());
            TakeTrace();
            CZynOlePropSheet sheet(L"Card");
            sheet.AddPage(&page);
            ASSERT_TRUE(sheet.Create());
            EXPECT_EQ(Joined(TakeTrace()), row.shown);
            const auto shown = user::AnswerScript::Shown();
            ASSERT_EQ(shown.size(), 1u) << "the failure is shown once";
            EXPECT_EQ(shown[0].kind, user::AnswerKind::MessageBox);
            EXPECT_NE(shown[0].text.find(L"0x80070005"), std::wstring::npos) << std::string(
                shown[0].text.begin(), shown[0].text.end());
            EXPECT_EQ(sheet.GetActivePage(), &page);
            sheet.DestroyWindow();
            EXPECT_EQ(Joined(TakeTrace()), row.closed);
        }
        EXPECT_EQ(Joined(TakeTrace()), L"SetObjects(0), SetPageSite(null), destroyed");
    }
}

// ---- applying and help ----------------------------------------------------------------------------------------

TEST_F(OlePageTest, ApplyAnswersFalseWhileTheComPageKeepsChanges)
{
    struct Row {
        const char* name;
        bool com;
        bool keepsChanges;
        BOOL applied;
        const wchar_t* trace;
        bool openAfterOk;
    };
    const Row rows[] = {
        {"changes taken", true, false, TRUE, L"Apply, IsPageDirty", false},
        {"changes refused", true, true, FALSE, L"Apply, IsPageDirty", true},
        {"no COM page", false, false, TRUE, L"", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakePage() = FakePageBehaviour{};
        FakePage().keepsChangesAfterApply = row.keepsChanges;
        std::unique_ptr<CZynOlePropPage> page = row.com
            ? std::make_unique<CZynOlePropPage>(CLSID_FakeComPage, m_object.get())
            : std::make_unique<CZynOlePropPage>();
        CZynOlePropSheet sheet(L"Card");
        sheet.AddPage(page.get());
        ASSERT_TRUE(sheet.Create());
        TakeTrace();
        EXPECT_EQ(page->OnApply(), row.applied);
        EXPECT_EQ(Joined(TakeTrace()), row.trace);
        // OK applies through the sheet: a page with pending changes keeps it open.
        FakePage().dirty = true;
        const HWND hSheet = sheet.m_hWnd;
        sheet.PressButton(PSBTN_OK);
        EXPECT_EQ(::IsWindow(hSheet) != FALSE, row.openAfterOk);
        if (::IsWindow(hSheet))
            sheet.DestroyWindow();
        page.reset();
        TakeTrace();
    }
}

TEST_F(OlePageTest, HelpOpensTheComPagesContextThroughTheApplication)
{
    struct Row {
        const char* name;
        bool app;
        bool fromSheet; // else a notification from an unrelated window
        size_t helpCalls;
    };
    const Row rows[] = {
        {"application, F1 on the sheet", true, true, 1},
        {"no application", false, true, 0},
        {"notification from elsewhere", true, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        afx::ClearWinHelpCalls();
        std::unique_ptr<CZynApp> app = row.app ? std::make_unique<CZynApp>(L"Host") : nullptr;
        {
            CZynOlePropPage page(CLSID_FakeComPage, m_object.get());
            CZynOlePropSheet sheet(L"Card");
            sheet.AddPage(&page);
            ASSERT_TRUE(sheet.Create());
            if (row.fromSheet) {
                EXPECT_EQ(sheet.SendMessage(WM_HELP, 0, 0), 0);
            } else {
                const HWND stranger = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                    nullptr, nullptr);
                NMHDR nm{stranger, 0, PSN_HELP};
                page.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
                DestroyWindow(stranger);
            }
            const auto& calls = afx::WinHelpCalls();
            ASSERT_EQ(calls.size(), row.helpCalls);
            if (row.helpCalls) {
                EXPECT_EQ(calls[0].dwData, 0x1234u);
                EXPECT_EQ(calls[0].nCmd, 1u);
            }
            sheet.DestroyWindow();
        }
        TakeTrace();
    }
}

// ---- geometry ---------------------------------------------------------------------------------------------------

// Where the sheet's parts are, in its client coordinates.
struct SheetGeometry {
    RECT window{}; // the window rectangle in its own client coordinates
    RECT tab{};
    RECT page{};
    std::vector<RECT> buttons; // OK, Cancel, Apply Now
};
SheetGeometry Measure(CPropertySheet& sheet)
{
    SheetGeometry g;
    g.window = ClientRectIn(sheet.m_hWnd, sheet.m_hWnd);
    g.tab = ClientRectIn(sheet.GetTabControl()->m_hWnd, sheet.m_hWnd);
    g.page = ClientRectIn(sheet.GetActivePage()->m_hWnd, sheet.m_hWnd);
    for (int id : {IDOK, IDCANCEL, static_cast<int>(ID_APPLY_NOW)})
        g.buttons.push_back(ClientRectIn(::GetDlgItem(sheet.m_hWnd, id), sheet.m_hWnd));
    return g;
}

TEST_F(OlePageTest, TheSheetRescalesToTheSixBy13BaseCharacterAndKeepsASixBy13Layout)
{
    ZYN_SKIP_WITHOUT_METRIC_FACES();
    const SixBy13Font sixBy13;
    const SixBy13Font larger(-16, 0); // 12 points: the templates' 8-point face gives 6 x 13 itself
    for (const bool exact : {false, true}) {
        SCOPED_TRACE(exact ? "6 x 13 dialog font" : "a 12-point dialog font");
        // The same sheet and page without rescaling.
        SheetGeometry plain;
        {
            SixBy13<CZynOlePropPage> page;
            SixBy13<CPropertySheet> sheet(L"Card");
            sheet.font = page.font = exact ? &sixBy13 : &larger;
            sheet.AddPage(&page);
            ASSERT_TRUE(sheet.Create());
            plain = Measure(sheet);
            sheet.DestroyWindow();
        }
        FakePage() = FakePageBehaviour{};
        SixBy13<CZynOlePropPage> page(CLSID_FakeComPage, m_object.get());
        SixBy13<CZynOlePropSheet> sheet(L"Card");
        sheet.font = page.font = exact ? &sixBy13 : &larger;
        sheet.AddPage(&page);
        ASSERT_TRUE(sheet.Create());
        const SIZE units = UnitsOf(sheet.m_hWnd);
        if (exact) {
            ASSERT_EQ(units.cx, 6);
            ASSERT_EQ(units.cy, 13);
        } else {
            ASSERT_NE(units.cx, 6) << "the font must differ from the base for this case to mean anything";
        }
        const SheetGeometry got = Measure(sheet);
        // With 6 x 13 units the rescale is the identity, so every rectangle below equals the
        // plain sheet's. The window went to its rescaled client-relative rectangle first (so the sheet's
        // client origin sat at `origin` on the screen while its buttons, taken in screen
        // coordinates, were rescaled), then was centred.
        const RECT win = Fixed(plain.window, units);
        EXPECT_EQ(got.window.right - got.window.left, win.right - win.left);
        EXPECT_EQ(got.window.bottom - got.window.top, win.bottom - win.top);
        EXPECT_TRUE(SameRect(got.tab, Fixed(plain.tab, units))) << "tab control";
        EXPECT_TRUE(SameRect(got.page, Fixed(plain.page, units))) << "page";
        EXPECT_TRUE(SameRect(sheet.GetPageRect(), got.page)) << "the stored page rectangle";
        const POINT origin{win.left - plain.window.left, win.top - plain.window.top};
        for (size_t i = 0; i < plain.buttons.size(); ++i) {
            RECT screen = plain.buttons[i];
            ::OffsetRect(&screen, origin.x, origin.y);
            RECT want = Fixed(screen, units);
            ::OffsetRect(&want, -origin.x, -origin.y);
            EXPECT_TRUE(SameRect(got.buttons[i], want)) << "button " << i;
        }
        // The COM page was activated at the page's size as its template made it (250 x 150
        // units in the template's font), rescaled with the page's own units: kept as it is
        // when those are 6 x 13.
        const SIZE pageUnits = UnitsOf(page.m_hWnd);
        // The template's 8-point face: the documented 6 x 13.
        EXPECT_EQ(page.created.cx, MulDiv(kTemplateCx, 6, 4));
        EXPECT_EQ(page.created.cy, MulDiv(kTemplateCy, 13, 8));
        const RECT made{0, 0, page.created.cx, page.created.cy};
        EXPECT_TRUE(SameRect(FakePage().activateRect, exact ? made : Fixed(made, pageUnits)));
        // Centred on the work area.
        RECT work{};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        RECT placed{};
        ::GetWindowRect(sheet.m_hWnd, &placed);
        EXPECT_LE(std::abs((placed.left + placed.right) - (work.left + work.right)), 2);
        sheet.DestroyWindow();
    }
}

TEST_F(OlePageTest, TheActivePageTakesThePageRectangleAfterATabChangeAndApplyNow)
{
    CZynOlePropPage comPage(CLSID_FakeComPage, m_object.get());
    CZynOlePropPage plainPage;
    CZynOlePropSheet sheet(L"Card");
    sheet.AddPage(&comPage);
    sheet.AddPage(&plainPage);
    ASSERT_TRUE(sheet.Create());
    const RECT pageRect = sheet.GetPageRect();
    ASSERT_FALSE(::IsRectEmpty(&pageRect));
    EXPECT_EQ(TabText(sheet, 1), L"Properties") << "a page without a COM page keeps the template's caption";

    // A click on the second tab.
    RECT item{};
    sheet.GetTabControl()->GetItemRect(1, &item);
    ::MapWindowPoints(sheet.GetTabControl()->m_hWnd, nullptr, reinterpret_cast<POINT*>(&item), 2);
    user::InjectClick((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    PumpSheet(sheet);
    ASSERT_EQ(sheet.GetActivePage(), &plainPage);
    EXPECT_TRUE(SameRect(ClientRectIn(plainPage.m_hWnd, sheet.m_hWnd), pageRect)) << "after the tab change";

    // Apply Now applies every page made (the COM page too) and puts the page back.
    ::MoveWindow(plainPage.m_hWnd, 3, 3, 40, 40, TRUE);
    plainPage.SetModified(TRUE);
    const HWND apply = ::GetDlgItem(sheet.m_hWnd, ID_APPLY_NOW);
    ASSERT_TRUE(::IsWindowEnabled(apply));
    TakeTrace();
    sheet.PressButton(PSBTN_APPLYNOW);
    PumpSheet(sheet);
    EXPECT_EQ(Joined(TakeTrace()), L"Apply, IsPageDirty");
    EXPECT_FALSE(::IsWindowEnabled(apply)) << "a full apply disables Apply Now";
    EXPECT_TRUE(SameRect(ClientRectIn(plainPage.m_hWnd, sheet.m_hWnd), pageRect)) << "after Apply Now";
    sheet.DestroyWindow();
}

// ---- keys and buttons -----------------------------------------------------------------------------------------

TEST_F(OlePageTest, TabMovesIntoAComPageMadeOfADialog)
{
    for (const bool dialog : {true, false}) {
        SCOPED_TRACE(dialog ? "dialog" : "static");
        FakePage() = FakePageBehaviour{};
        FakePage().dialogWindow = dialog;
        CZynOlePropPage page(CLSID_FakeComPage, m_object.get());
        CZynOlePropSheet sheet(L"Card");
        sheet.AddPage(&page);
        ASSERT_TRUE(sheet.Create());
        const HWND child = FakePage().window;
        ASSERT_NE(child, nullptr);
        EXPECT_EQ((::GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0, dialog);
        if (dialog) {
            const HWND edit = ::GetDlgItem(child, kFakeEditId);
            ::SetFocus(::GetDlgItem(sheet.m_hWnd, IDOK));
            bool reached = false;
            for (int i = 0; i < 6 && !reached; ++i) {
                user::InjectKeyPress(VK_TAB);
                PumpSheet(sheet);
                reached = ::GetFocus() == edit;
            }
            EXPECT_TRUE(reached) << "Tab never reached the COM page's edit";
        }
        sheet.DestroyWindow();
    }
}

TEST_F(OlePageTest, ActivationSendsTheWizardButtonsAndOkAsDefault)
{
    CZynOlePropPage page(CLSID_FakeComPage, m_object.get());
    page.SetWizardButtons(PSWIZB_BACK | PSWIZB_FINISH);
    CZynOlePropSheet sheet(L"Card");
    sheet.SetWizardMode();
    sheet.AddPage(&page);
    ASSERT_TRUE(sheet.Create());
    PumpSheet(sheet);
    const HWND finish = ::GetDlgItem(sheet.m_hWnd, ID_WIZFINISH);
    const HWND next = ::GetDlgItem(sheet.m_hWnd, ID_WIZNEXT);
    EXPECT_TRUE(::IsWindowVisible(finish) && ::IsWindowEnabled(finish)) << "Finish in Next's place";
    EXPECT_FALSE(::IsWindowVisible(next));
    EXPECT_EQ(LOWORD(sheet.SendMessage(DM_GETDEFID, 0, 0)), IDOK);
    sheet.DestroyWindow();
}

} // namespace
} // namespace zyn::test
