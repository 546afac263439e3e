#include "reports/zyn_report_engine.h"

#include <algorithm>

#include "app/zyn_app.h"
#include "common/zyn_registry.h"
#include "platform/base/clock.h"
#include "platform/base/exception.h"
#include "platform/base/module.h"
#include "platform/base/path.h"
#include "platform/com/objbase.h"
#include "platform/suite/user/com_error.h"
#include "platform/suite/user/exception_handler.h"
#include "reports/zyn_report.h"
#include "resources/resource.h"

namespace {

// How long the destructor waits for the runtime: 20 questions, 500 ms after each refusal.
constexpr int kCloseAttempts = 20;
constexpr DWORD kCloseRetryMs = 500;

struct Seams {
    std::optional<std::wstring> exeFolder;
    zyn::reports::RegImporter importer;
};
Seams& TheSeams()
{
    static Seams* s = new Seams;
    return *s;
}

// The running executable's folder with its trailing separator.
std::wstring ExecutableFolder()
{
    if (const auto& folder = TheSeams().exeFolder) {
        std::wstring f = *folder;
        if (!f.empty() && f.back() != L'/' && f.back() != L'\\')
            f += L'/';
        return f;
    }
    std::wstring path(4096, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(n < path.size() ? n : 0);
    const size_t slash = path.find_last_of(L"/\\");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

bool ImportRegFile(const wchar_t* path, bool wait)
{
    if (const auto& importer = TheSeams().importer)
        return importer(path, wait);
    return CZynRegistry::ImportRegFile(path, wait);
}

} // namespace

namespace zyn::reports {
void SetExecutableFolderForTests(std::optional<std::wstring> folder) { TheSeams().exeFolder = std::move(folder); }
void SetRegImporterForTests(RegImporter importer) { TheSeams().importer = std::move(importer); }
} // namespace zyn::reports

CZynReportEngine::CZynReportEngine(CZynExceptionHandler* pHandler) : m_pHandler(pHandler)
{
    try {
        CLSID clsid = CLSID_NULL;
        HRESULT hr = CLSIDFromProgID(kReportRuntimeProgID, &clsid);
        if (SUCCEEDED(hr))
            hr = CoCreateInstance(clsid, nullptr, kReportRuntimeContext, IID_IApplication,
                reinterpret_cast<void**>(&m_pApplication));
        if (FAILED(hr)) {
            m_pApplication = nullptr;
            HandleException(IDS_REPORT_RUNTIME_NOT_CREATED, hr);
        }
    } catch (CException* e) {
        // A runtime's factory may raise; the engine is made all the same, without it.
        Handler().Handle(IDS_REPORT_RUNTIME_NOT_CREATED, e, TRUE);
        e->Delete();
    } catch (const _com_error& e) {
        Handler().Handle(IDS_REPORT_RUNTIME_NOT_CREATED, e, TRUE);
    }
}

CZynReportEngine::~CZynReportEngine()
{
    if (m_pApplication) {
        for (int attempt = 0; attempt < kCloseAttempts; ++attempt) {
            if (CanClose())
                break;
            Sleep(kCloseRetryMs);
        }
        // Released whatever the answer: the application is going.
        m_pApplication->Release();
        m_pApplication = nullptr;
    }
    // Reports still open hold this engine: they are told, so that their own close or
    // destruction later does not reach into freed memory.
    const std::vector<CZynReport*> open = std::move(m_reports);
    m_reports.clear();
    for (CZynReport* report : open)
        report->DetachEngine();
}

int CZynReportEngine::CanClose()
{
    if (!m_pApplication)
        return 1;
    VARIANT_BOOL canClose = VARIANT_FALSE;
    // A question that fails is no consent.
    if (FAILED(m_pApplication->CanClose(&canClose)))
        return 0;
    return canClose != VARIANT_FALSE ? 1 : 0;
}

bool CZynReportEngine::CanOutputReport() const
{
    return std::none_of(m_reports.begin(), m_reports.end(), [](const CZynReport* r) { return r->PrintInProgress(); });
}

const CZynExceptionHandler& CZynReportEngine::Handler() const
{
    return m_pHandler ? *m_pHandler : CZynApp::GetAppExceptionHandler();
}

void CZynReportEngine::HandleException(UINT nID, LONG hr) const
{
    // Shown: a runtime that is missing is the operator's to know about.
    Handler().Handle(nID, static_cast<HRESULT>(hr), TRUE);
}

void CZynReportEngine::Report(const CString& text) const { Handler().Handle(text.GetString(), nullptr, TRUE); }

void CZynReportEngine::AddReport(CZynReport* pReport)
{
    if (pReport && std::find(m_reports.begin(), m_reports.end(), pReport) == m_reports.end())
        m_reports.push_back(pReport);
}

void CZynReportEngine::RemoveReport(CZynReport* pReport)
{
    const auto it = std::find(m_reports.begin(), m_reports.end(), pReport);
    if (it != m_reports.end())
        m_reports.erase(it);
}

void CZynReportEngine::InitRegistry()
{
    if (CZynRegistry::KeyExists(HKEY_CURRENT_USER, zyn::reports::kOuterJoinKey))
        return;
    const std::wstring file = ExecutableFolder() + zyn::reports::kOuterJoinFile;
    CString text;
    if (PathFileExistsW(file.c_str())) {
        if (ImportRegFile(file.c_str(), true))
            return;
        text.FormatMessage(IDS_REPORT_OUTERJOIN_NOT_IMPORTED, file.c_str());
    } else {
        text.FormatMessage(IDS_REPORT_OUTERJOIN_FILE_MISSING, file.c_str());
    }
    Report(text);
}
