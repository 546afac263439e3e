#pragma once
// Shared pieces of the application-object tests: a fresh window system per case, a
// class of windows that count the messages they get, and a test application.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "app/zyn_app.h"
#include "platform/user/winuser.h"

namespace zyn::test {

// Messages received by windows of the "ZynAppRec" class, in order.
struct Received {
    HWND hwnd;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};
std::vector<Received>& ReceivedLog();
int CountFor(HWND hwnd, UINT msg);

class ZynAppTest : public ::testing::Test {
public:
    static constexpr const wchar_t* kClass = L"ZynAppRec";

protected:
    void SetUp() override;
    void TearDown() override;
    HWND Make(DWORD style, int x, int y, int cx, int cy, HWND parent = nullptr);
};

} // namespace zyn::test
