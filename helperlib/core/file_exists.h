#pragma once
// fExist: a file exists when it can be opened for reading. A file that is
// already open elsewhere (a sharing violation) exists too.

#include <string>

namespace orrin {

bool FileExists(const std::wstring& name);

}  // namespace orrin
