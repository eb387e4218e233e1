#include <forward_list>
#include <limits>

#include "jet/names.h"
#include "sql/statement.h"

namespace sql {
namespace {

using base::ErrorCode;
using base::MakeError;
using base::Result;

bool IsIdentStart(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c >= 0x80;
}
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

struct Token {
  enum class Kind { kEnd, kIdent, kInteger, kString, kSymbol };
  Kind kind = Kind::kEnd;
  // The identifier as written, the string's value or the symbol: a view of the statement, or
  // of the parser's own copy for a string with doubled quotes.
  std::u16string_view text;
  int64_t integer = 0;
  size_t position = 0;
  bool quoted = false;   // [bracketed] identifier: never a keyword
  bool doubled = false;  // a text literal with doubled quotes, whose text is the parser's copy
};

// Nesting deeper than this is refused rather than risking the stack.
constexpr int kMaxDepth = 200;

class Parser {
 public:
  // `literals`, when given, receives where each text literal without doubled quotes lies.
  explicit Parser(std::u16string_view text, std::vector<ReusingParser::Literal>* literals = nullptr)
      : text_(text), literals_(literals) {}

  Result<Statement> Run() {
    EXAMORA_TRY(Tokenize());
    Statement s;
    if (Keyword(u"select")) {
      if (Symbol(u"*")) {
        s.kind = Statement::Kind::kSelectAll;
      } else if (Keyword(u"count")) {
        if (!Symbol(u"(") || !Symbol(u"*") || !Symbol(u")")) return Fail("expected count(*)");
        s.kind = Statement::Kind::kSelectCount;
        s.count_name = u"Expr1000";
        if (Keyword(u"as")) {
          if (Peek().kind != Token::Kind::kIdent) return Fail("expected a name after as");
          s.count_name = Next().text;
        }
      } else {
        return Fail("expected * or count(*) after select");
      }
      if (!Keyword(u"from")) return Fail("expected from");
      EXAMORA_ASSIGN_OR_RETURN(s.table, Name("a table name"));
    } else if (Keyword(u"update")) {
      s.kind = Statement::Kind::kUpdate;
      EXAMORA_ASSIGN_OR_RETURN(s.table, Name("a table name"));
      if (!Keyword(u"set")) return Fail("expected set");
      EXAMORA_ASSIGN_OR_RETURN(s.set_column, Name("a column name"));
      if (!Symbol(u"=")) return Fail("expected =");
      const bool negative = Symbol(u"-");
      if (!negative) (void)Symbol(u"+");
      if (Peek().kind != Token::Kind::kInteger) return Fail("expected a whole number");
      s.set_value = negative ? -Next().integer : Next().integer;
    } else {
      return Fail("expected select or update");
    }
    if (Keyword(u"where")) {
      EXAMORA_ASSIGN_OR_RETURN(s.where, Or(0));
    }
    (void)Symbol(u";");
    if (Peek().kind != Token::Kind::kEnd) return Fail("unexpected text");
    return s;
  }

 private:
  Result<void> Tokenize() {
    // Tokens are rarely shorter than four characters with their blank.
    tokens_.reserve(text_.size() / 4 + 2);
    size_t i = 0;
    while (true) {
      while (i < text_.size() &&
             (text_[i] == u' ' || text_[i] == u'\t' || text_[i] == u'\r' || text_[i] == u'\n')) {
        ++i;
      }
      Token t;
      t.position = i;
      if (i == text_.size()) {
        tokens_.push_back(t);
        return base::Ok();
      }
      const char16_t c = text_[i];
      if (IsIdentStart(c)) {
        t.kind = Token::Kind::kIdent;
        const size_t start = i;
        while (i < text_.size() && (IsIdentStart(text_[i]) || IsDigit(text_[i]))) ++i;
        t.text = text_.substr(start, i - start);
      } else if (c == u'[') {
        t.kind = Token::Kind::kIdent;
        t.quoted = true;
        const size_t start = ++i;
        while (i < text_.size() && text_[i] != u']') ++i;
        t.text = text_.substr(start, i - start);
        if (i == text_.size() || t.text.empty()) return Fail(t.position, "unfinished [name]");
        ++i;
      } else if (IsDigit(c)) {
        t.kind = Token::Kind::kInteger;
        while (i < text_.size() && IsDigit(text_[i])) {
          const int digit = text_[i++] - u'0';
          if (t.integer > (std::numeric_limits<int64_t>::max() - digit) / 10) {
            return Fail(t.position, "number too large");
          }
          t.integer = t.integer * 10 + digit;
        }
        if (i < text_.size() && (IsIdentStart(text_[i]) || text_[i] == u'.')) {
          return Fail(t.position, "only whole numbers are supported");
        }
      } else if (c == u'\'' || c == u'"') {
        t.kind = Token::Kind::kString;
        ++i;
        // The run up to the next quote, then a doubled quote (one quote of the text) or the end.
        // Only a text with doubled quotes needs a copy of its own.
        std::u16string* unquoted = nullptr;
        while (true) {
          const size_t quote = text_.find(c, i);
          if (quote == std::u16string_view::npos) {
            return Fail(t.position, "unfinished text literal");
          }
          const std::u16string_view run = text_.substr(i, quote - i);
          i = quote + 1;
          const bool doubled = i < text_.size() && text_[i] == c;
          if (!doubled && unquoted == nullptr) {
            t.text = run;
            break;
          }
          if (unquoted == nullptr) unquoted = &unquoted_.emplace_front();
          unquoted->append(run);
          if (!doubled) break;
          *unquoted += c;
          ++i;
        }
        if (unquoted != nullptr) {
          t.text = *unquoted;
          t.doubled = true;
        }
      } else {
        t.kind = Token::Kind::kSymbol;
        static constexpr std::u16string_view kTwo[] = {u"<>", u"<=", u">=", u"!="};
        bool two = false;
        for (auto s : kTwo) {
          if (text_.substr(i, 2) == s) {
            t.text = s == u"!=" ? u"<>" : s;
            i += 2;
            two = true;
            break;
          }
        }
        if (!two) {
          if (std::u16string_view(u"*(),=<>;-+").find(c) == std::u16string_view::npos) {
            return Fail(t.position, "unexpected character");
          }
          t.text = text_.substr(i, 1);
          ++i;
        }
      }
      tokens_.push_back(t);
    }
  }

