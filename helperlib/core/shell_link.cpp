#include "helperlib/core/shell_link.h"

#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <optional>
#include <vector>

#include "base/little_endian.h"
#include "base/win/handles.h"

namespace orrin {
namespace {

using Microsoft::WRL::ComPtr;

template <class Call>
std::wstring Grown(Call call) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    buffer[0] = L'\0';
    buffer[buffer.size() - 2] = L'\0';
    if (FAILED(call(buffer.data(), static_cast<int>(buffer.size()))))
      return L"";
    // A text that reaches the end of the buffer may have been cut.
    if (buffer[buffer.size() - 2] == L'\0' || buffer.size() >= 32768)
      return buffer.data();
    buffer.resize(buffer.size() * 4);
  }
}

int ToSystemShow(int showCmd) {
  return showCmd == 5 ? SW_SHOWNORMAL : showCmd;
}

int FromSystemShow(int showCmd) {
  return showCmd == SW_SHOWMAXIMIZED ? 3 : showCmd == SW_SHOWMINNOACTIVE ? 7 : 5;
}

// The show command as the link file's header holds it (a 32-bit number at
// offset 60 of the 76-byte header). Wine's shell link forgets it on
// loading and always answers SW_SHOWNORMAL.
std::optional<int> StoredShowCommand(const std::wstring& file) {
  vtq::base::win::FileHandle handle(
      CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  BYTE header[76] = {};
  DWORD read = 0;
  if (!handle || !ReadFile(handle.Get(), header, sizeof header, &read, nullptr) ||
      read != sizeof header || header[0] != sizeof header) {
    return std::nullopt;
  }
  return vtq::base::LeReader(header, 60).I32();
}

}  // namespace

std::wstring SpecialFolder(HWND owner, int id) {
  wchar_t path[MAX_PATH] = {};
  if (id < 0 || FAILED(SHGetFolderPathW(owner, id, nullptr, SHGFP_TYPE_CURRENT, path)))
    return L"";
  return path;
}

std::wstring WindowsFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  const UINT length = GetWindowsDirectoryW(path, MAX_PATH + 1);
  return length && length <= MAX_PATH ? path : L"";
}

std::wstring SystemFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  const UINT length = GetSystemDirectoryW(path, MAX_PATH + 1);
  return length && length <= MAX_PATH ? path : L"";
}

std::wstring LinkFileName(const std::wstring& name) {
  if (name.size() >= 4 && lstrcmpiW(name.c_str() + name.size() - 4, L".lnk") == 0)
    return name;
  return name + L".lnk";
}

bool IsLinkHotKey(int hotKey) {
  if (hotKey == 0)
    return true;
  const int modifiers = hotKey >> 8;
  const int key = hotKey & 0xFF;
  const bool modifiersOk = modifiers == (HOTKEYF_CONTROL | HOTKEYF_ALT) ||
                           modifiers == (HOTKEYF_CONTROL | HOTKEYF_SHIFT) ||
                           modifiers == (HOTKEYF_ALT | HOTKEYF_SHIFT);
  return modifiersOk && ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'));
}

bool IsLinkShowCmd(int showCmd) {
  return showCmd == 5 || showCmd == 3 || showCmd == 7;
}

LinkError CreateLink(const std::wstring& linkFile, const LinkFields& fields) {
  if (linkFile.empty() || fields.target.empty())
    return LinkError::kEmptyString;
  if (!IsLinkHotKey(fields.hotKey) || !IsLinkShowCmd(fields.showCmd) || fields.iconIndex < 0)
    return LinkError::kBadParameter;
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
  if (FAILED(
          CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
      FAILED(link.As(&file))) {
    return LinkError::kCouldNotCreateUpdate;
  }
  bool ok = SUCCEEDED(link->SetPath(fields.target.c_str())) &&
            SUCCEEDED(link->SetArguments(fields.arguments.c_str())) &&
            SUCCEEDED(link->SetDescription(fields.description.c_str())) &&
            SUCCEEDED(link->SetShowCmd(ToSystemShow(fields.showCmd))) &&
            SUCCEEDED(link->SetHotkey(static_cast<WORD>(fields.hotKey)));
  if (ok && !fields.workingFolder.empty())
    ok = SUCCEEDED(link->SetWorkingDirectory(fields.workingFolder.c_str()));
  if (ok && !fields.iconFile.empty())
    ok = SUCCEEDED(link->SetIconLocation(fields.iconFile.c_str(), fields.iconIndex));
  if (!ok || FAILED(file->Save(LinkFileName(linkFile).c_str(), TRUE)))
    return LinkError::kCouldNotCreateUpdate;
  return LinkError::kNone;
}

LinkError ReadLink(const std::wstring& linkFile, LinkFields& fields) {
  if (linkFile.empty())
    return LinkError::kEmptyString;
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
  if (FAILED(
          CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
      FAILED(link.As(&file)) || FAILED(file->Load(LinkFileName(linkFile).c_str(), STGM_READ))) {
    return LinkError::kCouldNotCreateUpdate;
  }
  LinkFields read;
  read.target =
      Grown([&](wchar_t* b, int n) { return link->GetPath(b, n, nullptr, SLGP_RAWPATH); });
  read.arguments = Grown([&](wchar_t* b, int n) { return link->GetArguments(b, n); });
  read.workingFolder = Grown([&](wchar_t* b, int n) { return link->GetWorkingDirectory(b, n); });
  read.description = Grown([&](wchar_t* b, int n) { return link->GetDescription(b, n); });
  read.iconFile =
      Grown([&](wchar_t* b, int n) { return link->GetIconLocation(b, n, &read.iconIndex); });
  int show = SW_SHOWNORMAL;
  WORD hotKey = 0;
  link->GetShowCmd(&show);
  if (const auto stored = StoredShowCommand(LinkFileName(linkFile)))
    show = *stored;
  link->GetHotkey(&hotKey);
  read.showCmd = FromSystemShow(show);
  read.hotKey = hotKey;
  fields = read;
  return LinkError::kNone;
}

}  // namespace orrin
