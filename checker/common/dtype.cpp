// Data-type descriptors: the table of data types, accessors of the qualifier,
// type names for messages, conversion of constant values and the type
// statement mapping.
#include "checker/common/dtype.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

#include "checker/common/error.h"
#include "checker/common/qmalloc.h"
#include "checker/common/symtable.h"

const dtrow dtstuff[dtstuff_rows] = {
#define DT(code, sname, lname, size, rank, store, usg) {sname, lname, size, rank, store, usg},
#include "checker/common/dtstuff.def"
};
namespace {
constexpr int dtstuff_count = 0
#define DT(code, sname, lname, size, rank, store, usg) +1
#include "checker/common/dtstuff.def"
    ;
static_assert(dtstuff_count == dtstuff_rows);

const char* no_locsym_name(const locsym*) { return nullptr; }
void no_message(int) {}
int no_kind_rule(int, int) { return 0; }

constexpr DtypeOptions default_options = {
    2, 0, {0, 1, 4, 4, 4, 8, 8, 16, 1, 0, 0, 0, 0},
    no_message, no_kind_rule, no_locsym_name};

bool valid_code(int code) { return code >= 1 && code <= 26; }

}  // namespace

DtypeOptions dtopts = default_options;

void dtype_reset() { dtopts = default_options; }

void dtdesc_put(const dtdesc& d, unsigned char* out) {
  std::memset(out, 0, dtdesc_bytes);
  out[0] = d.code;
  out[1] = d.kind;
  out[4] = static_cast<unsigned char>(d.tag);
  put_be32(out + 8, d.tag == 'q' ? 0u : static_cast<uint32_t>(d.value));
}

void dtdesc_get(dtdesc& d, const unsigned char* in) {
  d.code = in[0];
  d.kind = in[1];
  d.tag = static_cast<char>(in[4]);
  d.value = static_cast<int32_t>(get_be32(in + 8));
  d.sym = nullptr;
}

void PSetQCharsize(dtdesc* d, int32_t value) {
  if (d == nullptr) interr("PSetQCharsize");
  d->tag = 'p';
  d->value = value;
  d->sym = nullptr;
}

void PSetQStructsym(dtdesc* d, locsym* sym) {
  if (d == nullptr) interr("PSetQStructsym");
  d->tag = 'q';
  d->value = 0;
  d->sym = sym;
}

void PSetQGlostruct(dtdesc* d, int32_t record) {
  if (d == nullptr) interr("PSetQGlostruct");
  d->tag = 'r';
  d->value = record;
  d->sym = nullptr;
}

int32_t PGetQCharsize(const dtdesc* d) {
  if (d == nullptr) interr("PGetQCharsize");
  if (d->code == 0) return 0;
  if (d->tag != 'p' && d->tag != 'q' && d->tag != 'r') interr("PGetQCharsize");
  return d->value;
}

locsym* PGetQStructsym(const dtdesc* d) {
  if (d == nullptr || d->tag != 'q') interr("PGetQStructsym");
  return d->sym;
}

int32_t PGetQGlostruct(const dtdesc* d) {
  if (d == nullptr || d->tag != 'r') interr("PGetQGlostruct");
  return d->value;
}

int IsQCharsize(const dtdesc* d) {
  if (d == nullptr || d->tag < 'p' || d->tag > 'r') interr("IsQCharsize");
  return d->tag == 'p' ? 1 : 0;
}

int IsQStructsym(const dtdesc* d) {
  if (d == nullptr || d->tag < 'p' || d->tag > 'r') interr("IsQStructsym");
  return d->tag == 'q' ? 1 : 0;
}

int IsQGlostruct(const dtdesc* d) {
  if (d == nullptr || d->tag < 'p' || d->tag > 'r') interr("IsQGlostruct");
  return d->tag == 'r' ? 1 : 0;
}

int getdtstore(int code) { return valid_code(code) ? dtstuff[code].store : 0; }

int32_t getdtsize(int code) { return valid_code(code) ? dtstuff[code].size : 0; }

uint32_t getdtusg(int code) { return valid_code(code) ? dtstuff[code].usg : 0; }

