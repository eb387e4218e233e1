#include "jet/types.h"

#include "jet/database.h"
#include "jet/names.h"

namespace jet {

const char* ColumnTypeName(ColumnType type) {
  switch (type) {
    case ColumnType::kBoolean:
      return "Boolean";
    case ColumnType::kByte:
      return "Byte";
    case ColumnType::kInt16:
      return "Integer";
    case ColumnType::kInt32:
      return "Long Integer";
    case ColumnType::kCurrency:
      return "Currency";
    case ColumnType::kFloat:
      return "Single";
    case ColumnType::kDouble:
      return "Double";
    case ColumnType::kDateTime:
      return "DateTime";
    case ColumnType::kBinary:
      return "Binary";
    case ColumnType::kText:
      return "Text";
    case ColumnType::kLongBinary:
      return "OLE";
    case ColumnType::kMemo:
      return "Memo";
    case ColumnType::kGuid:
      return "Replication ID";
    case ColumnType::kNumeric:
      return "Numeric";
    case ColumnType::kComplex:
      return "Complex";
  }
  return "Unknown";
}

int TableDef::FindColumn(std::u16string_view wanted) const {
  for (size_t i = 0; i < columns.size(); ++i) {
    if (SameName(columns[i].name, wanted)) return static_cast<int>(i);
  }
  return -1;
}

int TableDef::FindAsciiColumn(std::string_view wanted) const {
  for (size_t i = 0; i < columns.size(); ++i) {
    if (SameAsciiName(columns[i].name, wanted)) return static_cast<int>(i);
  }
  return -1;
}

std::string Numeric::ToString() const {
  // Digits from the least significant up, then reversed.
  std::string reversed;
  unsigned __int128 m = magnitude;
  do {
    reversed.push_back(static_cast<char>('0' + static_cast<int>(m % 10)));
    m /= 10;
  } while (m != 0);
  while (reversed.size() <= scale && scale > 0) reversed.push_back('0');
  std::string out;
  out.reserve(reversed.size() + 2);
  if (negative) out.push_back('-');
  for (size_t i = reversed.size(); i > 0; --i) {
    out.push_back(reversed[i - 1]);
    if (i - 1 == scale && scale > 0) out.push_back('.');
  }
  return out;
}

}  // namespace jet
