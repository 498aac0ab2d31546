// The type library embedded in Marrowgate32.ocx, read back with
// LoadTypeLibEx as object browsers and script hosts read it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/tests/control_test_support.h"
#include "control/tests/expected_library.h"

namespace vtq::control::test {
namespace {

class MarrowgateTypeLibrary : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    ASSERT_TRUE(lib.Loaded());
    ASSERT_HRESULT_SUCCEEDED(LoadTypeLibEx(lib.Path().c_str(), REGKIND_NONE, &library));
  }
  ComPtr<ITypeInfo> Entry(REFGUID guid) {
    ComPtr<ITypeInfo> info;
    EXPECT_HRESULT_SUCCEEDED(library->GetTypeInfoOfGuid(guid, &info));
    return info;
  }
  // Calls `visit` with each member's description, name and help text; a
  // dual interface's dispatch view lists IDispatch's seven first.
  static void ForEachMember(
      ITypeInfo* info,
      const std::function<void(FUNCDESC&, const std::string&, const std::string&)>& visit) {
    TYPEATTR* attr = nullptr;
    ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
    const UINT first = (attr->wTypeFlags & TYPEFLAG_FDUAL) ? 7 : 0;
    for (UINT i = first; i < attr->cFuncs; ++i) {
      FUNCDESC* func = nullptr;
      info->GetFuncDesc(i, &func);
      Bstr name;
      Bstr help;
      info->GetDocumentation(func->memid, name.Out(), help.Out(), nullptr, nullptr);
      visit(*func, name.Text(), help.Text());
      info->ReleaseFuncDesc(func);
    }
    info->ReleaseTypeAttr(attr);
  }
  Library lib;
  ComPtr<ITypeLib> library;
};

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
  library->ReleaseTLibAttr(attr);
}

TEST_F(MarrowgateTypeLibrary, EveryEntryInLibraryOrderWithItsKindAndFlags) {
  // A dual interface's dispatch view, which the library lists, does not
  // carry the interface's oleautomation flag.
  constexpr WORD kDual = TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
  constexpr WORD kHiddenDual = kDual | TYPEFLAG_FHIDDEN;
  constexpr WORD kEvents = TYPEFLAG_FHIDDEN | TYPEFLAG_FDISPATCHABLE;
  const std::vector<std::tuple<std::string, TYPEKIND, WORD>> expected = {
      {"_ActiveAssembler", TKIND_DISPATCH, kHiddenDual},
      {"ActiveAssembler", TKIND_COCLASS, TYPEFLAG_FCANCREATE},
      {"_ActiveSplitter", TKIND_DISPATCH, kHiddenDual},
      {"ActiveSplitter", TKIND_COCLASS, TYPEFLAG_FCANCREATE},
      {"FileList", TKIND_DISPATCH, kDual},
      {"_Marrowgate", TKIND_DISPATCH, kHiddenDual},
      {"Marrowgate", TKIND_COCLASS, TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL},
      {"Globals", TKIND_DISPATCH, kDual},
      {"__ActiveAssembler", TKIND_DISPATCH, kEvents},
      {"__ActiveSplitter", TKIND_DISPATCH, kEvents},
      {"__Marrowgate", TKIND_DISPATCH, kEvents},
      {"AftFileFormat", TKIND_ENUM, 0},
      {"AftFileSize", TKIND_ENUM, 0},
      // Added later, after every first entry.
      {"_ActiveRecovery", TKIND_DISPATCH, kHiddenDual},
      {"ActiveRecovery", TKIND_COCLASS, TYPEFLAG_FCANCREATE},
      {"__ActiveRecovery", TKIND_DISPATCH, kEvents},
  };
  ASSERT_EQ(library->GetTypeInfoCount(), expected.size());
  for (UINT i = 0; i < expected.size(); ++i) {
    const auto& [name, kind, flags] = expected[i];
    Bstr found;
    library->GetDocumentation(i, found.Out(), nullptr, nullptr, nullptr);
    EXPECT_EQ(found.Text(), name) << "entry " << i;
    ComPtr<ITypeInfo> info;
    ASSERT_HRESULT_SUCCEEDED(library->GetTypeInfo(i, &info));
    TYPEATTR* attr = nullptr;
    ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
    EXPECT_EQ(attr->typekind, kind) << name;
    EXPECT_EQ(attr->wTypeFlags, flags) << name;
    if (kind == TKIND_ENUM) {
      EXPECT_EQ(attr->cbSizeInstance, 4u) << name;
    }
    info->ReleaseTypeAttr(attr);
  }
}

TEST_F(MarrowgateTypeLibrary, EveryInterfacesMembersInOrderWithTheirHelpTexts) {
  for (const auto& expected : ExpectedInterfaces()) {
    std::vector<ExpectedMember> found;
    ForEachMember(Entry(*expected.iid).Get(),
                  [&](FUNCDESC& func, const std::string& name, const std::string& help) {
                    found.push_back({name, func.invkind, help});
                  });
    ASSERT_EQ(found.size(), expected.members.size()) << expected.members.front().name;
    for (size_t i = 0; i < found.size(); ++i) {
      EXPECT_EQ(found[i].name, expected.members[i].name);
      EXPECT_EQ(found[i].kind, expected.members[i].kind) << found[i].name;
      EXPECT_EQ(found[i].help, expected.members[i].help) << found[i].name;
    }
  }
}

