// Animated objects: small pictures that a picture file places over its
// picture. They appear after a delay, move in one of ten ways inside an area,
// face their direction of travel, fade in and out, stay for a time or until
// they leave the picture, and come back later.
//
// Coordinates are design pixels (the picture file's stored picture size); an
// object's position is the centre of its picture.
//
// Objects have no thread of their own: the engine runs, before each frame,
// the steps that fell due (one per kStepMs of clock time), each step seeing
// its own due time as "now". Motion therefore follows the step rate exactly,
// every frame draws every object from one finished step, and a headless
// render on a virtual clock equals the screen.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "raster/uBitmap.h"
#include "raster/uGeometry.h"
#include "raster/uRandom.h"

namespace kx {

class TIniFile;

// The edges through which an object may leave the picture.
struct TEdges {
  bool Top = false, Bottom = false, Left = false, Right = false;
  // Each of "T", "B", "L", "R" anywhere in the text allows its edge; case matters.
  static TEdges FromText(std::string_view text);
  // The allowed edges' letters in the order T, B, L, R.
  std::string ToText() const;
};

class TAnimObject {
 public:
  static constexpr uint32_t kStepMs = 5;
  // Steps that fall due during a stall longer than this are dropped, so a
  // long pause never freezes the show while objects catch up.
  static constexpr uint32_t kMaxCatchUpMs = 2000;

  virtual ~TAnimObject() = default;
  TAnimObject(const TAnimObject&) = delete;
  TAnimObject& operator=(const TAnimObject&) = delete;

  // Reads the common keys of a section (a key that is missing or not a
  // number keeps its default).
  void LoadFromText(const TIniFile& ini, const std::string& section);
  // Reads this class's keys and then the common ones from section
  // "Obj<Index>" of the text.
  void LoadObjectText(std::string_view text);
  virtual void LoadObjectText(const TIniFile& ini, const std::string& section) { LoadFromText(ini, section); }
  // The settings as INI text: the common keys in their fixed order, then the
  // class's own keys.
  std::string SaveToText() const;

  // Prepares the object for a new appearance of its picture at tick `now`:
  // loads the picture (picture classes) and places the object. The object
  // draws from random (the show's generator, which must outlive its steps)
  // until the next Start. With reseed the generator is reseeded from the
  // clock first; without it the generator goes on from where the caller
  // left it (repeatable runs).
  virtual void Start(uint32_t now, TRandom& random, bool reseed);
  // Stops stepping until the next Start.
  virtual void Stop() { m_running = false; }
  // Runs the steps due up to `now`, each at its own due time. Steps more
  // than kMaxCatchUpMs behind are skipped.
  void CatchUp(uint32_t now);
  // One step at tick `now`: the display state, then motion while visible
  // (after a Start, whose generator it draws from).
  void Step(uint32_t now);

  // Picture classes: when the picture file does not exist, the file of the
  // same name in folder (ending in a separator) is taken instead.
  virtual void LocateFile(const std::string& folder) {}
  // Whether the object has a picture to draw (picture classes).
  virtual bool HasPicture() const { return false; }
  // Draws the picture (mirrored left to right when asked) stretched over
  // rect of dst with the class's blend rule, at tick `now`.
  virtual void Draw(TBitmap32& dst, const TRect& rect, bool mirrored, uint32_t now) {}
  // The rectangle the engine draws into: the screen position and the
  // picture's display-scaled size times WidthSize and HeightSize percent.
  // Computed in 64 bits and kept within +-2^30.
  TRect DrawRect() const;
  bool Running() const { return m_running; }

  // ---- identity ----
  int32_t Index = 0;

  // ---- settings ----
  int32_t Width = 0, Height = 0;
  bool Scaled = true;  // read and written; drawing always scales
  int32_t WidthSize = 100, HeightSize = 100;
  TRect MoveAreaRect{};
  int32_t Speed = 10;
  int32_t InitialPos = 0;  // written, never read
  uint8_t InitialDir = 0;
  uint8_t PosLeftType = 0, PosTopType = 0;
  int32_t PosLeft = 100, PosTop = 100;
  uint8_t ObjFacing = 1;
  int32_t Opacity = 10;
  int32_t DisplaySec = 0;
  uint8_t DisplayDurationType = 0;
  int32_t DisplayDurationSec = 60;
  int32_t DisplayDurationCycle = 10;
  uint8_t Motion = 0;
  int32_t MotionSpeed = 10;
  uint8_t MotionAreaType = 0;
  bool DirFlip = false;
  bool Redisplay = true;
  int32_t RedisplayDelay = 30;
  int32_t RedisplayTimes = 0;
  bool ResetPos = true;
  bool RestrictArea = true;
  TEdges OffScreenEdges{true, true, true, true};
  uint8_t AppearEffect = 0;
  int32_t AppearEffectDur = 2;
  uint8_t DisappearEffect = 0;
  int32_t DisappearEffectDur = 2;

