// Dialog data exchange and validation: round trips of every DDX_Text kind, parse and range
// failures (the box, the focus back in the field, nothing saved), check boxes, radio
// groups, combo and list boxes, DLGINIT strings, control attachment and the notification
// lockout.
#include <cfloat>
#include <climits>
#include <cstdint>
#include <functional>

#include "tests/afx/afx_dialog_test_support.h"

namespace zyn::test {
namespace {

// A modeless IDD_VALUES whose exchange is the case's own.
class ValuesDialog : public CDialog {
public:
    ValuesDialog() : CDialog(IDD_VALUES) {}
    std::function<void(CDataExchange*)> exchange;
    int changes = 0; // EN_CHANGE of IDC_TEXT that reached the dialog

    void DoDataExchange(CDataExchange* pDX) override
    {
        if (exchange)
            exchange(pDX);
    }
    afx_msg void OnTextChange() { ++changes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ValuesDialog, CDialog)
    ON_CONTROL(EN_CHANGE, IDC_TEXT, &ValuesDialog::OnTextChange)
END_MESSAGE_MAP()

class DdxTest : public AfxDialogTest {
protected:
    void SetUp() override
    {
        AfxDialogTest::SetUp();
        ASSERT_TRUE(m_dlg.Create(IDD_VALUES)) << GetLastError() << " " << user::LastDialogTemplateError();
        m_dlg.ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        m_dlg.DestroyWindow();
        AfxDialogTest::TearDown();
    }
    HWND Item(int id) const { return ::GetDlgItem(m_dlg.m_hWnd, id); }
    void Type(int id, const wchar_t* text) { ::SetWindowTextW(Item(id), text); }

