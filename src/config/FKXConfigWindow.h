// The class of every window the configuration mode shows: built from a
// window definition, it wires the definition's controls to their actions
// when it shows, keeps the current picture, and fills its thumbnail grids
// and previews with the project's pictures.
#pragma once

#include <cstdint>
#include <optional>

#include "config/uConfigContext.h"
#include "package/uUserSettingsFile.h"
#include "ui/uKXFormParent.h"

namespace kx {

class TKXThumbnail2;

class TfmKXCOnfigWindow : public TfmKXFormParent {
 public:
  explicit TfmKXCOnfigWindow(TConfigContext& context);
  ~TfmKXCOnfigWindow() override;

  int32_t CurrentIndex = 0;
  bool SaveOnClose = false;

  // The show handler: actions on the clickable controls, writable edit
  // boxes, grids and previews filled, each component shown by bit 0 of its
  // Tag; then the current picture selected.
  void FormShow();
  // The close handler: with SaveOnClose, the current picture and every
  // grid's unticked pictures go to the user settings file (persisting runs).
  void FormClose();
  // Makes a picture current (clamped to the list) and shows it in every preview.
  void SelectPicture(int32_t index);
  // The click handler of the bound controls.
  void ExecuteAction(TComponent& sender);

  // Shows the window and returns when it has closed (nested inside another
  // window's click when opened by "Show window").
  void ShowModal();
  // Closes the window: the close handler runs and the modal loop ends.
  void CloseWindow();
  // True when a visible, enabled control closes the window: a cancel button
  // (TButton's Cancel, a TBitBtn of the Cancel or Close kind) or a control
  // bound to "Close window". The Escape key then closes the window too.
  bool HasCancelControl();

  // The user settings file's [Setting] Index and [Files], persisting runs only.
  void LoadCurrentIndex(const TUserSettings& settings);
  void SaveCurrentIndex(TUserSettings& settings) const;
  void LoadChecks(const TUserSettings& settings, TKXThumbnail2& grid) const;
  void SaveChecks(TUserSettings& settings, const TKXThumbnail2& grid) const;

  TConfigContext& Context() { return m_context; }
  // The name the desktop shows for the program while the window is minimised.
  void SetApplicationTitle(const std::string& title);

 private:
  int PictureCount() const;
  // The picture at a position the file spells as this window writes it
  // ("3", not "03" or "+3"); nullopt for any other and for none in the list.
  std::optional<int> PictureAt(const TPicturePosition& position) const;
  TConfigContext& m_context;
  bool m_closed = false;
  std::string m_applicationTitle;
};

}  // namespace kx
