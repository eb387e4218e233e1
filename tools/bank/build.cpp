#include "build.h"

#include <fstream>
#include <map>

#include "bank/cipher.h"
#include "bank/extract.h"
#include "bank/schema.h"
#include "jet/writer.h"
#include "text/gbk.h"

namespace banksrc {

using base::ErrorCode;
using base::MakeError;
using base::Result;

Result<std::vector<uint8_t>> BuildImage(const Bank& bank, const std::filesystem::path& pictures,
                                        const RenderPicture& render) {
  auto u16 = [](const std::string& utf8) { return text::Utf8ToUtf16(utf8); };
  auto bytes = [](const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); };

  jet::WriterTable config = bank::schema::ConfigTable();
  config.indexes = {{"NUMBERID", {"NUMBERID"}, false, false},
                    {"TESTNUM", {"TESTNUM"}, false, false}};
  for (const Category& c : bank.categories) {
    std::vector<jet::CellValue> row{u16(c.code), u16(c.name), std::monostate{}, u16(c.test_num)};
    for (double n : c.classes) row.emplace_back(n);
    config.rows.push_back(std::move(row));
  }

  jet::WriterTable test = bank::schema::TestTable();
  std::map<std::string, std::string> rasters;  // a picture shared by questions is made once
  for (const Question& q : bank.questions) {
    jet::CellValue pic;
    if (!q.picture.empty()) {
      auto it = rasters.find(q.picture);
      if (it == rasters.end()) {
        EXAMORA_ASSIGN_OR_RETURN(std::string raster, render(pictures / q.picture));
        it = rasters.emplace(q.picture, std::move(raster)).first;
      }
      pic = bytes(bank::Encipher(it->second));
    }
    auto option = [&](size_t i) -> jet::CellValue {
      if (i >= q.options.size()) return std::monostate{};
      return u16(q.options[i]);
    };
    test.rows.push_back({u16(q.id), u16(q.name + " "),
                         bytes(bank::Encipher(text::Utf8ToGbk(q.question))), option(0), option(1),
                         option(2), option(3), std::u16string(1, static_cast<char16_t>(q.answer)),
                         std::move(pic), int16_t{0}});
  }
  jet::WriterOptions options;
  options.password = kBankPassword;
  options.creation_date = kCreationDate;
  return jet::WriteDatabase({config, test}, options);
}

Result<void> WriteFileAtomically(const std::filesystem::path& path,
                                 const std::vector<uint8_t>& bytes) {
  return bank::WriteNewFile(
      path.string(), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
      /*replace=*/true);
}

}  // namespace banksrc
