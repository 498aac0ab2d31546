// cabtool: the cabinet component from the command line.
//   cabtool pack [--store] FOLDER CABINET
//   cabtool extract CABINET FOLDER
//   cabtool list CABINET
// A failure prints the component's description and ends with 2. Names are
// taken in UTF-16 (wmain) and listed in UTF-8.

#include <cstdio>
#include <string>
#include <string_view>

#include "base/utf8_text.h"
#include "cabinet/compressor.h"
#include "cabinet/extractor.h"
#include "engine/error.h"

namespace {

using vtq::base::ToUtf8;

int Usage() {
  std::fputs(
      "usage: cabtool pack [--store] FOLDER CABINET | extract CABINET FOLDER | list CABINET\n",
      stderr);
  return 1;
}

int Pack(bool compress, const wchar_t* folder, const wchar_t* cabinet) {
  vtq::cabinet::CompressorEvents events;
  vtq::cabinet::Compressor compressor(events);
  compressor.SetCompression(compress);
  compressor.SetCabFile(cabinet);
  compressor.Files().AddFolder(folder, true);
  compressor.Compress();
  return 0;
}

int Extract(const wchar_t* cabinet, const wchar_t* folder) {
  vtq::cabinet::ExtractorEvents events;
  vtq::cabinet::Extractor extractor(events);
  extractor.SetCabFile(cabinet);
  extractor.Extract(folder);
  return 0;
}

int List(const wchar_t* cabinet) {
  vtq::cabinet::ExtractorEvents events;
  vtq::cabinet::Extractor extractor(events);
  extractor.SetCabFile(cabinet);
  const auto& entries = extractor.Entries();
  for (int32_t i = 1; i <= entries.Count(); ++i)
    std::printf("%s\n", ToUtf8(entries.Item(i).Name).c_str());
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring_view verb = argc > 1 ? argv[1] : L"";
  try {
    if (verb == L"pack" && argc == 4)
      return Pack(true, argv[2], argv[3]);
    if (verb == L"pack" && argc == 5 && std::wstring_view(argv[2]) == L"--store")
      return Pack(false, argv[3], argv[4]);
    if (verb == L"extract" && argc == 4)
      return Extract(argv[2], argv[3]);
    if (verb == L"list" && argc == 3)
      return List(argv[2]);
    return Usage();
  } catch (const vtq::VbError& error) {
    std::fprintf(stderr, "error %ld: %s\n", static_cast<long>(error.Number()),
                 error.Description().c_str());
    return 2;
  }
}
