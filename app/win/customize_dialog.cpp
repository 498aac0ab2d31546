#include "app/win/customize_dialog.h"

#include "app/win/batgen_dialog.h"
#include "app/win/box_owner.h"
#include "app/win/resource_ids.h"
#include "app/win/theme_colours.h"
#include "wingui/controls.h"

namespace vtq::app {

CustomizeDialog::CustomizeDialog(HINSTANCE instance, settings::SettingsStore& store,
                                 MessageBoxes& boxes, int currentLanguage,
                                 std::function<model::MainWindowDefaults()> readMainWindow)
    : instance_(instance),
      store_(store),
      boxes_(boxes),
      state_(store, boxes, currentLanguage),
      readMainWindow_(std::move(readMainWindow)) {}

INT_PTR CustomizeDialog::Show(HWND owner) {
  return RunModal(instance_, IDD_frmOptions, owner);
}

bool CustomizeDialog::OnInit() {
  wingui::MarkThemeImmune(Item(IDC_cmbTheme));
  wingui::MarkThemeImmune(Item(IDC_cmbLang));
  ApplyColours(ThemeColours(store_.Theme()));
  wingui::SetText(Item(IDC_Label1), state_.ThemeLabel());

  HWND themes = Item(IDC_cmbTheme);
  wingui::ComboClear(themes);
  for (const auto& name : model::CustomizeDialogState::ThemeNames())
    wingui::ComboAdd(themes, name);
  wingui::ComboSelect(themes, state_.Theme());

  HWND languages = Item(IDC_cmbLang);
  wingui::ComboClear(languages);
  for (const auto& name : model::CustomizeDialogState::LanguageNames())
    wingui::ComboAdd(languages, name);
  wingui::ComboSelect(languages, state_.Language());

  wingui::SetChecked(Item(IDC_EnableCustomSounds), state_.SoundsEnabled());
  ShowDescription();
  return true;
}

void CustomizeDialog::ShowDescription() {
  wingui::SetText(Item(IDC_lblThemeDesc), state_.Description());
}

bool CustomizeDialog::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDC_cmbTheme:
      if (code != CBN_SELCHANGE)
        return false;
      state_.SelectTheme(wingui::ComboSelected(Item(IDC_cmbTheme)));
      ShowDescription();
      return true;
    case IDC_cmbLang:
      if (code != CBN_SELCHANGE)
        return false;
      state_.SelectLanguage(wingui::ComboSelected(Item(IDC_cmbLang)));
      ShowDescription();
      return true;
    case IDC_EnableCustomSounds:
      if (code == BN_CLICKED)
        state_.SetSoundsEnabled(wingui::IsChecked(Item(IDC_EnableCustomSounds)));
      return code == BN_CLICKED;
    case IDC_cmdConfBAT: {
      BatGenDialog batGen(instance_, store_);
      batGen.Show(Hwnd());
      return true;
    }
    case IDC_Command1: {
      ScopedBoxOwner owner(boxes_, Hwnd());
      state_.StoreDefaults(readMainWindow_ ? readMainWindow_() : model::MainWindowDefaults{});
      return true;
    }
    case IDOK:
      savedLanguage_ = state_.Save();
      End(IDOK);
      return true;
    default:
      return false;
  }
}

}  // namespace vtq::app
