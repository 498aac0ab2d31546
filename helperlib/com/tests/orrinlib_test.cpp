// orrinlib.dll as the program loads it: through its own DllGetClassObject,
// with the interfaces of its type library. Registry cases run in a
// redirected HKEY_CURRENT_USER.
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/win/restore_guards.h"
#include "engine/tests/support/scratch.h"
#include "helperlib/com/orrinlib_interfaces.h"
#include "base/tests/win/support/registry_sandbox.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr hkeyTypes kUser = static_cast<hkeyTypes>(-2147483647);

class Library {
 public:
  Library() : module_(LoadLibraryW(L"orrinlib.dll")) {}
  ~Library() {
    if (module_)
      FreeLibrary(module_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  HRESULT Factory(REFCLSID clsid, ComPtr<IClassFactory>& factory) const {
    if (!module_)
      return E_FAIL;
    auto get = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
    return get ? get(clsid, IID_IClassFactory, &factory) : E_FAIL;
  }
  template <class T>
  ComPtr<T> Create(REFCLSID clsid) const {
    ComPtr<IClassFactory> factory;
    ComPtr<T> object;
    if (SUCCEEDED(Factory(clsid, factory))) {
      factory->CreateInstance(nullptr, __uuidof(T), &object);
    }
    return object;
  }
  std::wstring Path() const {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module_, path, MAX_PATH);
    return path;
  }
  HRESULT CanUnloadNow() const {
    auto can = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
    return can();
  }

 private:
  HMODULE module_;
};

class Bstr {
 public:
  explicit Bstr(const wchar_t* text) : value_(SysAllocString(text)) {}
  Bstr() = default;
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  operator BSTR() const { return value_; }
  BSTR* Out() { return &value_; }
  std::wstring Text() const { return value_ ? value_ : L""; }

 private:
  BSTR value_ = nullptr;
};

VARIANT Missing() {
  VARIANT v;
  V_VT(&v) = VT_ERROR;
  V_ERROR(&v) = DISP_E_PARAMNOTFOUND;
  return v;
}

VARIANT BoolArg(bool value) {
  VARIANT v;
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

// A VARIANT holding a borrowed BSTR (the Bstr keeps ownership).
VARIANT TextArg(const Bstr& text) {
  VARIANT v;
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = text;
  return v;
}

std::wstring TextOf(VARIANT& v) {
  std::wstring text = V_VT(&v) == VT_BSTR ? std::wstring(V_BSTR(&v)) : L"<not text>";
  VariantClear(&v);
  return text;
}

class OrrinLibTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(com_.Initialised()); }

 private:
  const vtq::base::win::ScopedCom com_;
};

TEST_F(OrrinLibTest, EveryClassIsCreatableWithItsDualInterface) {
  Library lib;
  EXPECT_TRUE(lib.Create<_Regging>(CLSID_Regging));
  EXPECT_TRUE(lib.Create<_OrrinModules>(CLSID_OrrinModules));
  EXPECT_TRUE(lib.Create<_OrrinCrypting>(CLSID_OrrinCrypting));
  EXPECT_TRUE(lib.Create<_OrrinShell>(CLSID_OrrinShell));
  EXPECT_TRUE(lib.Create<_FrmTile>(CLSID_FrmTile));
  auto reg = lib.Create<_Regging>(CLSID_Regging);
  ASSERT_TRUE(reg);
  ComPtr<IDispatch> dispatch;
  ComPtr<ISupportErrorInfo> errors;
  ComPtr<_OrrinModules> wrong;
  EXPECT_EQ(reg.As(&dispatch), S_OK);
  EXPECT_EQ(reg.As(&errors), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID__Regging), S_OK);
  EXPECT_EQ(reg.As(&wrong), E_NOINTERFACE);
  UINT count = 0;
  EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
}

TEST_F(OrrinLibTest, FactoryContract) {
  Library lib;
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(lib.Factory(IID_IDispatch, factory), CLASS_E_CLASSNOTAVAILABLE);
  ASSERT_EQ(lib.Factory(CLSID_OrrinModules, factory), S_OK);
  ComPtr<IUnknown> object;
  EXPECT_EQ(
      factory->CreateInstance(reinterpret_cast<IUnknown*>(factory.Get()), IID_IUnknown, &object),
      CLASS_E_NOAGGREGATION);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &object), E_NOINTERFACE);
  EXPECT_EQ(lib.CanUnloadNow(), S_FALSE);  // the factory is alive
  factory.Reset();
  EXPECT_EQ(lib.CanUnloadNow(), S_OK);
  auto modules = lib.Create<_OrrinModules>(CLSID_OrrinModules);
  EXPECT_EQ(lib.CanUnloadNow(), S_FALSE);
  modules.Reset();
  EXPECT_EQ(lib.CanUnloadNow(), S_OK);
}

