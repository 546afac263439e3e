#pragma once
// CZynReportEngine: the application's report engine. Reports are not built yet; the
// application hands out this one placeholder so callers can hold on to it.
class CZynReportEngine {
public:
    CZynReportEngine() = default;
    virtual ~CZynReportEngine() = default;
    // No report can run yet.
    bool IsAvailable() const { return false; }
};
