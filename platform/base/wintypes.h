#pragma once
// Scalar types, structures and handle types of the Windows-style API, with their
// Windows widths: DWORD, UINT, LONG, BOOL and COLORREF are 32-bit; WPARAM, LPARAM,
// LRESULT and the *_PTR types are pointer-sized. C++ `long` is never used.

#include <cstddef>
#include <cstdint>

// ---- scalars ---------------------------------------------------------------
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using INT = int32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using SHORT = int16_t;
using USHORT = uint16_t;
using BOOL = int32_t;
using BOOLEAN = uint8_t;
using CHAR = char;
using UCHAR = unsigned char;
using WCHAR = wchar_t;
using TCHAR = wchar_t;
using FLOAT = float;
using DOUBLE = double;
using LONGLONG = int64_t;
using ULONGLONG = uint64_t;
using DWORDLONG = uint64_t;
using DWORD64 = uint64_t;
using INT64 = int64_t;
using UINT64 = uint64_t;
using INT32 = int32_t;
using UINT32 = uint32_t;
using INT_PTR = intptr_t;
using UINT_PTR = uintptr_t;
using LONG_PTR = intptr_t;
using ULONG_PTR = uintptr_t;
using DWORD_PTR = uintptr_t;
using SIZE_T = size_t;
using SSIZE_T = ptrdiff_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using HRESULT = int32_t;
using ATOM = WORD;
using COLORREF = DWORD;
using LCID = DWORD;
using LANGID = WORD;
using ACCESS_MASK = DWORD;
using REGSAM = ACCESS_MASK;

using LPVOID = void*;
using LPCVOID = const void*;
using PVOID = void*;
using LPBYTE = BYTE*;
using PBYTE = BYTE*;
using LPWORD = WORD*;
using LPDWORD = DWORD*;
using PDWORD = DWORD*;
using LPLONG = LONG*;
using PLONG = LONG*;
using LPINT = int*;
using PUINT = UINT*;
using LPBOOL = BOOL*;
using LPSTR = char*;
using LPCSTR = const char*;
using PSTR = char*;
using PCSTR = const char*;
using LPWSTR = wchar_t*;
using LPCWSTR = const wchar_t*;
using PWSTR = wchar_t*;
using PCWSTR = const wchar_t*;
using LPTSTR = wchar_t*;
using LPCTSTR = const wchar_t*;
using PTSTR = wchar_t*;
using PCTSTR = const wchar_t*;
using LPOLESTR = wchar_t*;
using LPCOLESTR = const wchar_t*;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

#ifndef _T
#define _T(x) L##x
#endif
#ifndef _TEXT
#define _TEXT(x) L##x
#endif
#ifndef TEXT
#define TEXT(x) L##x
#endif

// ---- handles ----------------------------------------------------------------
// Distinct opaque pointer types. Their values encode a table, an index and a
// generation (see handle_table.h) and are never below 0x10000. HANDLE and HGDIOBJ
// are generic so that CloseHandle, SelectObject and DeleteObject accept their kinds.
#define ZYN_DECLARE_HANDLE(name) \
    struct name##__ {            \
        int unused;              \
    };                           \
    using name = name##__*

using HANDLE = void*;
using HGDIOBJ = void*;
using HGLOBAL = HANDLE;
using HLOCAL = HANDLE;
ZYN_DECLARE_HANDLE(HWND);
ZYN_DECLARE_HANDLE(HDC);
ZYN_DECLARE_HANDLE(HMENU);
ZYN_DECLARE_HANDLE(HPEN);
ZYN_DECLARE_HANDLE(HBRUSH);
ZYN_DECLARE_HANDLE(HFONT);
ZYN_DECLARE_HANDLE(HBITMAP);
ZYN_DECLARE_HANDLE(HRGN);
ZYN_DECLARE_HANDLE(HPALETTE);
ZYN_DECLARE_HANDLE(HICON);
ZYN_DECLARE_HANDLE(HINSTANCE);
ZYN_DECLARE_HANDLE(HKEY);
ZYN_DECLARE_HANDLE(HACCEL);
ZYN_DECLARE_HANDLE(HHOOK);
ZYN_DECLARE_HANDLE(HRSRC);
ZYN_DECLARE_HANDLE(HMONITOR);
ZYN_DECLARE_HANDLE(HDROP);
using HCURSOR = HICON;
using HMODULE = HINSTANCE;
using HDWP = HANDLE;
using PHKEY = HKEY*;
using HTHEME = HANDLE;

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));

