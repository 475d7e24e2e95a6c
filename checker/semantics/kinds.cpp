// Kind tables of the target compilers and the kind checks of declarations
// and literal constants.
#include "checker/semantics/kinds.h"

#include <cstring>

#include "checker/base/cmmdline.h"
#include "checker/common/dtype.h"
#include "checker/base/services.h"
#include "checker/semantics/locsym.h"

int32_t isinKindSelector;

namespace {

constexpr double P23 = 8388608.0;                 // 2**23
constexpr double P24 = 16777216.0;                // 2**24
constexpr double P32 = 4294967296.0;              // 2**32
constexpr double P52 = 4503599627370496.0;        // 2**52
constexpr double P53 = 9007199254740992.0;        // 2**53
constexpr double P64 = 18446744073709551616.0;    // 2**64
constexpr double P107 = 162259276829213363391578010288128.0;      // 2**107
constexpr double P112 = 5192296858534827628530496329220096.0;     // 2**112
constexpr double P127 = 170141183460469231731687303715884105728.0;  // 2**127
constexpr double P128 = 340282366920938463463374607431768211456.0;  // 2**128
constexpr double P1023 = 8.98846567431158e307;    // 2**1023
constexpr double F4 = 3.40282347e38;
constexpr double F8 = 1.797693134862315e308;
constexpr double I1 = 127.0, I2 = 32767.0, I4 = 2147483647.0;
constexpr double I8 = 9223372036854775807.0;

#define ROW(kind, first, second, code) {kind, 0, first, second, code, 0}
#define END_ROW {0, 0, 0.0, 0.0, 0, 0}

const KindRow IntKind_Cray[] = {ROW(1, I4, 0, 17), ROW(2, I4, 0, 17), ROW(4, I4, 0, 17),
                                ROW(6, I8, 0, 17), ROW(8, I8, 0, 17), END_ROW};
const KindRow IntKind_Sparc[] = {ROW(1, I4, 0, 4), ROW(2, I4, 0, 4), ROW(4, I4, 0, 4), END_ROW};
const KindRow IntKind_IRIS[] = {ROW(1, I1, 0, 25), ROW(2, I2, 0, 3), ROW(4, I4, 0, 4),
                                ROW(8, I8, 0, 17), END_ROW};
const KindRow IntKind_OSF1[] = {ROW(1, I1, 0, 25), ROW(2, I2, 0, 3), ROW(4, I4, 0, 4),
                                ROW(8, I8, 0, 17), END_ROW};
const KindRow IntKind_DECNT[] = {ROW(1, I1, 0, 25), ROW(2, I2, 0, 3), ROW(4, I4, 0, 4), END_ROW};
const KindRow IntKind_Lahey[] = {ROW(1, I1, 0, 25), ROW(2, I2, 0, 3), ROW(4, I4, 0, 4), END_ROW};

const KindRow RealKind_Cray[] = {ROW(4, 1.0, P64, 6), ROW(8, 1.0, P64, 6), ROW(16, 1.0, P128, 9),
                                 END_ROW};
const KindRow RealKind_Sparc[] = {ROW(4, P127, P32, 5), ROW(8, P1023, P64, 6), END_ROW};
const KindRow RealKind_IRIS[] = {ROW(4, F4, P24, 5), ROW(8, F8, P53, 6), ROW(16, F8, P107, 9),
                                 END_ROW};
const KindRow RealKind_OSF1[] = {ROW(4, F4, P23, 5), ROW(8, F8, P52, 6), ROW(16, F8, P112, 9),
                                 END_ROW};
const KindRow RealKind_DECNT[] = {ROW(4, F4, P23, 5), ROW(8, F8, P52, 6), END_ROW};
const KindRow RealKind_Lahey[] = {ROW(4, F4, P24, 5), ROW(8, F8, P53, 6), END_ROW};

const KindRow DPRealKind_Cray[] = {ROW(16, 1.0, P128, 9), END_ROW};
const KindRow DPRealKind_Sparc[] = {ROW(8, P1023, P64, 6), END_ROW};
const KindRow DPRealKind_IRIS[] = {ROW(8, F8, P53, 6), END_ROW};
const KindRow DPRealKind_OSF1[] = {ROW(8, F8, P52, 6), END_ROW};
const KindRow DPRealKind_DECNT[] = {ROW(8, F8, P52, 6), END_ROW};
const KindRow DPRealKind_Lahey[] = {ROW(8, F8, P53, 6), END_ROW};

const KindRow CpxKind_Cray[] = {ROW(4, 1.0, P64, 8), ROW(8, 1.0, P64, 8), ROW(16, 1.0, P128, 23),
                                END_ROW};
const KindRow CpxKind_Sparc[] = {ROW(4, P127, P32, 7), ROW(8, P1023, P64, 8), END_ROW};
const KindRow CpxKind_IRIS[] = {ROW(4, F4, P24, 7), ROW(8, F8, P53, 8), ROW(16, F8, P107, 23),
                                END_ROW};
const KindRow CpxKind_OSF1[] = {ROW(4, F4, P23, 7), ROW(8, F8, P52, 8), END_ROW};
const KindRow CpxKind_DECNT[] = {ROW(4, F4, P23, 7), ROW(8, F8, P52, 8), END_ROW};
const KindRow CpxKind_Lahey[] = {ROW(4, F4, P24, 7), ROW(8, F8, P53, 8), END_ROW};

const KindRow LogKind_Cray[] = {ROW(1, 0, 0, 18), ROW(2, 0, 0, 18), ROW(4, 0, 0, 18),
                                ROW(8, 0, 0, 18), END_ROW};
const KindRow LogKind_Sparc[] = {ROW(1, 0, 0, 2), ROW(2, 0, 0, 2), ROW(4, 0, 0, 2), ROW(8, 0, 0, 18),
                                 END_ROW};
const KindRow LogKind_IRIS[] = {ROW(1, 0, 0, 11), ROW(2, 0, 0, 1), ROW(4, 0, 0, 2), ROW(8, 0, 0, 18),
                                END_ROW};
const KindRow LogKind_OSF1[] = {ROW(1, 0, 0, 11), ROW(2, 0, 0, 1), ROW(4, 0, 0, 2), ROW(8, 0, 0, 18),
                                END_ROW};
const KindRow LogKind_DECNT[] = {ROW(1, 0, 0, 11), ROW(2, 0, 0, 1), ROW(4, 0, 0, 2), END_ROW};
const KindRow LogKind_Lahey[] = {ROW(1, 0, 0, 11), ROW(4, 0, 0, 2), END_ROW};

const KindRow CharKind_Cray[] = {ROW(1, 0, 0, 14), END_ROW};
const KindRow CharKind_Sparc[] = {ROW(1, 0, 0, 14), END_ROW};
const KindRow CharKind_IRIS[] = {ROW(1, 0, 0, 14), END_ROW};
const KindRow CharKind_OSF1[] = {ROW(1, 0, 0, 14), END_ROW};
const KindRow CharKind_DECNT[] = {ROW(1, 0, 0, 14), END_ROW};
const KindRow CharKind_Lahey[] = {ROW(1, 0, 0, 14), END_ROW};

#undef ROW
#undef END_ROW

// Tables by type class 1-6 (rows) and target (columns, KindTarget order).
const KindRow* const kind_tables[6][6] = {
    {CharKind_Cray, CharKind_Sparc, CharKind_IRIS, CharKind_Lahey, CharKind_DECNT, CharKind_OSF1},
    {LogKind_Cray, LogKind_Sparc, LogKind_IRIS, LogKind_Lahey, LogKind_DECNT, LogKind_OSF1},
    {IntKind_Cray, IntKind_Sparc, IntKind_IRIS, IntKind_Lahey, IntKind_DECNT, IntKind_OSF1},
    {RealKind_Cray, RealKind_Sparc, RealKind_IRIS, RealKind_Lahey, RealKind_DECNT, RealKind_OSF1},
    {CpxKind_Cray, CpxKind_Sparc, CpxKind_IRIS, CpxKind_Lahey, CpxKind_DECNT, CpxKind_OSF1},
    {DPRealKind_Cray, DPRealKind_Sparc, DPRealKind_IRIS, DPRealKind_Lahey, DPRealKind_DECNT,
     DPRealKind_OSF1},
};

// Default kinds by type class 0-8: Cray, then the four other rows.
const uint8_t default_kinds[5][9] = {
    {0, 1, 4, 6, 8, 8, 16, 16, 1},
    {0, 1, 4, 4, 4, 4, 8, 8, 1},
    {0, 1, 4, 4, 4, 4, 8, 8, 1},
    {0, 1, 4, 4, 4, 4, 8, 8, 1},
    {0, 1, 4, 4, 4, 4, 8, 8, 1},
};

const KindRow* find_kind(const KindRow* table, int32_t kind) {
  for (const KindRow* r = table; r != nullptr && r->kind != 0; ++r) {
    if (r->kind == kind) return r;
  }
  return nullptr;
}

}  // namespace