int getdtname(int code) {
  switch (code) {
    case 1: case 2: case 11: case 18: case 19: return TC_LOGICAL;
    case 3: case 4: case 17: case 20: case 25: return TC_INTEGER;
    case 5: case 6: case 9: case 21: case 22: return TC_REAL;
    case 7: case 8: case 23: case 24: return TC_COMPLEX;
    case 10: return TC_BYTE;
    case 12: case 14: return TC_CHARACTER;
    case 15: case 26: return TC_STRUCT;
    default: return 0;
  }
}

int getdtclass(int code) {
  switch (code) {
    case 1: case 2: case 11: case 18: case 19: return 19;
    case 3: case 4: case 17: case 20: case 25: return 20;
    case 5: case 6: case 9: case 21: case 22: return 21;
    case 7: case 8: case 23: case 24: return 24;
    case 10: return 10;
    case 12: case 14: return 14;
    case 15: return 15;
    case 26: return 26;
    case 13: case 16: return code;
    default: return 0;
  }
}

int is_same_dtclass(int a, int b) {
  if (!valid_code(a) || !valid_code(b) || a == 15 || a == 26 || b == 15 || b == 26) return 0;
  if (a == b) return a;
  int fa = getdtclass(a);
  return fa == getdtclass(b) ? fa : 0;
}

int isNumericType(int code) {
  if ((code >= 3 && code <= 9) || code == 17 || (code >= 20 && code <= 25)) return code;
  return 0;
}

int intval(const dtdesc* d, const conval* value, int32_t* result) {
  if (d == nullptr || value == nullptr) return 0;
  int store = getdtstore(d->code);
  if (store == 1 && (getdtusg(d->code) & (0x2 | 0x200)) != 0) {
    *result = value->i;
    return 1;
  }
  if (store == 2 && value->d > -1e9 && value->d < 1e9) {
    *result = static_cast<int32_t>(value->d);
    return 1;
  }
  return 0;
}

std::string dtypname(const dtdesc* d, int flags) {
  if (d == nullptr) interr("dtypname");
  int code = d->code;
  if (!valid_code(code)) return "(**" + std::to_string(code) + "**)";
  bool longname = (flags & 4) != 0;
  std::string s = longname ? dtstuff[code].lname : dtstuff[code].sname;
  if (code == 14) {
    int32_t len = d->tag == 'p' ? d->value : 0;
    s += '*';
    s += len != 0 ? std::to_string(len) : std::string("(*)");
  } else if (code == 15 || code == 26) {
    s += longname ? "/" : " ";
    std::string name = "???";
    if (d->tag == 'q') {
      if ((flags & 1) == 0) interr("dtypname");
      const char* n = dtopts.locsym_name(d->sym);
      if (n != nullptr) name = n;
    } else if (d->tag == 'r' && d->value >= 1 && d->value <= getnumsyms()) {
      symrec r;
      readsymi(d->value, r);
      name = r.namebuf;
    }
    s += name;
    if (longname) s += '/';
  }
  return s;
}

namespace {

// A double truncated toward zero into 32 bits; NaN by its sign, values beyond
// the range held at the nearest end.
int32_t real_to_int(double x) {
  if (std::isnan(x)) return std::signbit(x) ? INT32_MIN : INT32_MAX;
  if (x >= 2147483648.0) return INT32_MAX;
  if (x <= -2147483649.0) return INT32_MIN;
  return static_cast<int32_t>(x);
}

int32_t char_length(const dtdesc* d) { return d->tag == 'p' ? d->value : 0; }

}  // namespace

