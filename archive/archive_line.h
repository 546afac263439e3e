#pragma once
// The archive text line, shared by every archive set: one line per archived row, fields
// separated by one tab, in the set's fixed order.
//
// Writing (ArchiveLineWriter):
// - integers in decimal (32 or 64 bits); a NULL column as 0 or as the set's default;
// - text through the archive escape (CDynamicRecordset::RemoveSpecialChars, then
//   CleanupString), so no tab or line break stands in a field; NULL text is empty;
// - date-times in the fixed English form "%b %d %Y %I:%M:%S%p" ("Jul 05 2008
//   03:04:05PM"), whatever the locale; NULL (or a value that is no valid date) is empty.
//
// Reading (ArchiveFields), fields numbered from 1 as in the line formats:
// - integers by decimal conversion: leading blanks, an optional sign and the digits
//   that follow; text that is no number, and a number beyond the field's width, give 0
//   (IsNumber tells a real number apart);
// - text through ReplaceSpecialChars, the exact inverse of the escape;
// - date-times through ZynTextToTimestamp, accepted only for the years 1970 to 2036
//   (ZynTimestampToTime); an empty field, or a whole date outside those years, is NULL.
//   A field that holds text but no complete date and time ("Jan 02", "1 2", words) is
//   malformed: the restore loops skip, log and count its line rather than guess a year
//   or store NULL in place of a value the file did hold.
//
// Restoring: restore_run.h (the lines and counts of one restore), restore_batch.h (the
// rows' way into the table), restore_loops.h (each set's loop over the lines).

#include <cstdint>
#include <vector>

#include "platform/afx/db/recordset.h"
#include "platform/base/cstring.h"
#include "platform/base/oledatetime.h"
#include "platform/base/sqldate.h"

class CDynamicRecordset;
class CStdioFileUnicode;

namespace zyn::archive {

inline constexpr wchar_t FieldSeparator = L'\t';

// Decimal conversion of a field: leading blanks, an optional sign, digits. True only
// when the whole text is such a number (trailing blanks allowed) within the type's
// range; out receives the lenient value either way (0 for no number or out of range).
bool ParseArchiveLong(const CString& text, LONG& out);
bool ParseArchiveBigInt(const CString& text, int64_t& out);
// A date-time field: true and the timestamp (fraction 0) when the text parses and its
// year lies in 1970..2036.
bool ParseArchiveTime(const CString& text, TIMESTAMP_STRUCT& out);
// Whether the text is a complete date and time in a form the archive reads (whatever
// its year): what tells a malformed date field from one that is merely out of range.
bool IsWholeArchiveTime(const CString& text);
// The archive form of a timestamp; empty for an all-zero or invalid one.
CString FormatArchiveTimestamp(const TIMESTAMP_STRUCT& value);
// Appends the archive form of a timestamp (nothing for an all-zero or invalid one).
void AppendArchiveTimestamp(CString& out, const TIMESTAMP_STRUCT& value);
// A text field as written: escaped, and safe to encode as UTF-16.
CString EscapeArchiveText(const CString& text);
// The inverse of EscapeArchiveText.
CString UnescapeArchiveText(const CString& field);

// A line taken apart at its tabs.
class ArchiveFields {
public:
    ArchiveFields() = default;
    explicit ArchiveFields(const CString& line) { Split(line); }

    // An empty line has no fields; otherwise there is one field more than tabs.
    void Split(const CString& line);
    int Count() const { return static_cast<int>(m_count); }
    bool Has(int nField) const { return nField >= 1 && nField <= Count(); }

    // The field as written; empty when the line has no such field.
    const CString& Raw(int nField) const { return Has(nField) ? m_fields[static_cast<size_t>(nField - 1)] : EmptyField(); }
    bool IsEmpty(int nField) const { return Raw(nField).IsEmpty(); }
    LONG Long(int nField) const;
    int64_t BigInt(int nField) const;
    // True when the field is present and a whole decimal number in 32 (64) bits.
    bool IsNumber(int nField) const;
    bool IsBigNumber(int nField) const;
    // The text, unescaped.
    CString Text(int nField) const;
    // False (NULL) for an absent, empty or unparsable field or a year outside 1970..2036.
    // An unparsable field that holds text is also noted as malformed (below).
    bool Time(int nField, TIMESTAMP_STRUCT& out) const;
    // The first date-time field read from this line that held text but no complete date
    // and time; 0 when none. Readers of other date forms note theirs with NoteMalformedTime.
    int MalformedTimeField() const { return m_malformedTime; }
    void NoteMalformedTime(int nField) const
    {
        if (m_malformedTime == 0)
            m_malformedTime = nField;
    }

private:
    static const CString& EmptyField();
    std::vector<CString> m_fields; // the first m_count hold this line's fields
    size_t m_count = 0;
    mutable int m_malformedTime = 0; // noted while the line's fields are read
};

// Integer fields read strictly, for sets that refuse lines not written by them: an
// empty (or absent) field gives 0; text that is no number returns false with the
// reason ("field 9 is not a number").
bool ReadLongField(const ArchiveFields& fields, int nField, LONG& out, CString& reason);
bool ReadBigIntField(const ArchiveFields& fields, int nField, int64_t& out, CString& reason);

// Builds one line, field by field.
class ArchiveLineWriter {
public:
    ArchiveLineWriter() { m_line.Str().reserve(256); }

    ArchiveLineWriter& Long(LONG value);
    ArchiveLineWriter& BigInt(int64_t value);
    // A 32-bit column that may be NULL: nNullValue when it is.
    ArchiveLineWriter& Long(LONG value, bool bNull, LONG nNullValue);
    ArchiveLineWriter& BigInt(int64_t value, bool bNull, int64_t nNullValue);
    // Escaped text.
    ArchiveLineWriter& Text(const CString& value);
    ArchiveLineWriter& Empty();
    ArchiveLineWriter& Time(const TIMESTAMP_STRUCT& value, bool bNull = false);
    ArchiveLineWriter& Time(const COleDateTime& value);
    // Verbatim text (a marker); a tab or line break in it raises CInvalidArgException.
    ArchiveLineWriter& Raw(LPCWSTR value);

    int Count() const { return m_nFields; }
    const CString& Line() const { return m_line; }
    void Reset();
    // WriteString of the line (file exceptions pass to the caller).
    void WriteTo(CStdioFileUnicode& file) const;

private:
    void Separate();
    CString m_line;
    int m_nFields = 0;
};

// The identifier mapping of restored rows: the identifier now standing for nId in
// (table, column) when the mapping has one (above INT32_MIN), else nId.
LONG MapArchiveId(CDynamicRecordset& set, LPCWSTR lpszRestoredTable, LPCWSTR lpszColumn, LONG nId);

// A column's value for the row being added (after AddNew): stored, not NULL and marked
// dirty, so Update inserts it even when it equals the record set's "pseudo-NULL".
template <typename T, typename V>
void StoreColumn(CRecordset& set, T& member, const V& value)
{
    member = static_cast<T>(value);
    set.SetFieldNull(&member, FALSE);
}
// A column inserted as NULL.
inline void StoreNullColumn(CRecordset& set, void* member)
{
    set.SetFieldNull(member, TRUE);
}

} // namespace zyn::archive
