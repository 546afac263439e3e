// Started by the kernel tests as a second process. Exit codes:
//   create <name>                   0 created, 1 already existed, 2 failed
//   open <name>                     0 opened, 3 no such name, 2 failed
//   hold <name> <ready> <release>   creates the mutex (1 if it existed), creates the
//                                   file <ready>, and keeps the mutex until the file
//                                   <release> appears (0) or 30 s pass (4)
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

#include "platform/base/kernel_object.h"
#include "platform/base/lasterror.h"
#include "platform/base/synch.h"
#include "platform/base/utf16.h"

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const std::string mode = argv[1];
    const std::wstring name = zyn::base::FromUtf8(argv[2]);
    if (mode == "create") {
        HANDLE h = CreateMutexW(nullptr, FALSE, name.c_str());
        if (!h)
            return 2;
        const DWORD err = GetLastError();
        CloseHandle(h);
        return err == ERROR_ALREADY_EXISTS ? 1 : 0;
    }
    if (mode == "open") {
        HANDLE h = OpenMutexW(SYNCHRONIZE, FALSE, name.c_str());
        if (!h)
            return GetLastError() == ERROR_FILE_NOT_FOUND ? 3 : 2;
        CloseHandle(h);
        return 0;
    }
    if (mode == "hold" && argc == 5) {
        HANDLE h = CreateMutexW(nullptr, TRUE, name.c_str());
        if (!h)
            return 2;
        if (GetLastError() == ERROR_ALREADY_EXISTS) {
            CloseHandle(h);
            return 1;
        }
        std::ofstream(argv[3]) << "ready\n";
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        int rc = 4;
        while (std::chrono::steady_clock::now() < until) {
            if (::access(argv[4], F_OK) == 0) {
                rc = 0;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ReleaseMutex(h);
        CloseHandle(h);
        return rc;
    }
    return 2;
}