const CharKindName CharKinds[] = {
    {"ASCII", 1}, {"CYRILLIC", 2}, {"HINDI", 3}, {"MAGYAR", 4}, {"NIHONGO", 5}, {nullptr, 0},
};

const uint8_t* DefKindParams = default_kinds[1];

KindTarget kind_target() {
  if (Sizemode & 0x4) return KT_CRAY;
  if (Sizemode & 0x2) return KT_SPARC;
  if (Sizemode & 0x10) return KT_IRIS;
  if (Sizemode & 0x20) return KT_LAHEY;
  if (Sizemode & 0x40) return KT_DECNT;
  return KT_OSF1;
}

const uint8_t* getdefkindtbl() {
  if (Sizemode & 0x4) return default_kinds[0];
  if (Sizemode & 0x2) return default_kinds[1];
  if (Sizemode & 0x10) return default_kinds[2];
  if (Sizemode & 0x20) return default_kinds[3];
  return default_kinds[4];
}

void kinds_reset() {
  DefKindParams = getdefkindtbl();
  isinKindSelector = 0;
}

const KindRow* get_kindset(int32_t tclass) {
  if (tclass < 1 || tclass > 6) return nullptr;
  return kind_tables[tclass - 1][kind_target()];
}

int32_t adjust_dt_with_kind(int32_t tclass, int32_t kind) {
  if (kind < 1 || tclass < 1 || tclass > 8) return 0;
  if (tclass == TC_DOUBLE || tclass == TC_DCOMPLEX) return defdtypes[tclass];
  const KindRow* r = find_kind(get_kindset(tclass), kind);
  return r != nullptr ? r->dtcode : 0;
}

