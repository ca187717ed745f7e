#include "cli/collection_paths.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "collections/file_result.h"
#include "collections/file_walk.h"
#include "strings/encoding.h"
#include "strings/language.h"

namespace kv::cli {
namespace {

void SayUnreadable(const std::string& path, const std::string& why) {
  const std::string text = FileResultText(Fail(FileStatus::CannotOpen, why), path, Language{});
  std::fprintf(stderr, "kestrovale-cli: %s\n", Cp1252ToUtf8(text).c_str());
}

// What a PATH that is neither a folder nor a regular file is.
std::string NeitherFileNorFolder(mode_t mode) {
  if (S_ISFIFO(mode)) return "a named pipe, not a collection file or folder";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device, not a collection file or folder";
  if (S_ISSOCK(mode)) return "a socket, not a collection file or folder";
  return "not a collection file or folder";
}

}  // namespace

bool CollectionFilesAt(const std::string& path, CollectionPaths& paths) {
  paths = {};
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    const int error = errno;
    SayUnreadable(path, error == ENOENT || error == ENOTDIR ? "no such file or folder"
                                                            : std::strerror(error));
    return false;
  }
  if (S_ISREG(info.st_mode)) {
    paths.files = {path};
    return true;
  }
  if (!S_ISDIR(info.st_mode)) {
    SayUnreadable(path, NeitherFileNorFolder(info.st_mode));
    return false;
  }
  std::vector<UnreadFolder> unread;
  paths.files = CollectionFilesUnder(path, false, &unread);
  bool topRead = true;
  for (const UnreadFolder& folder : unread) {
    SayUnreadable(folder.path, "a folder that cannot be read: " + folder.reason);
    topRead = topRead && folder.path != path;
  }
  paths.unreadFolders = static_cast<int>(unread.size());
  return topRead;
}

}  // namespace kv::cli
