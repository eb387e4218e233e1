// Reading the question bank the way the paper builder and the statistics need it: typed column
// values (a value of another kind is a fatal data error), texts quoted for SQL, and the category
// filter of a licence class.
#pragma once

#include <cstdint>
#include <string>

#include "base/result.h"

namespace bank {
class Database;
struct Value;
}  // namespace bank

namespace exam {

// `text` between apostrophes, each apostrophe in it doubled, so that a hand-edited bank cannot
// break a statement or change what it does.
std::string SqlQuoted(const std::string& text);

// A text column's value; WrongKind for anything else.
base::Result<std::string> TextOf(bank::Value value);
// A byte-string column's value; WrongKind for anything else.
base::Result<std::string> BytesOf(bank::Value value);
// An 8/16/32-bit integer as it is, a single or double truncated toward zero (and held to the
// 32-bit range); NumberExpected for anything else.
base::Result<int32_t> NumberOf(const bank::Value& value);

// The condition selecting the questions of `licence_class` by category code:
// "left(id,2)='01' or left(id,2)='02'", one term per config row whose class column is above 0,
// in the bank's order. Empty when no row selects the class (or the class is no column).
base::Result<std::string> BuildCategoryFilter(bank::Database& db, const std::string& licence_class);

}  // namespace exam
