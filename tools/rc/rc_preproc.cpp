#include "tools/rc/rc_preproc.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <optional>

#include "platform/base/codepage.h"
#include "platform/base/utf16.h"

namespace zyn::rc {
namespace {

constexpr int kMaxIncludeDepth = 32;
constexpr int kMaxArgumentNesting = 64;
constexpr int kMaxExpressionNesting = 256;
// Tokens that macro replacement may produce in one compilation: bounds scripts whose
// macros multiply (each level doubling the last) to a clear error instead of exhausting
// memory.
constexpr size_t kExpansionBudget = 500000;

struct LogicalLine {
    std::wstring text;
    int line = 0;
};

// Physical lines joined at backslash-newline, with comments replaced by a space. A block
// comment may span lines; strings and character constants are copied as they stand.
// `openComment` receives the line of a block comment that never ends (0 when none).
std::vector<LogicalLine> LogicalLines(const std::wstring& text, int& openComment)
{
    openComment = 0;
    std::vector<LogicalLine> physical;
    {
        size_t start = 0;
        int number = 1;
        for (size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == L'\n' || text[i] == L'\r') {
                physical.push_back(LogicalLine{text.substr(start, i - start), number++});
                if (i < text.size() && text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                    ++i;
                start = i + 1;
            }
        }
    }
    std::vector<LogicalLine> joined;
    for (size_t i = 0; i < physical.size(); ++i) {
        LogicalLine l = std::move(physical[i]);
        while (!l.text.empty() && l.text.back() == L'\\' && i + 1 < physical.size()) {
            l.text.pop_back();
            l.text += physical[++i].text;
        }
        joined.push_back(std::move(l));
    }
    bool inBlock = false;
    for (LogicalLine& l : joined) {
        const std::wstring& s = l.text;
        std::wstring out;
        out.reserve(s.size());
        size_t i = 0;
        while (i < s.size()) {
            if (inBlock) {
                const size_t end = s.find(L"*/", i);
                if (end == std::wstring::npos) {
                    i = s.size();
                } else {
                    inBlock = false;
                    i = end + 2;
                    out.push_back(L' ');
                }
                continue;
            }
            const wchar_t c = s[i];
            if (c == L'"' || c == L'\'') {
                size_t j = i + 1;
                while (j < s.size()) {
                    if (s[j] == L'\\' && j + 1 < s.size()) {
                        j += 2;
                        continue;
                    }
                    if (s[j] == c) {
                        if (c == L'"' && j + 1 < s.size() && s[j + 1] == L'"') {
                            j += 2;
                            continue;
                        }
                        break;
                    }
                    ++j;
                }
                const size_t end = std::min(j + 1, s.size());
                out.append(s, i, end - i);
                i = end;
                continue;
            }
            if (c == L'/' && i + 1 < s.size() && s[i + 1] == L'/')
                break;
            if (c == L'/' && i + 1 < s.size() && s[i + 1] == L'*') {
                inBlock = true;
                openComment = l.line;
                i += 2;
                continue;
            }
            out.push_back(c);
            ++i;
        }
        l.text = std::move(out);
    }
    if (!inBlock)
        openComment = 0;
    return joined;
}

std::wstring_view TrimLeft(std::wstring_view s)
{
    size_t i = 0;
    while (i < s.size() && (s[i] == L' ' || s[i] == L'\t' || s[i] == L'\f' || s[i] == L'\v'))
        ++i;
    return s.substr(i);
}

std::wstring_view Trim(std::wstring_view s)
{
    s = TrimLeft(s);
    while (!s.empty() && (s.back() == L' ' || s.back() == L'\t' || s.back() == L'\f' || s.back() == L'\v'))
        s.remove_suffix(1);
    return s;
}

bool IsHeaderFile(const std::string& path)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return false;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == "h" || ext == "hh" || ext == "hpp" || ext == "hxx" || ext == "c" || ext == "cpp" || ext == "cxx";
}

HideSet Union(const HideSet& a, const HideSet& b)
{
    if (!a)
        return b;
    if (!b || a == b)
        return a;
    auto merged = std::make_shared<std::vector<std::wstring>>(*a);
    for (const std::wstring& n : *b)
        if (std::find(merged->begin(), merged->end(), n) == merged->end())
            merged->push_back(n);
    return merged;
}

Token NumberToken(int64_t v, Location where)
{
    Token t;
    t.kind = TokKind::Number;
    t.text = std::to_wstring(v);
    t.where = where;
    return t;
}

// #if expressions: 64-bit signed arithmetic with the C operators; identifiers left after
// macro expansion are 0.
class CondParser {
public:
    CondParser(const std::vector<Token>& toks, Location where) : m_t(toks), m_where(where) {}

