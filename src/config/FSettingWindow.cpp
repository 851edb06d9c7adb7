#include "config/FSettingWindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/fl_draw.H>

#include <exception>
#include <initializer_list>
#include <stdexcept>

#include "config/FKXConfigWindow.h"
#include "config/uConfigContext.h"
#include "devices/uMessageBox.h"
#include "os/uFileAccess.h"
#include "package/uIniFile.h"
#include "ui/uFlDraw.h"

// The file chooser brings in X11's names for the mouse buttons; the dialog's
// buttons have the same names.
#undef Button1
#undef Button2
#undef Button3
#undef Button4

namespace kx {
namespace {

constexpr int kClientWidth = 364, kClientHeight = 324;
// The page control and the area of its pages: tabs 20 pixels high, pages
// inset by 4 pixels on every side below them.
constexpr int kPagesX = 8, kPagesY = 8, kPagesW = 345, kPagesH = 273, kTabH = 20;
constexpr int kSheetX = kPagesX + 4, kSheetY = kPagesY + kTabH + 4;
constexpr int kComboH = 21, kEditH = 21, kLabelH = 13, kTrackH = 25, kUpDownW = 16;
constexpr int kDurationMin = 10, kDurationMax = 999, kDurationPreset = 10;
constexpr int kSpeedMax = 20, kSpeedPreset = 10;

TFontDesc DialogFont() {
  TFontDesc font;
  font.Name = "Tahoma";
  font.Height = -11;
  return font;
}

// The drop-down lists' items.
using TItems = std::initializer_list<const char*>;
constexpr TItems kImageQualityItems = {"Highest (Slower)", "Normal ", "Low (Faster)"};
constexpr TItems kImageSizeItems = {"Original Size", "Stretch-Full", "Stretch-Proportional"};
constexpr TItems kShowImageModeItems = {"All images - Random", "All images - Sequential",
                                        "User's favorite (checked images) - Random", "Single - Selected Image"};
constexpr TItems kClockPosItems = {"Top Left", "Top Right", "Bottom Left", "Bottom Right"};

// Every widget of the tree in the dialog's font.
void ApplyFont(Fl_Widget& w, Fl_Font face, int size) {
  w.labelfont(face);
  w.labelsize(size);
  if (auto* input = dynamic_cast<Fl_Input_*>(&w)) input->textfont(face), input->textsize(size);
  if (auto* menu = dynamic_cast<Fl_Menu_*>(&w)) menu->textfont(face), menu->textsize(size);
  if (auto* browser = dynamic_cast<Fl_Browser*>(&w)) browser->textfont(face), browser->textsize(size);
  if (auto* group = w.as_group())
    for (int i = 0; i < group->children(); ++i) ApplyFont(*group->child(i), face, size);
}

Fl_Box* NewLabel(int x, int y, int w, const char* caption) {
  auto* label = new Fl_Box(x, y, w, kLabelH, caption);
  label->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_TOP);
  return label;
}

Fl_Check_Button* NewCheckBox(int x, int y, int w, int h, const char* caption) {
  return new Fl_Check_Button(x, y, w, h, caption);
}

Fl_Choice* NewDropDown(int x, int y, int w, TItems items, int preset) {
  auto* choice = new Fl_Choice(x, y, w, kComboH);
  // Item texts are taken as they are: no "/" submenus, "&" shortcuts or "_" dividers.
  for (const char* item : items) choice->add("", 0, nullptr), choice->replace(choice->size() - 2, item);
  choice->value(preset);
  return choice;
}

void SetItemIndex(Fl_Choice& choice, int index) {
  const int count = choice.size() - 1;  // size() counts the terminating item
  choice.value(index >= 0 && index < count ? index : 0);
}

// A label that reads as a link: blue, underlined, the hand pointer over it,
// and a completed left click runs its callback.
class TLinkLabel : public Fl_Box {
 public:
  TLinkLabel(int x, int y, int w, int h, const char* caption) : Fl_Box(x, y, w, h, caption) {}
  void draw() override {
    TFontDesc font = DialogFont();
    font.Underline = true;
    font.Color = MakePixel(0, 0, 0xFF);
    SetFlFont(font);
    DrawFontText(font, label() ? label() : "", x(), y() + fl_height() - fl_descent());
  }
  int handle(int event) override {
    switch (event) {
      case FL_ENTER:
      case FL_LEAVE:
        ShowHandCursor(*this, event);
        return 1;
      case FL_PUSH:
        return Fl::event_button() == FL_LEFT_MOUSE ? 1 : 0;
      case FL_RELEASE:
        if (Fl::event_inside(this)) do_callback();
        return 1;
      default:
        return Fl_Box::handle(event);
    }
  }
};

std::optional<std::string> RunMusicFileChooser() {
  Fl_Native_File_Chooser chooser(Fl_Native_File_Chooser::BROWSE_FILE);
  chooser.title("Add Music");
  // Windows matches without regard to case; here the upper-case names are listed too.
  chooser.filter("Music Files\t*.{mp3,wma,mid,wav,ogg,flac,MP3,WMA,MID,WAV,OGG,FLAC}");
  if (chooser.show() != 0 || !chooser.filename()) return std::nullopt;
  return std::string(chooser.filename());
}

}  // namespace