    ValuesDialog m_dlg;
};

// ---- DDX_Text round trips -------------------------------------------------------------------------------------

template <class T>
struct TextRow {
    const char* name;
    const wchar_t* in;
    T value;            // what the member holds after saving
    const wchar_t* back; // what loading it shows
};

template <class T>
void RoundTrips(DdxTest* t, ValuesDialog& dlg, HWND field, const std::vector<TextRow<T>>& rows,
    const std::function<bool(T, T)>& same = [](T a, T b) { return a == b; })
{
    for (const auto& row : rows) {
        T member{};
        dlg.exchange = [&](CDataExchange* pDX) { DDX_Text(pDX, IDC_NUMBER, member); };
        ::SetWindowTextW(field, row.in);
        EXPECT_TRUE(dlg.UpdateData(TRUE)) << row.name;
        EXPECT_TRUE(same(member, row.value)) << row.name;
        ::SetWindowTextW(field, L"(stale)");
        EXPECT_TRUE(dlg.UpdateData(FALSE)) << row.name;
        EXPECT_EQ(AfxDialogTest::TextOf(field), row.back) << row.name;
    }
    (void)t;
}

TEST_F(DdxTest, IntegerTextRoundTrips)
{
    const HWND field = Item(IDC_NUMBER);
    RoundTrips<int>(this, m_dlg, field,
        {{"blanks around", L" \t42 ", 42, L"42"}, {"plus sign", L"+7", 7, L"7"}, {"minus zero", L"-0", 0, L"0"},
            {"lowest", L"-2147483648", INT_MIN, L"-2147483648"}, {"highest", L"2147483647", INT_MAX, L"2147483647"},
            {"leading zeros", L"007", 7, L"7"}});
    RoundTrips<UINT>(this, m_dlg, field,
        {{"highest", L"4294967295", 4294967295u, L"4294967295"}, {"zero", L"0", 0u, L"0"},
            {"minus zero", L"-0", 0u, L"0"}});
    RoundTrips<short>(this, m_dlg, field,
        {{"lowest", L"-32768", static_cast<short>(-32768), L"-32768"}, {"highest", L"32767", 32767, L"32767"}});
    RoundTrips<BYTE>(this, m_dlg, field, {{"highest", L"255", 255, L"255"}, {"zero", L" 0", 0, L"0"}});
    RoundTrips<LONGLONG>(this, m_dlg, field,
        {{"lowest", L"-9223372036854775808", INT64_MIN, L"-9223372036854775808"}});
    RoundTrips<ULONGLONG>(this, m_dlg, field,
        {{"highest", L"18446744073709551615", UINT64_MAX, L"18446744073709551615"}});
}

TEST_F(DdxTest, RealTextRoundTripsWithTheirSignificantDigits)
{
    const HWND field = Item(IDC_NUMBER);
    // float: 6 significant digits on screen; double: 15.
    RoundTrips<float>(this, m_dlg, field,
        {{"pi", L"3.14159274", 3.14159274f, L"3.14159"}, {"small", L"1e-5", 1e-5f, L"1e-05"},
            {"no leading digit", L" -.5 ", -0.5f, L"-0.5"}, {"trailing point", L"5.", 5.0f, L"5"},
            {"beyond 24 bits", L"16777217", 16777216.0f, L"1.67772e+07"}});
    RoundTrips<double>(this, m_dlg, field,
        {{"a tenth", L"0.1", 0.1, L"0.1"}, {"exponent", L"-2.5E3", -2500.0, L"-2500"},
            {"eighteen digits", L"123456789012345678", 123456789012345678.0, L"1.23456789012346e+17"}});
}

TEST_F(DdxTest, StringTextKeepsBlanksAndCharactersOutsideTheBasicPlane)
{
    CString member;
    m_dlg.exchange = [&](CDataExchange* pDX) { DDX_Text(pDX, IDC_TEXT, member); };
    Type(IDC_TEXT, L"  a\U0001F600b  ");
    ASSERT_TRUE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(std::wstring(member.GetString()), L"  a\U0001F600b  ");
    member = L"loaded";
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ(TextOf(Item(IDC_TEXT)), L"loaded");
}

// ---- failures -------------------------------------------------------------------------------------------------------

TEST_F(DdxTest, UnparsableTextShowsTheBoxReturnsTheFocusAndSavesNothing)
{
    enum Kind { Int, Short, Uint, Byte, Double, Float, ULongLong };
    struct Row {
        const char* name;
        Kind kind;
        const wchar_t* text;
        const wchar_t* box;
    } rows[] = {
        {"letters after digits", Int, L"12abc", L"Please enter an integer."},
        {"empty", Int, L"", L"Please enter an integer."},
        {"a blank inside", Int, L"- 5", L"Please enter an integer."},
        {"hexadecimal", Int, L"0x10", L"Please enter an integer."},
        {"int overflow", Int, L"2147483648", L"Please enter an integer between -2147483648 and 2147483647."},
        {"short overflow", Short, L"40000", L"Please enter an integer between -32768 and 32767."},
        {"negative unsigned", Uint, L"-1", L"Please enter an integer of 0 or more."},
        {"unsigned overflow", Uint, L"4294967296", L"Please enter an integer between 0 and 4294967295."},
        {"byte overflow", Byte, L"256", L"Please enter an integer between 0 and 255."},
        {"negative byte", Byte, L"-3", L"Please enter an integer between 0 and 255."},
        {"64-bit overflow", ULongLong, L"99999999999999999999",
            L"Please enter an integer between 0 and 18446744073709551615."},
        {"two points", Double, L"1.2.3", L"Please enter a number."},
        {"not a number", Double, L"nan", L"Please enter a number."},
        {"infinity", Double, L"inf", L"Please enter a number."},
        {"double overflow", Double, L"1e400", L"Please enter a number."},
        {"exponent without digits", Double, L"1e", L"Please enter a number."},
        {"float overflow", Float, L"1e39", L"Please enter a number."},
    };
    for (const Row& row : rows) {
        user::AnswerScript::Clear();
        user::AnswerScript::Push(user::AnswerKind::MessageBox, IDOK);
        // A field before the failing one was saved, then given back.
        CString before = L"kept";
        int i = -99;
        short s = -99;
        UINT u = 99;
        BYTE b = 99;
        double d = -99;
        float f = -99;
        ULONGLONG ull = 99;
        m_dlg.exchange = [&](CDataExchange* pDX) {
            DDX_Text(pDX, IDC_TEXT, before);
            switch (row.kind) {
            case Int: DDX_Text(pDX, IDC_NUMBER, i); break;
            case Short: DDX_Text(pDX, IDC_NUMBER, s); break;
            case Uint: DDX_Text(pDX, IDC_NUMBER, u); break;
            case Byte: DDX_Text(pDX, IDC_NUMBER, b); break;
            case Double: DDX_Text(pDX, IDC_NUMBER, d); break;
            case Float: DDX_Text(pDX, IDC_NUMBER, f); break;
            case ULongLong: DDX_Text(pDX, IDC_NUMBER, ull); break;
            }
        };
        Type(IDC_TEXT, L"typed");
        Type(IDC_NUMBER, row.text);
        ::SendMessageW(Item(IDC_NUMBER), EM_SETSEL, 7, 7);
        ::SetFocus(Item(IDC_CHECK));
        EXPECT_FALSE(m_dlg.UpdateData(TRUE)) << row.name;
        EXPECT_EQ(BoxTexts(), std::vector<std::wstring>{row.box}) << row.name;
        EXPECT_EQ(::GetFocus(), Item(IDC_NUMBER)) << row.name;
        const int length = static_cast<int>(wcslen(row.text));
        EXPECT_EQ(SelectionOf(Item(IDC_NUMBER)), (std::pair<int, int>{0, length})) << row.name << ": all selected";
        EXPECT_EQ(std::wstring(before.GetString()), L"kept") << row.name << ": the earlier field is given back";
        EXPECT_TRUE(i == -99 && s == -99 && u == 99 && b == 99 && d == -99 && f == -99 && ull == 99) << row.name;
    }
}

TEST_F(DdxTest, RangeChecksNameTheLimitsAndGiveTheValueBack)
{
    struct Row {
        const char* name;
        const wchar_t* text;
        std::function<void(CDataExchange*, double&)> check; // DDX_Text then the DDV_ under test
        const wchar_t* box;                                  // null: passes
        double saved;
    };
    int iv = 0;
    UINT uv = 0;
    BYTE bv = 0;
    short sv = 0;
    LONGLONG llv = 0;
    float fv = 0;
    double dv = 0;
    const std::vector<Row> rows = {
        {"int above", L"11", [&](CDataExchange* p, double& out) { DDX_Text(p, IDC_NUMBER, iv); out = iv; DDV_MinMaxInt(p, iv, 5, 10); },
            L"Please enter an integer between 5 and 10.", 0},
        {"int at the top", L"10", [&](CDataExchange* p, double& out) { DDX_Text(p, IDC_NUMBER, iv); out = iv; DDV_MinMaxInt(p, iv, 5, 10); },
            nullptr, 10},
        {"int below", L"-6", [&](CDataExchange* p, double& out) { DDX_Text(p, IDC_NUMBER, iv); out = iv; DDV_MinMaxLong(p, iv, -5, 5); },
            L"Please enter an integer between -5 and 5.", 0},
        {"unsigned below", L"1", [&](CDataExchange* p, double& out) { DDX_Text(p, IDC_NUMBER, uv); out = uv; DDV_MinMaxUInt(p, uv, 2, 3); },
            L"Please enter an integer between 2 and 3.", 0},
        {"dword at the top", L"4294967295", [&](CDataExchange* p, double& out) { DDX_Text(p, IDC_NUMBER, uv); out = uv; DDV_MinMaxDWord(p, uv, 0, 4294967295u); },
            nullptr, 4294967295.0},
        {"byte", L"200", [&](CDataExchange* p, double& out) { DDX_Text(p, IDC_NUMBER, bv); out = bv; DDV_MinMaxByte(p, bv, 1, 100); },
            L"Please enter an integer between 1 and 100.", 0},
        {"short", L"-300", [&](CDataExchange* p, double& out) { DDX_Text(p, IDC_NUMBER, sv); out = sv; DDV_MinMaxShort(p, sv, -200, 200); },
            L"Please enter an integer between -200 and 200.", 0},
        {"64-bit", L"5000000000", [&](CDataExchange* p, double& out) { DDX_Text(p, IDC_NUMBER, llv); out = static_cast<double>(llv); DDV_MinMaxLongLong(p, llv, 0, 4000000000LL); },
            L"Please enter an integer between 0 and 4000000000.", 0},
        {"double above", L"1.6", [&](CDataExchange* p, double& out) { DDX_Text(p, IDC_NUMBER, dv); out = dv; DDV_MinMaxDouble(p, dv, 0.5, 1.5); },
            L"Please enter a number between 0.5 and 1.5.", 0},
        {"float inside", L"0.25", [&](CDataExchange* p, double& out) { DDX_Text(p, IDC_NUMBER, fv); out = fv; DDV_MinMaxFloat(p, fv, 0.0f, 1.0f); },
            nullptr, 0.25},
    };
    for (const Row& row : rows) {
        user::AnswerScript::Clear();
        if (row.box)
            user::AnswerScript::Push(user::AnswerKind::MessageBox, IDOK);
        iv = 0;
        uv = 0;
        bv = 0;
        sv = 0;
        llv = 0;
        fv = 0;
        dv = 0;
        double seenDuring = -1;
        m_dlg.exchange = [&](CDataExchange* pDX) { row.check(pDX, seenDuring); };
        Type(IDC_NUMBER, row.text);
        ::SetFocus(Item(IDC_TEXT));
        EXPECT_EQ(m_dlg.UpdateData(TRUE), row.box == nullptr) << row.name;
        if (row.box) {
            EXPECT_EQ(BoxTexts(), std::vector<std::wstring>{row.box}) << row.name;
            EXPECT_EQ(::GetFocus(), Item(IDC_NUMBER)) << row.name;
            EXPECT_NE(seenDuring, 0.0) << row.name << ": the check saw the new value";
        } else {
            EXPECT_TRUE(BoxTexts().empty()) << row.name;
        }
        // After a failure every member has its old value (0); after a pass, the new one.
        const double now = iv + uv + bv + sv + static_cast<double>(llv) + fv + dv;
        EXPECT_DOUBLE_EQ(now, row.saved) << row.name;
    }
}

TEST_F(DdxTest, MaxCharsLimitsTheEditOnLoadAndCountsUtf16UnitsOnSave)
{
    CString text = L"abc";
    m_dlg.exchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, IDC_TEXT, text);
        DDV_MaxChars(pDX, text, 4);
    };
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ(LimitOf(Item(IDC_TEXT)), 4);

