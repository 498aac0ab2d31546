#pragma once
// The Configure BAT Generator dialog without its window: the text the
// generated batch file shows and its two options, read on opening, the
// rule between the two boxes, Restore Defaults, and Save. Cancel writes
// nothing (the state is simply dropped).

#include <cstddef>
#include <string>
#include <string_view>

#include "app/settings/settings_store.h"

namespace vtq::model {

// The longest line typing can make in the batch text (a DOS screen line).
inline constexpr size_t kBatTextLineLimit = 79;

// Whether a typed character may go into `text` with the caret at `caret`.
// Control keys (codes up to 31: Enter, Backspace) always may; a printable
// one is refused when the caret's line (from after the last line feed
// before the caret to the next carriage return after it, or the end) has
// already more than 78 characters.
bool AcceptsTypedKey(std::wstring_view text, size_t caret, unsigned characterCode);

class BatGenDialogState {
 public:
  explicit BatGenDialogState(settings::SettingsStore& store);

  static std::wstring DefaultText();

  const std::wstring& Text() const { return text_; }
  bool Decompress() const { return decompress_; }
  bool DeleteCabs() const { return deleteCabs_; }
  // "Delete any leftover CABs" is offered only while decompression is on.
  bool DeleteCabsEnabled() const { return decompress_; }

  void SetText(std::wstring_view text) { text_ = text; }
  // Clearing decompression clears the deletion too.
  void SetDecompress(bool on);
  void SetDeleteCabs(bool on) { deleteCabs_ = on; }

  // The default text, decompression on, deletion off; nothing is written.
  void RestoreDefaults();
  // Writes "BATGenIText", "BATGenDecomp" and "BATGenDelCabs".
  void Save();

 private:
  settings::SettingsStore& store_;
  std::wstring text_;
  bool decompress_ = true;
  bool deleteCabs_ = false;
};

}  // namespace vtq::model
