// Initial-value runs of DATA: storing a value at a byte offset of an object,
// merging equal neighbours into repeat entries, joining runs that touch, and
// moving the runs of an EQUIVALENCE member onto its base object.
#include "frontend/parser/initial_value_runs.h"

#include <cstdint>
#include <iterator>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/model/constant_sharing.h"
#include "frontend/semantics/storage_association.h"
#include "frontend/model/types.h"

namespace {

const char* name_of(const object* o) {
  return o && o->corresp.name && o->corresp.name->text ? o->corresp.name->text : "";
}

bool is_value_entry(const constant* c) {
  return c && c->kind != ck_init_position && c->kind != ck_aggregate;
}

const constant* value_of(const constant* c) { return c->kind == ck_init_repeat ? c->repeat_constant : c; }
uint32_t count_of(const constant* c) { return c->kind == ck_init_repeat ? c->count : 1; }

// Where the runs of one object's list start and end, by offset, so that a
// store finds its neighbours in logarithmic time however many runs the list
// holds. A list changed by other means is indexed again from its chain.
struct RunBounds {
  constant* position;  // the run's position entry
  constant* last;      // its last value entry
};
struct RunIndex {
  const constant* list;                  // the aggregate the index describes
  std::map<int32_t, RunBounds> runs;     // by starting offset
};
struct RunIndexState {
  std::unordered_map<const object*, RunIndex> by_object;  // objects given runs
  // Position entries of runs that joined the run before them: nothing
  // refers to them any more, and the next new position takes one.
  std::vector<constant*> spare_positions;
  uint32_t generation;  // il_tables_generation the entries belong to
};
RunIndexState run_indexes;

// Forgets the entries of an earlier compilation, whose tables are gone.
void sync_run_indexes() {
  if (run_indexes.generation == il_tables_generation) return;
  run_indexes.by_object.clear();
  run_indexes.spare_positions.clear();
  run_indexes.generation = il_tables_generation;
}

// The index of o's run list agg, built from the chain when agg is not the
// list it was made for.
RunIndex& run_index_of(const object* o, const constant* agg) {
  RunIndex& index = run_indexes.by_object[o];
  if (index.list == agg) return index;
  index.list = agg;
  index.runs.clear();
  RunBounds* open = nullptr;
  for (constant* c = agg->first_constant; c; c = c->next) {
    if (c->kind == ck_init_position) {
      open = &index.runs.emplace_hint(index.runs.end(), c->offset, RunBounds{c, c})->second;
    } else if (open) {
      open->last = c;
    }
  }
  return index;
}

// Merges entry a with the entry after it when both hold the same value: a
// becomes (or stays) a repeat entry and the next one leaves the chain.
// Returns true when they merged.
bool merge_with_next(constant* agg, constant* a) {
  constant* b = a ? a->next : nullptr;
  if (!is_value_entry(a) || !is_value_entry(b)) return false;
  if (!value_of(a) || !value_of(b) || !constant_equal(value_of(a), value_of(b))) return false;
  uint32_t total = count_of(a) + count_of(b);
  if (a->kind != ck_init_repeat) {
    constant* copy = new_constant();
    *copy = *a;
    copy->next = nullptr;
    constant* next = a->next;
    init_constant(a, ck_init_repeat);
    a->next = next;
    a->repeat_constant = copy;
  }
  a->count = total;
  a->next = b->next;
  if (agg->last_constant == b) agg->last_constant = a;
  return true;
}

// Takes an entry out of the chain; pred is the entry before it (null: head).
void unlink_after(constant* agg, constant* pred, constant* c) {
  if (pred)
    pred->next = c->next;
  else
    agg->first_constant = c->next;
  if (agg->last_constant == c) agg->last_constant = pred;
}

constant* new_position(int32_t offset, uint32_t size) {
  constant* p;
  if (run_indexes.spare_positions.empty()) {
    p = new_constant();
  } else {
    p = run_indexes.spare_positions.back();
    run_indexes.spare_positions.pop_back();
    *p = constant{};
    init_error_constant(p);
  }
  init_constant(p, ck_init_position);
  p->offset = offset;
  p->segment_size = size;
  return p;
}

constant* new_aggregate(type* t) {
  constant* a = new_constant();
  init_constant(a, ck_aggregate);
  a->type = t;
  return a;
}

// A list of runs: an aggregate that starts with a position entry (or is
// still empty). The aggregate of an array or structure value, as a
// declaration gives it, holds element or component values instead.
bool is_run_list(const constant* c) {
  return c && c->kind == ck_aggregate &&
         (!c->first_constant || c->first_constant->kind == ck_init_position);
}

// A copy of a whole value, free to be linked into a run.
constant* detached_copy(const constant* v) {
  constant* copy = new_constant();
  *copy = *v;
  copy->next = nullptr;
  return copy;
}

}  // namespace

