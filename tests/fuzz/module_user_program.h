// The program that uses a module M: every kind of name a module exports
// (types, variables, procedures, generics, operators, namelists) is tried.
// The module file fuzz target compiles it against each input; tests compile
// it against a module file of the seed corpus.
#pragma once

inline constexpr const char module_user_program[] =
    "program u\n"
    "use m\n"
    "type(pair) q\n"
    "q = p + p\n"
    "call s(n)\n"
    "write (*, nml=g)\n"
    "print *, v, q%a\n"
    "end program u\n";
