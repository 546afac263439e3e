#include "host_app.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "frames/log_print.h"
#include "frames/log_viewer.h"
#include "frames/zyn_app_doc.h"
#include "frames/zyn_child_frame.h"
#include "host_frame.h"
#include "host_ids.h"
#include "host_login.h"
#include "host_printed.h"
#include "host_views.h"
#include "operator_login.h"
#include "recorder_process.h"
#include "platform/afx/doctempl.h"
#include "platform/base/exception.h"
#include "platform/base/utf16.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/msgbox.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/user/acs_user.h"
#include "resources/resource.h"
#include "toolkit/skins/skin.h"

namespace {

std::string Utf8(const CString& text) { return zyn::base::ToUtf8(text.GetString()); }
CString FromPath(const std::filesystem::path& path) { return CString(zyn::base::FromUtf8(path.string()).c_str()); }

// The session log's date: month/day/year and the time of day.
std::string Stamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%m/%d/%Y %H:%M:%S", &local);
    return text;
}

// The session log viewer as the console opens it: the file its Open chose is said, and
// what its Print Session printed goes on to the data folder as pictures, since the
// printer keeps its pages only in memory.
class CHostLogViewer : public CDistLogViewer {
public:
    using CDistLogViewer::CDistLogViewer;

protected:
    afx_msg void OnOpen()
    {
        const CString before = GetLogFilePath();
        CDistLogViewer::OnOpenLog();
        if (GetLogFilePath() != before)
            HostApp().Say(L"The session log viewer shows " + GetLogFilePath());
    }
    afx_msg void OnPrint()
    {
        const auto before = host::LastPrinted();
        CDistLogViewer::OnPrintSession();
        const auto printed = host::LastPrinted();
        if (printed && printed != before) // not cancelled, and the printer took it
            HostApp().KeepPrintedPages(*printed, "session", this);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHostLogViewer, CDistLogViewer)
    ON_COMMAND(ID_LOGVIEWER_OPEN, &CHostLogViewer::OnOpen)
    ON_COMMAND(ID_LOGVIEWER_PRINT, &CHostLogViewer::OnPrint)
END_MESSAGE_MAP()

} // namespace

CHostApp& HostApp() { return *static_cast<CHostApp*>(AfxGetApp()); }

CHostApp::CHostApp(HostOptions options) : CZynApp(L"ZynCmn Console"), m_options(std::move(options)) {}

CHostApp::~CHostApp()
{
    // The operator borrows the database: log out before it goes.
    LogoutOperator();
}

void CHostApp::Say(const CString& line)
{
    std::printf("%s\n", Utf8(line).c_str());
    std::fflush(stdout);
    if (m_sessionOpen) {
        std::ofstream log(SessionLogFile(), std::ios::app | std::ios::binary);
        log << Utf8(line) << '\n';
    }
    if (m_pFrame && m_pFrame->m_hWnd)
        m_pFrame->SetMessageText(line);
}

