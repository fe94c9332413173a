#include "shell_model.h"

#include <cstring>

namespace {

bool is_Space(char c)
{
    return c == ' ' || c == '\t';
}

bool is_In(char c, const char *set)
{
    return c != '\0' && std::strchr(set, c) != nullptr;
}

} // namespace

std::optional<std::vector<std::string>> sh_Words(const std::string &line)
{
    // Must be quoted to stand for themselves, or may act somewhere in a word.
    static const char acting[] = "|&;<>()$`\\\"*?[]#~{}!\n";
    std::vector<std::string> words;
    std::string word;
    bool in_word = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\'') {
            const std::size_t close = line.find('\'', i + 1);
            if (close == std::string::npos) {
                return std::nullopt;
            }
            word += line.substr(i + 1, close - i - 1);
            in_word = true;
            i = close;
        } else if (is_Space(c)) {
            if (in_word) {
                words.push_back(word);
            }
            word.clear();
            in_word = false;
        } else if (is_In(c, acting)) {
            return std::nullopt;
        } else {
            word += c;
            in_word = true;
        }
    }
    if (in_word) {
        words.push_back(word);
    }
    return words;
}

std::optional<std::vector<std::string>> cmd_Args(const std::string &line)
{
    // cmd.exe: quotes switch its special characters off; % expands anywhere.
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '%' || c == '\n' || c == '\r' || (!quoted && is_In(c, "&|<>^()"))) {
            return std::nullopt;
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    // The C runtime: 2n backslashes before a quote give n and the quote
    // toggles; 2n+1 give n and a literal quote; other backslashes are literal.
    std::vector<std::string> args;
    std::string arg;
    bool in_arg = false;
    quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        std::size_t slashes = 0;
        while (i < line.size() && line[i] == '\\') {
            ++slashes;
            ++i;
        }
        if (i < line.size() && line[i] == '"') {
            arg.append(slashes / 2, '\\');
            if (slashes % 2 == 1) {
                arg += '"';
            } else {
                quoted = !quoted;
            }
            in_arg = true;
            continue;
        }
        arg.append(slashes, '\\');
        in_arg = in_arg || slashes > 0;
        if (i == line.size()) {
            break;
        }
        if (is_Space(line[i]) && !quoted) {
            if (in_arg) {
                args.push_back(arg);
            }
            arg.clear();
            in_arg = false;
        } else {
            arg += line[i];
            in_arg = true;
        }
    }
    if (in_arg) {
        args.push_back(arg);
    }
    return args;
}