    // Two characters outside the basic plane are four UTF-16 units: allowed; five are not.
    Type(IDC_TEXT, L"\U0001F600\U0001F601");
    EXPECT_TRUE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(std::wstring(text.GetString()), L"\U0001F600\U0001F601");
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDOK);
    Type(IDC_TEXT, L"\U0001F600\U0001F601x");
    EXPECT_FALSE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(BoxTexts(), std::vector<std::wstring>{L"Please enter no more than 4 characters."});
    EXPECT_EQ(std::wstring(text.GetString()), L"\U0001F600\U0001F601") << "the longer text is not kept";
    EXPECT_EQ(::GetFocus(), Item(IDC_TEXT));
}

TEST_F(DdxTest, AMissingControlIsReportedAndFailsTheExchange)
{
    int value = 3;
    m_dlg.exchange = [&](CDataExchange* pDX) { DDX_Text(pDX, 4242, value); };
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDOK);
    EXPECT_FALSE(m_dlg.UpdateData(TRUE));
    const auto texts = BoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find(L"4242"), std::wstring::npos) << "the box names the control";
    EXPECT_EQ(value, 3);
}

// ---- buttons ---------------------------------------------------------------------------------------------------------

TEST_F(DdxTest, CheckBoxStatesAndOutOfRangeValues)
{
    struct Row {
        int load;
        UINT shown;
    } rows[] = {{0, BST_UNCHECKED}, {1, BST_CHECKED}, {2, BST_INDETERMINATE}, {3, BST_UNCHECKED}, {-1, BST_UNCHECKED}};
    for (const Row& row : rows) {
        int value = row.load;
        m_dlg.exchange = [&](CDataExchange* pDX) { DDX_Check(pDX, IDC_CHECK, value); };
        ASSERT_TRUE(m_dlg.UpdateData(FALSE));
        EXPECT_EQ(m_dlg.IsDlgButtonChecked(IDC_CHECK), row.shown) << "load " << row.load;
        value = 77;
        ASSERT_TRUE(m_dlg.UpdateData(TRUE));
        EXPECT_EQ(value, static_cast<int>(row.shown)) << "load " << row.load;
    }
}

