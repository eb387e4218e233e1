#include "exam/random.h"

namespace exam {

uint32_t RandomDraws::Seed(uint32_t tick_count) {
  const uint32_t seed = tick_count + offset_;
  offset_ += seed % 256 + 100;
  lcg_.Seed(seed);
  return seed;
}

void Thin(std::vector<std::string>& ids, size_t limit, RandomDraws& random,
          const std::function<void()>& after_each) {
  while (ids.size() > limit) {
    const int32_t r = random.Draw(static_cast<int32_t>(ids.size()));
    ids.erase(ids.begin() + (r - 1));
    if (after_each) after_each();
  }
}

void Shuffle(std::vector<std::string>& ids, RandomDraws& random) {
  for (int32_t i = static_cast<int32_t>(ids.size()); i >= 1; --i) {
    const int32_t r = random.Draw(i);
    std::string drawn = std::move(ids[static_cast<size_t>(r - 1)]);
    ids.erase(ids.begin() + (r - 1));
    ids.push_back(std::move(drawn));
  }
}

}  // namespace exam
