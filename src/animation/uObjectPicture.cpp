#include "animation/uObjectPicture.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <exception>
#include <span>

#include "devices/uSharedFolder.h"
#include "os/uFileAccess.h"
#include "os/uPlatform.h"
#include "package/uIniFile.h"
#include "raster/uFastScale.h"
#include "raster/uPictureDecode.h"
#include "raster/uPngAlpha.h"
#include "raster/uSystemColor.h"

namespace kx {
namespace {

bool HasPngExtension(const std::string& name) {
  if (name.size() < 4) return false;
  std::string ext = name.substr(name.size() - 4);
  for (char& c : ext) c = char(std::toupper(static_cast<unsigned char>(c)));
  return ext == ".PNG";
}

std::span<const uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

}  // namespace

// ---- what both kinds share ----

void TAnimImgObject::LoadObjectText(const TIniFile& ini, const std::string& s) {
  FileName = ini.ReadString(s, "Filename", FileName);
  Transparent = ini.ReadInteger(s, "Transparent", 1, TIntSyntax::DecimalOrHex) != 0;
  TransparentType = uint8_t(ini.ReadInteger(s, "TransparentType", DefaultTransparentType(), TIntSyntax::DecimalOrHex));
  TransparentColor = ini.ReadInteger(s, "TransparentColor", TransparentColor, TIntSyntax::DecimalOrHex);
  LoadOwnKeys(ini, s);
  LoadFromText(ini, s);
}

void TAnimImgObject::LocateFile(const std::string& folder) {
  if (!FileExists(FileName)) FileName = folder + NamePart(FileName);
}

std::string TAnimImgObject::FindFile() {
  if (!FileExists(FileName)) FileName = GetSharedFolder() + "images/" + NamePart(FileName);
  return FileExists(FileName) ? FileName : std::string();
}

void TAnimImgObject::SetNoPicture() {
  m_hasPicture = false;
  PictureWidth = PictureHeight = 0;
  TAnimObject::Stop();
}

// ---- still pictures ----

uint8_t TImgObject::DefaultTransparentType() const { return HasPngExtension(FileName) ? 0 : 1; }

void TImgObject::SaveOwnKeys(TIniFile& ini, const std::string& s) const {
  ini.WriteString(s, "ObjType", "IMG");
  ini.WriteString(s, "Filename", FileName);
  ini.WriteInteger(s, "Transparent", Transparent);
  ini.WriteInteger(s, "TransparentType", TransparentType);
  ini.WriteInteger(s, "TransparentColor", TransparentColor);
}

// A file that is found nowhere or does not decode leaves the object without
// a picture: it is never drawn and never steps, and the others run on.
void TImgObject::Start(uint32_t now, TRandom& random, bool reseed) {
  const std::string path = FindFile();
  try {
    if (path.empty()) throw std::runtime_error("no picture file");
    LoadPicture(path);
  } catch (const std::exception&) {
    Picture = TBitmap32();
    AlphaMask.clear();
    SetNoPicture();
    return;
  }
  m_hasPicture = true;
  Alpha = FullAlpha();
  for (TScaled& s : m_scaled) s.Release();
  StartMotion(now, random, reseed);
}

void TImgObject::LoadPicture(const std::string& path) {
  const std::string bytes = ReadPictureBytes(path);
  Picture = DecodePicture(Bytes(bytes));
  IsPng = HasPngExtension(path);
  HasAlphaMask = IsPng && PictureKindOf(Bytes(bytes)) == TPictureKind::Png && PngHasAlpha(Bytes(bytes));
  AlphaMask.clear();
  if (HasAlphaMask) {
    AlphaMask.reserve(size_t(Picture.Width()) * size_t(Picture.Height()));
    for (int32_t y = 0; y < Picture.Height(); ++y)
      for (int32_t x = 0; x < Picture.Width(); ++x) AlphaMask.push_back(PixelA(Picture.Pixel(x, y)));
  }
  TransparentKey = Picture.Pixel(0, Picture.Height() - 1);
  if (TransparentType == 2) TransparentKey = ColorValueToPixel(TransparentColor);
  PictureWidth = Picture.Width();
  PictureHeight = Picture.Height();
}

// Bytes held by the scaled copies of all picture objects.
static std::atomic<int64_t> g_scaledBytes{0};

TImgObject::TScaled::~TScaled() { Release(); }

void TImgObject::TScaled::Release() {
  g_scaledBytes -= int64_t(Bitmap.StrideBytes()) * Bitmap.Height();
  Bitmap = TBitmap32();
  W = H = 0;
}

const TBitmap32* TImgObject::ScaledTo(int32_t w, int32_t h, bool mirrored) {
  ++m_uses;
  TScaled* oldest = &m_scaled[0];
  for (TScaled& s : m_scaled) {
    if (s.W == w && s.H == h && s.Mirrored == mirrored) {
      s.LastUse = m_uses;
      return &s.Bitmap;
    }
    if (s.LastUse < oldest->LastUse) oldest = &s;
  }
  const int64_t bytes = int64_t(w) * h * int64_t(sizeof(TPixel));
  oldest->Release();
  if (int64_t(w) * h > kMaxScaledPixels || g_scaledBytes + bytes > kMaxScaledBytes) return nullptr;
  TBitmap32 scaled = ScaleFast(Picture, w, h);
  if (mirrored)
    for (int32_t y = 0; y < h; ++y) std::reverse(scaled.Row(y), scaled.Row(y) + w);
  g_scaledBytes += bytes;
  oldest->W = w, oldest->H = h, oldest->Mirrored = mirrored, oldest->LastUse = m_uses;
  oldest->Bitmap = std::move(scaled);
  return &oldest->Bitmap;
}

void TImgObject::Draw(TBitmap32& dst, const TRect& rect, bool mirrored, uint32_t) {
  if (!m_hasPicture) return;
  TObjectBlend blend;
  blend.Alpha = Alpha;
  blend.UseAlpha = IsPng && Transparent && TransparentType == 0 && HasAlphaMask;
  blend.UseKey = Transparent && !(IsPng && TransparentType == 0);
  blend.Key = TransparentKey;
  const int64_t w = int64_t(rect.Right) - rect.Left, h = int64_t(rect.Bottom) - rect.Top;
  if (w <= 0 || h <= 0) return;
  if (w == Picture.Width() && h == Picture.Height() && !mirrored) {
    StretchBlend(dst, rect, Picture, false, blend);
    return;
  }
  const TBitmap32* scaled = w <= kMaxScaledPixels && h <= kMaxScaledPixels ? ScaledTo(int32_t(w), int32_t(h), mirrored) : nullptr;
  if (scaled) StretchBlend(dst, rect, *scaled, false, blend);
  else StretchBlend(dst, rect, Picture, mirrored, blend);
}

// ---- animated GIFs ----

void TGifObject::LoadOwnKeys(const TIniFile& ini, const std::string& s) {
  AnimSpeed = ini.ReadInteger(s, "AnimSpeed", 10, TIntSyntax::DecimalOrHex);
  RefreshFrame = ini.ReadInteger(s, "RefreshFrame", 0, TIntSyntax::DecimalOrHex) != 0;
}

void TGifObject::SaveOwnKeys(TIniFile& ini, const std::string& s) const {
  ini.WriteString(s, "ObjType", "GIF");
  ini.WriteString(s, "Filename", FileName);
  ini.WriteInteger(s, "AnimSpeed", AnimSpeed);
  ini.WriteInteger(s, "Transparent", Transparent);
  ini.WriteInteger(s, "TransparentType", TransparentType);
  ini.WriteInteger(s, "TransparentColor", TransparentColor);
  ini.WriteInteger(s, "RefreshFrame", RefreshFrame);
}

int32_t TGifObject::PlaySpeed() const {
  const int64_t s = AnimSpeed <= 10 ? int64_t(AnimSpeed) * 10 : int64_t(AnimSpeed) * 50 - 400;
  return int32_t(std::clamp<int64_t>(s, 0, 1000));
}

// Every Start decodes the GIF anew and plays from frame 0.
void TGifObject::Start(uint32_t now, TRandom& random, bool reseed) {
  Painting = false;
  const std::string path = FindFile();
  try {
    if (path.empty()) throw std::runtime_error("no picture file");
    TGifFrameOptions options;
    options.Transparent = Transparent;
    options.TransparentType = TransparentType;
    options.KeyColor = ColorValueToPixel(TransparentColor);
    options.RefreshFrame = RefreshFrame;
    Gif = DecodeGifFrames(Bytes(ReadPictureBytes(path)), options);
  } catch (const std::exception&) {
    Gif = TGifFrames();
    SetNoPicture();
    return;
  }
  m_hasPicture = true;
  TransparentKey = kGifKeyFill;
  PictureWidth = Gif.Width;
  PictureHeight = Gif.Height;
  Alpha = FullAlpha();
  m_playStart = now;
  m_frame = 0;
  Painting = true;
  StartMotion(now, random, reseed);
}

void TGifObject::Stop() {
  Painting = false;
  TAnimObject::Stop();
}

size_t TGifObject::FrameAt(uint32_t now) const {
  if (!Painting) return m_frame;
  return GifFrameAt(Gif.Delays, uint32_t(now - m_playStart), PlaySpeed());
}

void TGifObject::Draw(TBitmap32& dst, const TRect& rect, bool mirrored, uint32_t now) {
  if (!m_hasPicture || Gif.Frames.empty()) return;
  m_frame = std::min(FrameAt(now), Gif.Frames.size() - 1);
  TObjectBlend blend;
  blend.Rule = TBlendRule::Gif;
  blend.Alpha = Alpha;
  StretchBlend(dst, rect, Gif.Frames[m_frame], mirrored, blend);
}

}  // namespace kx
