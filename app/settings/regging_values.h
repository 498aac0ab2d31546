#pragma once
// The settings store's values in the current user's registry, through the
// helper library's registry routines (the same code as its Regging class).

#include "app/settings/registry_values.h"
#include "helperlib/core/registry.h"

namespace vtq::settings {

class ReggingValues final : public RegistryValues {
 public:
  std::optional<std::wstring> Find(std::wstring_view keyPath, std::wstring_view valueName) override;
  bool Write(std::wstring_view keyPath, std::wstring_view valueName,
             std::wstring_view text) override;
  bool Remove(std::wstring_view keyPath, std::wstring_view valueName) override;
  std::wstring LastError() const override { return regging_.LastError(); }

 private:
  orrin::Registry regging_;
};

}  // namespace vtq::settings
