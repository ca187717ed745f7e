// Windows-1252 text, as the libraries hold it, to and from QString.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "strings/encoding.h"

namespace kv::print {

// With figurines, the figurine codes of a notation text become the chess
// symbols they stand for.
inline QString ToQString(std::string_view cp1252, bool figurines = false) {
  return QString::fromStdString(Cp1252ToUtf8(cp1252, figurines));
}

inline std::string FromQString(const QString& text) {
  return Utf8ToCp1252(text.toStdString());
}

}  // namespace kv::print
