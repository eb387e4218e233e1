// The database unit as the trainer uses it: connection text, open refusals, record sets,
// typed values and statements.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <thread>

#include "bank/database.h"
#include "bank/schema.h"
#include "support/bank_fixture.h"
#include "support/fault_file.h"
#include "support/process.h"
#include "text/gbk.h"

namespace {

using bank::Value;
using testing_support::TempDir;
using testing_support::WriteBytes;

std::string G(const char* utf8) { return text::Utf8ToGbk(utf8); }

TEST(BankConnection, TextHasEveryPartInOrder) {
#ifdef _WIN32
  // The folder ends at the last '\\', Windows' separator.
  EXPECT_EQ(bank::BuildConnectionText("C:\\考试\\exam.sys", "", "pw"),
            "ODBC;DBQ=C:\\考试\\exam.sys;DefaultDir=C:\\考试;"
            "Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;PWD=pw;");
  EXPECT_EQ(bank::BuildConnectionText("C:\\exam.sys", "", ""),
            "ODBC;DBQ=C:\\exam.sys;DefaultDir=C:;"
            "Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;");
  return;
#endif
  EXPECT_EQ(bank::BuildConnectionText("/opt/examora/exam.sys", "", "pw"),
            "ODBC;DBQ=/opt/examora/exam.sys;DefaultDir=/opt/examora;"
            "Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;PWD=pw;");
  EXPECT_EQ(bank::BuildConnectionText("exam.sys", "", ""),
            "ODBC;DBQ=exam.sys;Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;");
  EXPECT_EQ(bank::BuildConnectionText("/a/b", "me", "x"),
            "ODBC;DBQ=/a/b;DefaultDir=/a;Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;"
            "UID=me;PWD=x;");
}

class BankFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (dir_ / "exam.sys").string();
    WriteBytes(path_, testing_support::BankImage(20, u"rq7m;2kx"));
  }
  TempDir dir_;
  std::string path_;
};

TEST_F(BankFile, OpensOnlyWithItsPassword) {
  bank::Database db;
  EXPECT_TRUE(db.Open(path_, "", "rq7m;2kx")) << db.last_error().message;
  bank::Database wrong;
  EXPECT_FALSE(wrong.Open(path_, "", "rq7m"));
  EXPECT_EQ(wrong.last_error().code, base::ErrorCode::kBadPassword) << wrong.last_error().message;
  EXPECT_FALSE(wrong.Open(path_, "", ""));
  EXPECT_FALSE(wrong.is_open());
}

TEST_F(BankFile, RefusesWhatIsNoQuestionBank) {
  bank::Database db;
  EXPECT_FALSE(db.Open((dir_ / "missing.sys").string(), "", "x"));
  EXPECT_EQ(db.last_error().code, base::ErrorCode::kNotFound) << db.last_error().message;
  EXPECT_FALSE(db.Open(dir_.path().string(), "", "x")) << "a directory";
  WriteBytes(dir_ / "empty.sys", {});
  EXPECT_FALSE(db.Open((dir_ / "empty.sys").string(), "", "x"));
  auto image = testing_support::BankImage(20, u"x");
  auto cut = image;
  cut.resize(cut.size() / 2);
  WriteBytes(dir_ / "cut.sys", cut);
  EXPECT_FALSE(db.Open((dir_ / "cut.sys").string(), "", "x")) << "a truncated image";
  EXPECT_EQ(db.last_error().code, base::ErrorCode::kCorrupt) << db.last_error().message;
  // A real database that is not a question bank.
  std::filesystem::copy_file(std::string(EXAMORA_SAMPLES_DIR) + "/testV2000.mdb", dir_ / "f.mdb");
  EXPECT_FALSE(db.Open((dir_ / "f.mdb").string(), "", ""));
  EXPECT_EQ(db.last_error().code, base::ErrorCode::kNotFound) << db.last_error().message;
  EXPECT_NE(db.last_error().message.find("not a question bank"), std::string::npos);
  // test without reserved.
  auto test = testing_support::TestTable(3);
  test.columns.pop_back();
  for (auto& row : test.rows) row.pop_back();
  auto bytes = jet::WriteDatabase({testing_support::ConfigTable(), test}, {});
  ASSERT_TRUE(bytes);
  WriteBytes(dir_ / "old.sys", *bytes);
  EXPECT_FALSE(db.Open((dir_ / "old.sys").string(), "", ""));
  EXPECT_EQ(db.last_error().code, base::ErrorCode::kNotFound) << db.last_error().message;
  EXPECT_NE(db.last_error().message.find("reserved"), std::string::npos);
}

