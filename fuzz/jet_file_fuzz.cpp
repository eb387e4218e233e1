// Any byte string opened as a database must give values or errors, never a crash. The input
// is laid over a real file from the start of a page it chooses (the header page included), so
// the fuzzer starts from valid structure.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_banks.h"
#include "jet/database.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the file (its low bit) and the page (the rest).
  const std::vector<uint8_t>& base = (data[0] & 1) ? fuzzing::AccessSample() : fuzzing::SmallBank();
  if (base.size() < 2 * jet::kPageSize) return 0;
  const size_t pages = base.size() / jet::kPageSize;
  auto file = std::make_unique<fuzzing::OverlayFile>(base, false);
  file->Lay((data[0] >> 1) % pages * jet::kPageSize, {data + 1, size - 1});
  auto db = jet::Database::Open(std::move(file), u"pw");
  if (!db) return 0;
  for (const auto& entry : (*db)->tables()) {
    if (entry.system) continue;
    auto table = (*db)->ReadTable(entry.name);
    if (!table) continue;
    (void)(*db)->CheckTable(*table);
    (void)(*db)->ScanRows(*table, [&](const jet::Row& row) {
      for (size_t c = 0; c < table->columns.size(); ++c) {
        (void)(*db)->ReadValue(*table, row, static_cast<int>(c));
      }
      return true;
    });
  }
  return 0;
}
