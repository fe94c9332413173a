// Console services on Windows: the console commands and the netsh lines run
// through the system folder's cmd.exe, the delay is the kernel's Sleep.
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <iterator>

#include <windows.h>

#include "command-line.h"
#include "console-platform.h"
#include "console.h"
#include "fixed-text.h"
#include "texts.h"

namespace {

// Asked before any command runs, since while one runs cmd.exe and netsh are
// on the console too. Alone on it, the tool was given a window of its own (a
// double-click, "Run as administrator", or the UAC prompt from a console that
// had no administrator rights), and that window closes when the tool ends.
bool alone_On_Console()
{
    DWORD ids[2];
    return GetConsoleProcessList(ids, 2) == 1;
}

// Windows' C functions throw nothing; a noexcept here would only link in the
// C++ exception runtime (the .exe would grow fivefold).
const bool own_window = alone_On_Console(); // NOLINT(cert-err58-cpp)

// The extensions cmd.exe tries, in order, for a command named without one:
// Windows' own default.
constexpr char WINDOWS_PATHEXT[] = ".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC";

// ---- Reading what was typed at a console ----------------------------------
//
// A console hands ReadFile (and so the C runtime) the typed line in its own
// code page, with a character that code page lacks turned into "?" or a
// look-alike, and a value nobody typed would be set. So the line is read as the
// console holds it (UTF-16) and each character made into its bytes in the ANSI
// code page, the one CreateProcessA reads the command line in, only where that
// code page holds it as itself: no best fit, no default character, the same
// character when converted back. This also holds whatever the console's own
// code page is (an elevated console after chcp 65001).

struct TypedLine {
    wchar_t units[TEXT_SIZE]; // a piece of the line; a longer one is read in pieces
    DWORD count;              // units in it
    DWORD next;               // the first not yet handed out
    char bytes[8];            // the character being handed out, in the ANSI code page
    int byte_count;
    int byte_next;
    bool ended; // Ctrl+Z was typed, or the console gave nothing more
};
TypedLine typed = {};

// Makes sure an unread code unit is there, reading the next piece of the line
// where none is; false once the console gives nothing (a Ctrl+C, say).
bool have_Unit(HANDLE input)
{
    if (typed.next < typed.count) {
        return true;
    }
    typed.next = 0;
    typed.count = 0;
    return ReadConsoleW(input, typed.units, TEXT_SIZE, &typed.count, nullptr) != 0 &&
           typed.count > 0;
}

// Puts the bytes of the character in units (one code unit, or a surrogate
// pair) into typed.bytes; false where the ANSI code page cannot hold it as
// itself. UTF-8 takes neither the best-fit flag nor a default character, and
// WC_ERR_INVALID_CHARS (a lone surrogate refused, not made U+FFFD) is
// documented for CP_UTF8 by that name alone, not for CP_ACP that is UTF-8.
bool to_Ansi_Bytes(const wchar_t *units, int count)
{
    const bool utf8 = GetACP() == CP_UTF8;
    const UINT code_page = utf8 ? CP_UTF8 : CP_ACP;
    BOOL defaulted = FALSE;
    const int length = WideCharToMultiByte(
        code_page, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS, units, count, typed.bytes,
        sizeof typed.bytes, nullptr, utf8 ? nullptr : &defaulted);
    wchar_t back[2];
    const int back_count = length > 0 && defaulted == FALSE
                               ? MultiByteToWideChar(code_page, 0, typed.bytes, length, back, 2)
                               : 0;
    typed.byte_count = back_count == count && std::equal(units, units + count, back) ? length : 0;
    typed.byte_next = 0;
    return typed.byte_count > 0;
}

// The next byte of what was typed. Ctrl+Z ends the input, as it does for
// ReadFile at the start of a line and for the C runtime anywhere in text.
int typed_Byte(HANDLE input)
{
    if (typed.byte_next < typed.byte_count) {
        return static_cast<unsigned char>(typed.bytes[typed.byte_next++]);
    }
    if (typed.ended || !have_Unit(input) || typed.units[typed.next] == L'\x1a') {
        typed.ended = true;
        return EOF;
    }
    wchar_t character[2] = {typed.units[typed.next++]};
    int count = 1;
    // A line ends in a newline, so a low surrogate may follow in the next piece.
    if (IS_HIGH_SURROGATE(character[0]) && have_Unit(input) &&
        IS_LOW_SURROGATE(typed.units[typed.next])) {
        character[count++] = typed.units[typed.next++];
    }
    if (!to_Ansi_Bytes(character, count)) {
        return NOT_IN_CODE_PAGE;
    }
    return static_cast<unsigned char>(typed.bytes[typed.byte_next++]);
}

// ---- Running command lines --------------------------------------------------

// Copies text and its NUL to out, which has room for them; returns where the
// NUL went, for the next text to follow.
char *put(char *out, const char *text)
{
    const std::size_t length = std::strlen(text);
    std::memcpy(out, text, length + 1);
    return out + length;
}

// Waits for a key pressed on the console (a modifier alone is none). Returns
// at once where standard input is no console.
void wait_Console_Key()
{
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    INPUT_RECORD record;
    DWORD count = 0;
    while (ReadConsoleInputW(input, &record, 1, &count) != 0 && count == 1) {
        if (record.EventType != KEY_EVENT || record.Event.KeyEvent.bKeyDown == 0) {
            continue;
        }
        const WORD code = record.Event.KeyEvent.wVirtualKeyCode;
        if (code != VK_SHIFT && code != VK_CONTROL && code != VK_MENU) {
            return;
        }
    }
}

// Sets, in the tool's own environment, which cmd.exe and what it runs inherit,
// the variables that choose what runs or loads to Windows' own values, in place
// of what the user's registry gave the elevated tool:
// - PATH: the system folder, then the Windows folder, Windows' own order. It is
//   where a DLL that netsh loads by bare name is looked for last; nothing the
//   tool runs needs another folder (color, cls and pause are cmd.exe's own).
// - windir and SystemRoot: the Windows folder. Paths written as %windir%\...
//   (of netsh's helper DLLs, say) lead there and nowhere else.
// - PATHEXT as Windows has it, and no NoDefaultCurrentDirectoryInExePath
//   (run_Command says why).
// False when any of them could not be set.
bool set_Windows_Environment(const char *system, const char *windows)
{
    char path[2 * MAX_PATH];
    put(put(put(path, system), ";"), windows);
    const char *const names[] = {"PATH", "windir", "SystemRoot", "PATHEXT"};
    const char *const values[] = {path, windows, windows, WINDOWS_PATHEXT};
    for (std::size_t i = 0; i < std::size(names); ++i) {
        if (SetEnvironmentVariableA(names[i], values[i]) == 0) {
            return false;
        }
    }
    constexpr char NO_DEFAULT[] = "NoDefaultCurrentDirectoryInExePath";
    SetEnvironmentVariableA(NO_DEFAULT, nullptr);
    return GetEnvironmentVariableA(NO_DEFAULT, nullptr, 0) == 0;
}

} // namespace

