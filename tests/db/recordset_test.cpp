// CRecordset over SQLite and PostgreSQL: inserts of dirty fields only, searched updates
// and deletes by key, bound filter parameters, NULLs, text and time round trips, 64-bit
// values, cursor movement and the errors of misuse.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "platform/base/afxcoll.h"
#include "tests/db/db_test_util.h"
#include "tests/db/test_sets.h"

using namespace zyn::test;
using zyn::afx::DbValue;

namespace {

class RecordsetTest : public OdbcTest {
protected:
    void SetUp() override
    {
        OdbcTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        Exec(kCreateItems);
    }

    void Insert(int id, const wchar_t* name, int64_t amount)
    {
        std::vector<DbValue> p{int32_t{id}, CString(name), amount};
        ZYN_DB_OK(Db().ExecuteSQL(L"INSERT INTO ITEMS (ID, NAME, AMOUNT) VALUES (?, ?, ?)", p));
    }

    int64_t Int(const wchar_t* sql)
    {
        int64_t v = std::numeric_limits<int64_t>::min();
        Db().QueryInt64(sql, {}, v);
        return v;
    }

    CString Text(const wchar_t* sql)
    {
        DbValue v;
        Db().QueryValue(sql, {}, v);
        return std::holds_alternative<CString>(v) ? std::get<CString>(v) : CString(L"<not text>");
    }
};

TEST_P(RecordsetTest, AddNewInsertsOnlyDirtyFieldsSoDefaultsHold)
{
    ItemSet rs(&Db());
    ZYN_DB_OK(rs.Open());
    EXPECT_TRUE(rs.IsBOF());
    EXPECT_TRUE(rs.IsEOF());
    ASSERT_TRUE(rs.CanAppend());

    rs.AddNew();
    EXPECT_TRUE(rs.IsFieldNull(&rs.m_NAME)) << "AddNew starts with every field NULL";
    rs.m_ID = 1;
    rs.m_NAME = L"first";
    EXPECT_FALSE(rs.IsFieldNull(&rs.m_NAME));
    EXPECT_TRUE(rs.IsFieldDirty(&rs.m_NAME));
    EXPECT_FALSE(rs.IsFieldDirty(&rs.m_STATUS));
    BOOL ok = FALSE;
    ZYN_DB_OK(ok = rs.Update());
    EXPECT_TRUE(ok);
    EXPECT_EQ(rs.m_NAME, CString(L"first")) << "members keep what was written";
    EXPECT_EQ(Int(L"SELECT STATUS FROM ITEMS WHERE ID = 1"), 7) << "STATUS kept its DEFAULT";
    EXPECT_EQ(Int(L"SELECT COUNT(*) FROM ITEMS WHERE ID = 1 AND NOTE IS NULL AND AMOUNT IS NULL"), 1);

    // The same values again: AddNew reset the members, so they count as set.
    rs.AddNew();
    rs.m_ID = 2;
    rs.m_NAME = L"first";
    rs.m_STATUS = 0;
    ZYN_DB_OK(rs.Update());
    EXPECT_EQ(Text(L"SELECT NAME FROM ITEMS WHERE ID = 2"), CString(L"first"));
    EXPECT_EQ(Int(L"SELECT STATUS FROM ITEMS WHERE ID = 2"), 0);

    // An explicit NULL overrides the default.
    rs.AddNew();
    rs.m_ID = 3;
    rs.SetFieldNull(&rs.m_STATUS);
    ZYN_DB_OK(rs.Update());
    EXPECT_EQ(Int(L"SELECT COUNT(*) FROM ITEMS WHERE ID = 3 AND STATUS IS NULL"), 1);

    // SetFieldDirty writes a value equal to the pseudo-NULL one.
    rs.AddNew();
    rs.m_ID = 4;
    rs.m_NAME = L"";
    rs.SetFieldDirty(&rs.m_NAME);
    rs.SetFieldNull(&rs.m_NAME, FALSE);
    ZYN_DB_OK(rs.Update());
    EXPECT_EQ(Int(L"SELECT COUNT(*) FROM ITEMS WHERE ID = 4 AND NAME = ''"), 1);

    // Nothing set: nothing inserted.
    rs.AddNew();
    ZYN_DB_OK(ok = rs.Update());
    EXPECT_FALSE(ok);
    EXPECT_EQ(Int(L"SELECT COUNT(*) FROM ITEMS"), 4);

    // A failed insert raises and leaves the set in AddNew to retry or cancel.
    rs.AddNew();
    rs.m_ID = 1;
    auto dup = CatchDb([&] { rs.Update(); });
    EXPECT_TRUE(dup.thrown);
    EXPECT_EQ(rs.GetEditMode(), CRecordset::addnew);
    rs.CancelUpdate();
    EXPECT_EQ(rs.GetEditMode(), CRecordset::noMode);
}

TEST_P(RecordsetTest, EditWritesOnlyChangedFieldsByKey)
{
    Insert(1, L"a", 10);
    Insert(2, L"b", 20);
    ItemSet rs(&Db());
    rs.m_strFilter = L"ID = 2";
    ZYN_DB_OK(rs.Open(CRecordset::snapshot));
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.m_NAME, CString(L"b"));
    rs.Edit();
    rs.m_NAME = L"B2";
    // Another writer changes a column the set does not touch.
    Exec(L"UPDATE ITEMS SET AMOUNT = 99 WHERE ID = 2");
    ZYN_DB_OK(rs.Update());
    EXPECT_EQ(Text(L"SELECT NAME FROM ITEMS WHERE ID = 2"), CString(L"B2"));
    EXPECT_EQ(Int(L"SELECT AMOUNT FROM ITEMS WHERE ID = 2"), 99) << "only dirty fields are written";
    EXPECT_EQ(Text(L"SELECT NAME FROM ITEMS WHERE ID = 1"), CString(L"a"));

