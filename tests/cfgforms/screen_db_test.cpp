// The whole configuration screen on SQLite, as an operator uses it: logged in, the door
// view opened through the application's registry, buttons clicked and fields typed into.
// Each Add, Modify and Delete ends in a TEST_DOOR change, an audit row and the main
// window's 2027 then 2045; Cancel, Clear, a refused field and the close question change
// nothing stored. Buttons follow the operator's permissions and the form state through
// the idle pass.
#include <cstring>

#include "platform/afx/afxres.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/base/exception.h"
#include "platform/suite/database/schema_loader.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "resources/resource.h"
#include "tests/cfgforms/cfgforms_support.h"
#include "tests/support/odbc_fixture.h"

namespace zyn::test {
namespace {

constexpr int kAdd = IDC_ZYN_CFG_ADD, kModify = IDC_ZYN_CFG_MODIFY, kDelete = IDC_ZYN_CFG_DELETE,
              kClear = IDC_ZYN_CFG_CLEAR;
const std::vector<LONG> kAll{kPermDoorView, kPermDoorAdd, kPermDoorModify, kPermDoorDelete};

// A stored door as the test reads it back.
struct Row {
    int64_t id, number, enabled, alarm, kind;
    std::wstring name;
    bool operator==(const Row&) const = default;
};

// An audit row.
struct Audit {
    int64_t user, operation, objectType, param1;
    std::wstring text;
    bool operator==(const Audit&) const = default;
};

class ScreenTest : public CfgFormsTest {
public:
    void SetUp() override
    {
        CfgFormsTest::SetUp();
        if (HasFatalFailure())
            return;
        if (!OdbcSetup::Instance().HaveSqlite())
            GTEST_SKIP() << "no SQLite ODBC driver";
        try {
            OdbcSetup::Instance().ResetDatabase(DbEngineKind::sqlite);
            m_db.OpenEx(OdbcSetup::Instance().ConnectString(DbEngineKind::sqlite).c_str(), CDatabase::noOdbcDialog);
            db::LoadSchema(m_db);
            m_db.ExecuteSQL(L"CREATE TABLE TEST_DOOR (ID INTEGER PRIMARY KEY, NAME VARCHAR(40) NOT NULL, "
                            L"NUMBER INTEGER, ENABLED INTEGER, ALARM INTEGER, KIND INTEGER, SEGMENTID INTEGER)");
        } catch (CException* e) {
            const std::string text = DescribeDbException(e);
            e->Delete();
            FAIL() << "cannot prepare the database: " << text;
        }
    }
    void TearDown() override
    {
        CfgFormsTest::TearDown();
        if (m_db.IsOpen())
            m_db.Close();
    }

    DoorPage* Doors() const { return static_cast<DoorPage*>(m_view->GetSheet()->GetPageByID(kDoorPageID)); }
    HWND Field(int id) const { return ::GetDlgItem(Doors()->m_form.m_hWnd, id); }
    void ClickButton(int id)
    {
        Click(Item(id));
        Idle();
    }
    // The field's whole text replaced by typing.
    void Retype(int id, const std::wstring& text)
    {
        ::SetFocus(Field(id));
        ::SendMessageW(Field(id), EM_SETSEL, 0, -1);
        Type(text);
    }
    std::vector<Row> Stored()
    {
        std::vector<Row> rows;
        int64_t count = 0;
        EXPECT_TRUE(m_db.QueryInt64(L"SELECT COUNT(*) FROM TEST_DOOR", {}, count));
        for (int64_t i = 0; i < count; ++i) {
            Row r{};
            const std::array<afx::DbValue, 1> at{afx::DbValue(i)};
            auto col = [&](const wchar_t* c) {
                int64_t v = -1;
                CString sql;
                sql.Format(L"SELECT %s FROM TEST_DOOR ORDER BY ID LIMIT 1 OFFSET ?", c);
                EXPECT_TRUE(m_db.QueryInt64(sql.GetString(), at, v));
                return v;
            };
            r.id = col(L"ID");
            r.number = col(L"NUMBER");
            r.enabled = col(L"ENABLED");
            r.alarm = col(L"ALARM");
            r.kind = col(L"KIND");
            afx::DbValue name;
            EXPECT_TRUE(m_db.QueryValue(L"SELECT NAME FROM TEST_DOOR ORDER BY ID LIMIT 1 OFFSET ?", at, name));
            r.name = std::get<CString>(name).GetString();
            rows.push_back(r);
        }
        return rows;
    }
    std::vector<Audit> Audits()
    {
        std::vector<Audit> rows;
        int64_t count = 0;
        EXPECT_TRUE(m_db.QueryInt64(L"SELECT COUNT(*) FROM USER_TRANSACTION", {}, count));
        for (int64_t i = 0; i < count; ++i) {
            Audit a{};
            const std::array<afx::DbValue, 1> at{afx::DbValue(i)};
            auto col = [&](const wchar_t* c) {
                int64_t v = -1;
                CString sql;
                sql.Format(L"SELECT %s FROM USER_TRANSACTION ORDER BY ID LIMIT 1 OFFSET ?", c);
                EXPECT_TRUE(m_db.QueryInt64(sql.GetString(), at, v));
                return v;
            };
            a.user = col(L"USERID");
            a.operation = col(L"OPERATION");
            a.objectType = col(L"OBJECT_TYPE");
            a.param1 = col(L"PARAM1");
            afx::DbValue text;
            EXPECT_TRUE(m_db.QueryValue(L"SELECT TRANS_TEXT FROM USER_TRANSACTION ORDER BY ID LIMIT 1 OFFSET ?", at, text));
            a.text = std::get<CString>(text).GetString();
            rows.push_back(a);
        }
        return rows;
    }
    // The messages the main window got since the last call: (message, object ID, action).
    std::vector<std::tuple<UINT, LONG, LONG>> Announced()
    {
        std::vector<std::tuple<UINT, LONG, LONG>> out;
        for (const MainMessage& m : m_main->received) {
            EXPECT_EQ(m.wParam, static_cast<WPARAM>(kTypeDoor));
            EXPECT_EQ(m.type, kTypeDoor);
            out.emplace_back(m.message, m.id, m.value);
        }
        m_main->received.clear();
        return out;
    }