TEST_F(DdxTest, RadioGroupCountsOnlyItsRadioButtons)
{
    const int ids[] = {IDC_RADIO1, IDC_RADIO2, IDC_RADIO3};
    // Index 1 is the second radio button (the label between them does not count); an
    // index past the group checks none.
    for (int load : {0, 1, 2, 3, -1}) {
        int value = load;
        m_dlg.exchange = [&](CDataExchange* pDX) { DDX_Radio(pDX, IDC_RADIO1, value); };
        ASSERT_TRUE(m_dlg.UpdateData(FALSE));
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(m_dlg.IsDlgButtonChecked(ids[k]), k == load ? 1u : 0u) << "load " << load << " button " << k;
        value = 77;
        ASSERT_TRUE(m_dlg.UpdateData(TRUE));
        EXPECT_EQ(value, load >= 0 && load < 3 ? load : -1) << "load " << load;
    }
    EXPECT_EQ(m_dlg.GetCheckedRadioButton(IDC_RADIO1, IDC_RADIO3), 0);
    m_dlg.CheckRadioButton(IDC_RADIO1, IDC_RADIO3, IDC_RADIO3);
    EXPECT_EQ(m_dlg.GetCheckedRadioButton(IDC_RADIO1, IDC_RADIO3), IDC_RADIO3);
}

