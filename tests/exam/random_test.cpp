// The random draws: the generator against its published outputs, the seeding rule, thinning
// (exactly 100 kept, each candidate equally likely) and the shuffle (a permutation, every order
// equally likely).
#include "exam/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using exam::Lcg;
using exam::RandomDraws;

std::vector<std::string> Ids(int n) {
  std::vector<std::string> ids;
  for (int i = 0; i < n; ++i) ids.push_back("q" + std::to_string(i));
  return ids;
}

// The ids at the places that thinning a list as long as `ids` keeps.
std::vector<std::string> Thinned(const std::vector<std::string>& ids, size_t limit,
                                 RandomDraws& random, const std::function<void()>& after_each) {
  std::vector<std::string> kept;
  for (size_t place : exam::Thin(ids.size(), limit, random, after_each)) {
    kept.push_back(ids.at(place));
  }
  return kept;
}

TEST(RandomDraws, GeneratorGivesTheWellKnownSequenceForSeedOne) {
  Lcg lcg(1);
  std::vector<int32_t> out;
  for (int i = 0; i < 10; ++i) out.push_back(lcg.Next());
  EXPECT_EQ(out, (std::vector<int32_t>{41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962,
                                       24464}));
}

TEST(RandomDraws, SeedsDifferWithinOneMillisecond) {
  RandomDraws random;
  EXPECT_EQ(random.Seed(1000), 1000u);  // offset 0 at start
  EXPECT_EQ(random.Seed(1000), 1332u);  // + 1000 % 256 + 100
  EXPECT_EQ(random.Seed(1000), 1484u);  // offset 332 + 1332 % 256 + 100
  RandomDraws wrapping;
  EXPECT_EQ(wrapping.Seed(0xFFFFFFFFu), 0xFFFFFFFFu);
  EXPECT_EQ(wrapping.Seed(0xFFFFFFFFu), 354u) << "tick + offset wraps at 2^32";
}

TEST(RandomDraws, DrawStaysWithinOneToK) {
  RandomDraws random;
  random.Seed(7);
  for (int32_t k : {1, 2, 3, 100, 1389, 32768, 40000}) {
    for (int i = 0; i < 2000; ++i) {
      const int32_t r = random.Draw(k);
      ASSERT_GE(r, 1);
      ASSERT_LE(r, k);
    }
  }
}

TEST(Thinning, KeepsExactlyTheLimitInOrderAndRunsEventsAfterEachRemoval) {
  RandomDraws random;
  random.Seed(12345);
  std::vector<std::string> ids = Ids(1389);
  int events = 0;
  ids = Thinned(ids, 100, random, [&] { ++events; });
  ASSERT_EQ(ids.size(), 100u);
  EXPECT_EQ(events, 1289);
  std::vector<int> numbers;
  for (const auto& id : ids) numbers.push_back(std::stoi(id.substr(1)));
  EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end())) << "database order kept";
  EXPECT_EQ(std::adjacent_find(numbers.begin(), numbers.end()), numbers.end());
}

// Thinning removes, for each draw r from 1 to the list's length, the r-th id of the list as it
// stands: the survivors must be exactly those of erasing the ids one by one, for lists that
// end inside a block of positions, on its edge, and across many of them.
TEST(Thinning, KeepsTheSameSurvivorsAsErasingOneByOne) {
  for (int n : {101, 128, 129, 150, 700, 1389}) {
    for (uint32_t seed : {1u, 977u, 65535u}) {
      RandomDraws random, reference;
      random.Seed(seed);
      reference.Seed(seed);
      std::vector<std::string> ids = Ids(n);
      ids = Thinned(ids, 100, random, nullptr);
      std::vector<std::string> erased = Ids(n);
      while (erased.size() > 100) {
        erased.erase(erased.begin() + (reference.Draw(static_cast<int32_t>(erased.size())) - 1));
      }
      EXPECT_EQ(ids, erased) << n << " ids, seed " << seed;
    }
  }
}

// A list too long for narrow positions (more than 65,536 ids) is thinned as well.
TEST(Thinning, KeepsTheSameSurvivorsForAListOfMoreThan65536) {
  RandomDraws random, reference;
  random.Seed(3);
  reference.Seed(3);
  std::vector<std::string> ids = Ids(70000);
  ids = Thinned(ids, 69900, random, nullptr);
  std::vector<std::string> erased = Ids(70000);
  while (erased.size() > 69900) {
    erased.erase(erased.begin() + (reference.Draw(static_cast<int32_t>(erased.size())) - 1));
  }
  EXPECT_EQ(ids, erased);
}

