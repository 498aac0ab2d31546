#pragma once
// The shell seam answered by the test: scripted choices, the files that
// "exist", what the format dialog does, and a record of what was formatted
// and what help and documents were asked for.

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "wingui/shell_services.h"

namespace vtq::app::test {

class ScriptedShell final : public wingui::ShellServices {
 public:
  std::optional<std::wstring> ChooseFile(HWND, const wingui::FileChoice& choice) override {
    fileDialogsAt.push_back(choice.initialFolder);
    return file;
  }
  std::optional<std::wstring> ChooseFolder(HWND, const std::wstring&,
                                           const std::wstring& startFolder) override {
    browsersAt.push_back(startFolder);
    return folder;
  }
  // What the system's call gets: the drive, the format identity, the options.
  void FormatDrive(HWND, unsigned drive, unsigned formatId, unsigned options) override {
    formatted.push_back({drive, formatId, options});
    if (format)
      format(drive);
  }
  bool ShowHelpContents(HWND, const std::wstring& helpFile) override {
    helpShown.push_back(helpFile);
    return helpWorks;
  }
  bool OpenDocument(HWND, const std::wstring& path) override {
    documentsOpened.push_back(path);
    return documentsWork;
  }
  bool FileExists(const std::wstring& path) override { return existing.count(path) != 0; }
  std::wstring WindowsFolder() override { return L"C:\\windows"; }

  std::optional<std::wstring> file;
  std::optional<std::wstring> folder;
  // Where each dialog opened.
  std::vector<std::wstring> fileDialogsAt;
  std::vector<std::wstring> browsersAt;
  std::set<std::wstring> existing;
  // What "formatting" does to the disk in drive `drive` (A: = 0); nothing
  // when empty, as the system's dialog that the user closes.
  std::function<void(unsigned drive)> format;
  struct Formatting {
    unsigned drive;
    unsigned formatId;
    unsigned options;
    bool operator==(const Formatting&) const = default;
  };
  std::vector<Formatting> formatted;
  bool helpWorks = true;
  bool documentsWork = true;
  std::vector<std::wstring> helpShown;
  std::vector<std::wstring> documentsOpened;
};

}  // namespace vtq::app::test
