// In-place updates on a damaged bank: the input damages a few bytes of a small bank, then
// drives a run of updates of its fixed-width cells. Updates succeed or fail; they never crash,
// and a file that opened whole before opens again afterwards.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_banks.h"
#include "jet/database.h"

namespace {

jet::Value ValueFor(jet::ColumnType type, uint8_t raw) {
  switch (type) {
    case jet::ColumnType::kInt16:
      return static_cast<int16_t>(raw - 64);
    case jet::ColumnType::kInt32:
      return static_cast<int32_t>(raw * 1000);
    case jet::ColumnType::kDouble:
      return raw / 4.0;
    case jet::ColumnType::kBoolean:
      return (raw & 1) != 0;
    case jet::ColumnType::kByte:
      return raw;
    default:
      return std::monostate{};
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const std::vector<uint8_t>& base = fuzzing::SmallBank();
  // Damage: data[0] bytes taken from the input, laid at the offset data[1..2] names.
  const size_t offset = (size_t{data[1]} | size_t{data[2]} << 8) * 4 % base.size();
  const size_t damage = std::min({size_t{data[0]} % 16, size - 3, base.size() - offset});
  auto file = std::make_unique<fuzzing::OverlayFile>(base, true);
  file->Lay(offset, {data + 3, damage});
  size_t pos = 3 + damage;
  fuzzing::OverlayFile* raw = file.get();
  auto db = jet::Database::Open(std::move(file), u"pw");
  if (!db) return 0;
  std::vector<std::pair<jet::TableDef, std::vector<jet::RowId>>> tables;
  std::vector<bool> whole;
  for (const auto& entry : (*db)->tables()) {
    if (entry.system) continue;
    auto table = (*db)->ReadTable(entry.name);
    if (!table) continue;
    whole.push_back((*db)->CheckTable(*table).has_value());
    std::vector<jet::RowId> rows;
    (void)(*db)->ScanRows(*table, [&](const jet::Row& row) {
      rows.push_back(row.id);
      return rows.size() < 64;
    });
    tables.emplace_back(std::move(*table), std::move(rows));
  }
  if (tables.empty()) return 0;
  // Each group of four bytes: table, row, column, value; a group with the high bit of its
  // table byte set is flushed with the ones before it as one update.
  std::vector<jet::FixedUpdate> pending;
  const jet::TableDef* pending_table = nullptr;
  bool updated = false;
  auto flush = [&] {
    if (pending_table && !pending.empty()) {
      updated = (*db)->UpdateFixed(*pending_table, pending).has_value() || updated;
    }
    pending.clear();
  };
  for (; pos + 4 <= size; pos += 4) {
    auto& [table, rows] = tables[data[pos] % tables.size()];
    if (rows.empty() || table.columns.empty()) continue;
    if (pending_table != &table || (data[pos] & 0x80)) flush();
    pending_table = &table;
    const size_t column = data[pos + 2] % table.columns.size();
    pending.push_back({rows[data[pos + 1] % rows.size()], static_cast<int>(column),
                       (data[pos + 3] & 0x80)
                           ? jet::Value{}
                           : ValueFor(table.columns[column].type, data[pos + 3])});
  }
  flush();
  // A refused update writes nothing; then there is nothing more to look at.
  if (!updated) {
    if (raw->writes() != 0) __builtin_trap();
    return 0;
  }
  // A table that read whole before reads whole again: updates change cells, never structure.
  auto again = jet::Database::Open(raw->Copy(false), u"pw");
  if (!again) __builtin_trap();
  for (size_t i = 0; i < tables.size(); ++i) {
    if (whole[i] && !(*again)->CheckTable(tables[i].first)) __builtin_trap();
  }
  return 0;
}
