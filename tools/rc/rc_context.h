#pragma once
// State shared by the stages of one compilation: the names of the files read (tokens
// point into it), the diagnostics, the file system and the options.

#include <deque>
#include <string>
#include <vector>

#include "tools/rc/rc_compiler.h"
#include "tools/rc/rc_token.h"

namespace zyn::rc {

class Context {
public:
    Context(FileSystem& files, const CompileOptions& options) : m_files(files), m_options(options) {}
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    FileSystem& Files() { return m_files; }
    const CompileOptions& Options() const { return m_options; }

    // A stable copy of a file name for Locations.
    const std::string* FileName(const std::string& name)
    {
        for (const std::string& n : m_names)
            if (n == name)
                return &n;
        return &m_names.emplace_back(name);
    }

    void Warn(Location where, std::string message) { Add(Diagnostic::Kind::Warning, where, std::move(message)); }
    void Error(Location where, std::string message) { Add(Diagnostic::Kind::Error, where, std::move(message)); }
    bool HasErrors() const
    {
        for (const Diagnostic& d : m_diagnostics)
            if (d.kind == Diagnostic::Kind::Error)
                return true;
        return false;
    }
    std::vector<Diagnostic>& Diagnostics() { return m_diagnostics; }

    void AddDependency(const std::string& path)
    {
        for (const std::string& d : m_dependencies)
            if (d == path)
                return;
        m_dependencies.push_back(path);
    }
    const std::vector<std::string>& Dependencies() const { return m_dependencies; }

    // Reads a located file and records it as a dependency; throws CompileError.
    std::vector<uint8_t> ReadFile(const std::string& path, Location where);

private:
    void Add(Diagnostic::Kind kind, Location where, std::string message)
    {
        Diagnostic d;
        d.kind = kind;
        d.file = where.file ? *where.file : std::string();
        d.line = where.line;
        d.message = std::move(message);
        m_diagnostics.push_back(std::move(d));
    }

    FileSystem& m_files;
    const CompileOptions& m_options;
    std::deque<std::string> m_names;
    std::vector<Diagnostic> m_diagnostics;
    std::vector<std::string> m_dependencies;
};

// A script file's text. A file with a UTF-16 byte-order mark is decoded whole. Any other
// file keeps one unit per byte (line breaks, comments and directives are ASCII in every
// page a script may use) until the preprocessor decodes each line in the code page in
// force there: the one `#pragma code_page` declared, or by default UTF-8 when the whole
// file is UTF-8 (always, after a UTF-8 byte-order mark) and Windows-1252 otherwise.
struct ScriptText {
    std::wstring text;
    bool decoded = false;  // UTF-16: no code page applies
    bool utf8Mark = false; // started with the UTF-8 byte-order mark (not kept in text)
    bool validUtf8 = false;
};
ScriptText ReadScriptText(const std::vector<uint8_t>& bytes);
// The code pages `#pragma code_page` accepts: those the platform's code-page unit knows.
bool IsScriptCodePage(uint32_t page);
// Decodes units that each hold one byte; false when they are not valid in the page (the
// text then holds U+FFFD for the bad bytes).
bool DecodeBytes(std::wstring_view units, uint32_t page, std::wstring& text);

// Windows-1252 for names written as narrow bytes; false when a character has no byte there.
bool EncodeWindows1252(std::wstring_view text, std::vector<uint8_t>& out);

// Path helpers ('/' separators; backslashes of scripts written on Windows become '/').
std::string NormalizePath(std::string path);
std::string DirectoryOf(const std::string& path);
std::string JoinPath(const std::string& dir, const std::string& name);
bool IsAbsolutePath(const std::string& path);

// The compiler's own headers by lower-case file name; null when there is none.
const char* BuiltinHeader(const std::string& lowerName);

} // namespace zyn::rc
