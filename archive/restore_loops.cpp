#include "archive/restore_loops.h"

#include <cstdint>
#include <optional>
#include <string>

#include "platform/suite/utility/stdiofile_unicode.h"

namespace zyn::archive {

namespace {

// "NAME value" pairs joined by ", ".
class IdentityText {
public:
    IdentityText& Add(LPCWSTR lpszName, int64_t value)
    {
        Separate(lpszName);
        // Digits from the end of a small buffer (std::to_wstring goes through swprintf).
        wchar_t buf[24];
        wchar_t* end = buf + 24;
        wchar_t* p = end;
        uint64_t magnitude = value < 0 ? uint64_t{0} - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        do {
            *--p = static_cast<wchar_t>(L'0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0)
            *--p = L'-';
        m_text.Str().append(p, static_cast<size_t>(end - p));
        return *this;
    }
    IdentityText& Add(LPCWSTR lpszName, const std::optional<TIMESTAMP_STRUCT>& value)
    {
        Separate(lpszName);
        if (value)
            m_text.AppendFormat(L"%04d-%02u-%02u %02u:%02u:%02u", static_cast<int>(value->year),
                static_cast<unsigned>(value->month), static_cast<unsigned>(value->day),
                static_cast<unsigned>(value->hour), static_cast<unsigned>(value->minute),
                static_cast<unsigned>(value->second));
        else
            m_text += L"NULL";
        return *this;
    }
    const CString& Text() const { return m_text; }

private:
    void Separate(LPCWSTR lpszName)
    {
        std::wstring& text = m_text.Str();
        if (!text.empty())
            text += L", ";
        text += lpszName;
        text += L' ';
    }
    CString m_text;
};

KeyValue TimeKey(const std::optional<TIMESTAMP_STRUCT>& value)
{
    if (!value)
        return KeyValue{};
    TIMESTAMP_STRUCT t = *value;
    t.fraction = 0;
    return t;
}

bool FitsOptional(const std::optional<CString>& text, const ColumnLimits& limits, LPCWSTR lpszColumn, int nField,
    CString& reason)
{
    return !text || FitsColumn(*text, limits.Of(lpszColumn), nField, lpszColumn, reason);
}

} // namespace

bool TimesWhole(const ArchiveFields& fields, CString& reason)
{
    const int n = fields.MalformedTimeField();
    if (n == 0)
        return true;
    reason.Format(L"field %d is no complete date and time", n);
    return false;
}

ColumnLimits DefaultColumnLimits()
{
    ColumnLimits limits;
    limits.Set(L"EVENT_TEXT", 2000);
    limits.Set(L"EVENTCODE", 255);
    limits.Set(L"ACKNOTE", 32000);
    limits.Set(L"PURPOSE", 2000);
    limits.Set(L"VISIT_KEY", 255);
    limits.Set(L"NAME", 255);
    limits.Set(L"ARCHIVEFILE", 255);
    return limits;
}

std::vector<KeyColumn> EventKeyColumns()
{
    return {{L"MACHINE", KeyKind::Integer}, {L"SERIALNUM", KeyKind::Integer}};
}

std::vector<KeyColumn> AlarmAckKeyColumns()
{
    return {{L"SPANELID", KeyKind::Integer}, {L"SSERIALNUM", KeyKind::Integer}};
}

std::vector<KeyColumn> VisitKeyColumns()
{
    return {{L"VISITID", KeyKind::Integer}};
}

std::vector<KeyColumn> VisitEventKeyColumns()
{
    return {{L"VISIT_EVENTID", KeyKind::Integer}};
}

std::vector<KeyColumn> VideoEventKeyColumns()
{
    return {{L"MACHINE", KeyKind::Integer}, {L"SERIALNUM", KeyKind::Integer}, {L"VIDEOSERVERID", KeyKind::Integer},
        {L"CAMERAID", KeyKind::Integer}, {L"START_TIME_UTC", KeyKind::Time}};
}

std::vector<KeyColumn> ContinuousVideoKeyColumns()
{
    return {{L"CONTINUOUS_VIDEOID", KeyKind::Integer}};
}

RowIdentity EventIdentity(const EventArchiveRow& row, const IdMapper& map)
{
    return {IdentityText().Add(L"MACHINE", row.machine).Add(L"SERIALNUM", row.serialNum).Text(),
        {int64_t{map(L"MACHINE", row.machine)}, int64_t{row.serialNum}}};
}

RowIdentity AlarmAckIdentity(const AlarmAckArchiveRow& row, const IdMapper& map)
{
    return {IdentityText().Add(L"SPANELID", row.panelId).Add(L"SSERIALNUM", row.serialNum).Text(),
        {int64_t{map(L"SPANELID", row.panelId)}, int64_t{map(L"SSERIALNUM", row.serialNum)}}};
}

RowIdentity VisitIdentity(const VisitArchiveRow& row, const IdMapper& map)
{
    return {IdentityText().Add(L"VISITID", row.visitId).Text(), {int64_t{map(L"VISITID", row.visitId)}}};
}

RowIdentity VisitEventIdentity(const VisitEventArchiveRow& row, const IdMapper& map)
{
    return {IdentityText().Add(L"VISIT_EVENTID", row.visitEventId).Text(),
        {int64_t{map(L"VISIT_EVENTID", row.visitEventId)}}};
}

RowIdentity VideoEventIdentity(const VideoEventArchiveRow& row, const IdMapper& map)
{
    return {IdentityText()
                .Add(L"MACHINE", row.machine)
                .Add(L"SERIALNUM", row.serialNum)
                .Add(L"VIDEOSERVERID", row.videoServerId)
                .Add(L"CAMERAID", row.cameraId)
                .Add(L"START_TIME_UTC", row.startTimeUtc)
                .Text(),
        {int64_t{map(L"MACHINE", row.machine)}, int64_t{row.serialNum},
            int64_t{map(L"VIDEOSERVERID", row.videoServerId)}, int64_t{map(L"CAMERAID", row.cameraId)},
            TimeKey(row.startTimeUtc)}};
}

RowIdentity ContinuousVideoIdentity(const ContinuousVideoArchiveRow& row, const IdMapper& /*map*/)
{
    return {IdentityText().Add(L"CONTINUOUS_VIDEOID", row.continuousVideoId).Text(),
        {int64_t{row.continuousVideoId}}};
}

bool CheckEventRow(const EventArchiveRow& row, const ColumnLimits& limits, CString& reason)
{
    return FitsColumn(row.eventText, limits.Of(L"EVENT_TEXT"), 22, L"EVENT_TEXT", reason) &&
           FitsColumn(row.eventCode, limits.Of(L"EVENTCODE"), 27, L"EVENTCODE", reason);
}

bool CheckAlarmAckRow(const AlarmAckArchiveRow& row, const ColumnLimits& limits, CString& reason)
{
    return FitsColumn(row.note, limits.Of(L"ACKNOTE"), 9, L"ACKNOTE", reason);
}

bool CheckAlarmAckHistoryRow(const AlarmAckHistoryArchiveRow& row, const ColumnLimits& limits, CString& reason)
{
    return FitsColumn(row.note, limits.Of(L"ACKNOTE"), 6, L"ACKNOTE", reason);
}

bool CheckVisitRow(const VisitArchiveRow& row, const ColumnLimits& limits, CString& reason)
{
    return FitsOptional(row.visitKey, limits, L"VISIT_KEY", 15, reason);
}

bool CheckVisitEventRow(const VisitEventArchiveRow& row, const ColumnLimits& limits, CString& reason)
{
    return FitsOptional(row.name, limits, L"NAME", 5, reason);
}

bool CheckVideoEventRow(const VideoEventArchiveRow& row, const ColumnLimits& limits, CString& reason)
{
    return FitsOptional(row.archiveFile, limits, L"ARCHIVEFILE", 8, reason);
}

bool CheckContinuousVideoRow(const ContinuousVideoArchiveRow& row, const ColumnLimits& limits, CString& reason)
{
    return FitsOptional(row.archiveFile, limits, L"ARCHIVEFILE", 7, reason);
}

namespace {

// The state of the acknowledgement loop: the acknowledgement whose history lines may
// follow, held in its entry, or (once its history outgrew MaxHeldHistory) inserted
// already, with what became of it.
class AlarmAckLoop {
public:
    using Outcome = RestoreBatch<AlarmAckEntry>::Outcome;
    using InsertHistory = std::function<void(const AlarmAckArchiveRow&, const AlarmAckHistoryArchiveRow&)>;

