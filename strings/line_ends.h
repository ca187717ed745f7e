// Line ends of the program's texts. Solution texts, information texts and
// the files store CR LF; the Qt panes and the terminal take LF.
#pragma once

#include <string>
#include <string_view>

namespace kv {

// The text with every CR LF pair as LF. A CR that no LF follows is kept:
// it is a byte of the text, not a line end of the program's.
std::string CrlfToLf(std::string_view text);

// The text with every LF as CR LF, as the solution text is stored. Already
// paired CR LF are not doubled.
std::string LfToCrlf(std::string_view text);

}  // namespace kv
