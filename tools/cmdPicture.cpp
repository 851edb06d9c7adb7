// kxtool kxp-make, kxp-info and regionmap: making and inspecting picture files.

#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

#include "animation/uCommonConst.h"
#include "animation/uCreatorProject.h"
#include "os/uFileAccess.h"
#include "os/uUserFiles.h"
#include "package/uFileIO.h"
#include "package/uIniFile.h"
#include "package/uPictureFileWriter.h"
#include "package/uText.h"
#include "raster/uJpegCodec.h"
#include "raster/uPictureDecode.h"
#include "raster/uPngIO.h"
#include "raster/uResample.h"
#include "tools/kxtool.h"

namespace kxtool {
namespace {

using kx::TBitmap32;

constexpr int kThumbnailWidth = 120, kThumbnailHeight = 90;

std::string Resolve(const std::string& base, const std::string& path) {
  // Absolute: from a separator, or (where "\\" is one) from a drive letter.
  const std::string_view separators = kx::PathSeparators();
  const bool drive = separators.find('\\') != std::string_view::npos && path.size() > 1 && path[1] == ':';
  if (path.empty() || separators.find(path.front()) != std::string_view::npos || drive) return path;
  return base + path;
}

std::span<const uint8_t> Bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

// A picture as a JPEG stream: a JPEG file is kept as it is, any other kind is
// decoded and encoded. The decoded picture is returned too.
std::string AsJpeg(const std::string& path, TBitmap32& decoded) {
  const std::string bytes = kx::ReadPictureBytes(path);
  decoded = kx::DecodePicture(Bytes(bytes));
  return kx::PictureKindOf(Bytes(bytes)) == kx::TPictureKind::Jpeg ? bytes : kx::EncodeJpeg(decoded);
}

// Wave record fields by key, for reading a description and printing a project.
struct TWaveField {
  const char* Key;
  bool Flag;
  int32_t kx::TWaveParam::*Int;
  uint8_t kx::TWaveParam::*Byte;
};

constexpr TWaveField kWaveFields[] = {
    {"Amplitude", false, &kx::TWaveParam::Amplitude, nullptr},
    {"Cycles", false, &kx::TWaveParam::Cycles, nullptr},
    {"WaveSpeed", false, &kx::TWaveParam::WaveSpeed, nullptr},
    {"Direction", false, &kx::TWaveParam::Direction, nullptr},
    {"Horizontal", true, nullptr, &kx::TWaveParam::Horizontal},
    {"Vertical", true, nullptr, &kx::TWaveParam::Vertical},
    {"Perspective", true, nullptr, &kx::TWaveParam::Perspective},
    {"Period", false, &kx::TWaveParam::Period, nullptr},
    {"Jitter", false, &kx::TWaveParam::Jitter, nullptr},
    {"Reflect", true, nullptr, &kx::TWaveParam::Reflect},
};

struct TWeatherField {
  const char* Key;
  int32_t kx::TWeatherParam::*Field;
};

constexpr TWeatherField kWeatherFields[] = {
    {"Kind", &kx::TWeatherParam::Kind},         {"Count", &kx::TWeatherParam::Count},
    {"SpeedIndex", &kx::TWeatherParam::SpeedIndex}, {"Angle", &kx::TWeatherParam::Angle},
    {"Length", &kx::TWeatherParam::Length},     {"Level", &kx::TWeatherParam::Level},
};

template <typename T, size_t N>
std::array<uint8_t, N> RecordBytes(const T& record) {
  static_assert(sizeof(T) == N);
  std::array<uint8_t, N> bytes;
  std::memcpy(bytes.data(), &record, N);
  return bytes;
}

kx::TPictureFileTail TailOf(const std::string& text) {
  if (kx::SameText(text, "full")) return kx::TPictureFileTail::Full;
  if (kx::SameText(text, "none")) return kx::TPictureFileTail::None;
  if (kx::SameText(text, "sounds")) return kx::TPictureFileTail::Sounds;
  if (kx::SameText(text, "texts")) return kx::TPictureFileTail::Texts;
  throw std::runtime_error("Tail must be full, none, sounds or texts");
}

std::string Section(const char* name, int index) { return name + std::to_string(index); }

// Texts printed as one INI value: backslash, CR and LF escaped.
std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

std::string SizeText(const TBitmap32& b) { return std::to_string(b.Width()) + "x" + std::to_string(b.Height()); }

void WriteOutput(const std::string& out, const std::string& bytes) {
  const std::string temp = out + ".part";
  {
    const kx::TFilePtr f = kx::CreateWritableFile(temp);
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size() || std::fflush(f.get()) != 0)
      throw std::runtime_error("cannot write " + out);
  }
  if (!kx::MoveFileOver(temp, out)) throw std::runtime_error("cannot create " + out);
}

}  // namespace

