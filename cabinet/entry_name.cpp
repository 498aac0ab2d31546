#include "cabinet/entry_name.h"

#include <algorithm>
#include <vector>

#include "engine/assembled_name.h"

namespace vtq::cabinet {
namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

std::vector<std::string_view> Components(std::string_view name) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i <= name.size(); ++i) {
    if (i == name.size() || IsSeparator(name[i])) {
      parts.push_back(name.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

bool HoldsForbiddenCharacter(std::string_view component) {
  return std::any_of(component.begin(), component.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 32 || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
           c == '|';
  });
}

}  // namespace

uint16_t NameAttributes(std::string_view storedName) {
  const bool ascii = std::all_of(storedName.begin(), storedName.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  return ascii ? 0 : kNameIsUtf8;
}

std::string UnsafeEntryReason(std::string_view name) {
  if (name.empty())
    return "it has no name";
  if (name.size() >= 2 && name[1] == ':')
    return "it names a drive";
  if (IsSeparator(name.front()))
    return "it starts at the root of a drive";
  for (std::string_view part : Components(name)) {
    if (part == "..")
      return "it climbs out of the folder with \"..\"";
    if (part.empty() || part == ".")
      return "it has an empty folder name";
    // Windows opens the device for these in any folder; a cabinet is made
    // for Windows, so they are refused wherever it is unpacked.
    if (IsReservedDeviceName(part))
      return "it names a device";
    if (HoldsForbiddenCharacter(part))
      return "it holds a character no file name may hold";
  }
  return {};
}

}  // namespace vtq::cabinet
