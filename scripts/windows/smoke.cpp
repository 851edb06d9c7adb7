// Initialises each cross-built library once and prints one line per library,
// "<name>: ok ..." or "<name>: FAIL ...". Exits non-zero if any failed.
#include <SDL.h>
#include <SDL_mixer.h>
#include <pixman.h>
#include <png.h>
#include <gif_lib.h>
#include <zlib.h>

#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#ifdef SMOKE_HAVE_FLTK
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#endif

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

int failures = 0;

void report(const char* lib, bool ok, const std::string& detail) {
  std::printf("%s: %s %s\n", lib, ok ? "ok" : "FAIL", detail.c_str());
  std::fflush(stdout);
  if (!ok) ++failures;
}

void check_zlib() {
  const char text[] = "a screensaver shows pictures while nobody looks";
  std::array<Bytef, 128> packed{};
  std::array<Bytef, 128> unpacked{};
  uLongf packed_len = packed.size();
  uLongf unpacked_len = unpacked.size();
  bool ok = compress(packed.data(), &packed_len, reinterpret_cast<const Bytef*>(text), sizeof text) == Z_OK &&
            uncompress(unpacked.data(), &unpacked_len, packed.data(), packed_len) == Z_OK &&
            unpacked_len == sizeof text && std::memcmp(unpacked.data(), text, sizeof text) == 0;
  report("zlib", ok, std::string(zlibVersion()) + ", round trip of " + std::to_string(sizeof text) + " bytes");
}

void check_jpeg() {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  report("libjpeg", true, "turbo " + std::to_string(LIBJPEG_TURBO_VERSION_NUMBER) +
                              ", API " + std::to_string(JPEG_LIB_VERSION));
}

void check_png() {
  png_uint_32 v = png_access_version_number();
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  bool ok = png != nullptr;
  if (png) png_destroy_read_struct(&png, nullptr, nullptr);
  report("libpng", ok, std::to_string(v / 10000) + "." + std::to_string(v / 100 % 100) + "." + std::to_string(v % 100));
}

void check_gif() {
  const char* msg = GifErrorString(D_GIF_ERR_NOT_GIF_FILE);
  report("giflib", msg != nullptr,
         std::to_string(GIFLIB_MAJOR) + "." + std::to_string(GIFLIB_MINOR) + "." + std::to_string(GIFLIB_RELEASE));
}

void check_pixman() {
  // Premultiplied half-transparent red.
  std::array<uint32_t, 4> src{0x80800000, 0x80800000, 0x80800000, 0x80800000};
  std::array<uint32_t, 4> dst{0xff0000ff, 0xff0000ff, 0xff0000ff, 0xff0000ff};
  pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, 2, 2, src.data(), 8);
  pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, 2, 2, dst.data(), 8);
  pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, 2, 2);
  pixman_image_unref(s);
  pixman_image_unref(d);
  // Over opaque blue: red 0x80, blue 0xff * (0xff - 0x80) / 0xff = 0x7f.
  char px[16];
  std::snprintf(px, sizeof px, "%08x", static_cast<unsigned>(dst[3]));
  bool ok = dst[0] == dst[3] && (dst[3] & 0x00ff0000) >> 16 == 0x80 && (dst[3] & 0xff) >= 0x7e && (dst[3] & 0xff) <= 0x80;
  report("pixman", ok, std::string(pixman_version_string()) + ", 2x2 OVER gives " + px);
}

void check_sdl_video() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    report("SDL2", false, std::string("SDL_Init: ") + SDL_GetError());
    return;
  }
  SDL_version v;
  SDL_GetVersion(&v);
  SDL_Window* w = SDL_CreateWindow("kx smoke", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 320, 200, 0);
  SDL_Surface* surf = w ? SDL_GetWindowSurface(w) : nullptr;
  bool ok = surf != nullptr;
  std::string detail = std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.patch) +
                       ", video driver " + SDL_GetCurrentVideoDriver();
  if (ok) {
    SDL_FillRect(surf, nullptr, SDL_MapRGB(surf->format, 0x20, 0x60, 0xc0));
    ok = SDL_UpdateWindowSurface(w) == 0;
    Uint32 until = SDL_GetTicks() + 1000;
    SDL_Event e;
    while (SDL_GetTicks() < until) {
      while (SDL_PollEvent(&e)) {
      }
      SDL_Delay(20);
    }
    detail += ", 320x200 window filled";
  } else {
    detail += std::string(", window: ") + SDL_GetError();
  }
  if (w) SDL_DestroyWindow(w);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  report("SDL2", ok, detail);
}

