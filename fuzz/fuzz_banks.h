// The files the fuzzers start from: a small question bank made with the writer (every page of
// it a few kilobytes, so that an input costs little), and a real sample file made by Access.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <span>
#include <vector>

#include "jet/database.h"
#include "jet/file.h"
#include "support/bank_fixture.h"

namespace fuzzing {

inline const std::vector<uint8_t>& SmallBank() {
  static const std::vector<uint8_t> bytes = testing_support::BankImage(4);
  return bytes;
}

inline const std::vector<uint8_t>& AccessSample() {
  static const std::vector<uint8_t> bytes = [] {
    std::ifstream in(EXAMORA_SAMPLE_FILE, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }();
  return bytes;
}

// A file over fixed bytes that keeps the pages it changes aside. Copying a whole file for every
// input (and the fresh memory that takes) costs more than reading what an input reaches.
class OverlayFile : public jet::File {
 public:
  OverlayFile(const std::vector<uint8_t>& base, bool writable) : base_(base), writable_(writable) {}
  // A second file over the same base with this one's changes.
  std::unique_ptr<OverlayFile> Copy(bool writable) const {
    auto copy = std::make_unique<OverlayFile>(base_, writable);
    copy->pages_ = pages_;
    return copy;
  }

  // Lays `data` over the bytes from `offset` on, cut at the end of the file.
  void Lay(uint64_t offset, std::span<const uint8_t> data) {
    if (offset >= base_.size()) return;
    data = data.first(std::min<size_t>(data.size(), base_.size() - offset));
    Visit(offset, data.size(), [&](uint64_t page, size_t in_page, size_t done, size_t n) {
      std::memcpy(Writable(page) + in_page, data.data() + done, n);
    });
  }

  base::Result<void> ReadAt(uint64_t offset, std::span<uint8_t> out) const override {
    if (offset > base_.size() || out.size() > base_.size() - offset) {
      return base::MakeError(base::ErrorCode::kIo, "read past the end of the file");
    }
    Visit(offset, out.size(), [&](uint64_t page, size_t in_page, size_t done, size_t n) {
      auto it = pages_.find(page);
      const uint8_t* from = it != pages_.end() ? it->second.data() + in_page
                                               : base_.data() + page * jet::kPageSize + in_page;
      std::memcpy(out.data() + done, from, n);
    });
    return base::Ok();
  }
  base::Result<void> WriteAt(uint64_t offset, std::span<const uint8_t> data) override {
    if (!writable_) return base::MakeError(base::ErrorCode::kIo, "the file is open read-only");
    if (offset > base_.size() || data.size() > base_.size() - offset) {
      return base::MakeError(base::ErrorCode::kIo, "write past the end of the file");
    }
    ++writes_;
    Lay(offset, data);
    return base::Ok();
  }
  // How many writes went through WriteAt (Lay does not count).
  size_t writes() const { return writes_; }
  uint64_t Size() const override { return base_.size(); }
  base::Result<void> Sync() override { return base::Ok(); }
  bool writable() const override { return writable_; }
  base::Result<bool> Refresh() override { return false; }

 private:
  // Calls `piece(page, offset in page, offset in the range, size)` for each page of a range.
  template <typename F>
  static void Visit(uint64_t offset, size_t size, F&& piece) {
    for (size_t done = 0; done < size;) {
      const uint64_t at = offset + done;
      const size_t in_page = static_cast<size_t>(at % jet::kPageSize);
      const size_t n = std::min(size - done, jet::kPageSize - in_page);
      piece(at / jet::kPageSize, in_page, done, n);
      done += n;
    }
  }
  uint8_t* Writable(uint64_t page) {
    auto [it, added] = pages_.try_emplace(page);
    if (added) {
      const size_t start = static_cast<size_t>(page * jet::kPageSize);
      const size_t n = std::min(jet::kPageSize, base_.size() - start);
      it->second.assign(base_.begin() + static_cast<ptrdiff_t>(start),
                        base_.begin() + static_cast<ptrdiff_t>(start + n));
      it->second.resize(jet::kPageSize);
    }
    return it->second.data();
  }

  const std::vector<uint8_t>& base_;
  bool writable_;
  std::map<uint64_t, std::vector<uint8_t>> pages_;
  size_t writes_ = 0;
};

}  // namespace fuzzing
