#pragma once
// Internal to the file-system code of platform/base: the one table of its small handles
// (directory searches and the tokens that stand in CFile::m_hFile), and file
// information in Windows terms. Sharing one table keeps the two kinds of value from
// ever colliding, so FindClose on a file token fails cleanly.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/base/handle_table.h"
#include "platform/base/path.h"
#include "platform/base/wintypes.h"

namespace zyn::base::fs {

class FsObject {
public:
    virtual ~FsObject() = default;
};

HandleTable<FsObject>& Handles();

// A handle value standing for an open file; the object carries nothing.
HANDLE NewFileToken();
void ReleaseFileToken(HANDLE h);

struct FileInfo {
    DWORD attributes = 0;
    uint64_t size = 0;
    FILETIME created{};   // birth time where the file system keeps it, else modification
    FILETIME accessed{};
    FILETIME modified{};
    int64_t createdUnix = 0;
    int64_t accessedUnix = 0;
    int64_t modifiedUnix = 0;
};

// Information on a path (following links); false with errno set when it fails.
bool QueryFileInfo(const std::string& nativePath, FileInfo& info);
// The same for an open descriptor; the name decides the hidden attribute.
bool QueryFileInfo(int fd, const std::string& nativeName, FileInfo& info);

// The Win32 error for a failed path operation: ENOENT becomes ERROR_PATH_NOT_FOUND when
// the parent folder is missing too.
DWORD PathError(int err, const std::string& nativePath);

// Last component of a native path (trailing slashes ignored).
std::string BaseName(const std::string& nativePath);
// Folder part of a native path ("." when there is none).
std::string DirName(const std::string& nativePath);

} // namespace zyn::base::fs
