#include "engine/tests/support/platform_doubles.h"

#include <cstring>

namespace vtq::test {

int RecordingBoxes::Show(std::string_view text, std::string_view title, unsigned style) {
  shown.push_back(ShownBox{std::string(text), std::string(title), style});
  if (!answers_.empty()) {
    const int id = answers_.front();
    answers_.pop_front();
    return id;
  }
  switch (style & mb::kButtonsMask) {
    case mb::kYesNo:
    case mb::kYesNoCancel:
      return mb::kIdYes;
    case mb::kRetryCancel:
      return mb::kIdRetry;
    case mb::kAbortRetryIgnore:
      return mb::kIdAbort;
    default:
      return mb::kIdOk;
  }
}

DriveType FakeDrives::TypeOf(const std::string& root) {
  typeQueries.push_back(root);
  const auto it = drives.find(root);
  return it == drives.end() ? DriveType::kNoRootDir : it->second.type;
}

std::optional<uint64_t> FakeDrives::FreeBytesAvailable(const std::string& root) {
  const auto it = drives.find(root);
  return it == drives.end() ? std::nullopt : it->second.freeBytes;
}

std::optional<ClusterFigures> FakeDrives::Clusters(const std::string& root) {
  const auto it = drives.find(root);
  return it == drives.end() ? std::nullopt : it->second.clusters;
}

static FindEntry MakeEntry(const std::string& name, uint32_t attributes) {
  FindEntry e;
  std::memcpy(e.name.data(), name.data(), std::min(name.size(), e.name.size() - 1));
  e.attributes = attributes;
  return e;
}

void FakeFolders::AddFile(const std::string& folderPattern, const std::string& name) {
  folders[folderPattern].push_back(MakeEntry(name, 0x20));
}

void FakeFolders::AddFolder(const std::string& folderPattern, const std::string& name) {
  folders[folderPattern].push_back(MakeEntry(name, FindEntry::kDirectory));
}

void FakeFolders::AddRaw(const std::string& folderPattern, const FindEntry& entry) {
  folders[folderPattern].push_back(entry);
}

bool FakeFolders::Enumerate(const std::string& pattern,
                            const std::function<void(const FindEntry&)>& visit) {
  const auto it = folders.find(pattern);
  if (it == folders.end())
    return false;
  for (const auto& entry : it->second)
    visit(entry);
  return true;
}

TrapAction ScriptedAdvisor::Advise(const VbError& error) {
  asked.push_back(error.Number());
  if (actions_.empty())
    return TrapAction::kEndRoutine;
  const TrapAction a = actions_.front();
  actions_.pop_front();
  return a;
}

}  // namespace vtq::test
