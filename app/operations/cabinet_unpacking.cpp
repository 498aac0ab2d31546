#include "app/operations/cabinet_unpacking.h"

#include "base/utf8_text.h"
#include "engine/program/bug_tracer.h"

namespace vtq {

// Kept as data, so that the program's texts can be found in it as written.
extern const char kExtractFailure[] =
    "There was an error extracting the file(s).  Possible explanations could include a lack of "
    "sufficient hard disk space, inability to access one or more files or a bug in the program.";
extern const char kExtractErrorLabel[] = "ActiveX extraction error: 1000, description:";
extern const char kCabDirLabel[] = ", CABDir:";
extern const char kFirstEntryLabel[] = ", FirstEntry:";

std::string ExtractFailureText(const std::string& description, const std::wstring& cabinet,
                               const std::wstring& firstEntry) {
  return std::string(kExtractFailure) + " If you think it is a bug, please report it to " +
         kBugReportAddress + " and quote the following text: " + kExtractErrorLabel + description +
         kCabDirLabel + base::ToUtf8(cabinet) + kFirstEntryLabel + base::ToUtf8(firstEntry);
}

}  // namespace vtq
