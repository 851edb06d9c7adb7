// Builds small GIF files in memory for tests, frame by frame, with giflib's
// encoder: a logical screen with a global colour table, and frames with
// their own rectangle, delay, disposal and transparent index.
#pragma once

#include <gif_lib.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace kxtest {

struct TGifColor {
  uint8_t R, G, B;
};

struct TGifFrameSpec {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  std::vector<uint8_t> Pixels;  // Width x Height colour indices, top row first
  int Delay = 10;               // hundredths of a second
  int Disposal = 0;
  int Transparent = -1;         // NO_TRANSPARENT_COLOR
  bool Control = true;          // write a graphic control extension
  std::string Raw;              // when set: these bytes in the frame's place, verbatim
};

inline std::string MakeGif(int width, int height, const std::vector<TGifColor>& palette,
                           const std::vector<TGifFrameSpec>& frames) {
  std::string out;
  const auto write = [](GifFileType* gif, const GifByteType* data, int n) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), size_t(n));
    return n;
  };
  int error = 0;
  GifFileType* gif = EGifOpen(&out, write, &error);
  if (!gif) throw std::runtime_error("EGifOpen failed");
  int size = 2;
  while (size < int(palette.size())) size *= 2;
  std::vector<GifColorType> colors(size_t(size), GifColorType{0, 0, 0});
  for (size_t i = 0; i < palette.size(); ++i) colors[i] = {palette[i].R, palette[i].G, palette[i].B};
  ColorMapObject* map = GifMakeMapObject(size, colors.data());
  EGifSetGifVersion(gif, true);
  bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK;
  for (const TGifFrameSpec& f : frames) {
    if (!f.Raw.empty()) {
      out += f.Raw;  // the encoder writes each frame out as it ends
      continue;
    }
    if (f.Control) {
      GraphicsControlBlock gcb{f.Disposal, false, f.Delay, f.Transparent};
      GifByteType ext[4];
      EGifGCBToExtension(&gcb, ext);
      ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext) == GIF_OK;
    }
    ok = ok && EGifPutImageDesc(gif, f.Left, f.Top, f.Width, f.Height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < f.Height; ++y)
      ok = EGifPutLine(gif, const_cast<GifPixelType*>(f.Pixels.data()) + size_t(y) * size_t(f.Width), f.Width) ==
           GIF_OK;
  }
  GifFreeMapObject(map);
  EGifCloseFile(gif, &error);
  if (!ok) throw std::runtime_error("GIF encoding failed");
  return out;
}

// A frame of one colour index.
inline TGifFrameSpec SolidFrame(int left, int top, int w, int h, uint8_t index) {
  TGifFrameSpec f;
  f.Left = left, f.Top = top, f.Width = w, f.Height = h;
  f.Pixels.assign(size_t(w) * size_t(h), index);
  return f;
}

}  // namespace kxtest