// ---- structures ---------------------------------------------------------------
struct POINT {
    LONG x;
    LONG y;
};
using LPPOINT = POINT*;
using PPOINT = POINT*;

struct POINTS {
    SHORT x;
    SHORT y;
};

struct SIZE {
    LONG cx;
    LONG cy;
};
using LPSIZE = SIZE*;

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;
using PRECT = RECT*;

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using UUID = GUID;
using REFGUID = const GUID&;
using REFIID = const GUID&;
using REFCLSID = const GUID&;

struct LARGE_INTEGER_PARTS {
    DWORD LowPart;
    LONG HighPart;
};
union LARGE_INTEGER {
    LARGE_INTEGER_PARTS u;
    LONGLONG QuadPart;
};
union ULARGE_INTEGER {
    struct {
        DWORD LowPart;
        DWORD HighPart;
    } u;
    ULONGLONG QuadPart;
};

struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

// ---- word and colour helpers (functions, not macros) -------------------------------
constexpr WORD LOWORD(uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr BYTE LOBYTE(uintptr_t v) { return static_cast<BYTE>(v & 0xFF); }
constexpr BYTE HIBYTE(uintptr_t v) { return static_cast<BYTE>((v >> 8) & 0xFF); }
constexpr LONG MAKELONG(WORD lo, WORD hi) { return static_cast<LONG>(static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16)); }
constexpr WORD MAKEWORD(BYTE lo, BYTE hi) { return static_cast<WORD>(lo | (hi << 8)); }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(lo, hi))); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(lo, hi))); }
constexpr LRESULT MAKELRESULT(WORD lo, WORD hi) { return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(lo, hi))); }
constexpr int GET_X_LPARAM(LPARAM lp) { return static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(lp))); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return static_cast<SHORT>(HIWORD(static_cast<uintptr_t>(lp))); }

constexpr COLORREF RGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
constexpr COLORREF PALETTERGB(int r, int g, int b) { return 0x02000000u | RGB(r, g, b); }
constexpr COLORREF PALETTEINDEX(WORD i) { return 0x01000000u | i; }
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;
inline constexpr COLORREF CLR_NONE = 0xFFFFFFFFu;
inline constexpr COLORREF CLR_DEFAULT = 0xFF000000u;

// Resource names: an integer below 0x10000 carried in a string pointer.
inline LPWSTR MAKEINTRESOURCE(uintptr_t id) { return reinterpret_cast<LPWSTR>(id & 0xFFFF); }
inline LPWSTR MAKEINTRESOURCEW(uintptr_t id) { return MAKEINTRESOURCE(id); }
inline LPSTR MAKEINTRESOURCEA(uintptr_t id) { return reinterpret_cast<LPSTR>(id & 0xFFFF); }
inline bool IS_INTRESOURCE(const void* p) { return (reinterpret_cast<uintptr_t>(p) >> 16) == 0; }

// HRESULT helpers.
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }
constexpr HRESULT MAKE_HRESULT(uint32_t sev, uint32_t fac, uint32_t code)
{
    return static_cast<HRESULT>((sev << 31) | (fac << 16) | code);
}
constexpr HRESULT HRESULT_FROM_WIN32(DWORD e)
{
    return static_cast<HRESULT>(e) <= 0 ? static_cast<HRESULT>(e)
                                        : static_cast<HRESULT>((e & 0x0000FFFF) | (7u << 16) | 0x80000000u);
}
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004u);
inline constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005u);
inline constexpr HRESULT E_HANDLE = static_cast<HRESULT>(0x80070006u);

inline constexpr DWORD INFINITE = 0xFFFFFFFFu;
inline constexpr int MAX_PATH = 260;