    int64_t Parse()
    {
        if (m_t.empty())
            throw CompileError(m_where, "#if with no expression");
        const int64_t v = Ternary(true);
        if (m_pos < m_t.size())
            throw CompileError(m_where, "unexpected '" + Narrow(m_t[m_pos].text) + "' in #if expression");
        return v;
    }

private:
    bool Is(std::wstring_view p) const { return m_pos < m_t.size() && m_t[m_pos].IsPunct(p); }
    void Expect(std::wstring_view p)
    {
        if (!Is(p))
            throw CompileError(m_where, "expected '" + Narrow(p) + "' in #if expression");
        ++m_pos;
    }

    struct Depth {
        explicit Depth(CondParser& p) : parser(p)
        {
            if (++parser.m_depth > kMaxExpressionNesting)
                throw CompileError(parser.m_where, "#if expression nested too deeply");
        }
        ~Depth() { --parser.m_depth; }
        CondParser& parser;
    };

    int64_t Ternary(bool eval)
    {
        Depth d(*this);
        const int64_t c = LogOr(eval);
        if (!Is(L"?"))
            return c;
        ++m_pos;
        const int64_t a = Ternary(eval && c != 0);
        Expect(L":");
        const int64_t b = Ternary(eval && c == 0);
        return c ? a : b;
    }
    int64_t LogOr(bool eval)
    {
        int64_t v = LogAnd(eval);
        while (Is(L"||")) {
            ++m_pos;
            const int64_t r = LogAnd(eval && v == 0);
            v = (v || r) ? 1 : 0;
        }
        return v;
    }
    int64_t LogAnd(bool eval)
    {
        int64_t v = BitOr(eval);
        while (Is(L"&&")) {
            ++m_pos;
            const int64_t r = BitOr(eval && v != 0);
            v = (v && r) ? 1 : 0;
        }
        return v;
    }
    int64_t BitOr(bool eval)
    {
        int64_t v = BitXor(eval);
        while (Is(L"|")) {
            ++m_pos;
            v |= BitXor(eval);
        }
        return v;
    }
    int64_t BitXor(bool eval)
    {
        int64_t v = BitAnd(eval);
        while (Is(L"^")) {
            ++m_pos;
            v ^= BitAnd(eval);
        }
        return v;
    }
    int64_t BitAnd(bool eval)
    {
        int64_t v = Equality(eval);
        while (Is(L"&")) {
            ++m_pos;
            v &= Equality(eval);
        }
        return v;
    }
    int64_t Equality(bool eval)
    {
        int64_t v = Relational(eval);
        for (;;) {
            if (Is(L"==")) {
                ++m_pos;
                v = v == Relational(eval);
            } else if (Is(L"!=")) {
                ++m_pos;
                v = v != Relational(eval);
            } else {
                return v;
            }
        }
    }
    int64_t Relational(bool eval)
    {
        int64_t v = Shift(eval);
        for (;;) {
            if (Is(L"<")) {
                ++m_pos;
                v = v < Shift(eval);
            } else if (Is(L">")) {
                ++m_pos;
                v = v > Shift(eval);
            } else if (Is(L"<=")) {
                ++m_pos;
                v = v <= Shift(eval);
            } else if (Is(L">=")) {
                ++m_pos;
                v = v >= Shift(eval);
            } else {
                return v;
            }
        }
    }
    int64_t Shift(bool eval)
    {
        int64_t v = Additive(eval);
        for (;;) {
            const bool left = Is(L"<<");
            if (!left && !Is(L">>"))
                return v;
            ++m_pos;
            const int64_t n = Additive(eval);
            if (n < 0 || n > 63) {
                if (eval)
                    throw CompileError(m_where, "shift count out of range in #if expression");
                v = 0;
                continue;
            }
            v = left ? static_cast<int64_t>(static_cast<uint64_t>(v) << n) : (v >> n);
        }
    }
    int64_t Additive(bool eval)
    {
        int64_t v = Multiplicative(eval);
        for (;;) {
            if (Is(L"+")) {
                ++m_pos;
                v = static_cast<int64_t>(static_cast<uint64_t>(v) + static_cast<uint64_t>(Multiplicative(eval)));
            } else if (Is(L"-")) {
                ++m_pos;
                v = static_cast<int64_t>(static_cast<uint64_t>(v) - static_cast<uint64_t>(Multiplicative(eval)));
            } else {
                return v;
            }
        }
    }
    int64_t Multiplicative(bool eval)
    {
        int64_t v = Unary(eval);
        for (;;) {
            const bool mul = Is(L"*"), div = Is(L"/"), mod = Is(L"%");
            if (!mul && !div && !mod)
                return v;
            ++m_pos;
            const int64_t r = Unary(eval);
            if (mul) {
                v = static_cast<int64_t>(static_cast<uint64_t>(v) * static_cast<uint64_t>(r));
            } else if (r == 0) {
                if (eval)
                    throw CompileError(m_where, "division by zero in #if expression");
                v = 0;
            } else if (r == -1) {
                v = mod ? 0 : static_cast<int64_t>(0 - static_cast<uint64_t>(v));
            } else {
                v = div ? v / r : v % r;
            }
        }
    }
    int64_t Unary(bool eval)
    {
        Depth d(*this);
        if (Is(L"-")) {
            ++m_pos;
            return static_cast<int64_t>(0 - static_cast<uint64_t>(Unary(eval)));
        }
        if (Is(L"+")) {
            ++m_pos;
            return Unary(eval);
        }
        if (Is(L"~")) {
            ++m_pos;
            return ~Unary(eval);
        }
        if (Is(L"!")) {
            ++m_pos;
            return !Unary(eval);
        }
        return Primary(eval);
    }
    int64_t Primary(bool eval)
    {
        if (m_pos >= m_t.size())
            throw CompileError(m_where, "#if expression ends too early");
        const Token& t = m_t[m_pos];
        if (t.IsPunct(L"(")) {
            ++m_pos;
            const int64_t v = Ternary(eval);
            Expect(L")");
            return v;
        }
        if (t.kind == TokKind::Number) {
            ++m_pos;
            return ParseNumber(t, true).value;
        }
        if (t.kind == TokKind::Ident) {
            ++m_pos;
            return 0;
        }
        throw CompileError(m_where, "unexpected '" + Narrow(t.text) + "' in #if expression");
    }

