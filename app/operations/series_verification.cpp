#include "app/operations/series_verification.h"

#include <algorithm>
#include <map>
#include <memory>
#include <span>

#include "app/operations/checksum_file.h"
#include "app/operations/inspection_events.h"
#include "app/operations/sha256.h"
#include "engine/assembled_name.h"
#include "engine/assembler.h"
#include "engine/error.h"
#include "engine/folder_walk.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/program/protection.h"
#include "engine/secure_wipe.h"

namespace vtq {
namespace {

// The number of a fragment name of the series, 0 when `name` is none: the
// stem, then digits written as the series writes them (001, not 1 or 0001).
int FragmentNumberOf(const std::string& name, const std::string& baseStem) {
  if (name.size() <= baseStem.size() || name.compare(0, baseStem.size(), baseStem) != 0)
    return 0;
  const std::string digits = name.substr(baseStem.size());
  if (digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
    return 0;
  const int number = std::stoi(digits);
  if (number < 1 || number > INT16_MAX || FragmentNumber(number) != digits)
    return 0;
  return number;
}

// The most frequent of the lengths, the larger one on a tie: a damaged
// fragment is usually cut short, rarely grown.
std::optional<uint64_t> CommonLength(const std::vector<uint64_t>& lengths) {
  std::map<uint64_t, int> tally;
  for (const uint64_t length : lengths)
    ++tally[length];
  std::optional<uint64_t> best;
  int bestCount = 0;
  for (const auto& [length, count] : tally) {
    if (count >= bestCount) {
      best = length;
      bestCount = count;
    }
  }
  return best;
}

class Verification {
 public:
  Verification(const VerifyRequest& request, Globals& globals)
      : request_(request), globals_(globals), assembler_(globals, events_) {}

  VerifyReport Run() {
    if (!ReadFirstFragment())
      return report_;
    stem_ = SeriesStem(request_.firstFragment);
    ReadChecksumFile();
    CountFragments();
    MeasureFragments();
    JudgeLengths();
    InspectContents();
    std::stable_sort(
        report_.findings.begin(), report_.findings.end(),
        [](const FragmentFinding& a, const FragmentFinding& b) { return a.number < b.number; });
    return report_;
  }

 private:
  bool ReadFirstFragment() {
    try {
      if (assembler_.FilesToAssemble().Add(request_.firstFragment) != 0) {
        report_.readable = false;
        return false;
      }
      assembler_.FormatForUnknowns(request_.unknownAs);
      report_.format = assembler_.FileFormat(1);
      if (report_.format == aftQuorvelle) {
        header_ = assembler_.ReadSeriesHeaders(1);
        report_.fragments = header_.file.fragmentCount;
        report_.checkable = header_.file.checkable;
        report_.encrypted = header_.file.encrypted;
        report_.sourceName = header_.file.sourceName;
        if (report_.encrypted) {
          if (request_.passphrase)
            assembler_.DecryptionKey(*request_.passphrase);
          report_.passphraseRejected = !assembler_.KeyValid(1);
        }
      } else if (report_.format == aftBrannock) {
        prefixLength_ = assembler_.Header(1).size();
      }
      return true;
    } catch (const VbError&) {
      report_.readable = false;
      return false;
    }
  }

  void ReadChecksumFile() {
    switch (ReadSeriesChecksums(request_.firstFragment, sums_)) {
      case ChecksumFileState::kAbsent:
        return;
      case ChecksumFileState::kUnreadable:
        report_.checksumFile = ChecksumFileName(request_.firstFragment);
        report_.checksumFileUnreadable = true;
        return;
      case ChecksumFileState::kRead:
        report_.checksumFile = ChecksumFileName(request_.firstFragment);
        haveSums_ = true;
        if (report_.sourceName.empty())
          report_.sourceName = sums_.source.name;
        for (const ChecksumLine& line : sums_.fragments)
          expectedDigest_[line.name] = line.digest;
        return;
    }
  }

  // Without a header the series is as long as its highest fragment in the
  // folder or in the checksum file: probing alone stops at the first gap.
  void CountFragments() {
    if (report_.format == aftQuorvelle)
      return;
    int count = HighestFragmentInFolder(globals_.GetPlatform().folders, request_.firstFragment);
    const std::string baseStem = BaseName(stem_);
    for (const ChecksumLine& line : sums_.fragments)
      count = std::max(count, FragmentNumberOf(line.name, baseStem));
    report_.fragments = count;
  }

  void MeasureFragments() {
    lengths_.assign(static_cast<size_t>(std::max(report_.fragments, 0)) + 1, std::nullopt);
    for (int i = 1; i <= report_.fragments; ++i) {
      const std::string name = SeriesFragmentName(stem_, i);
      if (!CanOpenForReading(name)) {
        Add(i, FragmentFault::kMissing);
        continue;
      }
      try {
        lengths_[static_cast<size_t>(i)] = FileLength(name);
      } catch (const VbError&) {
        Add(i, FragmentFault::kMissing);
      }
    }
  }

  // Every fragment but the last is as long as the others; the first has a
  // size of its own only when the header says so, or, without a header,
  // perhaps. The last holds at least one byte of data and no more than a
  // whole fragment.
  void JudgeLengths() {
    const int n = report_.fragments;
    const uint64_t c = report_.checkable ? kCheckDigitCount : 0;
    const bool firstMayDiffer = report_.format != aftQuorvelle || header_.file.multisize;
    const uint64_t prefix = report_.format == aftQuorvelle ? header_.length : prefixLength_;
    std::vector<uint64_t> full;
    for (int i = firstMayDiffer ? 2 : 1; i < n; ++i) {
      if (const auto& length = lengths_[static_cast<size_t>(i)])
        full.push_back(*length);
    }
    const std::optional<uint64_t> size = CommonLength(full);
    for (int i = 1; i <= n; ++i) {
      const auto& length = lengths_[static_cast<size_t>(i)];
      if (!length)
        continue;
      const bool first = i == 1;
      const bool last = i == n;
      const uint64_t least = (first ? prefix : 0) + c + ((first || !last) ? 0 : 1);
      if (*length < least) {
        Add(i, FragmentFault::kWrongLength, *length, least);
      } else if (size && !last && !(first && firstMayDiffer) && *length != *size) {
        Add(i, FragmentFault::kWrongLength, *length, *size);
      } else if (size && last && !first && *length > *size) {
        Add(i, FragmentFault::kWrongLength, *length, *size);
      }
    }
  }

  // One read of each fragment serves both its check digits and its digest.
  void InspectContents() {
    const bool digits = report_.checkable && !report_.passphraseRejected;
    report_.checkDigitsChecked = digits;
    report_.digestsChecked = haveSums_;
    if (!digits && !haveSums_)
      return;
    std::vector<uint8_t> bytes;
    for (int i = 1; i <= report_.fragments; ++i) {
      const auto& length = lengths_[static_cast<size_t>(i)];
      if (!length)
        continue;
      const std::string name = SeriesFragmentName(stem_, i);
      const auto digest = expectedDigest_.find(BaseName(name));
      const bool hashing = digest != expectedDigest_.end();
      if (!digits && !hashing)
        continue;
      try {
        File file(name, File::Mode::kRead);
        bytes.resize(static_cast<size_t>(*length));
        bytes.resize(file.Read(bytes.data(), bytes.size()));
      } catch (const VbError&) {
        Add(i, FragmentFault::kMissing);
        continue;
      }
      if (hashing) {
        Sha256 sum;
        sum.Update(bytes.data(), bytes.size());
        if (sum.HexDigest() != digest->second)
          Add(i, FragmentFault::kDigest);
      }
      if (digits) {
        std::span<const uint8_t> data(bytes);
        if (i == 1)
          data = data.subspan(std::min(header_.length, data.size()));
        if (!CheckDigitsMatch(globals_.Cipher(), data))
          Add(i, FragmentFault::kCheckDigits);
      }
    }
  }

  void Add(int number, FragmentFault fault, uint64_t length = 0, uint64_t expected = 0) {
    report_.findings.push_back(
        {number, SeriesFragmentName(stem_, number), fault, length, expected});
  }

  const VerifyRequest& request_;
  Globals& globals_;
  InspectionEvents events_;
  ActiveAssembler assembler_;
  VerifyReport report_;
  SeriesHeader header_;
  size_t prefixLength_ = 0;
  std::string stem_;
  SeriesChecksums sums_;
  bool haveSums_ = false;
  std::map<std::string, std::string> expectedDigest_;
  std::vector<std::optional<uint64_t>> lengths_;
};

}  // namespace

VerifyRequest::~VerifyRequest() {
  SecureWipe(passphrase);
}

bool VerifyReport::Sound() const {
  return readable && !passphraseRejected && !checksumFileUnreadable && findings.empty() &&
         fragments > 0;
}

std::vector<int> VerifyReport::FaultyFragments() const {
  std::vector<int> numbers;
  for (const FragmentFinding& finding : findings) {
    if (numbers.empty() || numbers.back() != finding.number)
      numbers.push_back(finding.number);
  }
  return numbers;
}

VerifyReport VerifySeries(const VerifyRequest& request, Globals& globals) {
  return Verification(request, globals).Run();
}

int HighestFragmentInFolder(FolderEnumerator& folders, const std::string& firstFragment) {
  const std::string stem = SeriesStem(firstFragment);
  const std::string baseStem = BaseName(stem);
  const std::string folder = stem.substr(0, stem.size() - baseStem.size());
  int highest = 0;
  folders.Enumerate((folder.empty() ? std::string() : folder) + "*", [&](const FindEntry& entry) {
    if (entry.attributes & FindEntry::kDirectory)
      return;
    const std::string name = TrimAtNull(std::string_view(entry.name.data(), entry.name.size()));
    highest = std::max(highest, FragmentNumberOf(name, baseStem));
  });
  return highest;
}

std::vector<std::string> MissingFragments(FolderEnumerator& folders,
                                          const std::string& firstFragment, int count,
                                          bool countFromFolder) {
  if (countFromFolder)
    count = std::max(count, HighestFragmentInFolder(folders, firstFragment));
  const std::string stem = SeriesStem(firstFragment);
  std::vector<std::string> missing;
  for (int i = 1; i <= count; ++i) {
    const std::string name = SeriesFragmentName(stem, i);
    if (!FileExists(name))
      missing.push_back(name);
  }
  return missing;
}

}  // namespace vtq
