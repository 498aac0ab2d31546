#include "engine/assembled_name.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "engine/path.h"

namespace vtq {

std::string SeriesStem(std::string_view firstFragment) {
  const size_t baseStart = base::NameStart(firstFragment, kPathStyle);
  return std::string(firstFragment.substr(0, baseStart)) + StemOf(firstFragment.substr(baseStart));
}

std::string SeriesFragmentName(std::string_view stem, int i) {
  return std::string(stem) + FragmentNumber(i);
}

namespace {

std::string Upper(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return result;
}

bool ForbiddenInFileName(unsigned char c) {
  return c < 32 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*';
}

}  // namespace

bool IsReservedDeviceName(std::string_view name) {
  // Windows ignores the extension and trailing blanks when it looks for a device.
  std::string_view device = name.substr(0, name.find('.'));
  while (!device.empty() && device.back() == ' ')
    device.remove_suffix(1);
  const std::string upper = Upper(device);
  static constexpr std::array<std::string_view, 7> kPlain = {"CON",    "PRN",     "AUX",   "NUL",
                                                             "CONIN$", "CONOUT$", "CLOCK$"};
  if (std::find(kPlain.begin(), kPlain.end(), upper) != kPlain.end())
    return true;
  if (!upper.starts_with("COM") && !upper.starts_with("LPT"))
    return false;
  const std::string_view number = std::string_view(upper).substr(3);
  if (number.size() == 1 && number[0] >= '0' && number[0] <= '9')
    return true;
  // The superscript digits one to three name ports too: one byte in the
  // Western code page, two in UTF-8 (a header written natively may hold that).
  static constexpr std::array<std::string_view, 6> kSuperscripts = {
      "\xB9", "\xB2", "\xB3", "\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};
  return std::find(kSuperscripts.begin(), kSuperscripts.end(), number) != kSuperscripts.end();
}

std::string WindowsFileName(std::string_view name) {
  // Windows drops trailing dots and blanks when it creates a file.
  const auto last = name.find_last_not_of(". ");
  return std::string(last == std::string_view::npos ? std::string_view()
                                                    : name.substr(0, last + 1));
}

std::string SafeBaseName(std::string_view storedName) {
  const auto cut = storedName.find_last_of("\\/:");
  const std::string base =
      WindowsFileName(cut == std::string_view::npos ? storedName : storedName.substr(cut + 1));
  if (base.empty() || IsReservedDeviceName(base))
    return {};
  if (std::any_of(base.begin(), base.end(),
                  [](char c) { return ForbiddenInFileName(static_cast<unsigned char>(c)); })) {
    return {};
  }
  return base;
}

}  // namespace vtq
