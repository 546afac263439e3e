#pragma once
// Helpers of the database tests.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/afx/db/dbexception.h"
#include "platform/base/utf16.h"
#include "tests/support/odbc_fixture.h"

namespace zyn::test {

// Runs f and returns the SQLSTATE and return code of the CDBException it throws;
// fails the test when it throws nothing.
struct DbFailure {
    bool thrown = false;
    std::string state;
    int code = 0;
    std::string message;
};

inline DbFailure CatchDb(const std::function<void()>& f)
{
    DbFailure r;
    try {
        f();
    } catch (CDBException* e) {
        r.thrown = true;
        r.state = zyn::base::ToUtf8(e->GetSQLState().GetString());
        r.code = e->m_nRetCode;
        r.message = zyn::base::ToUtf8(e->m_strError.GetString());
        e->Delete();
    }
    return r;
}

// Runs f; a thrown database exception fails the test with its text.
#define ZYN_DB_OK(stmt)                                                          \
    do {                                                                         \
        try {                                                                    \
            stmt;                                                                \
        } catch (CException * zyn_e_) {                                          \
            const std::string zyn_t_ = ::zyn::test::DescribeDbException(zyn_e_); \
            zyn_e_->Delete();                                                    \
            FAIL() << #stmt << " threw " << zyn_t_;                              \
        }                                                                        \
    } while (0)

} // namespace zyn::test
