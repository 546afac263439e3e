#include "platform/base/tzrule.h"

#include <cstring>
#include <string>

#include "platform/base/datecalc.h"

namespace zyn::base {
namespace {

constexpr int32_t kMaxRuleTime = 167 * 3600 + 59 * 60 + 59; // POSIX allows up to 167 h
constexpr size_t kMaxNameLength = 31;                          // the record's name fields hold 31

bool IsAsciiAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

void CopyName(WCHAR (&dst)[32], std::wstring_view name)
{
    const size_t n = name.size() < kMaxNameLength ? name.size() : kMaxNameLength;
    for (size_t i = 0; i < n; ++i)
        dst[i] = name[i];
    dst[n] = L'\0';
}

std::wstring Widen(std::string_view s) { return std::wstring(s.begin(), s.end()); }

// Recursive-descent reader over the rule text.
class RuleReader {
public:
    explicit RuleReader(std::string_view text) : m_s(text) {}

    bool AtEnd() const { return m_i >= m_s.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_s[m_i]; }
    bool Accept(char c)
    {
        if (Peek() != c)
            return false;
        ++m_i;
        return true;
    }

    // std / dst designation: three or more letters, or <...> of letters, digits, + and -.
    std::optional<std::string> Name()
    {
        std::string name;
        if (Accept('<')) {
            while (!AtEnd() && Peek() != '>') {
                const char c = Peek();
                if (!IsAsciiAlpha(c) && !IsAsciiDigit(c) && c != '+' && c != '-')
                    return std::nullopt;
                name.push_back(c);
                ++m_i;
            }
            if (!Accept('>'))
                return std::nullopt;
        } else {
            while (IsAsciiAlpha(Peek()))
                name.push_back(m_s[m_i++]);
        }
        if (name.size() < 3 || name.size() > kMaxNameLength)
            return std::nullopt;
        return name;
    }

    // [+-]hh[:mm[:ss]] in seconds, hours up to maxHours.
    std::optional<int32_t> Time(int maxHours)
    {
        int sign = 1;
        if (Accept('-'))
            sign = -1;
        else
            Accept('+');
        auto hours = Number(3);
        if (!hours || *hours > maxHours)
            return std::nullopt;
        int32_t total = *hours * 3600;
        if (Accept(':')) {
            auto minutes = Number(2);
            if (!minutes || *minutes > 59)
                return std::nullopt;
            total += *minutes * 60;
            if (Accept(':')) {
                auto seconds = Number(2);
                if (!seconds || *seconds > 59)
                    return std::nullopt;
                total += *seconds;
            }
        }
        return sign * total;
    }

