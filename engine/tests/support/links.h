#pragma once
// Symbolic links planted where the engine will write, as a hostile user of
// a shared folder would: natively with symlink(), under Wine on the Unix
// side of the machine (Wine shows such a link as the file it leads to, and
// follows it when a program opens the name).

#include <string>

namespace vtq::test {

// Makes `link` a symbolic link to `target`, which need not exist. Throws
// std::runtime_error when it cannot.
void PlantLink(const std::string& link, const std::string& target);

// Whether `name` is a symbolic link, whether or not it leads anywhere.
bool IsLink(const std::string& name);

}  // namespace vtq::test
