// File units: opening, reading, writing, positioning and closing text files,
// binary streams, binary record files and bit-packed streams; temporary files;
// the C preprocessor; the working directory; finding the checker's own files.
#include "checker/common/flio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "checker/common/error.h"
#include "checker/common/qmalloc.h"

FlioState flio;

namespace {

constexpr int text_buffer = 65536;
constexpr int record_buffer = 512;
constexpr int write_retries = 11;
constexpr int drop_piece = 300;

qlist* flio_pool() {
  if (flio.pool == nullptr) flio.pool = qcreate(1, "flio");
  return flio.pool;
}

fileunit* unit_of(int unit) {
  if (unit < 1 || unit > maxunits) return nullptr;
  return &flio.units[unit];
}

// The unit, which must be open; otherwise an internal error naming the routine.
fileunit& open_unit(int unit, const char* routine) {
  fileunit* u = unit_of(unit);
  if (u == nullptr || u->kind == FK_FREE) interr(routine);
  return *u;
}

std::string temp_dir() {
  const char* t = std::getenv("TMPDIR");
  std::string dir = t != nullptr && *t != '\0' ? t : "/tmp";
  if (dir.back() != '/') dir += '/';
  return dir;
}

// Creates a fresh temporary file; returns its descriptor (-1 on failure) and
// its name in path.
int make_temp(std::string& path) {
  path = temp_dir() + "tarvoXXXXXX";
  std::vector<char> tmpl(path.begin(), path.end());
  tmpl.push_back('\0');
  int fd = ::mkstemp(tmpl.data());
  path = tmpl.data();
  return fd;
}

void release_unit(fileunit& u) {
  if (u.name != nullptr) qfree(u.name);
  if (u.buf != nullptr) qfree(u.buf);
  u = fileunit{};
}

// Bit-packed streams: one bit 0 for a zero byte, else a bit 1 and the byte.
void bits_flush_partial(fileunit& u, const char* what) {
  if (!u.lastread && u.bitsused > 0) {
    if (std::fputc(u.partial, u.fp) == EOF) errf("@F-SMAWRT", "\ncan't write to %s", what);
    u.lastread = true;  // the file now stands after the byte just written
  }
}

void bits_put(fileunit& u, int bit) {
  if (u.lastread && u.bitsused > 0) {
    if (std::fseek(u.fp, -1, SEEK_CUR) != 0) errf("@F-SMASK", "\ncan't seek in %s", u.name);
  }
  if (u.bitsused == 0) u.partial = 0;
  u.lastread = false;
  int mask = 1 << (7 - u.bitsused);
  u.partial = bit ? (u.partial | mask) : (u.partial & ~mask);
  if (++u.bitsused == 8) {
    if (std::fputc(u.partial, u.fp) == EOF) errf("@F-SMAWRT", "\ncan't write to %s", u.name);
    u.bitsused = 0;
    u.partial = 0;
  }
}

int bits_get(fileunit& u) {
  if (!u.lastread && u.bitsused > 0) bits_flush_partial(u, u.name);
  if (u.bitsused == 0) {
    int c = std::fgetc(u.fp);
    if (c == EOF) {
      if (!std::ferror(u.fp)) errno = errno_eof;
      errf("@F-STMRD", "\ncan't read %s", u.name);
    }
    u.partial = c;
  }
  u.lastread = true;
  int bit = (u.partial >> (7 - u.bitsused)) & 1;
  if (++u.bitsused == 8) u.bitsused = 0;
  return bit;
}

}  // namespace

void flio_reset() {
  for (int i = 1; i <= maxunits; ++i) {
    fileunit& u = flio.units[i];
    if (u.kind != FK_FREE && u.fp != nullptr && u.fp != stdout && u.fp != stderr)
      std::fclose(u.fp);
    u = fileunit{};
  }
  flio.pool = nullptr;
  flio.failedname.clear();
  flio.pass = 0;
  flio.ensemble = false;
  flio.nosmashing = false;
  flio.localpass = false;
  flio.cppargs.clear();
  flio.stdout_unit = 0;
}

