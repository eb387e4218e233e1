#include "exam/random.h"

#include <algorithm>

namespace exam {

uint32_t RandomDraws::Seed(uint32_t tick_count) {
  const uint32_t seed = tick_count + offset_;
  offset_ += seed % 256 + 100;
  lcg_.Seed(seed);
  return seed;
}

namespace {

// Thin's removals on a list of positions of type P: the narrower the positions, the fewer
// bytes each removal moves. The live positions are kept[first, end): a removal in the front
// half moves the positions before it one place back and drops the first place, one in the
// back half moves those behind it one place forward, so it moves at most half of them.
template <typename P>
std::vector<size_t> KeptPositions(size_t count, size_t limit, RandomDraws& random,
                                  const std::function<void()>& after_each) {
  std::vector<P> kept(count);
  for (size_t i = 0; i < kept.size(); ++i) kept[i] = static_cast<P>(i);
  auto first = kept.begin();
  while (static_cast<size_t>(kept.end() - first) > limit) {
    const auto live = kept.end() - first;
    const auto r = random.Draw(static_cast<int32_t>(live)) - 1;
    if (r < live / 2) {
      std::move_backward(first, first + r, first + r + 1);
      ++first;
    } else {
      kept.erase(first + r);
    }
    if (after_each) after_each();
  }
  return std::vector<size_t>(first, kept.end());
}

}  // namespace

std::vector<size_t> Thin(size_t count, size_t limit, RandomDraws& random,
                         const std::function<void()>& after_each) {
  // The draws remove places from a list of places: the same survivors as erasing the
  // candidates themselves, without moving ~1,300 of them up a place for each of ~1,200 draws.
  return count <= 0x10000 ? KeptPositions<uint16_t>(count, limit, random, after_each)
                          : KeptPositions<uint32_t>(count, limit, random, after_each);
}

void Shuffle(std::vector<std::string>& ids, RandomDraws& random) {
  // The draws pick from the positions not yet drawn; each id then moves once, into its place.
  std::vector<uint32_t> undrawn(ids.size());
  for (size_t i = 0; i < undrawn.size(); ++i) undrawn[i] = static_cast<uint32_t>(i);
  std::vector<std::string> drawn;
  drawn.reserve(ids.size());
  for (int32_t i = static_cast<int32_t>(ids.size()); i >= 1; --i) {
    const int32_t r = random.Draw(i);
    drawn.push_back(std::move(ids[undrawn[static_cast<size_t>(r - 1)]]));
    undrawn.erase(undrawn.begin() + (r - 1));
  }
  ids = std::move(drawn);
}

}  // namespace exam
