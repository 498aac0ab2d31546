// Marrowgate32.ocx as a container meets it: the COM contract's own error
// cases through the library's exports, and its type library read back
// from the .ocx the way object browsers and script hosts read it.

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
  ASSERT_TRUE(splitter);
  EXPECT_EQ(splitter->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
  EXPECT_EQ(splitter->get_FilesToSplit(nullptr), E_POINTER);
  EXPECT_EQ(splitter->get_DestinationFolder(nullptr), E_POINTER);
  EXPECT_EQ(splitter->get_FragmentSize(nullptr), E_POINTER);
  EXPECT_EQ(splitter->put_FragmentSize(nullptr), E_POINTER);
  EXPECT_EQ(splitter->get_FragsNeeded(Position(1), nullptr), E_POINTER);
  EXPECT_EQ(splitter->GetTypeInfoCount(nullptr), E_POINTER);
  ComPtr<IConnectionPointContainer> container;
  ASSERT_HRESULT_SUCCEEDED(splitter.As(&container));
  EXPECT_EQ(container->FindConnectionPoint(DIID___ActiveSplitter, nullptr), E_POINTER);
  ComPtr<IProvideClassInfo> classInfo;
  ASSERT_HRESULT_SUCCEEDED(splitter.As(&classInfo));
  EXPECT_EQ(classInfo->GetClassInfo(nullptr), E_POINTER);

  ComPtr<::FileList> files;
  ASSERT_HRESULT_SUCCEEDED(splitter->get_FilesToSplit(&files));
  EXPECT_EQ(files->Count(nullptr), E_POINTER);
  EXPECT_EQ(files->Add(Bstr("x"), nullptr), E_POINTER);
  EXPECT_EQ(files->get_Item(Position(1), nullptr), E_POINTER);
  EXPECT_EQ(files->NewEnum(nullptr), E_POINTER);
  EXPECT_EQ(files->get_SmallestFile(nullptr), E_POINTER);

  auto assembler = lib.Create<_ActiveAssembler>(CLSID_ActiveAssembler);
  ASSERT_TRUE(assembler);
  EXPECT_EQ(assembler->get_FilesToAssemble(nullptr), E_POINTER);
  EXPECT_EQ(assembler->get_FragmentCount(Position(1), nullptr), E_POINTER);
  EXPECT_EQ(assembler->get_AssembledFilename(Position(1), nullptr), E_POINTER);
  EXPECT_EQ(assembler->put_FormatForUnknowns(nullptr), E_POINTER);

  auto control = lib.Create<_Marrowgate>(CLSID_Marrowgate);
  ASSERT_TRUE(control);
  EXPECT_EQ(control->get_ActiveSplitter(nullptr), E_POINTER);
  EXPECT_EQ(control->get_ActiveAssembler(nullptr), E_POINTER);
}

