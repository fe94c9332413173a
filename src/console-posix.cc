// Console services on POSIX systems, a stand-in for the Windows console so the
// tool builds, runs and is tested here. Command lines go through /bin/sh as
// they would go through cmd.exe. On a terminal the window is cleared with ANSI
// escapes and the pause waits for Enter; the window is not coloured.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <termios.h>
#include <time.h> // nanosleep, which <ctime> need not declare
#include <unistd.h>

#include "command-line.h"
#include "console-platform.h"
#include "console.h"
#include "fixed-text.h"
#include "texts.h"

void color_Screen()
{
    // A terminal keeps the colours its user chose.
}

void clear_Screen()
{
    if (isatty(STDOUT_FILENO) == 1) {
        write_Text("\x1b[H\x1b[2J\x1b[3J"); // home, window, scrollback
    }
}

// What was typed ahead is dropped, so that only a new Enter ends the wait;
// read(2), not the standard input's buffer, which may hold the rest of a line.
void pause_Key()
{
    write_Text(text::PRESS_KEY);
    std::fflush(stdout);
    if (isatty(STDIN_FILENO) == 1 && tcflush(STDIN_FILENO, TCIFLUSH) == 0) {
        for (char key = '\0'; key != '\n';) {
            const auto got = read(STDIN_FILENO, &key, 1);
            if (got == 0 || (got < 0 && errno != EINTR)) {
                break; // input ended, or cannot be read
            }
        }
    }
    write_Text("\n");
}

// A terminal outlives the programs run in it.
bool window_Closes_With_Tool()
{
    return false;
}

int run_Command(const char *line)
{
    std::fflush(stdout);
    // Running a command line is this service's purpose; typed values reach it
    // only through append_Value.
    return std::system(line); // NOLINT(cert-env33-c)
}

void delay_Ms(unsigned ms)
{
    std::fflush(stdout);
    timespec left = {static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

int input_Byte()
{
    return std::getchar();
}

const Interpreter &local_Interpreter()
{
    return POSIX_SH;
}

// /bin/sh reads bytes: every byte is a character of its own.
int interpreter_Characters(const char *value, char16_t (&chars)[TEXT_SIZE])
{
    int count = 0;
    for (; count < static_cast<int>(TEXT_SIZE) - 1 && value[count] != '\0'; ++count) {
        chars[count] = static_cast<unsigned char>(value[count]);
    }
    return count;
}
