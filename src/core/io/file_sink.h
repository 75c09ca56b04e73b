// Where the pattern writers put their bytes, and the shared line writer.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <sys/types.h>

namespace lobe {

class run_log;

class byte_sink {
 public:
  virtual ~byte_sink() = default;
  virtual bool write(const char* data, std::size_t len) = 0;
};

// Collects the bytes in memory (tests, benchmarks).
class string_sink : public byte_sink {
 public:
  bool write(const char* data, std::size_t len) override {
    bytes.append(data, len);
    return true;
  }
  std::string bytes;
};

// Writes a file beside its target and puts it in the target's place only once
// everything was written and closed without error, so a failed save never
// costs the user the old file. A symbolic link is written through to the
// file it names; a target that exists but is no regular file, or that its
// user may not write (or that is marked read-only), is refused; the new file
// keeps the old one's permission bits. The temporary file is hidden beside
// the target as .NAME.lobeview-tmp.PID.XXXXXX; one left by a save that was
// killed is removed by the next save into the same folder, and nothing that
// is not named exactly so is ever removed.
// How a save reaches the disk. One save syncs its file before putting it in
// place. A batch of saves into one folder looks for stale temporary files
// once at its start and syncs once at its end (sync_folder): a crash of the
// machine before that sync can leave any file of the batch empty or short,
// where a single save would have left the old file or the new one whole.
// The file a batch's save replaced, handed on as the next save's temporary
// file instead of being freed: file systems such as ext4 are slow to give
// out inodes just freed, and a batch replacing a thousand outputs would
// otherwise free and allocate a thousand.
class spare_files {
 public:
  spare_files() = default;
  ~spare_files() { release(); }
  spare_files(const spare_files&) = delete;
  spare_files& operator=(const spare_files&) = delete;
  // The spare file in `folder`, handed over ("" when there is none).
  std::string take(const std::string& folder);
  void keep(const std::string& path);
  // Removes the spare file left.
  void release();

 private:
  std::string path_;
};

struct save_options {
  bool sync_each_file = true;
  bool sweep_stale_temps = true;
  // A batch's spare files: a replaced file of ours with a single link
  // becomes the next save's temporary file (its permission bits set afresh).
  spare_files* spares = nullptr;
};

class atomic_file : public byte_sink {
 public:
  atomic_file() = default;
  ~atomic_file() override;
  atomic_file(const atomic_file&) = delete;
  atomic_file& operator=(const atomic_file&) = delete;

  // Creates the temporary file next to `target`; false when that is not possible.
  bool open(const std::string& target, const save_options& how = {});
  bool write(const char* data, std::size_t len) override;
  // Flushes, syncs (unless told not to) and renames over the target. False (and the target
  // untouched) when any write failed or the file could not be completed.
  bool commit();
  // Removes the temporary file; the target stays as it was.
  void abandon();
  bool write_failed() const { return write_failed_; }
  // Why open or commit failed, in words.
  const std::string& error() const { return error_; }
  // Open said no for the target's own sake (not a regular file, read-only),
  // not because the folder failed.
  bool refused() const { return refused_; }

 private:
  std::string error_;
  bool refused_ = false;
  std::FILE* file_ = nullptr;
  std::string target_;
  std::string temp_;
  bool write_failed_ = false;
  bool sync_ = true;
  spare_files* spares_ = nullptr;
  off_t spare_size_ = 0;  // the reused spare's length before it is written over
};

// Whether `name` (a file name, no folder) is one of our temporary files:
// ".NAME.lobeview-tmp.PID.XXXXXX" with PID in digits and six letters or digits.
bool is_temp_file_name(const std::string& name, long& pid);

// Removes the temporary files of earlier saves into `folder` whose program
// is gone (killed mid-save).
void remove_stale_temp_files(const std::string& folder);

// Puts everything written into `folder`'s file system on the disk, and the
// folder's own entries (the renames); false with the reason when it could not.
bool sync_folder(const std::string& folder, std::string& error);

// Removes the temporary file of the save under way and a batch's spare file,
// if any. Safe to call from a signal handler (lobeconv's, on SIGTERM and the like).
void remove_pending_temp_file();

// Writes `str_len` bytes of `str`. A failed write is logged and the caller
// goes on with its next line; the save reports nothing to the user.
void k_writefile(byte_sink& sink, run_log& log, const char* str, std::size_t str_len);

}  // namespace lobe
