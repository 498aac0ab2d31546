#pragma once
// The script host's output: lines of UTF-8 on standard output, written
// straight to the handle so that nothing waits in a buffer when the
// process ends.

#include <string_view>

namespace vtq::script_host {

void WriteLine(std::wstring_view text);

}  // namespace vtq::script_host
