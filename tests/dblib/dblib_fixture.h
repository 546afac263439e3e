#pragma once
// The database library's test fixture: a fresh database of each engine with the suite's
// schema loaded, open through a CZynDatabase.

#include <gtest/gtest.h>

#include <string>

#include "platform/suite/database/zyn_database.h"
#include "tests/db/db_test_util.h"
#include "tests/support/odbc_fixture.h"

namespace zyn::test {

class ZynDbTest : public OdbcTest {
protected:
    void SetUp() override;

    CZynDatabase& ZDb() { return static_cast<CZynDatabase&>(*m_db); }
    // A second connection to the same database (for concurrency cases).
    std::unique_ptr<CZynDatabase> OpenAnother();
    int64_t Count(const wchar_t* sql);
};

} // namespace zyn::test
