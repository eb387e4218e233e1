// src/jet/file_posix.cpp
// jet::File on a POSIX file descriptor: pread/pwrite at offsets, fsync for durability.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "jet/file.h"

namespace jet {
namespace {

std::string Describe(const std::string& what, const std::string& path, int err) {
  return what + " " + path + ": " + std::strerror(err);
}

class PosixFile : public File {
 public:
  PosixFile(int fd, uint64_t size, bool writable, std::string path)
      : fd_(fd), size_(size), writable_(writable), path_(std::move(path)) {}
  ~PosixFile() override { ::close(fd_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  Result<void> ReadAt(uint64_t offset, std::span<uint8_t> data) const override {
    if (offset > size_ || data.size() > size_ - offset) {
      return base::MakeError(base::ErrorCode::kIo, "read past the end of " + path_);
    }
    size_t done = 0;
    while (done < data.size()) {
      const ssize_t n = ::pread(fd_, data.data() + done, data.size() - done,
                                static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return base::MakeError(base::ErrorCode::kIo, Describe("cannot read", path_, errno));
      if (n == 0) return base::MakeError(base::ErrorCode::kIo, "unexpected end of " + path_);
      done += static_cast<size_t>(n);
    }
    return base::Ok();
  }

  Result<void> WriteAt(uint64_t offset, std::span<const uint8_t> data) override {
    if (!writable_) return base::MakeError(base::ErrorCode::kIo, path_ + " is open read-only");
    if (offset > size_ || data.size() > size_ - offset) {
      return base::MakeError(base::ErrorCode::kIo, "write past the end of " + path_);
    }
    size_t done = 0;
    while (done < data.size()) {
      const ssize_t n = ::pwrite(fd_, data.data() + done, data.size() - done,
                                 static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        return base::MakeError(base::ErrorCode::kIo, Describe("cannot write", path_, errno));
      }
      done += static_cast<size_t>(n);
    }
    return base::Ok();
  }

  uint64_t Size() const override { return size_; }

  Result<void> Sync() override {
    if (!writable_) return base::Ok();
    if (::fsync(fd_) != 0) {
      return base::MakeError(base::ErrorCode::kIo, Describe("cannot flush", path_, errno));
    }
    return base::Ok();
  }

  bool writable() const override { return writable_; }

 private:
  int fd_;
  uint64_t size_;
  bool writable_;
  std::string path_;
};

}  // namespace

Result<std::unique_ptr<File>> OpenDiskFile(const std::string& path, OpenMode mode) {
  const bool writable = mode == OpenMode::kReadWrite;
  int fd;
  do {
    fd = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    const int err = errno;
    if (err == ENOENT) return base::MakeError(base::ErrorCode::kNotFound, "no file " + path);
    return base::MakeError(base::ErrorCode::kIo, Describe("cannot open", path, err));
  }
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    return base::MakeError(base::ErrorCode::kIo, Describe("cannot examine", path, err));
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return base::MakeError(base::ErrorCode::kIo, path + " is not a regular file");
  }
  return std::unique_ptr<File>(
      std::make_unique<PosixFile>(fd, static_cast<uint64_t>(st.st_size), writable, path));
}

}  // namespace jet
