// A screensaver made from a plain folder of pictures: which of the folder's
// files go into it, under which names, and the project texts that describe
// them ("KXC.res"), for kxtool make.
//
// - The pictures are the still pictures (IsStillPicture) and the picture
//   files (".kxp") of the folder, with recursive those of its subfolders too,
//   in byte order of their paths within the folder ("b/x.jpg" after
//   "a.jpg"). The music is the ".ogg", ".mp3", ".wav" and ".flac" files,
//   in the same order.
// - Names starting with "." (hidden files and folders) are passed over, and
//   so is a link to a folder (a loop of links never recurses).
// - A picture or music file that cannot be read (no permission, a broken
//   link, a pipe or device in a file's place) or is too large for a package
//   is skipped and reported, with the reason.
// - Every file is packaged under a plain name of its own, since the player
//   extracts the package into one folder: its file name, with the characters
//   the package's texts cannot hold (line ends and other control characters,
//   "=", ";", ":", "\\", and < > " | ? * which Windows refuses) and a
//   leading "[" turned into "_", and blanks around it and dots after it
//   dropped. A name taken already - by an earlier file, by one of the
//   package's own entries, or one that Windows takes for the same file
//   ("IMG_1.JPG" after "img_1.jpg") - becomes the file's path in the folder
//   joined with "_" ("trip_IMG_1.jpg"), then gets " (2)", " (3)" ... before
//   its extension, so that a package made on any system plays on Windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace kx {

struct TFolderFile {
  std::string Path;  // where its bytes are read: the folder's path, then its path in the folder
  std::string Name;  // the plain name it is packaged and listed under
};

struct TSkippedFile {
  std::string Path;
  std::string Reason;
};

// Gives out the plain names of one package: Take(path in folder) returns a
// name unlike every name given before and every name of the package's own
// entries, by the rules above.
class TPackagedNameSet {
 public:
  TPackagedNameSet();
  std::string Take(std::string_view pathInFolder);

 private:
  bool Free(const std::string& name) const;
  std::unordered_set<std::string> m_keys;  // WindowsFileNameKey of every name given
};

struct TPictureFolder {
  std::vector<TFolderFile> Pictures;
  std::vector<TFolderFile> Music;
  std::vector<TSkippedFile> Skipped;
  TPackagedNameSet Names;  // the names given so far, for further files of the same package
};

// True for the music files a folder's screensaver plays (any letter case).
bool IsFolderMusic(std::string_view path);

// The files of folder (a path ending in "/"). Throws std::runtime_error
// when the folder cannot be opened.
TPictureFolder ScanPictureFolder(const std::string& folder, bool recursive);

// What kxtool make writes into a folder's project.
struct TFolderProjectOptions {
  std::string ProductName;
  std::string Publisher;
  int32_t Duration = 10;          // seconds per picture
  int32_t TransitionTime = 2000;  // milliseconds
  bool Random = true;
  std::string PreviewName;  // the packaged preview picture; "" for none
  std::string BuildFileName;
};

// The content of "KXC.res": the pictures ticked in their order, the names,
// the settings for photos (stretched keeping proportions), the music list in
// order, the preview and the window definitions' entry.
std::string FolderProjectDescription(const TPictureFolder& folder, const TFolderProjectOptions& options);

}  // namespace kx