    // NULL through Edit, and a changed key followed by Delete on the new key.
    rs.Edit();
    rs.SetFieldNull(&rs.m_NAME);
    rs.m_ID = 20;
    ZYN_DB_OK(rs.Update());
    EXPECT_EQ(Int(L"SELECT COUNT(*) FROM ITEMS WHERE ID = 20 AND NAME IS NULL"), 1);
    ZYN_DB_OK(rs.Delete());
    EXPECT_TRUE(rs.IsDeleted());
    EXPECT_EQ(Int(L"SELECT COUNT(*) FROM ITEMS"), 1);

    // Edit with no change writes nothing.
    rs.Requery();
    EXPECT_TRUE(rs.IsEOF());
    rs.m_strFilter.Empty();
    rs.Requery();
    ASSERT_FALSE(rs.IsEOF());
    rs.Edit();
    BOOL ok = TRUE;
    ZYN_DB_OK(ok = rs.Update());
    EXPECT_FALSE(ok);
}

TEST_P(RecordsetTest, CancelUpdateRestoresTheCurrentRow)
{
    Insert(1, L"kept", 10);
    ItemSet rs(&Db());
    ZYN_DB_OK(rs.Open());
    ASSERT_FALSE(rs.IsEOF());
    rs.Edit();
    rs.m_NAME = L"changed";
    rs.SetFieldNull(&rs.m_AMOUNT);
    rs.CancelUpdate();
    EXPECT_EQ(rs.m_NAME, CString(L"kept"));
    EXPECT_EQ(rs.m_AMOUNT, 10);
    EXPECT_FALSE(rs.IsFieldNull(&rs.m_AMOUNT));
    EXPECT_FALSE(rs.IsFieldDirty(nullptr));

    rs.AddNew();
    rs.m_ID = 2;
    rs.m_NAME = L"new";
    rs.MoveFirst(); // a move leaves AddNew without writing
    EXPECT_EQ(rs.GetEditMode(), CRecordset::noMode);
    EXPECT_EQ(rs.m_ID, 1);
    EXPECT_EQ(rs.m_NAME, CString(L"kept"));
    EXPECT_TRUE(rs.IsFieldNull(&rs.m_CREATED));
    EXPECT_EQ(Int(L"SELECT COUNT(*) FROM ITEMS"), 1);
}

TEST_P(RecordsetTest, DeleteIsSearchedByKeyWhileStreaming)
{
    for (int i = 1; i <= 10; ++i)
        Insert(i, L"x", i);
    ItemSet rs(&Db());
    rs.m_strSort = L"ID";
    ZYN_DB_OK(rs.Open(CRecordset::forwardOnly));
    int seen = 0;
    while (!rs.IsEOF()) {
        ++seen;
        if (rs.m_ID % 2 == 0)
            ZYN_DB_OK(rs.Delete());
        rs.MoveNext();
    }
    EXPECT_EQ(seen, 10);
    EXPECT_EQ(rs.GetRecordCount(), 10);
    EXPECT_EQ(Int(L"SELECT COUNT(*) FROM ITEMS"), 5);
    EXPECT_EQ(Int(L"SELECT COUNT(*) FROM ITEMS WHERE MOD(ID, 2) = 0"), 0);
    auto past = CatchDb([&] { rs.MoveNext(); });
    EXPECT_EQ(past.code, AFX_SQL_ERROR_NO_CURRENT_RECORD);

    // A row someone else deleted: the delete changes nothing and says so.
    ZYN_DB_OK(rs.Requery());
    ASSERT_FALSE(rs.IsEOF());
    Exec(L"DELETE FROM ITEMS WHERE ID = 1");
    auto gone = CatchDb([&] { rs.Delete(); });
    EXPECT_EQ(gone.code, AFX_SQL_ERROR_NO_ROWS_AFFECTED);
}

