#pragma once
// The cabinet a split packs its input into before it splits it: where it
// goes, what it is called, and its removal once the split is over.

#include <functional>
#include <string>

namespace vtq {

// The root of the temporary folder's drive ("C:\" for "C:\Users\me\Temp"),
// where split cabinets have always gone; the temporary folder itself when
// no file can be created in that root (a system drive's root is closed to
// standard users) or the folder has no drive. Ends with a separator.
std::string TemporaryCabinetFolder(const std::string& tempFolder,
                                   const std::function<bool(const std::string&)>& canCreateIn);

// Whether a file can be created in the folder: one is created there and
// removed again.
bool CanCreateFilesIn(const std::string& folder);

// A single file packed before its split: the file's full name up to and
// including its first "." (which may lie in a folder name), reduced to its
// last component, then "cab". C:\DATA\REPORT.DOC gives REPORT.cab, a name
// without any "." gives "cab".
std::string FileCabinetName(const std::string& cabinetFolder, const std::string& file);

// A folder packed into a cabinet: its last component and ".cab"; a drive's
// root by its letter (F:\ gives F.cab).
std::string FolderCabinetName(const std::string& cabinetFolder, const std::string& folder);

// Removes the cabinet when the split is over, whichever way it ended.
class TemporaryCabinet {
 public:
  explicit TemporaryCabinet(std::string name) : name_(std::move(name)) {}
  ~TemporaryCabinet();
  TemporaryCabinet(const TemporaryCabinet&) = delete;
  TemporaryCabinet& operator=(const TemporaryCabinet&) = delete;

  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};

}  // namespace vtq
