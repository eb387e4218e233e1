// First start: the bank file appears complete or not at all, and an existing one is kept.
#include <gtest/gtest.h>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <csignal>
#endif

#include <filesystem>
#include <optional>

#include "bank/extract.h"
#include "support/process.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::Utf8;
using testing_support::Utf8Path;
using testing_support::WriteBytes;

std::string Image(size_t size) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>(i * 31 + 7);
  return s;
}

size_t EntriesIn(const fs::path& dir) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(BankExtract, WritesExactlyTheImageOnce) {
  TempDir dir;
  const std::string path = bank::BankPath(dir.path().string() + "/");
  EXPECT_EQ(path, (dir / "exam.sys").string());
  const std::string image = Image(3 << 20);
  auto first = bank::EnsureBankFile(path, image);
  ASSERT_TRUE(first) << first.error().message;
  EXPECT_TRUE(*first);
  auto bytes = ReadBytes(path);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), image);
  EXPECT_EQ(EntriesIn(dir.path()), 1u) << "no temporary file is left behind";

  // The learner's changes survive the next start.
  bytes[100] ^= 0xFF;
  WriteBytes(path, bytes);
  auto second = bank::EnsureBankFile(path, image);
  ASSERT_TRUE(second);
  EXPECT_FALSE(*second);
  EXPECT_EQ(ReadBytes(path), bytes);
}

TEST(BankExtract, AnythingAtThePathIsLeftAlone) {
  TempDir dir;
  const std::string empty = (dir / "empty").string();
  WriteBytes(empty, {});
  EXPECT_FALSE(*bank::EnsureBankFile(empty, "image"));
  EXPECT_EQ(fs::file_size(empty), 0u);
  const fs::path folder = dir / "folder";
  fs::create_directory(folder);
  EXPECT_FALSE(*bank::EnsureBankFile(folder.string(), "image"));
  EXPECT_TRUE(fs::is_directory(folder));
#ifndef _WIN32
  const fs::path link = dir / "dangling";
  fs::create_symlink(dir / "nowhere", link);
  EXPECT_FALSE(*bank::EnsureBankFile(link.string(), "image"));
  EXPECT_FALSE(fs::exists(dir / "nowhere"));
#endif
}

// A folder named in Chinese: the UTF-8 path reaches the file system as those characters, not
// as their bytes in some code page.
TEST(BankExtract, WritesIntoAFolderWithAChineseName) {
  TempDir dir;
  // Built from UTF-8, whatever the code page.
  const fs::path chinese = dir.path() / Utf8Path("驾驶 理论考试");
  fs::create_directory(chinese);
  const std::string path = bank::BankPath(Utf8(chinese));
  EXPECT_EQ(path, Utf8(chinese / "exam.sys"));
  const std::string image = Image(70000);
  auto first = bank::EnsureBankFile(path, image);
  ASSERT_TRUE(first) << first.error().message;
  EXPECT_TRUE(*first);
  auto bytes = ReadBytes(chinese / "exam.sys");
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), image);
  EXPECT_EQ(EntriesIn(chinese), 1u) << "no temporary file is left behind";
  EXPECT_EQ(EntriesIn(dir.path()), 1u) << "nothing lands beside the folder";
  auto second = bank::EnsureBankFile(path, "other");
  ASSERT_TRUE(second);
  EXPECT_FALSE(*second);
  EXPECT_EQ(fs::file_size(chinese / "exam.sys"), image.size());
}

TEST(BankExtract, AFolderThatIsNotThereIsAnError) {
  TempDir dir;
  const std::string path = bank::BankPath(Utf8(dir / "missing"));
  auto r = bank::EnsureBankFile(path, "image");
  EXPECT_FALSE(r);
  EXPECT_EQ(EntriesIn(dir.path()), 0u);
}

#ifndef _WIN32

TEST(BankExtract, AWriteCutShortLeavesNoFileAndTheNextStartSucceeds) {
  TempDir dir;
  const std::string path = (dir / "exam.sys").string();
  const std::string image = Image(4 << 20);
  // A child process whose files may not grow past 1 MiB: the write fails midway, as on a
  // full disk.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{1 << 20, 1 << 20};
    setrlimit(RLIMIT_FSIZE, &limit);
    auto r = bank::EnsureBankFile(path, image);
    _exit(r ? 0 : 3);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3) << "the failed write is reported";
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(EntriesIn(dir.path()), 0u);
  auto again = bank::EnsureBankFile(path, image);
  ASSERT_TRUE(again);
  EXPECT_TRUE(*again);
  EXPECT_EQ(fs::file_size(path), image.size());
}