BOOL CHostApp::InitInstance()
{
    std::filesystem::create_directories(m_options.dataDir);
    SetRegistryKey(L"Orvan");
    {
        std::ofstream log(SessionLogFile(), std::ios::app | std::ios::binary);
        log << "****\n[" << Stamp() << "] STARTED\n";
        m_sessionOpen = log.good();
    }

    // The database and the operator of the session.
    try {
        m_pOwnedDb = std::make_unique<CZynDatabase>();
        m_pDb = m_pOwnedDb.get();
        host::OpenDatabase(*m_pDb, FromPath(m_options.dataDir / "console.db"), m_options.pgConnect,
            [this](const CString& line) { Say(line); });
        host::CreateConfigTables(*m_pDb);
        if (const int added = host::SeedEvents(*m_pDb, 24)) {
            CString line;
            line.Format(L"Added %d sample events from 2010 to look at", added);
            Say(line);
        }
    } catch (CException* e) {
        Say(L"Database error: " + e->GetMessageText());
        e->Delete();
        return FALSE;
    }
    // The operator of the session logs in; the console's own window comes after.
    try {
        if (host::PrepareOperatorLogin(*m_pDb))
            Say(CString(L"First run: log in as ") + host::kInitialAdminName + L" with the password " +
                host::kInitialAdminPassword + L" (Console > Operators gives it another)");
    } catch (CException* e) {
        Say(L"The operators cannot be prepared: " + e->GetMessageText());
        e->Delete();
        return FALSE;
    } catch (const std::exception& e) {
        Say(L"The operators cannot be prepared: " + CString(zyn::base::FromUtf8(e.what()).c_str()));
        return FALSE;
    }
    CLoginDialog login(*m_pDb);
    if (login.DoModal() != IDOK || !login.Operator()) {
        Say(L"Log-in cancelled: the console ends");
        m_loginCancelled = true;
        return FALSE;
    }
    auto user = std::make_unique<CAcsUser>(login.Operator()->id, login.Operator()->name);
    user->AddPermission(host::kPermDoors);
    user->AddPermission(host::kPermOperators);
    user->SetAllSegmentsUser(true);
    user->SetDatabase(m_pDb);
    LoginOperator(std::move(user));
    Say(L"Operator " + login.Operator()->name + L" logged in");

    // The screens: one document class, one child frame, a view each.
    auto* doors = new CMultiDocTemplate(IDR_HOST_DOOR, RUNTIME_CLASS(CZynAppDoc), RUNTIME_CLASS(CZynChildFrame),
        RUNTIME_CLASS(CDoorView));
    AddDocTemplate(doors); // the application owns its templates
    AddView(ID_VIEW_HOST_DOORS, IDR_HOST_DOOR, RUNTIME_CLASS(CDoorView), doors, {host::kPermDoors}, {host::kObjectDoor});
    auto* operators = new CMultiDocTemplate(IDR_HOST_OPERATOR, RUNTIME_CLASS(CZynAppDoc),
        RUNTIME_CLASS(CZynChildFrame), RUNTIME_CLASS(COperatorView));
    AddDocTemplate(operators);
    AddView(ID_VIEW_HOST_OPERATORS, IDR_HOST_OPERATOR, RUNTIME_CLASS(COperatorView), operators,
        {host::kPermOperators}, {host::kObjectOperator});

    // The skin of the last run, before any window paints.
    const CString skin = GetProfileString(L"Console", L"Skin", L"Office 2003");
    if (!GetSkin(skin) || !SetCurrentSkin(skin.GetString()))
        SetCurrentSkin(L"Office 2003");

    auto* frame = new CHostFrame; // deletes itself with its window
    if (!frame->Create(nullptr, L"ZynCmn Console", WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CRect(20, 20, 1004, 748))) {
        Say(L"The main frame cannot be created.");
        delete frame;
        return FALSE;
    }
    m_pFrame = frame;
    m_pMainWnd = frame;
    SetMainFrame(frame);
    if (!frame->MakeBars()) {
        Say(L"The main frame's bars cannot be created.");
        frame->DestroyWindow();
        m_pFrame = nullptr;
        m_pMainWnd = nullptr;
        SetMainFrame(nullptr);
        return FALSE;
    }
    frame->LoadState(); // placement and bars as the last run left them
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    RefreshEvents();
    Say(L"Skin: " + GetCurrentSkin()->GetName());
    return TRUE;
}

int CHostApp::ExitInstance()
{
    CloseLogViewer();
    if (m_pRecorder)
        m_pRecorder->Stop();
    if (m_sessionOpen) {
        std::ofstream log(SessionLogFile(), std::ios::app | std::ios::binary);
        log << "COMPLETED\n****\n";
        m_sessionOpen = false;
    }
    return CZynApp::ExitInstance();
}

bool CHostApp::ChooseSkin(const wchar_t* name)
{
    // SetCurrentSkin lays out and repaints every window of the application itself.
    if (!GetSkin(name) || !SetCurrentSkin(name))
        return false;
    WriteProfileString(L"Console", L"Skin", name);
    Say(CString(L"Skin: ") + name);
    return true;
}

void CHostApp::RefreshEvents()
{
    if (!m_pFrame)
        return;
    try {
        m_pFrame->Events().Show(host::RecentEvents(*m_pDb, 12));
    } catch (CException* e) {
        Say(L"The recent events cannot be read: " + e->GetMessageText());
        e->Delete();
    }
}

bool CHostApp::RunArchive()
{
    const CString file = FromPath(ArchiveFile());
    Say(L"Archiving the events from before 2020 into " + file);
    try {
        m_lastArchive = host::ArchiveAndRestore(*m_pDb, file, 2020, [this](LONG done, LONG total) {
            if (m_pFrame)
                m_pFrame->ShowProgress(done, total);
        });
    } catch (CException* e) {
        Say(L"The archive pass failed: " + e->GetMessageText());
        e->Delete();
        if (m_pFrame)
            m_pFrame->ShowProgress(0, 0);
        return false;
    }
    Say(host::DescribeArchive(m_lastArchive, 2020));
    RefreshEvents();
    return true;
}