int getfi() {
  for (int i = 1; i <= maxunits; ++i) {
    if (flio.units[i].kind == FK_FREE) {
      flio.units[i].temporary = false;
      return i;
    }
  }
  errf("F-TOOMNYFIL", "maximum file count exceeded");
  return 0;
}

int txtopnstdout() {
  qlist* pool = flio_pool();
  int n = getfi();
  fileunit& u = flio.units[n];
  u = fileunit{};
  u.kind = FK_TEXT;
  u.fp = stdout;
  u.name = qstore(pool, "stdout");
  flio.stdout_unit = n;
  return n;
}

int txtopn(const char* name, int mode, const char* ext) {
  return iopen(name, mode | FM_TEXT, ext, text_buffer);
}

int iopen(const char* name, int mode, const char* ext, int bufsize) {
  qlist* pool = flio_pool();
  int n = getfi();
  std::string fname;
  FILE* fp = nullptr;
  bool temporary = name == nullptr;
  if (temporary) {
    int fd = make_temp(fname);
    if (fd >= 0) {
      fp = ::fdopen(fd, (mode & FM_TEXT) ? "w+" : "w+b");
      if (fp == nullptr) ::close(fd);
      ::unlink(fname.c_str());
    }
    if (fp == nullptr) {
      flio.failedname = fname;
      errf("@F-STMCRT", "\ncan't create %s", fname);
      return 0;
    }
  } else {
    fname = (ext != nullptr && (mode & FM_EXT)) ? munch(name, ext) : std::string(name);
    std::string fmode;
    if ((mode & FM_APPEND) && flio.ensemble)
      fmode = "a+";
    else
      fmode = (mode & FM_WRITE) ? "w+" : "r";
    if (!(mode & FM_TEXT)) fmode += 'b';
    fp = std::fopen(fname.c_str(), fmode.c_str());
    if (fp == nullptr) {
      flio.failedname = fname;
      return 0;
    }
  }
  fileunit& u = flio.units[n];
  u = fileunit{};
  u.fp = fp;
  u.name = qstore(pool, fname);
  if (bufsize > 0) {
    u.buf = static_cast<char*>(qmalloc(pool, bufsize));
    std::setvbuf(fp, u.buf, _IOFBF, static_cast<size_t>(bufsize));
  }
  u.temporary = temporary;
  if (mode & FM_TEXT)
    u.kind = FK_TEXT;
  else if ((mode & FM_BITS) && !flio.nosmashing)
    u.kind = FK_BITS;
  else
    u.kind = FK_BINARY;
  return n;
}

std::string munch(const char* name, const char* ext) {
  std::string s(name);
  size_t start = s.find_last_of("/\\]");
  start = start == std::string::npos ? 0 : start + 1;
  size_t dot = s.rfind('.');
  if (dot != std::string::npos && dot >= start && s.compare(dot, std::string::npos, ext) == 0)
    return s;
  return s + ext;
}

std::string vtmpnam() {
  std::string path;
  int fd = make_temp(path);
  if (fd < 0) interr("tempnam");
  ::close(fd);
  return path;
}

