// Resource statements: values and expressions, string tables, accelerators, toolbars,
// images and raw data. Menus and dialogs are in rc_parser_dialog.cpp.
#include "tools/rc/rc_parser.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <span>

#include "platform/base/utf16.h"

namespace zyn::rc {
namespace {

constexpr int kMaxExpressionDepth = 256;

// Resource types by number (menus and dialogs: rc_parser_dialog.cpp).
constexpr uint16_t kRtCursor = 1, kRtBitmap = 2, kRtIcon = 3, kRtString = 6,
                   kRtFont = 8, kRtAccelerator = 9, kRtRcdata = 10, kRtMessageTable = 11, kRtGroupCursor = 12,
                   kRtGroupIcon = 14, kRtDlgInclude = 17, kRtPlugPlay = 19, kRtVxd = 20, kRtAniCursor = 21,
                   kRtAniIcon = 22, kRtHtml = 23, kRtDlgInit = 240, kRtToolbar = 241;

// Accelerator flags.
constexpr uint16_t kFVirtKey = 0x01, kFNoInvert = 0x02, kFShift = 0x04, kFControl = 0x08, kFAlt = 0x10;

std::string Describe(const Token& t)
{
    switch (t.kind) {
    case TokKind::End:
        return "end of file";
    case TokKind::String: {
        std::string s = Narrow(t.str);
        if (s.size() > 40)
            s = s.substr(0, 40) + "...";
        return "string \"" + s + "\"";
    }
    default:
        if (t.kind == TokKind::Punct && t.text.size() == 1 && (t.text[0] < 0x20 || t.text[0] == 0x7F)) {
            char buf[24];
            std::snprintf(buf, sizeof buf, "character 0x%02X", static_cast<unsigned>(t.text[0]));
            return buf;
        }
        return "'" + Narrow(t.text) + "'";
    }
}

std::string Describe(const ResId& id)
{
    return id.IsNumber() ? std::to_string(id.id) : "\"" + Narrow(id.name) + "\"";
}

std::string Where(Location l)
{
    return (l.file ? *l.file : std::string("?")) + "(" + std::to_string(l.line) + ")";
}

// File-based or raw-data types named by keywords.
struct DataKeyword {
    const wchar_t* keyword;
    uint16_t type;
};
constexpr DataKeyword kDataKeywords[] = {
    {L"RCDATA", kRtRcdata},
    {L"HTML", kRtHtml},
    {L"MESSAGETABLE", kRtMessageTable},
    {L"FONT", kRtFont},
    {L"PLUGPLAY", kRtPlugPlay},
    {L"VXD", kRtVxd},
    {L"ANICURSOR", kRtAniCursor},
    {L"ANIICON", kRtAniIcon},
    {L"DLGINIT", kRtDlgInit},
};

constexpr const wchar_t* kMemoryOptions[] = {
    L"PRELOAD", L"LOADONCALL", L"FIXED", L"MOVEABLE", L"DISCARDABLE", L"PURE", L"IMPURE", L"SHARED", L"NONSHARED"};

} // namespace

Parser::Parser(Context& context, std::vector<Token> tokens, std::string scriptPath)
    : m_ctx(context), m_t(std::move(tokens)), m_script(std::move(scriptPath)), m_lang(context.Options().defaultLanguage)
{
    if (m_t.empty() || m_t.back().kind != TokKind::End)
        m_t.push_back(Token{});
}

// ---- tokens -----------------------------------------------------------------------------

const Token& Parser::Peek(size_t ahead) const
{
    const size_t i = m_pos + ahead;
    return i < m_t.size() ? m_t[i] : m_t.back();
}

Token Parser::Next()
{
    Token t = Peek();
    if (m_pos < m_t.size() - 1)
        ++m_pos;
    return t;
}

bool Parser::AcceptKeyword(std::wstring_view kw)
{
    if (!Peek().IsKeyword(kw))
        return false;
    Next();
    return true;
}

bool Parser::AcceptPunct(std::wstring_view p)
{
    if (!Peek().IsPunct(p))
        return false;
    Next();
    return true;
}

void Parser::ExpectPunct(std::wstring_view p, const char* context)
{
    if (!AcceptPunct(p))
        throw CompileError(Peek().where, std::string("expected '") + Narrow(p) + "' " + context + ", found " +
                Describe(Peek()));
}

bool Parser::AtBegin() const { return Peek().IsKeyword(L"BEGIN") || Peek().IsPunct(L"{"); }

void Parser::ExpectBegin(const char* context)
{
    if (!AtBegin())
        throw CompileError(Peek().where, std::string("expected BEGIN ") + context + ", found " + Describe(Peek()));
    Next();
}

bool Parser::AcceptEnd()
{
    if (Peek().kind == TokKind::End)
        throw CompileError(Peek().where, "unexpected end of file: END is missing");
    if (Peek().IsKeyword(L"END") || Peek().IsPunct(L"}")) {
        Next();
        return true;
    }
    return false;
}

void Parser::Unexpected(const char* expected) const
{
    throw CompileError(Peek().where, std::string("expected ") + expected + ", found " + Describe(Peek()));
}

bool Parser::AtExpressionStart() const
{
    const Token& t = Peek();
    return t.kind == TokKind::Number || t.IsPunct(L"(") || t.IsPunct(L"-") || t.IsPunct(L"~") ||
        t.IsPunct(L"+") || t.IsPunct(L"!") || (t.IsIdent() && !t.IsKeyword(L"NOT"));
}

// ---- values -------------------------------------------------------------------------------
// 32-bit arithmetic that wraps, as the classic compiler's; identifiers that are not
// macros are errors (a misspelt ID must not become 0).

Parser::Value Parser::Expr() { return OrExpr(); }

Parser::Value Parser::OrExpr()
{
    Value v = XorExpr();
    while (Peek().IsPunct(L"|")) {
        Next();
        const Value r = XorExpr();
        v = Value{v.v | r.v, v.isLong || r.isLong};
    }
    return v;
}

Parser::Value Parser::XorExpr()
{
    Value v = AndExpr();
    while (Peek().IsPunct(L"^")) {
        Next();
        const Value r = AndExpr();
        v = Value{v.v ^ r.v, v.isLong || r.isLong};
    }
    return v;
}

Parser::Value Parser::AndExpr()
{
    Value v = ShiftExpr();
    while (Peek().IsPunct(L"&")) {
        Next();
        const Value r = ShiftExpr();
        v = Value{v.v & r.v, v.isLong || r.isLong};
    }
    return v;
}

Parser::Value Parser::ShiftExpr()
{
    Value v = AddExpr();
    for (;;) {
        const bool left = Peek().IsPunct(L"<<");
        if (!left && !Peek().IsPunct(L">>"))
            return v;
        const Location at = Next().where;
        const Value r = AddExpr();
        if (r.v > 31)
            throw CompileError(at, "shift count " + std::to_string(r.v) + " out of range");
        v = Value{left ? v.v << r.v : v.v >> r.v, v.isLong || r.isLong};
    }
}

Parser::Value Parser::AddExpr()
{
    Value v = MulExpr();
    for (;;) {
        const bool plus = Peek().IsPunct(L"+");
        if (!plus && !Peek().IsPunct(L"-"))
            return v;
        Next();
        const Value r = MulExpr();
        v = Value{plus ? v.v + r.v : v.v - r.v, v.isLong || r.isLong};
    }
}

Parser::Value Parser::MulExpr()
{
    Value v = UnaryExpr();
    for (;;) {
        const bool mul = Peek().IsPunct(L"*"), div = Peek().IsPunct(L"/"), mod = Peek().IsPunct(L"%");
        if (!mul && !div && !mod)
            return v;
        const Location at = Next().where;
        const Value r = UnaryExpr();
        if (!mul && r.v == 0)
            throw CompileError(at, "division by zero");
        // Signed division, as the values are usually small negative IDs or styles.
        const auto a = static_cast<int32_t>(v.v), b = static_cast<int32_t>(r.v);
        uint32_t res;
        if (mul)
            res = v.v * r.v;
        else if (b == -1)
            res = div ? 0u - v.v : 0u;
        else
            res = static_cast<uint32_t>(div ? a / b : a % b);
        v = Value{res, v.isLong || r.isLong};
    }
}

Parser::Value Parser::UnaryExpr()
{
    if (++m_exprDepth > kMaxExpressionDepth)
        throw CompileError(Peek().where, "expression nested too deeply");
    Value v;
    if (AcceptPunct(L"-")) {
        v = UnaryExpr();
        v.v = 0u - v.v;
    } else if (AcceptPunct(L"+")) {
        v = UnaryExpr();
    } else if (AcceptPunct(L"~")) {
        v = UnaryExpr();
        v.v = ~v.v;
    } else if (AcceptPunct(L"!")) {
        v = UnaryExpr();
        v.v = v.v ? 0 : 1;
    } else {
        v = Primary();
    }
    --m_exprDepth;
    return v;
}

Parser::Value Parser::Primary()
{
    const Token& t = Peek();
    if (t.kind == TokKind::Number) {
        const NumberValue n = ParseNumber(t, false);
        Next();
        return Value{n.value, n.isLong};
    }
    if (t.IsPunct(L"(")) {
        Next();
        const Value v = OrExpr();
        ExpectPunct(L")", "to close the expression");
        return v;
    }
    if (t.IsIdent())
        throw CompileError(t.where, "undefined symbol '" + Narrow(t.text) + "'");
    Unexpected("a number or expression");
}

// Styles: terms joined by '|' onto a starting value; "NOT term" clears its bits.
uint32_t Parser::Style(uint32_t start)
{
    uint32_t v = start;
    do {
        const bool negate = AcceptKeyword(L"NOT");
        const uint32_t term = XorExpr().v;
        v = negate ? (v & ~term) : (v | term);
    } while (AcceptPunct(L"|"));
    return v;
}

uint16_t Parser::Word(const char* what)
{
    const Location at = Peek().where;
    const uint32_t v = Expr().v;
    if (!FitsInWord(v))
        throw CompileError(at, std::string(what) + " " + std::to_string(static_cast<int32_t>(v)) +
                " does not fit in 16 bits");
    return static_cast<uint16_t>(v);
}

int16_t Parser::Coord(const char* what)
{
    const Location at = Peek().where;
    const auto v = static_cast<int32_t>(Expr().v);
    if (v < -32768 || v > 32767)
        throw CompileError(at, std::string(what) + " " + std::to_string(v) + " is outside -32768..32767");
    return static_cast<int16_t>(v);
}

uint16_t Parser::Language()
{
    const Location at = Peek().where;
    const uint32_t primary = Expr().v;
    ExpectPunct(L",", "between the language and sublanguage");
    const uint32_t sub = Expr().v;
    if (primary > 0x3FF || sub > 0x3F)
        throw CompileError(at, "language " + std::to_string(primary) + ", " + std::to_string(sub) + " is out of range");
    return static_cast<uint16_t>((sub << 10) | primary);
}

std::wstring Parser::StringLit(const char* what)
{
    if (Peek().kind != TokKind::String)
        Unexpected(what);
    std::wstring s;
    const Location at = Peek().where;
    while (Peek().kind == TokKind::String)
        s += Next().str;
    for (const wchar_t c : s)
        if (!base::IsScalarValue(static_cast<uint32_t>(c)))
            throw CompileError(at, "the string holds a character that is not a Unicode scalar value");
    return s;
}

ResId Parser::ResourceName(const char* what)
{
    const Token& t = Peek();
    if (t.kind == TokKind::String) {
        const Location at = t.where;
        const std::wstring s = StringLit(what);
        if (s.empty())
            throw CompileError(at, std::string(what) + " is an empty string");
        return ResId::Name(UpperAscii(s));
    }
    if (t.IsIdent() && !t.IsKeyword(L"NOT")) {
        return ResId::Name(UpperAscii(Next().text));
    }
    const Location at = t.where;
    const uint32_t v = Expr().v;
    if (v == 0 || v > 0xFFFF)
        throw CompileError(at, std::string(what) + " " + std::to_string(static_cast<int32_t>(v)) +
                " is outside 1..65535");
    return ResId::Number(static_cast<uint16_t>(v));
}

NameOrOrd Parser::TextOrOrdinal(const char* what)
{
    const Token& t = Peek();
    if (t.kind == TokKind::String)
        return NameOrOrd::Str(StringLit(what));
    // A lone identifier that is no macro names a resource by string.
    if (t.IsIdent() && (Peek(1).IsPunct(L",") || Peek(1).kind == TokKind::End))
        return NameOrOrd::Str(UpperAscii(Next().text));
    return NameOrOrd::Ord(Word(what));
}

void Parser::SkipMemoryOptions()
{
    for (bool again = true; again;) {
        again = false;
        for (const wchar_t* kw : kMemoryOptions)
            if (AcceptKeyword(kw))
                again = true;
    }
}

// LANGUAGE, CHARACTERISTICS and VERSION before a resource's body.
void Parser::CommonOptions(uint16_t& lang)
{
    for (;;) {
        SkipMemoryOptions();
        if (AcceptKeyword(L"LANGUAGE"))
            lang = Language();
        else if (AcceptKeyword(L"CHARACTERISTICS") || AcceptKeyword(L"VERSION"))
            Expr();
        else
            return;
    }
}

// ---- statements -----------------------------------------------------------------------------

std::vector<Resource> Parser::Run()
{
    while (Peek().kind != TokKind::End)
        Statement();
    for (const auto& [lang, strings] : m_strings) {
        std::map<uint16_t, std::wstring> texts;
        for (const auto& [id, e] : strings)
            texts.emplace(id, e.text);
        for (auto& [block, bytes] : BuildStringBlocks(texts)) {
            const Location at = strings.lower_bound(static_cast<uint16_t>((block - 1) * 16))->second.where;
            Add(ResId::Number(kRtString), ResId::Number(block), lang, std::move(bytes), at);
        }
    }
    return std::move(m_out);
}

void Parser::Statement()
{
    const Location where = Peek().where;
    if (AcceptKeyword(L"LANGUAGE")) {
        m_lang = Language();
        return;
    }
    if (Peek().IsKeyword(L"STRINGTABLE")) {
        StringTable();
        return;
    }
    if (AcceptKeyword(L"CHARACTERISTICS") || AcceptKeyword(L"VERSION")) {
        Expr();
        return;
    }
    if ((Peek().kind == TokKind::Punct && !Peek().IsPunct(L"(") && !Peek().IsPunct(L"-") && !Peek().IsPunct(L"~")) ||
        Peek().IsKeyword(L"BEGIN") || Peek().IsKeyword(L"END"))
        Unexpected("a resource statement");
    const ResId name = ResourceName("resource name");
    const Token& type = Peek();
    if (type.kind == TokKind::End)
        throw CompileError(type.where, "expected a resource type after the name " + Describe(name));
    if (type.IsKeyword(L"ACCELERATORS")) {
        Next();
        Accelerators(name, where);
    } else if (type.IsKeyword(L"MENU") || type.IsKeyword(L"MENUEX")) {
        const bool ex = Next().IsKeyword(L"MENUEX");
        Menu(name, ex, where);
    } else if (type.IsKeyword(L"DIALOG") || type.IsKeyword(L"DIALOGEX")) {
        const bool ex = Next().IsKeyword(L"DIALOGEX");
        DialogStatement(name, ex, where);
    } else if (type.IsKeyword(L"TOOLBAR")) {
        Next();
        Toolbar(name, where);
    } else if (type.IsKeyword(L"ICON") || type.IsKeyword(L"CURSOR")) {
        const bool cursor = Next().IsKeyword(L"CURSOR");
        IconOrCursor(name, cursor, where);
    } else if (type.IsKeyword(L"BITMAP")) {
        Next();
        Bitmap(name, where);
    } else if (type.IsKeyword(L"VERSIONINFO")) {
        Next();
        VersionInfo(name, where);
    } else if (type.IsKeyword(L"STRINGTABLE")) {
        throw CompileError(type.where, "a STRINGTABLE has no name");
    } else if (type.IsKeyword(L"DLGINCLUDE")) {
        Next();
        uint16_t lang = m_lang;
        CommonOptions(lang);
        std::vector<uint8_t> bytes;
        if (!EncodeWindows1252(StringLit("a header file name"), bytes))
            throw CompileError(where, "the DLGINCLUDE file name has characters outside Windows-1252");
        bytes.push_back(0);
        Add(ResId::Number(kRtDlgInclude), name, lang, std::move(bytes), where);
    } else {
        ResId typeId;
        bool found = false;
        for (const DataKeyword& k : kDataKeywords) {
            if (type.IsKeyword(k.keyword)) {
                Next();
                typeId = ResId::Number(k.type);
                found = true;
                break;
            }
        }
        if (!found) {
            if (type.kind == TokKind::Punct && !type.IsPunct(L"("))
                Unexpected("a resource type");
            typeId = ResourceName("resource type");
        }
        DataResource(typeId, name, where);
    }
}

void Parser::StringTable()
{
    Next(); // STRINGTABLE
    uint16_t lang = m_lang;
    CommonOptions(lang);
    ExpectBegin("after STRINGTABLE");
    auto& table = m_strings[lang];
    while (!AcceptEnd()) {
        const Location at = Peek().where;
        const uint32_t id = Expr().v;
        if (id > 0xFFFF)
            throw CompileError(at, "string ID " + std::to_string(static_cast<int32_t>(id)) + " is outside 0..65535");
        AcceptPunct(L",");
        std::wstring text = StringLit("the string's text");
        if (base::Utf16Length(text) > 0xFFFF)
            throw CompileError(at, "string " + std::to_string(id) + " is longer than 65535 UTF-16 units");
        const auto [it, added] = table.try_emplace(static_cast<uint16_t>(id), StringEntry{std::move(text), at});
        if (!added)
            throw CompileError(at, "string ID " + std::to_string(id) + " is already defined at " +
                    Where(it->second.where));
    }
}

void Parser::Accelerators(const ResId& name, Location where)
{
    uint16_t lang = m_lang;
    CommonOptions(lang);
    ExpectBegin("after ACCELERATORS");
    std::vector<AccelEntry> entries;
    while (!AcceptEnd()) {
        const Location at = Peek().where;
        AccelEntry e;
        bool control = false; // "^X"
        bool fromString = false;
        uint32_t key = 0;
        if (Peek().kind == TokKind::String) {
            const std::wstring s = StringLit("an accelerator key");
            fromString = true;
            if (s.size() == 2 && s[0] == L'^') {
                const wchar_t c = (s[1] >= L'a' && s[1] <= L'z') ? static_cast<wchar_t>(s[1] - 32) : s[1];
                if (c < L'@' || c > L'_')
                    throw CompileError(at, "control character \"" + Narrow(s) + "\" is out of range");
                key = static_cast<uint32_t>(c - L'@');
                control = true;
            } else if (s.size() == 1) {
                key = static_cast<uint32_t>(s[0]);
            } else {
                throw CompileError(at, "an accelerator key is one character or \"^X\", not \"" + Narrow(s) + "\"");
            }
        } else {
            key = Expr().v;
        }
        ExpectPunct(L",", "after the accelerator key");
        e.id = Word("accelerator command");
        bool ascii = false, virtkey = false;
        // Options follow after commas (or, leniently, after spaces).
        for (;;) {
            const bool comma = AcceptPunct(L",");
            const Token& o = Peek();
            if (o.IsKeyword(L"ASCII"))
                ascii = true;
            else if (o.IsKeyword(L"VIRTKEY"))
                virtkey = true;
            else if (o.IsKeyword(L"NOINVERT"))
                e.flags |= kFNoInvert;
            else if (o.IsKeyword(L"SHIFT"))
                e.flags |= kFShift;
            else if (o.IsKeyword(L"CONTROL"))
                e.flags |= kFControl;
            else if (o.IsKeyword(L"ALT"))
                e.flags |= kFAlt;
            else if (comma)
                throw CompileError(o.where, "unknown accelerator option " + Describe(o));
            else
                break;
            Next();
        }
        if (ascii && virtkey)
            throw CompileError(at, "an accelerator cannot be both ASCII and VIRTKEY");
        if (virtkey) {
            if (control)
                throw CompileError(at, "\"^X\" keys are ASCII accelerators, not VIRTKEY");
            e.flags |= kFVirtKey;
            if (fromString && key >= L'a' && key <= L'z') {
                m_ctx.Warn(at, "virtual key '" + std::string(1, static_cast<char>(key)) +
                        "' is lower case; the upper-case key is used");
                key -= 32;
            }
        } else if (e.flags & (kFShift | kFControl)) {
            m_ctx.Warn(at, "SHIFT and CONTROL apply only to VIRTKEY accelerators");
        }
        if (key > 0xFFFF)
            throw CompileError(at, "accelerator key " + std::to_string(key) + " does not fit in 16 bits");
        e.key = static_cast<uint16_t>(key);
        entries.push_back(e);
        if (entries.size() > 0xFFFF)
            throw CompileError(at, "too many accelerators in one table");
    }
    if (entries.empty())
        throw CompileError(where, "the ACCELERATORS table " + Describe(name) + " is empty");
    Add(ResId::Number(kRtAccelerator), name, lang, BuildAccelerators(entries), where);
}

void Parser::Toolbar(const ResId& name, Location where)
{
    SkipMemoryOptions();
    const uint16_t width = Word("button width");
    ExpectPunct(L",", "between the button width and height");
    const uint16_t height = Word("button height");
    uint16_t lang = m_lang;
    CommonOptions(lang);
    ExpectBegin("after TOOLBAR");
    std::vector<uint16_t> ids;
    while (!AcceptEnd()) {
        if (AcceptKeyword(L"BUTTON")) {
            const Location at = Peek().where;
            const uint16_t id = Word("button command");
            if (id == 0)
                throw CompileError(at, "a toolbar BUTTON needs a command other than 0 (0 marks a SEPARATOR)");
            ids.push_back(id);
        } else if (AcceptKeyword(L"SEPARATOR")) {
            ids.push_back(0);
        } else {
            Unexpected("BUTTON, SEPARATOR or END");
        }
        if (ids.size() > 0xFFFF)
            throw CompileError(where, "too many toolbar items");
    }
    Add(ResId::Number(kRtToolbar), name, lang, BuildToolbar(width, height, ids), where);
}

// A data file's name: a string, or written without quotes ("app.ico", "res\\tool bar.bmp"
// needs them) as the tokens that follow one another without white space.
std::wstring Parser::FileName(const char* what)
{
    if (Peek().kind == TokKind::String)
        return StringLit(what);
    auto part = [](const Token& t) {
        return t.kind == TokKind::Ident || t.kind == TokKind::Number ||
            (t.kind == TokKind::Punct && !t.IsPunct(L",") && !t.IsPunct(L"{") && !t.IsPunct(L"}"));
    };
    if (!part(Peek()) || AtBegin() || Peek().IsKeyword(L"END"))
        Unexpected(what);
    std::wstring name = Next().text;
    while (part(Peek()) && !Peek().spaceBefore)
        name += Next().text;
    return name;
}

std::string Parser::LocateDataFile(const std::wstring& name, Location where)
{
    const std::string n = NormalizePath(base::ToUtf8(name));
    if (n.empty())
        throw CompileError(where, "empty file name");
    std::vector<std::string> candidates;
    if (IsAbsolutePath(n)) {
        candidates.push_back(n);
    } else {
        candidates.push_back(JoinPath(DirectoryOf(m_script), n));
        if (where.file)
            candidates.push_back(JoinPath(DirectoryOf(*where.file), n));
        for (const std::string& dir : m_ctx.Options().includeDirs)
            candidates.push_back(JoinPath(NormalizePath(dir), n));
    }
    for (const std::string& c : candidates)
        if (auto found = m_ctx.Files().Locate(c))
            return *found;
    throw CompileError(where, "cannot find file '" + n + "'");
}

void Parser::IconOrCursor(const ResId& name, bool cursor, Location where)
{
    uint16_t lang = m_lang;
    CommonOptions(lang);
    const std::wstring file = FileName(cursor ? "a cursor file name" : "an icon file name");
    const std::string path = LocateDataFile(file, where);
    const auto bytes = m_ctx.ReadFile(path, where);
    std::vector<IconFileImage> images;
    std::string error;
    if (!ParseIconFile(bytes, cursor, images, error))
        throw CompileError(where, path + ": " + error);
    uint32_t& next = cursor ? m_nextCursor : m_nextIcon;
    std::vector<uint16_t> ids;
    for (const IconFileImage& img : images) {
        if (next > 0xFFFF)
            throw CompileError(where, "too many icon or cursor images");
        ids.push_back(static_cast<uint16_t>(next++));
        Add(ResId::Number(cursor ? kRtCursor : kRtIcon), ResId::Number(ids.back()), lang,
            IconImageResource(img, cursor), where);
    }
    Add(ResId::Number(cursor ? kRtGroupCursor : kRtGroupIcon), name, lang, BuildIconGroup(images, ids, cursor),
        where);
}

void Parser::Bitmap(const ResId& name, Location where)
{
    uint16_t lang = m_lang;
    CommonOptions(lang);
    const std::string path = LocateDataFile(FileName("a bitmap file name"), where);
    const auto bytes = m_ctx.ReadFile(path, where);
    std::vector<uint8_t> dib;
    std::string error;
    if (!PackedDibFromBmpFile(bytes, dib, error))
        throw CompileError(where, path + ": " + error);
    Add(ResId::Number(kRtBitmap), name, lang, std::move(dib), where);
}

void Parser::DataResource(const ResId& type, const ResId& name, Location where)
{
    uint16_t lang = m_lang;
    CommonOptions(lang);
    std::vector<uint8_t> data;
    if (AtBegin()) {
        Next();
        data = RawData("in raw data");
    } else {
        const std::string path = LocateDataFile(FileName("a file name or BEGIN"), where);
        data = m_ctx.ReadFile(path, where);
    }
    Add(type, name, lang, std::move(data), where);
}

// Items until END: numbers as WORDs (DWORDs with an L suffix), narrow strings as
// Windows-1252 bytes and L"..." strings as UTF-16LE, neither terminated.
std::vector<uint8_t> Parser::RawData(const char* context)
{
    ByteWriter w;
    while (!AcceptEnd()) {
        const Location at = Peek().where;
        if (Peek().kind == TokKind::String) {
            const Token s = Next();
            if (s.wide) {
                for (const wchar_t c : s.str)
                    if (!base::IsScalarValue(static_cast<uint32_t>(c)))
                        throw CompileError(at, "the string holds a character that is not a Unicode scalar value");
                w.Text(s.str);
            } else {
                if (!s.narrowOk)
                    throw CompileError(at, "a narrow string holds characters that the script's code page (Windows-1252 "
                                           "unless #pragma code_page says otherwise) has no byte for; write L\"...\"");
                w.Bytes(std::span(reinterpret_cast<const uint8_t*>(s.narrow.data()), s.narrow.size()));
            }
        } else if (AtExpressionStart()) {
            const Value v = Expr();
            if (v.isLong) {
                w.U32(v.v);
            } else {
                if (!FitsInWord(v.v))
                    throw CompileError(at, "value " + std::to_string(v.v) +
                            " does not fit in a WORD (write it with an L suffix for a DWORD)");
                w.U16(static_cast<uint16_t>(v.v));
            }
        } else {
            throw CompileError(at, std::string("unexpected ") + Describe(Peek()) + " " + context);
        }
        AcceptPunct(L",");
        if (w.Size() > 0x7FFFFFFF)
            throw CompileError(at, "raw data too large");
    }
    return w.Take();
}

void Parser::Add(ResId type, ResId name, uint16_t lang, std::vector<uint8_t> data, Location where)
{
    const auto key = std::make_tuple(type, name, lang);
    const auto [it, added] = m_seen.try_emplace(key, where);
    if (!added)
        throw CompileError(where, "duplicate resource: type " + Describe(type) + ", name " + Describe(name) +
                ", language " + std::to_string(lang) + " (first defined at " + Where(it->second) + ")");
    Resource r;
    r.type = std::move(type);
    r.name = std::move(name);
    r.language = lang;
    r.data = std::move(data);
    r.file = where.file ? *where.file : std::string();
    r.line = where.line;
    m_out.push_back(std::move(r));
}

} // namespace zyn::rc
