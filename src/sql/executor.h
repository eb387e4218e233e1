// Runs parsed statements against a Jet 4 database with Access semantics: rows come back in
// the table's physical order; a condition that is unknown (it meets a null) does not select a
// row; an update is checked in full before anything is written and is on disk when it returns
// (unless the file defers its sync: then it is on disk when the deferral ends).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "base/result.h"
#include "jet/database.h"
#include "sql/statement.h"

namespace sql {

// The matching rows: their table, their places, and their bytes as they were when selected.
// The bytes lie in the engine's cached pages, which it never changes once handed out; the
// selection holds the pages (or, for a row outside them, a copy of its own).
struct Selection {
  std::shared_ptr<const jet::TableDef> table;
  std::vector<jet::RowId> ids;
  std::vector<std::span<const uint8_t>> bytes;  // each row's, inside one of `pages`
  std::vector<std::shared_ptr<const std::vector<uint8_t>>> pages;

  size_t size() const { return ids.size(); }
  jet::RowView row(size_t i) const { return {ids[i], bytes[i]}; }
};

// select * ...: the matching rows.
base::Result<Selection> Select(jet::Database& db, const Statement& statement);
// select count(*) ...: the number of matching rows.
base::Result<int64_t> Count(jet::Database& db, const Statement& statement);
// update ...: the number of rows changed.
base::Result<int64_t> Update(jet::Database& db, const Statement& statement);

}  // namespace sql
