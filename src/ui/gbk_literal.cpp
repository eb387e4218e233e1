#include "ui/gbk_literal.h"

#include <functional>
#include <mutex>
#include <unordered_map>

#include "text/gbk.h"

namespace ui {
namespace {

struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

}  // namespace

const std::string& G(std::string_view utf8) {
  // Keyed by content, not by address, so a text built at run time can never pick up another
  // text's conversion. Node-based: references to the values survive rehashing.
  static std::mutex mutex;
  static std::unordered_map<std::string, std::string, TextHash, std::equal_to<>> cache;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = cache.find(utf8);
  if (it == cache.end()) it = cache.emplace(std::string(utf8), text::Utf8ToGbk(utf8)).first;
  return it->second;
}

}  // namespace ui
