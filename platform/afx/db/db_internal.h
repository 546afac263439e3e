#pragma once
// Shared helpers of the database classes' implementation (not for callers): the
// translation of driver-layer failures into CDBException and string conversions.

#include <string>
#include <utility>

#include "platform/afx/db/dbexception.h"
#include "platform/afx/db/odbc_driver.h"
#include "platform/base/cstring.h"

namespace zyn::afx::dbi {

[[noreturn]] void ThrowFromDriver(const odbc::Error& e);

// Runs f, turning a driver failure into a thrown CDBException*.
template <class F>
decltype(auto) Guard(F&& f)
{
    try {
        return std::forward<F>(f)();
    } catch (const odbc::Error& e) {
        ThrowFromDriver(e);
    }
}

inline CString ToCString(std::wstring s) { return CString(std::move(s)); }
inline const std::wstring& ToStd(const CString& s) { return s.Str(); }

// Case-insensitive comparison of ASCII-and-beyond names.
bool SameName(const CString& a, const CString& b);
// A bound column name as a bare column: brackets and double quotes removed, the part
// after the last '.' outside quotes ("[EVENTS].[SERIALNUM]" -> "SERIALNUM").
CString BareColumnName(const CString& name);

} // namespace zyn::afx::dbi
