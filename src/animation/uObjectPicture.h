// The two kinds of animated object: a still picture (PNG with its alpha
// channel, BMP, JPEG, the first frame of a GIF) and an animated GIF that
// keeps playing while the object moves. Both find their picture file, decide
// which pixels are transparent and draw with their own blend rule.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "animation/uObject.h"
#include "animation/uSharedPicture.h"
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
  static constexpr int64_t kMaxScaledPixels = TSharedPicture::kMaxScaledPixels;

  void Start(uint32_t now, TRandom& random, bool reseed) override;
  void Draw(TBitmap32& dst, const TRect& rect, bool mirrored, uint32_t now) override;

  // The decoded picture, shared with every object naming the same file;
  // empty without a picture.
  const TBitmap32& Picture() const;
  bool IsPng = false;
  bool HasAlphaMask = false;
  // PictureWidth x PictureHeight, top row first. The same values are the
  // fourth byte of Picture's pixels, which the blend reads.
  const std::vector<uint8_t>& AlphaMask() const;

 protected:
  uint8_t DefaultTransparentType() const override;
  const char* TypeName() const override { return "IMG"; }
  void SaveOwnKeys(TIniFile& ini, const std::string& section) const override;

 private:
  void LoadPicture(const std::string& path);

  std::shared_ptr<const TSharedPicture> m_picture;
};

class TGifObject final : public TAnimImgObject {
 public:
  void Start(uint32_t now, TRandom& random, bool reseed) override;
  void Stop() override;
  void Draw(TBitmap32& dst, const TRect& rect, bool mirrored, uint32_t now) override;

  int32_t AnimSpeed = 10;
  bool RefreshFrame = false;
  bool Painting = false;  // frames follow the clock; off: the current one stays
  // Every frame, composed; shared with every object naming the same file
  // with the same transparency and refresh settings.
  const TGifFrames& Gif() const;

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
  std::shared_ptr<const TGifFrames> m_gif;
  uint32_t m_playStart = 0;
  size_t m_frame = 0;
};

}  // namespace kx