    const std::vector<Token>& m_t;
    Location m_where;
    size_t m_pos = 0;
    int m_depth = 0;
};

// "# p": the argument's spelling in quotes, one space where the argument had white
// space, with the quotes of its strings and character constants and every backslash
// escaped (a lone backslash, which C leaves undefined, so stays itself).
Token Stringize(const std::vector<Token>& arg, bool spaceBefore, Location where, uint32_t page)
{
    std::wstring spelling = L"\"";
    for (size_t i = 0; i < arg.size(); ++i) {
        const Token& t = arg[i];
        if (i > 0 && t.spaceBefore)
            spelling.push_back(L' ');
        const bool quoted = t.kind == TokKind::String || (t.kind == TokKind::Number && t.text.starts_with(L"'"));
        for (const wchar_t c : t.text) {
            if (c == L'\\' || (quoted && c == L'"'))
                spelling.push_back(L'\\');
            spelling.push_back(c);
        }
    }
    spelling.push_back(L'"');
    std::vector<Token> toks = Tokenize(spelling, where, page);
    Token t = std::move(toks.at(0));
    t.spaceBefore = spaceBefore;
    return t;
}

// "a ## b": the one token that the two spellings make together.
Token Paste(const Token& left, const Token& right, Location where, uint32_t page)
{
    const std::wstring spelling = left.text + right.text;
    std::vector<Token> toks;
    try {
        toks = Tokenize(spelling, where, page);
    } catch (const CompileError&) {
        toks.clear();
    }
    if (toks.size() != 1)
        throw CompileError(where, "pasting '" + Narrow(left.text) + "' and '" + Narrow(right.text) +
                "' does not give a valid token");
    Token t = std::move(toks[0]);
    t.spaceBefore = left.spaceBefore;
    t.hide = Union(left.hide, right.hide);
    return t;
}

} // namespace

