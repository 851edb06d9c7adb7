// The show's display in a Wayland session whose compositor is one of the
// test's own: what the session offers is read right, and a compositor
// without an input seat (on which SDL 2's Wayland driver crashes while it
// starts) is no display rather than the end of the program.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "devices/sdl/uSdlDisplay.h"
#include "devices/uWindowSystem.h"
#include "support/TestSupport.h"

#include <wayland-server.h>

using namespace kx;

namespace {

// An environment variable set, or unset, for one scope.
class TEnvironment {
 public:
  TEnvironment(const char* name, const char* value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    if (value) setenv(name, value, 1);
    else unsetenv(name);
  }
  ~TEnvironment() {
    if (m_old) setenv(m_name, m_old->c_str(), 1);
    else unsetenv(m_name);
  }
  TEnvironment(const TEnvironment&) = delete;
  TEnvironment& operator=(const TEnvironment&) = delete;

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

void BindSeat(wl_client* client, void*, uint32_t version, uint32_t id) {
  wl_resource_create(client, &wl_seat_interface, int(version), id);
}

// A compositor with no output and no shell: the globals it announces are
// all a session probe sees. It listens on "kx-test" in the runtime folder
// given and is served by a thread of its own.
class TCompositor {
 public:
  TCompositor(const std::string& runtime, bool seat) : m_display(wl_display_create()) {
    if (seat) wl_global_create(m_display, &wl_seat_interface, 1, nullptr, BindSeat);
    const TEnvironment folder("XDG_RUNTIME_DIR", runtime.c_str());
    m_listening = wl_display_add_socket(m_display, "kx-test") == 0;
    m_thread = std::thread([this] {
      wl_event_loop* loop = wl_display_get_event_loop(m_display);
      while (!m_stop) {
        wl_display_flush_clients(m_display);
        wl_event_loop_dispatch(loop, 20);
      }
    });
  }
  ~TCompositor() {
    m_stop = true;
    m_thread.join();
    wl_display_destroy_clients(m_display);
    wl_display_destroy(m_display);
  }
  TCompositor(const TCompositor&) = delete;
  TCompositor& operator=(const TCompositor&) = delete;

  bool Listening() const { return m_listening; }

 private:
  wl_display* m_display;
  bool m_listening = false;
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

// The session of the test: its runtime folder (private, as a session's is)
// and the compositor's name in WAYLAND_DISPLAY, no X display.
class SdlWayland : public ::testing::Test {
 protected:
  kxtest::TScratchDir m_dir;
  std::string m_runtime = m_dir / "run";
  bool m_made = ::mkdir(m_runtime.c_str(), 0700) == 0;
  TEnvironment m_xdg{"XDG_RUNTIME_DIR", m_runtime.c_str()};
  TEnvironment m_wayland{"WAYLAND_DISPLAY", "kx-test"};
  TEnvironment m_socket{"WAYLAND_SOCKET", nullptr};
  TEnvironment m_x11{"DISPLAY", nullptr};
};

TEST_F(SdlWayland, TheProbeSeesTheSessionAsItIs) {
  ASSERT_TRUE(m_made);
  EXPECT_FALSE(ProbeWaylandSession().Reachable) << "no compositor listens yet";
  for (const bool seat : {false, true}) {
    const TCompositor compositor(m_runtime, seat);
    ASSERT_TRUE(compositor.Listening());
    const TWaylandSession session = ProbeWaylandSession();
    EXPECT_TRUE(session.Reachable) << seat;
    EXPECT_EQ(session.Seat, seat);
  }
  // Without a runtime folder a name leads nowhere.
  const TEnvironment noFolder("XDG_RUNTIME_DIR", nullptr);
  EXPECT_FALSE(ProbeWaylandSession().Reachable);
}

// Chosen or not, SDL's Wayland driver is not started on a compositor
// without a seat: the display is unavailable (no X display either), in both
// modes, and says why.
TEST_F(SdlWayland, ACompositorWithoutASeatIsNoDisplay) {
  ASSERT_TRUE(m_made);
  const TCompositor compositor(m_runtime, false);
  ASSERT_TRUE(compositor.Listening());
  for (const char* driver : {"wayland", "", static_cast<const char*>(nullptr)}) {
    const TEnvironment chosen("SDL_VIDEODRIVER", driver);
    const std::string name = driver ? driver : "(unset)";
    TSdlDisplay display;
    try {
      display.StartPlain();
      ADD_FAILURE() << name << ": a display opened";
    } catch (const TDisplayUnavailable& e) {
      EXPECT_NE(std::string(e.what()).find("no input seat"), std::string::npos) << name << ": " << e.what();
    }
    EXPECT_FALSE(TSdlDisplay().StartExclusive()) << name;
  }
}

}  // namespace