// ---- TfmSettingWindow ----

TfmSettingWindow::TfmSettingWindow() : Fl_Double_Window(0, 0, kClientWidth, kClientHeight, "Settings") {
  ChooseMusicFile = RunMusicFileChooser;
  const int sx = kSheetX, sy = kSheetY;

  PageControl1 = new Fl_Tabs(kPagesX, kPagesY, kPagesW, kPagesH);
  TabSheet1 = new Fl_Group(kPagesX, kPagesY + kTabH, kPagesW, kPagesH - kTabH, "General Settings");
  TabSheet1->box(FL_UP_BOX);
  cbMusic = NewCheckBox(sx + 29, sy + 14, 93, 17, "Enable Music");
  cbSound = NewCheckBox(sx + 142, sy + 14, 195, 17, "Enable Sound Effects");
  cbDirectX = NewCheckBox(sx + 29, sy + 40, 171, 17, "Use DirectX (Faster Animation)");
  lblImgQuality = NewLabel(sx + 29, sy + 69, 108, "Direct X Quality");
  cbImageQuality = NewDropDown(sx + 141, sy + 67, 154, kImageQualityItems, 1);
  Label5 = NewLabel(sx + 29, sy + 101, 108, "Image Size");
  cbImageSize = NewDropDown(sx + 141, sy + 97, 154, kImageSizeItems, 0);
  Label6 = NewLabel(sx + 30, sy + 132, 107, "Show Image");
  cbShowImageMode = NewDropDown(sx + 141, sy + 127, 154, kShowImageModeItems, 0);
  lblDuration = NewLabel(sx + 30, sy + 160, 106, "Image Duration");
  txtDuration = new Fl_Int_Input(sx + 140, sy + 157, 27, kEditH);
  txtDuration->maximum_size(3);
  UpDown1 = new TUpDown(sx + 167, sy + 157, kUpDownW, kEditH, *txtDuration, kDurationMin, kDurationMax);
  UpDown1->SetPosition(kDurationPreset);
  lblSec = NewLabel(sx + 196, sy + 160, 60, "seconds");
  Label8 = NewLabel(sx + 30, sy + 190, 102, "Animation Speed");
  tbSpeed = new TTrackBar(sx + 136, sy + 189, 162, kTrackH, kSpeedMax, kSpeedPreset);
  cbShowClock = NewCheckBox(sx + 30, sy + 218, 97, 17, "Show Clock");
  cbClockPos = NewDropDown(sx + 141, sy + 216, 153, kClockPosItems, 1);
  TabSheet1->end();

  TabSheet2 = new Fl_Group(kPagesX, kPagesY + kTabH, kPagesW, kPagesH - kTabH, "Background Music");
  TabSheet2->box(FL_UP_BOX);
  cbCustomMusic = NewCheckBox(sx + 7, sy + 7, 114, 17, "Use Custom Music");
  cbShuffleMusic = NewCheckBox(sx + 137, sy + 7, 97, 17, "Shuffle Playlist");
  lstMusic = new TListView(sx + 7, sy + 32, 324, 180, "File");
  Button3 = new Fl_Button(sx + 8, sy + 219, 38, 21, "Add");
  Button3->callback([](Fl_Widget* w, void*) { static_cast<TfmSettingWindow*>(w->window())->Button3Click(); });
  Button4 = new Fl_Button(sx + 50, sy + 219, 49, 21, "Remove");
  Button4->callback([](Fl_Widget* w, void*) { static_cast<TfmSettingWindow*>(w->window())->Button4Click(); });
  TabSheet2->end();
  TabSheet2->hide();
  PageControl1->end();
  PageControl1->value(TabSheet1);

  Button1 = new Fl_Button(198, 289, 75, 25, "OK");
  Button1->callback([](Fl_Widget* w, void*) { static_cast<TfmSettingWindow*>(w->window())->ClickOK(); });
  Button2 = new Fl_Button(278, 289, 75, 25, "Cancel");
  Button2->callback([](Fl_Widget* w, void*) { static_cast<TfmSettingWindow*>(w->window())->ClickCancel(); });

  // Below the client area: never seen, the transition switch still carries its value.
  GroupBox1 = new Fl_Group(13, 334, 297, 114, "Play Mode");
  GroupBox1->box(FL_ENGRAVED_FRAME);
  GroupBox1->align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);
  Label3 = new TLinkLabel(13 + 237, 334 + 81, 30, kLabelH, "Reset");
  Label3->callback([](Fl_Widget* w, void*) { static_cast<TfmSettingWindow*>(w->window())->Label3Click(); });
  GroupBox1->end();
  cbTransition = NewCheckBox(22, 341, 179, 17, "Enable Transition");
  cbTransition->value(1);
  end();

  const TFontDesc font = DialogFont();
  ApplyFont(*this, FlFont(font), FlFontSize(font));
  resizable(nullptr);
  size_range(kClientWidth, kClientHeight, kClientWidth, kClientHeight);
  // Escape and the close box cancel.
  callback([](Fl_Widget* w, void*) { static_cast<TfmSettingWindow*>(w)->ClickCancel(); });
}

