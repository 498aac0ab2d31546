// The program's side of the shared disk-services object: the one kavrolib
// that the splitter and the assembler share.

#include "engine/globals.h"
#include "engine/program/protection.h"

namespace vtq {

Kavrolib& Globals::Cipher() {
  if (!cipher_)
    cipher_ = std::make_shared<Kavrolib>();
  return *cipher_;
}

}  // namespace vtq
