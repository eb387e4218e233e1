// Question banks made to measure for the logic tests, and a rig that runs the exam operations
// on them with the fake host and no window.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bank/cipher.h"
#include "bank/database.h"
#include "bank/schema.h"
#include "exam/answers.h"
#include "exam/context.h"
#include "jet/writer.h"
#include "platform/fake/fake_host.h"
#include "support/process.h"
#include "text/gbk.h"
#include "ui/event_bindings.h"
#include "ui/windows.h"

namespace exam_testing {

inline const std::u16string kPassword = u"rq7m2kx9tv4wz8";

inline std::string G(const std::string& utf8) { return text::Utf8ToGbk(utf8); }

struct ConfigRow {
  std::string code;
  double c1c2c3c4 = 0;
  double a1a3b1 = 0;
  double a2b2 = 0;
  double m = 0;
  double def = 0;
};

// One row of test; texts UTF-8, an empty option or picture is stored as null.
struct Question {
  std::string id;
  std::string name = "1.1.1.1 ";
  std::string text = "题干";
  std::string a = "正确";
  std::string b = "错误";
  std::string c;
  std::string d;
  std::string right_key = "A";
  std::string pic;  // plain picture bytes
  int16_t reserved = 0;
};

struct BankContent {
  std::vector<ConfigRow> config;
  std::vector<Question> questions;
  // Last changes to the two tables before they are written (for banks with faulty columns).
  std::function<void(jet::WriterTable& config, jet::WriterTable& test)> tamper;
};

// Categories 01 and 02 belong to C1C2C3C4 (and A1A3B1), 08 to A1A3B1 only, 11 to DEF, 18 to
// no class.
inline std::vector<ConfigRow> StandardConfig() {
  return {{"01", 30, 30, 30, 30, 0},
          {"02", 20, 15, 15, 15, 0},
          {"08", 0, 5, 0, 0, 0},
          {"11", 0, 0, 0, 0, 30},
          {"18", 0, 0, 0, 0, 0}};
}

inline std::string Id(const std::string& code, int serial) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%05d", serial);
  return code + digits;
}

// `count` four-option questions of category `code`, serials from `first`; question i's text is
// "题<id>" and its right key cycles A, B, C, D.
inline std::vector<Question> FourOption(const std::string& code, int count, int first = 1) {
  std::vector<Question> out;
  for (int i = 0; i < count; ++i) {
    Question q;
    q.id = Id(code, first + i);
    q.text = "题" + q.id;
    q.a = "甲" + q.id;
    q.b = "乙" + q.id;
    q.c = "丙" + q.id;
    q.d = "丁" + q.id;
    q.right_key = std::string(1, static_cast<char>('A' + i % 4));
    out.push_back(q);
  }
  return out;
}

inline std::vector<uint8_t> BuildBank(const BankContent& content,
                                      const std::u16string& password = kPassword) {
  using jet::CellValue;
  auto u16 = [](const std::string& utf8) { return text::Utf8ToUtf16(utf8); };
  auto text_or_null = [&](const std::string& utf8) -> CellValue {
    if (utf8.empty()) return std::monostate{};
    return u16(utf8);
  };
  jet::WriterTable config = bank::schema::ConfigTable();
  for (const ConfigRow& r : content.config) {
    config.rows.push_back({u16(r.code), u16("类别" + r.code), std::monostate{}, u16("0"),
                           r.c1c2c3c4, r.a1a3b1, r.a2b2, r.m, r.def});
  }
  jet::WriterTable test = bank::schema::TestTable();
  for (const Question& q : content.questions) {
    const std::string timu = bank::Encipher(text::Utf8ToGbk(q.text));
    CellValue pic = std::monostate{};
    if (!q.pic.empty()) {
      const std::string enciphered = bank::Encipher(q.pic);
      pic = std::vector<uint8_t>(enciphered.begin(), enciphered.end());
    }
    test.rows.push_back({u16(q.id), u16(q.name), std::vector<uint8_t>(timu.begin(), timu.end()),
                         text_or_null(q.a), text_or_null(q.b), text_or_null(q.c), text_or_null(q.d),
                         u16(q.right_key), pic, q.reserved});
  }
  if (content.tamper) content.tamper(config, test);
  jet::WriterOptions options;
  options.password = password;
  auto bytes = jet::WriteDatabase({config, test}, options);
  EXPECT_TRUE(bytes.has_value()) << (bytes ? "" : bytes.error().message);
  return bytes ? *bytes : std::vector<uint8_t>{};
}

