#pragma once
// The cabinet maker (the window's Compressor): a list of files, a cabinet
// name and a choice between MSZIP and stored; Compress writes the cabinet
// and raises the component's failure (base + 1000) with a description.
// The members follow the automation object the program calls, so that a
// COM face can sit on top of it.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "cabinet/cab_entry_list.h"

namespace vtq::cabinet {

class CompressorEvents {
 public:
  virtual ~CompressorEvents() = default;
  virtual void Progress(int16_t /*percent*/) {}
};

// A file's size, or nothing when it cannot be found; UTF-8 path.
// Tests replace it to pack "large" files without writing them.
using FileSizeQuery = std::function<std::optional<uint64_t>(const std::string& path)>;
std::optional<uint64_t> SystemFileSize(const std::string& path);

class Compressor {
 public:
  explicit Compressor(CompressorEvents& events, FileSizeQuery sizes = SystemFileSize);

  // Forgets the cabinet name and the files; compression goes back on.
  void Reset();

  bool Compression() const noexcept { return compression_; }
  void SetCompression(bool compress) noexcept { compression_ = compress; }

  const std::wstring& CabFile() const noexcept { return cabFile_; }
  void SetCabFile(std::wstring path) { cabFile_ = std::move(path); }

  CabEntryList& Files() noexcept { return files_; }
  const CabEntryList& Files() const noexcept { return files_; }

  // Checks every source, the cabinet's folder and the size limits before
  // anything is written; an existing cabinet of the same name is replaced.
  void Compress();

 private:
  CompressorEvents& events_;
  FileSizeQuery sizes_;
  bool compression_ = true;
  std::wstring cabFile_;
  CabEntryList files_;
};

}  // namespace vtq::cabinet
