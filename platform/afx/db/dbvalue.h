#pragma once
// A database value for parameters bound to raw statements of CDatabase (ExecuteSQL with
// parameters, QueryValue): NULL, 32-bit or 64-bit integer, double, text, timestamp or
// bytes.

#include <cstdint>
#include <variant>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/sqldate.h"

namespace zyn::afx {

using DbValue = std::variant<std::monostate, int32_t, int64_t, double, CString, TIMESTAMP_STRUCT, std::vector<uint8_t>>;

inline bool IsNull(const DbValue& v) { return std::holds_alternative<std::monostate>(v); }

} // namespace zyn::afx