TEST_P(RecordsetTest, UpdateAndDeleteNeedKeyColumns)
{
    Insert(1, L"a", 1);
    struct NoKeySet : ItemSet {
        using ItemSet::ItemSet;
        CString GetKeyColumns() override { return CString(); }
    } nokey(&Db());
    ZYN_DB_OK(nokey.Open());
    auto del = CatchDb([&] { nokey.Delete(); });
    EXPECT_EQ(del.code, AFX_SQL_ERROR_NO_KEY_COLUMNS);
    nokey.Edit();
    nokey.m_NAME = L"z";
    auto upd = CatchDb([&] { nokey.Update(); });
    EXPECT_EQ(upd.code, AFX_SQL_ERROR_NO_KEY_COLUMNS);
    EXPECT_EQ(Text(L"SELECT NAME FROM ITEMS"), CString(L"a"));

    struct BadKeySet : ItemSet {
        using ItemSet::ItemSet;
        CString GetKeyColumns() override { return L"ID, NOT_BOUND"; }
    } badkey(&Db());
    ZYN_DB_OK(badkey.Open());
    auto bad = CatchDb([&] { badkey.Delete(); });
    EXPECT_EQ(bad.code, AFX_SQL_ERROR_NO_KEY_COLUMNS);
    EXPECT_NE(bad.message.find("NOT_BOUND"), std::string::npos);
    EXPECT_EQ(Int(L"SELECT COUNT(*) FROM ITEMS"), 1);
}

TEST_P(RecordsetTest, FiltersBindParameters)
{
    Insert(1, L"it's", 5);
    Insert(2, L"it's", 50);
    Insert(3, L"other", 500);
    Insert(4, L"it's", 5000);
    ItemSet rs(&Db());
    rs.UseParams(true);
    rs.m_minAmount = 10;
    rs.m_nameParam = L"it's";
    rs.m_strFilter = L"AMOUNT > ? AND NAME = ?";
    rs.m_strSort = L"[ID] DESC";
    ZYN_DB_OK(rs.Open());
    std::vector<LONG> ids;
    while (!rs.IsEOF()) {
        ids.push_back(rs.m_ID);
        rs.MoveNext();
    }
    EXPECT_EQ(ids, (std::vector<LONG>{4, 2}));
    EXPECT_NE(rs.GetSQL().Find(L"?"), -1) << "values are bound, not spliced";
    EXPECT_EQ(rs.GetSQL().Find(L"it's"), -1);

    // New parameter values take effect on Requery; a NULL parameter matches nothing.
    rs.m_minAmount = 1000;
    ZYN_DB_OK(rs.Requery());
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.m_ID, 4);
    rs.SetParamNull(1);
    ZYN_DB_OK(rs.Requery());
    EXPECT_TRUE(rs.IsEOF());

    // A parameter count that does not match m_nParams is refused.
    ItemSet wrong(&Db());
    wrong.UseParams(true);
    wrong.m_nParams = 3;
    wrong.m_strFilter = L"AMOUNT > ? AND NAME = ?";
    auto f = CatchDb([&] { wrong.Open(); });
    EXPECT_EQ(f.code, AFX_SQL_ERROR_FIELD_SCHEMA_MISMATCH);
    EXPECT_FALSE(wrong.IsOpen());
}

TEST_P(RecordsetTest, FullSelectGetsFilterInParentheses)
{
    Insert(1, L"a", 1);
    Insert(2, L"b", 2);
    Insert(3, L"b", 3);
    ItemSet rs(&Db());
    rs.m_strFilter = L"NAME = 'b'";
    rs.m_strSort = L"ID DESC";
    ZYN_DB_OK(rs.Open(AFX_DB_USE_DEFAULT_TYPE,
        L"SELECT ID, NAME, NOTE, AMOUNT, PRICE, STATUS, CREATED FROM ITEMS WHERE ID = 1 OR ID = 2"));
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.m_ID, 2);
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF()) << zyn::base::ToUtf8(rs.GetSQL().GetString());
    EXPECT_EQ(rs.GetTableName(), CString(L"ITEMS"));
}

TEST_P(RecordsetTest, NullsReadAsNullWithNeutralMembers)
{
    Exec(L"INSERT INTO ITEMS (ID) VALUES (1)");
    ItemSet rs(&Db());
    rs.m_NAME = L"stale";
    rs.m_AMOUNT = 77;
    ZYN_DB_OK(rs.Open());
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_FALSE(rs.IsFieldNull(&rs.m_ID));
    EXPECT_TRUE(rs.IsFieldNull(&rs.m_NAME));
    EXPECT_TRUE(rs.IsFieldNull(&rs.m_AMOUNT));
    EXPECT_TRUE(rs.IsFieldNull(&rs.m_CREATED));
    EXPECT_FALSE(rs.IsFieldNull(&rs.m_STATUS)) << "the default 7";
    EXPECT_EQ(rs.m_NAME, CString());
    EXPECT_EQ(rs.m_AMOUNT, 0);
    EXPECT_FALSE(rs.IsFieldNull(nullptr));
    EXPECT_TRUE(rs.IsFieldNullable(&rs.m_NAME));
    int notBound = 0;
    auto f = CatchDb([&] { rs.IsFieldNull(&notBound); });
    EXPECT_EQ(f.code, AFX_SQL_ERROR_FIELD_NOT_FOUND);

    CDBVariant v;
    rs.GetFieldValue(L"name", v);
    EXPECT_EQ(v.m_dwType, DBVT_NULL);
    rs.GetFieldValue(L"STATUS", v);
    ASSERT_EQ(v.m_dwType, DBVT_LONG);
    EXPECT_EQ(v.m_lVal, 7);
    CString s;
    rs.GetFieldValue(short{0}, s);
    EXPECT_EQ(s, CString(L"1"));
    CODBCFieldInfo info;
    rs.GetODBCFieldInfo(L"[AMOUNT]", info);
    EXPECT_EQ(info.m_nSQLType, SQL_BIGINT);
    EXPECT_EQ(rs.GetODBCFieldCount(), 7);
}

