// The report engine on a fake runtime: the calls it makes in order, an engine without a
// runtime, the wait for a runtime that never lets go, output refused while a report
// prints, reports leaving the engine (also one it never had, and an engine gone first),
// and the outer-join option's four ways.
#include <filesystem>
#include <fstream>

#include "common/zyn_registry.h"
#include "platform/base/clock.h"
#include "platform/base/registry.h"
#include "platform/suite/user/exception_handler.h"
#include "reports/zyn_report.h"
#include "reports/zyn_report_engine.h"
#include "resources/resource.h"
#include "tests/reports/fake_report_runtime.h"
#include "tests/support/testenv.h"

// Reaches the engine's private members, as its friend.
struct ReportEngineTestAccess {
    static void AddReport(CZynReportEngine& e, CZynReport* r) { e.AddReport(r); }
    static void RemoveReport(CZynReportEngine& e, CZynReport* r) { e.RemoveReport(r); }
    static void InitRegistry(CZynReportEngine& e) { e.InitRegistry(); }
};

namespace zyn::test {
namespace {

// Keeps what it is asked to show instead of showing it.
class RecordingHandler : public CZynExceptionHandler {
public:
    mutable std::vector<std::wstring> shown;

protected:
    int Show(const CString& text) const override
    {
        shown.push_back(text.GetString());
        return 1; // IDOK
    }
};

class PrintingReport : public CZynReport {
public:
    using CZynReport::CZynReport;
    using CZynReport::GetApplication;
    using CZynReport::SetPrintInProgress;
};

std::wstring Message(UINT id)
{
    CString s;
    s.LoadString(id);
    return s.GetString();
}

class ReportEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::Clock::UseVirtual(1000000);
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        RuntimeTrace().clear();
        Behaviour() = RuntimeBehaviour{};
        m_taskBlocks = com::TaskMemBlockCount();
    }
    void TearDown() override
    {
        // The fake's class object is revoked here: the case must leave no COM object.
        if (m_cookie) {
            EXPECT_EQ(CoRevokeClassObject(m_cookie), S_OK);
        }
        com::UnregisterProgID(kReportRuntimeProgID);
        EXPECT_EQ(com::TaskMemBlockCount(), m_taskBlocks) << "task memory left";
        reports::SetExecutableFolderForTests(std::nullopt);
        reports::SetRegImporterForTests(nullptr);
        CoUninitialize();
    }
    void Register() { m_cookie = RegisterFakeRuntime(); }

    RecordingHandler m_handler;
    size_t m_taskBlocks = 0;
    DWORD m_cookie = 0;
};

TEST_F(ReportEngineTest, RuntimeIsCreatedAskedAndReleasedInOrder)
{
    Register();
    ObserveActivation();
    {
        CZynReportEngine engine(&m_handler);
        EXPECT_TRUE(engine.HasRuntime());
        EXPECT_TRUE(engine.CanOutputReport()) << "no report open";
    }
    EXPECT_EQ(RuntimeTrace(), (std::vector<std::string>{"ProgID ReportRuntime.Application.11",
                                  "Create context 23 IApplication", "CanClose", "Release"}));
    EXPECT_TRUE(m_handler.shown.empty());
    CZynReportEngine again(&m_handler);
    EXPECT_EQ(again.CanClose(), 1) << "the runtime consents";
}

TEST_F(ReportEngineTest, WithoutRuntimeTheEngineSaysSoOnceAndClosesAtOnce)
{
    ObserveActivation();
    const uint64_t before = GetTickCount64();
    {
        CZynReportEngine engine(&m_handler);
        EXPECT_FALSE(engine.HasRuntime());
        ASSERT_EQ(m_handler.shown.size(), 1u);
        EXPECT_EQ(m_handler.shown[0].rfind(Message(IDS_REPORT_RUNTIME_NOT_CREATED), 0), 0u)
            << "message 11373 first, then the cause";
        EXPECT_EQ(engine.CanClose(), 1);
        PrintingReport report(&engine);
        EXPECT_FALSE(report.Open());
        EXPECT_FALSE(report.IsOpen());
        EXPECT_TRUE(engine.GetReports().empty());
        EXPECT_EQ(report.GetApplication(), nullptr);
    }
    EXPECT_EQ(GetTickCount64(), before) << "nothing to wait for";
    EXPECT_EQ(RuntimeTrace(), (std::vector<std::string>{"ProgID ReportRuntime.Application.11 failed"}));
    EXPECT_EQ(m_handler.shown.size(), 1u);

    // A ProgID that names a class nobody registered: the creation fails instead.
    RuntimeTrace().clear();
    ASSERT_TRUE(com::RegisterProgID(kReportRuntimeProgID, CLSID_FakeRuntime));
    CZynReportEngine second(&m_handler);
    EXPECT_FALSE(second.HasRuntime());
    EXPECT_EQ(m_handler.shown.size(), 2u);
    EXPECT_EQ(RuntimeTrace(), (std::vector<std::string>{"ProgID ReportRuntime.Application.11",
                                  "Create context 23 IApplication failed"}));
}

