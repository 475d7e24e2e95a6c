// DATA groups read back from the DATA work file: each object stands for one
// element, a whole array or (after a message) one element; the values'
// repeat counts are paired with the objects' element counts in order, each
// pair's types are compared, and objects or values left over are reported.
#include "checker/semantics/datainit.h"

#include <vector>

#include "checker/common/dtype.h"
#include "checker/common/qualcodes.h"
#include "checker/base/services.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/sizes.h"
#include "checker/semantics/workfiles.h"

namespace {

// Type bits that make a type numeric, and the bit that marks Hollerith
// and typeless constants.
constexpr int32_t NUMERIC_BITS = 0x47e;
constexpr int32_t HOLLERITH_BIT = 0x200;
// Dialects in which Hollerith and typeless values fit any object.
constexpr uint32_t HOLLERITH_DIALECTS = 64;

struct DataObject {
  locsym* sym;
  int64_t count;  // elements it stands for
};

void message(int32_t n, locsym* a) {
  recmsg.errmsgsymptr1 = a;
  recmsg.errmsgsymptr2 = nullptr;
  record_errmsg(n);
}

// Checks one group: n objects, m values as the work file holds them.
void check_group(const std::vector<int32_t>& objs, const std::vector<int32_t>& vals) {
  size_t n = objs.size() / 2;
  size_t m = vals.size() / 2;
  std::vector<DataObject> obj;
  bool counted = true;
  for (size_t i = 0; i < n; ++i) {
    int32_t nsub = data_objword_subs(objs[2 * i]);
    locsym* s = wsym_at(static_cast<uint32_t>(objs[2 * i + 1]));
    if (s == nullptr) return;
    if (data_objword_substring(objs[2 * i]) && s->type.code != DT_CHAR) message(177, s);
    int32_t d = getnumdims(s);
    int64_t count = 1;
    if (nsub == d) {
      count = 1;
    } else if (nsub == 0) {
      count = getnumele(s);
      // An array of bounds that are not constant: the counts cannot be paired.
      if (count == 0) counted = false;
    } else {
      message(175, s);
    }
    obj.push_back(DataObject{s, count});
  }
  if (!counted) return;
  size_t i = 0;
  size_t j = 0;
  int64_t left_obj = n > 0 ? obj[0].count : 0;
  int64_t left_val = m > 0 ? vals[0] : 0;
  int32_t said_obj = -1;
  int32_t said_val = -1;
  while (i < n && j < m) {
    int32_t ocode = obj[i].sym->type.code;
    int32_t vcode = vals[2 * j + 1];
    int32_t msg = data_value_fit(ocode, vcode);
    if (msg != 0 && (ocode != said_obj || vcode != said_val)) {
      // Once for each change of the object's or the value's type.
      message(msg, obj[i].sym);
      said_obj = ocode;
      said_val = vcode;
    }
    int64_t k = left_obj < left_val ? left_obj : left_val;
    left_obj -= k;
    left_val -= k;
    if (left_obj == 0 && ++i < n) left_obj = obj[i].count;
    if (left_val == 0 && ++j < m) left_val = vals[2 * j];
  }
  if (i < n) {
    message(260, obj[i].sym);
  } else if (j < m) {
    message(259, obj[n > 0 ? n - 1 : 0].sym);
  }
}

}  // namespace

int32_t data_value_fit(int32_t obj, int32_t val) {
  if (obj <= 0 || obj >= dtstuff_rows || val <= 0 || val >= dtstuff_rows) return 0;
  if ((ropt.compiler & HOLLERITH_DIALECTS) && (val == DT_THOL || val == DT_BHOL)) return 0;
  int32_t ob = getdtusg(obj) & ~HOLLERITH_BIT;
  int32_t vb = getdtusg(val) & ~HOLLERITH_BIT;
  // A typeless (binary, octal, hexadecimal) value fits any object that is
  // not character or a structure.
  if (val == DT_BHOL && ob != 0 && (ob & (0x80 | 0x100)) == 0) return 0;
  // A type without class bits (an integer constant of no kind) says nothing.
  if (val != DT_THOL && val != DT_BHOL && (ob == 0 || vb == 0)) return 0;
  if (ob & vb) return 0;
  if ((ob & NUMERIC_BITS) && (vb & NUMERIC_BITS)) return 261;
  return 222;
}

void procdata() {
  if (wf.datacnt == 0) return;
  workfile_rewind(wf.data);
  for (int32_t k = 0; k < wf.datacnt; ++k) {
    int32_t head[2];
    if (!workfile_read(wf.data, head, 2)) break;
    if (head[0] < 0 || head[0] >= DATA_MAXOBJ || head[1] < 0 || head[1] >= DATA_MAXVAL) break;
    std::vector<int32_t> objs(static_cast<size_t>(2 * head[0]));
    std::vector<int32_t> vals(static_cast<size_t>(2 * head[1]));
    int32_t line = 0;
    if (!workfile_read(wf.data, objs.data(), 2 * head[0]) ||
        !workfile_read(wf.data, vals.data(), 2 * head[1]) || !workfile_read(wf.data, &line, 1))
      break;
    recmsg.errmsglinnum = line;
    check_group(objs, vals);
  }
  wf.datacnt = 0;
}
