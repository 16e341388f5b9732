// Times the desktop program from its start until the settings dialog is
// mapped on the X display, the moment a user sees it. Needs an X server with no
// other clients mapping windows (bench/startup.sh starts one).
//
// usage: dialog_startup KORVALO_PROGRAM [ROUNDS]   (default: 10 rounds)

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kTitle = "Korvalo Inställningar";
constexpr int kGiveUpMs = 10000;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
      nullptr);
  const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

std::string WindowTitle(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                        xcb_atom_t utf8) {
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, window, name, utf8, 0, 256), nullptr);
  std::string title;
  if (reply != nullptr) {
    title.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                 static_cast<std::size_t>(xcb_get_property_value_length(reply)));
  }
  std::free(reply);
  return title;
}

// Starts the program and returns the milliseconds until its dialog is mapped,
// or a negative number when it never is.
double TimeOneStart(xcb_connection_t* connection, const char* program) {
  const xcb_atom_t name = Atom(connection, "_NET_WM_NAME");
  const xcb_atom_t utf8 = Atom(connection, "UTF8_STRING");
  char* argv[] = {const_cast<char*>(program), nullptr};
  const Clock::time_point start = Clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) {
    std::perror(program);
    std::exit(2);
  }
  double elapsed = -1;
  pollfd wait{xcb_get_file_descriptor(connection), POLLIN, 0};
  while (elapsed < 0 && Clock::now() - start < std::chrono::milliseconds(kGiveUpMs)) {
    xcb_generic_event_t* event = xcb_poll_for_event(connection);
    if (event == nullptr) {
      poll(&wait, 1, 100);
      continue;
    }
    if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
      const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
      if (WindowTitle(connection, map->window, name, utf8) == kTitle) {
        elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      }
    }
    std::free(event);
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: dialog_startup KORVALO_PROGRAM [ROUNDS]\n");
    return 2;
  }
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
  int screenNumber = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(connection) != 0) {
    std::fprintf(stderr, "dialog_startup: no X display (DISPLAY is \"%s\")\n",
                 std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "");
    return 2;
  }
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int i = 0; i < screenNumber; ++i) {
    xcb_screen_next(&screens);
  }
  // Top-level windows are the root's children: their mapping is reported to us.
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(connection, screens.data->root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(connection);

  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    const double ms = TimeOneStart(connection, argv[1]);
    if (ms < 0) {
      std::fprintf(stderr, "dialog_startup: the settings dialog did not appear\n");
      return 1;
    }
    times.push_back(ms);
  }
  std::sort(times.begin(), times.end());
  std::printf(
      "start to settings dialog on screen, %d rounds: min %.1f ms, median %.1f ms, "
      "max %.1f ms\n",
      rounds, times.front(), times[times.size() / 2], times.back());
  xcb_disconnect(connection);
  return 0;
}
