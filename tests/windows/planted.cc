// Planted where only the user's settings lead: loaded, it writes to planted.log one folder up.
#include <cstdio>
#include <cwchar>

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID /*reserved*/)
{
    wchar_t log[MAX_PATH];
    if (reason == DLL_PROCESS_ATTACH && GetModuleFileNameW(self, log, MAX_PATH - 20) != 0) {
        std::wcscpy(std::wcsrchr(log, L'\\'), L"\\..\\planted.log");
        if (std::FILE *f = _wfopen(log, L"a")) {
            std::fputs("planted DLL loaded\n", f);
            std::fclose(f);
        }
    }
    return TRUE;
}
