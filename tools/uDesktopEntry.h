// The applications menu's entry of an installed screensaver: a desktop entry
// file that opens its settings (/C), with an icon made from its preview
// picture. Text only: the install command writes the files.
#pragma once

#include <string>
#include <string_view>

namespace kxtool {

// The side of the square icon, and its folder in the icon theme.
inline constexpr int kIconSize = 256;
inline constexpr std::string_view kIconThemeFolder = "icons/hicolor/256x256/apps/";

// The name of the entry's file and of its icon, without extension:
// "kxcsaver-" and the screensaver's name, every byte other than an ASCII
// letter, digit, "-" or "." written as "_" and two hex digits ("My Saver":
// "kxcsaver-My_20Saver"), so that two names never share a file.
std::string DesktopFileName(std::string_view name);

// A text as valid UTF-8: its valid UTF-8 runs kept, every other byte read as
// Latin-1 (C1 controls as U+FFFD), control characters as spaces. The
// product names of packages made on Windows are in its 8-bit code pages.
std::string MenuText(std::string_view text);

// One argument of an Exec line: in double quotes when it holds a reserved
// character, with '"', '`', '$' and '\' escaped inside them; "%" doubled.
std::string ExecArgument(std::string_view argument);

// The entry's text. product names it in the menu ("<product> settings");
// icon is the icon's name in the theme ("" for the standard screensaver
// icon).
std::string DesktopEntry(std::string_view product, const std::string& installed, const std::string& icon);

}  // namespace kxtool