// The tool's build and image verbs replace their OUT: a symbolic link leads the write to its
// regular file; a FIFO, a folder or a link to nothing is refused and left as it was.
TEST(BankExtract, ReplacingWritesOnlyRegularFiles) {
  TempDir dir;
  const fs::path real = dir / "real.sys";
  WriteBytes(real, {1, 2, 3});
  const fs::path link = dir / "link.sys";
  fs::create_symlink(real, link);
  ASSERT_TRUE(bank::WriteNewFile(link.string(), "new", /*replace=*/true));
  EXPECT_TRUE(fs::is_symlink(link));
  auto bytes = ReadBytes(real);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "new");

  const fs::path fifo = dir / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  auto refused = bank::WriteNewFile(fifo.string(), "x", true);
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.error().message.find("not a regular file"), std::string::npos);
  EXPECT_TRUE(fs::is_fifo(fifo));
  fs::create_directory(dir / "folder");
  EXPECT_FALSE(bank::WriteNewFile((dir / "folder").string(), "x", true));
  EXPECT_TRUE(fs::is_directory(dir / "folder"));
  fs::create_symlink(dir / "nowhere", dir / "dangling");
  EXPECT_FALSE(bank::WriteNewFile((dir / "dangling").string(), "x", true));
  EXPECT_FALSE(fs::exists(dir / "nowhere"));
  // Nothing temporary stays behind: the five entries made above.
  EXPECT_EQ(EntriesIn(dir.path()), 5u);
}

// A writer killed during a first start leaves its temporary file; the next start removes it,
// but not the file of a writer that is still at work (it holds a lock on it) nor one written
// a moment ago (its writer may not hold the lock yet).
TEST(BankExtract, AStartRemovesWhatDeadWritersLeft) {
  TempDir dir;
  auto leftover = [&](const char* name, time_t age) {
    const fs::path p = dir / name;
    WriteBytes(p, std::vector<uint8_t>(1000, 7));
    const time_t when = time(nullptr) - age;
    utimbuf times{when, when};
    utime(p.c_str(), &times);
    return p;
  };
  const fs::path dead = leftover(".exam-write-dead01", 3600);
  const fs::path fresh = leftover(".exam-write-fresh1", 0);
  const fs::path busy = leftover(".exam-write-busy01", 3600);
  const fs::path other = leftover(".other-file", 3600);
  const int fd = open(busy.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  // The lock of a writer in another process: flock locks belong to the open file, so a child
  // holds it while this process tries.
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const int own = open(busy.c_str(), O_RDONLY);
    flock(own, LOCK_EX);
    (void)!write(ready[1], "x", 1);
    pause();
    _exit(0);
  }
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  auto started = bank::EnsureBankFile((dir / "exam.sys").string(), "image");
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  close(fd);
  ASSERT_TRUE(started);
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_TRUE(fs::exists(fresh));
  EXPECT_TRUE(fs::exists(busy));
  EXPECT_TRUE(fs::exists(other));
  // Once its writer is gone, the next start (the bank exists by now) removes it too.
  ASSERT_TRUE(bank::EnsureBankFile((dir / "exam.sys").string(), "image"));
  EXPECT_FALSE(fs::exists(busy));
}

TEST(BankExtract, UnwritableFolderIsAnError) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes everywhere";
  TempDir dir;
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(bank::EnsureBankFile((dir / "exam.sys").string(), "image"));
  fs::permissions(dir.path(), fs::perms::owner_all);
}

#else  // Windows

// The program's folder as Qt gives it ('/', or a drive's root with or without its separator):
// the bank path uses '\\' throughout and never doubles it.
TEST(BankExtract, BankPathFollowsWindowsRules) {
  EXPECT_EQ(bank::BankPath("C:/Program Files/Examora"), "C:\\Program Files\\Examora\\exam.sys");
  EXPECT_EQ(bank::BankPath("C:\\Examora\\"), "C:\\Examora\\exam.sys");
  EXPECT_EQ(bank::BankPath("D:/"), "D:\\exam.sys");
  EXPECT_EQ(bank::BankPath("D:"), "D:\\exam.sys");
  EXPECT_EQ(bank::BankPath("//server/share/examora"), "\\\\server\\share\\examora\\exam.sys");
}

