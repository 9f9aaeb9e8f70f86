// GoogleTest's one use of std::mutex and std::condition_variable, which mingw's
// win32 thread model (the program's) lacks: its Notification, over an event here.
#pragma once

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1
namespace testing::internal {
class Notification {
public:
    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};
}  // namespace testing::internal
