#pragma once
// A splitter observer that records every event as text ("SplitStart(42)")
// and answers the disk questions from scripts.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "engine/splitter.h"

namespace vtq::test {

class RecordingSplitterEvents : public SplitterEvents {
 public:
  std::vector<std::string> log;
  std::vector<std::string> written;  // fragment names in the order completed
  // Answers of RequireNextDisk (cancel); none left: false.
  std::deque<bool> diskCancels;
  // Runs at every NotEnoughDiskSpace; returns the cancel answer. Unset:
  // cancel stays true.
  std::function<bool()> onDiskFull;
  // Runs at every SplitInterval with its value.
  std::function<void(int32_t)> onInterval;

  void MultisizeFlagChange(bool multisize) override;
  void SplitStart(int32_t pbMax) override;
  void SplitInterval(int32_t pbCurrent) override;
  void RequireNextDisk(int16_t diskNumber, bool& cancel) override;
  void NotEnoughDiskSpace(bool& cancel) override;
  void FragmentWritten(int16_t number, const std::string& name, uint64_t bytes) override;
};

}  // namespace vtq::test
