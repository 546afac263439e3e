// The user locale: identifiers, GetLocaleInfo, date and time pictures.
#include <cstdlib>
#include <string>

#include "platform/base/codepage.h"
#include "platform/base/lasterror.h"
#include "tests/timeloc/fixture.h"

using namespace zyn::test;

namespace {

std::wstring Info(LCID lcid, LCTYPE type)
{
    wchar_t buf[128];
    const int n = GetLocaleInfoW(lcid, type, buf, 128);
    EXPECT_GT(n, 0) << "item " << type;
    return n > 0 ? std::wstring(buf, n - 1) : std::wstring();
}

DWORD Number(LCID lcid, LCTYPE type)
{
    DWORD v = 0xDEADBEEF;
    EXPECT_EQ(GetLocaleInfoW(lcid, type | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&v), sizeof(DWORD) / sizeof(WCHAR)),
        static_cast<int>(sizeof(DWORD) / sizeof(WCHAR)));
    return v;
}

std::wstring Date(LCID lcid, DWORD flags, const SYSTEMTIME& st, const wchar_t* picture = nullptr)
{
    wchar_t buf[128];
    const int n = GetDateFormatW(lcid, flags, &st, picture, buf, 128);
    EXPECT_GT(n, 0) << "error " << GetLastError();
    return n > 0 ? std::wstring(buf, n - 1) : std::wstring();
}

std::wstring Time(LCID lcid, DWORD flags, const SYSTEMTIME& st, const wchar_t* picture = nullptr)
{
    wchar_t buf[128];
    const int n = GetTimeFormatW(lcid, flags, &st, picture, buf, 128);
    EXPECT_GT(n, 0) << "error " << GetLastError();
    return n > 0 ? std::wstring(buf, n - 1) : std::wstring();
}

const SYSTEMTIME kJuly5th = St(2008, 7, 5, 15, 4, 5);

// Sets locale variables for one test and restores them after.
class LocaleEnv {
public:
    LocaleEnv()
    {
        for (int i = 0; i < 3; ++i)
            if (const char* v = std::getenv(kNames[i]))
                m_old[i] = v;
        for (const char* n : kNames)
            ::unsetenv(n);
    }
    ~LocaleEnv()
    {
        for (int i = 0; i < 3; ++i) {
            if (m_old[i])
                ::setenv(kNames[i], m_old[i]->c_str(), 1);
            else
                ::unsetenv(kNames[i]);
        }
    }
    static LCID Resolve(const char* name, const char* value)
    {
        for (const char* n : kNames)
            ::unsetenv(n);
        if (name)
            ::setenv(name, value, 1);
        EXPECT_TRUE(zyn::base::SetUserLocaleForTests(0));
        return GetUserDefaultLCID();
    }

private:
    static constexpr const char* kNames[3] = {"LC_ALL", "LC_TIME", "LANG"};
    std::optional<std::string> m_old[3];
};

} // namespace

class LocaleInfo : public TimeLocTest {};

TEST_F(LocaleInfo, IdentifiersAndDefaults)
{
    EXPECT_EQ(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), 0x0407);
    EXPECT_EQ(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK), SORT_DEFAULT), LCID_EN_GB);
    EXPECT_EQ(LOCALE_USER_DEFAULT, 0x0400u);
    EXPECT_EQ(LOCALE_SYSTEM_DEFAULT, 0x0800u);
    EXPECT_EQ(PRIMARYLANGID(0x0809), LANG_ENGLISH);
    EXPECT_EQ(SUBLANGID(0x0809), SUBLANG_ENGLISH_UK);
    ASSERT_TRUE(zyn::base::SetUserLocaleForTests(LCID_DE_DE));
    EXPECT_EQ(GetUserDefaultLCID(), LCID_DE_DE);
    EXPECT_EQ(GetSystemDefaultLCID(), LCID_DE_DE);
    EXPECT_EQ(GetThreadLocale(), LCID_DE_DE);
    EXPECT_EQ(GetUserDefaultLangID(), 0x0407);
    EXPECT_EQ(Info(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE), L"dd.MM.yyyy");
    EXPECT_EQ(Info(LANG_USER_DEFAULT, LOCALE_SSHORTDATE), L"dd.MM.yyyy");
    EXPECT_EQ(Info(LOCALE_NEUTRAL, LOCALE_SISO639LANGNAME), L"de");
    EXPECT_EQ(GetACP(), 1252u);
    EXPECT_FALSE(zyn::base::SetUserLocaleForTests(0x0411)) << "no built-in Japanese";
    EXPECT_EQ(GetUserDefaultLCID(), LCID_DE_DE);
    EXPECT_TRUE(IsValidLocale(LCID_NL_NL, LCID_SUPPORTED));
    EXPECT_FALSE(IsValidLocale(0x0411, LCID_SUPPORTED));
}