// Routes the score window's events and the clock's tick, as the program does.
class ExamSink : public ui::EventSink {
 public:
  explicit ExamSink(exam::Context& ctx) : ctx_(ctx) {}
  int32_t Handle(const ui::Event& event) override {
    auto operation = ui::FindBinding(event.control, event.kind);
    if (!operation) return 0;
    switch (*operation) {
      case ui::Operation::kShowPaperScore:
        exam::ShowPaperScore(ctx_);
        break;
      case ui::Operation::kCloseScoreWindow:
        exam::CloseScoreWindow(ctx_);
        break;
      case ui::Operation::kPaperClockTick:
        exam::PaperClockTick(ctx_);
        break;
      default:
        break;
    }
    return 0;
  }

 private:
  exam::Context& ctx_;
};

// Counts the property changes of a window.
class ChangeCounter : public ui::ControlObserver {
 public:
  void ControlChanged(const ui::Control& control, ui::Property) override {
    ++count;
    last = std::string(control.name());
  }
  int count = 0;
  std::string last;
};

// A paper of `n` records put straight into the context (no bank involved): question i has the
// text "Qi", options "ai" to "di" (only A and B for every third), right key A, B, C, D in turn
// (A for the two-option ones) and a picture "PICi" for every even i. Question 1 is current.
inline void PutPaper(exam::Context& ctx, int n) {
  ctx.paper.Clear();
  for (int i = 1; i <= n; ++i) {
    exam::QuestionRecord r;
    const std::string s = std::to_string(i);
    r.id = "01" + s;
    r.question = "Q" + s;
    r.a = "a" + s;
    r.b = "b" + s;
    const bool two_options = i % 3 == 0;
    r.c = two_options ? "" : "c" + s;
    r.d = two_options ? "" : "d" + s;
    r.right_key = two_options ? "A" : std::string(1, static_cast<char>('A' + (i - 1) % 4));
    r.pic = i % 2 == 0 ? "PIC" + s : "";
    ctx.paper.Append(r);
  }
  ctx.current_index = n > 0 ? 1 : 0;
}

inline exam::Pictures TestPictures() { return {"PLACEHOLDER-JPEG", "RIGHT-GIF", "WRONG-GIF"}; }

// The exam on a bank file in a temporary folder, with the fake host.
class ExamRig {
 public:
  explicit ExamRig(const BankContent& content, bool read_only = false)
      : path((dir.path() / "exam.sys").string()),
        ctx(main, score, db, host, TestPictures()),
        sink(ctx) {
    testing_support::WriteBytes(path, BuildBank(content));
    EXPECT_TRUE(db.Open(path, "", text::Utf16ToUtf8(kPassword), read_only))
        << db.last_error().message;
    host.Attach(&sink);
  }

  // The counter of question `id` as the file on disk holds it now (a connection of its own).
  int Reserved(const std::string& id) {
    bank::Database reader;
    if (!reader.Open(path, "", text::Utf16ToUtf8(kPassword), true)) return -1000;
    const int32_t set = reader.OpenTable("select * from test where id='" + id + "'");
    const bank::Value v = reader.ReadColByName(set, "reserved");
    return v.is_number() ? static_cast<int>(v.integer) : -2000;
  }

  // The ids of the paper in paper order.
  std::vector<std::string> PaperIds() const {
    std::vector<std::string> ids;
    for (int32_t i = 1; i <= ctx.paper.size(); ++i) ids.push_back(ctx.paper.At(i)->id);
    return ids;
  }

  testing_support::TempDir dir;
  std::string path;
  platform::FakeHost host;
  ui::MainWindow main;
  ui::ScoreWindow score;
  bank::Database db;
  exam::Context ctx;
  ExamSink sink;
};

}  // namespace exam_testing