TEST_F(ReportEngineTest, RuntimeThatNeverLetsGoIsAskedTwentyTimesThenReleased)
{
    Register();
    struct Case {
        const char* name;
        int refusals;
        bool fail;
        int asked;
        uint64_t waitedMs;
    } cases[] = {
        {"never closable", -1, false, 20, 10000},
        {"every question fails", 0, true, 20, 10000},
        {"consents at the fourth", 3, false, 4, 1500},
        {"consents at once", 0, false, 1, 0},
    };
    for (const auto& c : cases) {
        RuntimeTrace().clear();
        Behaviour() = RuntimeBehaviour{c.refusals, c.fail, 0};
        auto engine = std::make_unique<CZynReportEngine>(&m_handler);
        ASSERT_TRUE(engine->HasRuntime()) << c.name;
        const uint64_t before = GetTickCount64();
        engine.reset();
        EXPECT_EQ(Behaviour().calls, c.asked) << c.name;
        EXPECT_EQ(GetTickCount64() - before, c.waitedMs) << c.name << ": 500 ms after each refusal";
        ASSERT_FALSE(RuntimeTrace().empty()) << c.name;
        EXPECT_EQ(RuntimeTrace().back(), "Release") << c.name << ": released whatever the answer";
        EXPECT_EQ(std::count(RuntimeTrace().begin(), RuntimeTrace().end(), "Release"), 1) << c.name;
    }
    Behaviour() = RuntimeBehaviour{-1, false, 0};
    CZynReportEngine refusing(&m_handler);
    EXPECT_EQ(refusing.CanClose(), 0);
    Behaviour().fail = true;
    EXPECT_EQ(refusing.CanClose(), 0) << "a failed question is a refusal";
    Behaviour() = RuntimeBehaviour{};
}

TEST_F(ReportEngineTest, ReportsComeAndGoAndPrintingHoldsOutput)
{
    Register();
    CZynReportEngine engine(&m_handler);
    PrintingReport a(&engine), b(&engine);
    ASSERT_TRUE(a.Open());
    ASSERT_TRUE(b.Open());
    EXPECT_TRUE(a.Open()) << "open already";
    EXPECT_EQ(engine.GetReports(), (std::vector<CZynReport*>{&a, &b}));
    EXPECT_NE(a.GetApplication(), nullptr);

    EXPECT_TRUE(engine.CanOutputReport());
    b.SetPrintInProgress(true);
    EXPECT_FALSE(engine.CanOutputReport());
    EXPECT_TRUE(b.PrintInProgress());
    b.Close();
    EXPECT_TRUE(engine.CanOutputReport()) << "a closed report prints no more";
    EXPECT_EQ(engine.GetReports(), (std::vector<CZynReport*>{&a}));

    // A report the engine never had: nothing changes.
    PrintingReport stranger(&engine);
    ReportEngineTestAccess::RemoveReport(engine, &stranger);
    ReportEngineTestAccess::RemoveReport(engine, nullptr);
    EXPECT_EQ(engine.GetReports(), (std::vector<CZynReport*>{&a}));
    ReportEngineTestAccess::AddReport(engine, &a);
    EXPECT_EQ(engine.GetReports().size(), 1u) << "a report is in the set once";

    {
        PrintingReport shortLived(&engine);
        ASSERT_TRUE(shortLived.Open());
        EXPECT_EQ(engine.GetReports().size(), 2u);
    }
    EXPECT_EQ(engine.GetReports(), (std::vector<CZynReport*>{&a})) << "a report leaves when destroyed";
    a.Close();
    EXPECT_TRUE(engine.GetReports().empty());
}

