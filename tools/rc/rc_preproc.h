#pragma once
// The preprocessor of resource scripts: #include with "..." and <...> search paths,
// object-like and function-like #define, #undef, #if/#ifdef/#ifndef/#elif/#else/#endif
// with integer expressions and defined(), #error, #pragma (ignored), comments and line
// continuations. Files included with a .h or .c extension contribute only their
// directives (their C declarations are skipped), as the classic compiler does.

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

    void ProcessFile(const std::string& path, const std::wstring& text, bool headerMode, int depth);
    void Directive(const std::wstring& line, Location where, std::vector<Cond>& conds, const std::string& path,
        int depth);
    void Include(std::wstring_view rest, Location where, const std::string& path, int depth);
    void Define(const std::vector<Token>& toks, Location where);
    bool EvalCondition(std::vector<Token> toks, Location where);

    std::vector<Token> Expand(std::vector<Token> toks, int depth);
    void DefineMacro(const std::wstring& name, Macro m, Location where);

    Context& m_ctx;
    std::map<std::wstring, Macro> m_macros;
    std::vector<Token> m_out;
    size_t m_expansionBudget = 0;
};

} // namespace zyn::rc