int insert_run(object* o, int32_t offset, uint32_t size, constant* first, constant* last) {
  sync_run_indexes();
  if (!o->initializer) {
    o->initializer = new_aggregate(o->type);
  } else if (!is_run_list(o->initializer)) {
    // A whole value (a scalar's, or an array or structure value of a
    // declaration) covers the object: it becomes one run over all of it.
    uint32_t whole = 0, alignment = 1;
    object_storage_size(o, &whole, &alignment);
    constant* value = detached_copy(o->initializer);
    constant* agg = new_aggregate(o->type);
    agg->first_constant = new_position(0, whole);
    agg->first_constant->next = value;
    agg->last_constant = value;
    o->initializer = agg;
  }
  constant* agg = o->initializer;
  RunIndex& index = run_index_of(o, agg);
  int64_t end = int64_t{offset} + size;
  // P: the last run starting before offset; N: the first starting at or after.
  auto n_at = index.runs.lower_bound(offset);
  auto p_at = n_at == index.runs.begin() ? index.runs.end() : std::prev(n_at);
  constant* p = p_at != index.runs.end() ? p_at->second.position : nullptr;
  constant* n = n_at != index.runs.end() ? n_at->second.position : nullptr;
  constant* before_n = p ? p_at->second.last : nullptr;  // the entry in front of N
  if (p && int64_t{p->offset} + p->segment_size > offset) return 0;
  if (n && n->offset < end) return 0;
  // Put the values between P's values and N: they extend P when they touch
  // it, else they get a position entry of their own.
  last->next = n;
  if (!n) agg->last_constant = last;
  constant* run = p;
  constant* tail = last;  // the last value entry of the run being built
  if (p && int64_t{p->offset} + p->segment_size == offset) {
    p->segment_size += size;
    before_n->next = first;
    if (merge_with_next(agg, before_n) && tail == first) tail = before_n;
  } else {
    run = new_position(offset, size);
    run->next = first;
    if (before_n)
      before_n->next = run;
    else
      agg->first_constant = run;
  }
  RunBounds& bounds = run == p ? p_at->second : index.runs.emplace_hint(n_at, offset, RunBounds{run, tail})->second;
  bounds.last = tail;
  if (n && n->offset == end) {
    run->segment_size += n->segment_size;
    constant* n_first = n->next;
    constant* n_last = n_at->second.last;
    unlink_after(agg, tail, n);
    bool merged = merge_with_next(agg, tail);
    if (n_last == n || (merged && n_last == n_first)) n_last = tail;
    bounds.last = n_last;
    index.runs.erase(n_at);
    run_indexes.spare_positions.push_back(n);
  }
  return 1;
}

int store_initial_value(object* o, constant* v, int32_t offset, source_pos_record pos) {
  v->next = nullptr;
  type* t = o->type;
  bool whole_scalar = t && t->type_code != tk_farray && t->type_code != tk_derived_type &&
                      o->storage_class != sc_associated;
  if (whole_scalar && t->type_code == tk_fcharacter && v->type && v->type->size != t->size) {
    if (o->initializer && !is_run_list(o->initializer)) {
      error_at(17, pos, {name_of(o)});
      return 0;
    }
    whole_scalar = false;
  }
  if (whole_scalar) {
    if (o->initializer) {
      error_at(17, pos, {name_of(o)});
      return 0;
    }
    o->initializer = v;
    return 1;
  }
  if (o->storage_class == sc_associated && o->assoc_variable) {
    offset += o->association_offset;
    o = o->assoc_variable;
  }
  uint32_t size = v->type ? v->type->size : 0;
  if (!insert_run(o, offset, size, v, v)) {
    error_at(17, pos, {name_of(o)});
    return 0;
  }
  return 1;
}

int store_repeated_value(object* o, constant* v, uint32_t count, int32_t offset, source_pos_record pos) {
  if (count == 1) return store_initial_value(o, v, offset, pos);
  v->next = nullptr;
  if (o->storage_class == sc_associated && o->assoc_variable) {
    offset += o->association_offset;
    o = o->assoc_variable;
  }
  uint64_t size = uint64_t{v->type ? v->type->size : 0} * count;
  constant* r = new_constant();
  init_constant(r, ck_init_repeat);
  r->type = v->type;
  r->repeat_constant = v;
  r->count = count;
  if (size > UINT32_MAX || !insert_run(o, offset, static_cast<uint32_t>(size), r, r)) {
    error_at(17, pos, {name_of(o)});
    return 0;
  }
  return 1;
}

void mark_initialized_storage(object* o) {
  object* b = o->assoc_variable;
  constant* init = o->initializer;
  if (!b || !init) return;
  int32_t a = o->association_offset;
  o->initializer = nullptr;
  bool had = b->initializer != nullptr;
  if (!had && is_run_list(init)) {
    for (constant* c = init->first_constant; c; c = c->next)
      if (c->kind == ck_init_position) c->offset += a;
    b->initializer = init;
    if (b->storage_class != sc_common) b->is_saved = true;
    return;
  }
  bool reported = false;
  auto add = [&](int32_t offset, uint32_t size, constant* first, constant* last) {
    if (!insert_run(b, offset, size, first, last) && !reported) {
      reported = true;
      error_at(17, o->corresp.decl_position, {name_of(o)});
    }
  };
  if (is_run_list(init)) {
    constant* c = init->first_constant;
    while (c) {
      constant* pos = c;
      constant* first = pos->next;
      constant* last = pos;
      for (constant* x = first; x && x->kind != ck_init_position; x = x->next) last = x;
      c = last->next;
      if (last == pos) continue;  // a position without values
      last->next = nullptr;
      add(pos->offset + a, pos->segment_size, first, last);
    }
  } else {
    // O's single value, or the array or structure value of its declaration.
    uint32_t size = 0, alignment = 1;
    object_storage_size(o, &size, &alignment);
    constant* value = detached_copy(init);
    add(a, size, value, value);
  }
  if (!had && b->initializer && b->storage_class != sc_common) b->is_saved = true;
}
