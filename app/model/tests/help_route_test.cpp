// Which help opens: the WinHelp file only where a viewer can show it, else
// the user guide, else nothing (and a message).
#include "app/model/help_route.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace vtq::model {
namespace {

namespace fs = std::filesystem;

std::string ReadWhole(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The first group of every match of `pattern` in `text`.
std::vector<std::string> Captured(const std::string& text, const char* pattern) {
  std::vector<std::string> found;
  const std::regex expression(pattern);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), expression);
       it != std::sregex_iterator(); ++it)
    found.push_back((*it)[1]);
  return found;
}

const fs::path kDocs = fs::path(VTQ_SOURCE_DIR) / "docs";
constexpr const char* kImageSource = "<img[^>]* src=\"([^\"]+)\"";

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

TEST(HelpRoute, AGuideNoProgramOpensIsNamedWithItsPath) {
  EXPECT_EQ(GuideNotOpenedText(L"C:\\Programs\\Vtq\\Vantrelloquin.html"),
            L"The user guide is at C:\\Programs\\Vtq\\Vantrelloquin.html, but no program on "
            L"this computer opens .html files. Open it with a web browser.");
}

// The pictures are those scripts/screenshots draws of the windows as a first
// start shows them (theme 1, English US: the names without a suffix).
TEST(UserGuide, EveryPictureIsAScreenshotOfTheWindowsAsTheyFirstShow) {
  const std::vector<std::string> images =
      Captured(ReadWhole(kDocs / "Vantrelloquin.html"), kImageSource);
  ASSERT_FALSE(images.empty());
  for (const std::string& image : images) {
    EXPECT_EQ(image.rfind("screenshots/", 0), 0u) << image;
    EXPECT_EQ(image.find("-theme"), std::string::npos) << image;
    EXPECT_TRUE(fs::is_regular_file(kDocs / image)) << image << " is not in docs/screenshots";
  }
}

TEST(UserGuide, EveryLinkWithinTheGuideHasItsTarget) {
  const std::string guide = ReadWhole(kDocs / "Vantrelloquin.html");
  const std::vector<std::string> ids = Captured(guide, " id=\"([^\"]+)\"");
  for (const std::string& target : Captured(guide, " href=\"#([^\"]+)\""))
    EXPECT_NE(std::find(ids.begin(), ids.end(), target), ids.end()) << "#" << target;
}

// The help button opens the guide beside the program: the build puts it
// there with the pictures it shows, as the installer does.
#ifdef _WIN32  // only the Windows build has the program the guide lies beside
TEST(UserGuide, LiesBesideTheProgramWithItsPictures) {
  const fs::path bin = fs::path(VTQ_BINARY_DIR) / "bin";
  ASSERT_TRUE(fs::exists(bin / "Harrowdel.exe"));
  EXPECT_EQ(ReadWhole(bin / "Vantrelloquin.html"), ReadWhole(kDocs / "Vantrelloquin.html"));
  for (const std::string& image : Captured(ReadWhole(bin / "Vantrelloquin.html"), kImageSource))
    EXPECT_EQ(ReadWhole(bin / image), ReadWhole(kDocs / image)) << image;
}
#endif

}  // namespace
}  // namespace vtq::model
