// src/jet/file.h
// jet::File: the byte store under a database. A disk implementation for real files and an
// in-memory one for tests, fuzzers and the writer. Knows nothing of pages or tables.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace jet {

using base::Result;

class File {
 public:
  virtual ~File() = default;
  // Reads exactly data.size() bytes at `offset`; kIo if the file is shorter or the read fails.
  virtual Result<void> ReadAt(uint64_t offset, std::span<uint8_t> data) const = 0;
  // Writes data.size() bytes at `offset`. kIo on failure; a failed write may have written part.
  virtual Result<void> WriteAt(uint64_t offset, std::span<const uint8_t> data) = 0;
  virtual uint64_t Size() const = 0;
  // Makes every completed write durable before it returns.
  virtual Result<void> Sync() = 0;
  virtual bool writable() const = 0;
  // Looks at the file again: takes in a new size, and says whether its bytes may have been
  // changed by anyone (another process included) since the last look. A file that cannot tell
  // says true, which costs only speed.
  virtual Result<bool> Refresh() { return true; }
};

enum class OpenMode { kReadOnly, kReadWrite };

// Opens an existing regular file. kNotFound when it does not exist, kIo for a directory or any
// other failure. The file is never created or truncated here.
Result<std::unique_ptr<File>> OpenDiskFile(const std::string& path, OpenMode mode);

// A file held in memory; writes change the held bytes. Never grows.
class MemFile : public File {
 public:
  explicit MemFile(std::string bytes, bool writable = true)
      : bytes_(std::move(bytes)), writable_(writable) {}
  explicit MemFile(const std::vector<uint8_t>& bytes, bool writable = true)
      : bytes_(bytes.begin(), bytes.end()), writable_(writable) {}
  static std::unique_ptr<MemFile> CopyOf(std::string_view bytes) {
    return std::make_unique<MemFile>(std::string(bytes));
  }

  Result<void> ReadAt(uint64_t offset, std::span<uint8_t> data) const override;
  Result<void> WriteAt(uint64_t offset, std::span<const uint8_t> data) override;
  uint64_t Size() const override { return bytes_.size(); }
  Result<void> Sync() override { return base::Ok(); }
  bool writable() const override { return writable_; }
  // Nobody but its owner writes a file in memory, and the owner's writes go through the
  // database, which keeps its pages up to date itself.
  Result<bool> Refresh() override { return false; }

  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
  bool writable_;
};

}  // namespace jet
