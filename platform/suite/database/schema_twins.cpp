#include "platform/suite/database/schema_twins.h"

#include <optional>
#include <string>
#include <string_view>

#include "platform/base/charcase.h"
#include "platform/base/exception.h"

namespace zyn::db {

namespace {

constexpr std::wstring_view kMarker = L"@restored-twin";
constexpr std::wstring_view kArchivedKey = L"archived-key";
constexpr std::wstring_view kTwinSuffix = L"_RESTORED";

bool IsSpace(wchar_t c) { return zyn::base::IsSpaceChar(c); }
bool IsIdentStart(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_'; }
bool IsIdentChar(wchar_t c) { return IsIdentStart(c) || (c >= L'0' && c <= L'9') || c == L'$'; }

std::wstring Upper(std::wstring_view s)
{
    std::wstring out(s);
    for (auto& c : out)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - 32);
    return out;
}

std::wstring Trim(std::wstring_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && IsSpace(s[b]))
        ++b;
    while (e > b && IsSpace(s[e - 1]))
        --e;
    return std::wstring(s.substr(b, e - b));
}

[[noreturn]] void Refuse(const std::wstring& table, const wchar_t* why)
{
    CString msg;
    msg.Format(L"SQL script: the restore twin of %s cannot be derived: %s", table.c_str(), why);
    AfxThrowInvalidArgException(msg);
}

// A statement as code and comments: `code` is the text with every comment replaced by one
// blank (quotes kept), `lineComments` the text after each "--".
struct Lexed {
    std::wstring code;
    std::vector<std::wstring> lineComments;
};

Lexed Lex(const std::wstring& s)
{
    Lexed out;
    out.code.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const wchar_t c = s[i];
        const wchar_t next = i + 1 < s.size() ? s[i + 1] : 0;
        if (c == L'-' && next == L'-') {
            const size_t end = s.find(L'\n', i);
            const size_t stop = end == std::wstring::npos ? s.size() : end;
            out.lineComments.push_back(s.substr(i + 2, stop - i - 2));
            out.code += L' ';
            i = stop;
        } else if (c == L'/' && next == L'*') {
            int depth = 1;
            i += 2;
            while (i < s.size() && depth > 0) {
                if (s.compare(i, 2, L"/*") == 0) {
                    ++depth;
                    i += 2;
                } else if (s.compare(i, 2, L"*/") == 0) {
                    --depth;
                    i += 2;
                } else {
                    ++i;
                }
            }
            out.code += L' ';
        } else if (c == L'\'' || c == L'"') {
            const size_t end = s.find(c, i + 1);
            const size_t stop = end == std::wstring::npos ? s.size() : end + 1;
            out.code.append(s, i, stop - i);
            i = stop;
        } else {
            out.code += c;
            ++i;
        }
    }
    return out;
}

// A word of code at parenthesis depth 0, outside quotes: [begin, end) in the text.
struct Word {
    size_t begin, end;
    std::wstring upper;
};

// The top-level words (identifiers and keywords) of a piece of code, and whether it holds
// a quoted name ("...") at that level.
std::vector<Word> TopWords(const std::wstring& s, bool* quotedName = nullptr)
{
    std::vector<Word> words;
    int depth = 0;
    for (size_t i = 0; i < s.size();) {
        const wchar_t c = s[i];
        if (c == L'\'' || c == L'"') {
            if (c == L'"' && depth == 0 && quotedName)
                *quotedName = true;
            const size_t end = s.find(c, i + 1);
            i = end == std::wstring::npos ? s.size() : end + 1;
        } else if (c == L'(') {
            ++depth;
            ++i;
        } else if (c == L')') {
            --depth;
            ++i;
        } else if (IsIdentStart(c)) {
            const size_t b = i;
            while (i < s.size() && (IsIdentChar(s[i]) || s[i] == L'.'))
                ++i;
            if (depth == 0)
                words.push_back(Word{b, i, Upper(std::wstring_view(s).substr(b, i - b))});
        } else {
            ++i;
        }
    }
    return words;
}

