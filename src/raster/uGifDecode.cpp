#include "raster/uGifDecode.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "raster/uDecodeError.h"

namespace kx {
namespace {

struct TMemoryInput {
  const uint8_t* data;
  size_t size, pos;
};

int ReadMemory(GifFileType* gif, GifByteType* buf, int n) {
  auto* in = static_cast<TMemoryInput*>(gif->UserData);
  const size_t count = std::min(size_t(std::max(n, 0)), in->size - in->pos);
  std::memcpy(buf, in->data + in->pos, count);
  in->pos += count;
  return int(count);
}

class TGifFile {
 public:
  explicit TGifFile(TMemoryInput* input) {
    int error = 0;
    m_gif = DGifOpen(input, ReadMemory, &error);
    if (!m_gif) Fail(error);
  }
  ~TGifFile() {
    int error = 0;
    DGifCloseFile(m_gif, &error);
  }
  TGifFile(const TGifFile&) = delete;
  TGifFile& operator=(const TGifFile&) = delete;
  GifFileType* operator->() { return m_gif; }
  GifFileType* get() { return m_gif; }

  // Throws the library's error for a failed call.
  void Check(int result) {
    if (result == GIF_ERROR) Fail(m_gif->Error);
  }

 private:
  [[noreturn]] static void Fail(int error) {
    const char* text = GifErrorString(error);
    throw TDecodeError(std::string("GIF: ") + (text ? text : "cannot decode"));
  }
  GifFileType* m_gif = nullptr;
};

TPixel ColorOf(const ColorMapObject* map, int index) {
  if (!map || index < 0 || index >= map->ColorCount) return MakePixel(0, 0, 0);
  const GifColorType& c = map->Colors[index];
  return MakePixel(c.Red, c.Green, c.Blue);
}

// Reads the extensions of one extension record; returns the transparent colour
// index of a graphic control extension among them, else keeps `transparent`.
void ReadExtension(TGifFile& gif, int& transparent) {
  int code = 0;
  GifByteType* block = nullptr;
  gif.Check(DGifGetExtension(gif.get(), &code, &block));
  while (block) {
    if (code == GRAPHICS_EXT_FUNC_CODE && block[0] >= 4) {
      GraphicsControlBlock gcb{};
      if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) transparent = gcb.TransparentColor;
      code = 0;  // only the first block of the extension carries the fields
    }
    gif.Check(DGifGetExtensionNext(gif.get(), &block));
  }
}

// Interlaced frames store rows in four passes: every 8th row from 0, every
// 8th from 4, every 4th from 2, every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(size_t(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  constexpr int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = start[pass]; y < height; y += step[pass]) rows.push_back(y);
  return rows;
}

}  // namespace

TBitmap32 DecodeGif(std::span<const uint8_t> data) {
  TMemoryInput input{data.data(), data.size(), 0};
  TGifFile gif(&input);
  int transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    gif.Check(DGifGetRecordType(gif.get(), &type));
    if (type == TERMINATE_RECORD_TYPE) throw TDecodeError("GIF holds no frame");
    if (type == EXTENSION_RECORD_TYPE) {
      ReadExtension(gif, transparent);
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE) throw TDecodeError("GIF: unexpected record");
    gif.Check(DGifGetImageDesc(gif.get()));
    break;
  }

  const GifImageDesc& desc = gif->Image;
  int32_t width = gif->SWidth, height = gif->SHeight;
  if (width <= 0 || height <= 0) width = desc.Width, height = desc.Height;  // no logical screen given
  if (width <= 0 || height <= 0 || width > TBitmap32::kMaxSide || height > TBitmap32::kMaxSide ||
      desc.Width <= 0 || desc.Height <= 0 || desc.Width > TBitmap32::kMaxSide || desc.Height > TBitmap32::kMaxSide)
    throw TDecodeError("GIF picture size out of range");
  // The frame's own size counts too: every one of its rows is decoded, even
  // those outside the logical screen.
  if (int64_t(width) * height > kMaxDecodedPixels) throw TDecodeError(TooLargeMessage("GIF", width, height));
  if (int64_t(desc.Width) * desc.Height > kMaxDecodedPixels)
    throw TDecodeError(TooLargeMessage("GIF", desc.Width, desc.Height));

  const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
  if (!map) throw TDecodeError("GIF frame has no colour table");
  TBitmap32 bitmap(width, height, ColorOf(gif->SColorMap, gif->SBackGroundColor));

  std::vector<GifPixelType> line(size_t(desc.Width));
  for (int row : RowOrder(desc.Height, desc.Interlace)) {
    gif.Check(DGifGetLine(gif.get(), line.data(), desc.Width));
    const int64_t y = int64_t(desc.Top) + row;
    if (y < 0 || y >= height) continue;
    TPixel* out = bitmap.Row(int32_t(y));
    for (int x = 0; x < desc.Width; ++x) {
      const int64_t bx = int64_t(desc.Left) + x;
      if (bx >= width) break;
      if (line[size_t(x)] != transparent) out[bx] = ColorOf(map, line[size_t(x)]);
    }
  }
  return bitmap;
}

}  // namespace kx