TEST_F(LocaleInfo, ItemsOfEachLocale)
{
    EXPECT_EQ(Info(LCID_EN_US, LOCALE_SSHORTDATE), L"M/d/yyyy");
    EXPECT_EQ(Info(LCID_EN_US, LOCALE_STIMEFORMAT), L"h:mm:ss tt");
    EXPECT_EQ(Info(LCID_EN_US, LOCALE_S1159), L"AM");
    EXPECT_EQ(Info(LCID_EN_US, LOCALE_SDAYNAME1), L"Monday") << "day 1 is Monday";
    EXPECT_EQ(Info(LCID_EN_US, LOCALE_SABBREVDAYNAME7), L"Sun");
    EXPECT_EQ(Info(LCID_EN_US, LOCALE_SENGLANGUAGE), L"English");
    EXPECT_EQ(Info(LCID_EN_US, LOCALE_SISO3166CTRYNAME), L"US");
    EXPECT_EQ(Info(LCID_EN_GB, LOCALE_SSHORTDATE), L"dd/MM/yyyy");
    EXPECT_EQ(Info(LCID_EN_GB, LOCALE_SISO3166CTRYNAME), L"GB");
    EXPECT_EQ(Info(LCID_DE_DE, LOCALE_SMONTHNAME3), L"M\u00E4rz");
    EXPECT_EQ(Info(LCID_DE_DE, LOCALE_SABBREVMONTHNAME3), L"Mrz");
    EXPECT_EQ(Info(LCID_DE_DE, LOCALE_SDECIMAL), L",");
    EXPECT_EQ(Info(LCID_DE_DE, LOCALE_STHOUSAND), L".");
    EXPECT_EQ(Info(LCID_DE_DE, LOCALE_SLIST), L";");
    EXPECT_EQ(Info(LCID_DE_DE, LOCALE_S1159), L"");
    EXPECT_EQ(Info(LCID_DE_DE, LOCALE_SENGLANGUAGE), L"German");
    EXPECT_EQ(Info(LCID_FR_FR, LOCALE_SMONTHNAME8), L"ao\u00FBt");
    EXPECT_EQ(Info(LCID_FR_FR, LOCALE_STHOUSAND), L"\u00A0");
    EXPECT_EQ(Info(LCID_NL_NL, LOCALE_SSHORTDATE), L"d-M-yyyy");
    EXPECT_EQ(Info(LCID_NL_NL, LOCALE_SMONTHNAME13), L"");
    EXPECT_EQ(Info(LOCALE_INVARIANT, LOCALE_SSHORTDATE), L"MM/dd/yyyy");
    EXPECT_EQ(Info(LCID_DE_DE | LOCALE_NOUSEROVERRIDE, LOCALE_SDATE), L".") << "sort bits and flags ignored";
    EXPECT_EQ(Info(LCID_DE_DE, LOCALE_SDATE | LOCALE_NOUSEROVERRIDE), L".");
    EXPECT_EQ(Info(MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL), LOCALE_SNAME), L"de-DE") << "neutral sublanguage";
}

