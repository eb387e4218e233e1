#include "source.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "text/gbk.h"

namespace banksrc {
namespace {

std::string Trim(const std::string& s) {
  const char* blanks = " \t\r";
  const size_t a = s.find_first_not_of(blanks);
  if (a == std::string::npos) return {};
  const size_t b = s.find_last_not_of(blanks);
  return s.substr(a, b - a + 1);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string cur;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) lines.push_back(cur);
  if (!lines.empty() && lines[0].rfind("\xEF\xBB\xBF", 0) == 0) lines[0].erase(0, 3);
  return lines;
}

bool AllDigits(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string ReadFile(const std::filesystem::path& p, bool& ok) {
  std::ifstream in(p, std::ios::binary);
  ok = static_cast<bool>(in);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Characters of a UTF-8 text as code points.
std::u32string Chars(const std::string& s) {
  std::u32string out;
  std::u16string w = text::Utf8ToUtf16(s);
  for (char16_t c : w) out += static_cast<char32_t>(c);
  return out;
}

bool ValidName(const std::string& name) {
  // Four numbers joined by points.
  int parts = 0;
  std::string cur;
  for (char c : name + ".") {
    if (c == '.') {
      if (!AllDigits(cur)) return false;
      ++parts;
      cur.clear();
    } else {
      cur += c;
    }
  }
  return parts == 4;
}

}  // namespace

std::string Fault::ToString() const {
  return file + (line > 0 ? ":" + std::to_string(line) : "") + ": " + message;
}

int HalfUnits(const std::string& utf8) {
  int n = 0;
  for (char32_t c : Chars(utf8)) n += c < 0x80 ? 1 : 2;
  return n;
}

double Similarity(const std::string& a, const std::string& b) {
  auto pairs = [](const std::string& s) {
    std::u32string c = Chars(s);
    std::vector<uint64_t> out;
    for (size_t i = 0; i + 1 < c.size(); ++i) out.push_back(uint64_t{c[i]} << 32 | c[i + 1]);
    std::sort(out.begin(), out.end());
    return out;
  };
  auto x = pairs(a), y = pairs(b);
  if (x.empty() && y.empty()) return a == b ? 1.0 : 0.0;
  std::vector<uint64_t> common;
  std::set_intersection(x.begin(), x.end(), y.begin(), y.end(), std::back_inserter(common));
  return 2.0 * static_cast<double>(common.size()) / static_cast<double>(x.size() + y.size());
}

std::vector<Category> ParseCategories(const std::string& text, const std::string& file,
                                      std::vector<Fault>& faults) {
  std::vector<Category> out;
  int line_no = 0;
  for (const std::string& raw : Lines(text)) {
    ++line_no;
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> cells;
    std::string cur;
    for (char c : raw + "\t") {
      if (c == '\t') {
        cells.push_back(Trim(cur));
        cur.clear();
      } else {
        cur += c;
      }
    }
    if (cells.size() != 8) {
      faults.push_back(
          {file, line_no, "expected 8 tab-separated cells, found " + std::to_string(cells.size())});
      continue;
    }
    Category c;
    c.code = cells[0];
    c.name = cells[1];
    c.test_num = cells[2];
    if (c.code.size() != 2 || !AllDigits(c.code)) {
      faults.push_back({file, line_no, "category code must be two digits"});
      continue;
    }
    if (!AllDigits(c.test_num))
      faults.push_back({file, line_no, "question count must be a number"});
    for (size_t k = 0; k < 5; ++k) {
      if (!AllDigits(cells[3 + k])) {
        faults.push_back(
            {file, line_no,
             std::string("count for ") + kClassColumns[k] + " must be a whole number"});
        continue;
      }
      c.classes[k] = std::stod(cells[3 + k]);
    }
    if (!out.empty() && out.back().code >= c.code) {
      faults.push_back({file, line_no, "categories must be listed in code order without repeats"});
    }
    out.push_back(std::move(c));
  }
  for (size_t k = 0; k < 5; ++k) {
    double sum = 0;
    for (const auto& c : out) sum += c.classes[k];
    if (!out.empty() && sum != 100) {
      faults.push_back({file, 0,
                        std::string("the counts for ") + kClassColumns[k] + " add up to " +
                            std::to_string(static_cast<int>(sum)) + ", not 100"});
    }
  }
  return out;
}

std::vector<Question> ParseQuestions(const std::string& text, const std::string& file,
                                     const std::string& category, std::vector<Fault>& faults) {
  std::vector<Question> out;
  std::map<std::string, std::string> fields;
  std::map<std::string, int> field_lines;
  Question q;
  bool open = false;
  int expected_serial = 1;
  static const std::set<std::string> kKnown = {"name", "question", "A",       "B",    "C",
                                               "D",    "answer",   "picture", "basis"};
  auto finish = [&] {
    if (!open) return;
    open = false;
    auto need = [&](const char* key) {
      if (!fields.count(key)) faults.push_back({file, q.line, q.id + ": missing field " + key});
    };
    for (const char* key : {"name", "question", "A", "B", "answer", "basis"}) need(key);
    q.name = fields["name"];
    q.question = fields["question"];
    q.basis = fields["basis"];
    q.picture = fields.count("picture") ? fields["picture"] : "";
    q.options = {fields["A"], fields["B"]};
    const bool c = fields.count("C") > 0, d = fields.count("D") > 0;
    if (c != d) {
      faults.push_back(
          {file, q.line, q.id + ": C and D come together (four options) or not at all"});
    }
    if (c && d) {
      q.options.push_back(fields["C"]);
      q.options.push_back(fields["D"]);
    }
    const std::string answer = fields["answer"];
    if (answer.size() != 1 || answer[0] < 'A' || answer[0] > 'D') {
      if (fields.count("answer")) {
        faults.push_back({file, field_lines["answer"], q.id + ": the answer must be A, B, C or D"});
      }
    } else {
      q.answer = answer[0];
    }
    out.push_back(q);
  };
  int line_no = 0;
  for (const std::string& raw : Lines(text)) {
    ++line_no;
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') continue;
    if (line.front() == '[') {
      finish();
      if (line.back() != ']') {
        faults.push_back({file, line_no, "an id line looks like [0100001]"});
        continue;
      }
      q = Question{};
      q.id = line.substr(1, line.size() - 2);
      q.file = file;
      q.line = line_no;
      fields.clear();
      field_lines.clear();
      open = true;
      if (q.id.size() != 7 || !AllDigits(q.id)) {
        faults.push_back({file, line_no, "the id " + q.id + " is not seven digits"});
      } else if (q.id.substr(0, 2) != category) {
        faults.push_back(
            {file, line_no, "the id " + q.id + " does not belong to category " + category});
      } else if (std::stoi(q.id.substr(2)) != expected_serial) {
        char want[8];
        std::snprintf(want, sizeof want, "%05d", expected_serial);
        faults.push_back(
            {file, line_no,
             "the id " + q.id + " breaks the run of serials (expected " + category + want + ")"});
        expected_serial = std::stoi(q.id.substr(2)) + 1;
      } else {
        ++expected_serial;
      }
      continue;
    }
    if (!open) {
      faults.push_back({file, line_no, "text outside a question (a question starts with [id])"});
      continue;
    }
    const size_t colon = line.find(':');
    if (colon == std::string::npos) {
      faults.push_back({file, line_no, "expected key: value"});
      continue;
    }
    const std::string key = Trim(line.substr(0, colon));
    const std::string value = Trim(line.substr(colon + 1));
    if (!kKnown.count(key)) {
      faults.push_back({file, line_no, "unknown field " + key});
      continue;
    }
    if (fields.count(key)) {
      faults.push_back({file, line_no, "field " + key + " given twice"});
      continue;
    }
    fields[key] = value;
    field_lines[key] = line_no;
  }
  finish();
  return out;
}

void CheckQuestions(const std::vector<Question>& questions, const std::filesystem::path& pictures,
                    std::vector<Fault>& faults) {
  std::map<std::string, const Question*> ids;
  auto fault = [&](const Question& q, const std::string& what) {
    faults.push_back({q.file, q.line, q.id + ": " + what});
  };
  for (const Question& q : questions) {
    if (auto [it, fresh] = ids.emplace(q.id, &q); !fresh) {
      fault(q,
            "the id is also used at " + it->second->file + ":" + std::to_string(it->second->line));
    }
    if (!q.name.empty() && !ValidName(q.name)) fault(q, "name must be four numbers like 1.2.3.4");
    if (q.name.size() + 1 > 16)
      fault(q, "name longer than its column (16 characters with the blank)");
    if (q.question.empty()) fault(q, "empty question");
    if (q.true_false()) {
      if (q.options[0] != "正确" || q.options[1] != "错误") {
        fault(q, "a true/false question has the options A: 正确 and B: 错误");
      }
      if (q.answer != 'A' && q.answer != 'B') fault(q, "a true/false question is answered A or B");
    } else {
      for (size_t i = 0; i < q.options.size(); ++i) {
        if (q.options[i].empty()) fault(q, std::string("option ") + char('A' + i) + " is empty");
      }
      std::set<std::string> distinct(q.options.begin(), q.options.end());
      if (distinct.size() != q.options.size()) fault(q, "two options are the same");
    }
    if (static_cast<size_t>(q.answer - 'A') >= q.options.size()) {
      fault(q, std::string("the answer ") + q.answer + " names an option the question lacks");
    }
    for (const std::string* t : {&q.question, &q.name, &q.options[0], &q.options[1]}) {
      if (!text::FitsGbk(*t)) fault(q, "a character the bank's code page (GBK) cannot hold: " + *t);
    }
    for (size_t i = 2; i < q.options.size(); ++i) {
      if (!text::FitsGbk(q.options[i])) fault(q, "a character GBK cannot hold: " + q.options[i]);
    }
    if (HalfUnits(q.question) > kQuestionHalfUnits) {
      fault(q, "the question does not fit the three lines of the question label (" +
                   std::to_string(HalfUnits(q.question) / 2) + " of " +
                   std::to_string(kQuestionHalfUnits / 2) + " units)");
    }
    for (size_t i = 0; i < q.options.size(); ++i) {
      if (HalfUnits(q.options[i]) > kOptionHalfUnits) {
        fault(q, std::string("option ") + char('A' + i) + " does not fit its label (" +
                     std::to_string(HalfUnits(q.options[i]) / 2) + " of " +
                     std::to_string(kOptionHalfUnits / 2) + " units)");
      }
      if (text::Utf8ToUtf16(q.options[i]).size() > 255)
        fault(q, "option longer than 255 characters");
    }
    if (!q.picture.empty() && !pictures.empty()) {
      const bool safe = q.picture.find('/') == std::string::npos &&
                        q.picture.find('\\') == std::string::npos && q.picture[0] != '.';
      if (!safe || !std::filesystem::is_regular_file(pictures / q.picture)) {
        fault(q, "picture " + q.picture + " not found in " + pictures.string());
      }
    }
  }
  // Near-duplicates: the same question asked twice (pictures differing makes them different).
  for (size_t i = 0; i < questions.size(); ++i) {
    for (size_t j = i + 1; j < questions.size(); ++j) {
      const Question& a = questions[i];
      const Question& b = questions[j];
      if (a.picture != b.picture) continue;
      if (Similarity(a.question, b.question) >= kAlikeThreshold) {
        fault(b, "asks the same as " + a.id + " (" + a.file + ":" + std::to_string(a.line) + ")");
      }
    }
  }
}

Bank ReadBank(const std::filesystem::path& dir, std::vector<Fault>& faults) {
  Bank bank;
  bool ok = false;
  const auto tsv = dir / "categories.tsv";
  const std::string text = ReadFile(tsv, ok);
  if (!ok) {
    faults.push_back({tsv.string(), 0, "cannot read the category list"});
    return bank;
  }
  bank.categories = ParseCategories(text, tsv.string(), faults);
  for (const Category& c : bank.categories) {
    const auto path = dir / (c.code + ".txt");
    if (!std::filesystem::exists(path)) continue;  // a category without questions yet
    const std::string body = ReadFile(path, ok);
    if (!ok) {
      faults.push_back({path.string(), 0, "cannot read"});
      continue;
    }
    auto qs = ParseQuestions(body, path.string(), c.code, faults);
    bank.questions.insert(bank.questions.end(), qs.begin(), qs.end());
  }
  // A question file for a category the list does not name.
  std::set<std::string> known;
  for (const Category& c : bank.categories) known.insert(c.code + ".txt");
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    const std::string name = entry.path().filename().string();
    const bool category_like = name.size() >= 6 &&
                               std::isdigit(static_cast<unsigned char>(name[0])) &&
                               std::isdigit(static_cast<unsigned char>(name[1]));
    if (entry.path().extension() == ".txt" && category_like && !known.count(name)) {
      faults.push_back({entry.path().string(), 0,
                        "no category " + name.substr(0, name.size() - 4) + " in categories.tsv"});
    }
  }
  CheckQuestions(bank.questions, dir / "pictures", faults);
  std::stable_sort(bank.questions.begin(), bank.questions.end(),
                   [](const Question& a, const Question& b) { return a.id < b.id; });
  return bank;
}

}  // namespace banksrc
