// What every operation of the exam works on: the two windows' models, the question bank, the
// host, the pictures the program carries, and the one working paper with its position.
#pragma once

#include <cstdint>
#include <string>

#include "exam/question_set.h"
#include "exam/random.h"

namespace bank {
class Database;
}
namespace platform {
class Host;
}
namespace ui {
class MainWindow;
class ScoreWindow;
}  // namespace ui

namespace exam {

// Picture files (JPEG or GIF bytes) the logic puts on the screen itself.
struct Pictures {
  std::string placeholder;  // the question area without a question picture
  std::string right_mark;
  std::string wrong_mark;
};

// Everything referenced must outlive the context. All operations run on the window's thread.
struct Context {
  Context(ui::MainWindow& main_window, ui::ScoreWindow& score_window, bank::Database& database,
          platform::Host& system_host, Pictures carried)
      : main(main_window),
        score(score_window),
        db(database),
        host(system_host),
        pictures(std::move(carried)) {}
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;

  ui::MainWindow& main;
  ui::ScoreWindow& score;
  bank::Database& db;
  platform::Host& host;
  Pictures pictures;

  QuestionSet paper;          // the working paper
  int32_t current_index = 0;  // position of the shown question; 0: none
  RandomDraws random;         // its running offset lives for the whole run
  bool building = false;      // a paper is being built (events may run meanwhile)
};

}  // namespace exam
