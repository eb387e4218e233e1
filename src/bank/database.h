// The database unit: the trainer's only door to the question bank.
//
// It is opened with a connection text the way a desktop database driver is, hands out record
// sets by number (0 = failure), and runs statements; why the last call failed is kept as a
// base::Error. Every text that crosses this interface is a GBK byte string; the file itself
// stores UTF-16.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "jet/database.h"
#include "sql/statement.h"

namespace bank {

// A cell as the program receives it.
struct Value {
  enum class Kind {
    kNone,
    kText,
    kBytes,
    kInt8,
    kInt16,
    kInt32,
    kFloat,
    kDouble,
    kBool,
    kDateTime
  };
  Kind kind = Kind::kNone;
  std::string bytes;    // kText (GBK) and kBytes
  int64_t integer = 0;  // kInt8, kInt16, kInt32, kBool (-1 true, 0 false)
  double real = 0;      // kFloat, kDouble, kDateTime

  bool is_text() const { return kind == Kind::kText; }
  bool is_bytes() const { return kind == Kind::kBytes; }
  bool is_number() const {
    return kind == Kind::kInt8 || kind == Kind::kInt16 || kind == Kind::kInt32 ||
           kind == Kind::kFloat || kind == Kind::kDouble || kind == Kind::kBool;
  }
  double number() const {
    return kind == Kind::kFloat || kind == Kind::kDouble || kind == Kind::kDateTime
               ? real
               : static_cast<double>(integer);
  }
  static Value Text(std::string gbk) { return {Kind::kText, std::move(gbk), 0, 0}; }
  static Value Bytes(std::string b) { return {Kind::kBytes, std::move(b), 0, 0}; }
  static Value Int(Kind k, int64_t v) { return {k, {}, v, 0}; }
};

// The connection text for `path`: "ODBC;DBQ=<path>[;DefaultDir=<dir>];Driver={Microsoft Access
// Driver (*.mdb)};FIL=MS Access[;UID=<user>][;PWD=<password>];". DefaultDir is the path up to
// its last directory separator, when it has one.
std::string BuildConnectionText(const std::string& path, const std::string& user,
                                const std::string& password);

class Database {
 public:
  Database();
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Opens the bank file read-write in place (read-only when `read_only`). False when the file
  // is missing, empty, damaged or foreign, a directory, the password is wrong, or it lacks the
  // tables test and config with their columns. `flag` is accepted and has no effect.
  [[nodiscard]] bool Open(const std::string& path, const std::string& user,
                          const std::string& password, bool read_only = false, bool flag = true);
  // Opens the file at `utf8_path` as the file system names it (UTF-8; wide characters on
  // Windows), for a path that GBK cannot hold; the password is GBK as everywhere.
  [[nodiscard]] bool OpenPath(const std::string& utf8_path, const std::string& password,
                              bool read_only = false);
  // Opens from a connection text as BuildConnectionText makes it.
  [[nodiscard]] bool Connect(const std::string& connection_text, bool read_only = false);
  // Opens the bank that `file` holds, with the same checks (tests put a failing or in-memory
  // file under the unit this way). `password` is GBK.
  [[nodiscard]] bool OpenFile(std::unique_ptr<jet::File> file, const std::string& password);
  [[nodiscard]] bool is_open() const { return db_ != nullptr; }
  void Close();

  // Runs a select; the record set's handle, positioned on its first row, or 0 on failure or
  // empty SQL.
  [[nodiscard]] int32_t OpenTable(const std::string& sql);
  [[nodiscard]] bool IsEOF(int32_t handle) const;
  void MoveFirst(int32_t handle);
  void MoveNext(int32_t handle);
  // The value of the current row's column; kNone for an unknown handle, column or no row.
  Value ReadColByName(int32_t handle, std::string_view column);
  Value ReadColByIndex(int32_t handle, int index);  // 1-based
  void CloseTable(int32_t handle);
  // The record set's column names (GBK), in column order; empty for an unknown handle.
  std::vector<std::string> ColumnNames(int32_t handle) const;
  // Runs an update (or any statement); false on failure or empty SQL. Outside a batch a true
  // update is on disk when it returns; inside one it is written in place and its flush is
  // left to the batch.
  [[nodiscard]] bool ExecuteSql(const std::string& sql);

  // Groups updates so that the file is flushed once instead of after every statement:
  //
  //   bank::Database::Batch batch(db);
  //   bool all_ran = true;
  //   for (...) all_ran = db.ExecuteSql(...) && all_ran;  // in place, not yet flushed
  //   const bool on_disk = batch.Finish();
  //
  // Only Finish's true says that the batch's changes are durable; a failed flush gives false
  // (the reason in last_error), however many statements returned true. The end of the scope
  // finishes an unfinished batch and drops the result. Batches may nest; each Finish flushes
  // what is owed so far. The batch must not outlive the Database.
  class Batch {
   public:
    explicit Batch(Database& db);
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;
    // Ends the batch and flushes; later calls give the first call's result.
    [[nodiscard]] bool Finish();

   private:
    Database& db_;
    std::optional<bool> finished_;
  };

  // Why the last failing call failed: the code (kIo, kCorrupt, kBadPassword, kNotFound for a
  // missing file, table or column, kSyntax, kInvalid for a call the connection's state or the
  // statement's kind refuses ...) and a UTF-8 message for logs and tools. A later successful
  // call leaves it as it is; before any failure it is kInvalid with an empty message.
  const base::Error& last_error() const { return last_error_; }
  // How many rows the last successful ExecuteSql update changed.
  int64_t last_changed() const { return last_changed_; }
  int open_record_sets() const { return static_cast<int>(sets_.size()); }

 private:
  struct RecordSet;
  // The open record set `handle`, or null. The last one found is remembered: a walk over a
  // set asks for the same handle three times a row.
  RecordSet* FindSet(int32_t handle) const;
  Value Read(RecordSet& set, int column);
  bool Fail(base::Error error);
  bool Fail(base::ErrorCode code, std::string why);
  // Takes `db` as the connection if it is a question bank.
  bool Adopt(base::Result<std::unique_ptr<jet::Database>> db);
  void BeginBatch();
  bool EndBatch();

  std::unique_ptr<jet::Database> db_;
  // Statements are parsed here: the paper's lookups, one per question, differ only in the id.
  sql::ReusingParser parser_;
  std::map<int32_t, std::unique_ptr<RecordSet>> sets_;
  mutable int32_t found_handle_ = 0;
  mutable RecordSet* found_set_ = nullptr;  // the set of found_handle_, or null
  int32_t next_handle_ = 1;
  base::Error last_error_{base::ErrorCode::kInvalid, {}};
  int64_t last_changed_ = 0;
  int open_batches_ = 0;
  // A flush owed to an open batch failed when the connection was closed under it.
  bool batch_flush_failed_ = false;
};

// Turns a cell read from the file into the program's value (texts to GBK, null texts to the
// empty text, null long binaries to the empty byte string).
Value ToProgramValue(const jet::Column& column, const jet::Value& value);

}  // namespace bank
