#include "base/path_parts.h"

#include <gtest/gtest.h>

#include <string>

#include "base/utf8_text.h"

namespace vtq::base {
namespace {

struct Case {
  const char* path;
  const char* windowsFolder;
  const char* posixFolder;
};

// Each path cut both ways; the name part is what follows the folder part.
const Case kCases[] = {
    {"C:\\a\\b.txt", "C:\\a\\", ""},
    {"C:/a/b.txt", "C:/a/", "C:/a/"},
    {"C:\\a/b.txt", "C:\\a/", "C:\\a/"},
    {"C:b.txt", "C:", ""},  // drive-relative: the drive's current folder
    {"z:b", "z:", ""},
    {"C:", "C:", ""},
    {"1:b.txt", "", ""},  // no drive letter, a name with a colon
    {"a:b:c", "a:", ""},  // a stream name after the drive's file
    {"\\\\server\\share\\f.bin", "\\\\server\\share\\", ""},
    {"\\\\server\\share", "\\\\server\\", ""},
    {"\\\\?\\C:\\long\\f.bin", "\\\\?\\C:\\long\\", ""},
    {"\\\\?\\UNC\\server\\share\\f", "\\\\?\\UNC\\server\\share\\", ""},
    {"C:\\a\\", "C:\\a\\", ""},  // trailing separator: no name
    {"/srv/a/", "/srv/a/", "/srv/a/"},
    {"/f", "/", "/"},
    {"b.txt", "", ""},
    {"", "", ""},
    {"dir\\f.bin", "dir\\", ""},
    {"dir/f.bin", "dir/", "dir/"},
};

TEST(PathParts, FolderAndNameOfEveryKindOfPath) {
  for (const Case& c : kCases) {
    const std::string path = c.path;
    const std::string windowsName = path.substr(std::string(c.windowsFolder).size());
    const std::string posixName = path.substr(std::string(c.posixFolder).size());
    EXPECT_EQ(FolderPart(path), c.windowsFolder) << path;
    EXPECT_EQ(NamePart(path), windowsName) << path;
    EXPECT_EQ(FolderPart(path, PathStyle::kPosix), c.posixFolder) << path;
    EXPECT_EQ(NamePart(path, PathStyle::kPosix), posixName) << path;
    // Wide names are Windows names, cut in the same places.
    EXPECT_EQ(FolderPart(FromUtf8(path)), FromUtf8(c.windowsFolder)) << path;
    EXPECT_EQ(NamePart(FromUtf8(path)), FromUtf8(windowsName)) << path;
  }
}

}  // namespace
}  // namespace vtq::base