// Index of the first top-level word sequence equal to `seq` (only blanks between its
// words), or npos.
size_t FindWords(const std::wstring& s, const std::vector<Word>& words, std::initializer_list<std::wstring_view> seq)
{
    const size_t n = seq.size();
    for (size_t i = 0; i + n <= words.size(); ++i) {
        bool match = true;
        size_t k = 0;
        for (std::wstring_view w : seq) {
            const Word& word = words[i + k];
            if (word.upper != w || (k > 0 && !Trim(std::wstring_view(s).substr(words[i + k - 1].end,
                                                  word.begin - words[i + k - 1].end)).empty())) {
                match = false;
                break;
            }
            ++k;
        }
        if (match)
            return i;
    }
    return std::wstring::npos;
}

// Removes a top-level word sequence from a column definition, with the blanks before it.
bool EraseWords(std::wstring& item, std::initializer_list<std::wstring_view> seq)
{
    const auto words = TopWords(item);
    const size_t at = FindWords(item, words, seq);
    if (at == std::wstring::npos)
        return false;
    size_t b = words[at].begin;
    const size_t e = words[at + seq.size() - 1].end;
    while (b > 0 && IsSpace(item[b - 1]))
        --b;
    item.erase(b, e - b);
    return true;
}

// "CREATE TABLE name ( body )": the name and the body; nullopt for other statements.
struct TableStatement {
    std::wstring name;
    std::wstring body;
};

// The identifier at i after blanks (advancing i), or empty.
std::wstring Identifier(const std::wstring& s, size_t& i)
{
    while (i < s.size() && IsSpace(s[i]))
        ++i;
    const size_t b = i;
    if (i < s.size() && IsIdentStart(s[i]))
        while (i < s.size() && IsIdentChar(s[i]))
            ++i;
    return s.substr(b, i - b);
}

// The text inside the parentheses that open at the next non-blank character from i (i is
// left after the closing one); nullopt when none opens there or it does not close.
std::optional<std::wstring> Parenthesised(const std::wstring& s, size_t& i)
{
    while (i < s.size() && IsSpace(s[i]))
        ++i;
    if (i >= s.size() || s[i] != L'(')
        return std::nullopt;
    const size_t open = i;
    int depth = 0;
    for (; i < s.size(); ++i) {
        const wchar_t c = s[i];
        if (c == L'\'' || c == L'"') {
            const size_t end = s.find(c, i + 1);
            if (end == std::wstring::npos)
                return std::nullopt;
            i = end;
        } else if (c == L'(') {
            ++depth;
        } else if (c == L')' && --depth == 0) {
            ++i;
            return s.substr(open + 1, i - open - 2);
        }
    }
    return std::nullopt;
}

bool Keyword(const std::wstring& s, size_t& i, std::wstring_view word)
{
    size_t j = i;
    if (Upper(Identifier(s, j)) != word)
        return false;
    i = j;
    return true;
}

bool AtEnd(const std::wstring& s, size_t i)
{
    while (i < s.size() && IsSpace(s[i]))
        ++i;
    return i == s.size();
}

std::optional<TableStatement> ParseCreateTable(const std::wstring& code)
{
    size_t i = 0;
    if (!Keyword(code, i, L"CREATE") || !Keyword(code, i, L"TABLE"))
        return std::nullopt;
    TableStatement t;
    t.name = Identifier(code, i);
    auto body = Parenthesised(code, i);
    if (t.name.empty() || !body || !AtEnd(code, i))
        return std::nullopt;
    t.body = std::move(*body);
    return t;
}

// "CREATE [UNIQUE] INDEX name ON table (columns)".
struct IndexStatement {
    std::wstring name;
    std::wstring table;
    std::wstring columns;
};

