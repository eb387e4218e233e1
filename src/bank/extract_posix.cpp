#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "bank/extract.h"

namespace bank {
namespace {

using base::ErrorCode;
using base::MakeError;
using base::Result;

std::string Folder(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

base::Unexpected<base::Error> Errno(const std::string& what) {
  return MakeError(ErrorCode::kIo, what + ": " + std::strerror(errno));
}

constexpr char kTempPrefix[] = ".exam-write-";
// A temporary file is held under an exclusive lock for as long as its writer lives; one that
// nobody locks and that has not changed for this long was left by a writer that died.
constexpr time_t kStaleSeconds = 10;

// Where a replacing write lands: `path` itself, or the regular file a symbolic link at `path`
// leads to. Anything else that stands there (a device, a FIFO, a folder, a socket, a link to
// nothing) is refused, never replaced.
Result<std::string> ReplaceTarget(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return path;
    return Errno("cannot look at " + path);
  }
  std::string target = path;
  if (S_ISLNK(st.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) {
      return MakeError(ErrorCode::kInvalid, path + " is a link that leads to no file");
    }
    target = resolved;
    if (::stat(target.c_str(), &st) != 0) return Errno("cannot look at " + target);
  }
  if (!S_ISREG(st.st_mode)) {
    return MakeError(ErrorCode::kInvalid, path + " exists and is not a regular file");
  }
  return target;
}

// Removes the temporary files that writers which died (killed during a first start, say) left
// in `folder`. A file that its writer still holds locked, or that changed a moment ago (its
// writer may not have taken the lock yet), stays.
void RemoveDeadWriters(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  const time_t now = ::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    if (std::strncmp(entry->d_name, kTempPrefix, sizeof kTempPrefix - 1) != 0) continue;
    const std::string temp = folder + "/" + entry->d_name;
    const int fd = ::open(temp.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && now - st.st_mtime >= kStaleSeconds &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      ::unlink(temp.c_str());
    }
    ::close(fd);
  }
  ::closedir(dir);
}

}  // namespace

std::string BankPath(const std::string& program_dir) {
  std::string dir = program_dir;
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir + "/exam.sys";
}

Result<void> WriteNewFile(const std::string& requested, std::string_view bytes, bool replace) {
  std::string path = requested;
  if (replace) {
    EXAMORA_ASSIGN_OR_RETURN(path, ReplaceTarget(requested));
  }
  const std::string folder = Folder(path);
  std::string name = folder + "/" + kTempPrefix + "XXXXXX";
  std::vector<char> pattern(name.begin(), name.end());
  pattern.push_back('\0');
  const int fd = mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) return Errno("cannot create a file in " + folder);
  const std::string temp(pattern.data());
  // The lock tells a later start that this file's writer is alive; it goes with the process.
  (void)::flock(fd, LOCK_EX);
  auto fail = [&](const std::string& what) {
    auto error = Errno(what);
    ::close(fd);
    ::unlink(temp.c_str());
    return error;
  };
  size_t done = 0;
  while (done < bytes.size()) {
    const size_t chunk = std::min<size_t>(bytes.size() - done, size_t{1} << 20);
    const ssize_t n = ::write(fd, bytes.data() + done, chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return fail("cannot write " + temp);
    done += static_cast<size_t>(n);
  }
  if (::fchmod(fd, 0644) != 0) return fail("cannot set the mode of " + temp);
  if (::fsync(fd) != 0) return fail("cannot flush " + temp);
  if (::close(fd) != 0) {
    ::unlink(temp.c_str());
    return Errno("cannot close " + temp);
  }
  if (replace) {
    if (::rename(temp.c_str(), path.c_str()) != 0) {
      auto error = Errno("cannot move the new file to " + path);
      ::unlink(temp.c_str());
      return error;
    }
  } else {
    // link() refuses to replace, so a file that appeared meanwhile is kept.
    if (::link(temp.c_str(), path.c_str()) != 0) {
      const bool exists = errno == EEXIST;
      auto error = Errno("cannot move the new file to " + path);
      ::unlink(temp.c_str());
      if (exists) return MakeError(ErrorCode::kInvalid, path + " exists already");
      return error;
    }
    ::unlink(temp.c_str());
  }
  // Make the new name itself durable.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    (void)::fsync(dir);
    ::close(dir);
  }
  return base::Ok();
}

Result<bool> EnsureBankFile(const std::string& path, std::string_view image) {
  RemoveDeadWriters(Folder(path));
  struct stat st;
  if (::lstat(path.c_str(), &st) == 0) return false;  // whatever is there is used as it is
  if (errno != ENOENT) return Errno("cannot look at " + path);
  auto written = WriteNewFile(path, image, /*replace=*/false);
  if (!written) {
    if (written.error().code == ErrorCode::kInvalid) return false;  // created meanwhile
    return base::Unexpected<base::Error>(written.take_error());
  }
  return true;
}

}  // namespace bank
