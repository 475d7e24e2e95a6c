// Qualifier code tables: lookups by code and by name over the rows of
// qualcodes.def.
#include "checker/common/qualcodes.h"

#include <cstring>

namespace {

enum qctable { qt_sc, qt_sq, qt_dt, qt_ac, qt_usage, qt_scope };

struct qcrow {
  qctable table;     // which table the row belongs to
  int32_t code;      // the code
  const char* name;  // its name
};

const qcrow qcrows[] = {
#define QC(table, code, name, ident) {qt_##table, code, #name},
#include "checker/common/qualcodes.def"
};

// Name of the first row of the table with that code, or fallback.
const char* name_of(qctable t, int32_t code, const char* fallback) {
  for (const qcrow& r : qcrows)
    if (r.table == t && r.code == code) return r.name;
  return fallback;
}

// Code of the first row of the table with exactly that name, or 0.
int32_t code_of(qctable t, const char* name) {
  if (name == nullptr) return 0;
  for (const qcrow& r : qcrows)
    if (r.table == t && std::strcmp(r.name, name) == 0) return r.code;
  return 0;
}

}  // namespace

const char* get_sc_name(int32_t code) { return name_of(qt_sc, code, "SC_UNK"); }
const char* get_sq_name(int32_t code) { return name_of(qt_sq, code, "SQ_UNK"); }
const char* get_dt_name(int32_t code) { return name_of(qt_dt, code, "DT_UNK"); }
const char* get_scope_name(int32_t code) { return name_of(qt_scope, code, nullptr); }
const char* get_ac_name(int32_t code) { return name_of(qt_ac, code, nullptr); }
const char* get_usage_name(int32_t code) { return name_of(qt_usage, code, nullptr); }
int32_t get_sc_val(const char* name) { return code_of(qt_sc, name); }
int32_t get_sq_val(const char* name) { return code_of(qt_sq, name); }
int32_t get_dt_val(const char* name) { return code_of(qt_dt, name); }
int32_t get_scope_val(const char* name) { return code_of(qt_scope, name); }
int32_t get_ac_val(const char* name) { return code_of(qt_ac, name); }
int32_t get_usage_val(const char* name) { return code_of(qt_usage, name); }
