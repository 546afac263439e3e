// The example host. Until the window system exists it runs the foundation the way a
// host would at start-up: settings from the registry and ACS.INI, the machine's zone,
// the archive time format, the logger and the suite's Unicode text file.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/zyn_datetime.h"
#include "common/zyn_registry.h"
#include "common/zyn_timestamp.h"
#include "platform/base/environment.h"
#include "platform/base/exception.h"
#include "platform/base/inifile.h"
#include "platform/base/utf16.h"
#include "platform/suite/database/schema_loader.h"
#include "platform/suite/database/table_exists.h"
#include "platform/suite/database/zyn_database.h"
#include "platform/suite/utility/logger.h"
#include "platform/suite/utility/stdiofile_unicode.h"
#include "platform/suite/utility/sysinfo.h"

namespace {
void Say(const CString& text) { std::printf("%s\n", zyn::base::ToUtf8(text.GetString()).c_str()); }

// The demo keeps its settings and logs in a folder of its own unless told otherwise.
void UsePrivateFolders()
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / "zyn-demo";
    for (const char* sub : {"registry", "windows", "logs"})
        fs::create_directories(root / sub);
    ::setenv("ZYN_REGISTRY_DIR", (root / "registry").c_str(), 0);
    ::setenv("ZYN_WINDIR", (root / "windows").c_str(), 0);
    ::setenv("ZYN_LOG_DIR", (root / "logs").c_str(), 0);
}
} // namespace

int main()
{
    UsePrivateFolders();
    Say(L"ZynCmn example host");

    CString computer;
    if (SysInfo::GetComputerNameW(computer, false, false))
        Say(L"Computer: " + computer);

    // ACS.INI [Polling] DBCheckSeconds, 60 when absent.
    const UINT seconds = GetPrivateProfileIntW(L"Polling", L"DBCheckSeconds", 60, L"ACS.INI");
    CString line;
    line.Format(L"Database check every %u seconds (ACS.INI [Polling])", seconds);
    Say(line);
    WritePrivateProfileStringW(L"Polling", L"DBCheckSeconds", L"60", L"ACS.INI");

    // HKLM SOFTWARE\Orvan\Tessora.
    {
        CZynRegistry settings(true);
        if (!settings.IsOpen()) {
            Say(L"The registry store cannot be opened.");
            return 1;
        }
        CString product;
        if (!settings.GetString(L"InstalledProductName", product)) {
            settings.SetString(L"InstalledProductName", L"Access Control");
            product = L"Access Control (set now)";
        }
        Say(L"Installed product: " + product);
    }

    // The machine's zone and the archive's fixed time text.
    CZynDateTime now;
    const CZynDateTime utc = now.GetUTC();
    Say(L"Local time:  " + ZynFormatArchiveTime(now.GetAsOleDateTime()));
    Say(L"UTC:         " + ZynFormatArchiveTime(utc.GetAsOleDateTime()));

    // One archive-style line written and read back.
    const CString path = CLogger::GetLogDir() + L"/demo-archive.txt";
    {
        CStdioFileUnicode out;
        if (!out.Open(path, CFile::modeCreate | CFile::modeWrite)) {
            Say(L"Cannot write " + path);
            return 1;
        }
        out.WriteString(L"1\t" + ZynFormatArchiveTime(utc.GetAsOleDateTime()) + L"\tFront door");
        out.Close();
    }
    CStdioFileUnicode in;
    if (in.Open(path, CFile::modeRead)) {
        CString read;
        while (in.ReadString(read))
            Say(L"Archive line: " + read);
    }
    // The embedded default database: an SQLite file created from the schema on first run.
    {
        const auto dbFile = std::filesystem::temp_directory_path() / "zyn-demo" / "orvan.db";
        const CString dbPath(zyn::base::FromUtf8(dbFile.string()).c_str());
        try {
            if (!std::filesystem::exists(dbFile)) {
                const int statements = zyn::db::CreateDatabase(dbPath, zyn::db::SchemaEngine::SQLite);
                line.Format(L"Created %s from the schema (%d statements)", dbPath.GetString(), statements);
                Say(line);
            }
            CZynDatabase db;
            db.OpenEx(zyn::db::SqliteConnectString(dbPath));
            int64_t events = 0;
            db.QueryInt64(L"SELECT COUNT(*) FROM EVENTS", {}, events);
            line.Format(L"Database %s: EVENTS table %s with %I64d rows", db.GetDBMSName().GetString(),
                ZynTableExists(&db, L"EVENTS") ? L"present" : L"missing", events);
            Say(line);
        } catch (CException* e) {
            Say(L"Database error: " + e->GetMessageText());
            e->Delete();
            return 1;
        }
    }
    CLogger::LogDebug(L"Example host ran");
    Say(L"Logs in " + CLogger::GetLogDir());
    return 0;
}
