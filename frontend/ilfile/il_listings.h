// The two listings of an IL graph: every entry with its fields, one field per
// line (plain text, or HTML with an anchor at every entry and a link at every
// reference), and the graph regenerated as Fortran source text. No program
// option reaches them; a program that wants such a view calls them.
#pragma once
#include <cstdio>
#include <string>

#include "frontend/model/il_entries.h"

// ---- Field listing ----

struct IlDumpState {
  FILE* stream;  // where the listing goes
  bool html;     // frame the listing as HTML
};
extern IlDumpState il_dump;

// Lists every entry reachable from header once, in the walker's order.
void dump_il_html(il_header* header);

// The name of an entry kind ("**BAD ENTRY KIND**" outside kinds 1 to 21).
const char* il_entry_kind_name(int kind);

// An entry's listing name: its kind's name and number ("object_12"), or
// "NULL" for no entry.
std::string dump_entry_name(const void* entry, int kind);

// The names of enumeration values, with the listing's fallback text for a
// value outside the enumeration.
const char* type_code_name(int v);
const char* shape_kind_name(int v);
const char* constant_kind_name(int v);
const char* expr_node_kind_name(int v);
const char* statement_kind_name(int v);
const char* io_format_kind_name(int v);
const char* label_kind_name(int v);
const char* case_range_kind_name(int v);
const char* io_unit_kind_name(int v);
const char* bound_kind_name(int v);
const char* source_language_name(int v);
const char* storage_class_name(int v);
const char* operator_kind_name(int v);
const char* io_specifier_kind_name(int v);
const char* intrinsic_name(int v);

// A string as the listing quotes it: non-printable bytes as "\ooo", quote and
// backslash escaped, "<", ">" and "&" as entities in HTML; "NULL" for none.
std::string dump_quoted(const char* text, size_t length);

// ---- Fortran regeneration ----

// Prints the whole graph from header as Fortran text through the default
// output function of the expression text (its stream).
void print_il_as_fortran(il_header* header);
