// Runs parsed statements against a Jet 4 database with Access semantics: rows come back in
// the table's physical order; a condition that is unknown (it meets a null) does not select a
// row; an update is checked in full before anything is written and is on disk when it returns
// (unless the file defers its sync: then it is on disk when the deferral ends).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/result.h"
#include "jet/database.h"
#include "sql/statement.h"

namespace sql {

// The matching rows: their table, their places, and a copy of their bytes one after the other.
struct Selection {
  std::shared_ptr<const jet::TableDef> table;
  std::vector<jet::RowId> ids;
  std::vector<size_t> ends;  // where each row's bytes end in `bytes`
  std::vector<uint8_t> bytes;

  size_t size() const { return ids.size(); }
  jet::RowView row(size_t i) const {
    const size_t begin = i == 0 ? 0 : ends[i - 1];
    return {ids[i], std::span<const uint8_t>(bytes).subspan(begin, ends[i] - begin)};
  }
};

// select * ...: the matching rows.
base::Result<Selection> Select(jet::Database& db, const Statement& statement);
// select count(*) ...: the number of matching rows.
base::Result<int64_t> Count(jet::Database& db, const Statement& statement);
// update ...: the number of rows changed.
base::Result<int64_t> Update(jet::Database& db, const Statement& statement);

}  // namespace sql
