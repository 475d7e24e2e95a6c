include 'c.h'
