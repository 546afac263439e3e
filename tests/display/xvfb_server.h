#pragma once
// A private X server for tests and benchmarks that need a real display: Xvfb on a free
// display number, started and stopped by the process that needs it, with helpers to run
// the X tools (xdotool, xwd) against it and to read an xwd screen dump.
#include <cstdint>
#include <string>
#include <vector>

namespace zyn::test {

class XvfbServer {
public:
    XvfbServer() = default;
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;
    ~XvfbServer() { Stop(); }

    // Starts Xvfb with one screen of the given size at 24 bits and points DISPLAY at it.
    // False, with the reason, when it cannot (no Xvfb, or it did not come up in time).
    bool Start(int width, int height, std::string& whyNot);
    void Stop();
    const std::string& Display() const { return m_display; }

private:
    int m_pid = -1;
    std::string m_display;
    std::string m_oldDisplay;
    bool m_hadDisplay = false;
};

// Runs a program (found on PATH) with arguments and waits for it; its exit code, or -1
// when it could not run.
int RunTool(const std::vector<std::string>& argv);
// Whether a program is on PATH.
bool HaveTool(const std::string& name);

// An xwd dump of a TrueColor screen (24 or 32 bits a pixel) as 0x00RRGGBB pixels, row by row.
struct XwdImage {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};
// Reads an xwd file; false with the reason when it is not a TrueColor dump of 24 or 32 bits a pixel.
bool ReadXwd(const std::string& path, XwdImage& out, std::string& whyNot);

} // namespace zyn::test