    AlarmAckLoop(ArchiveRestoreRun& run, const ColumnLimits& limits, RestoreBatch<AlarmAckEntry>& batch,
        const InsertHistory& insertHistory)
        : m_run(run), m_limits(limits), m_batch(batch), m_insertHistory(insertHistory)
    {
    }

    // False when the callback asked to stop.
    bool History(const ArchiveFields& fields)
    {
        if (!m_current && !m_streamed) {
            m_run.Skip(L"a history line without its acknowledgement before it");
            return true;
        }
        AlarmAckHistoryArchiveRow hist;
        if (!ParseAlarmAckHistoryArchiveLine(fields, hist, m_reason) || !TimesWhole(fields, m_reason) ||
            !CheckAlarmAckHistoryRow(hist, m_limits, m_reason)) {
            m_run.Skip(m_reason.GetString());
            return true;
        }
        if (m_streamed) {
            if (m_streamedOutcome == Outcome::Inserted)
                m_batch.Inserter().Try(m_run.LineNumber(), [&] { m_insertHistory(*m_streamed, hist); });
            else if (m_streamedOutcome == Outcome::Refused)
                m_run.Skip(L"the history of an acknowledgement that was not restored");
            // A duplicate's history was restored with it.
            return true;
        }
        m_current->history.push_back({std::move(hist), m_run.LineNumber()});
        if (m_current->history.size() < MaxHeldHistory)
            return true;
        // Insert what is held, keeping the transaction open for the rest of its history.
        AlarmAckArchiveRow ack = m_current->ack;
        AlarmAckEntry entry = std::move(*m_current);
        m_current.reset();
        if (!m_batch.AddAndHold(std::move(entry), m_currentLine))
            return false;
        m_streamed = std::move(ack);
        m_streamedOutcome = m_batch.LastOutcome();
        return true;
    }

