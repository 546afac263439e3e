// The session log reader: lines through a buffer, the markers and date of each line, and
// the fill that turns them into session rows.
#include "frames/session_log_reader.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

#include "platform/base/exception.h"
#include "platform/base/locale.h"

CDistLogObject::~CDistLogObject() = default;

namespace zyn::frames {
namespace {

struct MarkerText {
    LogLine::Marker marker;
    std::string_view text;
};
constexpr MarkerText kMarkers[] = {
    {LogLine::kBanner, "****"},
    {LogLine::kStarted, "STARTED"},
    {LogLine::kCompleted, "COMPLETED"},
    {LogLine::kError, "** ERROR!"},
    {LogLine::kWarning, "** WARNING!"},
};
// The markers that begin with '*', and those that end with "TED".
constexpr uint32_t kStarMarkers = LogLine::kBanner | LogLine::kError | LogLine::kWarning;
constexpr uint32_t kTedMarkers = LogLine::kStarted | LogLine::kCompleted;

// Marks every wanted marker that text holds (the general search, for the few bytes around
// a segment boundary).
void FindMarkers(LogLine& line, uint32_t wanted, std::string_view text)
{
    for (const MarkerText& m : kMarkers)
        if ((wanted & m.marker) && !line.Has(m.marker) && text.find(m.text) != std::string_view::npos)
            line.markers |= m.marker;
}

// The same within one segment, anchored on rare bytes: a '*' that may open "****",
// "** ERROR!" or "** WARNING!", a 'D' that may close "STARTED" or "COMPLETED". One pass
// of memchr per anchor instead of one search per marker keeps long files fast.
void FindMarkersAnchored(LogLine& line, uint32_t wanted, const char* p, size_t n)
{
    const char* const end = p + n;
    uint32_t missing = wanted & kStarMarkers & ~line.markers;
    for (const char* q = p; missing && (q = static_cast<const char*>(std::memchr(q, '*', static_cast<size_t>(end - q))));
         ++q) {
        const std::string_view rest(q, static_cast<size_t>(end - q));
        for (const MarkerText& m : kMarkers)
            if ((missing & m.marker) && rest.starts_with(m.text))
                line.markers |= m.marker;
        missing = wanted & kStarMarkers & ~line.markers;
    }
    missing = wanted & kTedMarkers & ~line.markers;
    for (const char* q = p; missing && (q = static_cast<const char*>(std::memchr(q, 'D', static_cast<size_t>(end - q))));
         ++q) {
        const auto before = static_cast<size_t>(q - p);
        if ((missing & LogLine::kStarted) && before >= 6 && std::memcmp(q - 6, "STARTE", 6) == 0)
            line.markers |= LogLine::kStarted;
        if ((missing & LogLine::kCompleted) && before >= 8 && std::memcmp(q - 8, "COMPLETE", 8) == 0)
            line.markers |= LogLine::kCompleted;
        missing = wanted & kTedMarkers & ~line.markers;
    }
}

void AppendBracketText(LogLine& line, const uint8_t* p, size_t n)
{
    const size_t room = kMaxLogDateText - line.text.size();
    if (n > room) {
        line.textTooLong = true;
        n = room;
    }
    line.text.append(reinterpret_cast<const char*>(p), n);
}

} // namespace

CString LogBytesToText(const uint8_t* bytes, size_t count)
{
    std::wstring wide(count, L'\0');
    for (size_t i = 0; i < count; ++i)
        wide[i] = static_cast<wchar_t>(bytes[i]);
    return CString(std::move(wide));
}

SessionLogReader::SessionLogReader(LogSource& source, size_t bufferSize)
    : m_source(source), m_buffer(std::max<size_t>(bufferSize, 1))
{
}

void SessionLogReader::Seek(uint64_t offset)
{
    m_position = offset;
    // The buffer stays when the offset lies in it (a step back over one line, mostly).
    if (offset < m_bufferStart || offset >= m_bufferStart + m_bufferLength) {
        m_bufferStart = offset;
        m_bufferLength = 0;
    }
}

bool SessionLogReader::Refill()
{
    m_bufferStart = m_position;
    m_bufferLength = 0;
    m_bufferLength = m_source.ReadAt(m_position, m_buffer.data(), m_buffer.size());
    return m_bufferLength > 0;
}

void SessionLogReader::ScanSegment(LogLine& line, uint32_t wanted, const uint8_t* p, size_t n, bool lineGoesOn)
{
    const auto* text = reinterpret_cast<const char*>(p);
    const uint32_t markers = wanted & LogLine::kAllMarkers;
    if ((markers & ~line.markers) != 0) {
        // A marker that straddles the previous segment and this one.
        if (m_tailLength > 0) {
            char joint[2 * kTail];
            const size_t head = std::min(n, kTail);
            std::memcpy(joint, m_tail, m_tailLength);
            std::memcpy(joint + m_tailLength, p, head);
            FindMarkers(line, markers, std::string_view(joint, m_tailLength + head));
        }
        FindMarkersAnchored(line, markers, text, n);
    }
    if (!lineGoesOn) {
        // The line ends here: no later segment will need its last bytes.
    } else if (n >= kTail) {
        std::memcpy(m_tail, p + n - kTail, kTail);
        m_tailLength = kTail;
    } else {
        const size_t keep = std::min(m_tailLength, kTail - n);
        std::memmove(m_tail, m_tail + m_tailLength - keep, keep);
        std::memcpy(m_tail + keep, p, n);
        m_tailLength = keep + n;
    }
    if ((wanted & LogLine::kBrackets) == 0)
        return;

    // The text between the first '[' and the first ']' of the line.
    const uint8_t* from = p;
    size_t left = n;
    if (line.brackets == LogLine::Brackets::kNone) {
        const auto* open = static_cast<const uint8_t*>(std::memchr(p, '[', n));
        const size_t beforeOpen = open ? static_cast<size_t>(open - p) : n;
        if (std::memchr(p, ']', beforeOpen)) {
            line.brackets = LogLine::Brackets::kInvalid;
            return;
        }
        if (!open)
            return;
        line.brackets = LogLine::Brackets::kOpen;
        from = open + 1;
        left = n - beforeOpen - 1;
    }
    if (line.brackets == LogLine::Brackets::kOpen) {
        const auto* close = static_cast<const uint8_t*>(std::memchr(from, ']', left));
        AppendBracketText(line, from, close ? static_cast<size_t>(close - from) : left);
        if (close)
            line.brackets = LogLine::Brackets::kClosed;
    }
}

uint64_t SessionLogReader::GetLine(LogLine& line) { return ReadLine(line, LogLine::kAllMarkers | LogLine::kBrackets); }

uint64_t SessionLogReader::ReadLine(LogLine& line, uint32_t wanted)
{
    line.start = m_position;
    line.length = 0;
    line.markers = 0;
    line.brackets = LogLine::Brackets::kNone;
    line.text.clear();
    line.textTooLong = false;
    m_tailLength = 0;
    for (;;) {
        if (m_position >= m_bufferStart + m_bufferLength && !Refill())
            break; // end of the file
        const uint8_t* p = m_buffer.data() + (m_position - m_bufferStart);
        const size_t avail = static_cast<size_t>(m_bufferStart + m_bufferLength - m_position);
        const auto* lf = static_cast<const uint8_t*>(std::memchr(p, '\n', avail));
        const size_t n = lf ? static_cast<size_t>(lf - p) + 1 : avail;
        ScanSegment(line, wanted, p, n, lf == nullptr);
        m_position += n;
        line.length += n;
        if (lf)
            break;
    }

    if (m_progress) {
        if (m_progress->Canceled())
            AfxThrowUserException();
        // Only a rise is shown: a line read again (the step back after a session that
        // lacks "COMPLETED") must not show a percentage a second time. The offset where
        // the next rise begins is known, so most lines cost one comparison.
        if (line.start >= m_nextPercentAt) {
            m_lastPercent = PercentAt(line.start);
            m_progress->SetPercent(m_lastPercent);
            m_nextPercentAt = NextPercentOffset();
        }
    }
    return line.start;
}

int SessionLogReader::PercentAt(uint64_t offset) const
{
    if (m_fileSize == 0)
        return 0; // an empty file counts as 0 %
    const double share = static_cast<double>(offset) / static_cast<double>(m_fileSize) * 100.0;
    // A file that grew during the fill must not take the bar past its end.
    return static_cast<int>(std::min(share, 100.0));
}

uint64_t SessionLogReader::NextPercentOffset() const
{
    if (m_fileSize == 0 || m_lastPercent >= 100)
        return kLogEnd;
    // PercentAt never falls as the offset grows, and is 100 at the file's size.
    uint64_t low = 0;
    uint64_t high = m_fileSize;
    while (low < high) {
        const uint64_t mid = low + (high - low) / 2;
        if (PercentAt(mid) > m_lastPercent)
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

uint64_t SessionLogReader::GetStartPosition()
{
    for (;;) {
        ReadLine(m_line, LogLine::kBanner);
        if (m_line.length == 0)
            return kLogEnd;
        if (m_line.Has(LogLine::kBanner))
            return m_line.start;
    }
}

CString SessionLogReader::DateOf(const LogLine& line)
{
    if (!IsStartPosition(line) || line.brackets != LogLine::Brackets::kClosed || line.textTooLong)
        return CString();
    // A NUL would end the text for the parser, which would then judge only a part of it.
    if (line.text.find('\0') != std::string::npos)
        return CString();
    const CString text = LogBytesToText(reinterpret_cast<const uint8_t*>(line.text.data()), line.text.size());
    DATE parsed = 0;
    if (FAILED(VarDateFromStr(text.GetString(), LOCALE_USER_DEFAULT, 0, &parsed)))
        return CString();
    return L"[" + text + L"]";
}

BOOL SessionLogReader::GetStartDate(CString& date)
{
    date.Empty();
    // The banner too: a banner in place of the start line may open the next session.
    ReadLine(m_line, LogLine::kStarted | LogLine::kBanner | LogLine::kBrackets);
    if (m_line.length == 0)
        return FALSE;
    date = DateOf(m_line);
    return !date.IsEmpty();
}

BOOL SessionLogReader::IsEndPosition(LogLine& line)
{
    if (!line.Has(LogLine::kCompleted))
        return FALSE;
    const uint64_t afterEnd = m_position;
    ReadLine(line, LogLine::kBanner); // the closing line belongs to the session
    if (line.length != 0 && line.Has(LogLine::kBanner)) {
        // A banner followed by a start line opens the next session (this one wrote no
        // closing banner): leave it to that session.
        const uint64_t afterBanner = m_position;
        ReadLine(m_peek, LogLine::kStarted);
        Seek(m_peek.length != 0 && IsStartPosition(m_peek) ? afterEnd : afterBanner);
    }
    return TRUE;
}

uint64_t SessionLogReader::GetStatus(CString& status)
{
    status = kLogStatusSuccess;
    uint64_t back2 = m_position;
    uint64_t back1 = m_position;
    bool error = false;
    bool warning = false;
    for (;;) {
        ReadLine(m_line, LogLine::kStarted | LogLine::kCompleted | LogLine::kError | LogLine::kWarning);
        if (m_line.length == 0) {
            status = kLogStatusUnknown;
            break;
        }
        if (IsEndPosition(m_line))
            break;
        if (!error && m_line.Has(LogLine::kError)) {
            status = kLogStatusError;
            error = true;
        }
        if (!error && !warning && m_line.Has(LogLine::kWarning)) {
            warning = true;
            status = kLogStatusWarning;
        }
        if (m_line.Has(LogLine::kStarted)) {
            // The next session began without this one completing: it ends where the line
            // before that start line (the next banner) begins.
            status = kLogStatusUnknown;
            Seek(back2);
            break;
        }
        back2 = back1;
        back1 = m_position;
    }
    return m_position;
}

FillOutcome SessionLogReader::Fill(uint64_t fileSize, const CTime& modified, FillProgress* progress,
    const SessionRowSink& addRow)
{
    FillOutcome outcome;
    Seek(0);
    m_progress = progress;
    m_fileSize = fileSize;
    m_lastPercent = 0; // each fill shows its own percentages
    m_nextPercentAt = NextPercentOffset();
    try {
        uint64_t start = kLogEnd;
        do {
            CString date;
            start = GetStartPosition();
            while (start != kLogEnd && !GetStartDate(date)) {
                // A banner without its start line: when the line read instead is a banner
                // itself, that one may open the next session.
                start = m_line.length != 0 && m_line.Has(LogLine::kBanner) ? m_line.start : GetStartPosition();
            }
            if (start != kLogEnd) {
                SessionRow row;
                row.start = start;
                row.date = date;
                row.end = GetStatus(row.status);
                ++outcome.sessions;
                addRow(row);
            }
        } while (start != kLogEnd);
    } catch (CUserException* e) {
        e->Delete();
        outcome.end = FillEnd::kCanceled;
    } catch (CException* e) {
        outcome.message = e->GetMessageText();
        e->Delete();
        outcome.end = FillEnd::kFailed;
    }
    m_progress = nullptr;
    if (outcome.sessions == 0) {
        SessionRow whole;
        whole.end = fileSize;
        whole.date = modified.Format(L"%c");
        outcome.wholeFile = true;
        addRow(whole);
    }
    return outcome;
}

} // namespace zyn::frames
