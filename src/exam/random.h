// The random draws of the paper builder: a linear congruential generator (state * 214013 +
// 2531011 mod 2^32, output bits 16..30), seeded once per build from the tick count plus a
// running offset, and the two uses of it: thinning the candidates and shuffling them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace exam {

class Lcg {
 public:
  explicit Lcg(uint32_t seed = 0) : state_(seed) {}
  void Seed(uint32_t seed) { state_ = seed; }
  // The next output, 0 to 32767.
  int32_t Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int32_t>((state_ >> 16) & 0x7fff);
  }

 private:
  uint32_t state_;
};

class RandomDraws {
 public:
  // seed = tick count + offset; then offset grows by (seed mod 256) + 100, so two builds in
  // the same millisecond are still seeded differently. Returns the value it seeded with.
  uint32_t Seed(uint32_t tick_count);
  // Uniformly 1 to `k` (`k` >= 1): 1 + (next output mod k).
  int32_t Draw(int32_t k) { return 1 + lcg_.Next() % k; }

 private:
  uint32_t offset_ = 0;
  Lcg lcg_;
};

// Thins the positions 0 to `count` - 1 of a candidate list: while more than `limit` remain,
// removes the one at a place drawn from 1 to their number and then calls `after_each` (which
// lets pending events run). The survivors, in ascending order: the places of the candidates
// that erasing them one by one from the list itself would keep.
std::vector<size_t> Thin(size_t count, size_t limit, RandomDraws& random,
                         const std::function<void()>& after_each);

// For i from n down to 1: draws r from 1 to i and moves the r-th id to the end. The result is
// the order of drawing.
void Shuffle(std::vector<std::string>& ids, RandomDraws& random);

}  // namespace exam
