// A stand-in netsh.exe that reads the Unicode command line like the real one, appends the ANSI code
// page, the raw line and each argument in that code page to NETSH_LOG, and exits with NETSH_STATUS.
// It loads a helper DLL as Windows' own netsh may: by bare name, and by a path under %windir%, and
// says so where it found one (a planted.dll, where only the user's settings lead).
#include <cstdio>
#include <cstdlib>

#include <windows.h>

int wmain(int argc, wchar_t **argv)
{
    if (std::FILE *f = std::fopen(std::getenv("NETSH_LOG"), "ab")) {
        std::fprintf(f, "%u\n%s\n", GetACP(), GetCommandLineA());
        for (int i = 1; i < argc; ++i) {
            char arg[1000] = "(not convertible)";
            WideCharToMultiByte(CP_ACP, 0, argv[i], -1, arg, sizeof arg, nullptr, nullptr);
            std::fprintf(f, "%s\n", arg);
        }
        std::fputs("\n", f);
        std::fclose(f);
    }
    wchar_t helper[MAX_PATH];
    ExpandEnvironmentStringsW(L"%windir%\\planted.dll", helper, MAX_PATH);
    if (LoadLibraryW(helper) != nullptr || LoadLibraryW(L"planted.dll") != nullptr) {
        std::puts("planted DLL loaded");
    }
    std::puts("netsh stand-in ran");
    return std::atoi(std::getenv("NETSH_STATUS"));
}