  const Token& Peek() const { return tokens_[pos_]; }
  const Token& Next() { return tokens_[pos_ < tokens_.size() - 1 ? pos_++ : pos_]; }

  bool Keyword(std::u16string_view word) {
    const Token& t = Peek();
    if (t.kind == Token::Kind::kIdent && !t.quoted && SameName(t.text, word)) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool IsKeywordNext(std::u16string_view word) {
    const Token& t = Peek();
    return t.kind == Token::Kind::kIdent && !t.quoted && SameName(t.text, word);
  }
  bool Symbol(std::u16string_view s) {
    const Token& t = Peek();
    if (t.kind == Token::Kind::kSymbol && t.text == s) {
      ++pos_;
      return true;
    }
    return false;
  }
  static bool Reserved(const Token& t) {
    if (t.quoted) return false;
    for (auto w : {u"select", u"from", u"where", u"and", u"or", u"not", u"update", u"set"}) {
      if (SameName(t.text, w)) return true;
    }
    return false;
  }
  Result<std::u16string> Name(const char* what) {
    const Token& t = Peek();
    if (t.kind != Token::Kind::kIdent || Reserved(t)) return Fail(std::string("expected ") + what);
    return std::u16string(Next().text);
  }

  base::Unexpected<base::Error> Fail(size_t position, const std::string& what) const {
    return MakeError(ErrorCode::kSyntax, what + " at position " + std::to_string(position + 1));
  }
  base::Unexpected<base::Error> Fail(const std::string& what) const {
    return Fail(Peek().position, what);
  }

  static std::unique_ptr<Expr> Node(Expr::Kind kind) {
    auto e = std::make_unique<Expr>();
    e->kind = kind;
    return e;
  }

  // A chain of terms joined by one operator becomes one node with all the terms as operands,
  // so that a long flat chain costs no depth in the binder, the evaluator or the destructor.
  Result<std::unique_ptr<Expr>> Or(int depth) {
    if (depth > kMaxDepth) return Fail("condition nested too deeply");
    EXAMORA_ASSIGN_OR_RETURN(auto first, And(depth + 1));
    if (!IsKeywordNext(u"or")) return first;
    auto e = Node(Expr::Kind::kOr);
    e->args.push_back(std::move(first));
    while (Keyword(u"or")) {
      EXAMORA_ASSIGN_OR_RETURN(auto next, And(depth + 1));
      e->args.push_back(std::move(next));
    }
    return e;
  }

  Result<std::unique_ptr<Expr>> And(int depth) {
    EXAMORA_ASSIGN_OR_RETURN(auto first, Not(depth + 1));
    if (!IsKeywordNext(u"and")) return first;
    auto e = Node(Expr::Kind::kAnd);
    e->args.push_back(std::move(first));
    while (Keyword(u"and")) {
      EXAMORA_ASSIGN_OR_RETURN(auto next, Not(depth + 1));
      e->args.push_back(std::move(next));
    }
    return e;
  }

  Result<std::unique_ptr<Expr>> Not(int depth) {
    if (depth > kMaxDepth) return Fail("condition nested too deeply");
    if (Keyword(u"not")) {
      EXAMORA_ASSIGN_OR_RETURN(auto inner, Not(depth + 1));
      auto e = Node(Expr::Kind::kNot);
      e->args.push_back(std::move(inner));
      return e;
    }
    return Comparison(depth + 1);
  }

  Result<std::unique_ptr<Expr>> Comparison(int depth) {
    EXAMORA_ASSIGN_OR_RETURN(auto left, Primary(depth + 1));
    static const std::pair<std::u16string_view, CompareOp> kOps[] = {
        {u"=", CompareOp::kEq},  {u"<>", CompareOp::kNe}, {u"<", CompareOp::kLt},
        {u"<=", CompareOp::kLe}, {u">", CompareOp::kGt},  {u">=", CompareOp::kGe}};
    for (const auto& [symbol, op] : kOps) {
      if (Symbol(symbol)) {
        EXAMORA_ASSIGN_OR_RETURN(auto right, Primary(depth + 1));
        auto e = Node(Expr::Kind::kCompare);
        e->op = op;
        e->args.reserve(2);
        e->args.push_back(std::move(left));
        e->args.push_back(std::move(right));
        return e;
      }
    }
    return left;
  }

  Result<std::unique_ptr<Expr>> Primary(int depth) {
    if (depth > kMaxDepth) return Fail("condition nested too deeply");
    if (Symbol(u"(")) {
      EXAMORA_ASSIGN_OR_RETURN(auto inner, Or(depth + 1));
      if (!Symbol(u")")) return Fail("expected )");
      return inner;
    }
    const bool negative = Symbol(u"-");
    if (negative || Peek().kind == Token::Kind::kInteger) {
      if (Peek().kind != Token::Kind::kInteger) return Fail("expected a number after -");
      auto e = Node(Expr::Kind::kInteger);
      e->integer = negative ? -Next().integer : Next().integer;
      return e;
    }
    if (Peek().kind == Token::Kind::kString) {
      auto e = Node(Expr::Kind::kString);
      const Token& t = Next();
      e->text = t.text;
      if (literals_ != nullptr && !t.doubled) {
        literals_->push_back({t.position + 1, t.text.size(), e.get()});
      }
      return e;
    }
    if (Peek().kind == Token::Kind::kIdent && !Reserved(Peek())) {
      const Token name = Next();
      if (Symbol(u"(")) {
        if (name.quoted || !SameName(name.text, u"left")) {
          return Fail(name.position, "unknown function");
        }
        auto e = Node(Expr::Kind::kLeft);
        EXAMORA_ASSIGN_OR_RETURN(auto text, Or(depth + 1));
        if (!Symbol(u",")) return Fail("left takes two arguments");
        EXAMORA_ASSIGN_OR_RETURN(auto count, Or(depth + 1));
        if (!Symbol(u")")) return Fail("expected )");
        e->args.reserve(2);
        e->args.push_back(std::move(text));
        e->args.push_back(std::move(count));
        return e;
      }
      auto e = Node(Expr::Kind::kColumn);
      e->name = name.text;
      return e;
    }
    return Fail("expected a value");
  }

  std::u16string_view text_;
  std::vector<Token> tokens_;
  // Texts with doubled quotes, which tokens view: a list keeps them in place, and an empty one
  // allocates nothing.
  std::forward_list<std::u16string> unquoted_;
  size_t pos_ = 0;
  std::vector<ReusingParser::Literal>* literals_;
};

}  // namespace

// Keywords and names compare as Jet compares names.
bool SameName(std::u16string_view a, std::u16string_view b) { return jet::SameName(a, b); }

Result<Statement> Parse(std::u16string_view text) { return Parser(text).Run(); }

Result<const Statement*> ReusingParser::Parse(std::u16string_view text) {
  if (Refill(text)) {
    ++reuses_;
    return &*statement_;
  }
  statement_.reset();
  literals_.clear();
  EXAMORA_ASSIGN_OR_RETURN(Statement s, Parser(text, &literals_).Run());
  statement_ = std::move(s);
  text_.assign(text);
  return &*statement_;
}

bool ReusingParser::Refill(std::u16string_view text) {
  if (!statement_ || text.size() != text_.size()) return false;
  // The characters around the literals are the same, so the tokens are, as long as no new
  // literal holds its own quote, which would end it or double: only the literals' values differ.
  const std::u16string_view last = text_;
  size_t at = 0;
  for (const Literal& l : literals_) {
    if (text.substr(at, l.at - at) != last.substr(at, l.at - at)) return false;
    const char16_t quote = last[l.at - 1];
    if (text.substr(l.at, l.size).find(quote) != std::u16string_view::npos) return false;
    at = l.at + l.size;
  }
  if (text.substr(at) != last.substr(at)) return false;
  for (const Literal& l : literals_) l.node->text.assign(text.substr(l.at, l.size));
  text_.assign(text);
  return true;
}

}  // namespace sql
