#pragma once
// The session log reader: the format logic behind the log viewer's session list, with no
// window of its own.
//
// A session log is 8-bit text that other parts of the suite append to, one block per run
// (a session). Each byte is one character (U+0000-U+00FF); a line ends with, and includes,
// LF (a CR before it stays in the line); the last line may lack the LF. Markers are found
// anywhere in a line, case-sensitively: "****" a banner (a session may start here),
// "STARTED" the start line that follows the banner and carries the session's date between
// its first '[' and first ']', "COMPLETED" the end line (the line after it, normally the
// closing banner, still belongs to the session), "** ERROR!" and "** WARNING!" what
// happened. A fill walks the file once from the first byte: find a banner, take the next
// line as the start line (a parsable date in the user's locale, else look for the next
// banner), read the body up to "COMPLETED" or the next "STARTED" for the status, and hand
// each session to the caller as a row; a file without sessions gives one row for the
// whole file, dated with its modification time.
//
// The reader never holds a line: it reads through a buffer of a chosen size and keeps of
// each line only its offsets, which markers it holds and a bounded copy of its bracketed
// text, so a file without any LF costs no more memory than one with short lines. Offsets
// are 64-bit. A buffer of one byte reads exactly as one read per byte would; every buffer
// size gives the same rows, offsets, statuses and progress.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/ctime.h"
#include "platform/base/file.h"
#include "platform/base/object.h"

// One row of the viewer's session list: the byte range of a session in the log file, from
// the start of its banner line to just past its last line. The list owns it (item data).
class CDistLogObject : public CObject {
public:
    CDistLogObject(uint64_t start, uint64_t end) : m_start(start), m_end(end) {}
    ~CDistLogObject() override;

    uint64_t m_start;
    uint64_t m_end;
};

namespace zyn::frames {

// "No further banner": the start position at the end of the file (all bits set).
inline constexpr uint64_t kLogEnd = UINT64_MAX;
inline constexpr size_t kDefaultLogBufferSize = 64 * 1024;
// A bracketed text longer than this is no date (no date and time is nearly this long), so
// a start line never costs more memory than this.
inline constexpr size_t kMaxLogDateText = 256;

// The status texts of a session (the viewer colours them by these exact texts).
inline constexpr const wchar_t* kLogStatusSuccess = L"Success";
inline constexpr const wchar_t* kLogStatusError = L"Error";
inline constexpr const wchar_t* kLogStatusWarning = L"Warning";
inline constexpr const wchar_t* kLogStatusUnknown = L"Unknown";

// The bytes of a log, however they are stored.
class LogSource {
public:
    virtual ~LogSource() = default;
    // Up to count bytes from offset into buffer; fewer only at the end of the data (0 at
    // or past it). Throws a CException* (a CFileException for files) when reading fails.
    virtual size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t count) = 0;
};

// A log file on disk, opened for reading and shared with every writer.
class FileLogSource final : public LogSource {
public:
    // FALSE when the file cannot be opened.
    BOOL Open(LPCWSTR path);
    size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t count) override;

private:
    CFile m_file;
    uint64_t m_position = 0;
};

// What the reader keeps of one line.
struct LogLine {
    enum Marker : uint32_t {
        kBanner = 0x01,    // "****"
        kStarted = 0x02,   // "STARTED"
        kCompleted = 0x04, // "COMPLETED"
        kError = 0x08,     // "** ERROR!"
        kWarning = 0x10,   // "** WARNING!"
        kAllMarkers = 0x1F,
        kBrackets = 0x100, // (what to look for) the bracketed text
    };
    enum class Brackets {
        kNone,    // no '[' yet
        kOpen,    // a '[' without a ']' after it yet
        kClosed,  // text holds what lies between the first '[' and the first ']'
        kInvalid, // the first ']' comes before any '['
    };

    uint64_t start = 0;
    uint64_t length = 0; // bytes with the LF; 0 only at the end of the file
    uint32_t markers = 0; // of those looked for
    Brackets brackets = Brackets::kNone;
    std::string text;          // the bracketed bytes, at most kMaxLogDateText of them
    bool textTooLong = false;  // more bytes lay between the brackets

    bool Has(Marker m) const { return (markers & m) != 0; }
    uint64_t End() const { return start + length; }
};

// What a fill reports its progress to and asks whether to stop (the viewer's progress
// dialog, or a test).
class FillProgress {
public:
    virtual ~FillProgress() = default;
    // Asked after every line read; true abandons the fill, keeping the rows so far.
    virtual bool Canceled() = 0;
    // The whole-number percentage of the file read, each value once per fill and rising.
    virtual void SetPercent(int percent) = 0;
};

