#include "table_export.h"

#include <type_traits>
#include <variant>

#include "bank/database.h"
#include "jet/database.h"
#include "json_lines.h"
#include "text/gbk.h"

namespace banksrc {

using base::Result;

namespace {

void WriteValue(const jet::Value& value, JsonLines& out) {
  std::visit(
      [&out](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          out.Null();
        } else if constexpr (std::is_same_v<T, bool>) {
          out.Bool(v);
        } else if constexpr (std::is_same_v<T, uint8_t> || std::is_same_v<T, int16_t> ||
                             std::is_same_v<T, int32_t>) {
          out.Integer(v);
        } else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>) {
          out.Real(v);
        } else if constexpr (std::is_same_v<T, jet::Currency>) {
          out.Currency(v.scaled);
        } else if constexpr (std::is_same_v<T, jet::DateTime>) {
          out.DateTime(v.days);
        } else if constexpr (std::is_same_v<T, jet::Guid>) {
          out.Guid(v.bytes);
        } else if constexpr (std::is_same_v<T, jet::Numeric>) {
          out.Raw("\"" + v.ToString() + "\"");
        } else if constexpr (std::is_same_v<T, std::u16string>) {
          out.Text(std::u16string_view(v));
        } else {
          static_assert(std::is_same_v<T, std::vector<uint8_t>>);
          out.Hex(v.data(), v.size());
        }
      },
      value);
}

void WriteValue(const bank::Value& value, JsonLines& out) {
  using K = bank::Value::Kind;
  switch (value.kind) {
    case K::kNone:
      out.Null();
      return;
    case K::kText:
      out.Text(text::GbkToUtf8(value.bytes));
      return;
    case K::kBytes:
      out.Hex(reinterpret_cast<const uint8_t*>(value.bytes.data()), value.bytes.size());
      return;
    case K::kBool:
      out.Bool(value.integer != 0);
      return;
    case K::kInt8:
    case K::kInt16:
    case K::kInt32:
      out.Integer(value.integer);
      return;
    case K::kFloat:
      out.Real(static_cast<float>(value.real));
      return;
    case K::kDouble:
      out.Real(value.real);
      return;
    case K::kDateTime:
      out.DateTime(value.real);
      return;
  }
  out.Null();
}

}  // namespace

std::vector<std::string> UserTables(const jet::Database& db) {
  std::vector<std::string> names;
  for (const jet::CatalogEntry& entry : db.tables()) {
    if (!entry.system) names.push_back(text::Utf16ToUtf8(entry.name));
  }
  return names;
}

Result<void> ExportTable(jet::Database& db, std::u16string_view table, JsonLines& out) {
  EXAMORA_ASSIGN_OR_RETURN(const jet::TableDef def, db.ReadTable(table));
  std::vector<std::string> names;
  for (const jet::Column& c : def.columns)
    names.push_back(JsonLines::Quote(text::Utf16ToUtf8(c.name)));
  const int columns = static_cast<int>(def.columns.size());
  Result<void> failed = base::Ok();
  EXAMORA_TRY(db.ScanRowViews(def, [&](const jet::RowView& row) {
    out.BeginRow();
    for (int i = 0; i < columns; ++i) {
      auto value = db.ReadValue(def, row, i);
      if (!value) {
        out.DropRow();
        failed = base::MakeError(value.error().code, value.error().message);
        return false;
      }
      out.Member(names[static_cast<size_t>(i)]);
      WriteValue(*value, out);
    }
    failed = out.EndRow();
    return failed.has_value();
  }));
  return failed;
}

Result<void> ExportRecordSet(bank::Database& db, int32_t handle, JsonLines& out) {
  std::vector<std::string> names;
  for (const std::string& name : db.ColumnNames(handle)) {
    names.push_back(JsonLines::Quote(text::GbkToUtf8(name)));
  }
  for (db.MoveFirst(handle); !db.IsEOF(handle); db.MoveNext(handle)) {
    out.BeginRow();
    for (size_t i = 0; i < names.size(); ++i) {
      out.Member(names[i]);
      WriteValue(db.ReadColByIndex(handle, static_cast<int>(i) + 1), out);
    }
    EXAMORA_TRY(out.EndRow());
  }
  return base::Ok();
}

}  // namespace banksrc
