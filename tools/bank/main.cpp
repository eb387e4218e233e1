// examora-bank: checks and builds the question bank, exports and queries Jet 4 files. Each verb
// explains itself with --help. Only `build` loads Qt (through the picture renderer module), so
// every other verb starts without it. examora-bank-build is the same program without the
// built-in bank image (no `image` verb); the build runs it to make the bank and the sheet.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "bank/database.h"
#include "build.h"
#include "jet/database.h"
#include "json_lines.h"
#include "picture_renderer.h"
#include "sheet.h"
#include "source.h"
#include "table_export.h"
#include "text/gbk.h"

#ifdef EXAMORA_WITH_IMAGE
#include "bank/builtin_image.h"
#endif

namespace {

// The exit codes; scripts rely on them, so keep the numbers.
enum ExitCode : int {
  kDone = 0,
  kFailed = 1,          // faults in the sources, a picture that does not render, a damaged row
  kUsage = 2,           // arguments the verb does not take
  kCannotOpen = 3,      // a file or folder that cannot be opened, an OUT that cannot be written
  kBadPassword = 4,     // the database password is missing or wrong
  kStatementFailed = 5  // a statement that fails, a table that is not there
};

constexpr char kExitCodesHelp[] =
    "Exit codes: 0 done; 1 faults in the sources or another failure; 2 wrong usage; 3 a file "
    "that cannot be opened, or an OUT that cannot be written; 4 a wrong or missing password; 5 a "
    "failing statement, or a table that is not there. Errors are one line on standard error.";

// Prints `message` as one line on standard error and gives `code` back.
int Fail(int code, std::string message) {
  for (char& c : message) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  std::fflush(stdout);
  std::cerr << "examora-bank: " << message << "\n";
  return code;
}

int FailOpening(const base::Error& error, const std::string& file) {
  return Fail(error.code == base::ErrorCode::kBadPassword ? kBadPassword : kCannotOpen,
              "cannot open " + file + ": " + error.message);
}

// The password for a file: the one given, else the bank's own (a file without a password
// opens with any).
struct Password {
  std::optional<std::string> given;
  std::u16string Utf16() const {
    return given ? text::Utf8ToUtf16(*given) : std::u16string(banksrc::kBankPassword);
  }
};

void AddPasswordOption(CLI::App* verb, Password& password) {
  verb->add_option("--password", password.given,
                   "the database password (default: the question bank's own)");
}

base::Result<std::unique_ptr<jet::Database>> OpenAnyFile(const std::string& file,
                                                         const Password& password) {
  return jet::Database::Open(file, jet::OpenMode::kReadOnly, password.Utf16());
}

// Opens a question bank through the trainer's database unit. The engine looks at the file
// first, so that a wrong password is told apart from a file that is no bank.
std::optional<int> OpenBank(bank::Database& db, const std::string& file, const Password& password) {
  // The unit's typed error tells a wrong password from a file that cannot be opened.
  if (!db.OpenPath(file, text::Utf16ToGbk(password.Utf16()))) {
    return FailOpening(db.last_error(), file);
  }
  return std::nullopt;
}

int Write(const std::string& out, std::string_view bytes) {
  auto written =
      banksrc::WriteFileAtomically(out, std::vector<uint8_t>(bytes.begin(), bytes.end()));
  if (!written) return Fail(kCannotOpen, written.error().message);
  return kDone;
}

int Check(const std::string& sources, banksrc::Bank* out = nullptr) {
  if (!std::filesystem::is_directory(sources)) {
    return Fail(kCannotOpen, "cannot open " + sources + ": no such folder");
  }
  std::vector<banksrc::Fault> faults;
  banksrc::Bank bank = banksrc::ReadBank(sources, faults);
  for (const auto& f : faults) std::cout << f.ToString() << "\n";
  if (!faults.empty()) {
    return Fail(kFailed, std::to_string(faults.size()) + " fault(s) in " + sources);
  }
  if (out) *out = std::move(bank);
  return kDone;
}

int Build(const std::string& sources, const std::string& out) {
  banksrc::Bank bank;
  if (int rc = Check(sources, &bank)) return rc;
  auto renderer = banksrc::PictureRenderer::Load();
  if (!renderer) return Fail(kFailed, renderer.error().message);
  auto image = banksrc::BuildImage(
      bank, std::filesystem::path(sources) / "pictures",
      [&](const std::filesystem::path& svg) { return (*renderer)->Render(svg); });
  renderer->reset();
  if (!image) return Fail(kFailed, image.error().message);
  if (int rc = Write(
          out, std::string_view(reinterpret_cast<const char*>(image->data()), image->size()))) {
    return rc;
  }
  std::cout << "examora-bank: " << bank.questions.size() << " questions, " << image->size()
            << " bytes -> " << out << "\n";
  return kDone;
}

int Tables(const std::string& file, const Password& password) {
  auto db = OpenAnyFile(file, password);
  if (!db) return FailOpening(db.error(), file);
  std::string lines;
  for (const std::string& name : banksrc::UserTables(**db)) lines += name + "\n";
  std::fwrite(lines.data(), 1, lines.size(), stdout);
  return kDone;
}

int Export(const std::string& file, const std::string& table, const Password& password) {
  auto db = OpenAnyFile(file, password);
  if (!db) return FailOpening(db.error(), file);
  banksrc::JsonLines out(stdout);
  auto exported = banksrc::ExportTable(**db, text::Utf8ToUtf16(table), out);
  auto flushed = out.Flush();
  if (!exported) {
    return Fail(exported.error().code == base::ErrorCode::kNotFound ? kStatementFailed : kFailed,
                "cannot export " + table + ": " + exported.error().message);
  }
  if (!flushed) return Fail(kFailed, flushed.error().message);
  return kDone;
}

// Runs one statement through the unit: a select prints its rows, anything else the number of
// rows it changed. False (after the message) when it fails.
bool RunStatement(bank::Database& db, const std::string& statement_utf8) {
  const std::string sql = text::Utf8ToGbk(statement_utf8);
  const size_t start = sql.find_first_not_of(" \t\r\n");
  if (start == std::string::npos) return true;
  std::string head = sql.substr(start, 6);
  for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (head == "select") {
    const int32_t h = db.OpenTable(sql);
    if (h == 0) return Fail(kStatementFailed, db.last_error().message) == kDone;
    banksrc::JsonLines out(stdout);
    auto printed = banksrc::ExportRecordSet(db, h, out);
    db.CloseTable(h);
    if (printed) printed = out.Flush();
    if (!printed) return Fail(kFailed, printed.error().message) == kDone;
    return true;
  }
  if (!db.ExecuteSql(sql)) return Fail(kStatementFailed, db.last_error().message) == kDone;
  std::cout << db.last_changed() << "\n" << std::flush;
  return true;
}

int Sql(const std::string& file, const std::optional<std::string>& statement,
        const Password& password) {
  bank::Database db;
  if (auto rc = OpenBank(db, file, password)) return *rc;
  if (statement) return RunStatement(db, *statement) ? kDone : kStatementFailed;
  bool ok = true;
  std::string line;
  while (std::getline(std::cin, line)) ok = RunStatement(db, line) && ok;
  return ok ? kDone : kStatementFailed;
}

int Sheet(const std::string& file, const std::string& out, const Password& password) {
  bank::Database db;
  if (auto rc = OpenBank(db, file, password)) return *rc;
  auto page = banksrc::ContactSheet(db);
  if (!page) return Fail(kFailed, page.error().message);
  return Write(out, *page);
}

int Run(int argc, char** argv) {
  CLI::App app("Checks and builds the question bank; exports and queries Jet 4 (.mdb) files.",
               "examora-bank");
  app.footer(kExitCodesHelp);
  app.require_subcommand(1);

  std::string sources, file, out, table;
  std::optional<std::string> statement;
  Password password;

  CLI::App* check = app.add_subcommand(
      "check", "Checks the bank sources and prints each fault with its file and line.");
  check->add_option("SOURCES", sources, "the folder of the sources (assets/bank)")->required();

  CLI::App* build = app.add_subcommand(
      "build", "Checks the sources and builds the bank file from them, rendering the pictures.");
  build->add_option("SOURCES", sources, "the folder of the sources (assets/bank)")->required();
  build->add_option("OUT", out, "the bank file to write (replaced as a whole)")->required();

#ifdef EXAMORA_WITH_IMAGE
  CLI::App* image =
      app.add_subcommand("image", "Writes the bank file built into this program to OUT.");
  image->add_option("OUT", out, "the file to write")->required();
#endif

  CLI::App* tables = app.add_subcommand(
      "tables", "Lists the user tables of any Jet 4 file, one a line, in catalog order.");
  tables->add_option("FILE", file, "the database file")->required();
  AddPasswordOption(tables, password);

  CLI::App* exporter = app.add_subcommand(
      "export",
      "Prints every row of TABLE of any Jet 4 file as one JSON object a line, read by the "
      "engine itself. Members come in column order: null, true/false, integers, shortest "
      "round-trip reals, currency \"3.5000\" and numeric \"-1.20\" as exact strings, date-times "
      "\"YYYY-MM-DDTHH:MM:SS\", GUIDs \"{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}\", texts as "
      "UTF-8 strings, binary and OLE values as {\"hex\":\"...\"}.");
  exporter->add_option("FILE", file, "the database file")->required();
  exporter->add_option("TABLE", table, "the table (any case)")->required();
  AddPasswordOption(exporter, password);

  CLI::App* sql = app.add_subcommand(
      "sql",
      "Runs statements on a question bank through the trainer's own database unit, which sees "
      "what the trainer sees: only a bank (tables test and config) opens, and its texts are "
      "GBK inside (printed as UTF-8; characters GBK lacks become ?). A select prints its rows "
      "as JSON lines, like export; any other statement the number of rows it changed. Without "
      "STATEMENT, one statement a line is read from standard input.");
  sql->add_option("FILE", file, "the bank file")->required();
  sql->add_option("STATEMENT", statement, "the statement (Access SQL)");
  AddPasswordOption(sql, password);

  CLI::App* sheet = app.add_subcommand(
      "sheet", "Writes the contact sheet (HTML) of the pictures in the bank FILE to OUT.");
  sheet->add_option("FILE", file, "the bank file")->required();
  sheet->add_option("OUT", out, "the page to write")->required();
  AddPasswordOption(sheet, password);

  for (CLI::App* verb : app.get_subcommands({})) verb->footer(kExitCodesHelp);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help
    return Fail(kUsage, std::string(e.what()) + " (see examora-bank --help)");
  }

  if (check->parsed()) {
    const int rc = Check(sources);
    if (rc == kDone) std::cout << "examora-bank: " << sources << " is fine\n";
    return rc;
  }
  if (build->parsed()) return Build(sources, out);
#ifdef EXAMORA_WITH_IMAGE
  if (image->parsed()) return Write(out, bank::BuiltinImage());
#endif
  if (tables->parsed()) return Tables(file, password);
  if (exporter->parsed()) return Export(file, table, password);
  if (sql->parsed()) return Sql(file, statement, password);
  if (sheet->parsed()) return Sheet(file, out, password);
  return Fail(kUsage, "no verb (see examora-bank --help)");
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    return Fail(kFailed, e.what());
  }
}
