#pragma once
// A file written beside the name it is meant for, under a short name of its
// own, and given that name only once it is complete. A run that fails
// therefore never leaves a half-written file under a name that looks
// finished, and never loses the file that had the name before.
//
// Every name this file creates is created exclusively: whatever is already
// there, a link included, is never opened and written through.

#include <cstddef>
#include <string>

#include "engine/platform/file_io.h"

namespace vtq {

// The longest base name the file systems take (NAME_MAX, and NTFS's limit).
inline constexpr size_t kLongestBaseName = 255;

class WorkingFile {
 public:
  // Holds nothing; writing raises 52 as a closed File does.
  WorkingFile() = default;
  // Creates a working file in the folder of `finalName`. A folder named
  // `finalName` is refused at once (70): the finished file could never take
  // its place.
  explicit WorkingFile(std::string finalName);
  // Writes under `finalName` itself, for a disk without room for the old
  // file and the new one side by side: an empty working file replaces
  // whatever has the name before any data is written.
  static WorkingFile InPlace(std::string finalName);
  // A file neither completed nor kept is removed.
  ~WorkingFile();
  WorkingFile(WorkingFile&& other) noexcept;
  WorkingFile& operator=(WorkingFile&& other) noexcept;
  WorkingFile(const WorkingFile&) = delete;
  WorkingFile& operator=(const WorkingFile&) = delete;

  void Write(const void* data, size_t size);
  // For a file written out of order (a rebuilt fragment, a recovery volume).
  void Seek(uint64_t offset);
  // The next `length` bytes of `source`, copied inside the system where it can.
  void CopyFrom(File& source, uint64_t length, File::CopyPath path = File::CopyPath::kFastest);
  // Closes the file, which stays a working file (to be read back under
  // Name(), or filled by a writer that opens it by name, as the cabinet
  // component does) until Complete or Discard.
  void Close();
  // Closes the file and gives it the final name, replacing what had it.
  void Complete();
  // Closes and removes the file; nothing else is touched.
  void Discard();
  // Closes the file and gives it the first free name of the final name +
  // `suffix`, then + `suffix` + "2", "3", ... (each cut to fit as
  // WithSuffixThatFits does); never replaces a file. Returns the name taken.
  std::string KeepBeside(const std::string& suffix);

  const std::string& FinalName() const { return finalName_; }
  // The name the file has while it is written.
  const std::string& Name() const { return name_; }

 private:
  void Forget();

  std::string finalName_;
  std::string name_;
  File file_;
  bool pending_ = false;  // ours on disk, neither completed nor kept
};

// `fullName` + `suffix`, with the end of its base name cut (never the
// suffix) so that the base name fits kLongestBaseName.
std::string WithSuffixThatFits(const std::string& fullName, const std::string& suffix);

}  // namespace vtq
