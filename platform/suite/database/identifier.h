#pragma once
// Names in the suite's SQL text: plain identifiers, optionally bracketed and qualified
// by a table ("EVENTS.SERIALNUM", "[EVENTS].[SERIALNUM]").

#include "platform/base/cstring.h"

namespace zyn::db {

// True for one to three dot-separated parts, each letters, digits and '_' (not starting
// with a digit), each optionally in brackets.
bool IsPlainIdentifier(LPCWSTR name);
// The last part without brackets ("[EVENTS].[SERIALNUM]" -> "SERIALNUM"); empty when
// the name is not a plain identifier.
CString BareIdentifier(LPCWSTR name);
// The name without any brackets ("[EVENTS].[SERIALNUM]" -> "EVENTS.SERIALNUM").
CString Unbracketed(LPCWSTR name);
// Upper case of ASCII letters only (identifiers are ASCII).
CString UpperAscii(LPCWSTR text);

} // namespace zyn::db
