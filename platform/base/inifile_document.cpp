// The INI document: parsing file bytes into lines that remember their bytes, the
// look-ups, the edits, and writing the lines back.
#include <algorithm>
#include <unordered_set>

#include "platform/base/codepage.h"
#include "platform/base/inifile.h"
#include "platform/base/namefold.h"
#include "platform/base/utf16.h"

namespace zyn::base {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view Trim(std::wstring_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Whether text written in the ANSI code page reads back as the same text.
bool AnsiRepresentable(std::wstring_view text)
{
    bool ok = true;
    const std::string narrow = WideToAnsi(text, CP_ACP, &ok);
    return ok && AnsiToWide(narrow) == text;
}

// Names seen so far, without case: each is reported once, in the order first seen.
class NameSet {
public:
    bool Add(std::wstring_view name) { return m_seen.insert(FoldName(name)).second; }

private:
    std::unordered_set<std::wstring> m_seen;
};

} // namespace

IniDocument::Line IniDocument::Classify(std::wstring text)
{
    Line line;
    const std::wstring_view t = Trim(text);
    if (t.empty() || t.front() == L';') {
        line.kind = Kind::Other;
    } else if (t.front() == L'[') {
        const size_t close = t.find(L']');
        if (close == std::wstring_view::npos) {
            line.kind = Kind::BrokenSection;
        } else {
            line.kind = Kind::Section;
            line.name = std::wstring(Trim(t.substr(1, close - 1)));
        }
    } else {
        const size_t eq = t.find(L'=');
        const std::wstring_view key = eq == std::wstring_view::npos ? std::wstring_view() : Trim(t.substr(0, eq));
        if (key.empty()) {
            line.kind = Kind::Broken;
        } else {
            line.kind = Kind::Entry;
            line.name = std::wstring(key);
            line.value = std::wstring(Trim(t.substr(eq + 1)));
        }
    }
    line.text = std::move(text);
    return line;
}

IniDocument::Line IniDocument::NewLine(std::wstring text) const
{
    Line line = Classify(std::move(text));
    line.edited = true;
    line.eol = m_newline;
    return line;
}

void IniDocument::InsertLines(size_t at, std::vector<Line> lines)
{
    if (lines.empty())
        return;
    if (at > 0 && m_lines[at - 1].eol.empty())
        m_lines[at - 1].eol = m_newline; // the former last line now has a successor
    m_lines.insert(m_lines.begin() + static_cast<ptrdiff_t>(at), std::make_move_iterator(lines.begin()),
        std::make_move_iterator(lines.end()));
}

IniDocument IniDocument::Parse(std::span<const uint8_t> bytes)
{
    IniDocument doc;
    // The body after the byte-order mark, read in units of one byte or (UTF-16) two.
    std::span<const uint8_t> body = bytes;
    size_t unit = 1;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        doc.m_encoding = IniEncoding::Utf16LeBom;
        body = bytes.subspan(2);
        unit = 2;
        if (body.size() % 2 != 0) {
            // Half a character: no text, but the file keeps it.
            doc.m_tail.assign(1, static_cast<char>(body.back()));
            body = body.first(body.size() - 1);
        }
    } else if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        doc.m_encoding = IniEncoding::Utf8Bom;
        body = bytes.subspan(3);
    } else {
        doc.m_encoding = IniEncoding::Ansi;
    }
    const auto unitAt = [&](size_t i) -> uint32_t {
        return unit == 1 ? body[i] : static_cast<uint32_t>(body[i]) | (static_cast<uint32_t>(body[i + 1]) << 8);
    };
    const auto decode = [&](std::span<const uint8_t> raw) -> std::wstring {
        const std::string_view narrow(reinterpret_cast<const char*>(raw.data()), raw.size());
        switch (doc.m_encoding) {
        case IniEncoding::Utf16LeBom: return FromUtf16LE(raw);
        case IniEncoding::Utf8Bom: return FromUtf8(narrow);
        case IniEncoding::Ansi: break;
        }
        return AnsiToWide(narrow);
    };
    const auto addLine = [&](size_t from, size_t to, std::wstring eol) {
        const std::span<const uint8_t> raw = body.subspan(from, to - from);
        Line line = Classify(decode(raw));
        line.raw.assign(reinterpret_cast<const char*>(raw.data()), raw.size());
        line.eol = std::move(eol);
        doc.m_lines.push_back(std::move(line));
    };

    bool newlineSeen = false;
    size_t start = 0;
    for (size_t i = 0; i < body.size(); i += unit) {
        const uint32_t c = unitAt(i);
        if (c != L'\r' && c != L'\n')
            continue;
        std::wstring eol(1, static_cast<wchar_t>(c));
        size_t next = i + unit;
        if (c == L'\r' && next < body.size() && unitAt(next) == L'\n') {
            eol = L"\r\n";
            next += unit;
        }
        if (!newlineSeen) {
            // Lines an edit adds take the file's first line end.
            doc.m_newline = eol;
            newlineSeen = true;
        }
        addLine(start, i, std::move(eol));
        start = next;
        i = next - unit;
    }
    if (start < body.size())
        addLine(start, body.size(), std::wstring());
    return doc;
}

