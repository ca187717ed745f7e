// The names of the numbered messages: a hand-kept list (number, name) that
// the table generator checks against the English table and turns into the
// header of named message numbers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "strings/custom_language.h"

namespace kv::generator {

struct MessageName {
  int number = 0;
  std::string name;
};

// Reads the lines "NUMBER NAME" of a names file ('#' comments and blank
// lines skipped). Refuses, with the line and the reason in error, a line of
// another shape, a name that is no identifier, a number that the English
// table lacks, and a number or a name given twice.
bool ParseMessageNames(std::string_view text, const CustomLanguage& english,
                       std::vector<MessageName>& names, std::string& error);

// The C++ header that names the numbers, in the order of the list.
std::string MessageIdsHeader(const std::vector<MessageName>& names);

}  // namespace kv::generator
