#include "collections/file_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <set>
#include <utility>

namespace kv {
namespace {

constexpr std::string_view CollectionExtension = ".kvl";

using FileId = std::pair<dev_t, ino_t>;

std::string Join(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// The names in a folder, sorted, without "." and ".."; with each name
// whether readdir already knows it is a regular file (no stat needed then).
struct FolderEntry {
  std::string name;
  bool regularFile = false;
  bool operator<(const FolderEntry& other) const { return name < other.name; }
};

// The sorted entries of `folder`. False when it cannot be opened. `error`
// is 0, or what stopped the reading; the entries read before it are kept.
bool ReadFolder(const std::string& folder, std::vector<FolderEntry>& entries, int& error) {
  entries.clear();
  error = 0;
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), &closedir);
  if (!dir) {
    error = errno;
    return false;
  }
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(dir.get());
    if (entry == nullptr) break;
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    entries.push_back({std::string(name), entry->d_type == DT_REG});
  }
  error = errno;
  std::sort(entries.begin(), entries.end());
  return true;
}

// ReadFolder, with a folder that could not be read whole noted in `unread`
// when it is given.
bool ReadFolderNoting(const std::string& folder, std::vector<FolderEntry>& entries,
                      std::vector<UnreadFolder>* unread) {
  int error = 0;
  const bool opened = ReadFolder(folder, entries, error);
  if (error != 0 && unread != nullptr) unread->push_back({folder, std::strerror(error)});
  return opened;
}

// One folder being walked: its entries and the next one to examine.
struct Frame {
  std::string path;
  std::vector<FolderEntry> entries;
  std::size_t next = 0;
};

}  // namespace

bool IsCollectionFileName(std::string_view name) {
  if (name.size() < CollectionExtension.size()) return false;
  const std::string_view end = name.substr(name.size() - CollectionExtension.size());
  return std::equal(end.begin(), end.end(), CollectionExtension.begin(), [](char a, char b) {
    return (a >= 'A' && a <= 'Z' ? a + ('a' - 'A') : a) == b;
  });
}

std::vector<std::string> CollectionFilesUnder(const std::string& folder, bool oneFileSystem,
                                              std::vector<UnreadFolder>* unreadFolders) {
  std::vector<std::string> files;
  struct stat start {};
  if (stat(folder.c_str(), &start) != 0) {
    if (unreadFolders != nullptr) unreadFolders->push_back({folder, std::strerror(errno)});
    return files;
  }
  if (!S_ISDIR(start.st_mode)) return files;
  std::set<FileId> seen = {{start.st_dev, start.st_ino}};

  // An explicit stack instead of recursion: a deep tree cannot exhaust the
  // call stack, and entries are still examined in the order a recursive walk
  // would examine them (a subfolder as soon as it is met).
  std::vector<Frame> stack;
  stack.push_back({folder, {}, 0});
  ReadFolderNoting(folder, stack.back().entries, unreadFolders);
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.next == frame.entries.size()) {
      stack.pop_back();
      continue;
    }
    const FolderEntry& entry = frame.entries[frame.next++];
    if (entry.regularFile && !IsCollectionFileName(entry.name)) continue;
    const std::string path = Join(frame.path, entry.name);
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) continue;  // a dangling link, or gone meanwhile
    if (S_ISDIR(info.st_mode)) {
      if (oneFileSystem && info.st_dev != start.st_dev) continue;
      if (!seen.insert({info.st_dev, info.st_ino}).second) continue;
      Frame child{path, {}, 0};
      if (ReadFolderNoting(path, child.entries, unreadFolders)) stack.push_back(std::move(child));
    } else if (S_ISREG(info.st_mode) && IsCollectionFileName(entry.name)) {
      if (seen.insert({info.st_dev, info.st_ino}).second) files.push_back(path);
    }
  }
  return files;
}

std::string FileSystemRoot(const std::string& path) {
  const std::unique_ptr<char, void (*)(void*)> resolved(realpath(path.c_str(), nullptr), &free);
  if (!resolved) return path;
  std::string root = resolved.get();
  struct stat info {};
  if (stat(root.c_str(), &info) != 0) return path;
  while (root != "/") {
    const std::size_t slash = root.rfind('/');
    const std::string parent = slash == 0 ? "/" : root.substr(0, slash);
    struct stat parentInfo {};
    if (stat(parent.c_str(), &parentInfo) != 0 || parentInfo.st_dev != info.st_dev) break;
    root = parent;
  }
  return root;
}

bool IsSameFile(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace kv
