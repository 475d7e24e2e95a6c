integer i1
include 'i2.h'
j1 = 99999999999
