#include "exam/random.h"

namespace exam {

uint32_t RandomDraws::Seed(uint32_t tick_count) {
  const uint32_t seed = tick_count + offset_;
  offset_ += seed % 256 + 100;
  lcg_.Seed(seed);
  return seed;
}

namespace {

// The positions still in a list of n, each found by its rank among those left: a tree of
// counts (each node counts the positions left in the run of positions it covers), so that
// finding and removing the r-th of ~1,300 positions takes a dozen steps instead of moving
// the positions behind it up a place.
class RemainingPositions {
 public:
  explicit RemainingPositions(size_t n) : counts_(n + 1, 0), left_(n) {
    for (size_t i = 1; i <= n; ++i) {
      counts_[i] += 1;
      const size_t parent = i + (i & (~i + 1));
      if (parent <= n) counts_[parent] += counts_[i];
    }
    top_ = 1;
    while (top_ * 2 <= n) top_ *= 2;
  }
  size_t size() const { return left_; }
  // Removes the `rank`-th remaining position (1-based, at most size()).
  void RemoveRank(size_t rank) {
    size_t at = 0;  // the last position with fewer than `rank` left up to it
    for (size_t step = top_; step > 0; step /= 2) {
      if (at + step < counts_.size() && counts_[at + step] < rank) {
        at += step;
        rank -= counts_[at];
      }
    }
    for (size_t i = at + 1; i < counts_.size(); i += i & (~i + 1)) --counts_[i];
    --left_;
    removed_.push_back(at);
  }
  // The positions left, in order.
  std::vector<bool> Kept() const {
    std::vector<bool> kept(counts_.size() - 1, true);
    for (size_t p : removed_) kept[p] = false;
    return kept;
  }

 private:
  std::vector<uint32_t> counts_;  // 1-based
  size_t left_;
  size_t top_ = 0;  // the highest power of two not above n
  std::vector<size_t> removed_;
};

}  // namespace

void Thin(std::vector<std::string>& ids, size_t limit, RandomDraws& random,
          const std::function<void()>& after_each) {
  if (ids.size() <= limit) return;
  // The draws remove ranks from the positions left: the same survivors as erasing the ids
  // themselves, without moving ~1,300 strings up a place for each of ~1,200 removals.
  RemainingPositions left(ids.size());
  while (left.size() > limit) {
    left.RemoveRank(static_cast<size_t>(random.Draw(static_cast<int32_t>(left.size()))));
    if (after_each) after_each();
  }
  const std::vector<bool> kept = left.Kept();
  std::vector<std::string> survivors;
  survivors.reserve(left.size());
  for (size_t i = 0; i < ids.size(); ++i) {
    if (kept[i]) survivors.push_back(std::move(ids[i]));
  }
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
