#include "engine/assembler.h"

#include <algorithm>
#include <vector>

#include "engine/assembled_name.h"
#include "engine/error.h"
#include "engine/globals.h"
#include "engine/path.h"
#include "engine/platform/file_io.h"
#include "engine/secure_wipe.h"
#include "engine/stored_name.h"

namespace vtq {

namespace {

// The longest own-format header: three records whose texts all have the
// largest 16-bit length.
constexpr size_t kLongestHeader = (2 + 65535 + 12) + (14 + 65535) + (8 + 65535);

constexpr const char* kUpgradeTitle = "Feature unsupported - you may wish to upgrade";

std::string ReadPrefix(const std::string& name, size_t limit) {
  File file(name, File::Mode::kRead);
  std::string bytes(limit, '\0');
  bytes.resize(file.Read(bytes.data(), bytes.size()));
  return bytes;
}

std::span<const uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

}  // namespace

ActiveAssembler::ActiveAssembler(Globals& globals, AssemblerEvents& events)
    : globals_(globals), events_(events), files_(globals) {}

ActiveAssembler::~ActiveAssembler() {
  SecureWipe(decryptionKey_);
}

void ActiveAssembler::DecryptionKey(std::string key) {
  SecureWipe(decryptionKey_);
  decryptionKey_ = key;
  // A short text lives inside the string object itself, which a move would
  // leave behind; so it is copied and the parameter wiped.
  SecureWipe(key);
}

void ActiveAssembler::DestinationFolder(std::string folder) {
  destination_ = WithTrailingSeparator(std::move(folder));
}

std::string ActiveAssembler::RecognitionWindow(const ItemIndex& filename) {
  return ReadPrefix(files_.Item(filename), kRecognitionWindow);
}

bool ActiveAssembler::FormatCouldBe(const ItemIndex& filename, AftFileFormat frmt) {
  // Any file at all can be an unformatted fragment, so it is not even opened.
  if (frmt == aftRaw)
    return true;
  const std::string window = RecognitionWindow(filename);
  if (frmt == aftQuorvelle)
    return LooksLikeOwnFormat(AsBytes(window), globals_.GetPlatform().boxes);
  return LooksLikeBrannock(AsBytes(window));
}

AftFileFormat ActiveAssembler::FileFormat(const ItemIndex& filename) {
  if (FormatCouldBe(filename, aftQuorvelle))
    return aftQuorvelle;
  if (FormatCouldBe(filename, aftBrannock))
    return formatForUnknowns_;
  return aftRaw;
}

std::string ActiveAssembler::Header(const ItemIndex& filename) {
  const AftFileFormat format = FileFormat(filename);
  if (format == aftRaw)
    return {};
  const std::string window = RecognitionWindow(filename);
  if (format == aftBrannock)
    return BrannockPrefix(AsBytes(window));
  if (format == aftQuorvelle) {
    globals_.GetPlatform().boxes.Show(
        "The engine asked for the foreign header of a fragment in its own format. This is an "
        "internal fault; please report it to the maker of Vantrelloquin.",
        "Critical failure", mb::kIconCritical);
  }
  return {};
}

SeriesHeader ActiveAssembler::PeekSeriesHeaders(const ItemIndex& filename) {
  const std::string name = files_.Item(filename);
  const std::string bytes =
      ReadPrefix(name, static_cast<size_t>(std::min<uint64_t>(FileLength(name), kLongestHeader)));
  SeriesHeader header = ParseSeriesHeader(AsBytes(bytes));
  header.file.sourceName = NameFromStored(header.file.sourceName, *globals_.GetPlatform().codePage);
  return header;
}

SeriesHeader ActiveAssembler::ReadSeriesHeaders(const ItemIndex& filename) {
  SeriesHeader header = PeekSeriesHeaders(filename);
  MessageBoxes& boxes = globals_.GetPlatform().boxes;
  if (header.file.reservedFeature) {
    boxes.Show("Reserved feature unsupported - the fragments may not assemble correctly",
               kUpgradeTitle, mb::kIconExclamation);
  }
  if (header.file.encodable) {
    boxes.Show("Encodability unsupported - the fragments may not assemble correctly", kUpgradeTitle,
               mb::kIconExclamation);
  }
  WarnOfUnsupportedHeader(header);
  return header;
}

int16_t ActiveAssembler::ProbeFragments(const std::string& firstFragment) const {
  const std::string stem = SeriesStem(firstFragment);
  int16_t count = 0;
  while (count < INT16_MAX && CanOpenForReading(SeriesFragmentName(stem, count + 1)))
    ++count;
  return count;
}

int16_t ActiveAssembler::FragmentCount(const ItemIndex& filename) {
  if (FileFormat(filename) == aftQuorvelle)
    return ReadSeriesHeaders(filename).file.fragmentCount;
  return ProbeFragments(files_.Item(filename));
}

std::optional<std::string> ActiveAssembler::AssembledFilename(const ItemIndex& filename) {
  switch (FileFormat(filename)) {
    case aftQuorvelle:
      return ReadSeriesHeaders(filename).file.sourceName;
    case aftBrannock: {
      std::string header = Header(filename);
      if (!header.empty())
        header.pop_back();  // the escape byte
      return NameFromStored(header, *globals_.GetPlatform().codePage);
    }
    case aftRaw: {
      std::string name;
      events_.NameUnformattedSeries(files_.Item(filename), name);
      return name;
    }
    default:
      return std::nullopt;
  }
}

std::string ActiveAssembler::SafeOutputPath(const std::string& firstFragment,
                                            const std::optional<std::string>& assembledName) const {
  std::string name = SafeBaseName(assembledName.value_or(std::string()));
  // A header that names nothing usable gets the name an unformatted series gets.
  if (name.empty())
    name = BaseName(SeriesStem(firstFragment) + "Unk");
  return destination_ + name;
}

std::string ActiveAssembler::OutputPathFor(const ItemIndex& filename) {
  return SafeOutputPath(files_.Item(filename), AssembledFilename(filename));
}

void ActiveAssembler::Assemble() {
  // The container may change the list from inside an event; the run goes
  // through the entries it was started with.
  const std::vector<std::string> series(files_.begin(), files_.end());
  completedSeries_ = 0;
  keptPartials_.clear();
  for (const std::string& first : series)
    AssembleSeries(first);
}

}  // namespace vtq
