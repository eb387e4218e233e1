#include "exam/random.h"

#include <algorithm>

namespace exam {

uint32_t RandomDraws::Seed(uint32_t tick_count) {
  const uint32_t seed = tick_count + offset_;
  offset_ += seed % 256 + 100;
  lcg_.Seed(seed);
  return seed;
}

void Thin(std::vector<std::string>& ids, size_t limit, RandomDraws& random,
          const std::function<void()>& after_each) {
  if (ids.size() <= limit) return;
  // The draws remove positions from a list of positions, kept in blocks of at most kBlock: the
  // same survivors as erasing the ids themselves, and a removal moves at most a block's worth
  // of positions instead of ~1,300 strings up a place for each of ~1,200 removals.
  constexpr size_t kBlock = 64;
  const size_t blocks = (ids.size() + kBlock - 1) / kBlock;
  std::vector<uint32_t> kept(ids.size());
  std::vector<size_t> counts(blocks, kBlock);
  counts.back() = ids.size() - (blocks - 1) * kBlock;
  for (size_t i = 0; i < kept.size(); ++i) kept[i] = static_cast<uint32_t>(i);
  for (size_t left = ids.size(); left > limit; --left) {
    size_t r = static_cast<size_t>(random.Draw(static_cast<int32_t>(left))) - 1;
    size_t b = 0;
    while (r >= counts[b]) r -= counts[b++];
    uint32_t* block = kept.data() + b * kBlock;
    std::copy(block + r + 1, block + counts[b], block + r);
    --counts[b];
    if (after_each) after_each();
  }
  std::vector<std::string> survivors;
  survivors.reserve(limit);
  for (size_t b = 0; b < blocks; ++b) {
    for (size_t i = 0; i < counts[b]; ++i)
      survivors.push_back(std::move(ids[kept[b * kBlock + i]]));
  }
  ids = std::move(survivors);
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
