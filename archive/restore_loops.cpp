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

void RestoreAlarmAckLines(CStdioFileUnicode& file, ArchiveRestoreRun& run, const ColumnLimits& limits,
    RestoreBatch<AlarmAckEntry>& batch,
    const std::function<void(const AlarmAckArchiveRow& ack, const AlarmAckHistoryArchiveRow& row)>& insertHistory)
{
    using Outcome = RestoreBatch<AlarmAckEntry>::Outcome;
    // The acknowledgement whose history lines may follow: held in the entry, or (once
    // its history outgrew MaxHeldHistory) inserted already with the outcome kept.
    std::optional<AlarmAckEntry> current;
    LONG currentLine = 0;
    std::optional<AlarmAckArchiveRow> streamed;
    Outcome streamedOutcome = Outcome::None;

    // An acknowledgement line or the end ends the entry before it.
    auto endEntry = [&]() -> bool {
        streamed.reset();
        if (!current)
            return !batch.Stopped();
        AlarmAckEntry entry = std::move(*current);
        current.reset();
        return batch.Add(std::move(entry), currentLine);
    };

    CString line;
    CString reason;
    ArchiveFields fields;
    auto readLines = [&] {
    while (run.NextLine(file, line, BlankLines::OnlyEmpty)) {
        fields.Split(line);
        if (IsAlarmAckHistoryLine(fields)) {
            if (!current && !streamed) {
                run.Skip(L"a history line without its acknowledgement before it");
                continue;
            }
            AlarmAckHistoryArchiveRow hist;
            if (!ParseAlarmAckHistoryArchiveLine(fields, hist, reason) || !CheckAlarmAckHistoryRow(hist, limits, reason)) {
                run.Skip(reason.GetString());
                continue;
            }
            if (streamed) {
                if (streamedOutcome == Outcome::Inserted)
                    batch.Inserter().Try(run.LineNumber(), [&] { insertHistory(*streamed, hist); });
                else if (streamedOutcome == Outcome::Refused)
                    run.Skip(L"the history of an acknowledgement that was not restored");
                // A duplicate's history was restored with it.
                continue;
            }
            current->history.push_back({std::move(hist), run.LineNumber()});
            if (current->history.size() >= MaxHeldHistory) {
                // Insert what is held, keep the transaction open for the rest.
                AlarmAckArchiveRow ack = current->ack;
                AlarmAckEntry entry = std::move(*current);
                current.reset();
                if (!batch.Add(std::move(entry), currentLine) || !batch.Flush(true))
                    return;
                streamed = std::move(ack);
                streamedOutcome = batch.LastOutcome();
            }
            continue;
        }
        if (!endEntry())
            return;
        AlarmAckArchiveRow ack;
        if (!ParseAlarmAckArchiveLine(fields, ack, reason) || !CheckAlarmAckRow(ack, limits, reason)) {
            run.Skip(reason.GetString());
            continue;
        }
        current = AlarmAckEntry{std::move(ack), {}};
        currentLine = run.LineNumber();
    }
    endEntry();
    };
    readLines();
    // Commits the last batch (also one held open for a long history).
    batch.Flush();
}

} // namespace zyn::archive
