// Configuration pages and sheets: the pages' permission answers in each state, the
// server-type rule (with and without an operator), the operator and options a page reads,
// its scaled pixels and the list-and-form layout against the dialog font measured here,
// its tab text, its messages to the main window; the sheets' own page list, margins per
// sheet, the keys a locked sheet swallows, pages by ID, and the pages deleted exactly once.
#include "platform/base/exception.h"
#include "platform/comctl/prsht.h"
#include "platform/gdi/wingdi.h"
#include "platform/suite/user/system_options.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "resources/resource.h"
#include "tests/cfgforms/cfgforms_support.h"

namespace zyn::test {
namespace {

// The template font's base units, measured independently: 8 points at 96 DPI (11 pixels)
// of "MS Shell Dlg"; x = (width of the 52 Latin letters / 26 + 1) / 2, y = the height.
CSize DialogFontBase()
{
    LOGFONTW lf{};
    lf.lfHeight = -11;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy(lf.lfFaceName, L"MS Shell Dlg");
    const HFONT font = CreateFontIndirectW(&lf);
    const HDC dc = ::GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SIZE letters{};
    const wchar_t* abc = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    GetTextExtentPoint32W(dc, abc, 52, &letters);
    SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return CSize((letters.cx / 26 + 1) / 2, tm.tmHeight);
}

// A page whose permission flags the test sets.
class FlagPage : public CZynAcConfigPage {
public:
    void Grant(bool view, bool add, bool modify, bool remove)
    {
        m_bViewPerm = view;
        m_bAddPerm = add;
        m_bModifyPerm = modify;
        m_bDeletePerm = remove;
    }
    using CZynAcConfigPage::CanBeEditedOnServerType;
    using CZynAcConfigPage::NameExists;
};

using PageTest = CfgFormsTest;

TEST_F(PageTest, PermissionAnswersDependOnTheState)
{
    // Columns: CanAdd, CanModify, CanDelete, CanClear, CanApply, CanView.
    struct Row {
        int state;
        bool granted;
        std::array<int, 6> answers;
    };
    const Row rows[] = {
        {0, false, {0, 0, 0, 0, 0, 0}}, {2, false, {0, 0, 0, 1, 0, 0}}, {3, false, {0, 0, 0, 1, 0, 0}},
        {0, true, {1, 1, 1, 0, 0, 1}}, {1, true, {0, 0, 0, 0, 0, 1}}, {2, true, {0, 0, 0, 1, 0, 1}},
        {3, true, {0, 0, 0, 1, 1, 1}}, {4, true, {0, 0, 0, 0, 0, 1}},
    };
    for (const Row& row : rows) {
        FlagPage page;
        page.Grant(row.granted, row.granted, row.granted, row.granted);
        page.SetState(static_cast<AcCfgFormState>(row.state));
        const std::array<int, 6> got{page.CanAdd() != 0, page.CanModify() != 0, page.CanDelete() != 0,
            page.CanClear() != 0, page.CanApply() != 0, page.CanView() != 0};
        EXPECT_EQ(got, row.answers) << "state " << row.state << (row.granted ? " granted" : " not granted");
        EXPECT_TRUE(page.CanCancel());
        EXPECT_TRUE(page.CanClose());
        EXPECT_TRUE(page.ShowButtons());
    }
    // A page never given permissions by its host denies everything after its window is made.
    HostView::MakePages() = [](CZynAcConfigSheet& sheet) {
        sheet.AddPage(new CZynAcConfigPage(IDD_KNOB_PAGE, 5));
        return TRUE;
    };
    ASSERT_NE(OpenDoorView({kPermDoorView, kPermDoorAdd, kPermDoorModify, kPermDoorDelete}), nullptr);
    CZynAcConfigPage* page = m_view->GetSheet()->GetPage(0);
    EXPECT_FALSE(page->HasAddPerm() || page->HasModifyPerm() || page->HasDeletePerm() || page->HasViewPerm());
    EXPECT_EQ(page->GetValue(), 5);
    EXPECT_FALSE(Enabled(IDC_ZYN_CFG_ADD) || Enabled(IDC_ZYN_CFG_MODIFY) || Enabled(IDC_ZYN_CFG_DELETE));
}

TEST_F(PageTest, ServerTypesBarEditsWithTheRegionRuleAndWithoutAnOperator)
{
    struct Row {
        const char* name;
        bool loggedIn;
        int32_t serverType;
        bool equivalentToRegion;
        std::set<int32_t> barred;
        int result;
        const wchar_t* message; // null: nothing reported
    };
    const Row rows[] = {
        {"stand-alone, regions barred", true, 0, false, {4}, TRUE, nullptr},
        {"a region, regions barred", true, 4, false, {4}, FALSE,
            L"Objects of this kind cannot be changed on the enterprise region server."},
        {"a master like a region counts as a region", true, 3, true, {4}, FALSE,
            L"Objects of this kind cannot be changed on the enterprise master server."},
        {"a master like a region is no longer a master", true, 3, true, {3}, TRUE, nullptr},
        {"a master, masters barred", true, 3, false, {3, 4}, FALSE,
            L"Objects of this kind cannot be changed on the enterprise master server."},
        {"nothing barred", true, 4, false, {}, TRUE, nullptr},
        {"nobody logged in, nothing barred", false, 0, false, {}, TRUE, nullptr},
        {"nobody logged in, something barred", false, 0, false, {3}, FALSE,
            L"Objects of this kind cannot be changed on the unknown server type (-1)."},
    };
    for (const Row& row : rows) {
        m_app->LogoutOperator();
        if (row.loggedIn) {
            auto user = MakeOperator({}, nullptr);
            user->SystemOptions().SetServerType(row.serverType);
            user->SystemOptions().SetEquivalentToEnterpriseRegion(row.equivalentToRegion);
            m_app->LoginOperator(std::move(user));
        }
        user::AnswerScript::Clear();
        FlagPage page;
        for (int32_t t : row.barred)
            page.DisableEditing(t);
        EXPECT_EQ(page.SetState(AcCfgStateModify), row.result) << row.name;
        EXPECT_EQ(page.GetState(), AcCfgStateModify) << row.name << ": stored whatever the answer";
        const auto shown = user::AnswerScript::Shown();
        if (row.message) {
            ASSERT_EQ(shown.size(), 1u) << row.name;
            EXPECT_EQ(shown[0].text, row.message) << row.name;
        } else {
            EXPECT_TRUE(shown.empty()) << row.name;
        }
        EXPECT_TRUE(page.SetState(AcCfgStateView)) << row.name << ": viewing is always allowed";
    }
}

TEST_F(PageTest, OperatorDatabaseAndOptionsWithAndWithoutOne)
{
    FlagPage page;
    // Nobody logged in: no operator, the defaults of a fresh installation.
    EXPECT_EQ(page.User(), nullptr);
    EXPECT_EQ(page.Database(), nullptr);
    EXPECT_FALSE(page.SegmentsInUse());
    EXPECT_FALSE(page.SegmentAdmin());
    EXPECT_FALSE(page.UseSegmentColumn());
    EXPECT_EQ(page.GetSystemOptions().ServerType(), 0);
    EXPECT_EQ(page.GetCardholderOptions().MaxBadgesPerCardholder(), 0);
    EXPECT_EQ(page.SegmentName(1), L"");
    EXPECT_TRUE(page.NameExists(L"x", L"T", L"NAME", -9999, FALSE)) << "no database: counted as existing";

    auto appUser = MakeOperator({}, nullptr);
    appUser->SystemOptions().SetSegmentsInUse(true);
    appUser->SetAllSegmentsUser(true);
    appUser->AddSegment(1, L"North");
    CAcsUser* app = appUser.get();
    m_app->LoginOperator(std::move(appUser));
    EXPECT_EQ(page.User(), app);
    EXPECT_EQ(page.Database(), &m_noDatabase);
    EXPECT_TRUE(page.SegmentAdmin());
    EXPECT_TRUE(page.UseSegmentColumn());
    EXPECT_EQ(page.SegmentName(1), L"North");

    // The page's own operator wins, also for its database; a null one is ignored.
    CZynDatabase ownDatabase;
    CAcsUser own(7, L"own");
    own.SetDatabase(&ownDatabase);
    own.AddSegment(2, L"South");
    page.SetUser(&own);
    page.SetUser(nullptr);
    EXPECT_EQ(page.User(), &own);
    EXPECT_EQ(page.GetAcsUser(), &own);
    EXPECT_EQ(page.Database(), &ownDatabase);
    EXPECT_FALSE(page.SegmentsInUse());
    EXPECT_EQ(page.SegmentName(2), L"South");
    EXPECT_EQ(page.SegmentName(1), L"");
}

TEST_F(PageTest, PermissionsComeFromTheOperatorLoggedInNotThePagesOwn)
{
    // The operator logged in may view and add doors; the page's own may do it all, and
    // lends none of it.
    static CAcsUser pageOperator(9, L"page operator");
    for (LONG p : {kPermDoorView, kPermDoorAdd, kPermDoorModify, kPermDoorDelete})
        pageOperator.AddPermission(p);
    HostView::MakePages() = [](CZynAcConfigSheet& sheet) {
        auto* page = new DoorPage;
        page->SetUser(&pageOperator);
        sheet.AddPage(page);
        return TRUE;
    };
    ASSERT_NE(OpenDoorView({kPermDoorView, kPermDoorAdd}), nullptr);
    CZynAcConfigPage* page = m_view->GetSheet()->GetPage(0);
    EXPECT_EQ(page->User(), &pageOperator) << "the page still reads through its own operator";
    EXPECT_TRUE(page->HasViewPerm());
    EXPECT_TRUE(page->HasAddPerm());
    EXPECT_FALSE(page->HasModifyPerm());
    EXPECT_FALSE(page->HasDeletePerm());
    EXPECT_TRUE(Enabled(IDC_ZYN_CFG_ADD));
    EXPECT_FALSE(Enabled(IDC_ZYN_CFG_DELETE));
}

TEST_F(PageTest, PixelsAndTheListAndFormLayoutFollowTheDialogFont)
{
    DoorPage::Preset() = {Door{1, L"Front", 10}};
    ASSERT_NE(OpenDoorView({kPermDoorView}), nullptr);
    auto* page = static_cast<DoorPage*>(m_view->GetSheet()->GetPageByID(kDoorPageID));
    const CSize base = DialogFontBase();
    EXPECT_EQ(page->GetSafePixelY(13), base.cy) << "one character's height";
    EXPECT_EQ(page->GetSafePixelX(6), base.cx) << "one character's width";
    EXPECT_EQ(page->GetSafePixelX(60), MulDiv(60, base.cx, 6));
    EXPECT_EQ(page->GetSafePixelY(130), MulDiv(130, base.cy, 13));
    FlagPage windowless;
    EXPECT_EQ(windowless.GetSafePixelX(60), 60) << "no window, no font: unchanged";

    const int mx = MulDiv(3, base.cx, 4), my = MulDiv(4, base.cy, 8);
    auto rectOf = [&](CWnd& w) {
        CRect r;
        w.GetWindowRect(&r);
        page->ScreenToClient(&r);
        return r;
    };
    struct Row {
        const char* name;
        int width, height;
        bool form;
    };
    const Row rows[] = {{"wide", 500, 300, true}, {"narrow", 200, 120, true}, {"no form", 400, 200, false},
        {"squeezed without a form", 6, 6, false}};
    const int formWidth = rectOf(page->m_form).Width();
    for (const Row& row : rows) {
        page->m_pForm = row.form ? &page->m_form : nullptr;
        page->SetWindowPos(nullptr, 0, 0, row.width, row.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        CRect client;
        page->GetClientRect(&client);
        const int W = client.Width(), H = client.Height();
        const CRect list = rectOf(page->m_list);
        if (row.form) {
            const CRect form = rectOf(page->m_form);
            EXPECT_EQ(form, CRect(W - formWidth - mx, my, W - mx, H - my)) << row.name;
            EXPECT_EQ(list, CRect(mx, my, mx + std::max(0, form.left - 2 * my), H - my)) << row.name;
        } else {
            EXPECT_EQ(list, CRect(mx, my, mx + std::max(0, W - 2 * mx), my + std::max(0, H - 2 * my))) << row.name;
        }
    }
}

TEST_F(PageTest, TitlesStaticsAndMessagesToTheMainWindow)
{
    ASSERT_NE(OpenDoorView({kPermDoorView}), nullptr);
    CZynAcConfigSheet* sheet = m_view->GetSheet();
    auto* zone = static_cast<ZonePage*>(sheet->GetPageByID(kZonePageID)); // ID 2, second tab
    const HWND tab = reinterpret_cast<HWND>(sheet->SendMessage(PSM_GETTABCONTROL));
    auto tabText = [&](int i) {
        wchar_t text[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        ::SendMessageW(tab, TCM_GETITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        return std::wstring(text);
    };
    zone->SetTitle(L"Areas");
    EXPECT_EQ(tabText(1), L"Zones") << "a page not made yet has no sheet to ask";
    sheet->SetActivePageByID(kZonePageID);
    sheet->SetActivePageByID(kDoorPageID);
    zone->SetTitle(L"Areas");
    EXPECT_EQ(tabText(0), L"Doors");
    EXPECT_EQ(tabText(1), L"Areas") << "the page's place on the sheet, not its ID";
    FlagPage loose;
    loose.SetTitle(L"nowhere"); // on no sheet: nothing happens

    sheet->SetActivePageByID(kZonePageID);
    zone->EnableStaticControls(FALSE);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(zone->m_hWnd, IDC_ZONE_LABEL)));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(zone->m_hWnd, IDC_ZONE_NAME)));
    zone->EnableStaticControls(TRUE);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(zone->m_hWnd, IDC_ZONE_LABEL)));

    zone->UpdateStatusBar(L"Ready to edit");
    EXPECT_EQ(m_main->statusTexts, std::vector<std::wstring>{L"Ready to edit"});
    CfgMessage msg(kTypeDoor, 4, 0);
    msg.m_lParams[0] = 77;
    zone->UpdateApp(msg, TRUE);
    zone->UpdateApp(msg, FALSE);
    zone->UpdatePanelDrivers(msg);
    std::vector<UINT> order;
    for (const MainMessage& m : m_main->received) {
        order.push_back(m.message);
        EXPECT_EQ(m.wParam, static_cast<WPARAM>(kTypeDoor));
        EXPECT_EQ(m.id, 77);
    }
    EXPECT_EQ(order, (std::vector<UINT>{2027, 2045, 2045, 2027}));
}

