// Loaded with LD_PRELOAD into a test process, makes the file system calls
// fail as a FAT or exFAT file system (USB sticks, many network shares) or a
// lock-less one does, so that the collection code's other ways can be tested
// on any disk. KV_FS_FAULTS names the faults, separated by commas:
//   no-tmpfile    open with O_TMPFILE fails with EOPNOTSUPP
//   no-link       link and linkat fail with EPERM
//   no-noreplace  renameat2 with flags fails with EINVAL (FUSE file systems)
//   no-lock       flock fails with ENOLCK
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

bool Fault(const char* name) {
  const char* faults = getenv("KV_FS_FAULTS");
  if (!faults) return false;
  const size_t length = strlen(name);
  for (const char* at = strstr(faults, name); at; at = strstr(at + 1, name)) {
    const bool starts = at == faults || at[-1] == ',';
    const bool ends = at[length] == '\0' || at[length] == ',';
    if (starts && ends) return true;
  }
  return false;
}

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool RefusedTmpfile(int flags) {
  if ((flags & O_TMPFILE) != O_TMPFILE || !Fault("no-tmpfile")) return false;
  errno = EOPNOTSUPP;
  return true;
}

mode_t ModeOf(int flags, va_list args) {
  const bool hasMode = (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
  return hasMode ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

using OpenFunction = int (*)(const char*, int, ...);
using OpenatFunction = int (*)(int, const char*, int, ...);

int OpenThrough(const char* name, const char* path, int flags, mode_t mode) {
  if (RefusedTmpfile(flags)) return -1;
  return Next<OpenFunction>(name)(path, flags, mode);
}

int OpenatThrough(const char* name, int dir, const char* path, int flags, mode_t mode) {
  if (RefusedTmpfile(flags)) return -1;
  return Next<OpenatFunction>(name)(dir, path, flags, mode);
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return OpenThrough("open", path, flags, mode);
}

int open64(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return OpenThrough("open64", path, flags, mode);
}

int openat(int dir, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return OpenatThrough("openat", dir, path, flags, mode);
}

int openat64(int dir, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return OpenatThrough("openat64", dir, path, flags, mode);
}

int link(const char* from, const char* to) {
  if (Fault("no-link")) {
    errno = EPERM;
    return -1;
  }
  return Next<int (*)(const char*, const char*)>("link")(from, to);
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
  if (Fault("no-link")) {
    errno = EPERM;
    return -1;
  }
  return Next<int (*)(int, const char*, int, const char*, int)>("linkat")(fromDir, from, toDir, to,
                                                                          flags);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
  if (flags != 0 && Fault("no-noreplace")) {
    errno = EINVAL;
    return -1;
  }
  return Next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2")(fromDir, from,
                                                                                  toDir, to, flags);
}

int flock(int fd, int operation) {
  if (Fault("no-lock") && (operation & LOCK_UN) == 0) {
    errno = ENOLCK;
    return -1;
  }
  return Next<int (*)(int, int)>("flock")(fd, operation);
}

}  // extern "C"