TEST_F(BankFile, RecordSetsWalkTheRowsWithTypedValues) {
  bank::Database db;
  ASSERT_TRUE(db.Open(path_, "", "rq7m;2kx"));
  const int32_t h = db.OpenTable("select * from test where left(id,2)='02'");
  ASSERT_NE(h, 0) << db.last_error().message;
  int rows = 0;
  for (db.MoveFirst(h); !db.IsEOF(h); db.MoveNext(h)) {
    Value id = db.ReadColByName(h, "id");
    ASSERT_TRUE(id.is_text());
    EXPECT_EQ(id.bytes.substr(0, 2), "02");
    Value timu = db.ReadColByName(h, "TIMU");
    EXPECT_TRUE(timu.is_bytes());
    EXPECT_EQ(timu.bytes.size(), 3u);
    Value reserved = db.ReadColByName(h, "reserved");
    EXPECT_EQ(reserved.kind, Value::Kind::kInt16);
    Value pic = db.ReadColByName(h, "pic");
    EXPECT_TRUE(pic.is_bytes()) << "a null picture reads as an empty byte string";
    Value c = db.ReadColByName(h, "c");
    EXPECT_TRUE(c.is_text()) << "a null text reads as the empty text";
    if (db.ReadColByName(h, "a").bytes == G("正确")) {
      EXPECT_EQ(c.bytes, "");
    }
    EXPECT_EQ(db.ReadColByIndex(h, 1).bytes, id.bytes);
    EXPECT_EQ(db.ReadColByIndex(h, 11).kind, Value::Kind::kNone);
    EXPECT_EQ(db.ReadColByName(h, "nosuch").kind, Value::Kind::kNone);
    ++rows;
  }
  EXPECT_EQ(rows, 20);
  EXPECT_EQ(db.ReadColByName(h, "id").kind, Value::Kind::kNone) << "no current row";
  db.MoveFirst(h);
  EXPECT_FALSE(db.IsEOF(h));
  db.CloseTable(h);
  EXPECT_TRUE(db.IsEOF(h));
  EXPECT_EQ(db.open_record_sets(), 0);
}

TEST_F(BankFile, CountsAndConfigRows) {
  bank::Database db;
  ASSERT_TRUE(db.Open(path_, "", "rq7m;2kx"));
  const int32_t h = db.OpenTable("select count(*) as count from test where reserved>=2");
  ASSERT_NE(h, 0);
  EXPECT_EQ(db.ReadColByIndex(h, 1).number(), 30);
  EXPECT_EQ(db.ReadColByName(h, "COUNT").number(), 30);
  db.MoveNext(h);
  EXPECT_TRUE(db.IsEOF(h));
  const int32_t c = db.OpenTable("select * from config where DEF>0");
  ASSERT_NE(c, 0);
  ASSERT_FALSE(db.IsEOF(c));
  EXPECT_EQ(db.ReadColByName(c, "NUMBERID").bytes, "11");
  EXPECT_EQ(db.ReadColByName(c, "DEF").kind, Value::Kind::kDouble);
  EXPECT_EQ(db.ReadColByName(c, "TESTNAME").bytes, G("名称"));
  db.MoveNext(c);
  EXPECT_TRUE(db.IsEOF(c));
  EXPECT_NE(c, h) << "every record set has its own handle";
}

TEST_F(BankFile, StatementsAndTheirFailures) {
  bank::Database db;
  ASSERT_TRUE(db.Open(path_, "", "rq7m;2kx"));
  using base::ErrorCode;
  const std::pair<const char*, ErrorCode> refused_sets[] = {
      {"", ErrorCode::kInvalid},
      {"select * from nosuch", ErrorCode::kNotFound},
      {"select * form test", ErrorCode::kSyntax},
      {"update test set reserved=0", ErrorCode::kInvalid},
  };
  for (const auto& [sql, code] : refused_sets) {
    EXPECT_EQ(db.OpenTable(sql), 0) << sql;
    EXPECT_EQ(db.last_error().code, code) << sql << ": " << db.last_error().message;
  }
  const std::pair<const char*, ErrorCode> refused_statements[] = {
      {"", ErrorCode::kInvalid},
      {"update test set reserved=32768", ErrorCode::kInvalid},
      {"update test set reserved=1 where id='0100001", ErrorCode::kSyntax},
  };
  for (const auto& [sql, code] : refused_statements) {
    EXPECT_FALSE(db.ExecuteSql(sql)) << sql;
    EXPECT_EQ(db.last_error().code, code) << sql << ": " << db.last_error().message;
  }
  EXPECT_TRUE(db.ExecuteSql("update test set reserved=2 where id='0100001'"));
  EXPECT_TRUE(db.ExecuteSql(G("update test set reserved=3 where id='0100001' or a='选项一'")));
  db.Close();
  // The change is in the file, seen by a fresh open.
  bank::Database again;
  ASSERT_TRUE(again.Open(path_, "", "rq7m;2kx"));
  const int32_t h = again.OpenTable("select * from test where id='0100001'");
  ASSERT_FALSE(again.IsEOF(h));
  EXPECT_EQ(again.ReadColByName(h, "reserved").number(), 3);
}

