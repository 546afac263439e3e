#pragma once
// The preprocessor of resource scripts: #include with "..." and <...> search paths,
// object-like and function-like #define with the # (stringize) and ## (paste)
// operators, #undef, #if/#ifdef/#ifndef/#elif/#else/#endif with integer expressions and
// defined(), #error, #pragma code_page (other pragmas are ignored), comments and line
// continuations. The text lines between two directives are expanded as one run, so a
// macro call may span lines. Files included with a .h or .c extension contribute only
// their directives (their C declarations are skipped), as the classic compiler does.
//
// Narrow text is read in the code page that `#pragma code_page(N)` declares from that
// line on (it stays in force across #include, as it is part of the token stream);
// `#pragma code_page(DEFAULT)` returns to the default (see ScriptText).

#include <map>
#include <string>
#include <vector>

#include "tools/rc/rc_context.h"
#include "tools/rc/rc_token.h"

namespace zyn::rc {

class Preprocessor {
public:
    explicit Preprocessor(Context& context);

    // The expanded tokens of scripts read one after the other (macros defined by one stay
    // defined for the next), ending with an End token. Throws CompileError.
    std::vector<Token> Run(const std::vector<std::string>& paths);

private:
    struct Macro {
        bool function = false;
        std::vector<std::wstring> params;
        std::vector<Token> body;
    };
    struct Cond {
        bool parentActive = true;
        bool taken = false; // a branch of this group was chosen
        bool active = false;
        bool sawElse = false;
        Location where;
    };

    struct File {
        std::string path;
        const ScriptText* text = nullptr;
        bool warnedDefault = false; // the "read as Windows-1252" warning was given
    };

    void ProcessFile(const std::string& path, const ScriptText& text, bool headerMode, int depth);
    void ReadFile(const std::string& path, Location where, bool headerMode, int depth);
    std::wstring DecodeLine(std::wstring_view units, File& file, Location where, bool strict);
    std::vector<Token> TokenizeLine(std::wstring_view line, Location where);
    void Directive(const std::wstring& line, Location where, std::vector<Cond>& conds, const std::string& path,
        int depth);
    void Include(std::wstring_view rest, Location where, const std::string& path, int depth);
    void Pragma(std::wstring_view rest, Location where);
    void Define(const std::vector<Token>& toks, Location where);
    bool EvalCondition(std::vector<Token> toks, Location where);
    void Flush();

    std::vector<Token> Expand(std::vector<Token> toks, int depth);
    std::vector<Token> Substitute(const Macro& m, const Token& call, const std::vector<std::vector<Token>>& args,
        int depth);
    void DefineMacro(const std::wstring& name, Macro m, Location where);

    Context& m_ctx;
    std::map<std::wstring, Macro> m_macros;
    std::vector<Token> m_out;
    std::vector<Token> m_pending; // text lines since the last directive, not yet expanded
    uint32_t m_codePage = 0;      // 0: the default (see ScriptText)
    size_t m_expansionBudget = 0;
};

} // namespace zyn::rc
