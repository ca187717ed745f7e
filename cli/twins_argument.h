// The twins field on the command line, in the one form that `show` prints
// and `add --twins` and `solve --twins` read: the stored bytes, with "\\"
// for a backslash and "\xHH" for any byte (the usual-mode byte 0x7F, or a
// byte that is not printable).
#pragma once

#include <string>

namespace kv::cli {

// Reads the escaped form (UTF-8 text, as typed) into the stored field. The
// first byte is the mode: "~" successive, anything else usual (it becomes
// 0x7F). False, with a one-line reason, for a backslash that starts neither
// "\\" nor "\xHH", a field that is not a mode byte and whole entries of four
// bytes (at most 31), or a zero byte. An empty text is no twins.
bool ParseTwinsArgument(const std::string& text, std::string& twins, std::string& error);

// The stored field in the escaped form.
std::string EscapedTwins(const std::string& twins);

// What --help says of the form, for every subcommand that reads it.
inline constexpr const char* TwinsArgumentHelp =
    "the twins field as show prints it: a mode byte (~ successive, any other usual) and "
    "entries of four bytes; a backslash is written \\\\ and any byte may be written \\xHH";

}  // namespace kv::cli
