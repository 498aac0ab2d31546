#include "app/operations/series_replacement.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "app/operations/inspection_events.h"
#include "engine/assembler.h"
#include "engine/error.h"
#include "engine/platform/file_io.h"

namespace vtq {
namespace {

// The header is read for the question only: the format's own warnings
// about it belong to an assembly, not to a split that looks.
class QuietBoxes final : public MessageBoxes {
 public:
  int Show(std::string_view, std::string_view, unsigned) override { return mb::kIdCancel; }
};

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

}  // namespace

std::optional<std::string> OtherSeriesAt(Globals& globals, const std::string& firstFragment,
                                         const std::string& sourceName) {
  if (!FileExists(firstFragment))
    return std::nullopt;
  QuietBoxes quiet;
  Platform& platform = globals.GetPlatform();
  Platform looking{quiet,   platform.loop,    platform.drives, platform.folders,
                   nullptr, platform.settings};
  Globals lookingGlobals(looking);
  InspectionEvents events;
  ActiveAssembler probe(lookingGlobals, events);
  try {
    if (probe.FilesToAssemble().Add(firstFragment) != 0)
      return std::nullopt;
    // Only the own format's header is sure to be one: a name-and-escape
    // prefix may as well be raw data that happens to look like it.
    if (probe.FileFormat(1) != aftQuorvelle)
      return std::nullopt;
    const SeriesHeader header = probe.ReadSeriesHeaders(1);
    if (!SameName(header.file.sourceName, sourceName))
      return header.file.sourceName;
  } catch (const VbError&) {
    // A fragment that cannot be read tells nothing about its series.
  }
  return std::nullopt;
}

std::string ReplaceFragmentsQuestion(const std::string& firstFragment,
                                     const std::string& otherSource) {
  return firstFragment + " is a fragment of another series (of " + otherSource +
         "). Splitting now writes over its fragments and leaves the rest of that series mixed "
         "with this one. Write over them?";
}

std::string ReplaceFileQuestion(const std::string& file) {
  return file +
         " already exists and is not the same as the file just assembled. Replace it? "
         "No keeps it and discards what was assembled.";
}

bool SameContents(const std::string& one, const std::string& other) {
  if (FileLength(one) != FileLength(other))
    return false;
  File a(one, File::Mode::kRead);
  File b(other, File::Mode::kRead);
  constexpr size_t kPiece = 256 * 1024;
  std::vector<char> left(kPiece);
  std::vector<char> right(kPiece);
  for (;;) {
    const size_t got = a.Read(left.data(), kPiece);
    if (got == 0)
      return true;
    b.ReadExactly(right.data(), got);
    if (!std::equal(left.begin(), left.begin() + static_cast<ptrdiff_t>(got), right.begin()))
      return false;
  }
}

}  // namespace vtq
