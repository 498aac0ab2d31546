#include "app/operations/temporary_cabinet.h"

#include "base/path_parts.h"
#include "engine/error.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"

namespace vtq {
namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool HasDrive(const std::string& folder) {
  return folder.size() >= 2 && folder[1] == ':';
}

}  // namespace

std::string TemporaryCabinetFolder(const std::string& tempFolder,
                                   const std::function<bool(const std::string&)>& canCreateIn) {
  if (HasDrive(tempFolder)) {
    const std::string root = tempFolder.substr(0, 2) + "\\";
    if (canCreateIn(root))
      return root;
  }
  return WithTrailingSeparator(tempFolder);
}

bool CanCreateFilesIn(const std::string& folder) {
  // A few names, in case one is taken by something left behind.
  constexpr int kNames = 8;
  for (int i = 0; i < kNames; ++i) {
    const std::string probe = WithTrailingSeparator(folder) + "~vtq" + std::to_string(i) + ".tmp";
    try {
      File(probe, File::Mode::kCreateNew).Close();
      RemoveFile(probe);
      return true;
    } catch (const VbError& error) {
      if (error.Number() != err::kFileAlreadyExists)
        return false;
    }
  }
  return false;
}

std::string FileCabinetName(const std::string& cabinetFolder, const std::string& file) {
  const size_t dot = file.find('.');
  const std::string upToDot = dot == std::string::npos ? std::string() : file.substr(0, dot + 1);
  return cabinetFolder + base::NamePart(upToDot) + "cab";
}

std::string FolderCabinetName(const std::string& cabinetFolder, const std::string& folder) {
  std::string trimmed = folder;
  while (trimmed.size() > 1 && IsSeparator(trimmed.back()))
    trimmed.pop_back();
  std::string name = base::NamePart(trimmed);
  // A drive's root is named after its letter: "F:.cab" would be a stream of
  // a file "F" on NTFS, and its fragments would vanish from view.
  if (name.empty() && HasDrive(trimmed))
    name = trimmed.substr(0, 1);
  return cabinetFolder + name + ".cab";
}

TemporaryCabinet::~TemporaryCabinet() {
  try {
    if (FileExists(name_))
      RemoveFile(name_);
  } catch (const VbError&) {
    // A cabinet left in the temporary folder harms nothing.
  }
}

}  // namespace vtq
