// The files the fuzzers start from: a small question bank made with the writer (every page of
// it a few kilobytes, so that an input costs little), and a real sample file made by Access.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "support/bank_fixture.h"

namespace fuzzing {

inline const std::vector<uint8_t>& SmallBank() {
  static const std::vector<uint8_t> bytes = testing_support::BankImage(4);
  return bytes;
}

inline const std::vector<uint8_t>& AccessSample() {
  static const std::vector<uint8_t> bytes = [] {
    std::ifstream in(EXAMORA_SAMPLE_FILE, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }();
  return bytes;
}

}  // namespace fuzzing
