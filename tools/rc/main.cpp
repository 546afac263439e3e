// zyn-rc: compiles resource scripts into a C++ source that registers the resources.
//
//   zyn-rc [options] script.rc [more.rc ...]
//     -o FILE            the C++ source to write (required unless --check or --list)
//     -I DIR             a folder searched for #include files and data files (repeatable)
//     -D NAME[=VALUE]    a macro (repeatable)
//     --function NAME    emit `bool NAME(HMODULE)` that adds the resources
//     --module NAME      register a resource-only module NAME at load and add them to it
//     --language N       the language of resources before any LANGUAGE (default 0)
//     --depfile FILE     write the files read, for the build system
//     --no-builtin-headers
//     --check            compile and report only
//     --list             print one line per resource
// Exit status: 0 on success, 1 on errors in the scripts, 2 on bad usage or output errors.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "tools/rc/rc_compiler.h"
#include "tools/rc/rc_emit.h"

namespace {

void Usage(const char* message)
{
    std::fprintf(stderr, "zyn-rc: %s\n", message);
    std::fprintf(stderr, "usage: zyn-rc [-o out.cpp] [-I dir] [-D name[=value]] [--function name | --module name]\n"
                         "              [--language n] [--depfile file] [--no-builtin-headers] [--check] [--list]\n"
                         "              script.rc...\n");
}

bool WriteFile(const std::string& path, const std::string& text)
{
    // Write beside the target and rename, so an interrupted build leaves no half file.
    const std::string tmp = path + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out || !out.write(text.data(), static_cast<std::streamsize>(text.size())) || !out.flush()) {
            std::fprintf(stderr, "zyn-rc: cannot write '%s'\n", tmp.c_str());
            std::remove(tmp.c_str());
            return false;
        }
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::fprintf(stderr, "zyn-rc: cannot replace '%s'\n", path.c_str());
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

std::string Describe(const zyn::rc::ResId& id)
{
    if (id.IsNumber())
        return std::to_string(id.id);
    std::string s;
    for (const wchar_t c : id.name)
        s += c < 0x80 ? static_cast<char>(c) : '?';
    return "\"" + s + "\"";
}

} // namespace

int main(int argc, char** argv)
{
    zyn::rc::CompileOptions options;
    zyn::rc::EmitOptions emit;
    std::vector<std::string> scripts;
    std::string output, depfile;
    bool check = false, list = false;

    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](const char* what) -> std::string {
            if (i + 1 >= argc) {
                Usage((std::string(what) + " needs a value").c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "-o") {
            output = value("-o");
        } else if (a == "-I") {
            options.includeDirs.push_back(value("-I"));
        } else if (a.rfind("-I", 0) == 0) {
            options.includeDirs.push_back(a.substr(2));
        } else if (a == "-D" || (a.rfind("-D", 0) == 0 && a.size() > 2)) {
            const std::string d = a == "-D" ? value("-D") : a.substr(2);
            const size_t eq = d.find('=');
            options.defines.emplace_back(d.substr(0, eq), eq == std::string::npos ? std::string() : d.substr(eq + 1));
        } else if (a == "--function") {
            emit.function = value("--function");
        } else if (a == "--module") {
            emit.module = value("--module");
        } else if (a == "--language") {
            const std::string v = value("--language");
            const bool hex = v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X');
            uint32_t n = 0;
            const char* first = v.data() + (hex ? 2 : 0);
            const auto [end, ec] = std::from_chars(first, v.data() + v.size(), n, hex ? 16 : 10);
            if (ec != std::errc() || end != v.data() + v.size() || first == end || n > 0xFFFF) {
                Usage("--language takes a number 0..65535");
                return 2;
            }
            options.defaultLanguage = static_cast<uint16_t>(n);
        } else if (a == "--depfile") {
            depfile = value("--depfile");
        } else if (a == "--no-builtin-headers") {
            options.builtinHeaders = false;
        } else if (a == "--check") {
            check = true;
        } else if (a == "--list") {
            list = true;
        } else if (a == "-h" || a == "--help") {
            Usage("compiles resource scripts");
            return 0;
        } else if (!a.empty() && a[0] == '-') {
            Usage(("unknown option " + a).c_str());
            return 2;
        } else {
            scripts.push_back(a);
        }
    }
    if (scripts.empty()) {
        Usage("no script given");
        return 2;
    }
    if (output.empty() && !check && !list) {
        Usage("no output file given (-o)");
        return 2;
    }

    zyn::rc::DiskFileSystem files;
    const zyn::rc::CompileResult result = zyn::rc::Compile(scripts, options, files);
    for (const zyn::rc::Diagnostic& d : result.diagnostics)
        std::fprintf(stderr, "%s\n", d.Format().c_str());
    if (!result.ok)
        return 1;

    if (list) {
        for (const zyn::rc::Resource& r : result.resources)
            std::printf("type %s name %s language 0x%04x size %zu\n", Describe(r.type).c_str(),
                Describe(r.name).c_str(), r.language, r.data.size());
    }
    if (!output.empty() && !check) {
        emit.source = scripts.front();
        std::string text;
        try {
            text = zyn::rc::EmitCpp(result.resources, emit);
        } catch (const std::exception& e) {
            Usage(e.what());
            return 2;
        }
        if (!WriteFile(output, text))
            return 2;
        if (!depfile.empty() && !WriteFile(depfile, zyn::rc::EmitDepfile(output, result.dependencies)))
            return 2;
    }
    return 0;
}
