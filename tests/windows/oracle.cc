// oracle.exe PREFIX: runs each line of standard input as the tool runs a command line, through the
// tool's own run_Command; line i's netsh logs to PREFIXi.log. It stops at a line it cannot run.
#include <cstdio>
#include <cstring>
#include <cwchar>

#include <windows.h>

#include "console.h"

int wmain(int /*argc*/, wchar_t **argv)
{
    char line[1000]; // a longer line than the tool's is refused by run_Command
    for (int i = 0; std::fgets(line, sizeof line, stdin) != nullptr; ++i) {
        line[std::strcspn(line, "\n")] = '\0';
        wchar_t log[MAX_PATH];
        std::swprintf(log, MAX_PATH, L"%ls%d.log", argv[1], i);
        SetEnvironmentVariableW(L"NETSH_LOG", log);
        if (run_Command(line) == -1) {
            return 1;
        }
    }
    return 0;
}
