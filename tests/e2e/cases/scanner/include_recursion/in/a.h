include 'a.h'
