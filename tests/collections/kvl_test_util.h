// Helpers of the collection tests: a scratch folder, whole files as bytes,
// and a builder for bytes written out by hand.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace kv::testing {

using Bytes = std::vector<std::uint8_t>;

// A folder of its own for each test, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kvl-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_); }
  std::string File(std::string_view name) const { return (path_ / name).string(); }
  std::string Path() const { return path_.string(); }
  std::size_t EntryCount() const { return EntriesIn(path_.string()); }
  static std::size_t EntriesIn(const std::string& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                  std::filesystem::directory_iterator()));
  }

 private:
  std::filesystem::path path_;
};

inline Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// Little-endian bytes spelled out field by field.
class Spell {
 public:
  Spell& U8(int value) {
    bytes_.push_back(static_cast<std::uint8_t>(value));
    return *this;
  }
  Spell& U16(int value) { return U8(value & 0xFF).U8((value >> 8) & 0xFF); }
  Spell& U32(std::uint32_t value) {
    return U16(static_cast<int>(value & 0xFFFF)).U16(static_cast<int>(value >> 16));
  }
  Spell& Text(std::string_view text) {
    for (char c : text) U8(static_cast<unsigned char>(c));
    return *this;
  }
  // A heap string: length, text, NUL.
  Spell& String(std::string_view text) {
    return U16(static_cast<int>(text.size())).Text(text).U8(0);
  }
  Spell& Repeat(int value, int count) {
    for (int i = 0; i < count; ++i) U8(value);
    return *this;
  }
  // A record: reserved word, type byte, moves, seven offsets, 64 position bytes.
  Spell& Record(int typeByte, int moves, std::array<std::uint32_t, 7> offsets,
                const std::array<std::uint8_t, 64>& position) {
    U16(0).U8(typeByte).U8(moves);
    for (std::uint32_t offset : offsets) U32(offset);
    bytes_.insert(bytes_.end(), position.begin(), position.end());
    return *this;
  }
  Bytes bytes() const { return bytes_; }

 private:
  Bytes bytes_;
};

inline std::array<std::uint32_t, 7> AllSlots(std::uint32_t offset) {
  std::array<std::uint32_t, 7> slots;
  slots.fill(offset);
  return slots;
}

inline std::array<std::uint8_t, 64> EmptySquares() {
  std::array<std::uint8_t, 64> squares;
  squares.fill(0x20);
  return squares;
}

}  // namespace kv::testing
