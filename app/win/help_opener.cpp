#include "app/win/help_opener.h"

#include "base/utf8_text.h"

namespace vtq::app {

model::HelpRoute OpenHelp(HWND owner, wingui::ShellServices& shell, MessageBoxes& boxes,
                          std::wstring_view programFolder) {
  const auto places = model::HelpPlacesFor(programFolder, shell.WindowsFolder());
  auto route =
      model::ChooseHelpRoute(shell.FileExists(places.helpFile), shell.FileExists(places.viewer),
                             shell.FileExists(places.userGuide));
  if (route == model::HelpRoute::kHelpFile && !shell.ShowHelpContents(owner, places.helpFile))
    route =
        shell.FileExists(places.userGuide) ? model::HelpRoute::kUserGuide : model::HelpRoute::kNone;
  if (route == model::HelpRoute::kUserGuide && !shell.OpenDocument(owner, places.userGuide)) {
    boxes.Show(base::ToUtf8(model::GuideNotOpenedText(places.userGuide)),
               model::kGuideNotOpenedTitle, mb::kOk | mb::kIconExclamation);
    return model::HelpRoute::kNone;
  }
  if (route == model::HelpRoute::kNone)
    boxes.Show(model::kNoHelpText, model::kNoHelpTitle, mb::kOk | mb::kIconExclamation);
  return route;
}

}  // namespace vtq::app
