// The one size every text buffer has: each input buffer, command buffer and
// menu row holds at most 99 bytes of text and a terminating NUL. The lowest
// header, so that the command-line rules and the texts, which use it, include
// nothing above them.
#ifndef WIFI_HOTSPOT_FIXED_TEXT_H
#define WIFI_HOTSPOT_FIXED_TEXT_H

#include <cstddef>

constexpr std::size_t TEXT_SIZE = 100;

#endif
