#include "cabinet/cabinet_error.h"

#include <utility>

namespace vtq::cabinet {

void RaiseCabinetFailure(const char* source, std::string description) {
  Raise(kCabinetFailure, source, std::move(description));
}

std::string Quoted(const std::string& name) {
  return '"' + name + '"';
}

}  // namespace vtq::cabinet
