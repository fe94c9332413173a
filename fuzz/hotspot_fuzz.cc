// Feeds arbitrary bytes as standard input to the menu and the operations,
// over the scripted console, and checks every run:
// - it ends, with status 0, and does nothing once a read has found the end
//   of input;
// - it runs at most one command line, one of the three netsh lines, with the
//   name and the password each a whole token of the input, the password at
//   least 8 bytes, and no byte that the interpreter would act on (judged by
//   the independent model of sh and cmd.exe, not by the tool's quoting).
// The first byte picks the interpreter and the command's status.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../tests/script_console.h"
#include "../tests/shell_model.h"

namespace {

[[noreturn]] void fail(const char *what, const std::string &detail)
{
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

bool is_Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::vector<std::string> tokens_Of(const std::string &input)
{
    std::vector<std::string> tokens;
    std::string token;
    for (const char c : input + " ") {
        if (!is_Blank(c)) {
            token += c;
        } else if (!token.empty()) {
            tokens.push_back(token);
            token.clear();
        }
    }
    return tokens;
}

bool is_Token(const std::vector<std::string> &tokens, const std::string &value)
{
    return std::find(tokens.begin(), tokens.end(), value) != tokens.end();
}

void check_Command(const std::string &line, const Interpreter &shell, const std::string &input)
{
    if (line == "netsh wlan start hostednetwork" || line == "netsh wlan stop hostednetwork") {
        return;
    }
    const auto args = &shell == &posix_sh ? sh_Words(line) : cmd_Args(line);
    if (!args) {
        fail("the interpreter would act on the line", line);
    }
    const std::vector<std::string> &a = *args;
    const std::vector<std::string> fixed = {"netsh", "wlan", "set", "hostednetwork", "mode=allow"};
    if (a.size() != 7 || std::vector<std::string>(a.begin(), a.begin() + 5) != fixed ||
        a[5].rfind("ssid=", 0) != 0 || a[6].rfind("key=", 0) != 0) {
        fail("not one of the netsh lines", line);
    }
    const std::vector<std::string> tokens = tokens_Of(input);
    const std::string name = a[5].substr(5);
    const std::string key = a[6].substr(4);
    if (!is_Token(tokens, name) || !is_Token(tokens, key)) {
        fail("a value is not a whole token as typed", line);
    }
    if (key.size() < 8 || line.size() > 99) {
        fail("a short password or an overlong line ran", line);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    static const int statuses[] = {0, 1, -1, 256};
    Script script;
    script.shell = (data[0] & 1) != 0 ? &cmd_exe : &posix_sh;
    script.statuses = {statuses[(data[0] >> 1) & 3]};
    script.input.assign(reinterpret_cast<const char *>(data) + 1, size - 1);

    if (run_Script(script) != 0) {
        fail("exit status", std::to_string(size));
    }
    if (script.acted_after_end) {
        fail("went on after the end of input", script.screen);
    }
    if (script.commands.size() > 1) {
        fail("more than one command", script.commands[1]);
    }
    for (const std::string &line : script.commands) {
        check_Command(line, *script.shell, script.input);
    }
    return 0;
}
