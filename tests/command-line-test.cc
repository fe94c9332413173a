// cmd.exe's %name% rules as Windows documents them, both ways: where wine's cmd.exe does otherwise
// or knows fewer names (the end-to-end oracle checks the names it knows), and what any cmd.exe
// leaves as typed; and as the tool runs cmd.exe. The sources:
// [set]  "set /?", learn.microsoft.com/windows-server/administration/windows-commands/set_1
// [ss64] ss64.com/nt/syntax-variables.html: the undocumented and the hidden variables
// [so]   stackoverflow.com/questions/4094699, dbenham's answer: the percent phase of a command line
// [wp]   en.wikipedia.org/wiki/COMSPEC: cmd.exe sets COMSPEC to its own path where it is not set
// [tool] console-win32.cc: set_Windows_Environment, before each line it hands cmd.exe
#include <strings.h>

#include <tuple>

#include <gtest/gtest.h>

#include "command-line.h"

// The environment the rows are read with: OS and PATH.
static bool in_Environment(const char *name)
{
    return strcasecmp(name, "OS") == 0 || strcasecmp(name, "PATH") == 0;
}

// Each row: a line, whether cmd.exe runs it as it stands (replacing no %name%), and the source.
const std::tuple<const char *, bool, const char *> DOCUMENTED[] = {
    {"ssid=x%a%OS%y", false, "[so] an unknown name stays; the reading goes on at its closing %"},
    {"ssid=x%=C:%y", false, "[ss64] a hidden variable: the current folder of drive C:"},
    {"ssid=x%CMDEXTVERSION%y", false, "[set] a dynamic variable"},
    {"ssid=x%CMDCMDLINE%y", false, "[set] a dynamic variable"},
    {"ssid=x%HIGHESTNUMANODENUMBER%y", false, "[set] a dynamic variable"},
    {"ssid=x%__CD__%y", false, "[ss64] an undocumented variable"},
    {"ssid=x%__APPDIR__%y", false, "[ss64] an undocumented variable"},
    {"ssid=x%firmware_type%y", false, "[ss64] Windows 8 and later; names in any case"},
    {"ssid=x%ComSpec%y", false, "[wp] cmd.exe sets it where the environment lacks it"},
    {"ssid=x%OS:y key=\"%&calc12\"", false, "[set] two values join: y key in OS replaced by \""},
    {"ssid=x%windir%y", false, "[tool] sets windir, which the tool's environment here lacks"},
    {"ssid=a key=50%off1234", true, "[so] a % that nothing closes stays"},
    {"ssid=x%nosuch%y", true, "[so] on a command line, an undefined name stays"},
    {"ssid=a%%b", true, "[so] on a command line, %% is no escape and no name"},
    {"ssid=x%PATH:%y", true, "[so] a : with no modifier after it: the name is PATH:, undefined"},
};

TEST(CmdExe, PercentNamesAsDocumented)
{
    for (const auto &[line, as_typed, why] : DOCUMENTED) {
        EXPECT_EQ(is_Literal_Line(CMD_EXE, line, in_Environment), as_typed) << line << ": " << why;
    }
}
