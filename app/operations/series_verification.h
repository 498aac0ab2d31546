#pragma once
// Checking a fragment series without writing anything: every fragment
// there, each as long as the series needs it, the check digits of a
// checkable series (after the passphrase's key check for an encrypted one),
// and the digests of the series' checksum file when there is one. The
// findings name every fragment by number, so that the front end can say
// which ones a regeneration would re-create.

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/format.h"
#include "engine/globals.h"

namespace vtq {

struct VerifyRequest {
  VerifyRequest() = default;
  ~VerifyRequest();  // the passphrase goes with the request
  VerifyRequest(const VerifyRequest&) = delete;
  VerifyRequest& operator=(const VerifyRequest&) = delete;

  std::string firstFragment;
  // For an encrypted series; the built-in passphrase when absent.
  std::optional<std::string> passphrase;
  // A first fragment with a name-and-escape prefix is read as this.
  AftFileFormat unknownAs = aftRaw;
};

enum class FragmentFault {
  kMissing,        // no file of the fragment's name opens
  kWrongLength,    // `length` where the series needs `expected` (at most, for the last)
  kCheckDigits,    // its check digits do not match its data
  kDigest,         // its SHA-256 differs from the checksum file's
  kRecoveryFiles,  // the series' recovery files find it missing or damaged
};

struct FragmentFinding {
  int number = 0;
  std::string name;
  FragmentFault fault = FragmentFault::kMissing;
  uint64_t length = 0;
  uint64_t expected = 0;
};

struct VerifyReport {
  bool readable = true;  // false: the first fragment could not be read at all
  AftFileFormat format = aftRaw;
  int fragments = 0;
  bool checkable = false;
  bool encrypted = false;
  bool passphraseRejected = false;  // check digits were then left unchecked
  bool checkDigitsChecked = false;
  // The checksum file: its name when there is one, and whether it read.
  std::string checksumFile;
  bool checksumFileUnreadable = false;
  bool digestsChecked = false;
  // The source's name as the checksum file or the series header gives it.
  std::string sourceName;
  std::vector<FragmentFinding> findings;  // by fragment number, then fault
  // Fragments whose check digits or checksum-file digest match and that have
  // no finding: the series' own proof, which no recovery set overrules.
  std::set<int> provenGood;

  bool Sound() const;
  // The numbers of the fragments with any finding, ascending, each once.
  std::vector<int> FaultyFragments() const;
};

VerifyReport VerifySeries(const VerifyRequest& request, Globals& globals);

// What the first fragment says of its series, nothing checked: enough to
// name its fragments, or to see that the series is protected.
struct SeriesOutline {
  bool readable = false;  // false: the first fragment could not be read at all
  AftFileFormat format = aftRaw;
  // By its header; without one, the highest number beside it in the folder.
  int fragments = 0;
  bool checkable = false;
  bool encrypted = false;
};
SeriesOutline OutlineSeries(const std::string& firstFragment, AftFileFormat unknownAs,
                            Globals& globals);

// The files a recovery set of the series found missing or damaged (full
// names, the set's names joined to the series' folder), as the series sees
// them: a repair rebuilds only `fragments`, the series' own fragment names,
// and leaves a fragment its own checks prove good as it is, whatever the
// set says, and every other file the set names.
struct RecoveryFaults {
  struct Fragment {
    int number = 0;
    std::string name;
  };
  std::vector<Fragment> fragments;
  std::vector<std::string> provenGood;
  std::vector<std::string> others;
};
RecoveryFaults SortRecoveryFaults(const VerifyReport& report, const std::string& firstFragment,
                                  const std::vector<std::string>& atFault);
// The fragments at fault become findings (kRecoveryFiles) where nothing
// else has found them: verify's verdict and repair's are then the same.
void AddRecoveryFindings(VerifyReport& report, const RecoveryFaults& faults);

// The fragments of the series of `firstFragment` that are not there, of
// `count` (own format) or, for a series without a header, up to the highest
// number that stands beside it in the folder; names in ascending order. Only
// asked whether each name is taken (a file that is there but cannot be read
// is named by the run when it reaches it): opening every fragment once more
// costs a whole round trip per fragment under Wine.
std::vector<std::string> MissingFragments(FolderEnumerator& folders,
                                          const std::string& firstFragment, int count,
                                          bool countFromFolder);

// The highest n for which the fragment name stem + n stands in the folder of
// `firstFragment`; 0 when none does.
int HighestFragmentInFolder(FolderEnumerator& folders, const std::string& firstFragment);

}  // namespace vtq
