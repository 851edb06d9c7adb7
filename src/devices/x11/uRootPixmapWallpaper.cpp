#include "devices/x11/uRootPixmapWallpaper.h"

// Our headers first: Xlib defines macros that clash with names of ours.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "raster/uPictureDecode.h"

namespace kx {
namespace {

constexpr const char* kRootPixmapAtoms[] = {"_XROOTPMAP_ID", "ESETROOT_PMAP_ID"};

// Errors of requests that may name resources gone meanwhile (a stale
// property) are expected: they are counted instead of ending the program,
// which Xlib's default handler would do.
int g_xErrors = 0;
int CountError(Display*, XErrorEvent*) {
  ++g_xErrors;
  return 0;
}

class TErrorTrap {
 public:
  explicit TErrorTrap(Display* d) : m_display(d) {
    XSync(m_display, False);
    g_xErrors = 0;
    m_previous = XSetErrorHandler(CountError);
  }
  ~TErrorTrap() {
    XSync(m_display, False);
    XSetErrorHandler(m_previous);
  }
  TErrorTrap(const TErrorTrap&) = delete;
  TErrorTrap& operator=(const TErrorTrap&) = delete;

 private:
  Display* m_display;
  XErrorHandler m_previous;
};

// The pixmap a property names, or None.
Pixmap ReadPixmapProperty(Display* d, Window root, Atom atom) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  Pixmap pixmap = None;
  if (XGetWindowProperty(d, root, atom, 0, 1, False, XA_PIXMAP, &type, &format, &count, &after, &data) ==
          Success &&
      type == XA_PIXMAP && format == 32 && count == 1 && data)
    pixmap = Pixmap(*reinterpret_cast<unsigned long*>(data));  // Xlib hands 32-bit items as longs
  if (data) XFree(data);
  return pixmap;
}

// One colour channel of a true-colour visual: where its bits sit.
struct TChannelMask {
  unsigned long Mask;
  int Shift, Bits;
  explicit TChannelMask(unsigned long mask)
      : Mask(mask), Shift(mask ? std::countr_zero(mask) : 0), Bits(std::popcount(mask)) {}
  unsigned long Place(uint8_t v) const {
    const unsigned long scaled = Bits >= 8 ? (unsigned long)v << (Bits - 8) : (unsigned long)v >> (8 - Bits);
    return (scaled << Shift) & Mask;
  }
};

// The part of the picture that shows, as an image of the visual's format. Null when the visual is not true colour.
XImage* CentredImage(Display* d, Visual* visual, int depth, const TBitmap32& picture, const TRect& part) {
  if (visual->c_class != TrueColor) return nullptr;
  XImage* image =
      XCreateImage(d, visual, unsigned(depth), ZPixmap, 0, nullptr, unsigned(part.Width()), unsigned(part.Height()), 32, 0);
  if (!image) return nullptr;
  image->data = static_cast<char*>(std::malloc(size_t(image->bytes_per_line) * size_t(part.Height())));
  if (!image->data) {
    XDestroyImage(image);
    return nullptr;
  }
  const TChannelMask red(visual->red_mask), green(visual->green_mask), blue(visual->blue_mask);
  const bool sameLayout = image->bits_per_pixel == 32 && image->byte_order == LSBFirst &&
                          std::endian::native == std::endian::little && visual->red_mask == 0xFF0000 &&
                          visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF;
  for (int y = 0; y < part.Height(); ++y) {
    const TPixel* src = picture.Row(part.Top + y) + part.Left;
    char* row = image->data + size_t(y) * size_t(image->bytes_per_line);
    if (sameLayout) {
      std::memcpy(row, src, size_t(part.Width()) * 4);
      continue;
    }
    for (int x = 0; x < part.Width(); ++x)
      XPutPixel(image, x, y, red.Place(PixelR(src[x])) | green.Place(PixelG(src[x])) | blue.Place(PixelB(src[x])));
  }
  return image;
}

bool SetOnDisplay(Display* d, const TBitmap32& picture) {
  const int screen = DefaultScreen(d);
  const Window root = RootWindow(d, screen);
  const int width = DisplayWidth(d, screen), height = DisplayHeight(d, screen);
  const int depth = DefaultDepth(d, screen);
  if (width <= 0 || height <= 0) return false;

  // Centred: a larger picture loses equal margins on both sides.
  const int shownW = std::min(width, picture.Width()), shownH = std::min(height, picture.Height());
  const TRect source =
      TRect::FromSize((picture.Width() - shownW) / 2, (picture.Height() - shownH) / 2, shownW, shownH);
  XImage* image = shownW > 0 && shownH > 0 ? CentredImage(d, DefaultVisual(d, screen), depth, picture, source) : nullptr;
  if (shownW > 0 && shownH > 0 && !image) return false;

  const Pixmap pixmap = XCreatePixmap(d, root, unsigned(width), unsigned(height), unsigned(depth));
  const GC gc = XCreateGC(d, pixmap, 0, nullptr);
  XSetForeground(d, gc, BlackPixel(d, screen));
  XFillRectangle(d, pixmap, gc, 0, 0, unsigned(width), unsigned(height));
  if (image) {
    XPutImage(d, pixmap, gc, image, 0, 0, (width - shownW) / 2, (height - shownH) / 2, unsigned(shownW),
              unsigned(shownH));
    XDestroyImage(image);
  }
  XFreeGC(d, gc);

  Atom atoms[2];
  for (int i = 0; i < 2; ++i) atoms[i] = XInternAtom(d, kRootPixmapAtoms[i], False);
  {
    // The previous setter's retained pixmap, when both properties still name
    // it: ending its (closed) client frees it.
    TErrorTrap trap(d);
    const Pixmap old = ReadPixmapProperty(d, root, atoms[0]);
    if (old != None && old == ReadPixmapProperty(d, root, atoms[1])) XKillClient(d, old);
  }
  for (const Atom atom : atoms)
    XChangeProperty(d, root, atom, XA_PIXMAP, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&pixmap), 1);
  XSetWindowBackgroundPixmap(d, root, pixmap);
  XClearWindow(d, root);
  XSetCloseDownMode(d, RetainPermanent);
  XSync(d, False);
  return true;
}

}  // namespace

bool TRootPixmapWallpaper::SetPicture(const TBitmap32& picture) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return false;
  const bool ok = SetOnDisplay(d, picture);
  XCloseDisplay(d);
  return ok;
}

bool TRootPixmapWallpaper::Set(const std::string& bmpPath) {
  try {
    return SetPicture(DecodePictureFile(bmpPath));
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace kx