int cppopn(const char* source) {
  std::string outname = vtmpnam();
  std::string diagname = vtmpnam();
  // The arguments are passed as they are, so a -D value or an include
  // directory may hold blanks.
  std::vector<std::string> words = flio.cppargs;
  if (words.empty()) {
    ::unlink(outname.c_str());
    ::unlink(diagname.c_str());
    flio.failedname = source;
    return 0;
  }
  words.push_back(source);
  words.push_back(outname);
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  std::fflush(nullptr);
  pid_t pid = ::fork();
  if (pid == 0) {
    int devnull = ::open("/dev/null", O_WRONLY);
    int diag = ::open(diagname.c_str(), O_WRONLY | O_TRUNC);
    if (devnull >= 0) ::dup2(devnull, 1);
    if (diag >= 0) ::dup2(diag, 2);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  // The output file exists from the start (its name was reserved with
  // mkstemp); a command that failed and left it empty produced no output.
  bool ran = false;
  if (pid > 0) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    struct stat st;
    ran = (WIFEXITED(status) && WEXITSTATUS(status) == 0) ||
          (::stat(outname.c_str(), &st) == 0 && st.st_size > 0);
  }
  if (!ran) ::unlink(outname.c_str());
  if (flio.localpass) {
    FILE* d = std::fopen(diagname.c_str(), "r");
    if (d == nullptr) {
      ::unlink(outname.c_str());
      errf("F-CPPOPN", "can't find file %s\n", diagname);
    } else {
      std::vector<char> line(256);
      int len;
      while ((len = lgets(line.data(), static_cast<int>(line.size()), d)) > 0) {
        if (line[len - 1] == '\n') line[len - 1] = '\0';
        errf("I-CPP", "from cpp... %s", std::string(line.data()));
      }
      std::fclose(d);
    }
  }
  ::unlink(diagname.c_str());
  int unit = txtopn(outname.c_str(), 0, nullptr);
  if (unit != 0) {
    ::unlink(outname.c_str());
    flio.units[unit].temporary = true;
    return unit;
  }
  if (flio.localpass) errf("@W-CPPOPN", "can't find cpp output for source file %s", source);
  flio.failedname = source;
  ::unlink(outname.c_str());
  return 0;
}

