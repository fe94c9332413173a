// cmd.exe's %name% rules as Windows documents them, where wine's cmd.exe does otherwise or knows
// fewer names (the end-to-end oracle checks the names it knows). The sources:
// [set]  "set /?", learn.microsoft.com/windows-server/administration/windows-commands/set_1
// [ss64] ss64.com/nt/syntax-variables.html: the undocumented and the hidden variables
// [so]   stackoverflow.com/questions/4094699, dbenham's answer: the percent phase of a command line
#include <strings.h>

#include <gtest/gtest.h>

#include "command-line.h"

// The rows are read with OS and PATH in the environment.
static bool in_Environment(const char *name)
{
    return strcasecmp(name, "OS") == 0 || strcasecmp(name, "PATH") == 0;
}

// Each row: a line in which cmd.exe replaces a %name%, and where Windows documents it.
const char *const DOCUMENTED[][2] = {
    {"ssid=x%a%OS%y", "[so] an unknown name stays, and the reading goes on at its closing %"},
    {"ssid=x%=C:%y", "[ss64] a hidden variable: the current folder of drive C:"},
    {"ssid=x%CMDEXTVERSION%y", "[set] a dynamic variable"},
    {"ssid=x%CMDCMDLINE%y", "[set] a dynamic variable"},
    {"ssid=x%HIGHESTNUMANODENUMBER%y", "[set] a dynamic variable"},
    {"ssid=x%__CD__%y", "[ss64] an undocumented variable"},
    {"ssid=x%__APPDIR__%y", "[ss64] an undocumented variable"},
    {"ssid=x%firmware_type%y", "[ss64] Windows 8 and later; names in any case"},
};

TEST(CmdExe, ReplacesPercentNamesAsDocumented)
{
    for (const auto &[line, source] : DOCUMENTED) {
        EXPECT_FALSE(is_Literal_Line(CMD_EXE, line, in_Environment)) << line << ": " << source;
    }
}
