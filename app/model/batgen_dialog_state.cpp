#include "app/model/batgen_dialog_state.h"

namespace vtq::model {

bool AcceptsTypedKey(std::wstring_view text, size_t caret, unsigned characterCode) {
  if (characterCode <= 31)
    return true;
  if (caret > text.size())
    caret = text.size();
  const size_t lineFeed = caret == 0 ? std::wstring_view::npos : text.rfind(L'\n', caret - 1);
  const size_t start = lineFeed == std::wstring_view::npos ? 0 : lineFeed + 1;
  size_t end = text.find(L'\r', caret);
  if (end == std::wstring_view::npos)
    end = text.size();
  return end - start <= kBatTextLineLimit - 1;
}

BatGenDialogState::BatGenDialogState(settings::SettingsStore& store)
    : store_(store), text_(store.ReadProgram(L"BATGenIText")) {
  // The boxes open as decompression on, deletion off; a stored value runs
  // the rule between them as a click would, and deletion is only taken
  // while decompression stays on.
  SetDecompress(store.ReadProgramNumber(L"BATGenDecomp") == 1);
  if (decompress_)
    deleteCabs_ = store.ReadProgramNumber(L"BATGenDelCabs") == 1;
}

std::wstring BatGenDialogState::DefaultText() {
  return settings::SettingsStore::DefaultOf(L"BATGenIText").value_or(L"");
}

void BatGenDialogState::SetDecompress(bool on) {
  decompress_ = on;
  if (!on)
    deleteCabs_ = false;
}

void BatGenDialogState::RestoreDefaults() {
  text_ = DefaultText();
  decompress_ = true;
  deleteCabs_ = false;
}

void BatGenDialogState::Save() {
  store_.WriteProgram(L"BATGenIText", text_);
  store_.WriteProgramFlag(L"BATGenDecomp", decompress_);
  store_.WriteProgramFlag(L"BATGenDelCabs", deleteCabs_);
}

}  // namespace vtq::model
