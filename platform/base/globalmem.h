#pragma once
// Global and local memory blocks (GlobalAlloc, LocalAlloc and friends).
//
// A moveable block (GMEM_MOVEABLE) is a handle of the Global handle table: GlobalLock
// returns its address and counts the lock, GlobalUnlock counts it down, and a stale or
// foreign handle fails with ERROR_INVALID_HANDLE. A fixed block (GMEM_FIXED), as on
// Windows, is returned as its own address, so code may use it directly as a pointer;
// GlobalLock of it returns the same address. Local memory is the same allocator.
// A locked moveable block is never moved: GlobalReAlloc beyond its room fails while it
// is locked, so no outstanding pointer is left dangling.

#include "platform/base/wintypes.h"

inline constexpr UINT GMEM_FIXED = 0x0000;
inline constexpr UINT GMEM_MOVEABLE = 0x0002;
inline constexpr UINT GMEM_NOCOMPACT = 0x0010;
inline constexpr UINT GMEM_NODISCARD = 0x0020;
inline constexpr UINT GMEM_ZEROINIT = 0x0040;
inline constexpr UINT GMEM_MODIFY = 0x0080;
inline constexpr UINT GMEM_DISCARDABLE = 0x0100;
inline constexpr UINT GMEM_SHARE = 0x2000;
inline constexpr UINT GMEM_DDESHARE = 0x2000;
inline constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
inline constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;
inline constexpr UINT GMEM_LOCKCOUNT = 0x00FF;
inline constexpr UINT GMEM_INVALID_HANDLE = 0x8000;

inline constexpr UINT LMEM_FIXED = 0x0000;
inline constexpr UINT LMEM_MOVEABLE = 0x0002;
inline constexpr UINT LMEM_ZEROINIT = 0x0040;
inline constexpr UINT LMEM_MODIFY = 0x0080;
inline constexpr UINT LHND = LMEM_MOVEABLE | LMEM_ZEROINIT;
inline constexpr UINT LPTR = LMEM_FIXED | LMEM_ZEROINIT;
inline constexpr UINT LMEM_INVALID_HANDLE = 0x8000;

// Null with ERROR_NOT_ENOUGH_MEMORY when the block cannot be had (absurd sizes included).
HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes);
// GMEM_MODIFY changes only the flags; otherwise resizes (GMEM_ZEROINIT zero-fills the
// growth). A fixed block may get a new address only with GMEM_MOVEABLE in uFlags.
HGLOBAL GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags);
// Null on success; the handle itself on failure.
HGLOBAL GlobalFree(HGLOBAL hMem);
LPVOID GlobalLock(HGLOBAL hMem);
// TRUE while the block is still locked; FALSE with NO_ERROR when the count reached 0,
// FALSE with ERROR_NOT_LOCKED when it was not locked.
BOOL GlobalUnlock(HGLOBAL hMem);
// The size asked for; 0 with ERROR_INVALID_HANDLE for a bad handle.
SIZE_T GlobalSize(HGLOBAL hMem);
// The lock count in the low byte; GMEM_INVALID_HANDLE for a bad handle.
UINT GlobalFlags(HGLOBAL hMem);
// The handle of a block from the address GlobalLock gave.
HGLOBAL GlobalHandle(LPCVOID pMem);

HLOCAL LocalAlloc(UINT uFlags, SIZE_T uBytes);
HLOCAL LocalReAlloc(HLOCAL hMem, SIZE_T uBytes, UINT uFlags);
HLOCAL LocalFree(HLOCAL hMem);
LPVOID LocalLock(HLOCAL hMem);
BOOL LocalUnlock(HLOCAL hMem);
SIZE_T LocalSize(HLOCAL hMem);
UINT LocalFlags(HLOCAL hMem);
HLOCAL LocalHandle(LPCVOID pMem);
