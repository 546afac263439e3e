#pragma once
// The fixture of the tests that work on the suite's own database (the database library,
// the archive sets): an OdbcTest whose fresh database of each engine has the suite's
// schema loaded and is open through a CZynDatabase. Suites built on it are instantiated
// with ZYN_INSTANTIATE_ENGINES like any OdbcTest suite.
#include <cstdint>
#include <memory>

#include "platform/suite/database/zyn_database.h"
#include "tests/support/odbc_fixture.h"

namespace zyn::test {

class SuiteDbTest : public OdbcTest {
protected:
    void SetUp() override;

    CZynDatabase& ZDb() { return static_cast<CZynDatabase&>(*m_db); }
    CZynDatabase* ZDbPtr() { return static_cast<CZynDatabase*>(m_db.get()); }
    // A second connection to the same database (for concurrency cases).
    std::unique_ptr<CZynDatabase> OpenAnother();
    // The first column of the first row as an integer (-1 when none, or on a failure,
    // which fails the test naming the statement).
    int64_t Count(const wchar_t* sql);
};

} // namespace zyn::test
