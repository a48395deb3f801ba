#pragma once

#include <string>
#include <string_view>

// Text shown to a person on a terminal or in a window: names from the disk
// may hold any byte, and a line break or an escape sequence in a name must
// neither forge a line nor act on the terminal.
class ShownText
{
public:
    // Every control character (C0, DEL, C1) and every byte that is not UTF-8
    // as a visible escape: "\n", "\t", "\r", "\x1B", "\u009B", "\xE9".
    // keepLineBreaks: "\r\n", the line break of messages, stays.
    static std::string visible(std::string_view text, bool keepLineBreaks = false);
};
