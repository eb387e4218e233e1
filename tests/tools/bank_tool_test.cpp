// examora-bank as a program: export and tables on the Jet 4 samples against mdbtools and the
// npm reader, sql (the database unit's view) against export on the built bank, the exit codes
// with their one-line errors, and that no verb but build loads Qt.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "support/process.h"

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;  // members in the order printed
using testing_support::HaveCommand;
using testing_support::RunCommand;
using testing_support::ShellQuote;
using testing_support::Split;
using testing_support::TempDir;

const fs::path kSamples = EXAMORA_SAMPLES_DIR;
const fs::path kOracle = fs::path(EXAMORA_ORACLE_DIR) / "dump.mjs";

struct Ran {
  int status = -1;
  std::string out, err;
};

// Runs `command` (a shell command line), keeping standard error apart.
Ran Shell(const std::string& command) {
  TempDir dir;
  Ran ran;
  ran.out = RunCommand(command + " 2>" + ShellQuote((dir / "err").string()), &ran.status);
  const std::vector<uint8_t> err = testing_support::ReadBytes(dir / "err");
  ran.err.assign(err.begin(), err.end());
  return ran;
}

Ran Tool(const std::string& args) { return Shell(ShellQuote(EXAMORA_BANK_TOOL) + " " + args); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::string& line : Split(text, '\n')) {
    if (!line.empty()) lines.push_back(std::move(line));
  }
  return lines;
}

struct Sample {
  std::string path;
  std::string password;  // empty: none
  std::string PasswordOption() const {
    return password.empty() ? "" : " --password " + ShellQuote(password);
  }
};

std::vector<Sample> Samples() {
  std::vector<Sample> samples;
  for (const auto& entry : fs::directory_iterator(kSamples)) {
    if (entry.path().extension() != ".mdb") continue;
    const bool locked = entry.path().filename() == "passwordV2000.mdb";
    samples.push_back({entry.path().string(), locked ? "password" : ""});
  }
  std::sort(samples.begin(), samples.end(),
            [](const Sample& a, const Sample& b) { return a.path < b.path; });
  return samples;
}

// The rows export prints, each checked to be one JSON object.
std::vector<Json> Export(const Sample& s, const std::string& table) {
  const Ran ran =
      Tool("export " + ShellQuote(s.path) + " " + ShellQuote(table) + s.PasswordOption());
  EXPECT_EQ(ran.status, 0) << s.path << " " << table << ": " << ran.err;
  std::vector<Json> rows;
  for (const std::string& line : Lines(ran.out)) {
    rows.push_back(Json::parse(line, nullptr, false));
    EXPECT_TRUE(rows.back().is_object()) << line;
  }
  return rows;
}

std::vector<std::string> Tables(const Sample& s) {
  const Ran ran = Tool("tables " + ShellQuote(s.path) + s.PasswordOption());
  EXPECT_EQ(ran.status, 0) << s.path << ": " << ran.err;
  return Lines(ran.out);
}

// mdb-export's header and cells, unquoted, nulls as @NULL@, binary as upper-case hex.
std::vector<std::vector<std::string>> MdbExport(const std::string& path, const std::string& table) {
  const std::string out =
      RunCommand("mdb-export -Q -d '<|c|>' -R '<|r|>' -b hex -0 @NULL@ -T '%Y-%m-%dT%H:%M:%S' " +
                 ShellQuote(path) + " " + ShellQuote(table));
  std::vector<std::vector<std::string>> rows;
  size_t start = 0;
  while (start < out.size()) {
    size_t end = out.find("<|r|>", start);
    if (end == std::string::npos) end = out.size();
    const std::string line = out.substr(start, end - start);
    start = end + 5;
    std::vector<std::string> cells;
    for (size_t from = 0;;) {
      const size_t at = line.find("<|c|>", from);
      cells.push_back(line.substr(from, at == std::string::npos ? std::string::npos : at - from));
      if (at == std::string::npos) break;
      from = at + 5;
    }
    rows.push_back(std::move(cells));
  }
  return rows;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// How mdb-export prints the value that export printed as `v`.
void ExpectSameAsMdbTools(const Json& v, const std::string& cell, const std::string& where) {
  if (v.is_null()) {
    EXPECT_EQ(cell, "@NULL@") << where;
  } else if (v.is_boolean()) {
    EXPECT_EQ(cell, v.get<bool>() ? "1" : "0") << where;
  } else if (v.is_number_integer()) {
    EXPECT_EQ(cell, v.dump()) << where;
  } else if (v.is_number_float()) {
    const double d = v.get<double>();
    EXPECT_NEAR(std::strtod(cell.c_str(), nullptr), d, std::fabs(d) * 1e-14) << where;
  } else if (v.is_object()) {
    ASSERT_TRUE(v.contains("hex")) << where;
    EXPECT_EQ(cell, Upper(v.at("hex").get<std::string>())) << where;
  } else {
    EXPECT_EQ(cell, v.get<std::string>()) << where;
  }
}

class BankToolOracleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveCommand("mdb-export")) GTEST_SKIP() << "mdbtools not installed";
  }
  static bool HaveNodeOracle() {
    return HaveCommand("node") && fs::exists(kOracle.parent_path() / "node_modules/mdb-reader");
  }
  static Json Dump(const Sample& s) {
    std::string command = "node " + ShellQuote(kOracle.string()) + " " + ShellQuote(s.path);
    if (!s.password.empty()) command += " " + ShellQuote(s.password);
    Json dump = Json::parse(RunCommand(command), nullptr, false);
    EXPECT_TRUE(dump.is_object()) << command;
    return dump;
  }
};

