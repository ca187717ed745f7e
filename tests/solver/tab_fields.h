// The tab-separated fields of a line of the tests' data files.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace kv::test {

inline std::vector<std::string> TabFields(const std::string& line) {
  std::vector<std::string> cells;
  std::stringstream fields(line);
  std::string cell;
  while (std::getline(fields, cell, '\t')) cells.push_back(cell);
  return cells;
}

}  // namespace kv::test
