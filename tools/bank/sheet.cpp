#include "sheet.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "bank/cipher.h"
#include "text/gbk.h"

namespace banksrc {

using base::MakeError;
using base::Result;

namespace {

std::string Escape(const std::string& utf8) {
  std::string out;
  for (char c : utf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Base64(const std::string& bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t group = 0;
    for (size_t k = 0; k < 3; ++k) {
      group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    }
    for (size_t k = 0; k < 4; ++k) {
      out += k <= n ? kDigits[(group >> (18 - 6 * k)) & 63] : '=';
    }
  }
  return out;
}

// The picture column holds a GIF for flat artwork and a JPEG for the rest.
const char* MimeType(const std::string& picture) {
  if (picture.rfind("GIF8", 0) == 0) return "image/gif";
  if (picture.size() > 2 && static_cast<unsigned char>(picture[0]) == 0xFF &&
      static_cast<unsigned char>(picture[1]) == 0xD8) {
    return "image/jpeg";
  }
  return "application/octet-stream";
}

struct Card {
  std::string id, name, question, key;
  std::vector<std::string> options;
  std::string picture;
};

std::string RenderCard(const Card& c) {
  std::string html = "<figure id=\"q" + Escape(c.id) + "\"><img alt=\"" + Escape(c.id) +
                     "\" src=\"data:" + MimeType(c.picture) + ";base64," + Base64(c.picture) +
                     "\"><figcaption><b>" + Escape(c.id) + "</b> <small>" + Escape(c.name) +
                     "</small><p>" + Escape(c.question) + "</p><ol>";
  for (size_t i = 0; i < c.options.size(); ++i) {
    const char letter = static_cast<char>('A' + i);
    const bool right = c.key == std::string(1, letter);
    html += std::string(right ? "<li class=\"key\">" : "<li>") + letter + " " +
            Escape(c.options[i]) + "</li>";
  }
  return html + "</ol></figcaption></figure>\n";
}

}  // namespace

Result<std::string> ContactSheet(bank::Database& db) {
  const int32_t h = db.OpenTable("select * from test");
  if (h == 0) {
    const base::Error& why = db.last_error();
    return MakeError(why.code, "cannot read the table test: " + why.message);
  }
  std::map<std::string, std::vector<Card>> by_category;
  size_t count = 0;
  for (db.MoveFirst(h); !db.IsEOF(h); db.MoveNext(h)) {
    Card card;
    card.picture = bank::Decipher(db.ReadColByName(h, "pic").bytes);
    if (card.picture.empty()) continue;
    card.id = text::GbkToUtf8(db.ReadColByName(h, "id").bytes);
    card.name = text::GbkToUtf8(db.ReadColByName(h, "name").bytes);
    card.question = text::GbkToUtf8(bank::Decipher(db.ReadColByName(h, "timu").bytes));
    card.key = db.ReadColByName(h, "right_key").bytes;
    for (const char* column : {"a", "b", "c", "d"}) {
      const bank::Value option = db.ReadColByName(h, column);
      if (option.is_text() && !option.bytes.empty())
        card.options.push_back(text::GbkToUtf8(option.bytes));
    }
    by_category[card.id.substr(0, 2)].push_back(std::move(card));
    ++count;
  }
  db.CloseTable(h);

  std::string html =
      "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
      "<title>题库图片一览 / question pictures</title><style>"
      "body{font-family:sans-serif;margin:1em;background:#f4f4f4}"
      "nav a{margin-right:.8em}"
      "section{display:flex;flex-wrap:wrap;gap:10px}"
      "figure{display:flex;gap:8px;width:470px;margin:0;padding:8px;background:#fff;"
      "border:1px solid #ccc}"
      "img{width:200px;height:200px;flex:none;border:1px solid #ddd}"
      "figcaption{font-size:13px}figcaption p{margin:.3em 0}ol{list-style:none;padding:0;margin:0}"
      ".key{font-weight:bold;color:#0a6b2d}"
      "</style></head><body>\n<h1>题库图片一览 / question pictures: " +
      std::to_string(count) + "</h1>\n<nav>";
  for (const auto& [category, cards] : by_category) {
    html += "<a href=\"#c" + category + "\">" + category + " (" + std::to_string(cards.size()) +
            ")</a>";
  }
  html += "</nav>\n";
  for (const auto& [category, cards] : by_category) {
    html += "<h2 id=\"c" + category + "\">" + category + "</h2>\n<section>\n";
    for (const Card& card : cards) html += RenderCard(card);
    html += "</section>\n";
  }
  return html + "</body></html>\n";
}

}  // namespace banksrc