TEST_P(RecordsetTest, TextRoundTripsWhole)
{
    const CString special = L"tab\there\nline\r\nCRLF 'quote' \"dq\" back\\slash \u00e9\u4e2d \U0001F600\U00010348 end";
    CString longText;
    for (int i = 0; longText.GetLength() < 32000; ++i)
        longText += (i % 7 == 0) ? CString(L"\U0001F680") : CString(L"abcdefghij\t\n"); // non-BMP: more UTF-16 units
    longText.Truncate(32000);
    CString huge;
    for (int i = 0; i < 9000; ++i)
        huge += L"0123456789\u00e9";

    ItemSet rs(&Db());
    ZYN_DB_OK(rs.Open());
    for (auto [id, note] : {std::pair<LONG, const CString*>{1, &special}, {2, &longText}, {3, &huge}}) {
        rs.AddNew();
        rs.m_ID = id;
        rs.m_NAME = special;
        rs.m_NOTE = *note;
        ZYN_DB_OK(rs.Update());
    }
    ItemSet back(&Db());
    back.m_strSort = L"ID";
    ZYN_DB_OK(back.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly));
    ASSERT_FALSE(back.IsEOF());
    EXPECT_EQ(back.m_NAME, special);
    EXPECT_EQ(back.m_NOTE, special);
    back.MoveNext();
    ASSERT_FALSE(back.IsEOF());
    EXPECT_EQ(back.m_NOTE.GetLength(), 32000);
    EXPECT_EQ(back.m_NOTE, longText) << "a 32000-character note is read whole";
    back.MoveNext();
    ASSERT_FALSE(back.IsEOF());
    EXPECT_EQ(back.m_NOTE.GetLength(), huge.GetLength());
    EXPECT_EQ(back.m_NOTE, huge);
}

TEST_P(RecordsetTest, LongTextIsNotCutByTheDriversColumnSize)
{
    // psqlODBC reports text columns with MaxLongVarcharSize (8190 unless raised);
    // reading in pieces gets the whole value whatever the driver reports.
    const std::wstring extra = IsPostgres() ? L"MaxLongVarcharSize=8190;" : L"";
    CDatabase small;
    ZYN_DB_OK(small.OpenEx((OdbcSetup::Instance().ConnectString(Engine()) + extra).c_str()));
    CString note;
    for (int i = 0; i < 3200; ++i)
        note += L"ACKNOTE é ";
    ASSERT_EQ(note.GetLength(), 32000);
    ItemSet rs(&small);
    ZYN_DB_OK(rs.Open());
    rs.AddNew();
    rs.m_ID = 1;
    rs.m_NOTE = note;
    ZYN_DB_OK(rs.Update());
    ZYN_DB_OK(rs.Requery());
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.m_NOTE.GetLength(), 32000);
    EXPECT_EQ(rs.m_NOTE, note);
}

