#pragma once
// The console's application object: the operator's session over the database (the
// operator logs in through the log-in dialog before any other window opens), the two
// configuration screens registered as views, the main frame with its bars, the skin of
// the last run, the archive pass, the recording server and the session log.
//
// Everything a run changes that a person set (the skin, the frame's placement and every
// bar's place) is in the application profile, so the next run opens as this one closed.
// The console keeps a session log of its own: each run is one session, and every
// archive pass and recording-server question writes its lines there.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "app/zyn_app.h"
#include "host_work.h"
#include "platform/base/cstring.h"

class CDistLogViewer;
class CHostFrame;
class CZynDatabase;

namespace host {
class RecorderProcess;
}
namespace zyn::gdi {
struct PrintedDocument;
}

struct HostOptions {
    std::filesystem::path dataDir;  // the SQLite file, the archive file, the session log
    CString pgConnect;              // non-empty: PostgreSQL instead of the SQLite file
    uint16_t recorderPort = 0;      // 0: the console runs recorderProgram itself
    std::string recorderProgram;    // the example recording server
};

class CHostApp : public CZynApp {
public:
    explicit CHostApp(HostOptions options);
    ~CHostApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL OnIdle(LONG lCount) override;

    // Makes a skin current, repaints, and keeps the choice for the next run.
    bool ChooseSkin(const wchar_t* name);
    // The archive pass over EVENTS and the restore of its file, with progress.
    bool RunArchive();
    bool AskRecorder();
    // Opens the session log viewer, or brings the open one to the front.
    bool OpenLogViewer();
    void CloseLogViewer();
    // Prints the session log on a printer of the recording kind (its pages are kept as
    // pictures in the process and written to PrintedFolder()); the number of pages, -1
    // when printing failed.
    int PrintSessionLog();
    // Writes a printed document's pages into PrintedFolder() as <stem>-page<N>.png
    // (host_printed.h) and says how many and where; with `owner`, a message box over it
    // says so too. False when a page could not be written (said as well).
    bool KeepPrintedPages(const zyn::gdi::PrintedDocument& doc, const std::string& stem, CWnd* owner = nullptr);

    // InitInstance failed because the operator cancelled the log-in (no error).
    bool LoginCancelled() const { return m_loginCancelled; }
    CHostFrame* Frame() const { return m_pFrame; }
    CZynDatabase& Database() { return *m_pDb; }
    CDistLogViewer* LogViewer() const { return m_pLogViewer.get(); }
    const host::ArchiveOutcome& LastArchive() const { return m_lastArchive; }
    const host::RecorderReport& LastRecorder() const { return m_lastRecorder; }
    std::filesystem::path ArchiveFile() const { return m_options.dataDir / "events-archive.txt"; }
    std::filesystem::path SessionLogFile() const { return m_options.dataDir / "console.log"; }
    std::filesystem::path PrintedFolder() const { return m_options.dataDir / "printed"; }
    // Shows the newest events in the events bar.
    void RefreshEvents();
    // A line on standard output, in the session log and in the status bar.
    void Say(const CString& line);

private:
    HostOptions m_options;
    std::unique_ptr<CZynDatabase> m_pOwnedDb;
    CZynDatabase* m_pDb = nullptr;
    std::unique_ptr<host::RecorderProcess> m_pRecorder;
    std::unique_ptr<CDistLogViewer> m_pLogViewer;
    CHostFrame* m_pFrame = nullptr;  // deletes itself with its window
    host::ArchiveOutcome m_lastArchive;
    host::RecorderReport m_lastRecorder;
    bool m_sessionOpen = false;  // the session log has this run's start line
    bool m_loginCancelled = false;
};

CHostApp& HostApp();
// The skin a Skins menu command names; null for another command.
const wchar_t* HostSkinName(UINT command);
