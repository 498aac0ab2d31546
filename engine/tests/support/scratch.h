#pragma once
// A fresh folder per test, removed afterwards, and small file helpers.

#include <cstdint>
#include <string>
#include <vector>

namespace vtq::test {

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  // The folder, ending in the path separator.
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

void WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes);
void WriteText(const std::string& name, const std::string& text);
std::vector<uint8_t> ReadBytes(const std::string& name);
// Deterministic pseudo-random content.
std::vector<uint8_t> PatternBytes(size_t size, uint32_t seed = 1);
void MakeFolder(const std::string& name);
// The names of the entries of `folder` (links included, followed or not),
// sorted.
std::vector<std::string> NamesIn(const std::string& folder);
// The names in `folder` that the engine gives files while it writes them
// (".vtq" + hex + ".tmp"), sorted.
std::vector<std::string> WorkingFilesIn(const std::string& folder);

}  // namespace vtq::test
