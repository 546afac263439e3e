#pragma once
// Field checks shared by the visit and video line parsers: counts, required and
// optional integers, texts and dates, each giving a reason when the line is refused.

#include <optional>

#include "archive/archive_line.h"
#include "platform/base/cstring.h"
#include "platform/base/sqldate.h"

namespace zyn::archive::fields {

// The line has between nMin and nMax fields.
bool CheckCount(const ArchiveFields& f, int nMin, int nMax, LPCWSTR lpszWhat, CString& reason);
// A field that must hold a number.
bool Required(const ArchiveFields& f, int n, LPCWSTR lpszName, LONG& out, CString& reason);
// A number, or 0 when the field is absent or blank; other text refuses the line.
bool NumberOrZero(const ArchiveFields& f, int n, LPCWSTR lpszName, LONG& out, CString& reason);
// A number, or NULL when the field is absent or blank; other text refuses the line.
bool NumberOrNull(const ArchiveFields& f, int n, LPCWSTR lpszName, std::optional<LONG>& out, CString& reason);
// Unescaped text; NULL when the field is absent or empty (after trailing white space is
// dropped, with bTrimRight).
std::optional<CString> Text(const ArchiveFields& f, int n, bool bTrimRight);
// An archive date of the years 1970 to 2036; NULL otherwise.
std::optional<TIMESTAMP_STRUCT> ArchiveTime(const ArchiveFields& f, int n);

} // namespace zyn::archive::fields
