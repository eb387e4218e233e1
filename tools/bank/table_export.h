// Tables as JSON lines (see json_lines.h for the form of each value): any table of any Jet 4
// file read through the engine, and a record set of the database unit (the trainer's own view
// of a bank, texts in GBK).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace bank {
class Database;
}
namespace jet {
class Database;
}

namespace banksrc {

class JsonLines;

// The user tables of `db` (system tables left out), UTF-8, in catalog order.
std::vector<std::string> UserTables(const jet::Database& db);

// Writes every live row of the table named `table` (case-insensitive) to `out`, members in
// the table's column order, rows in the file's physical order. kNotFound when there is no
// such table; the engine's error (kCorrupt, kIo) when a row or long value cannot be read,
// after the rows before it went out.
base::Result<void> ExportTable(jet::Database& db, std::u16string_view table, JsonLines& out);

// Writes the rows of the unit's record set `handle` from its first row on.
base::Result<void> ExportRecordSet(bank::Database& db, int32_t handle, JsonLines& out);

}  // namespace banksrc
