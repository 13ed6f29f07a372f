#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace modKestralMGA {

// The file operations that writing a file needs (replacing it atomically, or writing a device in
// place), narrow enough that tests can fail the n-th one. Every operation returns 0 (or, for Write,
// the number of bytes written) on success and -errno on failure.
class FileOps {
 public:
  virtual ~FileOps() = default;
  // Creates a new file in folder with a unique name (mode 0600), opened for writing; sets
  // tempPath and returns the descriptor.
  virtual int CreateTemp(const std::string& folder, std::string& tempPath) = 0;
  virtual long Write(int fd, const char* data, std::size_t size) = 0;
  virtual int Sync(int fd) = 0;
  virtual int Close(int fd) = 0;
  // Gives the open file the permission bits mode.
  virtual int CopyMode(int fd, mode_t mode) = 0;
  virtual int Rename(const std::string& from, const std::string& to) = 0;
  virtual int SyncFolder(const std::string& folder) = 0;
  virtual int RemoveTemp(const std::string& path) = 0;
  // Whether target exists and, if it does, its type and permission bits (st_mode; exists =
  // false, returns 0, when there is no such file).
  virtual int StatTarget(const std::string& target, bool& exists, mode_t& mode) = 0;
  // Opens an existing file that is not a regular one (a device, a FIFO) for writing in place,
  // creating and truncating nothing; returns the descriptor.
  virtual int OpenInPlace(const std::string& target) = 0;
};

// The real operations of the operating system.
FileOps& SystemFileOps();

// Writes bytes as the whole content of the file at path. A symbolic link is followed: the link
// stays and the file it leads to is written.
//
// A regular file, or a path where nothing exists yet, is replaced atomically: creates a temporary
// file in the target's folder, gives it the permission bits of the file it replaces (a new file:
// 0666 less the umask), writes it (looping over short writes; a write that fails or writes nothing
// is a failure), syncs and closes it, renames it over the target and syncs the folder. On any
// failure up to the rename the old file is byte-identical (or still absent) and the temporary file
// is removed; while it exists, its name is where RemoveTemporaryFileOnSignals finds it. A failing
// folder sync after the rename is not reported: the target already holds the new bytes then.
//
// Any other existing file (a character device such as /dev/null, a FIFO) is opened and written
// in place, every write checked, and closed; nothing is created, renamed or removed. A folder is
// refused ("Is a directory"); a socket cannot be opened ("No such device or address").
//
// Failures throw FileError: "Cannot write <path>: <system description>", path as given.
void AtomicWriteFile(const std::string& path, std::string_view bytes,
                     FileOps& ops = SystemFileOps());

// A file written piece by piece as AtomicWriteFile writes it whole, so that a large content need
// not be held at once. The first Write (or Commit, when nothing was written) does what
// AtomicWriteFile does before its first write: follows the links, looks at the target and creates
// the temporary file (or opens the device in place). A failure of any step is kept rather than
// thrown, and closes and removes what was opened at once, as AtomicWriteFile's failure would;
// later pieces are then dropped. Commit throws the kept failure, else syncs, closes and renames as
// AtomicWriteFile does. A writer destroyed without Commit (its content was not completed) closes
// and removes its temporary file: the target is untouched.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::string path, FileOps& ops = SystemFileOps());
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
  ~AtomicFileWriter();

  // Appends bytes to the file's content. Throws nothing of its own.
  void Write(std::string_view bytes);
  // Puts the file in place. Failures throw FileError: "Cannot write <path>: <description>".
  void Commit();

 private:
  void Open();
  void Fail(int errorNumber);

  std::string m_path;
  FileOps& m_ops;
  std::string m_target;
  std::string m_tempPath;
  int m_fd = -1;
  bool m_opened = false;   // the first piece opened the file (or found it could not)
  bool m_inPlace = false;  // a device or FIFO, written where it is
  int m_error = 0;         // the first failure's error number
};

// Makes SIGTERM, SIGINT and SIGHUP remove the temporary file of a replacement under way (not
// the target, which stays the old file or becomes the new one) before the process ends with the
// signal's usual status. A signal the process ignores stays ignored. For a program's main: the
// handlers are the process's.
void RemoveTemporaryFileOnSignals();

}  // namespace modKestralMGA
