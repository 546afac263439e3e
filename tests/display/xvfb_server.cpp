// The private X server and the X tools for display tests (see xvfb_server.h).
#include "tests/display/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

extern char** environ;

namespace zyn::test {

namespace {

std::vector<char*> ArgvOf(std::vector<std::string>& args)
{
    std::vector<char*> out;
    for (auto& a : args)
        out.push_back(a.data());
    out.push_back(nullptr);
    return out;
}

uint32_t Be32(const unsigned char* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

// The 8-bit value of a channel under its mask.
uint32_t Channel(uint32_t pixel, uint32_t mask)
{
    if (!mask)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1u))
        ++shift;
    const uint32_t v = (pixel & mask) >> shift;
    const uint32_t max = mask >> shift;
    return max == 255 ? v : (v * 255 + max / 2) / max;
}

} // namespace

bool HaveTool(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string p = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= p.size()) {
        const size_t end = p.find(':', start);
        const std::string dir = p.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!dir.empty() && access((dir + "/" + name).c_str(), X_OK) == 0)
            return true;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return false;
}

int RunTool(const std::vector<std::string>& argv)
{
    std::vector<std::string> args = argv;
    auto cargv = ArgvOf(args);
    pid_t pid = -1;
    if (posix_spawnp(&pid, cargv[0], nullptr, nullptr, cargv.data(), environ) != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool XvfbServer::Start(int width, int height, std::string& whyNot)
{
    if (!HaveTool("Xvfb")) {
        whyNot = "Xvfb is not installed (Debian package xvfb)";
        return false;
    }
    int fds[2];
    if (pipe(fds) != 0) {
        whyNot = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    // Xvfb picks a free display number itself and writes it to the pipe when it is ready
    // for clients, so parallel test runs never collide or race.
    std::vector<std::string> args{"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
        std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten", "tcp", "-noreset"};
    auto cargv = ArgvOf(args);
    const pid_t pid = fork();
    if (pid == 0) {
        // The server ends with us, even when a test is killed halfway.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        close(fds[0]);
        const int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0)
            dup2(devnull, 2);
        execvp("Xvfb", cargv.data());
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        whyNot = std::string("cannot run Xvfb: ") + std::strerror(errno);
        return false;
    }
    m_pid = pid;
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0)
            break;
        char buf[32];
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n <= 0)
            break;
        number.append(buf, static_cast<size_t>(n));
        if (number.find('\n') != std::string::npos)
            break;
    }
    close(fds[0]);
    while (!number.empty() && (number.back() == '\n' || number.back() == '\r'))
        number.pop_back();
    if (number.empty()) {
        Stop();
        whyNot = "Xvfb did not come up (no display number within 30 s)";
        return false;
    }
    m_display = ":" + number;
    if (const char* old = std::getenv("DISPLAY")) {
        m_hadDisplay = true;
        m_oldDisplay = old;
    }
    setenv("DISPLAY", m_display.c_str(), 1);
    return true;
}

void XvfbServer::Stop()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        int status = 0;
        while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
    }
    if (!m_display.empty()) {
        if (m_hadDisplay)
            setenv("DISPLAY", m_oldDisplay.c_str(), 1);
        else
            unsetenv("DISPLAY");
        m_display.clear();
    }
}

bool ReadXwd(const std::string& path, XwdImage& out, std::string& whyNot)
{
    std::ifstream f(path, std::ios::binary);
    const std::vector<unsigned char> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (d.size() < 100) {
        whyNot = "not an xwd file (shorter than its header)";
        return false;
    }
    uint32_t h[25];
    for (int i = 0; i < 25; ++i)
        h[i] = Be32(&d[static_cast<size_t>(i) * 4]);
    const uint32_t headerSize = h[0], version = h[1], format = h[2], width = h[4], height = h[5], byteOrder = h[7],
                   bpp = h[11], bytesPerLine = h[12], visual = h[13], red = h[14], green = h[15], blue = h[16],
                   ncolors = h[19];
    if (version != 7 || format != 2 || (bpp != 32 && bpp != 24) || (visual != 4 && visual != 5)) {
        whyNot = "not a 32-bit TrueColor ZPixmap xwd dump (version " + std::to_string(version) + ", format " +
            std::to_string(format) + ", " + std::to_string(bpp) + " bits, visual class " + std::to_string(visual) + ")";
        return false;
    }
    const uint64_t start = uint64_t(headerSize) + uint64_t(ncolors) * 12;
    if (width == 0 || height == 0 || width > 16384 || height > 16384 || bytesPerLine < width * (bpp / 8) ||
        start + uint64_t(bytesPerLine) * height > d.size()) {
        whyNot = "xwd dump shorter than its image";
        return false;
    }
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.pixels.resize(size_t(width) * height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const size_t n = bpp / 8;
            const unsigned char* p = &d[start + size_t(y) * bytesPerLine + size_t(x) * n];
            uint32_t v = 0;
            for (size_t k = 0; k < n; ++k) // LSBFirst: least significant byte first
                v |= uint32_t(p[byteOrder == 0 ? k : n - 1 - k]) << (8 * k);
            out.pixels[size_t(y) * width + x] =
                (Channel(v, red) << 16) | (Channel(v, green) << 8) | Channel(v, blue);
        }
    return true;
}

} // namespace zyn::test
