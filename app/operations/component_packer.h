#pragma once
// Packing through the cabinet component's Compressor (Windows only).

#include "app/operations/cabinet_packing.h"
#include "cabinet/compressor.h"

namespace vtq {

class ComponentPacker final : public CabinetPacker, private cabinet::CompressorEvents {
 public:
  ComponentPacker() = default;
  ComponentPacker(const ComponentPacker&) = delete;
  ComponentPacker& operator=(const ComponentPacker&) = delete;

  void Pack(const PackRequest& request, const PackProgress& progress) override;
  PackedEntry FirstEntry() const override;

 private:
  void Progress(int16_t percent) override;

  cabinet::Compressor compressor_{*this};
  const PackProgress* progress_ = nullptr;
};

}  // namespace vtq
