// The rows of a bench list: tab-separated cells, one header line, blank
// lines and lines starting with '#' skipped. False when the file cannot be
// read.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kv::cli {

inline bool ReadTsvRows(const std::string& path, std::vector<std::vector<std::string>>& rows) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  bool header = true;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (header) {
      header = false;
      continue;
    }
    std::vector<std::string> cells;
    std::stringstream fields(line);
    std::string cell;
    while (std::getline(fields, cell, '\t')) cells.push_back(cell);
    rows.push_back(std::move(cells));
  }
  return true;
}

}  // namespace kv::cli
