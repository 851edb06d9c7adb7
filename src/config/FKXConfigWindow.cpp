#include "config/FKXConfigWindow.h"

#include <FL/Fl.H>

#include <algorithm>
#include <exception>

#include "config/uDefinedWindow.h"
#include "devices/uMessageBox.h"
#include "raster/uResample.h"
#include "ui/uFormBuilder.h"
#include "ui/uKXPreview.h"
#include "ui/uKXThumbnail2.h"
#include "ui/uStdControls.h"

namespace kx {
namespace {

constexpr uint8_t kCloseWindowAction = 6;

// The picture at most kIconSide pixels on its longer side, its shape kept.
constexpr int kIconSide = 48;
TBitmap32 WindowIcon(const TBitmap32& picture) {
  const int longer = std::max(picture.Width(), picture.Height());
  const int w = std::max(1, picture.Width() * std::min(longer, kIconSide) / longer);
  const int h = std::max(1, picture.Height() * std::min(longer, kIconSide) / longer);
  return ResizeBilinear(picture, w, h);
}

// The parameters end with CR LF once expanded; an opener given a target
// with a line break would look for a name that has one.
std::string WithoutLineEnd(std::string s) {
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.pop_back();
  return s;
}

}  // namespace

TfmKXCOnfigWindow::TfmKXCOnfigWindow(TConfigContext& context) : m_context(context) {
  callback(
      [](Fl_Widget* w, void*) {
        auto* self = static_cast<TfmKXCOnfigWindow*>(w);
        // Escape closes a window only as its cancel or close button would.
        if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape && !self->HasCancelControl()) return;
        self->CloseWindow();
      },
      nullptr);
}

TfmKXCOnfigWindow::~TfmKXCOnfigWindow() = default;

int TfmKXCOnfigWindow::PictureCount() const { return int(m_context.Project.FileList.Names.size()); }

std::optional<int> TfmKXCOnfigWindow::PictureAt(const TPicturePosition& position) const {
  if (!position.Plain || position.Value < 0 || position.Value >= PictureCount()) return std::nullopt;
  return position.Value;
}

void TfmKXCOnfigWindow::FormShow() {
  const auto& pictures = m_context.Project.FileList.Names;
  const bool persisting = m_context.Persisting();
  const TUserSettings settings =
      persisting ? ReadUserSettingsFile(m_context.SettingsPath(), TUserSettingsReader::Dialog).value_or(TUserSettings{})
                 : TUserSettings{};
  if (persisting) LoadCurrentIndex(settings);
  for (TComponent* c : Components) {
    // One component that cannot be prepared does not keep the others from it.
    try {
      if (auto* edit = dynamic_cast<TEdit*>(c)) edit->readonly(0);
      if (IsClickableClass(c->ClassName)) c->OnClick = [this](TComponent& sender) { ExecuteAction(sender); };
      if (auto* pages = dynamic_cast<TPageControl*>(c)) {
        if (Fl_Widget* page = pages->value()) page->redraw();
      }
      if (auto* grid = dynamic_cast<TKXThumbnail2*>(c)) {
        grid->Errors = m_context.Errors;
        // A picture that does not decode is a placeholder cell in the grid;
        // its error must not cost the grid its ticks and its wiring, or the
        // close handler would write every picture as unticked.
        try {
          grid->SetItems(pictures);
        } catch (const std::exception& e) {
          if (m_context.Errors) m_context.Errors->Report("thumbnail", e.what());
        }
        if (persisting) LoadChecks(settings, *grid);
        grid->OnSelectItem = [this](void*, int index) { SelectPicture(index); };
        grid->redraw();
        grid->SelectItem(CurrentIndex);
      }
      if (auto* preview = dynamic_cast<TKXPreview*>(c); preview && !pictures.empty())
        preview->SetFileName(pictures.front());
      if (c->ClassName != "TTabSheet" && c->ClassName != "TTimer") {
        c->Visible = (c->Tag & 1) != 0;
        if (Fl_Widget* w = c->Widget()) c->Visible ? w->show() : w->hide();
      }
    } catch (const std::exception&) {
    }
  }
  SelectPicture(CurrentIndex);
  // The taskbar shows the picture of the first preview as the window's icon.
  for (TComponent* c : Components)
    if (auto* preview = dynamic_cast<TKXPreview*>(c); preview && !preview->Picture().Empty()) {
      Identity.Icon = WindowIcon(preview->Picture().Bitmap());
      break;
    }
}

