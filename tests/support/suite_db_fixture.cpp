#include "tests/support/suite_db_fixture.h"

#include "platform/base/utf16.h"
#include "platform/suite/database/schema_loader.h"

namespace zyn::test {

void SuiteDbTest::SetUp()
{
    OdbcTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    try {
        m_db->Close();
        m_db = std::make_unique<CZynDatabase>();
        m_db->OpenEx(OdbcSetup::Instance().ConnectString(Engine()).c_str(), CDatabase::noOdbcDialog);
        zyn::db::LoadSchema(*m_db);
    } catch (CException* e) {
        const std::string text = DescribeDbException(e);
        e->Delete();
        FAIL() << "cannot prepare the suite's database: " << text;
    }
}

std::unique_ptr<CZynDatabase> SuiteDbTest::OpenAnother()
{
    auto db = std::make_unique<CZynDatabase>();
    db->OpenEx(OdbcSetup::Instance().ConnectString(Engine()).c_str(), CDatabase::noOdbcDialog);
    return db;
}

int64_t SuiteDbTest::Count(const wchar_t* sql)
{
    int64_t n = -1;
    try {
        if (!m_db->QueryInt64(sql, {}, n))
            n = -1;
    } catch (CException* e) {
        ADD_FAILURE() << "query failed: " << zyn::base::ToUtf8(sql) << ": " << DescribeDbException(e);
        e->Delete();
    }
    return n;
}

} // namespace zyn::test
