// The Wayland session's answer to ProbeWaylandSession (devices/uWindowSystem.h).
#include "devices/uWindowSystem.h"

#include <wayland-client.h>

#include <cstdlib>
#include <cstring>

namespace kx {
namespace {

void OnGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
  if (std::strcmp(interface, wl_seat_interface.name) == 0) static_cast<TWaylandSession*>(data)->Seat = true;
}

void OnGlobalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

}  // namespace

// One round trip lists the compositor's globals; every global it has at
// connection time is announced before the round trip's answer.
TWaylandSession ProbeWaylandSession() {
  TWaylandSession session;
  // A socket handed down in WAYLAND_SOCKET serves one connection only, and
  // the video driver needs it: that compositor is taken as it comes.
  const char* handed = std::getenv("WAYLAND_SOCKET");
  if (handed && *handed) return {true, true};
  // A socket's name is looked up in the runtime folder unless it is a path;
  // without that folder the library would only complain on stderr.
  const char* name = std::getenv("WAYLAND_DISPLAY");
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (!(name && name[0] == '/') && !(runtime && *runtime)) return session;
  wl_display* display = wl_display_connect(nullptr);
  if (!display) return session;
  session.Reachable = true;
  wl_registry* registry = wl_display_get_registry(display);
  if (registry) {
    wl_registry_add_listener(registry, &kRegistryListener, &session);
    // A connection that fails here tells nothing of a seat; the driver will meet the same failure.
    if (wl_display_roundtrip(display) < 0) session.Seat = true;
    wl_registry_destroy(registry);
  }
  wl_display_disconnect(display);
  return session;
}

}  // namespace kx
