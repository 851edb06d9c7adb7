// The settings dialog: a fixed window of standard controls in which the user
// sets how the show runs (picture size and order, duration, speed, sound,
// music and its playlist, the display path and the clock), and the Open
// setting flow that fills it from the user settings file and writes it back.
#pragma once

#include <FL/Fl_Box.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Int_Input.H>
#include <FL/Fl_Tabs.H>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/uDialogSettings.h"
#include "ui/uListView.h"
#include "ui/uTrackBar.h"
#include "ui/uUpDown.h"

namespace kx {

class TfmKXCOnfigWindow;
struct TConfigContext;

enum class TModalResult { mrNone, mrOk, mrCancel };

class TfmSettingWindow : public Fl_Double_Window {
 public:
  TfmSettingWindow();
  ~TfmSettingWindow() override;

  // The playlist carried in (shown by FormShow) and out (set by Button1Click).
  std::vector<std::string> MusicList;

  // Chooses the file for "Add"; returns nothing when the user cancelled. The
  // default runs the desktop's file chooser for music files.
  std::function<std::optional<std::string>()> ChooseMusicFile;

  void FormShow();
  void Button1Click();  // "OK"
  void Button3Click();  // "Add"
  void Button4Click();  // "Remove"
  void Label3Click();   // "Reset"

  // Shows the dialog modally and returns how it closed: OK, or Cancel for
  // "Cancel", Escape and the close box.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return m_result; }
  // What a click on "OK" or "Cancel" does; "OK" does nothing while disabled.
  void ClickOK();
  void ClickCancel();

  Fl_Tabs* PageControl1;
  Fl_Group* TabSheet1;
  Fl_Group* TabSheet2;
  Fl_Check_Button* cbMusic;
  Fl_Check_Button* cbSound;
  Fl_Check_Button* cbDirectX;
  Fl_Box* lblImgQuality;
  Fl_Choice* cbImageQuality;
  Fl_Box* Label5;
  Fl_Choice* cbImageSize;
  Fl_Box* Label6;
  Fl_Choice* cbShowImageMode;
  Fl_Box* lblDuration;
  Fl_Int_Input* txtDuration;
  TUpDown* UpDown1;
  Fl_Box* lblSec;
  Fl_Box* Label8;
  TTrackBar* tbSpeed;
  Fl_Check_Button* cbShowClock;
  Fl_Choice* cbClockPos;
  Fl_Check_Button* cbCustomMusic;
  Fl_Check_Button* cbShuffleMusic;
  TListView* lstMusic;
  Fl_Button* Button3;
  Fl_Button* Button4;
  Fl_Button* Button1;
  Fl_Button* Button2;
  Fl_Group* GroupBox1;
  Fl_Box* Label3;
  Fl_Check_Button* cbTransition;

 private:
  void Close(TModalResult result);
  TModalResult m_result = TModalResult::mrNone;
};

// Puts the values into the dialog's controls as the Open setting flow does:
// drop-down lists at their indexes (an index outside the items shows the
// first one), the track bar at the speed position (clamped to the bar), the
// switches, the up-down at the duration (kept within its range), the playlist
// into MusicList; "OK" enabled only when the values persist.
void SetDialogControls(TfmSettingWindow& dialog, const TDialogSettings& values);
// The values the dialog's controls hold. Throws std::runtime_error with the
// conversion message when the duration's box holds no decimal integer.
TDialogSettings DialogControlValues(const TfmSettingWindow& dialog, bool persisting);

// The Open setting flow on a configuration window's context: read, fill,
// run (run shows the dialog and returns how it closed; ShowModal by default),
// and on OK write, or show in a message box why nothing was written.
void RunSettingsDialog(const TConfigContext& context, const TDialogSettingsFile& file,
                       const std::function<TModalResult(TfmSettingWindow&)>& run);
// The action Open setting of a configuration window: the flow above on the
// window's own settings file, shown modally.
void OpenSettingsDialog(TfmKXCOnfigWindow& owner);

}  // namespace kx
