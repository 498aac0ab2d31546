// orrinlib.dll as the program loads it: through its own DllGetClassObject,
// with the interfaces of its type library. Registry cases run in a
// redirected HKEY_CURRENT_USER.
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

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
  // The calendar weeks' rule is told where a client's browser shows it.
  ComPtr<ITypeInfo> modules;
  ASSERT_EQ(library->GetTypeInfoOfGuid(IID__OrrinModules, &modules), S_OK);
  for (const wchar_t* member : {L"GetKW", L"DateForKW"}) {
    LPOLESTR name = const_cast<LPOLESTR>(member);
    MEMBERID id = 0;
    ASSERT_EQ(modules->GetIDsOfNames(&name, 1, &id), S_OK);
    Bstr help;
    modules->GetDocumentation(id, nullptr, help.Out(), nullptr, nullptr);
    EXPECT_NE(help.Text().find(L"ISO 8601"), std::wstring::npos) << member;
    EXPECT_NE(help.Text().find(L"first Thursday"), std::wstring::npos) << member;
  }
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
  // The only key is the help registration of the object's creation.
  EXPECT_FALSE(vtq::test::RegistrySandbox::KeyExists(L"Software\\Absent"));
  EXPECT_EQ(vtq::test::RegistrySandbox::TopLevelKeys(), 1u);
  EXPECT_TRUE(vtq::test::RegistrySandbox::KeyExists(L"Software\\Microsoft\\Windows\\Help"));
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

// The error a member left for its caller: source and description.
std::pair<std::wstring, std::wstring> LastError() {
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, &info) != S_OK)
    return {};
  Bstr source, description;
  info->GetSource(source.Out());
  info->GetDescription(description.Out());
  return {source.Text(), description.Text()};
}

VARIANT LongArg(long value) {
  VARIANT v;
  V_VT(&v) = VT_I4;
  V_I4(&v) = value;
  return v;
}

// Every class registers the library's help as it is created; the
// registry is redirected so that the prefix's own stays as it was.
class ModulesTest : public OrrinLibTest {
 protected:
  void SetUp() override {
    OrrinLibTest::SetUp();
    m_ = lib_.Create<_OrrinModules>(CLSID_OrrinModules);
    ASSERT_TRUE(m_);
  }
  void TearDown() override {
    m_.Reset();
    OrrinLibTest::TearDown();
  }
  vtq::test::RegistrySandbox sandbox_;
  Library lib_;
  ComPtr<_OrrinModules> m_;
};

TEST_F(ModulesTest, FormArgumentsNeedAWindow) {
  // An object without an hWnd property is no form.
  auto reg = lib_.Create<_Regging>(CLSID_Regging);
  ComPtr<IDispatch> notAForm;
  ASSERT_EQ(reg.As(&notAForm), S_OK);
  const HRESULT notAFormError = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 5);
  EXPECT_EQ(m_->CenterForm(notAForm.Get()), notAFormError);
  EXPECT_EQ(LastError(),
            (std::pair<std::wstring, std::wstring>{L"OrrinModules32:CenterForm",
                                                   L"A passed parameter is not a form/MDIForm"}));
  EXPECT_EQ(m_->CenterMDI(notAForm.Get(), notAForm.Get()), notAFormError);
  EXPECT_EQ(LastError().second, L"A passed parameter is not a form/MDIForm");
  EXPECT_EQ(m_->CenterForm(nullptr), notAFormError);
  VARIANT_BOOL ok = VARIANT_TRUE;
  EXPECT_EQ(m_->fillPict(notAForm.Get(), 0, 0xFFFFFF, Missing(), &ok), notAFormError);
  EXPECT_EQ(m_->TileBG(notAForm.Get(), Missing(), &ok), notAFormError);
  EXPECT_EQ(ok, VARIANT_FALSE);
  EXPECT_EQ(reg->WindowPosSet(notAForm.Get(), wp_AlignCenter), notAFormError);
  Bstr key(L"Software\\W\\Main");
  EXPECT_EQ(reg->WindowPosSave(notAForm.Get(), key, Missing()), notAFormError);
  EXPECT_EQ(vtq::test::RegistrySandbox::KeyExists(L"Software\\W"), false);
  auto tile = lib_.Create<_FrmTile>(CLSID_FrmTile);
  EXPECT_EQ(tile->putref_ofForm(notAForm.Get()), notAFormError);
  EXPECT_EQ(tile->putref_ofForm(nullptr), S_OK);
}

