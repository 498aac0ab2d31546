#include "app/operations/temp_folder.h"

namespace vtq {

std::string TempFolderFrom(std::string_view buffer, uint32_t reported) {
  if (reported == 0 || reported > buffer.size())
    return {};
  std::string folder(buffer.substr(0, reported));
  if (folder.back() == '\\')
    folder.pop_back();
  return folder;
}

}  // namespace vtq