TfmSettingWindow::~TfmSettingWindow() = default;

void TfmSettingWindow::FormShow() {
  while (lstMusic->Count() > 0) lstMusic->DeleteRow(lstMusic->Count() - 1);
  for (const std::string& entry : MusicList) lstMusic->AddRow(entry);
}

void TfmSettingWindow::Button1Click() { MusicList = lstMusic->Rows(); }

void TfmSettingWindow::Button3Click() {
  const std::optional<std::string> chosen = ChooseMusicFile ? ChooseMusicFile() : std::nullopt;
  if (!chosen) return;
  if (!FileExists(*chosen)) {
    ShowMessageBox(*chosen + "\r\nFile not found.", TMessageKind::Warning);
    return;
  }
  // The playlist keeps each file as a key of the settings file and the show
  // joins them with ";": a name that cannot be kept is refused now rather
  // than lost or split later.
  if (!CanStoreMusicEntry(*chosen)) {
    ShowMessageBox("This file name cannot be kept in the playlist:\r\n" + *chosen, TMessageKind::Warning);
    return;
  }
  lstMusic->AddRow(*chosen);
}

void TfmSettingWindow::Button4Click() {
  const int row = lstMusic->Selected();
  if (row >= 0) lstMusic->DeleteRow(row);
}

void TfmSettingWindow::Label3Click() { tbSpeed->SetPosition(kSpeedPreset); }

