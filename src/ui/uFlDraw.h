// FLTK drawing for the components of skinned windows: our colours, fonts,
// cursors and pictures as FLTK has them. Needs an FLTK drawing context
// (inside a widget's draw(), or an off-screen surface made current).
#pragma once

#include <FL/Enumerations.H>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "raster/uBitmap.h"
#include "ui/uComponent.h"

class Fl_Widget;

namespace kx {

Fl_Color FlColor(TPixel p);
Fl_Cursor FlCursor(TCursorKind kind);
// The hand pointer over a widget: its window shows the hand on FL_ENTER and
// the default pointer again on FL_LEAVE; other events change nothing.
void ShowHandCursor(Fl_Widget& w, int event);

// The Debian face a Windows face name is shown with ("Arial" and "MS Sans
// Serif" in Liberation Sans, and so on); other names pass through, so that
// fontconfig picks its nearest match.
std::string_view MappedFaceName(std::string_view windowsFace);
// The FLTK font and pixel size of a font description.
Fl_Font FlFont(const TFontDesc& font);
int FlFontSize(const TFontDesc& font);
// Makes the font current (fl_font and fl_color).
void SetFlFont(const TFontDesc& font);
// Draws text at the baseline (x, y) in the current font, underlined or struck
// out as the description says.
void DrawFontText(const TFontDesc& font, std::string_view text, int x, int y);

// A picture as a component holds it: the bitmap, and whether its transparent
// colour (the pixel at its bottom-left corner, as Windows bitmaps choose it)
// is left out when drawn. The FLTK image is built on first use and kept.
class TFlPicture {
 public:
  TFlPicture();
  ~TFlPicture();
  TFlPicture(const TFlPicture&) = delete;
  TFlPicture& operator=(const TFlPicture&) = delete;

  void Assign(TBitmap32 bitmap);  // an empty bitmap is an empty picture
  void SetTransparent(bool transparent);
  bool Transparent() const { return m_transparent; }
  bool Empty() const { return m_bitmap.Empty(); }
  int Width() const { return m_bitmap.Width(); }
  int Height() const { return m_bitmap.Height(); }
  const TBitmap32& Bitmap() const { return m_bitmap; }

  // At its own size with its top-left corner at (x, y).
  void Draw(int x, int y) const;
  // Stretched over the rectangle (bilinear; the aspect ratio is not kept).
  void DrawStretched(int x, int y, int w, int h) const;

 private:
  // A bitmap made ready for FLTK: its RGB bytes, and when some pixels do not
  // show, the rows' runs of those that do. FLTK's images are not used: the
  // first draw of one into an off-screen surface (kxtool window) makes its
  // server-side copy through a second surface and leaves the clip of the
  // widgets drawn after it empty.
  struct TPrepared {
    bool Opaque = true;
    int H = 0;
    std::vector<uint8_t> Rgb;
    struct TRun {
      int Y, X0, X1;
    };
    std::vector<TRun> Runs;
    int W = 0;
    void Draw(int x, int y) const;
  };
  static TPrepared Prepare(const TBitmap32& withAlpha);
  TBitmap32 m_bitmap;
  bool m_transparent = false;
  mutable std::unique_ptr<TPrepared> m_image;
  mutable std::unique_ptr<TPrepared> m_stretched;
  mutable int m_stretchedW = 0, m_stretchedH = 0;
};

// Draws a bitmap opaquely with its top-left corner at (x, y).
void DrawBitmap(const TBitmap32& bitmap, int x, int y);

}  // namespace kx
