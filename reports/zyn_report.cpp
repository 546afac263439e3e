#include "reports/zyn_report.h"

#include "reports/zyn_report_engine.h"

CZynReport::CZynReport(CZynReportEngine* pEngine) : m_pEngine(pEngine) {}

CZynReport::~CZynReport()
{
    // Never through the virtual Close: the derived part is gone already.
    LeaveEngine();
}

BOOL CZynReport::Open()
{
    if (m_bOpen)
        return TRUE;
    if (!m_pEngine || !m_pEngine->HasRuntime())
        return FALSE;
    m_pEngine->AddReport(this);
    m_bOpen = TRUE;
    return TRUE;
}

void CZynReport::Close() { LeaveEngine(); }

void CZynReport::LeaveEngine()
{
    if (!m_bOpen)
        return;
    m_bOpen = FALSE;
    m_bPrintInProgress = false;
    if (m_pEngine)
        m_pEngine->RemoveReport(this);
}

void CZynReport::DetachEngine()
{
    m_pEngine = nullptr;
    m_bOpen = FALSE;
    m_bPrintInProgress = false;
}

IApplication* CZynReport::GetApplication() const { return m_pEngine ? m_pEngine->GetEngine() : nullptr; }
