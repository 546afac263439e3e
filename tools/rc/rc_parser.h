#pragma once
// The statements of resource scripts, turned into resources in their binary layouts.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "tools/rc/rc_context.h"
#include "tools/rc/rc_layout.h"
#include "tools/rc/rc_token.h"

namespace zyn::rc {

class Parser {
public:
    // `scriptPath`: the main script, whose folder data files are looked up in first.
    Parser(Context& context, std::vector<Token> tokens, std::string scriptPath);

    // Every resource of the script; string blocks come last. Throws CompileError.
    std::vector<Resource> Run();

private:
    struct Value {
        uint32_t v = 0;
        bool isLong = false;
    };

    // ---- tokens
    const Token& Peek(size_t ahead = 0) const;
    Token Next();
    bool AcceptKeyword(std::wstring_view kw);
    bool AcceptPunct(std::wstring_view p);
    void ExpectPunct(std::wstring_view p, const char* context);
    bool AtBegin() const;
    void ExpectBegin(const char* context);
    bool AcceptEnd();
    [[noreturn]] void Unexpected(const char* expected) const;
    bool AtExpressionStart() const;

    // ---- values
    Value Expr();
    Value OrExpr();
    Value XorExpr();
    Value AndExpr();
    Value ShiftExpr();
    Value AddExpr();
    Value MulExpr();
    Value UnaryExpr();
    Value Primary();
    uint32_t Style(uint32_t start);
    uint32_t ControlStyle(uint32_t defaults, uint32_t kindMask);
    uint16_t Word(const char* what);
    int16_t Coord(const char* what);
    uint16_t Language();
    std::wstring StringLit(const char* what);
    ResId ResourceName(const char* what);
    NameOrOrd TextOrOrdinal(const char* what);
    void SkipMemoryOptions();
    void CommonOptions(uint16_t& lang);

    // ---- statements
    void Statement();
    void StringTable();
    void Accelerators(const ResId& name, Location where);
    void Menu(const ResId& name, bool ex, Location where);
    std::vector<MenuItem> MenuItems(bool ex, int depth);
    void DialogStatement(const ResId& name, bool ex, Location where);
    DialogControl Control(bool ex);
    void Toolbar(const ResId& name, Location where);
    void IconOrCursor(const ResId& name, bool cursor, Location where);
    void Bitmap(const ResId& name, Location where);
    void DataResource(const ResId& type, const ResId& name, Location where);
    std::vector<uint8_t> RawData(const char* context);

    void VersionInfo(const ResId& name, Location where);
    std::vector<VersionNode> VersionChildren(int depth);
    std::wstring FileName(const char* what);
    std::string LocateDataFile(const std::wstring& name, Location where);
    void Add(ResId type, ResId name, uint16_t lang, std::vector<uint8_t> data, Location where);

    Context& m_ctx;
    std::vector<Token> m_t;
    size_t m_pos = 0;
    std::string m_script;
    uint16_t m_lang = 0;
    uint32_t m_nextIcon = 1;
    uint32_t m_nextCursor = 1;
    int m_exprDepth = 0;
    std::vector<Resource> m_out;
    std::map<std::tuple<ResId, ResId, uint16_t>, Location> m_seen;
    struct StringEntry {
        std::wstring text;
        Location where;
    };
    std::map<uint16_t, std::map<uint16_t, StringEntry>> m_strings; // by language, then ID
};

} // namespace zyn::rc
