#include "platform/afx/db/field_kinds.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>
#include <string>
#include <variant>
#include <vector>

#include "platform/afx/db/dbexception.h"
#include "platform/afx/db/dbvariant.h"
#include "platform/base/afxcoll.h"
#include "platform/base/ctime.h"
#include "platform/base/oledatetime.h"

namespace zyn::afx::fields {

namespace {

[[noreturn]] void ThrowData(LPCWSTR message, LPCWSTR state) { AfxThrowDBException(SQL_ERROR, message, state); }

[[noreturn]] void ThrowNotInteger(LPCWSTR name, const std::wstring& text, LPCWSTR state)
{
    CString msg;
    msg.Format(L"Column %s: the value %s is not a whole number that fits the field.", name ? name : L"",
        text.c_str());
    ThrowData(msg, state);
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f' || c == L'\v'; }

// A whole number from text ("42", "-7", "42.000", "4.2e1"); false when it is not one.
bool ParseWhole(const std::wstring& raw, int64_t& out)
{
    size_t b = 0, e = raw.size();
    while (b < e && IsBlank(raw[b]))
        ++b;
    while (e > b && IsBlank(raw[e - 1]))
        --e;
    const std::wstring s = raw.substr(b, e - b);
    if (s.empty())
        return false;
    size_t i = 0;
    bool neg = false;
    if (s[i] == L'+' || s[i] == L'-')
        neg = s[i++] == L'-';
    const size_t digitsStart = i;
    unsigned __int128 v = 0;
    while (i < s.size() && s[i] >= L'0' && s[i] <= L'9') {
        v = v * 10 + static_cast<unsigned>(s[i] - L'0');
        if (v > (static_cast<unsigned __int128>(1) << 64))
            return false;
        ++i;
    }
    if (i == digitsStart)
        return false;
    if (i < s.size() && s[i] == L'.') {
        ++i;
        while (i < s.size() && s[i] == L'0')
            ++i;
    }
    if (i < s.size()) {
        if (s[i] != L'e' && s[i] != L'E')
            return false;
        // Exponent form: only when it is exactly a whole number.
        wchar_t* end = nullptr;
        const double d = std::wcstod(s.c_str(), &end);
        if (!end || *end || !std::isfinite(d) || d != std::trunc(d) || std::fabs(d) >= 9.2e18)
            return false;
        out = static_cast<int64_t>(d);
        return true;
    }
    if (neg ? v > (static_cast<unsigned __int128>(1) << 63) : v > static_cast<unsigned __int128>(INT64_MAX))
        return false;
    out = neg ? static_cast<int64_t>(-static_cast<__int128>(v)) : static_cast<int64_t>(v);
    return true;
}

// A column of the current row, as a kind reads it.
struct Column {
    odbc::Statement& st;
    uint16_t col;
    int16_t sqlType;
    LPCWSTR name;
};

// An integer column into a 64-bit value, refusing what would be cut: fractions, values
// out of range and text that is no number (drivers convert those silently).
bool ReadWhole(const Column& c, int64_t& out)
{
    switch (c.sqlType) {
    case SQL_INTEGER:
    case SQL_SMALLINT:
    case SQL_TINYINT:
    case SQL_BIGINT:
    case SQL_BIT:
        return c.st.GetInt64(c.col, out);
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE: {
        double d = 0;
        if (!c.st.GetDouble(c.col, d))
            return false;
        if (!std::isfinite(d) || d != std::trunc(d) || std::fabs(d) >= 9.2e18) {
            wchar_t buf[64];
            std::swprintf(buf, 64, L"%.17g", d);
            ThrowNotInteger(c.name, buf, L"22003");
        }
        out = static_cast<int64_t>(d);
        return true;
    }
    default: {
        std::wstring text;
        if (!c.st.GetText(c.col, text))
            return false;
        if (!ParseWhole(text, out))
            ThrowNotInteger(c.name, text, L"22018");
        return true;
    }
    }
}

// A received output value as a whole number (the driver hands back the kind's own type).
int64_t WholeOf(const odbc::Value& v)
{
    if (auto p = std::get_if<int32_t>(&v))
        return *p;
    if (auto p = std::get_if<int64_t>(&v))
        return *p;
    if (auto p = std::get_if<double>(&v))
        return static_cast<int64_t>(*p);
    if (auto p = std::get_if<std::wstring>(&v))
        return std::wcstoll(p->c_str(), nullptr, 10);
    return 0;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool SameTimestamp(const TIMESTAMP_STRUCT& x, const TIMESTAMP_STRUCT& y)
{
    return x.year == y.year && x.month == y.month && x.day == y.day && x.hour == y.hour && x.minute == y.minute &&
        x.second == y.second && x.fraction == y.fraction;
}

void CopyBytes(CByteArray& a, const std::vector<uint8_t>& b)
{
    a.SetSize(static_cast<INT_PTR>(b.size()));
    if (!b.empty())
        std::memcpy(a.GetData(), b.data(), b.size());
}

TIMESTAMP_STRUCT FromCTime(const CTime& t)
{
    std::tm tm{};
    if (!t.GetLocalTm(&tm))
        ThrowData(L"A CTime value lies outside the range that converts to a timestamp.", L"22008");
    TIMESTAMP_STRUCT ts{};
    ts.year = static_cast<int16_t>(tm.tm_year + 1900);
    ts.month = static_cast<uint16_t>(tm.tm_mon + 1);
    ts.day = static_cast<uint16_t>(tm.tm_mday);
    ts.hour = static_cast<uint16_t>(tm.tm_hour);
    ts.minute = static_cast<uint16_t>(tm.tm_min);
    ts.second = static_cast<uint16_t>(tm.tm_sec);
    return ts;
}

CTime ToCTime(const TIMESTAMP_STRUCT& ts, LPCWSTR column)
{
    try {
        return CTime(ts.year, ts.month, ts.day, ts.hour, ts.minute, ts.second);
    } catch (CException* e) {
        e->Delete();
        CString msg;
        msg.Format(L"Column %s: %04d-%02d-%02d %02d:%02d:%02d does not fit a CTime (1970 to 3000).", column ? column : L"",
            ts.year, ts.month, ts.day, ts.hour, ts.minute, ts.second);
        ThrowData(msg, L"22008");
    }
}

TIMESTAMP_STRUCT FromOle(const COleDateTime& o)
{
    TIMESTAMP_STRUCT ts{};
    ts.year = static_cast<int16_t>(o.GetYear());
    ts.month = static_cast<uint16_t>(o.GetMonth());
    ts.day = static_cast<uint16_t>(o.GetDay());
    ts.hour = static_cast<uint16_t>(o.GetHour());
    ts.minute = static_cast<uint16_t>(o.GetMinute());
    ts.second = static_cast<uint16_t>(o.GetSecond());
    return ts;
}

void ToOle(const TIMESTAMP_STRUCT& ts, COleDateTime& o, LPCWSTR column)
{
    COleDateTime v;
    if (v.SetDateTime(ts.year, ts.month, ts.day, ts.hour, ts.minute, ts.second) != 0) {
        CString msg;
        msg.Format(L"Column %s: %04d-%02d-%02d %02d:%02d:%02d is no valid date.", column ? column : L"", ts.year,
            ts.month, ts.day, ts.hour, ts.minute, ts.second);
        ThrowData(msg, L"22008");
    }
    o = v;
}

// ---- the kinds ---------------------------------------------------------------------
//
// Each description gives the member type and:
//   Snapshot(m) / Holds(m, v) / Restore(m, v)   change detection and CancelUpdate
//   PseudoNull(m) / Neutral(m)                  AddNew's value and a fetched NULL's
//   kDriver, Send(m), kOutputUnits              the parameter
//   Store(m, v, name)                           an output parameter received
//   Read(column, m)                             a result column
//   ToVariant(m, var)                           GetFieldValue

// Whole numbers held in 32 or 64 bits: the snapshot is the value itself, reads and
// outputs refuse values outside [Lo, Hi].
template <class T, class Snap, odbc::Kind D, T PseudoNullValue, int64_t Lo, int64_t Hi>
struct WholeNumber {
    using Member = T;
    static constexpr odbc::Kind kDriver = D;
    static constexpr int kOutputUnits = 0;

    static odbc::Value Snapshot(const T& m) { return Snap{m}; }
    static bool Holds(const T& m, const odbc::Value& v)
    {
        const Snap* p = std::get_if<Snap>(&v);
        return p && *p == static_cast<Snap>(m);
    }
    static void Restore(T& m, const odbc::Value& v)
    {
        const Snap* p = std::get_if<Snap>(&v);
        m = p ? static_cast<T>(*p) : T{};
    }
    static void PseudoNull(T& m) { m = PseudoNullValue; }
    static void Neutral(T& m) { m = 0; }
    static odbc::Value Send(const T& m) { return Snapshot(m); }
    static T Fit(int64_t v, LPCWSTR name)
    {
        if (v < Lo || v > Hi)
            ThrowNotInteger(name, std::to_wstring(v), L"22003");
        return static_cast<T>(v);
    }
    static void Store(T& m, const odbc::Value& v, LPCWSTR name) { m = Fit(WholeOf(v), name); }
    static bool Read(const Column& c, T& m)
    {
        int64_t v = 0;
        if (!ReadWhole(c, v))
            return false;
        m = Fit(v, c.name);
        return true;
    }
};

struct BoolKind : WholeNumber<BOOL, int32_t, odbc::Kind::Bit, 2, INT32_MIN, INT32_MAX> {
    // Any non-zero value is TRUE; the driver gets 0 or 1.
    static odbc::Value Send(const BOOL& m) { return int32_t{m ? 1 : 0}; }
    static void Store(BOOL& m, const odbc::Value& v, LPCWSTR) { m = WholeOf(v) ? TRUE : FALSE; }
    static bool Read(const Column& c, BOOL& m)
    {
        int64_t v = 0;
        if (!ReadWhole(c, v))
            return false;
        m = v ? TRUE : FALSE;
        return true;
    }
    static void ToVariant(const BOOL& m, CDBVariant& var) { var.SetBool(m); }
};

struct ByteKind : WholeNumber<BYTE, int32_t, odbc::Kind::TinyInt, 255, 0, 255> {
    static void ToVariant(const BYTE& m, CDBVariant& var) { var.SetUChar(m); }
};

struct IntKind : WholeNumber<int, int32_t, odbc::Kind::Int32, 0x7EE4, INT32_MIN, INT32_MAX> {
    static void ToVariant(const int& m, CDBVariant& var) { var.SetLong(m); }
};

struct LongKind : WholeNumber<LONG, int32_t, odbc::Kind::Int32, 0x4A4D4120, INT32_MIN, INT32_MAX> {
    static void ToVariant(const LONG& m, CDBVariant& var) { var.SetLong(m); }
};

struct BigIntKind : WholeNumber<int64_t, int64_t, odbc::Kind::Int64, 0x4A4D4120, INT64_MIN, INT64_MAX> {
    static void ToVariant(const int64_t& m, CDBVariant& var) { var.SetBigInt(m); }
};

// float and double: compared bit for bit, so the NaN of pseudo-NULL equals itself.
template <class T, odbc::Kind D>
struct Real {
    using Member = T;
    static constexpr odbc::Kind kDriver = D;
    static constexpr int kOutputUnits = 0;

    static odbc::Value Snapshot(const T& m) { return m; }
    static bool Holds(const T& m, const odbc::Value& v)
    {
        const T* p = std::get_if<T>(&v);
        return p && SameBits(*p, m);
    }
    static void Restore(T& m, const odbc::Value& v)
    {
        if (const T* p = std::get_if<T>(&v))
            m = *p;
    }
    static void PseudoNull(T& m) { m = std::numeric_limits<T>::quiet_NaN(); }
    static void Neutral(T& m) { m = 0; }
    static odbc::Value Send(const T& m) { return m; }
    static void Store(T& m, const odbc::Value& v, LPCWSTR)
    {
        const T* p = std::get_if<T>(&v);
        m = p ? *p : static_cast<T>(WholeOf(v));
    }
};

struct SingleKind : Real<float, odbc::Kind::Float> {
    static bool Read(const Column& c, float& m) { return c.st.GetFloat(c.col, m); }
    static void ToVariant(const float& m, CDBVariant& var) { var.SetSingle(m); }
};

struct DoubleKind : Real<double, odbc::Kind::Double> {
    static bool Read(const Column& c, double& m) { return c.st.GetDouble(c.col, m); }
    static void ToVariant(const double& m, CDBVariant& var) { var.SetDouble(m); }
};

// Text: read whole, however long.
struct TextKind {
    using Member = CString;
    static constexpr odbc::Kind kDriver = odbc::Kind::Text;
    static constexpr int kOutputUnits = 2; // UTF-16 units per character, at most

    static odbc::Value Snapshot(const CString& m) { return m.Str(); }
    static bool Holds(const CString& m, const odbc::Value& v)
    {
        const std::wstring* p = std::get_if<std::wstring>(&v);
        return p && *p == m.Str();
    }
    static void Restore(CString& m, const odbc::Value& v)
    {
        if (const std::wstring* p = std::get_if<std::wstring>(&v))
            m.Str() = *p;
    }
    static void PseudoNull(CString& m) { m.Empty(); }
    static void Neutral(CString& m) { m.Empty(); }
    static odbc::Value Send(const CString& m) { return m.Str(); }
    static void Store(CString& m, const odbc::Value& v, LPCWSTR) { Restore(m, v); }
    static bool Read(const Column& c, CString& m)
    {
        std::wstring s;
        if (!c.st.GetText(c.col, s))
            return false;
        m.Str() = std::move(s);
        return true;
    }
    static void ToVariant(const CString& m, CDBVariant& var) { var.SetString(m); }
};

struct BinaryKind {
    using Member = CByteArray;
    static constexpr odbc::Kind kDriver = odbc::Kind::Binary;
    static constexpr int kOutputUnits = 1;

    static odbc::Value Snapshot(const CByteArray& m)
    {
        return std::vector<uint8_t>(m.GetData(), m.GetData() + m.GetSize());
    }
    static bool Holds(const CByteArray& m, const odbc::Value& v)
    {
        const auto* p = std::get_if<std::vector<uint8_t>>(&v);
        return p && p->size() == static_cast<size_t>(m.GetSize()) &&
            (p->empty() || std::memcmp(p->data(), m.GetData(), p->size()) == 0);
    }
    static void Restore(CByteArray& m, const odbc::Value& v)
    {
        if (const auto* p = std::get_if<std::vector<uint8_t>>(&v))
            CopyBytes(m, *p);
    }
    static void PseudoNull(CByteArray& m) { m.SetSize(0); }
    static void Neutral(CByteArray& m) { m.SetSize(0); }
    static odbc::Value Send(const CByteArray& m) { return Snapshot(m); }
    static void Store(CByteArray& m, const odbc::Value& v, LPCWSTR) { Restore(m, v); }
    static bool Read(const Column& c, CByteArray& m)
    {
        std::vector<uint8_t> b;
        if (!c.st.GetBinary(c.col, b))
            return false;
        CopyBytes(m, b);
        return true;
    }
    static void ToVariant(const CByteArray& m, CDBVariant& var) { var.SetBinary(m); }
};

// CTime: local wall-clock time in the column; the snapshot is its seconds.
struct TimeKind {
    using Member = CTime;
    static constexpr odbc::Kind kDriver = odbc::Kind::Timestamp;
    static constexpr int kOutputUnits = 0;

    static odbc::Value Snapshot(const CTime& m) { return m.GetTime(); }
    static bool Holds(const CTime& m, const odbc::Value& v)
    {
        const int64_t* p = std::get_if<int64_t>(&v);
        return p && *p == m.GetTime();
    }
    static void Restore(CTime& m, const odbc::Value& v)
    {
        if (const int64_t* p = std::get_if<int64_t>(&v))
            m = CTime(*p);
    }
    static void PseudoNull(CTime& m) { m = CTime(0); }
    static void Neutral(CTime& m) { m = CTime(0); }
    static odbc::Value Send(const CTime& m) { return FromCTime(m); }
    static void Store(CTime& m, const odbc::Value& v, LPCWSTR name)
    {
        if (const auto* p = std::get_if<TIMESTAMP_STRUCT>(&v))
            m = ToCTime(*p, name);
    }
    static bool Read(const Column& c, CTime& m)
    {
        TIMESTAMP_STRUCT ts{};
        if (!c.st.GetTimestamp(c.col, ts))
            return false;
        m = ToCTime(ts, c.name);
        return true;
    }
    static void ToVariant(const CTime& m, CDBVariant& var) { var.SetDate(FromCTime(m)); }
};

struct TimestampKind {
    using Member = TIMESTAMP_STRUCT;
    static constexpr odbc::Kind kDriver = odbc::Kind::Timestamp;
    static constexpr int kOutputUnits = 0;

    static odbc::Value Snapshot(const TIMESTAMP_STRUCT& m) { return m; }
    static bool Holds(const TIMESTAMP_STRUCT& m, const odbc::Value& v)
    {
        const auto* p = std::get_if<TIMESTAMP_STRUCT>(&v);
        return p && SameTimestamp(*p, m);
    }
    static void Restore(TIMESTAMP_STRUCT& m, const odbc::Value& v)
    {
        if (const auto* p = std::get_if<TIMESTAMP_STRUCT>(&v))
            m = *p;
    }
    static void PseudoNull(TIMESTAMP_STRUCT& m) { m = TIMESTAMP_STRUCT{}; }
    static void Neutral(TIMESTAMP_STRUCT& m) { m = TIMESTAMP_STRUCT{}; }
    static odbc::Value Send(const TIMESTAMP_STRUCT& m) { return m; }
    static void Store(TIMESTAMP_STRUCT& m, const odbc::Value& v, LPCWSTR) { Restore(m, v); }
    static bool Read(const Column& c, TIMESTAMP_STRUCT& m) { return c.st.GetTimestamp(c.col, m); }
    static void ToVariant(const TIMESTAMP_STRUCT& m, CDBVariant& var) { var.SetDate(m); }
};

// COleDateTime: a valid value snapshots as its DATE, any other as its status; one that is
// not valid is sent as NULL.
struct OleDateKind {
    using Member = COleDateTime;
    static constexpr odbc::Kind kDriver = odbc::Kind::Timestamp;
    static constexpr int kOutputUnits = 0;

    static odbc::Value Snapshot(const COleDateTime& m)
    {
        if (m.GetStatus() == COleDateTime::valid)
            return static_cast<double>(static_cast<DATE>(m));
        return int32_t{m.GetStatus()};
    }
    static bool Holds(const COleDateTime& m, const odbc::Value& v)
    {
        if (m.GetStatus() == COleDateTime::valid) {
            const double* p = std::get_if<double>(&v);
            return p && SameBits(*p, static_cast<double>(static_cast<DATE>(m)));
        }
        const int32_t* p = std::get_if<int32_t>(&v);
        return p && *p == static_cast<int32_t>(m.GetStatus());
    }
    static void Restore(COleDateTime& m, const odbc::Value& v)
    {
        COleDateTime o;
        if (const double* p = std::get_if<double>(&v)) {
            o = COleDateTime(static_cast<DATE>(*p));
        } else {
            const int32_t* s = std::get_if<int32_t>(&v);
            o.SetStatus(static_cast<COleDateTime::DateTimeStatus>(s ? *s : 0));
        }
        m = o;
    }
    static void PseudoNull(COleDateTime& m)
    {
        COleDateTime o;
        o.SetStatus(COleDateTime::null);
        m = o;
    }
    static void Neutral(COleDateTime& m) { PseudoNull(m); }
    static odbc::Value Send(const COleDateTime& m)
    {
        if (m.GetStatus() != COleDateTime::valid)
            return odbc::Null{};
        return FromOle(m);
    }
    static void Store(COleDateTime& m, const odbc::Value& v, LPCWSTR name)
    {
        if (const auto* p = std::get_if<TIMESTAMP_STRUCT>(&v))
            ToOle(*p, m, name);
    }
    static bool Read(const Column& c, COleDateTime& m)
    {
        TIMESTAMP_STRUCT ts{};
        if (!c.st.GetTimestamp(c.col, ts))
            return false;
        ToOle(ts, m, c.name);
        return true;
    }
    static void ToVariant(const COleDateTime& m, CDBVariant& var) { var.SetDate(FromOle(m)); }
};

// The one dispatch over the kinds: calls op with the kind's description (a value of
// its type) and returns what op returns.
template <class Op>
decltype(auto) Visit(FieldKind kind, Op&& op)
{
    switch (kind) {
    case FieldKind::Bool: return op(BoolKind{});
    case FieldKind::Byte: return op(ByteKind{});
    case FieldKind::Int: return op(IntKind{});
    case FieldKind::Long: return op(LongKind{});
    case FieldKind::BigInt: return op(BigIntKind{});
    case FieldKind::Single: return op(SingleKind{});
    case FieldKind::Double: return op(DoubleKind{});
    case FieldKind::Text: return op(TextKind{});
    case FieldKind::Binary: return op(BinaryKind{});
    case FieldKind::Time: return op(TimeKind{});
    case FieldKind::Timestamp: return op(TimestampKind{});
    case FieldKind::OleDate: return op(OleDateKind{});
    }
    // A FieldRef built by hand with a value outside the enumeration.
    AfxThrowDBException(AFX_SQL_ERROR_FIELD_SCHEMA_MISMATCH, L"A bound field has an unknown kind.");
}

// The member a field binds, typed by its kind's description.
template <class K>
typename K::Member& MemberOf(const FieldRef& f)
{
    return *static_cast<typename K::Member*>(f.value);
}

} // namespace

odbc::Value Snapshot(const FieldRef& f)
{
    return Visit(f.kind, [&](auto k) { return decltype(k)::Snapshot(MemberOf<decltype(k)>(f)); });
}

bool Holds(const FieldRef& f, const odbc::Value& snapshot)
{
    return Visit(f.kind, [&](auto k) { return decltype(k)::Holds(MemberOf<decltype(k)>(f), snapshot); });
}

void Restore(const FieldRef& f, const odbc::Value& snapshot)
{
    Visit(f.kind, [&](auto k) { decltype(k)::Restore(MemberOf<decltype(k)>(f), snapshot); });
}

void SetPseudoNull(const FieldRef& f)
{
    Visit(f.kind, [&](auto k) { decltype(k)::PseudoNull(MemberOf<decltype(k)>(f)); });
}

void SetNeutral(const FieldRef& f)
{
    Visit(f.kind, [&](auto k) { decltype(k)::Neutral(MemberOf<decltype(k)>(f)); });
}

odbc::Kind DriverKind(FieldKind kind)
{
    return Visit(kind, [](auto k) { return decltype(k)::kDriver; });
}

odbc::Value SendValue(const FieldRef& f, bool isNull)
{
    if (isNull)
        return odbc::Null{};
    return Visit(f.kind, [&](auto k) { return decltype(k)::Send(MemberOf<decltype(k)>(f)); });
}

uint64_t OutputColumnSize(const FieldRef& f)
{
    const int units = Visit(f.kind, [](auto k) { return decltype(k)::kOutputUnits; });
    return units ? static_cast<uint64_t>(std::max(f.maxLength, 1)) * static_cast<uint64_t>(units) : 0;
}

void Store(const FieldRef& f, const odbc::Value& v)
{
    Visit(f.kind, [&](auto k) { decltype(k)::Store(MemberOf<decltype(k)>(f), v, f.name); });
}

bool Read(odbc::Statement& st, uint16_t col, int16_t sqlType, const FieldRef& f)
{
    const Column c{st, col, sqlType, f.name};
    return Visit(f.kind, [&](auto k) { return decltype(k)::Read(c, MemberOf<decltype(k)>(f)); });
}

void ToVariant(const FieldRef& f, CDBVariant& var)
{
    Visit(f.kind, [&](auto k) { decltype(k)::ToVariant(MemberOf<decltype(k)>(f), var); });
}

} // namespace zyn::afx::fields
