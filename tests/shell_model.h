// How /bin/sh and cmd.exe (with netsh's C-runtime argument splitting) read a
// command line, written from their documented rules and independent of the
// tool's own quoting: a test asks what the command would receive.
#ifndef WIFI_HOTSPOT_SHELL_MODEL_H
#define WIFI_HOTSPOT_SHELL_MODEL_H

#include <optional>
#include <string>
#include <vector>

// The words sh hands to the command, or nothing when the line holds anything
// sh would act on: an operator, an expansion, a glob, a comment, an unclosed
// quote.
std::optional<std::vector<std::string>> sh_Words(const std::string &line);

// The arguments a C-runtime program started by cmd.exe receives, or nothing
// when cmd.exe would act on the line: an unquoted & | < > ^ ( ), any %, an
// unclosed quote.
std::optional<std::vector<std::string>> cmd_Args(const std::string &line);

#endif