int KxpMake(const Args& args) {
  std::string description, out;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size()) out = args[++i];
    else if (description.empty()) description = args[i];
    else throw std::runtime_error("unexpected argument " + args[i]);
  }
  if (description.empty() || out.empty()) throw std::runtime_error("usage: kxtool kxp-make DESC.ini -o OUT.kxp");
  const std::string text = kx::ReadFileText(description, kx::kMaxTextBytes);
  if (text.empty()) throw std::runtime_error("cannot read " + description);
  const kx::TIniFile ini = kx::TIniFile::FromText(text);
  const std::string base = kx::FolderPart(description);
  auto path = [&](const char* key) { return Resolve(base, ini.ReadString("Picture", key, "")); };

  kx::TPictureFileParts parts;
  parts.Title = ini.ReadString("Picture", "Title", "");
  parts.Description = ini.ReadString("Picture", "Description", "");
  if (path("Picture").empty()) throw std::runtime_error("[Picture] needs a Picture");
  TBitmap32 picture, thumbnail;
  parts.Picture = AsJpeg(path("Picture"), picture);
  parts.Thumbnail = path("Thumbnail").empty() ? kx::EncodeJpeg(kx::ResizeBilinear(picture, kThumbnailWidth, kThumbnailHeight))
                                              : AsJpeg(path("Thumbnail"), thumbnail);

  // A picture without water gets the empty 0 x 0 map; a map of another size
  // than the picture is stored as it is and stretched over the picture on load.
  parts.RegionMap = path("RegionMap").empty() ? std::vector<int32_t>{0, 0}
                                              : kx::EncodeRegionMap(kx::DecodePictureFile(path("RegionMap")));
  parts.SoundFile = ini.ReadString("Picture", "SoundFile", "");

  // Wave records 1-4 always; the tail holds the further ones up to the last section given.
  int waves = 4;
  for (int i = 5; i <= 8; ++i)
    if (ini.SectionExists(Section("Wave", i))) waves = i;
  for (int i = 1; i <= waves; ++i) {
    kx::TWaveParam w;
    std::memcpy(&w, kx::kDefaultWaveRecord.data(), sizeof w);
    const std::string section = Section("Wave", i);
    for (const TWaveField& f : kWaveFields) {
      if (f.Int) w.*f.Int = ini.ReadInteger(section, f.Key, w.*f.Int);
      else w.*f.Byte = uint8_t(ini.ReadInteger(section, f.Key, w.*f.Byte));
    }
    parts.Waves.push_back(RecordBytes<kx::TWaveParam, kx::kWaveRecordSize>(w));
  }

  kx::TWeatherParam weather{};
  for (const TWeatherField& f : kWeatherFields) weather.*f.Field = ini.ReadInteger("Weather", f.Key, 0);
  parts.Weather = RecordBytes<kx::TWeatherParam, kx::kWeatherRecordSize>(weather);

  for (int i = 1; i <= 8; ++i) {
    const std::string section = Section("Sound", i);
    kx::TSoundParam s{};
    s.SetPath(ini.ReadString(section, "Path", ""));
    s.PlayMode = ini.ReadInteger(section, "PlayMode", 0);
    s.MinSeconds = ini.ReadInteger(section, "MinSeconds", 0);
    s.MaxSeconds = ini.ReadInteger(section, "MaxSeconds", 0);
    parts.Sounds[size_t(i - 1)] = RecordBytes<kx::TSoundParam, kx::kSoundRecordSize>(s);
  }

  if (!path("Objects").empty()) {
    parts.ObjectsText = kx::ReadFileText(path("Objects"), kx::kMaxTextBytes);
    if (parts.ObjectsText.empty()) throw std::runtime_error("cannot read " + path("Objects"));
  }
  parts.ExtraText = ini.ReadString("Picture", "Extra", "");
  parts.Tail = TailOf(ini.ReadString("Picture", "Tail", "full"));

  WriteOutput(out, kx::MakePictureFile(parts));
  return 0;
}

