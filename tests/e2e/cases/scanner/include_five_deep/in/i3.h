integer i3
include 'i4.h'
j3 = 99999999999