Preprocessor::Preprocessor(Context& context) : m_ctx(context)
{
    const Location cmdline{m_ctx.FileName("<command line>"), 0};
    for (const char* name : {"RC_INVOKED", "_WIN32", "ZYN_RC"}) {
        Macro m;
        m.body.push_back(NumberToken(1, cmdline));
        m_macros[base::FromUtf8(name)] = std::move(m);
    }
    for (const auto& [name, value] : m_ctx.Options().defines) {
        const std::wstring w = base::FromUtf8(name);
        const auto toks = Tokenize(w, cmdline);
        if (toks.size() != 1 || !toks[0].IsIdent())
            throw CompileError(cmdline, "-D expects a macro name, not '" + name + "'");
        Macro m;
        m.body = value.empty() ? std::vector<Token>{NumberToken(1, cmdline)} : Tokenize(base::FromUtf8(value), cmdline);
        m_macros[w] = std::move(m);
    }
}

std::vector<Token> Preprocessor::Run(const std::vector<std::string>& paths)
{
    m_out.clear();
    Location last{};
    for (const std::string& path : paths) {
        const Location none{m_ctx.FileName(path), 0};
        last = Location{none.file, 1};
        const auto located = m_ctx.Files().Locate(path);
        if (!located)
            throw CompileError(none, "cannot open the script '" + path + "'");
        const ScriptText text = ReadScriptText(m_ctx.ReadFile(*located, none));
        ProcessFile(path, text, false, 0);
    }
    Token end;
    end.kind = TokKind::End;
    end.where = m_out.empty() ? last : m_out.back().where;
    m_out.push_back(end);
    return std::move(m_out);
}

void Preprocessor::ProcessFile(const std::string& path, const ScriptText& text, bool headerMode, int depth)
{
    File file{path, &text, false};
    const std::string* name = m_ctx.FileName(path);
    std::vector<Cond> conds;
    int openComment = 0;
    const std::vector<LogicalLine> lines = LogicalLines(text.text, openComment);
    // A comment left open would silently swallow the rest of the file.
    if (openComment)
        throw CompileError(Location{name, openComment}, "unterminated /* comment");
    for (const LogicalLine& l : lines) {
        const Location where{name, l.line};
        const std::wstring_view s = TrimLeft(l.text);
        const bool active = conds.empty() || conds.back().active;
        if (!s.empty() && s[0] == L'#') {
            Flush();
            Directive(DecodeLine(s.substr(1), file, where, active), where, conds, path, depth);
            continue;
        }
        if (headerMode || !active)
            continue;
        auto toks = TokenizeLine(DecodeLine(s, file, where, true), where);
        m_pending.insert(m_pending.end(), std::make_move_iterator(toks.begin()), std::make_move_iterator(toks.end()));
    }
    Flush();
    if (!conds.empty())
        throw CompileError(conds.back().where, "#if without #endif");
}

void Preprocessor::Flush()
{
    if (m_pending.empty())
        return;
    std::vector<Token> run = std::move(m_pending);
    m_pending.clear();
    for (Token& t : Expand(std::move(run), 0))
        m_out.push_back(std::move(t));
}

std::wstring Preprocessor::DecodeLine(std::wstring_view units, File& file, Location where, bool strict)
{
    if (file.text->decoded || std::all_of(units.begin(), units.end(), [](wchar_t u) { return u < 0x80; }))
        return std::wstring(units);
    uint32_t page = m_codePage;
    if (page == 0) {
        page = (file.text->utf8Mark || file.text->validUtf8) ? CP_UTF8 : 1252;
        if (page == 1252 && strict && !file.warnedDefault) {
            m_ctx.Warn(where, "the file is not valid UTF-8 and declares no code page; it is read as Windows-1252");
            file.warnedDefault = true;
        }
    }
    std::wstring text;
    if (!DecodeBytes(units, page, text) && strict)
        throw CompileError(where, "the line is not valid UTF-8" +
                std::string(m_codePage ? " (the script declares code page 65001)" : ""));
    return text;
}

