// A scripted stand-in for the platform part of the console services. Input
// bytes and command statuses go in; everything the program does comes out, in
// order, as one transcript, with no real delay or command.
#ifndef WIFI_HOTSPOT_SCRIPT_CONSOLE_H
#define WIFI_HOTSPOT_SCRIPT_CONSOLE_H

#include <string>
#include <vector>

#include "../src/console.h"

struct Script {
    std::string input;         // standard input, byte for byte
    std::vector<int> statuses; // statuses of the commands run, in order; 0 past the end
    const Interpreter *shell = &posix_sh;

    std::string screen;                // texts, with [color] [cls] [pause] [delay N] [run LINE]
    std::vector<std::string> commands; // every command line run
    bool acted_after_end = false;      // the program went on after input ended
    std::size_t read_at = 0;
    bool at_end = false; // read_Byte has returned EOF
    bool ended = false;  // a read has found no token
};

// Makes script the console of the services called from now on.
void attach_Script(Script &script);

// Runs the tool's main against script, which it fills in; returns main's status.
int run_Script(Script &script);

#endif