// The value of one member of one enumeration of the type library.
std::optional<long> EnumValue(ITypeLib* library, const wchar_t* type, const wchar_t* member) {
  for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
    Bstr name;
    library->GetDocumentation(static_cast<INT>(i), name.Out(), nullptr, nullptr, nullptr);
    if (name.Text() != type)
      continue;
    ComPtr<ITypeInfo> info;
    library->GetTypeInfo(i, &info);
    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    std::optional<long> found;
    for (UINT v = 0; v < attr->cVars && !found; ++v) {
      VARDESC* var = nullptr;
      info->GetVarDesc(v, &var);
      Bstr varName;
      UINT names = 0;
      info->GetNames(var->memid, varName.Out(), 1, &names);
      if (varName.Text() == member && var->varkind == VAR_CONST) {
        VARIANT value;
        VariantInit(&value);
        VariantChangeType(&value, var->lpvarValue, 0, VT_I4);
        found = V_I4(&value);
      }
      info->ReleaseVarDesc(var);
    }
    info->ReleaseTypeAttr(attr);
    return found;
  }
  return std::nullopt;
}

TEST_F(OrrinLibTest, TypeLibraryCarriesTheEnumerations) {
  Library lib;
  ComPtr<ITypeLib> library;
  ASSERT_EQ(LoadTypeLibEx(lib.Path().c_str(), REGKIND_NONE, &library), S_OK);
  Bstr name;
  ASSERT_EQ(library->GetDocumentation(-1, name.Out(), nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(name.Text(), L"OrrinModules32");
  EXPECT_EQ(EnumValue(library.Get(), L"hkeyTypes", L"HKEY_CLASSES_ROOT"), -2147483647L - 1);
  EXPECT_EQ(EnumValue(library.Get(), L"hkeyTypes", L"HKEY_DYN_DATA"), -2147483642L);
  EXPECT_EQ(EnumValue(library.Get(), L"Reg_ValType", L"reg_Long"), 4);
  EXPECT_EQ(EnumValue(library.Get(), L"fp_SearchMethod", L"fp_Is"), 3);
  EXPECT_EQ(EnumValue(library.Get(), L"tbg_Action", L"tbg_Refresh"), -1);
  EXPECT_EQ(EnumValue(library.Get(), L"Lnk_HotKey", L"hk_CtlAltZ"), 1626);
  EXPECT_EQ(EnumValue(library.Get(), L"Lnk_HotKey", L"hk_AltShift0"), 1328);
  EXPECT_EQ(EnumValue(library.Get(), L"sh_ShellFolders", L"sh_PRINTHOOD"), 27);
}

class ReggingTest : public OrrinLibTest {
 protected:
  void SetUp() override {
    OrrinLibTest::SetUp();
    reg_ = lib_.Create<_Regging>(CLSID_Regging);
    ASSERT_TRUE(reg_);
  }
  void TearDown() override {
    reg_.Reset();
    OrrinLibTest::TearDown();
  }
  std::wstring LastErr() {
    Bstr text;
    EXPECT_EQ(reg_->get_RegLastErr(text.Out()), S_OK);
    return text.Text();
  }
  vtq::test::RegistrySandbox sandbox_;
  Library lib_;
  ComPtr<_Regging> reg_;
};

TEST_F(ReggingTest, MissingKeyGivesTheDefaultAndCreatesNothing) {
  Bstr section(L"Software\\Absent\\Deeper"), name(L"Value"), fallback(L"fallback");
  VARIANT result;
  ASSERT_EQ(reg_->RegGetValue(kUser, section, name, Missing(), TextArg(fallback), &result), S_OK);
  EXPECT_EQ(TextOf(result), L"fallback");
  EXPECT_FALSE(LastErr().empty());
  ASSERT_EQ(reg_->RegGetValue(kUser, section, name, Missing(), Missing(), &result), S_OK);
  EXPECT_EQ(TextOf(result), L"");
  ASSERT_EQ(reg_->RegGetValue(kUser, section, name, BoolArg(true), Missing(), &result), S_OK);
  EXPECT_EQ(V_VT(&result), VT_I4);
  EXPECT_EQ(V_I4(&result), 0);
  EXPECT_EQ(vtq::test::RegistrySandbox::TopLevelKeys(), 0u);
}

TEST_F(ReggingTest, SetValueCreatesAllLevelsAndEmptiesTheError) {
  Bstr missing(L"Software\\Nowhere"), section(L"\\Software\\One\\Two\\Three"), name(L"Name"),
      text(L"stored");
  VARIANT_BOOL ok = VARIANT_TRUE;
  ASSERT_EQ(reg_->RegRemoveKey(kUser, missing, name, &ok), S_OK);
  EXPECT_EQ(ok, VARIANT_FALSE);
  EXPECT_FALSE(LastErr().empty());
  ASSERT_EQ(reg_->RegSetValue(kUser, section, name, TextArg(text), Missing(), &ok), S_OK);
  EXPECT_EQ(ok, VARIANT_TRUE);
  EXPECT_EQ(LastErr(), L"");
  EXPECT_TRUE(vtq::test::RegistrySandbox::KeyExists(L"Software\\One\\Two\\Three"));
  VARIANT result;
  Bstr plain(L"Software\\One\\Two\\Three");
  ASSERT_EQ(reg_->RegGetValue(kUser, plain, name, Missing(), Missing(), &result), S_OK);
  EXPECT_EQ(TextOf(result), L"stored");
}

TEST_F(ReggingTest, NumbersTypesAndRemoval) {
  Bstr section(L"Software\\Numbers"), name(L"N");
  VARIANT number;
  V_VT(&number) = VT_I4;
  V_I4(&number) = 77;
  VARIANT asLong;
  V_VT(&asLong) = VT_I4;
  V_I4(&asLong) = reg_Long;
  VARIANT_BOOL ok = VARIANT_FALSE;
  ASSERT_EQ(reg_->RegSetValue(kUser, section, name, number, asLong, &ok), S_OK);
  EXPECT_EQ(ok, VARIANT_TRUE);
  VARIANT result;
  ASSERT_EQ(reg_->RegGetValue(kUser, section, name, BoolArg(true), Missing(), &result), S_OK);
  EXPECT_EQ(V_VT(&result), VT_I4);
  EXPECT_EQ(V_I4(&result), 77);
  ASSERT_EQ(reg_->RegRemoveKey(kUser, section, name, &ok), S_OK);
  EXPECT_EQ(ok, VARIANT_TRUE);
  EXPECT_EQ(LastErr(), L"");
  Bstr bytes(L"AB"), binName(L"Bin");
  VARIANT asBinary;
  V_VT(&asBinary) = VT_I4;
  V_I4(&asBinary) = Reg_Binary;
  ASSERT_EQ(reg_->RegSetValue(kUser, section, binName, TextArg(bytes), asBinary, &ok), S_OK);
  EXPECT_EQ(ok, VARIANT_TRUE);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Numbers", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  DWORD type = 0;
  BYTE data[8] = {};
  DWORD size = sizeof data;
  EXPECT_EQ(RegQueryValueExW(key, L"Bin", nullptr, &type, data, &size), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  ASSERT_EQ(size, 2u);
  EXPECT_EQ(data[0], 'A');
  EXPECT_EQ(data[1], 'B');
  V_I4(&asLong) = 2;  // not a Reg_ValType
  EXPECT_EQ(reg_->RegSetValue(kUser, section, name, number, asLong, &ok), E_INVALIDARG);
}

TEST_F(ReggingTest, CreateTreeAndNullResults) {
  Bstr section(L"Software\\Tree\\Of\\Keys");
  VARIANT_BOOL ok = VARIANT_FALSE;
  ASSERT_EQ(reg_->RegCreateTree(kUser, section, &ok), S_OK);
  EXPECT_EQ(ok, VARIANT_TRUE);
  EXPECT_TRUE(vtq::test::RegistrySandbox::KeyExists(L"Software\\Tree\\Of\\Keys"));
  EXPECT_EQ(reg_->RegCreateTree(kUser, section, nullptr), E_POINTER);
  EXPECT_EQ(reg_->get_RegLastErr(nullptr), E_POINTER);
}

TEST_F(ReggingTest, LateBoundCallWithVariablesByReference) {
  Bstr section(L"Software\\Late"), name(L"V"), text(L"by ref");
  VARIANT_BOOL ok = VARIANT_FALSE;
  ASSERT_EQ(reg_->RegSetValue(kUser, section, name, TextArg(text), Missing(), &ok), S_OK);
  ComPtr<IDispatch> dispatch;
  ASSERT_EQ(reg_.As(&dispatch), S_OK);
  LPOLESTR member = const_cast<LPOLESTR>(L"RegGetValue");
  DISPID id = 0;
  ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &member, 1, 0, &id), S_OK);
  // A script passes its variables as references to variants.
  VARIANT values[3];
  V_VT(&values[0]) = VT_I4;
  V_I4(&values[0]) = kUser;
  values[1] = TextArg(section);
  values[2] = TextArg(name);
  VARIANT args[3];
  for (int i = 0; i < 3; ++i) {
    V_VT(&args[2 - i]) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&args[2 - i]) = &values[i];
  }
  DISPPARAMS params = {args, nullptr, 3, 0};
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(dispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
            S_OK);
  EXPECT_EQ(TextOf(result), L"by ref");
}

