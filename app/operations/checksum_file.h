#pragma once
// The checksum file of a series: SHA-256 digests of the source and of every
// fragment, one "digest  name" line each, in the form `sha256sum -c` reads.
// It lies beside the fragments as the series' stem + "sha256"
// (data.bin -> data.sha256); the first line names the source, the others the
// fragments, all by base name.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vtq {

inline constexpr const char* kChecksumFileEnding = "sha256";

struct ChecksumLine {
  std::string digest;  // 64 lowercase hexadecimal digits
  std::string name;    // a base name
};

struct SeriesChecksums {
  ChecksumLine source;
  std::vector<ChecksumLine> fragments;
};

// stem + "sha256", beside the first fragment.
std::string ChecksumFileName(const std::string& firstFragment);

// sha256sum's lines; a name holding a backslash or a line break is written
// escaped as sha256sum writes it (the line starts with a backslash).
std::string FormatChecksums(const SeriesChecksums& sums);
// nullopt when a line is not "digest  name" (or "digest *name"), or no line
// is there at all.
std::optional<SeriesChecksums> ParseChecksums(std::string_view text);

// Digests the source and fragments 1 to `count` of the series whose first
// fragment is `firstFragment`, and writes the file (replacing an older one
// only once the new one is complete). Returns its name.
std::string WriteSeriesChecksums(const std::string& source, const std::string& firstFragment,
                                 int count);
enum class ChecksumFileState { kAbsent, kUnreadable, kRead };
// The checksum file `fileName`, into `sums` when it reads.
ChecksumFileState ReadChecksumFile(const std::string& fileName, SeriesChecksums& sums);
// The checksum file beside `firstFragment`.
ChecksumFileState ReadSeriesChecksums(const std::string& firstFragment, SeriesChecksums& sums);

}  // namespace vtq
