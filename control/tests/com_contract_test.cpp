// Marrowgate32.ocx as a container meets it: the COM contract's own error
// cases through the library's exports.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <olectl.h>

#include "control/tests/control_test_support.h"

namespace vtq::control::test {
namespace {

// A sink that answers no event interface.
class PlainUnknown final : public comkit::RefCounted<IUnknown> {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown) {
      *out = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }

 private:
  ~PlainUnknown() override = default;
};

ULONG RefCount(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

class MarrowgateContract : public ComTest {
 protected:
  Library lib;
  void SetUp() override {
    ComTest::SetUp();
    ASSERT_TRUE(lib.Loaded());
  }
};

TEST_F(MarrowgateContract, NullOutParametersAreRefusedWithEPointer) {
  EXPECT_EQ(lib.Factory(CLSID_ActiveSplitter, IID_IClassFactory, nullptr), E_POINTER);
  ComPtr<IClassFactory> factory;
  ASSERT_HRESULT_SUCCEEDED(lib.Factory(CLSID_ActiveSplitter, IID_IClassFactory, &factory));
  EXPECT_EQ(factory->CreateInstance(nullptr, IID__ActiveSplitter, nullptr), E_POINTER);
  auto splitter = lib.Create<_ActiveSplitter>(CLSID_ActiveSplitter);
  auto assembler = lib.Create<_ActiveAssembler>(CLSID_ActiveAssembler);
  auto control = lib.Create<_Marrowgate>(CLSID_Marrowgate);
  ASSERT_TRUE(splitter && assembler && control);
  ComPtr<::FileList> files;
  ASSERT_HRESULT_SUCCEEDED(splitter->get_FilesToSplit(&files));
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IProvideClassInfo> classInfo;
  ASSERT_HRESULT_SUCCEEDED(splitter.As(&container));
  ASSERT_HRESULT_SUCCEEDED(control.As(&classInfo));
  int call = 0;
  for (const HRESULT hr :
       {splitter->QueryInterface(IID_IUnknown, nullptr), splitter->get_FilesToSplit(nullptr),
        splitter->get_DestinationFolder(nullptr), splitter->put_FragmentSize(nullptr),
        splitter->get_FragsNeeded(Position(1), nullptr), splitter->GetTypeInfoCount(nullptr),
        container->FindConnectionPoint(DIID___ActiveSplitter, nullptr),
        classInfo->GetClassInfo(nullptr), files->Count(nullptr), files->Add(Bstr("x"), nullptr),
        files->get_Item(Position(1), nullptr), files->NewEnum(nullptr),
        assembler->get_FilesToAssemble(nullptr),
        assembler->get_AssembledFilename(Position(1), nullptr),
        assembler->put_FormatForUnknowns(nullptr), control->get_ActiveSplitter(nullptr),
        control->get_ActiveAssembler(nullptr)}) {
    EXPECT_EQ(hr, E_POINTER) << "call " << call;
    ++call;
  }
}

TEST_F(MarrowgateContract, OnlyTheThreeCreatableClassesHaveFactoriesAndNoneAggregates) {
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(lib.Factory(IID__ActiveSplitter, IID_IClassFactory, &factory),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(lib.Factory(IID_FileList, IID_IClassFactory, &factory), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(lib.Factory(IID_Globals, IID_IClassFactory, &factory), CLASS_E_CLASSNOTAVAILABLE);
  for (const CLSID* clsid :
       {&CLSID_ActiveSplitter, &CLSID_ActiveAssembler, &CLSID_Marrowgate, &CLSID_ActiveRecovery}) {
    ASSERT_HRESULT_SUCCEEDED(lib.Factory(*clsid, IID_IClassFactory, &factory));
    ComPtr<IUnknown> object;
    PlainUnknown* outer = nullptr;
    ASSERT_HRESULT_SUCCEEDED(
        comkit::CreateObject<PlainUnknown>(IID_IUnknown, reinterpret_cast<void**>(&outer)));
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
    outer->Release();
    EXPECT_HRESULT_SUCCEEDED(factory->CreateInstance(nullptr, IID_IDispatch, &object));
  }
}

TEST_F(MarrowgateContract, AdvisingASinkWithoutTheEventInterfaceCannotConnect) {
  for (const auto& [clsid, events] : {std::pair{&CLSID_ActiveSplitter, &DIID___ActiveSplitter},
                                      std::pair{&CLSID_ActiveAssembler, &DIID___ActiveAssembler},
                                      std::pair{&CLSID_Marrowgate, &DIID___Marrowgate},
                                      std::pair{&CLSID_ActiveRecovery, &DIID___ActiveRecovery}}) {
    auto object = lib.Create<IConnectionPointContainer>(*clsid);
    ASSERT_TRUE(object);
    ComPtr<IConnectionPoint> point;
    ASSERT_HRESULT_SUCCEEDED(object->FindConnectionPoint(*events, &point));
    ComPtr<IUnknown> sink;
    ASSERT_HRESULT_SUCCEEDED(comkit::CreateObject<PlainUnknown>(IID_IUnknown, &sink));
    DWORD cookie = 1234;
    EXPECT_EQ(point->Advise(sink.Get(), &cookie), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(cookie, 0u);
    EXPECT_EQ(RefCount(sink.Get()), 1u);
    EXPECT_EQ(object->FindConnectionPoint(
                  DIID___Marrowgate == *events ? DIID___ActiveSplitter : DIID___Marrowgate, &point),
              CONNECT_E_NOCONNECTION);
  }
}

TEST_F(MarrowgateContract, UnadvisingAnUnknownCookieFindsNoConnection) {
  auto object = lib.Create<IConnectionPointContainer>(CLSID_Marrowgate);
  ASSERT_TRUE(object);
  ComPtr<IConnectionPoint> point;
  ASSERT_HRESULT_SUCCEEDED(object->FindConnectionPoint(DIID___Marrowgate, &point));
  EXPECT_EQ(point->Unadvise(0), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(point->Unadvise(77), CONNECT_E_NOCONNECTION);
  auto sink = RecordingSink::AdvisedOn(object.Get(), DIID___Marrowgate);
  ComPtr<IEnumConnections> connections;
  ASSERT_HRESULT_SUCCEEDED(point->EnumConnections(&connections));
  CONNECTDATA data{};
  ASSERT_EQ(connections->Next(1, &data, nullptr), S_OK);
  data.pUnk->Release();
  EXPECT_HRESULT_SUCCEEDED(point->Unadvise(data.dwCookie));
  EXPECT_EQ(point->Unadvise(data.dwCookie), CONNECT_E_NOCONNECTION);
}

TEST_F(MarrowgateContract, ReferencesReturnToZeroAndTheLibraryMayUnloadAfterwards) {
  EXPECT_EQ(lib.CanUnloadNow(), S_OK);
  {
    auto control = lib.Create<_Marrowgate>(CLSID_Marrowgate);
    ASSERT_TRUE(control);
    EXPECT_EQ(RefCount(control.Get()), 1u);
    ComPtr<_ActiveSplitter> splitter;
    ASSERT_HRESULT_SUCCEEDED(control->get_ActiveSplitter(&splitter));
    ComPtr<::FileList> files;
    ASSERT_HRESULT_SUCCEEDED(splitter->get_FilesToSplit(&files));
    ComPtr<IUnknown> walk;
    ASSERT_HRESULT_SUCCEEDED(files->NewEnum(&walk));
    EXPECT_EQ(lib.CanUnloadNow(), S_FALSE);
    // The container lets the control go first: what it still holds lives on.
    EXPECT_EQ(control.Reset(), 0u);
    short count = -1;
    EXPECT_HRESULT_SUCCEEDED(files->Count(&count));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(lib.CanUnloadNow(), S_FALSE);
    EXPECT_EQ(splitter.Reset(), 1u);  // the list holds its splitter
    EXPECT_EQ(files.Reset(), 0u);
    EXPECT_EQ(walk.Reset(), 0u);
  }
  EXPECT_EQ(lib.CanUnloadNow(), S_OK);
  {
    ComPtr<IClassFactory> factory;
    ASSERT_HRESULT_SUCCEEDED(lib.Factory(CLSID_ActiveAssembler, IID_IClassFactory, &factory));
    ASSERT_HRESULT_SUCCEEDED(factory->LockServer(TRUE));
    factory.Reset();
    EXPECT_EQ(lib.CanUnloadNow(), S_FALSE);
    ASSERT_HRESULT_SUCCEEDED(lib.Factory(CLSID_ActiveAssembler, IID_IClassFactory, &factory));
    ASSERT_HRESULT_SUCCEEDED(factory->LockServer(FALSE));
  }
  EXPECT_EQ(lib.CanUnloadNow(), S_OK);
}

TEST_F(MarrowgateContract, EachEventfulClassNamesItsEventInterfaceForScriptHosts) {
  for (const auto& [clsid, events] : {std::pair{&CLSID_ActiveSplitter, &DIID___ActiveSplitter},
                                      std::pair{&CLSID_ActiveAssembler, &DIID___ActiveAssembler},
                                      std::pair{&CLSID_Marrowgate, &DIID___Marrowgate},
                                      std::pair{&CLSID_ActiveRecovery, &DIID___ActiveRecovery}}) {
    auto object = lib.Create<IProvideClassInfo>(*clsid);
    ASSERT_TRUE(object);
    ComPtr<ITypeInfo> coclass;
    ASSERT_HRESULT_SUCCEEDED(object->GetClassInfo(&coclass));
    TYPEATTR* attr = nullptr;
    ASSERT_HRESULT_SUCCEEDED(coclass->GetTypeAttr(&attr));
    EXPECT_EQ(attr->guid, *clsid);
    IID source = IID_NULL;
    for (UINT i = 0; i < attr->cImplTypes; ++i) {
      INT flags = 0;
      HREFTYPE ref = 0;
      ComPtr<ITypeInfo> implemented;
      TYPEATTR* implementedAttr = nullptr;
      coclass->GetImplTypeFlags(i, &flags);
      coclass->GetRefTypeOfImplType(i, &ref);
      if ((flags & IMPLTYPEFLAG_FDEFAULT) && (flags & IMPLTYPEFLAG_FSOURCE) &&
          SUCCEEDED(coclass->GetRefTypeInfo(ref, &implemented)) &&
          SUCCEEDED(implemented->GetTypeAttr(&implementedAttr))) {
        source = implementedAttr->guid;
        implemented->ReleaseTypeAttr(implementedAttr);
      }
    }
    coclass->ReleaseTypeAttr(attr);
    EXPECT_EQ(source, *events);
  }
}

TEST_F(MarrowgateContract, AnEngineErrorIsAFailedCallWithItsNumberSourceAndText) {
  auto assembler = lib.Create<_ActiveAssembler>(CLSID_ActiveAssembler);
  ASSERT_TRUE(assembler);
  ComPtr<ISupportErrorInfo> supports;
  ASSERT_HRESULT_SUCCEEDED(assembler.As(&supports));
  EXPECT_EQ(supports->InterfaceSupportsErrorInfo(IID__ActiveAssembler), S_OK);
  short count = 0;
  EXPECT_EQ(assembler->get_FragmentCount(Position(3), &count),
            MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 5));
  ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
  Bstr source;
  Bstr description;
  info->GetSource(source.Out());
  info->GetDescription(description.Out());
  EXPECT_EQ(source.Text(), "ActiveVantrelloquin");
  EXPECT_EQ(description.Text(), "Invalid procedure call or argument");

  // Late bound, the same error arrives as an exception.
  DISPID member = 0;
  LPOLESTR name = const_cast<LPOLESTR>(L"FragmentCount");
  ASSERT_HRESULT_SUCCEEDED(assembler->GetIDsOfNames(IID_NULL, &name, 1, 0, &member));
  VARIANT arg = Position(3);
  DISPPARAMS params{&arg, nullptr, 1, 0};
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO exception{};
  EXPECT_EQ(assembler->Invoke(member, IID_NULL, 0, DISPATCH_PROPERTYGET, &params, &result,
                              &exception, nullptr),
            DISP_E_EXCEPTION);
  EXPECT_EQ(exception.scode, MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 5));
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
}

}  // namespace
}  // namespace vtq::control::test
