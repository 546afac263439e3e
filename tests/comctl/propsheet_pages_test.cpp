// Property-sheet pages: handles and their callbacks, bad descriptions, pages added and
// removed while the sheet runs, titles, and the wizard's steps.
#include "tests/comctl/propsheet_test_support.h"

#include <cstring>

#include "platform/base/globalmem.h"
#include "platform/base/lasterror.h"
#include "platform/user/vkeys.h"

namespace zyn::test {
namespace {

using Log = std::vector<std::wstring>;

std::wstring TabText(HWND sheet, int index)
{
    wchar_t buf[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = 64;
    SendMessageW(PropSheetTest::Tab(sheet), TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return buf;
}

std::wstring WindowText(HWND h)
{
    wchar_t buf[128] = {};
    GetWindowTextW(h, buf, 128);
    return buf;
}

// The callbacks a page was called with, in order.
std::vector<std::pair<UINT, std::wstring>> g_callbacks;
UINT g_createAnswer = TRUE;
UINT RecordingCallback(HWND, UINT msg, PROPSHEETPAGEW* psp)
{
    g_callbacks.emplace_back(msg, reinterpret_cast<const wchar_t*>(psp->lParam));
    return msg == PSPCB_CREATE ? g_createAnswer : 1;
}

TEST_F(PropSheetTest, BadPageDescriptionsMakeNoHandle)
{
    const std::vector<uint16_t> truncated = {0x0000, 0x8000, 0, 0, 3}; // three items announced, none there
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, truncated.size() * 2);
    std::memcpy(GlobalLock(block), truncated.data(), truncated.size() * 2);
    struct Row {
        const char* name;
        std::function<void(PROPSHEETPAGEW&)> spoil;
        DWORD error;
    };
    const std::vector<Row> rows = {
        {"a size below the first layout", [](PROPSHEETPAGEW& p) { p.dwSize = PROPSHEETPAGE_V1_SIZE - 4; },
            ERROR_INVALID_PARAMETER},
        {"a size no page description has", [](PROPSHEETPAGEW& p) { p.dwSize = 0x7FFFFFFF; }, ERROR_INVALID_PARAMETER},
        {"no template", [](PROPSHEETPAGEW& p) { p.pszTemplate = nullptr; }, ERROR_INVALID_PARAMETER},
        {"a template the module does not have", [](PROPSHEETPAGEW& p) { p.pszTemplate = MAKEINTRESOURCEW(999); },
            ERROR_RESOURCE_NAME_NOT_FOUND},
        {"a named template the module does not have", [](PROPSHEETPAGEW& p) { p.pszTemplate = L"NOSUCHPAGE"; },
            ERROR_RESOURCE_NAME_NOT_FOUND},
        {"in memory, but no memory", [](PROPSHEETPAGEW& p) { p.dwFlags |= PSP_DLGINDIRECT; p.pResource = nullptr; },
            ERROR_INVALID_PARAMETER},
        {"in memory, truncated",
            [&](PROPSHEETPAGEW& p) {
                p.dwFlags |= PSP_DLGINDIRECT;
                p.pResource = static_cast<LPCDLGTEMPLATE>(GlobalLock(block));
            },
            ERROR_INVALID_DATA},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PROPSHEETPAGEW p = Page(IDD_PS_ONE, L"One");
        row.spoil(p);
        SetLastError(0);
        EXPECT_EQ(CreatePropertySheetPageW(&p), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(row.error));
    }
    EXPECT_EQ(CreatePropertySheetPageW(nullptr), nullptr);
    GlobalUnlock(block);
    GlobalUnlock(block);
    GlobalFree(block);

    // A sheet of such a page is not made; nor one without pages.
    std::vector<PROPSHEETPAGEW> pages = {Page(IDD_PS_ONE, L"One"), Page(999, L"Missing")};
    PROPSHEETHEADERW h = Header(pages);
    EXPECT_EQ(PropertySheetW(&h), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    h.dwFlags |= PSH_MODELESS;
    EXPECT_EQ(PropertySheetW(&h), 0);
    h.nPages = 0;
    EXPECT_EQ(PropertySheetW(&h), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(PropertySheetW(nullptr), -1);
    EXPECT_EQ(TakeLog(), Log{}) << "no page was made";
}

TEST_F(PropSheetTest, HandlesBelongToTheSheetThatTookThem)
{
    PROPSHEETPAGEW one = Page(IDD_PS_ONE, L"One"), two = Page(IDD_PS_TWO, L"Two");
    HPROPSHEETPAGE handles[2] = {CreatePropertySheetPageW(&one), CreatePropertySheetPageW(&two)};
    ASSERT_TRUE(handles[0] && handles[1]);
    EXPECT_EQ(comctl::LivePropertySheetPageCount(), 2u);

    // A handle given twice, or a stale one, refuses the call and leaves the handles alone.
    HPROPSHEETPAGE twice[2] = {handles[0], handles[0]};
    PROPSHEETHEADERW h{};
    h.dwSize = sizeof h;
    h.dwFlags = PSH_MODELESS;
    h.nPages = 2;
    h.phpage = twice;
    EXPECT_EQ(PropertySheetW(&h), 0);
    EXPECT_EQ(comctl::LivePropertySheetPageCount(), 2u);

    h.phpage = handles;
    const auto sheet = reinterpret_cast<HWND>(PropertySheetW(&h));
    ASSERT_TRUE(sheet);
    // A handle of a living sheet cannot start another one.
    HPROPSHEETPAGE taken[1] = {handles[1]};
    h.nPages = 1;
    h.phpage = taken;
    EXPECT_EQ(PropertySheetW(&h), 0);
    // Destroying a handle of the sheet takes its page off the sheet.
    EXPECT_TRUE(DestroyPropertySheetPage(handles[1]));
    EXPECT_EQ(SendMessageW(Tab(sheet), TCM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_FALSE(DestroyPropertySheetPage(handles[1]));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    // The sheet destroys the handles it still holds.
    DestroyWindow(sheet);
    EXPECT_EQ(comctl::LivePropertySheetPageCount(), 0u);
    EXPECT_FALSE(DestroyPropertySheetPage(handles[0]));
    EXPECT_EQ(TakeLog(), (Log{L"One:init", L"One:setactive", L"One:destroy"}));
}

TEST_F(PropSheetTest, PageCallbacksFrameTheHandleAndMayRefuseTheWindow)
{
    g_callbacks.clear();
    g_createAnswer = TRUE;
    UINT refs = 0;
    PROPSHEETPAGEW p = Page(IDD_PS_TWO, L"Two", PSP_USECALLBACK | PSP_USEREFPARENT);
    p.pfnCallback = &RecordingCallback;
    p.pcRefParent = &refs;
    HPROPSHEETPAGE h = CreatePropertySheetPageW(&p);
    ASSERT_TRUE(h);
    EXPECT_EQ(refs, 1u);
    EXPECT_TRUE(DestroyPropertySheetPage(h));
    EXPECT_EQ(refs, 0u);
    using Calls = std::vector<std::pair<UINT, std::wstring>>;
    EXPECT_EQ(g_callbacks, (Calls{{PSPCB_ADDREF, L"Two"}, {PSPCB_RELEASE, L"Two"}})) << "never made: no PSPCB_CREATE";

    // PSPCB_CREATE refusing: the page cannot be made, so it cannot be activated.
    g_callbacks.clear();
    g_createAnswer = FALSE;
    const HWND sheet = MakeModeless(0, {Page(IDD_PS_ONE, L"One"), p});
    TakeLog();
    EXPECT_EQ(SendMessageW(sheet, PSM_SETCURSEL, 1, 0), FALSE);
    EXPECT_EQ(TakeLog(), Log{L"One:killactive"});
    EXPECT_EQ(NameOf(Current(sheet)), L"One");
    g_createAnswer = TRUE;
    EXPECT_EQ(SendMessageW(sheet, PSM_SETCURSEL, 1, 0), TRUE);
    DestroyWindow(sheet);
    EXPECT_EQ(g_callbacks, (Calls{{PSPCB_ADDREF, L"Two"}, {PSPCB_CREATE, L"Two"}, {PSPCB_CREATE, L"Two"},
                               {PSPCB_RELEASE, L"Two"}}));
    EXPECT_EQ(refs, 0u);
    TakeLog();
}

TEST_F(PropSheetTest, TabTextsAndCaptions)
{
    // An in-memory page without PSP_USETITLE shows its template's caption (a copy: the
    // caller's memory may go once the handle is made).
    std::vector<uint16_t> bytes = SimplePageTemplate(100, 50, L"Memory");
    PROPSHEETPAGEW memory = Page(0, L"Memory", PSP_DLGINDIRECT);
    memory.pResource = reinterpret_cast<LPCDLGTEMPLATE>(bytes.data());
    PROPSHEETPAGEW titled = Page(IDD_PS_TWO, L"Two", PSP_USETITLE);
    std::wstring title = L"Given";
    titled.pszTitle = title.c_str();
    PROPSHEETPAGEW fromId = Page(IDD_PS_THREE, L"Three", PSP_USETITLE);
    fromId.pszTitle = MAKEINTRESOURCEW(IDS_PS_TABTEXT);
    std::vector<PROPSHEETPAGEW> pages = {memory, titled, fromId};
    PROPSHEETHEADERW h = Header(pages, PSH_MODELESS | PSH_PROPTITLE);
    h.pszCaption = MAKEINTRESOURCEW(IDS_PS_CAPTION);
    h.nStartPage = 1;
    const auto sheet = reinterpret_cast<HWND>(PropertySheetW(&h));
    ASSERT_TRUE(sheet);
    bytes.assign(bytes.size(), 0xCCCC);
    title = L"changed";
    EXPECT_EQ(TabText(sheet, 0), L"Memory");
    EXPECT_EQ(TabText(sheet, 1), L"Given");
    EXPECT_EQ(TabText(sheet, 2), L"From a string");
    EXPECT_EQ(WindowText(sheet), L"Properties for Settings");
    SendMessageW(sheet, PSM_SETTITLEW, 0, reinterpret_cast<LPARAM>(L"Plain"));
    EXPECT_EQ(WindowText(sheet), L"Plain");
    // The in-memory page is made from the sheet's copy of its template.
    EXPECT_EQ(SendMessageW(sheet, PSM_SETCURSEL, 0, 0), TRUE);
    EXPECT_EQ(NameOf(Current(sheet)), L"Memory");
    DestroyWindow(sheet);
    TakeLog();
}

TEST_F(PropSheetTest, PagesComeAndGoWhileTheSheetRuns)
{
    const HWND sheet = MakeModeless(0, {Page(IDD_PS_ONE, L"One"), Page(IDD_PS_TWO, L"Two")});
    PROPSHEETPAGEW three = Page(IDD_PS_THREE, L"Three");
    const HPROPSHEETPAGE h3 = CreatePropertySheetPageW(&three);
    EXPECT_EQ(SendMessageW(sheet, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(h3)), TRUE);
    EXPECT_EQ(SendMessageW(sheet, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(h3)), FALSE) << "already there";
    EXPECT_EQ(SendMessageW(sheet, PSM_ADDPAGE, 0, 0), FALSE);
    EXPECT_EQ(SendMessageW(Tab(sheet), TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(TakeLog(), (Log{L"One:init", L"One:setactive"})) << "an added page is made when activated";

    // Removing the active page: the page that took its place becomes active, without a
    // KILLACTIVE for the one that went.
    SendMessageW(sheet, PSM_REMOVEPAGE, 0, 0);
    EXPECT_EQ(TakeLog(), (Log{L"One:destroy", L"Two:init", L"Two:setactive"}));
    EXPECT_EQ(NameOf(Current(sheet)), L"Two");
    EXPECT_EQ(SendMessageW(Tab(sheet), TCM_GETCURSEL, 0, 0), 0);
    // Removing a page before the active one keeps the active page.
    SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
    TakeLog();
    SendMessageW(sheet, PSM_REMOVEPAGE, 0, 0);
    EXPECT_EQ(TakeLog(), (Log{L"Two:destroy"}));
    EXPECT_EQ(NameOf(Current(sheet)), L"Three");
    EXPECT_EQ(SendMessageW(Tab(sheet), TCM_GETCURSEL, 0, 0), 0);
    // The last page, by handle: no page is left to show.
    SendMessageW(sheet, PSM_REMOVEPAGE, 5, reinterpret_cast<LPARAM>(h3));
    EXPECT_EQ(TakeLog(), (Log{L"Three:destroy"}));
    EXPECT_EQ(Current(sheet), nullptr);
    EXPECT_EQ(comctl::LivePropertySheetPageCount(), 0u);
    // A page added to an empty sheet becomes its active page.
    PROPSHEETPAGEW one = Page(IDD_PS_ONE, L"One");
    SendMessageW(sheet, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(CreatePropertySheetPageW(&one)));
    EXPECT_EQ(NameOf(Current(sheet)), L"One");
    DestroyWindow(sheet);
    EXPECT_EQ(TakeLog(), (Log{L"One:init", L"One:setactive", L"One:destroy"}));
}

TEST_F(PropSheetTest, AWizardStepsThroughItsPagesAndFinishes)
{
    std::vector<PROPSHEETPAGEW> pages = {Page(IDD_PS_ONE, L"One"), Page(IDD_PS_TWO, L"Two"),
        Page(IDD_PS_THREE, L"Three")};
    PROPSHEETHEADERW h = Header(pages, PSH_WIZARD);
    HWND sheet = nullptr;
    bool tabHidden = false, finishShown = false, nextShown = true;
    Log afterNext, afterBack, afterJump;
    user::QueueIdleAction([&] {
        sheet = GetActiveWindow();
        tabHidden = !IsWindowVisible(Tab(sheet));
        TakeLog();
        ClickOn(Item(sheet, IDC_PS_WIZNEXT));
    });
    user::QueueIdleAction([&] {
        afterNext = TakeLog();
        ClickOn(Item(sheet, IDC_PS_WIZBACK));
    });
    user::QueueIdleAction([&] {
        afterBack = TakeLog();
        // One names Three as its next page; Three asks for Finish.
        answers[{L"One", PSN_WIZNEXT}] = IDD_PS_THREE;
        onNotify = [&](HWND, const std::wstring& name, UINT code) {
            if (name == L"Three" && code == PSN_SETACTIVE)
                SendMessageW(sheet, PSM_SETWIZBUTTONS, 0, PSWIZB_BACK | PSWIZB_FINISH);
        };
        // Enter in the page clicks the default button, Next.
        SetFocus(Item(Current(sheet), IDC_PS_EDIT));
        user::InjectKeyPress(VK_RETURN);
    });
    user::QueueIdleAction([&] {
        afterJump = TakeLog();
        finishShown = IsWindowVisible(Item(sheet, IDC_PS_WIZFINISH)) != FALSE;
        nextShown = IsWindowVisible(Item(sheet, IDC_PS_WIZNEXT)) != FALSE;
        user::InjectKeyPress(VK_RETURN); // the focus went to Finish (Three has no tab stop)
    });
    EXPECT_EQ(PropertySheetW(&h), 1);
    EXPECT_TRUE(tabHidden);
    EXPECT_EQ(afterNext, (Log{L"One:wiznext", L"One:killactive", L"Two:init", L"Two:setactive"}));
    EXPECT_EQ(afterBack, (Log{L"Two:wizback", L"One:setactive"})) << "going back validates nothing";
    EXPECT_EQ(afterJump, (Log{L"One:wiznext", L"One:killactive", L"Three:init", L"Three:setactive"}));
    EXPECT_TRUE(finishShown);
    EXPECT_FALSE(nextShown);
    EXPECT_EQ(TakeLog(), (Log{L"Three:wizfinish", L"Three:destroy", L"Two:destroy", L"One:destroy"}));
}

TEST_F(PropSheetTest, AModalSheetOfAChildWindowDisablesItsTopLevelWindowAndEndsDryAsACancel)
{
    const HWND owner = MakeHost(0, 0, 300, 200);
    const HWND child = MakeHost(10, 10, 100, 50, owner, 7);
    std::vector<PROPSHEETPAGEW> pages = {Page(IDD_PS_ONE, L"One")};
    PROPSHEETHEADERW h = Header(pages, 0, child);
    bool ownerDisabled = false;
    HWND ownedBy = nullptr;
    user::QueueIdleAction([&] {
        ownedBy = GetWindow(GetActiveWindow(), GW_OWNER);
        ownerDisabled = !IsWindowEnabled(owner);
    });
    EXPECT_EQ(PropertySheetW(&h), 0);
    EXPECT_EQ(ownedBy, owner);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(TakeLog(), (Log{L"One:init", L"One:setactive", L"One:destroy"})) << "no notifications at the end";
    DestroyWindow(owner);
}

} // namespace
} // namespace zyn::test