// The reserved counter of `id` as `db` reads it now.
int ReservedOf(bank::Database& db, const std::string& id) {
  const int32_t set = db.OpenTable("select * from test where id='" + id + "'");
  const int value =
      db.IsEOF(set) ? -1 : static_cast<int>(db.ReadColByName(set, "reserved").integer);
  db.CloseTable(set);
  return value;
}

// Another process changes the file between two statements of an open connection: the second
// statement sees the change, both right after the change (when the file's times cannot tell
// it apart) and when the connection's last look is long past.
TEST_F(BankFile, EveryStatementSeesWhatAnotherProcessCommitted) {
  bank::Database db;
  ASSERT_TRUE(db.Open(path_, "", "rq7m;2kx"));
  ASSERT_GE(ReservedOf(db, "0100002"), 0);
  const int before = ReservedOf(db, "0100003");
  ASSERT_LT(before, 7);
  auto other_process = [&](const std::string& statement) {
    auto run = [&] {
      bank::Database other;
      return other.Open(path_, "", "rq7m;2kx") && other.ExecuteSql(statement);
    };
#ifdef _WIN32
    // No fork: a connection of its own on a handle of its own, closed before the check.
    return run();
#else
    const pid_t child = fork();
    if (child == 0) _exit(run() ? 0 : 1);
    int status = -1;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
#endif
  };
  ASSERT_TRUE(other_process("update test set reserved=7 where id='0100002'"));
  EXPECT_EQ(ReservedOf(db, "0100002"), 7);
  // Let the file's times grow old, read once more, then change it again.
  std::this_thread::sleep_for(std::chrono::milliseconds(3100));
  EXPECT_EQ(ReservedOf(db, "0100003"), before);
  EXPECT_EQ(ReservedOf(db, "0100003"), before);
  ASSERT_TRUE(other_process("update test set reserved=9 where id='0100003'"));
  EXPECT_EQ(ReservedOf(db, "0100003"), 9);
  // This connection's own update lands beside the other's, not over it.
  ASSERT_TRUE(db.ExecuteSql("update test set reserved=1 where id='0100004'"));
  bank::Database fresh;
  ASSERT_TRUE(fresh.Open(path_, "", "rq7m;2kx", true));
  EXPECT_EQ(ReservedOf(fresh, "0100002"), 7);
  EXPECT_EQ(ReservedOf(fresh, "0100003"), 9);
  EXPECT_EQ(ReservedOf(fresh, "0100004"), 1);
}

// A record set shows its rows as they were when it was opened: an update through the same
// connection, and a file that another connection changed since, change what later statements
// see, not the rows of a set that is still open.
TEST_F(BankFile, ARecordSetKeepsItsRowsAsTheyWereWhenOpened) {
  bank::Database db;
  ASSERT_TRUE(db.Open(path_, "", "rq7m;2kx"));
  auto reserved_of_set = [&](int32_t set) {
    std::vector<int64_t> values;
    for (db.MoveFirst(set); !db.IsEOF(set); db.MoveNext(set)) {
      values.push_back(db.ReadColByName(set, "reserved").integer);
    }
    return values;
  };
  const int32_t before = db.OpenTable("select * from test where left(id,2)='01'");
  const std::vector<int64_t> opened = reserved_of_set(before);
  ASSERT_EQ(opened.size(), 20u);
  ASSERT_NE(opened, std::vector<int64_t>(20, 5));
  ASSERT_TRUE(db.ExecuteSql("update test set reserved=5 where left(id,2)='01'"));
  const int32_t after = db.OpenTable("select * from test where left(id,2)='01'");
  EXPECT_EQ(reserved_of_set(after), std::vector<int64_t>(20, 5));
  EXPECT_EQ(reserved_of_set(before), opened);
  bank::Database other;
  ASSERT_TRUE(other.Open(path_, "", "rq7m;2kx"));
  ASSERT_TRUE(other.ExecuteSql("update test set reserved=6 where left(id,2)='01'"));
  EXPECT_EQ(ReservedOf(db, "0100001"), 6);
  EXPECT_EQ(reserved_of_set(after), std::vector<int64_t>(20, 5));
  EXPECT_EQ(reserved_of_set(before), opened);
}