TEST_F(PageTest, OnlyPagesAfterTheFirstEnterViewingOnTheirFirstActivation)
{
    ASSERT_NE(OpenDoorView({kPermDoorView}), nullptr);
    auto count = [](const std::wstring& what) {
        return std::count(CfgTrace::Log().begin(), CfgTrace::Log().end(), what);
    };
    EXPECT_EQ(count(L"door state 0"), 1) << "the view's own start, not the page's";
    EXPECT_EQ(count(L"zone state 0"), 0) << "not activated yet";
    m_view->GetSheet()->SetActivePageByID(kZonePageID);
    m_view->GetSheet()->SetActivePageByID(kDoorPageID);
    m_view->GetSheet()->SetActivePageByID(kZonePageID);
    EXPECT_EQ(count(L"zone state 0"), 1) << "once, at its first activation";
    EXPECT_EQ(count(L"door state 0"), 1);
}

// ---- sheets --------------------------------------------------------------------------------------------------

using SheetTest = CfgFormsTest;

TEST_F(SheetTest, SafeAddAndRemoveAndPagesByID)
{
    CZynAcConfigSheet sheet;
    auto* a = new KnobPage(5);
    auto* b = new KnobPage(6);
    auto* c = new KnobPage(5);
    EXPECT_TRUE(sheet.SafeAddPage(a));
    EXPECT_FALSE(sheet.SafeAddPage(a));
    EXPECT_FALSE(sheet.SafeAddPage(nullptr));
    EXPECT_TRUE(sheet.SafeAddPage(b));
    EXPECT_TRUE(sheet.SafeAddPage(c));
    EXPECT_EQ(sheet.GetPageCount(), 3);
    EXPECT_EQ(sheet.GetPageByID(5), a) << "the first of two with the ID";
    EXPECT_EQ(sheet.GetPageIndexByID(6), 1);
    EXPECT_EQ(sheet.GetPageByID(9), nullptr);
    EXPECT_EQ(sheet.GetPageIndexByID(9), -1);
    EXPECT_FALSE(sheet.SetActivePageByID(9));
    KnobPage stranger(7);
    EXPECT_FALSE(sheet.SafeRemovePage(&stranger));
    EXPECT_TRUE(sheet.SafeRemovePage(b));
    EXPECT_FALSE(sheet.SafeRemovePage(b));
    delete b; // off the sheet: the caller's again
    for (int outside : {2, -1}) {
        bool thrown = false;
        try {
            sheet.GetPage(outside);
        } catch (CInvalidArgException* e) {
            thrown = true;
            e->Delete();
        }
        EXPECT_TRUE(thrown) << "page " << outside;
    }
    // No window: no active page with one.
    LONG first = 0, second = 0;
    EXPECT_FALSE(sheet.SetState(AcCfgStateAdd));
    EXPECT_FALSE(sheet.Clear());
    EXPECT_FALSE(sheet.GetSelectedCount(first, second));
    CfgTrace::Clear();
    sheet.Cancel();
    EXPECT_TRUE(CfgTrace::Log().empty());
    CfgTrace::Clear();
} // the sheet, never made, deletes the pages still on it: a and c

