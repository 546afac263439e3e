#pragma once
// CZynReport: the least report, the base of the suite's reports. It opens on the report
// engine it was given, and only while that engine holds the report runtime; opening
// adds it to the engine's reports and closing (or destroying it) removes it again. A
// derived report marks the time it prints (SetPrintInProgress), during which the engine
// refuses to output another report (CZynReportEngine::CanOutputReport).
//
// An engine destroyed first detaches its open reports: such a report is closed and can
// never open again.
#include "platform/base/object.h"
#include "platform/base/wintypes.h"

class CZynReportEngine;
struct IApplication;

class CZynReport : public CObject {
public:
    explicit CZynReport(CZynReportEngine* pEngine);
    ~CZynReport() override;
    CZynReport(const CZynReport&) = delete;
    CZynReport& operator=(const CZynReport&) = delete;

    // TRUE when open (also when it was open already); FALSE without an engine or runtime.
    virtual BOOL Open();
    // Closes and leaves the engine's reports; nothing when not open.
    virtual void Close();
    BOOL IsOpen() const { return m_bOpen; }
    // True while the report is being printed.
    bool PrintInProgress() const { return m_bPrintInProgress; }
    // The engine (null once it was destroyed).
    CZynReportEngine* GetReportEngine() const { return m_pEngine; }

protected:
    void SetPrintInProgress(bool bPrinting) { m_bPrintInProgress = bPrinting; }
    // The runtime's application object (not AddRef'd), or null.
    IApplication* GetApplication() const;

private:
    friend class CZynReportEngine;
    void LeaveEngine();
    // The engine is going away.
    void DetachEngine();

    CZynReportEngine* m_pEngine;
    BOOL m_bOpen = FALSE;
    bool m_bPrintInProgress = false;
};