// A path that GBK cannot hold reaches the file system unchanged.
TEST_F(BankFile, OpensAPathOutsideGbk) {
  const std::filesystem::path folder = dir_.path() / testing_support::Utf8Path("łukasz-Çağ");
  std::filesystem::create_directory(folder);
  const std::filesystem::path moved = folder / "exam.sys";
  std::filesystem::copy_file(path_, moved);
  const std::string utf8 = testing_support::Utf8(moved);
  bank::Database db;
  ASSERT_TRUE(db.OpenPath(utf8, "rq7m;2kx")) << db.last_error().message;
  EXPECT_GE(ReservedOf(db, "0100002"), 0);
  // The GBK form of the same path is not that file.
  EXPECT_FALSE(db.Open(text::Utf8ToGbk(utf8), "", "rq7m;2kx"));
}

TEST(BankSchema, WrittenTablesHaveTheShippedColumnsAndSizes) {
  auto bytes = jet::WriteDatabase({bank::schema::ConfigTable(), bank::schema::TestTable()}, {});
  ASSERT_TRUE(bytes) << bytes.error().message;
  auto db = jet::Database::Open(std::make_unique<jet::MemFile>(*bytes));
  ASSERT_TRUE(db) << db.error().message;
  using Columns = std::span<const bank::schema::ColumnSpec>;
  for (auto [name, columns] : {std::pair{u"config", Columns(bank::schema::kConfigColumns)},
                               std::pair{u"test", Columns(bank::schema::kTestColumns)}}) {
    auto table = (*db)->ReadTable(name);
    ASSERT_TRUE(table) << table.error().message;
    ASSERT_EQ(table->columns.size(), columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
      const jet::Column& got = table->columns[i];
      EXPECT_EQ(text::Utf16ToUtf8(got.name), columns[i].name);
      EXPECT_EQ(got.type, columns[i].type) << columns[i].name;
      if (columns[i].type == jet::ColumnType::kText) {
        EXPECT_EQ(got.length, 2 * columns[i].characters) << columns[i].name << ": UTF-16 bytes";
      }
    }
  }
}

// --- batches: many updates, one flush ---

class Batches : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        db.OpenFile(testing_support::FaultFile::Over(log, testing_support::BankImage(5)), "pw"))
        << db.last_error().message;
  }
  int ReservedOf(const std::string& id) {
    const int32_t h = db.OpenTable("select * from test where id='" + id + "'");
    const Value v = db.ReadColByName(h, "reserved");
    db.CloseTable(h);
    return v.is_number() ? static_cast<int>(v.integer) : -1;
  }
  static std::string SetTo(int value, const std::string& id) {
    return "update test set reserved=" + std::to_string(value) + " where id='" + id + "'";
  }
  testing_support::FaultFile::Log log;
  bank::Database db;
};

TEST_F(Batches, UpdatesInABatchAreFlushedOnceAtItsEnd) {
  ASSERT_TRUE(db.ExecuteSql(SetTo(3, "0100001")));
  EXPECT_EQ(log.syncs, 1) << "a statement on its own is flushed before it returns";
  {
    bank::Database::Batch batch(db);
    for (const char* id : {"0100002", "0100003", "0200001", "1100005"}) {
      ASSERT_TRUE(db.ExecuteSql(SetTo(1, id)));
    }
    EXPECT_EQ(log.syncs, 1) << "written in place, not flushed yet";
    EXPECT_EQ(ReservedOf("0200001"), 1) << "later reads see the written values";
    EXPECT_TRUE(batch.Finish());
    EXPECT_EQ(log.syncs, 2);
    EXPECT_TRUE(batch.Finish()) << "a second Finish flushes nothing more";
    EXPECT_EQ(log.syncs, 2);
  }
  EXPECT_EQ(log.syncs, 2);
  {
    bank::Database::Batch unfinished(db);
    ASSERT_TRUE(db.ExecuteSql(SetTo(2, "0100004")));
  }
  EXPECT_EQ(log.syncs, 3) << "the end of the scope finishes the batch";
  {
    bank::Database::Batch idle(db);
    EXPECT_TRUE(idle.Finish());
  }
  EXPECT_EQ(log.syncs, 3) << "nothing written, nothing to flush";
  ASSERT_TRUE(db.ExecuteSql(SetTo(0, "0100001")));
  EXPECT_EQ(log.syncs, 4) << "after the batch every statement flushes again";
}

