#include "raster/uGifFrames.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "raster/uDecodeError.h"
#include "raster/uObjectBlend.h"

namespace kx {
namespace {

// What every composed frame costs beyond its pixels (bitmap and delay).
constexpr size_t kFrameOverhead = 128;
constexpr int32_t kMaxSide = TBitmap32::kMaxSide;

struct TInput {
  const uint8_t* Data;
  size_t Size, Pos;
};

int ReadInput(GifFileType* gif, GifByteType* buf, int n) {
  auto* in = static_cast<TInput*>(gif->UserData);
  const size_t count = std::min(size_t(std::max(n, 0)), in->Size - in->Pos);
  std::memcpy(buf, in->Data + in->Pos, count);
  in->Pos += count;
  return int(count);
}

struct TGifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

// The graphic control extension that applies to the next frame.
struct TControl {
  bool Present = false;
  int Disposal = 0;
  int Transparent = NO_TRANSPARENT_COLOR;
  uint32_t Delay = 0;
};

// Reads one extension record; false when the data breaks off.
bool ReadExtension(GifFileType* gif, TControl& control) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
  bool first = true;
  while (block) {
    if (first && code == GRAPHICS_EXT_FUNC_CODE && block[0] >= 4) {
      GraphicsControlBlock gcb{};
      if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) {
        control.Present = true;
        control.Disposal = gcb.DisposalMode;
        control.Transparent = gcb.TransparentColor;
        control.Delay = uint32_t(std::max(gcb.DelayTime, 0));
      }
    }
    first = false;
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
  }
  return true;
}

// The first entry of the table with the colour, or -1.
int IndexOf(const ColorMapObject* map, uint8_t r, uint8_t g, uint8_t b) {
  if (!map) return -1;
  for (int i = 0; i < map->ColorCount; ++i)
    if (map->Colors[i].Red == r && map->Colors[i].Green == g && map->Colors[i].Blue == b) return i;
  return -1;
}

// Interlaced frames store rows in four passes.
int RowAt(int i, int height, bool interlaced) {
  if (!interlaced) return i;
  constexpr int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    const int n = height > start[pass] ? (height - start[pass] + step[pass] - 1) / step[pass] : 0;
    if (i < n) return start[pass] + i * step[pass];
    i -= n;
  }
  return -1;
}

// Skips the image data of a frame that has no pixels.
bool SkipImageData(GifFileType* gif) {
  int codeSize = 0;
  GifByteType* block = nullptr;
  if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR) return false;
  while (block)
    if (DGifGetCodeNext(gif, &block) == GIF_ERROR) return false;
  return true;
}

// Skips what is left of a frame's image data after some of its lines.
bool SkipRest(GifFileType* gif) {
  GifByteType* block = nullptr;
  do
    if (DGifGetCodeNext(gif, &block) == GIF_ERROR) return false;
  while (block);
  return true;
}

class TComposer {
 public:
  TComposer(GifFileType* gif, const TGifFrameOptions& options, TGifFrames& out)
      : m_gif(gif), m_options(options), m_out(out) {}

  // Reads records until the end, a break or the budget.
  void Run() {
    TControl control;
    for (;;) {
      GifRecordType type = UNDEFINED_RECORD_TYPE;
      if (DGifGetRecordType(m_gif, &type) == GIF_ERROR) return;
      if (type == TERMINATE_RECORD_TYPE) return;
      if (type == EXTENSION_RECORD_TYPE) {
        if (!ReadExtension(m_gif, control)) return;
        continue;
      }
      if (type != IMAGE_DESC_RECORD_TYPE) return;
      if (DGifGetImageDesc(m_gif) == GIF_ERROR) return;
      if (!Frame(control)) return;
      control = TControl();
    }
  }