TEST_F(ReportEngineTest, ReportOutlivingItsEngineTouchesNothingOfIt)
{
    Register();
    auto engine = std::make_unique<CZynReportEngine>(&m_handler);
    auto report = std::make_unique<PrintingReport>(engine.get());
    ASSERT_TRUE(report->Open());
    report->SetPrintInProgress(true);
    engine.reset();
    EXPECT_FALSE(report->IsOpen());
    EXPECT_FALSE(report->PrintInProgress());
    EXPECT_EQ(report->GetReportEngine(), nullptr);
    EXPECT_EQ(report->GetApplication(), nullptr);
    EXPECT_FALSE(report->Open()) << "no engine to open on";
    report->Close();
    report.reset(); // would write into the freed engine before the mend
}

// ---- the outer-join option -------------------------------------------------------------------------------------

class OuterJoinTest : public ReportEngineTest {
protected:
    void SetUp() override
    {
        ReportEngineTest::SetUp();
        Register();
        m_folder = std::filesystem::path(TempRoot()) / "exe folder";
        std::filesystem::create_directories(m_folder);
        std::filesystem::remove(m_folder / "CRJoin.reg");
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Report Runtime");
        reports::SetExecutableFolderForTests(m_folder.wstring());
    }
    void TearDown() override
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Report Runtime");
        ReportEngineTest::TearDown();
    }
    void WriteJoinFile()
    {
        std::ofstream out(m_folder / "CRJoin.reg", std::ios::binary);
        out << "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Report Runtime\\DatabaseOptions\\OuterJoin]\r\n"
               "\"Enabled\"=\"1\"\r\n";
    }
    std::wstring Formatted(UINT id) const
    {
        std::wstring text = Message(id);
        const std::wstring path = (m_folder / "CRJoin.reg").wstring();
        text.replace(text.find(L"%1"), 2, path);
        return text;
    }
    std::filesystem::path m_folder;
};

TEST_F(OuterJoinTest, KeyPresentDoesNothing)
{
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, reports::kOuterJoinKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  nullptr), 0L) << "ERROR_SUCCESS";
    ::RegCloseKey(key);
    int imports = 0;
    reports::SetRegImporterForTests([&](const wchar_t*, bool) { return ++imports, true; });
    CZynReportEngine engine(&m_handler);
    ReportEngineTestAccess::InitRegistry(engine);
    EXPECT_EQ(imports, 0);
    EXPECT_TRUE(m_handler.shown.empty());
}

TEST_F(OuterJoinTest, FileBesideTheExecutableIsImported)
{
    // The import runs as a process of its own that the engine waits for: on the real
    // clock, as a wait on the virtual one ends at once.
    base::Clock::UseReal();
    WriteJoinFile();
    CZynReportEngine engine(&m_handler);
    ReportEngineTestAccess::InitRegistry(engine);
    EXPECT_TRUE(m_handler.shown.empty());
    EXPECT_TRUE(CZynRegistry::KeyExists(HKEY_CURRENT_USER, reports::kOuterJoinKey)) << "imported, waited for";
}

TEST_F(OuterJoinTest, ImportThatCannotStartIsReported)
{
    WriteJoinFile();
    std::vector<std::wstring> asked;
    reports::SetRegImporterForTests([&](const wchar_t* path, bool wait) {
        asked.push_back(std::wstring(path) + (wait ? L" (wait)" : L""));
        return false;
    });
    CZynReportEngine engine(&m_handler);
    ReportEngineTestAccess::InitRegistry(engine);
    EXPECT_EQ(asked, (std::vector<std::wstring>{(m_folder / "CRJoin.reg").wstring() + L" (wait)"}));
    EXPECT_EQ(m_handler.shown, (std::vector<std::wstring>{Formatted(IDS_REPORT_OUTERJOIN_NOT_IMPORTED)}));
}

TEST_F(OuterJoinTest, MissingFileIsReported)
{
    int imports = 0;
    reports::SetRegImporterForTests([&](const wchar_t*, bool) { return ++imports, true; });
    CZynReportEngine engine(&m_handler);
    ReportEngineTestAccess::InitRegistry(engine);
    EXPECT_EQ(imports, 0);
    EXPECT_EQ(m_handler.shown, (std::vector<std::wstring>{Formatted(IDS_REPORT_OUTERJOIN_FILE_MISSING)}));
    EXPECT_FALSE(CZynRegistry::KeyExists(HKEY_CURRENT_USER, reports::kOuterJoinKey));
}

} // namespace
} // namespace zyn::test
