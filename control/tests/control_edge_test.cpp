// The control's build of the engine as containers meet it through the
// library's classes, against series the program makes: the program's
// console front end (vtq.exe, with the real kavrolib) writes encrypted and
// checkable series, which the control refuses or joins unchecked.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "control/tests/control_test_support.h"
#include "engine/platform/file_io.h"
#include "engine/tests/support/hand_series.h"
#include "engine/tests/support/scratch.h"

namespace vtq::control::test {
namespace {

using vtq::test::Bytes;
using vtq::test::PatternBytes;
using vtq::test::ReadBytes;
using vtq::test::ScratchDir;
using vtq::test::WriteBytes;

// A folder as a command-line argument: quoted, without the closing
// separator, which would escape the closing quote.
std::string FolderArgument(const std::string& folder) {
  std::string trimmed = folder;
  if (!trimmed.empty())
    trimmed.pop_back();
  return "\"" + trimmed + "\"";
}

// Runs the program's console front end from the programs' folder; its exit code.
DWORD RunProgram(const std::string& arguments) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder(self);
  folder.erase(folder.find_last_of(L"\\/") + 1);
  std::wstring command = L"\"" + folder + L"vtq.exe\" " + Bstr::Wide(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    return static_cast<DWORD>(-1);
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = static_cast<DWORD>(-1);
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

class MarrowgateEdges : public ComTest {
 protected:
  ScratchDir in;
  ScratchDir series;
  ScratchDir out;
  DoublesHost host;
  ComPtr<_ActiveAssembler> assembler = Make<_ActiveAssembler>(MakeActiveAssembler, host.host);

  // The program splits 25,000 bytes into 10,240-byte fragments with `options`.
  Bytes SplitByProgram(const std::string& options) {
    const Bytes data = PatternBytes(25000, 7);
    WriteBytes(in / "data.bin", data);
    EXPECT_EQ(RunProgram("split \"" + in / "data.bin" + "\" -d " + FolderArgument(series.Path()) +
                         " -s 10240 " + options + " --yes"),
              0u);
    EXPECT_TRUE(FileExists(series / "data.001"));
    return data;
  }
  void Add(const std::string& first) {
    ComPtr<::FileList> files;
    short added = -1;
    ASSERT_HRESULT_SUCCEEDED(assembler->get_FilesToAssemble(&files));
    ASSERT_HRESULT_SUCCEEDED(files->Add(Bstr(first), &added));
    ASSERT_EQ(added, 0);
    ASSERT_HRESULT_SUCCEEDED(assembler->put_DestinationFolder(Bstr(out.Path())));
  }
  void ExpectHeaderWarning(size_t box) {
    ASSERT_LT(box, host.Boxes().size());
    EXPECT_EQ(host.Boxes()[box].title, "Feature unsupported");
    EXPECT_EQ(host.Boxes()[box].text,
              "Encryption / decryption unsupported in this version of ActiveVantrelloquin");
    EXPECT_EQ(host.Boxes()[box].Icon(), mb::kIconCritical);
    EXPECT_EQ(host.Boxes()[box].Buttons(), mb::kOk);
  }
};

TEST_F(MarrowgateEdges, AnEncryptedSeriesOfTheProgramIsRefusedWithBothMessagesAndNoOutput) {
  SplitByProgram("-p \"Some secret\"");
  Add(series / "data.001");

  short count = 0;
  ASSERT_HRESULT_SUCCEEDED(assembler->get_FragmentCount(Position(1), &count));
  EXPECT_EQ(count, 3);
  ASSERT_EQ(host.Boxes().size(), 1u);
  ExpectHeaderWarning(0);
  VARIANT name;
  ASSERT_HRESULT_SUCCEEDED(assembler->get_AssembledFilename(Position(1), &name));
  EXPECT_EQ(V_VT(&name), VT_BSTR);
  VariantClear(&name);
  ASSERT_EQ(host.Boxes().size(), 2u);
  ExpectHeaderWarning(1);

  host.Boxes().clear();
  ASSERT_HRESULT_SUCCEEDED(assembler->Assemble());
  ASSERT_GE(host.Boxes().size(), 2u);
  for (size_t i = 0; i + 1 < host.Boxes().size(); ++i)
    ExpectHeaderWarning(i);
  const auto& last = host.Boxes().back();
  EXPECT_EQ(last.title, "Decryption failed");
  EXPECT_EQ(last.text, "Feature unsupported in ActiveVantrelloquin");
  EXPECT_EQ(last.Icon(), mb::kIconCritical);
  EXPECT_TRUE(vtq::test::NamesIn(out.Path()).empty());
}

TEST_F(MarrowgateEdges, ADamagedCheckableSeriesIsJoinedWithoutItsCheckDigitsAndWithoutWarning) {
  const Bytes data = SplitByProgram("-c");
  Bytes second = ReadBytes(series / "data.002");
  ASSERT_EQ(second.size(), 10240u);  // data and four check digits
  second[100] ^= 0xFF;
  WriteBytes(series / "data.002", second);
  Add(series / "data.001");
  ASSERT_HRESULT_SUCCEEDED(assembler->Assemble());
  EXPECT_TRUE(host.Boxes().empty());
  const Bytes joined = ReadBytes(out / "data.bin");
  ASSERT_EQ(joined.size(), data.size());
  size_t differing = 0;
  for (size_t i = 0; i < data.size(); ++i)
    differing += joined[i] != data[i];
  EXPECT_EQ(differing, 1u);
}

// Without check digits and passphrases the recovery class can give no
// verdict on such a series, nor repair it: it says so, and touches nothing.
TEST_F(MarrowgateEdges, TheRecoveryClassRefusesACheckableOrEncryptedSeriesOfTheProgram) {
  for (const std::string options : {"-c --recovery 50", "-p \"Some secret\" --recovery 50"}) {
    SCOPED_TRACE(options);
    for (const std::string& name : vtq::test::NamesIn(series.Path()))
      std::remove((series / name).c_str());
    SplitByProgram(options);
    const Bytes second = ReadBytes(series / "data.002");
    std::remove((series / "data.003").c_str());
    const auto before = vtq::test::NamesIn(series.Path());
    auto recovery = Make<_ActiveRecovery>(MakeActiveRecovery, host.host);
    ASSERT_HRESULT_SUCCEEDED(recovery->put_FirstFragment(Bstr(series / "data.001")));
    VARIANT_BOOL sound = VARIANT_TRUE;
    for (const bool repair : {false, true}) {
      const HRESULT hr = repair ? recovery->Repair(&sound) : recovery->Verify(&sound);
      EXPECT_EQ(hr, static_cast<HRESULT>(0x80040BBA)) << repair;  // vbObjectError + 3002
      EXPECT_EQ(sound, VARIANT_FALSE);
      ComPtr<IErrorInfo> info;
      ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
      Bstr description;
      info->GetDescription(description.Out());
      EXPECT_EQ(description.Text(),
                "Check digits and encryption unsupported in this version of "
                "ActiveVantrelloquin: the series cannot be verified or repaired here.");
    }
    EXPECT_EQ(vtq::test::NamesIn(series.Path()), before);
    EXPECT_EQ(ReadBytes(series / "data.002"), second);
    // A script has no one to answer a box: the refusal is the error alone.
    EXPECT_TRUE(host.Boxes().empty());
  }
}

TEST_F(MarrowgateEdges, FragmentsTheControlMakesArePlainAndTheProgramJoinsThem) {
  const Bytes data = PatternBytes(25000, 3);
  WriteBytes(in / "data.bin", data);
  auto splitter = Make<_ActiveSplitter>(MakeActiveSplitter, host.host);
  ComPtr<::FileList> files;
  short added = -1;
  ASSERT_HRESULT_SUCCEEDED(splitter->get_FilesToSplit(&files));
  ASSERT_HRESULT_SUCCEEDED(files->Add(Bstr(in / "data.bin"), &added));
  ASSERT_HRESULT_SUCCEEDED(splitter->put_DestinationFolder(Bstr(series.Path())));
  ::AftFileSize size = static_cast<::AftFileSize>(10240);
  ASSERT_HRESULT_SUCCEEDED(splitter->put_FragmentSize(&size));
  ASSERT_HRESULT_SUCCEEDED(splitter->Split());
  EXPECT_TRUE(vtq::test::WorkingFilesIn(series.Path()).empty());
  // No check digits: every fragment but the last fills its size exactly,
  // and the data after the first fragment's header is the source's.
  EXPECT_EQ(ReadBytes(series / "data.002").size(), 10240u);
  EXPECT_FALSE(FileExists(series / "data.bat"));
  EXPECT_EQ(RunProgram("assemble \"" + series / "data.001" + "\" -d " + FolderArgument(out.Path()) +
                       " --yes"),
            0u);
  EXPECT_EQ(ReadBytes(out / "data.bin"), data);
}

TEST_F(MarrowgateEdges, AFileListOutlivesTheObjectThatOwnsIt) {
  WriteBytes(in / "a.txt", Bytes(10, 1));
  ComPtr<::FileList> files;
  ComPtr<::FileList> again;
  ASSERT_HRESULT_SUCCEEDED(assembler->get_FilesToAssemble(&files));
  ASSERT_HRESULT_SUCCEEDED(assembler->get_FilesToAssemble(&again));
  EXPECT_EQ(files.Get(), again.Get());
  again.Reset();
  assembler.Reset();
  short added = -1;
  ASSERT_HRESULT_SUCCEEDED(files->Add(Bstr(in / "a.txt"), &added));
  Bstr item;
  ASSERT_HRESULT_SUCCEEDED(files->get_Item(Position(1), item.Out()));
  EXPECT_EQ(item.Text(), in / "a.txt");
  LONG smallest = 0;
  ASSERT_HRESULT_SUCCEEDED(files->get_SmallestFile(&smallest));
  EXPECT_EQ(smallest, 10);
}

TEST_F(MarrowgateEdges, AddFolderContentsLeftWithoutItsPatternTakesTheDeclaredDefault) {
  WriteBytes(in / "a.txt", Bytes(10, 1));
  WriteBytes(in / "noext", Bytes(10, 1));
  ComPtr<::FileList> files;
  ASSERT_HRESULT_SUCCEEDED(assembler->get_FilesToAssemble(&files));
  // Late bound with the folder alone, as a script calls it.
  DISPID member = 0;
  LPOLESTR name = const_cast<LPOLESTR>(L"AddFolderContents");
  ASSERT_HRESULT_SUCCEEDED(files->GetIDsOfNames(IID_NULL, &name, 1, 0, &member));
  const Bstr folder(in.Path());
  VARIANT arg;
  V_VT(&arg) = VT_BSTR;
  V_BSTR(&arg) = folder;
  DISPPARAMS params{&arg, nullptr, 1, 0};
  ASSERT_HRESULT_SUCCEEDED(
      files->Invoke(member, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
  short count = 0;
  ASSERT_HRESULT_SUCCEEDED(files->Count(&count));
  EXPECT_EQ(count, 1);  // "*.*" leaves out the name without a dot
  ASSERT_EQ(host.Boxes().size(), 1u);
  EXPECT_EQ(host.Boxes()[0].text, "New size of file-list = 1");
}

TEST_F(MarrowgateEdges, GlobalsAnswersTheLimitsAndTheDriveType) {
  auto globals = Make<::Globals>(MakeGlobals, host.host);
  ASSERT_TRUE(globals);
  CY most{};
  ASSERT_HRESULT_SUCCEEDED(globals->MaxFragSizeSupported(&most));
  EXPECT_EQ(most.int64, 104857600LL * 10000);
  short least = 0;
  ASSERT_HRESULT_SUCCEEDED(globals->MinFragSizeSupported(&least));
  EXPECT_EQ(least, 10240);
  VARIANT_BOOL removable = VARIANT_TRUE;
  ASSERT_HRESULT_SUCCEEDED(globals->DiskRemovable(Bstr("c"), &removable));
  EXPECT_EQ(removable, VARIANT_FALSE);
  EXPECT_EQ(globals->MinFragSizeSupported(nullptr), E_POINTER);
}

}  // namespace
}  // namespace vtq::control::test
