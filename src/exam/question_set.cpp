#include "exam/question_set.h"

namespace exam {

QuestionRecord* QuestionSet::At(int32_t position) {
  if (position < 1 || position > size()) return nullptr;
  return &entries_[static_cast<size_t>(position - 1)].record;
}

const QuestionRecord* QuestionSet::At(int32_t position) const {
  if (position < 1 || position > size()) return nullptr;
  return &entries_[static_cast<size_t>(position - 1)].record;
}

uint64_t QuestionSet::KeyAt(int32_t position) const {
  if (position < 1 || position > size()) return 0;
  return entries_[static_cast<size_t>(position - 1)].key;
}

int32_t QuestionSet::PositionOf(uint64_t key) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].key == key) return static_cast<int32_t>(i + 1);
  }
  return 0;
}

void QuestionSet::Append(QuestionRecord record) {
  entries_.emplace_back(next_key_++, std::move(record));
}

void QuestionSet::RemoveAt(int32_t position) {
  if (position < 1 || position > size()) return;
  entries_.erase(entries_.begin() + (position - 1));
}

}  // namespace exam
