// The automation library's date parser (VarDateFromStr): see locale.h for what it
// accepts.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/datecalc.h"
#include "platform/base/locale.h"
#include "platform/base/locale_data.h"
#include "platform/base/timeformat.h"

namespace dc = zyn::base::datecalc;

namespace zyn::base {
namespace {

// Case folding for the Latin letters the built-in locales use; independent of any C
// library locale.
wchar_t Fold(wchar_t c)
{
    if (c >= L'A' && c <= L'Z')
        return static_cast<wchar_t>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<wchar_t>(c + 32);
    if (c >= 0x100 && c <= 0x17F && c % 2 == 0)
        return static_cast<wchar_t>(c + 1);
    return c;
}

bool IsLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7);
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == 0xA0 || c == 0x202F; }

// A name as words are compared with it: folded, without its dots ("Janv." -> "janv").
std::wstring Bare(std::wstring_view name)
{
    std::wstring bare;
    for (const wchar_t c : name)
        if (c != L'.')
            bare.push_back(Fold(c));
    return bare;
}

// Compares a word with a name made bare, ignoring the word's case.
bool MatchesName(std::wstring_view word, const std::wstring& bare)
{
    if (bare.empty() || bare.size() != word.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (Fold(word[i]) != bare[i])
            return false;
    return true;
}

struct Token {
    enum class Kind { Number, Word, Separator } kind;
    int64_t value = 0;
    int digits = 0;
    std::wstring_view text; // a word, within the parsed text
    wchar_t separator = 0;  // ' ' for blanks, '/' for date separators, ':' for time separators, ','
};

constexpr int kMaxDigits = 9;

// The words of one locale as the parser compares them, made bare once: building them
// on every call cost more than the parse. The built-in tables never change, so each
// locale's words are built once per process, on first use, and shared by every thread;
// a call takes the words of the locale its LCID resolves to at that moment, so a changed
// user locale (tests set it) takes effect with the next call.
struct LocaleWords {
    std::array<std::wstring, 12> months, abbrevMonths;
    std::array<std::wstring, 7> days, abbrevDays;
    std::wstring am, pm;
    wchar_t dateSeparator = 0, timeSeparator = 0; // 0 unless one character
    int order = 0; // 0 month-day-year, 1 day-month-year, 2 year-month-day
    bool valid = false;
};

wchar_t SingleChar(std::wstring_view s) { return s.size() == 1 ? s[0] : 0; }

LocaleWords BuildLocaleWords(const LocaleData& loc)
{
    LocaleWords w;
    std::wstring_view text;
    if (!FindLocaleItem(loc, LOCALE_IDATE, text))
        return w;
    w.order = text == L"1" ? 1 : text == L"2" ? 2 : 0;
    auto item = [&](DWORD type) {
        std::wstring_view v;
        FindLocaleItem(loc, type, v);
        return Bare(v);
    };
    for (DWORD i = 0; i < 12; ++i) {
        w.months[i] = item(LOCALE_SMONTHNAME1 + i);
        w.abbrevMonths[i] = item(LOCALE_SABBREVMONTHNAME1 + i);
    }
    for (DWORD i = 0; i < 7; ++i) {
        w.days[i] = item(LOCALE_SDAYNAME1 + i);
        w.abbrevDays[i] = item(LOCALE_SABBREVDAYNAME1 + i);
    }
    w.am = item(LOCALE_S1159);
    w.pm = item(LOCALE_S2359);
    text = {};
    FindLocaleItem(loc, LOCALE_SDATE, text);
    w.dateSeparator = SingleChar(text);
    text = {};
    FindLocaleItem(loc, LOCALE_STIME, text);
    w.timeSeparator = SingleChar(text);
    w.valid = true;
    return w;
}

// The words of the locale an LCID names, or null for an unknown locale.
const LocaleWords* FindLocaleWords(LCID lcid)
{
    static const std::vector<LocaleWords> table = [] {
        std::vector<LocaleWords> t;
        for (const LocaleData& loc : BuiltinLocales())
            t.push_back(BuildLocaleWords(loc));
        return t;
    }();
    const LocaleData* loc = FindLocale(lcid);
    if (!loc)
        return nullptr;
    const auto index = static_cast<size_t>(loc - BuiltinLocales().data());
    return index < table.size() && table[index].valid ? &table[index] : nullptr;
}

// The English names every locale accepts beside its own.
struct EnglishWords {
    std::array<std::wstring, 12> months, abbrevMonths;
    std::array<std::wstring, 7> days, abbrevDays;
    std::wstring am = L"am", pm = L"pm", a = L"a", p = L"p";
};

const EnglishWords& English()
{
    static const EnglishWords words = [] {
        EnglishWords w;
        for (int i = 0; i < 12; ++i) {
            w.months[static_cast<size_t>(i)] = Bare(EnglishMonthName(i + 1, false));
            w.abbrevMonths[static_cast<size_t>(i)] = Bare(EnglishMonthName(i + 1, true));
        }
        for (int i = 0; i < 7; ++i) {
            w.days[static_cast<size_t>(i)] = Bare(EnglishDayName(i, false));
            w.abbrevDays[static_cast<size_t>(i)] = Bare(EnglishDayName(i, true));
        }
        return w;
    }();
    return words;
}

bool Tokenize(std::wstring_view text, const LocaleWords& words, std::vector<Token>& tokens)
{
    for (size_t i = 0; i < text.size();) {
        const wchar_t c = text[i];
        if (IsDigit(c)) {
            Token t{Token::Kind::Number, 0, 0, {}, 0};
            while (i < text.size() && IsDigit(text[i])) {
                if (++t.digits > kMaxDigits)
                    return false;
                t.value = t.value * 10 + (text[i] - L'0');
                ++i;
            }
            tokens.push_back(std::move(t));
        } else if (IsLetter(c)) {
            const size_t start = i;
            while (i < text.size() && IsLetter(text[i]))
                ++i;
            tokens.push_back(Token{Token::Kind::Word, 0, 0, text.substr(start, i - start), 0});
        } else {
            wchar_t sep;
            if (IsSpace(c))
                sep = L' ';
            else if (c == L',')
                sep = L',';
            else if (c == L'/' || c == L'-' || c == L'.')
                sep = L'/';
            else if (c == L':')
                sep = L':';
            else if (words.dateSeparator && c == words.dateSeparator)
                sep = L'/';
            else if (words.timeSeparator && c == words.timeSeparator)
                sep = L':';
            else
                return false;
            tokens.push_back(Token{Token::Kind::Separator, 0, 0, {}, sep});
            ++i;
        }
    }
    return true;
}

bool IsSeparator(const std::vector<Token>& t, size_t i, wchar_t sep)
{
    return i < t.size() && t[i].kind == Token::Kind::Separator && t[i].separator == sep;
}
bool IsNumber(const std::vector<Token>& t, size_t i) { return i < t.size() && t[i].kind == Token::Kind::Number; }

// 1 for AM, 2 for PM, 0 for neither.
int AmPm(std::wstring_view word, const LocaleWords& w)
{
    const EnglishWords& e = English();
    if (MatchesName(word, w.am))
        return 1;
    if (MatchesName(word, w.pm))
        return 2;
    if (MatchesName(word, e.am) || MatchesName(word, e.a))
        return 1;
    if (MatchesName(word, e.pm) || MatchesName(word, e.p))
        return 2;
    return 0;
}

// Month 1..12 named by the word in the locale or in English, else 0.
int MonthOf(std::wstring_view word, const LocaleWords& w)
{
    const EnglishWords& e = English();
    for (size_t i = 0; i < 12; ++i)
        if (MatchesName(word, w.months[i]) || MatchesName(word, w.abbrevMonths[i]))
            return static_cast<int>(i) + 1;
    for (size_t i = 0; i < 12; ++i)
        if (MatchesName(word, e.months[i]) || MatchesName(word, e.abbrevMonths[i]))
            return static_cast<int>(i) + 1;
    return 0;
}

bool IsDayName(std::wstring_view word, const LocaleWords& w)
{
    const EnglishWords& e = English();
    for (size_t i = 0; i < 7; ++i)
        if (MatchesName(word, w.days[i]) || MatchesName(word, w.abbrevDays[i]) || MatchesName(word, e.days[i]) ||
            MatchesName(word, e.abbrevDays[i]))
            return true;
    return false;
}

struct Piece {
    int64_t value;
    int digits;
};

bool YearLike(const Piece& p) { return p.digits >= 3 || p.value > 31; }

int64_t ExpandYear(const Piece& p)
{
    if (p.digits > 2)
        return p.value;
    return p.value < 30 ? 2000 + p.value : 1900 + p.value;
}

struct Ymd {
    int64_t year;
    int64_t month;
    int64_t day;
};

bool Plausible(const Ymd& d)
{
    return d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31
        && d.day <= dc::DaysInMonth(d.year >= 1 && d.year <= 9999 ? d.year : 2000, static_cast<int>(d.month));
}

// The date the numbers and month name stand for, trying the locale's order first.
// The year of today's local date, asked for only when the text names no year.
int64_t CurrentYear()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wYear;
}

