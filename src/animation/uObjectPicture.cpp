#include "animation/uObjectPicture.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <stdexcept>

#include "animation/uPictureStore.h"
#include "devices/uSharedFolder.h"
#include "os/uFileAccess.h"
#include "os/uPlatform.h"
#include "package/uIniFile.h"
#include "raster/uSystemColor.h"

namespace kx {
namespace {

bool HasPngExtension(const std::string& name) {
  if (name.size() < 4) return false;
  std::string ext = name.substr(name.size() - 4);
  for (char& c : ext) c = char(std::toupper(static_cast<unsigned char>(c)));
  return ext == ".PNG";
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

// A file that is found nowhere, does not decode or would take the objects'
// pictures beyond their budget leaves the object without a picture: it is
// never drawn and never steps, and the others run on.
void TImgObject::Start(uint32_t now, TRandom& random, bool reseed) {
  const std::string path = FindFile();
  m_picture.reset();  // a file named by no other object is decoded anew
  try {
    if (path.empty()) throw std::runtime_error("no picture file");
    LoadPicture(path);
  } catch (const std::exception&) {
    m_picture.reset();
    HasAlphaMask = false;
    SetNoPicture();
    return;
  }
  m_hasPicture = true;
  Alpha = FullAlpha();
  StartMotion(now, random, reseed);
}

void TImgObject::LoadPicture(const std::string& path) {
  m_picture = TPictureStore::Shared().Still(path);
  const TBitmap32& picture = m_picture->Picture();
  IsPng = HasPngExtension(path);
  HasAlphaMask = IsPng && m_picture->HasAlphaMask();
  TransparentKey = picture.Pixel(0, picture.Height() - 1);
  if (TransparentType == 2) TransparentKey = ColorValueToPixel(TransparentColor);
  PictureWidth = picture.Width();
  PictureHeight = picture.Height();
}

const TBitmap32& TImgObject::Picture() const {
  static const TBitmap32 none;
  return m_picture ? m_picture->Picture() : none;
}

const std::vector<uint8_t>& TImgObject::AlphaMask() const {
  static const std::vector<uint8_t> none;
  return m_picture && HasAlphaMask ? m_picture->AlphaMask() : none;
}

void TImgObject::Draw(TBitmap32& dst, const TRect& rect, bool mirrored, uint32_t) {
  if (!m_hasPicture || !m_picture) return;
  const TBitmap32& picture = m_picture->Picture();
  TObjectBlend blend;
  blend.Alpha = Alpha;
  blend.UseAlpha = IsPng && Transparent && TransparentType == 0 && HasAlphaMask;
  blend.UseKey = Transparent && !(IsPng && TransparentType == 0);
  blend.Key = TransparentKey;
  const int64_t w = int64_t(rect.Right) - rect.Left, h = int64_t(rect.Bottom) - rect.Top;
  if (w <= 0 || h <= 0) return;
  if (w == picture.Width() && h == picture.Height() && !mirrored) {
    StretchBlend(dst, rect, picture, false, blend);
    return;
  }
  // The objects holding the picture, this one among them (the store holds none).
  const size_t users = size_t(m_picture.use_count());
  const std::shared_ptr<const TBitmap32> scaled =
      w <= kMaxScaledPixels && h <= kMaxScaledPixels ? m_picture->Scaled(int32_t(w), int32_t(h), mirrored, users)
                                                     : nullptr;
  if (scaled) StretchBlend(dst, rect, *scaled, false, blend);
  else StretchBlend(dst, rect, picture, mirrored, blend);
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

// Every Start plays from frame 0; the frames are decoded anew unless another
// object holds those of the file.
void TGifObject::Start(uint32_t now, TRandom& random, bool reseed) {
  Painting = false;
  const std::string path = FindFile();
  m_gif.reset();
  try {
    if (path.empty()) throw std::runtime_error("no picture file");
    TGifFrameOptions options;
    options.Transparent = Transparent;
    options.TransparentType = TransparentType;
    options.KeyColor = ColorValueToPixel(TransparentColor);
    options.RefreshFrame = RefreshFrame;
    m_gif = TPictureStore::Shared().Gif(path, options);
  } catch (const std::exception&) {
    m_gif.reset();
    SetNoPicture();
    return;
  }
  m_hasPicture = true;
  TransparentKey = kGifKeyFill;
  PictureWidth = m_gif->Width;
  PictureHeight = m_gif->Height;
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

const TGifFrames& TGifObject::Gif() const {
  static const TGifFrames none;
  return m_gif ? *m_gif : none;
}

size_t TGifObject::FrameAt(uint32_t now) const {
  if (!Painting || !m_gif) return m_frame;
  return GifFrameAt(m_gif->Delays, uint32_t(now - m_playStart), PlaySpeed());
}

void TGifObject::Draw(TBitmap32& dst, const TRect& rect, bool mirrored, uint32_t now) {
  if (!m_hasPicture || !m_gif || m_gif->Frames.empty()) return;
  m_frame = std::min(FrameAt(now), m_gif->Frames.size() - 1);
  TObjectBlend blend;
  blend.Rule = TBlendRule::Gif;
  blend.Alpha = Alpha;
  StretchBlend(dst, rect, m_gif->Frames[m_frame], mirrored, blend);
}

}  // namespace kx
