#include "archive/archive_line_fields.h"

namespace zyn::archive::fields {

namespace {

bool IsBlank(const CString& text)
{
    CString t(text);
    t.Trim();
    return t.IsEmpty();
}

void NotANumber(LPCWSTR lpszName, const ArchiveFields& f, int n, CString& reason)
{
    CString shown = EscapeArchiveText(f.Raw(n).Left(40));
    reason.Format(L"field %d (%s) is no number: \"%s\"", n, lpszName, shown.GetString());
}

} // namespace

bool CheckCount(const ArchiveFields& f, int nMin, int nMax, LPCWSTR lpszWhat, CString& reason)
{
    if (f.Count() < nMin) {
        reason.Format(L"%d field(s); a %s line has at least %d", f.Count(), lpszWhat, nMin);
        return false;
    }
    if (f.Count() > nMax) {
        reason.Format(L"%d fields; a %s line has at most %d", f.Count(), lpszWhat, nMax);
        return false;
    }
    return true;
}

bool Required(const ArchiveFields& f, int n, LPCWSTR lpszName, LONG& out, CString& reason)
{
    if (!f.IsNumber(n)) {
        NotANumber(lpszName, f, n, reason);
        return false;
    }
    out = f.Long(n);
    return true;
}

bool NumberOrZero(const ArchiveFields& f, int n, LPCWSTR lpszName, LONG& out, CString& reason)
{
    if (!f.Has(n) || IsBlank(f.Raw(n))) {
        out = 0;
        return true;
    }
    return Required(f, n, lpszName, out, reason);
}

bool NumberOrNull(const ArchiveFields& f, int n, LPCWSTR lpszName, std::optional<LONG>& out, CString& reason)
{
    out.reset();
    if (!f.Has(n) || IsBlank(f.Raw(n)))
        return true;
    LONG v = 0;
    if (!Required(f, n, lpszName, v, reason))
        return false;
    out = v;
    return true;
}

std::optional<CString> Text(const ArchiveFields& f, int n, bool bTrimRight)
{
    CString raw = f.Raw(n);
    if (bTrimRight)
        raw.TrimRight();
    if (raw.IsEmpty())
        return std::nullopt;
    return UnescapeArchiveText(raw);
}

std::optional<TIMESTAMP_STRUCT> ArchiveTime(const ArchiveFields& f, int n)
{
    TIMESTAMP_STRUCT ts{};
    if (!f.Time(n, ts))
        return std::nullopt;
    return ts;
}

} // namespace zyn::archive::fields