 private:
  // Decodes one frame and composes it; false to stop.
  bool Frame(const TControl& control) {
    const GifImageDesc& d = m_gif->Image;
    if (m_out.Frames.empty() && !StartCanvas(d)) return false;
    const size_t frameBytes = size_t(m_out.Width) * size_t(m_out.Height) * 4 + kFrameOverhead;
    if (m_used + frameBytes > m_options.MaxBytes) return false;
    if (d.Width <= 0 || d.Height <= 0 || d.Width > kMaxSide || d.Height > kMaxSide) {
      if (d.Width != 0 && d.Height != 0) return false;  // beyond any sane frame
      if (!SkipImageData(m_gif)) return false;
      Emit(control, 0, 0, 0, 0);
      return true;
    }
    // The part of the frame inside the screen, as colour indices.
    const int64_t left = d.Left, top = d.Top;
    const int64_t cx0 = std::clamp<int64_t>(left, 0, m_out.Width), cx1 = std::clamp<int64_t>(left + d.Width, 0, m_out.Width);
    const int64_t cy0 = std::clamp<int64_t>(top, 0, m_out.Height), cy1 = std::clamp<int64_t>(top + d.Height, 0, m_out.Height);
    const auto cw = int32_t(cx1 - cx0), ch = int32_t(cy1 - cy0);
    m_indices.assign(size_t(cw) * size_t(ch), 0);
    m_read.assign(size_t(ch), 0);
    m_line.resize(size_t(d.Width));
    // Lines are decoded up to the last one that shows (or, for the first
    // frame's key colour, its bottom row); the rest of the data is skipped
    // undecoded. Decoding stops at the budget, which no frame of a GIF whose
    // frames fit its screen reaches before the composed frames do.
    const bool needBottom = m_out.Frames.empty() && m_options.TransparentType == 1;
    const int lines = LinesNeeded(d, cy0, cy1, cw > 0, needBottom);
    const uint64_t work = uint64_t(lines) * uint64_t(d.Width);
    if (m_decoded + work > m_options.MaxBytes / 4) return false;
    m_decoded += work;
    bool complete = true;
    int bottomLeft = -1;
    for (int i = 0; i < lines; ++i) {
      if (DGifGetLine(m_gif, m_line.data(), d.Width) == GIF_ERROR) {
        complete = false;
        break;
      }
      const int row = RowAt(i, d.Height, d.Interlace);
      if (row == d.Height - 1) bottomLeft = m_line[0];
      const int64_t y = top + row;
      if (y < cy0 || y >= cy1 || cw == 0) continue;
      std::memcpy(m_indices.data() + size_t(y - cy0) * size_t(cw), m_line.data() + (cx0 - left), size_t(cw));
      m_read[size_t(y - cy0)] = 1;
    }
    if (complete && lines < d.Height && !SkipRest(m_gif)) complete = false;
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : m_gif->SColorMap;
    if (m_out.Frames.empty()) FindKeyIndex(map, bottomLeft);
    int transparent = NO_TRANSPARENT_COLOR;
    if (m_options.Transparent && control.Present)
      transparent = m_options.TransparentType == 1 || m_options.TransparentType == 2 ? m_keyIndex : control.Transparent;
    const int disposal = Disposal(control);
    if (disposal == DISPOSE_PREVIOUS) m_saved = m_canvas;
    Draw(map, transparent, int32_t(cx0), int32_t(cy0), cw, ch);
    Emit(control, int32_t(cx0), int32_t(cy0), cw, ch);
    return complete;
  }

  // How many lines of the frame, in stored order, reach the last one needed:
  // a row inside the screen's rows [cy0, cy1) (when columns show at all),
  // and the bottom row when asked.
  static int LinesNeeded(const GifImageDesc& d, int64_t cy0, int64_t cy1, bool columnsShow, bool bottom) {
    int lines = 0;
    for (int i = 0; i < d.Height; ++i) {
      const int row = RowAt(i, d.Height, d.Interlace);
      const int64_t y = int64_t(d.Top) + row;
      if ((columnsShow && y >= cy0 && y < cy1) || (bottom && row == d.Height - 1)) lines = i + 1;
    }
    return lines;
  }