// `named` tells which of year, month and day the text gave; the others are completed.
std::optional<Ymd> ResolveDate(const std::vector<Piece>& nums, int month, int order, VariantDateParts& named)
{
    std::vector<Ymd> candidates;
    named.year = named.month = named.day = true;
    if (month != 0) {
        if (nums.size() == 1) {
            if (YearLike(nums[0])) {
                candidates.push_back({ExpandYear(nums[0]), month, 1});
                named.day = false;
            } else {
                candidates.push_back({CurrentYear(), month, nums[0].value});
                named.year = false;
            }
        } else if (nums.size() == 2) {
            const Piece& a = nums[0];
            const Piece& b = nums[1];
            if (YearLike(a) && !YearLike(b))
                candidates.push_back({ExpandYear(a), month, b.value});
            else if (YearLike(b) && !YearLike(a))
                candidates.push_back({ExpandYear(b), month, a.value});
            else if (order == 2)
                candidates.push_back({ExpandYear(a), month, b.value});
            else
                candidates.push_back({ExpandYear(b), month, a.value});
        } else {
            return std::nullopt;
        }
    } else if (nums.size() == 2) {
        const Piece& a = nums[0];
        const Piece& b = nums[1];
        if (YearLike(a) || YearLike(b))
            named.day = false;
        else
            named.year = false;
        if (YearLike(a))
            candidates.push_back({ExpandYear(a), b.value, 1});
        else if (YearLike(b))
            candidates.push_back({ExpandYear(b), a.value, 1});
        else {
            const int64_t year = CurrentYear();
            const Ymd dayFirst{year, b.value, a.value};
            const Ymd monthFirst{year, a.value, b.value};
            candidates = order == 1 ? std::vector<Ymd>{dayFirst, monthFirst} : std::vector<Ymd>{monthFirst, dayFirst};
        }
    } else if (nums.size() == 3) {
        const Piece& a = nums[0];
        const Piece& b = nums[1];
        const Piece& c = nums[2];
        const Ymd mdy{ExpandYear(c), a.value, b.value};
        const Ymd dmy{ExpandYear(c), b.value, a.value};
        const Ymd ymd{ExpandYear(a), b.value, c.value};
        const Ymd ydm{ExpandYear(a), c.value, b.value};
        if (YearLike(a) && !YearLike(c)) {
            candidates = {ymd, ydm};
        } else if (order == 1) {
            candidates = {dmy, mdy, ymd};
        } else if (order == 2) {
            candidates = {ymd, mdy, dmy};
        } else {
            candidates = {mdy, dmy, ymd};
        }
    } else {
        return std::nullopt;
    }
    for (const auto& c : candidates)
        if (Plausible(c))
            return c;
    return std::nullopt;
}

} // namespace