TEST(Thinning, LeavesAShortListWholeAndDrawsNothing) {
  RandomDraws random;
  random.Seed(5);
  std::vector<std::string> ids = Ids(100);
  ids = Thinned(ids, 100, random, [] { FAIL() << "no removal, no events"; });
  EXPECT_EQ(ids, Ids(100));
  RandomDraws fresh;
  fresh.Seed(5);
  EXPECT_EQ(random.Draw(1000), fresh.Draw(1000)) << "the generator was not advanced";
}

// 150 candidates thinned to 100, many times over: every candidate must survive in about two
// thirds of the runs. A draw that can never hit the first or the last place, or hits one place
// too often, shows up far outside the bound.
TEST(Thinning, EveryCandidateSurvivesWithTheSameChance) {
  RandomDraws random;
  constexpr int kRuns = 6000;
  std::vector<int> kept(150, 0);
  for (int run = 0; run < kRuns; ++run) {
    random.Seed(static_cast<uint32_t>(run * 7919));
    std::vector<std::string> ids = Ids(150);
    ids = Thinned(ids, 100, random, nullptr);
    for (const auto& id : ids) ++kept[static_cast<size_t>(std::stoi(id.substr(1)))];
  }
  const double expected = kRuns * 100.0 / 150.0;
  const double sigma = std::sqrt(kRuns * (2.0 / 3.0) * (1.0 / 3.0));
  double chi_square = 0;
  for (size_t i = 0; i < kept.size(); ++i) {
    EXPECT_NEAR(kept[i], expected, 5 * sigma) << "candidate " << i;
    chi_square += (kept[i] - expected) * (kept[i] - expected) / (sigma * sigma);
  }
  // 150 degrees of freedom (roughly): mean 150, standard deviation about 17.
  EXPECT_LT(chi_square, 150 + 6 * 17.3);
}

TEST(Shuffle, IsTheOrderOfDrawing) {
  RandomDraws random;
  random.Seed(1);  // draws 41, 18467, 6334, 26500: positions 2 of 4, 3 of 3, 1 of 2, 1 of 1
  std::vector<std::string> ids = {"a", "b", "c", "d"};
  exam::Shuffle(ids, random);
  EXPECT_EQ(ids, (std::vector<std::string>{"b", "d", "a", "c"}));
}

TEST(Shuffle, IsTheOrderOfMovingEachDrawnIdToTheEnd) {
  for (uint32_t seed : {1u, 4242u, 99991u}) {
    RandomDraws random, reference;
    random.Seed(seed);
    reference.Seed(seed);
    std::vector<std::string> ids = Ids(100);
    exam::Shuffle(ids, random);
    std::vector<std::string> moved = Ids(100);
    for (int32_t i = 100; i >= 1; --i) {
      const auto at = moved.begin() + (reference.Draw(i) - 1);
      const std::string drawn = *at;
      moved.erase(at);
      moved.push_back(drawn);
    }
    EXPECT_EQ(ids, moved) << "seed " << seed;
  }
}

TEST(Shuffle, IsAPermutationWithEveryOrderEquallyLikely) {
  RandomDraws random;
  std::map<std::vector<std::string>, int> orders;
  constexpr int kRuns = 6000;
  for (int run = 0; run < kRuns; ++run) {
    random.Seed(static_cast<uint32_t>(run * 104729));
    std::vector<std::string> ids = {"x", "y", "z"};
    exam::Shuffle(ids, random);
    ++orders[ids];
  }
  EXPECT_EQ(orders.size(), 6u);
  for (const auto& [order, count] : orders) EXPECT_NEAR(count, kRuns / 6, 150);

  random.Seed(99);
  std::vector<std::string> ids = Ids(100);
  exam::Shuffle(ids, random);
  std::vector<std::string> sorted = ids;
  std::sort(sorted.begin(), sorted.end());
  std::vector<std::string> original = Ids(100);
  std::sort(original.begin(), original.end());
  EXPECT_EQ(sorted, original);
  EXPECT_NE(ids, Ids(100));
  std::vector<std::string> none;
  exam::Shuffle(none, random);
  EXPECT_TRUE(none.empty());
}

}  // namespace
