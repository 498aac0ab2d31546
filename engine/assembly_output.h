#pragma once
// The output file of one assembled series. It is written beside its final
// name and takes that name only when it is complete, so a file already there
// is never lost to a run that ends early, and a file under the final name is
// always a whole series.

#include <cstddef>
#include <functional>
#include <string>

#include "engine/working_file.h"

namespace vtq {

class AssemblyOutput {
 public:
  // Told the name a partial output was kept under.
  using KeptPartial = std::function<void(const std::string&)>;

  // Creates the working file in the folder of `finalName`.
  explicit AssemblyOutput(std::string finalName, KeptPartial onKeptPartial = {});
  // A run that leaves without Complete or Discard keeps what it wrote, as
  // KeepPartial does.
  ~AssemblyOutput();
  AssemblyOutput(const AssemblyOutput&) = delete;
  AssemblyOutput& operator=(const AssemblyOutput&) = delete;

  void Append(const void* data, size_t size);
  // The next `length` bytes of `source`, without passing through the run.
  void AppendFrom(File& source, uint64_t length);
  // The whole series is written: the output replaces any file of its name.
  void Complete();
  // Removes what this run wrote and nothing else.
  void Discard();
  // A run that ended early keeps its partly written output beside the final
  // name as final name + ".partial" (".partial2", ... when that is taken;
  // the end of a long base name cut to make room), never replacing a file.
  // Returns the name kept.
  std::string KeepPartial();

  const std::string& FinalName() const { return file_.FinalName(); }
  const std::string& WorkingName() const { return file_.Name(); }
  static constexpr const char* kPartialSuffix = ".partial";

 private:
  WorkingFile file_;
  KeptPartial onKeptPartial_;
  bool finished_ = false;
};

}  // namespace vtq
