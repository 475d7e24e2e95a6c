// The preloaded names and symbols, rebuilt before each compilation: the
// keywords, specifier keywords and operator spellings with their token codes,
// the intrinsic names and argument keywords, and the symbols of the intrinsic
// operators and procedures (classes 9 and 10) and of their specific names
// (class 7).
#include "frontend/driver/preload.h"

#include <cstring>
#include <iterator>
#include <string_view>

#include "frontend/lexer/keywords.h"
#include "frontend/base/pools.h"
#include "frontend/model/names.h"
#include "frontend/model/symbols.h"
#include "frontend/model/decl_context.h"
#include "frontend/semantics/intrinsic_table.h"

namespace {
struct intrinsic_row_info {
  const char* name;
  int symbol_class;
};
#define INTRINSIC(row, id, name, cls) {name, cls},
#define SIGNATURE(row, specific, form, dummies, result)
constexpr intrinsic_row_info intrinsic_rows[] = {
#include "frontend/model/intrinsics.def"
};

struct signature_info {
  int row;
  const char* specific;
  const char* dummies;
};
#define INTRINSIC(row, id, name, cls)
#define SIGNATURE(row, specific, form, dummies, result) {row, specific, dummies},
constexpr signature_info signatures[] = {
#include "frontend/model/intrinsics.def"
};

#define INTRINSIC(row, id, name, cls) row,
#define SIGNATURE(row, specific, form, dummies, result)
constexpr int intrinsic_row_numbers[] = {
#include "frontend/model/intrinsics.def"
};
constexpr bool rows_in_order() {
  for (size_t i = 0; i < std::size(intrinsic_row_numbers); ++i)
    if (intrinsic_row_numbers[i] != static_cast<int>(i)) return false;
  return true;
}
static_assert(std::size(intrinsic_rows) == 178 && rows_in_order());
static_assert(std::size(signatures) == 253);

PreloadCounts counts;

atom* intern_predefined(const char* text, int token) {
  atom* a = name_intern(text, static_cast<uint32_t>(std::strlen(text)));
  if (a->token_code == 0 || a->token_code == 10) a->token_code = static_cast<uint8_t>(token);
  return a;
}

symbol_entry* predefined_symbol(int cls, atom* name, void* entity) {
  symbol_entry* s = symbol_create(cls, name, null_pos, predefined_level);
  s->flags |= symf_in_scope;
  s->entity = entity;
  ++counts.symbols;
  if (cls == sym_specific_intrinsic) ++counts.class7;
  if (cls == sym_intrinsic_function) ++counts.class9;
  if (cls == sym_intrinsic_subroutine) ++counts.class10;
  return s;
}

// Calls f(keyword) for every argument keyword of a signature's dummy list
// ("KEY: type, intent; KEY2: ...").
template <class F>
void for_each_keyword(std::string_view dummies, F f) {
  while (!dummies.empty()) {
    size_t colon = dummies.find(':');
    if (colon == std::string_view::npos) break;
    f(dummies.substr(0, colon));
    size_t semi = dummies.find("; ");
    if (semi == std::string_view::npos) break;
    dummies.remove_prefix(semi + 2);
  }
}
}  // namespace

PreloadCounts preload_counts() { return counts; }

void symtab_reset() {
  names_reset();
  counts = PreloadCounts{};
  bool case_sensitive = names.case_sensitive_identifiers;
  // The predefined spellings are interned as written (upper case).
  names.case_sensitive_identifiers = true;
  for (const keyword_row& k : statement_keyword_rows) intern_predefined(k.text, k.token);
  for (const keyword_row& k : specifier_keyword_rows) intern_predefined(k.text, k.token);
  for (const keyword_row& k : operator_spelling_rows) intern_predefined(k.text, k.token);

  symtab.intrinsic_rows = static_cast<intrinsic_descriptor*>(
      pool_alloc_zeroed(sizeof(intrinsic_descriptor) * std::size(intrinsic_rows)));
  symtab.specifics = static_cast<intrinsic_specific*>(
      pool_alloc_zeroed(sizeof(intrinsic_specific) * std::size(signatures)));
  symtab.specific_count = 0;

  // Names of the rows, then the argument keywords, then the symbols: a row's
  // symbol is made before the symbols of its specific names, which therefore
  // come first on the name's chain.
  for (const intrinsic_row_info& r : intrinsic_rows) intern_predefined(r.name, 0);
  for (const signature_info& s : signatures)
    for_each_keyword(s.dummies, [](std::string_view k) {
      atom* a = name_intern(k.data(), static_cast<uint32_t>(k.size()));
      (void)a;
    });
  uint32_t row = 0;
  size_t sig = 0;
  for (const intrinsic_row_info& r : intrinsic_rows) {
    intrinsic_descriptor* d = &symtab.intrinsic_rows[row];
    d->name = intern_predefined(r.name, 0);
    d->row = row;
    d->symbol = predefined_symbol(r.symbol_class, d->name, d);
    for (; sig < std::size(signatures) && signatures[sig].row == static_cast<int>(row); ++sig) {
      if (!signatures[sig].specific[0]) continue;
      intrinsic_specific* specific = &symtab.specifics[symtab.specific_count++];
      specific->name = intern_predefined(signatures[sig].specific, 0);
      specific->row = row;
      specific->signature = static_cast<uint32_t>(sig);
      specific->descriptor = d;
      symbol_entry* s = predefined_symbol(sym_specific_intrinsic, specific->name, specific);
      s->word1 = 3;
    }
    ++row;
  }
  names.case_sensitive_identifiers = case_sensitive;
  intrinsic_table_build();  // the rows' interfaces and signature objects
  for (atom* a : names.buckets)
    for (; a; a = a->next) ++counts.atoms;

  symtab.scope_tab.clear();
  symtab.cur_scope = -1;
  symtab.implied_do_level = -1;
  symtab.interface_depth = 0;
  symtab.in_bound_expr = false;
  for (bool& b : symtab.implicit_letter_set) b = false;
  decl_context_reset();
}
