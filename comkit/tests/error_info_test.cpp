// Errors leaving through a COM member: the HRESULT a client sees and the
// error info it reads source and description from.
#include "comkit/error_info.h"

#include <gtest/gtest.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <string>

#include "base/win/restore_guards.h"
#include "engine/error.h"

namespace vtq::comkit {
namespace {

struct ThreadError {
  std::wstring source, description, helpFile;
};

// Takes the thread's error info (which clears it), as a client does.
ThreadError TakeErrorInfo() {
  Microsoft::WRL::ComPtr<IErrorInfo> info;
  ThreadError out;
  if (GetErrorInfo(0, &info) != S_OK || !info)
    return out;
  BSTR text = nullptr;
  auto take = [&text](std::wstring& into) {
    into = text ? std::wstring(text, SysStringLen(text)) : L"";
    SysFreeString(text);
    text = nullptr;
  };
  info->GetSource(&text);
  take(out.source);
  info->GetDescription(&text);
  take(out.description);
  info->GetHelpFile(&text);
  take(out.helpFile);
  return out;
}

class ErrorInfoTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(com_.Initialised()); }

 private:
  const base::win::ScopedCom com_;
};

TEST(HresultOfErrorNumber, ClassicNumbersTravelAsControlErrors) {
  EXPECT_EQ(HresultOfErrorNumber(53), static_cast<HRESULT>(0x800A0035));
  EXPECT_EQ(HresultOfErrorNumber(5), static_cast<HRESULT>(0x800A0005));
  EXPECT_EQ(HresultOfErrorNumber(65535), static_cast<HRESULT>(0x800AFFFF));
}

TEST(HresultOfErrorNumber, ObjectErrorsPassUnchanged) {
  EXPECT_EQ(HresultOfErrorNumber(-2147219503), static_cast<HRESULT>(0x800407D1));
  EXPECT_EQ(HresultOfErrorNumber(-2147220504), static_cast<HRESULT>(0x800403E8));
}

TEST(HresultOfErrorNumber, NumbersNoClientCouldReadBackFailPlainly) {
  EXPECT_EQ(HresultOfErrorNumber(0), E_FAIL);
  EXPECT_EQ(HresultOfErrorNumber(65536), E_FAIL);
}

TEST_F(ErrorInfoTest, FailSetsSourceDescriptionAndHelpFile) {
  EXPECT_EQ(Fail(E_INVALIDARG, L"OrrinModules32:GetParam", L"Invalid procedure call or argument",
                 L"orrinmdl.hlp"),
            E_INVALIDARG);
  const ThreadError error = TakeErrorInfo();
  EXPECT_EQ(error.source, L"OrrinModules32:GetParam");
  EXPECT_EQ(error.description, L"Invalid procedure call or argument");
  EXPECT_EQ(error.helpFile, L"orrinmdl.hlp");
}

TEST_F(ErrorInfoTest, NoHelpFileWhenNoneIsNamed) {
  Fail(E_FAIL, L"ActiveAssembler", L"x");
  EXPECT_EQ(TakeErrorInfo().helpFile, L"");
}

TEST_F(ErrorInfoTest, AnEngineErrorKeepsItsNumberSourceAndDescription) {
  const VbError error(-2147219503, "ActiveAssembler", "Checkability check failed");
  EXPECT_EQ(Fail(error), static_cast<HRESULT>(0x800407D1));
  const ThreadError info = TakeErrorInfo();
  EXPECT_EQ(info.source, L"ActiveAssembler");
  EXPECT_EQ(info.description, L"Checkability check failed");
}

// The engine's texts are UTF-8 and name files of any script.
TEST_F(ErrorInfoTest, AnEngineErrorsUtf8TextIsConverted) {
  const VbError error(53, "Vantrelloquin",
                      "Datei nicht gefunden: \xC3\xA4 \xE5\x86\x99\xF0\x9F\x8E\x89");
  EXPECT_EQ(Fail(error), static_cast<HRESULT>(0x800A0035));
  const ThreadError info = TakeErrorInfo();
  EXPECT_EQ(info.description, L"Datei nicht gefunden: \u00e4 \u5199\U0001F389");
  EXPECT_EQ(info.source, L"Vantrelloquin");
}

}  // namespace
}  // namespace vtq::comkit
