// The two kinds of animated object: a still picture (PNG with its alpha
// channel, BMP, JPEG, the first frame of a GIF) and an animated GIF that
// keeps playing while the object moves. Both find their picture file, decide
// which pixels are transparent and draw with their own blend rule.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "animation/uObject.h"
#include "raster/uBitmap.h"
#include "raster/uGifFrames.h"
#include "raster/uObjectBlend.h"

namespace kx {

class TAnimImgObject : public TAnimObject {
 public:
  using TAnimObject::LoadObjectText;
  void LoadObjectText(const TIniFile& ini, const std::string& section) override;
  void LocateFile(const std::string& folder) override;
  bool HasPicture() const override { return m_hasPicture; }

  std::string FileName;
  TPixel TransparentKey = 0;
  bool Transparent = true;
  uint8_t TransparentType = 0;
  int32_t TransparentColor = 0;  // colour value for type 2 (RGB or a system colour code)

 protected:
  // The class's default TransparentType for the file name just read.
  virtual uint8_t DefaultTransparentType() const = 0;
  virtual const char* TypeName() const = 0;
  // Reads the class's keys beyond the shared ones.
  virtual void LoadOwnKeys(const TIniFile& ini, const std::string& section) {}
  // The picture file as found: the stored path, else the shared folder's
  // "images/" + its name; "" when neither exists.
  std::string FindFile();
  void SetNoPicture();

  bool m_hasPicture = false;
};

class TImgObject final : public TAnimImgObject {
 public:
  // A scaled copy larger than this is not kept, nor one that would take the
  // copies of all objects together beyond kMaxScaledBytes: the picture is
  // then drawn by nearest pixel straight from the original.
  static constexpr int64_t kMaxScaledPixels = int64_t(1) << 22;
  static constexpr int64_t kMaxScaledBytes = int64_t(256) << 20;

  void Start(uint32_t now, TRandom& random, bool reseed) override;
  void Draw(TBitmap32& dst, const TRect& rect, bool mirrored, uint32_t now) override;

  TBitmap32 Picture;
  bool IsPng = false;
  bool HasAlphaMask = false;
  // PictureWidth x PictureHeight, top row first. The same values are the
  // fourth byte of Picture's pixels, which the blend reads.
  std::vector<uint8_t> AlphaMask;

 protected:
  uint8_t DefaultTransparentType() const override;
  const char* TypeName() const override { return "IMG"; }
  void SaveOwnKeys(TIniFile& ini, const std::string& section) const override;

 private:
  void LoadPicture(const std::string& path);
  // The picture scaled with the fast filter (and mirrored), from the cache;
  // null when the copy would be too large.
  const TBitmap32* ScaledTo(int32_t w, int32_t h, bool mirrored);

  // Scaled copies for the last sizes and facings drawn: a size of exactly
  // .5 pixels alternates with the position's parity, and a mirrored copy is
  // read forwards like the other (reading a picture backwards is slower).
  struct TScaled {
    int32_t W = 0, H = 0;
    bool Mirrored = false;
    uint64_t LastUse = 0;
    TBitmap32 Bitmap;
    ~TScaled();
    void Release();
  };
  std::array<TScaled, 4> m_scaled;
  uint64_t m_uses = 0;
};

class TGifObject final : public TAnimImgObject {
 public:
  void Start(uint32_t now, TRandom& random, bool reseed) override;
  void Stop() override;
  void Draw(TBitmap32& dst, const TRect& rect, bool mirrored, uint32_t now) override;

  int32_t AnimSpeed = 10;
  bool RefreshFrame = false;
  bool Painting = false;  // frames follow the clock; off: the current one stays
  TGifFrames Gif;         // every frame, composed

  // Percent of the GIF's own timing: AnimSpeed x 10 up to 10, AnimSpeed x 50
  // - 400 above, within 0..1000.
  int32_t PlaySpeed() const;
  // The frame shown at tick now.
  size_t FrameAt(uint32_t now) const;

 protected:
  uint8_t DefaultTransparentType() const override { return 0; }
  const char* TypeName() const override { return "GIF"; }
  void LoadOwnKeys(const TIniFile& ini, const std::string& section) override;
  void SaveOwnKeys(TIniFile& ini, const std::string& section) const override;

 private:
  uint32_t m_playStart = 0;
  size_t m_frame = 0;
};

}  // namespace kx
