#pragma once
// Each archive set's restore loop, apart from the database: which lines hold rows, the
// checks a row must pass before it is offered to its table, and the row's identity.
// The sets run these loops with a batch over their table (archive_restore_rows.h); the
// fuzz target runs them over whole files with a batch over memory.
//
// Checks: a text longer than its column holds is refused here, with the field and the
// column named, rather than by the database (a visit's PURPOSE alone is cut to fit, and
// the cut logged, by the visit set itself).
//
// Identities (key columns as archived; as stored after mapping, in the target's key
// column order):
//   event             MACHINE (mapped), SERIALNUM
//   acknowledgement   SPANELID (mapped), SSERIALNUM (mapped)
//   visit             VISITID (mapped)
//   visit event       VISIT_EVENTID (mapped)
//   event video       MACHINE (mapped), SERIALNUM, VIDEOSERVERID (mapped), CAMERAID
//                     (mapped), START_TIME_UTC: one clip of one camera of an event
//   continuous video  CONTINUOUS_VIDEOID
//
// Acknowledgements: an acknowledgement line and the history lines after it are one
// entry, restored (or found restored already) together. An entry whose history grows
// beyond MaxHeldHistory lines is inserted with the history so far, inside a transaction
// that stays open, and the rest of its history lines are inserted as they come; so
// memory stays flat and the entry still commits whole.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "archive/alarm_ack_archive_line.h"
#include "archive/archive_line.h"
#include "archive/event_archive_line.h"
#include "archive/restore_batch.h"
#include "archive/restore_run.h"
#include "archive/video_archive_lines.h"
#include "archive/visit_archive_lines.h"

class CStdioFileUnicode;

namespace zyn::archive {

// False, with the reason, when a date-time field of the line just parsed held text but no
// complete date and time.
bool TimesWhole(const ArchiveFields& fields, CString& reason);

// The longest text each text column of the restored table holds, in characters.
class ColumnLimits {
public:
    void Set(LPCWSTR lpszColumn, int nMax) { m_limits[lpszColumn] = nMax; }
    // 0 when no limit is known.
    int Of(LPCWSTR lpszColumn) const
    {
        // Looked up by the name as it is (asked for every text of every line).
        const auto it = m_limits.find(std::wstring_view(lpszColumn));
        return it == m_limits.end() ? 0 : it->second;
    }

private:
    std::map<std::wstring, int, std::less<>> m_limits;
};

// The schema's limits, for restores that cannot ask the table.
ColumnLimits DefaultColumnLimits();

// Key columns of the restored tables, in the order of RowIdentity::stored.
std::vector<KeyColumn> EventKeyColumns();
std::vector<KeyColumn> AlarmAckKeyColumns();
std::vector<KeyColumn> VisitKeyColumns();
std::vector<KeyColumn> VisitEventKeyColumns();
std::vector<KeyColumn> VideoEventKeyColumns();
std::vector<KeyColumn> ContinuousVideoKeyColumns();

RowIdentity EventIdentity(const EventArchiveRow& row, const IdMapper& map);
RowIdentity AlarmAckIdentity(const AlarmAckArchiveRow& row, const IdMapper& map);
RowIdentity VisitIdentity(const VisitArchiveRow& row, const IdMapper& map);
RowIdentity VisitEventIdentity(const VisitEventArchiveRow& row, const IdMapper& map);
RowIdentity VideoEventIdentity(const VideoEventArchiveRow& row, const IdMapper& map);
RowIdentity ContinuousVideoIdentity(const ContinuousVideoArchiveRow& row, const IdMapper& map);

// False, with the reason, when a text does not fit its column.
bool CheckEventRow(const EventArchiveRow& row, const ColumnLimits& limits, CString& reason);
bool CheckAlarmAckRow(const AlarmAckArchiveRow& row, const ColumnLimits& limits, CString& reason);
bool CheckAlarmAckHistoryRow(const AlarmAckHistoryArchiveRow& row, const ColumnLimits& limits, CString& reason);
bool CheckVisitRow(const VisitArchiveRow& row, const ColumnLimits& limits, CString& reason);
bool CheckVisitEventRow(const VisitEventArchiveRow& row, const ColumnLimits& limits, CString& reason);
bool CheckVideoEventRow(const VideoEventArchiveRow& row, const ColumnLimits& limits, CString& reason);
bool CheckContinuousVideoRow(const ContinuousVideoArchiveRow& row, const ColumnLimits& limits, CString& reason);

// The loop of the sets whose lines each hold one row: every line that may hold a row
// is taken apart and checked, refused lines are skipped (logged and counted), rows go
// to the batch, and the batch is flushed at the end (or when the callback stops it).
template <typename Row>
void RestoreRowLines(CStdioFileUnicode& file, ArchiveRestoreRun& run, BlankLines mode,
    bool (*parse)(const ArchiveFields&, Row&, CString&),
    const std::function<bool(const Row&, CString&)>& check, RestoreBatch<Row>& batch)
{
    CString line;
    CString reason;
    ArchiveFields fields;
    while (run.NextLine(file, line, mode)) {
        fields.Split(line);
        Row row;
        if (!parse(fields, row, reason) || !TimesWhole(fields, reason) || (check && !check(row, reason))) {
            run.Skip(reason.GetString());
            continue;
        }
        if (!batch.Add(std::move(row), run.LineNumber()))
            break;
    }
    batch.Flush();
}

// An acknowledgement with the history lines that follow it.
struct AlarmAckEntry {
    struct History {
        AlarmAckHistoryArchiveRow row;
        LONG line = 0;
    };
    AlarmAckArchiveRow ack; // as archived
    std::vector<History> history;
};

inline constexpr size_t MaxHeldHistory = 256;

// The acknowledgement set's loop. insertHistory inserts one history row of an
// acknowledgement already inserted (the lines beyond MaxHeldHistory); a refusal raises
// as from the batch's inserter.
void RestoreAlarmAckLines(CStdioFileUnicode& file, ArchiveRestoreRun& run, const ColumnLimits& limits,
    RestoreBatch<AlarmAckEntry>& batch,
    const std::function<void(const AlarmAckArchiveRow& ack, const AlarmAckHistoryArchiveRow& row)>& insertHistory);

} // namespace zyn::archive