void TfmKXCOnfigWindow::FormClose() {
  // The components go with the window once its modal loop has ended: the
  // click that closes it is still running in one of them.
  if (!SaveOnClose || !m_context.Persisting()) return;
  // Only the window's parts of the file are replaced, so keys the window
  // does not own survive, and [Files] stays as it is without a grid; a file
  // that cannot be written is reported and left as it was (the choices of
  // this window are then lost, but nothing else).
  try {
    TUserSettings settings;
    uint32_t parts = kCurrentPicturePart;
    SaveCurrentIndex(settings);
    for (TComponent* c : Components)
      if (auto* grid = dynamic_cast<TKXThumbnail2*>(c)) {
        SaveChecks(settings, *grid);
        parts |= kUntickedPicturesPart;
      }
    WriteUserSettingsFile(m_context.SettingsPath(), settings, parts);
  } catch (const std::exception& e) {
    ShowMessageBox(e.what(), TMessageKind::Error);
  }
}

void TfmKXCOnfigWindow::LoadCurrentIndex(const TUserSettings& settings) {
  // Only the plain decimal text of a picture's index counts: "03" and
  // indexes past the list leave the first picture current.
  if (const std::optional<int> i = PictureAt(settings.Index)) CurrentIndex = *i;
}

void TfmKXCOnfigWindow::SaveCurrentIndex(TUserSettings& settings) const { settings.Index = {CurrentIndex, true}; }

void TfmKXCOnfigWindow::LoadChecks(const TUserSettings& settings, TKXThumbnail2& grid) const {
  const int count = PictureCount();
  for (int i = 0; i < count; ++i) grid.SetCheckState(i, true);
  // [Files] names the unticked pictures; keys naming no picture are ignored.
  for (const TPicturePosition& unticked : settings.Files)
    if (const std::optional<int> i = PictureAt(unticked)) grid.SetCheckState(*i, false);
}

void TfmKXCOnfigWindow::SaveChecks(TUserSettings& settings, const TKXThumbnail2& grid) const {
  // Each grid replaces what the one before it put there: the last one's ticks are written.
  settings.Files.clear();
  for (int i = 0; i < PictureCount(); ++i)
    if (!grid.CheckState(i)) settings.Files.push_back({i, true});
}

void TfmKXCOnfigWindow::SelectPicture(int32_t index) {
  const int count = PictureCount();
  if (index >= count) index = count - 1;
  if (index < 0) index = 0;
  CurrentIndex = index;
  if (count == 0) return;
  for (TComponent* c : Components)
    if (auto* preview = dynamic_cast<TKXPreview*>(c)) {
      try {
        preview->SetFileName(m_context.Project.FileList.Names[size_t(CurrentIndex)]);
      } catch (const std::exception& e) {
        ShowMessageBox(e.what(), TMessageKind::Error);
      }
    }
}

void TfmKXCOnfigWindow::ExecuteAction(TComponent& sender) {
  try {
    const TKXForm& definition = m_context.Forms.FindForm(Name);
    const TAction* action = definition.Bindings.FindAction(sender.Name);
    if (!action) return;
    const TKXCProject& project = m_context.Project;
    const std::string p1 = ExpandPlaceholderLines(action->Param1, project);
    switch (action->ActionType) {
      case 0:
        if (m_context.OpenUrl) m_context.OpenUrl(WithoutLineEnd(p1));
        break;
      case 1:
        ShowDefinedWindow(m_context, p1);
        break;
      case 2:
        SelectPicture(CurrentIndex + 1);
        break;
      case 3:
        SelectPicture(CurrentIndex - 1);
        break;
      case 4:
        if (PictureCount() > 0 && m_context.PreviewPicture) m_context.PreviewPicture(*this, CurrentIndex);
        break;
      case 5:
        if (m_context.OpenSettings) m_context.OpenSettings(*this);
        break;
      case kCloseWindowAction:
        CloseWindow();
        break;
      case 9:
        if (m_context.SetWallpaper) m_context.SetWallpaper(*this, CurrentIndex);
        break;
      default:
        break;
    }
  } catch (const std::exception& e) {
    ShowMessageBox(e.what(), TMessageKind::Error);
  }
}

bool TfmKXCOnfigWindow::HasCancelControl() {
  const TKXForm* definition = nullptr;
  try {
    definition = &m_context.Forms.FindForm(Name);
  } catch (const std::exception&) {
  }
  for (TComponent* c : Components) {
    Fl_Widget* w = c->Widget();
    if (!w || !w->visible_r() || !w->active_r()) continue;
    if (auto* button = dynamic_cast<TButton*>(c); button && button->Cancel) return true;
    if (!definition || !IsClickableClass(c->ClassName)) continue;
    const TAction* action = definition->Bindings.FindAction(c->Name);
    if (action && action->ActionType == kCloseWindowAction) return true;
  }
  return false;
}

void TfmKXCOnfigWindow::SetApplicationTitle(const std::string& title) {
  m_applicationTitle = title;
  iconlabel(m_applicationTitle.c_str());
}

void TfmKXCOnfigWindow::ShowModal() {
  m_closed = false;
  set_modal();
  show();
  while (shown() && !m_closed) Fl::wait();
}

void TfmKXCOnfigWindow::CloseWindow() {
  if (m_closed) return;
  m_closed = true;
  FormClose();
  hide();
}

}  // namespace kx