struct SessionRow {
    uint64_t start = 0;
    uint64_t end = 0;
    CString date;   // the bracketed text with both brackets; the whole-file row: "%c" of the file's time
    CString status; // one of the status texts; empty for the whole-file row
};
using SessionRowSink = std::function<void(const SessionRow&)>;

enum class FillEnd {
    kComplete,  // the whole file was read
    kCanceled,  // FillProgress::Canceled said so
    kFailed,    // reading (or the row sink) raised an exception: message holds its text
    kNotOpened, // the file could not be opened: no row at all
};
struct FillOutcome {
    FillEnd end = FillEnd::kComplete;
    size_t sessions = 0;     // rows of sessions handed out (the has-sessions flag is sessions > 0)
    bool wholeFile = false;  // the whole-file row was handed out
    CString message;
};

class SessionLogReader {
public:
    explicit SessionLogReader(LogSource& source, size_t bufferSize = kDefaultLogBufferSize);
    SessionLogReader(const SessionLogReader&) = delete;
    SessionLogReader& operator=(const SessionLogReader&) = delete;

    // The offset of the next byte to read, and a move to another one.
    uint64_t Tell() const { return m_position; }
    void Seek(uint64_t offset);

    // Reads the next line (length 0 at the end of the file), looking for every marker and
    // the bracketed text, and returns its start offset. During a fill it asks the progress whether to stop (raising CUserException) and
    // reports a percentage that has risen.
    uint64_t GetLine(LogLine& line);
    // The start of the next banner line, or kLogEnd.
    uint64_t GetStartPosition();
    // Reads the next line: TRUE when it is a start line whose bracketed text is a date in
    // the user's locale; date then holds that text with its brackets, else it is empty.
    BOOL GetStartDate(CString& date);
    // Reads a session's body, sets its status and returns its end offset.
    uint64_t GetStatus(CString& status);
    static BOOL IsStartPosition(const LogLine& line) { return line.Has(LogLine::kStarted); }
    // TRUE when line holds "COMPLETED": then the line after it is read into line as well,
    // except a banner that a start line follows (that one opens the next session).
    BOOL IsEndPosition(LogLine& line);

    // Reads the whole source from its first byte: every session in file order to addRow,
    // or, when none was found (also after a cancel or failure), the whole-file row
    // (0, fileSize) dated with modified. fileSize is the size the percentages refer to.
    FillOutcome Fill(uint64_t fileSize, const CTime& modified, FillProgress* progress, const SessionRowSink& addRow);

    // The date a start line carries (with brackets), or empty.
    static CString DateOf(const LogLine& line);

private:
    bool Refill();
    // GetLine looking only for what `wanted` names (markers and kBrackets): each step of
    // the format needs one or two of them.
    uint64_t ReadLine(LogLine& line, uint32_t wanted);
    // lineGoesOn: the segment does not end with the line's LF.
    void ScanSegment(LogLine& line, uint32_t wanted, const uint8_t* p, size_t n, bool lineGoesOn);
    // The percentage an offset stands for, and the first offset whose percentage is above
    // the last one shown (kLogEnd when none is).
    int PercentAt(uint64_t offset) const;
    uint64_t NextPercentOffset() const;

    LogSource& m_source;
    std::vector<uint8_t> m_buffer;
    uint64_t m_bufferStart = 0; // file offset of m_buffer[0]
    size_t m_bufferLength = 0;  // valid bytes in m_buffer
    uint64_t m_position = 0;

    // Marker search across segment boundaries: the last bytes of the line so far.
    static constexpr size_t kTail = 10; // the longest marker less one
    char m_tail[kTail] = {};
    size_t m_tailLength = 0;

    // Set only during Fill.
    FillProgress* m_progress = nullptr;
    uint64_t m_fileSize = 0;
    int m_lastPercent = 0;
    uint64_t m_nextPercentAt = kLogEnd;

    LogLine m_line; // scratch lines, kept to reuse their text storage
    LogLine m_peek;
};

// Each byte as one character (U+0000-U+00FF), as the reader and the viewer see log text.
CString LogBytesToText(const uint8_t* bytes, size_t count);

// A fill of the log file at path: opened for reading, shared with every writer; status is
// the file's status as recorded by the caller (its size and modification time).
FillOutcome FillSessionsFromFile(LPCWSTR path, const CFileStatus& status, FillProgress* progress,
    const SessionRowSink& addRow, size_t bufferSize = kDefaultLogBufferSize);

} // namespace zyn::frames
