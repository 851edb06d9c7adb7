// The picture preview of skinned windows: a picture box that
// shows one picture file stretched to its own size.
//
// How the control treats the cases a caller might wonder about:
// - The still pictures it shows are those the show plays (IsStillPicture,
//   package/uFileIO.h), so the preview and the show never disagree.
// - The blank picture (another extension, or a ".kxp" file that cannot be
//   read) is white.
// - The bitmap made by SetFileName has the control's size at that moment; a
//   later resize stretches it again (bilinear) to the new size.
#pragma once

#include <FL/Fl_Widget.H>

#include <string>
#include <string_view>

#include "raster/uBitmap.h"
#include "ui/uComponent.h"
#include "ui/uFlDraw.h"

namespace kx {

class TKXPreview : public Fl_Widget, public TComponent {
 public:
  static constexpr TPixel kBlank = MakePixel(255, 255, 255);

  TKXPreview(int x = 0, int y = 0, int w = 105, int h = 105, const char* label = nullptr);

  // TComponent
  Fl_Widget* Widget() override { return this; }
  // A TImage's properties: Picture.Data, Stretch, Proportional, Center,
  // Transparent, AutoSize, IncrementalDisplay (it always stretches).
  bool SetProperty(std::string_view name, const TFormValue& value) override;
  void Loaded() override;

  // Fl_Widget: a press is taken; a release inside the control clicks it.
  void draw() override;
  int handle(int event) override;

  // Shows that picture file: ".KXP" through TProject::Load, a still picture
  // (IsStillPicture) decoded (a picture that does not decode throws
  // a std::runtime_error, the picture shown stays), anything else blank; the
  // result is resampled (bilinear) to the control's width and height.
  void SetFileName(const std::string& path);
  const std::string& FileName() const { return m_fileName; }

  // The picture shown (drawn stretched to the control).
  const TFlPicture& Picture() const { return m_picture; }
  void SetPicture(TBitmap32 bitmap);

 private:
  std::string m_fileName;
  TFlPicture m_picture;
  bool m_pressed = false;
};

}  // namespace kx