void IniDocument::AppendEncoded(std::vector<uint8_t>& out, std::wstring_view text) const
{
    switch (m_encoding) {
    case IniEncoding::Utf16LeBom:
        AppendUtf16LE(out, text);
        return;
    case IniEncoding::Utf8Bom: {
        const std::string utf8 = ToUtf8(text);
        out.insert(out.end(), utf8.begin(), utf8.end());
        return;
    }
    case IniEncoding::Ansi: {
        const std::string narrow = WideToAnsi(text, CP_ACP);
        out.insert(out.end(), narrow.begin(), narrow.end());
        return;
    }
    }
}

std::vector<uint8_t> IniDocument::Serialize()
{
    if (m_encoding == IniEncoding::Ansi) {
        const bool fits = std::all_of(m_lines.begin(), m_lines.end(),
            [](const Line& line) { return !line.edited || AnsiRepresentable(line.text); });
        if (!fits) {
            // Text the ANSI code page cannot hold: the whole file becomes UTF-16LE, so
            // that every character is kept.
            m_encoding = IniEncoding::Utf16LeBom;
            for (Line& line : m_lines)
                line.edited = true;
        }
    }
    std::vector<uint8_t> out;
    if (m_encoding == IniEncoding::Utf16LeBom)
        out = {0xFF, 0xFE};
    else if (m_encoding == IniEncoding::Utf8Bom)
        out = {0xEF, 0xBB, 0xBF};
    for (const Line& line : m_lines) {
        if (line.edited)
            AppendEncoded(out, line.text);
        else
            out.insert(out.end(), line.raw.begin(), line.raw.end());
        AppendEncoded(out, line.eol);
    }
    out.insert(out.end(), m_tail.begin(), m_tail.end());
    return out;
}

std::optional<std::pair<size_t, size_t>> IniDocument::FindSection(std::wstring_view section, size_t from) const
{
    for (size_t i = from; i < m_lines.size(); ++i) {
        if (m_lines[i].kind != Kind::Section || !NamesEqual(m_lines[i].name, section))
            continue;
        size_t end = i + 1;
        while (end < m_lines.size() && m_lines[end].kind != Kind::Section && m_lines[end].kind != Kind::BrokenSection)
            ++end;
        return std::make_pair(i, end);
    }
    return std::nullopt;
}

std::optional<std::wstring> IniDocument::Get(std::wstring_view section, std::wstring_view key) const
{
    const auto range = FindSection(section);
    if (!range)
        return std::nullopt;
    for (size_t i = range->first + 1; i < range->second; ++i)
        if (m_lines[i].kind == Kind::Entry && NamesEqual(m_lines[i].name, key))
            return m_lines[i].value;
    return std::nullopt;
}

std::vector<std::wstring> IniDocument::SectionNames() const
{
    std::vector<std::wstring> names;
    NameSet seen;
    for (const auto& line : m_lines)
        if (line.kind == Kind::Section && seen.Add(line.name))
            names.push_back(line.name);
    return names;
}

bool IniDocument::HasSection(std::wstring_view section) const
{
    return FindSection(section).has_value();
}