// The types containers rely on: 16-bit progress of the assembler widened
// to 32 bits by the control, Cancel by reference, the sizes' let by
// reference, Item the default member and NewEnum the hidden enumerator.
TEST_F(MarrowgateTypeLibrary, TheDeclaredTypesAndDispatchIdentities) {
  struct Parameter {
    const IID* iid;
    std::string member;
    INVOKEKIND kind;
    SHORT index;
    VARTYPE vt;  // VT_BYREF for a pointer, VT_I4 for an enumeration
  };
  const std::vector<Parameter> expected = {
      {&DIID___ActiveAssembler, "AssembleStart", INVOKE_FUNC, 0, VT_I2},
      {&DIID___ActiveAssembler, "RequireNextDisk", INVOKE_FUNC, 1, VT_BYREF | VT_BOOL},
      {&DIID___ActiveSplitter, "SplitStart", INVOKE_FUNC, 0, VT_I4},
      {&DIID___ActiveSplitter, "NotEnoughDiskSpace", INVOKE_FUNC, 0, VT_BYREF | VT_BOOL},
      {&DIID___Marrowgate, "Start", INVOKE_FUNC, 0, VT_I4},
      {&DIID___Marrowgate, "Interval", INVOKE_FUNC, 0, VT_I4},
      {&DIID___Marrowgate, "RequireNextDisk", INVOKE_FUNC, 0, VT_I2},
      {&DIID___Marrowgate, "RequireNextDisk", INVOKE_FUNC, 1, VT_BYREF | VT_BOOL},
      {&IID__ActiveSplitter, "FragmentSize", INVOKE_PROPERTYPUT, 0, VT_BYREF | VT_I4},
      {&IID__ActiveSplitter, "FileFormat", INVOKE_PROPERTYPUT, 0, VT_I4},
      {&IID__ActiveSplitter, "EnoughDiskSpace", INVOKE_PROPERTYGET, 2, VT_BOOL},
      {&IID__ActiveAssembler, "FormatForUnknowns", INVOKE_PROPERTYPUT, 0, VT_BYREF | VT_I4},
      {&IID__ActiveAssembler, "FragmentCount", INVOKE_PROPERTYGET, 0, VT_VARIANT},
      {&IID_Globals, "DiskRemovable", INVOKE_FUNC, 0, VT_BSTR},
      {&DIID___ActiveRecovery, "Progress", INVOKE_FUNC, 1, VT_I4},
      {&IID__ActiveRecovery, "RecoveryPercent", INVOKE_PROPERTYPUT, 0, VT_R8},
      {&IID__ActiveRecovery, "FirstFragment", INVOKE_PROPERTYPUT, 0, VT_BSTR},
  };
  for (const Parameter& parameter : expected) {
    VARTYPE vt = VT_ILLEGAL;
    ForEachMember(Entry(*parameter.iid).Get(),
                  [&](FUNCDESC& func, const std::string& name, const std::string&) {
                    if (name != parameter.member || func.invkind != parameter.kind)
                      return;
                    const TYPEDESC* type = &func.lprgelemdescParam[parameter.index].tdesc;
                    vt = type->vt == VT_PTR ? VT_BYREF : 0;
                    type = type->vt == VT_PTR ? type->lptdesc : type;
                    vt |= type->vt == VT_USERDEFINED ? static_cast<VARTYPE>(VT_I4) : type->vt;
                  });
    EXPECT_EQ(vt, parameter.vt) << parameter.member << " " << parameter.index;
  }
  std::vector<std::pair<std::string, WORD>> special;
  ForEachMember(Entry(IID_FileList).Get(),
                [&](FUNCDESC& func, const std::string& name, const std::string&) {
                  if (func.memid == DISPID_VALUE || func.memid == DISPID_NEWENUM)
                    special.emplace_back(name, func.wFuncFlags & FUNCFLAG_FHIDDEN);
                });
  EXPECT_EQ(special, (std::vector<std::pair<std::string, WORD>>{{"Item", 0},
                                                                {"NewEnum", FUNCFLAG_FHIDDEN}}));
}

TEST_F(MarrowgateTypeLibrary, TheEnumerationsValues) {
  std::vector<std::pair<std::string, long>> found;
  for (UINT index = 11; index < library->GetTypeInfoCount(); ++index) {
    ComPtr<ITypeInfo> info;
    ASSERT_HRESULT_SUCCEEDED(library->GetTypeInfo(index, &info));
    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    for (UINT i = 0; i < attr->cVars; ++i) {
      VARDESC* var = nullptr;
      info->GetVarDesc(i, &var);
      Bstr name;
      info->GetDocumentation(var->memid, name.Out(), nullptr, nullptr, nullptr);
      VARIANT value;
      VariantInit(&value);
      VariantChangeType(&value, var->lpvarValue, 0, VT_I4);
      found.emplace_back(name.Text(), V_I4(&value));
      info->ReleaseVarDesc(var);
    }
    info->ReleaseTypeAttr(attr);
  }
  EXPECT_EQ(found, (std::vector<std::pair<std::string, long>>{{"aftQuorvelle", 0},
                                                              {"aftRaw", 1},
                                                              {"aftBrannock", 2},
                                                              {"aftLowDensity", 730112},
                                                              {"aftHighDensity", 1457664},
                                                              {"aftUltraDensity", 1745408},
                                                              {"aftMegabyte", 1048576},
                                                              {"aftDMegabyte", 2097152}}));
}

}  // namespace
}  // namespace vtq::control::test
