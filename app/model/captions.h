#pragma once
// The main window's captions that follow the language: 0 (English US) and
// 2 (English UK) show the designed captions, 1 (the joke language) its own;
// any other language number changes nothing.

#include <optional>
#include <string>

namespace vtq::model {

inline constexpr int kLanguageEnglishUs = 0;
inline constexpr int kLanguageVreaky = 1;
inline constexpr int kLanguageEnglishUk = 2;

struct Captions {
  std::wstring frame1 = L"File Splitting / Compression";
  std::wstring frame2 = L"File Assembly / Extraction";
  std::wstring command4 = L"Select file to split";
  std::wstring command3 = L"Select fragment destination";
  std::wstring command5 = L"Select fragments to assemble";
  std::wstring command6 = L"Select destination of file";
  std::wstring frame3 = L"Fragment Sizes";
  std::wstring firstOverride = L"Use different size for the 1st fragment";
  std::wstring useCompression = L"Compress file(s) first";
  std::wstring frmRegen = L"Fragment Regeneration";
  std::wstring regenFragBool = L"Regen fragment";

  bool operator==(const Captions&) const = default;
};

// The captions of a language; nullopt for a number that has none.
std::optional<Captions> CaptionsFor(int language);

}  // namespace vtq::model