    std::optional<int32_t> Number(int maxDigits)
    {
        int32_t v = 0;
        int digits = 0;
        while (IsAsciiDigit(Peek())) {
            if (++digits > maxDigits)
                return std::nullopt;
            v = v * 10 + (m_s[m_i++] - '0');
        }
        if (digits == 0)
            return std::nullopt;
        return v;
    }

private:
    std::string_view m_s;
    size_t m_i = 0;
};

struct RuleDate {
    enum class Kind { Julian1, Julian0, MonthWeekDay } kind;
    int a = 0; // day (Jn, n) or month
    int w = 0;
    int d = 0;
    int32_t time = 2 * 3600;
};

std::optional<RuleDate> ReadRuleDate(RuleReader& r)
{
    RuleDate date{};
    if (r.Accept('M')) {
        date.kind = RuleDate::Kind::MonthWeekDay;
        auto m = r.Number(2);
        if (!m || *m < 1 || *m > 12 || !r.Accept('.'))
            return std::nullopt;
        auto w = r.Number(1);
        if (!w || *w < 1 || *w > 5 || !r.Accept('.'))
            return std::nullopt;
        auto d = r.Number(1);
        if (!d || *d > 6)
            return std::nullopt;
        date.a = *m;
        date.w = *w;
        date.d = *d;
    } else if (r.Accept('J')) {
        date.kind = RuleDate::Kind::Julian1;
        auto n = r.Number(3);
        if (!n || *n < 1 || *n > 365)
            return std::nullopt;
        date.a = *n;
    } else {
        date.kind = RuleDate::Kind::Julian0;
        auto n = r.Number(3);
        if (!n || *n > 365)
            return std::nullopt;
        date.a = *n;
    }
    if (r.Accept('/')) {
        auto t = r.Time(167);
        if (!t || *t > kMaxRuleTime || *t < -kMaxRuleTime)
            return std::nullopt;
        date.time = *t;
    }
    return date;
}

// The change date as a record date. Negative times borrow whole days from the date.
SYSTEMTIME ToSystemTimeRule(const RuleDate& date)
{
    SYSTEMTIME st{};
    int32_t time = date.time;
    int dayShift = 0;
    while (time < 0) {
        time += 24 * 3600;
        --dayShift;
    }
    st.wHour = static_cast<WORD>(time / 3600);
    st.wMinute = static_cast<WORD>(time / 60 % 60);
    st.wSecond = static_cast<WORD>(time % 60);
    if (date.kind == RuleDate::Kind::MonthWeekDay) {
        st.wYear = 0;
        st.wMonth = static_cast<WORD>(date.a);
        st.wDay = static_cast<WORD>(date.w);
        st.wDayOfWeek = static_cast<WORD>(datecalc::FloorMod(date.d + dayShift, 7));
    } else {
        // Day of a non-leap year, 1-based; n counts from 0.
        int yday = date.kind == RuleDate::Kind::Julian1 ? date.a : date.a + 1;
        yday += dayShift;
        if (yday < 1)
            yday += 365;
        if (yday > 365)
            yday = 365;
        const auto civil = datecalc::CivilFromDays(datecalc::DaysFromCivil(2001, 1, 1) + yday - 1);
        st.wYear = 1;
        st.wMonth = static_cast<WORD>(civil.month);
        st.wDay = static_cast<WORD>(civil.day);
    }
    return st;
}

bool CoversWholeYear(const RuleDate& start, const RuleDate& end, int32_t saving)
{
    const bool startsAtNewYear = ((start.kind == RuleDate::Kind::Julian1 && start.a == 1)
                                     || (start.kind == RuleDate::Kind::Julian0 && start.a == 0))
        && start.time <= 0;
    const bool endsAtYearEnd = ((end.kind == RuleDate::Kind::Julian1 && end.a == 365)
                                   || (end.kind == RuleDate::Kind::Julian0 && end.a >= 364))
        && end.time >= 24 * 3600 + saving;
    return startsAtNewYear && endsAtYearEnd;
}

uint32_t ReadBE32(const uint8_t* p)
{
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16)
        | (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

struct TzifHeader {
    char version = 0;
    uint32_t isutcnt = 0, isstdcnt = 0, leapcnt = 0, timecnt = 0, typecnt = 0, charcnt = 0;
};

constexpr size_t kHeaderSize = 44;

std::optional<TzifHeader> ReadHeader(std::span<const uint8_t> data, size_t at)
{
    if (data.size() < at || data.size() - at < kHeaderSize)
        return std::nullopt;
    const uint8_t* p = data.data() + at;
    if (std::memcmp(p, "TZif", 4) != 0)
        return std::nullopt;
    TzifHeader h;
    h.version = static_cast<char>(p[4]);
    if (h.version != 0 && (h.version < '2' || h.version > '9'))
        return std::nullopt;
    h.isutcnt = ReadBE32(p + 20);
    h.isstdcnt = ReadBE32(p + 24);
    h.leapcnt = ReadBE32(p + 28);
    h.timecnt = ReadBE32(p + 32);
    h.typecnt = ReadBE32(p + 36);
    h.charcnt = ReadBE32(p + 40);
    if (h.typecnt == 0 || h.typecnt > 256 || h.charcnt == 0)
        return std::nullopt;
    if ((h.isutcnt != 0 && h.isutcnt != h.typecnt) || (h.isstdcnt != 0 && h.isstdcnt != h.typecnt))
        return std::nullopt;
    return h;
}

uint64_t BlockSize(const TzifHeader& h, int timeSize)
{
    return uint64_t{h.timecnt} * timeSize + h.timecnt + uint64_t{h.typecnt} * 6 + h.charcnt
        + uint64_t{h.leapcnt} * (timeSize + 4) + h.isstdcnt + h.isutcnt;
}

// The zone without daylight saving that the data block describes: the type of the last
// transition, or the first type.
std::optional<TIME_ZONE_INFORMATION> FixedZoneFromBlock(std::span<const uint8_t> data, size_t at,
    const TzifHeader& h, int timeSize)
{
    const uint8_t* p = data.data() + at;
    const uint8_t* indices = p + uint64_t{h.timecnt} * timeSize;
    const uint8_t* types = indices + h.timecnt;
    const uint8_t* chars = types + uint64_t{h.typecnt} * 6;
    uint32_t type = 0;
    if (h.timecnt > 0)
        type = indices[h.timecnt - 1];
    if (type >= h.typecnt)
        return std::nullopt;
    const uint8_t* t = types + type * 6;
    const int32_t utoff = static_cast<int32_t>(ReadBE32(t));
    const uint32_t abbrIndex = t[5];
    if (abbrIndex >= h.charcnt || utoff < -25 * 3600 || utoff > 26 * 3600)
        return std::nullopt;
    std::string name;
    for (uint32_t i = abbrIndex; i < h.charcnt && chars[i] != 0 && name.size() < kMaxNameLength; ++i)
        name.push_back(static_cast<char>(chars[i]));
    return FixedTimeZone(utoff, Widen(name));
}

} // namespace

TIME_ZONE_INFORMATION FixedTimeZone(int32_t utcOffsetSeconds, std::wstring_view name)
{
    TIME_ZONE_INFORMATION tz{};
    tz.Bias = -utcOffsetSeconds / 60;
    CopyName(tz.StandardName, name);
    CopyName(tz.DaylightName, name);
    return tz;
}

std::optional<TIME_ZONE_INFORMATION> TimeZoneFromPosixRule(std::string_view rule)
{
    RuleReader r(rule);
    auto stdName = r.Name();
    if (!stdName)
        return std::nullopt;
    auto stdWest = r.Time(24); // POSIX offsets count west of UTC
    if (!stdWest)
        return std::nullopt;
    if (r.AtEnd())
        return FixedTimeZone(-*stdWest, Widen(*stdName));

    auto dstName = r.Name();
    if (!dstName)
        return std::nullopt;
    int32_t dstWest = *stdWest - 3600;
    if (r.Peek() != ',' && !r.AtEnd()) {
        auto t = r.Time(24);
        if (!t)
            return std::nullopt;
        dstWest = *t;
    }
    // Without dates POSIX leaves the rule to the implementation; take the common one.
    RuleDate start{RuleDate::Kind::MonthWeekDay, 3, 2, 0, 2 * 3600};
    RuleDate end{RuleDate::Kind::MonthWeekDay, 11, 1, 0, 2 * 3600};
    if (r.Accept(',')) {
        auto s = ReadRuleDate(r);
        if (!s || !r.Accept(','))
            return std::nullopt;
        auto e = ReadRuleDate(r);
        if (!e)
            return std::nullopt;
        start = *s;
        end = *e;
    }
    if (!r.AtEnd())
        return std::nullopt;

    if (dstWest == *stdWest)
        return FixedTimeZone(-*stdWest, Widen(*stdName));
    if (CoversWholeYear(start, end, *stdWest - dstWest))
        return FixedTimeZone(-dstWest, Widen(*dstName));

    TIME_ZONE_INFORMATION tz{};
    if (dstWest < *stdWest) {
        tz.Bias = *stdWest / 60;
        tz.DaylightBias = (dstWest - *stdWest) / 60;
        CopyName(tz.StandardName, Widen(*stdName));
        CopyName(tz.DaylightName, Widen(*dstName));
        tz.DaylightDate = ToSystemTimeRule(start); // in standard time
        tz.StandardDate = ToSystemTimeRule(end);   // in daylight time
    } else {
        // Negative saving: the rule's "daylight" part is the western one. Its start date is
        // given in the eastern offset's time, which is now the daylight time, and so on.
        tz.Bias = dstWest / 60;
        tz.DaylightBias = (*stdWest - dstWest) / 60;
        CopyName(tz.StandardName, Widen(*dstName));
        CopyName(tz.DaylightName, Widen(*stdName));
        tz.StandardDate = ToSystemTimeRule(start);
        tz.DaylightDate = ToSystemTimeRule(end);
    }
    tz.StandardBias = 0;
    return tz;
}

std::optional<TIME_ZONE_INFORMATION> TimeZoneFromTzif(std::span<const uint8_t> data)
{
    auto v1 = ReadHeader(data, 0);
    if (!v1)
        return std::nullopt;
    const uint64_t v1Size = BlockSize(*v1, 4);
    if (v1Size > data.size() - kHeaderSize)
        return std::nullopt;
    if (v1->version == 0)
        return FixedZoneFromBlock(data, kHeaderSize, *v1, 4);

    const size_t at2 = kHeaderSize + static_cast<size_t>(v1Size);
    auto v2 = ReadHeader(data, at2);
    if (!v2)
        return std::nullopt;
    const uint64_t v2Size = BlockSize(*v2, 8);
    if (v2Size > data.size() - at2 - kHeaderSize)
        return std::nullopt;
    const size_t footerAt = at2 + kHeaderSize + static_cast<size_t>(v2Size);
    // The footer: a newline, the rule (possibly empty), a newline.
    if (footerAt >= data.size() || data[footerAt] != '\n')
        return std::nullopt;
    size_t endAt = footerAt + 1;
    while (endAt < data.size() && data[endAt] != '\n')
        ++endAt;
    if (endAt >= data.size())
        return std::nullopt;
    const std::string_view footer(reinterpret_cast<const char*>(data.data()) + footerAt + 1, endAt - footerAt - 1);
    if (footer.empty())
        return FixedZoneFromBlock(data, at2 + kHeaderSize, *v2, 8);
    return TimeZoneFromPosixRule(footer);
}

} // namespace zyn::base
