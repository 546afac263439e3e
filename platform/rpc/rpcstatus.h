#pragma once
// Status values of the RPC runtime. They are Win32 error numbers, so a status and a
// GetLastError value share one space; a fault that a server sends with a code of its
// own (for example an exception code such as 0xC0000005) reaches the caller unchanged.

#include "platform/base/wintypes.h"

using RPC_STATUS = LONG;

inline constexpr RPC_STATUS RPC_S_OK = 0;
inline constexpr RPC_STATUS RPC_S_OUT_OF_MEMORY = 14;
inline constexpr RPC_STATUS RPC_S_INVALID_ARG = 87;
inline constexpr RPC_STATUS RPC_S_INVALID_STRING_BINDING = 1700;
inline constexpr RPC_STATUS RPC_S_WRONG_KIND_OF_BINDING = 1701;
inline constexpr RPC_STATUS RPC_S_INVALID_BINDING = 1702;
inline constexpr RPC_STATUS RPC_S_PROTSEQ_NOT_SUPPORTED = 1703;
inline constexpr RPC_STATUS RPC_S_INVALID_RPC_PROTSEQ = 1704;
inline constexpr RPC_STATUS RPC_S_INVALID_STRING_UUID = 1705;
inline constexpr RPC_STATUS RPC_S_INVALID_ENDPOINT_FORMAT = 1706;
inline constexpr RPC_STATUS RPC_S_INVALID_NET_ADDR = 1707;
inline constexpr RPC_STATUS RPC_S_NO_ENDPOINT_FOUND = 1708;
inline constexpr RPC_STATUS RPC_S_INVALID_TIMEOUT = 1709;
inline constexpr RPC_STATUS RPC_S_UNKNOWN_IF = 1717;
inline constexpr RPC_STATUS RPC_S_OUT_OF_RESOURCES = 1721;
inline constexpr RPC_STATUS RPC_S_SERVER_UNAVAILABLE = 1722;
inline constexpr RPC_STATUS RPC_S_SERVER_TOO_BUSY = 1723;
inline constexpr RPC_STATUS RPC_S_CALL_FAILED = 1726;
inline constexpr RPC_STATUS RPC_S_CALL_FAILED_DNE = 1727;
inline constexpr RPC_STATUS RPC_S_PROTOCOL_ERROR = 1728;
inline constexpr RPC_STATUS RPC_S_UNSUPPORTED_TRANS_SYN = 1730;
inline constexpr RPC_STATUS RPC_S_UNSUPPORTED_TYPE = 1732;
inline constexpr RPC_STATUS RPC_S_INVALID_TAG = 1733;
inline constexpr RPC_STATUS RPC_S_INVALID_BOUND = 1734;
inline constexpr RPC_STATUS RPC_S_UNKNOWN_AUTHN_SERVICE = 1747;
inline constexpr RPC_STATUS RPC_S_PROCNUM_OUT_OF_RANGE = 1745;
inline constexpr RPC_STATUS RPC_S_ZERO_DIVIDE = 1767;
inline constexpr RPC_STATUS RPC_S_ADDRESS_ERROR = 1768;
inline constexpr RPC_STATUS RPC_S_FP_DIV_ZERO = 1769;
inline constexpr RPC_STATUS RPC_S_FP_UNDERFLOW = 1770;
inline constexpr RPC_STATUS RPC_S_FP_OVERFLOW = 1771;
inline constexpr RPC_STATUS RPC_X_NULL_REF_POINTER = 1780;
inline constexpr RPC_STATUS RPC_X_ENUM_VALUE_OUT_OF_RANGE = 1781;
inline constexpr RPC_STATUS RPC_X_BYTE_COUNT_TOO_SMALL = 1782;
inline constexpr RPC_STATUS RPC_X_BAD_STUB_DATA = 1783;
inline constexpr RPC_STATUS RPC_S_CALL_CANCELLED = 1818;
inline constexpr RPC_STATUS RPC_S_COMM_FAILURE = 1820;
inline constexpr RPC_STATUS RPC_X_INVALID_BOUND = RPC_S_INVALID_BOUND;
inline constexpr RPC_STATUS RPC_X_INVALID_TAG = RPC_S_INVALID_TAG;
