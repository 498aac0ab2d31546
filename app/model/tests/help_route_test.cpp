// Which help opens: the WinHelp file only where a viewer can show it, else
// the user guide, else nothing (and a message).
#include "app/model/help_route.h"

#include <gtest/gtest.h>

namespace vtq::model {
namespace {

TEST(HelpRoute, HelpFileOnlyWithTheViewerPresent) {
  EXPECT_EQ(ChooseHelpRoute(true, true, true), HelpRoute::kHelpFile);
  EXPECT_EQ(ChooseHelpRoute(true, true, false), HelpRoute::kHelpFile);
  EXPECT_EQ(ChooseHelpRoute(true, false, true), HelpRoute::kUserGuide);
  EXPECT_EQ(ChooseHelpRoute(false, true, true), HelpRoute::kUserGuide);
  EXPECT_EQ(ChooseHelpRoute(true, false, false), HelpRoute::kNone);
  EXPECT_EQ(ChooseHelpRoute(false, true, false), HelpRoute::kNone);
  EXPECT_EQ(ChooseHelpRoute(false, false, false), HelpRoute::kNone);
}

TEST(HelpRoute, PlacesAreInTheProgramAndWindowsFolders) {
  const auto places = HelpPlacesFor(L"C:\\Programs\\Vtq\\", L"C:\\windows");
  EXPECT_EQ(places.helpFile, L"C:\\Programs\\Vtq\\Vantrelloquin.hlp");
  EXPECT_EQ(places.userGuide, L"C:\\Programs\\Vtq\\Vantrelloquin.html");
  EXPECT_EQ(places.viewer, L"C:\\windows\\winhlp32.exe");
  EXPECT_EQ(HelpPlacesFor(L"D:\\x", L"C:\\windows\\").viewer, L"C:\\windows\\winhlp32.exe");
}

}  // namespace
}  // namespace vtq::model