bool CHostApp::AskRecorder()
{
    uint16_t port = m_options.recorderPort;
    if (port == 0) {
        if (!m_pRecorder || !m_pRecorder->Running()) {
            auto server = std::make_unique<host::RecorderProcess>();
            std::string why;
            if (!server->Start(m_options.recorderProgram, 5000, &why)) {
                Say(L"The recording server cannot start: " + CString(zyn::base::FromUtf8(why).c_str()));
                return false;
            }
            m_pRecorder = std::move(server);
        }
        port = m_pRecorder->Port();
    }
    m_lastRecorder = host::AskRecorder(port);
    Say(host::DescribeRecorder(port, m_lastRecorder));
    return m_lastRecorder.started;
}

BOOL CHostApp::OnIdle(LONG lCount)
{
    // A viewer ended by its Exit, Escape or close box is only hidden: it goes now, so
    // that no hidden window keeps the activation and the keys.
    if (m_pLogViewer && !m_pLogViewer->IsCreated())
        CloseLogViewer();
    return CZynApp::OnIdle(lCount);
}

bool CHostApp::OpenLogViewer()
{
    // Open already: brought to the front. Ended but not yet gone: a new one, showing the
    // log as it is now.
    if (m_pLogViewer && m_pLogViewer->m_hWnd && m_pLogViewer->IsCreated()) {
        m_pLogViewer->ShowWindow(SW_SHOW);
        m_pLogViewer->SetActiveWindow();
        return true;
    }
    CloseLogViewer();
    m_pLogViewer = std::make_unique<CHostLogViewer>(FromPath(SessionLogFile()), m_pFrame);
    if (!m_pLogViewer->Create(IDD_LOGVIEWER, m_pFrame)) {
        m_pLogViewer.reset();
        Say(L"The session log viewer cannot open.");
        return false;
    }
    m_pLogViewer->ShowWindow(SW_SHOW);
    return true;
}

void CHostApp::CloseLogViewer()
{
    if (m_pLogViewer && m_pLogViewer->m_hWnd)
        m_pLogViewer->DestroyWindow();
    m_pLogViewer.reset();
}

int CHostApp::PrintSessionLog()
{
    std::vector<CString> lines;
    {
        std::ifstream in(SessionLogFile(), std::ios::binary);
        std::string line;
        while (std::getline(in, line))
            lines.emplace_back(zyn::base::FromUtf8(line).c_str());
    }
    // Letter paper at 150 dots per inch.
    const HDC printer = zyn::gdi::CreatePrinterDC(150, 8500, 11000);
    if (!printer) {
        Say(L"The session log cannot be printed: no printer.");
        return -1;
    }
    const int pages = zyn::frames::PrintLogLines(printer, L"Session log ", FromPath(SessionLogFile()), lines);
    const auto printed = zyn::gdi::PrinterDocument(printer);
    ::DeleteDC(printer);
    if (pages < 0 || !printed) {
        Say(L"The session log cannot be printed: the printer refused it.");
        return -1;
    }
    return KeepPrintedPages(*printed, "session-log") ? pages : -1;
}

bool CHostApp::KeepPrintedPages(const zyn::gdi::PrintedDocument& doc, const std::string& stem, CWnd* owner)
{
    const host::SavedPages saved = host::SavePrintedPages(doc, PrintedFolder(), stem);
    CString line;
    if (!saved.error.empty()) {
        line = L"The printed pages cannot be kept: ";
        line += zyn::base::FromUtf8(saved.error).c_str();
    } else {
        const size_t n = saved.files.size();
        CString files = n ? FromPath(saved.files.front().filename()) : CString(L"none");
        if (n > 1)
            files += L" to " + FromPath(saved.files.back().filename());
        line.Format(L"Printed %d page%s into %s (%s)", static_cast<int>(n), n == 1 ? L"" : L"s",
            FromPath(PrintedFolder()).GetString(), files.GetString());
    }
    Say(line);
    if (owner && owner->m_hWnd)
        owner->MessageBox(line, L"Print Session", MB_OK | (saved.error.empty() ? MB_ICONINFORMATION : MB_ICONERROR));
    return saved.error.empty();
}
