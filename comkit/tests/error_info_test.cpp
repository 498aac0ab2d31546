// Errors leaving through a COM member: the HRESULT a client sees and the
// error info it reads source and description from.
#include "comkit/error_info.h"

#include <gtest/gtest.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

#include "base/vb_error.h"
#include "base/win/automation_values.h"
#include "base/win/restore_guards.h"
#include "comkit/class_factory.h"
#include "comkit/com_barrier.h"

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
  base::win::Bstr text;
  info->GetSource(text.Receive());
  out.source = text.Text();
  info->GetDescription(text.Receive());
  out.description = text.Text();
  info->GetHelpFile(text.Receive());
  out.helpFile = text.Text();
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

struct Escape {
  std::function<void()> raise;
  HRESULT hr;
  const wchar_t* source;
  const wchar_t* description;
};

// What each kind of exception becomes at the barrier: an engine error keeps
// its number and its own source, the rest takes the member's.
const Escape kEscapes[] = {
    {[] { throw VbError(53, "ActiveAssembler"); }, static_cast<HRESULT>(0x800A0035),
     L"ActiveAssembler", L"File not found"},
    {[] { throw std::bad_alloc(); }, E_OUTOFMEMORY, L"Splitter:Split", L"Out of memory"},
    {[] { throw std::length_error("basic_string::_M_create"); }, E_FAIL, L"Splitter:Split",
     L"Internal error"},
    {[] { throw 7; }, E_FAIL, L"Splitter:Split", L"Internal error"},
};

TEST_F(ErrorInfoTest, AnExceptionLeavesAMemberAsAFailedCallWithErrorInfo) {
  for (const Escape& escape : kEscapes) {
    const HRESULT hr = ComBarrier(L"Splitter:Split", [&]() -> HRESULT {
      escape.raise();
      return S_OK;
    });
    EXPECT_EQ(hr, escape.hr) << escape.description;
    const ThreadError error = TakeErrorInfo();
    EXPECT_EQ(error.source, escape.source);
    EXPECT_EQ(error.description, escape.description);
  }
  EXPECT_EQ(ComBarrier(L"Splitter:Split", [] { return S_FALSE; }), S_FALSE);
}

// The class factory's creation functions, one per kind of escape.
template <size_t Index>
HRESULT ThrowingCreate(REFIID, void**) {
  kEscapes[Index].raise();
  return S_OK;
}

TEST_F(ErrorInfoTest, AClassWhoseCreationThrowsIsAFailedCreateInstance) {
  const CLSID clsids[] = {{0x1, 0, 0, {}}, {0x2, 0, 0, {}}, {0x3, 0, 0, {}}, {0x4, 0, 0, {}}};
  const ClassEntry classes[] = {{&clsids[0], L"A", &ThrowingCreate<0>},
                                {&clsids[1], L"B", &ThrowingCreate<1>},
                                {&clsids[2], L"C", &ThrowingCreate<2>},
                                {&clsids[3], L"D", &ThrowingCreate<3>}};
  for (size_t i = 0; i < std::size(classes); ++i) {
    Microsoft::WRL::ComPtr<IClassFactory> factory;
    ASSERT_EQ(GetClassObject(classes, clsids[i], IID_PPV_ARGS(&factory)), S_OK);
    Microsoft::WRL::ComPtr<IUnknown> object;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&object)), kEscapes[i].hr);
    EXPECT_EQ(object, nullptr);
    const ThreadError error = TakeErrorInfo();
    EXPECT_EQ(error.description, kEscapes[i].description);
    EXPECT_EQ(error.source, i == 0 ? L"ActiveAssembler" : L"CreateInstance");
  }
}

}  // namespace
}  // namespace vtq::comkit
