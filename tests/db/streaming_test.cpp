// A forward pass over many rows keeps memory flat: psqlODBC reads through a server
// cursor (UseDeclareFetch) and the SQLite driver steps rows (StepAPI) instead of
// materialising the result. Also the purge pattern: delete each row while streaming,
// inside one transaction.
#include <gtest/gtest.h>

#include "platform/afx/db/afxdb.h"
#include "tests/db/db_test_util.h"

using namespace zyn::test;

namespace {

constexpr int kRows = 50000;
constexpr int kNoteLength = 400;

class BigSet : public CRecordset {
public:
    explicit BigSet(CDatabase* db) : CRecordset(db)
    {
        m_nFields = 2;
        SetKeyColumns(L"ID");
    }
    LONG m_ID = 0;
    CString m_NOTE;
    CString GetDefaultSQL() override { return L"[BIG]"; }
    void DoFieldExchange(CFieldExchange* pFX) override
    {
        RFX_Long(pFX, L"[ID]", m_ID);
        RFX_Text(pFX, L"[NOTE]", m_NOTE, kNoteLength);
    }
};

class StreamingTest : public OdbcTest {
protected:
    void SetUp() override
    {
        OdbcTest::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        Exec(L"CREATE TABLE BIG (ID INTEGER NOT NULL PRIMARY KEY, NOTE TEXT)");
        if (IsPostgres())
            Exec(L"INSERT INTO BIG SELECT x, lpad(x::text, 400, '0') FROM generate_series(1, 50000) AS x");
        else
            Exec(L"INSERT INTO BIG WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 50000) "
                 L"SELECT x, printf('%0400d', x) FROM c");
    }
};

// What the whole result would take if a layer buffered it: the text alone, in UTF-8.
constexpr size_t kResultBytes = size_t{kRows} * kNoteLength;

TEST_P(StreamingTest, ForwardPassKeepsMemoryFlat)
{
    BigSet rs(&Db());
    rs.m_strSort = L"ID";
    // From before the execution: a driver that reads the whole result does so there.
    const size_t before = LiveHeapBytes();
    ZYN_DB_OK(rs.Open(CRecordset::forwardOnly, nullptr, CRecordset::readOnly));
    size_t peak = LiveHeapBytes();
    int rows = 0;
    while (!rs.IsEOF()) {
        ++rows;
        ASSERT_EQ(rs.m_ID, rows);
        ASSERT_EQ(rs.m_NOTE.GetLength(), kNoteLength);
        if (rows % 1000 == 0)
            peak = std::max(peak, LiveHeapBytes());
        rs.MoveNext();
    }
    EXPECT_EQ(rows, kRows);
    const size_t growth = peak > before ? peak - before : 0;
    EXPECT_LT(growth, kResultBytes / 4) << "heap grew by " << growth << " bytes over the pass";
}

TEST_P(StreamingTest, DeletingEachRowWhileStreamingInOneTransaction)
{
    ASSERT_TRUE(Db().BeginTrans());
    BigSet rs(&Db());
    rs.m_strFilter = L"ID <= 20000";
    const size_t before = LiveHeapBytes();
    ZYN_DB_OK(rs.Open(CRecordset::snapshot));
    size_t peak = LiveHeapBytes();
    int rows = 0;
    while (!rs.IsEOF()) {
        ++rows;
        ZYN_DB_OK(rs.Delete());
        if (rows % 1000 == 0)
            peak = std::max(peak, LiveHeapBytes());
        rs.MoveNext();
    }
    rs.Close();
    EXPECT_EQ(rows, 20000);
    const size_t growth = peak > before ? peak - before : 0;
    EXPECT_LT(growth, kResultBytes / 4) << "heap grew by " << growth << " bytes over the pass";
    ASSERT_TRUE(Db().CommitTrans());
    int64_t left = 0;
    ASSERT_TRUE(Db().QueryInt64(L"SELECT COUNT(*) FROM BIG", {}, left));
    EXPECT_EQ(left, kRows - 20000);
}

ZYN_INSTANTIATE_ENGINES(StreamingTest);

} // namespace

namespace {

class CommitWithOpenCursorTest : public StreamingTest {};

TEST_P(CommitWithOpenCursorTest, CommitWhileASetIsOpen)
{
    ASSERT_TRUE(Db().BeginTrans());
    BigSet rs(&Db());
    rs.m_strFilter = L"ID <= 10";
    ZYN_DB_OK(rs.Open(CRecordset::forwardOnly));
    ZYN_DB_OK(rs.Delete());
    rs.MoveNext();
    ZYN_DB_OK(Db().CommitTrans()); // mid-stream
    ASSERT_TRUE(Db().BeginTrans());
    ZYN_DB_OK(rs.Requery());
    while (!rs.IsEOF()) {
        ZYN_DB_OK(rs.Delete());
        rs.MoveNext();
    }
    ZYN_DB_OK(Db().CommitTrans()); // at the end, set still open
    int64_t left = 0;
    ASSERT_TRUE(Db().QueryInt64(L"SELECT COUNT(*) FROM BIG WHERE ID <= 10", {}, left));
    EXPECT_EQ(left, 0);
}

ZYN_INSTANTIATE_ENGINES(CommitWithOpenCursorTest);

} // namespace
