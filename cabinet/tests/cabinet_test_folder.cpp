#include "cabinet/tests/cabinet_test_folder.h"

#include <windows.h>

#include <algorithm>

#include "base/utf8_text.h"
#include "base/win/handles.h"
#include "base/win/wide_path.h"

namespace vtq::cabinet::testing {
namespace {

using base::FromUtf8;
using base::ToUtf8;
using base::win::WidePath;

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  base::win::FindHandle find(
      FindFirstFileW(base::win::LongPathForm(folder + L"\\*").c_str(), &found));
  if (find) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..")
        continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesW(base::win::LongPathForm(path).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(base::win::LongPathForm(path).c_str());
      }
    } while (FindNextFileW(find.Get(), &found));
  }
  find.Reset();
  RemoveDirectoryW(base::win::LongPathForm(folder).c_str());
}

void Collect(const std::string& root, const std::string& relative, std::vector<std::string>& out) {
  WIN32_FIND_DATAW found{};
  const std::string folder = relative.empty() ? root : root + "\\" + relative;
  base::win::FindHandle find(FindFirstFileW(WidePath(folder + "\\*").c_str(), &found));
  if (!find)
    return;
  do {
    const std::string name = ToUtf8(found.cFileName);
    if (name == "." || name == "..")
      continue;
    const std::string path = relative.empty() ? name : relative + "\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out.push_back(path + "\\");
      Collect(root, path, out);
    } else {
      out.push_back(path);
    }
  } while (FindNextFileW(find.Get(), &found));
}

}  // namespace

TestFolder::TestFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  wchar_t name[MAX_PATH];
  GetTempFileNameW(temp, L"cbt", 0, name);
  DeleteFileW(name);
  CreateDirectoryW(name, nullptr);
  path_ = ToUtf8(name);
}

TestFolder::~TestFolder() {
  RemoveTree(FromUtf8(path_));
}

std::wstring TestFolder::WidePath() const {
  return FromUtf8(path_);
}

std::string TestFolder::Write(const std::string& relative, const std::string& bytes) const {
  for (size_t slash = relative.find('\\'); slash != std::string::npos;
       slash = relative.find('\\', slash + 1))
    CreateDirectoryW(base::win::WidePath(path_ + "\\" + relative.substr(0, slash)).c_str(),
                     nullptr);
  const std::string path = path_ + "\\" + relative;
  WriteWhole(path, bytes);
  return path;
}

std::string ReadWhole(const std::string& path) {
  base::win::FileHandle file(CreateFileW(base::win::WidePath(path).c_str(), GENERIC_READ,
                                         FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  if (!file)
    return "<missing>";
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  return bytes;
}

void WriteWhole(const std::string& path, const std::string& bytes) {
  base::win::FileHandle file(CreateFileW(base::win::WidePath(path).c_str(), GENERIC_WRITE, 0,
                                         nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(base::win::WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> ListTree(const std::string& root) {
  std::vector<std::string> names;
  Collect(root, {}, names);
  std::sort(names.begin(), names.end());
  return names;
}

std::string Pattern(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  uint32_t state = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    bytes[i] = static_cast<char>((i % 7 == 0) ? (state >> 16) : ('a' + (i / 13) % 26));
  }
  return bytes;
}

}  // namespace vtq::cabinet::testing
