// The passphrase dialog in both of its uses, the "updating" window and the
// packing window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/win/packing_window.h"
#include "app/win/passphrase_dialog.h"
#include "app/win/resource_ids.h"
#include "app/win/tests/window_harness.h"
#include "app/win/updating_window.h"
#include "wingui/controls.h"

namespace vtq::app {
namespace {

using test::Click;
using test::ModalScripts;
using test::TextOf;

std::optional<std::wstring> AskWith(PassphraseAsk ask, const wchar_t* title,
                                    std::function<void(HWND)> steps) {
  PassphraseDialog dialog(test::Instance(), ask, 3);
  ModalScripts driver({{title, std::move(steps)}});
  auto answer = dialog.Ask(nullptr);
  EXPECT_EQ(driver.Started(), 1u) << "no dialog titled " << std::string(title, title + 5);
  return answer;
}

TEST(PassphraseDialogTest, ConfirmationShowsItsPromptAndEnterAnswersOk) {
  const auto answer = AskWith(PassphraseAsk::kConfirm, L"Password Confirmation", [](HWND dialog) {
    EXPECT_EQ(TextOf(dialog, IDC_lblPrompt),
              L"Before splitting takes place, please retype your password to confirm that "
              L"you have entered it correctly. Passwords are case-sensitive.");
    HWND box = GetDlgItem(dialog, IDC_txtPassword);
    EXPECT_TRUE(GetWindowLongPtrW(box, GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(GetFocus(), box);
    EXPECT_EQ(TextOf(dialog, IDC_txtPassword), L"");
    test::Type(dialog, IDC_txtPassword, L"Secret Word");
    MSG enter{box, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    IsDialogMessageW(dialog, &enter);
  });
  EXPECT_EQ(answer, L"Secret Word");
}

TEST(PassphraseDialogTest, CheckShowsItsOwnTitleAndCancelAnswersNothing) {
  const auto answer = AskWith(PassphraseAsk::kCheck, L"Security check", [](HWND dialog) {
    EXPECT_EQ(TextOf(dialog, IDC_lblPrompt),
              L"This fragment series has been encrypted. Please enter the correct password. "
              L"Passwords are case-sensitive.");
    test::Type(dialog, IDC_txtPassword, L"guess");
    Click(dialog, IDCANCEL);
  });
  EXPECT_EQ(answer, std::nullopt);
}

TEST(UpdatingWindowTest, ShowsItsCaptionUntilClosed) {
  UpdatingWindow window(test::Instance());
  ASSERT_TRUE(window.Show(nullptr));
  EXPECT_TRUE(IsWindowVisible(window.Hwnd()));
  EXPECT_EQ(wingui::GetText(window.Hwnd()), L"Updating your system....");
  EXPECT_EQ(TextOf(window.Hwnd(), IDC_lblUpdating), L"Updating your system....");
  HWND hwnd = window.Hwnd();
  window.Close();
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(PackingWindowTest, ShowsTheStepsCaptionAndFollowsTheProgressUntilClosed) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  PackingWindow window(test::Instance(), [] { return HWND{}; });
  EXPECT_EQ(window.Hwnd(), nullptr);
  window.Show("Combining....");
  HWND hwnd = window.Hwnd();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(TextOf(hwnd, IDC_lblCapt), L"Combining....");
  EXPECT_EQ(wingui::ProgressValue(GetDlgItem(hwnd, IDC_PB)), 0);
  window.SetProgress(37);
  EXPECT_EQ(wingui::ProgressValue(GetDlgItem(hwnd, IDC_PB)), 37);
  window.SetProgress(100);
  EXPECT_EQ(wingui::ProgressValue(GetDlgItem(hwnd, IDC_PB)), 100);
  window.Close();
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(window.Hwnd(), nullptr);
  // Progress after the step has ended goes nowhere.
  window.SetProgress(50);

  // A second step starts from an empty bar under its own caption.
  window.Show("Compressing....");
  EXPECT_EQ(TextOf(window.Hwnd(), IDC_lblCapt), L"Compressing....");
  EXPECT_EQ(wingui::ProgressValue(GetDlgItem(window.Hwnd(), IDC_PB)), 0);
  window.Close();
}

}  // namespace
}  // namespace vtq::app