std::optional<IndexStatement> ParseCreateIndex(const std::wstring& code)
{
    size_t i = 0;
    if (!Keyword(code, i, L"CREATE"))
        return std::nullopt;
    Keyword(code, i, L"UNIQUE");
    if (!Keyword(code, i, L"INDEX"))
        return std::nullopt;
    IndexStatement x;
    x.name = Identifier(code, i);
    if (x.name.empty() || !Keyword(code, i, L"ON"))
        return std::nullopt;
    x.table = Identifier(code, i);
    auto columns = Parenthesised(code, i);
    if (x.table.empty() || !columns || !AtEnd(code, i))
        return std::nullopt;
    x.columns = std::move(*columns);
    return x;
}

// The body's items at its top-level commas, trimmed.
std::vector<std::wstring> SplitItems(const std::wstring& body)
{
    std::vector<std::wstring> items;
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i < body.size(); ++i) {
        const wchar_t c = body[i];
        if (c == L'\'' || c == L'"') {
            const size_t end = body.find(c, i + 1);
            i = end == std::wstring::npos ? body.size() - 1 : end;
        } else if (c == L'(') {
            ++depth;
        } else if (c == L')') {
            --depth;
        } else if (c == L',' && depth == 0) {
            items.push_back(Trim(std::wstring_view(body).substr(start, i - start)));
            start = i + 1;
        }
    }
    items.push_back(Trim(std::wstring_view(body).substr(start)));
    return items;
}

// What the marker asks for; nullopt without a marker.
struct Marker {
    std::wstring archivedKey; // empty: none
};

std::optional<Marker> FindMarker(const Lexed& lexed, const std::wstring& where)
{
    std::optional<Marker> found;
    for (const std::wstring& comment : lexed.lineComments) {
        const std::wstring text = Trim(comment);
        if (text.compare(0, kMarker.size(), kMarker) != 0)
            continue;
        if (text.size() > kMarker.size() && !IsSpace(text[kMarker.size()]))
            continue; // "@restored-twins..." is another word
        if (found)
            Refuse(where, L"the marker appears twice");
        found.emplace();
        std::wstring rest = Trim(std::wstring_view(text).substr(kMarker.size()));
        if (rest.empty())
            continue;
        if (rest.compare(0, kArchivedKey.size(), kArchivedKey) != 0)
            Refuse(where, L"the marker takes nothing but \"archived-key COLUMN\"");
        size_t i = kArchivedKey.size();
        if (i < rest.size() && !IsSpace(rest[i]))
            Refuse(where, L"the marker takes nothing but \"archived-key COLUMN\"");
        found->archivedKey = Identifier(rest, i);
        if (found->archivedKey.empty() || !AtEnd(rest, i))
            Refuse(where, L"\"archived-key\" names one column");
    }
    return found;
}

