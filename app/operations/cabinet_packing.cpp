#include "app/operations/cabinet_packing.h"

#include "base/ansi_text.h"
#include "engine/program/bug_tracer.h"

namespace vtq {

namespace {

std::string CompressFailureText(const char* errorLabel, const std::string& description,
                                const PackedEntry& first) {
  return std::string(
             "There was an error compressing the file(s).  Possible explanations could include a "
             "lack of sufficient hard disk space, inability to access one or more files or a bug "
             "in the program. If you think it is a bug, please report it to ") +
         kBugReportAddress + " and quote the following text: " + errorLabel + description +
         ", CABDir:" + base::ToAnsi(first.cabDir) + ", Source:" + base::ToAnsi(first.source);
}

}  // namespace

std::string MakeCabFailureText(const std::string& description, const PackedEntry& first) {
  return CompressFailureText("ActiveX error: 1000, description:", description, first);
}

std::string PackBeforeSplitFailureText(const std::string& description, const PackedEntry& first) {
  return CompressFailureText("ActiveX compression error: 1000, description:", description, first);
}

}  // namespace vtq
