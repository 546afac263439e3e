#pragma once
// Helpers shared by the kernel tests.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "platform/base/clock.h"
#include "platform/base/kernel_object.h"

namespace zyn::test {

// Closes a kernel handle at the end of the scope.
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE h) : m_h(h) {}
    ~ScopedHandle() { reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    HANDLE get() const { return m_h; }
    operator HANDLE() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }
    void reset(HANDLE h = nullptr)
    {
        if (m_h)
            CloseHandle(m_h);
        m_h = h;
    }
    HANDLE release()
    {
        HANDLE h = m_h;
        m_h = nullptr;
        return h;
    }

private:
    HANDLE m_h = nullptr;
};

// Polls `pred` in real time until it holds or `limit` passes.
inline bool Eventually(const std::function<bool()>& pred, std::chrono::milliseconds limit = std::chrono::seconds(10))
{
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Every test starts and ends on the real clock, and checks that it left no kernel
// handle open.
class KernelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zyn::base::Clock::UseReal();
        m_handlesBefore = zyn::base::KernelHandleCount();
    }
    void TearDown() override
    {
        zyn::base::Clock::UseReal();
        EXPECT_EQ(zyn::base::KernelHandleCount(), m_handlesBefore) << "kernel handles leaked";
    }

private:
    size_t m_handlesBefore = 0;
};

} // namespace zyn::test
