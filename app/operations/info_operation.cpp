#include "app/operations/info_operation.h"

#include "app/operations/inspection_events.h"
#include "app/operations/runtime_error_box.h"
#include "engine/assembler.h"
#include "engine/error.h"
#include "engine/path.h"

namespace vtq {

std::optional<SeriesInfo> RunInfoCommand(const InfoRequest& request, Globals& globals) {
  InspectionEvents events;
  ActiveAssembler assembler(globals, events);
  try {
    if (assembler.FilesToAssemble().Add(request.fragment) != 0)
      return std::nullopt;
    assembler.FormatForUnknowns(request.unknownAs);
    SeriesInfo info;
    info.format = assembler.FileFormat(1);
    if (info.format == aftQuorvelle) {
      const SeriesHeader header = assembler.ReadSeriesHeaders(1);
      info.file = header.file;
      info.headerLength = header.length;
    } else if (info.format == aftBrannock) {
      info.headerLength = assembler.Header(1).size();
    }
    info.storedName = assembler.AssembledFilename(1).value_or(std::string());
    info.assembledName = BaseName(assembler.OutputPathFor(1));
    info.fragments = assembler.FragmentCount(1);
    return info;
  } catch (const VbError& failure) {
    ShowRuntimeErrorBox(failure, globals.GetPlatform().boxes);
    return std::nullopt;
  }
}

}  // namespace vtq
