#pragma once
// The console's work away from the windows: its database (the embedded SQLite file made
// from the schema on first run, or a PostgreSQL server named by a connection string), a
// few sample events, the archive pass over EVENTS with its restore, and the questions it
// asks the recording server.
//
// The archive pass appends to one archive file (never replacing what earlier passes
// wrote) and reports each archived row through a callback, so the status bar's progress
// pane can follow it; the restore reads the whole file back into EVENTS_RESTORED, where
// rows restored before are found and left alone.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/wintypes.h"
#include "platform/suite/database/zyn_database.h"

namespace host {

// Opens the database: pgConnect empty, the SQLite file at sqlitePath (created from the
// schema when missing); else the PostgreSQL database (its schema created when it has no
// EVENTS table). Lines saying what was done go to `say`. Raises the database or file
// exception on failure.
void OpenDatabase(CZynDatabase& db, const CString& sqlitePath, const CString& pgConnect,
    const std::function<void(const CString&)>& say);

// Adds `count` old sample events (2010) when EVENTS has none, each with its type's text
// and its door (DEVID 1 to 4); returns how many it added.
int SeedEvents(CZynDatabase& db, int count);

// An event as the recent-events list shows it.
struct EventRow {
    CString time;  // "2010-12-24 17:00", as stored (UTC)
    CString text;  // what happened
    CString door;  // "Door 4"; empty when the event names no door
};
// The newest `count` events, newest first (by time, then by serial number).
std::vector<EventRow> RecentEvents(CZynDatabase& db, int count);

int64_t CountRows(CZynDatabase& db, LPCWSTR table);

struct NamedRow {
    LONG id = 0;
    CString name;
};
// The rows of a name table (ID, NAME: HOST_DOOR, HOST_OPERATOR) in the order a person
// reads a list: case ignored, in the locale's word order (accents after the base
// letters), equal names by ID. Raises the database exception when the table cannot be read.
std::vector<NamedRow> ReadNames(CZynDatabase& db, LPCWSTR table);

struct ArchiveOutcome {
    LONG archived = 0;  // rows moved from EVENTS into the file
    LONG restored = 0;  // rows the restore inserted into EVENTS_RESTORED
    LONG duplicates = 0; // rows the restore found there already
};
// What the pass did, said as the console says it: "Archived 24 events from before 2020;
// restored the archive file: 24 events, 48 there already."
CString DescribeArchive(const ArchiveOutcome& outcome, int cutoffYear);
// Archives the events before the cutoff year into filePath (appended), then restores the
// file. progress(done, total) follows both halves: the archive's rows, then the restore's.
// Raises the database or file exception on failure (the pass is then rolled back).
ArchiveOutcome ArchiveAndRestore(CZynDatabase& db, const CString& filePath, int cutoffYear,
    const std::function<void(LONG done, LONG total)>& progress);

struct RecorderReport {
    bool started = false;     // StartVideoArchive answered TRUE
    bool running = false;     // IsVideoArchiveRunning answered TRUE
    LONG purgeState = 0;      // GetContinuousVideoPurgeState's answer
    CString status;           // the last call's status text
};
// Asks the recording server on 127.0.0.1 at `port` (set in ACS.INI [Service]).
RecorderReport AskRecorder(uint16_t port);
// What the server answered, said as the console says it.
CString DescribeRecorder(uint16_t port, const RecorderReport& report);

} // namespace host