std::vector<Token> Preprocessor::TokenizeLine(std::wstring_view line, Location where)
{
    return Tokenize(line, where, m_codePage ? m_codePage : 1252);
}

void Preprocessor::Directive(const std::wstring& line, Location where, std::vector<Cond>& conds,
    const std::string& path, int depth)
{
    std::wstring_view s = TrimLeft(line);
    size_t n = 0;
    while (n < s.size() && ((s[n] >= L'a' && s[n] <= L'z') || (s[n] >= L'A' && s[n] <= L'Z') || s[n] == L'_'))
        ++n;
    const std::wstring name(s.substr(0, n));
    const std::wstring_view rest = s.substr(n);
    const bool active = conds.empty() || conds.back().active;

    if (name == L"if" || name == L"ifdef" || name == L"ifndef") {
        Cond c;
        c.parentActive = active;
        c.where = where;
        if (active) {
            bool v;
            if (name == L"if") {
                v = EvalCondition(TokenizeLine(rest, where), where);
            } else {
                const auto toks = TokenizeLine(rest, where);
                if (toks.empty() || !toks[0].IsIdent())
                    throw CompileError(where, "#" + Narrow(name) + " needs a macro name");
                v = m_macros.count(toks[0].text) != 0;
                if (name == L"ifndef")
                    v = !v;
            }
            c.active = c.taken = v;
        } else {
            c.active = false;
            c.taken = true; // no branch of a skipped group is ever taken
        }
        conds.push_back(c);
        return;
    }
    if (name == L"elif") {
        if (conds.empty())
            throw CompileError(where, "#elif without #if");
        Cond& c = conds.back();
        if (c.sawElse)
            throw CompileError(where, "#elif after #else");
        if (c.parentActive && !c.taken) {
            c.active = EvalCondition(TokenizeLine(rest, where), where);
            c.taken = c.active;
        } else {
            c.active = false;
        }
        return;
    }
    if (name == L"else") {
        if (conds.empty())
            throw CompileError(where, "#else without #if");
        Cond& c = conds.back();
        if (c.sawElse)
            throw CompileError(where, "#else after #else");
        c.sawElse = true;
        c.active = c.parentActive && !c.taken;
        c.taken = true;
        return;
    }
    if (name == L"endif") {
        if (conds.empty())
            throw CompileError(where, "#endif without #if");
        conds.pop_back();
        return;
    }
    if (!active)
        return;
    if (name.empty()) {
        // The null directive, and line markers "# 12 file".
        const std::wstring_view r = Trim(rest);
        if (!r.empty() && !(r[0] >= L'0' && r[0] <= L'9'))
            throw CompileError(where, "malformed preprocessor directive");
        return;
    }
    if (name == L"define") {
        Define(TokenizeLine(rest, where), where);
    } else if (name == L"undef") {
        const auto toks = TokenizeLine(rest, where);
        if (toks.empty() || !toks[0].IsIdent())
            throw CompileError(where, "#undef needs a macro name");
        m_macros.erase(toks[0].text);
    } else if (name == L"include") {
        Include(rest, where, path, depth);
    } else if (name == L"error") {
        throw CompileError(where, "#error " + Narrow(Trim(rest)));
    } else if (name == L"warning") {
        m_ctx.Warn(where, "#warning " + Narrow(Trim(rest)));
    } else if (name == L"pragma") {
        Pragma(rest, where);
    } else if (name == L"line" || name == L"ident") {
    } else {
        throw CompileError(where, "unknown preprocessor directive #" + Narrow(name));
    }
}