TEST_F(ModulesTest, MaskErrorsReachClientsAsTheirNumbers) {
  auto c = lib_.Create<_OrrinCrypting>(CLSID_OrrinCrypting);
  ASSERT_TRUE(c);
  Bstr shortMask(L"ABCDEFGHIJKLMNO"), repeated(L"ABCDEFGHIJKLMNOA"), good(L"ABCDEFGHIJKLMNOP");
  EXPECT_EQ(c->put_CryptMask(shortMask), static_cast<HRESULT>(0x800A03E9));
  EXPECT_EQ(LastError().first, L"CryptMask");
  EXPECT_EQ(c->put_CryptMask(repeated), static_cast<HRESULT>(0x800A03EA));
  EXPECT_EQ(LastError().second,
            L"The character 'A' in the CryptMask string occured more than once! Change the string "
            L"and reassign it to CryptMask.");
  ASSERT_EQ(c->put_CryptMask(good), S_OK);
  Bstr text(L"secret \u00e4\u20ac"), key(L"key"), shown;
  VARIANT hidden;
  ASSERT_EQ(c->KeyHide(text, key, &hidden), S_OK);
  ASSERT_EQ(V_VT(&hidden), VT_BSTR);
  EXPECT_EQ(std::wstring(V_BSTR(&hidden)).find_first_not_of(L"ABCDEFGHIJKLMNOP"),
            std::wstring::npos);
  ASSERT_EQ(c->KeyShow(V_BSTR(&hidden), key, shown.Out()), S_OK);
  EXPECT_EQ(shown.Text(), text.Text());
  VariantClear(&hidden);
  Bstr foreign(L"not masked"), none;
  EXPECT_EQ(c->KeyShow(foreign, key, none.Out()),
            MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 5));
  EXPECT_EQ(LastError().first, L"OrrinCrypting:KeyShow");
}

TEST_F(ModulesTest, OutputArgumentsOfEveryKind) {
  short red = -1;
  VARIANT typed;
  V_VT(&typed) = VT_BYREF | VT_I2;
  V_I2REF(&typed) = &red;
  VARIANT inner;
  VariantInit(&inner);
  VARIANT byVariant;
  V_VT(&byVariant) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&byVariant) = &inner;
  VARIANT plain;
  VariantInit(&plain);
  ASSERT_EQ(m_->lToRGB(&typed, &byVariant, &plain, 0x123456), S_OK);
  EXPECT_EQ(red, 0x56);
  EXPECT_EQ(V_VT(&inner), VT_I4);
  EXPECT_EQ(V_I4(&inner), 0x34);
  EXPECT_EQ(V_I4(&plain), 0x12);
  // A system colour is split as the colour it stands for.
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  ASSERT_EQ(m_->lToRGB(&typed, &byVariant, &plain, static_cast<long>(0x80000000 | COLOR_WINDOW)),
            S_OK);
  EXPECT_EQ(red, GetRValue(window));
  EXPECT_EQ(V_I4(&inner), GetGValue(window));
  EXPECT_EQ(V_I4(&plain), GetBValue(window));
  VARIANT left, top, width, height;
  for (VARIANT* v : {&left, &top, &width, &height})
    VariantInit(v);
  VARIANT_BOOL ok = VARIANT_FALSE;
  ASSERT_EQ(m_->GetDesktopRect(&left, &top, &width, &height, &ok), S_OK);
  EXPECT_EQ(ok, VARIANT_TRUE);
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  EXPECT_EQ(V_I4(&left), area.left);
  EXPECT_EQ(V_I4(&top), area.top);
  EXPECT_EQ(V_I4(&width), area.right - area.left);
  EXPECT_EQ(V_I4(&height), area.bottom - area.top);
}