TEST_F(MarrowgateContract, OnlyTheThreeCreatableClassesHaveFactoriesAndNoneAggregates) {
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(lib.Factory(IID__ActiveSplitter, IID_IClassFactory, &factory),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(lib.Factory(IID_FileList, IID_IClassFactory, &factory), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(lib.Factory(IID_Globals, IID_IClassFactory, &factory), CLASS_E_CLASSNOTAVAILABLE);
  for (const CLSID* clsid : {&CLSID_ActiveSplitter, &CLSID_ActiveAssembler, &CLSID_Marrowgate}) {
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
                                      std::pair{&CLSID_Marrowgate, &DIID___Marrowgate}}) {
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
                                      std::pair{&CLSID_Marrowgate, &DIID___Marrowgate}}) {
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

// ----- the type library -----

struct Member {
  std::string name;
  INVOKEKIND kind;
  std::string help;
};

class MarrowgateTypeLibrary : public MarrowgateContract {
 protected:
  void SetUp() override {
    MarrowgateContract::SetUp();
    ASSERT_HRESULT_SUCCEEDED(LoadTypeLibEx(lib.Path().c_str(), REGKIND_NONE, &library));
  }
  ComPtr<ITypeInfo> Entry(REFGUID guid) {
    ComPtr<ITypeInfo> info;
    EXPECT_HRESULT_SUCCEEDED(library->GetTypeInfoOfGuid(guid, &info));
    return info;
  }
  static std::vector<Member> Members(ITypeInfo* info) {
    std::vector<Member> members;
    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    // A dual interface's dispatch view lists IDispatch's members first.
    const UINT inherited =
        attr->typekind == TKIND_DISPATCH && (attr->wTypeFlags & TYPEFLAG_FDUAL) ? 7 : 0;
    for (UINT i = inherited; i < attr->cFuncs; ++i) {
      FUNCDESC* func = nullptr;
      info->GetFuncDesc(i, &func);
      Bstr name;
      Bstr help;
      info->GetDocumentation(func->memid, name.Out(), help.Out(), nullptr, nullptr);
      members.push_back({name.Text(), func->invkind, help.Text()});
      info->ReleaseFuncDesc(func);
    }
    info->ReleaseTypeAttr(attr);
    return members;
  }
  static void ExpectMembers(ITypeInfo* info, const std::vector<Member>& expected) {
    const std::vector<Member> actual = Members(info);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
      EXPECT_EQ(actual[i].name, expected[i].name) << "member " << i;
      EXPECT_EQ(actual[i].kind, expected[i].kind) << expected[i].name;
      EXPECT_EQ(actual[i].help, expected[i].help) << expected[i].name;
    }
  }
  // The variant type of a member's parameter, by-reference types as VT_BYREF.
  static VARTYPE ParameterType(ITypeInfo* info, const std::string& member, INVOKEKIND kind,
                               int parameter) {
    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    VARTYPE vt = VT_ILLEGAL;
    for (UINT i = 0; i < attr->cFuncs && vt == VT_ILLEGAL; ++i) {
      FUNCDESC* func = nullptr;
      info->GetFuncDesc(i, &func);
      Bstr name;
      info->GetDocumentation(func->memid, name.Out(), nullptr, nullptr, nullptr);
      if (name.Text() == member && func->invkind == kind && parameter < func->cParams) {
        const TYPEDESC* type = &func->lprgelemdescParam[parameter].tdesc;
        vt = 0;
        if (type->vt == VT_PTR) {
          vt = VT_BYREF;
          type = type->lptdesc;
        }
        vt |= type->vt == VT_USERDEFINED ? static_cast<VARTYPE>(VT_I4) : type->vt;
      }
      info->ReleaseFuncDesc(func);
    }
    info->ReleaseTypeAttr(attr);
    return vt;
  }
  ComPtr<ITypeLib> library;
};

constexpr INVOKEKIND kGet = INVOKE_PROPERTYGET;
constexpr INVOKEKIND kLet = INVOKE_PROPERTYPUT;
constexpr INVOKEKIND kCall = INVOKE_FUNC;

TEST_F(MarrowgateTypeLibrary, TheLibrarysNameTextVersionAndLocale) {
  Bstr name;
  Bstr help;
  ASSERT_HRESULT_SUCCEEDED(library->GetDocumentation(-1, name.Out(), help.Out(), nullptr, nullptr));
  EXPECT_EQ(name.Text(), "ActiveVantrelloquin");
  EXPECT_EQ(help.Text(), "Quorvelle ActiveVantrelloquin Control");
  TLIBATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(library->GetLibAttr(&attr));
  EXPECT_EQ(attr->wMajorVerNum, 3);
  EXPECT_EQ(attr->wMinorVerNum, 0);
  EXPECT_EQ(attr->lcid, 0x409u);
  EXPECT_EQ(attr->guid, LIBID_ActiveVantrelloquin);
  library->ReleaseTLibAttr(attr);
}

TEST_F(MarrowgateTypeLibrary, EveryEntryInLibraryOrderWithItsKindAndFlags) {
  struct Entry {
    std::string name;
    TYPEKIND kind;
    WORD flags;
  };
  // The dispatch view of a dual interface, which is what the library
  // lists, does not carry the interface's oleautomation flag.
  constexpr WORD kDual = TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
  constexpr WORD kEvents = TYPEFLAG_FHIDDEN | TYPEFLAG_FDISPATCHABLE;
  const std::vector<Entry> expected = {
      {"_ActiveAssembler", TKIND_DISPATCH, kDual | TYPEFLAG_FHIDDEN},
      {"ActiveAssembler", TKIND_COCLASS, TYPEFLAG_FCANCREATE},
      {"_ActiveSplitter", TKIND_DISPATCH, kDual | TYPEFLAG_FHIDDEN},
      {"ActiveSplitter", TKIND_COCLASS, TYPEFLAG_FCANCREATE},
      {"FileList", TKIND_DISPATCH, kDual},
      {"_Marrowgate", TKIND_DISPATCH, kDual | TYPEFLAG_FHIDDEN},
      {"Marrowgate", TKIND_COCLASS, TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL},
      {"Globals", TKIND_DISPATCH, kDual},
      {"__ActiveAssembler", TKIND_DISPATCH, kEvents},
      {"__ActiveSplitter", TKIND_DISPATCH, kEvents},
      {"__Marrowgate", TKIND_DISPATCH, kEvents},
      {"AftFileFormat", TKIND_ENUM, 0},
      {"AftFileSize", TKIND_ENUM, 0},
  };
  ASSERT_EQ(library->GetTypeInfoCount(), expected.size());
  for (UINT i = 0; i < expected.size(); ++i) {
    Bstr name;
    library->GetDocumentation(i, name.Out(), nullptr, nullptr, nullptr);
    EXPECT_EQ(name.Text(), expected[i].name) << "entry " << i;
    ComPtr<ITypeInfo> info;
    ASSERT_HRESULT_SUCCEEDED(library->GetTypeInfo(i, &info));
    TYPEATTR* attr = nullptr;
    ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
    EXPECT_EQ(attr->typekind, expected[i].kind) << expected[i].name;
    EXPECT_EQ(attr->wTypeFlags, expected[i].flags) << expected[i].name;
    info->ReleaseTypeAttr(attr);
  }
}

TEST_F(MarrowgateTypeLibrary, TheAssemblersMembersAndEventsInOrderWithTheirTexts) {
  ExpectMembers(
      Entry(IID__ActiveAssembler).Get(),
      {{"FilesToAssemble", kGet,
        "Returns a reference to a FileList object. Holds a list of the first fragment "
        "in every series to assemble"},
       {"DestinationFolder", kGet, "Returns / sets the destination folder of the assembled file"},
       {"DestinationFolder", kLet, "Returns / sets the destination folder of the assembled file"},
       {"FormatCouldBe", kGet,
        "Returns TRUE if it is possible that the fragment specified is in the format "
        "specified"},
       {"FileFormat", kGet,
        "Returns the fileformat of the fragments specified - must be in "
        "FilesToAssemble collection"},
       {"FormatForUnknowns", kLet,
        "The fileformat to treat unknown fragments as. aftRaw is recommended"},
       {"FormatForUnknowns", kGet,
        "The fileformat to treat unknown fragments as. aftRaw is recommended"},
       {"FragmentCount", kGet, "Returns the number of fragments in the series specified"},
       {"AssembledFilename", kGet,
        "Returns the filename when assembled of the fragment specified by filename in "
        "the FilesToAssemble collection"},
       {"Assemble", kCall, "Begins the assemble process"}});
  const auto events = Entry(DIID___ActiveAssembler);
  ExpectMembers(
      events.Get(),
      {{"AssembleStart", kCall, "Occurs at start of assemble process to initialize progress bars"},
       {"AssembleInterval", kCall, "Occurs at regular intervals to support progress bars"},
       {"RequireNextDisk", kCall,
        "Occurs when another disk is required by VazeVezazu. Set Cancel to TRUE to "
        "abort"}});
  EXPECT_EQ(ParameterType(events.Get(), "AssembleStart", kCall, 0), VT_I2);
  EXPECT_EQ(ParameterType(events.Get(), "AssembleInterval", kCall, 0), VT_I2);
  EXPECT_EQ(ParameterType(events.Get(), "RequireNextDisk", kCall, 0), VT_I2);
  EXPECT_EQ(ParameterType(events.Get(), "RequireNextDisk", kCall, 1), VT_BYREF | VT_BOOL);
  const auto members = Entry(IID__ActiveAssembler);
  EXPECT_EQ(ParameterType(members.Get(), "FormatForUnknowns", kLet, 0), VT_BYREF | VT_I4);
  EXPECT_EQ(ParameterType(members.Get(), "FragmentCount", kGet, 0), VT_VARIANT);
}

TEST_F(MarrowgateTypeLibrary, TheSplittersMembersAndEventsInOrderWithTheirTexts) {
  const std::string formatHelp =
      "Returns / sets the fragment fileformat to be used. Recommended is aftQuorvelle";
  const std::string atStartHelp =
      "Returns / sets the fragment size to use for the first fragment in the series. By "
      "default, FragmentSize will be used";
  const std::string differentHelp =
      "Boolean is TRUE when an alternative fragment size has been specified for the first "
      "fragment in the series";
  ExpectMembers(
      Entry(IID__ActiveSplitter).Get(),
      {{"FilesToSplit", kGet,
        "Returns a reference to a FileList object containing the files to split"},
       {"DestinationFolder", kGet, "Returns or sets the destination folder of the fragments"},
       {"DestinationFolder", kLet, "Returns or sets the destination folder of the fragments"},
       {"FragsNeeded", kGet,
        "Returns fragments needed to split the specified file in the FilesToSplit collection "
        "according to the current settings"},
       {"FileFormat", kGet, formatHelp},
       {"FileFormat", kLet, formatHelp},
       {"FragmentSize", kGet, "Returns / sets the fragment size to use"},
       {"FragmentSize", kLet, "Returns / sets the fragment size to use"},
       {"FragmentSizeAtStart", kGet, atStartHelp},
       {"FragmentSizeAtStart", kLet, atStartHelp},
       {"DifferentSizeAtStart", kGet, differentHelp},
       {"DifferentSizeAtStart", kLet, differentHelp},
       {"Split", kCall, "Begin the split process"},
       {"EnoughDiskSpace", kGet,
        "TRUE if there is enough disk space for File to fit on Drive. If Drive is removable, "
        "returns if there will be enough space after formatting. Set Freespace to TRUE to "
        "force routine to return if it will fit without formatting."}});
  const auto events = Entry(DIID___ActiveSplitter);
  ExpectMembers(
      events.Get(),
      {{"SplitStart", kCall, "Event occurs at the start of splitting to initialize progress bars"},
       {"SplitInterval", kCall,
        "Event occurs at regular intervals throughout splitting - useful for progress bars"},
       {"RequireNextDisk", kCall,
        "Event occurs when another disk is required by VazeVezazu. DiskNumber is the disk "
        "required. Set Cancel to TRUE to abort the split process"},
       {"NotEnoughDiskSpace", kCall,
        "Event occurs when there is not enough disk space to save a fragment. Set cancel to "
        "FALSE to attempt a retry"}});
  EXPECT_EQ(ParameterType(events.Get(), "SplitStart", kCall, 0), VT_I4);
  EXPECT_EQ(ParameterType(events.Get(), "NotEnoughDiskSpace", kCall, 0), VT_BYREF | VT_BOOL);
  const auto members = Entry(IID__ActiveSplitter);
  EXPECT_EQ(ParameterType(members.Get(), "FragmentSize", kLet, 0), VT_BYREF | VT_I4);
  EXPECT_EQ(ParameterType(members.Get(), "FileFormat", kLet, 0), VT_I4);
  EXPECT_EQ(ParameterType(members.Get(), "EnoughDiskSpace", kGet, 2), VT_BOOL);
}

TEST_F(MarrowgateTypeLibrary, TheFileListGlobalsAndControlInOrderWithTheirTexts) {
  const auto files = Entry(IID_FileList);
  ExpectMembers(
      files.Get(),
      {{"Clear", kCall, "Clears the filelist collection"},
       {"Add", kCall, "Adds a file to the filelist collection"},
       {"AddFolderContents", kCall,
        "Adds a folder's contents recursively to the filelist collection"},
       {"Count", kCall, "Returns the number of files in the filelist collection"},
       {"Remove", kCall, "Removes a file from the filelist collection"},
       {"Item", kGet, "Returns the full filename of the file index specified in the collection"},
       {"NewEnum", kCall, "Used to provide for each... support"},
       {"SmallestFile", kGet,
        "Returns the index of the smallest file in the filelist collection"}});
  // Item is the default member; NewEnum the hidden enumerator for-each asks for.
  FUNCDESC* func = nullptr;
  TYPEATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(files->GetTypeAttr(&attr));
  std::vector<std::pair<MEMBERID, WORD>> special;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    files->GetFuncDesc(i, &func);
    if (func->memid == DISPID_VALUE || func->memid == DISPID_NEWENUM)
      special.emplace_back(func->memid, func->wFuncFlags & FUNCFLAG_FHIDDEN);
    files->ReleaseFuncDesc(func);
  }
  files->ReleaseTypeAttr(attr);
  EXPECT_EQ(special, (std::vector<std::pair<MEMBERID, WORD>>{{DISPID_VALUE, 0},
                                                             {DISPID_NEWENUM, FUNCFLAG_FHIDDEN}}));

  ExpectMembers(Entry(IID_Globals).Get(),
                {{"DiskRemovable", kCall, "Returns TRUE if the specified drive is removable"},
                 {"MaxFragSizeSupported", kCall, "Returns the maximum allowable fragment size"},
                 {"MinFragSizeSupported", kCall, "Returns the minimum allowable fragment size"}});
  EXPECT_EQ(ParameterType(Entry(IID_Globals).Get(), "DiskRemovable", kCall, 0), VT_BSTR);

  ExpectMembers(Entry(IID__Marrowgate).Get(),
                {{"ActiveAssembler", kGet, "Object used to assemble fragments"},
                 {"ActiveSplitter", kGet, "Object used to split files into fragments"}});
  const auto events = Entry(DIID___Marrowgate);
  ExpectMembers(
      events.Get(),
      {{"Start", kCall,
        "Occurs when a split / assemble operation has just been started to initialize optional "
        "progress bars"},
       {"Interval", kCall,
        "Occurs at regular intervals throughout a split / assemble process to update optional "
        "progress bars"},
       {"RequireNextDisk", kCall, "Occurs when a certain disk is required by VazeVezazu"},
       {"NotEnoughDiskSpace", kCall,
        "Occurs when there is not enough disk space to save a fragment on a removable disk. Set "
        "Cancel to FALSE to attempt a retry"}});
  EXPECT_EQ(ParameterType(events.Get(), "Start", kCall, 0), VT_I4);
  EXPECT_EQ(ParameterType(events.Get(), "Interval", kCall, 0), VT_I4);
  EXPECT_EQ(ParameterType(events.Get(), "RequireNextDisk", kCall, 0), VT_I2);
  EXPECT_EQ(ParameterType(events.Get(), "RequireNextDisk", kCall, 1), VT_BYREF | VT_BOOL);
}

