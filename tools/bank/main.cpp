// examora-bank: builds, checks, exports and queries question bank files.
//
//   examora-bank check SOURCES              check the sources, print the faults
//   examora-bank build SOURCES OUT          build the bank file from the sources
//   examora-bank image OUT                  write the bank image built into the program
//   examora-bank export FILE TABLE [--password P]
//   examora-bank sql FILE [--password P] [STATEMENT]
//   examora-bank sheet FILE OUT [--password P]   the contact sheet of the pictures (HTML)
//
// export and sql print one JSON object per row (texts as UTF-8, byte strings as hex).
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "bank/database.h"
#include "build.h"
#include "sheet.h"
#include "source.h"
#include "text/gbk.h"

#ifdef EXAMORA_WITH_IMAGE
#include "bank/builtin_image.h"
#endif

namespace {

int Usage() {
  std::cerr << "usage:\n"
               "  examora-bank check SOURCES\n"
               "  examora-bank build SOURCES OUT\n"
#ifdef EXAMORA_WITH_IMAGE
               "  examora-bank image OUT\n"
#endif
               "  examora-bank export FILE TABLE [--password P]\n"
               "  examora-bank sql FILE [--password P] [STATEMENT]\n"
               "  examora-bank sheet FILE OUT [--password P]\n";
  return 2;
}

std::string Json(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string Json(const bank::Value& v) {
  using K = bank::Value::Kind;
  switch (v.kind) {
    case K::kNone: return "null";
    case K::kText: return Json(text::GbkToUtf8(v.bytes));
    case K::kBytes: {
      static const char* digits = "0123456789abcdef";
      std::string hex;
      for (unsigned char c : v.bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
      }
      return "\"" + hex + "\"";
    }
    case K::kBool: return v.integer ? "true" : "false";
    case K::kInt8:
    case K::kInt16:
    case K::kInt32: return std::to_string(v.integer);
    case K::kFloat:
    case K::kDouble:
    case K::kDateTime: {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.17g", v.real);
      return buf;
    }
  }
  return "null";
}

// Prints every row of `handle` as a JSON line.
void PrintRows(bank::Database& db, int32_t handle) {
  const auto names = db.ColumnNames(handle);
  for (db.MoveFirst(handle); !db.IsEOF(handle); db.MoveNext(handle)) {
    std::string line = "{";
    for (size_t i = 0; i < names.size(); ++i) {
      if (i) line += ",";
      line += Json(text::GbkToUtf8(names[i])) + ":" +
              Json(db.ReadColByIndex(handle, static_cast<int>(i) + 1));
    }
    std::cout << line << "}\n";
  }
}

std::string PasswordOption(std::vector<std::string>& args) {
  std::string password = text::Utf16ToUtf8(banksrc::kBankPassword);
  for (size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == "--password") {
      password = args[i + 1];
      args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
      break;
    }
  }
  return password;
}

bool OpenFile(bank::Database& db, const std::string& file, const std::string& password) {
  if (!db.OpenPath(file, text::Utf8ToGbk(password))) {
    std::cerr << "examora-bank: cannot open " << file << ": " << db.last_error() << "\n";
    return false;
  }
  return true;
}

// Runs one statement; false (after a message) when it fails.
bool RunStatement(bank::Database& db, const std::string& statement_utf8) {
  const std::string sql = text::Utf8ToGbk(statement_utf8);
  size_t start = sql.find_first_not_of(" \t\r\n");
  if (start == std::string::npos) return true;
  std::string head = sql.substr(start, 6);
  for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (head == "select") {
    const int32_t h = db.OpenTable(sql);
    if (h == 0) {
      std::cerr << "examora-bank: " << db.last_error() << "\n";
      return false;
    }
    PrintRows(db, h);
    db.CloseTable(h);
    return true;
  }
  if (!db.ExecuteSql(sql)) {
    std::cerr << "examora-bank: " << db.last_error() << "\n";
    return false;
  }
  std::cout << db.last_changed() << "\n";
  return true;
}

int Check(const std::string& sources, banksrc::Bank* out = nullptr) {
  std::vector<banksrc::Fault> faults;
  banksrc::Bank bank = banksrc::ReadBank(sources, faults);
  for (const auto& f : faults) std::cerr << f.ToString() << "\n";
  if (!faults.empty()) {
    std::cerr << "examora-bank: " << faults.size() << " fault(s) in " << sources << "\n";
    return 1;
  }
  if (out) *out = std::move(bank);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string verb = args[0];
  args.erase(args.begin());

  if (verb == "check" && args.size() == 1) {
    const int rc = Check(args[0]);
    if (rc == 0) std::cout << "examora-bank: " << args[0] << " is fine\n";
    return rc;
  }
  if (verb == "build" && args.size() == 2) {
    banksrc::Bank bank;
    if (int rc = Check(args[0], &bank)) return rc;
    // The SVG renderer needs a GUI application object; no screen is needed.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qt_argc = 1;
    QGuiApplication app(qt_argc, argv);
    auto image = banksrc::BuildImage(bank, std::filesystem::path(args[0]) / "pictures");
    if (!image) {
      std::cerr << "examora-bank: " << image.error().message << "\n";
      return 1;
    }
    auto written = banksrc::WriteFileAtomically(args[1], *image);
    if (!written) {
      std::cerr << "examora-bank: " << written.error().message << "\n";
      return 1;
    }
    std::cout << "examora-bank: " << bank.questions.size() << " questions, " << image->size()
              << " bytes -> " << args[1] << "\n";
    return 0;
  }
#ifdef EXAMORA_WITH_IMAGE
  if (verb == "image" && args.size() == 1) {
    const std::string_view image = bank::BuiltinImage();
    auto written = banksrc::WriteFileAtomically(
        args[0], std::vector<uint8_t>(image.begin(), image.end()));
    if (!written) {
      std::cerr << "examora-bank: " << written.error().message << "\n";
      return 1;
    }
    return 0;
  }
#endif
  if (verb == "export") {
    const std::string password = PasswordOption(args);
    if (args.size() != 2) return Usage();
    bank::Database db;
    if (!OpenFile(db, args[0], password)) return 1;
    return RunStatement(db, "select * from [" + args[1] + "]") ? 0 : 1;
  }
  if (verb == "sql") {
    const std::string password = PasswordOption(args);
    if (args.empty() || args.size() > 2) return Usage();
    bank::Database db;
    if (!OpenFile(db, args[0], password)) return 1;
    if (args.size() == 2) return RunStatement(db, args[1]) ? 0 : 1;
    bool ok = true;
    std::string line;
    while (std::getline(std::cin, line)) ok = RunStatement(db, line) && ok;
    return ok ? 0 : 1;
  }
  if (verb == "sheet") {
    const std::string password = PasswordOption(args);
    if (args.size() != 2) return Usage();
    bank::Database db;
    if (!OpenFile(db, args[0], password)) return 1;
    auto page = banksrc::ContactSheet(db);
    if (!page) {
      std::cerr << "examora-bank: " << page.error().message << "\n";
      return 1;
    }
    auto written = banksrc::WriteFileAtomically(
        args[1], std::vector<uint8_t>(page->begin(), page->end()));
    if (!written) {
      std::cerr << "examora-bank: " << written.error().message << "\n";
      return 1;
    }
    return 0;
  }
  return Usage();
}