TEST_P(RecordsetTest, TimestampsRoundTripInEveryForm)
{
    ItemSet rs(&Db());
    ZYN_DB_OK(rs.Open());
    const TIMESTAMP_STRUCT stamps[] = {{2008, 7, 5, 15, 4, 5, 0}, {1900, 1, 1, 0, 0, 0, 0}, {2099, 12, 31, 23, 59, 59, 0},
        {2024, 2, 29, 12, 0, 0, 0}};
    for (LONG i = 0; i < 4; ++i) {
        rs.AddNew();
        rs.m_ID = i + 1;
        rs.m_CREATED = stamps[i];
        ZYN_DB_OK(rs.Update());
    }
    ZYN_DB_OK(rs.Requery());
    for (LONG i = 0; i < 4; ++i, rs.MoveNext()) {
        ASSERT_FALSE(rs.IsEOF());
        const auto& t = rs.m_CREATED;
        const auto& e = stamps[rs.m_ID - 1];
        EXPECT_TRUE(t.year == e.year && t.month == e.month && t.day == e.day && t.hour == e.hour && t.minute == e.minute
            && t.second == e.second)
            << "row " << rs.m_ID << ": " << t.year << "-" << t.month << "-" << t.day << " " << t.hour << ":" << t.minute
            << ":" << t.second;
    }
    // Equal times compare equal in SQL, bound or written as a literal (SQLite keeps
    // times as text: both must have the same form).
    Exec(L"INSERT INTO ITEMS (ID, CREATED) VALUES (99, '2008-07-05 15:04:05')");
    std::vector<DbValue> p{stamps[0]};
    int64_t n = 0;
    ZYN_DB_OK(Db().QueryInt64(L"SELECT COUNT(*) FROM ITEMS WHERE CREATED = ?", p, n));
    EXPECT_EQ(n, 2);
    ZYN_DB_OK(Db().QueryInt64(L"SELECT COUNT(*) FROM ITEMS WHERE CREATED = '2008-07-05 15:04:05'", {}, n));
    EXPECT_EQ(n, 2);
    ZYN_DB_OK(Db().QueryInt64(L"SELECT COUNT(*) FROM ITEMS WHERE CREATED < ?", p, n));
    EXPECT_EQ(n, 1) << "only the 1900 row is earlier";
    // A fraction survives.
    TIMESTAMP_STRUCT frac{2008, 7, 5, 15, 4, 5, 250000000};
    std::vector<DbValue> fp{int32_t{98}, frac};
    ZYN_DB_OK(Db().ExecuteSQL(L"INSERT INTO ITEMS (ID, CREATED) VALUES (?, ?)", fp));
    DbValue fv;
    std::vector<DbValue> key98{int32_t{98}};
    ASSERT_TRUE(Db().QueryValue(L"SELECT CREATED FROM ITEMS WHERE ID = ?", key98, fv));
    ASSERT_TRUE(std::holds_alternative<TIMESTAMP_STRUCT>(fv));
    EXPECT_EQ(std::get<TIMESTAMP_STRUCT>(fv).fraction, 250000000u);
    Exec(L"DELETE FROM ITEMS WHERE ID >= 98");

    // CTime: the column holds local wall-clock time.
    ItemTimeSet ts(&Db());
    ZYN_DB_OK(ts.Open());
    ts.AddNew();
    ts.m_ID = 10;
    ts.m_CREATED = CTime(2011, 3, 27, 1, 30, 0);
    ZYN_DB_OK(ts.Update());
    ts.m_strFilter = L"ITEMS.ID = 10";
    ZYN_DB_OK(ts.Requery());
    ASSERT_FALSE(ts.IsEOF());
    EXPECT_EQ(ts.m_CREATED, CTime(2011, 3, 27, 1, 30, 0));
    std::vector<DbValue> ten{int32_t{10}};
    DbValue raw;
    ASSERT_TRUE(Db().QueryValue(L"SELECT CREATED FROM ITEMS WHERE ID = ?", ten, raw));
    ASSERT_TRUE(std::holds_alternative<TIMESTAMP_STRUCT>(raw));
    EXPECT_EQ(std::get<TIMESTAMP_STRUCT>(raw).hour, 1);
    EXPECT_EQ(std::get<TIMESTAMP_STRUCT>(raw).minute, 30);
    // A time before 1970 does not fit a CTime: an error, not a wrong time.
    ts.m_strFilter = L"ITEMS.ID = 2";
    auto old = CatchDb([&] { ts.Requery(); });
    EXPECT_TRUE(old.thrown);
    EXPECT_EQ(old.state, "22008");

    // COleDateTime.
    ItemOleSet os(&Db());
    ZYN_DB_OK(os.Open());
    os.AddNew();
    os.m_ID = 11;
    os.m_CREATED = COleDateTime(1899, 12, 30, 6, 0, 1);
    ZYN_DB_OK(os.Update());
    os.AddNew();
    os.m_ID = 12;
    ZYN_DB_OK(os.Update()); // a null COleDateTime stays NULL
    os.m_strFilter = L"ID >= 11";
    os.m_strSort = L"ID";
    ZYN_DB_OK(os.Requery());
    ASSERT_FALSE(os.IsEOF());
    EXPECT_EQ(os.m_CREATED.GetStatus(), COleDateTime::valid);
    EXPECT_EQ(os.m_CREATED.GetYear(), 1899);
    EXPECT_EQ(os.m_CREATED.GetSecond(), 1);
    os.MoveNext();
    ASSERT_FALSE(os.IsEOF());
    EXPECT_TRUE(os.IsFieldNull(&os.m_CREATED));
    EXPECT_EQ(os.m_CREATED.GetStatus(), COleDateTime::null);
}

