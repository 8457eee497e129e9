// Folders: the application directory and the current one, what the drive, directory and file
// lists show (independent of any toolkit, so the three lists behave the same on every platform
// and in tests), and the folders the jobs make and empty.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The directory that holds the running executable, as the platform reports it (Linux:
// /proc/self/exe; Windows: the module file name), without a trailing separator except at a
// root ("c:\", "/"). UTF-8.
std::string ApplicationDirectory();

// Changes the current directory, the drive included on Windows. False when it fails.
bool ChangeDirectory(std::string_view path);

// Makes the folder path when it is missing (its parent must exist). True when a folder is
// there afterwards; false when it cannot be made or something else has the name.
bool MakeFolder(std::string_view path);

// Drives in the order the drive list shows them. Windows: the logical drives, "a:", "c:" ...
// Linux: "/" then every mounted volume under /media, /mnt and /run/media.
std::vector<std::string> ListDrives();

// The drive that holds path: Windows, its first two characters in lower case; Linux, the
// longest mount point of ListDrives() that contains path.
std::string DriveOfPath(std::string_view path);

// Regular files of dir, sorted by name, without hidden (dot) and system files. Empty when dir
// cannot be read.
std::vector<std::string> ListFiles(std::string_view dir);

// Subdirectories of dir, sorted by name, without hidden ones. Empty when dir cannot be read.
std::vector<std::string> ListSubdirectories(std::string_view dir);

// The entries of a directory list opened at path: each ancestor from the root down, then path
// itself, then its subdirectories. depth is the indentation; opened marks path itself.
struct DirEntry {
  std::string path;   // full path of the entry
  std::string label;  // what the list shows: the root as is, otherwise the last component
  int depth = 0;
  bool opened = false;
};
std::vector<DirEntry> DirListEntries(std::string_view path);

bool IsDirectory(std::string_view path);

// The process's current directory, where a new file browser starts; empty when the system
// cannot say.
std::string CurrentDirectory();

// Each drive keeps its own current directory, as drives do on Windows. Linux has no such
// thing, so the file browsers of the program share this record of it.
class DriveDirectories {
 public:
  // The current directory of drive: the last one recorded for it; otherwise, on Windows the
  // system's current directory of that drive, on Linux the drive itself.
  std::string currentOf(std::string_view drive) const;
  void record(std::string_view path);

 private:
  std::map<std::string, std::string, std::less<>> last_;
};

DriveDirectories& SharedDriveDirectories();

// Platform part of DriveDirectories::currentOf: the system's current directory of drive
// (Windows), or the drive itself (Linux).
std::string SystemCurrentDirectoryOfDrive(std::string_view drive);

// For the folder the ROM fixes are made in, where the tool writes each fixed copy so that the
// user's own ROM files are never written:

// Creates path as an empty folder: whatever lies there first (a folder left by a job that was
// cut short, or a file) is removed with everything in it. False when it cannot be made.
bool CreateEmptyFolder(std::string_view path);

// True when path lies somewhere under folder, however either is spelled (links, letter case):
// what lies in the scratch folder goes when a job empties it. False when either is missing.
bool LiesInside(std::string_view path, std::string_view folder);

// Removes path with everything in it; links are removed, never followed. True when nothing is
// left under that name (also when there was nothing).
bool RemoveFolderTree(std::string_view path);

}  // namespace platform
