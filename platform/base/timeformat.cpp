#include "platform/base/timeformat.h"

#include <cstdint>

#include "platform/base/datecalc.h"

namespace dc = zyn::base::datecalc;

namespace zyn::base {
namespace {

constexpr std::wstring_view kDays[7] = {L"Sunday", L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday",
    L"Saturday"};
constexpr std::wstring_view kMonths[12] = {L"January", L"February", L"March", L"April", L"May", L"June", L"July",
    L"August", L"September", L"October", L"November", L"December"};

void AppendNumber(std::wstring& out, int64_t value, int width, bool noPad)
{
    std::wstring digits;
    const bool negative = value < 0;
    uint64_t v = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + v % 10));
        v /= 10;
    } while (v != 0);
    if (!noPad)
        while (static_cast<int>(digits.size()) < width)
            digits.insert(digits.begin(), L'0');
    if (negative)
        out.push_back(L'-');
    out += digits;
}

int Hour12(int hour) { return hour % 12 == 0 ? 12 : hour % 12; }

} // namespace

std::wstring_view EnglishDayName(int weekday, bool abbreviated)
{
    if (weekday < 0 || weekday > 6)
        return {};
    return abbreviated ? kDays[weekday].substr(0, 3) : kDays[weekday];
}

std::wstring_view EnglishMonthName(int month, bool abbreviated)
{
    if (month < 1 || month > 12)
        return {};
    return abbreviated ? kMonths[month - 1].substr(0, 3) : kMonths[month - 1];
}

std::tm MakeTm(int64_t year, int month, int day, int hour, int minute, int second, int isdst)
{
    std::tm tm{};
    tm.tm_year = static_cast<int>(year - 1900);
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = isdst;
    tm.tm_wday = dc::WeekdayFromDays(dc::DaysFromCivil(year, month, day));
    tm.tm_yday = dc::DayOfYear(year, month, day) - 1;
    return tm;
}

std::optional<std::wstring> FormatTm(std::wstring_view format, const std::tm& tm, std::wstring_view zoneName)
{
    std::wstring out;
    const int64_t year = int64_t{tm.tm_year} + 1900;
    for (size_t i = 0; i < format.size(); ++i) {
        const wchar_t ch = format[i];
        if (ch != L'%') {
            out.push_back(ch);
            continue;
        }
        if (++i >= format.size())
            return std::nullopt;
        bool alt = false;
        if (format[i] == L'#') {
            alt = true;
            if (++i >= format.size())
                return std::nullopt;
        }
        switch (format[i]) {
        case L'a': out += EnglishDayName(tm.tm_wday, true); break;
        case L'A': out += EnglishDayName(tm.tm_wday, false); break;
        case L'b': out += EnglishMonthName(tm.tm_mon + 1, true); break;
        case L'B': out += EnglishMonthName(tm.tm_mon + 1, false); break;
        case L'c':
        case L'x':
            if (alt) {
                out += EnglishDayName(tm.tm_wday, false);
                out += L", ";
                out += EnglishMonthName(tm.tm_mon + 1, false);
                out += L' ';
                AppendNumber(out, tm.tm_mday, 2, false);
                out += L", ";
                AppendNumber(out, year, 4, false);
            } else {
                AppendNumber(out, tm.tm_mon + 1, 2, false);
                out += L'/';
                AppendNumber(out, tm.tm_mday, 2, false);
                out += L'/';
                AppendNumber(out, dc::FloorMod(year, 100), 2, false);
            }
            if (format[i] == L'x')
                break;
            out += L' ';
            [[fallthrough]];
        case L'X':
            AppendNumber(out, tm.tm_hour, 2, false);
            out += L':';
            AppendNumber(out, tm.tm_min, 2, false);
            out += L':';
            AppendNumber(out, tm.tm_sec, 2, false);
            break;
        case L'd': AppendNumber(out, tm.tm_mday, 2, alt); break;
        case L'H': AppendNumber(out, tm.tm_hour, 2, alt); break;
        case L'I': AppendNumber(out, Hour12(tm.tm_hour), 2, alt); break;
        case L'j': AppendNumber(out, tm.tm_yday + 1, 3, alt); break;
        case L'm': AppendNumber(out, tm.tm_mon + 1, 2, alt); break;
        case L'M': AppendNumber(out, tm.tm_min, 2, alt); break;
        case L'S': AppendNumber(out, tm.tm_sec, 2, alt); break;
        case L'p': out += tm.tm_hour < 12 ? L"AM" : L"PM"; break;
        case L'U': AppendNumber(out, (tm.tm_yday + 7 - tm.tm_wday) / 7, 2, alt); break;
        case L'W': AppendNumber(out, (tm.tm_yday + 7 - (tm.tm_wday + 6) % 7) / 7, 2, alt); break;
        case L'w': AppendNumber(out, tm.tm_wday, 1, alt); break;
        case L'y': AppendNumber(out, dc::FloorMod(year, 100), 2, alt); break;
        case L'Y': AppendNumber(out, year, 4, alt); break;
        case L'z':
        case L'Z': out += zoneName; break;
        case L'%': out += L'%'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

} // namespace zyn::base