TEST_F(DdxTest, RadioFromAControlThatStartsNoGroupFails)
{
    int value = 0;
    m_dlg.exchange = [&](CDataExchange* pDX) { DDX_Radio(pDX, IDC_RADIO2, value); };
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDOK);
    EXPECT_FALSE(m_dlg.UpdateData(FALSE));
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_NE(BoxTexts()[0].find(L"WS_GROUP"), std::wstring::npos);
}

// ---- combo and list boxes and DLGINIT -------------------------------------------------------------------------

TEST_F(DdxTest, DlgInitFillsTheListsInBothMessageForms)
{
    EXPECT_EQ(ItemsOf(Item(IDC_COMBO)), (std::vector<std::wstring>{L"Red", L"Green", L"Greenland"}));
    EXPECT_EQ(ItemsOf(Item(IDC_LIST)), (std::vector<std::wstring>{L"Alpha", L"Beta", L"Betamax"}));
    EXPECT_EQ(ItemsOf(Item(IDC_DROPLIST)), (std::vector<std::wstring>{L"Low", L"High"}));
}

TEST_F(DdxTest, DlgInitDataThatDoNotFitAreRefused)
{
    // A record whose length runs past the end, one without the final 0, and one for a
    // control the dialog lacks.
    struct Row {
        const char* name;
        std::vector<uint8_t> bytes;
    } rows[] = {
        {"length past the end", {0xF1, 0x03, 0x03, 0x04, 0x09, 0, 0, 0, 'a', 0, 0, 0}},
        {"no terminator", {0xF1, 0x03, 0x03, 0x04, 0x02, 0, 0, 0, 'a', 0}},
        {"unknown control", {0x99, 0x09, 0x03, 0x04, 0x02, 0, 0, 0, 'a', 0, 0, 0}},
    };
    for (const Row& row : rows) {
        const HGLOBAL h = ::GlobalAlloc(GMEM_FIXED, row.bytes.size());
        std::copy(row.bytes.begin(), row.bytes.end(), static_cast<uint8_t*>(h));
        EXPECT_FALSE(m_dlg.ExecuteDlgInit(static_cast<LPVOID>(h))) << row.name;
        ::GlobalFree(h);
    }
    EXPECT_EQ(ItemsOf(Item(IDC_COMBO)).size(), 3u) << "nothing was added";
    // A dialog whose own DLGINIT names a missing control cannot initialise: Create fails.
    CDialog broken(IDD_BROKEN_INIT);
    EXPECT_FALSE(broken.Create(IDD_BROKEN_INIT)) << "OnInitDialog ended it";
    EXPECT_EQ(GetLastError(), 1223u) << "ERROR_CANCELLED";
    EXPECT_EQ(broken.m_hWnd, nullptr) << "and its window is gone";
}

TEST_F(DdxTest, ComboAndListStringsSelectByPrefixOrWholeItem)
{
    struct Row {
        const char* name;
        bool list;
        bool exact;
        const wchar_t* load;
        int selected;          // the item the load selects (-1: none)
        const wchar_t* saved;  // what a save then reads
    } rows[] = {
        {"combo prefix", false, false, L"gree", 1, L"Green"},
        {"combo exact skips the prefix match", false, true, L"greenland", 2, L"Greenland"},
        {"combo no match keeps the text", false, false, L"Blue", -1, L"Blue"},
        {"combo exact no match keeps the text", false, true, L"Gree", -1, L"Gree"},
        {"combo empty clears", false, false, L"", -1, L""},
        {"list prefix", true, false, L"bet", 1, L"Beta"},
        {"list exact", true, true, L"BETAMAX", 2, L"Betamax"},
        {"list no match", true, false, L"Gamma", -1, L""},
        {"list exact no match", true, true, L"Bet", -1, L""},
        {"list empty", true, false, L"", -1, L""},
    };
    for (const Row& row : rows) {
        const int id = row.list ? IDC_LIST : IDC_COMBO;
        // Start from another selection, so a load that selects nothing must clear it.
        ::SendMessageW(Item(id), row.list ? LB_SETCURSEL : CB_SETCURSEL, 0, 0);
        CString value = row.load;
        m_dlg.exchange = [&](CDataExchange* pDX) {
            if (row.list)
                row.exact ? DDX_LBStringExact(pDX, id, value) : DDX_LBString(pDX, id, value);
            else
                row.exact ? DDX_CBStringExact(pDX, id, value) : DDX_CBString(pDX, id, value);
        };
        ASSERT_TRUE(m_dlg.UpdateData(FALSE)) << row.name;
        EXPECT_EQ(static_cast<int>(::SendMessageW(Item(id), row.list ? LB_GETCURSEL : CB_GETCURSEL, 0, 0)),
            row.selected)
            << row.name;
        value = L"(stale)";
        ASSERT_TRUE(m_dlg.UpdateData(TRUE)) << row.name;
        EXPECT_EQ(std::wstring(value.GetString()), row.saved) << row.name;
    }
}

