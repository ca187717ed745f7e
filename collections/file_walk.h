// Finding the collection files of a folder tree. Paths are kept exactly as
// the file system gives them (case and all), a file is taken when its name
// ends in ".kvl" in any case, and each folder's entries are visited in name
// order so that a search gives its hits in the same order every time.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv {

// True for a name that ends in ".kvl", in any case.
bool IsCollectionFileName(std::string_view name);

// A folder of the walk that could not be read, and why (the system's text).
struct UnreadFolder {
  std::string path;
  std::string reason;
};

// The collection files under `folder` and its subfolders. Symbolic links are
// followed, but a folder or file already seen (by device and inode) is not
// walked or listed again, so a link cannot lead into a loop. With
// `oneFileSystem` folders on another file system (other mounts) are left out.
// Folders that cannot be read are passed over; when `unreadFolders` is given
// each of them is added to it (`folder` itself too), so that the caller can
// say what the walk did not see.
std::vector<std::string> CollectionFilesUnder(const std::string& folder, bool oneFileSystem,
                                              std::vector<UnreadFolder>* unreadFolders = nullptr);

// The top folder of the file system that holds `path`: its mount point.
// `path` itself when it cannot be examined.
std::string FileSystemRoot(const std::string& path);

// True when both paths name the same file (device and inode).
bool IsSameFile(const std::string& a, const std::string& b);

}  // namespace kv
