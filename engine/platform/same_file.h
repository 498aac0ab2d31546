#pragma once
// Whether two names reach the same file on disk: by file identity where the
// system gives one (device and inode; volume serial and file index), else by
// the full names compared as the file system compares them.

#include <string>

namespace vtq {

// False when either file does not exist.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace vtq
