// Creates a complete new Jet 4 (Access 2000) database in memory.
//
// The output holds the header (with the database password, if any), the catalog and the system
// objects that independent readers expect, and the user tables with their rows and long values.
// The same input always gives the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/result.h"
#include "jet/types.h"

namespace jet {

struct WriterColumn {
  std::string name;  // UTF-8, at most 64 characters
  ColumnType type = ColumnType::kText;
  // Text: the field size in characters (1..255); ignored for the other types.
  uint16_t length = 255;
  bool required = false;  // true: no nulls allowed (the writer refuses a null)
};

// An index of a table, kept on one leaf page. Keys may be built from Text columns holding ASCII
// letters and digits only (compared without case, as Jet's General sort order does) and from
// Long Integer columns; nulls are allowed except in a primary key.
struct WriterIndex {
  std::string name;                  // UTF-8, the rules of column names
  std::vector<std::string> columns;  // 1..10 column names, each ascending
  bool unique = false;
  bool primary_key = false;  // unique, and no nulls
};

struct WriterTable {
  std::string name;  // UTF-8
  std::vector<WriterColumn> columns;
  std::vector<std::vector<CellValue>> rows;  // one CellValue per column, in column order
  std::vector<WriterIndex> indexes;          // may be empty
};

struct WriterOptions {
  // The database password, at most 20 characters; empty for none.
  std::u16string password;
  // The creation time stored in the header (an OLE date: days since 1899-12-30). Part of the
  // input so that the output is deterministic; it also keys the password mask.
  double creation_date = 45000.0;
};

// Builds the file. Refuses (kInvalid) a value whose type does not fit its column, a null in a
// required column, a text longer than its field size, a bad name, too many columns.
// Also kInvalid: a null in a Boolean column (its value is the null-mask bit), a row wider than
// 4,060 bytes once long values have moved out, a long value of 16 MiB or more, a file past
// 2 GB; an index naming a missing column or one twice, more than 32 indexes or two primary keys
// in a table, a duplicate key in a unique index, a null in a primary key. kUnsupported: a column
// type other than those of CellValue (plus Date/Time as a double and Binary as bytes); an index
// on another type than Text and Long Integer, over an empty text or a text with a character
// other than ASCII letters and digits, or with more entries than one index page holds (about
// 3,600 bytes: some 400 keys of two digits).
base::Result<std::vector<uint8_t>> WriteDatabase(const std::vector<WriterTable>& tables,
                                                 const WriterOptions& options);

}  // namespace jet
