#include "ui/uFormBuilder.h"

#include <FL/Fl.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Tabs.H>
#include <FL/x.H>

#include <algorithm>
#include <cctype>
#include <map>

#include "ui/uFlOptions.h"
#include "ui/uFormValues.h"
#include "ui/uKXPreview.h"
#include "ui/uKXThumbnail2.h"
#include "ui/MyBevel.h"
#include "ui/MyMemo.h"
#include "ui/MyShape.h"
#include "ui/uMyButton.h"
#include "ui/uPictureData.h"
#include "ui/uStdControls.h"

// FLTK's call that opens its connection to the window system; its Windows
// header declares it only for the library's own files.
void fl_open_display();

namespace kx {
namespace {

struct TClassEntry {
  std::string_view Name;
  std::unique_ptr<TComponent> (*Create)();
  bool Clickable;
  bool ParentColor;  // takes its container's colour unless it sets its own
};

template <class T>
std::unique_ptr<TComponent> Make() {
  return std::make_unique<T>();
}

// The classes a window definition may use.
const TClassEntry kClasses[] = {
    {"TLabel", Make<TLabel>, true, true},
    {"TImage", Make<TImage>, true, false},
    {"TButton", Make<TButton>, false, false},
    {"TBitBtn", Make<TBitBtn>, true, false},
    {"TCheckBox", Make<TCheckBox>, false, true},
    {"TEdit", Make<TEdit>, false, false},
    {"TPanel", Make<TPanel>, true, false},
    {"TPageControl", Make<TPageControl>, false, false},
    {"TTabSheet", Make<TTabSheet>, false, false},
    {"TForm", Make<TForm>, false, false},
    {"TTimer", Make<TTimer>, false, false},
    {"TShape", Make<TShape>, false, false},
    {"TMyButton", Make<TMyButton>, true, true},
    {"TMyShape", Make<TMyShape>, true, false},
    {"TMyBevel", Make<TMyBevel>, true, false},
    {"TMyMemo", Make<TMyMemo>, false, false},
    {"TKXThumbnail2", Make<TKXThumbnail2>, false, false},
    {"TKXPreview", Make<TKXPreview>, true, false},
};

const TClassEntry* FindClass(std::string_view name) {
  for (const auto& c : kClasses)
    if (SameText(c.Name, name)) return &c;
  return nullptr;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

class TBuilder {
 public:
  explicit TBuilder(TfmKXFormParent& root) : m_root(root) {}

  void Build(const TFormObject& form) {
    m_root.Name = form.Name;
    Register(m_root);
    ApplyAll(m_root, nullptr, form.Props);
    if (m_root.w() > kMaxWindowSide || m_root.h() > kMaxWindowSide)
      throw TFormBuildError("The window is too large: " + std::to_string(m_root.w()) + " x " +
                            std::to_string(m_root.h()));
    // No control shows more than the larger of the window and the screen:
    // bigger ones are cut to that, so that their pictures are not made at a
    // size nobody sees.
    int sx, sy, sw, sh;
    Fl::screen_xywh(sx, sy, sw, sh, 0);
    m_limitW = std::clamp(std::max(m_root.w(), sw), 1, kMaxWindowSide);
    m_limitH = std::clamp(std::max(m_root.h(), sh), 1, kMaxWindowSide);
    m_root.Loaded();
    for (const auto& child : form.Children) Create(child, &m_root);
    Resolve();
  }

 private:
  void Register(TComponent& c) {
    if (!c.Name.empty()) m_byName.emplace(Lower(c.Name), &c);
  }

  // Where the children of a container have their (0, 0), in window coordinates.
  static void Origin(TComponent* container, int& ox, int& oy) {
    ox = oy = 0;
    if (!container || !container->Parent) return;  // the window itself
    if (Fl_Widget* w = container->Widget()) ox = w->x(), oy = w->y();
  }

  void Create(const TFormObject& obj, TComponent* enclosing) {
    const TClassEntry* cls = FindClass(obj.ClassName);
    if (!cls) throw TFormBuildError("Class " + obj.ClassName + " not found");
    std::unique_ptr<TComponent> owned = cls->Create();
    TComponent& c = *owned;
    c.Name = obj.Name;
    c.ClassName = std::string(cls->Name);
    TComponent* container = enclosing && enclosing->IsContainer() ? enclosing : nullptr;
    // Fonts, hints and (for some classes) colours follow the container.
    if (container) {
      c.Font = container->Font;
      c.ShowHint = container->ShowHint;
      if (cls->ParentColor) c.Color = container->Color;
    }
    m_root.Components.push_back(&c);
    Register(c);
    Fl_Widget* w = c.Widget();
    Fl_Group* group = container && container->Widget() ? container->Widget()->as_group() : nullptr;
    if (w && group) {
      c.Parent = container;
      container->Controls.push_back(&c);
      group->add(w);
      owned.release();  // FLTK deletes it with its parent
      int ox, oy;
      Origin(container, ox, oy);
      if (auto* pages = dynamic_cast<TPageControl*>(container); pages && dynamic_cast<TTabSheet*>(&c)) {
        int px, py, pw, ph;
        pages->PageArea(px, py, pw, ph);
        w->resize(px, py, pw, ph);
      } else {
        w->position(ox, oy);
      }
    } else {
      if (w) w->hide();  // a control without a container to show it on
      m_root.AdoptComponent(std::move(owned));
    }
    ApplyAll(c, container, obj.Props);
    c.Loaded();
    // What the control made of its size (a picture's, a caption's) is cut too.
    if (w && (w->w() > m_limitW || w->h() > m_limitH)) w->size(std::min(w->w(), m_limitW), std::min(w->h(), m_limitH));
    Finish(c);
    for (const auto& child : obj.Children) Create(child, &c);
  }

  // A value the component refuses (a picture that does not decode, a size
  // out of range) is reported with the component's name: a definition may
  // hold dozens of pictures.
  void ApplyAll(TComponent& c, TComponent* container, const std::vector<TFormProperty>& props) {
    for (const auto& p : props) {
      try {
        Apply(c, container, p);
      } catch (const std::exception& e) {
        throw TFormBuildError((c.Name.empty() ? c.ClassName : c.Name) + ": " + e.what());
      }
    }
  }

  // What every component shares: geometry, texts, colours, fonts, hints.
  void Apply(TComponent& c, TComponent* container, const TFormProperty& p) {
    const std::string_view n = p.Name;
    const TFormValue& v = p.Value;
    Fl_Widget* w = c.Widget();
    const bool isRoot = &c == &m_root;
    auto geometry = [&](int which) {
      if (!w) return;
      const int32_t value = FormInt(n, v);
      int ox = 0, oy = 0;
      Origin(container, ox, oy);
      if (which < 2) {
        if (isRoot) return;  // the window is centred on the screen
        const int32_t pos = std::clamp(value, -kMaxWindowSide, kMaxWindowSide);
        if (which == 0) w->position(ox + pos, w->y());
        else w->position(w->x(), oy + pos);
        return;
      }
      const int32_t size = std::clamp(value, 0, isRoot ? kMaxWindowSide + 1 : which == 2 ? m_limitW : m_limitH);
      if (which == 2) w->size(size, w->h());
      else w->size(w->w(), size);
    };
    // A client area must have room for something and be one the window
    // system can make.
    if (SameText(n, "ClientWidth") || SameText(n, "ClientHeight")) {
      const int32_t value = FormInt(n, v);
      if (value < 1) throw TFormBuildError(std::string(n) + " " + std::to_string(value) + " is too small (at least 1)");
      if (value > kMaxWindowSide)
        throw TFormBuildError(std::string(n) + " " + std::to_string(value) + " is too large (at most " +
                              std::to_string(kMaxWindowSide) + ")");
    }
    if (SameText(n, "Left")) geometry(0);
    else if (SameText(n, "Top")) geometry(1);
    else if (SameText(n, "Width") || SameText(n, "ClientWidth")) geometry(2);
    else if (SameText(n, "Height") || SameText(n, "ClientHeight")) geometry(3);
    else if (SameText(n, "Caption")) c.Caption = FormString(n, v);
    else if (SameText(n, "Color")) c.Color = FormColor(n, v);
    else if (SameText(n, "ParentColor")) {
      if (FormBool(n, v) && container) c.Color = container->Color;
    } else if (SameText(n, "ParentFont")) {
      if (FormBool(n, v) && container) c.Font = container->Font;
    } else if (n.size() > 5 && SameText(n.substr(0, 5), "Font.")) {
      SetFontProperty(c.Font, n.substr(5), v);
    } else if (SameText(n, "Cursor")) c.Cursor = FormCursor(n, v);
    else if (SameText(n, "Hint")) c.Hint = FormString(n, v);
    else if (SameText(n, "ShowHint")) c.ShowHint = FormBool(n, v);
    else if (SameText(n, "ParentShowHint")) {
      if (FormBool(n, v) && container) c.ShowHint = container->ShowHint;
    } else if (SameText(n, "Tag")) c.Tag = FormInt(n, v);
    else if (SameText(n, "Visible")) c.Visible = FormBool(n, v);
    else if (SameText(n, "Enabled")) c.Enabled = FormBool(n, v);
    else if (SameText(n, "ActiveControl") && isRoot) m_activeControl = FormIdent(n, v);
    else c.SetProperty(n, v);  // a property this class lacks is skipped
  }

  static void Finish(TComponent& c) {
    Fl_Widget* w = c.Widget();
    if (!w) return;
    if (!c.Visible) w->hide();
    if (!c.Enabled) w->deactivate();
    if (c.ShowHint && !c.Hint.empty()) {
      // "short|long": the short part is the tooltip.
      w->copy_tooltip(c.Hint.substr(0, c.Hint.find('|')).c_str());
    }
  }

  TComponent* Find(std::string_view name) const {
    const auto it = m_byName.find(Lower(name));
    return it == m_byName.end() ? nullptr : it->second;
  }

  void Resolve() {
    if (!m_activeControl.empty()) m_root.ActiveControl = Find(m_activeControl);
    for (TComponent* c : m_root.Components) {
      auto* pages = dynamic_cast<TPageControl*>(c);
      if (!pages) continue;
      TComponent* active = pages->ActivePageName.empty() ? nullptr : Find(pages->ActivePageName);
      if (active && active->Parent == pages && active->Widget()) pages->value(active->Widget());
    }
  }

  TfmKXFormParent& m_root;
  std::map<std::string, TComponent*> m_byName;
  std::string m_activeControl;
  int m_limitW = kMaxWindowSide, m_limitH = kMaxWindowSide;
};

}  // namespace

std::unique_ptr<TComponent> CreateComponent(std::string_view className) {
  const TClassEntry* cls = FindClass(className);
  if (!cls) return nullptr;
  auto c = cls->Create();
  c->ClassName = std::string(cls->Name);
  return c;
}

bool IsClickableClass(std::string_view className) {
  const TClassEntry* cls = FindClass(className);
  return cls && cls->Clickable;
}

void BuildWindow(TfmKXFormParent& root, const TFormObject& form) {
  PrepareFltkOptions();
  fl_open_display();
  Fl_Group::current(nullptr);  // every widget is placed explicitly
  const TPictureBudget pictures;  // the window's pictures share one budget
  TBuilder(root).Build(form);
}

}  // namespace kx