TEST_F(DdxTest, ADropDownListSavesItsSelectedItem)
{
    CString value = L"hi";
    m_dlg.exchange = [&](CDataExchange* pDX) { DDX_CBString(pDX, IDC_DROPLIST, value); };
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    value.Empty();
    ASSERT_TRUE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(std::wstring(value.GetString()), L"High");
    // A text no item starts with selects nothing, and a drop-down list shows no other text.
    value = L"Medium";
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    ASSERT_TRUE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(std::wstring(value.GetString()), L"");
}

TEST_F(DdxTest, IndexesSelectAndReadTheItems)
{
    int combo = 2, list = 1;
    m_dlg.exchange = [&](CDataExchange* pDX) {
        DDX_CBIndex(pDX, IDC_COMBO, combo);
        DDX_LBIndex(pDX, IDC_LIST, list);
    };
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ(TextOf(Item(IDC_COMBO)), L"Greenland");
    combo = list = -5;
    ASSERT_TRUE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(combo, 2);
    EXPECT_EQ(list, 1);
    // An index past the items selects nothing, which saves as -1.
    combo = 9;
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    ASSERT_TRUE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(combo, -1);
}

// ---- control objects and notifications ------------------------------------------------------------------------

TEST_F(DdxTest, ControlIsAttachedOnceAndARefusalFails)
{
    CButton check;
    CButton other;
    int calls = 0;
    m_dlg.exchange = [&](CDataExchange* pDX) {
        ++calls;
        DDX_Control(pDX, IDC_CHECK, check);
    };
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ(check.m_hWnd, Item(IDC_CHECK));
    EXPECT_EQ(CWnd::FromHandlePermanent(Item(IDC_CHECK)), &check);
    ASSERT_TRUE(m_dlg.UpdateData(TRUE)) << "a second exchange leaves the attached control alone";
    check.SetCheck(BST_CHECKED);
    EXPECT_EQ(m_dlg.IsDlgButtonChecked(IDC_CHECK), 1u) << "the wrapper sends BM_SETCHECK";

    // The same control for a second object: it has one already.
    m_dlg.exchange = [&](CDataExchange* pDX) { DDX_Control(pDX, IDC_CHECK, other); };
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDOK);
    EXPECT_FALSE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ(other.m_hWnd, nullptr);
    EXPECT_EQ(calls, 2);
    check.UnsubclassWindow();
}

TEST_F(DdxTest, ControlNotificationsWaitForTheExchangeToEnd)
{
    CString text = L"from the member";
    m_dlg.exchange = [&](CDataExchange* pDX) { DDX_Text(pDX, IDC_TEXT, text); };
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ(m_dlg.changes, 0) << "EN_CHANGE of the loaded text is not dispatched";
    Type(IDC_TEXT, L"by hand");
    EXPECT_EQ(m_dlg.changes, 1);
    // Loading the text the field shows already changes nothing, and sends nothing.
    text = L"by hand";
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ(m_dlg.changes, 1);
}

TEST(AfxFormatStrings, InsertsAreReplacedAndOthersKept)
{
    const LPCTSTR args[] = {L"one", L"two"};
    struct Row {
        const wchar_t* format;
        const wchar_t* expected;
    } rows[] = {
        {L"%1 and %2", L"one and two"},
        {L"%2%1%2", L"twoonetwo"},
        {L"%3 stays, 100% too, %", L"%3 stays, 100% too, %"},
        {L"", L""},
    };
    for (const Row& row : rows) {
        CString out;
        AfxFormatStrings(out, row.format, args, 2);
        EXPECT_EQ(std::wstring(out.GetString()), row.expected);
    }
}

} // namespace
} // namespace zyn::test
