// The question bank's two tables as the shipped file lays them out: every column of config and
// of test, in column order, with its type and field size. The bank builder writes files of this
// shape, the tests and benchmarks make small banks of it, and Database::Connect refuses a file
// that lacks one of these columns. Header only: it needs nothing but the jet writer's types.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "jet/types.h"
#include "jet/writer.h"

namespace bank::schema {

struct ColumnSpec {
  std::string_view name;  // ASCII
  jet::ColumnType type;
  uint16_t characters;  // a text column's field size; 0 for the other types
};

// NUMBERID (the two-digit category code), TESTNAME, TESTTYPE, TESTNUM, then one number column
// per licence class whose value above 0 puts the category in that class.
inline constexpr ColumnSpec kConfigColumns[] = {
    {"NUMBERID", jet::ColumnType::kText, 6},   {"TESTNAME", jet::ColumnType::kText, 70},
    {"TESTTYPE", jet::ColumnType::kText, 50},  {"TESTNUM", jet::ColumnType::kText, 5},
    {"C1C2C3C4", jet::ColumnType::kDouble, 0}, {"A1A3B1", jet::ColumnType::kDouble, 0},
    {"A2B2", jet::ColumnType::kDouble, 0},     {"M", jet::ColumnType::kDouble, 0},
    {"DEF", jet::ColumnType::kDouble, 0},
};

// timu is the enciphered question text, pic the enciphered picture, reserved the mastery
// counter.
inline constexpr ColumnSpec kTestColumns[] = {
    {"id", jet::ColumnType::kText, 50},        {"name", jet::ColumnType::kText, 16},
    {"timu", jet::ColumnType::kLongBinary, 0}, {"a", jet::ColumnType::kText, 255},
    {"b", jet::ColumnType::kText, 255},        {"c", jet::ColumnType::kText, 255},
    {"d", jet::ColumnType::kText, 255},        {"right_key", jet::ColumnType::kText, 1},
    {"pic", jet::ColumnType::kLongBinary, 0},  {"reserved", jet::ColumnType::kInt16, 0},
};

// A table named `name` with `columns`, no rows and no indexes, for the writer.
inline jet::WriterTable WriterTableOf(std::string name, std::span<const ColumnSpec> columns) {
  jet::WriterTable table;
  table.name = std::move(name);
  for (const ColumnSpec& c : columns) {
    jet::WriterColumn column;
    column.name = std::string(c.name);
    column.type = c.type;
    if (c.characters > 0) column.length = c.characters;
    table.columns.push_back(std::move(column));
  }
  return table;
}

inline jet::WriterTable ConfigTable() { return WriterTableOf("config", kConfigColumns); }
inline jet::WriterTable TestTable() { return WriterTableOf("test", kTestColumns); }

}  // namespace bank::schema
