// The working paper: QuestionRecord and QuestionSet, positions 1 to n (at most 100).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace exam {

// One question of the paper. Texts are GBK; `pic` is the bytes of a picture file.
struct QuestionRecord {
  std::string id;
  int32_t reserved = 0;  // the mastery counter as it was when the paper was built
  std::string question;  // name, one blank, the deciphered question text
  std::string a;
  std::string b;
  std::string c;
  std::string d;
  std::string pic;
  std::string right_key;
  std::string answer;  // the learner's letter; empty until answered
};

// Owns its records. Every record added gets a key of its own that is never given again during
// the run, so an operation that let nested commands run can tell whether "its" record is still
// in the paper (a new paper's records are other records, even at the same position).
class QuestionSet {
 public:
  int32_t size() const { return static_cast<int32_t>(entries_.size()); }
  bool empty() const { return entries_.empty(); }

  // The record at `position` (1-based); null outside 1..size().
  QuestionRecord* At(int32_t position);
  const QuestionRecord* At(int32_t position) const;
  // The key of the record at `position`; 0 outside 1..size().
  uint64_t KeyAt(int32_t position) const;
  // Where the record with `key` stands; 0 when it is not in the paper.
  int32_t PositionOf(uint64_t key) const;

  void Append(QuestionRecord record);
  // Takes out the record at `position`; those behind it move up. Ignored outside 1..size().
  void RemoveAt(int32_t position);
  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    Entry(uint64_t k, QuestionRecord&& r) : key(k), record(std::move(r)) {}
    uint64_t key;
    QuestionRecord record;
  };
  std::vector<Entry> entries_;
  uint64_t next_key_ = 1;
};

}  // namespace exam
