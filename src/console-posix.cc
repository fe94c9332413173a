// Console services on POSIX systems, a stand-in for the Windows console so the
// tool builds, runs and is tested here. Command lines go through /bin/sh as
// they would go through cmd.exe; the window is cleared and coloured with ANSI
// escapes, only when standard output is a terminal.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iterator>

#include <termios.h>
#include <unistd.h>

#include "console.h"
#include "texts.h"

namespace {

constexpr char COLOURS[] = "\x1b[0;97;42m"; // bright white on green
constexpr char NO_COLOURS[] = "\x1b[0m";
constexpr char CLEAR[] = "\x1b[H\x1b[2J\x1b[3J"; // home, window, scrollback

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

// ---- Waiting for one key, leaving the terminal as it was -------------------

termios saved_terminal;
volatile std::sig_atomic_t coloured = 0;

constexpr int STOP_SIGNALS[] = {SIGINT, SIGQUIT, SIGTERM, SIGHUP};
constexpr std::size_t STOP_COUNT = std::size(STOP_SIGNALS);

// A signal that ends the program while the terminal is in key mode: put the
// terminal (and its colours) back, then die of the signal as usual.
extern "C" void restore_And_Die(int sig)
{
    tcsetattr(STDIN_FILENO, TCSANOW, &saved_terminal);
    if (coloured != 0) {
        const ssize_t ignored = write(STDOUT_FILENO, NO_COLOURS, sizeof NO_COLOURS - 1);
        static_cast<void>(ignored);
    }
    std::signal(sig, SIG_DFL);
    std::raise(sig); // delivered when this handler returns
}

void wait_Key()
{
    if (tcgetattr(STDIN_FILENO, &saved_terminal) != 0) {
        return;
    }
    struct sigaction restore = {};
    restore.sa_handler = restore_And_Die;
    sigemptyset(&restore.sa_mask);
    struct sigaction previous[STOP_COUNT] = {};
    for (std::size_t i = 0; i < STOP_COUNT; ++i) {
        sigaction(STOP_SIGNALS[i], nullptr, &previous[i]);
        if (previous[i].sa_handler != SIG_IGN) { // an ignored signal stays ignored
            sigaction(STOP_SIGNALS[i], &restore, nullptr);
        }
    }

    termios key_mode = saved_terminal;
    key_mode.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    key_mode.c_cc[VMIN] = 1;
    key_mode.c_cc[VTIME] = 0;
    // TCSAFLUSH drops what was typed ahead, so only a new key ends the wait.
    if (tcsetattr(STDIN_FILENO, TCSAFLUSH, &key_mode) == 0) {
        char key[32]; // one read takes a whole escape sequence (arrows, F-keys)
        while (read(STDIN_FILENO, key, sizeof key) < 0 && errno == EINTR) {
        }
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_terminal);
    }

    for (std::size_t i = 0; i < STOP_COUNT; ++i) {
        sigaction(STOP_SIGNALS[i], &previous[i], nullptr);
    }
}

} // namespace

void color_Screen()
{
    if (!to_Terminal()) {
        return;
    }
    write_Text(COLOURS);
    write_Text(CLEAR); // paints the whole window in the new colours
    coloured = 1;
    std::atexit(reset_Colours);
}

void clear_Screen()
{
    if (to_Terminal()) {
        write_Text(CLEAR);
    }
}

void pause_Key()
{
    write_Text(text::press_key);
    std::fflush(stdout);
    if (isatty(STDIN_FILENO) == 1) {
        wait_Key();
    }
    write_Text("\n");
}

int interpret_Line(const char *line)
{
    // Running a command line is this service's purpose; typed values reach it
    // only through append_Value.
    return std::system(line); // NOLINT(cert-env33-c)
}

// A terminal outlives the programs run in it.
bool window_Closes_With_Tool()
{
    return false;
}

void sleep_Ms(unsigned ms)
{
    timespec left = {static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

// Inside a word after "ssid=" or "key=", /bin/sh acts on its operators, on
// expansions, escapes and quotes, on glob characters (when a file matches), and
// where it is bash, on braces. Comments and tildes only begin a word. Inside
// single quotes every byte but ' is plain text.
const Interpreter &local_Interpreter()
{
    static const Interpreter posix_sh = {'\'', "|&;<>()$`\\\"*?[{", "'", false};
    return posix_sh;
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
