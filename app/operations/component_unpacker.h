#pragma once
// Unpacking through the cabinet component's Extractor (Windows only).

#include "app/operations/cabinet_unpacking.h"
#include "cabinet/extractor.h"

namespace vtq {

class ComponentUnpacker final : public CabinetUnpacker, private cabinet::ExtractorEvents {
 public:
  ComponentUnpacker() = default;
  ComponentUnpacker(const ComponentUnpacker&) = delete;
  ComponentUnpacker& operator=(const ComponentUnpacker&) = delete;

  void Open(const std::wstring& cabinet) override;
  std::wstring Cabinet() const override;
  int32_t EntryCount() override;
  std::wstring FirstEntryName() override;
  void Extract(const std::wstring& folder, const PackProgress& progress) override;

 private:
  void Progress(const std::wstring& name, int16_t percent) override;

  cabinet::Extractor extractor_{*this};
  const PackProgress* progress_ = nullptr;
};

}  // namespace vtq
