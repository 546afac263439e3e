// The session log reader on a file: the file source and the fill from a path.
#include "frames/session_log_reader.h"

#include <algorithm>
#include <limits>

#include "platform/base/exception.h"

namespace zyn::frames {

BOOL FileLogSource::Open(LPCWSTR path)
{
    m_position = 0;
    // Share-deny-none: the suite goes on appending while the viewer reads.
    return m_file.Open(path, CFile::modeRead | CFile::shareDenyNone);
}

size_t FileLogSource::ReadAt(uint64_t offset, uint8_t* buffer, size_t count)
{
    if (offset != m_position) {
        if (offset > static_cast<uint64_t>(std::numeric_limits<LONGLONG>::max()))
            return 0; // no file reaches that far
        m_position = m_file.Seek(static_cast<LONGLONG>(offset), CFile::begin);
    }
    size_t done = 0;
    while (done < count) {
        const UINT chunk = static_cast<UINT>(std::min<size_t>(count - done, std::numeric_limits<UINT>::max()));
        const UINT got = m_file.Read(buffer + done, chunk);
        done += got;
        m_position += got;
        if (got < chunk)
            break; // the end of the file
    }
    return done;
}

FillOutcome FillSessionsFromFile(LPCWSTR path, const CFileStatus& status, FillProgress* progress,
    const SessionRowSink& addRow, size_t bufferSize)
{
    FileLogSource source;
    if (!source.Open(path)) {
        FillOutcome outcome;
        outcome.end = FillEnd::kNotOpened;
        return outcome;
    }
    SessionLogReader reader(source, bufferSize);
    return reader.Fill(status.m_size, status.m_mtime, progress, addRow);
}

} // namespace zyn::frames
