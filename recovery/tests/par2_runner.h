#pragma once
// Debian's par2 (par2cmdline) run from the tests, where the build found it.

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/tests/support/scratch.h"

namespace vtq::recovery {

inline bool HavePar2() {
#ifdef VTQ_PAR2_PROGRAM
  return true;
#else
  return false;
#endif
}

// The exit status of par2 with these arguments, run in `folder` (ending in
// its separator); what it said goes to par2.log there.
inline int Par2In(const std::string& folder, const std::string& arguments) {
#ifdef VTQ_PAR2_PROGRAM
  const std::string command =
      "cd '" + folder + "' && '" VTQ_PAR2_PROGRAM "' " + arguments + " >par2.log 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#else
  (void)folder;
  (void)arguments;
  return -1;
#endif
}

inline std::string Par2LogIn(const std::string& folder) {
  const std::vector<uint8_t> log = test::ReadBytes(folder + "par2.log");
  return std::string(log.begin(), log.end());
}

}  // namespace vtq::recovery