TEST_P(RecordsetTest, SixtyFourBitValuesAndNoSilentNarrowing)
{
    ItemSet rs(&Db());
    ZYN_DB_OK(rs.Open());
    const int64_t values[] = {std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::min(), -1,
        int64_t{1} << 40};
    for (LONG i = 0; i < 4; ++i) {
        rs.AddNew();
        rs.m_ID = i + 1;
        rs.m_AMOUNT = values[i];
        rs.m_PRICE = 1.0 / 3.0;
        ZYN_DB_OK(rs.Update());
    }
    ZYN_DB_OK(rs.Requery());
    for (; !rs.IsEOF(); rs.MoveNext()) {
        EXPECT_EQ(rs.m_AMOUNT, values[rs.m_ID - 1]);
        // The SQLite driver reads doubles through 15-digit text.
        EXPECT_NEAR(rs.m_PRICE, 1.0 / 3.0, IsPostgres() ? 0.0 : 1e-14);
    }

    // A 64-bit value read into a 32-bit field is an error.
    struct NarrowSet : CRecordset {
        using CRecordset::CRecordset;
        LONG m_v = 0;
        CString GetDefaultSQL() override { return L"SELECT AMOUNT FROM ITEMS WHERE ID = 4"; }
        void DoFieldExchange(CFieldExchange* pFX) override { RFX_Long(pFX, L"AMOUNT", m_v); }
    } narrow(&Db());
    auto f = CatchDb([&] { narrow.Open(); });
    EXPECT_TRUE(f.thrown) << "value " << narrow.m_v;
    EXPECT_EQ(f.state.substr(0, 2), "22") << f.state;

    // A fraction read into an integer field is an error, not a cut.
    struct FractionSet : CRecordset {
        using CRecordset::CRecordset;
        LONG m_v = 0;
        CString GetDefaultSQL() override { return L"SELECT PRICE FROM ITEMS WHERE ID = 1"; }
        void DoFieldExchange(CFieldExchange* pFX) override { RFX_Long(pFX, L"PRICE", m_v); }
    } fraction(&Db());
    auto g = CatchDb([&] { fraction.Open(); });
    EXPECT_TRUE(g.thrown) << "value " << fraction.m_v;
}

TEST_P(RecordsetTest, CursorMovement)
{
    for (int i = 1; i <= 5; ++i)
        Insert(i, L"r", i);
    ItemSet rs(&Db());
    rs.m_strSort = L"ID";
    ZYN_DB_OK(rs.Open(CRecordset::snapshot));
    EXPECT_TRUE(rs.CanScroll());
    EXPECT_EQ(rs.m_ID, 1);
    rs.MoveNext();
    rs.MoveNext();
    EXPECT_EQ(rs.m_ID, 3);
    rs.MovePrev();
    EXPECT_EQ(rs.m_ID, 2);
    rs.MoveFirst();
    EXPECT_EQ(rs.m_ID, 1);
    EXPECT_FALSE(rs.IsBOF());
    rs.MovePrev();
    EXPECT_TRUE(rs.IsBOF());
    rs.MoveNext();
    EXPECT_EQ(rs.m_ID, 1);
    rs.MoveLast();
    EXPECT_EQ(rs.m_ID, 5);
    EXPECT_FALSE(rs.IsEOF());
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(rs.GetRecordCount(), 5);
    rs.MovePrev();
    EXPECT_EQ(rs.m_ID, 5);
    rs.SetAbsolutePosition(3);
    EXPECT_EQ(rs.m_ID, 3);
    rs.Move(2);
    EXPECT_EQ(rs.m_ID, 5);

    ItemSet fwd(&Db());
    fwd.m_strSort = L"ID";
    ZYN_DB_OK(fwd.Open(CRecordset::forwardOnly));
    EXPECT_FALSE(fwd.CanScroll());
    fwd.MoveNext();
    auto back = CatchDb([&] { fwd.MovePrev(); });
    EXPECT_EQ(back.code, AFX_SQL_ERROR_RECORDSET_FORWARD_ONLY);
    auto first = CatchDb([&] { fwd.MoveFirst(); });
    EXPECT_EQ(first.code, AFX_SQL_ERROR_RECORDSET_FORWARD_ONLY);
    EXPECT_EQ(fwd.m_ID, 2) << "a refused move leaves the row";
}

TEST_P(RecordsetTest, MisuseIsRefusedClearly)
{
    Insert(1, L"a", 1);
    ItemSet ro(&Db());
    ZYN_DB_OK(ro.Open(CRecordset::snapshot, nullptr, CRecordset::readOnly));
    EXPECT_FALSE(ro.CanUpdate());
    EXPECT_FALSE(ro.CanAppend());
    EXPECT_EQ(CatchDb([&] { ro.AddNew(); }).code, AFX_SQL_ERROR_RECORDSET_READONLY);
    EXPECT_EQ(CatchDb([&] { ro.Edit(); }).code, AFX_SQL_ERROR_RECORDSET_READONLY);
    EXPECT_EQ(CatchDb([&] { ro.Delete(); }).code, AFX_SQL_ERROR_RECORDSET_READONLY);

    ItemSet mismatch(&Db());
    mismatch.m_nFields = 3;
    EXPECT_EQ(CatchDb([&] { mismatch.Open(); }).code, AFX_SQL_ERROR_FIELD_SCHEMA_MISMATCH);
    EXPECT_FALSE(mismatch.IsOpen());

    ItemSet closed(&Db());
    EXPECT_EQ(CatchDb([&] { closed.MoveNext(); }).code, AFX_SQL_ERROR_ILLEGAL_MODE);
    ItemSet open(&Db());
    ZYN_DB_OK(open.Open());
    EXPECT_EQ(CatchDb([&] { open.Update(); }).code, AFX_SQL_ERROR_ILLEGAL_MODE);

    ItemSet badSql(&Db());
    badSql.m_strFilter = L"NO_SUCH_COLUMN = 1";
    auto f = CatchDb([&] { badSql.Open(); });
    EXPECT_TRUE(f.thrown);
    EXPECT_FALSE(f.state.empty());
    EXPECT_FALSE(badSql.IsOpen());

    // Closing the database closes its record sets.
    EXPECT_TRUE(open.IsOpen());
    Db().Close();
    EXPECT_FALSE(open.IsOpen());
    EXPECT_EQ(CatchDb([&] { open.Requery(); }).code, AFX_SQL_ERROR_ILLEGAL_MODE);

    // A database destroyed before its set: the set no longer touches it.
    auto db = std::make_unique<CDatabase>();
    ZYN_DB_OK(db->OpenEx(OdbcSetup::Instance().ConnectString(Engine()).c_str()));
    auto outlived = std::make_unique<ItemSet>(db.get());
    ZYN_DB_OK(outlived->Open());
    db.reset();
    EXPECT_FALSE(outlived->IsOpen());
    outlived->Close();
    outlived.reset();
}

