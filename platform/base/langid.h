#pragma once
// Language and locale identifiers: LANGID (primary language in bits 0-9, sublanguage in
// bits 10-15) and LCID (a LANGID and a sort identifier in bits 16-19). Shared by the
// resource loader and the user locale.

#include "platform/base/wintypes.h"

constexpr LANGID MAKELANGID(WORD primary, WORD sub) { return static_cast<LANGID>((sub << 10) | primary); }
constexpr WORD PRIMARYLANGID(LANGID lgid) { return static_cast<WORD>(lgid & 0x3FF); }
constexpr WORD SUBLANGID(LANGID lgid) { return static_cast<WORD>(lgid >> 10); }
constexpr LCID MAKELCID(LANGID lgid, WORD sortId) { return (static_cast<DWORD>(sortId) << 16) | lgid; }
constexpr LANGID LANGIDFROMLCID(LCID lcid) { return static_cast<LANGID>(lcid & 0xFFFF); }
constexpr WORD SORTIDFROMLCID(LCID lcid) { return static_cast<WORD>((lcid >> 16) & 0xF); }

inline constexpr WORD LANG_NEUTRAL = 0x00;
inline constexpr WORD LANG_INVARIANT = 0x7F;
inline constexpr WORD LANG_GERMAN = 0x07;
inline constexpr WORD LANG_ENGLISH = 0x09;
inline constexpr WORD LANG_FRENCH = 0x0C;
inline constexpr WORD LANG_DUTCH = 0x13;
inline constexpr WORD SUBLANG_NEUTRAL = 0x00;
inline constexpr WORD SUBLANG_DEFAULT = 0x01;
inline constexpr WORD SUBLANG_SYS_DEFAULT = 0x02;
inline constexpr WORD SUBLANG_ENGLISH_US = 0x01;
inline constexpr WORD SUBLANG_ENGLISH_UK = 0x02;
inline constexpr WORD SUBLANG_GERMAN = 0x01;
inline constexpr WORD SUBLANG_FRENCH = 0x01;
inline constexpr WORD SUBLANG_DUTCH = 0x01;
inline constexpr WORD SORT_DEFAULT = 0x0;

inline constexpr LANGID LANG_SYSTEM_DEFAULT = MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT);
inline constexpr LANGID LANG_USER_DEFAULT = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);
inline constexpr LCID LOCALE_SYSTEM_DEFAULT = MAKELCID(LANG_SYSTEM_DEFAULT, SORT_DEFAULT);
inline constexpr LCID LOCALE_USER_DEFAULT = MAKELCID(LANG_USER_DEFAULT, SORT_DEFAULT);
inline constexpr LCID LOCALE_NEUTRAL = MAKELCID(MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), SORT_DEFAULT);
inline constexpr LCID LOCALE_INVARIANT = MAKELCID(MAKELANGID(LANG_INVARIANT, SUBLANG_NEUTRAL), SORT_DEFAULT);
