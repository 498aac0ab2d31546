#pragma once
// FCopy: a file copied with the library's options. The copy is written
// beside the destination and only then put in its place, so that a copy
// that fails halfway leaves the old destination as it was.

#include <functional>
#include <string>

namespace orrin {

// The values of fc_Return.
enum class CopyResult {
  kNoError = 0,
  kSourceNotFound = 1,
  kSourceAccessDenied = 2,
  kDestNotCreatable = 3,
  kDestExists = 4,
  kDestNewer = 5,
};

// The flags of fc_Options.
inline constexpr unsigned kCopyDontReplace = 1;
inline constexpr unsigned kCopyReplaceIfNewer = 2;
inline constexpr unsigned kCopyPromptReplace = 4;
inline constexpr unsigned kCopyDontSyncDate = 8;
inline constexpr unsigned kCopyRegister = 16;

struct CopyOptions {
  unsigned flags = 0;
  // With kCopyPromptReplace, asked before an existing destination is
  // replaced: true replaces it.
  std::function<bool()> askReplace;
  // Called with 0 … 100 as the copy goes on.
  std::function<void(int percent)> progress;
};

// An existing destination is kept (kDestExists) with kCopyDontReplace, when
// the question is answered no, and when it is the source itself; with
// kCopyReplaceIfNewer it is kept unless the source was written later
// (kDestNewer when the destination is newer, kDestExists when both are of
// the same time). Without kCopyDontSyncDate the copy takes the source's
// times. With kCopyRegister a copied .dll or .ocx is registered.
CopyResult CopyWithOptions(const std::wstring& source, const std::wstring& destination,
                           const CopyOptions& options);

// The command line that registers a copied component: "regsvr32.exe /s"
// for a DLL, "regocx32.exe" for an OCX; empty for other files.
std::wstring RegistrationCommand(const std::wstring& file);

}  // namespace orrin
