#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "base/scoped_handle.h"
#include "base/win/dyn_calls.h"
#include "base/win/wide_path.h"

#include "wingui/shell_services.h"

namespace vtq::wingui {
namespace {

constexpr DWORD kPathRoom = 32768;

// The browser's item list goes back to the shell's allocator.
struct ItemListTraits {
  using Handle = LPITEMIDLIST;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { CoTaskMemFree(handle); }
};

// The chosen folder's path whole, however long.
std::optional<std::wstring> PathOf(LPITEMIDLIST items) {
  std::vector<wchar_t> path(kPathRoom, L'\0');
  if (const auto longer = base::win::Shell32().shGetPathFromIDListEx) {
    if (!longer(items, path.data(), kPathRoom, 0))
      return std::nullopt;
  } else if (!SHGetPathFromIDListW(items, path.data())) {
    return std::nullopt;
  }
  return std::wstring(path.data());
}

}  // namespace

std::optional<std::wstring> SystemShellServices::ChooseFile(HWND owner, const FileChoice& choice) {
  std::vector<wchar_t> name(kPathRoom, L'\0');
  const std::wstring filter =
      choice.filter.empty() ? std::wstring(L"All files (*.*)\0*.*\0", 20) : choice.filter;
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = kPathRoom;
  dialog.lpstrTitle = choice.title.empty() ? nullptr : choice.title.c_str();
  dialog.lpstrInitialDir = choice.initialFolder.empty() ? nullptr : choice.initialFolder.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&dialog))
    return std::nullopt;
  return std::wstring(name.data());
}

namespace {

// Opens the browser at the folder it was given.
int CALLBACK StartAtFolder(HWND browser, UINT message, LPARAM, LPARAM startFolder) {
  if (message == BFFM_INITIALIZED && startFolder != 0)
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, startFolder);
  return 0;
}

}  // namespace

std::optional<std::wstring> SystemShellServices::ChooseFolder(HWND owner, const std::wstring& title,
                                                              const std::wstring& startFolder) {
  BROWSEINFOW browse{};
  browse.hwndOwner = owner;
  browse.lpszTitle = title.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
  if (!startFolder.empty()) {
    browse.lpfn = StartAtFolder;
    browse.lParam = reinterpret_cast<LPARAM>(startFolder.c_str());
  }
  base::ScopedHandle<ItemListTraits> items(SHBrowseForFolderW(&browse));
  if (!items)
    return std::nullopt;
  return PathOf(items.Get());
}

void SystemShellServices::FormatDrive(HWND owner, unsigned drive, unsigned formatId,
                                      unsigned options) {
  SHFormatDrive(owner, drive, formatId, options);
}

bool SystemShellServices::ShowHelpContents(HWND owner, const std::wstring& helpFile) {
  return WinHelpW(owner, helpFile.c_str(), HELP_CONTENTS, 0) != FALSE;
}

bool SystemShellServices::OpenDocument(HWND owner, const std::wstring& path) {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

bool SystemShellServices::FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(base::win::LongPathForm(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring SystemShellServices::WindowsFolder() {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
  std::wstring result(folder, length < MAX_PATH ? length : 0);
  if (!result.empty() && result.back() == L'\\')
    result.pop_back();
  return result;
}

}  // namespace vtq::wingui
