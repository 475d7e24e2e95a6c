// The IL text file: the writer that numbers and prints the IL entry graph of a
// compilation, and the reader that turns such a file (or a module file) back
// into entries with real pointers. Both are driven by one description of each
// record kind (il_schema.h).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "frontend/model/il_entries.h"

// The format version carried by the header line "VAROK IL file (v2.30F)".
inline constexpr const char* il_format_version = "2.30F";

// ---- Writer ----

// Numbers every entry reachable from header and writes the IL file, then
// closes it. Writes nothing (and removes the file) when errors were reported;
// does nothing when no IL file is open ("-n").
void il_write(il_header* header);

// Writes the whole graph from root to out: header line, counts line, one
// record per entry and the end line. module_mode selects the module-file form.
// The caller closes out.
void il_write_graph(FILE* out, il_header* root, bool module_mode);

// Closes the open IL file and removes it when it is a regular file (an output
// such as /dev/null stays); forgets stream and name.
void il_discard();

// Flushes and closes the open IL file; a failure removes the half-written
// file and is the catastrophic error "error while writing ... file".
void il_close();

// ---- Reader ----

// Allocation action for atoms: returns the atom record for a name text
// (never null; the text is "" for an empty name). A reader given none keeps
// the atoms in a table of its own, each with its text and length only.
using il_allocate_atom_fn = atom* (*)(const char* text);
// Symbol action: name atom (or null), symbol class, entity (or null).
using il_receive_symbol_fn = void (*)(atom* name, int symbol_class, void* entity);

// Why a file was rejected (for tests; every value but il_read_ok makes
// il_read report "invalid intermediate language file").
enum il_read_status : int {
  il_read_ok = 0,
  il_read_bad_header,      // header line differs from "VAROK IL file (v2.30F)"
  il_read_bad_counts,      // counts line malformed, a kind missing or twice
  il_read_too_large,       // counts that no file of this size can hold
  il_read_bad_record,      // a record start: kind letter, index or "="
  il_read_bad_field,       // a field's separator or form
  il_read_bad_index,       // an index not below its kind's count
  il_read_wrong_kind,      // a reference of another kind than the field's
  il_read_duplicate,       // a record index given twice
  il_read_bad_code,        // an enumeration code or table index out of range
  il_read_pool_overflow,   // strings or value bytes past their pool's count
  il_read_count_mismatch,  // records or pool bytes differ from the counts
  il_read_bad_bounds,      // a bounds block not on a record or of the wrong rank
  il_read_bad_value,       // value bytes that do not match the constant's type
  il_read_cycle,           // a list that runs into itself
  il_read_bad_end,         // end line missing, or bytes after it
  il_read_too_deep,        // a graph nested deeper than the walker may go
};

// The reader's result: status, and on success the file's header entry.
struct il_read_result {
  il_read_status status;
  il_header* header;  // null unless status is il_read_ok
};

// Reads an IL or module file held in memory. Never exits on a bad file: the
// status tells why it was rejected. Tables come from the current pool.
il_read_result il_read_buffer(const unsigned char* data, size_t size,
                              il_allocate_atom_fn allocate_atom,
                              il_receive_symbol_fn receive_symbol);

// Puts the walk mark of every record of the file read last back as the
// reader left it (the atoms only when the reader kept them in its own table).
// One walk from the header with il_walk_once and then this call leave the
// marks as both passes of il_walk would, at the cost of a sweep of the
// tables instead of a second walk. Valid while the tables live.
void il_restore_walk_marks();

// When set, a reading without an atom action leaves the walk marks as the
// reader's depth check left them, flipped on every entry that the walker
// reaches from the header, and spares the sweep that puts them back. A walk
// from the header with il_walk_once then finds every entry it reaches
// unvisited (the walk's parity follows the header's mark), as long as it
// follows no link that the walker's own walk does not; il_restore_walk_marks
// puts the marks back after it.
void il_read_leave_walk_marks(bool leave);

// Reads the rest of the open stream as an IL or module file and returns its
// header entry; a bad file is the catastrophic error "invalid intermediate
// language file". The stream stays open.
il_header* il_read(FILE* stream, il_allocate_atom_fn allocate_atom,
                   il_receive_symbol_fn receive_symbol);

// il_read reads a regular file whose rest is at least `from` bytes through a
// window that starts at `bytes` bytes and moves along the file, instead of
// mapping it whole; the defaults suit the programs. Tests set it to have
// small files read the same way.
void il_read_set_window(size_t from, size_t bytes);

// The reading of a regular file through such a window (of `window` bytes),
// from `offset` to its end, as il_read does it, but returning the status
// like il_read_buffer (for tests).
il_read_result il_read_windowed(int fd, size_t offset, size_t window,
                                il_allocate_atom_fn allocate_atom,
                                il_receive_symbol_fn receive_symbol);