TEST_F(ModulesTest, VersionsWeeksSecondsAndPaths) {
  Bstr version, own(lib_.Path().c_str()), fileVersion, cut;
  ASSERT_EQ(m_->get_or_Version(version.Out()), S_OK);
  EXPECT_EQ(version.Text(), L"1.0");
  ASSERT_EQ(m_->FileVersion(own, Missing(), fileVersion.Out()), S_OK);
  EXPECT_EQ(fileVersion.Text(), L"1.0.0.2");
  Bstr bad;
  EXPECT_EQ(m_->FileVersion(own, LongArg(8), bad.Out()),
            MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 5));
  ASSERT_EQ(m_->ParentPath(own, LongArg(pp_ReturnCut), Missing(), cut.Out()), S_OK);
  EXPECT_EQ(cut.Text(), L"orrinlib.dll");
  cvReturn order = cvSameVers;
  Bstr v12(L"1.2"), v110(L"1.10");
  ASSERT_EQ(m_->CompareVersions(v12, v110, Missing(), &order), S_OK);
  EXPECT_EQ(order, cv2IsNewer);
  Bstr seconds;
  ASSERT_EQ(m_->CvtSec(3725, BoolArg(true), seconds.Out()), S_OK);
  EXPECT_EQ(seconds.Text(), L"1h 2min. 05sec.");
  short week = 0;
  ASSERT_EQ(m_->GetKW(44197.75, &week), S_OK);  // 1 January 2021, evening
  EXPECT_EQ(week, 53);
  Bstr monday, expected;
  ASSERT_EQ(m_->DateForKW(1, 2021, Missing(), monday.Out()), S_OK);
  VarBstrFromDate(44200.0, LOCALE_USER_DEFAULT, 0, expected.Out());  // 4 January 2021
  EXPECT_EQ(monday.Text(), expected.Text());
  Bstr none;
  EXPECT_EQ(m_->DateForKW(53, 2021, Missing(), none.Out()),
            MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 5));
  Bstr word, line(L"  copy   a.txt b.txt");
  ASSERT_EQ(m_->GetWord(line, 2, word.Out()), S_OK);
  EXPECT_EQ(word.Text(), L"a.txt");
  Bstr windows;
  ASSERT_EQ(m_->getWinDir(windows.Out()), S_OK);
  EXPECT_FALSE(windows.Text().empty());
}

TEST_F(ModulesTest, MissingFilesAreErrorsNotAnswers) {
  vtq::test::ScratchDir dir;
  const std::string missing = dir / "missing.txt";
  Bstr name(std::wstring(missing.begin(), missing.end()).c_str());
  DATE time = 1;
  EXPECT_EQ(m_->FileTime(name, Missing(), Missing(), &time),
            MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 53));
  EXPECT_EQ(LastError().first, L"OrrinModules32:FileTime");
  Bstr nothing(L"Z:\\no\\such\\program.exe");
  EXPECT_EQ(m_->ExecCmd(nothing), MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 53));
  fc_Return copied = fc_NoError;
  Bstr target(L"Z:\\no\\such\\copy.txt");
  ASSERT_EQ(m_->FCopy(name, target, Missing(), Missing(), Missing(), Missing(), Missing(), &copied),
            S_OK);
  EXPECT_EQ(copied, fc_SourceNotFound);
}

