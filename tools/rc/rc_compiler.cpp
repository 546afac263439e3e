#include "tools/rc/rc_compiler.h"

#include <new>

#include "tools/rc/rc_context.h"
#include "tools/rc/rc_parser.h"
#include "tools/rc/rc_preproc.h"

namespace zyn::rc {

CompileResult Compile(const std::vector<std::string>& scriptPaths, const CompileOptions& options, FileSystem& files)
{
    CompileResult result;
    Context ctx(files, options);
    std::vector<std::string> paths;
    for (const std::string& p : scriptPaths)
        paths.push_back(NormalizePath(p));
    try {
        if (paths.empty())
            throw CompileError(Location{}, "no script to compile");
        Preprocessor pre(ctx);
        std::vector<Token> tokens = pre.Run(paths);
        Parser parser(ctx, std::move(tokens), paths.front());
        result.resources = parser.Run();
    } catch (const CompileError& e) {
        ctx.Error(e.Where(), e.what());
    } catch (const std::bad_alloc&) {
        ctx.Error(Location{}, "out of memory");
    } catch (const std::exception& e) {
        ctx.Error(Location{}, std::string("internal error: ") + e.what());
    }
    result.diagnostics = std::move(ctx.Diagnostics());
    result.dependencies = ctx.Dependencies();
    result.ok = true;
    for (const Diagnostic& d : result.diagnostics)
        if (d.kind == Diagnostic::Kind::Error)
            result.ok = false;
    if (!result.ok)
        result.resources.clear();
    return result;
}

CompileResult Compile(const std::string& scriptPath, const CompileOptions& options, FileSystem& files)
{
    return Compile(std::vector<std::string>{scriptPath}, options, files);
}

CompileResult CompileText(std::string_view text, const CompileOptions& options, const std::string& name)
{
    MemoryFileSystem files;
    files.Add(name, text);
    return Compile(name, options, files);
}

} // namespace zyn::rc