    // False when the callback asked to stop.
    bool Acknowledgement(const ArchiveFields& fields)
    {
        if (!EndEntry())
            return false;
        AlarmAckArchiveRow ack;
        if (!ParseAlarmAckArchiveLine(fields, ack, m_reason) || !TimesWhole(fields, m_reason) ||
            !CheckAlarmAckRow(ack, m_limits, m_reason)) {
            m_run.Skip(m_reason.GetString());
            return true;
        }
        m_current = AlarmAckEntry{std::move(ack), {}};
        m_currentLine = m_run.LineNumber();
        return true;
    }

    // An acknowledgement line or the end of the file ends the entry before it.
    bool EndEntry()
    {
        m_streamed.reset();
        if (!m_current)
            return !m_batch.Stopped();
        AlarmAckEntry entry = std::move(*m_current);
        m_current.reset();
        return m_batch.Add(std::move(entry), m_currentLine);
    }

private:
    ArchiveRestoreRun& m_run;
    const ColumnLimits& m_limits;
    RestoreBatch<AlarmAckEntry>& m_batch;
    const InsertHistory& m_insertHistory;
    std::optional<AlarmAckEntry> m_current;
    LONG m_currentLine = 0;
    std::optional<AlarmAckArchiveRow> m_streamed;
    Outcome m_streamedOutcome = Outcome::None;
    CString m_reason;
};

} // namespace

void RestoreAlarmAckLines(CStdioFileUnicode& file, ArchiveRestoreRun& run, const ColumnLimits& limits,
    RestoreBatch<AlarmAckEntry>& batch,
    const std::function<void(const AlarmAckArchiveRow& ack, const AlarmAckHistoryArchiveRow& row)>& insertHistory)
{
    AlarmAckLoop loop(run, limits, batch, insertHistory);
    CString line;
    ArchiveFields fields;
    bool going = true;
    while (going && run.NextLine(file, line, BlankLines::OnlyEmpty)) {
        fields.Split(line);
        going = IsAlarmAckHistoryLine(fields) ? loop.History(fields) : loop.Acknowledgement(fields);
    }
    if (going)
        loop.EndEntry();
    // Commits the last batch (also one held open for a long history).
    batch.Flush();
}

} // namespace zyn::archive
