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

}  // namespace vtq::test
