#include "ui/uFlDraw.h"

#include <FL/Enumerations.H>
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <map>
#include <tuple>
#include <vector>

#include "raster/uResample.h"
#include "ui/uFormValues.h"

namespace kx {
namespace {

// Windows faces and the Debian faces (fonts-liberation2, fonts-dejavu) that
// stand in for them: the Liberation faces keep Arial's, Times New Roman's
// and Courier New's metrics, so texts break where their authors saw them
// break; the others are the nearest in shape.
struct TFaceMap {
  std::string_view Windows, Debian;
};
constexpr TFaceMap kFaces[] = {
    {"MS Sans Serif", "Liberation Sans"},   {"Microsoft Sans Serif", "Liberation Sans"},
    {"Arial", "Liberation Sans"},           {"Helvetica", "Liberation Sans"},
    {"Arial Black", "Liberation Sans"},     {"Arial Narrow", "Liberation Sans Narrow"},
    {"Tahoma", "DejaVu Sans Condensed"},    {"Verdana", "DejaVu Sans"},
    {"Segoe UI", "DejaVu Sans"},            {"Trebuchet MS", "DejaVu Sans"},
    {"Century Gothic", "DejaVu Sans"},      {"Small Fonts", "DejaVu Sans Condensed"},
    {"Times New Roman", "Liberation Serif"}, {"MS Serif", "Liberation Serif"},
    {"Times", "Liberation Serif"},          {"Georgia", "DejaVu Serif"},
    {"Garamond", "Liberation Serif"},       {"Book Antiqua", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},     {"Courier", "Liberation Mono"},
    {"Lucida Console", "DejaVu Sans Mono"}, {"Fixedsys", "DejaVu Sans Mono"},
    {"Terminal", "DejaVu Sans Mono"},       {"Consolas", "DejaVu Sans Mono"},
};

Fl_Font FontIndex(std::string_view face, bool bold, bool italic) {
  static std::map<std::tuple<std::string, bool, bool>, Fl_Font> fonts;
  static Fl_Font next = FL_FREE_FONT;
  // FLTK's font names carry the style in their first character.
  auto key = std::make_tuple(std::string(face), bold, italic);
  if (auto it = fonts.find(key); it != fonts.end()) return it->second;
  static std::vector<std::string> names;  // FLTK keeps the pointer
  const char style = bold && italic ? 'P' : bold ? 'B' : italic ? 'I' : ' ';
  names.reserve(1024);
  if (names.size() == names.capacity()) return FL_HELVETICA;  // a definition naming over a thousand faces
  names.push_back(style + std::string(face));
  Fl::set_font(next, names.back().c_str());
  fonts.emplace(std::move(key), next);
  return next++;
}

TBitmap32 WithTransparency(const TBitmap32& b, bool transparent) {
  TBitmap32 out = b;
  const TPixel key = transparent && !b.Empty() ? b.Pixel(0, b.Height() - 1) & 0xFFFFFF : 0;
  for (int y = 0; y < out.Height(); ++y) {
    TPixel* row = out.Row(y);
    for (int x = 0; x < out.Width(); ++x)
      row[x] = transparent && (row[x] & 0xFFFFFF) == key ? 0 : row[x] | 0xFF000000u;
  }
  return out;
}

}  // namespace

Fl_Color FlColor(TPixel p) { return fl_rgb_color(PixelR(p), PixelG(p), PixelB(p)); }

Fl_Cursor FlCursor(TCursorKind kind) {
  switch (kind) {
    case TCursorKind::Default: return FL_CURSOR_DEFAULT;
    case TCursorKind::Arrow: return FL_CURSOR_ARROW;
    case TCursorKind::HandPoint: return FL_CURSOR_HAND;
    case TCursorKind::IBeam: return FL_CURSOR_INSERT;
    case TCursorKind::Cross: return FL_CURSOR_CROSS;
    case TCursorKind::Wait: return FL_CURSOR_WAIT;
    case TCursorKind::Help: return FL_CURSOR_HELP;
    case TCursorKind::SizeAll: return FL_CURSOR_MOVE;
    case TCursorKind::SizeNS: return FL_CURSOR_NS;
    case TCursorKind::SizeWE: return FL_CURSOR_WE;
    case TCursorKind::SizeNWSE: return FL_CURSOR_NWSE;
    case TCursorKind::SizeNESW: return FL_CURSOR_NESW;
    case TCursorKind::Hidden: return FL_CURSOR_NONE;
  }
  return FL_CURSOR_DEFAULT;
}

void ShowHandCursor(Fl_Widget& w, int event) {
  Fl_Window* window = w.window();
  if (!window) return;
  if (event == FL_ENTER) window->cursor(FL_CURSOR_HAND);
  else if (event == FL_LEAVE) window->cursor(FL_CURSOR_DEFAULT);
}

std::string_view MappedFaceName(std::string_view windowsFace) {
  for (const auto& f : kFaces)
    if (SameText(f.Windows, windowsFace)) return f.Debian;
  return windowsFace;
}

Fl_Font FlFont(const TFontDesc& font) { return FontIndex(MappedFaceName(font.Name), font.Bold, font.Italic); }

int FlFontSize(const TFontDesc& font) {
  // A negative height is the character height, which is FLTK's pixel size; a
  // positive one includes the internal leading (about an eighth for these faces).
  if (font.Height < 0) return std::min(-int64_t(font.Height), int64_t(1000));
  if (font.Height == 0) return 11;
  return int(std::min(int64_t(font.Height) * 7 / 8, int64_t(1000)));
}

void SetFlFont(const TFontDesc& font) {
  fl_font(FlFont(font), FlFontSize(font));
  fl_color(FlColor(font.Color));
}

void DrawFontText(const TFontDesc& font, std::string_view text, int x, int y) {
  fl_draw(text.data(), int(text.size()), x, y);
  if (!font.Underline && !font.StrikeOut) return;
  const int w = int(fl_width(text.data(), int(text.size())));
  const int thickness = std::max(1, FlFontSize(font) / 12);
  fl_line_style(FL_SOLID, thickness);
  if (font.Underline) fl_line(x, y + 1 + thickness / 2, x + w - 1, y + 1 + thickness / 2);
  if (font.StrikeOut) fl_line(x, y - fl_height() / 4 + fl_descent() / 2, x + w - 1, y - fl_height() / 4 + fl_descent() / 2);
  fl_line_style(0);
}

TFlPicture::TFlPicture() = default;
TFlPicture::~TFlPicture() = default;

void TFlPicture::Assign(TBitmap32 bitmap) {
  m_bitmap = std::move(bitmap);
  m_image.reset();
  m_stretched.reset();
}

void TFlPicture::SetTransparent(bool transparent) {
  if (transparent == m_transparent) return;
  m_transparent = transparent;
  m_image.reset();
  m_stretched.reset();
}

TFlPicture::TPrepared TFlPicture::Prepare(const TBitmap32& b) {
  TPrepared p;
  p.W = b.Width();
  p.Rgb.resize(size_t(b.Width()) * size_t(b.Height()) * 3);
  uint8_t* o = p.Rgb.data();
  bool opaque = true;
  for (int y = 0; y < b.Height(); ++y) {
    const TPixel* row = b.Row(y);
    for (int x = 0; x < b.Width(); ++x) {
      *o++ = PixelR(row[x]);
      *o++ = PixelG(row[x]);
      *o++ = PixelB(row[x]);
      // Bilinear stretching blends the edges: half covered counts as shown.
      const bool shows = PixelA(row[x]) >= 128;
      opaque = opaque && shows;
      if (!shows) continue;
      if (!p.Runs.empty() && p.Runs.back().Y == y && p.Runs.back().X1 == x) ++p.Runs.back().X1;
      else p.Runs.push_back({y, x, x + 1});
    }
  }
  p.H = b.Height();
  p.Opaque = opaque;
  if (opaque) p.Runs.clear();
  return p;
}

void TFlPicture::TPrepared::Draw(int x, int y) const {
  if (Opaque) {
    fl_draw_image(Rgb.data(), x, y, W, H, 3);
    return;
  }
  for (const TRun& r : Runs)
    fl_draw_image(Rgb.data() + (size_t(r.Y) * size_t(W) + size_t(r.X0)) * 3, x + r.X0, y + r.Y, r.X1 - r.X0, 1, 3,
                  W * 3);
}

void TFlPicture::Draw(int x, int y) const {
  if (m_bitmap.Empty()) return;
  if (!m_image) m_image = std::make_unique<TPrepared>(Prepare(WithTransparency(m_bitmap, m_transparent)));
  m_image->Draw(x, y);
}

void TFlPicture::DrawStretched(int x, int y, int w, int h) const {
  if (m_bitmap.Empty() || w <= 0 || h <= 0) return;
  if (w == m_bitmap.Width() && h == m_bitmap.Height()) return Draw(x, y);
  if (!m_stretched || m_stretchedW != w || m_stretchedH != h) {
    // The transparent colour is found before stretching, so that blended edge
    // pixels do not become a second key colour.
    m_stretched = std::make_unique<TPrepared>(Prepare(ResizeBilinear(WithTransparency(m_bitmap, m_transparent), w, h)));
    m_stretchedW = w;
    m_stretchedH = h;
  }
  m_stretched->Draw(x, y);
}

void DrawBitmap(const TBitmap32& bitmap, int x, int y) {
  if (bitmap.Empty()) return;
  fl_draw_image(
      [](void* data, int x0, int y0, int w, uchar* out) {
        const auto& b = *static_cast<const TBitmap32*>(data);
        const TPixel* row = b.Row(y0) + x0;
        for (int i = 0; i < w; ++i) {
          *out++ = PixelR(row[i]);
          *out++ = PixelG(row[i]);
          *out++ = PixelB(row[i]);
        }
      },
      const_cast<TBitmap32*>(&bitmap), x, y, bitmap.Width(), bitmap.Height(), 3);
}

}  // namespace kx
