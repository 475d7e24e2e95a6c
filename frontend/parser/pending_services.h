// STAND-IN: services of the storage association of COMMON and EQUIVALENCE
// and of derived-type definitions that the unit statements call. Until those
// are built they do nothing; their builders replace this file's functions.
#pragma once

// Lays out COMMON blocks and EQUIVALENCE sets of the current unit.
void storage_association();
// Replaces forward-referenced derived types in the IMPLICIT map.
void implicit_map_resolve();
// Completes and closes an open derived-type definition.
void end_type_definition();
