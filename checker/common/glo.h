// Library tables (".lbt"): the global symbol store saved as a file, read at
// start-up and written back after the global pass. File layout, all numbers
// big-endian: 128-byte header (the text "Tarvo .LBT, #270c" with its NUL,
// the record count R at 18, zeros), the 1,024 bucket heads, then physical
// records 1..R of 128 bytes each.
#pragma once
#include <cstdint>
#include <string>

constexpr char lbt_magic[] = "Tarvo .LBT, #270c";
constexpr int lbt_header = 128;
constexpr int lbt_records_at = 128 + 4 * 1024;

extern std::string lbtfilnam;  // the library table's name (command line)

void getlib();   // read lbtfilnam into the open, empty store
void savlib();   // write the store to lbtfilnam, report "Saved ..."
// Checks a library image (bytes of a whole file): true when it is sound.
bool lbt_valid(const uint8_t* data, int64_t size);

// Hooks of the checks across units that this checker does not perform.
void scanlib();
void glochk();
void GloChkSpecific();
int isLBTproc();
int glodupchk();
int glo_chk_infbody_against_ext();
void comchk(int* result);
void modchk(int* result);

// Unit of the unknown-argument work file: the merge into the global table
// opens it and writes the passes of dummy arguments as actual arguments;
// 0 while it is not open.
extern int fu_unkargs;
// After the global pass: closes the unknown-argument work file when it was
// opened (it is not read back).
void doargs();