void Preprocessor::Include(std::wstring_view rest, Location where, const std::string& path, int depth)
{
    const std::wstring_view r = Trim(rest);
    if (r.size() < 2 || !((r[0] == L'"' && r.find(L'"', 1) != std::wstring_view::npos) ||
                             (r[0] == L'<' && r.find(L'>', 1) != std::wstring_view::npos)))
        throw CompileError(where, "#include expects \"file\" or <file>");
    const bool quoted = r[0] == L'"';
    const size_t close = r.find(quoted ? L'"' : L'>', 1);
    const std::string name = NormalizePath(base::ToUtf8(r.substr(1, close - 1)));
    if (name.empty())
        throw CompileError(where, "#include names no file");
    if (!Trim(r.substr(close + 1)).empty())
        throw CompileError(where, "unexpected text after #include file name");
    if (depth + 1 > kMaxIncludeDepth)
        throw CompileError(where, "#include nested more than " + std::to_string(kMaxIncludeDepth) + " levels deep");

    std::vector<std::string> candidates;
    if (IsAbsolutePath(name)) {
        candidates.push_back(name);
    } else {
        if (quoted)
            candidates.push_back(JoinPath(DirectoryOf(path), name));
        for (const std::string& dir : m_ctx.Options().includeDirs)
            candidates.push_back(JoinPath(NormalizePath(dir), name));
    }
    for (const std::string& c : candidates) {
        const auto found = m_ctx.Files().Locate(c);
        if (!found)
            continue;
        const ScriptText text = ReadScriptText(m_ctx.ReadFile(*found, where));
        ProcessFile(*found, text, IsHeaderFile(*found), depth + 1);
        return;
    }
    if (m_ctx.Options().builtinHeaders && name.find('/') == std::string::npos) {
        std::string lower = name;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (const char* text = BuiltinHeader(lower)) {
            ScriptText builtin;
            builtin.text = base::FromUtf8(text);
            builtin.decoded = true;
            ProcessFile("<built-in>/" + lower, builtin, true, depth + 1);
            return;
        }
    }
    throw CompileError(where, "cannot open include file '" + name + "'");
}

// #pragma code_page(N | DEFAULT); other pragmas mean nothing to resources.
void Preprocessor::Pragma(std::wstring_view rest, Location where)
{
    const auto toks = TokenizeLine(rest, where);
    if (toks.empty() || !toks[0].IsIdent() || toks[0].text != L"code_page")
        return;
    if (toks.size() != 4 || !toks[1].IsPunct(L"(") || !toks[3].IsPunct(L")") ||
        !(toks[2].kind == TokKind::Number || toks[2].IsKeyword(L"DEFAULT")))
        throw CompileError(where, "#pragma code_page expects a code page number or DEFAULT in parentheses");
    if (toks[2].IsKeyword(L"DEFAULT")) {
        m_codePage = 0;
        return;
    }
    const uint32_t page = ParseNumber(toks[2], false).value;
    if (!IsScriptCodePage(page))
        throw CompileError(where, "code page " + std::to_string(page) +
                " is not supported (scripts may use 1252, 28591, 437 and 65001)");
    m_codePage = page;
}

