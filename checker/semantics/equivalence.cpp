// EQUIVALENCE groups: the records the EQUIVALENCE statements wrote are read
// back when the specification part ends, each object's byte offset is
// computed from its subscripts and substring, and the objects of a group
// are joined in rings or placed in the COMMON block the group touches.
#include "checker/semantics/equivalence.h"

#include <vector>

#include "checker/common/qualcodes.h"
#include "checker/base/services.h"
#include "checker/base/tokens.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/sizes.h"
#include "checker/semantics/workfiles.h"

namespace {

constexpr int32_t MAX_RING_STEPS = 2500;
constexpr int32_t MAX_EQV_SUBS = 7;
// Dialects that take a single subscript as the element number.
constexpr uint32_t ELEMENT_NUMBER_DIALECTS = 0x10a;
// Token index of the re-recorded initialisations.
constexpr int32_t REINIT_TOKEN = 2;

int32_t clamp32(int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

bool in_common(const locsym* s) { return (s->props & CP_COMBLK) && !(s->props & CP_EQVGRP); }

bool in_group(const locsym* s) { return (s->props & CP_EQVGRP) != 0; }

// The members of s's group, s first; s alone when it is in none.
std::vector<locsym*> ring_of(locsym* s) {
  std::vector<locsym*> ring{s};
  if (!in_group(s)) return ring;
  EqvRingWalk w = eqv_ring_begin(s);
  for (locsym* m = eqv_ring_next(w); m != nullptr; m = eqv_ring_next(w)) ring.push_back(m);
  return ring;
}

// Offset of s within its group (0 for an object in none).
int64_t group_offset(const locsym* s) { return in_group(s) ? s->offset : 0; }

// The interface link of each names the other when it names nothing yet.
void cross_link(locsym* a, locsym* b) {
  if (a->intflink == nullptr) a->intflink = b;
  if (b->intflink == nullptr) b->intflink = a;
}

// Records QB_INIT again on each member that has it, so that it reaches
// the members now associated with it.
void reinit(const std::vector<locsym*>& members) {
  for (locsym* m : members) {
    if (m->usage & QB_INIT) flaguse(m, QB_INIT, REINIT_TOKEN);
  }
}

void message(int32_t n, locsym* a, locsym* b) {
  recmsg.errmsgsymptr1 = a;
  recmsg.errmsgsymptr2 = b;
  record_errmsg(n);
}

// One object of an EQUIVALENCE record.
struct EqvObject {
  locsym* sym;
  int32_t nsub;
  int32_t subs[MAX_EQV_SUBS];
  int32_t substart;
  int32_t subend;
};

// The byte offset within the object of the storage unit it names; false
// when the object is passed over (after its message, or when its type has
// no size).
bool object_offset(const EqvObject& o, int32_t* byte) {
  locsym* s = o.sym;
  if (!(s->sclass == SC_VAR || (s->sclass == SC_REC90 && ropt.Language != 1))) {
    message(229, s, nullptr);
    return false;
  }
  if (s->props & CP_PTRBASED) {
    // A pointee's link is its pointer: it cannot join a group.
    message(241, s, nullptr);
    return false;
  }
  int32_t d = getnumdims(s);
  int64_t element = 0;
  if (d == 0 && o.nsub > 0) {
    message(174, s, nullptr);
    return false;
  }
  int32_t count = getnumele(s);
  if (d > 0 && o.nsub > 0) {
    if (o.nsub != d) {
      if (o.nsub != 1 || (ropt.compiler & ELEMENT_NUMBER_DIALECTS) == 0) {
        message(175, s, nullptr);
        return false;
      }
      issue(9021);
      element = static_cast<int64_t>(o.subs[0]) - 1;
    } else {
      int64_t stride = 1;
      int32_t k = 0;
      for (const arrdim* a = static_cast<const arrdim*>(s->arrspec); a != nullptr && k < o.nsub;
           a = a->next, ++k) {
        element += (static_cast<int64_t>(o.subs[k]) - a->lower) * stride;
        stride *= static_cast<int64_t>(a->upper) - a->lower + 1;
        if (stride > INT32_MAX) stride = INT32_MAX;
      }
    }
    // An array whose bounds are not constant cannot be placed.
    if (count == 0) return false;
    if (element < 0 || element >= count) {
      message(176, s, nullptr);
      return false;
    }
  }
  int64_t sub = 0;
  if (o.substart > 0 || o.subend > 0) {
    if (s->type.code != DT_CHAR) {
      message(177, s, nullptr);
      return false;
    }
    int32_t len = s->type.value;
    if (len > 0 && (o.substart > len || o.subend > len)) {
      message(169, s, nullptr);
      return false;
    }
    sub = o.substart > 1 ? o.substart - 1 : 0;
  }
  int32_t tsize = gettypsiz(s->type);
  if (tsize == 0) return false;
  int64_t b = element * tsize + sub;
  if (b > INT32_MAX) return false;
  *byte = static_cast<int32_t>(b);
  return true;
}

// Joins the object to the one before it in the same group.
void join(locsym* prev, int32_t poff, locsym* s, int32_t soff) {
  if (in_common(prev) && in_common(s)) {
    cbmeqvcbm(prev, poff, s, soff);
  } else if (in_common(prev)) {
    equnlink(prev, poff, s, soff);
  } else if (in_common(s)) {
    equnlink(s, soff, prev, poff);
  } else if (in_group(s) && !in_group(prev)) {
    eqlink(s, soff, prev, poff);
  } else {
    eqlink(prev, poff, s, soff);
  }
}

}  // namespace

EqvRingWalk eqv_ring_begin(locsym* sym, bool (*marked)(const locsym*)) {
  EqvRingWalk w{};
  w.start = sym;
  w.cur = sym;
  w.endmark = sym;
  w.marked = marked;
  w.moving = marked != nullptr && marked(sym);
  return w;
}

locsym* eqv_ring_next(EqvRingWalk& w) {
  if (w.done || w.cur == nullptr) return nullptr;
  locsym* m = w.cur->link;
  if (m == nullptr) rd_interr("LOC-002");
  if (++w.steps > MAX_RING_STEPS) rd_interr("LOC-003");
  if (m == w.endmark) {
    w.done = true;
    return nullptr;
  }
  if (w.moving) {
    if (m == w.start) {
      // Round the whole ring without an unmarked member: this is the last.
      w.done = true;
      return m;
    }
    w.endmark = m;
    w.moving = w.marked(m);
  }
  w.cur = m;
  return m;
}

void cbmeqvcbm(locsym* a, int32_t aoff, locsym* b, int32_t boff) {
  bool same = a->link == b->link;
  bool known = a->offset != -2 && b->offset != -2;
  if (!same || (known && static_cast<int64_t>(a->offset) + aoff != static_cast<int64_t>(b->offset) + boff)) {
    message(171, a, b);
  }
  cross_link(a, b);
}

void equnlink(locsym* member, int32_t moff, locsym* other, int32_t ooff) {
  locsym* block = member->link;
  std::vector<locsym*> ring = ring_of(other);
  bool known = member->offset != -2;
  // Where the other's group begins in the block.
  int64_t origin = static_cast<int64_t>(member->offset) + moff - ooff - group_offset(other);
  std::vector<int64_t> rel;
  for (locsym* r : ring) rel.push_back(group_offset(r));
  for (size_t i = 0; i < ring.size(); ++i) {
    locsym* r = ring[i];
    r->link = block;
    r->usage |= QB_ALI;
    r->props = static_cast<uint8_t>((r->props & ~CP_EQVGRP) | CP_COMBLK);
    if (block != nullptr) {
      ComMember* node = local_new<ComMember>();
      node->sym = r;
      node->line = recmsg.errmsglinnum;
      ComMember** tail = reinterpret_cast<ComMember**>(&block->list);
      while (*tail != nullptr) tail = &(*tail)->next;
      *tail = node;
    }
    int64_t off = origin + rel[i];
    if (!known) {
      r->offset = -2;
    } else if (off < 0) {
      message(172, member, r);
      r->offset = 0;
    } else {
      r->offset = clamp32(off);
    }
    if (block == nullptr || block->size == -2) continue;
    int32_t size = member_size(r);
    if (size == -2 || r->offset == -2) {
      block->size = -2;
    } else if (static_cast<int64_t>(r->offset) + size > block->size) {
      block->size = clamp32(static_cast<int64_t>(r->offset) + size);
    }
  }
  cross_link(member, other);
  if (block == nullptr) return;
  std::vector<locsym*> members;
  for (ComMember* m = static_cast<ComMember*>(block->list); m != nullptr; m = m->next) {
    if (m->sym != nullptr) members.push_back(m->sym);
  }
  reinit(members);
}

void eqlink(locsym* a, int32_t aoff, locsym* b, int32_t boff) {
  if (!in_group(a)) {
    // A group of one.
    a->props |= CP_EQVGRP;
    a->link = a;
    a->offset = 0;
  }
  std::vector<locsym*> bring = ring_of(b);
  for (locsym* m : bring) {
    if (m != a) continue;
    // Both are in one group already: the positions must agree.
    if (static_cast<int64_t>(a->offset) + aoff != static_cast<int64_t>(b->offset) + boff) message(173, a, b);
    return;
  }
  if (!in_group(b)) {
    b->props |= CP_EQVGRP;
    b->link = b;
    b->offset = 0;
  }
  int64_t shift = static_cast<int64_t>(a->offset) + aoff - boff - b->offset;
  if (shift != 0) {
    for (locsym* m : bring) m->offset = clamp32(m->offset + shift);
  }
  // One ring: a, then b's ring, then the rest of a's.
  locsym* after_a = a->link;
  a->link = b;
  bring.back()->link = after_a;
  cross_link(a, b);
  reinit(ring_of(a));
}

void proceqv() {
  if (wf.equivcnt == 0) return;
  workfile_rewind(wf.equiv);
  locsym* prev = nullptr;
  int32_t prevoff = 0;
  for (int32_t k = 0; k < wf.equivcnt; ++k) {
    int32_t head[2];
    if (!workfile_read(wf.equiv, head, 2) || head[1] < 0 || head[1] > MAX_EQV_SUBS) break;
    EqvObject o{};
    o.sym = wsym_at(static_cast<uint32_t>(head[0]));
    o.nsub = head[1];
    int32_t tail[4];
    if (!workfile_read(wf.equiv, o.subs, o.nsub) || !workfile_read(wf.equiv, tail, 4)) break;
    o.substart = tail[0];
    o.subend = tail[1];
    int32_t more = tail[2];
    recmsg.errmsglinnum = tail[3];
    int32_t byte = 0;
    if (o.sym != nullptr && object_offset(o, &byte)) {
      if (prev != nullptr) join(prev, prevoff, o.sym, byte);
      prev = o.sym;
      prevoff = byte;
    }
    if (more == 0) prev = nullptr;
  }
  wf.equivcnt = 0;
}
