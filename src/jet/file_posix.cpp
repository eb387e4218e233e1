// src/jet/file_posix.cpp
// jet::File on a POSIX file descriptor: pread/pwrite at offsets, fsync for durability.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "jet/file.h"

namespace jet {
namespace {

std::string Describe(const std::string& what, const std::string& path, int err) {
  return what + " " + path + ": " + std::strerror(err);
}

// What fstat tells of a file's content: a change of any of these means new bytes.
struct Stamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  timespec changed{};
  bool operator==(const Stamp& o) const {
    return device == o.device && inode == o.inode && size == o.size &&
           modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
           changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
  }
};

Stamp StampOf(const struct stat& st) {
  return {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

// File systems keep times at a coarse grain (a kernel tick, up to two seconds on some): a write
// within that grain of the last look may leave the stamp as it was. A stamp this young is not
// trusted, neither now nor at the next look.
constexpr time_t kRacySeconds = 2;

class PosixFile : public File {
 public:
  PosixFile(int fd, const struct stat& st, bool writable, std::string path)
      : fd_(fd),
        size_(static_cast<uint64_t>(st.st_size)),
        writable_(writable),
        path_(std::move(path)),
        stamp_(StampOf(st)),
        racy_(IsRacy(stamp_)) {}
  ~PosixFile() override { ::close(fd_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  Result<void> ReadAt(uint64_t offset, std::span<uint8_t> data) const override {
    if (offset > size_ || data.size() > size_ - offset) {
      return base::MakeError(base::ErrorCode::kIo, "read past the end of " + path_);
    }
    size_t done = 0;
    while (done < data.size()) {
      const ssize_t n =
          ::pread(fd_, data.data() + done, data.size() - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0)
        return base::MakeError(base::ErrorCode::kIo, Describe("cannot read", path_, errno));
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
      const ssize_t n =
          ::pwrite(fd_, data.data() + done, data.size() - done, static_cast<off_t>(offset + done));
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

  Result<bool> Refresh() override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) {
      return base::MakeError(base::ErrorCode::kIo, Describe("cannot examine", path_, errno));
    }
    const Stamp now = StampOf(st);
    const bool changed = racy_ || !(now == stamp_);
    stamp_ = now;
    racy_ = IsRacy(now);
    size_ = static_cast<uint64_t>(st.st_size);
    return changed;
  }

 private:
  static bool IsRacy(const Stamp& stamp) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    auto nanoseconds = [](const timespec& t) {
      return static_cast<int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
    };
    const int64_t newest = std::max(nanoseconds(stamp.modified), nanoseconds(stamp.changed));
    return nanoseconds(now) - newest <= int64_t{kRacySeconds} * 1'000'000'000;
  }

  int fd_;
  uint64_t size_;
  bool writable_;
  std::string path_;
  Stamp stamp_;
  bool racy_;
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
  return std::unique_ptr<File>(std::make_unique<PosixFile>(fd, st, writable, path));
}

}  // namespace jet
