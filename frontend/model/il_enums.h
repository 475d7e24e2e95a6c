// The IL enumerations: every code and its name come from one .def file each,
// shared by the program model, the IL file writer and reader and the listings.
#pragma once
#include <cstdint>

// An enumeration's name table: names[v] is the name of value v (values run
// densely from 0), count the number of values.
struct il_enum_names {
  const char* const* names;
  int count;
  // The name of value v, or null outside the enumeration.
  const char* operator()(int v) const { return v >= 0 && v < count ? names[v] : nullptr; }
};

// Each enumeration: enum type, <prefix>_count, and <prefix>_names (a table).
#define TK(v, id, name) id = v,
enum type_code : uint8_t {
#include "frontend/model/enum_tk.def"
};
#define TK(v, id, name) +1
inline constexpr int tk_count = 0
#include "frontend/model/enum_tk.def"
    ;
extern const il_enum_names tk_names;

#define SHAPE(v, id, name) id = v,
enum shape_kind_code : uint8_t {
#include "frontend/model/enum_shape.def"
};
#define SHAPE(v, id, name) +1
inline constexpr int shape_kind_count = 0
#include "frontend/model/enum_shape.def"
    ;
extern const il_enum_names shape_kind_names;

#define BK(v, id, name) id = v,
enum bound_kind_code : uint8_t {
#include "frontend/model/enum_bk.def"
};
#define BK(v, id, name) +1
inline constexpr int bk_count = 0
#include "frontend/model/enum_bk.def"
    ;
extern const il_enum_names bk_names;

#define SC(v, id, name) id = v,
enum storage_class_code : uint32_t {
#include "frontend/model/enum_sc.def"
};
#define SC(v, id, name) +1
inline constexpr int sc_count = 0
#include "frontend/model/enum_sc.def"
    ;
extern const il_enum_names sc_names;

#define CK(v, id, name) id = v,
enum constant_kind_code : uint8_t {
#include "frontend/model/enum_ck.def"
};
#define CK(v, id, name) +1
inline constexpr int ck_count = 0
#include "frontend/model/enum_ck.def"
    ;
extern const il_enum_names ck_names;

#define LK(v, id, name) id = v,
enum label_kind_code : uint8_t {
#include "frontend/model/enum_lk.def"
};
#define LK(v, id, name) +1
inline constexpr int lk_count = 0
#include "frontend/model/enum_lk.def"
    ;
extern const il_enum_names lk_names;

#define ENK(v, id, name) id = v,
enum expr_node_kind_code : uint8_t {
#include "frontend/model/enum_enk.def"
};
#define ENK(v, id, name) +1
inline constexpr int enk_count = 0
#include "frontend/model/enum_enk.def"
    ;
extern const il_enum_names enk_names;

#define EOK(v, id, name) id = v,
enum operator_kind_code : uint8_t {
#include "frontend/model/enum_eok.def"
};
#define EOK(v, id, name) +1
inline constexpr int eok_count = 0
#include "frontend/model/enum_eok.def"
    ;
extern const il_enum_names eok_names;

#define STMK(v, id, name) id = v,
enum statement_kind_code : uint8_t {
#include "frontend/model/enum_stmk.def"
};
#define STMK(v, id, name) +1
inline constexpr int stmk_count = 0
#include "frontend/model/enum_stmk.def"
    ;
extern const il_enum_names stmk_names;

#define CRK(v, id, name) id = v,
enum case_range_kind_code : uint8_t {
#include "frontend/model/enum_crk.def"
};
#define CRK(v, id, name) +1
inline constexpr int crk_count = 0
#include "frontend/model/enum_crk.def"
    ;
extern const il_enum_names crk_names;

#define IOU(v, id, name) id = v,
enum io_unit_kind_code : uint32_t {
#include "frontend/model/enum_iou.def"
};
#define IOU(v, id, name) +1
inline constexpr int iou_count = 0
#include "frontend/model/enum_iou.def"
    ;
extern const il_enum_names iou_names;

#define IOF(v, id, name) id = v,
enum io_format_kind_code : uint8_t {
#include "frontend/model/enum_iof.def"
};
#define IOF(v, id, name) +1
inline constexpr int iof_count = 0
#include "frontend/model/enum_iof.def"
    ;
extern const il_enum_names iof_names;

#define IOSK(v, id, name) id = v,
enum io_specifier_kind_code : uint8_t {
#include "frontend/model/enum_iosk.def"
};
#define IOSK(v, id, name) +1
inline constexpr int iosk_count = 0
#include "frontend/model/enum_iosk.def"
    ;
extern const il_enum_names iosk_names;

#define SL(v, id, name) id = v,
enum source_language_code : uint8_t {
#include "frontend/model/enum_sl.def"
};
#define SL(v, id, name) +1
inline constexpr int sl_count = 0
#include "frontend/model/enum_sl.def"
    ;
extern const il_enum_names sl_names;

// IL entry kinds (1-24); the letters are those of IL files.
#define IL_KIND(n, letter, id, name) id = n,
enum il_kind : uint8_t {
  ilk_none = 0,
#include "frontend/model/il_kinds.def"
};
#define IL_KIND(n, letter, id, name) +1
inline constexpr int il_kind_count = 1  // kind 0 included
#include "frontend/model/il_kinds.def"
    ;
const char* il_kind_name(int kind);  // null outside 1..24
char il_kind_letter(int kind);       // '0' for kind 0, 0 outside 0..24
int il_kind_of_letter(char letter);  // -1 for a letter that names no kind