TEST_F(SheetTest, APageDeletedByItsSheetGoesExactlyOnceLastFirst)
{
    {
        CZynAcConfigSheet sheet;
        sheet.AddPage(new KnobPage(21));
        sheet.AddPage(new KnobPage(22));
        sheet.AddPage(new KnobPage(23));
    }
    EXPECT_EQ(CfgTrace::Log(), (std::vector<std::wstring>{L"knob deleted 23", L"knob deleted 22", L"knob deleted 21"}))
        << "a sheet whose window was never made";
    CfgTrace::Clear();
    auto sheet = std::make_unique<CZynAcConfigSheet>();
    sheet->AddPage(new KnobPage(31));
    sheet->AddPage(new KnobPage(32));
    ASSERT_TRUE(sheet->Create(m_main, WS_CHILD | WS_VISIBLE | WS_SYSMENU, 0));
    sheet->SetActivePage(1); // both made
    CfgTrace::Clear();
    sheet->DestroyWindow();
    EXPECT_EQ(CfgTrace::Log(), (std::vector<std::wstring>{L"knob deleted 32", L"knob deleted 31"}));
    EXPECT_EQ(sheet->GetPageCount(), 0);
    CfgTrace::Clear();
    sheet.reset();
    EXPECT_TRUE(CfgTrace::Log().empty()) << "nothing deleted twice";
}

