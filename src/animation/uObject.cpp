#include "animation/uObject.h"

#include <algorithm>

#include "animation/uAnimMath.h"
#include "animation/uObjectPicture.h"
#include "package/uIniFile.h"

namespace kx {
namespace {

int32_t ReadInt(const TIniFile& ini, const std::string& section, const char* key, int32_t def) {
  return ini.ReadInteger(section, key, def, TIntSyntax::DecimalOrHex);
}
// Byte keys keep the low 8 bits of the number read.
uint8_t ReadByte(const TIniFile& ini, const std::string& section, const char* key, uint8_t def) {
  return uint8_t(ReadInt(ini, section, key, def));
}
bool ReadFlag(const TIniFile& ini, const std::string& section, const char* key, bool def) {
  return ReadInt(ini, section, key, def ? 1 : 0) != 0;
}

}  // namespace

TEdges TEdges::FromText(std::string_view text) {
  TEdges e;
  e.Top = text.find('T') != std::string_view::npos;
  e.Bottom = text.find('B') != std::string_view::npos;
  e.Left = text.find('L') != std::string_view::npos;
  e.Right = text.find('R') != std::string_view::npos;
  return e;
}

std::string TEdges::ToText() const {
  std::string s;
  if (Top) s += 'T';
  if (Bottom) s += 'B';
  if (Left) s += 'L';
  if (Right) s += 'R';
  return s;
}

void TAnimObject::LoadFromText(const TIniFile& ini, const std::string& s) {
  Width = ReadInt(ini, s, "Width", Width);
  Height = ReadInt(ini, s, "Height", Height);
  Scaled = ReadFlag(ini, s, "Scaled", true);
  WidthSize = ReadInt(ini, s, "WidthSize", 100);
  HeightSize = ReadInt(ini, s, "HeightSize", 100);
  MoveAreaRect.Left = ReadInt(ini, s, "MoveAreaRectleft", MoveAreaRect.Left);
  MoveAreaRect.Top = ReadInt(ini, s, "MoveAreaRecttop", MoveAreaRect.Top);
  MoveAreaRect.Right = ReadInt(ini, s, "MoveAreaRectright", MoveAreaRect.Right);
  MoveAreaRect.Bottom = ReadInt(ini, s, "MoveAreaRectbottom", MoveAreaRect.Bottom);
  Speed = ReadInt(ini, s, "Speed", 10);
  InitialDir = ReadByte(ini, s, "InitialDir", InitialDir);
  PosLeftType = ReadByte(ini, s, "PosLeftType", 0);
  PosTopType = ReadByte(ini, s, "PosTopType", 0);
  PosLeft = ReadInt(ini, s, "PosLeft", 100);
  PosTop = ReadInt(ini, s, "PosTop", 100);
  ObjFacing = ReadByte(ini, s, "ObjFacing", 1);
  Opacity = ReadInt(ini, s, "Opacity", 10);
  DisplaySec = ReadInt(ini, s, "DisplaySec", 0);
  DisplayDurationType = ReadByte(ini, s, "DisplayDurationType", 0);
  DisplayDurationSec = ReadInt(ini, s, "DisplayDurationSec", 60);
  DisplayDurationCycle = ReadInt(ini, s, "DIsplayDurationCycle", 10);
  Motion = ReadByte(ini, s, "Motion", 0);
  MotionSpeed = ReadInt(ini, s, "MotionSpeed", 10);
  MotionAreaType = ReadByte(ini, s, "MotionAreaType", 0);
  DirFlip = ReadFlag(ini, s, "DirFlip", false);
  Redisplay = ReadFlag(ini, s, "Redisplay", true);
  RedisplayDelay = ReadInt(ini, s, "RedisplayDelay", 30);
  RedisplayTimes = ReadInt(ini, s, "RedisplayTimes", 0);
  ResetPos = ReadFlag(ini, s, "ResetPos", true);
  RestrictArea = ReadFlag(ini, s, "RestrictArea", true);
  OffScreenEdges = TEdges::FromText(ini.ReadString(s, "OffScreenOpt", "TBLR"));
  AppearEffect = ReadByte(ini, s, "AppearEffect", 0);
  AppearEffectDur = ReadInt(ini, s, "AppearEffectDur", 2);
  DisappearEffect = ReadByte(ini, s, "DisappearEffect", 0);
  DisappearEffectDur = ReadInt(ini, s, "DisappearEffectDur", 2);
}

void TAnimObject::LoadObjectText(std::string_view text) { LoadObjectText(TIniFile::FromText(text), Section()); }

std::string TAnimObject::SaveToText() const {
  TIniFile ini;
  const std::string s = Section();
  const auto put = [&](const char* key, int32_t v) { ini.WriteInteger(s, key, v); };
  put("Left", ScreenLeft);
  put("Top", ScreenTop);
  put("Width", Width);
  put("Height", Height);
  put("Scaled", Scaled);
  put("MoveAreaRectleft", MoveAreaRect.Left);
  put("MoveAreaRecttop", MoveAreaRect.Top);
  put("MoveAreaRectright", MoveAreaRect.Right);
  put("MoveAreaRectbottom", MoveAreaRect.Bottom);
  put("WidthSize", WidthSize);
  put("HeightSize", HeightSize);
  put("Speed", Speed);
  put("InitialPos", InitialPos);
  put("InitialDir", InitialDir);
  put("PosLeftType", PosLeftType);
  put("PosTopType", PosTopType);
  put("PosLeft", PosLeft);
  put("PosTop", PosTop);
  put("ObjFacing", ObjFacing);
  put("Opacity", Opacity);
  put("DisplaySec", DisplaySec);
  put("DisplayDurationType", DisplayDurationType);
  put("DisplayDurationSec", DisplayDurationSec);
  put("DIsplayDurationCycle", DisplayDurationCycle);
  put("Motion", Motion);
  put("MotionSpeed", MotionSpeed);
  put("MotionAreaType", MotionAreaType);
  put("DirFlip", DirFlip);
  put("Redisplay", Redisplay);
  put("RedisplayDelay", RedisplayDelay);
  put("RedisplayTimes", RedisplayTimes);
  put("ResetPos", ResetPos);
  put("RestrictArea", RestrictArea);
  ini.WriteString(s, "OffScreenOpt", OffScreenEdges.ToText());
  put("AppearEffect", AppearEffect);
  put("AppearEffectDur", AppearEffectDur);
  put("DisappearEffect", DisappearEffect);
  put("DisappearEffectDur", DisappearEffectDur);
  SaveOwnKeys(ini, s);
  return ini.ToText();
}

uint8_t TAnimObject::FullAlpha() const {
  return uint8_t(std::clamp<int64_t>(RoundEven(double(Opacity) * 2550 / 100), 0, 255));
}

TRect TAnimObject::DrawRect() const {
  const double w = double(PictureWidth) * ScaleX * WidthSize / 100;
  const double h = double(PictureHeight) * ScaleY * HeightSize / 100;
  return {ScreenLeft, ScreenTop, PixelCoordinate(ScreenLeft + w), PixelCoordinate(ScreenTop + h)};
}

// ---- the list ----

void TAnimObjects::Add(std::unique_ptr<TAnimObject> object) {
  object->Index = int32_t(m_items.size());
  m_items.push_back(std::move(object));
}

void TAnimObjects::LoadFromText(std::string_view text) {
  Clear();
  const TIniFile ini = TIniFile::FromText(text);
  const size_t sections = ini.SectionNames().size();
  for (size_t i = 0; i < sections && m_items.size() < kMaxObjects; ++i) {
    const std::string section = "Obj" + std::to_string(i);
    const std::string type = ini.ReadString(section, "ObjType", "");
    std::unique_ptr<TAnimObject> object;
    if (type == "GIF") object = std::make_unique<TGifObject>();
    else if (type == "IMG") object = std::make_unique<TImgObject>();
    else continue;
    Add(std::move(object));
    m_items.back()->LoadObjectText(ini, section);
  }
}

void TAnimObjects::LocateFiles(const std::string& folder) {
  for (auto& object : m_items) object->LocateFile(folder);
}

std::string NamePart(std::string_view path) {
  const size_t cut = path.find_last_of("/\\");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace kx
