#pragma once
// zyn-rc: the resource compiler. Reads a resource script (the classic resource-script
// language with its C-like preprocessor) and produces the resources in the standard
// binary layouts: string blocks, menu and dialog templates, accelerator tables, toolbar
// data, version information, packed bitmaps, icon and cursor images with their group
// directories, raw data. Text in the layouts is UTF-16LE through the platform codec;
// narrow script text is read in the code page the script declares.
//
// The compiler never touches the process state of the platform; it is a library used by
// the zyn-rc program, by tests and by the fuzz target. Files are read through a
// FileSystem so that a script can be compiled entirely from memory.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zyn::rc {

// A resource type or name: an integer (1..65535) or a string.
struct ResId {
    uint16_t id = 0;
    std::wstring name; // empty for an integer

    bool IsNumber() const { return name.empty(); }
    static ResId Number(uint16_t n) { return ResId{n, {}}; }
    static ResId Name(std::wstring s) { return ResId{0, std::move(s)}; }
    auto operator<=>(const ResId&) const = default;
};

struct Resource {
    ResId type;
    ResId name;
    uint16_t language = 0;
    std::vector<uint8_t> data;
    std::string file; // where the statement began, for messages
    int line = 0;
};

struct Diagnostic {
    enum class Kind { Error, Warning };
    Kind kind = Kind::Error;
    std::string file;
    int line = 0;
    std::string message;
    // "file.rc(12): error: message"
    std::string Format() const;
};

// Access to script, header and data files. Paths use '/' separators.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The path of an existing regular file that `path` names, matching letter case loosely
    // when the exact name does not exist (scripts written on Windows name files in any
    // case); nullopt when there is none.
    virtual std::optional<std::string> Locate(const std::string& path) = 0;
    // The whole file; nullopt when it cannot be read (the message says why).
    virtual std::optional<std::vector<uint8_t>> Read(const std::string& path, std::string& error) = 0;
};

// The real file system.
class DiskFileSystem final : public FileSystem {
public:
    std::optional<std::string> Locate(const std::string& path) override;
    std::optional<std::vector<uint8_t>> Read(const std::string& path, std::string& error) override;
};

// Files held in memory, by exact path.
class MemoryFileSystem final : public FileSystem {
public:
    void Add(std::string path, std::vector<uint8_t> bytes) { m_files[std::move(path)] = std::move(bytes); }
    void Add(std::string path, std::string_view text)
    {
        m_files[std::move(path)] = std::vector<uint8_t>(text.begin(), text.end());
    }
    std::optional<std::string> Locate(const std::string& path) override;
    std::optional<std::vector<uint8_t>> Read(const std::string& path, std::string& error) override;

private:
    std::map<std::string, std::vector<uint8_t>> m_files;
};

struct CompileOptions {
    // Searched for #include "..." after the including file's folder, and for <...>; also
    // for the data files of BITMAP, ICON, CURSOR and user-defined resources after the
    // script's folder.
    std::vector<std::string> includeDirs;
    // -D NAME[=value]; a missing value means 1.
    std::vector<std::pair<std::string, std::string>> defines;
    // The language of resources before any LANGUAGE statement (neutral by default, so
    // every preferred language finds them).
    uint16_t defaultLanguage = 0;
    // The compiler's own platform headers (windows.h, winres.h, winresrc.h, winuser.h,
    // winnt.h, winver.h, commctrl.h, dlgs.h, prsht.h, richedit.h, winspool.h) and the
    // class library's afxres.h, searched last.
    bool builtinHeaders = true;
};

struct CompileResult {
    bool ok = false;
    std::vector<Resource> resources; // in script order; string blocks at the end
    std::vector<Diagnostic> diagnostics;
    std::vector<std::string> dependencies; // every file read, the script first
};

CompileResult Compile(const std::string& scriptPath, const CompileOptions& options, FileSystem& files);
// Several scripts compiled as one, in order: macros of one stay defined for the next, and
// their resources share one module (icon image IDs are numbered across them).
CompileResult Compile(const std::vector<std::string>& scriptPaths, const CompileOptions& options, FileSystem& files);

// Compiles script text held in memory; it can include only the built-in headers.
CompileResult CompileText(std::string_view text, const CompileOptions& options = {},
    const std::string& name = "script.rc");

} // namespace zyn::rc
