#pragma once
// Writes a whole small file (the batch assembler) so that whatever sits at
// its name is replaced, never written through: the text goes into a working
// file created beside it that did not exist before (so not a link someone
// planted), which is then renamed over the name. A symbolic link at the name
// is replaced by the file, its target left alone.

#include <string>
#include <string_view>

namespace vtq::cli {

// Raises VbError with the classic numbers on failure; the working file is
// removed then.
void WriteFileReplacing(const std::string& name, std::string_view text);

}  // namespace vtq::cli
