// src/jet/file_win32.cpp
// jet::File on a Windows file handle: ReadFile/WriteFile at offsets, FlushFileBuffers for
// durability. Paths are UTF-8 and go to the wide-character functions.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <climits>

#include "base/win32_text.h"
#include "jet/file.h"

namespace jet {
namespace {

// Bytes handed to one ReadFile or WriteFile call.
constexpr size_t kChunk = size_t{1} << 30;

std::string Describe(const std::string& what, const std::string& path, DWORD err) {
  return what + " " + path + ": Windows error " + std::to_string(err);
}

using base::Widen;

OVERLAPPED At(uint64_t offset) {
  OVERLAPPED o{};
  o.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  o.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return o;
}

class Win32File : public File {
 public:
  Win32File(HANDLE handle, uint64_t size, bool writable, std::string path)
      : handle_(handle), size_(size), writable_(writable), path_(std::move(path)) {}
  ~Win32File() override { CloseHandle(handle_); }
  Win32File(const Win32File&) = delete;
  Win32File& operator=(const Win32File&) = delete;

  Result<void> ReadAt(uint64_t offset, std::span<uint8_t> data) const override {
    if (offset > size_ || data.size() > size_ - offset) {
      return base::MakeError(base::ErrorCode::kIo, "read past the end of " + path_);
    }
    size_t done = 0;
    while (done < data.size()) {
      const size_t chunk = data.size() - done < kChunk ? data.size() - done : kChunk;
      OVERLAPPED at = At(offset + done);
      DWORD got = 0;
      if (!ReadFile(handle_, data.data() + done, static_cast<DWORD>(chunk), &got, &at)) {
        const DWORD err = GetLastError();
        if (err == ERROR_HANDLE_EOF) {
          return base::MakeError(base::ErrorCode::kIo, "unexpected end of " + path_);
        }
        return base::MakeError(base::ErrorCode::kIo, Describe("cannot read", path_, err));
      }
      if (got == 0) return base::MakeError(base::ErrorCode::kIo, "unexpected end of " + path_);
      done += got;
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
      const size_t chunk = data.size() - done < kChunk ? data.size() - done : kChunk;
      OVERLAPPED at = At(offset + done);
      DWORD put = 0;
      if (!WriteFile(handle_, data.data() + done, static_cast<DWORD>(chunk), &put, &at)) {
        return base::MakeError(base::ErrorCode::kIo,
                               Describe("cannot write", path_, GetLastError()));
      }
      if (put == 0) return base::MakeError(base::ErrorCode::kIo, "cannot write " + path_);
      done += put;
    }
    return base::Ok();
  }

  uint64_t Size() const override { return size_; }

  Result<void> Sync() override {
    if (!writable_) return base::Ok();
    if (!FlushFileBuffers(handle_)) {
      return base::MakeError(base::ErrorCode::kIo, Describe("cannot flush", path_, GetLastError()));
    }
    return base::Ok();
  }

  bool writable() const override { return writable_; }

 private:
  HANDLE handle_;
  uint64_t size_;
  bool writable_;
  std::string path_;
};

}  // namespace

Result<std::unique_ptr<File>> OpenDiskFile(const std::string& path, OpenMode mode) {
  const bool writable = mode == OpenMode::kReadWrite;
  std::wstring wide;
  if (!Widen(path, wide)) {
    return base::MakeError(base::ErrorCode::kIo, "cannot open " + path + ": not UTF-8");
  }
  // Others may read, write, rename and delete meanwhile, as on POSIX. A directory cannot be
  // opened without FILE_FLAG_BACKUP_SEMANTICS, so it fails here with kIo.
  const HANDLE handle =
      CreateFileW(wide.c_str(), writable ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD err = GetLastError();
    if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND) {
      return base::MakeError(base::ErrorCode::kNotFound, "no file " + path);
    }
    return base::MakeError(base::ErrorCode::kIo, Describe("cannot open", path, err));
  }
  // Devices (NUL, CON, COM1) and pipes open as well; only a file on disk is taken.
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    CloseHandle(handle);
    return base::MakeError(base::ErrorCode::kIo, path + " is not a regular file");
  }
  const uint64_t size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  return std::unique_ptr<File>(std::make_unique<Win32File>(handle, size, writable, path));
}

}  // namespace jet
