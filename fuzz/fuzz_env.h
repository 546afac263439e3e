#pragma once
// The private surroundings of a fuzz target that touches files: one temporary folder per
// process, made on first use, holding the registry, the Windows folder (INI files) and
// scratch files, with the environment pointed at it before the platform reads it, and
// removed when the process ends. Targets call FuzzRoot() at the top of every input, so
// the replay main and libFuzzer's main behave alike.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace zyn::fuzz {

inline const std::filesystem::path& FuzzRoot()
{
    // Immortal, so that the clean-up at exit still sees it.
    static const std::filesystem::path* const root = [] {
        std::string tmpl = (std::filesystem::temp_directory_path() / "zynfuzz.XXXXXX").string();
        if (!::mkdtemp(tmpl.data()))
            std::abort();
        const auto* dir = new std::filesystem::path(tmpl);
        for (const char* sub : {"registry", "windows", "logs", "run", "home", "files"})
            std::filesystem::create_directories(*dir / sub);
        ::setenv("ZYN_REGISTRY_DIR", (*dir / "registry").c_str(), 1);
        ::setenv("ZYN_WINDIR", (*dir / "windows").c_str(), 1);
        ::setenv("ZYN_LOG_DIR", (*dir / "logs").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (*dir / "run").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (*dir / "home").c_str(), 1);
        return dir;
    }();
    static const bool cleanup = [] {
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(*root, ec);
        });
        return true;
    }();
    (void)cleanup;
    return *root;
}

// The file at `path` made to hold exactly the bytes given.
inline void WriteBytes(const std::filesystem::path& path, const uint8_t* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out)
        std::abort();
}

// A scratch file of the fuzz folder holding exactly the bytes given.
inline std::filesystem::path WriteScratch(const char* name, const uint8_t* data, size_t size)
{
    const std::filesystem::path path = FuzzRoot() / "files" / name;
    WriteBytes(path, data, size);
    return path;
}

// A property of the target that does not hold: the fuzzer's finding.
inline void Check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace zyn::fuzz
