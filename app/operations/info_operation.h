#pragma once
// The info command: what the assembler reads from a first fragment, without
// assembling anything.

#include <cstddef>
#include <optional>
#include <string>

#include "engine/format.h"
#include "engine/globals.h"

namespace vtq {

struct InfoRequest {
  std::string fragment;
  // A name-and-escape prefix is taken for what it most likely is.
  AftFileFormat unknownAs = aftBrannock;
};

struct SeriesInfo {
  AftFileFormat format = aftRaw;
  int fragments = 0;
  std::string assembledName;  // the name the assembly would write
  std::string storedName;     // the name the header records; may be hostile
  FileRecord file;            // the own format's flags; all off otherwise
  size_t headerLength = 0;
};

// nullopt when the fragment could not be read; the engine has shown why.
std::optional<SeriesInfo> RunInfoCommand(const InfoRequest& request, Globals& globals);

}  // namespace vtq
