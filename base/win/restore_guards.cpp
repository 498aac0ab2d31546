#include "base/win/restore_guards.h"

#include <ole2.h>

namespace vtq::base::win {
namespace {

std::wstring WorkingFolder() {
  const DWORD size = GetCurrentDirectoryW(0, nullptr);
  if (size == 0)
    return {};
  std::wstring folder(size, L'\0');
  const DWORD length = GetCurrentDirectoryW(size, folder.data());
  if (length == 0 || length >= size)
    return {};
  folder.resize(length);
  return folder;
}

}  // namespace

ScopedWorkingFolder::ScopedWorkingFolder(const std::wstring& folder)
    : previous_(WorkingFolder()), changed_(SetCurrentDirectoryW(folder.c_str()) != 0) {}

ScopedWorkingFolder::~ScopedWorkingFolder() {
  if (!previous_.empty())
    SetCurrentDirectoryW(previous_.c_str());
}

ScopedCom::ScopedCom(DWORD model) : hr_(CoInitializeEx(nullptr, model)) {}

ScopedCom::~ScopedCom() {
  if (SUCCEEDED(hr_))
    CoUninitialize();
}

ScopedOle::ScopedOle() : hr_(OleInitialize(nullptr)) {}

ScopedOle::~ScopedOle() {
  if (SUCCEEDED(hr_))
    OleUninitialize();
}

}  // namespace vtq::base::win