TEST_F(ModulesTest, ClassesRegisterTheHelpAndRemoveORRegTakesItAway) {
  std::wstring folder = lib_.Path();
  folder.resize(folder.rfind(L'\\'));
  HKEY key = nullptr;
  ASSERT_EQ(
      RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\Help", 0, KEY_READ, &key),
      ERROR_SUCCESS);
  wchar_t stored[MAX_PATH] = {};
  DWORD size = sizeof stored;
  EXPECT_EQ(RegQueryValueExW(key, L"or32_1.0.hlp", nullptr, nullptr,
                             reinterpret_cast<BYTE*>(stored), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(stored), folder);
  VARIANT_BOOL removed = VARIANT_FALSE;
  ASSERT_EQ(m_->RemoveORReg(&removed), S_OK);
  EXPECT_EQ(removed, VARIANT_TRUE);
  size = sizeof stored;
  EXPECT_EQ(RegQueryValueExW(key, L"or32_1.0.cnt", nullptr, nullptr,
                             reinterpret_cast<BYTE*>(stored), &size),
            ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
}

TEST_F(ModulesTest, ShortcutThroughTheShellClass) {
  auto shell = lib_.Create<_OrrinShell>(CLSID_OrrinShell);
  ASSERT_TRUE(shell);
  vtq::test::ScratchDir dir;
  const std::string base = dir / "Link";
  Bstr link(std::wstring(base.begin(), base.end()).c_str()), exe(L"C:\\windows\\notepad.exe"),
      args(L"readme.txt"), work(L"C:\\windows"), empty(L"");
  sh_Errors error = sh_err_ErrInParameter;
  ASSERT_EQ(
      shell->ShellCreateLink(link, exe, TextArg(args), TextArg(work), TextArg(exe), LongArg(1),
                             LongArg(show_ShowMinimize), LongArg(hk_CtlShiftZ), &error),
      S_OK);
  EXPECT_EQ(error, sh_err_NoError);
  VARIANT out[7];
  for (VARIANT& v : out)
    VariantInit(&v);
  ASSERT_EQ(shell->ShellLinkInfos(link, &out[0], &out[1], &out[2], &out[3], &out[4], &out[5],
                                  &out[6], &error),
            S_OK);
  EXPECT_EQ(error, sh_err_NoError);
  EXPECT_EQ(TextOf(out[0]), L"C:\\windows\\notepad.exe");
  EXPECT_EQ(TextOf(out[1]), L"readme.txt");
  EXPECT_EQ(TextOf(out[2]), L"C:\\windows");
  EXPECT_EQ(TextOf(out[3]), L"C:\\windows\\notepad.exe");
  EXPECT_EQ(V_I4(&out[4]), 1);
  EXPECT_EQ(V_I4(&out[5]), show_ShowMinimize);
  EXPECT_EQ(V_I4(&out[6]), hk_CtlShiftZ);
  // The description names the library and its version.
  ComPtr<IShellLinkW> read;
  ComPtr<IPersistFile> file;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&read)),
            S_OK);
  ASSERT_EQ(read.As(&file), S_OK);
  ASSERT_EQ(file->Load((std::wstring(base.begin(), base.end()) + L".lnk").c_str(), STGM_READ),
            S_OK);
  wchar_t description[MAX_PATH] = {};
  read->GetDescription(description, MAX_PATH);
  EXPECT_STREQ(description, L"OrrinModules32 - 1.0");
  ASSERT_EQ(shell->ShellCreateLink(empty, exe, Missing(), Missing(), Missing(), Missing(),
                                   Missing(), Missing(), &error),
            S_OK);
  EXPECT_EQ(error, sh_err_EmptyStringNotAllowed);
  ASSERT_EQ(shell->ShellCreateLink(link, exe, Missing(), Missing(), Missing(), Missing(),
                                   LongArg(4), Missing(), &error),
            S_OK);
  EXPECT_EQ(error, sh_err_ErrInParameter);
  Bstr fonts;
  ASSERT_EQ(shell->ShellGetSystemFolders(0, sh_FONTS, fonts.Out()), S_OK);
  Bstr windows;
  m_->getWinDir(windows.Out());
  EXPECT_EQ(fonts.Text(), windows.Text() + L"\\Fonts");
}

}  // namespace
