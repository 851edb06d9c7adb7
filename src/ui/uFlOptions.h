// FLTK's global options. FLTK reads them once, from its system-wide and
// per-user preference files, and writes the per-user file back
// ($HOME/.fltk/fltk.org/fltk.prefs) the first time a widget asks: the player
// keeps no file of FLTK's in the user's home folder, so the per-user file is
// turned off and the options are FLTK's defaults (or the system's).
#pragma once

namespace kx {

// Reads the options with the per-user file out of reach. Call before the
// first window or box shows, while no other thread reads the environment;
// later calls do nothing.
void PrepareFltkOptions();

}  // namespace kx
