#pragma once
// CZynReportEngine: the application's hold on the outside report runtime, and the list
// of reports open on it.
//
// Construction resolves the runtime's ProgID and creates its application object
// (IApplication, class context 23); any failure is reported once as message 11373 and
// leaves an engine without a runtime, on which reports do not open and CanClose answers
// 1. Reports (CZynReport) add themselves when they open and remove themselves when they
// close or are destroyed. The engine's destructor waits for the runtime to become
// closable (at most 20 questions, 500 ms apart), releases it, and detaches the reports
// still open, which then hold no engine: their own close or destruction later touches
// nothing of the engine's.
//
// The engine reports through its own exception handler when it was given one, else the
// application's (CZynApp::GetAppExceptionHandler). It takes no locks: one thread uses it.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/object.h"
#include "platform/base/wintypes.h"
#include "reports/report_runtime.h"

class CZynExceptionHandler;
class CZynReport;

class CZynReportEngine : public CObject {
public:
    explicit CZynReportEngine(CZynExceptionHandler* pHandler = nullptr);
    ~CZynReportEngine() override;
    CZynReportEngine(const CZynReportEngine&) = delete;
    CZynReportEngine& operator=(const CZynReportEngine&) = delete;

    // 1 without a runtime; else 1 when the runtime consents, 0 when it refuses or the
    // question fails.
    int CanClose();
    // False while any open report is printing.
    bool CanOutputReport() const;
    // Message nID with the HRESULT, through the engine's handler or the application's.
    void HandleException(UINT nID, LONG hr) const;

    // Whether the runtime's application object exists.
    bool HasRuntime() const { return m_pApplication != nullptr; }
    // The open reports, in the order they opened.
    const std::vector<CZynReport*>& GetReports() const { return m_reports; }

protected:
    // The runtime's application object (not AddRef'd), or null.
    IApplication* GetEngine() const { return m_pApplication; }

private:
    friend class CZynReport;
    friend struct ReportEngineTestAccess;

    void AddReport(CZynReport* pReport);
    void RemoveReport(CZynReport* pReport);
    // Installs the runtime's outer-join option from "CRJoin.reg" beside the executable
    // unless HKCU already holds it.
    void InitRegistry();

    const CZynExceptionHandler& Handler() const;
    void Report(const CString& text) const;

    IApplication* m_pApplication = nullptr; // one reference held
    CZynExceptionHandler* m_pHandler;       // not owned
    std::vector<CZynReport*> m_reports;     // not owned
};

namespace zyn::reports {

// Test seams of InitRegistry: the folder taken for the executable's (a trailing slash is
// added when missing; nullopt: the real one), and the importer of the .reg file (null:
// CZynRegistry::ImportRegFile). Both persist until set back.
void SetExecutableFolderForTests(std::optional<std::wstring> folder);
using RegImporter = std::function<bool(const wchar_t* path, bool wait)>;
void SetRegImporterForTests(RegImporter importer);

// The file InitRegistry imports and the key whose presence makes it do nothing.
inline constexpr const wchar_t* kOuterJoinFile = L"CRJoin.reg";
inline constexpr const wchar_t* kOuterJoinKey = L"Software\\Report Runtime\\DatabaseOptions\\OuterJoin";

} // namespace zyn::reports
