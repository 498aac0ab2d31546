#include "engine/tests/support/splitter_events.h"

namespace vtq::test {

void RecordingSplitterEvents::MultisizeFlagChange(bool multisize) {
  log.push_back(std::string("MultisizeFlagChange(") + (multisize ? "true" : "false") + ")");
}

void RecordingSplitterEvents::SplitStart(int32_t pbMax) {
  log.push_back("SplitStart(" + std::to_string(pbMax) + ")");
}

void RecordingSplitterEvents::SplitInterval(int32_t pbCurrent) {
  log.push_back("SplitInterval(" + std::to_string(pbCurrent) + ")");
  if (onInterval)
    onInterval(pbCurrent);
}

void RecordingSplitterEvents::RequireNextDisk(int16_t diskNumber, bool& cancel) {
  log.push_back("RequireNextDisk(" + std::to_string(diskNumber) + ")");
  if (!diskCancels.empty()) {
    cancel = diskCancels.front();
    diskCancels.pop_front();
  }
}

void RecordingSplitterEvents::NotEnoughDiskSpace(bool& cancel) {
  log.push_back("NotEnoughDiskSpace");
  if (onDiskFull)
    cancel = onDiskFull();
}

void RecordingSplitterEvents::FragmentWritten(int16_t, const std::string& name, uint64_t) {
  written.push_back(name);
}

}  // namespace vtq::test