void Preprocessor::Define(const std::vector<Token>& toks, Location where)
{
    if (toks.empty() || !toks[0].IsIdent())
        throw CompileError(where, "#define needs a macro name");
    const std::wstring& name = toks[0].text;
    if (name == L"defined")
        throw CompileError(where, "'defined' cannot be a macro name");
    Macro m;
    size_t i = 1;
    if (toks.size() > 1 && toks[1].IsPunct(L"(") && !toks[1].spaceBefore) {
        m.function = true;
        i = 2;
        if (i < toks.size() && toks[i].IsPunct(L")")) {
            ++i;
        } else {
            for (;;) {
                if (i < toks.size() && toks[i].IsPunct(L"..."))
                    throw CompileError(where, "macros with variable arguments are not supported");
                if (i >= toks.size() || !toks[i].IsIdent())
                    throw CompileError(where, "malformed parameter list of macro " + Narrow(name));
                if (std::find(m.params.begin(), m.params.end(), toks[i].text) != m.params.end())
                    throw CompileError(where, "duplicate parameter " + Narrow(toks[i].text) + " of macro " + Narrow(name));
                m.params.push_back(toks[i].text);
                ++i;
                if (i < toks.size() && toks[i].IsPunct(L",")) {
                    ++i;
                    continue;
                }
                if (i < toks.size() && toks[i].IsPunct(L")")) {
                    ++i;
                    break;
                }
                throw CompileError(where, "malformed parameter list of macro " + Narrow(name));
            }
        }
    }
    m.body.assign(toks.begin() + static_cast<std::ptrdiff_t>(i), toks.end());
    for (size_t k = 0; k < m.body.size(); ++k) {
        const Token& t = m.body[k];
        if (t.IsPunct(L"##") && (k == 0 || k + 1 == m.body.size()))
            throw CompileError(where, "'##' cannot be at either end of macro " + Narrow(name));
        if (m.function && t.IsPunct(L"#") &&
            !(k + 1 < m.body.size() && m.body[k + 1].IsIdent() &&
                std::find(m.params.begin(), m.params.end(), m.body[k + 1].text) != m.params.end()))
            throw CompileError(where, "'#' in macro " + Narrow(name) + " is not followed by a parameter");
    }
    DefineMacro(name, std::move(m), where);
}

void Preprocessor::DefineMacro(const std::wstring& name, Macro m, Location where)
{
    const auto it = m_macros.find(name);
    if (it != m_macros.end()) {
        const Macro& old = it->second;
        bool same = old.function == m.function && old.params == m.params && old.body.size() == m.body.size();
        for (size_t i = 0; same && i < m.body.size(); ++i)
            same = old.body[i].kind == m.body[i].kind && old.body[i].text == m.body[i].text;
        if (!same)
            m_ctx.Warn(where, "macro " + Narrow(name) + " redefined");
        it->second = std::move(m);
        return;
    }
    m_macros.emplace(name, std::move(m));
}

bool Preprocessor::EvalCondition(std::vector<Token> toks, Location where)
{
    std::vector<Token> r;
    r.reserve(toks.size());
    for (size_t i = 0; i < toks.size(); ++i) {
        if (!toks[i].IsIdent() || toks[i].text != L"defined") {
            r.push_back(std::move(toks[i]));
            continue;
        }
        const std::wstring* macro = nullptr;
        if (i + 1 < toks.size() && toks[i + 1].IsIdent()) {
            macro = &toks[i + 1].text;
            i += 1;
        } else if (i + 3 < toks.size() && toks[i + 1].IsPunct(L"(") && toks[i + 2].IsIdent() &&
                   toks[i + 3].IsPunct(L")")) {
            macro = &toks[i + 2].text;
            i += 3;
        } else {
            throw CompileError(where, "'defined' needs a macro name");
        }
        r.push_back(NumberToken(m_macros.count(*macro) ? 1 : 0, where));
    }
    const auto expanded = Expand(std::move(r), 0);
    return CondParser(expanded, where).Parse() != 0;
}

