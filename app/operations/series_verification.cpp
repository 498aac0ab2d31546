#include "app/operations/series_verification.h"

#include <algorithm>
#include <map>
#include <memory>
#include <span>

#include "app/operations/checksum_file.h"
#include "app/operations/inspection_events.h"
#include "app/operations/series_protection.h"
#include "app/operations/series_side_files.h"
#include "app/operations/sha256.h"
#include "engine/assembled_name.h"
#include "engine/assembler.h"
#include "engine/error.h"
#include "engine/folder_walk.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/secure_wipe.h"

namespace vtq {
namespace {

// Check digits are read with the whole fragment, which no fragment of a
// checkable series exceeds: the largest fragment, its header and its digits.
constexpr uint64_t kLargestCheckableFragment = 104857600 + 64 * 1024;
// The piece of a fragment hashed at a time: however long a fragment, its
// digest is computed within this much memory.
constexpr size_t kDigestPiece = 1 << 20;

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
          report_.passphraseRejected = !PassphraseAccepted(assembler_);
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
      count = std::max(count, SeriesFragmentNumber(line.name, baseStem));
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
  // A fragment is hashed piece by piece (it may be of any length); only the
  // check digits need it whole, and only up to the largest fragment a
  // checkable series has: a longer one is damaged whatever it holds.
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
      const bool whole = digits && *length <= kLargestCheckableFragment;
      if (!hashing && !whole) {
        if (digits)
          AddOnce(i, FragmentFault::kWrongLength, *length, kLargestCheckableFragment);
        continue;
      }
      bool good = true;
      try {
        File file(name, File::Mode::kRead);
        Sha256 sum;
        if (whole) {
          bytes.resize(static_cast<size_t>(*length));
          bytes.resize(file.Read(bytes.data(), bytes.size()));
          if (hashing)
            sum.Update(bytes.data(), bytes.size());
        } else {
          bytes.resize(kDigestPiece);
          for (size_t got; (got = file.Read(bytes.data(), bytes.size())) > 0;)
            sum.Update(bytes.data(), got);
        }
        if (hashing && sum.HexDigest() != digest->second) {
          Add(i, FragmentFault::kDigest);
          good = false;
        }
        if (digits && !whole) {
          AddOnce(i, FragmentFault::kWrongLength, *length, kLargestCheckableFragment);
          good = false;
        } else if (digits) {
          std::span<const uint8_t> data(bytes);
          if (i == 1)
            data = data.subspan(std::min(header_.length, data.size()));
          if (!FragmentCheckDigitsMatch(globals_, data)) {
            Add(i, FragmentFault::kCheckDigits);
            good = false;
          }
        }
      } catch (const VbError&) {
        Add(i, FragmentFault::kMissing);
        continue;
      }
      if (good && !HasFinding(i))
        report_.provenGood.insert(i);
    }
  }

  bool HasFinding(int number) const {
    return std::any_of(report_.findings.begin(), report_.findings.end(),
                       [number](const FragmentFinding& f) { return f.number == number; });
  }

  void AddOnce(int number, FragmentFault fault, uint64_t length, uint64_t expected) {
    const bool known = std::any_of(
        report_.findings.begin(), report_.findings.end(),
        [&](const FragmentFinding& f) { return f.number == number && f.fault == fault; });
    if (!known)
      Add(number, fault, length, expected);
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

SeriesOutline OutlineSeries(const std::string& firstFragment, AftFileFormat unknownAs,
                            Globals& globals) {
  SeriesOutline outline;
  InspectionEvents events;
  ActiveAssembler assembler(globals, events);
  try {
    if (assembler.FilesToAssemble().Add(firstFragment) != 0)
      return outline;
    assembler.FormatForUnknowns(unknownAs);
    outline.format = assembler.FileFormat(1);
    if (outline.format == aftQuorvelle) {
      const SeriesHeader header = assembler.PeekSeriesHeaders(1);
      outline.fragments = header.file.fragmentCount;
      outline.checkable = header.file.checkable;
      outline.encrypted = header.file.encrypted;
    } else {
      outline.fragments = HighestFragmentInFolder(globals.GetPlatform().folders, firstFragment);
    }
    outline.readable = true;
  } catch (const VbError&) {
  }
  return outline;
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

RecoveryFaults SortRecoveryFaults(const VerifyReport& report, const std::string& firstFragment,
                                  const std::vector<std::string>& atFault) {
  const std::string stem = SeriesStem(firstFragment);
  const std::string baseStem = BaseName(stem);
  RecoveryFaults faults;
  for (const std::string& name : atFault) {
    const int number = SeriesFragmentNumber(BaseName(name), baseStem);
    // Without a header the series ends where its fragments end: a lost last
    // one is still one of them.
    const bool counted = report.format != aftQuorvelle || number <= report.fragments;
    if (number == 0 || !counted || name != SeriesFragmentName(stem, number))
      faults.others.push_back(name);
    else if (report.provenGood.count(number) > 0)
      faults.provenGood.push_back(name);
    else
      faults.fragments.push_back({number, name});
  }
  return faults;
}

void AddRecoveryFindings(VerifyReport& report, const RecoveryFaults& faults) {
  for (const auto& [number, name] : faults.fragments) {
    const bool known =
        std::any_of(report.findings.begin(), report.findings.end(),
                    [number = number](const FragmentFinding& f) { return f.number == number; });
    if (!known)
      report.findings.push_back({number, name, FragmentFault::kRecoveryFiles, 0, 0});
  }
  std::stable_sort(
      report.findings.begin(), report.findings.end(),
      [](const FragmentFinding& a, const FragmentFinding& b) { return a.number < b.number; });
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
    highest = std::max(highest, SeriesFragmentNumber(name, baseStem));
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
