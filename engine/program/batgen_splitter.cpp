// The splitter's batch-file members: the text for a raw series, built by the
// batch generator from the splitter's settings.

#include "engine/program/batgen.h"
#include "engine/path.h"
#include "engine/splitter.h"

namespace vtq {

std::string ActiveSplitter::BatGen_String(const ItemIndex& file) {
  if (!BatGen_Available()) {
    globals_.GetPlatform().boxes.Show(
        "BAT Generation unavailable for selected options. The BAT file will not be generated.",
        "BAT Unavailable", mb::kIconExclamation);
  }
  BatGenSeries series;
  series.sourceName = BaseName(FilesToSplit().Item(file));
  series.fragmentCount = FragsNeeded(file);
  series.cabinetIsMultifile = cabIsMultifile_;
  return CheckedBatGenText(series, globals_.GetPlatform());
}

}  // namespace vtq
