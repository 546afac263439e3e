#pragma once
// The console's operator log-in: each operator of HOST_OPERATOR who may log in has a row
// in HOST_PASSWORD holding a random salt and the PBKDF2-HMAC-SHA-256 of the password
// under that salt (hex), with the round count it was made with, so a later version may
// raise the count without breaking stored passwords. The plain password is never stored.
//
// A console whose HOST_PASSWORD table is empty (its first run) gets the operator "admin"
// with the initial password kInitialAdminPassword; the operator should change it. A log-in
// is checked by name (any case) and password; a wrong name and a wrong password give the
// same answer, after the same work, so the answer tells nothing about which names exist.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/cstring.h"

class CZynDatabase;

namespace host {

inline constexpr const wchar_t* kInitialAdminName = L"admin";
inline constexpr const wchar_t* kInitialAdminPassword = L"zyn-admin";
inline constexpr int32_t kPasswordRounds = 100000;

// PBKDF2-HMAC-SHA-256 of the UTF-8 password with the salt, 32 bytes, as lower-case hex.
// Throws std::invalid_argument for rounds below 1, std::runtime_error when the crypto
// library fails.
std::string HashPassword(const std::string& utf8Password, const std::vector<uint8_t>& salt, int32_t rounds);

// Creates HOST_PASSWORD when missing and, when it has no row, seeds "admin" (added to
// HOST_OPERATOR when not there) with the initial password. True when it seeded. Raises
// the database exception on failure.
bool PrepareOperatorLogin(CZynDatabase& db);

// Gives the operator a new password under a fresh salt. Raises the database exception on
// failure; std::invalid_argument for an empty password.
void SetOperatorPassword(CZynDatabase& db, int32_t operatorId, const std::wstring& password);

// What the operators' screen stores: a new operator with its password, or an operator
// renamed and, when `password` is not empty, given a new one (empty keeps the old). The
// row and the password are written in one transaction: on failure neither changed.
// std::invalid_argument, with nothing written, for a new operator without a password;
// std::runtime_error when the operator to change is not there; otherwise raises the
// database exception.
void StoreOperator(CZynDatabase& db, int32_t operatorId, const CString& name, bool isNew,
    const std::wstring& password);

// Deletes the operator and its password in one transaction, so an operator added later
// under the same ID never inherits the password. Nothing for an unknown ID. Raises the
// database exception on failure, with nothing deleted.
void DeleteOperator(CZynDatabase& db, int32_t operatorId);

struct LoggedInOperator {
    int32_t id = 0;
    CString name;  // as stored, whatever case was typed
};
// The operator when the name (any case, blanks around it ignored) and the password match;
// nothing when either is wrong or the operator has no password. Raises the database
// exception when the tables cannot be read.
std::optional<LoggedInOperator> CheckOperatorLogin(CZynDatabase& db, const CString& name,
    const std::wstring& password);

} // namespace host