std::vector<Token> Preprocessor::Expand(std::vector<Token> toks, int depth)
{
    if (depth > kMaxArgumentNesting)
        throw CompileError(toks.empty() ? Location{} : toks[0].where, "macro arguments nested too deeply");
    std::vector<Token> out;
    out.reserve(toks.size());
    std::deque<Token> in(std::make_move_iterator(toks.begin()), std::make_move_iterator(toks.end()));
    while (!in.empty()) {
        Token t = std::move(in.front());
        in.pop_front();
        if (t.kind != TokKind::Ident) {
            out.push_back(std::move(t));
            continue;
        }
        const auto it = m_macros.find(t.text);
        if (it == m_macros.end() || t.Hidden(t.text)) {
            out.push_back(std::move(t));
            continue;
        }
        const Macro& m = it->second;
        std::vector<Token> repl;
        if (m.function) {
            if (in.empty() || !in.front().IsPunct(L"(")) {
                out.push_back(std::move(t)); // the name alone is no call
                continue;
            }
            in.pop_front();
            std::vector<std::vector<Token>> args(1);
            int level = 0;
            for (;;) {
                if (in.empty())
                    throw CompileError(t.where, "unterminated call of macro " + Narrow(t.text));
                Token a = std::move(in.front());
                in.pop_front();
                if (a.IsPunct(L"(")) {
                    ++level;
                } else if (a.IsPunct(L")")) {
                    if (level == 0)
                        break;
                    --level;
                } else if (a.IsPunct(L",") && level == 0) {
                    args.emplace_back();
                    continue;
                }
                args.back().push_back(std::move(a));
            }
            if (m.params.empty() && args.size() == 1 && args[0].empty())
                args.clear();
            if (args.size() != m.params.size())
                throw CompileError(t.where, "macro " + Narrow(t.text) + " takes " + std::to_string(m.params.size()) +
                        " argument(s), not " + std::to_string(args.size()));
            repl = Substitute(m, t, args, depth);
        } else {
            repl = Substitute(m, t, {}, depth);
        }
        if (!repl.empty())
            repl.front().spaceBefore = t.spaceBefore;
        m_expansionBudget += repl.size();
        if (m_expansionBudget > kExpansionBudget)
            throw CompileError(t.where, "macro expansion produces too many tokens (more than " +
                    std::to_string(kExpansionBudget) + ")");
        auto own = std::make_shared<std::vector<std::wstring>>();
        own->push_back(t.text);
        const HideSet hs = Union(t.hide, own);
        for (auto r = repl.rbegin(); r != repl.rend(); ++r) {
            r->where = t.where;
            r->hide = Union(r->hide, hs);
            in.push_front(std::move(*r));
        }
    }
    return out;
}

// The replacement of one call: parameters become their arguments, macro-expanded unless
// they are operands of # or ##; "# p" becomes the argument's spelling as a string, and
// "a ## b" joins the tokens on either side into one (an empty argument leaves the other
// side alone).
std::vector<Token> Preprocessor::Substitute(const Macro& m, const Token& call,
    const std::vector<std::vector<Token>>& args, int depth)
{
    const uint32_t page = m_codePage ? m_codePage : 1252;
    auto param = [&](const Token& b) -> int {
        if (!m.function || !b.IsIdent())
            return -1;
        const auto p = std::find(m.params.begin(), m.params.end(), b.text);
        return p == m.params.end() ? -1 : static_cast<int>(p - m.params.begin());
    };
    std::vector<std::optional<std::vector<Token>>> expanded(args.size());
    std::vector<Token> out;
    bool paste = false;     // the body token before this one was ##
    // The last operand gave no token; true at the start, so that a ## first in a body
    // (possible in -D macros, which skip #define's checks) has nothing to its left.
    bool lastEmpty = true;
    const std::vector<Token>& body = m.body;
    for (size_t k = 0; k < body.size(); ++k) {
        const Token& b = body[k];
        if (b.IsPunct(L"##")) {
            paste = true;
            continue;
        }
        std::vector<Token> piece;
        int p = -1;
        if (m.function && b.IsPunct(L"#") && k + 1 < body.size() && (p = param(body[k + 1])) >= 0) {
            piece.push_back(Stringize(args[static_cast<size_t>(p)], b.spaceBefore, call.where, page));
            ++k;
        } else if ((p = param(b)) >= 0) {
            const auto idx = static_cast<size_t>(p);
            const bool operand = paste || (k + 1 < body.size() && body[k + 1].IsPunct(L"##"));
            if (operand) {
                piece = args[idx];
            } else {
                if (!expanded[idx])
                    expanded[idx] = Expand(args[idx], depth + 1);
                piece = *expanded[idx];
            }
            if (!piece.empty())
                piece.front().spaceBefore = b.spaceBefore;
        } else {
            piece.push_back(b);
        }
        if (paste && !lastEmpty && !piece.empty()) {
            out.back() = Paste(out.back(), piece.front(), call.where, page);
            out.insert(out.end(), std::make_move_iterator(piece.begin() + 1), std::make_move_iterator(piece.end()));
        } else {
            out.insert(out.end(), std::make_move_iterator(piece.begin()), std::make_move_iterator(piece.end()));
        }
        lastEmpty = paste ? (lastEmpty && piece.empty()) : piece.empty();
        paste = false;
    }
    return out;
}

} // namespace zyn::rc
