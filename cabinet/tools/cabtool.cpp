// cabtool: the cabinet component from the command line.
//   cabtool pack [--store] FOLDER CABINET
//   cabtool extract CABINET FOLDER
//   cabtool list CABINET
// A failure prints the component's description and ends with 2.

#include <cstdio>
#include <string>
#include <string_view>

#include "base/ansi_text.h"
#include "cabinet/compressor.h"
#include "cabinet/extractor.h"
#include "engine/error.h"

namespace {

using vtq::base::FromAnsi;
using vtq::base::ToAnsi;

int Usage() {
  std::fputs(
      "usage: cabtool pack [--store] FOLDER CABINET | extract CABINET FOLDER | list CABINET\n",
      stderr);
  return 1;
}

int Pack(bool compress, const char* folder, const char* cabinet) {
  vtq::cabinet::CompressorEvents events;
  vtq::cabinet::Compressor compressor(events);
  compressor.SetCompression(compress);
  compressor.SetCabFile(FromAnsi(cabinet));
  compressor.Files().AddFolder(FromAnsi(folder), true);
  compressor.Compress();
  return 0;
}

int Extract(const char* cabinet, const char* folder) {
  vtq::cabinet::ExtractorEvents events;
  vtq::cabinet::Extractor extractor(events);
  extractor.SetCabFile(FromAnsi(cabinet));
  extractor.Extract(FromAnsi(folder));
  return 0;
}

int List(const char* cabinet) {
  vtq::cabinet::ExtractorEvents events;
  vtq::cabinet::Extractor extractor(events);
  extractor.SetCabFile(FromAnsi(cabinet));
  const auto& entries = extractor.Entries();
  for (int32_t i = 1; i <= entries.Count(); ++i)
    std::printf("%s\n", ToAnsi(entries.Item(i).Name).c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view verb = argc > 1 ? argv[1] : "";
  try {
    if (verb == "pack" && argc == 4)
      return Pack(true, argv[2], argv[3]);
    if (verb == "pack" && argc == 5 && std::string_view(argv[2]) == "--store")
      return Pack(false, argv[3], argv[4]);
    if (verb == "extract" && argc == 4)
      return Extract(argv[2], argv[3]);
    if (verb == "list" && argc == 3)
      return List(argv[2]);
    return Usage();
  } catch (const vtq::VbError& error) {
    std::fprintf(stderr, "error %ld: %s\n", static_cast<long>(error.Number()),
                 error.Description().c_str());
    return 2;
  }
}