void color_Screen()
{
    run_Command("color 2f");
}

void clear_Screen()
{
    run_Command("cls");
}

// cmd.exe's pause; where cmd.exe could not run it (a policy such as DisableCMD,
// or no cmd.exe that starts), the tool waits for a key itself. Keys pressed
// while netsh worked (a second Enter) wait in the console's input buffer, where
// either wait would take one as its key: they are dropped first. What the tool
// has already read of the line stays its own.
void pause_Key()
{
    FlushConsoleInputBuffer(GetStdHandle(STD_INPUT_HANDLE)); // fails harmlessly on a pipe
    if (run_Command("pause") != 0) {
        write_Text(text::PRESS_KEY);
        std::fflush(stdout);
        wait_Console_Key();
        write_Text("\n");
    }
}

bool window_Closes_With_Tool()
{
    return own_window;
}

// Piped input is read as bytes, as the C runtime reads it (as text: a Ctrl+Z
// byte ends it): it is typed by nobody, and no console converts it.
int input_Byte()
{
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    return GetConsoleMode(input, &mode) != 0 ? typed_Byte(input) : std::getchar();
}

void delay_Ms(unsigned ms)
{
    std::fflush(stdout);
    Sleep(ms);
}

// Runs line as "SYSTEM\cmd.exe" /e:ON /v:OFF /d /c LINE from the system folder
// and waits for its status. Every run is elevated, and an elevated process
// takes its environment from the user's registry, which any program the user
// runs can write without those rights, as it can cmd.exe's own settings
// (Software\Microsoft\Command Processor). So none of them chooses what runs:
// - The interpreter is the system folder's cmd.exe; COMSPEC is not read.
// - /d: no AutoRun command runs before the line.
// - /e:ON: the command extensions the quoting rules are written for, whatever
//   EnableExtensions says.
// - /v:OFF: no delayed expansion, whatever DelayedExpansion says: a typed !OS!
//   stays as typed, and a ^ inside quotes is kept.
// - netsh is the system folder's netsh.exe. cmd.exe looks for it in the
//   working folder (the system folder) before the search path, trying each
//   extension that PATHEXT names. With NoDefaultCurrentDirectoryInExePath
//   removed the working folder is always searched, and with PATHEXT as Windows
//   has it (.COM first, then .EXE; no Windows has a netsh.com) netsh.exe is
//   found there. A netsh.cmd on the user's search path, or a netsh.bat in the
//   folder the tool was started from, never runs.
// - The paths cmd.exe and netsh take from the environment are Windows' own
//   (set_Windows_Environment): no DLL that netsh loads is looked for in a
//   folder of the user's.
// - cmd.exe is started by its full path: a search for it would look in the
//   tool's own folder (Downloads, say) first.
int run_Command(const char *line)
{
    std::fflush(stdout);
    constexpr char CMD_FILE[] = "\\cmd.exe";
    constexpr char SWITCHES[] = "\" /e:ON /v:OFF /d /c ";
    char folder[MAX_PATH];
    char windows[MAX_PATH];
    const UINT folder_length = GetSystemDirectoryA(folder, MAX_PATH);
    const UINT windows_length = GetSystemWindowsDirectoryA(windows, MAX_PATH);
    if (folder_length == 0 || folder_length + sizeof CMD_FILE > MAX_PATH || windows_length == 0 ||
        windows_length >= MAX_PATH || std::strlen(line) >= TEXT_SIZE) {
        return -1;
    }
    char shell[MAX_PATH];
    put(put(shell, folder), CMD_FILE);
    char command[1 + sizeof shell + sizeof SWITCHES + TEXT_SIZE];
    put(put(put(put(command, "\""), shell), SWITCHES), line);
    if (!set_Windows_Environment(folder, windows)) {
        return -1; // cmd.exe or netsh might run or load something else
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(shell, command, nullptr, nullptr, TRUE, 0, nullptr, folder, &startup,
                       &process) == 0) {
        return -1; // could not be started: a failure
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    const BOOL known = GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return known != 0 ? static_cast<int>(status) : -1;
}

const Interpreter &local_Interpreter()
{
    return CMD_EXE;
}

// CreateProcessA turns the line into Unicode with the ANSI code page (936 on
// a Chinese Windows); cmd.exe and netsh read that Unicode line. So the
// characters are what the system's own conversion makes of the bytes, and they
// are the value as typed only where converting them back gives those bytes.
// Bytes that are not whole text there (a lead byte at the end, or before a byte
// that cannot follow it) turn into other characters, or swallow what follows.
int interpreter_Characters(const char *value, char16_t (&chars)[TEXT_SIZE])
{
    const int length = static_cast<int>(std::strlen(value));
    if (length == 0) {
        return 0;
    }
    wchar_t wide[TEXT_SIZE];
    const int count =
        MultiByteToWideChar(CP_ACP, 0, value, length, wide, static_cast<int>(TEXT_SIZE) - 1);
    char back[4 * TEXT_SIZE];
    const int back_length =
        WideCharToMultiByte(CP_ACP, 0, wide, count, back, sizeof back, nullptr, nullptr);
    if (count <= 0 || back_length != length || std::memcmp(back, value, length) != 0) {
        return -1;
    }
    for (int i = 0; i < count; ++i) {
        chars[i] = static_cast<char16_t>(wide[i]);
    }
    return count;
}