    CZynDatabase m_db;
};

TEST_F(ScreenTest, AddModifyAndDeleteFromTheButtonsToTheAuditRows)
{
    ASSERT_NE(OpenDoorView(kAll, &m_db), nullptr);
    EXPECT_TRUE(Enabled(kAdd));
    EXPECT_FALSE(Enabled(kModify)) << "no door to change yet";

    // Add: the operator lands in the name, types, tabs through the number, checks Enabled
    // with Space, skips Alarm and picks the second kind with the arrow key.
    ClickButton(kAdd);
    EXPECT_EQ(m_view->GetState(), AcCfgStateAdd);
    EXPECT_TRUE(m_view->GetDocument()->IsModified());
    ASSERT_EQ(::GetFocus(), Field(IDC_DOOR_NAME));
    Type(L"Front door");
    Press(VK_TAB);
    ASSERT_EQ(::GetFocus(), Field(IDC_DOOR_NUMBER));
    Type(L"12"); // the tab selected the old text
    Press(VK_TAB);
    Press(VK_SPACE);
    Press(VK_TAB);
    Press(VK_TAB);
    ASSERT_EQ(::GetFocus(), Field(IDC_DOOR_KIND));
    Press(VK_DOWN);
    ClickButton(IDOK);
    EXPECT_EQ(m_view->GetState(), AcCfgStateView);
    EXPECT_FALSE(m_view->GetDocument()->IsModified());
    EXPECT_EQ(Stored(), (std::vector<Row>{{1, 12, 1, 0, 1, L"Front door"}}));
    EXPECT_EQ(Audits(), (std::vector<Audit>{{42, 1, kDoorObjectType, 1, L"Front door(1)"}}));
    EXPECT_EQ(Announced(), (std::vector<std::tuple<UINT, LONG, LONG>>{{2027, 1, 1}, {2045, 1, 1}}));
    EXPECT_EQ(TextOf(Item(IDC_ZYN_CFG_STATUS)), L"1 of 1 selected");
    EXPECT_TRUE(Enabled(kModify));

    // Modify the name.
    ClickButton(kModify);
    Retype(IDC_DOOR_NAME, L"Main door");
    ClickButton(IDOK);
    EXPECT_EQ(Stored(), (std::vector<Row>{{1, 12, 1, 0, 1, L"Main door"}}));
    EXPECT_EQ(Audits().back(), (Audit{42, 2, kDoorObjectType, 1, L"Main door(1)"}));
    EXPECT_EQ(Announced(), (std::vector<std::tuple<UINT, LONG, LONG>>{{2027, 1, 2}, {2045, 1, 2}}));

    // Cancel and Clear store nothing and show the stored door again.
    ClickButton(kModify);
    Retype(IDC_DOOR_NAME, L"Junk");
    ClickButton(kClear);
    EXPECT_EQ(TextOf(Field(IDC_DOOR_NAME)), L"");
    EXPECT_EQ(TextOf(Field(IDC_DOOR_NUMBER)), L"1");
    ClickButton(IDCANCEL);
    EXPECT_EQ(m_view->GetState(), AcCfgStateView);
    EXPECT_EQ(TextOf(Field(IDC_DOOR_NAME)), L"Main door");
    EXPECT_EQ(::SendMessageW(Field(IDC_DOOR_ENABLED), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(::IsWindowEnabled(Field(IDC_DOOR_NAME)));
    EXPECT_EQ(Stored(), (std::vector<Row>{{1, 12, 1, 0, 1, L"Main door"}}));
    EXPECT_EQ(Audits().size(), 2u);
    EXPECT_TRUE(Announced().empty());

    // Delete: the focus goes to OK, Enter confirms.
    ClickButton(kDelete);
    EXPECT_EQ(m_view->GetState(), AcCfgStateDelete);
    EXPECT_EQ(::GetFocus(), Item(IDOK));
    Press(VK_RETURN);
    Idle();
    EXPECT_EQ(m_view->GetState(), AcCfgStateView);
    EXPECT_TRUE(Stored().empty());
    EXPECT_EQ(Audits().back(), (Audit{42, 3, kDoorObjectType, 1, L"Main door(1)"}));
    EXPECT_EQ(Announced(), (std::vector<std::tuple<UINT, LONG, LONG>>{{2027, 1, 3}, {2045, 1, 3}}));
    EXPECT_FALSE(Enabled(kModify));
    EXPECT_FALSE(Enabled(kDelete));
}

TEST_F(ScreenTest, RefusedFieldsAndDuplicateNamesSaveNothing)
{
    ASSERT_NE(OpenDoorView(kAll, &m_db), nullptr);
    struct Case {
        const char* name;
        std::wstring doorName, number;
        int focusField;
        const wchar_t* box;
    };
    const Case cases[] = {
        {"number below the range", L"Gate", L"0", IDC_DOOR_NUMBER, L"Please enter an integer between 1 and 9999."},
        {"number above the range", L"Gate", L"10000", IDC_DOOR_NUMBER, L"Please enter an integer between 1 and 9999."},
        {"number not a number", L"Gate", L"12x", IDC_DOOR_NUMBER, L"Please enter an integer."},
        {"name too long (set through the window)", L"", L"5", IDC_DOOR_NAME, L"Please enter no more than 20 characters."},
    };
    ClickButton(kAdd);
    // The name's limit keeps typing to 20 characters; longer text can only come otherwise.
    Retype(IDC_DOOR_NAME, std::wstring(25, L'n'));
    EXPECT_EQ(TextOf(Field(IDC_DOOR_NAME)).size(), 20u);
    for (const Case& c : cases) {
        Retype(IDC_DOOR_NAME, c.doorName);
        Retype(IDC_DOOR_NUMBER, c.number);
        if (c.doorName.empty())
            ::SetWindowTextW(Field(IDC_DOOR_NAME), std::wstring(21, L'n').c_str());
        user::AnswerScript::Clear();
        user::AnswerScript::Push(user::AnswerKind::MessageBox, IDOK);
        ClickButton(IDOK);
        const auto shown = user::AnswerScript::Shown();
        ASSERT_EQ(shown.size(), 1u) << c.name;
        EXPECT_EQ(shown[0].text, c.box) << c.name;
        EXPECT_EQ(m_view->GetState(), AcCfgStateAdd) << c.name;
        EXPECT_EQ(::GetFocus(), Field(c.focusField)) << c.name << ": the focus back in the field";
        DWORD start = 1, end = 0;
        ::SendMessageW(Field(c.focusField), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u) << c.name << ": its text selected";
        EXPECT_EQ(end, static_cast<DWORD>(TextOf(Field(c.focusField)).size())) << c.name;
        EXPECT_TRUE(Stored().empty()) << c.name;
        EXPECT_TRUE(Audits().empty()) << c.name;
        EXPECT_TRUE(Announced().empty()) << c.name;
    }
    // Put right, it goes in; the same name a second time is refused with the page's box.
    Retype(IDC_DOOR_NAME, L"Gate");
    Retype(IDC_DOOR_NUMBER, L"5");
    ClickButton(IDOK);
    ASSERT_EQ(Stored().size(), 1u);
    Announced();
    ClickButton(kAdd);
    Retype(IDC_DOOR_NAME, L"GATE ");
    user::AnswerScript::Clear();
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDOK);
    ClickButton(IDOK);
    ASSERT_EQ(user::AnswerScript::Shown().size(), 1u);
    EXPECT_EQ(user::AnswerScript::Shown()[0].text, L"The name \"GATE \" is already in use. Choose another name.");
    EXPECT_EQ(m_view->GetState(), AcCfgStateAdd);
    EXPECT_EQ(Stored().size(), 1u);
    EXPECT_EQ(Audits().size(), 1u);
    EXPECT_TRUE(Announced().empty());
}

TEST_F(ScreenTest, TheCloseQuestionKeepsOrDiscardsTheEditAsAnswered)
{
    DoorPage::Preset() = {Door{1, L"Front", 10}};
    ASSERT_NE(OpenDoorView(kAll, &m_db), nullptr);
    ClickButton(kModify);
    Retype(IDC_DOOR_NAME, L"Half typed");
    const HWND frame = m_frame->m_hWnd;
    // Closing the frame: No keeps everything as it was, typed text included.
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDNO);
    ::SendMessageW(frame, WM_CLOSE, 0, 0);
    Pump();
    ASSERT_TRUE(::IsWindow(frame));
    EXPECT_EQ(m_view->GetState(), AcCfgStateModify);
    EXPECT_EQ(TextOf(Field(IDC_DOOR_NAME)), L"Half typed");
    // Closing every document (the application's exit) asks the same and, refused, keeps it.
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDNO);
    EXPECT_FALSE(m_app->SaveAllModified());
    EXPECT_TRUE(::IsWindow(frame));
    EXPECT_EQ(user::AnswerScript::Shown().size(), 2u);
    // Yes: the edit is cancelled, nothing stored, and the frame goes.
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDYES);
    ::SendMessageW(frame, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_EQ(user::AnswerScript::Shown().size(), 3u) << "asked once per close";
    EXPECT_TRUE(Stored().empty());
    EXPECT_TRUE(Audits().empty());
    EXPECT_TRUE(Announced().empty());
    m_view = nullptr;
    // Reopened through the registry: viewing again.
    m_frame = m_app->OpenView(kTypeDoor);
    ASSERT_NE(m_frame, nullptr);
    m_view = DYNAMIC_DOWNCAST(HostView, m_frame->GetActiveView());
    EXPECT_EQ(m_view->GetState(), AcCfgStateView);
}

TEST_F(ScreenTest, ButtonsFollowPermissionsAndStateAtIdle)
{
    struct Case {
        const char* name;
        std::vector<LONG> permissions;
        bool doors;
        std::array<bool, 3> enabled; // Add, Modify, Delete
    };
    const Case cases[] = {
        {"view only", {kPermDoorView}, true, {false, false, false}},
        {"add", {kPermDoorView, kPermDoorAdd}, true, {true, false, false}},
        {"modify and delete", {kPermDoorView, kPermDoorModify, kPermDoorDelete}, true, {false, true, true}},
        {"all", kAll, true, {true, true, true}},
        {"all, nothing selected", kAll, false, {true, false, false}},
    };
    for (const Case& c : cases) {
        DoorPage::Preset().clear();
        if (c.doors)
            DoorPage::Preset() = {Door{1, L"Front", 10}};
        ASSERT_NE(OpenDoorView(c.permissions, &m_db), nullptr) << c.name;
        const std::array<bool, 3> got{Enabled(kAdd), Enabled(kModify), Enabled(kDelete)};
        EXPECT_EQ(got, c.enabled) << c.name;
        if (c.enabled[0]) {
            ClickButton(kAdd);
            EXPECT_FALSE(Shown(kAdd) || Shown(kModify) || Shown(kDelete)) << c.name;
            EXPECT_FALSE(Enabled(kAdd) || Enabled(kModify) || Enabled(kDelete)) << c.name << ": the idle pass";
            EXPECT_TRUE(Shown(IDOK) && Enabled(IDOK) && Enabled(kClear)) << c.name;
            ClickButton(IDCANCEL);
        }
        m_frame->SendMessage(WM_CLOSE);
        Pump();
        m_app->LogoutOperator();
    }
    m_view = nullptr;
}

TEST_F(ScreenTest, DuplicateChecksBySegmentAndAFailedCheckCountsAsTaken)
{
    m_db.ExecuteSQL(L"INSERT INTO TEST_DOOR (ID, NAME, SEGMENTID) VALUES (1, 'North gate', 5)");
    ASSERT_NE(OpenDoorView(kAll, &m_db), nullptr);
    DoorPage* page = Doors();
    struct Case {
        const wchar_t* name;
        LONG segment;
        bool exists;
    };
    const Case cases[] = {{L"North gate", 5, true}, {L"north gate  ", 5, true}, {L"North gate", 6, false},
        {L"North gate", -9999, true}, {L"South gate", -9999, false}};
    for (const Case& c : cases)
        EXPECT_EQ(page->NameExists(c.name, L"TEST_DOOR", L"NAME", c.segment, FALSE), c.exists)
            << CStringA(c.name).GetString() << " in " << c.segment;
    EXPECT_TRUE(user::AnswerScript::Shown().empty()) << "no message asked for";
    // The check cannot run (no such table): reported (11228) and counted as taken.
    EXPECT_TRUE(page->NameExists(L"x", L"NO_SUCH_TABLE", L"NAME", -9999, TRUE));
    const auto shown = user::AnswerScript::Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.rfind(L"The name could not be checked against the database.", 0), 0u);
}

} // namespace
} // namespace zyn::test
