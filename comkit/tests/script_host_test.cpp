// The script host test tool: by-reference event arguments handed to a
// script and written back, and the host run as its users run it (a child
// process with a script file): its output, its exit codes, its error
// reports, and events of the test control reaching the script's handlers.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/win/handles.h"
#include "base/win/module_path.h"
#include "comkit/tests/script_host/byref_arguments.h"

namespace vtq::script_host {
namespace {

// --- by-reference arguments -------------------------------------------

VARIANT ByRefBool(VARIANT_BOOL* value) {
  VARIANT arg;
  V_VT(&arg) = VT_BOOL | VT_BYREF;
  V_BOOLREF(&arg) = value;
  return arg;
}

TEST(ByRefArguments, ATypedReferenceReachesTheHandlerAsAVariantReferenceAndComesBack) {
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT args[2];
  args[0] = ByRefBool(&cancel);  // the last parameter
  V_VT(&args[1]) = VT_I2;
  V_I2(&args[1]) = 3;
  DISPPARAMS params = {args, nullptr, 2, 0};
  ByRefArguments wrapped(params);
  VARIANT* passed = wrapped.Params()->rgvarg;
  ASSERT_EQ(wrapped.Params()->cArgs, 2u);
  ASSERT_EQ(V_VT(&passed[0]), VT_BYREF | VT_VARIANT);
  VARIANT* inner = V_VARIANTREF(&passed[0]);
  ASSERT_EQ(V_VT(inner), VT_BOOL);
  EXPECT_EQ(V_BOOL(inner), VARIANT_FALSE);
  EXPECT_EQ(V_VT(&passed[1]), VT_I2) << "by-value arguments pass as they are";
  EXPECT_EQ(V_I2(&passed[1]), 3);

  V_BOOL(inner) = VARIANT_TRUE;  // the handler's Cancel = True
  EXPECT_EQ(cancel, VARIANT_FALSE) << "nothing reaches the server before WriteBack";
  wrapped.WriteBack();
  EXPECT_EQ(cancel, VARIANT_TRUE);
}

TEST(ByRefArguments, WhatTheHandlerLeavesIsConvertedToTheArgumentsType) {
  VARIANT_BOOL cancel = VARIANT_TRUE;
  short number = 5;
  BSTR text = SysAllocString(L"old");
  VARIANT args[3];
  args[0] = ByRefBool(&cancel);
  V_VT(&args[1]) = VT_I2 | VT_BYREF;
  V_I2REF(&args[1]) = &number;
  V_VT(&args[2]) = VT_BSTR | VT_BYREF;
  V_BSTRREF(&args[2]) = &text;
  DISPPARAMS params = {args, nullptr, 3, 0};
  {
    ByRefArguments wrapped(params);
    VARIANT* passed = wrapped.Params()->rgvarg;
    // A script assigns what it likes: a number to the Boolean, a text to
    // the number, a number to the text.
    VARIANT* boolean = V_VARIANTREF(&passed[0]);
    VariantClear(boolean);
    V_VT(boolean) = VT_I4;
    V_I4(boolean) = 0;
    VARIANT* integer = V_VARIANTREF(&passed[1]);
    VariantClear(integer);
    V_VT(integer) = VT_BSTR;
    V_BSTR(integer) = SysAllocString(L"42");
    VARIANT* string = V_VARIANTREF(&passed[2]);
    VariantClear(string);
    V_VT(string) = VT_I4;
    V_I4(string) = 7;
    wrapped.WriteBack();
  }
  EXPECT_EQ(cancel, VARIANT_FALSE);
  EXPECT_EQ(number, 42);
  EXPECT_STREQ(text, L"7");
  SysFreeString(text);
}

TEST(ByRefArguments, AValueThatCannotTakeTheTypeLeavesTheServersVariable) {
  VARIANT_BOOL cancel = VARIANT_TRUE;
  short number = 5;
  VARIANT args[2];
  args[0] = ByRefBool(&cancel);
  V_VT(&args[1]) = VT_I2 | VT_BYREF;
  V_I2REF(&args[1]) = &number;
  DISPPARAMS params = {args, nullptr, 2, 0};
  ByRefArguments wrapped(params);
  VARIANT* passed = wrapped.Params()->rgvarg;
  VARIANT* boolean = V_VARIANTREF(&passed[0]);
  V_VT(boolean) = VT_BSTR;
  V_BSTR(boolean) = SysAllocString(L"banana");
  VARIANT* integer = V_VARIANTREF(&passed[1]);
  V_VT(integer) = VT_I4;
  V_I4(integer) = 40000;  // beyond 16 bits
  wrapped.WriteBack();
  EXPECT_EQ(cancel, VARIANT_TRUE);
  EXPECT_EQ(number, 5);
}

TEST(ByRefArguments, VariantReferencesAndValuesPassUntouched) {
  VARIANT target;
  V_VT(&target) = VT_I4;
  V_I4(&target) = 9;
  VARIANT args[2];
  V_VT(&args[0]) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&args[0]) = &target;
  V_VT(&args[1]) = VT_BSTR;
  V_BSTR(&args[1]) = nullptr;
  DISPPARAMS params = {args, nullptr, 2, 0};
  ByRefArguments wrapped(params);
  EXPECT_EQ(V_VARIANTREF(&wrapped.Params()->rgvarg[0]), &target);
  EXPECT_EQ(V_VT(&wrapped.Params()->rgvarg[1]), VT_BSTR);
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  ByRefArguments empty(none);
  EXPECT_EQ(empty.Params()->cArgs, 0u);
  empty.WriteBack();
}

// --- the host as a program --------------------------------------------

struct HostRun {
  DWORD exitCode = 0xFFFFFFFF;
  std::string output;  // CR LF as LF
};

std::wstring Folder() {
  std::wstring path = base::win::ModulePath(nullptr);
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring WriteScript(const std::string& text) {
  wchar_t folder[MAX_PATH] = {}, file[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  GetTempFileNameW(folder, L"vbs", 0, file);
  std::wstring path = file;
  path += L".vbs";
  DeleteFileW(file);
  base::win::FileHandle out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  WriteFile(out.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  return path;
}

HostRun RunHost(const std::wstring& arguments) {
  HostRun run;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
    return run;
  base::win::KernelHandle reader(readEnd), writer(writeEnd);
  SetHandleInformation(reader.Get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writer.Get();
  startup.hStdError = writer.Get();
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring command = L"\"" + Folder() + L"vtq_script_host.exe\" " + arguments;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return run;
  }
  base::win::KernelHandle child(process.hProcess), thread(process.hThread);
  writer.Reset();
  // Read while the host runs and what is left once it has ended; never wait
  // for the pipe's end, which a process the host started (Wine's services)
  // may hold open.
  char buffer[4096];
  for (bool ended = false; !ended;) {
    ended = WaitForSingleObject(child.Get(), 20) == WAIT_OBJECT_0;
    DWORD available = 0, read = 0;
    while (PeekNamedPipe(reader.Get(), nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
           ReadFile(reader.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
      run.output.append(buffer, read);
    }
  }
  GetExitCodeProcess(child.Get(), &run.exitCode);
  std::string lf;
  for (char c : run.output) {
    if (c != '\r')
      lf += c;
  }
  run.output = lf;
  return run;
}

// Runs `script` with the test control's DLL as a server.
HostRun RunScript(const std::string& script, bool withServer = true) {
  const std::wstring path = WriteScript(script);
  const std::wstring server =
      withServer ? L"--server \"" + Folder() + L"comkit_test_control.dll\" " : L"";
  HostRun run = RunHost(server + L"\"" + path + L"\"");
  DeleteFileW(path.c_str());
  return run;
}

constexpr char kControlScript[] =
    "Sub ctl_Asked(Number, Cancel)\n"
    "  Host.Echo \"asked\", Number, Cancel\n"
    "  Cancel = (Number = 3)\n"
    "End Sub\n"
    "Sub ctl_Said(Text)\n"
    "  Host.Echo \"said\", Text\n"
    "End Sub\n";

TEST(ScriptHost, EchoWritesOneLinePerCallWithItsValuesSeparatedByBlanks) {
  const HostRun run = RunScript("Host.Echo \"hello\", 1, True, 2.5\nHost.Echo\nhost.echo \"é\"\n");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.output, "hello 1 True 2.5\n\né\n");
}

TEST(ScriptHost, QuitEndsTheScriptWithItsCodeEvenUnderOnErrorResumeNext) {
  HostRun run = RunScript("Host.Echo \"a\"\nHost.Quit 7\nHost.Echo \"b\"\n");
  EXPECT_EQ(run.exitCode, 7u);
  EXPECT_EQ(run.output, "a\n");
  run = RunScript("Host.Quit\nHost.Echo \"b\"\n");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.output, "");
  run = RunScript("On Error Resume Next\nHost.Quit 3\nHost.Echo \"still\"\nHost.Quit 4\n");
  EXPECT_EQ(run.exitCode, 3u);
  EXPECT_EQ(run.output, "");
}

TEST(ScriptHost, ARuntimeErrorIsReportedWithItsLineAndColumnAndExitCode1) {
  const HostRun run =
      RunScript("Host.Echo \"before\"\nDim x\n  Err.Raise 5\nHost.Echo \"after\"\n");
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.output.rfind("before\n", 0), 0u) << run.output;
  EXPECT_NE(run.output.find(".vbs(3, 3) "), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("(0x800A0005)"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("after"), std::string::npos) << run.output;
}

TEST(ScriptHost, ACompileErrorIsReportedBeforeAnythingRuns) {
  const HostRun run = RunScript("Host.Echo \"before\"\nIf Then\n");
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.output.find("before"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(".vbs(2, "), std::string::npos) << run.output;
}

TEST(ScriptHost, EventsReachTheHandlersAndTheirCancelComesBackToTheServer) {
  const HostRun run = RunScript(
      std::string(kControlScript) +
      "Dim ctl : Set ctl = Host.CreateObject(\"ComkitTestControl.TestControl\", \"ctl_\")\n"
      "Host.Echo \"ask 3\", ctl.Ask(3)\n"
      "Host.Echo \"ask 4\", ctl.Ask(4)\n"
      "ctl.Say \"words\"\n");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.output, "asked 3 False\nask 3 True\nasked 4 False\nask 4 False\nsaid words\n");
}

TEST(ScriptHost, WithoutAPrefixTheObjectsEventsAreNotConnected) {
  const HostRun run =
      RunScript(std::string(kControlScript) +
                "Dim ctl : Set ctl = Host.CreateObject(\"ComkitTestControl.TestControl\")\n"
                "Host.Echo \"ask 3\", ctl.Ask(3)\n");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.output, "ask 3 False\n");
}

TEST(ScriptHost, AnErrorInAHandlerIsReportedAndTheScriptGoesOn) {
  const HostRun run = RunScript(
      "Sub ctl_Asked(Number, Cancel)\n"
      "  Err.Raise 5\n"
      "End Sub\n"
      "Dim ctl : Set ctl = Host.CreateObject(\"ComkitTestControl.TestControl\", \"ctl_\")\n"
      "Host.Echo ctl.Ask(1)\n"
      "Host.Echo \"after\"\n");
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_NE(run.output.find(".vbs(2, 3) "), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("False\nafter\n"), std::string::npos) << run.output;
}

TEST(ScriptHost, AClassNoServerAndNoRegistryKnowsIsAScriptError) {
  HostRun run = RunScript("Dim o\nSet o = Host.CreateObject(\"ComkitTestControl.NoSuchClass\")\n");
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_NE(run.output.find(".vbs(2, 1) "), std::string::npos) << run.output;
  // Without --server the test control is not registered anywhere.
  run = RunScript("Set o = Host.CreateObject(\"ComkitTestControl.TestControl\")\n", false);
  EXPECT_EQ(run.exitCode, 1u);
}

TEST(ScriptHost, AHostThatCannotStartSaysSoWithExitCode2) {
  HostRun run = RunHost(L"");
  EXPECT_EQ(run.exitCode, 2u);
  EXPECT_EQ(run.output, "usage: vtq_script_host [--server DLL]... SCRIPT.vbs\n");
  run = RunHost(L"\"" + Folder() + L"no such script.vbs\"");
  EXPECT_EQ(run.exitCode, 2u);
  EXPECT_NE(run.output.find("cannot read"), std::string::npos);
  run = RunHost(L"--server \"" + Folder() + L"no such server.dll\" x.vbs");
  EXPECT_EQ(run.exitCode, 2u);
  EXPECT_NE(run.output.find("cannot load the server"), std::string::npos);
}

}  // namespace
}  // namespace vtq::script_host