TEST_F(MarrowgateTypeLibrary, TheEnumerationsAreThirtyTwoBitWithTheirValues) {
  const auto values = [&](const std::string& entry) {
    std::vector<std::pair<std::string, long>> found;
    for (UINT index = 0; index < library->GetTypeInfoCount(); ++index) {
      Bstr name;
      library->GetDocumentation(index, name.Out(), nullptr, nullptr, nullptr);
      if (name.Text() != entry)
        continue;
      ComPtr<ITypeInfo> info;
      library->GetTypeInfo(index, &info);
      TYPEATTR* attr = nullptr;
      info->GetTypeAttr(&attr);
      EXPECT_EQ(attr->cbSizeInstance, 4u) << entry;
      for (UINT i = 0; i < attr->cVars; ++i) {
        VARDESC* var = nullptr;
        info->GetVarDesc(i, &var);
        Bstr member;
        info->GetDocumentation(var->memid, member.Out(), nullptr, nullptr, nullptr);
        VARIANT value;
        VariantInit(&value);
        VariantChangeType(&value, var->lpvarValue, 0, VT_I4);
        found.emplace_back(member.Text(), V_I4(&value));
        info->ReleaseVarDesc(var);
      }
      info->ReleaseTypeAttr(attr);
    }
    return found;
  };
  using Values = std::vector<std::pair<std::string, long>>;
  EXPECT_EQ(values("AftFileFormat"),
            (Values{{"aftQuorvelle", 0}, {"aftRaw", 1}, {"aftBrannock", 2}}));
  EXPECT_EQ(values("AftFileSize"), (Values{{"aftLowDensity", 730112},
                                           {"aftHighDensity", 1457664},
                                           {"aftUltraDensity", 1745408},
                                           {"aftMegabyte", 1048576},
                                           {"aftDMegabyte", 2097152}}));
}

}  // namespace
}  // namespace vtq::control::test
