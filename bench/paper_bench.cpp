// A new paper for C1C2C3C4 and the write-back of 100 answers, on a bank file on disk: the file
// named by EXAMORA_BENCH_BANK when set, else the built-in bank when the build has it, else a
// bank of the same shape made with the writer. Pending events are a no-op here, so the times
// leave event processing out. Targets: a new paper under 15 ms, the write-back (flushed to
// disk) under 30 ms. BM_HundredUpdatesEachFlushed runs the same statements one flush apiece,
// as a yardstick for what grouping them saves.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bank/cipher.h"
#include "bank/database.h"
#include "bank/schema.h"
#include "exam/mastery.h"
#include "jet/database.h"
#include "jet/format.h"
#include "jet/writer.h"
#include "keys/key_commands.h"
#include "platform/fake/fake_host.h"
#include "text/gbk.h"
#include "ui/windows.h"
#ifdef EXAMORA_HAVE_BUILTIN_BANK
#include "bank/builtin_image.h"
#endif

namespace {

constexpr char kPassword[] = "rq7m2kx9tv4wz8";

// 2,300 questions over 18 categories with the shipped config rows' classes for C1C2C3C4
// (categories 01 to 07, 1,319 questions); every fifth has a picture of 14 to 60 KB, the size of
// photographs rather than of the shipped drawings (about 17 MB in all).
std::string ShapedImage() {
  jet::WriterTable config = bank::schema::ConfigTable();
  jet::WriterTable test = bank::schema::TestTable();
  const int counts[18] = {441, 258, 239, 127, 142, 64, 48, 59, 70,
                          51,  222, 244, 145, 86,  43, 30, 30, 1};
  const std::string question = bank::Encipher(
      text::Utf8ToGbk("机动车驾驶人在道路上行驶时，遇到前方有行人横过道路，应当怎样做？"));
  for (int c = 0; c < 18; ++c) {
    char code[3] = {char('0' + (c + 1) / 10), char('0' + (c + 1) % 10), 0};
    const double in_c1 = c < 7 ? 10 : 0;
    config.rows.push_back({text::Utf8ToUtf16(code), std::u16string(u"类别"), std::monostate{},
                           std::u16string(u"0"), in_c1, in_c1, in_c1, in_c1, c >= 10 ? 10.0 : 0});
    for (int i = 1; i <= counts[c]; ++i) {
      char id[16];
      std::snprintf(id, sizeof id, "%s%05d", code, i);
      jet::CellValue pic = std::monostate{};
      if (i % 5 == 0) pic = std::vector<uint8_t>(14000 + size_t(i) * 7919 % 46000, uint8_t(i));
      test.rows.push_back({text::Utf8ToUtf16(id), std::u16string(u"1.1.1.1 "),
                           std::vector<uint8_t>(question.begin(), question.end()),
                           std::u16string(u"选项一"), std::u16string(u"选项二"),
                           std::u16string(u"选项三"), std::u16string(u"选项四"),
                           std::u16string(u"A"), pic, int16_t{0}});
    }
  }
  jet::WriterOptions options;
  options.password = u"rq7m2kx9tv4wz8";
  auto bytes = jet::WriteDatabase({config, test}, options);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

// The bank to measure: EXAMORA_BENCH_BANK names a file, or "shaped" for ShapedImage; else the
// built-in bank when the build has it.
std::string BankImage() {
  const char* file = std::getenv("EXAMORA_BENCH_BANK");
  if (file != nullptr && std::string_view(file) == "shaped") return ShapedImage();
  if (file != nullptr && *file != 0) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
#ifdef EXAMORA_HAVE_BUILTIN_BANK
  return std::string(bank::BuiltinImage());
#else
  return ShapedImage();
#endif
}

// A bank file in a temporary folder, opened, with the windows and the exam on it.
struct Desk {
  Desk() {
    dir = std::filesystem::temp_directory_path() / ("examora-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    path = (dir / "exam.sys").string();
    const std::string image = BankImage();
    std::ofstream(path, std::ios::binary).write(image.data(), std::streamsize(image.size()));
    opened = db.Open(path, "", kPassword);
    ctx = std::make_unique<exam::Context>(main, score, db, host, exam::Pictures{"p", "r", "w"});
  }
  ~Desk() {
    db.Close();
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
  // A learner's bank has rested long before a paper is drawn. For two seconds after a write the
  // file's times cannot tell a later write apart, so the engine rereads the pages of every
  // statement then; this waits that out.
  static void LetTheFileRest() { std::this_thread::sleep_for(std::chrono::milliseconds(2200)); }

  std::filesystem::path dir;
  std::string path;
  platform::FakeHost host;
  ui::MainWindow main;
  ui::ScoreWindow score;
  bank::Database db;
  bool opened = false;
  std::unique_ptr<exam::Context> ctx;
};

// Whether the desk's bank opened (else the benchmark is skipped); the filter box is unticked,
// so that papers are drawn from the whole class, 1,319 candidates.
bool ReadyForTheWholeClass(Desk& desk, benchmark::State& state) {
  if (!desk.opened) {
    state.SkipWithError("the bank does not open");
    return false;
  }
  desk.main.启用过滤选择框.set_ticked(false);
  return true;
}

// The deciphered bytes of the paper's question texts and pictures.
size_t PaperBytes(const exam::Context& ctx) {
  size_t bytes = 0;
  for (int32_t i = 1; i <= ctx.paper.size(); ++i) {
    bytes += ctx.paper.At(i)->pic.size() + ctx.paper.At(i)->question.size();
  }
  return bytes;
}

void BM_NewPaperC1C2C3C4(benchmark::State& state) {
  Desk desk;
  if (!ReadyForTheWholeClass(desk, state)) return;  // the whole class, 1,319 candidates
  Desk::LetTheFileRest();
  double paper_bytes = 0;
  for (auto _ : state) {
    base::Result<void> status = keys::NewPaper(*desk.ctx);
    benchmark::DoNotOptimize(status);
    paper_bytes += double(PaperBytes(*desk.ctx));  // some 200 additions, next to nothing
  }
  state.counters["questions"] = desk.ctx->paper.size();
  state.counters["paper_bytes"] =
      benchmark::Counter(paper_bytes, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_NewPaperC1C2C3C4)->Unit(benchmark::kMillisecond);

// The same within two seconds of a write to the file (a hand-in, another program's update):
// every statement rereads what it needs from the operating system's cache.
void BM_NewPaperRightAfterAWrite(benchmark::State& state) {
  Desk desk;
  if (!ReadyForTheWholeClass(desk, state)) return;
  for (auto _ : state) {
    state.PauseTiming();
    if (!desk.db.ExecuteSql("update test set reserved=0 where id='0100001'")) {
      state.SkipWithError("the update failed");
    }
    state.ResumeTiming();
    base::Result<void> status = keys::NewPaper(*desk.ctx);
    benchmark::DoNotOptimize(status);
  }
}
BENCHMARK(BM_NewPaperRightAfterAWrite)->Unit(benchmark::kMillisecond);

// The physical floor of a paper: the same 100 questions' bytes, and nothing else, read from the
// file through the operating system's cache (their rows and the rows of their long values, one
// read per piece), their texts decoded to GBK, their question texts and pictures deciphered.
// Where the pieces lie is found once before timing, from the file's bytes.
struct FloorPiece {
  uint64_t at = 0;  // file offset
  size_t size = 0;
};
struct FloorQuestion {
  FloorPiece row;
  std::vector<std::pair<size_t, size_t>> texts;  // offset and size of each text in the row
  std::vector<FloorPiece> question;              // the long value pieces of timu
  std::vector<FloorPiece> picture;               // and of pic
};

// The file offset and size of row `row` of page `page`, as the row table of the page gives it.
std::optional<FloorPiece> RowPiece(const std::string& image, uint32_t page, uint16_t row) {
  const size_t base = size_t{page} * jet::kPageSize;
  if (base + jet::kPageSize > image.size()) return std::nullopt;
  auto u16 = [&](size_t at) {
    return uint16_t(uint8_t(image[base + at]) | uint8_t(image[base + at + 1]) << 8);
  };
  const uint16_t mask = jet::format::kRowOffsetMask;
  const size_t start = u16(jet::format::kDataPageHeader + 2 * size_t{row}) & mask;
  const size_t end =
      row == 0 ? jet::kPageSize : u16(jet::format::kDataPageHeader + 2 * size_t{row} - 2) & mask;
  if (start >= end) return std::nullopt;
  return FloorPiece{base + start, end - start};
}

// The pieces of a long value whose 12-byte header sits at `header` in the file.
std::vector<FloorPiece> LongValuePieces(const std::string& image, uint64_t header) {
  auto u32 = [&](uint64_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | uint8_t(image[at + size_t(i)]);
    return v;
  };
  const uint32_t length = u32(header) & 0xFFFFFF;
  const uint8_t kind = uint8_t(image[header + 3]);
  if (kind == jet::format::kLongValueInline) return {{header + 12, length}};
  std::vector<FloorPiece> pieces;
  uint32_t pgrow = u32(header + 4);
  size_t left = length;
  while (left > 0 && pieces.size() < 1000) {
    auto row = RowPiece(image, pgrow >> 8, uint16_t(pgrow & 0xFF));
    if (!row) break;
    if (kind == jet::format::kLongValueSingle) return {{row->at, length}};
    const size_t chunk = std::min(left, row->size - 4);
    pieces.push_back({row->at + 4, chunk});
    left -= chunk;
    pgrow = u32(row->at);
  }
  return pieces;
}

// Where the pieces of each paper's questions lie in the bank at `path`; empty when one of them
// is missing.
std::vector<std::vector<FloorQuestion>> LocatePapers(
    const std::string& path, const std::vector<std::vector<std::string>>& papers) {
  std::ifstream in(path, std::ios::binary);
  const std::string image(std::istreambuf_iterator<char>(in), {});
  auto db = jet::Database::Open(path, jet::OpenMode::kReadOnly, u"rq7m2kx9tv4wz8");
  if (!db) return {};
  auto table = (*db)->ReadTable(u"test");
  if (!table) return {};
  std::map<std::string, jet::RowId> rows;
  const int id_column = table->FindColumn(u"id");
  (void)(*db)->ScanRows(*table, [&](const jet::Row& row) {
    auto id = (*db)->ReadValue(*table, row, id_column);
    if (id && std::holds_alternative<std::u16string>(*id)) {
      rows.emplace(text::Utf16ToUtf8(std::get<std::u16string>(*id)), row.id);
    }
    return true;
  });
  std::vector<std::vector<FloorQuestion>> out;
  for (const std::vector<std::string>& ids : papers) {
    std::vector<FloorQuestion>& paper = out.emplace_back();
    for (const std::string& id : ids) {
      auto found = rows.find(id);
      if (found == rows.end()) return {};
      auto piece = RowPiece(image, found->second.page, found->second.row);
      if (!piece) return {};
      FloorQuestion q;
      q.row = *piece;
      const jet::RowView view{
          found->second, {reinterpret_cast<const uint8_t*>(image.data()) + piece->at, piece->size}};
      for (const char16_t* name :
           {u"id", u"name", u"a", u"b", u"c", u"d", u"right_key", u"timu", u"pic"}) {
        auto bytes = (*db)->FieldBytes(*table, view, table->FindColumn(name));
        if (!bytes || !*bytes) continue;
        const size_t offset = size_t((*bytes)->data() - view.bytes.data());
        const std::u16string_view column(name);
        if (column == u"timu" || column == u"pic") {
          (column == u"timu" ? q.question : q.picture) = LongValuePieces(image, piece->at + offset);
        } else {
          q.texts.push_back({offset, (*bytes)->size()});
        }
      }
      paper.push_back(std::move(q));
    }
  }
  return out;
}

std::string ReadPieces(int fd, const std::vector<FloorPiece>& pieces) {
  size_t total = 0;
  for (const FloorPiece& p : pieces) total += p.size;
  std::string out(total, '\0');
  size_t at = 0;
  for (const FloorPiece& p : pieces) {
    if (::pread(fd, out.data() + at, p.size, off_t(p.at)) != ssize_t(p.size)) return {};
    at += p.size;
  }
  return out;
}

void BM_PaperFloor(benchmark::State& state) {
  Desk desk;
  if (!ReadyForTheWholeClass(desk, state)) return;
  // The papers that BM_NewPaperC1C2C3C4 draws on a fresh desk, in the same order: their sizes
  // differ (a paper with more pictures has more to read), so the floor goes through the same
  // draws rather than repeating one of them.
  constexpr size_t kPapers = 256;
  std::vector<std::vector<std::string>> papers;
  double paper_bytes = 0;
  for (size_t p = 0; p < kPapers; ++p) {
    (void)keys::NewPaper(*desk.ctx);
    std::vector<std::string>& ids = papers.emplace_back();
    for (int32_t i = 1; i <= desk.ctx->paper.size(); ++i) ids.push_back(desk.ctx->paper.At(i)->id);
    paper_bytes += double(PaperBytes(*desk.ctx));
  }
  const std::vector<std::vector<FloorQuestion>> located = LocatePapers(desk.path, papers);
  const int fd = located.size() == kPapers ? ::open(desk.path.c_str(), O_RDONLY | O_CLOEXEC) : -1;
  if (fd < 0) {
    state.SkipWithError("the papers' rows were not found");
    return;
  }
  state.counters["paper_bytes"] = paper_bytes / kPapers;
  size_t bytes = 0;
  size_t next = 0;
  // Like a paper, the floor keeps what it read until the next one replaces it.
  std::vector<std::string> kept;
  for (auto _ : state) {
    kept.clear();
    for (const FloorQuestion& q : located[next]) {
      const std::string row = ReadPieces(fd, {q.row});
      for (const auto& [offset, size] : q.texts) {
        const auto* at = reinterpret_cast<const uint8_t*>(row.data()) + offset;
        kept.push_back(text::Utf16ToGbk(jet::DecodeText({at, size})));
      }
      kept.push_back(bank::Decipher(ReadPieces(fd, q.question)));
      kept.push_back(bank::Decipher(ReadPieces(fd, q.picture)));
      bytes += row.size() + kept.back().size() + kept[kept.size() - 2].size();
    }
    benchmark::DoNotOptimize(kept.data());
    next = (next + 1) % kPapers;
  }
  ::close(fd);
  state.counters["bytes"] = benchmark::Counter(double(bytes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PaperFloor)->Unit(benchmark::kMillisecond);

// A paper of 100 answered questions, every third one wrong. False when the bank does not open.
bool AnsweredPaper(Desk& desk, benchmark::State& state) {
  if (!ReadyForTheWholeClass(desk, state)) return false;
  (void)keys::NewPaper(*desk.ctx);
  for (int32_t i = 1; i <= desk.ctx->paper.size(); ++i) {
    desk.ctx->paper.At(i)->answer = i % 3 == 0 ? "Z" : desk.ctx->paper.At(i)->right_key;
  }
  state.counters["statements"] = desk.ctx->paper.size();
  return true;
}

void BM_WriteBackMastery100(benchmark::State& state) {
  Desk desk;
  if (!AnsweredPaper(desk, state)) return;
  for (auto _ : state) {
    if (!exam::WriteBackMastery(*desk.ctx)) state.SkipWithError("the write-back failed");
  }
}
BENCHMARK(BM_WriteBackMastery100)->Unit(benchmark::kMillisecond);

void BM_HundredUpdatesEachFlushed(benchmark::State& state) {
  Desk desk;
  if (!AnsweredPaper(desk, state)) return;
  for (auto _ : state) {
    for (int32_t i = 1; i <= desk.ctx->paper.size(); ++i) {
      const exam::QuestionRecord& r = *desk.ctx->paper.At(i);
      const int counter = r.answer == r.right_key ? r.reserved + 1 : 0;
      benchmark::DoNotOptimize(desk.db.ExecuteSql(
          "update test set reserved=" + std::to_string(counter) + " where id='" + r.id + "'"));
    }
  }
}
BENCHMARK(BM_HundredUpdatesEachFlushed)->Unit(benchmark::kMillisecond);

}  // namespace