TEST_P(RecordsetTest, SetWithoutDatabaseOpensItsDefaultConnect)
{
    OdbcSetup::Instance().PointSystemDsnsAt(Engine());
    Insert(1, L"own", 1);
    struct OwnSet : ItemSet {
        OwnSet() : ItemSet(nullptr) {}
        CString GetDefaultConnect() override { return L"ODBC;DSN=Orvan;"; }
    } rs;
    ZYN_DB_OK(rs.Open());
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.m_NAME, CString(L"own"));
    rs.Close();
    EXPECT_EQ(rs.m_pDatabase, nullptr);
    OdbcSetup::Instance().PointSystemDsnsAt(DbEngineKind::sqlite);
}

class SmallTypesSet : public CRecordset {
public:
    explicit SmallTypesSet(CDatabase* db) : CRecordset(db)
    {
        m_nFields = 5;
        SetKeyColumns(L"ID");
    }
    LONG m_ID = 0;
    BOOL m_FLAG = FALSE;
    BYTE m_SMALL = 0;
    float m_RATIO = 0;
    CByteArray m_DATA;
    CString GetDefaultSQL() override { return L"[SMALLTYPES]"; }
    void DoFieldExchange(CFieldExchange* pFX) override
    {
        RFX_Long(pFX, L"[ID]", m_ID);
        RFX_Bool(pFX, L"[FLAG]", m_FLAG);
        RFX_Byte(pFX, L"[SMALL]", m_SMALL);
        RFX_Single(pFX, L"[RATIO]", m_RATIO);
        RFX_Binary(pFX, L"[DATA]", m_DATA, 100000);
    }
};

TEST_P(RecordsetTest, BoolByteSingleAndBinaryRoundTrip)
{
    Exec(IsPostgres() ? L"CREATE TABLE SMALLTYPES (ID INTEGER PRIMARY KEY, FLAG INTEGER, SMALL SMALLINT, RATIO REAL, DATA BYTEA)"
                      : L"CREATE TABLE SMALLTYPES (ID INTEGER PRIMARY KEY, FLAG INTEGER, SMALL SMALLINT, RATIO REAL, DATA BLOB)");
    SmallTypesSet rs(&Db());
    ZYN_DB_OK(rs.Open());
    CByteArray bytes;
    for (int i = 0; i < 70000; ++i)
        bytes.Add(static_cast<BYTE>(i * 7));
    rs.AddNew();
    rs.m_ID = 1;
    rs.m_FLAG = TRUE;
    rs.m_SMALL = 200;
    rs.m_RATIO = 0.25f;
    rs.m_DATA.Copy(bytes);
    ZYN_DB_OK(rs.Update());
    rs.AddNew();
    rs.m_ID = 2;
    rs.m_FLAG = FALSE;
    rs.m_SMALL = 0;
    ZYN_DB_OK(rs.Update());
    Exec(L"INSERT INTO SMALLTYPES (ID, SMALL) VALUES (3, 300)");

    rs.m_strFilter = L"ID <= 2";
    rs.m_strSort = L"ID";
    ZYN_DB_OK(rs.Requery());
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.m_FLAG, TRUE);
    EXPECT_EQ(rs.m_SMALL, 200);
    EXPECT_FLOAT_EQ(rs.m_RATIO, 0.25f);
    ASSERT_EQ(rs.m_DATA.GetSize(), bytes.GetSize());
    EXPECT_EQ(std::memcmp(rs.m_DATA.GetData(), bytes.GetData(), static_cast<size_t>(bytes.GetSize())), 0);
    rs.MoveNext();
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.m_FLAG, FALSE);
    EXPECT_FALSE(rs.IsFieldNull(&rs.m_FLAG));
    EXPECT_EQ(rs.m_SMALL, 0);
    EXPECT_TRUE(rs.IsFieldNull(&rs.m_RATIO));
    EXPECT_TRUE(rs.IsFieldNull(&rs.m_DATA));
    EXPECT_EQ(rs.m_DATA.GetSize(), 0);

    // 300 does not fit a byte: an error, not 44.
    rs.m_strFilter = L"ID = 3";
    auto f = CatchDb([&] { rs.Requery(); });
    EXPECT_EQ(f.state, "22003") << f.message;
}

