// The console's operator log-in: the password hash against published PBKDF2-HMAC-SHA-256
// vectors, the first run's seed, what a log-in accepts and refuses, damaged rows, an
// operator without a password, a refused new password that keeps the old one, and a
// deleted operator's password that no later operator inherits.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "host_work.h"
#include "operator_login.h"
#include "platform/afx/db/dbvalue.h"
#include "platform/base/exception.h"
#include "platform/base/utf16.h"
#include "tests/support/testenv.h"

namespace {

namespace fs = std::filesystem;
using zyn::afx::DbValue;

std::vector<uint8_t> Bytes(const char* text) { return std::vector<uint8_t>(text, text + std::char_traits<char>::length(text)); }

TEST(HostPasswordHash, MatchesThePublishedVectors)
{
    // RFC 7914, section 11: PBKDF2-HMAC-SHA-256; the first 32 bytes of each 64-byte key.
    const struct {
        const char* password;
        const char* salt;
        int32_t rounds;
        const char* hash;
    } rows[] = {
        {"passwd", "salt", 1, "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"},
        {"Password", "NaCl", 80000, "4ddcd8f60b98be21830cee5ef22701f9641a4418d04c0414aeff08876b34ab56"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(host::HashPassword(row.password, Bytes(row.salt), row.rounds), row.hash) << row.password;
    EXPECT_THROW(host::HashPassword("x", Bytes("salt"), 0), std::invalid_argument);
}

class HostLogin : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::path(zyn::test::TempRoot()) / ("login-" + std::string(
            ::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        host::OpenDatabase(m_db, CString(zyn::base::FromUtf8((m_dir / "console.db").string()).c_str()), CString(),
            [](const CString&) {});
        // The operators' table as the console's screens make it.
        m_db.ExecuteSQL(L"CREATE TABLE IF NOT EXISTS HOST_OPERATOR (ID INTEGER PRIMARY KEY, NAME VARCHAR(64) NOT NULL UNIQUE)");
    }
    void TearDown() override { m_db.Close(); }

    bool LogsIn(const wchar_t* name, const wchar_t* password)
    {
        return host::CheckOperatorLogin(m_db, CString(name), password).has_value();
    }
    CString Text(const wchar_t* sql)
    {
        DbValue v;
        m_db.QueryValue(sql, {}, v);
        const auto* s = std::get_if<CString>(&v);
        return s ? *s : CString();
    }

    fs::path m_dir;
    CZynDatabase m_db;
};

TEST_F(HostLogin, TheFirstRunSeedsAdminOnceWithASaltedHash)
{
    ASSERT_TRUE(host::PrepareOperatorLogin(m_db));
    EXPECT_FALSE(host::PrepareOperatorLogin(m_db)) << "a table with a password is left alone";
    EXPECT_EQ(host::CountRows(m_db, L"HOST_PASSWORD"), 1);
    EXPECT_EQ(host::CountRows(m_db, L"HOST_OPERATOR"), 1);
    const CString salt = Text(L"SELECT SALT FROM HOST_PASSWORD");
    const CString hash = Text(L"SELECT HASH FROM HOST_PASSWORD");
    EXPECT_EQ(salt.GetLength(), 32) << "16 random bytes";
    EXPECT_EQ(hash.GetLength(), 64);
    EXPECT_EQ(hash.Find(host::kInitialAdminPassword), -1);
    // The stored hash is the documented one: PBKDF2 of the password under the stored salt.
    std::vector<uint8_t> saltBytes;
    for (int i = 0; i + 1 < salt.GetLength(); i += 2)
        saltBytes.push_back(static_cast<uint8_t>(std::stoi(zyn::base::ToUtf8(salt.Mid(i, 2).GetString()), nullptr, 16)));
    EXPECT_EQ(zyn::base::FromUtf8(host::HashPassword("zyn-admin", saltBytes, host::kPasswordRounds)),
        std::wstring(hash.GetString()));

    // A second operator's password has a salt of its own.
    m_db.ExecuteSQL(L"INSERT INTO HOST_OPERATOR (ID, NAME) VALUES (7, 'guard')");
    host::SetOperatorPassword(m_db, 7, host::kInitialAdminPassword);
    EXPECT_NE(Text(L"SELECT SALT FROM HOST_PASSWORD WHERE OPERATOR_ID = 7"), salt);
    EXPECT_NE(Text(L"SELECT HASH FROM HOST_PASSWORD WHERE OPERATOR_ID = 7"), hash);
}

TEST_F(HostLogin, AnOperatorAlreadyNamedAdminIsTheOneSeeded)
{
    m_db.ExecuteSQL(L"INSERT INTO HOST_OPERATOR (ID, NAME) VALUES (3, 'admin')");
    ASSERT_TRUE(host::PrepareOperatorLogin(m_db));
    EXPECT_EQ(host::CountRows(m_db, L"HOST_OPERATOR"), 1);
    const auto who = host::CheckOperatorLogin(m_db, L"admin", host::kInitialAdminPassword);
    ASSERT_TRUE(who);
    EXPECT_EQ(who->id, 3);
}

TEST_F(HostLogin, WhatALogInAcceptsAndRefuses)
{
    ASSERT_TRUE(host::PrepareOperatorLogin(m_db));
    const struct {
        const wchar_t* name;
        const wchar_t* password;
        bool accepted;
        const char* what;
    } rows[] = {
        {L"admin", L"zyn-admin", true, "the initial password"},
        {L"ADMIN", L"zyn-admin", true, "the name in another case"},
        {L"  admin ", L"zyn-admin", true, "blanks around the name"},
        {L"admin", L"ZYN-ADMIN", false, "the password in another case"},
        {L"admin", L"zyn-admi", false, "a prefix of the password"},
        {L"admin", L"zyn-admin ", false, "the password and a blank"},
        {L"admin", L"", false, "no password"},
        {L"", L"zyn-admin", false, "no name"},
        {L"root", L"zyn-admin", false, "an unknown name"},
        {L"adm%", L"zyn-admin", false, "a pattern for a name"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(LogsIn(row.name, row.password), row.accepted) << row.what;
    const auto who = host::CheckOperatorLogin(m_db, L"ADMIN", L"zyn-admin");
    ASSERT_TRUE(who);
    EXPECT_EQ(who->name, L"admin") << "the name as stored";
}

TEST_F(HostLogin, DamagedRowsAndOperatorsWithoutAPasswordLogNobodyIn)
{
    ASSERT_TRUE(host::PrepareOperatorLogin(m_db));
    // Added through the operators' screen: no password yet.
    m_db.ExecuteSQL(L"INSERT INTO HOST_OPERATOR (ID, NAME) VALUES (5, 'night shift')");
    EXPECT_FALSE(LogsIn(L"night shift", L""));
    EXPECT_FALSE(LogsIn(L"night shift", L"zyn-admin"));

    const struct {
        const wchar_t* change;
        const char* what;
    } rows[] = {
        {L"UPDATE HOST_PASSWORD SET ROUNDS = 0", "no rounds"},
        {L"UPDATE HOST_PASSWORD SET ROUNDS = 2000000000", "rounds beyond reason"},
        {L"UPDATE HOST_PASSWORD SET SALT = 'not hex!'", "a salt that is not hex"},
        {L"UPDATE HOST_PASSWORD SET SALT = ''", "no salt"},
        {L"UPDATE HOST_PASSWORD SET HASH = ''", "no hash"},
    };
    for (const auto& row : rows) {
        m_db.ExecuteSQL(L"DELETE FROM HOST_PASSWORD");
        host::SetOperatorPassword(m_db, 1, L"zyn-admin");
        ASSERT_TRUE(LogsIn(L"admin", L"zyn-admin")) << row.what;
        m_db.ExecuteSQL(row.change);
        EXPECT_FALSE(LogsIn(L"admin", L"zyn-admin")) << row.what;
    }
}

TEST_F(HostLogin, ARefusedNewPasswordKeepsTheOldOne)
{
    ASSERT_TRUE(host::PrepareOperatorLogin(m_db));
    EXPECT_THROW(host::SetOperatorPassword(m_db, 1, L""), std::invalid_argument);
    EXPECT_TRUE(LogsIn(L"admin", L"zyn-admin"));
    // A password changed is the only one that works afterwards; any characters count.
    host::SetOperatorPassword(m_db, 1, L"gr\u00fcn \u00e9t\u00e9 42");
    EXPECT_FALSE(LogsIn(L"admin", L"zyn-admin"));
    EXPECT_TRUE(LogsIn(L"admin", L"gr\u00fcn \u00e9t\u00e9 42"));
}

TEST_F(HostLogin, ADeletedOperatorsPasswordGoesWithIt)
{
    ASSERT_TRUE(host::PrepareOperatorLogin(m_db));
    m_db.ExecuteSQL(L"INSERT INTO HOST_OPERATOR (ID, NAME) VALUES (2, 'guard')");
    host::SetOperatorPassword(m_db, 2, L"guard-pass");
    ASSERT_TRUE(LogsIn(L"guard", L"guard-pass"));
    host::DeleteOperator(m_db, 2);
    EXPECT_EQ(host::CountRows(m_db, L"HOST_PASSWORD"), 1);
    EXPECT_EQ(host::CountRows(m_db, L"HOST_OPERATOR"), 1);
    // The operators' screen gives the next operator the next free ID: 2 again.
    m_db.ExecuteSQL(L"INSERT INTO HOST_OPERATOR (ID, NAME) VALUES (2, 'visitor')");
    EXPECT_FALSE(LogsIn(L"visitor", L"guard-pass"));
    EXPECT_FALSE(LogsIn(L"guard", L"guard-pass"));
    // An ID nobody has: nothing changes, no error.
    host::DeleteOperator(m_db, 99);
    EXPECT_EQ(host::CountRows(m_db, L"HOST_OPERATOR"), 2);
    EXPECT_TRUE(LogsIn(L"admin", L"zyn-admin"));
}

// The operators' screen: a new operator is stored with its password, a renamed one keeps
// its password unless given another, and nothing is written for a refused store.
TEST_F(HostLogin, TheOperatorsScreenStoresTheNameAndThePasswordTogether)
{
    ASSERT_TRUE(host::PrepareOperatorLogin(m_db));
    host::StoreOperator(m_db, 2, CString(L"guard"), true, L"guard-pass");
    EXPECT_TRUE(LogsIn(L"guard", L"guard-pass"));
    EXPECT_EQ(Text(L"SELECT HASH FROM HOST_PASSWORD WHERE OPERATOR_ID = 2").Find(L"guard-pass"), -1);

    EXPECT_THROW(host::StoreOperator(m_db, 3, CString(L"visitor"), true, L""), std::invalid_argument);
    EXPECT_THROW(host::StoreOperator(m_db, 9, CString(L"nobody"), false, L"some-pass"), std::runtime_error)
        << "a password for an operator that is not there";
    bool refused = false;
    try {
        host::StoreOperator(m_db, 3, CString(L"guard"), true, L"other-pass"); // the name is taken
    } catch (CException* e) {
        e->Delete();
        refused = true;
    }
    EXPECT_TRUE(refused) << "a name taken";
    EXPECT_EQ(host::CountRows(m_db, L"HOST_OPERATOR"), 2) << "refused stores wrote no operator";
    EXPECT_EQ(host::CountRows(m_db, L"HOST_PASSWORD"), 2) << "refused stores wrote no password";

    host::StoreOperator(m_db, 2, CString(L"night guard"), false, L"");
    EXPECT_TRUE(LogsIn(L"night guard", L"guard-pass")) << "renamed, no new password: the old one stays";
    host::StoreOperator(m_db, 2, CString(L"night guard"), false, L"new-pass");
    EXPECT_FALSE(LogsIn(L"night guard", L"guard-pass"));
    EXPECT_TRUE(LogsIn(L"night guard", L"new-pass"));
    EXPECT_TRUE(LogsIn(L"admin", L"zyn-admin"));
}

} // namespace
