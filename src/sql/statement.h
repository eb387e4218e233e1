// The Access SQL subset the trainer runs, parsed into a statement tree.
//
//   select * from T [where C]
//   select count(*) [as NAME] from T [where C]
//   update T set COL = N [where C]
//
// Conditions: or / and / not with the usual precedence, parentheses, = <> < <= > >= on numbers
// and texts, left(text, n), integer and string literals ('it''s'). Keywords and names are
// case-insensitive.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace sql {

enum class CompareOp { kEq, kNe, kLt, kLe, kGt, kGe };

struct Expr {
  enum class Kind { kColumn, kInteger, kString, kLeft, kCompare, kAnd, kOr, kNot };
  Kind kind = Kind::kInteger;
  std::u16string name;                      // kColumn: the column; kLeft: unused
  int64_t integer = 0;                      // kInteger
  std::u16string text;                      // kString
  CompareOp op = CompareOp::kEq;            // kCompare
  std::vector<std::unique_ptr<Expr>> args;  // operands / function arguments
};

struct Statement {
  enum class Kind { kSelectAll, kSelectCount, kUpdate };
  Kind kind = Kind::kSelectAll;
  std::u16string table;
  std::u16string count_name;    // select count(*): the result column's name (Expr1000 unless named)
  std::unique_ptr<Expr> where;  // null when there is no where clause
  std::u16string set_column;    // update
  int64_t set_value = 0;        // update
};

// Parses one statement (a trailing ";" is allowed). kSyntax with the position of the fault.
base::Result<Statement> Parse(std::u16string_view text);

// Parses statement after statement, reusing the last one's tree for a text that differs from
// it only inside its text literals (where no new literal may hold the quote that encloses it):
// a program that runs one statement for many values ("... where id='0100001'", then "...
// where id='0100007'") tokenizes it and builds its tree once.
class ReusingParser {
 public:
  // The statement of `text`, as Parse gives it; valid until the next call.
  base::Result<const Statement*> Parse(std::u16string_view text);
  // How many statements were answered with the last tree.
  int64_t reuses() const { return reuses_; }

  // Where a text literal's characters lie in the text, and the node that holds them.
  struct Literal {
    size_t at = 0;
    size_t size = 0;
    Expr* node = nullptr;
  };

 private:
  // Whether `text` is the last text with other characters in its literals; if so, puts them in.
  bool Refill(std::u16string_view text);

  std::u16string text_;
  std::optional<Statement> statement_;  // none after a failed parse
  std::vector<Literal> literals_;       // in the order of the text
  int64_t reuses_ = 0;
};

// Case-insensitive equality of names (ASCII letters fold).
bool SameName(std::u16string_view a, std::u16string_view b);

}  // namespace sql