TEST_F(LocaleInfo, NumbersOnRequest)
{
    EXPECT_EQ(Number(LCID_DE_DE, LOCALE_IDATE), 1u);
    EXPECT_EQ(Number(LCID_EN_US, LOCALE_IDATE), 0u);
    EXPECT_EQ(Number(LCID_EN_US, LOCALE_ITIME), 0u);
    EXPECT_EQ(Number(LCID_DE_DE, LOCALE_ILANGUAGE), 0x0407u);
    EXPECT_EQ(Number(LCID_FR_FR, LOCALE_IDEFAULTANSICODEPAGE), 1252u);
    EXPECT_EQ(Number(LCID_EN_US, LOCALE_IFIRSTDAYOFWEEK), 6u);
    wchar_t buf[8];
    SetLastError(0);
    EXPECT_EQ(GetLocaleInfoW(LCID_EN_US, LOCALE_SSHORTDATE | LOCALE_RETURN_NUMBER, buf, 8), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
}

TEST_F(LocaleInfo, BufferRules)
{
    EXPECT_EQ(GetLocaleInfoW(LCID_EN_US, LOCALE_SSHORTDATE, nullptr, 0), 9) << "size query counts the terminator";
    wchar_t small[4];
    SetLastError(0);
    EXPECT_EQ(GetLocaleInfoW(LCID_EN_US, LOCALE_SSHORTDATE, small, 4), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    wchar_t exact[9];
    EXPECT_EQ(GetLocaleInfoW(LCID_EN_US, LOCALE_SSHORTDATE, exact, 9), 9);
    EXPECT_STREQ(exact, L"M/d/yyyy");
    SetLastError(0);
    EXPECT_EQ(GetLocaleInfoW(0x0411, LOCALE_SSHORTDATE, exact, 9), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(GetLocaleInfoW(LCID_EN_US, 0x7777, exact, 9), 0);
    EXPECT_EQ(GetLocaleInfoW(LCID_EN_US, LOCALE_SSHORTDATE, nullptr, 9), 0);
    EXPECT_EQ(GetLocaleInfoW(LCID_EN_US, LOCALE_SSHORTDATE, exact, -1), 0);
}

TEST_F(LocaleInfo, LocaleFromTheEnvironment)
{
    LocaleEnv env;
    EXPECT_EQ(LocaleEnv::Resolve("LC_ALL", "de_DE.UTF-8"), LCID_DE_DE);
    EXPECT_EQ(LocaleEnv::Resolve("LC_TIME", "nl_NL"), LCID_NL_NL);
    EXPECT_EQ(LocaleEnv::Resolve("LANG", "en_GB.UTF-8"), LCID_EN_GB);
    EXPECT_EQ(LocaleEnv::Resolve("LANG", "fr_CA.UTF-8"), LCID_FR_FR) << "language without the country";
    EXPECT_EQ(LocaleEnv::Resolve("LANG", "de_AT@euro"), LCID_DE_DE);
    EXPECT_EQ(LocaleEnv::Resolve("LANG", "C.UTF-8"), LCID_EN_US);
    EXPECT_EQ(LocaleEnv::Resolve("LANG", "ja_JP.UTF-8"), LCID_EN_US);
    EXPECT_EQ(LocaleEnv::Resolve(nullptr, nullptr), LCID_EN_US);
    ::setenv("LANG", "de_DE.UTF-8", 1);
    ::setenv("LC_ALL", "fr_FR.UTF-8", 1);
    ASSERT_TRUE(zyn::base::SetUserLocaleForTests(0));
    EXPECT_EQ(GetUserDefaultLCID(), LCID_FR_FR) << "LC_ALL wins";
}

class DatePictures : public TimeLocTest {};

TEST_F(DatePictures, EnglishUnitedStates)
{
    EXPECT_EQ(Date(LCID_EN_US, DATE_SHORTDATE, kJuly5th), L"7/5/2008");
    EXPECT_EQ(Date(LCID_EN_US, 0, kJuly5th), L"7/5/2008");
    EXPECT_EQ(Date(LCID_EN_US, DATE_LONGDATE, kJuly5th), L"Saturday, July 05, 2008");
    EXPECT_EQ(Date(LCID_EN_US, DATE_YEARMONTH, kJuly5th), L"July, 2008");
    EXPECT_EQ(Date(LCID_EN_US, 0, kJuly5th, L"dd MMM yyyy"), L"05 Jul 2008");
    EXPECT_EQ(Date(LCID_EN_US, 0, kJuly5th, L"d/M/yy"), L"5/7/08");
    EXPECT_EQ(Date(LCID_EN_US, 0, St(2005, 1, 9), L"y|yy|yyyy"), L"5|05|2005");
    EXPECT_EQ(Date(LCID_EN_US, 0, kJuly5th, L"ddd, MMMM d"), L"Sat, July 5");
    EXPECT_EQ(Date(LCID_EN_US, 0, kJuly5th, L"gg yyyy"), L"A.D. 2008");
    EXPECT_EQ(Date(LCID_EN_US, 0, kJuly5th, L"yyyy'-'MM'-'dd' o''clock' hh:mm"), L"2008-07-05 o'clock hh:mm")
        << "quoted text, a doubled quote, time letters copied";
    EXPECT_EQ(Date(LCID_EN_US, 0, kJuly5th, L"''dd''"), L"'05'");
    EXPECT_EQ(Date(LCID_EN_US, 0, kJuly5th, L"'unterminated"), L"unterminated");
}

TEST_F(DatePictures, GermanAndFrench)
{
    EXPECT_EQ(Date(LCID_DE_DE, DATE_SHORTDATE, kJuly5th), L"05.07.2008");
    EXPECT_EQ(Date(LCID_DE_DE, DATE_LONGDATE, kJuly5th), L"Samstag, 5. Juli 2008");
    EXPECT_EQ(Date(LCID_DE_DE, 0, St(2008, 3, 3), L"ddd d. MMM yyyy"), L"Mo 3. Mrz 2008");
    EXPECT_EQ(Date(LCID_FR_FR, DATE_LONGDATE, kJuly5th), L"samedi 5 juillet 2008");
    EXPECT_EQ(Date(LCID_NL_NL, DATE_SHORTDATE, kJuly5th), L"5-7-2008");
    EXPECT_EQ(Date(LCID_EN_GB, DATE_LONGDATE, kJuly5th), L"05 July 2008");
}

TEST_F(DatePictures, ErrorsAndBuffers)
{
    wchar_t buf[64];
    SetLastError(0);
    EXPECT_EQ(GetDateFormatW(LCID_EN_US, DATE_SHORTDATE, &kJuly5th, L"yyyy", buf, 64), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
    EXPECT_EQ(GetDateFormatW(LCID_EN_US, DATE_SHORTDATE | DATE_LONGDATE, &kJuly5th, nullptr, buf, 64), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
    const SYSTEMTIME bad = St(2008, 2, 30);
    EXPECT_EQ(GetDateFormatW(LCID_EN_US, 0, &bad, nullptr, buf, 64), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(GetDateFormatW(LCID_EN_US, DATE_SHORTDATE, &kJuly5th, nullptr, nullptr, 0), 9);
    EXPECT_EQ(GetDateFormatW(LCID_EN_US, DATE_SHORTDATE, &kJuly5th, nullptr, buf, 8), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(GetDateFormatW(0x0411, 0, &kJuly5th, nullptr, buf, 64), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    // The weekday comes from the date, never from wDayOfWeek.
    SYSTEMTIME wrong = kJuly5th;
    wrong.wDayOfWeek = 2;
    EXPECT_EQ(Date(LCID_EN_US, 0, wrong, L"dddd"), L"Saturday");
}

TEST_F(DatePictures, NullDateIsToday)
{
    UseZone(L"Europe/Berlin");
    FreezeClockAt(1215298800); // 2008-07-05 23:00 UTC = 07-06 01:00 CEST
    wchar_t buf[64];
    ASSERT_GT(GetDateFormatW(LCID_EN_US, 0, nullptr, L"yyyy-MM-dd", buf, 64), 0);
    EXPECT_STREQ(buf, L"2008-07-06");
    ASSERT_GT(GetTimeFormatW(LCID_EN_US, 0, nullptr, L"HH:mm", buf, 64), 0);
    EXPECT_STREQ(buf, L"01:00");
}

class TimePictures : public TimeLocTest {};

TEST_F(TimePictures, EnglishUnitedStatesAndFlags)
{
    EXPECT_EQ(Time(LCID_EN_US, 0, kJuly5th), L"3:04:05 PM");
    EXPECT_EQ(Time(LCID_EN_US, TIME_NOSECONDS, kJuly5th), L"3:04 PM");
    EXPECT_EQ(Time(LCID_EN_US, TIME_NOMINUTESORSECONDS, kJuly5th), L"3 PM");
    EXPECT_EQ(Time(LCID_EN_US, TIME_NOTIMEMARKER, kJuly5th), L"3:04:05");
    EXPECT_EQ(Time(LCID_EN_US, TIME_FORCE24HOURFORMAT, kJuly5th), L"15:04:05 PM");
    EXPECT_EQ(Time(LCID_EN_US, TIME_FORCE24HOURFORMAT | TIME_NOTIMEMARKER, kJuly5th), L"15:04:05");
    EXPECT_EQ(Time(LCID_EN_US, 0, St(2008, 1, 1, 0, 0, 0)), L"12:00:00 AM");
    EXPECT_EQ(Time(LCID_EN_US, 0, St(2008, 1, 1, 12, 30, 0)), L"12:30:00 PM");
    EXPECT_EQ(Time(LCID_EN_US, 0, kJuly5th, L"hh:mm tt"), L"03:04 PM");
    EXPECT_EQ(Time(LCID_EN_US, 0, kJuly5th, L"H:m:s t"), L"15:4:5 P");
    EXPECT_EQ(Time(LCID_EN_US, TIME_NOTIMEMARKER, kJuly5th, L"tt hh:mm"), L"03:04") << "a leading marker and its blank";
    EXPECT_EQ(Time(LCID_EN_US, 0, kJuly5th, L"HH:mm dd"), L"15:04 dd") << "date letters copied";
}

TEST_F(TimePictures, GermanAndErrors)
{
    EXPECT_EQ(Time(LCID_DE_DE, 0, kJuly5th), L"15:04:05");
    EXPECT_EQ(Time(LCID_DE_DE, TIME_NOSECONDS, kJuly5th), L"15:04");
    EXPECT_EQ(Time(LCID_DE_DE, 0, kJuly5th, L"HH' Uhr 'mm"), L"15 Uhr 04");
    EXPECT_EQ(Time(LCID_DE_DE, TIME_NOSECONDS, kJuly5th, L"HH:mm:ss' Uhr'"), L"15:04 Uhr");
    EXPECT_EQ(Time(LCID_DE_DE, 0, St(2008, 1, 1, 9, 5, 0), L"tt"), L"") << "no markers in German";
    EXPECT_EQ(Time(LCID_NL_NL, 0, St(2008, 1, 1, 9, 5, 0)), L"9:05:00");
    wchar_t buf[64];
    const SYSTEMTIME bad = St(2008, 1, 1, 24, 0, 0);
    SetLastError(0);
    EXPECT_EQ(GetTimeFormatW(LCID_EN_US, 0, &bad, nullptr, buf, 64), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(GetTimeFormatW(LCID_EN_US, 0x100, &kJuly5th, nullptr, buf, 64), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
    // The date fields of a time are not looked at.
    SYSTEMTIME timeOnly{};
    timeOnly.wHour = 7;
    EXPECT_EQ(Time(LCID_EN_US, 0, timeOnly), L"7:00:00 AM");
}
