#include "config/uDefinedWindow.h"

#include "config/uDialogSettings.h"
#include "os/uPlatform.h"
#include "package/uText.h"
#include "ui/uFormBuilder.h"
#include "ui/uTextFormReader.h"

namespace kx {
namespace {

bool EndsWithScr(const std::string& path) {
  const std::string upper = UpperCase(path);
  return upper.size() >= 4 && upper.compare(upper.size() - 4, 4, ".SCR") == 0;
}

}  // namespace

std::unique_ptr<TfmKXCOnfigWindow> BuildDefinedWindow(TConfigContext& context, std::string_view name) {
  const TKXForm& definition = context.Forms.FindForm(Trim(name));
  TFormObject form = ReadTextForm(PrepareDefinitionText(definition));
  ExpandWindowPlaceholders(form, context.Project);
  auto window = std::make_unique<TfmKXCOnfigWindow>(context);
  BuildWindow(*window, form);
  // A screensaver's windows carry its product name to the task bar.
  if (EndsWithScr(context.ProgramPath) || (!context.Args.empty() && context.Args[0] == "/C"))
    window->SetApplicationTitle(context.Project.Settings.ProductName);
  // The window manager knows every window of a screensaver by its name.
  if (!context.Project.Settings.ProductName.empty()) window->Identity.Name = context.Project.Settings.ProductName;
  window->ApplyFrame();
  // The user's choices of the settings dialog reach the project, so that a
  // full-screen preview from this window shows them.
  const TDialogSettings chosen = ReadDialogSettings(context.Project, DialogSettingsFile(context));
  if (chosen.Persisting) ApplyDialogSettingsToProject(chosen, context.Project);
  window->SaveOnClose = true;
  return window;
}

void ShowDefinedWindow(TConfigContext& context, std::string_view name) {
  std::unique_ptr<TfmKXCOnfigWindow> window = BuildDefinedWindow(context, name);
  window->FormShow();
  window->ShowModal();
}

}  // namespace kx
