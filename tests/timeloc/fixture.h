#pragma once
// Shared set-up of the time and locale tests: every test starts in UTC, in en-US, on the
// real clock, and leaves the process as the environment gives it.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "platform/base/exception.h"
#include "platform/base/locale.h"
#include "platform/base/systime.h"
#include "platform/base/testhooks_time.h"

namespace zyn::test {

class TimeLocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(zyn::base::SetTimeZoneForTests(L"UTC"));
        ASSERT_TRUE(zyn::base::SetUserLocaleForTests(LCID_EN_US));
        ASSERT_TRUE(zyn::base::SetSystemTimeForTests(std::nullopt));
    }
    void TearDown() override
    {
        zyn::base::SetTimeZoneForTests(L"");
        zyn::base::SetUserLocaleForTests(0);
        zyn::base::SetSystemTimeForTests(std::nullopt);
    }

    static void UseZone(const wchar_t* name) { ASSERT_TRUE(zyn::base::SetTimeZoneForTests(name)) << "zone missing"; }
};

inline SYSTEMTIME St(int y, int m, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(m);
    st.wDay = static_cast<WORD>(d);
    st.wHour = static_cast<WORD>(h);
    st.wMinute = static_cast<WORD>(mi);
    st.wSecond = static_cast<WORD>(s);
    st.wMilliseconds = static_cast<WORD>(ms);
    return st;
}

// FILETIME of a UTC time given as seconds since 1970 (the FILETIME of 1970 is a fixed
// constant, so the expectation does not come from the code under test).
inline constexpr uint64_t kFileTime1970 = 116444736000000000ull;
inline FILETIME FtFromUnix(int64_t seconds)
{
    const uint64_t ticks = kFileTime1970 + static_cast<uint64_t>(seconds * 10'000'000);
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}
inline void FreezeClockAt(int64_t unixSeconds) { ASSERT_TRUE(zyn::base::SetSystemTimeForTests(FtFromUnix(unixSeconds))); }

// Runs fn and expects it to throw the class library's invalid-argument exception.
inline void ExpectInvalidArg(const std::function<void()>& fn)
{
    bool thrown = false;
    try {
        fn();
    } catch (CException* e) {
        thrown = e->IsKindOf(RUNTIME_CLASS(CInvalidArgException));
        e->Delete();
    }
    EXPECT_TRUE(thrown) << "expected CInvalidArgException";
}

inline std::wstring Fields(const SYSTEMTIME& st)
{
    wchar_t buf[64];
    swprintf(buf, 64, L"%04u-%02u-%02u %02u:%02u:%02u.%03u", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
        st.wSecond, st.wMilliseconds);
    return buf;
}

} // namespace zyn::test