std::vector<std::wstring> IniDocument::Keys(std::wstring_view section) const
{
    std::vector<std::wstring> keys;
    const auto range = FindSection(section);
    if (!range)
        return keys;
    NameSet seen;
    for (size_t i = range->first + 1; i < range->second; ++i)
        if (m_lines[i].kind == Kind::Entry && seen.Add(m_lines[i].name))
            keys.push_back(m_lines[i].name);
    return keys;
}

std::vector<std::wstring> IniDocument::Entries(std::wstring_view section) const
{
    std::vector<std::wstring> entries;
    const auto range = FindSection(section);
    if (!range)
        return entries;
    for (size_t i = range->first + 1; i < range->second; ++i)
        if (m_lines[i].kind == Kind::Entry)
            entries.push_back(m_lines[i].name + L"=" + m_lines[i].value);
    return entries;
}

void IniDocument::AppendSection(std::wstring_view section, const std::vector<std::wstring>& lines)
{
    std::vector<Line> added;
    // A blank line between the previous content and the new section.
    if (!m_lines.empty() && !Trim(m_lines.back().text).empty())
        added.push_back(NewLine(L""));
    added.push_back(NewLine(L"[" + std::wstring(section) + L"]"));
    for (const auto& l : lines)
        added.push_back(NewLine(l));
    InsertLines(m_lines.size(), std::move(added));
}

bool IniDocument::Set(std::wstring_view section, std::wstring_view key, std::wstring_view value)
{
    const auto range = FindSection(section);
    if (!range) {
        AppendSection(section, {std::wstring(key) + L"=" + std::wstring(value)});
        return true;
    }
    size_t insertAt = range->first + 1;
    for (size_t i = range->first + 1; i < range->second; ++i) {
        Line& line = m_lines[i];
        if (line.kind == Kind::Entry && NamesEqual(line.name, key)) {
            // Keep the key as the file spells it, and the line's own line end.
            Line updated = NewLine(line.name + L"=" + std::wstring(value));
            if (updated.text == line.text)
                return false;
            updated.eol = std::move(line.eol);
            line = std::move(updated);
            return true;
        }
        if (line.kind == Kind::Entry || line.kind == Kind::Broken)
            insertAt = i + 1;
    }
    std::vector<Line> added;
    added.push_back(NewLine(std::wstring(key) + L"=" + std::wstring(value)));
    InsertLines(insertAt, std::move(added));
    return true;
}

bool IniDocument::DeleteKey(std::wstring_view section, std::wstring_view key)
{
    const auto range = FindSection(section);
    if (!range)
        return false;
    const auto first = m_lines.begin() + static_cast<ptrdiff_t>(range->first + 1);
    const auto last = m_lines.begin() + static_cast<ptrdiff_t>(range->second);
    const auto kept = std::remove_if(
        first, last, [&](const Line& line) { return line.kind == Kind::Entry && NamesEqual(line.name, key); });
    if (kept == last)
        return false;
    m_lines.erase(kept, last);
    return true;
}

bool IniDocument::DeleteSection(std::wstring_view section)
{
    // Every section of that name goes, with its lines, in one pass.
    std::vector<Line> kept;
    kept.reserve(m_lines.size());
    bool inDoomed = false;
    bool changed = false;
    for (Line& line : m_lines) {
        if (line.kind == Kind::Section)
            inDoomed = NamesEqual(line.name, section);
        else if (line.kind == Kind::BrokenSection)
            inDoomed = false;
        if (inDoomed)
            changed = true;
        else
            kept.push_back(std::move(line));
    }
    m_lines = std::move(kept);
    return changed;
}

bool IniDocument::ReplaceSection(std::wstring_view section, const std::vector<std::wstring>& lines)
{
    const auto range = FindSection(section);
    if (!range) {
        AppendSection(section, lines);
        return true;
    }
    // Keep the blank lines that separate this section from the next one.
    size_t contentEnd = range->second;
    while (contentEnd > range->first + 1 && Trim(m_lines[contentEnd - 1].text).empty())
        --contentEnd;
    m_lines.erase(m_lines.begin() + static_cast<ptrdiff_t>(range->first + 1),
        m_lines.begin() + static_cast<ptrdiff_t>(contentEnd));
    std::vector<Line> replacement;
    for (const auto& l : lines)
        replacement.push_back(NewLine(l));
    InsertLines(range->first + 1, std::move(replacement));
    return true;
}

} // namespace zyn::base
