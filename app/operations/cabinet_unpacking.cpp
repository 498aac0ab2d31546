#include "app/operations/cabinet_unpacking.h"

#include "base/ansi_text.h"
#include "engine/program/bug_tracer.h"

namespace vtq {

std::string ExtractFailureText(const std::string& description, const std::wstring& cabinet,
                               const std::wstring& firstEntry) {
  return std::string(
             "There was an error extracting the file(s).  Possible explanations could include a "
             "lack of sufficient hard disk space, inability to access one or more files or a bug "
             "in the program. If you think it is a bug, please report it to ") +
         kBugReportAddress + " and quote the following text: " +
         "ActiveX extraction error: 1000, description:" + description +
         ", CABDir:" + base::ToAnsi(cabinet) + ", FirstEntry:" + base::ToAnsi(firstEntry);
}

}  // namespace vtq