// A drive's root with nothing above it to hold a temporary file. The drive is a free letter
// given to a fresh folder (what "subst" does); where that cannot be had (Wine accepts the call
// but does nothing), the root of the temporary folder's drive, if the bank may be put there.
class DriveRoot {
 public:
  explicit DriveRoot(const fs::path& folder) {
    const DWORD used = GetLogicalDrives();
    for (wchar_t letter = L'Z'; letter >= L'D'; --letter) {
      if (used & (1u << (letter - L'A'))) continue;
      const std::wstring drive{letter, L':'};
      if (!DefineDosDeviceW(0, drive.c_str(), folder.c_str())) continue;
      if (GetFileAttributesW((drive + L"\\").c_str()) != INVALID_FILE_ATTRIBUTES) {
        mapped_ = drive;
        root_ = drive;
        return;
      }
      DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, drive.c_str(),
                       folder.c_str());
    }
    const std::wstring temp = fs::temp_directory_path().root_name().wstring();
    if (temp.size() == 2 && temp[1] == L':' &&
        GetFileAttributesW((temp + L"\\exam.sys").c_str()) == INVALID_FILE_ATTRIBUTES) {
      root_ = temp;
    }
  }
  ~DriveRoot() {
    if (!mapped_.empty()) {
      DefineDosDeviceW(DDD_REMOVE_DEFINITION, mapped_.c_str(), nullptr);
    } else if (root_) {
      DeleteFileW((*root_ + L"\\exam.sys").c_str());
    }
  }
  DriveRoot(const DriveRoot&) = delete;
  DriveRoot& operator=(const DriveRoot&) = delete;
  // "X:", or nothing when no root can be used.
  std::optional<std::string> drive() const {
    if (!root_) return std::nullopt;
    return std::string{static_cast<char>((*root_)[0]), ':'};
  }

 private:
  std::wstring mapped_;
  std::optional<std::wstring> root_;
};

TEST(BankExtract, WritesIntoADrivesRoot) {
  TempDir dir;
  DriveRoot root(dir.path());
  if (!root.drive()) GTEST_SKIP() << "no drive root to write to";
  const std::string drive = *root.drive();
  for (const std::string& program_dir : {drive, drive + "/", drive + "\\"}) {
    SCOPED_TRACE(program_dir);
    const std::string path = bank::BankPath(program_dir);
    ASSERT_EQ(path, drive + "\\exam.sys");
    const std::string image = Image(50000);
    auto first = bank::EnsureBankFile(path, image);
    ASSERT_TRUE(first) << first.error().message;
    EXPECT_TRUE(*first);
    auto bytes = ReadBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), image);
    auto second = bank::EnsureBankFile(path, "other");
    ASSERT_TRUE(second);
    EXPECT_FALSE(*second);
    EXPECT_EQ(fs::file_size(path), image.size());
    // No temporary file stays in the root.
    std::wstring pattern{static_cast<wchar_t>(drive[0]), L':', L'\\'};
    pattern += L".exam-write-*";
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    ASSERT_TRUE(fs::remove(path));
  }
}

// The tool's build and image verbs replace their OUT when it is a file; a folder is refused
// and left as it was, and nothing temporary stays behind.
TEST(BankExtract, ReplacingWritesOnlyFiles) {
  TempDir dir;
  const fs::path real = dir / "real.sys";
  WriteBytes(real, {1, 2, 3});
  ASSERT_TRUE(bank::WriteNewFile(real.string(), "new", /*replace=*/true));
  auto bytes = ReadBytes(real);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "new");
  auto kept = bank::WriteNewFile(real.string(), "newer", /*replace=*/false);
  ASSERT_FALSE(kept);
  EXPECT_EQ(fs::file_size(real), 3u);
  fs::create_directory(dir / "folder");
  EXPECT_FALSE(bank::WriteNewFile((dir / "folder").string(), "x", true));
  EXPECT_TRUE(fs::is_directory(dir / "folder"));
  EXPECT_EQ(EntriesIn(dir.path()), 2u);
}

// A writer killed during a first start leaves its temporary file; the next start removes it,
// but not the file of a writer still at work (it holds the file open without sharing) nor
// files of other names.
TEST(BankExtract, AStartRemovesWhatDeadWritersLeft) {
  TempDir dir;
  auto leftover = [&](const char* name) {
    const fs::path p = dir / name;
    WriteBytes(p, std::vector<uint8_t>(1000, 7));
    return p;
  };
  const fs::path dead = leftover(".exam-write-dead01");
  const fs::path busy = leftover(".exam-write-busy01");
  const fs::path other = leftover(".other-file");
  const HANDLE writer = CreateFileW(busy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  auto started = bank::EnsureBankFile((dir / "exam.sys").string(), "image");
  CloseHandle(writer);
  ASSERT_TRUE(started);
  EXPECT_TRUE(*started);
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_TRUE(fs::exists(busy));
  EXPECT_TRUE(fs::exists(other));
  // Once its writer is gone, the next start (the bank exists by now) removes it too.
  ASSERT_TRUE(bank::EnsureBankFile((dir / "exam.sys").string(), "image"));
  EXPECT_FALSE(fs::exists(busy));
  EXPECT_TRUE(fs::exists(other));
}

#endif

}  // namespace
