// The class of every window the configuration mode shows: built from a
// window definition, it wires the definition's controls to their actions
// when it shows, keeps the current picture, and fills its thumbnail grids
// and previews with the project's pictures.
#pragma once

#include <cstdint>

#include "config/uConfigContext.h"
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
  // The close handler: the window's components are destroyed.
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

  TConfigContext& Context() { return m_context; }
  // The name the desktop shows for the program while the window is minimised.
  void SetApplicationTitle(const std::string& title);

 private:
  int PictureCount() const;
  TConfigContext& m_context;
  bool m_closed = false;
  std::string m_applicationTitle;
};

}  // namespace kx