TEST_F(OrrinLibTest, ParameterRoutines) {
  Library lib;
  auto m = lib.Create<_OrrinModules>(CLSID_OrrinModules);
  ASSERT_TRUE(m);
  Bstr list(L"a,b,c"), blank(L" "), line(L"one  two"), single(L"a"), x(L"x");
  VARIANT result;
  ASSERT_EQ(m->GetParam(list, 2, Missing(), Missing(), &result), S_OK);
  EXPECT_EQ(TextOf(result), L"b");
  ASSERT_EQ(m->GetParam(list, 4, Missing(), Missing(), &result), S_OK);
  EXPECT_EQ(TextOf(result), L"");
  ASSERT_EQ(m->GetParam(line, 3, TextArg(blank), BoolArg(true), &result), S_OK);
  EXPECT_EQ(TextOf(result), L"two");
  short count = 0;
  ASSERT_EQ(m->ParamCount(list, Missing(), &count), S_OK);
  EXPECT_EQ(count, 3);
  Bstr set;
  ASSERT_EQ(m->SetParam(single, 3, x, Missing(), set.Out()), S_OK);
  EXPECT_EQ(set.Text(), L"a,,x");
  Bstr c(L"C");
  short found = -1;
  ASSERT_EQ(m->FindParam(list, c, Missing(), Missing(), Missing(), Missing(), &found), S_OK);
  EXPECT_EQ(found, 3);
  ASSERT_EQ(m->FindParam(list, c, Missing(), Missing(), Missing(), BoolArg(true), &found), S_OK);
  EXPECT_EQ(found, 0);
  Bstr semi(L";"), changed;
  ASSERT_EQ(m->ChangeParamSep(list, semi, Missing(), changed.Out()), S_OK);
  EXPECT_EQ(changed.Text(), L"a;b;c");
}

