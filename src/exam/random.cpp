#include "exam/random.h"

namespace exam {

uint32_t RandomDraws::Seed(uint32_t tick_count) {
  const uint32_t seed = tick_count + offset_;
  offset_ += seed % 256 + 100;
  lcg_.Seed(seed);
  return seed;
}

namespace {

// Thin's removals on a list of positions of type P: the narrower the positions, the fewer
// bytes each removal moves up.
template <typename P>
std::vector<size_t> KeptPositions(size_t count, size_t limit, RandomDraws& random,
                                  const std::function<void()>& after_each) {
  std::vector<P> kept(count);
  for (size_t i = 0; i < kept.size(); ++i) kept[i] = static_cast<P>(i);
  while (kept.size() > limit) {
    const int32_t r = random.Draw(static_cast<int32_t>(kept.size()));
    kept.erase(kept.begin() + (r - 1));
    if (after_each) after_each();
  }
  return std::vector<size_t>(kept.begin(), kept.end());
}

}  // namespace

void Thin(std::vector<std::string>& ids, size_t limit, RandomDraws& random,
          const std::function<void()>& after_each) {
  if (ids.size() <= limit) return;
  // The draws remove positions from a list of positions: the same survivors as erasing the ids
  // themselves, without moving ~1,300 strings up a place for each of ~1,200 removals.
  const std::vector<size_t> kept =
      ids.size() <= 0x10000 ? KeptPositions<uint16_t>(ids.size(), limit, random, after_each)
                            : KeptPositions<uint32_t>(ids.size(), limit, random, after_each);
  std::vector<std::string> survivors;
  survivors.reserve(kept.size());
  for (size_t i : kept) survivors.push_back(std::move(ids[i]));
  ids = std::move(survivors);
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
