// Any statement text must parse, bind and run on a small bank, or fail cleanly: never crash,
// never loop for ever. The text is taken as ASCII bytes, which reaches keywords often.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_banks.h"
#include "jet/database.h"
#include "sql/executor.h"
#include "sql/statement.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const std::u16string text(data, data + size);
  auto statement = sql::Parse(text);
  if (!statement) return 0;
  auto db = jet::Database::Open(std::make_unique<fuzzing::OverlayFile>(fuzzing::SmallBank(), true),
                                u"pw");
  if (!db) __builtin_trap();  // the bank itself always opens
  switch (statement->kind) {
    case sql::Statement::Kind::kSelectAll: {
      auto selection = sql::Select(**db, *statement);
      if (selection) {
        for (size_t r = 0; r < selection->size(); ++r) {
          for (size_t c = 0; c < selection->table->columns.size(); ++c) {
            (void)(*db)->ReadValue(*selection->table, selection->row(r), static_cast<int>(c));
          }
        }
      }
      break;
    }
    case sql::Statement::Kind::kSelectCount:
      (void)sql::Count(**db, *statement);
      break;
    case sql::Statement::Kind::kUpdate:
      (void)sql::Update(**db, *statement);
      break;
  }
  return 0;
}
