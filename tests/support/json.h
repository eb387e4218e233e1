// A small JSON reader for tests that compare with what the oracle scripts print. Numbers are
// kept as doubles and as their source text; strings are decoded to UTF-8. Not for untrusted
// input beyond tests: a parse error yields std::nullopt.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

struct Json {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };
  Kind kind = Kind::kNull;
  bool boolean = false;
  double number = 0;
  std::string text;  // strings; the source text of numbers
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> members;  // in source order

  bool is_null() const { return kind == Kind::kNull; }
  // The member named `key`, or a null value.
  const Json& operator[](std::string_view key) const {
    for (const auto& [name, value] : members) {
      if (name == key) return value;
    }
    static const Json kNull;
    return kNull;
  }
  const Json& operator[](size_t i) const { return items.at(i); }
  size_t size() const { return kind == Kind::kArray ? items.size() : members.size(); }
};

namespace json_detail {

class Parser {
 public:
  explicit Parser(std::string_view s) : s_(s) {}

  std::optional<Json> ParseDocument() {
    auto value = ParseValue();
    SkipSpace();
    if (!value || pos_ != s_.size()) return std::nullopt;
    return value;
  }

 private:
  void SkipSpace() {
    while (pos_ < s_.size() &&
           (s_[pos_] == ' ' || s_[pos_] == '\n' || s_[pos_] == '\r' || s_[pos_] == '\t')) {
      ++pos_;
    }
  }
  bool Literal(std::string_view word) {
    if (s_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }
  static void AppendUtf8(std::string* out, uint32_t cp) {
    if (cp < 0x80) {
      out->push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  std::optional<uint32_t> Hex4() {
    if (pos_ + 4 > s_.size()) return std::nullopt;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = s_[pos_++];
      v <<= 4;
      if (c >= '0' && c <= '9')
        v |= static_cast<uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f')
        v |= static_cast<uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        v |= static_cast<uint32_t>(c - 'A' + 10);
      else
        return std::nullopt;
    }
    return v;
  }
  std::optional<std::string> ParseString() {
    if (pos_ >= s_.size() || s_[pos_] != '"') return std::nullopt;
    ++pos_;
    std::string out;
    while (pos_ < s_.size() && s_[pos_] != '"') {
      char c = s_[pos_++];
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      if (pos_ >= s_.size()) return std::nullopt;
      c = s_[pos_++];
      switch (c) {
        case '"':
          out.push_back('"');
          break;
        case '\\':
          out.push_back('\\');
          break;
        case '/':
          out.push_back('/');
          break;
        case 'b':
          out.push_back('\b');
          break;
        case 'f':
          out.push_back('\f');
          break;
        case 'n':
          out.push_back('\n');
          break;
        case 'r':
          out.push_back('\r');
          break;
        case 't':
          out.push_back('\t');
          break;
        case 'u': {
          auto cp = Hex4();
          if (!cp) return std::nullopt;
          if (*cp >= 0xD800 && *cp <= 0xDBFF && Literal("\\u")) {
            auto low = Hex4();
            if (!low) return std::nullopt;
            *cp = 0x10000 + ((*cp - 0xD800) << 10) + (*low - 0xDC00);
          }
          AppendUtf8(&out, *cp);
          break;
        }
        default:
          return std::nullopt;
      }
    }
    if (pos_ >= s_.size()) return std::nullopt;
    ++pos_;
    return out;
  }
  std::optional<Json> ParseValue() {
    SkipSpace();
    if (pos_ >= s_.size()) return std::nullopt;
    Json value;
    const char c = s_[pos_];
    if (c == 'n' && Literal("null")) return value;
    if (c == 't' && Literal("true")) {
      value.kind = Json::Kind::kBool;
      value.boolean = true;
      return value;
    }
    if (c == 'f' && Literal("false")) {
      value.kind = Json::Kind::kBool;
      return value;
    }
    if (c == '"') {
      auto text = ParseString();
      if (!text) return std::nullopt;
      value.kind = Json::Kind::kString;
      value.text = std::move(*text);
      return value;
    }
    if (c == '[') {
      ++pos_;
      value.kind = Json::Kind::kArray;
      SkipSpace();
      if (pos_ < s_.size() && s_[pos_] == ']') {
        ++pos_;
        return value;
      }
      while (true) {
        auto item = ParseValue();
        if (!item) return std::nullopt;
        value.items.push_back(std::move(*item));
        SkipSpace();
        if (pos_ < s_.size() && s_[pos_] == ',') {
          ++pos_;
          continue;
        }
        if (pos_ < s_.size() && s_[pos_] == ']') {
          ++pos_;
          return value;
        }
        return std::nullopt;
      }
    }
    if (c == '{') {
      ++pos_;
      value.kind = Json::Kind::kObject;
      SkipSpace();
      if (pos_ < s_.size() && s_[pos_] == '}') {
        ++pos_;
        return value;
      }
      while (true) {
        SkipSpace();
        auto key = ParseString();
        if (!key) return std::nullopt;
        SkipSpace();
        if (pos_ >= s_.size() || s_[pos_] != ':') return std::nullopt;
        ++pos_;
        auto member = ParseValue();
        if (!member) return std::nullopt;
        value.members.emplace_back(std::move(*key), std::move(*member));
        SkipSpace();
        if (pos_ < s_.size() && s_[pos_] == ',') {
          ++pos_;
          continue;
        }
        if (pos_ < s_.size() && s_[pos_] == '}') {
          ++pos_;
          return value;
        }
        return std::nullopt;
      }
    }
    const size_t start = pos_;
    while (pos_ < s_.size() &&
           std::string_view("+-0123456789.eE").find(s_[pos_]) != std::string_view::npos) {
      ++pos_;
    }
    if (start == pos_) return std::nullopt;
    value.kind = Json::Kind::kNumber;
    value.text = std::string(s_.substr(start, pos_ - start));
    value.number = std::strtod(value.text.c_str(), nullptr);
    return value;
  }

  std::string_view s_;
  size_t pos_ = 0;
};

}  // namespace json_detail

inline std::optional<Json> ParseJson(std::string_view text) {
  return json_detail::Parser(text).ParseDocument();
}

}  // namespace testing_support
