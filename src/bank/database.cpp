#include "bank/database.h"

#include <algorithm>
#include <filesystem>

#include "bank/schema.h"
#include "jet/names.h"
#include "sql/executor.h"
#include "text/gbk.h"

namespace bank {
namespace {

using base::ErrorCode::kInvalid;
using base::ErrorCode::kIo;
using base::ErrorCode::kNotFound;

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

constexpr const char* kDriver = ";Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access";

std::u16string Widened(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace

struct Database::RecordSet {
  // select *: the table and its matching rows. select count(*): one row with one number.
  sql::Selection selection;
  bool is_count = false;
  std::u16string count_name;
  int64_t count = 0;
  size_t position = 0;
  // The index of the column last read by name: a walk reads the same names row after row.
  int last_index = -1;
  size_t size() const { return is_count ? 1 : selection.size(); }
};

std::string BuildConnectionText(const std::string& path, const std::string& user,
                                const std::string& password) {
  std::string text = "ODBC;DBQ=" + path;
  const size_t last = path.rfind(kSeparator);
  if (last != std::string::npos) text += ";DefaultDir=" + path.substr(0, last);
  text += kDriver;
  if (!user.empty()) text += ";UID=" + user;
  if (!password.empty()) text += ";PWD=" + password;
  text += ";";
  return text;
}

Database::Database() = default;
Database::~Database() = default;

bool Database::Fail(base::Error error) {
  last_error_ = std::move(error);
  return false;
}

bool Database::Fail(base::ErrorCode code, std::string why) {
  return Fail(base::Error{code, std::move(why)});
}

bool Database::Open(const std::string& path, const std::string& user, const std::string& password,
                    bool read_only, bool /*flag*/) {
  return Connect(BuildConnectionText(path, user, password), read_only);
}

bool Database::Connect(const std::string& connection_text, bool read_only) {
  Close();
  // The path runs from DBQ= to the next known key (a path may hold ";"); the password from
  // PWD= to the closing ";" (a password may hold ";" too).
  const std::string& t = connection_text;
  const size_t dbq = t.find("DBQ=");
  if (dbq == std::string::npos) return Fail(kInvalid, "connection text without DBQ=");
  size_t path_end = t.size();
  for (const char* key : {";DefaultDir=", ";Driver=", ";FIL=", ";UID=", ";PWD="}) {
    path_end = std::min(path_end, t.find(key, dbq));
  }
  std::string path = t.substr(dbq + 4, path_end - dbq - 4);
  if (path_end == t.size() && !path.empty() && path.back() == ';') path.pop_back();
  std::string password;
  const size_t pwd = t.find(";PWD=", path_end == t.size() ? t.size() : path_end);
  if (pwd != std::string::npos) {
    password = t.substr(pwd + 5);
    if (!password.empty() && password.back() == ';') password.pop_back();
  }
  if (path.empty()) return Fail(kInvalid, "connection text without a file");
  return OpenPath(text::GbkToUtf8(path), password, read_only);
}

bool Database::OpenPath(const std::string& utf8_path, const std::string& password, bool read_only) {
  Close();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(std::filesystem::u8path(utf8_path), ec)) {
    return Fail(kNotFound, "no database file at " + utf8_path);
  }
  return Adopt(jet::Database::Open(utf8_path,
                                   read_only ? jet::OpenMode::kReadOnly : jet::OpenMode::kReadWrite,
                                   text::GbkToUtf16(password)));
}

bool Database::OpenFile(std::unique_ptr<jet::File> file, const std::string& password) {
  Close();
  if (!file) return Fail(kInvalid, "no file");
  return Adopt(jet::Database::Open(std::move(file), text::GbkToUtf16(password)));
}

bool Database::Adopt(base::Result<std::unique_ptr<jet::Database>> db) {
  if (!db) return Fail(db.take_error());
  // The columns the trainer relies on; a file without them is not a question bank.
  using Columns = std::span<const schema::ColumnSpec>;
  for (auto [table, columns] : {std::pair{u"test", Columns(schema::kTestColumns)},
                                std::pair{u"config", Columns(schema::kConfigColumns)}}) {
    auto def = (*db)->ReadTable(table);
    if (!def) return Fail(def.error().code, "not a question bank: " + def.error().message);
    for (const schema::ColumnSpec& column : columns) {
      if (def->FindColumn(Widened(column.name)) < 0) {
        return Fail(kNotFound, "not a question bank: table " + text::Utf16ToUtf8(table) +
                                   " lacks column " + std::string(column.name));
      }
    }
    if (auto whole = (*db)->CheckTable(*def); !whole) return Fail(whole.take_error());
  }
  db_ = std::move(*db);
  // A batch opened before this connection defers this connection's flushes too.
  for (int i = 0; i < open_batches_; ++i) db_->BeginSyncDeferral();
  return true;
}

void Database::Close() {
  sets_.clear();
  found_set_ = nullptr;
  // Changes written under an open batch are flushed before the file goes; the batch's Finish
  // reports how that went.
  if (db_ && open_batches_ > 0 && !db_->FlushOwed()) batch_flush_failed_ = true;
  db_.reset();
}

Database::Batch::Batch(Database& db) : db_(db) { db_.BeginBatch(); }

// A caller that needs the outcome calls Finish itself; here the flush only must not be skipped.
Database::Batch::~Batch() { (void)Finish(); }

bool Database::Batch::Finish() {
  if (!finished_) finished_ = db_.EndBatch();
  return *finished_;
}

void Database::BeginBatch() {
  if (open_batches_++ == 0) batch_flush_failed_ = false;
  if (db_) db_->BeginSyncDeferral();
}

bool Database::EndBatch() {
  if (open_batches_ > 0) --open_batches_;
  bool ok = !batch_flush_failed_;
  if (db_) {
    auto flushed = db_->EndSyncDeferral();
    if (!flushed) {
      ok = Fail(flushed.error().code,
                "the changes did not reach the disk: " + flushed.error().message);
    }
  } else if (!ok) {
    Fail(kIo, "the changes did not reach the disk before the database was closed");
  }
  return ok;
}

int32_t Database::OpenTable(const std::string& sql_text) {
  if (sql_text.empty()) {
    Fail(kInvalid, "empty statement");
    return 0;
  }
  if (!db_) {
    Fail(kInvalid, "the database is not open");
    return 0;
  }
  auto parsed = parser_.Parse(text::GbkToUtf16(sql_text));
  if (!parsed) {
    Fail(parsed.take_error());
    return 0;
  }
  const sql::Statement& statement = **parsed;
  auto set = std::make_unique<RecordSet>();
  if (statement.kind == sql::Statement::Kind::kSelectAll) {
    auto selection = sql::Select(*db_, statement);
    if (!selection) {
      Fail(selection.take_error());
      return 0;
    }
    set->selection = std::move(*selection);
  } else if (statement.kind == sql::Statement::Kind::kSelectCount) {
    auto count = sql::Count(*db_, statement);
    if (!count) {
      Fail(count.take_error());
      return 0;
    }
    set->is_count = true;
    set->count_name = statement.count_name;
    set->count = *count;
  } else {
    Fail(kInvalid, "a record set needs a select statement");
    return 0;
  }
  if (next_handle_ <= 0) next_handle_ = 1;  // after two billion record sets
  const int32_t handle = next_handle_++;
  if (handle == found_handle_) found_set_ = nullptr;
  sets_[handle] = std::move(set);
  return handle;
}

Database::RecordSet* Database::FindSet(int32_t handle) const {
  if (found_set_ != nullptr && handle == found_handle_) return found_set_;
  auto it = sets_.find(handle);
  if (it == sets_.end()) return nullptr;
  found_handle_ = handle;
  found_set_ = it->second.get();
  return found_set_;
}

bool Database::IsEOF(int32_t handle) const {
  const RecordSet* set = FindSet(handle);
  return set == nullptr || set->position >= set->size();
}

void Database::MoveFirst(int32_t handle) {
  if (RecordSet* set = FindSet(handle)) set->position = 0;
}

void Database::MoveNext(int32_t handle) {
  if (RecordSet* set = FindSet(handle); set != nullptr && set->position < set->size()) {
    ++set->position;
  }
}

void Database::CloseTable(int32_t handle) {
  if (handle == found_handle_) found_set_ = nullptr;
  sets_.erase(handle);
}

std::vector<std::string> Database::ColumnNames(int32_t handle) const {
  std::vector<std::string> names;
  const RecordSet* set = FindSet(handle);
  if (set == nullptr) return names;
  if (set->is_count) return {text::Utf16ToGbk(set->count_name)};
  for (const auto& c : set->selection.table->columns) names.push_back(text::Utf16ToGbk(c.name));
  return names;
}

Value ToProgramValue(const jet::Column& column, const jet::Value& value) {
  using K = Value::Kind;
  struct Visitor {
    const jet::Column& c;
    Value operator()(std::monostate) {
      switch (c.type) {
        case jet::ColumnType::kText:
        case jet::ColumnType::kMemo:
          return Value::Text({});
        case jet::ColumnType::kBinary:
        case jet::ColumnType::kLongBinary:
          return Value::Bytes({});
        default:
          return {};
      }
    }
    Value operator()(bool b) { return Value::Int(K::kBool, b ? -1 : 0); }
    Value operator()(uint8_t x) { return Value::Int(K::kInt8, x); }
    Value operator()(int16_t x) { return Value::Int(K::kInt16, x); }
    Value operator()(int32_t x) { return Value::Int(K::kInt32, x); }
    Value operator()(jet::Currency x) {
      return {K::kDouble, {}, 0, static_cast<double>(x.scaled) / 10000.0};
    }
    Value operator()(float x) { return {K::kFloat, {}, 0, static_cast<double>(x)}; }
    Value operator()(double x) { return {K::kDouble, {}, 0, x}; }
    Value operator()(jet::DateTime x) { return {K::kDateTime, {}, 0, x.days}; }
    Value operator()(const std::vector<uint8_t>& b) {
      return Value::Bytes(std::string(reinterpret_cast<const char*>(b.data()), b.size()));
    }
    Value operator()(const std::u16string& s) { return Value::Text(text::Utf16ToGbk(s)); }
    Value operator()(const jet::Guid& g) {
      return Value::Bytes(std::string(g.bytes.begin(), g.bytes.end()));
    }
    Value operator()(const jet::Numeric& n) { return Value::Text(n.ToString()); }
  };
  return std::visit(Visitor{column}, value);
}

Value Database::Read(RecordSet& set, int column) {
  if (set.position >= set.size()) return {};
  if (set.is_count) return Value::Int(Value::Kind::kInt32, set.count);
  const jet::TableDef& table = *set.selection.table;
  const jet::ColumnType type = table.columns[static_cast<size_t>(column)].type;
  if (type == jet::ColumnType::kBinary || type == jet::ColumnType::kLongBinary) {
    // Pictures straight into the value's bytes, a null one as the empty byte string.
    Value bytes = Value::Bytes({});
    auto read = db_->ReadBytes(table, set.selection.row(set.position), column, bytes.bytes);
    if (!read) {
      Fail(read.take_error());
      return {};
    }
    return bytes;
  }
  if (type == jet::ColumnType::kText) {
    auto field = db_->FieldBytes(table, set.selection.row(set.position), column);
    if (!field) {
      Fail(field.take_error());
      return {};
    }
    if (!*field) return Value::Text({});
    // Ids, numbers and keys are ASCII: their GBK bytes are their stored bytes.
    if (auto ascii = jet::CompressedAscii(**field)) return Value::Text(std::string(*ascii));
    return Value::Text(text::Utf16ToGbk(jet::DecodeText(**field)));
  }
  auto v = db_->ReadValue(table, set.selection.row(set.position), column);
  if (!v) {
    Fail(v.take_error());
    return {};
  }
  return ToProgramValue(table.columns[static_cast<size_t>(column)], *v);
}

Value Database::ReadColByName(int32_t handle, std::string_view column) {
  RecordSet* found = FindSet(handle);
  if (found == nullptr || !db_) return {};
  RecordSet& set = *found;
  const bool ascii = std::all_of(column.begin(), column.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  const std::u16string name = ascii ? std::u16string() : text::GbkToUtf16(column);
  if (set.is_count) {
    const bool same =
        ascii ? jet::SameAsciiName(set.count_name, column) : sql::SameName(name, set.count_name);
    return same ? Read(set, 0) : Value{};
  }
  const jet::TableDef& table = *set.selection.table;
  // The column read last is tried first: it is the first column of its name, as a search
  // would find.
  if (ascii && set.last_index >= 0 &&
      jet::SameAsciiName(table.columns[static_cast<size_t>(set.last_index)].name, column)) {
    return Read(set, set.last_index);
  }
  const int index = ascii ? table.FindAsciiColumn(column) : table.FindColumn(name);
  if (index < 0) {
    Fail(kNotFound, "no column " + text::GbkToUtf8(column));
    return {};
  }
  set.last_index = index;
  return Read(set, index);
}

Value Database::ReadColByIndex(int32_t handle, int index) {
  RecordSet* found = FindSet(handle);
  if (found == nullptr || !db_) return {};
  RecordSet& set = *found;
  const size_t columns = set.is_count ? 1 : set.selection.table->columns.size();
  if (index < 1 || static_cast<size_t>(index) > columns) return {};
  return Read(set, index - 1);
}

bool Database::ExecuteSql(const std::string& sql_text) {
  if (sql_text.empty()) return Fail(kInvalid, "empty statement");
  if (!db_) return Fail(kInvalid, "the database is not open");
  auto parsed = parser_.Parse(text::GbkToUtf16(sql_text));
  if (!parsed) return Fail(parsed.take_error());
  const sql::Statement& statement = **parsed;
  switch (statement.kind) {
    case sql::Statement::Kind::kUpdate: {
      auto n = sql::Update(*db_, statement);
      if (!n) return Fail(n.take_error());
      last_changed_ = *n;
      return true;
    }
    case sql::Statement::Kind::kSelectAll: {
      auto s = sql::Select(*db_, statement);
      return s ? true : Fail(s.take_error());
    }
    case sql::Statement::Kind::kSelectCount: {
      auto c = sql::Count(*db_, statement);
      return c ? true : Fail(c.take_error());
    }
  }
  return false;
}

}  // namespace bank
