#include "app/model/captions.h"

namespace vtq::model {

std::optional<Captions> CaptionsFor(int language) {
  if (language == kLanguageEnglishUs || language == kLanguageEnglishUk)
    return Captions{};
  if (language != kLanguageVreaky)
    return std::nullopt;
  Captions vreaky;
  vreaky.frame1 = L"Vyle Splitting / Compression";
  vreaky.frame2 = L"Vyle Assembly / Extraction";
  vreaky.command4 = L"Select vyle to split";
  vreaky.command3 = L"Select vragment destination";
  vreaky.command5 = L"Select vragments to assemble";
  vreaky.command6 = L"Select destination of vyle";
  vreaky.frame3 = L"Vragment Sizes";
  vreaky.firstOverride = L"Different size for 1st vragment";
  vreaky.useCompression = L"Compress vyle(s) first";
  vreaky.frmRegen = L"Vragment Regeneration";
  vreaky.regenFragBool = L"Regen vragment";
  return vreaky;
}

}  // namespace vtq::model