TEST_F(BankToolOracleTest, TablesListsTheUserTablesInCatalogOrder) {
  for (const Sample& s : Samples()) {
    const std::vector<std::string> ours = Tables(s);
    EXPECT_EQ(ours, Lines(RunCommand("mdb-tables -1 " + ShellQuote(s.path)))) << s.path;
    if (HaveNodeOracle()) {
      EXPECT_EQ(Json(ours), Dump(s).at("order")) << s.path;
    }
  }
}

TEST_F(BankToolOracleTest, ExportPrintsWhatMdbExportPrints) {
  size_t cells = 0;
  for (const Sample& s : Samples()) {
    for (const std::string& table : Tables(s)) {
      const std::vector<Json> ours = Export(s, table);
      const auto theirs = MdbExport(s.path, table);
      ASSERT_FALSE(theirs.empty()) << s.path << " " << table;
      ASSERT_EQ(ours.size(), theirs.size() - 1) << s.path << " " << table;
      const std::vector<std::string>& header = theirs[0];
      for (size_t r = 0; r < ours.size(); ++r) {
        const std::string where =
            fs::path(s.path).filename().string() + " " + table + " row " + std::to_string(r);
        std::vector<std::string> names;
        for (const auto& member : ours[r].items()) names.push_back(member.key());
        ASSERT_EQ(names, header) << where;  // the table's column order
        ASSERT_EQ(theirs[r + 1].size(), header.size()) << where;
        size_t c = 0;
        for (const auto& member : ours[r].items()) {
          ExpectSameAsMdbTools(member.value(), theirs[r + 1][c++], where + " " + member.key());
          ++cells;
        }
      }
    }
  }
  EXPECT_GT(cells, 200u);
}

// Compared by the npm reader's column types; also makes sure that the samples still hold a
// value of every type the engine reads from them.
TEST_F(BankToolOracleTest, ExportAgreesWithTheNpmReaderForEveryTypeInTheSamples) {
  if (!HaveNodeOracle()) GTEST_SKIP() << "node or mdb-reader missing";
  std::set<std::string> seen;
  for (const Sample& s : Samples()) {
    const Json dump = Dump(s);
    for (const std::string& table : Tables(s)) {
      const Json& t = dump.at("tables").at(table);
      const std::vector<Json> ours = Export(s, table);
      ASSERT_EQ(ours.size(), t.at("rows").size()) << s.path << " " << table;
      for (size_t r = 0; r < ours.size(); ++r) {
        for (const Json& column : t.at("columns")) {
          const std::string name = column.at("name");
          const std::string type = column.at("type");
          const Json& mine = ours[r].at(name);
          const Json& theirs = t.at("rows").at(r).at(name);
          const std::string where = s.path + " " + table + " " + name + " row " + std::to_string(r);
          if (theirs.is_null()) {
            EXPECT_TRUE(mine.is_null()) << where;
            continue;
          }
          seen.insert(type);
          if (type == "datetime") {
            EXPECT_EQ(mine.get<std::string>() + ".000Z", theirs) << where;
          } else if (type == "ole" || type == "binary") {
            EXPECT_EQ(mine.at("hex"), theirs) << where;
          } else if (type == "currency") {
            EXPECT_EQ(mine, theirs) << where;
          } else if (type == "numeric") {
            const std::string text = mine.get<std::string>();
            if (theirs.is_string()) {
              EXPECT_EQ(text, theirs) << where;
            } else {
              EXPECT_EQ(std::strtod(text.c_str(), nullptr), theirs.get<double>()) << where;
            }
          } else if (type == "double" || type == "float") {
            EXPECT_EQ(mine.get<double>(), theirs.get<double>()) << where;
          } else {
            EXPECT_EQ(mine, theirs) << where;  // texts, booleans, integers
          }
        }
      }
    }
  }
  EXPECT_EQ(seen, (std::set<std::string>{"boolean", "byte", "currency", "datetime", "double",
                                         "integer", "long", "memo", "numeric", "ole", "text"}));
}

