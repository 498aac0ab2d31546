#include "app/operations/cabinet_packing.h"

#include "base/utf8_text.h"
#include "engine/program/bug_tracer.h"

namespace vtq {

// Kept as data, so that the program's texts can be found in it as written.
extern const char kCompressFailure[] =
    "There was an error compressing the file(s).  Possible explanations could include a lack of "
    "sufficient hard disk space, inability to access one or more files or a bug in the program.";
extern const char kMakeCabErrorLabel[] = "ActiveX error: 1000, description:";
extern const char kSplitPackErrorLabel[] = "ActiveX compression error: 1000, description:";
extern const char kCompressCabDirLabel[] = ", CABDir:";
extern const char kSourceLabel[] = ", Source:";

namespace {

std::string CompressFailureText(const char* errorLabel, const std::string& description,
                                const PackedEntry& first) {
  return std::string(kCompressFailure) + " If you think it is a bug, please report it to " +
         kBugReportAddress + " and quote the following text: " + errorLabel + description +
         kCompressCabDirLabel + base::ToUtf8(first.cabDir) + kSourceLabel +
         base::ToUtf8(first.source);
}

}  // namespace

std::string MakeCabFailureText(const std::string& description, const PackedEntry& first) {
  return CompressFailureText(kMakeCabErrorLabel, description, first);
}

std::string PackBeforeSplitFailureText(const std::string& description, const PackedEntry& first) {
  return CompressFailureText(kSplitPackErrorLabel, description, first);
}

}  // namespace vtq
