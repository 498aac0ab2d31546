// Draws each of Harrowdel's windows from its template and saves what is on
// the screen as a 24-bit BMP, for scripts/screenshots (which converts them
// to PNG). Nothing is read from or written to the registry: the settings
// live in memory.
//   harrowdel_snapshots OUT_FOLDER [THEME [LANGUAGE]]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/window_commands/window_recovery.h"
#include "app/win/customize_dialog.h"
#include "app/win/batgen_dialog.h"
#include "app/operations/tests/recording_prompts.h"
#include "app/win/main_window.h"
#include "app/win/main_window_controller.h"
#include "app/win/window_services.h"
#include "app/win/packing_window.h"
#include "app/win/passphrase_dialog.h"
#include "app/win/resource_ids.h"
#include "app/win/tests/shell_double.h"
#include "app/win/tests/window_harness.h"
#include "base/win/handles.h"
#include "base/win/restore_guards.h"
#include "engine/tests/support/platform_doubles.h"

namespace {

using vtq::base::win::GdiObject;

// Lets the window paint, then copies its screen area into OUT\NAME.bmp.
bool Capture(HWND window, const std::wstring& path) {
  SetCursorPos(0, 0);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  for (int i = 0; i < 10; ++i) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(30);
  }
  RECT area;
  GetWindowRect(window, &area);
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, width, height));
  HGDIOBJ old = SelectObject(memory, bitmap.Get());
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<char> pixels(static_cast<size_t>(stride) * height);
  GetDIBits(memory, bitmap.Get(), 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
            DIB_RGB_COLORS);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return out.good();
}

class Silence final : public vtq::model::SoundPlayer {
 public:
  void Play(std::wstring_view, bool) override {}
};

// Captures a modal dialog once it shows, then cancels it.
vtq::app::test::ModalScript Snap(const std::wstring& title, const std::wstring& path) {
  return {title, [path](HWND dialog) {
            Capture(dialog, path);
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
          }};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: harrowdel_snapshots OUT_FOLDER [THEME [LANGUAGE]]\n");
    return 2;
  }
  const std::string outAnsi = argv[1];
  const std::wstring out(outAnsi.begin(), outAnsi.end());
  const int theme = argc > 2 ? std::atoi(argv[2]) : 1;
  const int language = argc > 3 ? std::atoi(argv[3]) : 0;

  vtq::base::win::ScopedOle ole;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  vtq::settings::MemoryValues values;
  vtq::settings::SettingsStore store(values);
  store.WriteProgram(L"Theme", int64_t{theme});
  vtq::test::RecordingBoxes boxes;
  vtq::app::test::ScriptedShell shell;
  HINSTANCE instance = GetModuleHandleW(nullptr);

  // Form1 over its model, loaded as at a first start: the stored defaults
  // and the language's captions shown.
  vtq::test::CountingLoop loop;
  vtq::Platform platform{boxes, loop, vtq::SystemDrives(), vtq::SystemFolders()};
  vtq::Globals globals(platform);
  Silence silence;
  vtq::app::WindowPaths paths(globals);
  vtq::test::RecordingPrompts prompts;
  vtq::app::MainWindowController controller(
      {instance, store, globals, shell, silence, paths, prompts, L"C:\\"});
  vtq::app::MainWindow main({instance, store, boxes, shell, L"C:\\"}, language, &controller);
  controller.Attach(main);
  if (!main.Create())
    return 1;
  SetWindowPos(main.Hwnd(), nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  controller.Load(L"");
  bool ok = Capture(main.Hwnd(), out + L"\\Form1.bmp");

  // A split under way: a file and a floppy chosen (the lamps green), its
  // bar part filled, and the packing window of a folder being compressed
  // before it.
  controller.Model().FileToSplitChosen(L"C:\\Users\\me\\Videos\\holiday.mov");
  controller.Model().SplitDestinationChosen(L"A:\\");
  controller.Render(controller.Model().State());
  HWND splitBar = GetDlgItem(main.Hwnd(), IDC_ProgressBar1);
  SendMessageW(splitBar, PBM_SETRANGE32, 0, 100);
  SendMessageW(splitBar, PBM_SETPOS, 45, 0);
  ok = Capture(main.Hwnd(), out + L"\\Form1-splitting.bmp") && ok;
  SendMessageW(splitBar, PBM_SETPOS, 0, 0);
  {
    vtq::app::PackingWindow packing(instance, [&main] { return main.Hwnd(); });
    packing.Show(vtq::kCaptionCompressing);
    packing.OfferCancel();
    packing.SetProgress(60);
    ok = Capture(packing.Hwnd(), out + L"\\frmPrework.bmp") && ok;
    packing.Close();
  }

  // A split with recovery files finished on a fixed disk, and Verify's box
  // on a series that lost one fragment and has another damaged.
  controller.Model().SplitDestinationChosen(L"C:\\Backup\\");
  controller.Model().CheckBoxClicked(vtq::model::Control::kUseRecovery, true);
  controller.Model().TextChanged(vtq::model::Control::kRecoveryPercent, L"20");
  controller.Model().SetOutcome(
      vtq::model::Control::kProgressBar1,
      L"Split: 26 fragments in C:\\Backup\\; recovery files rebuild 5 lost");
  controller.Render(controller.Model().State());
  ok = Capture(main.Hwnd(), out + L"\\Form1-recovery.bmp") && ok;
  {
    vtq::SeriesVerification damaged;
    damaged.report.fragments = 26;
    damaged.report.checkable = damaged.report.checkDigitsChecked = true;
    damaged.report.findings = {
        {2, "C:\\Users\\me\\Backup\\holiday.002", vtq::FragmentFault::kMissing},
        {3, "C:\\Users\\me\\Backup\\holiday.003", vtq::FragmentFault::kCheckDigits}};
    damaged.recovery.files = {"C:\\Users\\me\\Backup\\holiday.par2"};
    damaged.recovery.setComplete = damaged.recovery.checked = true;
    damaged.recovery.faults.fragments = {{2, "holiday.002"}, {3, "holiday.003"}};
    damaged.recovery.lostSlices = 2;
    damaged.recovery.recoverySlices = 6;
    damaged.recovery.moreFragments = 4;
    const vtq::VerifyBox box = vtq::VerifyBoxFor(damaged);
    vtq::app::test::ModalScripts script({Snap(L"Verify", out + L"\\Verify-damaged.bmp")});
    const std::wstring text(box.text.begin(), box.text.end());
    MessageBoxW(main.Hwnd(), text.c_str(), L"Verify", MB_OK | MB_ICONEXCLAMATION);
  }

  {
    vtq::app::CustomizeDialog customize(instance, store, boxes, language, nullptr);
    vtq::app::test::ModalScripts script({Snap(L"Customize", out + L"\\frmOptions.bmp")});
    customize.Show(main.Hwnd());
  }
  {
    vtq::app::BatGenDialog batGen(instance, store);
    vtq::app::test::ModalScripts script(
        {Snap(L"Configure BAT Generator", out + L"\\frmConfBAT.bmp")});
    batGen.Show(main.Hwnd());
  }
  {
    vtq::app::PassphraseDialog ask(instance, vtq::app::PassphraseAsk::kConfirm, theme);
    vtq::app::test::ModalScripts script({Snap(L"Password Confirmation", out + L"\\frmPWconf.bmp")});
    ask.Ask(main.Hwnd());
  }
  return ok ? 0 : 1;
}