// One INSERT statement runs once per row with its parameters bound again only where a
// row binds differently: each row must still carry its own values, whichever field turns
// NULL, grows or shrinks from the row before, or repeats it exactly.
TEST_P(RecordsetTest, StatementRunPerRowKeepsEachRowsOwnValues)
{
    constexpr size_t kNull = static_cast<size_t>(-1);
    struct Row {
        LONG id;
        size_t nameLength; // kNull: NULL
        size_t noteLength;
        bool amountNull;
        int64_t amount;
        bool createdNull;
        uint16_t day;
    };
    const Row rows[] = {
        {1, 3, 10, false, 5, false, 1},
        {2, 3, 10, false, 5, false, 1},           // the same shape and values again
        {3, kNull, 5000, true, 0, true, 0},       // NULLs; a text far longer than before
        {4, 200, 0, false, -(int64_t{1} << 40), false, 28},
        {5, 0, kNull, false, INT64_MAX, true, 0}, // an empty text, marked not NULL
        {6, 1, 7, true, 0, false, 31},
    };
    auto text = [](LONG id, size_t length) {
        std::wstring s;
        for (size_t i = 0; i < length; ++i)
            s.push_back(static_cast<wchar_t>(L'a' + (static_cast<size_t>(id) + i) % 26));
        return CString(s);
    };
    {
        ItemSet rs(&Db());
        ZYN_DB_OK(rs.Open());
        for (const Row& r : rows) {
            rs.AddNew();
            rs.m_ID = r.id;
            if (r.nameLength == kNull)
                rs.SetFieldNull(&rs.m_NAME);
            else {
                rs.m_NAME = text(r.id, r.nameLength);
                rs.SetFieldNull(&rs.m_NAME, FALSE); // an empty text would pass for the pseudo-NULL
            }
            if (r.noteLength == kNull)
                rs.SetFieldNull(&rs.m_NOTE);
            else {
                rs.m_NOTE = text(r.id + 7, r.noteLength);
                rs.SetFieldNull(&rs.m_NOTE, FALSE);
            }
            if (r.amountNull)
                rs.SetFieldNull(&rs.m_AMOUNT);
            else
                rs.m_AMOUNT = r.amount;
            if (r.createdNull)
                rs.SetFieldNull(&rs.m_CREATED);
            else
                rs.m_CREATED = TIMESTAMP_STRUCT{2021, 1, r.day, 2, 3, 4, 0};
            ZYN_DB_OK(rs.Update());
        }
    }
    ItemSet rs(&Db());
    rs.m_strSort = L"ID";
    ZYN_DB_OK(rs.Open());
    for (const Row& r : rows) {
        SCOPED_TRACE("row " + std::to_string(r.id));
        ASSERT_FALSE(rs.IsEOF());
        EXPECT_EQ(rs.m_ID, r.id);
        EXPECT_EQ(rs.IsFieldNull(&rs.m_NAME) != FALSE, r.nameLength == kNull);
        if (r.nameLength != kNull) {
            EXPECT_EQ(rs.m_NAME, text(r.id, r.nameLength));
        }
        EXPECT_EQ(rs.IsFieldNull(&rs.m_NOTE) != FALSE, r.noteLength == kNull);
        if (r.noteLength != kNull) {
            EXPECT_EQ(rs.m_NOTE, text(r.id + 7, r.noteLength));
        }
        EXPECT_EQ(rs.IsFieldNull(&rs.m_AMOUNT) != FALSE, r.amountNull);
        if (!r.amountNull) {
            EXPECT_EQ(rs.m_AMOUNT, r.amount);
        }
        EXPECT_EQ(rs.IsFieldNull(&rs.m_CREATED) != FALSE, r.createdNull);
        if (!r.createdNull) {
            EXPECT_EQ(rs.m_CREATED.day, r.day);
        }
        ZYN_DB_OK(rs.MoveNext());
    }
    EXPECT_TRUE(rs.IsEOF());

    // A select run again with other parameter values, shorter and longer.
    rs.Close();
    rs.UseParams(true);
    rs.m_strFilter = L"AMOUNT > ? AND NAME = ?";
    rs.m_minAmount = 0;
    rs.m_nameParam = text(1, 3);
    ZYN_DB_OK(rs.Open());
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.m_ID, 1);
    rs.m_nameParam = text(4, 200);
    rs.m_minAmount = -(int64_t{1} << 41);
    ZYN_DB_OK(rs.Requery());
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.m_ID, 4);
    rs.m_nameParam = L"";
    rs.m_minAmount = INT64_MAX;
    ZYN_DB_OK(rs.Requery());
    EXPECT_TRUE(rs.IsEOF()) << "no amount lies above the largest";
    rs.m_minAmount = 0;
    ZYN_DB_OK(rs.Requery());
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.m_ID, 5);
}

ZYN_INSTANTIATE_ENGINES(RecordsetTest);

} // namespace
