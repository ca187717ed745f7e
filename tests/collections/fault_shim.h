// Tests that run again in a process of their own with file system faults
// (fs_fault_shim.cpp preloaded), and a real exFAT file system where the
// machine lets a test mount one.
#pragma once

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace kv::testing {

// Whether this process runs under the shim.
inline bool UnderFaults() {
  return std::getenv("KV_FS_FAULTS") != nullptr;
}

// Runs the current test in a new process of this program with the shim
// preloaded and `faults` set; its exit status (0 when the test passed).
inline int RunCurrentTestWithFaults(const std::string& faults) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string filter =
      std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("LD_PRELOAD", KV_FS_FAULT_SHIM, 1);
    ::setenv("KV_FS_FAULTS", faults.c_str(), 1);
    // A sanitized build wants its runtime first; the shim only passes calls on.
    const char* asan = std::getenv("ASAN_OPTIONS");
    const std::string options =
        (asan && *asan ? std::string(asan) + ":" : std::string()) + "verify_asan_link_order=0";
    ::setenv("ASAN_OPTIONS", options.c_str(), 1);
    ::execl("/proc/self/exe", "collections_tests", filter.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// The program `name` in the usual places, or "".
inline std::string FindProgram(const std::string& name) {
  for (const char* folder : {"/usr/sbin", "/sbin", "/usr/bin", "/bin"}) {
    std::string path = std::string(folder) + "/" + name;
    if (::access(path.c_str(), X_OK) == 0) return path;
  }
  return {};
}

// An exFAT file system in an image file, mounted through a loop device and
// FUSE at `folder`; `mounted()` is false where that cannot be done (not root,
// no loop device, no mkfs.exfat or mount.exfat-fuse), and `why()` says why.
class ExfatImage {
 public:
  explicit ExfatImage(const std::string& folder) : folder_(folder), image_(folder + ".img") {
    if (::geteuid() != 0) {
      why_ = "mounting an exFAT image needs root";
      return;
    }
    const std::string mkfs = FindProgram("mkfs.exfat");
    const std::string mount = FindProgram("mount.exfat-fuse");
    const std::string losetup = FindProgram("losetup");
    if (mkfs.empty() || mount.empty() || losetup.empty() || ::access("/dev/fuse", F_OK) != 0) {
      why_ = "no mkfs.exfat, mount.exfat-fuse, losetup or /dev/fuse on this machine";
      return;
    }
    std::filesystem::create_directory(folder_);
    const std::string loopFile = folder + ".loop";
    const bool ready = Run("truncate -s 16M '" + image_ + "'") &&
                       Run("'" + mkfs + "' '" + image_ + "' >/dev/null") &&
                       Run("'" + losetup + "' -f --show '" + image_ + "' > '" + loopFile + "'");
    if (ready) {
      std::string device;
      if (FILE* in = std::fopen(loopFile.c_str(), "r")) {
        char line[64] = {};
        if (std::fgets(line, sizeof line, in)) device = line;
        std::fclose(in);
      }
      while (!device.empty() && (device.back() == '\n' || device.back() == ' ')) device.pop_back();
      loop_ = device;
      losetup_ = losetup;
    }
    mounted_ = !loop_.empty() && Run("'" + mount + "' '" + loop_ + "' '" + folder_ + "'");
    if (!mounted_) why_ = "the exFAT image could not be mounted";
  }
  ~ExfatImage() {
    if (mounted_ && ::umount2(folder_.c_str(), 0) != 0) ::umount2(folder_.c_str(), MNT_DETACH);
    if (!loop_.empty()) Run("'" + losetup_ + "' -d '" + loop_ + "'");
  }
  bool mounted() const { return mounted_; }
  const std::string& why() const { return why_; }
  std::string File(const std::string& name) const { return folder_ + "/" + name; }

 private:
  static bool Run(const std::string& command) {
    return std::system((command + " 2>/dev/null").c_str()) == 0;
  }

  std::string folder_;
  std::string image_;
  std::string loop_;
  std::string losetup_;
  bool mounted_ = false;
  std::string why_;
};

}  // namespace kv::testing

// Runs the rest of the test in a process of its own under `faults`; the test
// passes when that process's test passes.
#define KV_RUN_WITH_FS_FAULTS(faults)                                                      \
  if (!::kv::testing::UnderFaults()) {                                                     \
    EXPECT_EQ(::kv::testing::RunCurrentTestWithFaults(faults), 0) << "under " << (faults); \
    return;                                                                                \
  }