void TfmSettingWindow::ClickOK() {
  if (!Button1->active()) return;
  Button1Click();
  Close(TModalResult::mrOk);
}

void TfmSettingWindow::ClickCancel() { Close(TModalResult::mrCancel); }

void TfmSettingWindow::Close(TModalResult result) {
  m_result = result;
  hide();
}

TModalResult TfmSettingWindow::ShowModal() {
  m_result = TModalResult::mrNone;
  FormShow();
  int sx, sy, sw, sh;
  Fl::screen_work_area(sx, sy, sw, sh);
  position(sx + (sw - w()) / 2, sy + (sh - h()) / 2);
  set_modal();
  show();
  while (shown() && m_result == TModalResult::mrNone) Fl::wait();
  if (m_result == TModalResult::mrNone) m_result = TModalResult::mrCancel;
  hide();
  return m_result;
}

// ---- The Open setting flow ----

void SetDialogControls(TfmSettingWindow& d, const TDialogSettings& v) {
  v.Persisting ? d.Button1->activate() : d.Button1->deactivate();
  SetItemIndex(*d.cbImageSize, v.ImageSize);
  SetItemIndex(*d.cbShowImageMode, v.ImageMode);
  SetItemIndex(*d.cbImageQuality, v.DirectXQuality);
  SetItemIndex(*d.cbClockPos, v.ClockPos);
  d.tbSpeed->SetPosition(v.SpeedPosition);
  d.cbSound->value(v.Sound);
  d.cbMusic->value(v.Music);
  d.cbTransition->value(v.Transition);
  d.cbDirectX->value(v.DirectX);
  d.cbCustomMusic->value(v.CustomMusic);
  d.cbShuffleMusic->value(v.ShuffleMusic);
  d.cbShowClock->value(v.ShowClock);
  d.UpDown1->SetPosition(v.Duration);
  d.MusicList = v.MusicList;
}

TDialogSettings DialogControlValues(const TfmSettingWindow& d, bool persisting) {
  const std::string text = d.txtDuration->value() ? d.txtDuration->value() : "";
  const std::optional<int32_t> duration = ParseInteger(text);
  if (!duration) throw std::runtime_error("'" + text + "' is not a valid integer value");
  TDialogSettings v;
  v.Persisting = persisting;
  v.ImageSize = d.cbImageSize->value();
  v.ImageMode = d.cbShowImageMode->value();
  v.ClockPos = d.cbClockPos->value();
  v.DirectXQuality = d.cbImageQuality->value();
  v.MusicList = d.MusicList;
  v.ShowClock = d.cbShowClock->value() != 0;
  v.ShuffleMusic = d.cbShuffleMusic->value() != 0;
  v.CustomMusic = d.cbCustomMusic->value() != 0;
  v.DirectX = d.cbDirectX->value() != 0;
  v.Transition = d.cbTransition->value() != 0;
  v.Music = d.cbMusic->value() != 0;
  v.Sound = d.cbSound->value() != 0;
  v.Duration = *duration;
  v.SpeedPosition = d.tbSpeed->Position();
  return v;
}

void RunSettingsDialog(const TConfigContext& context, const TDialogSettingsFile& file,
                       const std::function<TModalResult(TfmSettingWindow&)>& run) {
  TfmSettingWindow dialog;
  SetDialogControls(dialog, ReadDialogSettings(context.Project, file));
  if (run(dialog) != TModalResult::mrOk || !file.Persisting) return;
  try {
    WriteDialogSettings(DialogControlValues(dialog, true), file);
  } catch (const std::exception& e) {
    ShowMessageBox(e.what(), TMessageKind::Error);
  }
}

void OpenSettingsDialog(TfmKXCOnfigWindow& owner) {
  RunSettingsDialog(owner.Context(), DialogSettingsFile(owner.Context()),
                    [](TfmSettingWindow& dialog) { return dialog.ShowModal(); });
}

}  // namespace kx