TEST_F(SheetTest, TabMarginsBelongToEachSheet)
{
    // A child sheet: the tab control fills it. A pop-up sheet made after it has buttons and
    // margins, which must not become the child's.
    CChildSheet child;
    child.AddPage(new KnobPage(41));
    ASSERT_TRUE(child.Create(m_main, WS_CHILD | WS_VISIBLE | WS_SYSMENU, 0));
    CChildSheet popup(L"Pop-up", m_main, 0);
    popup.AddPage(new KnobPage(42));
    ASSERT_TRUE(popup.Create(m_main));
    const HWND childTab = ::GetDlgItem(child.m_hWnd, 12320);
    const HWND popupTab = ::GetDlgItem(popup.m_hWnd, 12320);
    CRect client, tab;
    popup.GetClientRect(&client);
    ::GetWindowRect(popupTab, &tab);
    EXPECT_EQ(popup.GetTabMargins(), CSize(client.Width() - tab.Width(), client.Height() - tab.Height()));
    EXPECT_GT(popup.GetTabMargins().cx, 0);
    EXPECT_EQ(child.GetTabMargins(), CSize(0, 0));

    // Resized to 400 x 300: the tab control takes the size less the sheet's margins, the made
    // page that less 8 by 26, but within the tab control's display area.
    struct Case {
        CChildSheet* sheet;
        HWND tab;
    };
    for (const Case& c : {Case{&child, childTab}, Case{&popup, popupTab}}) {
        const CSize m = c.sheet->GetTabMargins();
        CRect window, inner;
        c.sheet->GetWindowRect(&window);
        c.sheet->GetClientRect(&inner);
        c.sheet->SetWindowPos(nullptr, 0, 0, 400 + window.Width() - inner.Width(), 300 + window.Height() - inner.Height(),
            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        CRect t, p;
        ::GetWindowRect(c.tab, &t);
        c.sheet->GetActivePage()->GetWindowRect(&p);
        EXPECT_EQ(t.Size(), CSize(400 - m.cx, 300 - m.cy));
        // No further down than the tab control's display area (TCM_ADJUSTRECT), whose
        // bottom border the page would cover when the tab row is taller than allowed for.
        CRect display(0, 0, t.Width(), t.Height());
        ::SendMessageW(c.tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
        display.OffsetRect(t.TopLeft());
        EXPECT_EQ(p.Size(), CSize(400 - m.cx - 8, std::min<int>(300 - m.cy - 26, display.bottom - p.top)));
        EXPECT_LE(p.bottom, display.bottom);
    }
    popup.DestroyWindow();
    child.DestroyWindow();
    delete child.GetPage(0);
    delete popup.GetPage(0);
}

TEST_F(SheetTest, ALockedSheetSwallowsThePageKeysAndPassesOnlyTabOnward)
{
    CZynAcConfigSheet sheet;
    sheet.AddPage(new KnobPage(51));
    sheet.AddPage(new KnobPage(52));
    ASSERT_TRUE(sheet.Create(m_main, WS_CHILD | WS_VISIBLE | WS_SYSMENU, 0));
    const HWND edit = ::GetDlgItem(sheet.GetPage(0)->m_hWnd, IDC_KNOB_EDIT);
    struct Row {
        const char* name;
        int vk;
        bool ctrl;
        bool locked;
        BOOL handled;
        LONG pageAfter;
    };
    const Row rows[] = {
        {"Ctrl+Tab locked", VK_TAB, true, true, TRUE, 51},
        {"Ctrl+Page Down locked", VK_NEXT, true, true, TRUE, 51},
        {"Ctrl+Page Up locked", VK_PRIOR, true, true, TRUE, 51},
        {"Ctrl+Page Down unlocked", VK_NEXT, true, false, FALSE, 51},
        {"Page Down alone", VK_NEXT, false, true, FALSE, 51},
        {"Enter", VK_RETURN, false, false, FALSE, 51},
        {"Ctrl+Tab unlocked: left to the view", VK_TAB, true, false, FALSE, 51},
        {"Tab alone: the property sheet's (a child sheet leaves it to its parent)", VK_TAB, false, false, FALSE, 51},
    };
    for (const Row& row : rows) {
        sheet.SetActivePage(0);
        sheet.EnableTabs(!row.locked);
        EXPECT_EQ(sheet.TabsEnabled(), !row.locked);
        EXPECT_EQ(::IsWindowEnabled(sheet.GetTabControl()->m_hWnd) != FALSE, !row.locked) << row.name;
        if (row.ctrl)
            user::InjectKey(VK_CONTROL, true);
        Pump(); // the thread's key state now has Ctrl
        MSG msg{edit, WM_KEYDOWN, static_cast<WPARAM>(row.vk), 0, 0, {}};
        EXPECT_EQ(sheet.PreTranslateMessage(&msg), row.handled) << row.name;
        if (row.ctrl)
            user::InjectKey(VK_CONTROL, false);
        Pump();
        EXPECT_EQ(sheet.GetActivePageID(), row.pageAfter) << row.name;
    }
    sheet.DestroyWindow();
}

TEST_F(SheetTest, MessagesGoToMadePagesAndTheModeToAll)
{
    CZynAcConfigSheet sheet;
    auto* shown = new KnobPage(61);
    auto* hidden = new KnobPage(62);
    sheet.AddPage(shown);
    sheet.AddPage(hidden);
    ASSERT_TRUE(sheet.Create(m_main, WS_CHILD | WS_VISIBLE | WS_SYSMENU, 0));
    sheet.MultipleSelect(TRUE);
    EXPECT_EQ(shown->multipleSelect, TRUE);
    EXPECT_EQ(hidden->multipleSelect, TRUE) << "a page never shown";
    EXPECT_TRUE(hidden->InMultiSelect());
    shown->selectedFirst = 2;
    shown->selectedSecond = 5;
    LONG first = 0, second = 0;
    EXPECT_TRUE(sheet.GetSelectedCount(first, second));
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 5);
    CfgTrace::Clear();
    EXPECT_TRUE(sheet.SetState(AcCfgStateAdd));
    EXPECT_TRUE(sheet.Clear());
    sheet.Cancel();
    EXPECT_EQ(CfgTrace::Log(), (std::vector<std::wstring>{L"knob state 2", L"knob clear", L"knob cancel"}));
    EXPECT_EQ(sheet.GetActivePageID(), 61);
    sheet.DestroyWindow();
    EXPECT_EQ(sheet.GetActivePageID(), -1);
}

} // namespace
} // namespace zyn::test
