#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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

}  // namespace

std::string BankPath(const std::string& program_dir) {
  std::string dir = program_dir;
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir + "/exam.sys";
}

Result<void> WriteNewFile(const std::string& path, std::string_view bytes, bool replace) {
  const std::string folder = Folder(path);
  std::string name = folder + "/.exam-write-XXXXXX";
  std::vector<char> pattern(name.begin(), name.end());
  pattern.push_back('\0');
  const int fd = mkstemp(pattern.data());
  if (fd < 0) return Errno("cannot create a file in " + folder);
  const std::string temp(pattern.data());
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
