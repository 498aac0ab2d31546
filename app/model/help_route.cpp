#include "app/model/help_route.h"

namespace vtq::model {
namespace {

std::wstring InFolder(std::wstring_view folder, std::wstring_view name) {
  std::wstring path(folder);
  if (!path.empty() && path.back() == L'\\')
    path.pop_back();
  path.append(name);
  return path;
}

}  // namespace

HelpPlaces HelpPlacesFor(std::wstring_view programFolder, std::wstring_view windowsFolder) {
  return {InFolder(programFolder, kHelpFileName), InFolder(programFolder, kUserGuideName),
          InFolder(windowsFolder, kHelpViewerName)};
}

std::wstring GuideNotOpenedText(std::wstring_view userGuide) {
  return L"The user guide is at " + std::wstring(userGuide) +
         L", but no program on this computer opens .html files. Open it with a web browser.";
}

HelpRoute ChooseHelpRoute(bool helpFileExists, bool viewerExists, bool userGuideExists) {
  if (helpFileExists && viewerExists)
    return HelpRoute::kHelpFile;
  if (userGuideExists)
    return HelpRoute::kUserGuide;
  return HelpRoute::kNone;
}

}  // namespace vtq::model
