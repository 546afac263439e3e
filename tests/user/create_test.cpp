// Creation and destruction: message order, the tree, classes and window data.
#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

using CreateTest = UserTest;

TEST_F(CreateTest, TopLevelCreationSendsTheMessagesInOrder)
{
    HWND h = Make(WS_OVERLAPPEDWINDOW, 10, 20, 300, 200);
    ASSERT_TRUE(h);
    const std::vector<UINT> expected{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE};
    EXPECT_EQ(rec().For(h), expected);
    DestroyWindow(h);
}

TEST_F(CreateTest, DestroyStaleHandleFails)
{
    HWND h = Make(WS_OVERLAPPEDWINDOW, 10, 20, 300, 200);
    ASSERT_TRUE(DestroyWindow(h));
    SetLastError(0);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(DestroyWindow(h));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    SetLastError(0);
    EXPECT_EQ(SendMessageW(h, WM_USER, 0, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

} // namespace
} // namespace zyn::test
