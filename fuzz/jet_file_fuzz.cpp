// Any byte string opened as a database must give values or errors, never a crash. The input
// is laid over a real sample file from page 1 on, so the fuzzer starts from valid structure.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "jet/database.h"

namespace {

const std::vector<uint8_t>& Base() {
  static const std::vector<uint8_t> bytes = [] {
    std::ifstream in(EXAMORA_SAMPLE_FILE, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }();
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes = Base();
  if (bytes.size() < 2 * jet::kPageSize) return 0;
  // The first input byte chooses where the rest lands; the header page stays intact.
  if (size == 0) return 0;
  const size_t pages = bytes.size() / jet::kPageSize;
  const size_t at = (1 + data[0] % (pages - 1)) * jet::kPageSize;
  for (size_t i = 1; i < size && at + i - 1 < bytes.size(); ++i) bytes[at + i - 1] = data[i];
  auto db = jet::Database::Open(std::make_unique<jet::MemFile>(bytes, false));
  if (!db) return 0;
  for (const auto& entry : (*db)->tables()) {
    auto table = (*db)->ReadTable(entry.name);
    if (!table) continue;
    (void)(*db)->ScanRows(*table, [&](const jet::Row& row) {
      for (size_t c = 0; c < table->columns.size(); ++c) {
        (void)(*db)->ReadValue(*table, row, static_cast<int>(c));
      }
      return true;
    });
  }
  return 0;
}
