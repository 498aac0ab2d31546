#pragma once
// The file system as the model's tests describe it.

#include <set>
#include <string>
#include <string_view>

#include "app/model/main_window_model.h"

namespace vtq::model::test {

class FakePaths final : public PathQueries {
 public:
  std::set<std::wstring, std::less<>> files;
  std::set<std::wstring, std::less<>> folders;
  std::set<std::wstring, std::less<>> removable;  // drives such as "A:"
  std::set<std::wstring, std::less<>> asked;      // what DiskRemovable was given

  bool Exists(std::wstring_view path) override {
    return files.contains(path) || folders.contains(path);
  }
  bool IsFolder(std::wstring_view path) override { return folders.contains(path); }
  bool DiskRemovable(std::wstring_view folder) override {
    asked.emplace(folder);
    return removable.contains(folder.substr(0, 2));
  }
};

}  // namespace vtq::model::test