// The twin of one table: its CREATE TABLE and the index on its natural key.
std::vector<CString> TwinOf(const TableStatement& table, const Marker& marker)
{
    const std::wstring twin = table.name + std::wstring(kTwinSuffix);
    std::vector<std::wstring> items;
    std::wstring naturalKey; // the key columns, as written
    bool archivedKeySeen = false;
    for (std::wstring item : SplitItems(table.body)) {
        bool quoted = false;
        const auto words = TopWords(item, &quoted);
        if (quoted)
            Refuse(table.name, L"quoted names are not carried over");
        if (words.empty() || words[0].begin != 0)
            Refuse(table.name, L"an item of the table is neither a column nor a constraint");
        const std::wstring& first = words[0].upper;
        if (first == L"CHECK") {
            items.push_back(item);
            continue;
        }
        if (first == L"PRIMARY") {
            size_t i = words[0].end;
            auto columns = Keyword(item, i, L"KEY") ? Parenthesised(item, i) : std::nullopt;
            if (!columns || !AtEnd(item, i))
                Refuse(table.name, L"its PRIMARY KEY clause is not \"PRIMARY KEY (columns)\"");
            if (!naturalKey.empty())
                Refuse(table.name, L"it has two natural keys");
            naturalKey = Trim(*columns);
            continue;
        }
        if (first == L"CONSTRAINT" || first == L"UNIQUE" || first == L"FOREIGN" || first == L"EXCLUDE")
            Refuse(table.name, L"only PRIMARY KEY and CHECK constraints are carried over");
        if (FindWords(item, words, {L"UNIQUE"}) != std::wstring::npos ||
            FindWords(item, words, {L"REFERENCES"}) != std::wstring::npos)
            Refuse(table.name, L"a column is UNIQUE or REFERENCES another table");
        if (!marker.archivedKey.empty() && first == Upper(marker.archivedKey)) {
            // Values restored from the files: no key, no identity, but never NULL.
            archivedKeySeen = true;
            EraseWords(item, {L"PRIMARY", L"KEY"});
            EraseWords(item, {L"GENERATED", L"BY", L"DEFAULT", L"AS", L"IDENTITY"});
            EraseWords(item, {L"GENERATED", L"ALWAYS", L"AS", L"IDENTITY"});
            EraseWords(item, {L"AUTOINCREMENT"});
            if (FindWords(item, TopWords(item), {L"NOT", L"NULL"}) == std::wstring::npos)
                item += L" NOT NULL";
            if (!naturalKey.empty())
                Refuse(table.name, L"it has two natural keys");
            naturalKey = item.substr(0, words[0].end);
        }
        items.push_back(item);
    }
    if (!marker.archivedKey.empty() && !archivedKeySeen)
        Refuse(table.name, L"the archived-key is none of its columns");

    std::wstring create = L"CREATE TABLE " + twin + L" (";
    for (size_t k = 0; k < items.size(); ++k)
        create += (k ? L",\n    " : L"\n    ") + items[k];
    create += L"\n)";
    std::vector<CString> out{CString(create)};
    if (!naturalKey.empty())
        out.push_back(CString(L"CREATE INDEX IX_" + twin + L"_KEY ON " + twin + L" (" + naturalKey + L")"));
    return out;
}

CString TwinIndex(const std::wstring& table, const IndexStatement& index)
{
    const std::wstring twin = table + std::wstring(kTwinSuffix);
    const std::wstring prefix = L"IX_" + Upper(table) + L"_";
    std::wstring name;
    if (Upper(index.name).compare(0, prefix.size(), prefix) == 0)
        name = L"IX_" + twin + L"_" + index.name.substr(prefix.size());
    else
        name = index.name + std::wstring(kTwinSuffix);
    return CString(L"CREATE INDEX " + name + L" ON " + twin + L" (" + index.columns + L")");
}

} // namespace

std::vector<CString> AddRestoredTwins(const std::vector<CString>& statements)
{
    std::vector<Lexed> lexed;
    lexed.reserve(statements.size());
    for (const CString& s : statements)
        lexed.push_back(Lex(s.Str()));

    std::vector<CString> out;
    out.reserve(statements.size() * 2);
    for (size_t i = 0; i < statements.size(); ++i) {
        out.push_back(statements[i]);
        const auto table = ParseCreateTable(Trim(lexed[i].code));
        const auto marker = FindMarker(lexed[i], table ? table->name : std::wstring(L"a statement"));
        if (!marker)
            continue;
        if (!table)
            Refuse(Trim(lexed[i].code).substr(0, 60), L"the marker stands before a statement that is no CREATE TABLE");
        const std::wstring twinUpper = Upper(table->name + std::wstring(kTwinSuffix));
        for (const Lexed& other : lexed)
            if (auto t = ParseCreateTable(Trim(other.code)); t && Upper(t->name) == twinUpper)
                Refuse(table->name, L"the script defines the twin itself");

        std::vector<CString> twin = TwinOf(*table, *marker);
        // The table's own indexes that follow it, then the twin.
        while (i + 1 < statements.size()) {
            const auto index = ParseCreateIndex(Trim(lexed[i + 1].code));
            if (!index || Upper(index->table) != Upper(table->name))
                break;
            ++i;
            out.push_back(statements[i]);
            if (FindMarker(lexed[i], table->name))
                Refuse(table->name, L"the marker stands before an index");
            twin.push_back(TwinIndex(table->name, *index));
        }
        out.insert(out.end(), twin.begin(), twin.end());
    }
    return out;
}

} // namespace zyn::db
