#pragma once
// What the Customize dialog's defaults button stores of the main window:
// the states of its controls, filled by whoever shows the main window, so
// that the dialog does not depend on the window itself.

#include <string>

namespace vtq::model {

enum class SizeModeChoice { kPreset, kAutofill, kCustom };

struct MainWindowDefaults {
  bool useCompression = false;  // "Compress file(s) first"
  bool saveBat = false;         // "Generate BAT AutoAssembler"
  bool useEncryption = false;   // "Use password:"
  std::wstring passphrase;
  std::wstring customSize;     // the field's text, as it stands
  int customSizeUnits = 1;     // position in the custom unit list
  bool firstOverride = false;  // "Use different size for the 1st fragment"
  std::wstring firstOverrideValue;
  int firstOverrideUnits = 5;
  int presetPosition = 1;
  SizeModeChoice sizeMode = SizeModeChoice::kPreset;
  bool useRecovery = false;  // "Recovery files:"
  std::wstring recoveryPercent;
};

}  // namespace vtq::model
