#include "base/code_page.h"

#include "base/utf8_text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vtq::base {
namespace {

class Latin1 final : public CodePage {
 public:
  std::optional<std::string> Encode(std::string_view utf8) const override {
    std::string out;
    for (wchar_t c : FromUtf8(utf8)) {
      if (static_cast<unsigned>(c) >= 256)
        return std::nullopt;
      out += static_cast<char>(c);
    }
    return out;
  }
  std::string Decode(std::string_view bytes) const override {
    std::wstring wide;
    for (char c : bytes)
      wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return ToUtf8(wide);
  }
};

#ifdef _WIN32
// One of the system's code pages. WC_NO_BEST_FIT_CHARS keeps WideCharToMultiByte
// from taking "a" for "ä"; a stand-in still shows as the default character,
// and the way back says whether anything was lost.
class SystemCodePage final : public CodePage {
 public:
  explicit SystemCodePage(UINT (*which)()) : which_(which) {}

  std::optional<std::string> Encode(std::string_view utf8) const override {
    if (utf8.empty())
      return std::string();
    const std::wstring wide = FromUtf8(utf8);
    if (ToUtf8(wide) != utf8)
      return std::nullopt;  // not UTF-8, so no text a code page could hold
    const UINT page = which_();
    const int length = static_cast<int>(wide.size());
    BOOL defaulted = FALSE;
    const int size = WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr,
                                         0, nullptr, &defaulted);
    if (size <= 0 || defaulted)
      return std::nullopt;
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide.data(), length, out.data(), size, nullptr,
                        nullptr);
    if (Decode(out) != utf8)
      return std::nullopt;
    return out;
  }

  std::string Decode(std::string_view bytes) const override {
    if (bytes.empty())
      return {};
    const int length = static_cast<int>(bytes.size());
    const UINT page = which_();
    const int size = MultiByteToWideChar(page, 0, bytes.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(page, 0, bytes.data(), length, wide.data(), size);
    return ToUtf8(wide);
  }

 private:
  UINT (*which_)();
};

UINT AnsiPage() {
  return GetACP();
}
UINT ConsolePage() {
  return GetOEMCP();
}
#else
class Bytes final : public CodePage {
 public:
  std::optional<std::string> Encode(std::string_view utf8) const override {
    return std::string(utf8);
  }
  std::string Decode(std::string_view bytes) const override { return std::string(bytes); }
};
#endif

}  // namespace

const CodePage& AnsiCodePage() {
#ifdef _WIN32
  static const SystemCodePage page(AnsiPage);
#else
  static const Bytes page;
#endif
  return page;
}

const CodePage& ConsoleCodePage() {
#ifdef _WIN32
  static const SystemCodePage page(ConsolePage);
  return page;
#else
  return AnsiCodePage();
#endif
}

const CodePage& Latin1CodePage() {
  static const Latin1 page;
  return page;
}

}  // namespace vtq::base
