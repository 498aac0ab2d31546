#pragma once
// The output file of one assembled series. It is written beside its final
// name and takes that name only when it is complete, so a file already there
// is never lost to a run that ends early.

#include <cstddef>
#include <string>

#include "engine/file_io.h"

namespace vtq {

class AssemblyOutput {
 public:
  // Creates the working file in the folder of `finalName`.
  explicit AssemblyOutput(std::string finalName);
  // A run that leaves without Complete or Discard keeps what it wrote, as
  // KeepPartial does.
  ~AssemblyOutput();
  AssemblyOutput(const AssemblyOutput&) = delete;
  AssemblyOutput& operator=(const AssemblyOutput&) = delete;

  void Append(const void* data, size_t size);
  // The whole series is written: the output replaces any file of its name.
  void Complete();
  // Removes what this run wrote and nothing else.
  void Discard();
  // A run that ended early keeps its partly written output: under the final
  // name when no file was there before, else beside it as final name +
  // ".partial", leaving the old file untouched. Returns the name kept.
  std::string KeepPartial();

  const std::string& FinalName() const { return finalName_; }
  const std::string& WorkingName() const { return workingName_; }
  static constexpr const char* kPartialSuffix = ".partial";

 private:
  std::string finalName_;
  std::string workingName_;
  bool finalExisted_ = false;
  bool finished_ = false;
  File file_;
};

}  // namespace vtq
