integer i2
include 'i3.h'
j2 = 99999999999
