#include "app/operations/series_side_files.h"

#include <algorithm>
#include <set>

#include "engine/assembled_name.h"
#include "engine/error.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/platform/same_file.h"
#include "recovery/recovery_files.h"

namespace vtq {
namespace {

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

bool RecoverySetBelongs(const std::string& name, const std::string& baseStem) {
  const recovery::LoadedSet loaded = recovery::LoadRecoveryFiles({name});
  if (!loaded.set)
    return false;
  std::vector<std::string> names;
  for (const recovery::DescribedFile& file : loaded.set->files)
    names.push_back(file.name);
  return AreFragmentsOneToN(names, baseStem);
}

}  // namespace

int SeriesFragmentNumber(const std::string& baseName, const std::string& baseStem) {
  if (baseName.size() <= baseStem.size() || baseName.compare(0, baseStem.size(), baseStem) != 0)
    return 0;
  const std::string digits = baseName.substr(baseStem.size());
  if (digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
    return 0;
  const int number = std::stoi(digits);
  if (number < 1 || number > INT16_MAX || FragmentNumber(number) != digits)
    return 0;
  return number;
}

std::vector<std::string> SeriesFragmentNames(const std::string& firstFragment, int count) {
  const std::string prefix = SeriesStem(firstFragment);
  std::vector<std::string> names;
  for (int i = 1; i <= count; ++i)
    names.push_back(prefix + FragmentNumber(i));
  return names;
}

bool AreFragmentsOneToN(const std::vector<std::string>& baseNames, const std::string& baseStem) {
  std::set<int> numbers;
  for (const std::string& name : baseNames) {
    const int number = SeriesFragmentNumber(name, baseStem);
    if (number == 0 || !numbers.insert(number).second)
      return false;
  }
  return !numbers.empty() && *numbers.rbegin() == static_cast<int>(numbers.size());
}

std::string RecoveryPrefixOf(const std::string& firstFragment) {
  return SeriesStem(firstFragment);
}

std::string RecoveryIndexName(const std::string& firstFragment) {
  return RecoveryPrefixOf(firstFragment) + "par2";
}

bool IsRecoveryFileName(const std::string& baseName, const std::string& baseStem) {
  if (baseName.size() <= baseStem.size() || baseName.compare(0, baseStem.size(), baseStem) != 0)
    return false;
  const std::string rest = Lower(baseName.substr(baseStem.size()));
  return rest == "par2" || (rest.starts_with("vol") && rest.ends_with(".par2"));
}

bool ChecksumsBelong(const SeriesChecksums& sums, const std::string& baseStem) {
  std::vector<std::string> names;
  for (const ChecksumLine& line : sums.fragments)
    names.push_back(line.name);
  return SeriesFragmentNumber(sums.source.name, baseStem) == 0 &&
         AreFragmentsOneToN(names, baseStem);
}

bool SideFileBelongs(const SideFile& file, const std::string& baseStem) {
  if (file.kind == SideFileKind::kRecovery)
    return RecoverySetBelongs(file.name, baseStem);
  SeriesChecksums sums;
  return ReadChecksumFile(file.name, sums) == ChecksumFileState::kRead &&
         ChecksumsBelong(sums, baseStem);
}

std::vector<SideFile> SideFilesThere(const std::string& firstFragment) {
  std::vector<SideFile> files;
  const std::string checksums = ChecksumFileName(firstFragment);
  if (FileExists(checksums))
    files.push_back({checksums, SideFileKind::kChecksum});
  for (std::string& name : recovery::FindRecoveryFiles(RecoveryIndexName(firstFragment)))
    files.push_back({std::move(name), SideFileKind::kRecovery});
  return files;
}

std::string ForeignSideFileText(const SideFile& file) {
  return file.kind == SideFileKind::kChecksum
             ? file.name +
                   " is not this series' checksum file (it does not list exactly its "
                   "fragments)"
             : file.name +
                   " is not one of this series' recovery files (it holds no set of "
                   "exactly its fragments)";
}

std::optional<SideFile> SideFileThatIsSource(const std::string& source,
                                             const std::string& firstFragment) {
  if (SameFile(ChecksumFileName(firstFragment), source))
    return SideFile{ChecksumFileName(firstFragment), SideFileKind::kChecksum};
  // Every recovery file's name is one of the series': the source among them
  // when it lies in the series' folder under such a name.
  const std::string prefix = SeriesStem(firstFragment);
  const std::string folder = FolderPart(prefix);
  const std::string inFolder = folder + BaseName(source);
  if (IsRecoveryFileName(BaseName(source), BaseName(prefix)) && SameFile(inFolder, source))
    return SideFile{inFolder, SideFileKind::kRecovery};
  return std::nullopt;
}

std::vector<SideFile> RemoveReplacedSideFiles(const std::string& firstFragment,
                                              bool checksumsWritten) {
  const std::string baseStem = BaseName(SeriesStem(firstFragment));
  std::vector<SideFile> kept;
  for (const SideFile& file : SideFilesThere(firstFragment)) {
    if (file.kind == SideFileKind::kChecksum && checksumsWritten)
      continue;
    if (!SideFileBelongs(file, baseStem)) {
      kept.push_back(file);
      continue;
    }
    try {
      RemoveFile(file.name);
    } catch (const VbError&) {
      // Left for the person to take away: the series' own checks find it
      // out of date.
    }
  }
  return kept;
}

}  // namespace vtq
