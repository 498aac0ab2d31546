// Events from a split and an assemble reach a C++ sink through the
// classes' connection points, as a container's sink receives them: the
// engine's own figures, Cancel answered by the sink reaching the run, and
// the control raising its two objects' events as its own.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "control/tests/control_test_support.h"
#include "engine/globals.h"
#include "engine/platform/file_io.h"
#include "engine/splitter.h"
#include "engine/tests/support/hand_series.h"
#include "engine/tests/support/scratch.h"

namespace vtq::control::test {
namespace {

using vtq::test::Bytes;
using vtq::test::PatternBytes;
using vtq::test::ReadBytes;
using vtq::test::ScratchDir;
using vtq::test::WriteBytes;

enum : DISPID { kStart = 1, kInterval = 2, kRequireNextDisk = 3, kNotEnoughDiskSpace = 4 };

// The engine's splitter on its own, its events written down as a sink
// would receive them.
class EngineSplitEvents : public SplitterEvents {
 public:
  void SplitStart(int32_t pbMax) override { received.push_back({kStart, {VT_I4}, {pbMax}}); }
  void SplitInterval(int32_t pbCurrent) override {
    received.push_back({kInterval, {VT_I4}, {pbCurrent}});
  }
  std::vector<Received> received;
};

void ExpectSame(const std::vector<Received>& actual, const std::vector<Received>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) {
    EXPECT_EQ(actual[i].event, expected[i].event) << "event " << i;
    EXPECT_EQ(actual[i].types, expected[i].types) << "event " << i;
    EXPECT_EQ(actual[i].values, expected[i].values) << "event " << i;
  }
}

class MarrowgateEvents : public ComTest {
 protected:
  ScratchDir in;
  ScratchDir out;

