#pragma once
// The controls of the main window that carry state, by their designed names,
// and the two colours of its indicator lamps.

#include <cstdint>

namespace vtq::model {

enum class Control {
  kFrame1,
  kCommand4,
  kCmdSelFolderToSplit,
  kCommand3,
  kUseCompression,
  kSaveBAT,
  kCmdCabOnly,
  kCommand7,
  kFrame2,
  kCommand5,
  kCommand6,
  kCommand8,
  kFrame3,
  kOptPreset,
  kCmbPreset,
  kOptAutofill,
  kCustomEnabled,
  kCustomSize,
  kCustSizeUnits,
  kFirstOverride,
  kFirstOverrideValue,
  kFOverrideUnits,
  kFrameEnc,
  kUseEnc,
  kPassphrase,
  kFrmRegen,
  kRegenFragBool,
  kRegenFragVal,
  kLight1,
  kLight2,
  kFileIndicator,
  kFolderIndicator,
  kLight3,
  kLight4,
  kProgressBar1,
  kProgressBar2,
  kCmdHelp,
  kCmdUserOptions,
  kCommand2,
  // Recovery files with a split, and the check of a series.
  kUseRecovery,
  kRecoveryPercent,
  kCmdVerify,
};

// Lamp fill colours (red in the lowest byte). The operations compare them
// exactly, so a lamp is only ever one of the two.
inline constexpr int32_t kLampGreen = 65280;
inline constexpr int32_t kLampDarkRed = 192;

}  // namespace vtq::model
