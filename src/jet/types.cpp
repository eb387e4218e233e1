#include "jet/types.h"

namespace jet {

const char* ColumnTypeName(ColumnType type) {
  switch (type) {
    case ColumnType::kBoolean: return "Boolean";
    case ColumnType::kByte: return "Byte";
    case ColumnType::kInt16: return "Integer";
    case ColumnType::kInt32: return "Long Integer";
    case ColumnType::kCurrency: return "Currency";
    case ColumnType::kFloat: return "Single";
    case ColumnType::kDouble: return "Double";
    case ColumnType::kDateTime: return "DateTime";
    case ColumnType::kBinary: return "Binary";
    case ColumnType::kText: return "Text";
    case ColumnType::kLongBinary: return "OLE";
    case ColumnType::kMemo: return "Memo";
    case ColumnType::kGuid: return "Replication ID";
    case ColumnType::kNumeric: return "Numeric";
    case ColumnType::kComplex: return "Complex";
  }
  return "Unknown";
}

}  // namespace jet
