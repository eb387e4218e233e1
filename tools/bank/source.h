// The question bank's sources: categories.tsv and one text file per category (see
// assets/bank/README.md), read and checked. Every fault is reported with its file and line.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace banksrc {

// The five licence-class columns of a category, in table order.
inline constexpr std::array<const char*, 5> kClassColumns = {"C1C2C3C4", "A1A3B1", "A2B2", "M",
                                                             "DEF"};

struct Category {
  std::string code;      // "01"
  std::string name;      // UTF-8
  std::string test_num;  // the category's stated question count, as text
  std::array<double, 5> classes{};
};

struct Question {
  std::string id;                    // "0100001"
  std::string name;                  // "1.1.1.1" (without the trailing blank the bank stores)
  std::string question;              // UTF-8
  std::vector<std::string> options;  // 2 (true/false) or 4
  char answer = 'A';
  std::string picture;  // file name in pictures/, or empty
  std::string basis;
  std::string file;  // where it came from, for messages
  int line = 0;

  bool true_false() const { return options.size() == 2; }
};

struct Bank {
  std::vector<Category> categories;  // in code order
  std::vector<Question> questions;   // in id order
};

struct Fault {
  std::string file;
  int line = 0;
  std::string message;
  std::string ToString() const;  // "file:line: message"
};

// Screen limits, in half units (an ASCII character is one, any other character two).
inline constexpr int kQuestionHalfUnits = 174;  // three lines with room for the number
inline constexpr int kOptionHalfUnits = 40;     // one line of an option label

int HalfUnits(const std::string& utf8);
// Similarity of two texts from their character pairs (Dice coefficient, 0..1).
double Similarity(const std::string& a, const std::string& b);
// Texts at or above this similarity (with the same picture) ask the same thing.
inline constexpr double kAlikeThreshold = 0.9;

// Reads and checks `dir` (categories.tsv, NN.txt, pictures/). Faults go to `faults`; the bank
// is usable only when `faults` stays empty.
Bank ReadBank(const std::filesystem::path& dir, std::vector<Fault>& faults);

// Parses one category file's text (exposed for tests). `category` is the file's code.
std::vector<Question> ParseQuestions(const std::string& text, const std::string& file,
                                     const std::string& category, std::vector<Fault>& faults);
std::vector<Category> ParseCategories(const std::string& text, const std::string& file,
                                      std::vector<Fault>& faults);
// Checks shapes, limits and near-duplicates across `questions`; `pictures` is the folder the
// picture names refer to (empty path: pictures are not checked).
void CheckQuestions(const std::vector<Question>& questions, const std::filesystem::path& pictures,
                    std::vector<Fault>& faults);

}  // namespace banksrc
