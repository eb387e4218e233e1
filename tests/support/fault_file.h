// A jet::File in memory that counts its flushes and can be told to fail them, or its writes
// (all of them, or only the N-th), for tests of what the layers above make of a disk that lets
// them down. Its bytes stay in the log, so a test can open them again after the database is
// gone, as after a restart.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "jet/file.h"

namespace testing_support {

class FaultFile : public jet::File {
 public:
  // What the test sets and reads; it outlives the file, which the database owns.
  struct Log {
    int syncs = 0;   // flushes asked for, failed ones included
    int writes = 0;  // writes asked for, failed ones included
    bool fail_syncs = false;
    bool fail_writes = false;
    int fail_write_at = 0;  // the write with this number (1-based) fails; 0 for none
    int fail_sync_at = 0;   // the same for flushes
    std::string bytes;      // the content: what the file starts with, then every write made
  };

  explicit FaultFile(Log& log) : log_(log), mem_(log.bytes) {}
  static std::unique_ptr<FaultFile> Over(Log& log, const std::vector<uint8_t>& bytes) {
    log.bytes.assign(bytes.begin(), bytes.end());
    return std::make_unique<FaultFile>(log);
  }

  base::Result<void> ReadAt(uint64_t offset, std::span<uint8_t> data) const override {
    return mem_.ReadAt(offset, data);
  }
  base::Result<void> WriteAt(uint64_t offset, std::span<const uint8_t> data) override {
    ++log_.writes;
    if (log_.fail_writes || log_.writes == log_.fail_write_at) {
      return base::MakeError(base::ErrorCode::kIo, "write refused");
    }
    EXAMORA_TRY(mem_.WriteAt(offset, data));
    log_.bytes.replace(offset, data.size(), reinterpret_cast<const char*>(data.data()),
                       data.size());
    return base::Ok();
  }
  uint64_t Size() const override { return mem_.Size(); }
  base::Result<void> Sync() override {
    ++log_.syncs;
    if (log_.fail_syncs || log_.syncs == log_.fail_sync_at) {
      return base::MakeError(base::ErrorCode::kIo, "sync refused");
    }
    return base::Ok();
  }
  bool writable() const override { return true; }

 private:
  Log& log_;
  jet::MemFile mem_;
};

}  // namespace testing_support
