#include "helperlib/core/help_registration.h"

#include <windows.h>

#include <string_view>
#include <vector>

#include "base/ansi_text.h"
#include "base/win/handles.h"
#include "helperlib/core/path_words.h"
#include "helperlib/core/registry.h"

namespace orrin {
namespace {

constexpr std::string_view kIndexStart = ":INDEX ORRINMODULES32 ";

std::optional<std::string> ReadAll(const std::wstring& file) {
  vtq::base::win::FileHandle handle(
      CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER size{};
  if (!handle || !GetFileSizeEx(handle.Get(), &size) || size.QuadPart > (16 << 20))
    return std::nullopt;
  std::string text(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!text.empty() &&
      (!ReadFile(handle.Get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr) ||
       read != text.size())) {
    return std::nullopt;
  }
  return text;
}

bool WriteAll(const std::wstring& file, const std::string& text) {
  vtq::base::win::FileHandle handle(
      CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD wrote = 0;
  return handle && (text.empty() || (WriteFile(handle.Get(), text.data(),
                                               static_cast<DWORD>(text.size()), &wrote, nullptr) &&
                                     wrote == text.size()));
}

// The lines of the text without our index line; `found` says whether it
// was there.
std::string WithoutIndexLine(const std::string& text, bool& found) {
  std::string kept;
  found = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    const std::string_view line(text.data() + start, end - start);
    if (line.size() >= kIndexStart.size() &&
        _strnicmp(line.data(), kIndexStart.data(), kIndexStart.size()) == 0) {
      found = true;
    } else {
      kept.append(line);
    }
    start = end;
  }
  return kept;
}

}  // namespace

HelpNames HelpNamesFor(const std::wstring& version) {
  return {L"or32_" + version + L".hlp", L"or32_" + version + L".cnt",
          L":INDEX ORRINMODULES32 " + version + L"=OR32"};
}

std::wstring ContentsFile() {
  Registry registry;
  auto folder = registry.GetText(HKEY_CURRENT_USER, kHelpKey, L"VB5.CNT");
  if (!folder || folder->empty())
    folder = registry.GetText(HKEY_LOCAL_MACHINE, kHelpKey, L"VB5.CNT");
  if (!folder || folder->empty())
    return L"";
  std::wstring path = *folder;
  if (path.back() == L'\\')
    path.pop_back();
  return path + L"\\vb5.cnt";
}

void RegisterHelp(const std::wstring& helpFolder, const std::wstring& version) {
  const HelpNames names = HelpNamesFor(version);
  Registry registry;
  for (const std::wstring& value : {names.hlpValue, names.cntValue}) {
    if (registry.GetText(HKEY_CURRENT_USER, kHelpKey, value) != helpFolder)
      registry.SetText(HKEY_CURRENT_USER, kHelpKey, value, helpFolder);
  }
  const std::wstring contents = ContentsFile();
  if (contents.empty())
    return;
  const auto text = ReadAll(contents);
  bool found = false;
  if (!text)
    return;
  WithoutIndexLine(*text, found);
  if (found)
    return;
  const std::wstring backup = ParentPath(contents) + L"\\vb5.cn1";
  CopyFileW(contents.c_str(), backup.c_str(), TRUE);
  std::string updated = *text;
  if (!updated.empty() && updated.back() != '\n')
    updated += "\r\n";
  updated += vtq::base::ToAnsi(names.indexLine) + "\r\n";
  WriteAll(contents, updated);
}

bool RemoveHelp(const std::wstring& version) {
  const HelpNames names = HelpNamesFor(version);
  Registry registry;
  bool clean = true;
  for (const std::wstring& value : {names.hlpValue, names.cntValue}) {
    if (registry.GetText(HKEY_CURRENT_USER, kHelpKey, value))
      clean = registry.RemoveValue(HKEY_CURRENT_USER, kHelpKey, value) && clean;
  }
  const std::wstring contents = ContentsFile();
  if (contents.empty())
    return clean;
  if (const auto text = ReadAll(contents)) {
    bool found = false;
    const std::string kept = WithoutIndexLine(*text, found);
    if (found)
      clean = WriteAll(contents, kept) && clean;
  }
  return clean;
}

}  // namespace orrin
