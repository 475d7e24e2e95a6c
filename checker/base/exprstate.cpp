// The description of the last expression read, the kind-word questions and
// the installed expression reader.
#include "checker/base/exprstate.h"

#include "checker/base/services.h"
#include "checker/base/symbols.h"

dtdesc got_typ;
conval got_val;
uint32_t got_ok;
uint32_t got_con;
int32_t got_arrsecdims;
bool got_rank_unknown;
locsym* got_sym;
int32_t got_arrelm;
int32_t got_arrpos;
int32_t got_epflags;
locsym* got_structfld;
locsym* got_field;
bool got_field_unknown;
int32_t got_recstrbeg;
int32_t got_recstrend;
locsym* got_toprec;
int32_t usdexpstack;
int32_t argisquoted;
int32_t vhs;
int32_t charsubsize;
int32_t dnkind;

uint8_t expr_default_code(int32_t tclass, uint8_t fallback) {
  return static_cast<uint8_t>(defdtypes[tclass] != 0 ? defdtypes[tclass] : fallback);
}

dtdesc expr_type(uint8_t code) {
  dtdesc d{};
  d.code = code;
  d.tag = 'p';
  return d;
}

int32_t is_exp(uint32_t kind) { return kind != 0 && (kind & 0x3c0801u) != 0 ? 1 : 0; }

int32_t is_arrayexp(uint32_t kind) { return (kind & 0x240e44u) != 0 ? 1 : 0; }

ExpressionReader expression_reader = nullptr;

uint32_t read_expression(uint32_t accepted) {
  if (expression_reader == nullptr) rd_interr("read_expression");
  return expression_reader(accepted);
}
