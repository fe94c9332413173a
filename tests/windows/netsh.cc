// A stand-in netsh.exe for the tests under wine: appends the raw command line
// it was started with to the file named by NETSH_LOG, writes one line of its
// own, and exits with the status in NETSH_STATUS.
#include <cstdio>
#include <cstdlib>

#include <windows.h>

int main()
{
    const char *log = std::getenv("NETSH_LOG");
    const char *status = std::getenv("NETSH_STATUS");
    if (log != nullptr) {
        if (std::FILE *f = std::fopen(log, "ab")) {
            std::fputs(GetCommandLineA(), f);
            std::fputc('\n', f);
            std::fclose(f);
        }
    }
    std::puts("netsh stand-in ran");
    return status != nullptr ? std::atoi(status) : 0;
}