TEST_F(Batches, AFailedFlushIsNeverReportedAsSuccess) {
  log.fail_syncs = true;
  EXPECT_FALSE(db.ExecuteSql(SetTo(1, "0100001"))) << "alone, the statement owns its flush";
  {
    bank::Database::Batch batch(db);
    EXPECT_TRUE(db.ExecuteSql(SetTo(1, "0100002"))) << "written in place";
    EXPECT_FALSE(batch.Finish());
    EXPECT_EQ(db.last_error().code, base::ErrorCode::kIo) << db.last_error().message;
    EXPECT_NE(db.last_error().message.find("disk"), std::string::npos);
  }
  log.fail_syncs = false;
  const int syncs = log.syncs;
  bank::Database::Batch retry(db);
  EXPECT_TRUE(retry.Finish()) << "the failed flush stays owed and is made now";
  EXPECT_EQ(log.syncs, syncs + 1);
}

TEST_F(Batches, NestedBatchesAndAClosedConnectionFlushWhatIsOwed) {
  bank::Database::Batch outer(db);
  ASSERT_TRUE(db.ExecuteSql(SetTo(1, "0100001")));
  {
    bank::Database::Batch inner(db);
    ASSERT_TRUE(db.ExecuteSql(SetTo(1, "0100002")));
    EXPECT_TRUE(inner.Finish());
  }
  EXPECT_EQ(log.syncs, 1) << "an inner Finish flushes everything written so far";
  ASSERT_TRUE(db.ExecuteSql(SetTo(1, "0100003")));
  EXPECT_EQ(log.syncs, 1) << "the outer batch still defers";
  log.fail_syncs = true;
  db.Close();
  EXPECT_EQ(log.syncs, 2) << "closing flushes before the file goes";
  EXPECT_FALSE(outer.Finish()) << "and the batch learns that the flush failed";
}

TEST_F(Batches, AFailedStatementInABatchLeavesTheOthersStanding) {
  bank::Database::Batch batch(db);
  ASSERT_TRUE(db.ExecuteSql(SetTo(2, "0100001")));
  log.fail_writes = true;
  EXPECT_FALSE(db.ExecuteSql(SetTo(2, "0100002")));
  log.fail_writes = false;
  EXPECT_FALSE(db.ExecuteSql("update test set reserved=40000 where id='0100003'"));
  ASSERT_TRUE(db.ExecuteSql(SetTo(2, "0100004")));
  EXPECT_TRUE(batch.Finish());
  EXPECT_EQ(ReservedOf("0100001"), 2);
  EXPECT_EQ(ReservedOf("0100004"), 2);
}

// --- the N-th write or flush fails: every statement that reported success is in the file,
// and the file reads whole when it is opened again ---

struct SweepResult {
  bool failure_happened = false;
  std::vector<bool> succeeded;  // per statement
  std::string bytes;            // the file afterwards
};

// Runs `statements` (in one batch when `batch`) on a bank whose write or flush number `n`
// fails (`syncs` says which).
SweepResult RunWithFault(const std::vector<std::string>& statements, int n, bool syncs,
                         bool batch) {
  testing_support::FaultFile::Log log;
  (syncs ? log.fail_sync_at : log.fail_write_at) = n;
  SweepResult result;
  {
    bank::Database db;
    EXPECT_TRUE(
        db.OpenFile(testing_support::FaultFile::Over(log, testing_support::BankImage(5)), "pw"));
    std::optional<bank::Database::Batch> group;
    if (batch) group.emplace(db);
    for (const std::string& statement : statements) {
      result.succeeded.push_back(db.ExecuteSql(statement));
    }
    if (group) (void)group->Finish();  // the sweep judges by the bytes left in the file
  }
  result.failure_happened = (syncs ? log.syncs : log.writes) >= n;
  result.bytes = log.bytes;
  return result;
}

