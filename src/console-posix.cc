// Console services on POSIX systems, a stand-in for the Windows console so the
// tool builds, runs and is tested here. Command lines go through /bin/sh as
// they would go through cmd.exe; on a terminal the window is cleared and
// coloured with ANSI escapes, and the pause waits for one new key.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <initializer_list>

#include <signal.h> // sigaction, which <csignal> need not declare
#include <termios.h>
#include <time.h> // nanosleep, which <ctime> need not declare
#include <unistd.h>

#include "command-line.h"
#include "console-platform.h"
#include "console.h"
#include "fixed-text.h"
#include "texts.h"

namespace {

constexpr char COLOURS[] = "\x1b[0;97;42m"; // bright white on green
constexpr char NO_COLOURS[] = "\x1b[0m";
constexpr char CLEAR[] = "\x1b[H\x1b[2J\x1b[3J"; // home, window, scrollback

// What an end by a signal puts back: the terminal's settings while the pause
// has changed them, and the colours once they are set.
termios saved_terminal;
volatile std::sig_atomic_t key_mode = 0;
volatile std::sig_atomic_t coloured = 0;

bool to_Terminal()
{
    return isatty(STDOUT_FILENO) == 1;
}

// Gives the shell's prompt after the tool its own colours back. The window
// keeps its green until something clears it.
void reset_Colours()
{
    write_Text(NO_COLOURS);
}

// Ctrl+C at the menu, during a delay or at the pause: the terminal and its
// colours put back, then the end by the signal, as usual.
extern "C" void restore_And_Die(int sig)
{
    if (key_mode != 0) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved_terminal);
    }
    if (coloured != 0) {
        const ssize_t ignored = write(STDOUT_FILENO, NO_COLOURS, sizeof NO_COLOURS - 1);
        static_cast<void>(ignored);
    }
    std::signal(sig, SIG_DFL);
    std::raise(sig); // delivered when this handler returns
}

void restore_On_Signals()
{
    struct sigaction restore = {};
    restore.sa_handler = restore_And_Die;
    sigemptyset(&restore.sa_mask);
    for (const int sig : {SIGINT, SIGQUIT, SIGTERM, SIGHUP}) {
        struct sigaction previous = {};
        sigaction(sig, nullptr, &previous);
        if (previous.sa_handler != SIG_IGN) { // an ignored signal stays ignored
            sigaction(sig, &restore, nullptr);
        }
    }
}

} // namespace

// Runs once, at start: from here on, an end by a signal restores the terminal.
void color_Screen()
{
    restore_On_Signals();
    if (to_Terminal()) {
        write_Text(COLOURS);
        write_Text(CLEAR); // paints the whole window in the new colours
        coloured = 1;
        std::atexit(reset_Colours);
    }
}

void clear_Screen()
{
    if (to_Terminal()) {
        write_Text(CLEAR);
    }
}

// On a terminal: no echo, no line; TCSAFLUSH drops what was typed ahead, so
// only a new key ends the wait. One read takes a whole escape sequence (an
// arrow, say).
void pause_Key()
{
    write_Text(text::PRESS_KEY);
    std::fflush(stdout);
    if (tcgetattr(STDIN_FILENO, &saved_terminal) == 0) {
        termios one_key = saved_terminal;
        one_key.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        one_key.c_cc[VMIN] = 1;
        one_key.c_cc[VTIME] = 0;
        key_mode = 1; // before the switch, so that a signal at any point restores
        if (tcsetattr(STDIN_FILENO, TCSAFLUSH, &one_key) == 0) {
            char key[32];
            while (read(STDIN_FILENO, key, sizeof key) < 0 && errno == EINTR) {
            }
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_terminal);
        }
        key_mode = 0;
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