// sql reads through the trainer's database unit: the same rows as the engine's export, with a
// null text as the empty text the trainer sees; a file that is no bank does not open there.
TEST(BankToolSqlTest, SeesTheBankAsTheTrainerDoes) {
  const std::string bank = ShellQuote(EXAMORA_BANK_IMAGE_FILE);
  const Ran exported = Tool("export " + bank + " config");
  const Ran selected = Tool("sql " + bank + " 'select * from config'");
  ASSERT_EQ(exported.status, 0) << exported.err;
  ASSERT_EQ(selected.status, 0) << selected.err;
  const auto engine_rows = Lines(exported.out);
  const auto unit_rows = Lines(selected.out);
  ASSERT_EQ(engine_rows.size(), unit_rows.size());
  ASSERT_GE(engine_rows.size(), 10u);
  for (size_t r = 0; r < engine_rows.size(); ++r) {
    Json want = Json::parse(engine_rows[r]);
    ASSERT_TRUE(want.at("TESTTYPE").is_null());
    want["TESTTYPE"] = "";
    EXPECT_EQ(Json::parse(unit_rows[r]), want) << r;
  }

  const std::string sample = ShellQuote((kSamples / "testV2000.mdb").string());
  EXPECT_EQ(Tool("export " + sample + " Table1").status, 0);
  const Ran refused = Tool("sql " + sample + " 'select * from Table1'");
  EXPECT_EQ(refused.status, 3);
  EXPECT_EQ(Lines(refused.err).size(), 1u) << refused.err;
}

// Each failure ends with its own exit code and one line on standard error, nothing on
// standard output.
TEST(BankToolExitCodesTest, EachKindOfFailureHasItsCode) {
  TempDir dir;
  const std::string junk = "not a database at all";
  testing_support::WriteBytes(dir / "not.mdb", std::vector<uint8_t>(junk.begin(), junk.end()));
  const std::string bank = ShellQuote(EXAMORA_BANK_IMAGE_FILE);
  const std::string missing = ShellQuote((dir / "missing.mdb").string());
  const std::string locked = ShellQuote((kSamples / "passwordV2000.mdb").string());
  const std::string no_folder = ShellQuote((dir / "no" / "such" / "out").string());
  const struct {
    std::string args;
    int status;
  } cases[] = {
      {"", 2},
      {"frobnicate", 2},
      {"export " + bank, 2},
      {"tables " + bank + " --colour", 2},
      {"sql " + bank + " 'select 1' extra", 2},
      {"export " + missing + " test", 3},
      {"tables " + ShellQuote((dir / "not.mdb").string()), 3},
      {"sql " + missing + " 'select * from test'", 3},
      {"check " + ShellQuote((dir / "no-sources").string()), 3},
      {"image " + no_folder, 3},
      {"sheet " + bank + " " + no_folder, 3},
      {"tables " + locked, 4},
      {"export " + locked + " Table1 --password wrong", 4},
      {"sql " + locked + " 'select * from Table1' --password wrong", 4},
      {"export " + bank + " no_such_table", 5},
      {"sql " + bank + " 'select * from no_such_table'", 5},
      {"sql " + bank + " 'update test set no_such_column=1'", 5},
  };
  for (const auto& c : cases) {
    const Ran ran = Tool(c.args);
    EXPECT_EQ(ran.status, c.status) << c.args << ": " << ran.err;
    EXPECT_EQ(Lines(ran.err).size(), 1u) << c.args << ": " << ran.err;
    EXPECT_EQ(ran.out, "") << c.args;
  }
  EXPECT_EQ(Tool("export " + locked + " Table1 --password password").status, 0);
}

TEST(BankToolExitCodesTest, EveryVerbExplainsItselfAndTheCodes) {
  for (const std::string verb : {"check", "build", "image", "tables", "export", "sql", "sheet"}) {
    const Ran ran = Tool(verb + " --help");
    EXPECT_EQ(ran.status, 0) << verb;
    EXPECT_NE(ran.out.find("4 a wrong or missing password"), std::string::npos) << verb;
  }
  EXPECT_NE(Tool("sql --help").out.find("database unit"), std::string::npos);
}

// Qt costs a start-up and is needed only to render pictures. The dynamic loader lists every
// library it loads under LD_DEBUG=libs; examora-art, which links Qt, shows that the check sees
// Qt where it is.
TEST(BankToolStartTest, OnlyBuildLoadsQt) {
  auto loads_qt = [](const std::string& program, const std::string& args) {
    const Ran ran = Shell("LD_DEBUG=libs " + ShellQuote(program) + " " + args + " >/dev/null");
    return ran.err.find("libQt6") != std::string::npos;
  };
  ASSERT_TRUE(loads_qt((fs::path(EXAMORA_BANK_TOOL).parent_path() / "examora-art").string(), ""));
  TempDir dir;
  const std::string bank = ShellQuote(EXAMORA_BANK_IMAGE_FILE);
  for (const std::string& args :
       {"tables " + bank, "export " + bank + " config", "sql " + bank + " 'select * from config'",
        "check " + ShellQuote(std::string(EXAMORA_SOURCE_DIR) + "/assets/bank"),
        "image " + ShellQuote((dir / "image.sys").string()),
        "sheet " + bank + " " + ShellQuote((dir / "sheet.html").string())}) {
    EXPECT_FALSE(loads_qt(EXAMORA_BANK_TOOL, args)) << args;
  }
}

}  // namespace
