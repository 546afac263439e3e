#pragma once
// Shared by the log viewer tests: a viewer whose protected parts a test may reach, logs of
// a few sessions written line by line (so offsets are sums of line lengths), and a
// fixture in scripted mode on the virtual clock that checks no window, GDI object or DC
// is left and no scripted answer unused.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "frames/log_viewer.h"
#include "platform/base/clock.h"
#include "platform/base/inifile.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/printer.h"
#include "platform/suite/controls/progress_dlg.h"
#include "resources/resource.h"
#include "tests/frames/frames_test_support.h"
#include "tests/frames/session_log_test_support.h"
#include "tests/support/golden.h"

namespace zyn::test {

class TestViewer : public CDistLogViewer {
public:
    using CDistLogViewer::CDistLogViewer;
    using CDistLogViewer::FillList;
    using CDistLogViewer::m_bHasSessions;
    using CDistLogViewer::m_editLog;
    using CDistLogViewer::m_listLog;
    using CDistLogViewer::GetLine;
    using CDistLogViewer::GetStartDate;
    using CDistLogViewer::GetStartPosition;
    using CDistLogViewer::GetStatus;
    using CDistLogViewer::IsEndPosition;
    using CDistLogViewer::IsStartPosition;
    using CDistLogViewer::m_nMaxShownBytes;
    using CDistLogViewer::RemoveTabs;
};

// A log of sessions as the suite writes them (en-US dates).
inline std::vector<std::string> ThreeSessions()
{
    return {
        "************************\r\n",                 // 0: banner
        "[07/05/2008 09:00:00] Import STARTED\r\n",      // 1
        "reading panel 1\r\n",                            // 2
        "** WARNING! panel 1 slow\r\n",                   // 3
        "Import COMPLETED\r\n",                           // 4
        "************************\r\n",                 // 5: closing banner
        "************************\n",                   // 6: banner
        "[07/05/2008 10:00:00] Import STARTED\n",        // 7
        "** ERROR! panel 2 did not answer\n",             // 8
        "************************\n",                   // 9: the next banner, no COMPLETED
        "[07/05/2008 11:00:00] Import STARTED\n",        // 10
        "all well\n",                                     // 11
        "Import COMPLETED\n",                             // 12
        "************************\n",                   // 13
    };
}

class LogViewerTest : public FramesTest {
protected:
    void SetUp() override
    {
        FramesTest::SetUp();
        base::Clock::UseVirtual(100000);
        user::SetScriptedMode(true);
        ASSERT_TRUE(base::SetUserLocaleForTests(LCID_EN_US));
        ::WritePrivateProfileStringW(L"LogViewer", nullptr, nullptr, L"ACS.INI");
        gdi::ClearPrintedDocuments();
        m_gdiObjects = gdi::LiveObjectCount();
        m_dcs = gdi::LiveDcCount();
    }
    void TearDown() override
    {
        EXPECT_EQ(user::AnswerScript::PendingTotal(), 0u) << "scripted answers left unused";
        EXPECT_EQ(gdi::LiveDcCount(), m_dcs) << "DCs leaked";
        EXPECT_EQ(gdi::LiveObjectCount(), m_gdiObjects) << "GDI objects leaked";
        gdi::ClearPrintedDocuments();
        FramesTest::TearDown();
    }

    // Makes the viewer's window and lets it fill its list.
    static void Open(TestViewer& viewer)
    {
        ASSERT_TRUE(viewer.Create(IDD_LOGVIEWER, nullptr));
        Pump();
    }
    static std::wstring TextOf(HWND hWnd)
    {
        const int n = ::GetWindowTextLengthW(hWnd);
        std::wstring text(static_cast<size_t>(n) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(hWnd, text.data(), n + 1)));
        return text;
    }
    static std::vector<user::ShownRecord> Shown(user::AnswerKind kind)
    {
        std::vector<user::ShownRecord> out;
        for (const auto& r : user::AnswerScript::Shown())
            if (r.kind == kind)
                out.push_back(r);
        return out;
    }
    static std::wstring Text(UINT id)
    {
        CString s;
        s.LoadString(id);
        return s.GetString();
    }

    size_t m_gdiObjects = 0;
    size_t m_dcs = 0;
};

} // namespace zyn::test
