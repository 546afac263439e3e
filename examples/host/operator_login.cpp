#include "operator_login.h"

#include <cwchar>
#include <stdexcept>

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include "platform/afx/db/dbvalue.h"
#include "platform/base/exception.h"
#include "platform/base/utf16.h"
#include "platform/suite/database/zyn_database.h"

using zyn::afx::DbValue;

namespace host {
namespace {

constexpr size_t kSaltBytes = 16;
constexpr size_t kHashBytes = 32;
// A stored round count past this is a damaged row, not a reason to hash for minutes.
constexpr int64_t kMostRounds = 10'000'000;

std::string Hex(const uint8_t* bytes, size_t n)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(n * 2);
    for (size_t i = 0; i < n; ++i) {
        text.push_back(digits[bytes[i] >> 4]);
        text.push_back(digits[bytes[i] & 0xF]);
    }
    return text;
}

// Even-length hex to bytes; nothing for anything else (a damaged row logs no one in).
std::optional<std::vector<uint8_t>> FromHex(const std::string& text)
{
    if (text.empty() || text.size() % 2)
        return std::nullopt;
    const auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < text.size(); i += 2) {
        const int hi = nibble(text[i]), lo = nibble(text[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
    }
    return bytes;
}

std::optional<int64_t> AsInt(const DbValue& v)
{
    if (const auto* i = std::get_if<int32_t>(&v))
        return *i;
    if (const auto* i = std::get_if<int64_t>(&v))
        return *i;
    if (const auto* s = std::get_if<CString>(&v)) {
        wchar_t* end = nullptr;
        const int64_t n = std::wcstoll(s->GetString(), &end, 10);
        if (end && *end == L'\0' && end != s->GetString())
            return n;
    }
    return std::nullopt;
}

std::string AsText(const DbValue& v)
{
    const auto* s = std::get_if<CString>(&v);
    return s ? zyn::base::ToUtf8(s->GetString()) : std::string();
}

} // namespace

std::string HashPassword(const std::string& utf8Password, const std::vector<uint8_t>& salt, int32_t rounds)
{
    if (rounds < 1)
        throw std::invalid_argument("PBKDF2 needs at least one round");
    uint8_t out[kHashBytes];
    if (PKCS5_PBKDF2_HMAC(utf8Password.data(), static_cast<int>(utf8Password.size()), salt.data(),
            static_cast<int>(salt.size()), rounds, EVP_sha256(), static_cast<int>(kHashBytes), out) != 1)
        throw std::runtime_error("PBKDF2 failed");
    std::string hex = Hex(out, kHashBytes);
    OPENSSL_cleanse(out, sizeof out);
    return hex;
}

bool PrepareOperatorLogin(CZynDatabase& db)
{
    db.ExecuteSQL(L"CREATE TABLE IF NOT EXISTS HOST_PASSWORD (OPERATOR_ID INTEGER PRIMARY KEY, "
                  L"SALT VARCHAR(64) NOT NULL, HASH VARCHAR(128) NOT NULL, ROUNDS INTEGER NOT NULL)");
    int64_t rows = 0;
    if (!db.QueryInt64(L"SELECT COUNT(*) FROM HOST_PASSWORD", {}, rows) || rows > 0)
        return false;
    int64_t id = 0;
    const DbValue name[] = {CString(kInitialAdminName)};
    if (!db.QueryInt64(L"SELECT ID FROM HOST_OPERATOR WHERE NAME = ?", name, id)) {
        int64_t top = 0;
        db.QueryInt64(L"SELECT COALESCE(MAX(ID), 0) FROM HOST_OPERATOR", {}, top);
        id = top + 1;
        const DbValue row[] = {static_cast<int32_t>(id), CString(kInitialAdminName)};
        db.ExecuteSQL(L"INSERT INTO HOST_OPERATOR (ID, NAME) VALUES (?, ?)", row);
    }
    SetOperatorPassword(db, static_cast<int32_t>(id), kInitialAdminPassword);
    return true;
}

void SetOperatorPassword(CZynDatabase& db, int32_t operatorId, const std::wstring& password)
{
    if (password.empty())
        throw std::invalid_argument("an operator's password cannot be empty");
    std::vector<uint8_t> salt(kSaltBytes);
    if (RAND_bytes(salt.data(), static_cast<int>(salt.size())) != 1)
        throw std::runtime_error("no random salt");
    std::string utf8 = zyn::base::ToUtf8(password);
    const std::string hash = HashPassword(utf8, salt, kPasswordRounds);
    OPENSSL_cleanse(utf8.data(), utf8.size());
    const DbValue id[] = {operatorId};
    db.ExecuteSQL(L"DELETE FROM HOST_PASSWORD WHERE OPERATOR_ID = ?", id);
    const DbValue row[] = {operatorId, CString(zyn::base::FromUtf8(Hex(salt.data(), salt.size())).c_str()),
        CString(zyn::base::FromUtf8(hash).c_str()), int32_t{kPasswordRounds}};
    db.ExecuteSQL(L"INSERT INTO HOST_PASSWORD (OPERATOR_ID, SALT, HASH, ROUNDS) VALUES (?, ?, ?, ?)", row);
}

namespace {

// Runs `work` in a transaction when the database gives one: committed when it returns,
// rolled back when it throws (the work's failure is the one passed on).
template <class Work>
void InTransaction(CZynDatabase& db, Work&& work)
{
    const bool inTransaction = db.BeginTrans() != FALSE;
    try {
        work();
    } catch (...) {
        if (inTransaction) {
            // The failure to tell is the work's; a rollback failing after it changes
            // nothing the caller can act on.
            try {
                db.Rollback();
            } catch (CException* e) {
                e->Delete();
            }
        }
        throw;
    }
    if (inTransaction)
        db.CommitTrans();
}

} // namespace

void StoreOperator(CZynDatabase& db, int32_t operatorId, const CString& name, bool isNew,
    const std::wstring& password)
{
    if (isNew && password.empty())
        throw std::invalid_argument("a new operator needs a password");
    InTransaction(db, [&] {
        const DbValue row[] = {name, operatorId};
        const int64_t changed = db.ExecuteSQL(isNew ? L"INSERT INTO HOST_OPERATOR (NAME, ID) VALUES (?, ?)"
                                                    : L"UPDATE HOST_OPERATOR SET NAME = ? WHERE ID = ?",
            row);
        // A password for an operator that is not there would wait for the next operator
        // given its ID.
        if (changed == 0)
            throw std::runtime_error("the operator is no longer there");
        if (!password.empty())
            SetOperatorPassword(db, operatorId, password);
    });
}

void DeleteOperator(CZynDatabase& db, int32_t operatorId)
{
    const DbValue id[] = {operatorId};
    InTransaction(db, [&] {
        db.ExecuteSQL(L"DELETE FROM HOST_PASSWORD WHERE OPERATOR_ID = ?", id);
        db.ExecuteSQL(L"DELETE FROM HOST_OPERATOR WHERE ID = ?", id);
    });
}

std::optional<LoggedInOperator> CheckOperatorLogin(CZynDatabase& db, const CString& name,
    const std::wstring& password)
{
    CString wanted = name;
    wanted.Trim();
    std::optional<LoggedInOperator> who;
    std::string salt, hash;
    int64_t rounds = kPasswordRounds;
    if (!wanted.IsEmpty() && !password.empty()) {
        const DbValue key[] = {wanted};
        DbValue id, stored, saltValue, hashValue, roundsValue;
        const CString from = L" FROM HOST_OPERATOR O JOIN HOST_PASSWORD P ON P.OPERATOR_ID = O.ID "
                             L"WHERE UPPER(O.NAME) = UPPER(?) ORDER BY O.ID LIMIT 1";
        if (db.QueryValue(CString(L"SELECT O.ID") + from, key, id) &&
            db.QueryValue(CString(L"SELECT O.NAME") + from, key, stored) &&
            db.QueryValue(CString(L"SELECT P.SALT") + from, key, saltValue) &&
            db.QueryValue(CString(L"SELECT P.HASH") + from, key, hashValue) &&
            db.QueryValue(CString(L"SELECT P.ROUNDS") + from, key, roundsValue)) {
            const auto n = AsInt(id);
            const auto r = AsInt(roundsValue);
            if (n && r && *r >= 1 && *r <= kMostRounds && std::holds_alternative<CString>(stored)) {
                who = LoggedInOperator{static_cast<int32_t>(*n), std::get<CString>(stored)};
                salt = AsText(saltValue);
                hash = AsText(hashValue);
                rounds = *r;
            }
        }
    }
    // An unknown name costs the same hashing as a known one.
    const auto saltBytes = FromHex(salt);
    std::string utf8 = zyn::base::ToUtf8(password);
    const std::string typed =
        HashPassword(utf8, saltBytes.value_or(std::vector<uint8_t>(kSaltBytes)), static_cast<int32_t>(rounds));
    OPENSSL_cleanse(utf8.data(), utf8.size());
    const bool same = who && saltBytes && typed.size() == hash.size() &&
        CRYPTO_memcmp(typed.data(), hash.data(), typed.size()) == 0;
    return same ? who : std::nullopt;
}

} // namespace host
