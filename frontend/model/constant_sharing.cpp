// Sharing of equal constants: one walk over the IL makes every enk_constant
// node refer to one entry per distinct value and gathers those entries into
// the file scope's constants list (structure constants into their scope's).
//
// The hash chains and the per-scope lists of structure constants are side
// tables, and a constant entered into them is a copy owned by this pass: the
// constants' own next links belong to the IL lists that hold them (aggregate
// elements, scope lists), which therefore never lose members here.
#include "frontend/model/constant_sharing.h"

#include <cstring>
#include <vector>

#include "frontend/model/il_walk.h"
#include "frontend/model/types.h"

namespace {
struct SharingState {
  std::vector<constant*> buckets[constant_hash_size];  // [0] is the bucket's head
  // Structure constants entered per scope during the pass, in order.
  std::vector<std::pair<scope*, std::vector<constant*>>> scope_lists;
  scope* file_scope;  // the root's file scope during a pass, else null
};
SharingState sharing;

int32_t signed_byte(const uint8_t* value, uint32_t i) { return static_cast<int8_t>(value[i]); }

uint32_t value_size(const constant* c) { return c->type ? c->type->size : 0; }

// A copy of a constant for the shared tables. Its walk mark is the
// original's, so that a walk under way treats it as the original would be
// treated and the two passes leave it unmarked like the rest of the graph.
constant* shared_copy(constant* c) {
  constant* copy = new_il_constant_copy(*c);
  copy->header = c->header & il_walk_mark;
  return copy;
}
}  // namespace

void constant_sharing_reset() {
  for (auto& b : sharing.buckets) b.clear();
  sharing.scope_lists.clear();
  sharing.file_scope = nullptr;
}

uint32_t constant_hash(const constant* c) {
  if (c->kind != ck_value) return (static_cast<uint32_t>(c->kind) + 200u) % constant_hash_size;
  const type* t = c->type;
  const uint8_t* v = c->value;
  uint32_t h = 0;
  if (!t) return 0;
  switch (t->type_code) {
    case tk_integer:
    case tk_logical: {
      const kind_row* row = kind_row_of(t->type_code == tk_integer ? kf_integer : kf_logical, t->kind);
      if (row && v) h = static_cast<uint32_t>(row->get_int(v));
      break;
    }
    case tk_float:
    case tk_complex:
      h = t->type_code == tk_float ? 500u : 700u;
      for (uint32_t i = 0; v && i < t->size; ++i) h += static_cast<uint32_t>(signed_byte(v, i));
      break;
    case tk_fcharacter: {
      uint32_t length = t->length.kind == bk_constant ? static_cast<uint32_t>(t->length.value) : 0;
      h = 100;
      if (length > 0 && v)
        h += length + 64u * static_cast<uint32_t>(signed_byte(v, 0)) +
             static_cast<uint32_t>(signed_byte(v, length - 1));
      break;
    }
    default:
      break;
  }
  return h % constant_hash_size;
}

int constant_equal(const constant* a, const constant* b) {
  if (a == b) return 1;
  if (a->kind != b->kind) return 0;
  if (value_size(a) != value_size(b)) return 0;
  if (a->type != b->type && !type_equal(a->type, b->type)) return 0;
  switch (a->kind) {
    case ck_value: {
      uint32_t n = value_size(a);
      if (n == 0) return 1;
      if (!a->value || !b->value) return a->value == b->value;
      return std::memcmp(a->value, b->value, n) == 0;
    }
    case ck_aggregate: {
      const constant* x = a->first_constant;
      const constant* y = b->first_constant;
      for (; x && y; x = x->next, y = y->next)
        if (!constant_equal(x, y)) return 0;
      return !x && !y;
    }
    default:
      return 0;
  }
}

constant* share_constant(constant* c) {
  std::vector<constant*>& bucket = sharing.buckets[constant_hash(c)];
  for (size_t i = 0; i < bucket.size(); ++i) {
    if (constant_equal(bucket[i], c)) {
      constant* hit = bucket[i];
      bucket.erase(bucket.begin() + static_cast<std::ptrdiff_t>(i));
      bucket.insert(bucket.begin(), hit);
      return hit;
    }
  }
  constant* shared = shared_copy(c);
  bucket.insert(bucket.begin(), shared);
  return shared;
}

void scope_add_constant(constant* c, scope* s) {
  c->next = s->constants;
  s->constants = c;
}

void flush_constant_table() {
  scope* file_scope = sharing.file_scope ? sharing.file_scope : the_il_header.primary_scope;
  for (auto& bucket : sharing.buckets) {
    if (file_scope)
      for (constant* c : bucket) scope_add_constant(c, file_scope);
    bucket.clear();
  }
}

// A structure constant: the equal one already in the current scope's list,
// or a copy entered at the end of that list.
static constant* share_structure_constant(constant* c) {
  scope* s = walk.current_scope;
  if (!s) return c;
  for (constant* p = s->constants; p; p = p->next)
    if (constant_equal(p, c)) return p;
  std::vector<constant*>* entered = nullptr;
  for (auto& [owner, list] : sharing.scope_lists)
    if (owner == s) entered = &list;
  if (!entered) entered = &sharing.scope_lists.emplace_back(s, std::vector<constant*>{}).second;
  for (constant* p : *entered)
    if (constant_equal(p, c)) return p;
  constant* shared = shared_copy(c);
  entered->push_back(shared);
  return shared;
}

static void share_constant_visitor(void* entry, int kind, uint32_t) {
  if (kind != ilk_expr_node) return;
  auto* n = static_cast<expr_node*>(entry);
  if (n->node_kind != enk_constant || !n->constant) return;
  type* t = n->constant->type;
  if (t && t->type_code == tk_farray) t = t->element_type;
  if (t && t->type_code == tk_derived_type)
    n->constant = share_structure_constant(n->constant);
  else
    n->constant = share_constant(n->constant);
}

void share_constants_pass(il_header* root) {
  if (root->primary_scope) root->primary_scope->constants = nullptr;
  sharing.scope_lists.clear();
  sharing.file_scope = root->primary_scope;
  il_walk(root, ilk_il_header, il_entry_size(ilk_il_header), nullptr, share_constant_visitor,
          nullptr, il_walk_noop);
  // The structure constants entered per scope go to the end of its list.
  for (auto& [owner, list] : sharing.scope_lists) {
    pool_ref_field<constant>* tail = &owner->constants;
    while (*tail) tail = &(*tail)->next;
    for (constant* c : list) {
      c->next = nullptr;
      *tail = c;
      tail = &c->next;
    }
  }
  sharing.scope_lists.clear();
  flush_constant_table();
  sharing.file_scope = nullptr;
}