int KxpInfo(const Args& args) {
  if (args.size() != 1) throw std::runtime_error("usage: kxtool kxp-info FILE");
  kx::TProject project;
  if (!project.Load(args[0])) {
    std::fprintf(stderr, "%s\n", project.LoadError.c_str());
    return 1;
  }
  std::printf("[Picture]\nTitle=%s\nDescription=%s\nPicture=%s\nThumbnail=%s\nRegionMap=%s\nDesign=%dx%d\n",
              Escaped(project.Title).c_str(), Escaped(project.Description).c_str(), SizeText(project.Picture).c_str(),
              SizeText(project.Thumbnail).c_str(), SizeText(project.RegionMap).c_str(), project.DesignWidth,
              project.DesignHeight);
  for (int i = 0; i < kx::TProject::kWaveCount; ++i) {
    const kx::TWaveParam& w = project.GetWave(i);
    std::printf("\n[Wave%d]\n", i + 1);
    for (const TWaveField& f : kWaveFields)
      std::printf("%s=%d\n", f.Key, f.Int ? w.*f.Int : (w.*f.Byte != 0 ? 1 : 0));
  }
  std::printf("\n[Weather]\n");
  for (const TWeatherField& f : kWeatherFields) std::printf("%s=%d\n", f.Key, project.Weather.*f.Field);
  std::printf("\n[Sounds]\nUsed=%d\n", project.UsedSoundCount());
  for (int i = 0; i < kx::TProject::kSoundCount; ++i) {
    const kx::TSoundParam& s = project.Sounds[size_t(i)];
    std::printf("\n[Sound%d]\nPath=%s\nPlayMode=%d\nMinSeconds=%d\nMaxSeconds=%d\n", i + 1, Escaped(s.Path()).c_str(),
                s.PlayMode, s.MinSeconds, s.MaxSeconds);
  }
  // The objects text as the file stores it (the project keeps the objects it describes).
  kx::TFileLoader loader;
  loader.LoadFromFile(args[0]);
  std::printf("\n[Objects]\nText=%s\n", Escaped(loader.ObjectsText).c_str());
  const kx::TExtraInfo& x = project.ExtraInfo;
  std::printf(
      "\n[Extra]\nScrFileName=%s\nScrMusicFile=%s\nScrMusic=%d\nScrSound=%d\nExeFileName=%s\nExeMusicFile=%s\n"
      "ExeMusic=%d\nExeSound=%d\n",
      Escaped(x.ScrFileName).c_str(), Escaped(x.ScrMusicFile).c_str(), int(x.ScrMusic), int(x.ScrSound),
      Escaped(x.ExeFileName).c_str(), Escaped(x.ExeMusicFile).c_str(), int(x.ExeMusic), int(x.ExeSound));
  return 0;
}

int RegionMapPng(const Args& args) {
  if (args.size() != 2) throw std::runtime_error("usage: kxtool regionmap FILE OUT.png");
  kx::TFileLoader loader;
  loader.LoadFromFile(args[0]);
  TBitmap32 map;
  loader.GetRegionMap(map);
  // The area colours as they are, made opaque so every area shows.
  for (int32_t y = 0; y < map.Height(); ++y)
    for (int32_t x = 0; x < map.Width(); ++x) map.Row(y)[x] |= 0xFF000000u;
  kx::WritePng(args[1], map);
  return 0;
}

}  // namespace kxtool