std::map<std::string, int> Counters(const std::string& bytes) {
  std::map<std::string, int> out;
  bank::Database db;
  if (!db.OpenFile(std::make_unique<jet::MemFile>(bytes), "pw")) {
    ADD_FAILURE() << "the file does not read whole any more: " << db.last_error().message;
    return out;
  }
  const int32_t h = db.OpenTable("select * from test");
  for (; !db.IsEOF(h); db.MoveNext(h)) {
    out[db.ReadColByName(h, "id").bytes] =
        static_cast<int>(db.ReadColByName(h, "reserved").integer);
  }
  db.CloseTable(h);
  return out;
}

TEST(FaultSweep, AHandInWhoseNthWriteOrFlushFails) {
  const auto image = testing_support::BankImage(5);
  const std::map<std::string, int> before = Counters(std::string(image.begin(), image.end()));
  // A hand-in: one update per question, in one batch.
  std::vector<std::pair<std::string, int>> changes;
  int k = 0;
  for (const auto& [id, counter] : before) changes.push_back({id, (counter + 1 + k++) % 5});
  std::vector<std::string> statements;
  for (const auto& [id, value] : changes) {
    statements.push_back("update test set reserved=" + std::to_string(value) + " where id='" + id +
                         "'");
  }
  for (bool syncs : {false, true}) {
    for (bool batch : {true, false}) {
      int n = 1;
      for (;; ++n) {
        const SweepResult r = RunWithFault(statements, n, syncs, batch);
        if (!r.failure_happened) break;
        const auto after = Counters(r.bytes);
        int failed = 0;
        for (size_t i = 0; i < changes.size(); ++i) {
          const auto& [id, value] = changes[i];
          if (r.succeeded[i]) {
            EXPECT_EQ(after.at(id), value) << id << " reported done, fault at " << n;
          } else {
            ++failed;
            EXPECT_TRUE(after.at(id) == value || after.at(id) == before.at(id)) << id;
          }
        }
        // A failed write fails its one statement and no other; a flush deferred to the end of
        // a batch fails no statement (the batch's Finish reports it).
        if (!syncs || !batch) {
          EXPECT_EQ(failed, 1) << "fault at " << (syncs ? "flush " : "write ") << n;
        }
      }
      EXPECT_GT(n, syncs && batch ? 1 : static_cast<int>(changes.size()))
          << "the sweep reached every " << (syncs ? "flush" : "write");
    }
  }
}

TEST(FaultSweep, ClearingAllCountersWhoseNthWriteFails) {
  const auto image = testing_support::BankImage(40);
  const std::map<std::string, int> before = Counters(std::string(image.begin(), image.end()));
  int nonzero = 0;
  for (const auto& [id, counter] : before) nonzero += counter != 0;
  ASSERT_GT(nonzero, 20);
  int n = 1;
  for (;; ++n) {
    testing_support::FaultFile::Log log;
    log.fail_write_at = n;
    bool ok = false;
    {
      bank::Database db;
      ASSERT_TRUE(db.OpenFile(testing_support::FaultFile::Over(log, image), "pw"));
      ok = db.ExecuteSql("update test set reserved=0");
    }
    const auto after = Counters(log.bytes);
    ASSERT_EQ(after.size(), before.size());
    if (log.writes < n) {
      EXPECT_TRUE(ok);
      for (const auto& [id, counter] : after) EXPECT_EQ(counter, 0) << id;
      break;
    }
    EXPECT_FALSE(ok) << "a failed write is never reported as success (write " << n << ")";
    for (const auto& [id, counter] : after) {
      EXPECT_TRUE(counter == 0 || counter == before.at(id)) << id << " holds " << counter;
    }
  }
  EXPECT_GT(n, 2) << "the statement writes more than one page";
}

TEST(BankValues, TextsBecomeGbkWithQuestionMarks) {
  jet::Column text;
  text.type = jet::ColumnType::kText;
  EXPECT_EQ(bank::ToProgramValue(text, std::u16string(u"中文")).bytes, G("中文"));
  EXPECT_EQ(bank::ToProgramValue(text, std::u16string(u"a\U0001F600b")).bytes, "a?b");
  EXPECT_EQ(bank::ToProgramValue(text, std::u16string(u"\u20AC")).bytes.size(), 1u);
}

}  // namespace
