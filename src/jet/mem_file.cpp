// src/jet/mem_file.cpp
#include <cstring>

#include "jet/file.h"

namespace jet {

Result<void> MemFile::ReadAt(uint64_t offset, std::span<uint8_t> data) const {
  if (offset > bytes_.size() || data.size() > bytes_.size() - offset) {
    return base::MakeError(base::ErrorCode::kIo, "read past the end of the file");
  }
  if (!data.empty()) std::memcpy(data.data(), bytes_.data() + offset, data.size());
  return base::Ok();
}

Result<void> MemFile::WriteAt(uint64_t offset, std::span<const uint8_t> data) {
  if (!writable_) return base::MakeError(base::ErrorCode::kIo, "the file is open read-only");
  if (offset > bytes_.size() || data.size() > bytes_.size() - offset) {
    return base::MakeError(base::ErrorCode::kIo, "write past the end of the file");
  }
  if (!data.empty()) std::memcpy(bytes_.data() + offset, data.data(), data.size());
  return base::Ok();
}

}  // namespace jet
