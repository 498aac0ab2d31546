#pragma once
// What the windows ask of the shell: the open-file dialog, the folder
// browser, the format dialog, help and documents. The program uses the system's dialogs
// (SystemShellServices); window tests answer through a double, so that no
// real shell dialog or help viewer ever waits for a user there.

#include <windows.h>

#include <optional>
#include <string>

namespace vtq::wingui {

struct FileChoice {
  std::wstring title;
  // Pairs of description and pattern, each ended by "\0", as the open-file
  // dialog takes them; empty: all files.
  std::wstring filter;
  std::wstring initialFolder;
};

class ShellServices {
 public:
  virtual ~ShellServices() = default;
  // The chosen file, nullopt when the user cancels.
  virtual std::optional<std::wstring> ChooseFile(HWND owner, const FileChoice& choice) = 0;
  // The chosen folder, nullopt when the user cancels or chooses no folder.
  // The browser opens at `startFolder` (none: the shell's own start) and
  // has a box to type a path into.
  virtual std::optional<std::wstring> ChooseFolder(HWND owner, const std::wstring& title,
                                                   const std::wstring& startFolder) = 0;
  // The system's format dialog for drive `drive` (A: = 0) with the format
  // identity `formatId` and `options`; whatever it did, the caller looks
  // again.
  virtual void FormatDrive(HWND owner, unsigned drive, unsigned formatId, unsigned options) = 0;
  // Opens a WinHelp file at its contents page; false when it cannot.
  virtual bool ShowHelpContents(HWND owner, const std::wstring& helpFile) = 0;
  // Opens a document with the system's default viewer; false when it cannot.
  virtual bool OpenDocument(HWND owner, const std::wstring& path) = 0;
  virtual bool FileExists(const std::wstring& path) = 0;
  // The system's Windows folder, without a trailing "\".
  virtual std::wstring WindowsFolder() = 0;
};

class SystemShellServices final : public ShellServices {
 public:
  std::optional<std::wstring> ChooseFile(HWND owner, const FileChoice& choice) override;
  std::optional<std::wstring> ChooseFolder(HWND owner, const std::wstring& title,
                                           const std::wstring& startFolder) override;
  void FormatDrive(HWND owner, unsigned drive, unsigned formatId, unsigned options) override;
  bool ShowHelpContents(HWND owner, const std::wstring& helpFile) override;
  bool OpenDocument(HWND owner, const std::wstring& path) override;
  bool FileExists(const std::wstring& path) override;
  std::wstring WindowsFolder() override;
};

}  // namespace vtq::wingui
