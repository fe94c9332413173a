// A stand-in netsh.exe for the tests under wine. To the file named by
// NETSH_LOG it appends the raw command line it was started with, then the
// arguments the C runtime split it into, one a line, then an empty line. It
// writes one line of its own and exits with the status in NETSH_STATUS.
#include <cstdio>
#include <cstdlib>

#include <windows.h>

int main(int argc, char **argv)
{
    const char *log = std::getenv("NETSH_LOG");
    const char *status = std::getenv("NETSH_STATUS");
    if (std::FILE *f = log != nullptr ? std::fopen(log, "ab") : nullptr) {
        std::fprintf(f, "%s\n", GetCommandLineA());
        for (int i = 1; i < argc; ++i) {
            std::fprintf(f, "%s\n", argv[i]);
        }
        std::fputs("\n", f);
        std::fclose(f);
    }
    std::puts("netsh stand-in ran");
    return status != nullptr ? std::atoi(status) : 0;
}
