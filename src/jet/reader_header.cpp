// src/jet/reader_header.cpp
// Opening a file: the header page (signature, version, the masked region with the password and
// the creation date), the page cache and its revalidation against the file.
#include <cmath>
#include <cstring>

#include "base/rc4.h"
#include "jet/bytes.h"
#include "jet/database.h"
#include "jet/format.h"
#include "jet/reader_internal.h"

namespace jet {

Database::Database(std::unique_ptr<File> file) : file_(std::move(file)) {}
Database::~Database() = default;

Result<std::unique_ptr<Database>> Database::Open(const std::string& path, OpenMode mode,
                                                 std::u16string_view password) {
  EXAMORA_ASSIGN_OR_RETURN(auto file, OpenDiskFile(path, mode));
  return Open(std::move(file), password);
}

Result<std::unique_ptr<Database>> Database::Open(std::unique_ptr<File> file,
                                                 std::u16string_view password) {
  std::unique_ptr<Database> db(new Database(std::move(file)));
  EXAMORA_TRY(db->ReadHeader(password));
  EXAMORA_TRY(db->ReadCatalog());
  return db;
}

Result<void> Database::ReadHeader(std::u16string_view password) {
  const uint64_t size = file_->Size();
  if (size < kPageSize) return MakeError(ErrorCode::kCorrupt, "not a database: file too short");
  uint8_t page[kPageSize];
  EXAMORA_TRY(file_->ReadAt(0, std::span<uint8_t>(page, kPageSize)));
  static constexpr char kJet[] = "Standard Jet DB";
  static constexpr char kAce[] = "Standard ACE DB";
  static constexpr char kMsisam[] = "MSISAM Database";
  if (page[0] != 0x00 || page[1] != 0x01) {
    return MakeError(ErrorCode::kCorrupt, "not a database: bad header page");
  }
  if (std::memcmp(page + format::kSignatureOffset, kMsisam, 15) == 0 ||
      std::memcmp(page + format::kSignatureOffset, kAce, 15) == 0) {
    return MakeError(ErrorCode::kUnsupported, "only Jet 4 (Access 2000-2003) files are supported");
  }
  if (std::memcmp(page + format::kSignatureOffset, kJet, 15) != 0) {
    return MakeError(ErrorCode::kCorrupt, "not a database: no Jet signature");
  }
  const uint32_t version = LoadU32(page + format::kVersionOffset);
  if (version == 0) {
    return MakeError(ErrorCode::kUnsupported,
                     "Jet 3 (Access 97) files are not supported, only Jet 4");
  }
  if (version != 1) {
    return MakeError(ErrorCode::kUnsupported, "only Jet 4 (Access 2000-2003) files are supported");
  }
  if (size % kPageSize != 0 || size / kPageSize < 3 || size / kPageSize > 0xFFFFFF) {
    return Corrupt("length is not a whole number of pages");
  }
  page_count_ = static_cast<uint32_t>(size / kPageSize);

  uint8_t region[format::kMaskedSize];
  std::memcpy(region, page + format::kMaskedStart, format::kMaskedSize);
  base::Rc4(std::span<const uint8_t>(format::kHeaderKey)).Apply(region);
  auto at = [&](size_t file_offset) { return region + (file_offset - format::kMaskedStart); };
  if (LoadU32(at(format::kDatabaseKeyOffset)) != 0) {
    return MakeError(ErrorCode::kUnsupported, "encoded (encrypted) databases are not supported");
  }
  creation_date_ = LoadF64(at(format::kCreationDateOffset));
  // The password is XORed with the whole days of the creation date, repeated.
  if (!std::isfinite(creation_date_) || std::fabs(creation_date_) >= 2147483647.0) {
    return Corrupt("creation date out of range");
  }
  const auto day = static_cast<int32_t>(creation_date_);
  uint8_t mask[4];
  StoreU32(mask, static_cast<uint32_t>(day));
  std::u16string stored;
  for (size_t i = 0; i < format::kPasswordBytes; i += 2) {
    const uint8_t* p = at(format::kPasswordOffset) + i;
    auto c = static_cast<char16_t>((p[0] ^ mask[i % 4]) | ((p[1] ^ mask[(i + 1) % 4]) << 8));
    if (c == 0) break;
    stored += c;
  }
  if (!stored.empty() && stored != password) {
    return MakeError(ErrorCode::kBadPassword,
                     password.empty() ? "the database has a password" : "wrong database password");
  }
  return base::Ok();
}

Result<void> Database::Revalidate() {
  if (scans_ > 0) return base::Ok();
  EXAMORA_ASSIGN_OR_RETURN(const bool changed, file_->Refresh());
  at_rest_ = !changed;
  if (!changed) return base::Ok();
  cache_.Clear();
  text_indexes_.clear();
  remembered_.clear();
  definitions_.clear();
  page_count_ = static_cast<uint32_t>(file_->Size() / kPageSize);
  return base::Ok();
}

Result<std::span<const uint8_t>> Database::Page(uint32_t page, std::vector<uint8_t>* scratch) {
  if (page >= page_count_)
    return Corrupt("reference to page " + std::to_string(page) + " beyond the end of the file");
  if (const std::vector<uint8_t>* known = cache_.Find(page)) {
    return std::span<const uint8_t>(*known);
  }
  if (cache_.size() >= reader_internal::kMaxCachedPages) {
    if (scratch != nullptr) {
      scratch->resize(kPageSize);
      EXAMORA_TRY(file_->ReadAt(uint64_t{page} * kPageSize, *scratch));
      return std::span<const uint8_t>(*scratch);
    }
    if (scans_ == 0) cache_.Clear();
  }
  std::vector<uint8_t> bytes(kPageSize);
  EXAMORA_TRY(file_->ReadAt(uint64_t{page} * kPageSize, bytes));
  return std::span<const uint8_t>(cache_.Put(page, std::move(bytes)));
}

}  // namespace jet