int dtconvert(conval* value, const dtdesc* from, const dtdesc* to) {
  if (value == nullptr || from == nullptr || to == nullptr) return 0;
  int fs = getdtstore(from->code);
  int ts = getdtstore(to->code);
  if (fs == ts && fs != 4) return 1;
  switch (ts) {
    case 1:
      if (fs == 4) {
        int32_t n = dtstuff[to->code].size;
        if (n < 0) n = 4;
        int32_t have = value->s != nullptr ? char_length(from) : 0;
        uint32_t v = 0;
        for (int32_t i = 0; i < n; ++i) {
          unsigned char c = i < have ? static_cast<unsigned char>(value->s[i]) : 0x20;
          v = (v << 8) | c;
        }
        value->i = static_cast<int32_t>(v);
        return 1;
      }
      if (fs == 2 || fs == 3) {
        value->i = real_to_int(fs == 2 ? value->d : value->c[0]);
        return 1;
      }
      return 0;
    case 2:
      if (fs == 1) {
        value->d = static_cast<double>(value->i);
        return 1;
      }
      if (fs == 3) return 1;  // the real part stays where it is
      return 0;
    case 3:
      if (fs == 1) {
        double re = static_cast<double>(value->i);
        value->c[0] = re;
        value->c[1] = 0.0;
        return 1;
      }
      if (fs == 2) {
        value->c[1] = 0.0;
        return 1;
      }
      return 0;
    case 4: {
      int32_t len = char_length(to);
      if (len < 1) return 0;
      if (fs == 4) {
        int32_t have = value->s != nullptr ? char_length(from) : 0;
        if (have >= len) return 1;
        char* t = static_cast<char*>(qmalloc(qnamed("local"), int64_t{len} + 1));
        if (have > 0) std::memcpy(t, value->s, static_cast<size_t>(have));
        std::memset(t + (have > 0 ? have : 0), ' ', static_cast<size_t>(len - (have > 0 ? have : 0)));
        t[len] = '\0';
        value->s = t;
        return 1;
      }
      if (fs == 1) {
        char* t = static_cast<char*>(qcalloc(qnamed("local"), int64_t{len} + 1));
        uint32_t v = static_cast<uint32_t>(value->i);
        for (int32_t k = len - 1; k >= 0 && v != 0; --k) {
          t[k] = static_cast<char>(v & 0xFF);
          v >>= 8;
        }
        value->s = t;
        return 1;
      }
      return 0;
    }
    default:
      return 0;
  }
}

int figtyp(dtdesc* d, int tclass, int32_t length, int32_t kind) {
  if (d == nullptr) return 0;
  d->code = 0;
  d->tag = 'p';
  d->value = 0;
  d->sym = nullptr;
  d->kind = static_cast<uint8_t>(kind > 0 && kind <= 255 ? kind : 0);
  if (tclass == TC_STRUCT) {
    if (length == 0) {
      dtopts.message(12);
      return 0;
    }
    d->code = 26;
    return 1;
  }
  if (length == -1) {
    dtopts.message(283);
    if (tclass == TC_NONE) return 1;
    if (tclass == TC_BYTE) {
      d->code = 10;
      return 1;
    }
    if (tclass == TC_CHARACTER) {
      dtopts.message(12);
      return 0;
    }
  }
  if (tclass == TC_NONE) return 1;
  if (length == -4 && tclass >= 0 && tclass < static_cast<int>(std::size(dtopts.deflen)))
    length = dtopts.deflen[tclass];
  if (tclass == TC_BYTE) {
    d->code = 10;
    return 1;
  }
  if (tclass == TC_CHARACTER) {
    if (length < 0) {
      dtopts.message(12);
      return 0;
    }
    d->code = 14;
    d->value = length;
    return 1;
  }
  if (dtopts.language != 1 && kind > 0) {
    int c = dtopts.kindcode(tclass, kind);
    if (c > 0) {
      d->code = static_cast<uint8_t>(c);
      return 1;
    }
  }
  // Lengths 1, 2, 4, 8, 16, 32 by class 2..7, standard and Cray dialect.
  static const uint8_t standard[6][6] = {
      {11, 1, 2, 0, 0, 0}, {25, 3, 4, 17, 0, 0}, {0, 0, 5, 6, 9, 0},
      {0, 0, 0, 7, 8, 23}, {0, 0, 0, 6, 0, 0},  {0, 0, 0, 0, 8, 0}};
  static const uint8_t cray[6][6] = {
      {0, 18, 18, 18, 0, 0}, {0, 17, 17, 17, 0, 0}, {0, 0, 6, 6, 9, 0},
      {0, 0, 8, 8, 8, 0},    {0, 0, 0, 0, 9, 0},    {0, 0, 0, 0, 8, 0}};
  int log2 = -1;
  for (int i = 0; i < 6; ++i)
    if (length == (1 << i)) log2 = i;
  uint8_t code = 0;
  if (log2 >= 0 && tclass >= TC_LOGICAL && tclass <= TC_DCOMPLEX)
    code = ((dtopts.compiler & 0x80) ? cray : standard)[tclass - TC_LOGICAL][log2];
  if (code == 0) {
    dtopts.message(12);
    return 0;
  }
  d->code = code;
  return 1;
}