  bool StartCanvas(const GifImageDesc& d) {
    int64_t w = m_gif->SWidth, h = m_gif->SHeight;
    if (w <= 0 || h <= 0) w = d.Width, h = d.Height;  // no logical screen given
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || size_t(w) * size_t(h) * 4 > m_options.MaxBytes)
      return false;
    m_out.Width = int32_t(w);
    m_out.Height = int32_t(h);
    m_canvas = TBitmap32(m_out.Width, m_out.Height, kGifKeyFill);
    return true;
  }

  // The transparent index of TransparentType 1 and 2.
  void FindKeyIndex(const ColorMapObject* frameMap, int bottomLeft) {
    const ColorMapObject* global = m_gif->SColorMap;
    if (m_options.TransparentType == 1) {
      if (frameMap && bottomLeft >= 0 && bottomLeft < frameMap->ColorCount) {
        const GifColorType& c = frameMap->Colors[bottomLeft];
        m_keyIndex = IndexOf(global, c.Red, c.Green, c.Blue);
      }
    } else if (m_options.TransparentType == 2) {
      const TPixel k = m_options.KeyColor;
      m_keyIndex = IndexOf(global, PixelR(k), PixelG(k), PixelB(k));
    }
  }

  void Draw(const ColorMapObject* map, int transparent, int32_t x0, int32_t y0, int32_t w, int32_t h) {
    for (int32_t y = 0; y < h; ++y) {
      if (!m_read[size_t(y)]) continue;
      const GifPixelType* in = m_indices.data() + size_t(y) * size_t(w);
      TPixel* out = m_canvas.Row(y0 + y) + x0;
      for (int32_t x = 0; x < w; ++x) {
        const int i = in[x];
        if (i == transparent) continue;
        if (map && i < map->ColorCount) out[x] = MakePixel(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
        else out[x] = MakePixel(0, 0, 0);
      }
    }
  }

  int Disposal(const TControl& control) const {
    return control.Present && m_options.RefreshFrame ? DISPOSE_BACKGROUND : control.Disposal;
  }

  // Keeps the composed frame, then disposes of it: its rectangle back to the
  // fill (2) or to what the canvas held before it was drawn (3).
  void Emit(const TControl& control, int32_t x0, int32_t y0, int32_t w, int32_t h) {
    m_used += size_t(m_out.Width) * size_t(m_out.Height) * 4 + kFrameOverhead;
    m_out.Frames.push_back(m_canvas);
    m_out.Delays.push_back(control.Delay);
    const int disposal = Disposal(control);
    const TRect r = TRect::FromSize(x0, y0, w, h);
    if (disposal == DISPOSE_BACKGROUND) {
      m_canvas.FillRect(r, kGifKeyFill);
    } else if (disposal == DISPOSE_PREVIOUS && !m_saved.Empty()) {
      for (int32_t y = r.Top; y < r.Bottom; ++y)
        std::memcpy(m_canvas.Row(y) + r.Left, m_saved.Row(y) + r.Left, size_t(r.Width()) * sizeof(TPixel));
    }
  }

  GifFileType* m_gif;
  const TGifFrameOptions& m_options;
  TGifFrames& m_out;
  TBitmap32 m_canvas, m_saved;  // m_saved: the canvas before a frame of disposal 3
  size_t m_used = 0;
  uint64_t m_decoded = 0;  // pixels of frame lines decoded
  int m_keyIndex = -1;
  std::vector<GifPixelType> m_indices, m_line;
  std::vector<uint8_t> m_read;
};

}  // namespace

TGifFrames DecodeGifFrames(std::span<const uint8_t> data, const TGifFrameOptions& options) {
  TInput input{data.data(), data.size(), 0};
  int error = 0;
  std::unique_ptr<GifFileType, TGifCloser> gif(DGifOpen(&input, ReadInput, &error));
  if (!gif) {
    const char* text = GifErrorString(error);
    throw TDecodeError(std::string("GIF: ") + (text ? text : "cannot decode"));
  }
  TGifFrames frames;
  TComposer(gif.get(), options, frames).Run();
  if (frames.Frames.empty()) throw TDecodeError("GIF holds no frame that decodes");
  return frames;
}

size_t GifFrameAt(std::span<const uint32_t> delays, uint64_t elapsedMs, int32_t speed) {
  if (delays.size() <= 1 || speed <= 0) return 0;
  // A frame lasts delay x 10 x 100 / speed ms; compared in units of 1 / speed ms.
  const auto last = [](uint32_t d) { return uint64_t(d <= 1 ? 10 : d) * 1000; };
  uint64_t loop = 0;
  for (uint32_t d : delays) loop += last(d);
  uint64_t t = elapsedMs % loop * uint64_t(speed) % loop;
  // elapsed x speed mod loop, without overflow: (elapsed mod loop) x speed < 2^64.
  for (size_t i = 0; i < delays.size(); ++i) {
    const uint64_t d = last(delays[i]);
    if (t < d) return i;
    t -= d;
  }
  return 0;
}

}  // namespace kx