// A 0.1 s 440 Hz tone as a WAV file in memory, so the WAV decoder is used
// without any sample file.
std::vector<uint8_t> tone_wav() {
  const uint32_t rate = 22050, frames = rate / 10;
  std::vector<uint8_t> out;
  auto put32 = [&](uint32_t x) { for (int i = 0; i < 4; ++i) out.push_back(uint8_t(x >> (8 * i))); };
  auto put16 = [&](uint16_t x) { out.push_back(uint8_t(x)); out.push_back(uint8_t(x >> 8)); };
  auto tag = [&](const char* t) { out.insert(out.end(), t, t + 4); };
  tag("RIFF"); put32(36 + frames * 2); tag("WAVE");
  tag("fmt "); put32(16); put16(1); put16(1); put32(rate); put32(rate * 2); put16(2); put16(16);
  tag("data"); put32(frames * 2);
  for (uint32_t i = 0; i < frames; ++i) put16(uint16_t(int16_t(((i * 440 * 2 / rate) & 1) ? 8000 : -8000)));
  return out;
}

void check_mixer() {
  const SDL_version* lv = Mix_Linked_Version();
  std::string detail = std::to_string(lv->major) + "." + std::to_string(lv->minor) + "." + std::to_string(lv->patch);
  int want = MIX_INIT_OGG | MIX_INIT_MP3;
  int got = Mix_Init(want);
  detail += std::string(", Mix_Init OGG ") + ((got & MIX_INIT_OGG) ? "yes" : "no") +
            " MP3 " + ((got & MIX_INIT_MP3) ? "yes" : "no");
  bool ok = got == want;
  // A machine without a sound device still decodes through the dummy driver.
  bool opened = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) == 0;
  if (!opened) {
    detail += std::string(", no sound device (") + Mix_GetError() + ")";
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    opened = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) == 0;
  }
  if (opened) {
    detail += std::string(", audio driver ") + (SDL_GetCurrentAudioDriver() ? SDL_GetCurrentAudioDriver() : "?");
    std::string music;
    for (int i = 0; i < Mix_GetNumMusicDecoders(); ++i) music += std::string(i ? "," : "") + Mix_GetMusicDecoder(i);
    detail += ", music decoders " + music;
    std::vector<uint8_t> wav = tone_wav();
    Mix_Chunk* c = Mix_LoadWAV_RW(SDL_RWFromConstMem(wav.data(), int(wav.size())), 1);
    if (c) {
      detail += ", WAV decoded to " + std::to_string(c->alen) + " bytes";
      Mix_FreeChunk(c);
    } else {
      ok = false;
      detail += std::string(", WAV: ") + Mix_GetError();
    }
    Mix_CloseAudio();
  } else {
    ok = false;
    detail += std::string(", Mix_OpenAudio: ") + Mix_GetError();
  }
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  report("SDL2_mixer", ok, detail);
}

void check_fltk() {
#ifdef SMOKE_HAVE_FLTK
  Fl_Window win(200, 100, "kx smoke");
  win.show();
  for (int i = 0; i < 10; ++i) Fl::wait(0.02);
  bool ok = win.shown();
  win.hide();
  Fl::check();
  report("FLTK", ok, std::to_string(Fl::api_version()) + ", window opened and closed");
#else
  report("FLTK", false, "not built into this program");
#endif
}

}  // namespace

int main(int, char**) {
  check_zlib();
  check_jpeg();
  check_png();
  check_gif();
  check_pixman();
  check_sdl_video();
  check_mixer();
  check_fltk();
  SDL_Quit();
  std::printf("%d failed\n", failures);
  return failures == 0 ? 0 : 1;
}
