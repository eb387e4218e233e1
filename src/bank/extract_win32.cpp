// Putting the built-in question bank beside the program, on Windows: a temporary file in the
// same folder, flushed, then moved into place. Paths are UTF-8 and go to the wide-character
// functions.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <climits>

#include "bank/extract.h"
#include "base/win32_text.h"

namespace bank {
namespace {

using base::ErrorCode;
using base::MakeError;
using base::Result;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The part of `path` that names its folder, ending in a separator ("C:\\dir\\", "\\"), or
// "C:" for "C:exam.sys", or "" for a bare name in the current folder.
std::string FolderPrefix(const std::string& path) {
  for (size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path[i - 1])) return path.substr(0, i);
  }
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
  return "";
}

base::Unexpected<base::Error> Failure(const std::string& what, DWORD err) {
  return MakeError(ErrorCode::kIo, what + ": Windows error " + std::to_string(err));
}

using base::Widen;

// Removes the temporary files that writers which died (killed during a first start, say) left
// in the folder of `path`. A live writer opened its file with no sharing at all, so deleting a
// file that is still being written fails and leaves it alone.
void RemoveDeadWriters(const std::string& path) {
  std::wstring pattern;
  if (!Widen(FolderPrefix(path) + ".exam-write-*", pattern)) return;
  std::wstring folder;
  if (!Widen(FolderPrefix(path), folder)) return;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    DeleteFileW((folder + found.cFileName).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace

std::string BankPath(const std::string& program_dir) {
  // Qt gives the folder with '/'; the path is built with Windows' own separator throughout.
  std::string dir = program_dir;
  std::replace(dir.begin(), dir.end(), '/', '\\');
  while (!dir.empty() && dir.back() == '\\') dir.pop_back();
  return dir + "\\exam.sys";  // "C:" (a drive's root) gives "C:\\exam.sys"
}

Result<void> WriteNewFile(const std::string& path, std::string_view bytes, bool replace) {
  std::wstring wide_path;
  if (!Widen(path, wide_path)) {
    return MakeError(ErrorCode::kIo, "cannot write " + path + ": the name is not UTF-8");
  }
  const std::string prefix = FolderPrefix(path);
  const std::string folder = prefix.empty() ? "." : prefix;
  static std::atomic<unsigned> counter{0};
  std::string temp;
  std::wstring wide_temp;
  HANDLE file = INVALID_HANDLE_VALUE;
  // CREATE_NEW never takes over an existing file; a name left over by an earlier run is skipped.
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = prefix + ".exam-write-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(counter++);
    if (!Widen(temp, wide_temp)) break;
    file = CreateFileW(wide_temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) break;
    const DWORD err = GetLastError();
    if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) {
    return Failure("cannot create a file in " + folder, GetLastError());
  }
  auto fail = [&](const std::string& what) {
    auto error = Failure(what, GetLastError());
    CloseHandle(file);
    DeleteFileW(wide_temp.c_str());
    return error;
  };
  size_t done = 0;
  while (done < bytes.size()) {
    const size_t chunk = std::min<size_t>(bytes.size() - done, size_t{1} << 20);
    DWORD put = 0;
    if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(chunk), &put, nullptr) ||
        put == 0) {
      return fail("cannot write " + temp);
    }
    done += put;
  }
  if (!FlushFileBuffers(file)) return fail("cannot flush " + temp);
  if (!CloseHandle(file)) {
    auto error = Failure("cannot close " + temp, GetLastError());
    DeleteFileW(wide_temp.c_str());
    return error;
  }
  // Without MOVEFILE_REPLACE_EXISTING the move refuses an existing name, so a file that
  // appeared meanwhile is kept.
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0u);
  if (!MoveFileExW(wide_temp.c_str(), wide_path.c_str(), flags)) {
    const DWORD err = GetLastError();
    DeleteFileW(wide_temp.c_str());
    if (!replace && (err == ERROR_ALREADY_EXISTS || err == ERROR_FILE_EXISTS)) {
      return MakeError(ErrorCode::kInvalid, path + " exists already");
    }
    return Failure("cannot move the new file to " + path, err);
  }
  return base::Ok();
}

Result<bool> EnsureBankFile(const std::string& path, std::string_view image) {
  std::wstring wide;
  if (!Widen(path, wide)) {
    return MakeError(ErrorCode::kIo, "cannot look at " + path + ": the name is not UTF-8");
  }
  RemoveDeadWriters(path);
  // Whatever is there (a file, an empty file, a folder, a link) is used as it is.
  if (GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  const DWORD err = GetLastError();
  if (err != ERROR_FILE_NOT_FOUND && err != ERROR_PATH_NOT_FOUND) {
    return Failure("cannot look at " + path, err);
  }
  auto written = WriteNewFile(path, image, /*replace=*/false);
  if (!written) {
    if (written.error().code == ErrorCode::kInvalid) return false;  // created meanwhile
    return base::Unexpected<base::Error>(written.take_error());
  }
  return true;
}

}  // namespace bank