  // ---- geometry (set by the engine before Start) ----
  int32_t DesignWidth = 0, DesignHeight = 0;
  TRect DisplayRect{};
  double ScaleX = 0, ScaleY = 0;
  int32_t PictureWidth = 0, PictureHeight = 0;
  TRect Area{};

  // ---- position and motion ----
  double PosX = 0, PosY = 0;
  int32_t ScreenLeft = 0, ScreenTop = 0;
  double BounceX = 0, BounceY = 0;
  int32_t DirX = 1, DirY = 1, MirrorX = 1, MirrorY = 1;
  double WanderX = 0, WanderY = 0;
  int32_t WanderDirX = 1, WanderDirY = 0;
  int32_t WanderCount = 0, WanderLimit = 0, WanderRangeX = 0, WanderRangeY = 0;

  // ---- display state ----
  bool Visible = false, Flipped = false, OffScreen = false;
  int64_t StartTick = -1;  // ms tick of the current wait or appearance; -1: finished
  int32_t CurrentDelay = 0;  // seconds
  int32_t StepCount = 0;
  uint8_t Alpha = 255;  // the picture's master alpha

 protected:
  TAnimObject() = default;
  // The class's own keys after the common ones.
  virtual void SaveOwnKeys(TIniFile& ini, const std::string& section) const {}
  std::string Section() const { return "Obj" + std::to_string(Index); }
  // The common Start, after the picture is loaded.
  void StartMotion(uint32_t now, TRandom& random, bool reseed);
  // nearest(Opacity x 2550 / 100), within 0..255.
  uint8_t FullAlpha() const;

 private:
  void ResetMotion();
  void UpdateDisplay(uint32_t now);
  // Fades to p percent of full opacity.
  void FadeTo(double p);
  void Move();
  void Turn();
  void Place();
  void Face(int32_t oldLeft);
  void SetPos(double x, double y);
  int32_t FirstPosition(uint8_t type, int32_t value, int32_t lo, int32_t hi) const;
  bool Leaving(double v, int32_t lo, int32_t hi, int32_t design, int32_t dir, bool lowAllowed,
               bool highAllowed) const;

  bool m_running = false;
  uint32_t m_nextStep = 0;  // due time of the next step
  TRandom* m_random = nullptr;  // the generator of the last Start
};

class TAnimObjects {
 public:
  // More sections than this are read as this many objects: a hostile text
  // cannot make the show step and draw without bound.
  static constexpr size_t kMaxObjects = 1000;

  TAnimObjects() = default;
  TAnimObjects(TAnimObjects&&) noexcept = default;
  TAnimObjects& operator=(TAnimObjects&&) noexcept = default;

  // Gives the object Index := count and appends it.
  void Add(std::unique_ptr<TAnimObject> object);
  void Clear() { m_items.clear(); }
  // Clear, then one object per section "Obj<i>" (i from 0 while sections
  // remain) whose "ObjType" is exactly "IMG" or "GIF"; other sections make
  // none. Each object reads the section that made it.
  void LoadFromText(std::string_view text);

  size_t Count() const { return m_items.size(); }
  bool Empty() const { return m_items.empty(); }
  TAnimObject& operator[](size_t i) { return *m_items[i]; }
  const TAnimObject& operator[](size_t i) const { return *m_items[i]; }

  // Gives every picture object whose file does not exist the file of the
  // same name in folder (which ends in a separator).
  void LocateFiles(const std::string& folder);

 private:
  std::vector<std::unique_ptr<TAnimObject>> m_items;
};

// The name part of a stored path: what follows its last "/" or "\" (stored
// paths may come from either kind of system).
std::string NamePart(std::string_view path);

}  // namespace kx