int lgets(char* buf, int size, FILE* fp) {
  if (size < 1) return 0;
  int n = 0;
  while (n < size - 1) {
    int c = getc_unlocked(fp);  // the checker reads each file from one thread
    if (c == EOF) break;
    buf[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  buf[n] = '\0';
  if (n == 0 && std::ferror(fp)) return -1;
  return n;
}

void txtrew(int unit) {
  fileunit& u = open_unit(unit, "txtrew");
  if (u.kind != FK_TEXT) interr("txtrew");
  if (std::fseek(u.fp, 0, SEEK_SET) != 0) errf("@F-STMSK", "\ncan't seek in %s", u.name);
}

int iread(int unit, void* buf, int size) {
  fileunit& u = open_unit(unit, "iread");
  char* cbuf = static_cast<char*>(buf);
  switch (u.kind) {
    case FK_TEXT: {
      if (size < 2) interr("iread");
      int n = lgets(cbuf, size, u.fp);
      if (n < 0) {
        errf("@W-TXTRD", "\ncan't read %s", u.name);
        return 0;
      }
      if (n == 0) return 0;
      if (cbuf[n - 1] == '\n') {
        cbuf[n - 1] = '\0';
        return n;
      }
      // The line is longer than the buffer or the file's last line has no
      // newline: drop the rest of the line.
      char piece[drop_piece + 1];
      for (;;) {
        int m = lgets(piece, drop_piece + 1, u.fp);
        if (m <= 0) {
          if (u.kind == FK_TEXT && flio.pass != 0) {
            errno = 0;
            errf("@I-STRANGE", "\nno newline at end of file %s", u.name);
          }
          break;
        }
        if (piece[m - 1] == '\n') break;
      }
      return n + 1;
    }
    case FK_BINARY: {
      if (size <= 0) return 0;
      size_t got = std::fread(buf, 1, static_cast<size_t>(size), u.fp);
      if (got != static_cast<size_t>(size)) {
        if (!std::ferror(u.fp)) errno = errno_eof;
        errf("@F-STMRD", "\ncan't read %s", u.name);
      }
      return size;
    }
    case FK_BITS: {
      unsigned char* out = static_cast<unsigned char*>(buf);
      for (int i = 0; i < size; ++i) {
        int byte = 0;
        if (bits_get(u))
          for (int k = 0; k < 8; ++k) byte = (byte << 1) | bits_get(u);
        out[i] = static_cast<unsigned char>(byte);
      }
      return size;
    }
    default:
      interr("iread");
  }
}

int iwrite(int unit, const void* buf, int size) {
  if (flio.ensemble && unit == flio.stdout_unit && unit != 0) return size;
  fileunit& u = open_unit(unit, "iwrite");
  if (size <= 0) return 0;
  switch (u.kind) {
    case FK_TEXT:
    case FK_BINARY: {
      const char* p = static_cast<const char*>(buf);
      size_t left = static_cast<size_t>(size);
      for (int attempt = 0; left > 0; ++attempt) {
        if (attempt > write_retries) errf("@F-STMWRT", "\ncan't write to %s", u.name);
        size_t done = std::fwrite(p, 1, left, u.fp);
        p += done;
        left -= done;
        if (left > 0) std::clearerr(u.fp);
      }
      return size;
    }
    case FK_BITS: {
      const unsigned char* in = static_cast<const unsigned char*>(buf);
      for (int i = 0; i < size; ++i) {
        if (in[i] == 0) {
          bits_put(u, 0);
        } else {
          bits_put(u, 1);
          for (int k = 7; k >= 0; --k) bits_put(u, (in[i] >> k) & 1);
        }
      }
      return size;
    }
    default:
      interr("iwrite");
  }
}

void iseek(int unit, int64_t pos) {
  fileunit& u = open_unit(unit, "iseek");
  if (u.kind == FK_BINARY) {
    if (pos < 0 || ::fseeko(u.fp, static_cast<off_t>(pos), SEEK_SET) != 0)
      errf("@F-STMSK", "\ncan't seek in %s", u.name);
    return;
  }
  if (u.kind != FK_BITS) interr("iseek");
  bits_flush_partial(u, u.name);
  u.bitsused = 0;
  u.partial = 0;
  u.lastread = false;
  if (pos < 0 || ::fseeko(u.fp, static_cast<off_t>(pos / 8), SEEK_SET) != 0)
    errf("@F-SMASK", "\ncan't seek in %s", u.name);
  if (pos % 8 != 0) {
    int c = std::fgetc(u.fp);
    if (c == EOF) {
      if (!std::ferror(u.fp)) errno = errno_eof;
      errf("@F-STMRD", "\ncan't read %s", u.name);
    }
    u.partial = c;
    u.bitsused = static_cast<int>(pos % 8);
    u.lastread = true;
  }
}

int64_t itell(int unit) {
  fileunit& u = open_unit(unit, "itell");
  if (u.kind != FK_BINARY && u.kind != FK_BITS) interr("itell");
  off_t at = ::ftello(u.fp);
  if (at < 0) {
    if (u.kind == FK_BINARY)
      errf("@F-STMPOS", "\ncan't ftell in %s", u.name);
    else
      errf("@F-SMAPOS", "\ncan't ftell in %s", u.name);
    return -1;
  }
  if (u.kind == FK_BINARY) return at;
  if (u.lastread && u.bitsused > 0) return (static_cast<int64_t>(at) - 1) * 8 + u.bitsused;
  return static_cast<int64_t>(at) * 8 + u.bitsused;
}

void iclose(int unit) {
  fileunit& u = open_unit(unit, "iclose");
  if (u.kind != FK_TEXT && u.kind != FK_BINARY && u.kind != FK_BITS) interr("iclose");
  if (u.kind == FK_BITS) bits_flush_partial(u, u.name);
  int rc;
  if (u.fp == stdout || u.fp == stderr)
    rc = std::fflush(u.fp);
  else
    rc = std::fclose(u.fp);
  if (rc != 0 && u.kind != FK_TEXT) errf("@I-STMCLS", "\ncan't close %s", u.name);
  if (unit == flio.stdout_unit) flio.stdout_unit = 0;
  release_unit(u);
}

int binopn(const char* name, int32_t recsize, int mode, const char* ext) {
  if (recsize <= 0) interr("binopn");
  int n = iopen(name, mode | FM_BINREC, ext, record_buffer);
  if (n == 0) return 0;
  flio.units[n].kind = FK_RECORDS;
  flio.units[n].recsize = recsize;
  return n;
}

void bincls(int unit) {
  fileunit& u = open_unit(unit, "bincls");
  if (u.kind != FK_RECORDS) interr("bincls");
  u.kind = FK_BINARY;
  iclose(unit);
}

namespace {

// Moves one record between the buffer and record recno of a record file with
// one system call on the descriptor underneath the stream.
ssize_t record_transfer(fileunit& u, int32_t recno, void* rbuf, const void* wbuf) {
  std::fflush(u.fp);
  if (recno < 0) {
    errno = EINVAL;
    return -1;
  }
  off_t at = static_cast<off_t>(recno) * u.recsize;
  size_t n = static_cast<size_t>(u.recsize);
  return rbuf != nullptr ? ::pread(::fileno(u.fp), rbuf, n, at)
                         : ::pwrite(::fileno(u.fp), wbuf, n, at);
}

}  // namespace

void binrd(int unit, int32_t recno, void* buf) {
  fileunit& u = open_unit(unit, "binrd");
  if (u.kind != FK_RECORDS) interr("binrd");
  ssize_t got = record_transfer(u, recno, buf, nullptr);
  if (got != u.recsize) {
    if (got >= 0) errno = errno_eof;
    errf("@F-BINRD", "\ncan't read %s", u.name);
  }
}

void binwrt(int unit, int32_t recno, const void* buf) {
  fileunit& u = open_unit(unit, "binwrt");
  if (u.kind != FK_RECORDS) interr("binwrt");
  if (record_transfer(u, recno, nullptr, buf) != u.recsize)
    errf("@F-BINWRT", "\ncan't write to %s", u.name);
}

FILE* myfpno(int unit) { return open_unit(unit, "myfpno").fp; }

std::string getfn(int unit, int shortname) {
  std::string name = open_unit(unit, "getfn").name;
  if (shortname == 1) {
    size_t cut = name.find_last_of("]/\\");
    if (cut != std::string::npos) name.erase(0, cut + 1);
  }
  return name;
}

std::string getbadfn() { return flio.failedname; }

int unitkind(int unit) {
  fileunit* u = unit_of(unit);
  return u != nullptr ? u->kind : FK_FREE;
}

int fdsame(int fd1, int fd2) {
  struct stat a, b;
  if (::fstat(fd1, &a) != 0 || ::fstat(fd2, &b) != 0) return 0;
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino ? 1 : 0;
}

int mygetwd(std::string& dir) {
  std::vector<char> buf(256);
  for (;;) {
    if (::getcwd(buf.data(), buf.size()) != nullptr) {
      dir = buf.data();
      return 0;
    }
    if (errno != ERANGE || buf.size() > (1u << 20)) break;
    buf.resize(buf.size() * 2);
  }
  errf("@W-GETWD", "can't get working directory");
  return -1;
}

int mychdir(const char* path, int report) {
  if (path == nullptr || *path == '\0') return 1;
  if (::chdir(path) == 0) return 1;
  if (report) errf("@W-CHDIR", "can't change working directory to %s", path);
  return 0;
}

namespace {

// The directory of the running program, or "" when the system cannot say.
std::string program_directory() {
  std::vector<char> buf(256);
  for (;;) {
    ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < buf.size()) {
      std::string path(buf.data(), static_cast<size_t>(n));
      size_t slash = path.rfind('/');
      return slash == std::string::npos ? std::string() : path.substr(0, slash);
    }
    if (buf.size() >= 65536) return std::string();
    buf.resize(buf.size() * 2);
  }
}

}  // namespace

int findfile(const char* name, int start, std::string& result) {
  auto join = [&](const char* dir) {
    std::string r = dir;
    if (r.back() != '/') r += '/';
    return r + name;
  };
  if (start == 0) {
    const char* cfg = std::getenv("TARVOCFG");
    if (cfg != nullptr && *cfg != '\0') {
      result = join(cfg);
      int fd = ::open(result.c_str(), O_RDONLY);
      if (fd >= 0) {
        ::close(fd);
        return 0;
      }
    }
  }
  const char* home = std::getenv("TARVOHOME");
  if (home != nullptr && *home != '\0') {
    result = join(home);
    return 1;
  }
  result = name;
  // Not in the current directory: the copy installed beside the program.
  if (::access(name, F_OK) != 0) {
    std::string dir = program_directory();
    if (!dir.empty()) {
      std::string beside = join(dir.c_str());
      if (::access(beside.c_str(), F_OK) == 0) result = beside;
    }
  }
  return 1;
}