HRESULT ParseVariantDate(std::wstring_view text, LCID lcid, ULONG flags, DATE& out, VariantDateParts* named)
{
    const LocaleWords* found = FindLocaleWords(lcid);
    if (!found)
        return E_INVALIDARG;
    const LocaleWords& words = *found;
    std::vector<Token> tokens;
    if (!Tokenize(text, words, tokens))
        return DISP_E_TYPEMISMATCH;

    std::vector<Piece> nums;
    int month = 0;
    bool haveTime = false;
    int64_t hour = 0, minute = 0, second = 0;
    int ampm = 0;
    for (size_t i = 0; i < tokens.size();) {
        const Token& t = tokens[i];
        if (t.kind == Token::Kind::Separator) {
            if (t.separator == L':')
                return DISP_E_TYPEMISMATCH; // a time separator outside a time
            ++i;
            continue;
        }
        if (t.kind == Token::Kind::Word) {
            if (const int ap = AmPm(t.text, words)) {
                if (ampm)
                    return DISP_E_TYPEMISMATCH;
                ampm = ap;
            } else if (const int m = MonthOf(t.text, words)) {
                if (month)
                    return DISP_E_TYPEMISMATCH;
                month = m;
            } else if (!IsDayName(t.text, words)) {
                return DISP_E_TYPEMISMATCH;
            }
            ++i;
            continue;
        }
        // A number: the hour of h:mm[:ss], an hour before a bare AM/PM, or a date part.
        if (IsSeparator(tokens, i + 1, L':')) {
            if (haveTime || !IsNumber(tokens, i + 2))
                return DISP_E_TYPEMISMATCH;
            haveTime = true;
            hour = t.value;
            minute = tokens[i + 2].value;
            i += 3;
            if (IsSeparator(tokens, i, L':')) {
                if (!IsNumber(tokens, i + 1))
                    return DISP_E_TYPEMISMATCH;
                second = tokens[i + 1].value;
                i += 2;
            }
            continue;
        }
        size_t k = i + 1;
        while (IsSeparator(tokens, k, L' '))
            ++k;
        if (!haveTime && k < tokens.size() && tokens[k].kind == Token::Kind::Word && AmPm(tokens[k].text, words)) {
            haveTime = true;
            hour = t.value;
            ++i;
            continue;
        }
        nums.push_back(Piece{t.value, t.digits});
        ++i;
    }

    if (ampm && !haveTime)
        return DISP_E_TYPEMISMATCH;
    if (haveTime) {
        if (ampm) {
            if (hour > 12)
                return DISP_E_TYPEMISMATCH;
            if (ampm == 2 && hour < 12)
                hour += 12;
            else if (ampm == 1 && hour == 12)
                hour = 0;
        }
        if (hour > 23 || minute > 59 || second > 59)
            return DISP_E_TYPEMISMATCH;
    }

    const bool haveDate = !nums.empty() || month != 0;
    if (!haveDate && !haveTime)
        return DISP_E_TYPEMISMATCH;
    Ymd date{1899, 12, 30};
    VariantDateParts parts;
    parts.time = haveTime;
    if (haveDate) {
        auto resolved = ResolveDate(nums, month, words.order, parts);
        if (!resolved)
            return DISP_E_TYPEMISMATCH;
        date = *resolved;
        if (date.year < 100 || date.year > 9999)
            return DISP_E_OVERFLOW;
    }
    if (flags & VAR_TIMEVALUEONLY)
        date = Ymd{1899, 12, 30};
    if (flags & VAR_DATEVALUEONLY)
        hour = minute = second = 0;
    DATE result = 0;
    if (!OleDateFromFields(static_cast<int>(date.year), static_cast<int>(date.month), static_cast<int>(date.day),
            static_cast<int>(hour), static_cast<int>(minute), static_cast<int>(second), result))
        return DISP_E_TYPEMISMATCH;
    out = result;
    if (named)
        *named = parts;
    return S_OK;
}

} // namespace zyn::base