TEST_F(OrrinLibTest, FileExistsEvenWhenHeldOpen) {
  Library lib;
  auto m = lib.Create<_OrrinModules>(CLSID_OrrinModules);
  ASSERT_TRUE(m);
  vtq::test::ScratchDir dir;
  const std::string held = dir / "held.bin";
  const std::wstring wide(held.begin(), held.end());
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  Bstr name(wide.c_str()), gone((wide + L".gone").c_str());
  VARIANT_BOOL exists = VARIANT_FALSE;
  ASSERT_EQ(m->fExist(name, &exists), S_OK);
  EXPECT_EQ(exists, VARIANT_TRUE);
  CloseHandle(file);
  ASSERT_EQ(m->fExist(gone, &exists), S_OK);
  EXPECT_EQ(exists, VARIANT_FALSE);
}

TEST_F(OrrinLibTest, DeclaredRoutinesFailWithSourceAndText) {
  Library lib;
  auto m = lib.Create<_OrrinModules>(CLSID_OrrinModules);
  ASSERT_TRUE(m);
  Bstr out;
  EXPECT_EQ(m->CvtSec(3725, Missing(), out.Out()), E_NOTIMPL);
  ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
  Bstr source, description;
  info->GetSource(source.Out());
  info->GetDescription(description.Out());
  EXPECT_EQ(source.Text(), L"OrrinModules32:CvtSec");
  EXPECT_NE(description.Text().find(L"not implemented"), std::wstring::npos);
}

}  // namespace
