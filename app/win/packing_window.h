#pragma once
// frmPrework: the small modeless window with a caption and a progress bar
// shown while the cabinet component packs or extracts. It is created for
// each step and destroyed when the step ends. While packing it offers
// Cancel; every progress step lets the window system draw it and take the
// click, since the component holds the thread in between.

#include <windows.h>

#include <functional>
#include <optional>

#include "app/operations/cabinet_packing.h"
#include "wingui/dialog.h"

namespace vtq::app {

class PackingWindow final : public PackingView {
 public:
  // `owner` gives the main window at the time a step starts.
  PackingWindow(HINSTANCE instance, std::function<HWND()> owner)
      : instance_(instance), owner_(std::move(owner)) {}

  void Show(std::string_view caption) override;
  void SetProgress(int16_t percent) override;
  void Close() override;
  void OfferCancel() override;
  bool CancelRequested() override;

  // The window while a step runs, for the window tests.
  HWND Hwnd() const;

 private:
  class Dialog final : public wingui::Dialog {
   public:
    bool cancelled = false;

   protected:
    bool OnCommand(int id, int code, HWND) override {
      // Cancel (or Esc) only asks; the step stops at its next progress.
      if (id == IDCANCEL && code == BN_CLICKED)
        cancelled = true;
      return id == IDCANCEL;
    }
  };

  void ProcessPendingMessages();

  HINSTANCE instance_;
  std::function<HWND()> owner_;
  std::optional<Dialog> dialog_;
};

}  // namespace vtq::app