  ComPtr<_ActiveSplitter> SplitterOver(const std::shared_ptr<EngineHost>& host,
                                       const std::string& source) {
    auto splitter = Make<_ActiveSplitter>(MakeActiveSplitter, host);
    Fill(splitter.Get(), source);
    return splitter;
  }
  // The source in the list, the destination `out`, 10,240-byte fragments.
  void Fill(_ActiveSplitter* splitter, const std::string& source) {
    ComPtr<::FileList> files;
    short added = -1;
    EXPECT_HRESULT_SUCCEEDED(splitter->get_FilesToSplit(&files));
    EXPECT_HRESULT_SUCCEEDED(files->Add(Bstr(source), &added));
    EXPECT_EQ(added, 0);
    EXPECT_HRESULT_SUCCEEDED(splitter->put_DestinationFolder(Bstr(out.Path())));
    ::AftFileSize size = static_cast<::AftFileSize>(10240);
    EXPECT_HRESULT_SUCCEEDED(splitter->put_FragmentSize(&size));
  }
  ComPtr<_ActiveAssembler> AssemblerOf(IUnknown* control) {
    ComPtr<_Marrowgate> marrowgate;
    ComPtr<_ActiveAssembler> assembler;
    EXPECT_HRESULT_SUCCEEDED(control->QueryInterface(IID_PPV_ARGS(&marrowgate)));
    EXPECT_HRESULT_SUCCEEDED(marrowgate->get_ActiveAssembler(&assembler));
    return assembler;
  }
  void AddFragment(_ActiveAssembler* assembler, const std::string& first) {
    ComPtr<::FileList> files;
    short added = -1;
    ASSERT_HRESULT_SUCCEEDED(assembler->get_FilesToAssemble(&files));
    ASSERT_HRESULT_SUCCEEDED(files->Add(Bstr(first), &added));
    ASSERT_EQ(added, 0);
    ASSERT_HRESULT_SUCCEEDED(assembler->put_DestinationFolder(Bstr(out.Path())));
  }
};

TEST_F(MarrowgateEvents, ASplitRaisesTheEngineRunsProgressFiguresThroughTheConnectionPoint) {
  WriteBytes(in / "data.bin", PatternBytes(25000));
  DoublesHost host;
  auto splitter = SplitterOver(host.host, in / "data.bin");
  auto sink = RecordingSink::AdvisedOn(splitter.Get(), DIID___ActiveSplitter);
  ASSERT_HRESULT_SUCCEEDED(splitter->Split());

  ScratchDir engineOut;
  Globals globals(host.platform);
  EngineSplitEvents engineEvents;
  ActiveSplitter engine(globals, engineEvents);
  engine.FilesToSplit().Add(in / "data.bin");
  engine.SetDestinationFolder(engineOut.Path());
  int32_t size = 10240;
  engine.SetFragmentSize(size);
  engine.Split();

  ASSERT_FALSE(sink->received.empty());
  EXPECT_EQ(sink->received.front().event, kStart);
  ExpectSame(sink->received, engineEvents.received);
  EXPECT_EQ(ReadBytes(out / "data.003"), ReadBytes(engineOut / "data.003"));
}

TEST_F(MarrowgateEvents, CancelSetBySinksOnTheNextDiskRequestEndsTheSplit) {
  WriteBytes(in / "data.bin", PatternBytes(25000));
  DoublesHost host(Drives::kScripted);
  auto& destination = host.DriveOf(out.Path());
  destination.type = DriveType::kRemovable;
  destination.freeBytes = 1 << 20;
  destination.clusters = ClusterFigures{1, 512, 2048, 2048};
  auto splitter = SplitterOver(host.host, in / "data.bin");
  auto sink = RecordingSink::AdvisedOn(splitter.Get(), DIID___ActiveSplitter);
  sink->answer = [](DISPID event, VARIANT_BOOL& cancel) {
    if (event == kRequireNextDisk)
      cancel = VARIANT_TRUE;
  };
  ASSERT_HRESULT_SUCCEEDED(splitter->Split());
  EXPECT_TRUE(FileExists(out / "data.001"));
  EXPECT_FALSE(FileExists(out / "data.002"));
  std::vector<Received> disks;
  for (const Received& event : sink->received) {
    if (event.event == kRequireNextDisk)
      disks.push_back(event);
  }
  ASSERT_EQ(disks.size(), 1u);
  EXPECT_EQ(disks[0].types, (std::vector<VARTYPE>{VT_I2, VT_BOOL | VT_BYREF}));
  EXPECT_EQ(disks[0].values, (std::vector<long>{2, VARIANT_FALSE}));
}

TEST_F(MarrowgateEvents, ASinkThatClearsCancelOnAFullDiskHasTheSpaceMeasuredAgain) {
  WriteBytes(in / "data.bin", PatternBytes(25000));
  DoublesHost host(Drives::kScripted);
  auto& destination = host.DriveOf(out.Path());
  destination.type = DriveType::kRemovable;
  destination.freeBytes = 0;
  destination.clusters = ClusterFigures{1, 512, 0, 2048};
  auto splitter = SplitterOver(host.host, in / "data.bin");
  auto sink = RecordingSink::AdvisedOn(splitter.Get(), DIID___ActiveSplitter);
  sink->answer = [&destination](DISPID event, VARIANT_BOOL& cancel) {
    if (event == kNotEnoughDiskSpace) {
      destination.freeBytes = 1 << 20;
      destination.clusters = ClusterFigures{1, 512, 2048, 2048};
      cancel = VARIANT_FALSE;
    }
  };
  ASSERT_HRESULT_SUCCEEDED(splitter->Split());
  EXPECT_TRUE(FileExists(out / "data.003"));
  const auto events = sink->Events();
  ASSERT_EQ(std::count(events.begin(), events.end(), kNotEnoughDiskSpace), 1);
  for (const Received& event : sink->received) {
    if (event.event == kNotEnoughDiskSpace) {
      // Preset TRUE: a container that does nothing gives up.
      EXPECT_EQ(event.values, (std::vector<long>{VARIANT_TRUE}));
    }
  }
}

TEST_F(MarrowgateEvents, TheControlRaisesItsAssemblersEventsWithTheProgressFiguresWidened) {
  const Bytes data = PatternBytes(30000);
  const std::string first =
      vtq::test::WriteFragments(in / "notes.", vtq::test::OwnSeries(data, 10240));
  DoublesHost host;
  ComPtr<IUnknown> control;
  ASSERT_HRESULT_SUCCEEDED(MakeMarrowgate(host.host, IID_IUnknown, &control));
  auto assembler = AssemblerOf(control.Get());
  AddFragment(assembler.Get(), first);
  auto inner = RecordingSink::AdvisedOn(assembler.Get(), DIID___ActiveAssembler);
  auto outer = RecordingSink::AdvisedOn(control.Get(), DIID___Marrowgate);
  ASSERT_HRESULT_SUCCEEDED(assembler->Assemble());
  EXPECT_EQ(ReadBytes(out / "notes.txt"), data);

  ASSERT_FALSE(inner->received.empty());
  ASSERT_EQ(outer->received.size(), inner->received.size());
  EXPECT_EQ(inner->received.front().event, kStart);
  EXPECT_EQ(inner->received.front().types, std::vector<VARTYPE>{VT_I2});
  EXPECT_EQ(inner->received.front().values, std::vector<long>{3});
  for (size_t i = 0; i < inner->received.size(); ++i) {
    EXPECT_EQ(outer->received[i].event, inner->received[i].event);
    EXPECT_EQ(outer->received[i].types, std::vector<VARTYPE>{VT_I4}) << "event " << i;
    EXPECT_EQ(outer->received[i].values, inner->received[i].values) << "event " << i;
  }
}

TEST_F(MarrowgateEvents, CancelSetOnTheControlsDiskRequestReachesItsAssembler) {
  const Bytes data = PatternBytes(30000);
  const std::string first =
      vtq::test::WriteFragments(in / "notes.", vtq::test::OwnSeries(data, 10240));
  DoublesHost host(Drives::kScripted);
  host.DriveOf(DriveOfName(first)).type = DriveType::kRemovable;
  ComPtr<IUnknown> control;
  ASSERT_HRESULT_SUCCEEDED(MakeMarrowgate(host.host, IID_IUnknown, &control));
  auto assembler = AssemblerOf(control.Get());
  AddFragment(assembler.Get(), first);
  auto outer = RecordingSink::AdvisedOn(control.Get(), DIID___Marrowgate);
  outer->answer = [](DISPID event, VARIANT_BOOL& cancel) {
    if (event == kRequireNextDisk)
      cancel = VARIANT_TRUE;
  };
  ASSERT_HRESULT_SUCCEEDED(assembler->Assemble());
  EXPECT_FALSE(FileExists(out / "notes.txt"));
  EXPECT_TRUE(vtq::test::NamesIn(out.Path()).empty());
  const auto events = outer->Events();
  EXPECT_EQ(std::count(events.begin(), events.end(), kRequireNextDisk), 1);
}

TEST_F(MarrowgateEvents, TheControlRaisesItsSplittersEventsUnchanged) {
  WriteBytes(in / "data.bin", PatternBytes(25000));
  DoublesHost host;
  ComPtr<IUnknown> control;
  ASSERT_HRESULT_SUCCEEDED(MakeMarrowgate(host.host, IID_IUnknown, &control));
  ComPtr<_Marrowgate> marrowgate;
  ComPtr<_ActiveSplitter> splitter;
  ASSERT_HRESULT_SUCCEEDED(control.As(&marrowgate));
  ASSERT_HRESULT_SUCCEEDED(marrowgate->get_ActiveSplitter(&splitter));
  Fill(splitter.Get(), in / "data.bin");
  auto inner = RecordingSink::AdvisedOn(splitter.Get(), DIID___ActiveSplitter);
  auto outer = RecordingSink::AdvisedOn(control.Get(), DIID___Marrowgate);
  ASSERT_HRESULT_SUCCEEDED(splitter->Split());
  ASSERT_FALSE(inner->received.empty());
  ExpectSame(outer->received, inner->received);
}

TEST_F(MarrowgateEvents, ASplitterTheControlGaveOutOutlivesTheControlAndStopsRelaying) {
  WriteBytes(in / "data.bin", PatternBytes(12000));
  DoublesHost host;
  ComPtr<IUnknown> control;
  ASSERT_HRESULT_SUCCEEDED(MakeMarrowgate(host.host, IID_IUnknown, &control));
  ComPtr<_Marrowgate> marrowgate;
  ComPtr<_ActiveSplitter> splitter;
  ASSERT_HRESULT_SUCCEEDED(control.As(&marrowgate));
  ASSERT_HRESULT_SUCCEEDED(marrowgate->get_ActiveSplitter(&splitter));
  auto outer = RecordingSink::AdvisedOn(control.Get(), DIID___Marrowgate);
  marrowgate.Reset();
  control.Reset();
  Fill(splitter.Get(), in / "data.bin");
  ASSERT_HRESULT_SUCCEEDED(splitter->Split());
  EXPECT_TRUE(FileExists(out / "data.001"));
  EXPECT_TRUE(outer->received.empty());
}

}  // namespace
}  // namespace vtq::control::test