int32_t chk_kindparam(int32_t tclass, int32_t kind, int32_t report) {
  bool ok;
  if (tclass == TC_DOUBLE || tclass == TC_DCOMPLEX) {
    ok = kind == getdefkindtbl()[tclass];
  } else {
    ok = kind > 0 && find_kind(get_kindset(tclass), kind) != nullptr;
  }
  if (ok) return kind;
  if (report) rd_errmsg(kind < 0 ? 638 : 732);
  return 0;
}

int32_t get_default_kindparam(int32_t dtcode) {
  if (dtcode < 1 || dtcode == 15 || dtcode == 26) return 0;
  const uint8_t* def = getdefkindtbl();
  if (dtcode == defdtypes[TC_DOUBLE]) return def[TC_DOUBLE];
  switch (getdtclass(dtcode)) {
    case 19: return def[TC_LOGICAL];
    case 20: case 10: return def[TC_INTEGER];
    case 21: return def[TC_REAL];
    case 24: return def[TC_COMPLEX];
    case 14: return def[TC_CHARACTER];
    default: return 0;
  }
}

int32_t is_char_literal_kind(const char* text, int32_t len) {
  if (text == nullptr || len <= 0) return 0;
  for (const CharKindName* k = CharKinds; k->name != nullptr; ++k) {
    if (static_cast<int32_t>(std::strlen(k->name)) == len && std::memcmp(k->name, text, static_cast<size_t>(len)) == 0) {
      return k->kind;
    }
  }
  return 0;
}
