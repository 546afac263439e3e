#pragma once
// The database library's test fixture: a fresh database of each engine with the suite's
// schema loaded, open through a CZynDatabase (tests/support/suite_db_fixture.h).

#include <gtest/gtest.h>

#include <string>

#include "tests/db/db_test_util.h"
#include "tests/support/suite_db_fixture.h"

namespace zyn::test {

class ZynDbTest : public SuiteDbTest {};

} // namespace zyn::test
