#include "ui/uPictureData.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

#include "raster/uDecodeError.h"
#include "raster/uPictureDecode.h"
#include "raster/uPictureSize.h"
#include "ui/uComponent.h"
#include "ui/uFormValues.h"

namespace kx {
namespace {

uint32_t ReadCount(std::string_view d) {
  return uint32_t(uint8_t(d[0])) | uint32_t(uint8_t(d[1])) << 8 | uint32_t(uint8_t(d[2])) << 16 |
         uint32_t(uint8_t(d[3])) << 24;
}

thread_local TPictureBudget* t_budget = nullptr;

int64_t BytesOf(const TBitmap32& b) { return int64_t(b.StrideBytes()) * b.Height(); }

TBitmap32 Decode(std::string_view bytes) {
  if (bytes.empty()) return {};
  const std::span data(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  TPictureBudget* budget = TPictureBudget::Current();
  if (budget) {
    // Decoders never give more than kMaxDecodedPixels (JPEGs scale under it).
    const auto size = DeclaredPictureSize(data);
    if (size && !budget->Fits(std::min(size->Pixels(), kMaxDecodedPixels) * int64_t(sizeof(TPixel)))) return {};
  }
  TBitmap32 picture;
  try {
    picture = DecodePicture(data);
  } catch (const std::exception& e) {
    throw TFormBuildError(std::string("Picture data does not decode: ") + e.what());
  }
  if (budget) {
    if (!budget->Fits(BytesOf(picture))) return {};
    budget->Take(BytesOf(picture));
  }
  return picture;
}

// A byte count and that many bytes.
TBitmap32 DecodeCounted(std::string_view d) {
  if (d.size() < 4) throw TFormBuildError("Picture data is cut short");
  const uint32_t count = ReadCount(d);
  if (count > d.size() - 4) throw TFormBuildError("Picture data is cut short");
  return Decode(d.substr(4, count));
}

}  // namespace

TPictureBudget::TPictureBudget(int64_t maxBytes) : m_max(maxBytes), m_outer(t_budget) { t_budget = this; }

TPictureBudget::~TPictureBudget() { t_budget = m_outer; }

TPictureBudget* TPictureBudget::Current() { return t_budget; }

TBitmap32 DecodePictureData(std::string_view data) {
  if (data.empty()) return {};
  const size_t n = uint8_t(data[0]);
  if (data.size() < 1 + n) throw TFormBuildError("Picture data is cut short");
  const std::string_view kind = data.substr(1, n);
  const std::string_view rest = data.substr(1 + n);
  if (SameText(kind, "TBitmap") || SameText(kind, "TJPEGImage")) return DecodeCounted(rest);
  if (SameText(kind, "TPNGObject") || SameText(kind, "TPngImage") || SameText(kind, "TGIFImage")) {
    // Written either as the bare stream or, like the others, counted.
    if (rest.size() >= 4 && ReadCount(rest) == rest.size() - 4) return Decode(rest.substr(4));
    return Decode(rest);
  }
  return {};  // icons and metafiles: nothing to show
}

TBitmap32 DecodeBitmapData(std::string_view data) {
  if (data.empty()) return {};
  return DecodeCounted(data);
}

}  // namespace kx
