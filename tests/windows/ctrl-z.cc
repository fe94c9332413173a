// Puts Ctrl+Z and Enter into its console's input as a keyboard does (wine's
// console drops a Ctrl+Z typed on a terminal), for the program started next.
#include <windows.h>

int wmain()
{
    INPUT_RECORD keys[4] = {};
    const wchar_t characters[] = {0x1a, L'\r'};
    const WORD codes[] = {'Z', VK_RETURN};
    for (int i = 0; i < 4; ++i) {
        KEY_EVENT_RECORD &key = keys[i].Event.KeyEvent;
        keys[i].EventType = KEY_EVENT;
        key.bKeyDown = i % 2 == 0 ? TRUE : FALSE;
        key.wRepeatCount = 1;
        key.uChar.UnicodeChar = characters[i / 2];
        key.wVirtualKeyCode = codes[i / 2];
        key.dwControlKeyState = i < 2 ? LEFT_CTRL_PRESSED : 0;
    }
    DWORD written = 0;
    return WriteConsoleInputW(GetStdHandle(STD_INPUT_HANDLE), keys, 4, &written) != 0 ? 0 : 1;
}
